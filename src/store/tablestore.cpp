// SPDX-License-Identifier: GPL-2.0-or-later
#include "tablestore.h"

#include "sqlitefile.h"
#include "legacy/paradoxtable.h"
#include "model/numbertext.h"
#include "model/record.h"
#include "foldersync.h"
#include "oserror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSet>
#include <QTemporaryFile>

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

namespace brevan {

using namespace sqlitefile;

namespace {

QString createSql(const Layout &layout)
{
    QStringList cols;
    for (const Column &c : layout)
        cols << quoted(c.name) + QLatin1Char(' ') + declaredType(c);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(QLatin1String(kTableName), cols.join(QStringLiteral(", ")));
}

// A unique empty file in the destination's folder, to be renamed over it.
QString temporaryBeside(const QString &destination)
{
    const QFileInfo info(destination);
    QTemporaryFile tmp(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    tmp.setAutoRemove(false);
    if (!tmp.open()) {
        if (!info.absoluteDir().exists())
            throw StoreError(QStringLiteral("La cartella \"%1\" non esiste.")
                                 .arg(QDir::toNativeSeparators(info.absolutePath())));
        throw StoreError(QStringLiteral("Impossibile scrivere nella cartella \"%1\".")
                             .arg(QDir::toNativeSeparators(info.absolutePath())));
    }
    return tmp.fileName();
}

void replaceWith(const QString &temporary, const QString &destination)
{
    // A journal left by a crash would be rolled back into the new file.
    QFile::remove(destination + QStringLiteral("-journal"));
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(destination).constData()) != 0) {
        const int err = errno;
        QFile::remove(temporary);
        throw StoreError(QStringLiteral("Impossibile scrivere \"%1\": %2")
                             .arg(nativePath(destination), systemErrorText(err)));
    }
}

// Tables that come from elsewhere in another format than the program's own,
// told apart by their content, never by their name: their layout and rows,
// read as every table from elsewhere is read.
std::optional<TableData> readOtherFormat(const QString &path)
{
    if (legacy::isParadoxTable(path))
        return readTableFile(path);
    return std::nullopt;
}

QSet<QString> &scratchPaths()
{
    static QSet<QString> paths;
    return paths;
}

// Tables are also written off the user-interface thread (the recovery copy).
QMutex &scratchMutex()
{
    static QMutex mutex;
    return mutex;
}

// How hard SQLite syncs writes to a table: documents are synced to the disk
// at every commit; scratch tables (the working tables, rebuilt at every start
// and at every municipality change) are not, since nothing is lost with them.
const char *syncPragma(const QString &path)
{
    return Table::isScratch(path) ? "PRAGMA synchronous=OFF" : "PRAGMA synchronous=FULL";
}

// Writes a new database at a temporary path with fill(), then renames it over
// the destination; on any failure the temporary file is removed and the
// destination is untouched.
template <typename Fill>
void writeWhole(const QString &destination, Fill &&fill)
{
    const QString tmp = temporaryBeside(destination);
    try {
        Connection c;
        const QByteArray file = QFile::encodeName(tmp);
        const int rc = sqlite3_open_v2(file.constData(), &c.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, nullptr);
        if (rc != SQLITE_OK)
            fail(destination, c.db, rc);
        configure(c.db, destination, Trust::Own);
        exec(c.db, destination, syncPragma(destination));
        fill(c.db);
        exec(c.db, destination, "PRAGMA journal_mode=DELETE");
        const int closeRc = sqlite3_close(c.release());
        if (closeRc != SQLITE_OK)
            fail(destination, nullptr, closeRc);
    } catch (...) {
        QFile::remove(tmp);
        QFile::remove(tmp + QStringLiteral("-journal"));
        throw;
    }
    replaceWith(tmp, destination);
    if (!Table::isScratch(destination))
        syncFolderEntries(QFileInfo(destination).absolutePath());
}

} // namespace

StoreError::StoreError(const QString &message) : std::runtime_error(message.toStdString()) {}

QString declaredType(const Column &c)
{
    switch (c.type) {
    case ColumnType::Text: return QStringLiteral("TEXT(%1)").arg(c.size);
    case ColumnType::Logical: return QStringLiteral("LOGICAL");
    case ColumnType::Real: return QStringLiteral("REAL");
    }
    return {};
}

void Table::setScratch(const QString &path, bool scratch)
{
    const QString key = QFileInfo(path).absoluteFilePath();
    const QMutexLocker lock(&scratchMutex());
    if (scratch)
        scratchPaths().insert(key);
    else
        scratchPaths().remove(key);
}

