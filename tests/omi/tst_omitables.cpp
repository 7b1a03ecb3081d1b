// SPDX-License-Identifier: GPL-2.0-or-later
// OMI quotations turned into zone and unit-rent rows, merged with the tables
// a municipality already has, and written into a data folder.
#include "../support/fixtures.h"
#include "../support/omifixtures.h"
#include "omi/omitables.h"
#include "store/datafolder.h"

#include <QTemporaryDir>
#include <QTest>

using namespace brevan;
using namespace brevan::omi;
using namespace omifixtures;

namespace {

Quotations quotationsOf(const QList<QPair<QString, QString>> &files)
{
    Quotations q;
    for (const auto &[name, text] : files)
        q.add(parseQuotations(text.toUtf8(), name));
    return q;
}

// Rent rows as "year|centrality|min|max".
QStringList rentTexts(const QVector<PlannedRent> &rows)
{
    QStringList out;
    for (const PlannedRent &r : rows)
        out << QStringLiteral("%1|%2|%3|%4").arg(r.year).arg(r.centrality, r.minLire(), r.maxLire());
    return out;
}

QStringList zoneTexts(const QVector<PlannedZone> &zones)
{
    QStringList out;
    for (const PlannedZone &z : zones)
        out << z.name + u'|' + z.centrality;
    return out;
}

QStringList joined(const TextRows &rows)
{
    QStringList out;
    for (const QStringList &r : rows)
        out << r.join(u'|');
    return out;
}

TextRows split(const QStringList &rows)
{
    TextRows out;
    for (const QString &r : rows)
        out << r.split(u'|');
    return out;
}

const QString kValues = QStringLiteral("QI_1_1_20242_VALORI.csv");
const QString kZones = QStringLiteral("QI_1_1_20242_ZONE.csv");

} // namespace

class TestOmiTables : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typeForCategory_data();
    void typeForCategory();
    void centrality_data();
    void centrality();

    void zonesFromZoneFile();
    void zonesFromValuesAlone();
    void rents_data();
    void rents();
    void laterSemesterComesLast();
    void typesAndNames();

    void mergeZonesKeepsRatesAndJudgments();
    void mergeRentsReplacesYearAndCentrality();

    void importWritesTables();
    void importLeavesDamagedAndUnknownAlone();
    void importStoppedWritesNothingHalfWay();
};

void TestOmiTables::typeForCategory_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<int>("type");
    QTest::newRow("A/2") << "A/2" << 20;
    QTest::newRow("A/3") << "A/3" << 21;
    QTest::newRow("A/7") << "A/7" << 1;
    QTest::newRow("A/8") << "A/8" << 1;
    QTest::newRow("A/4") << "A/4" << 20;
    QTest::newRow("A/1") << "A/1" << 20;
    QTest::newRow("empty") << "" << 20;
}

void TestOmiTables::typeForCategory()
{
    QFETCH(QString, category);
    QFETCH(int, type);
    QCOMPARE(omi::typeForCategory(category), type);
}

void TestOmiTables::centrality_data()
{
    QTest::addColumn<QChar>("band");
    QTest::addColumn<QString>("centrality");
    QTest::newRow("B") << QChar(u'B') << "Zona centrale";
    QTest::newRow("C") << QChar(u'C') << "Zona intermedia";
    QTest::newRow("D") << QChar(u'D') << "Zona periferica";
    QTest::newRow("E") << QChar(u'E') << "Zona periferica";
    QTest::newRow("R") << QChar(u'R') << "Zona periferica";
    QTest::newRow("A") << QChar(u'A') << "";
}

void TestOmiTables::centrality()
{
    QFETCH(QChar, band);
    QFETCH(QString, centrality);
    QCOMPARE(centralityOfBand(band), centrality);
}

void TestOmiTables::zonesFromZoneFile()
{
    const Quotations q = quotationsOf({{kValues, valuesFile("2024/2", abanoValues())},
                                       {kZones, zonesFile("2024/2", abanoZones())}});
    QCOMPARE(zoneTexts(q.zonesOf("A001")),
             (QStringList{"B1 CENTRO URBANO|Zona centrale",
                          // Cut to the 30 characters of the zone name field.
                          "B2 VIALE DELLE TERME, PIAZZA D|Zona centrale", "C1 SEMICENTRO|Zona intermedia",
                          "D1 PERIFERIA|Zona periferica", "E1 MONTEORTONE|Zona periferica",
                          "R1 ZONA AGRICOLA|Zona periferica"}));
}

