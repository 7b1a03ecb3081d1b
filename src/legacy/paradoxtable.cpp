// SPDX-License-Identifier: GPL-2.0-or-later
#include "paradoxtable.h"

#include "codepages.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include <iconv.h>
// pxlib's header declares C functions without saying so.
extern "C" {
#include <paradox.h>
}

namespace brevan::legacy {

namespace {

// The common header, little-endian.
constexpr int kRecordSizeAt = 0x00;
constexpr int kHeaderSizeAt = 0x02;
constexpr int kFileTypeAt = 0x04;
constexpr int kMaxTableSizeAt = 0x05;
constexpr int kNumRecordsAt = 0x06;
constexpr int kFileBlocksAt = 0x0C;
constexpr int kFirstBlockAt = 0x0E;
constexpr int kNumFieldsAt = 0x21;
constexpr int kEncryption1At = 0x25;
constexpr int kFileVersionAt = 0x39;
constexpr int kCommonHeaderEnd = 0x58;
// Tables of version 4.0 and later continue with a data header.
constexpr int kEncryption2At = 0x5C;
constexpr int kCodePageAt = 0x6A;
constexpr int kDataHeaderEnd = 0x78;
constexpr quint32 kEncryptionInDataHeader = 0xFF00FF00;
// DOS tables older than version 4.0 name no code page.
constexpr int kDosCodePage = 437;

constexpr int kIndexedTable = 0;    // ".db" with a primary index beside it
constexpr int kNonIndexedTable = 2; // ".db" without key
constexpr int kFirstVersion = 3;    // Paradox 3.0
constexpr int kLastVersion = 12;    // Paradox 7 and later
constexpr int kDataHeaderVersion = 5;
constexpr int kLongTableNameVersion = 12;
constexpr int kTableNameLength = 79;
constexpr int kLongTableNameLength = 261;
constexpr int kMaxFields = 255;
// pxlib reads a field name into a buffer of 300 characters.
constexpr int kMaxFieldNameLength = 255;
constexpr int kBlockHeaderSize = 6; // next block, previous block, last record offset
// Julian day of 31 December 1 BC: Paradox counts 1 January 1 as day 1.
constexpr qint64 kParadoxDayZero = 1721425;

enum class Use { Text, Date, Short, Long, Number, Logical, Ignored, Unsupported };

struct FieldKind {
    quint8 type;
    Use use;
    int length;           // bytes in the record; 0: the field's size byte
    int minSize, maxSize; // what the size byte may hold
    const char *name;     // for messages
};

constexpr FieldKind kFieldKinds[] = {
    {0x01, Use::Text, 0, 1, 255, "alfanumerico"},
    {0x02, Use::Date, 4, 4, 4, "data"},
    {0x03, Use::Short, 2, 2, 2, "intero breve"},
    {0x04, Use::Long, 4, 4, 4, "intero lungo"},
    {0x05, Use::Number, 8, 8, 8, "valuta"},
    {0x06, Use::Number, 8, 8, 8, "numero"},
    {0x09, Use::Logical, 1, 1, 1, "logico"},
    {0x0C, Use::Ignored, 0, 10, 255, "memo"},
    {0x0D, Use::Ignored, 0, 10, 255, "binario"},
    {0x0E, Use::Ignored, 0, 10, 255, "memo formattato"},
    {0x0F, Use::Ignored, 0, 10, 255, "OLE"},
    {0x10, Use::Ignored, 0, 10, 255, "grafico"},
    {0x14, Use::Unsupported, 4, 4, 4, "ora"},
    {0x15, Use::Unsupported, 8, 8, 8, "data e ora"},
    {0x16, Use::Long, 4, 4, 4, "autoincremento"},
    {0x17, Use::Unsupported, 17, 0, 32, "BCD"}, // the size byte holds the decimals
    {0x18, Use::Ignored, 0, 1, 255, "byte"},
};

const FieldKind *fieldKind(quint8 type)
{
    for (const FieldKind &k : kFieldKinds) {
        if (k.type == type)
            return &k;
    }
    return nullptr;
}

struct Field {
    QString name;
    const FieldKind *kind = nullptr;
    int offset = 0; // in the record
    int length = 0; // in the record
    int size = 0;   // the size byte
};

struct Block {
    int number = 0;
    int records = 0;
};

struct Structure {
    int recordSize = 0;
    int headerSize = 0;
    int blockSize = 0;
    int codePage = 0;
    qint64 numRecords = 0;
    QVector<Field> fields;
    QVector<Block> chain; // data blocks in stored order
};

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

[[noreturn]] void damaged(const QString &path, const QString &why)
{
    throw StoreError(QStringLiteral("La tabella Paradox \"%1\" è danneggiata (%2).").arg(native(path), why));
}

// Every read of the file's bytes is bounded here.
class Bytes {
public:
    explicit Bytes(const QByteArray &b) : m_data(reinterpret_cast<const uchar *>(b.constData())), m_size(b.size()) {}
    qsizetype size() const { return m_size; }
    bool has(qsizetype offset, qsizetype length) const
    {
        return offset >= 0 && length >= 0 && offset <= m_size && length <= m_size - offset;
    }
    const uchar *at(qsizetype offset) const { return m_data + offset; }
    quint8 u8(qsizetype o) const { return m_data[o]; }
    quint16 u16(qsizetype o) const { return quint16(m_data[o] | m_data[o + 1] << 8); }
    qint16 i16(qsizetype o) const { return qint16(u16(o)); }
    quint32 u32(qsizetype o) const
    {
        return quint32(m_data[o]) | quint32(m_data[o + 1]) << 8 | quint32(m_data[o + 2]) << 16
               | quint32(m_data[o + 3]) << 24;
    }

private:
    const uchar *m_data;
    qsizetype m_size;
};

bool plausibleHeader(const Bytes &b)
{
    if (!b.has(0, kCommonHeaderEnd))
        return false;
    static const char sqlite[] = "SQLite format 3";
    if (std::memcmp(b.at(0), sqlite, sizeof sqlite) == 0)
        return false;
    const int fileType = b.u8(kFileTypeAt);
    const int version = b.u8(kFileVersionAt);
    const int maxTableSize = b.u8(kMaxTableSizeAt);
    const int numFields = b.i16(kNumFieldsAt);
    return (fileType == kIndexedTable || fileType == kNonIndexedTable) && version >= kFirstVersion
           && version <= kLastVersion && maxTableSize >= 1 && maxTableSize <= 32 && b.u16(kRecordSizeAt) > 0
           && b.u16(kHeaderSizeAt) >= kCommonHeaderEnd && numFields >= 1 && numFields <= kMaxFields;
}

// The header, the field list and the chain of data blocks, checked against
// each other and against the file's size before pxlib sees a byte.
Structure readStructure(const Bytes &b, const QString &path)
{
    if (!plausibleHeader(b))
        damaged(path, QStringLiteral("intestazione non valida"));
    Structure s;
    const int version = b.u8(kFileVersionAt);
    const bool dataHeader = version >= kDataHeaderVersion;
    const int fieldInfoAt = dataHeader ? kDataHeaderEnd : kCommonHeaderEnd;
    s.recordSize = b.u16(kRecordSizeAt);
    s.headerSize = b.u16(kHeaderSizeAt);
    s.blockSize = b.u8(kMaxTableSizeAt) * 1024;
    if (s.headerSize < fieldInfoAt)
        damaged(path, QStringLiteral("intestazione non valida"));
    if (!b.has(0, s.headerSize))
        damaged(path, QStringLiteral("file troncato"));

    quint32 encryption = b.u32(kEncryption1At);
    if (encryption == kEncryptionInDataHeader) {
        if (!dataHeader)
            damaged(path, QStringLiteral("intestazione non valida"));
        encryption = b.u32(kEncryption2At);
    }
    if (encryption != 0)
        throw StoreError(
            QStringLiteral("La tabella Paradox \"%1\" è protetta da una password e non può essere letta.").arg(native(path)));

    s.codePage = dataHeader ? b.u16(kCodePageAt) : kDosCodePage;
    if (!isKnownCodePage(s.codePage))
        throw StoreError(QStringLiteral("La tabella Paradox \"%1\" è scritta nella code page %2, che Brevan non sa leggere.")
                             .arg(native(path))
                             .arg(s.codePage));

    // Field types and sizes, which must add up to the record size.
    const int numFields = b.i16(kNumFieldsAt);
    if (fieldInfoAt + 2 * numFields > s.headerSize)
        damaged(path, QStringLiteral("intestazione non valida"));
    int offset = 0;
    for (int i = 0; i < numFields; ++i) {
        Field f;
        f.kind = fieldKind(b.u8(fieldInfoAt + 2 * i));
        f.size = b.u8(fieldInfoAt + 2 * i + 1);
        if (!f.kind || f.size < f.kind->minSize || f.size > f.kind->maxSize)
            damaged(path, QStringLiteral("campo di tipo o lunghezza sconosciuti"));
        f.length = f.kind->length ? f.kind->length : f.size;
        f.offset = offset;
        offset += f.length;
        s.fields << f;
    }
    if (offset != s.recordSize || kBlockHeaderSize + s.recordSize > s.blockSize)
        damaged(path, QStringLiteral("la lunghezza del record non corrisponde ai campi"));

    // The table name and then the field names, each ending with a zero.
    qsizetype at = fieldInfoAt + 2 * numFields + 4 + 4 * qsizetype(numFields);
    const int tableNameLength = version >= kLongTableNameVersion ? kLongTableNameLength : kTableNameLength;
    if (at + tableNameLength > s.headerSize || !std::memchr(b.at(at), 0, size_t(tableNameLength)))
        damaged(path, QStringLiteral("intestazione non valida"));
    at += tableNameLength;
    QSet<QString> names;
    for (Field &f : s.fields) {
        const qsizetype room = std::min<qsizetype>(s.headerSize - at, kMaxFieldNameLength + 1);
        const void *end = room > 0 ? std::memchr(b.at(at), 0, size_t(room)) : nullptr;
        if (!end)
            damaged(path, QStringLiteral("nomi dei campi mancanti"));
        const qsizetype length = static_cast<const uchar *>(end) - b.at(at);
        f.name = decodeCodePage(s.codePage, QByteArrayView(b.at(at), length));
        at += length + 1;
        if (f.name.isEmpty() || names.contains(f.name.toCaseFolded()))
            damaged(path, QStringLiteral("nomi dei campi mancanti o ripetuti"));
        names.insert(f.name.toCaseFolded());
    }
    for (const Field &f : s.fields) {
        if (f.kind->use == Use::Unsupported)
            throw StoreError(QStringLiteral("Il campo \"%2\" della tabella Paradox \"%1\" è di tipo %3, "
                                            "che Brevan non prevede in alcuna tabella.")
                                 .arg(native(path), f.name, QString::fromLatin1(f.kind->name)));
    }

    // The data blocks in stored order: a chain from the first block, each
    // within the file, none twice, each holding whole records, all of them
    // the records the header counts. Blocks outside the chain hold deleted
    // records.
    s.numRecords = qint32(b.u32(kNumRecordsAt));
    const int fileBlocks = b.u16(kFileBlocksAt);
    if (s.numRecords < 0)
        damaged(path, QStringLiteral("numero di record non valido"));
    if ((b.size() - s.headerSize) / s.blockSize < fileBlocks)
        damaged(path, QStringLiteral("file troncato"));
    QVector<bool> seen(fileBlocks + 1, false);
    qint64 records = 0;
    for (int number = b.u16(kFirstBlockAt); number != 0;) {
        if (number > fileBlocks)
            damaged(path, QStringLiteral("blocco fuori dal file"));
        if (seen[number])
            damaged(path, QStringLiteral("la catena dei blocchi ritorna su se stessa"));
        seen[number] = true;
        const qsizetype blockAt = s.headerSize + qsizetype(number - 1) * s.blockSize;
        const int lastRecordAt = b.i16(blockAt + 4);
        if (lastRecordAt < -s.recordSize || lastRecordAt % s.recordSize != 0
            || kBlockHeaderSize + lastRecordAt + s.recordSize > s.blockSize)
            damaged(path, QStringLiteral("blocco di dati non valido"));
        s.chain << Block{number, lastRecordAt / s.recordSize + 1};
        records += s.chain.constLast().records;
        number = b.u16(blockAt);
    }
    if (records != s.numRecords)
        damaged(path, QStringLiteral("il numero dei record non corrisponde ai blocchi"));
    return s;
}

// What pxlib may allocate while it reads one table.
struct Budget {
    size_t used = 0;
    size_t limit = 0;
};
thread_local Budget *t_budget = nullptr;

struct alignas(std::max_align_t) AllocationHeader {
    size_t size;
};

void *pxAllocate(pxdoc_t *, size_t size, const char *)
{
    Budget *budget = t_budget;
    if (!budget || size > budget->limit - budget->used)
        return nullptr;
    auto *h = static_cast<AllocationHeader *>(std::malloc(sizeof(AllocationHeader) + size));
    if (!h)
        return nullptr;
    h->size = size;
    budget->used += size;
    return h + 1;
}

void pxFree(pxdoc_t *, void *memory)
{
    if (!memory)
        return;
    AllocationHeader *h = static_cast<AllocationHeader *>(memory) - 1;
    if (t_budget)
        t_budget->used -= h->size;
    std::free(h);
}

void *pxReallocate(pxdoc_t *doc, void *memory, size_t size, const char *caller)
{
    if (!memory)
        return pxAllocate(doc, size, caller);
    const AllocationHeader *old = static_cast<AllocationHeader *>(memory) - 1;
    void *fresh = pxAllocate(doc, size, caller);
    if (!fresh)
        return nullptr;
    std::memcpy(fresh, memory, std::min(size, old->size));
    pxFree(doc, memory);
    return fresh;
}

// pxlib's own handler prints to standard output; its first error is kept
// for the message instead.
void pxError(pxdoc_t *, int level, const char *message, void *data)
{
    auto *first = static_cast<std::string *>(data);
    if (level != PX_Warning && first && first->empty() && message)
        *first = message;
}

class PxReader {
public:
    PxReader(const QByteArray &bytes, Budget *budget) : m_previous(t_budget)
    {
        t_budget = budget;
        m_file = fmemopen(const_cast<char *>(bytes.constData()), size_t(bytes.size()), "rb");
        m_doc = PX_new3(pxError, pxAllocate, pxReallocate, pxFree, &m_error);
    }
    ~PxReader()
    {
        // pxlib frees its stream only for files it opened itself.
        if (m_doc && m_doc->px_stream && !m_doc->px_stream->close) {
            m_doc->free(m_doc, m_doc->px_stream);
            m_doc->px_stream = nullptr;
        }
        if (m_doc)
            PX_delete(m_doc);
        if (m_file)
            std::fclose(m_file);
        t_budget = m_previous;
    }
    PxReader(const PxReader &) = delete;
    PxReader &operator=(const PxReader &) = delete;

