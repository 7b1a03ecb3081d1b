// SPDX-License-Identifier: GPL-2.0-or-later
// Paradox tables written with pxlib's own writer, read back through the
// reader and through the store's foreign opens; damaged tables as small
// mutations of one table; the originals kept before a table is replaced.
#include "../support/paradoxwriter.h"
#include "legacy/codepages.h"
#include "legacy/keeporiginal.h"
#include "legacy/paradoxtable.h"
#include "store/datafolder.h"
#include "store/tablestore.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace brevan;
using namespace fixtures;

namespace {

// The surfaces layout as an archive holds it, 120 rooms over several blocks.
PxTable surfacesTable(int codePage = 1252)
{
    PxTable t;
    t.codePage = codePage;
    t.columns = {pxAlpha("DescrizioneSuperficie", 50), pxNumber("MqSuperficie")};
    for (int i = 0; i < 120; ++i)
        t.rows << PxRow{QByteArray("Stanza ") + QByteArray::number(i), 10.0 + i * 0.25};
    return t;
}

QString roomName(int i)
{
    return QStringLiteral("Stanza %1").arg(i);
}

int recordsIn(const QByteArray &b, int block)
{
    const qint16 lastAt = qint16(pxU16(b, pxBlockAt(b, block) + 4));
    return lastAt / pxU16(b, kPxRecordSize) + 1;
}

struct Mutation {
    const char *name;
    std::function<void(QByteArray &)> apply;
    const char *message; // a part of the message expected
};

// Small changes to a table of four blocks of surfaces, each of which must
// end in a message and nothing else.
const QVector<Mutation> &mutations()
{
    static const QVector<Mutation> m = {
        {"empty file", [](QByteArray &b) { b.clear(); }, "danneggiata"},
        {"header cut short", [](QByteArray &b) { b.truncate(0x40); }, "danneggiata"},
        {"primary index, not a table", [](QByteArray &b) { b[kPxFileType] = 1; }, "danneggiata"},
        {"unknown file type", [](QByteArray &b) { b[kPxFileType] = 9; }, "danneggiata"},
        {"unknown version", [](QByteArray &b) { b[kPxFileVersion] = 0x20; }, "danneggiata"},
        {"block size zero", [](QByteArray &b) { b[kPxMaxTableSize] = 0; }, "danneggiata"},
        {"header beyond the file", [](QByteArray &b) { pxPut16(b, kPxHeaderSize, 0xF000); }, "danneggiata"},
        {"header inside the field list", [](QByteArray &b) { pxPut16(b, kPxHeaderSize, 0x7A); }, "danneggiata"},
        {"record size one more", [](QByteArray &b) { pxPut16(b, kPxRecordSize, pxU16(b, kPxRecordSize) + 1); },
         "lunghezza del record"},
        {"record size one less", [](QByteArray &b) { pxPut16(b, kPxRecordSize, pxU16(b, kPxRecordSize) - 1); },
         "lunghezza del record"},
        {"no fields", [](QByteArray &b) { pxPut16(b, kPxNumFields, 0); }, "danneggiata"},
        {"negative field count", [](QByteArray &b) { pxPut16(b, kPxNumFields, 0xFFFF); }, "danneggiata"},
        {"more fields than the header holds", [](QByteArray &b) { pxPut16(b, kPxNumFields, 255); }, "danneggiata"},
        {"unknown field type", [](QByteArray &b) { b[kPxFieldInfo] = 0x30; }, "tipo o lunghezza"},
        {"alpha of no length", [](QByteArray &b) { b[kPxFieldInfo + 1] = 0; }, "tipo o lunghezza"},
        {"number of four bytes", [](QByteArray &b) { b[kPxFieldInfo + 3] = 4; }, "tipo o lunghezza"},
        {"table name without end",
         [](QByteArray &b) {
             const int at = kPxFieldInfo + 2 * 2 + 4 + 4 * 2;
             for (int i = 0; i < 261; ++i)
                 b[at + i] = 'T';
         },
         "intestazione"},
        {"field names without end",
         [](QByteArray &b) {
             for (int i = kPxFieldInfo + 2 * 2 + 4 + 4 * 2 + 261; i < pxU16(b, kPxHeaderSize); ++i)
                 b[i] = 'N';
         },
         "nomi dei campi"},
        {"empty field name", [](QByteArray &b) { b[kPxFieldInfo + 2 * 2 + 4 + 4 * 2 + 261] = 0; }, "nomi dei campi"},
        {"more blocks than the file holds", [](QByteArray &b) { pxPut16(b, kPxFileBlocks, pxU16(b, kPxFileBlocks) + 1); },
         "troncato"},
        {"last block cut", [](QByteArray &b) { b.chop(100); }, "troncato"},
        {"first block beyond the file", [](QByteArray &b) { pxPut16(b, kPxFirstBlock, pxU16(b, kPxFileBlocks) + 1); },
         "fuori dal file"},
        {"block chain back to itself", [](QByteArray &b) { pxPut16(b, pxBlockAt(b, 1), 1); }, "ritorna su se stessa"},
        {"block chain back to the first", [](QByteArray &b) { pxPut16(b, pxBlockAt(b, 3), 1); }, "ritorna su se stessa"},
        {"block with more records than room", [](QByteArray &b) { pxPut16(b, pxBlockAt(b, 1) + 4, 0x7F00); },
         "blocco di dati"},
        {"block with part of a record", [](QByteArray &b) { pxPut16(b, pxBlockAt(b, 1) + 4, pxU16(b, pxBlockAt(b, 1) + 4) + 1); },
         "blocco di dati"},
        {"block with a negative count", [](QByteArray &b) { pxPut16(b, pxBlockAt(b, 1) + 4, 0x8000); }, "blocco di dati"},
        {"one record more announced", [](QByteArray &b) { pxPut32(b, kPxNumRecords, 121); }, "numero dei record"},
        {"negative record count", [](QByteArray &b) { pxPut32(b, kPxNumRecords, 0x80000000u); }, "numero di record"},
        {"records announced, no blocks", [](QByteArray &b) { pxPut16(b, kPxFirstBlock, 0); }, "numero dei record"},
        {"encrypted", [](QByteArray &b) { pxPut32(b, kPxEncryption1, 0x1234ABCDu); }, "password"},
        {"encrypted in the data header", [](QByteArray &b) { pxPut32(b, kPxEncryption2, 0x00C0FFEEu); }, "password"},
        {"code page 932", [](QByteArray &b) { pxPut16(b, kPxCodePage, 932); }, "code page 932"},
        {"code page 0", [](QByteArray &b) { pxPut16(b, kPxCodePage, 0); }, "code page 0"},
        {"time in place of a number",
         [](QByteArray &b) {
             b[kPxFieldInfo + 2] = char(PxTime);
             b[kPxFieldInfo + 3] = 4;
             // Keep the record size matching the fields.
             pxPut16(b, kPxRecordSize, pxU16(b, kPxRecordSize) - 4);
         },
         "di tipo ora"},
    };
    return m;
}

} // namespace