void TestOmiTables::zonesFromValuesAlone()
{
    const Quotations q = quotationsOf({{kValues, valuesFile("2024/2", abanoValues())}});
    QCOMPARE(zoneTexts(q.zonesOf("A001")),
             (QStringList{"B1|Zona centrale", "B2|Zona centrale", "C1|Zona intermedia", "D1|Zona periferica",
                          "E1|Zona periferica", "R1|Zona periferica"}));
    QVERIFY(q.zonesOf("B418").isEmpty());
}

void TestOmiTables::rents_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("year");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("emptyRents");
    QTest::addColumn<int>("zonesWithoutType");
    // Central: the lowest minimum of B1 and B2 (5,9) and the highest maximum (8,2).
    // Peripheral: D1, E1 (only SCADENTE, its prevalent state) and R1 (no rent).
    QTest::newRow("civil, normal") << 20 << "NORMALE" << 0
                                   << QStringList{"2024|Zona centrale|11423,993|15877,414",
                                                  "2024|Zona intermedia|8713,215|11811,247",
                                                  "2024|Zona periferica|968,135|9681,35"}
                                   << 1 << 0;
    // B2 has no OTTIMO row: its prevalent state stands in.
    QTest::newRow("civil, best") << 20 << "OTTIMO" << 0
                                 << QStringList{"2024|Zona centrale|11423,993|19362,7",
                                                "2024|Zona intermedia|8713,215|11811,247",
                                                "2024|Zona periferica|968,135|9681,35"}
                                 << 1 << 0;
    QTest::newRow("economic") << 21 << "NORMALE" << 0 << QStringList{"2024|Zona centrale|9294,096|11617,62"} << 0
                              << 5;
    QTest::newRow("year given") << 21 << "normale" << 2026 << QStringList{"2026|Zona centrale|9294,096|11617,62"}
                                << 0 << 5;
    QTest::newRow("villas: none") << 1 << "NORMALE" << 0 << QStringList{} << 0 << 6;
}

void TestOmiTables::rents()
{
    QFETCH(int, type);
    QFETCH(QString, state);
    QFETCH(int, year);
    QFETCH(QStringList, rows);
    QFETCH(int, emptyRents);
    QFETCH(int, zonesWithoutType);
    const Quotations q = quotationsOf({{kValues, valuesFile("2024/2", abanoValues())}});
    const RentPlan plan = q.rentsOf("A001", {type, state, year});
    QCOMPARE(rentTexts(plan.rows), rows);
    QCOMPARE(plan.emptyRents, emptyRents);
    QCOMPARE(plan.zonesWithoutType, zonesWithoutType);
}

// Files given in any order: the semesters are taken oldest first, and for one
// semester the file given last stands.
void TestOmiTables::laterSemesterComesLast()
{
    const auto file = [](const QString &semester, const QString &rentMin) {
        return valuesFile(semester, {valueRow({"A001", "PD", "ABANO TERME", "C", "C1", "20", "NORMALE", "P", rentMin,
                                               "10"})});
    };
    const Quotations q = quotationsOf({{"QI_1_1_20242_VALORI.csv", file("2024/2", "3")},
                                       {"QI_1_1_20241_VALORI.csv", file("2024/1", "2")},
                                       {"QI_2_1_20242_VALORI.csv", file("2024/2", "4")}});
    const RentPlan plan = q.rentsOf("A001", {});
    QCOMPARE(rentTexts(plan.rows), (QStringList{"2024|Zona intermedia|3872,54|19362,7",
                                                "2024|Zona intermedia|7745,08|19362,7"}));
    const RentMerge merged = mergeRents({}, plan.rows);
    QCOMPARE(joined(merged.rows), QStringList{"2024|7745,08|19362,7|Zona intermedia"});
    QCOMPARE(q.latestSemester("A001").text(), QStringLiteral("2024/2"));
}

