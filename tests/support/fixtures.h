// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Small files that tests make on the spot: tables, damaged tables, files that
// are not tables, and a folder nobody can write into.
#include "store/tablestore.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <sqlite3.h>
#include <unistd.h>

namespace fixtures {

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write fixture %s", qPrintable(path));
    f.write(bytes);
}

inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A table whose later pages are overwritten with garbage.
inline void damage(const QString &path)
{
    QByteArray bytes = readBytes(path);
    for (qsizetype i = 4096; i < bytes.size(); ++i)
        bytes[i] = char(0xA5 ^ (i & 0xff));
    writeBytes(path, bytes);
}

// A real SQLite file that is not one of our tables (other name, extra objects).
inline void foreignDatabase(const QString &path, const char *sql)
{
    QFile::remove(path);
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// A folder the current user cannot create files in. Root ignores permission
// bits, so it gets a folder of a read-only file system instead.
inline QString readOnlyFolder(const QString &scratch)
{
    if (geteuid() == 0)
        return QStringLiteral("/proc");
    const QString dir = scratch + QStringLiteral("/readonly");
    QDir().mkpath(dir);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
    return dir;
}

} // namespace fixtures
