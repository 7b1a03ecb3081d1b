// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The table store's access to SQLite files, shared by the store's own files
// (tablestore.cpp, tablefile.cpp) and nothing else: failures turned into
// Italian StoreErrors, statements and connections that clean up after
// themselves, and the checks that a file is one table of ours.
#include "tablestore.h"

#include <sqlite3.h>

namespace brevan::sqlitefile {

// The internal name of the one table in every file.
inline const char *const kTableName = "tabella";
// The longest text or blob a foreign file may hand over (bytes).
inline constexpr int kMaxForeignValueBytes = 1 << 20;

QString nativePath(const QString &path);

// Throws the StoreError that says what went wrong with the file.
[[noreturn]] void fail(const QString &path, sqlite3 *db, int rc);

struct Statement {
    sqlite3_stmt *stmt = nullptr;
    sqlite3 *db = nullptr;
    QString path;

    Statement(sqlite3 *d, const QString &p, const QString &sql) : db(d), path(p)
    {
        const QByteArray utf8 = sql.toUtf8();
        const int rc = sqlite3_prepare_v2(db, utf8.constData(), static_cast<int>(utf8.size()), &stmt, nullptr);
        if (rc != SQLITE_OK)
            fail(path, db, rc);
    }
    ~Statement() { sqlite3_finalize(stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    void reset()
    {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
    }
    bool step()
    {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        fail(path, db, rc);
    }
    void bind(int i, const QVariant &v)
    {
        int rc = SQLITE_OK;
        if (!v.isValid() || v.isNull()) {
            rc = sqlite3_bind_null(stmt, i);
        } else if (v.typeId() == QMetaType::Bool) {
            rc = sqlite3_bind_int(stmt, i, v.toBool() ? 1 : 0);
        } else if (v.typeId() == QMetaType::Double) {
            rc = sqlite3_bind_double(stmt, i, v.toDouble());
        } else if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int) {
            rc = sqlite3_bind_int64(stmt, i, v.toLongLong());
        } else {
            const QByteArray utf8 = v.toString().toUtf8();
            rc = sqlite3_bind_text(stmt, i, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK)
            fail(path, db, rc);
    }
};

void exec(sqlite3 *db, const QString &path, const char *sql);
QString quoted(const QString &identifier);

struct Connection {
    sqlite3 *db = nullptr;
    ~Connection()
    {
        if (db)
            sqlite3_close_v2(db);
    }
    sqlite3 *release()
    {
        sqlite3 *d = db;
        db = nullptr;
        return d;
    }
};

void configure(sqlite3 *db, const QString &path, Trust trust);
// Opens a table file: a foreign one defensively and after an integrity check.
sqlite3 *openConnection(const QString &path, Trust trust, bool writable);
// Reads the single table's layout and checks that the file holds nothing else.
Layout readLayout(sqlite3 *db, const QString &path);

} // namespace brevan::sqlitefile