void TestOmiTables::typesAndNames()
{
    const Quotations q = quotationsOf({{kValues, valuesFile("2024/2", abanoValues())}});
    const QVector<QPair<int, QString>> types = q.typesOf("A001");
    QCOMPARE(types.size(), 3);
    QCOMPARE(types.at(0), (QPair<int, QString>{5, "Negozi"}));
    QCOMPARE(types.at(1), (QPair<int, QString>{20, "Abitazioni civili"}));
    QCOMPARE(types.at(2), (QPair<int, QString>{21, "Abitazioni di tipo economico"}));
    QCOMPARE(q.omiName("A001"), QStringLiteral("ABANO TERME"));
    QCOMPARE(q.rowCount("A001"), abanoValues().size());
    QCOMPARE(q.codes(), QStringList{"A001"});
}

void TestOmiTables::mergeZonesKeepsRatesAndJudgments()
{
    const TextRows existing = split({
        "|||||||",
        "||B1 CENTRO URBANO|Zona periferica|3,50|Buono|Ottimo|Sufficiente",
        "||Lungo fiume|Zona intermedia|4,00|Scarso||",
        "|||||||",
    });
    const ZoneMerge m = mergeZones(existing, {{"B1 CENTRO URBANO", "Zona centrale"}, {"C1 SEMICENTRO", "Zona intermedia"}});
    QCOMPARE(joined(m.rows), (QStringList{"||B1 CENTRO URBANO|Zona centrale|3,50|Buono|Ottimo|Sufficiente",
                                          "||Lungo fiume|Zona intermedia|4,00|Scarso||",
                                          "||C1 SEMICENTRO|Zona intermedia||||"}));
    QCOMPARE(m.added, 1);
    QCOMPARE(m.updated, 1);
}

void TestOmiTables::mergeRentsReplacesYearAndCentrality()
{
    const TextRows existing = split({
        "2024|8000|9000|Zona centrale",
        "|||",
        "2023|7000|8000|Zona intermedia",
        "2024|6000|7000|Zona intermedia",
        "2024|6100|7100|Zona intermedia",
    });
    Decimal a, b;
    parseDecimal(u"5", &a);
    parseDecimal(u"6", &b);
    const RentMerge m = mergeRents(existing, {{2024, {2024, 2}, "Zona intermedia", a, b}});
    QCOMPARE(joined(m.rows), (QStringList{"2024|8000|9000|Zona centrale", "2023|7000|8000|Zona intermedia",
                                          "2024|9681,35|11617,62|Zona intermedia"}));
    QCOMPARE(m.replaced, 1);
    QCOMPARE(m.added, 0);
}

void TestOmiTables::importWritesTables()
{
    QTemporaryDir dir;
    const QString zonesTable = dir.filePath("ZonaUrbanaAbano Terme35031PD.db");
    const QString rentsTable = dir.filePath("CanoniLocazUnitariAbano Terme35031PD.db");
    // The appraiser's own rate and judgments of B1, and an older year's rents.
    Table::write(zonesTable, zonesLayout(),
                 toValues(split({"||B1 CENTRO URBANO|Zona centrale|3,50|Buono|Buono|Buono"})));
    Table::write(rentsTable, unitRentsLayout(), toValues(split({"2001|8000|9001|Zona intermedia"})));

    const Quotations q = quotationsOf({{kValues, valuesFile("2024/2", abanoValues())},
                                       {kZones, zonesFile("2024/2", abanoZones())}});
    QList<QPair<int, int>> calls;
    const ImportSummary s = importQuotations(q, dir.path(), {}, [&](int done, int total) {
        calls << qMakePair(done, total);
        return true;
    });
    QCOMPARE(s.municipalities, 1);
    QCOMPARE(s.zones, 6);
    QCOMPARE(s.rentRows, 3);
    QCOMPARE(s.emptyRents, 1);
    QVERIFY(s.notFound.isEmpty());
    QVERIFY(s.failures.isEmpty());
    QCOMPARE(calls.last(), qMakePair(1, 1));

    const TextRows zones = readTextRows(zonesTable, zonesLayout());
    QCOMPARE(zones.size(), 6);
    QCOMPARE(zones.at(0).join(u'|'), QStringLiteral("||B1 CENTRO URBANO|Zona centrale|3,50|Buono|Buono|Buono"));
    QCOMPARE(zones.at(5).join(u'|'), QStringLiteral("||R1 ZONA AGRICOLA|Zona periferica||||"));
    QCOMPARE(joined(readTextRows(rentsTable, unitRentsLayout())),
             (QStringList{"2001|8000|9001|Zona intermedia", "2024|11423,993|15877,414|Zona centrale",
                          "2024|8713,215|11811,247|Zona intermedia", "2024|968,135|9681,35|Zona periferica"}));
    // Written whole: no temporary file is left beside the tables (the zone,
    // unit-rent and sale tables).
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{"CanoniLocazUnitariAbano Terme35031PD.db", "QuotazioniOMIAbano Terme35031PD.db",
                          "ZonaUrbanaAbano Terme35031PD.db"}));
}

