// SPDX-License-Identifier: GPL-2.0-or-later
#include "sqlitefile.h"

#include "legacy/paradoxtable.h"
#include "model/numbertext.h"
#include "model/record.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>

#include <cmath>

namespace brevan {

using namespace sqlitefile;

namespace {

[[noreturn]] void refuseValue(const QString &path, const Column &column, int row)
{
    throw StoreError(QStringLiteral("La tabella \"%1\" contiene nel campo \"%2\" della riga %3 un valore non ammesso.")
                         .arg(nativePath(path), column.name)
                         .arg(row));
}

// One value of a foreign table, as its column allows it and nothing else: a
// never-written value reads as the column's empty value; text must be valid
// UTF-8 without NUL and no longer than the column's size; a real must be a
// finite number; a logical 0 or 1.
QVariant foreignValue(sqlite3_stmt *stmt, int i, const Column &c, const QString &path, int row)
{
    const int kind = sqlite3_column_type(stmt, i);
    if (kind == SQLITE_NULL) {
        switch (c.type) {
        case ColumnType::Text: return QString();
        case ColumnType::Real: return 0.0;
        case ColumnType::Logical: return false;
        }
    }
    switch (c.type) {
    case ColumnType::Text:
        if (kind == SQLITE_TEXT) {
            const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
            const int bytes = sqlite3_column_bytes(stmt, i);
            // A character takes at least one byte and at most four.
            if (bytes <= 4 * qint64(c.size)) {
                QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
                const QString text = utf8(QByteArrayView(p, bytes));
                if (!utf8.hasError() && characterCount(text) <= c.size && !text.contains(QChar(0)))
                    return text;
            }
        }
        break;
    case ColumnType::Real:
        if (kind == SQLITE_FLOAT || kind == SQLITE_INTEGER) {
            const double v = sqlite3_column_double(stmt, i);
            if (std::isfinite(v))
                return v;
        }
        break;
    case ColumnType::Logical:
        if (kind == SQLITE_INTEGER) {
            const sqlite3_int64 v = sqlite3_column_int64(stmt, i);
            if (v == 0 || v == 1)
                return v == 1;
        }
        break;
    }
    refuseValue(path, c, row);
}

bool isSqliteFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(16) == QByteArrayView("SQLite format 3\0", 16);
}

TableData readSqliteTable(const QString &path, int maxRows)
{
    Connection c;
    c.db = openConnection(path, Trust::Foreign, false);
    TableData data;
    data.layout = readLayout(c.db, path);
    QStringList names;
    for (const Column &column : data.layout)
        names << quoted(column.name);
    Statement select(c.db, path,
                     QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                         .arg(names.join(QLatin1Char(',')), QLatin1String(kTableName)));
    int row = 0;
    while (select.step()) {
        if (++row > maxRows)
            throw TableTooLarge(path);
        QVariantList values;
        values.reserve(data.layout.size());
        for (int i = 0; i < data.layout.size(); ++i)
            values << foreignValue(select.stmt, i, data.layout.at(i), path, row);
        data.rows << values;
    }
    return data;
}

} // namespace

TableTooLarge::TableTooLarge(const QString &path)
    : StoreError(QStringLiteral("La tabella \"%1\" è più grande di quanto il programma possa gestire (al massimo "
                                "%2 righe).")
                     .arg(nativePath(path), QLocale(QLocale::Italian).toString(kMaxTableRows)))
{
}

int TableData::columnIndex(const QString &name) const
{
    for (int i = 0; i < layout.size(); ++i) {
        if (layout.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

TableData readTableFile(const QString &path, int maxRows)
{
    const QFileInfo info(path);
    if (!info.isFile())
        fail(path, nullptr, SQLITE_CANTOPEN);
    if (info.size() > kMaxTableFileBytes)
        throw TableTooLarge(path);
    // The formats the program reads tables from; each hands over only rows.
    if (isSqliteFile(path))
        return readSqliteTable(path, maxRows);
    if (legacy::isParadoxTable(path)) {
        TableData data = legacy::readParadoxTable(path);
        if (data.rows.size() > maxRows)
            throw TableTooLarge(path);
        return data;
    }
    fail(path, nullptr, SQLITE_NOTADB);
}

void requireLayout(const TableData &data, const Layout &expected, const QString &path)
{
    if (data.layout != expected)
        throw StoreError(QStringLiteral("La tabella \"%1\" non ha la struttura attesa.").arg(nativePath(path)));
}

QString valueText(const Column &column, const QVariant &value)
{
    switch (column.type) {
    case ColumnType::Logical: return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case ColumnType::Real: return FloatToText(value.toDouble());
    case ColumnType::Text: break;
    }
    return value.toString();
}

double valueReal(const Column &column, const QVariant &value)
{
    if (column.type == ColumnType::Text) {
        const QString s = value.toString();
        return s.trimmed().isEmpty() ? 0.0 : TextToFloat(s);
    }
    return value.toDouble();
}

bool valueLogical(const Column &column, const QVariant &value)
{
    return Table::coerce(Column{column.name, ColumnType::Logical, 0}, value).toBool();
}

} // namespace brevan
