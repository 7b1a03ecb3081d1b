// SPDX-License-Identifier: GPL-2.0-or-later
#include "wholefile.h"

#include "store/foldersync.h"
#include "store/oserror.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <unistd.h>

namespace brevan::files {

namespace {

bool failed(QString *why, const QString &text)
{
    if (why)
        *why = text;
    return false;
}

// Writes every byte into an unbuffered device. A write that takes only part
// of what it is given (the device filled up on the way) is followed by one
// for the rest, which then fails with the system's reason.
bool writeAll(QFileDevice &file, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QString reasonOf(const QFileDevice &file)
{
    const QString text = fileErrorText(file);
    return text.isEmpty() ? systemErrorText(EIO) : text;
}

// Into a terminal, a pipe or a device: unbuffered, so that each write's
// failure (a full device, a closed pipe) is seen at once.
bool writeInto(const QString &path, const QByteArray &bytes, QString *why)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(why, reasonOf(file));
    if (!writeAll(file, bytes))
        return failed(why, reasonOf(file));
    file.close();
    if (file.error() != QFileDevice::NoError)
        return failed(why, reasonOf(file));
    return true;
}

} // namespace

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *why)
{
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir())
        return writeInto(path, bytes, why);
    // Unbuffered: a buffered save file would meet a full disk only while
    // closing, after which its commit renames the cut file over the target
    // all the same.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(why, reasonOf(file));
    const auto cancel = [&] {
        const QString text = reasonOf(file);
        file.cancelWriting();
        return failed(why, text);
    };
    if (!writeAll(file, bytes))
        return cancel();
    // Every byte must be on the disk before the rename: a file system that
    // writes lazily (a network share, a full quota) reports its failure here.
    if (file.handle() >= 0 && ::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS) {
        const QString text = systemErrorText(errno);
        file.cancelWriting();
        return failed(why, text);
    }
    if (!file.commit())
        return failed(why, reasonOf(file));
    syncFolderEntries(target.absolutePath());
    return true;
}

} // namespace brevan::files
