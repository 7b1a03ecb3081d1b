// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Paradox tables written on the spot with pxlib's own writer, as the
// archives of the desktop database engine hold them: alpha text in the
// table's code page, numbers, logicals, dates. What the writer cannot do (a
// DOS code page in the header) is patched into the bytes afterwards, at the
// offsets the file format gives.
#include "store/tablestore.h"

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QHash>
#include <QString>
#include <QVector>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <variant>

#include <iconv.h>
extern "C" {
#include <paradox.h>
}

namespace fixtures {

// Field types as the format numbers them.
enum PxType : char {
    PxAlpha = pxfAlpha,
    PxDate = pxfDate,
    PxShort = pxfShort,
    PxLong = pxfLong,
    PxMoney = pxfCurrency,
    PxNumber = pxfNumber,
    PxLogical = pxfLogical,
    PxMemo = pxfMemoBLOb,
    PxTime = pxfTime,
    PxAutoInc = pxfAutoInc,
};

struct PxColumn {
    QByteArray name;
    PxType type;
    int size; // alpha: characters; memo: 10 + leader; others: their fixed size
};

inline PxColumn pxAlpha(const char *name, int size) { return {name, PxAlpha, size}; }
inline PxColumn pxNumber(const char *name) { return {name, PxNumber, 8}; }
inline PxColumn pxMoney(const char *name) { return {name, PxMoney, 8}; }
inline PxColumn pxShort(const char *name) { return {name, PxShort, 2}; }
inline PxColumn pxLong(const char *name) { return {name, PxLong, 4}; }
inline PxColumn pxAutoInc(const char *name) { return {name, PxAutoInc, 4}; }
inline PxColumn pxLogical(const char *name) { return {name, PxLogical, 1}; }
inline PxColumn pxDate(const char *name) { return {name, PxDate, 4}; }
inline PxColumn pxMemo(const char *name, int leader) { return {name, PxMemo, 10 + leader}; }
inline PxColumn pxTime(const char *name) { return {name, PxTime, 4}; }

struct PxNull {};
// Alpha: the bytes as stored (already in the table's code page). Number and
// money: double. Short, long, auto-increment: int. Logical: bool. Date: QDate.
using PxCell = std::variant<PxNull, QByteArray, double, int, bool, QDate>;
using PxRow = QVector<PxCell>;

struct PxTable {
    QVector<PxColumn> columns;
    QVector<PxRow> rows;
    int codePage = 1252;
    bool keyed = false; // first field is the primary key, with a ".px" beside
};

// Offsets in the file, for tests that patch bytes.
inline constexpr int kPxRecordSize = 0x00;
inline constexpr int kPxHeaderSize = 0x02;
inline constexpr int kPxFileType = 0x04;
inline constexpr int kPxMaxTableSize = 0x05;
inline constexpr int kPxNumRecords = 0x06;
inline constexpr int kPxFileBlocks = 0x0C;
inline constexpr int kPxFirstBlock = 0x0E;
inline constexpr int kPxLastBlock = 0x10;
inline constexpr int kPxNumFields = 0x21;
inline constexpr int kPxEncryption1 = 0x25;
inline constexpr int kPxFileVersion = 0x39;
inline constexpr int kPxEncryption2 = 0x5C;
inline constexpr int kPxCodePage = 0x6A;
inline constexpr int kPxFieldInfo = 0x78;

inline int pxU16(const QByteArray &b, int at)
{
    return quint8(b[at]) | quint8(b[at + 1]) << 8;
}
inline void pxPut16(QByteArray &b, int at, int v)
{
    b[at] = char(v & 0xff);
    b[at + 1] = char((v >> 8) & 0xff);
}
inline void pxPut32(QByteArray &b, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xff);
}
// Where data block n (from 1) begins.
inline int pxBlockAt(const QByteArray &b, int n)
{
    return pxU16(b, kPxHeaderSize) + (n - 1) * quint8(b[kPxMaxTableSize]) * 1024;
}