bool Table::isScratch(const QString &path)
{
    const QString key = QFileInfo(path).absoluteFilePath();
    const QMutexLocker lock(&scratchMutex());
    return scratchPaths().contains(key);
}

bool isPlainFileName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() == 0)
            return false;
    }
    return true;
}

QString pathInFolder(const QString &folder, const QString &name)
{
    if (!isPlainFileName(name))
        throw StoreError(QStringLiteral("Il nome \"%1\" non è un nome di file valido.").arg(name));
    return QDir(folder).filePath(name);
}

Table::~Table()
{
    close();
}

Table::Table(Table &&other) noexcept
    : m_db(other.m_db), m_path(std::move(other.m_path)), m_layout(std::move(other.m_layout)),
      m_blankReals(other.m_blankReals)
{
    other.m_db = nullptr;
}

Table &Table::operator=(Table &&other) noexcept
{
    if (this != &other) {
        close();
        m_db = other.m_db;
        m_path = std::move(other.m_path);
        m_layout = std::move(other.m_layout);
        m_blankReals = other.m_blankReals;
        other.m_db = nullptr;
    }
    return *this;
}

void Table::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void Table::create(const QString &path, const Layout &layout)
{
    if (layout.isEmpty())
        throw StoreError(QStringLiteral("Una tabella deve avere almeno un campo."));
    writeWhole(path, [&](sqlite3 *db) {
        Statement create(db, path, createSql(layout));
        create.step();
    });
}

