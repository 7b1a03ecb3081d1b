// SPDX-License-Identifier: GPL-2.0-or-later
// The market comparison's companion table: what is written reads back the
// same, texts that cannot be read yet included; a foreign, damaged or
// tampered file is refused before use; a failed write leaves the earlier file;
// and the JSON form carries inputs, prices, corrected prices and the value.
#include "../support/fixtures.h"
#include "files/appraisalfiles.h"
#include "files/mcatable.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace brevan;
using namespace brevan::mca;

namespace {

Sheet sampleSheet()
{
    Sheet s = Sheet::blank();
    s.subject.setText(Row::MainSurface, QStringLiteral("100"));
    s.subject.setText(Row::Floor, QStringLiteral("2"));
    s.subject.setText(Row::Maintenance, QStringLiteral("3"));
    s.subject.setText(Row::Bathrooms, QStringLiteral("1"));
    s.subject.lift = true;
    s.subjectEdited = true;
    const char *prices[] = {"200.000", "210.000,00", "205000", "non so"};
    s.comparables.resize(4);
    for (int j = 0; j < 4; ++j) {
        SheetColumn &c = s.comparables[j];
        c.setText(Row::Address, QStringLiteral("Via dell'Università %1, Forlì").arg(j + 1));
        c.setText(Row::SaleDate, QStringLiteral("0%1/2024").arg(j + 1));
        c.setText(Row::Price, QString::fromLatin1(prices[j]));
        c.setText(Row::Source, QStringLiteral("offerta «immobiliare»"));
        c.setText(Row::MainSurface, QStringLiteral("100"));
        c.setText(Row::Floor, QStringLiteral("2"));
        c.setText(Row::Maintenance, QStringLiteral("3"));
        c.setText(Row::Bathrooms, QStringLiteral("1"));
        c.lift = j % 2 == 0;
    }
    s.setParam(Param::AnnualChange, QStringLiteral("-1,5"));
    s.setParam(Param::LiftPrice, QStringLiteral("8.000"));
    s.unknown[std::size_t(index(Feature::Floor))] = true;
    return s;
}

const QDate kValuation(2024, 6, 15);

} // namespace

class TestMcaTable : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip();
    void longTextsAreCutToTheirColumns();
    void companionName();
    void refused_data();
    void refused();
    void failedWriteKeepsTheEarlierFile();
    void json();
    void jsonWithoutAValue();
};

void TestMcaTable::roundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("MCA - Via Roma 1.db"));
    const Sheet s = sampleSheet();
    files::writeMcaTable(path, s);
    QCOMPARE(files::readMcaTable(path), s);
    QCOMPARE(Table::layoutOf(path), files::mcaLayout());
    // The layout reads back from the file itself: TEXT(n), LOGICAL.
    const Layout l = Table::layoutOf(path);
    QCOMPARE(declaredType(l.first()), QStringLiteral("TEXT(12)"));
    QCOMPARE(declaredType(l.at(11)), QStringLiteral("LOGICAL")); // Ascensore
    // Written again over itself: the new content replaces the old whole.
    Sheet fewer = s;
    fewer.comparables.resize(3);
    fewer.unknown.fill(false);
    files::writeMcaTable(path, fewer);
    QCOMPARE(files::readMcaTable(path), fewer);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("MCA - Via Roma 1.db")});
}

void TestMcaTable::longTextsAreCutToTheirColumns()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("m.db"));
    Sheet s = sampleSheet();
    s.comparables[0].setText(Row::Address, QString(200, QLatin1Char('x')));
    files::writeMcaTable(path, s);
    QCOMPARE(files::readMcaTable(path).comparables[0].text(Row::Address).size(), files::mcaTextSize(Row::Address));
}

void TestMcaTable::companionName()
{
    QCOMPARE(files::companionName(files::Companion::Mca, QStringLiteral("S")), QStringLiteral("MCA - S.db"));
    QVERIFY(files::companionField(files::Companion::Mca).isEmpty());
}

void TestMcaTable::refused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("not a table") << "text";
    QTest::newRow("damaged") << "damaged";
    QTest::newRow("another table") << "surfaces";
    QTest::newRow("foreign database") << "foreign";
    QTest::newRow("no subject row") << "nosubject";
    QTest::newRow("too many comparables") << "toomany";
}

void TestMcaTable::refused()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("MCA - x.db"));
    if (kind == QLatin1String("text")) {
        fixtures::writeBytes(path, "MCA\n");
    } else if (kind == QLatin1String("damaged")) {
        Sheet s = sampleSheet();
        s.comparables.resize(10);
        for (SheetColumn &c : s.comparables)
            c.setText(Row::Source, QString(60, QLatin1Char('z')));
        files::writeMcaTable(path, s);
        fixtures::damage(path);
    } else if (kind == QLatin1String("surfaces")) {
        Table::create(path, {{QStringLiteral("DescrizioneSuperficie"), ColumnType::Text, 50},
                             {QStringLiteral("MqSuperficie"), ColumnType::Real, 0}});
    } else if (kind == QLatin1String("foreign")) {
        fixtures::foreignDatabase(path, "CREATE TABLE t(a); INSERT INTO t VALUES (1);");
    } else if (kind == QLatin1String("nosubject")) {
        Table::create(path, files::mcaLayout());
        Table t = Table::open(path);
        t.append({QStringLiteral("Comparabile")});
    } else if (kind == QLatin1String("toomany")) {
        Table::create(path, files::mcaLayout());
        Table t = Table::open(path);
        t.append({QStringLiteral("Soggetto")});
        for (int i = 0; i < kMaxComparables + 1; ++i)
            t.append({QStringLiteral("Comparabile")});
    }
    QVERIFY_THROWS_EXCEPTION(StoreError, files::readMcaTable(path));
}