namespace detail {

inline pxfield_t *pxFields(pxdoc_t *doc, const QVector<PxColumn> &columns)
{
    auto *fields = static_cast<pxfield_t *>(doc->malloc(doc, sizeof(pxfield_t) * size_t(columns.size()), "fixture"));
    for (int i = 0; i < columns.size(); ++i) {
        fields[i].px_fname = PX_strdup(doc, columns[i].name.constData());
        fields[i].px_ftype = columns[i].type;
        fields[i].px_flen = columns[i].size;
        fields[i].px_fdc = 0;
    }
    return fields;
}

inline void putCell(pxdoc_t *doc, char *data, const PxColumn &c, const PxCell &cell)
{
    if (std::holds_alternative<PxNull>(cell)) {
        std::memset(data, 0, size_t(c.size));
        return;
    }
    switch (c.type) {
    case PxAlpha: {
        QByteArray bytes = std::get<QByteArray>(cell);
        PX_put_data_alpha(doc, data, c.size, bytes.data());
        break;
    }
    case PxNumber:
    case PxMoney: PX_put_data_double(doc, data, 8, std::get<double>(cell)); break;
    case PxShort: PX_put_data_short(doc, data, 2, short(std::get<int>(cell))); break;
    case PxLong:
    case PxAutoInc:
    case PxTime: PX_put_data_long(doc, data, 4, std::get<int>(cell)); break;
    case PxLogical: PX_put_data_byte(doc, data, 1, std::get<bool>(cell) ? 1 : 0); break;
    case PxDate:
        // Days from 1 January of year 1, which is day 1.
        PX_put_data_long(doc, data, 4, int(std::get<QDate>(cell).toJulianDay() - 1721425));
        break;
    case PxMemo: {
        // Short memos live in the record itself: leader, then 10 bytes.
        const QByteArray text = std::get<QByteArray>(cell);
        std::memset(data, 0, size_t(c.size));
        std::memcpy(data, text.constData(), size_t(std::min<qsizetype>(text.size(), c.size - 10)));
        const qsizetype n = text.size();
        data[c.size - 6] = char(n & 0xff);
        data[c.size - 5] = char((n >> 8) & 0xff);
        break;
    }
    }
}

} // namespace detail

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write fixture %s", qPrintable(path));
    f.write(bytes);
}

// Writes the table with pxlib; with keyed set, also its primary index
// ("name.px") beside it.
inline void writeParadox(const QString &path, const PxTable &table)
{
    QFile::remove(path);
    pxdoc_t *doc = PX_new();
    std::FILE *file = std::fopen(QFile::encodeName(path).constData(), "w+");
    if (!doc || !file)
        qFatal("cannot write Paradox fixture %s", qPrintable(path));
    if (PX_create_fp(doc, detail::pxFields(doc, table.columns), int(table.columns.size()), file,
                     table.keyed ? pxfFileTypIndexDB : pxfFileTypNonIndexDB)
        < 0)
        qFatal("pxlib cannot create %s", qPrintable(path));
    if (table.keyed)
        PX_set_value(doc, "numprimkeys", 1);
    const int recordSize = PX_get_recordsize(doc);
    QByteArray record(recordSize, '\0');
    for (const PxRow &row : table.rows) {
        record.fill('\0');
        int offset = 0;
        for (int i = 0; i < table.columns.size(); ++i) {
            detail::putCell(doc, record.data() + offset, table.columns[i], i < row.size() ? row[i] : PxCell{});
            offset += table.columns[i].size;
        }
        if (PX_put_record(doc, record.data()) < 0)
            qFatal("pxlib cannot write a record of %s", qPrintable(path));
    }
    if (table.keyed) {
        const QString indexPath = path.left(path.size() - 3) + QStringLiteral(".px");
        QFile::remove(indexPath);
        pxdoc_t *index = PX_new();
        std::FILE *indexFile = std::fopen(QFile::encodeName(indexPath).constData(), "w+");
        if (PX_create_fp(index, detail::pxFields(index, table.columns.mid(0, 1)), 1, indexFile, pxfFileTypPrimIndex) < 0
            || PX_write_primary_index(doc, index) < 0)
            qFatal("pxlib cannot write the primary index of %s", qPrintable(path));
        PX_close(index);
        PX_delete(index);
        std::fflush(indexFile);
        std::fclose(indexFile);
    }
    PX_close(doc);
    PX_delete(doc);
    std::fflush(file);
    std::fclose(file);
    // pxlib writes code page 1252; a DOS table names its own.
    if (table.codePage != 1252) {
        QByteArray bytes = readAll(path);
        pxPut16(bytes, kPxCodePage, table.codePage);
        writeAll(path, bytes);
    }
}

