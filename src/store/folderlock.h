// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// One program per data folder: an exclusive lock on a small file in the
// folder, held for as long as the program works there. The kernel lets go of
// it when the process ends, however it ends, so a crash never leaves the
// folder locked.
#include <QString>

namespace brevan {

class FolderLock {
public:
    enum class Result { Locked, HeldElsewhere, Unusable };

    FolderLock() = default;
    ~FolderLock() { release(); }
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    // Takes the folder's lock. HeldElsewhere when another program (or
    // another FolderLock) holds it; Unusable when the lock file cannot be
    // made or opened. On a file system that has no locks it counts as taken.
    Result acquire(const QString &folder);
    void release();
    bool isHeld() const { return m_fd >= 0; }

    // Whether someone holds the folder's lock now, without taking it.
    static bool isHeldElsewhere(const QString &folder);
    // The lock file's name in the folder.
    static QString fileName();

private:
    int m_fd = -1;
};

} // namespace brevan