void TestMcaTable::failedWriteKeepsTheEarlierFile()
{
    QTemporaryDir dir;
    const QString folder = fixtures::readOnlyFolder(dir.path());
    const QString path = folder + QStringLiteral("/MCA - x.db");
    QVERIFY_THROWS_EXCEPTION(StoreError, files::writeMcaTable(path, sampleSheet()));
    QVERIFY(!QFile::exists(path));

    // The destination cannot be replaced (a folder stands in its place): the
    // write fails, what is there stays, and no temporary file is left behind.
    const QString blocked = dir.filePath(QStringLiteral("MCA - y.db"));
    QDir().mkpath(blocked);
    fixtures::writeBytes(blocked + QStringLiteral("/dentro"), "x");
    QVERIFY_THROWS_EXCEPTION(StoreError, files::writeMcaTable(blocked, sampleSheet()));
    QCOMPARE(fixtures::readBytes(blocked + QStringLiteral("/dentro")), QByteArray("x"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestMcaTable::json()
{
    Sheet s = sampleSheet();
    s.comparables.resize(3);
    s.unknown.fill(false);
    s.setParam(Param::AnnualChange, QStringLiteral("0"));
    const QJsonObject o = files::mcaJson(s, kValuation);
    QCOMPARE(o.value(QStringLiteral("DataStima")).toString(), QStringLiteral("06/2024"));
    QCOMPARE(o.value(QStringLiteral("Soggetto")).toObject().value(QStringLiteral("SupPrincipale")).toString(),
             QStringLiteral("100"));
    QVERIFY(!o.value(QStringLiteral("Soggetto")).toObject().contains(QStringLiteral("Prezzo")));
    const QJsonArray comparables = o.value(QStringLiteral("Comparabili")).toArray();
    QCOMPARE(comparables.size(), 3);
    QCOMPARE(comparables[1].toObject().value(QStringLiteral("Prezzo")).toString(), QStringLiteral("210.000,00"));
    QCOMPARE(o.value(QStringLiteral("Parametri")).toObject().value(QStringLiteral("PrezzoAscensore")).toString(),
             QStringLiteral("8.000"));
    const QJsonArray results = o.value(QStringLiteral("Risultati")).toArray();
    QCOMPARE(results.size(), 3);
    // The subject has a lift, comparables 1 and 3 too, comparable 2 not.
    const QJsonObject second = results[1].toObject();
    QCOMPARE(second.value(QStringLiteral("PrezziMarginali")).toObject().value(QStringLiteral("Ascensore")).toDouble(), 8000.0);
    QCOMPARE(second.value(QStringLiteral("Aggiustamenti")).toObject().value(QStringLiteral("Ascensore")).toDouble(), 8000.0);
    QCOMPARE(second.value(QStringLiteral("PrezzoCorretto")).toDouble(), 218000.0);
    QCOMPARE(second.value(QStringLiteral("PrezziMarginali")).toObject().value(QStringLiteral("SupPrincipale")).toDouble(),
             2000.0);
    // (200.000 + 218.000 + 205.000) / 3 = 207.666,67.
    QCOMPARE(o.value(QStringLiteral("Valore")).toDouble(), 207667.0);
    QCOMPARE(o.value(QStringLiteral("Divergenza")).toDouble(), 9.0);
    QCOMPARE(o.value(QStringLiteral("OltreSoglia")).toBool(), false);
    QVERIFY(o.value(QStringLiteral("Problemi")).toArray().isEmpty());
}

void TestMcaTable::jsonWithoutAValue()
{
    const QJsonObject o = files::mcaJson(sampleSheet(), kValuation); // comparable 4's price is "non so"
    QVERIFY(o.value(QStringLiteral("Valore")).isNull());
    QVERIFY(o.value(QStringLiteral("Divergenza")).isNull());
    QVERIFY(o.value(QStringLiteral("Risultati")).toArray().isEmpty());
    const QJsonArray issues = o.value(QStringLiteral("Problemi")).toArray();
    QCOMPARE(issues.size(), 1);
    QCOMPARE(issues[0].toObject().value(QStringLiteral("Dove")).toString(), QStringLiteral("Comparabile 4, Prezzo (€)"));
    QCOMPARE(o.value(QStringLiteral("PrezziDaStimare")).toArray(), QJsonArray{QStringLiteral("Piano")});
}

QTEST_GUILESS_MAIN(TestMcaTable)
#include "tst_mcatable.moc"