class TestParadoxTable : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void readsEveryFieldType_data()
    {
        QTest::addColumn<int>("codePage");
        QTest::addColumn<QByteArray>("firm");
        QTest::addColumn<QByteArray>("note");
        QTest::addColumn<QString>("firmText");
        QTest::addColumn<QString>("noteText");
        QTest::newRow("Windows-1252") << 1252 << QByteArray("Societ\xE0 N\xE9 Rossi") << QByteArray("\x80 12.000 pi\xF9")
                                      << QStringLiteral("Società Né Rossi") << QStringLiteral("€ 12.000 più");
        QTest::newRow("DOS 850") << 850 << QByteArray("Societ\x85 N\x82 Rossi") << QByteArray("\xB7 \xD4 \x90 pi\x97")
                                 << QStringLiteral("Società Né Rossi") << QStringLiteral("À È É più");
        QTest::newRow("DOS 437") << 437 << QByteArray("Societ\x85 N\x82 Rossi") << QByteArray("\x9C 5 \xF8 pi\x97")
                                 << QStringLiteral("Società Né Rossi") << QStringLiteral("£ 5 ° più");
        QTest::newRow("DOS 858") << 858 << QByteArray("Societ\x85") << QByteArray("\xD5 5")
                                 << QStringLiteral("Società") << QStringLiteral("€ 5");
    }
    void readsEveryFieldType()
    {
        QFETCH(int, codePage);
        QFETCH(QByteArray, firm);
        QFETCH(QByteArray, note);
        QFETCH(QString, firmText);
        QFETCH(QString, noteText);
        PxTable t;
        t.codePage = codePage;
        t.columns = {pxAlpha("SocietaProfess", 50), pxMemo("Appunti", 20),    pxAlpha("Nota", 15),
                     pxNumber("MqSuperficie"),      pxMoney("Costo"),          pxShort("Piano"),
                     pxLong("Abitanti"),            pxAutoInc("Numero"),       pxLogical("Ascensore"),
                     pxDate("DataStima")};
        t.rows << PxRow{firm, QByteArray("ignorato"), note, 85.3333, -1234.5, -2, 2000000, 1, true, QDate(1999, 2, 24)};
        t.rows << PxRow{QByteArray("Bianchi"), PxNull{}, PxNull{}, -0.25, 0.0, 32767, -7, 2, false, QDate(2100, 12, 31)};
        t.rows << PxRow{PxNull{}, PxNull{}, PxNull{}, PxNull{}, PxNull{}, PxNull{}, PxNull{}, PxNull{}, PxNull{},
                        PxNull{}};
        const QString file = path(QStringLiteral("Tipi%1.db").arg(codePage));
        writeParadox(file, t);

        QVERIFY(legacy::isParadoxTable(file));
        const TableData c = legacy::readParadoxTable(file);
        // The memo field is left out; the others take the program's types.
        const Layout expected{{"SocietaProfess", ColumnType::Text, 50}, {"Nota", ColumnType::Text, 15},
                              {"MqSuperficie", ColumnType::Real, 0},    {"Costo", ColumnType::Real, 0},
                              {"Piano", ColumnType::Real, 0},          {"Abitanti", ColumnType::Real, 0},
                              {"Numero", ColumnType::Real, 0},         {"Ascensore", ColumnType::Logical, 0},
                              {"DataStima", ColumnType::Text, 10}};
        QCOMPARE(c.layout, expected);
        QCOMPARE(c.rows.size(), 3);
        QCOMPARE(c.rows[0], (QVariantList{firmText, noteText, 85.3333, -1234.5, -2.0, 2000000.0, 1.0, true,
                                          QStringLiteral("24/02/1999")}));
        // Zero is a value: only zero bytes mean none.
        QCOMPARE(c.rows[1], (QVariantList{QStringLiteral("Bianchi"), QString(), -0.25, 0.0, 32767.0, -7.0, 2.0, false,
                                          QStringLiteral("31/12/2100")}));
        QCOMPARE(c.rows[2], (QVariantList{QString(), QString(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                                          QVariant(), QString()}));

        // Through the store, as every foreign open reads it: values never
        // written read as the store's empty values.
        const Table table = Table::open(file, Trust::Foreign, false);
        QCOMPARE(table.layout(), expected);
        const QVector<qint64> ids = table.rowIds();
        QCOMPARE(ids.size(), 3);
        QCOMPARE(table.text(ids[0], QStringLiteral("SocietaProfess")), firmText);
        QCOMPARE(table.real(ids[0], QStringLiteral("MqSuperficie")), 85.3333);
        QCOMPARE(table.text(ids[0], QStringLiteral("Ascensore")), QStringLiteral("True"));
        QCOMPARE(table.text(ids[2], QStringLiteral("Nota")), QString());
        QCOMPARE(table.real(ids[2], QStringLiteral("Costo")), 0.0);
        QCOMPARE(table.logical(ids[2], QStringLiteral("Ascensore")), false);
    }

    void codePagesDecodeWholeHalves()
    {
        // One character from each region of each table, against the charts.
        QCOMPARE(legacy::decodeCodePage(1252, "\x80\x81\x8A\x9F\xA0\xE0\xFF"), QStringLiteral("€\u0081ŠŸ\u00A0àÿ"));
        QCOMPARE(legacy::decodeCodePage(850, "\x80\x85\xB0\xD5\xE1\xFF"), QStringLiteral("Çà░ıß\u00A0"));
        QCOMPARE(legacy::decodeCodePage(437, "\x80\x85\xB0\xD5\xE1\xFF"), QStringLiteral("Çà░╒ß\u00A0"));
        QCOMPARE(legacy::decodeCodePage(858, "\xD5"), QStringLiteral("€"));
        QCOMPARE(legacy::decodeCodePage(1252, QByteArrayView("A\0B", 3)), QStringView(u"A\0B", 3).toString());
        QVERIFY(!legacy::isKnownCodePage(932));
    }

    // Records leave a table in two ways: the end of a block's records moves
    // back over them, or a whole block leaves the chain. Blocks are read in
    // the chain's order, not in the file's.
    void storedOrderAndDeletedRecords()
    {
        const QString file = path(QStringLiteral("Ordine.db"));
        writeParadox(file, surfacesTable());
        QByteArray b = readAll(file);
        QCOMPARE(pxU16(b, kPxFileBlocks), 4);
        const int perBlock = recordsIn(b, 1);
        QCOMPARE(recordsIn(b, 2), perBlock);
        const int inLast = recordsIn(b, 4);
        QCOMPARE(3 * perBlock + inLast, 120);

        // Chain 2, 1, 4: block 3 left out, the last record of block 1 deleted.
        pxPut16(b, kPxFirstBlock, 2);
        pxPut16(b, pxBlockAt(b, 2), 1);
        pxPut16(b, pxBlockAt(b, 1), 4);
        pxPut16(b, pxBlockAt(b, 1) + 4, (perBlock - 2) * pxU16(b, kPxRecordSize));
        pxPut32(b, kPxNumRecords, quint32(perBlock + perBlock - 1 + inLast));
        writeAll(file, b);

        QStringList expected;
        for (int i = perBlock; i < 2 * perBlock; ++i)
            expected << roomName(i);
        for (int i = 0; i < perBlock - 1; ++i)
            expected << roomName(i);
        for (int i = 3 * perBlock; i < 120; ++i)
            expected << roomName(i);
        QStringList read;
        for (const QVariantList &r : legacy::readParadoxTable(file).rows)
            read << r.value(0).toString();
        QCOMPARE(read, expected);

        // An empty block in the chain holds no record.
        pxPut16(b, pxBlockAt(b, 1) + 4, 0x10000 - pxU16(b, kPxRecordSize));
        pxPut32(b, kPxNumRecords, quint32(perBlock + inLast));
        writeAll(file, b);
        QCOMPARE(legacy::readParadoxTable(file).rows.size(), perBlock + inLast);
        QCOMPARE(legacy::readParadoxTable(file).rows.last().value(0).toString(), roomName(119));
    }

    void primaryIndexBesideReadsTheSame()
    {
        PxTable plain = surfacesTable();
        PxTable keyed = plain;
        keyed.keyed = true;
        writeParadox(path(QStringLiteral("Semplice.db")), plain);
        writeParadox(path(QStringLiteral("Chiave.db")), keyed);
        QVERIFY(QFileInfo::exists(path(QStringLiteral("Chiave.px"))));
        QCOMPARE(quint8(readAll(path(QStringLiteral("Chiave.db")))[kPxFileType]), quint8(0));
        const TableData a = legacy::readParadoxTable(path(QStringLiteral("Semplice.db")));
        const TableData b = legacy::readParadoxTable(path(QStringLiteral("Chiave.db")));
        QCOMPARE(b.layout, surfacesLayout());
        QCOMPARE(b.rows, a.rows);
        QCOMPARE(b.rows.size(), 120);
        // The index itself is not a table.
        QVERIFY(!legacy::isParadoxTable(path(QStringLiteral("Chiave.px"))));
    }

    void damaged_data()
    {
        QTest::addColumn<int>("mutation");
        for (int i = 0; i < mutations().size(); ++i)
            QTest::newRow(mutations()[i].name) << i;
    }
    void damaged()
    {
        QFETCH(int, mutation);
        const Mutation &m = mutations()[mutation];
        writeParadox(path(QStringLiteral("Sano.db")), surfacesTable());
        QByteArray bytes = readAll(path(QStringLiteral("Sano.db")));
        m.apply(bytes);
        const QString file = path(QStringLiteral("Superfici danneggiata.db"));
        writeAll(file, bytes);

        try {
            legacy::readParadoxBytes(bytes, file);
            QFAIL("a damaged table was read");
        } catch (const StoreError &e) {
            QVERIFY2(e.message().contains(QLatin1String(m.message)), qPrintable(e.message()));
        }
        // Through the store: whatever the header says, the copy refuses and
        // the working table keeps its rows.
        const QString working = path(QStringLiteral("DescrSup.db"));
        rebuildTable(working, surfacesLayout(), 3);
        const QByteArray before = readAll(working);
        QVERIFY_THROWS_EXCEPTION(StoreError, Table::copy(file, working, surfacesLayout()));
        QCOMPARE(readAll(working), before);
        QCOMPARE(readAll(file), bytes);
    }

    // Inputs found by fuzzing on which pxlib left to itself does not return:
    // the checks before it turn each into its message at once.
    void fuzzRegressions_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("encrypted, 123 bytes") << "encrypted-short.db" << "password";
        QTest::newRow("encrypted, header only") << "encrypted-header-only.db" << "password";
        QTest::newRow("field list of garbage") << "field-list-garbage.db" << "tipo o lunghezza";
        QTest::newRow("field type of garbage") << "field-type-garbage.db" << "tipo o lunghezza";
        QTest::newRow("block chain loop") << "chain-loop.db" << "ritorna su se stessa";
        QTest::newRow("longer block chain loop") << "chain-loop-long.db" << "ritorna su se stessa";
    }
    void fuzzRegressions()
    {
        QFETCH(QString, file);
        QFETCH(QString, message);
        const QString path = QStringLiteral(BREVAN_TEST_FIXTURES "/paradox/") + file;
        QVERIFY(legacy::isParadoxTable(path));
        try {
            legacy::readParadoxTable(path);
            QFAIL("read");
        } catch (const StoreError &e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
        QVERIFY_THROWS_EXCEPTION(StoreError, Table::layoutOf(path));
    }

    void fieldNamesDifferingOnlyInCase()
    {
        PxTable t;
        t.columns = {pxAlpha("Zona", 15), pxAlpha("ZONA", 15)};
        t.rows << PxRow{QByteArray("a"), QByteArray("b")};
        writeParadox(path(QStringLiteral("Doppia.db")), t);
        QVERIFY_EXCEPTION_THROWN(legacy::readParadoxTable(path(QStringLiteral("Doppia.db"))), StoreError);
    }

    void storeOpensParadoxOnlyAsForeign()
    {
        const QString file = path(QStringLiteral("Superfici 01.db"));
        writeParadox(file, surfacesTable(850));
        QCOMPARE(Table::layoutOf(file), surfacesLayout());
        // A table of the program's own is never Paradox.
        QVERIFY_THROWS_EXCEPTION(StoreError, Table::open(file));
        QVERIFY_THROWS_EXCEPTION(StoreError, Table::open(file, Trust::Foreign, true));

        const QString working = path(QStringLiteral("DescrSup.db"));
        rebuildTable(working, surfacesLayout(), 36);
        Table::copy(file, working, surfacesLayout());
        const Table t = Table::open(working);
        QCOMPARE(t.rowCount(), 120);
        QCOMPARE(t.rows().at(7), (QVariantList{roomName(7), 11.75}));

        // A layout that differs (alpha 40 where 50 is expected) does not fit.
        PxTable narrow = surfacesTable();
        narrow.columns[0].size = 40;
        const QString other = path(QStringLiteral("Superfici 02.db"));
        writeParadox(other, narrow);
        QVERIFY_THROWS_EXCEPTION(StoreError, Table::copy(other, working, surfacesLayout()));
        QCOMPARE(Table::open(working).rowCount(), 120);
    }

    void keepsOriginalsBeside()
    {
        const QString folder = path(QStringLiteral("conserva"));
        QDir().mkpath(folder);
        const QString table = folder + QStringLiteral("/Stima - Via Roma 1.db");
        PxTable keyed = surfacesTable();
        keyed.keyed = true;
        writeParadox(table, keyed);
        writeAll(folder + QStringLiteral("/Stima - Via Roma 1.MB"), "memo");
        writeAll(folder + QStringLiteral("/Stima - Via Roma 1.bmp"), "not a companion");
        writeAll(folder + QStringLiteral("/Stima - Via Roma 10.px"), "another table's index");
        const QByteArray original = readAll(table);
        const QByteArray index = readAll(folder + QStringLiteral("/Stima - Via Roma 1.px"));

        QCOMPARE(legacy::keepParadoxOriginal(table),
                 (QStringList{"Stima - Via Roma 1.db.paradox", "Stima - Via Roma 1.MB.paradox",
                              "Stima - Via Roma 1.px.paradox"}));
        QCOMPARE(readAll(table + ".paradox"), original);
        QCOMPARE(readAll(folder + QStringLiteral("/Stima - Via Roma 1.px.paradox")), index);
        QCOMPARE(QFileInfo(table + ".paradox").lastModified(), QFileInfo(table).lastModified());
        // The originals stay until the table is replaced.
        QCOMPARE(readAll(table), original);

        // Asked again, nothing new: the copies are there.
        QCOMPARE(legacy::keepParadoxOriginal(table), QStringList());
        // Another Paradox table under the same name is kept apart.
        writeParadox(table, surfacesTable(437));
        QCOMPARE(legacy::keepParadoxOriginal(table).value(0), QStringLiteral("Stima - Via Roma 1.db.2.paradox"));
        QCOMPARE(readAll(table + ".paradox"), original);

        // A table of the program's own format keeps nothing.
        const QString own = folder + QStringLiteral("/Superfici - Via Roma 1.db");
        Table::create(own, surfacesLayout());
        QCOMPARE(legacy::keepParadoxOriginal(own), QStringList());
        QCOMPARE(legacy::keepParadoxOriginal(folder + QStringLiteral("/assente.db")), QStringList());
        QCOMPARE(QDir(folder).entryList({QStringLiteral("*.paradox")}, QDir::Files).size(), 4);
        QCOMPARE(legacy::keptOriginalsNote({"a.db.paradox"}),
                 QStringLiteral("L'originale Paradox è conservato come \"a.db.paradox\"."));
        QCOMPARE(legacy::keptOriginalsNote({"a.db.paradox", "a.px.paradox"}),
                 QStringLiteral("Gli originali Paradox sono conservati accanto ai nuovi file con il suffisso "
                                "\".paradox\" (2 file)."));
    }
};

QTEST_GUILESS_MAIN(TestParadoxTable)
#include "tst_paradoxtable.moc"
