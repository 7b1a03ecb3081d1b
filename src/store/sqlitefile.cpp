// SPDX-License-Identifier: GPL-2.0-or-later
#include "sqlitefile.h"

#include "oserror.h"
#include "tableschema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

namespace brevan::sqlitefile {

namespace {

QString sqliteMessage(sqlite3 *db, int rc)
{
    if (db)
        return QString::fromUtf8(sqlite3_errmsg(db));
    return QString::fromUtf8(sqlite3_errstr(rc));
}

} // namespace

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

[[noreturn]] void fail(const QString &path, sqlite3 *db, int rc)
{
    const QString file = nativePath(path);
    switch (rc & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        throw StoreError(QStringLiteral("Il file \"%1\" non è una tabella valida o è danneggiato.").arg(file));
    case SQLITE_CANTOPEN:
        if (!QFileInfo::exists(path))
            throw StoreError(QStringLiteral("La tabella \"%1\" non esiste.").arg(file));
        throw StoreError(QStringLiteral("Impossibile aprire la tabella \"%1\".").arg(file));
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw StoreError(QStringLiteral("La tabella \"%1\" è bloccata da un altro programma.").arg(file));
    case SQLITE_READONLY:
    case SQLITE_PERM:
        throw StoreError(QStringLiteral("La tabella \"%1\" è protetta dalla scrittura.").arg(file));
    case SQLITE_FULL:
        throw StoreError(
            QStringLiteral("Impossibile scrivere la tabella \"%1\":\n%2").arg(file, systemErrorText(ENOSPC)));
    case SQLITE_TOOBIG:
        throw StoreError(QStringLiteral("La tabella \"%1\" contiene un valore troppo lungo.").arg(file));
    case SQLITE_IOERR: {
        // A write the system refused says why (a full disk, a file grown
        // past what the system allows).
        const int err = db ? sqlite3_system_errno(db) : 0;
        if ((rc == SQLITE_IOERR_WRITE || rc == SQLITE_IOERR_FSYNC || rc == SQLITE_IOERR_TRUNCATE) && err != 0)
            throw StoreError(QStringLiteral("Impossibile scrivere la tabella \"%1\":\n%2").arg(file, systemErrorText(err)));
        throw StoreError(QStringLiteral("Errore di lettura o scrittura su \"%1\".").arg(file));
    }
    default:
        throw StoreError(QStringLiteral("Errore sulla tabella \"%1\": %2").arg(file, sqliteMessage(db, rc)));
    }
}

void exec(sqlite3 *db, const QString &path, const char *sql)
{
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(path, db, rc);
}

QString quoted(const QString &identifier)
{
    QString q = identifier;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

void configure(sqlite3 *db, const QString &path, Trust trust)
{
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 2000);
    if (trust == Trust::Foreign) {
        sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
        sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
        sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
        sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
        // No value of ours comes near this; a file that holds a larger one is
        // refused when it is read instead of filling the memory.
        sqlite3_limit(db, SQLITE_LIMIT_LENGTH, kMaxForeignValueBytes);
    }
    exec(db, path, "PRAGMA trusted_schema=OFF");
}

namespace {

// A file in write-ahead-log mode (bytes 18 and 19 of its header).
bool isWalFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(20);
    return header.size() == 20 && (header.at(18) == 2 || header.at(19) == 2);
}

// "file:" and the path, with what a URI would read as its own escaped.
QByteArray fileUri(const QString &path)
{
    return "file:" + QFile::encodeName(QFileInfo(path).absoluteFilePath()).toPercentEncoding("/");
}

// A write-ahead-log file read without a file made or changed beside it.
// Without its log it is read as it stands ("immutable": SQLite then makes
// no -wal or -shm file). With a log beside it, the two are copied into a
// private folder and read there, so what the log holds is read too; the
// table comes out held in memory.
sqlite3 *openWalFile(const QString &path)
{
    Connection c;
    const int readOnly = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_FULLMUTEX;
    if (!QFileInfo::exists(path + QStringLiteral("-wal"))) {
        const int rc = sqlite3_open_v2((fileUri(path) + "?immutable=1").constData(), &c.db,
                                       readOnly | SQLITE_OPEN_URI, nullptr);
        if (rc != SQLITE_OK)
            fail(path, c.db, rc);
        return c.release();
    }
    if (QFileInfo(path).isSymLink() || QFileInfo(path + QStringLiteral("-wal")).isSymLink())
        fail(path, nullptr, SQLITE_CANTOPEN);
    QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("tabella.db"));
    if (!scratch.isValid() || !QFile::copy(path, copy)
        || !QFile::copy(path + QStringLiteral("-wal"), copy + QStringLiteral("-wal")))
        fail(path, nullptr, SQLITE_CANTOPEN);
    Connection source;
    int rc = sqlite3_open_v2(QFile::encodeName(copy).constData(), &source.db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK)
        fail(path, source.db, rc);
    configure(source.db, path, Trust::Foreign);
    rc = sqlite3_open_v2(":memory:", &c.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK)
        fail(path, c.db, rc);
    sqlite3_backup *backup = sqlite3_backup_init(c.db, "main", source.db, "main");
    if (!backup)
        fail(path, c.db, sqlite3_errcode(c.db));
    rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        fail(path, source.db, rc);
    return c.release();
}

} // namespace

