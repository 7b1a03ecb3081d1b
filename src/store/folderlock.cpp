// SPDX-License-Identifier: GPL-2.0-or-later
#include "folderlock.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace brevan {

namespace {

int openLockFile(const QString &folder, bool create)
{
    const QByteArray path = QFile::encodeName(QDir(folder).filePath(FolderLock::fileName()));
    // Read-only is enough for flock, and opens an existing lock file in a
    // folder that has since become read-only.
    int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT && create)
        fd = ::open(path.constData(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    return fd;
}

} // namespace

QString FolderLock::fileName()
{
    return QStringLiteral(".brevan-in-uso");
}

FolderLock::Result FolderLock::acquire(const QString &folder)
{
    release();
    const int fd = openLockFile(folder, true);
    if (fd < 0)
        return Result::Unusable;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return Result::HeldElsewhere;
    }
    // A file system without locks (some network shares) is worked in as
    // before: the folder cannot be guarded there, but stays usable.
    m_fd = fd;
    return Result::Locked;
}

void FolderLock::release()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

bool FolderLock::isHeldElsewhere(const QString &folder)
{
    const int fd = openLockFile(folder, false);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

} // namespace brevan
