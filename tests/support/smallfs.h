// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A small file system that can be filled up: a tmpfs of a few KiB, mounted
// in a mount namespace of the test process's own, so that it goes away with
// the process however the process ends. Mounting needs root, as the tests
// have here and on CI; elsewhere isMounted() is false and why() says so.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace fixtures {

class SmallFileSystem {
public:
    explicit SmallFileSystem(int kib = 64)
    {
        if (!m_dir.isValid()) {
            m_why = QStringLiteral("no temporary folder");
            return;
        }
        // Once per process: the mounts made after it are the process's own.
        static const int ownNamespace = [] {
            if (::unshare(CLONE_NEWNS) != 0)
                return errno;
            if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
                return errno;
            return 0;
        }();
        if (ownNamespace != 0) {
            m_why = QStringLiteral("no mount namespace of its own: %1").arg(QString::fromLocal8Bit(std::strerror(ownNamespace)));
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(kib) + "k,mode=0700";
        if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                    options.constData())
            != 0) {
            m_why = QStringLiteral("cannot mount a tmpfs: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        m_mounted = true;
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;

    bool isMounted() const { return m_mounted; }
    QString why() const { return m_why; }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Takes every free byte with a filler file, then gives back `leave`
    // bytes of it: a write larger than that fails part way through.
    bool fill(qint64 leave = 0)
    {
        const QByteArray filler = QFile::encodeName(filePath(QStringLiteral(".riempimento")));
        const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0)
            return false;
        const QByteArray block(4096, 'x');
        qint64 size = 0;
        for (;;) {
            const ssize_t n = ::write(fd, block.constData(), size_t(block.size()));
            if (n <= 0)
                break;
            size += n;
        }
        const bool full = errno == ENOSPC;
        const bool ok = full && ::ftruncate(fd, std::max<qint64>(0, size - leave)) == 0;
        ::close(fd);
        return ok;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};

} // namespace fixtures
