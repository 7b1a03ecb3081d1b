// SPDX-License-Identifier: GPL-2.0-or-later
#include "jpegdecoder.h"

#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>
#include <QTransform>

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <utility>

#include <jpeglib.h>
#include <jerror.h>

namespace brevan::ui::pictures {

namespace {

// libjpeg's own working memory (a progressive file keeps all its
// coefficients); beyond it the decoder stops as out of memory.
constexpr long kDecoderMemory = 256L * 1024 * 1024;

// Warnings by which libjpeg says that data is damaged or missing; it goes on
// and fills the rest, which is not the picture the file was meant to hold.
// The other warnings (bytes between segments, data after the end, an unknown
// JFIF revision or Adobe transform) leave the picture whole.
constexpr int kDamagingWarnings[] = {
    JWRN_ARITH_BAD_CODE, JWRN_BOGUS_PROGRESSION, JWRN_HIT_MARKER, JWRN_HUFF_BAD_CODE,
    JWRN_JPEG_EOF,       JWRN_MUST_RESYNC,       JWRN_NOT_SEQUENTIAL,
};

// Errors that mean memory, not the file.
constexpr int kMemoryErrors[] = {JERR_OUT_OF_MEMORY, JERR_NO_BACKING_STORE};

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    JpegStatus failure = JpegStatus::Damaged;
};

template <size_t N>
bool among(int code, const int (&codes)[N])
{
    return std::find(std::begin(codes), std::end(codes), code) != std::end(codes);
}

[[noreturn]] void stop(j_common_ptr cinfo, JpegStatus why)
{
    auto *e = reinterpret_cast<ErrorManager *>(cinfo->err);
    e->failure = why;
    std::longjmp(e->jump, 1);
}

void onError(j_common_ptr cinfo)
{
    stop(cinfo, among(cinfo->err->msg_code, kMemoryErrors) ? JpegStatus::OutOfMemory : JpegStatus::Damaged);
}

void onMessage(j_common_ptr cinfo, int level)
{
    // Negative levels are warnings; the others are trace messages.
    if (level < 0 && among(cinfo->err->msg_code, kDamagingWarnings))
        stop(cinfo, JpegStatus::Damaged);
}

void silent(j_common_ptr) {}

// The four inks as Adobe writes them (inverted), on white.
void cmykLine(const JSAMPLE *in, QRgb *out, JDIMENSION width)
{
    for (JDIMENSION x = 0; x < width; ++x, in += 4) {
        const int k = in[3];
        out[x] = qRgb(k * in[0] / 255, k * in[1] / 255, k * in[2] / 255);
    }
}

// The orientation a camera recorded, as Qt's reader reads it from the header.
QImage upright(QImage image, const QString &path)
{
    QImageReader reader(path, QByteArrayLiteral("jpeg"));
    reader.setAutoDetectImageFormat(false);
    const QImageIOHandler::Transformations t = reader.transformation();
    if (t == QImageIOHandler::TransformationNone)
        return image;
    if (t == QImageIOHandler::TransformationRotate270)
        return image.transformed(QTransform().rotate(270));
    image = std::move(image).mirrored(t & QImageIOHandler::TransformationMirror,
                                      t & QImageIOHandler::TransformationFlip);
    if (t & QImageIOHandler::TransformationRotate90)
        image = image.transformed(QTransform().rotate(90));
    return image;
}

// Everything that must outlive a jump out of libjpeg: plain data only.
struct Decoding {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    uchar *pixels = nullptr;
    JSAMPLE *cmyk = nullptr;
    qsizetype bytesPerLine = 0;
};

// Runs libjpeg over the data; on success d->pixels holds the picture in
// Format_RGB32 and its size is returned.
JpegStatus run(Decoding *d, const uchar *data, qint64 size, int maxSide, qint64 maxPixels, QSize *declared,
               QSize *decoded)
{
    jpeg_decompress_struct &cinfo = d->cinfo;
    cinfo.err = jpeg_std_error(&d->errors.pub);
    d->errors.pub.error_exit = onError;
    d->errors.pub.emit_message = onMessage;
    d->errors.pub.output_message = silent;
    if (setjmp(d->errors.jump))
        return d->errors.failure;

    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kDecoderMemory;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK)
        return JpegStatus::Damaged;
    *declared = QSize(int(std::min<JDIMENSION>(cinfo.image_width, INT_MAX)),
                      int(std::min<JDIMENSION>(cinfo.image_height, INT_MAX)));
    if (cinfo.image_width == 0 || cinfo.image_height == 0)
        return JpegStatus::Damaged;
    if (qint64(cinfo.image_width) * cinfo.image_height > maxPixels)
        return JpegStatus::TooLarge;

