// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Decoding a JPEG file with libjpeg directly, for what Qt's reader does not
// tell: a file whose data is damaged or cut short (Qt fills the missing part
// with grey and reports success), a decoder that ran out of memory, and
// scaling down inside the decoder so that a large photograph never exists at
// full size in memory.
#include <QImage>
#include <QSize>
#include <QString>

namespace brevan::ui::pictures {

enum class JpegStatus {
    Ok,
    Damaged,     // not a JPEG, or data damaged or missing
    TooLarge,    // declares more pixels than allowed
    OutOfMemory, // the decoder or the picture could not get its memory
};

struct JpegDecoded {
    JpegStatus status = JpegStatus::Damaged;
    QImage image;  // Format_RGB32, upright, set when status is Ok
    QSize declared; // the size the file declares, once its header was read
};

// Decodes the JPEG file at path. A picture that declares more than maxPixels
// is refused before its data is read; a larger one than maxSide on either
// side is scaled down while it is decoded, proportions kept, to fit within
// maxSide × maxSide. The orientation a camera recorded is applied.
JpegDecoded decodeJpeg(const QString &path, int maxSide, qint64 maxPixels);

} // namespace brevan::ui::pictures