// Text in the code pages of the fixtures, typed from the code page charts
// rather than taken from the program's tables.
inline QByteArray encodeText(const QString &text, int codePage)
{
    struct Char {
        char16_t ch;
        quint8 cp1252, cp850;
    };
    static const Char kChars[] = {
        {u'à', 0xE0, 0x85}, {u'è', 0xE8, 0x8A}, {u'é', 0xE9, 0x82}, {u'ì', 0xEC, 0x8D}, {u'ò', 0xF2, 0x95},
        {u'ù', 0xF9, 0x97}, {u'À', 0xC0, 0xB7}, {u'È', 0xC8, 0xD4}, {u'É', 0xC9, 0x90}, {u'Ì', 0xCC, 0xDE},
        {u'Ò', 0xD2, 0xE3}, {u'Ù', 0xD9, 0xEB}, {u'°', 0xB0, 0xF8}, {u'€', 0x80, 0x00},
    };
    QByteArray out;
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            out += char(c.unicode());
            continue;
        }
        quint8 byte = 0;
        for (const Char &k : kChars) {
            if (k.ch == c.unicode())
                byte = codePage == 1252 ? k.cp1252 : (codePage == 850 || codePage == 437) ? k.cp850 : 0;
        }
        if (codePage == 437 && (c == u'À' || c == u'È' || c == u'Ì' || c == u'Ò' || c == u'Ù'))
            byte = 0; // not in 437
        if (!byte)
            qFatal("no byte for U+%04X in code page %d", c.unicode(), codePage);
        out += char(byte);
    }
    return out;
}

// A table of the program's layout as Paradox: text n as alpha n, logical as
// logical, real as number; the rows' texts encoded in the code page.
inline PxTable paradoxFrom(const brevan::Layout &layout, const QVector<QVariantList> &rows, int codePage)
{
    PxTable t;
    t.codePage = codePage;
    for (const brevan::Column &c : layout) {
        const QByteArray name = c.name.toLatin1();
        switch (c.type) {
        case brevan::ColumnType::Text: t.columns << PxColumn{name, PxAlpha, c.size}; break;
        case brevan::ColumnType::Logical: t.columns << PxColumn{name, PxLogical, 1}; break;
        case brevan::ColumnType::Real: t.columns << PxColumn{name, PxNumber, 8}; break;
        }
    }
    for (const QVariantList &r : rows) {
        PxRow row;
        for (int i = 0; i < layout.size(); ++i) {
            const QVariant v = r.value(i);
            switch (layout[i].type) {
            case brevan::ColumnType::Text: {
                const QString s = v.toString();
                row << (s.isEmpty() ? PxCell{} : PxCell{encodeText(s, codePage)});
                break;
            }
            case brevan::ColumnType::Logical: row << PxCell{v.toBool()}; break;
            case brevan::ColumnType::Real: row << (v.isValid() ? PxCell{v.toDouble()} : PxCell{}); break;
            }
        }
        t.rows << row;
    }
    return t;
}

// Rewrites a table of the program's own format as a Paradox table of the
// same name, rows and layout.
inline void convertToParadox(const QString &path, int codePage)
{
    brevan::Table own = brevan::Table::open(path);
    const brevan::Layout layout = own.layout();
    const QVector<QVariantList> rows = own.rows();
    own.close();
    writeParadox(path, paradoxFrom(layout, rows, codePage));
}

} // namespace fixtures