    const bool inks = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    cinfo.out_color_space = inks ? JCS_CMYK : JCS_EXT_BGRA;
#else
    cinfo.out_color_space = inks ? JCS_CMYK : JCS_EXT_ARGB;
#endif
    // The largest of libjpeg's eighths that fits the bound; a picture that
    // does not fit even at an eighth is scaled the rest of the way after.
    cinfo.scale_denom = 8;
    for (unsigned m = 8; m >= 1; --m) {
        cinfo.scale_num = m;
        jpeg_calc_output_dimensions(&cinfo);
        if (int(cinfo.output_width) <= maxSide && int(cinfo.output_height) <= maxSide)
            break;
    }
    jpeg_start_decompress(&cinfo);
    const JDIMENSION width = cinfo.output_width;
    const JDIMENSION height = cinfo.output_height;
    d->bytesPerLine = qsizetype(width) * 4;
    d->pixels = static_cast<uchar *>(std::malloc(size_t(d->bytesPerLine) * height));
    if (inks)
        d->cmyk = static_cast<JSAMPLE *>(std::malloc(size_t(width) * 4));
    if (!d->pixels || (inks && !d->cmyk))
        return JpegStatus::OutOfMemory;
    while (cinfo.output_scanline < height) {
        uchar *line = d->pixels + qsizetype(cinfo.output_scanline) * d->bytesPerLine;
        JSAMPROW row = inks ? d->cmyk : line;
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1)
            return JpegStatus::Damaged;
        if (inks)
            cmykLine(d->cmyk, reinterpret_cast<QRgb *>(line), width);
    }
    jpeg_finish_decompress(&cinfo);
    *decoded = QSize(int(width), int(height));
    return JpegStatus::Ok;
}

void freePixels(void *pixels)
{
    std::free(pixels);
}

} // namespace

JpegDecoded decodeJpeg(const QString &path, int maxSide, qint64 maxPixels)
{
    JpegDecoded result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0)
        return result;
    const qint64 size = file.size();
    const uchar *data = file.map(0, size);
    if (!data)
        return result;

    auto *d = new (std::nothrow) Decoding{};
    if (!d) {
        result.status = JpegStatus::OutOfMemory;
        return result;
    }
    QSize decoded;
    result.status = run(d, data, size, maxSide, maxPixels, &result.declared, &decoded);
    jpeg_destroy_decompress(&d->cinfo);
    std::free(d->cmyk);
    uchar *pixels = std::exchange(d->pixels, nullptr);
    const qsizetype bytesPerLine = d->bytesPerLine;
    delete d;
    if (result.status != JpegStatus::Ok) {
        std::free(pixels);
        return result;
    }
    QImage image(pixels, decoded.width(), decoded.height(), bytesPerLine, QImage::Format_RGB32, freePixels, pixels);
    if (image.width() > maxSide || image.height() > maxSide)
        image = image.scaled(maxSide, maxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    result.image = upright(std::move(image), path);
    if (result.image.isNull())
        result.status = JpegStatus::OutOfMemory;
    return result;
}

} // namespace brevan::ui::pictures
