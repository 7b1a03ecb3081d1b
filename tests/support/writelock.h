// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Makes a folder or a file refuse to change for the life of the object. Root
// ignores permission bits, so for root the entry is made immutable (where the
// file system allows it); other users get the folder's write bit taken away.
// A file cannot be locked that way for them: locked() then says false, as it
// does wherever the lock could not be set.
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace fixtures {

class WriteLock {
public:
    explicit WriteLock(const QString &path) : m_path(path)
    {
        if (geteuid() != 0) {
            m_byPermissions = QFileInfo(path).isDir();
            m_locked = m_byPermissions && QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
            return;
        }
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        int flags = 0;
        if (m_fd >= 0 && ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            m_locked = ioctl(m_fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
    }
    ~WriteLock()
    {
        if (m_byPermissions) {
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        } else if (m_fd >= 0) {
            int flags = 0;
            if (ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ioctl(m_fd, FS_IOC_SETFLAGS, &flags);
            }
            ::close(m_fd);
        }
    }
    WriteLock(const WriteLock &) = delete;
    WriteLock &operator=(const WriteLock &) = delete;

    bool locked() const { return m_locked; }

private:
    QString m_path;
    int m_fd = -1;
    bool m_byPermissions = false;
    bool m_locked = false;
};

} // namespace fixtures