    pxdoc_t *doc() const { return m_doc; }
    bool open() { return m_doc && m_file && PX_open_fp(m_doc, m_file) == 0; }
    QString error() const
    {
        return m_error.empty() ? QStringLiteral("errore di lettura") : QString::fromLocal8Bit(m_error.c_str());
    }

private:
    Budget *m_previous;
    std::string m_error;
    std::FILE *m_file = nullptr;
    pxdoc_t *m_doc = nullptr;
};

// pxlib's reading of a 4-byte integer loads 8 bytes on 64-bit machines, so
// long integers and dates are decoded here: big-endian, with the sign bit
// flipped so that zero bytes mean "no value".
std::optional<qint32> paradoxLong(const char *data)
{
    const auto *p = reinterpret_cast<const uchar *>(data);
    const quint32 v = quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
    if (v == 0)
        return std::nullopt;
    return qint32(v ^ 0x80000000u);
}

Column columnFor(const Field &f)
{
    switch (f.kind->use) {
    case Use::Text: return Column{f.name, ColumnType::Text, f.size};
    case Use::Date: return Column{f.name, ColumnType::Text, 10};
    case Use::Logical: return Column{f.name, ColumnType::Logical, 0};
    default: return Column{f.name, ColumnType::Real, 0};
    }
}

QVariant valueOf(pxdoc_t *doc, const Field &f, char *data, int codePage)
{
    switch (f.kind->use) {
    case Use::Text: {
        const void *end = std::memchr(data, 0, size_t(f.length));
        const qsizetype length = end ? static_cast<const char *>(end) - data : f.length;
        return decodeCodePage(codePage, QByteArrayView(data, length));
    }
    case Use::Date: {
        const std::optional<qint32> days = paradoxLong(data);
        if (!days)
            return QString();
        return QDate::fromJulianDay(kParadoxDayZero + *days).toString(QStringLiteral("dd/MM/yyyy"));
    }
    case Use::Short: {
        short value = 0;
        return PX_get_data_short(doc, data, f.length, &value) > 0 ? QVariant(double(value)) : QVariant();
    }
    case Use::Long: {
        const std::optional<qint32> value = paradoxLong(data);
        return value ? QVariant(double(*value)) : QVariant();
    }
    case Use::Number: {
        double value = 0;
        return PX_get_data_double(doc, data, f.length, &value) > 0 ? QVariant(value) : QVariant();
    }
    case Use::Logical: {
        char value = 0;
        return PX_get_data_byte(doc, data, f.length, &value) > 0 ? QVariant(value != 0) : QVariant();
    }
    case Use::Ignored:
    case Use::Unsupported: break;
    }
    return {};
}

} // namespace

bool looksLikeParadoxTable(QByteArrayView head)
{
    const QByteArray bytes = QByteArray::fromRawData(head.data(), head.size());
    return plausibleHeader(Bytes(bytes));
}

bool isParadoxTable(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return looksLikeParadoxTable(file.read(kDataHeaderEnd));
}

TableData readParadoxTable(const QString &path)
{
    const QFileInfo info(path);
    QFile file(path);
    if (info.isSymLink() || !file.open(QIODevice::ReadOnly))
        throw StoreError(QStringLiteral("Impossibile aprire la tabella \"%1\".").arg(native(path)));
    if (file.size() > kMaxParadoxFileSize)
        throw StoreError(QStringLiteral("La tabella Paradox \"%1\" è troppo grande per essere una tabella di Brevan.")
                             .arg(native(path)));
    const QByteArray bytes = file.read(kMaxParadoxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw StoreError(QStringLiteral("Errore di lettura su \"%1\".").arg(native(path)));
    if (bytes.size() > kMaxParadoxFileSize)
        throw StoreError(QStringLiteral("La tabella Paradox \"%1\" è troppo grande per essere una tabella di Brevan.")
                             .arg(native(path)));
    return readParadoxBytes(bytes, path);
}

TableData readParadoxBytes(const QByteArray &bytes, const QString &path)
{
    const Bytes b(bytes);
    const Structure s = readStructure(b, path);

    Budget budget{0, size_t(8 * 1024 * 1024)};
    PxReader reader(bytes, &budget);
    if (!reader.open())
        damaged(path, reader.error());
    pxdoc_t *doc = reader.doc();
    // pxlib's header must say what ours says.
    if (PX_get_num_fields(doc) != s.fields.size() || PX_get_recordsize(doc) != s.recordSize
        || PX_get_num_records(doc) != s.numRecords)
        damaged(path, QStringLiteral("intestazione non valida"));
    for (int i = 0; i < s.fields.size(); ++i) {
        const pxfield_t *pf = PX_get_field(doc, i);
        if (!pf || quint8(pf->px_ftype) != s.fields[i].kind->type || pf->px_flen != s.fields[i].length)
            damaged(path, QStringLiteral("intestazione non valida"));
    }
    // pxlib locates records through a list of the chain's blocks that it
    // builds on opening, counting an empty block as full: it is given the
    // counts checked above instead.
    if (doc->px_indexdata && !doc->px_pindex)
        doc->free(doc, doc->px_indexdata);
    doc->px_indexdata = nullptr;
    doc->px_indexdatalen = 0;
    if (!s.chain.isEmpty()) {
        auto *index = static_cast<pxpindex_t *>(
            doc->malloc(doc, sizeof(pxpindex_t) * size_t(s.chain.size()), "Brevan: data blocks"));
        if (!index)
            damaged(path, QStringLiteral("memoria insufficiente"));
        for (int i = 0; i < s.chain.size(); ++i)
            index[i] = pxpindex_t{nullptr, s.chain[i].number, s.chain[i].records, 0, 0, 1};
        doc->px_indexdata = index;
        doc->px_indexdatalen = int(s.chain.size());
    }

    TableData content;
    QVector<const Field *> kept;
    for (const Field &f : s.fields) {
        if (f.kind->use != Use::Ignored) {
            content.layout << columnFor(f);
            kept << &f;
        }
    }
    if (content.layout.isEmpty())
        damaged(path, QStringLiteral("nessun campo leggibile"));

    QByteArray record(s.recordSize, Qt::Uninitialized);
    int recno = 0;
    for (const Block &block : s.chain) {
        const qsizetype blockAt = s.headerSize + qsizetype(block.number - 1) * s.blockSize;
        for (int i = 0; i < block.records; ++i, ++recno) {
            int deleted = 0;
            pxdatablockinfo_t where{};
            if (!PX_get_record2(doc, recno, record.data(), &deleted, &where))
                damaged(path, reader.error());
            // The record pxlib found is the one the chain places there.
            const qsizetype recordAt = blockAt + kBlockHeaderSize + qsizetype(i) * s.recordSize;
            if (std::memcmp(record.constData(), b.at(recordAt), size_t(s.recordSize)) != 0)
                damaged(path, QStringLiteral("record fuori posto"));
            QVariantList row;
            row.reserve(kept.size());
            for (const Field *f : kept)
                row << valueOf(doc, *f, record.data() + f->offset, s.codePage);
            content.rows << row;
        }
    }
    return content;
}

} // namespace brevan::legacy