sqlite3 *openConnection(const QString &path, Trust trust, bool writable)
{
    if (!QFileInfo(path).isFile())
        fail(path, nullptr, SQLITE_CANTOPEN);
    Connection c;
    int rc = SQLITE_OK;
    if (trust == Trust::Foreign && !writable && isWalFile(path)) {
        c.db = openWalFile(path);
    } else {
        const int flags = (writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_NOFOLLOW
                          | SQLITE_OPEN_FULLMUTEX;
        const QByteArray file = QFile::encodeName(path);
        rc = sqlite3_open_v2(file.constData(), &c.db, flags, nullptr);
        if (rc != SQLITE_OK)
            fail(path, c.db, rc);
    }
    configure(c.db, path, trust);
    if (trust == Trust::Foreign) {
        // A schema SQLite cannot even read ("unsupported file format",
        // "malformed database schema") fails here with a generic error: the
        // file is not a table of ours. Busy, locked or unreadable files keep
        // their own messages.
        sqlite3_stmt *check = nullptr;
        rc = sqlite3_prepare_v2(c.db, "PRAGMA quick_check", -1, &check, nullptr);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(check);
        const auto *res = rc == SQLITE_ROW ? reinterpret_cast<const char *>(sqlite3_column_text(check, 0)) : nullptr;
        const bool ok = res && std::strcmp(res, "ok") == 0;
        sqlite3_finalize(check);
        if (!ok)
            fail(path, c.db, rc == SQLITE_ROW || rc == SQLITE_DONE || (rc & 0xff) == SQLITE_ERROR ? SQLITE_CORRUPT : rc);
    }
    return c.release();
}

// Reads the single table's layout and checks that the file holds nothing else:
// one table named as ours, created by a statement a table of ours is created
// with. Indexes, triggers, views and other tables make the file foreign.
Layout readLayout(sqlite3 *db, const QString &path)
{
    QString sql;
    {
        Statement objects(db, path, QStringLiteral("SELECT type, name, sql FROM sqlite_schema"));
        int objectCount = 0;
        while (objects.step()) {
            const QString type = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(objects.stmt, 0)));
            const QString name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(objects.stmt, 1)));
            if (type != QLatin1String("table") || name != QLatin1String(kTableName))
                fail(path, db, SQLITE_NOTADB);
            sql = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(objects.stmt, 2)));
            ++objectCount;
        }
        if (objectCount != 1)
            fail(path, db, SQLITE_NOTADB);
    }
    Layout layout;
    if (!readCreateTable(sql, QLatin1String(kTableName), &layout))
        fail(path, db, SQLITE_NOTADB);
    // What SQLite itself made of the statement must say the same.
    Statement info(db, path, QStringLiteral("PRAGMA table_info(%1)").arg(QLatin1String(kTableName)));
    int column = 0;
    while (info.step()) {
        const QString name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(info.stmt, 1)));
        if (column >= layout.size() || name != layout.at(column).name)
            fail(path, db, SQLITE_NOTADB);
        ++column;
    }
    if (column != layout.size())
        fail(path, db, SQLITE_NOTADB);
    return layout;
}

} // namespace brevan::sqlitefile
