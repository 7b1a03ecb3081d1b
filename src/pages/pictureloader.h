// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Reading and writing the pictures of the picture pages. A file is read as the
// kind its extension names (JPEG, Windows bitmap, enhanced or standard
// metafile) and nothing else; every failure is a PictureError whose text is
// the Italian message for the error box. Nothing here shows a window.
#include <QImage>
#include <QString>

#include <stdexcept>

namespace brevan::ui {

class PictureError : public std::runtime_error {
public:
    explicit PictureError(const QString &text);
    QString text() const { return QString::fromUtf8(what()); }
};

namespace pictures {

enum class Kind { Jpeg, Bitmap, EnhancedMetafile, StandardMetafile, Unsupported };

// By extension only, without regard to case.
Kind kindOf(const QString &path);

// The most pixels a picture file may declare, whatever its source: 60 million
// 32-bit pixels stay below the 256 MB image allocation limit.
inline constexpr qint64 kMaxPixels = 60'000'000;
// A picture larger than this on either side is scaled down while it is
// decoded, proportions kept: more than the picture pages show on any screen
// and than the report's 270-pixel frames print at 1200 dpi. The three
// pictures of an appraisal then take at most 3 × 64 MB together.
inline constexpr int kMaxSide = 4096;
// A Windows bitmap is decoded whole before it can be scaled down: the most
// pixels one may have is what 64 MB hold at 32 bits (4096 × 4096).
inline constexpr qint64 kMaxBitmapPixels = qint64(64) * 1024 * 1024 / 4;
// The metafile rasteriser gets this long before it is stopped.
inline constexpr int kMetafileTimeoutMs = 10'000;
// And may send back at most this much PNG.
inline constexpr qint64 kMaxMetafileOutput = qint64(64) * 1024 * 1024;

// Reads the picture, scaled down to fit kMaxSide; throws PictureError. The
// declared size is checked before any pixel is decoded, so a small file
// claiming a huge picture costs nothing; a file whose data is damaged or cut
// short is refused, not shown half grey; memory that runs out is said so.
QImage load(const QString &path);
// For a reader that needs to know only whether a picture is there (the
// export writing text): a plain 24-bit bitmap, the kind the program saves
// its pictures as, whose header and length show that load() would read it,
// gives a one-pixel stand-in without a pixel read; any other file is
// load()'s. Throws as load() does.
QImage loadPresence(const QString &path);

// A picture that came from elsewhere than a file (the clipboard), scaled down
// as load() scales a file's, so every picture a page holds stays within
// kMaxSide. One that fits is returned as it is.
QImage fitted(const QImage &picture);

// Writes source as a Windows bitmap of its own size (transparent parts on
// white), all or nothing: an existing file is replaced only by a complete one.
// Throws PictureError.
void saveBitmap(const QImage &source, const QString &path);

// The rasteriser program for EMF and WMF: the one set here if any, else
// brevan-metafile beside the running program, else the one in the installed
// libexec folder (reached from the program's own folder). Empty when neither
// exists.
QString metafileProgram();
void setMetafileProgram(const QString &path);

} // namespace pictures
} // namespace brevan::ui
