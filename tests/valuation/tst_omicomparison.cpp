// SPDX-License-Identifier: GPL-2.0-or-later
// The appraisal held against the OMI quotations: the state proposed from the
// interior state, the quotation found for a choice (and what is said when
// none is), the semester's age, and the band, K1, K2, K, the valore normale
// and the placement of the values on a worked example.
#include "valuation/omicomparison.h"

#include <QTest>

using namespace brevan::omiband;

Q_DECLARE_METATYPE(brevan::omiband::Choice)

namespace {

Quote quote(const QString &semester, const QString &zone, const QString &type, const QString &state, double min,
            double max, bool net = false)
{
    Quote q;
    q.semester = semester;
    q.zone = zone;
    q.type = type;
    q.typeName = type == QLatin1String("20") ? QStringLiteral("Abitazioni civili") : QString();
    q.state = state;
    q.min = min;
    q.max = max;
    q.net = net;
    return q;
}

const QVector<Quote> kQuotes{
    quote("2023/2", "B1", "20", "NORMALE", 1700, 2300),
    quote("2024/2", "B1", "20", "NORMALE", 1800, 2400),
    quote("2024/1", "B1", "20", "NORMALE", 1750, 2350),
    quote("2024/2", "B1", "20", "OTTIMO", 2350, 2900),
    quote("2024/2", "C1", "21", "NORMALE", 1150, 1500, true),
};

Choice choice(const QString &zone, const QString &type, const QString &state, const QString &semester = {},
              const QString &floor = {})
{
    Choice c;
    c.zone = zone;
    c.type = type;
    c.state = state;
    c.semester = semester;
    c.floor = floor;
    return c;
}

} // namespace

class TestOmiComparison : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stateFromInteriorState_data();
    void stateFromInteriorState();
    void lookup_data();
    void lookup();
    void semesters();
    void oldSemester_data();
    void oldSemester();
    void workedExample();
    void netRangeUsesTheNetSurface();
    void noBand_data();
    void noBand();
    void withoutFloorNoValoreNormale();
};

void TestOmiComparison::stateFromInteriorState_data()
{
    QTest::addColumn<QString>("judgment");
    QTest::addColumn<QString>("state");
    QTest::newRow("Scarso") << "Scarso" << "SCADENTE";
    QTest::newRow("Mediocre") << "Mediocre" << "SCADENTE";
    QTest::newRow("Sufficiente") << "Sufficiente" << "NORMALE";
    QTest::newRow("Discreto") << "Discreto" << "NORMALE";
    QTest::newRow("Buono") << "Buono" << "NORMALE";
    QTest::newRow("Ottimo") << "Ottimo" << "OTTIMO";
    QTest::newRow("none") << "" << "";
}

void TestOmiComparison::stateFromInteriorState()
{
    QFETCH(QString, judgment);
    QFETCH(QString, state);
    QCOMPARE(stateForInteriorState(judgment), state);
}

void TestOmiComparison::lookup_data()
{
    QTest::addColumn<Choice>("choice");
    QTest::addColumn<QString>("semester"); // of the quote found; empty when none
    QTest::addColumn<QString>("missing");
    QTest::newRow("latest") << choice("B1", "20", "NORMALE") << "2024/2" << "";
    QTest::newRow("semester chosen") << choice("B1", "20", "NORMALE", "2024/1") << "2024/1" << "";
    QTest::newRow("no zone chosen") << choice("", "20", "NORMALE") << ""
                                    << "Nessuna quotazione OMI senza una zona OMI scelta.";
    QTest::newRow("zone missing") << choice("D4", "20", "NORMALE") << "" << "Nessuna quotazione OMI per la zona D4.";
    QTest::newRow("type missing") << choice("B1", "1", "NORMALE") << ""
                                  << "Nessuna quotazione OMI per la tipologia 1 nella zona B1.";
    QTest::newRow("state missing") << choice("B1", "20", "SCADENTE") << ""
                                   << "Nessuna quotazione OMI per lo stato SCADENTE della tipologia 20 nella zona B1.";
    QTest::newRow("not in the semester") << choice("C1", "21", "NORMALE", "2023/2") << ""
                                         << "Nessuna quotazione OMI per la zona C1 nel semestre 2023/2.";
}

void TestOmiComparison::lookup()
{
    QFETCH(Choice, choice);
    QFETCH(QString, semester);
    QFETCH(QString, missing);
    const Lookup l = findQuote(kQuotes, choice);
    QCOMPARE(l.quote.has_value(), !semester.isEmpty());
    if (l.quote)
        QCOMPARE(l.quote->semester, semester);
    QCOMPARE(l.missing, missing);
}

void TestOmiComparison::semesters()
{
    QCOMPARE(semestersOf(kQuotes), (QStringList{"2024/2", "2024/1", "2023/2"}));
}

void TestOmiComparison::oldSemester_data()
{
    QTest::addColumn<QString>("semester");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<bool>("old");
    // The second semester of 2022 ends on 31/12/2022: two years later is 31/12/2024.
    QTest::newRow("two years to the day") << "2022/2" << QDate(2024, 12, 31) << false;
    QTest::newRow("a day beyond") << "2022/2" << QDate(2025, 1, 1) << true;
    // The first semester ends on 30 June.
    QTest::newRow("first half, in time") << "2023/1" << QDate(2025, 6, 30) << false;
    QTest::newRow("first half, a day beyond") << "2023/1" << QDate(2025, 7, 1) << true;
    QTest::newRow("after the date") << "2025/2" << QDate(2025, 1, 1) << false;
    QTest::newRow("not a semester") << "" << QDate(2025, 1, 1) << false;
}

