// SPDX-License-Identifier: GPL-2.0-or-later
// The OMI comparison's companion table: the choice and the quotation found
// read back the same; nothing chosen writes nothing, so an appraisal saved
// without a comparison is the set it always was; a numbered stem names the
// companion in the record only when there is one; a foreign or tampered file
// is refused before use.
#include "files/appraisalfiles.h"
#include "files/appraisalset.h"
#include "files/omitable.h"
#include "store/datafolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace brevan;
using namespace brevan::files;

namespace {

StoredOmi sample()
{
    StoredOmi s;
    s.choice.zone = QStringLiteral("B1");
    s.choice.type = QStringLiteral("20");
    s.choice.state = QStringLiteral("NORMALE");
    s.choice.semester = QStringLiteral("2024/2");
    s.choice.floor = QStringLiteral("Piano intermedio");
    omiband::Quote q;
    q.semester = s.choice.semester;
    q.zone = s.choice.zone;
    q.type = s.choice.type;
    q.state = s.choice.state;
    q.band = QStringLiteral("B");
    q.zoneDescription = QStringLiteral("CENTRO STORICO: VIA DELL'ARCO, PIAZZA DEL POPOLO");
    q.microzone = QStringLiteral("1");
    q.typeName = QStringLiteral("Abitazioni civili");
    q.min = 1800;
    q.max = 2400.5;
    q.net = true;
    s.quote = q;
    return s;
}

AppraisalContent content(const StoredOmi &omi)
{
    AppraisalContent c;
    c.record.insert(QStringLiteral("IndirizzoImmob"), QStringLiteral("Via Roma"));
    c.record.insert(QStringLiteral("ComuneImmob"), QStringLiteral("Forlì"));
    const QVector<QVariantList> rows = omiRows(omi);
    if (!rows.isEmpty())
        c.tables.insert(Companion::Omi, rows);
    return c;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class TestOmiTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTrip();
    void nothingChosenNothingWritten();
    void savedWithTheSet();
    void numberedStemNamesItOnlyWhenWritten();
    void refused_data();
    void refused();
};

void TestOmiTable::roundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("OMI - x.db");
    writeTableFile(path, omiLayout(), omiRows(sample()));
    const StoredOmi back = readOmiTable(path);
    QVERIFY(back.choice == sample().choice);
    QVERIFY(back.quote);
    QCOMPARE(back.quote->zoneDescription, sample().quote->zoneDescription);
    QCOMPARE(back.quote->min, 1800.0);
    QCOMPARE(back.quote->max, 2400.5);
    QVERIFY(back.quote->net);
    QCOMPARE(back.quote->typeName, QStringLiteral("Abitazioni civili"));

    // A choice whose quotation was not found keeps the choice alone.
    StoredOmi bare = sample();
    bare.quote.reset();
    writeTableFile(path, omiLayout(), omiRows(bare));
    const StoredOmi again = readOmiTable(path);
    QVERIFY(again.choice == bare.choice);
    QVERIFY(!again.quote);
}

void TestOmiTable::nothingChosenNothingWritten()
{
    QVERIFY(omiRows(StoredOmi{}).isEmpty());
    QVERIFY(!companionWorthSaving(Companion::Omi, {}));
    QCOMPARE(companionName(Companion::Omi, QStringLiteral("S")), QStringLiteral("OMI - S.db"));
    QVERIFY(companionField(Companion::Omi).isEmpty());
}

void TestOmiTable::savedWithTheSet()
{
    QTemporaryDir withOut, with;
    const QString table = QStringLiteral("Stima - Via Roma.db");
    saveAppraisalSet(withOut.filePath(table), content({}));
    // Without a comparison the set is the one saved before the comparison existed.
    QCOMPARE(filesIn(withOut.path()), QStringList{table});
    const Layout stored = Table::layoutOf(withOut.filePath(table), Trust::Foreign);
    QCOMPARE(stored, recordLayout());

    saveAppraisalSet(with.filePath(table), content(sample()));
    QCOMPARE(filesIn(with.path()), (QStringList{"OMI - Via Roma.db", table}));
    QCOMPARE(Table::layoutOf(with.filePath(table), Trust::Foreign), recordLayout());
    const StoredRecord record(with.filePath(table));
    QCOMPARE(omiCompanionName(record, table), QStringLiteral("OMI - Via Roma.db"));
    QVERIFY(readOmiTable(with.filePath("OMI - Via Roma.db")).choice == sample().choice);

    // Saving again without a choice leaves no comparison to be found by name.
    saveAppraisalSet(with.filePath(table), content({}));
    QVERIFY(readOmiTable(with.filePath("OMI - Via Roma.db")).choice.isEmpty());
}

void TestOmiTable::numberedStemNamesItOnlyWhenWritten()
{
    QTemporaryDir dir;
    const QString table = QStringLiteral("Stima - Via Roma.db");
    saveAppraisalSet(dir.filePath(table), content({}), QStringLiteral("Via Roma (2)"));
    Layout expected = recordLayout();
    expected << Column{kMcaColumn, ColumnType::Text, kMcaColumnSize};
    QCOMPARE(Table::layoutOf(dir.filePath(table), Trust::Foreign), expected);
    // A record with TabellaMCA and no TabellaOMI names no comparison, not the
    // one the table's own name would give.
    QVERIFY(omiCompanionName(StoredRecord(dir.filePath(table)), table).isEmpty());

    saveAppraisalSet(dir.filePath(table), content(sample()), QStringLiteral("Via Roma (2)"));
    expected << Column{kOmiColumn, ColumnType::Text, kMcaColumnSize};
    QCOMPARE(Table::layoutOf(dir.filePath(table), Trust::Foreign), expected);
    QCOMPARE(omiCompanionName(StoredRecord(dir.filePath(table)), table), QStringLiteral("OMI - Via Roma (2).db"));
    QVERIFY(QFileInfo::exists(dir.filePath("OMI - Via Roma (2).db")));
}

void TestOmiTable::refused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("another table") << "layout";
    QTest::newRow("two rows") << "rows";
    QTest::newRow("amount not a number") << "amount";
    QTest::newRow("not a table") << "text";
}

void TestOmiTable::refused()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath("OMI - x.db");
    if (kind == "layout") {
        writeTableFile(path, surfacesLayout(), {});
    } else if (kind == "rows") {
        const QVector<QVariantList> rows = omiRows(sample());
        writeTableFile(path, omiLayout(), rows + rows);
    } else if (kind == "amount") {
        QVector<QVariantList> rows = omiRows(sample());
        rows[0][10] = QStringLiteral("mille");
        writeTableFile(path, omiLayout(), rows);
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Zona;Tipologia\nB1;20\n");
    }
    QVERIFY_THROWS_EXCEPTION(StoreError, readOmiTable(path));
}

QTEST_GUILESS_MAIN(TestOmiTable)
#include "tst_omitable.moc"