void TestOmiTables::importLeavesDamagedAndUnknownAlone()
{
    QTemporaryDir dir;
    // Calliano Monferrato (AT) has a damaged row; Z999 is in no list; Livo (TN) has a
    // zone table of another layout; Abano Terme is sound.
    const QString callianoZones = dir.filePath("ZonaUrbanaCalliano Monferrato14031AT.db");
    Table::write(callianoZones, zonesLayout(), toValues(split({"||VECCHIA|Zona centrale|2,00|||"})));
    const QString livoZones = dir.filePath("ZonaUrbanaLivo38020TN.db");
    fixtures::foreignDatabase(livoZones, "CREATE TABLE tabella (x TEXT(5))");
    const QStringList rows = abanoValues() + QStringList{
        valueRow({"B418", "AT", "CALLIANO", "B", "B1", "20", "NORMALE", "P", "4,5", "6"}),
        valueRow({"B418", "AT", "CALLIANO", "C", "C1", "20", "NORMALE", "P", "4", "cinque"}),
        valueRow({"Z999", "XX", "NUOVO COMUNE", "B", "B1", "20", "NORMALE", "P", "4", "5"}),
        valueRow({"E624", "TN", "LIVO", "B", "B1", "20", "NORMALE", "P", "4", "5"}),
    };
    const Quotations q = quotationsOf({{kValues, valuesFile("2024/2", rows)}});
    const ImportSummary s = importQuotations(q, dir.path(), {});
    QCOMPARE(s.municipalities, 1);
    QCOMPARE(s.damaged, QStringList{"B418"});
    QCOMPARE(s.damagedRows, 1);
    QCOMPARE(s.notFound, QStringList{"Z999 NUOVO COMUNE"});
    QCOMPARE(s.failures.size(), 1);
    QVERIFY2(s.failures.at(0).contains("ZonaUrbanaLivo38020TN.db"), qPrintable(s.failures.at(0)));
    QCOMPARE(joined(readTextRows(callianoZones, zonesLayout())), QStringList{"||VECCHIA|Zona centrale|2,00|||"});
    QVERIFY(!QFileInfo::exists(dir.filePath("CanoniLocazUnitariCalliano Monferrato14031AT.db")));
    QVERIFY(!QFileInfo::exists(dir.filePath("CanoniLocazUnitariLivo38020TN.db")));
    QVERIFY(QFileInfo::exists(dir.filePath("CanoniLocazUnitariAbano Terme35031PD.db")));
}

// Asked to stop after the first municipality: the tables still in the batch
// are dropped with their temporaries, the folder is as it was.
void TestOmiTables::importStoppedWritesNothingHalfWay()
{
    QTemporaryDir dir;
    const QStringList rows = abanoValues() + QStringList{
        valueRow({"B419", "TN", "CALLIANO", "B", "B1", "20", "NORMALE", "P", "4,5", "6"}),
    };
    const Quotations q = quotationsOf({{kValues, valuesFile("2024/2", rows)}});
    const ImportSummary s = importQuotations(q, dir.path(), {}, [](int done, int) { return done < 1; });
    QVERIFY(s.stopped);
    QCOMPARE(s.municipalities, 0);
    QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

QTEST_GUILESS_MAIN(TestOmiTables)
#include "tst_omitables.moc"