void TestOmiComparison::oldSemester()
{
    QFETCH(QString, semester);
    QFETCH(QDate, date);
    QFETCH(bool, old);
    QCOMPARE(isOlderThanTwoYears(semester, date), old);
}

// No published worked example of the valore normale could be found; this
// one follows the formula step by step. A civil dwelling of zone B1, 2024/2,
// NORMALE, 1.800–2.400 €/m² on gross surface; 85 m² on an intermediate
// floor: K1 0,5 (over 70 up to 120 m²), K2 0,5, K = (0,5 + 3 × 0,5) / 4 =
// 0,5; valore normale 85 × (1.800 + 600 × 0,5) = 178.500 €; band 153.000 –
// 204.000 €.
void TestOmiComparison::workedExample()
{
    Inputs in;
    in.choice = choice("B1", "20", "NORMALE", {}, QStringLiteral("Piano intermedio"));
    in.lookup = findQuote(kQuotes, in.choice);
    in.grossSurface = 85;
    in.netSurface = 70;
    in.valuationDate = QDate(2025, 3, 1);
    in.values = {{QStringLiteral("Capitalizzazione dei redditi"), 140000.0},
                 {QStringLiteral("Comparazione diretta"), 180000.0},
                 {QStringLiteral("Stima MCA"), 214200.0},
                 {QStringLiteral("Altro"), std::nullopt}};
    const Outcome o = compare(in);
    QVERIFY(o.hasBand());
    QCOMPARE(o.surface, 85.0);
    QVERIFY(!o.netSurface);
    QCOMPARE(o.band->low, 153000.0);
    QCOMPARE(o.band->high, 204000.0);
    QCOMPARE(o.k1, 0.5);
    QCOMPARE(o.k2, 0.5);
    QCOMPARE(o.k, 0.5);
    QVERIFY(o.valoreNormale);
    QCOMPARE(*o.valoreNormale, 178500.0);
    QVERIFY(!o.oldSemester);
    QCOMPARE(o.values.size(), 4);
    QCOMPARE(placementText(o.values[0].position), QStringLiteral("sotto la fascia: scarto 8,50 %"));
    QCOMPARE(placementText(o.values[1].position), QStringLiteral("all'interno della fascia"));
    QCOMPARE(placementText(o.values[2].position), QStringLiteral("sopra la fascia: scarto 5,00 %"));
    QVERIFY(!o.values[3].value);
    QCOMPARE(bandText(o), QStringLiteral("153.000,00 € – 204.000,00 €"));
}

void TestOmiComparison::netRangeUsesTheNetSurface()
{
    Inputs in;
    in.choice = choice("C1", "21", "NORMALE", {}, QStringLiteral("Piano terreno"));
    in.lookup = findQuote(kQuotes, in.choice);
    in.grossSurface = 80;
    in.netSurface = 64;
    const Outcome o = compare(in);
    QVERIFY(o.hasBand());
    QVERIFY(o.netSurface);
    QCOMPARE(o.surface, 64.0);
    QCOMPARE(o.band->low, 64 * 1150.0);
    QCOMPARE(o.band->high, 64 * 1500.0);
    // 64 m² is over 45 up to 70: K1 0,8; ground floor K2 0,2; K = (0,8 + 0,6) / 4 = 0,35.
    QCOMPARE(o.k1, 0.8);
    QVERIFY(qAbs(o.k - 0.35) < 1e-12);
}

void TestOmiComparison::noBand_data()
{
    QTest::addColumn<Choice>("choice");
    QTest::addColumn<double>("gross");
    QTest::addColumn<double>("net");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no quotation") << choice("B1", "20", "SCADENTE") << 85.0 << 70.0
                                  << "Nessuna quotazione OMI per lo stato SCADENTE della tipologia 20 nella zona B1.";
    QTest::newRow("zero surface") << choice("B1", "20", "NORMALE") << 0.0 << 70.0
                                  << "Superficie catastale pari a zero: nessuna fascia.";
    QTest::newRow("zero net surface") << choice("C1", "21", "NORMALE") << 80.0 << 0.0
                                      << "Superficie netta (utile) pari a zero: nessuna fascia.";
}

void TestOmiComparison::noBand()
{
    QFETCH(Choice, choice);
    QFETCH(double, gross);
    QFETCH(double, net);
    QFETCH(QString, reason);
    Inputs in;
    in.choice = choice;
    in.lookup = findQuote(kQuotes, choice);
    in.grossSurface = gross;
    in.netSurface = net;
    in.values = {{QStringLiteral("Comparazione diretta"), 180000.0}};
    const Outcome o = compare(in);
    QVERIFY(!o.hasBand());
    QVERIFY(!o.valoreNormale);
    QVERIFY(o.values.isEmpty());
    QCOMPARE(o.noBand, reason);
}

void TestOmiComparison::withoutFloorNoValoreNormale()
{
    Inputs in;
    in.choice = choice("B1", "20", "NORMALE");
    in.lookup = findQuote(kQuotes, in.choice);
    in.grossSurface = 40;
    const Outcome o = compare(in);
    QVERIFY(o.hasBand());
    QCOMPARE(o.k1, 1.0);
    QVERIFY(!o.floorKnown);
    QVERIFY(!o.valoreNormale);
}

QTEST_APPLESS_MAIN(TestOmiComparison)
#include "tst_omicomparison.moc"