namespace {

// Creates the table and inserts the rows in one transaction, without a
// rollback journal: the file is a private temporary until it is renamed, and
// a failure throws it away.
void fillTable(sqlite3 *db, const QString &path, const Layout &layout, const QVector<QVariantList> &rows)
{
    exec(db, path, "PRAGMA journal_mode=OFF");
    exec(db, path, "BEGIN");
    Statement create(db, path, createSql(layout));
    create.step();
    if (!rows.isEmpty()) {
        QStringList names, marks;
        for (const Column &c : layout) {
            names << quoted(c.name);
            marks << QStringLiteral("?");
        }
        Statement insert(db, path,
                         QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                             .arg(QLatin1String(kTableName), names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
        for (const QVariantList &row : rows) {
            sqlite3_reset(insert.stmt);
            for (int i = 0; i < layout.size(); ++i)
                insert.bind(i + 1, i < row.size() ? Table::coerce(layout.at(i), row.at(i)) : QVariant());
            insert.step();
        }
    }
    exec(db, path, "COMMIT");
}

} // namespace

void Table::write(const QString &path, const Layout &layout, const QVector<QVariantList> &rows)
{
    if (layout.isEmpty())
        throw StoreError(QStringLiteral("Una tabella deve avere almeno un campo."));
    writeWhole(path, [&](sqlite3 *db) { fillTable(db, path, layout, rows); });
}

QString Table::writeBeside(const QString &path, const Layout &layout, const QVector<QVariantList> &rows)
{
    if (layout.isEmpty())
        throw StoreError(QStringLiteral("Una tabella deve avere almeno un campo."));
    const QString tmp = temporaryBeside(path);
    try {
        Connection c;
        const int rc = sqlite3_open_v2(QFile::encodeName(tmp).constData(), &c.db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, nullptr);
        if (rc != SQLITE_OK)
            fail(path, c.db, rc);
        configure(c.db, path, Trust::Own);
        exec(c.db, path, "PRAGMA synchronous=OFF");
        fillTable(c.db, path, layout, rows);
        exec(c.db, path, "PRAGMA journal_mode=DELETE");
        const int closeRc = sqlite3_close(c.release());
        if (closeRc != SQLITE_OK)
            fail(path, nullptr, closeRc);
    } catch (...) {
        QFile::remove(tmp);
        throw;
    }
    return tmp;
}

bool Table::exists(const QString &path)
{
    return QFileInfo(path).isFile();
}

void Table::remove(const QString &path)
{
    if (!QFileInfo::exists(path))
        return;
    if (!QFile::remove(path))
        throw StoreError(QStringLiteral("Impossibile eliminare la tabella \"%1\".").arg(nativePath(path)));
    QFile::remove(path + QStringLiteral("-journal"));
}

Table Table::open(const QString &path, Trust trust, bool writable)
{
    if (trust == Trust::Foreign) {
        if (const std::optional<TableData> content = readOtherFormat(path)) {
            if (writable)
                throw StoreError(QStringLiteral("La tabella \"%1\" può essere soltanto letta.").arg(nativePath(path)));
            return fromContent(path, *content);
        }
    }
    Table t;
    t.m_db = openConnection(path, trust, trust == Trust::Own ? true : writable);
    t.m_path = path;
    try {
        t.m_layout = readLayout(t.m_db, path);
        if (writable) {
            exec(t.m_db, path, "PRAGMA journal_mode=DELETE");
            exec(t.m_db, path, syncPragma(path));
        }
    } catch (...) {
        t.close();
        throw;
    }
    return t;
}

Table Table::fromContent(const QString &path, const TableData &content)
{
    if (content.layout.isEmpty())
        fail(path, nullptr, SQLITE_NOTADB);
    Table t;
    {
        Connection c;
        const int rc = sqlite3_open_v2(":memory:", &c.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (rc != SQLITE_OK)
            fail(path, c.db, rc);
        configure(c.db, path, Trust::Own);
        t.m_db = c.release();
    }
    t.m_path = path;
    t.m_layout = content.layout;
    Statement create(t.m_db, path, createSql(content.layout));
    create.step();
    t.transaction([&] {
        for (const QVariantList &row : content.rows)
            t.append(row);
    });
    return t;
}

Layout Table::layoutOf(const QString &path, Trust trust)
{
    return open(path, trust, false).layout();
}

void Table::copy(const QString &source, const QString &destination, const Layout &expected)
{
    const TableData data = readTableFile(source);
    if (!expected.isEmpty())
        requireLayout(data, expected, source);
    write(destination, data);
}

void Table::write(const QString &destination, const TableData &data)
{
    write(destination, data.layout, data.rows);
}

QStringList Table::list(const QString &folder, const QString &pattern)
{
    const QDir dir(folder);
    if (!dir.exists())
        throw StoreError(QStringLiteral("La cartella \"%1\" non esiste.").arg(QDir::toNativeSeparators(folder)));
    return dir.entryList({pattern}, QDir::Files | QDir::Readable, QDir::Name);
}

int Table::columnIndex(const QString &name) const
{
    for (int i = 0; i < m_layout.size(); ++i) {
        if (m_layout.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool Table::hasColumns(const QStringList &names) const
{
    for (const QString &n : names) {
        if (columnIndex(n) < 0)
            return false;
    }
    return true;
}

int Table::requireColumn(const QString &field) const
{
    const int i = columnIndex(field);
    if (i < 0)
        throw StoreError(QStringLiteral("Campo \"%1\" non trovato nella tabella \"%2\".").arg(field, nativePath(m_path)));
    return i;
}

QVector<qint64> Table::rowIds() const
{
    QVector<qint64> ids;
    Statement s(m_db, m_path, QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid").arg(QLatin1String(kTableName)));
    while (s.step())
        ids << sqlite3_column_int64(s.stmt, 0);
    return ids;
}

int Table::rowCount() const
{
    Statement s(m_db, m_path, QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(kTableName)));
    s.step();
    return sqlite3_column_int(s.stmt, 0);
}

namespace {

QVariant columnValue(sqlite3_stmt *stmt, int i, const Column &c, bool blankReals)
{
    const int kind = sqlite3_column_type(stmt, i);
    switch (c.type) {
    case ColumnType::Text: {
        if (kind == SQLITE_NULL)
            return QString();
        if (kind == SQLITE_FLOAT || kind == SQLITE_INTEGER)
            return FloatToText(sqlite3_column_double(stmt, i));
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
        return QString::fromUtf8(p, sqlite3_column_bytes(stmt, i));
    }
    case ColumnType::Logical:
        if (kind == SQLITE_NULL)
            return false;
        if (kind == SQLITE_TEXT)
            return Table::coerce(c, QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i))));
        return sqlite3_column_int64(stmt, i) != 0;
    case ColumnType::Real:
        if (kind == SQLITE_NULL)
            return blankReals ? QVariant() : QVariant(0.0);
        if (kind == SQLITE_TEXT) {
            double v = 0;
            TryTextToFloat(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i))), &v);
            return v;
        }
        return sqlite3_column_double(stmt, i);
    }
    return {};
}

} // namespace

QVector<QVariantList> Table::rows() const
{
    QVector<QVariantList> out;
    Statement s(m_db, m_path, QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QLatin1String(kTableName)));
    while (s.step()) {
        QVariantList r;
        r.reserve(m_layout.size());
        for (int i = 0; i < m_layout.size(); ++i)
            r << columnValue(s.stmt, i, m_layout.at(i), m_blankReals);
        out << r;
    }
    return out;
}

QVariantList Table::row(qint64 rowId) const
{
    Statement s(m_db, m_path, QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(QLatin1String(kTableName)));
    s.bind(1, rowId);
    QVariantList r;
    if (!s.step())
        throw StoreError(QStringLiteral("Record non trovato nella tabella \"%1\".").arg(nativePath(m_path)));
    for (int i = 0; i < m_layout.size(); ++i)
        r << columnValue(s.stmt, i, m_layout.at(i), m_blankReals);
    return r;
}

