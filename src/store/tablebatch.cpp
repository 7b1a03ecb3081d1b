// SPDX-License-Identifier: GPL-2.0-or-later
#include "tablebatch.h"
#include "foldersync.h"
#include "oserror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace brevan {

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// Flushes what was written under the folder to the disk. On Linux one call
// syncs the folder's whole file system, which is what makes a batch cheap.
bool syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
#ifdef __linux__
    const bool ok = ::syncfs(fd) == 0;
#else
    ::sync();
    const bool ok = true;
#endif
    ::close(fd);
    return ok;
}

} // namespace

TableBatch::~TableBatch()
{
    discard();
}

void TableBatch::discard()
{
    for (const auto &[temporary, table] : std::as_const(m_pending))
        QFile::remove(temporary);
    m_pending.clear();
}

void TableBatch::truncate(int count)
{
    while (m_pending.size() > count)
        QFile::remove(m_pending.takeLast().first);
}

void TableBatch::write(const QString &path, const Layout &layout, const QVector<QVariantList> &rows)
{
    // Written without a sync of its own: commit() syncs the whole batch.
    m_pending.append({Table::writeBeside(path, layout, rows), QFileInfo(path).absoluteFilePath()});
}

QStringList TableBatch::commit()
{
    QStringList failed;
    QSet<QString> folders;
    for (const auto &[temporary, table] : std::as_const(m_pending))
        folders.insert(QFileInfo(table).absolutePath());
    for (const QString &folder : std::as_const(folders)) {
        if (!syncFolder(folder)) {
            const QString reason = systemErrorText(errno);
            for (const auto &[temporary, table] : std::as_const(m_pending))
                failed << native(table) + u'\t'
                              + QStringLiteral("Impossibile scrivere \"%1\": %2").arg(native(table), reason);
            discard();
            return failed;
        }
    }
    for (const auto &[temporary, table] : std::as_const(m_pending)) {
        // A journal left by a crash would be rolled back into the new file.
        QFile::remove(table + QStringLiteral("-journal"));
        if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(table).constData()) != 0) {
            failed << native(table) + u'\t'
                          + QStringLiteral("Impossibile scrivere \"%1\": %2")
                                .arg(native(table), systemErrorText(errno));
            QFile::remove(temporary);
        }
    }
    for (const QString &folder : std::as_const(folders))
        syncFolderEntries(folder);
    m_pending.clear();
    return failed;
}

} // namespace brevan
