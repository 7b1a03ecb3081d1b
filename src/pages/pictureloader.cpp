// SPDX-License-Identifier: GPL-2.0-or-later
#include "pictureloader.h"

#include "jpegdecoder.h"
#include "store/oserror.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include <sys/mman.h>

namespace brevan::ui {

PictureError::PictureError(const QString &text) : std::runtime_error(text.toStdString()) {}

namespace pictures {

namespace {

constexpr int kAllocationLimitMb = 256;
// Enough for the one line of message the rasteriser writes.
constexpr qint64 kMaxMessageBytes = 4096;

QString &overriddenProgram()
{
    static QString path;
    return path;
}

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

[[noreturn]] void failLoad(const QString &path, const QString &reason)
{
    throw PictureError(QStringLiteral("Impossibile caricare l'immagine \"%1\":\n%2").arg(nativePath(path), reason));
}

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::Jpeg: return QStringLiteral("JPEG");
    case Kind::Bitmap: return QStringLiteral("Bitmap");
    case Kind::EnhancedMetafile: return QStringLiteral("Metafile avanzato (EMF)");
    case Kind::StandardMetafile: return QStringLiteral("Metafile standard (WMF)");
    case Kind::Unsupported: break;
    }
    return {};
}

QString damaged(Kind kind)
{
    return QStringLiteral("il file è danneggiato o non è un'immagine in formato %1.").arg(kindName(kind));
}

QString tooLarge(QSize size)
{
    return QStringLiteral("l'immagine è troppo grande (%1 × %2 pixel; il massimo è %3 milioni di pixel).")
        .arg(size.width())
        .arg(size.height())
        .arg(kMaxPixels / 1'000'000);
}

QString outOfMemory()
{
    return QStringLiteral("memoria insufficiente per l'immagine: chiudere altri programmi e riprovare.");
}

// A 32-bit picture whose memory the system hands over all at once. A
// picture's tens of megabytes taken page by page as they are first written
// cost more than decoding them (a fault a page, slow on virtual machines);
// mapped populated they come in one call. Falls back to Qt's own allocation.
QImage wholeImage(QSize size)
{
    const qsizetype bytesPerLine = qsizetype(size.width()) * 4;
    const size_t bytes = size_t(bytesPerLine) * size_t(size.height());
    if (bytes < (size_t(1) << 20))
        return QImage(size, QImage::Format_RGB32);
    void *memory = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (memory == MAP_FAILED)
        return QImage(size, QImage::Format_RGB32);
    struct Mapping {
        void *memory;
        size_t bytes;
    };
    const auto release = [](void *info) {
        const auto *m = static_cast<Mapping *>(info);
        ::munmap(m->memory, m->bytes);
        delete m;
    };
    return QImage(static_cast<uchar *>(memory), size.width(), size.height(), bytesPerLine, QImage::Format_RGB32,
                  release, new Mapping{memory, bytes});
}

// An uncompressed 24-bit bitmap (the kind the program writes for its
// pictures) read straight from the mapped file into the picture Qt's reader
// would give, pixel for pixel, in a fraction of its time: one pass, no copy
// of the file. None for any other kind of bitmap, which Qt's reader reads.
// The header was checked already (size, pixels all in the file).
// Where the pixels of a plain bitmap are, read from its header.
struct PlainBitmap {
    qint64 offBits = 0;
    qint64 width = 0;
    qint64 height = 0; // negative: top-down
    qint64 stride = 0;
    qint64 rows() const { return std::abs(height); }
};

// The header of an uncompressed 24-bit bitmap no larger than kMaxSide a side
// whose pixels are all in the file; none for any other file.
std::optional<PlainBitmap> plainBitmapHeader(QFile &file)
{
    const QByteArray h = file.read(54);
    if (h.size() < 54 || !h.startsWith("BM"))
        return std::nullopt;
    const auto u16 = [&h](int at) { return qint64(quint8(h[at])) | qint64(quint8(h[at + 1])) << 8; };
    const auto u32 = [&u16](int at) { return u16(at) | u16(at + 2) << 16; };
    PlainBitmap b;
    b.offBits = u32(10);
    const qint64 infoSize = u32(14);
    b.width = qint32(quint32(u32(18)));
    b.height = qint32(quint32(u32(22)));
    if (infoSize < 40 || u16(26) != 1 || u16(28) != 24 || u32(30) != 0 || b.width <= 0 || b.height == 0
        || b.offBits < 14 + infoSize)
        return std::nullopt;
    if (b.width > kMaxSide || b.rows() > kMaxSide)
        return std::nullopt; // scaled down while decoded: Qt's reader does that
    b.stride = (b.width * 3 + 3) / 4 * 4;
    if (file.size() < b.offBits + b.stride * b.rows())
        return std::nullopt;
    return b;
}

std::optional<QImage> readPlainBitmap(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const std::optional<PlainBitmap> plain = plainBitmapHeader(file);
    if (!plain || !file.seek(plain->offBits))
        return std::nullopt;
    const qint64 width = plain->width, height = plain->height, rows = plain->rows(), stride = plain->stride;
    QImage image = wholeImage(QSize(int(width), int(rows)));
    if (image.isNull())
        failLoad(path, outOfMemory());
    // The file's rows in runs of about a megabyte, in file order.
    const qint64 runRows = std::max<qint64>(1, (qint64(1) << 20) / stride);
    std::vector<uchar> run(size_t(runRows * stride));
    for (qint64 first = 0; first < rows; first += runRows) {
        const qint64 count = std::min(runRows, rows - first);
        if (file.read(reinterpret_cast<char *>(run.data()), count * stride) != count * stride)
            return std::nullopt;
        for (qint64 r = 0; r < count; ++r) {
            const qint64 fileRow = first + r;
            // Bottom-up unless the height is negative.
            const qint64 y = height > 0 ? rows - 1 - fileRow : fileRow;
            const uchar *in = run.data() + r * stride;
            auto *out = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
            qint64 x = 0;
            // Four pixels (blue, green, red each) from three little-endian words.
            for (; x + 4 <= width; x += 4, in += 12) {
                quint32 a, b, c;
                std::memcpy(&a, in, 4);
                std::memcpy(&b, in + 4, 4);
                std::memcpy(&c, in + 8, 4);
                a = qFromLittleEndian(a);
                b = qFromLittleEndian(b);
                c = qFromLittleEndian(c);
                out[x] = 0xff000000u | (a & 0xffffffu);
                out[x + 1] = 0xff000000u | a >> 24 | (b & 0xffffu) << 8;
                out[x + 2] = 0xff000000u | b >> 16 | (c & 0xffu) << 16;
                out[x + 3] = 0xff000000u | c >> 8;
            }
            for (; x < width; ++x, in += 3)
                out[x] = 0xff000000u | uint(in[2]) << 16 | uint(in[1]) << 8 | uint(in[0]);
        }
    }
    return image;
}

bool acceptableSize(QSize size)
{
    return size.width() > 0 && size.height() > 0 && qint64(size.width()) * size.height() <= kMaxPixels;
}

// A size that fits kMaxSide × kMaxSide, proportions kept.
QSize fitted(QSize size)
{
    if (size.width() <= kMaxSide && size.height() <= kMaxSide)
        return size;
    return size.scaled(kMaxSide, kMaxSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

// Whether a picture of that size could be had at all: when a reader fails on
// a whole file, it is memory that failed if this fails too.
bool memoryFor(QSize size)
{
    const QImage probe(size, QImage::Format_RGB32);
    return !probe.isNull();
}

// Decodes from the reader's device in the reader's format, checking the
// declared size before a single pixel is decoded, and scaling a picture
// larger than kMaxSide down to fit.
QImage decode(QImageReader &reader, const QString &path, Kind kind)
{
    reader.setAutoDetectImageFormat(false);
    reader.setAllocationLimit(kAllocationLimitMb);
    // Photographs carry their camera's orientation; show them upright.
    reader.setAutoTransform(true);
    if (!reader.canRead())
        failLoad(path, damaged(kind));
    const QSize declared = reader.size();
    if (!declared.isValid() || declared.isEmpty())
        failLoad(path, damaged(kind));
    if (!acceptableSize(declared))
        failLoad(path, tooLarge(declared));
    if (fitted(declared) != declared)
        reader.setScaledSize(fitted(declared));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        failLoad(path, memoryFor(declared) ? damaged(kind) : outOfMemory());
    if (!acceptableSize(image.size()))
        failLoad(path, tooLarge(image.size()));
    if (fitted(image.size()) != image.size())
        image = image.scaled(fitted(image.size()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (image.isNull())
        failLoad(path, outOfMemory());
    return image;
}

QImage loadJpeg(const QString &path)
{
    JpegDecoded d = decodeJpeg(path, kMaxSide, kMaxPixels);
    switch (d.status) {
    case JpegStatus::Ok: return std::move(d.image);
    case JpegStatus::TooLarge: failLoad(path, tooLarge(d.declared));
    case JpegStatus::OutOfMemory: failLoad(path, outOfMemory());
    case JpegStatus::Damaged: break;
    }
    failLoad(path, damaged(Kind::Jpeg));
}

// Qt's bitmap reader neither reports the size of a picture it thinks too
// large (it just fails) nor notices a file cut short (it fills the missing
// rows). The header says both, so it is read here first: a picture too large
// is refused as such, and uncompressed pixels must all be in the file.
void checkBitmapHeader(const QString &path, qint64 fileSize)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        failLoad(path, QStringLiteral("il file non esiste o non è leggibile."));
    const QByteArray h = file.read(54);
    if (h.size() < 26 || !h.startsWith("BM"))
        return; // not a bitmap at all: the reader says so
    const auto u16 = [&h](int at) { return qint64(quint8(h[at])) | qint64(quint8(h[at + 1])) << 8; };
    const auto u32 = [&u16](int at) { return u16(at) | u16(at + 2) << 16; };
    const auto i32 = [&u32](int at) { return qint64(qint32(quint32(u32(at)))); };
    const qint64 offBits = u32(10);
    const qint64 infoSize = u32(14);
    qint64 width = 0, height = 0, bitCount = 0, compression = 0;
    if (infoSize == 12) { // OS/2 core header
        width = u16(18);
        height = u16(20);
        bitCount = u16(24);
    } else if (infoSize >= 40 && h.size() >= 34) {
        width = i32(18);
        height = std::abs(i32(22));
        bitCount = u16(28);
        compression = u32(30);
    } else {
        return;
    }
    const QSize declared(int(std::min<qint64>(width, INT_MAX)), int(std::min<qint64>(height, INT_MAX)));
    if (width > 0 && height > 0 && width * height > kMaxPixels)
        failLoad(path, tooLarge(declared));
    // Qt's reader decodes every pixel before the picture is scaled down to
    // kMaxSide, whatever few bytes (run-length coded) the file holds.
    if (width > 0 && height > 0 && width * height > kMaxBitmapPixels)
        failLoad(path, QStringLiteral("l'immagine è troppo grande (%1 × %2 pixel; il massimo per un'immagine "
                                      "Bitmap è %3 × %3 pixel).")
                           .arg(declared.width())
                           .arg(declared.height())
                           .arg(kMaxSide));
    constexpr qint64 kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;
    const bool uncompressed = compression == kRgb || compression == kBitFields || compression == kAlphaBitFields;
    const bool knownDepth = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24
                            || bitCount == 32;
    if (uncompressed && knownDepth && width > 0 && height > 0) {
        const qint64 stride = (width * bitCount + 31) / 32 * 4;
        if (fileSize < offBits + stride * height)
            failLoad(path, damaged(Kind::Bitmap));
    }
}

// Runs the rasteriser on path and returns its PNG bytes.
QByteArray rasteriseMetafile(const QString &path)
{
    const QString program = metafileProgram();
    if (program.isEmpty())
        failLoad(path, QStringLiteral("il programma di conversione dei metafile (brevan-metafile) non è installato."));

    QProcess child;
    child.setProgram(program);
    child.setArguments({QFileInfo(path).absoluteFilePath()});
    child.setStandardInputFile(QProcess::nullDevice());
    child.start(QIODevice::ReadOnly);
    if (!child.waitForStarted(kMetafileTimeoutMs))
        failLoad(path, QStringLiteral("impossibile avviare il programma di conversione dei metafile."));

    QByteArray png;
    QByteArray message;
    QElapsedTimer clock;
    clock.start();
    const auto stop = [&child] {
        child.kill();
        child.waitForFinished(2000);
    };
    // The output is drained as it comes, so it can be capped before it is all
    // in memory; the clock stops a child that neither finishes nor writes.
    while (child.state() != QProcess::NotRunning) {
        const qint64 left = kMetafileTimeoutMs - clock.elapsed();
        if (left <= 0) {
            stop();
            failLoad(path, QStringLiteral("la conversione del metafile non è terminata entro %1 secondi.")
                               .arg(kMetafileTimeoutMs / 1000));
        }
        child.waitForReadyRead(int(std::min<qint64>(left, 250)));
        png += child.readAllStandardOutput();
        const QByteArray said = child.readAllStandardError();
        message += said.left(std::max<qint64>(0, kMaxMessageBytes - message.size()));
        if (png.size() > kMaxMetafileOutput) {
            stop();
            failLoad(path, QStringLiteral("il disegno del metafile è troppo grande."));
        }
    }
    png += child.readAllStandardOutput();
    message += child.readAllStandardError();
    if (png.size() > kMaxMetafileOutput)
        failLoad(path, QStringLiteral("il disegno del metafile è troppo grande."));

    if (child.exitStatus() != QProcess::NormalExit)
        failLoad(path, damaged(kindOf(path)));
    if (child.exitCode() != 0) {
        const QString said = QString::fromUtf8(message.left(kMaxMessageBytes)).trimmed();
        failLoad(path, said.isEmpty() ? damaged(kindOf(path)) : said);
    }
    return png;
}

} // namespace

Kind kindOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return Kind::Jpeg;
    if (suffix == QLatin1String("bmp"))
        return Kind::Bitmap;
    if (suffix == QLatin1String("emf"))
        return Kind::EnhancedMetafile;
    if (suffix == QLatin1String("wmf"))
        return Kind::StandardMetafile;
    return Kind::Unsupported;
}

QImage fitted(const QImage &picture)
{
    const QSize size = fitted(picture.size());
    if (picture.isNull() || size == picture.size())
        return picture;
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage load(const QString &path)
{
    const Kind kind = kindOf(path);
    if (kind == Kind::Unsupported)
        failLoad(path, QStringLiteral("il formato del file non è tra quelli ammessi "
                                      "(JPEG, Bitmap, Metafile avanzato EMF, Metafile standard WMF)."));
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile() || !info.isReadable())
        failLoad(path, QStringLiteral("il file non esiste o non è leggibile."));
    if (info.size() == 0)
        failLoad(path, QStringLiteral("il file è vuoto."));

    try {
        if (kind == Kind::Jpeg)
            return loadJpeg(path);
        if (kind == Kind::Bitmap) {
            checkBitmapHeader(path, info.size());
            if (std::optional<QImage> plain = readPlainBitmap(path))
                return std::move(*plain);
            QImageReader reader(path, QByteArrayLiteral("bmp"));
            return decode(reader, path, kind);
        }
        QByteArray png = rasteriseMetafile(path);
        QBuffer buffer(&png);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, QByteArrayLiteral("png"));
        return decode(reader, path, kind);
    } catch (const std::bad_alloc &) {
        failLoad(path, outOfMemory());
    }
}

QImage loadPresence(const QString &path)
{
    const QFileInfo info(path);
    if (kindOf(path) == Kind::Bitmap && info.isFile() && info.isReadable() && info.size() > 0) {
        // What load() refuses from the header is refused here too.
        checkBitmapHeader(path, info.size());
        QFile file(path);
        if (file.open(QIODevice::ReadOnly) && plainBitmapHeader(file)) {
            QImage standIn(1, 1, QImage::Format_RGB32);
            standIn.fill(Qt::white);
            return standIn;
        }
    }
    return load(path);
}

void saveBitmap(const QImage &source, const QString &path)
{
    const auto fail = [&path](const QString &reason) {
        throw PictureError(
            QStringLiteral("Impossibile salvare l'immagine \"%1\":\n%2").arg(QDir::toNativeSeparators(path), reason));
    };
    if (source.isNull())
        fail(QStringLiteral("non c'è alcuna immagine da salvare."));

    // A fresh bitmap of the source's own size, the picture drawn onto it.
    QImage bitmap(source.size(), QImage::Format_RGB32);
    if (bitmap.isNull())
        fail(QStringLiteral("memoria insufficiente."));
    bitmap.fill(Qt::white);
    {
        QPainter p(&bitmap);
        p.drawImage(0, 0, source);
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail(QStringLiteral("impossibile creare il file (%1).").arg(fileErrorText(file)));
    QImageWriter writer(&file, QByteArrayLiteral("bmp"));
    if (!writer.write(bitmap)) {
        file.cancelWriting();
        fail(QStringLiteral("impossibile scrivere il file (%1).").arg(writer.errorString()));
    }
    if (!file.commit())
        fail(QStringLiteral("impossibile scrivere il file (%1).").arg(fileErrorText(file)));
}

QString metafileProgram()
{
    QStringList candidates;
    if (!overriddenProgram().isEmpty())
        return QFileInfo(overriddenProgram()).isExecutable() ? overriddenProgram() : QString();
    if (QCoreApplication::instance()) {
        // Beside the program in the build tree; under libexec once installed.
        const QString here = QCoreApplication::applicationDirPath();
        candidates << here + QStringLiteral("/brevan-metafile");
#ifdef BREVAN_LIBEXEC_FROM_BIN
        candidates << here + QStringLiteral("/" BREVAN_LIBEXEC_FROM_BIN "/brevan-metafile");
#endif
    }
    for (const QString &c : candidates) {
        const QFileInfo info(c);
        if (info.isFile() && info.isExecutable())
            return info.absoluteFilePath();
    }
    return {};
}

void setMetafileProgram(const QString &path)
{
    overriddenProgram() = path;
}

} // namespace pictures
} // namespace brevan::ui