QVariant Table::read(qint64 rowId, int column) const
{
    Statement s(m_db, m_path,
                QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                    .arg(quoted(m_layout.at(column).name), QLatin1String(kTableName)));
    s.bind(1, rowId);
    if (!s.step())
        throw StoreError(QStringLiteral("Record non trovato nella tabella \"%1\".").arg(nativePath(m_path)));
    return columnValue(s.stmt, 0, m_layout.at(column), m_blankReals);
}

QVariant Table::value(qint64 rowId, int column) const
{
    if (column < 0 || column >= m_layout.size())
        throw StoreError(QStringLiteral("Campo inesistente nella tabella \"%1\".").arg(nativePath(m_path)));
    return read(rowId, column);
}

QVariant Table::coerce(const Column &c, const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (c.type) {
    case ColumnType::Text: {
        QString s;
        if (v.typeId() == QMetaType::Double)
            s = FloatToText(v.toDouble());
        else if (v.typeId() == QMetaType::Bool)
            s = v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        else
            s = v.toString();
        return firstCharacters(s, c.size);
    }
    case ColumnType::Logical:
        if (v.typeId() == QMetaType::QString) {
            const QString s = v.toString().trimmed();
            return s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0
                   || s.compare(QLatin1String("Vero"), Qt::CaseInsensitive) == 0 || s == QLatin1String("1");
        }
        return v.toBool();
    case ColumnType::Real:
        if (v.typeId() == QMetaType::QString) {
            const QString s = v.toString();
            if (s.trimmed().isEmpty())
                return {};
            return TextToFloat(s);
        }
        return v.toDouble();
    }
    return {};
}

qint64 Table::append(const QVariantList &values)
{
    QStringList marks;
    QStringList names;
    const int n = std::min<int>(values.size(), m_layout.size());
    for (int i = 0; i < n; ++i) {
        names << quoted(m_layout.at(i).name);
        marks << QStringLiteral("?");
    }
    const QString sql = n == 0 ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(QLatin1String(kTableName))
                               : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(QLatin1String(kTableName), names.join(QLatin1Char(',')),
                                          marks.join(QLatin1Char(',')));
    Statement s(m_db, m_path, sql);
    for (int i = 0; i < n; ++i)
        s.bind(i + 1, coerce(m_layout.at(i), values.at(i)));
    s.step();
    return sqlite3_last_insert_rowid(m_db);
}

void Table::appendEmptyRows(int count)
{
    transaction([&] {
        for (int i = 0; i < count; ++i)
            append();
    });
}

void Table::deleteRow(qint64 rowId)
{
    Statement s(m_db, m_path, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(QLatin1String(kTableName)));
    s.bind(1, rowId);
    s.step();
}

void Table::clear()
{
    Statement s(m_db, m_path, QStringLiteral("DELETE FROM %1").arg(QLatin1String(kTableName)));
    s.step();
}

void Table::setValue(qint64 rowId, int column, const QVariant &v)
{
    if (column < 0 || column >= m_layout.size())
        throw StoreError(QStringLiteral("Campo inesistente nella tabella \"%1\".").arg(nativePath(m_path)));
    Statement s(m_db, m_path,
                QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?")
                    .arg(QLatin1String(kTableName), quoted(m_layout.at(column).name)));
    s.bind(1, coerce(m_layout.at(column), v));
    s.bind(2, rowId);
    s.step();
}

QString Table::text(qint64 rowId, const QString &field) const
{
    const int i = requireColumn(field);
    return valueText(m_layout.at(i), read(rowId, i));
}

double Table::real(qint64 rowId, const QString &field) const
{
    const int i = requireColumn(field);
    return valueReal(m_layout.at(i), read(rowId, i));
}

bool Table::logical(qint64 rowId, const QString &field) const
{
    const int i = requireColumn(field);
    return valueLogical(m_layout.at(i), read(rowId, i));
}

void Table::setText(qint64 rowId, const QString &field, const QString &v)
{
    setValue(rowId, requireColumn(field), v);
}

void Table::setReal(qint64 rowId, const QString &field, double v)
{
    setValue(rowId, requireColumn(field), v);
}

void Table::setLogical(qint64 rowId, const QString &field, bool v)
{
    setValue(rowId, requireColumn(field), v);
}

void Table::begin()
{
    exec(m_db, m_path, "BEGIN IMMEDIATE");
}

void Table::commit()
{
    exec(m_db, m_path, "COMMIT");
}

void Table::rollback()
{
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

} // namespace brevan
