// SPDX-License-Identifier: GPL-2.0-or-later
// The market comparison computed from numbers: a worked example published in
// the Italian valuation literature, the rule of each marginal price, the
// divergence, the rounding of the value, the estimation system, and the
// corrected price that may not come out zero or negative.
#include "model/numbertext.h"
#include "valuation/mca.h"

#include <QTest>

#include <cmath>

using namespace brevan;
using namespace brevan::mca;

namespace {

constexpr int F(Feature f)
{
    return index(f);
}

Amounts amounts(double main, double balconies, double floor, double maintenance, double bathrooms, bool lift = false)
{
    Amounts a{};
    a[F(Feature::MainSurface)] = main;
    a[F(Feature::Balconies)] = balconies;
    a[F(Feature::Floor)] = floor;
    a[F(Feature::Maintenance)] = maintenance;
    a[F(Feature::Bathrooms)] = bathrooms;
    a[F(Feature::Lift)] = lift ? 1 : 0;
    return a;
}

// "6.7 Prima esemplificazione del MCA - Valore di mercato di un appartamento
// in condominio", the first worked MCA example of the Stimatrix manual of the
// Market Comparison Approach (Simonotti's method), produced with STIMATRIX
// forExcel; its tables "Tabella dei dati", "Tabella Prezzi Marginali" and
// "Tabella di valutazione" are reproduced below.
//
// The source gives each sale's date as months before the valuation (A 4,
// B 2, C 4) with an "annual devaluation rate of the price" of 0,02, and
// adjusts by (0 − months) × P·0,02/12. Our rule asks for a falling market to
// be typed as a negative rate and adjusts by P·i/12 × months: i = −2 % gives
// the same adjustments with the opposite sign on the marginal price. The
// months are placed here as sales in 09/2023, 11/2023 and 09/2023 valued in
// 01/2024. The floor ratio 0,005 is r = 0,5 %.
Input stimatrixExample()
{
    Input in;
    in.valuation = {1, 2024};
    in.subject = amounts(117.10, 11.00, 3, 2, 1);
    in.comparables = {
        {260000, {9, 2023}, amounts(120.40, 12.00, 4, 1, 1)},
        {295000, {11, 2023}, amounts(131.00, 11.30, 2, 2, 2)},
        {310000, {9, 2023}, amounts(138.50, 13.00, 4, 2, 2)},
    };
    Parameters &p = in.parameters;
    p.annualChange = -2;
    p.ratios = {0.30, 0.25, 0.50, 0.10};
    p.floorRatio = 0.5;
    p.maintenanceStep = 12000;
    p.bathroomCost = 10000;
    p.bathroomAge = 8;
    p.bathroomLife = 10;
    return in;
}

// Three comparables equal to the subject but for what a test changes; the
// subject: 100 m², floor 2, state 3, one bathroom, no lift.
Input plainCase()
{
    Input in;
    in.valuation = {6, 2024};
    in.subject = amounts(100, 0, 2, 3, 1);
    for (int j = 0; j < 3; ++j)
        in.comparables.append({200000, {6, 2024}, amounts(100, 0, 2, 3, 1)});
    return in;
}

QString money(double v)
{
    return FormattaImporto(v);
}

} // namespace

class TestMca : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void publishedExampleTables_data();
    void publishedExampleTables();
    void publishedExampleResult();
    void dateAdjustment_data();
    void dateAdjustment();
    void floorAdjustment_data();
    void floorAdjustment();
    void bathroomPrice_data();
    void bathroomPrice();
    void maintenanceAndLift();
    void secondarySurfacesFollowTheMainPrice();
    void divergenceThreshold_data();
    void divergenceThreshold();
    void divergenceMeetingTheThreshold_data();
    void divergenceMeetingTheThreshold();
    void roundHalfUp_data();
    void roundHalfUp();
    void valueRoundsTheMeanHalfUp();
    void correctedPriceMustBePositive();
    void correctedPriceJudgedToTheCent_data();
    void correctedPriceJudgedToTheCent();
    void systemExact();
    void systemOverdetermined();
    void systemMainSurfaceCarriesTheSecondary();
    void systemRefused_data();
    void systemRefused();
};

void TestMca::publishedExampleTables_data()
{
    QTest::addColumn<int>("comparable");
    QTest::addColumn<int>("feature");
    QTest::addColumn<QString>("marginal"); // as the source prints it
    QTest::addColumn<QString>("adjustment");
    // Comparable A.
    QTest::newRow("A date") << 0 << F(Feature::Date) << "433,33" << "-1.733,33";
    QTest::newRow("A S1") << 0 << F(Feature::MainSurface) << "2.096,77" << "-6.919,35";
    QTest::newRow("A balconies") << 0 << F(Feature::Balconies) << "629,03" << "-629,03";
    QTest::newRow("A bathrooms") << 0 << F(Feature::Bathrooms) << "2.000,00" << "0,00";
    QTest::newRow("A floor") << 0 << F(Feature::Floor) << "1.293,53" << "-1.293,53";
    QTest::newRow("A maintenance") << 0 << F(Feature::Maintenance) << "12.000,00" << "12.000,00";
    // Comparable B.
    QTest::newRow("B date") << 1 << F(Feature::Date) << "491,67" << "-983,33";
    QTest::newRow("B S1") << 1 << F(Feature::MainSurface) << "2.096,77" << "-29.145,16";
    QTest::newRow("B balconies") << 1 << F(Feature::Balconies) << "629,03" << "-188,71";
    QTest::newRow("B bathrooms") << 1 << F(Feature::Bathrooms) << "2.000,00" << "-2.000,00";
    QTest::newRow("B floor") << 1 << F(Feature::Floor) << "1.475,00" << "1.475,00";
    QTest::newRow("B maintenance") << 1 << F(Feature::Maintenance) << "12.000,00" << "0,00";
    // Comparable C: the source's page gives its marginal prices and its date
    // adjustment.
    QTest::newRow("C date") << 2 << F(Feature::Date) << "516,67" << "-2.066,67";
    QTest::newRow("C S1") << 2 << F(Feature::MainSurface) << "2.096,77" << "";
    QTest::newRow("C balconies") << 2 << F(Feature::Balconies) << "629,03" << "";
    QTest::newRow("C bathrooms") << 2 << F(Feature::Bathrooms) << "2.000,00" << "";
    QTest::newRow("C floor") << 2 << F(Feature::Floor) << "1.542,29" << "";
    QTest::newRow("C maintenance") << 2 << F(Feature::Maintenance) << "12.000,00" << "";
}

void TestMca::publishedExampleTables()
{
    QFETCH(int, comparable);
    QFETCH(int, feature);
    QFETCH(QString, marginal);
    QFETCH(QString, adjustment);
    const Outcome o = compute(stimatrixExample());
    QVERIFY(o.hasValue());
    const Adjustment &a = o.result->comparables[comparable].adjustments[std::size_t(feature)];
    // The date's price carries the sign of the rate here (see above).
    const double printedPrice = feature == F(Feature::Date) ? -a.marginalPrice : a.marginalPrice;
    QCOMPARE(money(printedPrice), marginal);
    if (!adjustment.isEmpty())
        QCOMPARE(money(a.amount), adjustment);
}

void TestMca::publishedExampleResult()
{
    const Outcome o = compute(stimatrixExample());
    QVERIFY(o.hasValue());
    const Result &r = *o.result;
    // Tabella dei dati: the commercial surfaces SUP.
    QCOMPARE(money(r.subjectCommercialSurface), QStringLiteral("120,40"));
    QCOMPARE(money(r.comparables[0].commercialSurface), QStringLiteral("124,00"));
    QCOMPARE(money(r.comparables[1].commercialSurface), QStringLiteral("134,39"));
    QCOMPARE(money(r.comparables[2].commercialSurface), QStringLiteral("142,40"));
    // The main surface's price is A's unit price, the lowest.
    QCOMPARE(r.cheapest, 0);
    // Corrected prices printed by the source for A and B.
    QCOMPARE(money(r.comparables[0].corrected), QStringLiteral("261.424,75"));
    QCOMPARE(money(r.comparables[1].corrected), QStringLiteral("264.157,80"));
    // What our rules give for the rest (the source's page shown to us stops
    // at C's date adjustment): C = 310.000 − 2.066,67 − 21,40 × 2.096,77 −
    // 2 × 629,03 − 2.000 − 1.542,29, the mean of the three, rounded half up,
    // and the divergence (264.157,80 − 258.262,01) / 258.262,01.
    QCOMPARE(money(r.comparables[2].corrected), QStringLiteral("258.262,01"));
    QCOMPARE(r.value, 261282.0);
    QCOMPARE(money(r.unitValue), QStringLiteral("2.170,12"));
    QCOMPARE(money(r.divergence), QStringLiteral("2,28"));
    QVERIFY(!r.beyondThreshold);
    QVERIFY(!r.systemUsed);
    // Nothing is rounded on the way: A's corrected price is the exact sum.
    const double exactA = 260000 - 260000 * 0.02 / 12 * 4 - 260000 / 124.0 * 3.3 - 0.3 * 260000 / 124.0
                          - 260000 * 0.005 / 1.005 + 12000;
    QVERIFY(std::fabs(r.comparables[0].corrected - exactA) < 1e-6);
}

void TestMca::dateAdjustment_data()
{
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("saleMonth");
    QTest::addColumn<int>("saleYear");
    QTest::addColumn<double>("expectedPrice"); // per month, for a price of 240.000
    QTest::addColumn<double>("expectedMonths");
    // Valued in 06/2024.
    QTest::newRow("rising market") << 3.0 << 1 << 2024 << 600.0 << 5.0;
    QTest::newRow("falling market") << -3.0 << 1 << 2024 << -600.0 << 5.0;
    QTest::newRow("across the year") << 6.0 << 11 << 2023 << 1200.0 << 7.0;
    QTest::newRow("same month") << 6.0 << 6 << 2024 << 1200.0 << 0.0;
    QTest::newRow("no change") << 0.0 << 6 << 2020 << 0.0 << 48.0;
}

void TestMca::dateAdjustment()
{
    QFETCH(double, rate);
    QFETCH(int, saleMonth);
    QFETCH(int, saleYear);
    QFETCH(double, expectedPrice);
    QFETCH(double, expectedMonths);
    Input in = plainCase();
    in.parameters.annualChange = rate;
    in.comparables[0].price = 240000;
    in.comparables[0].sale = {saleMonth, saleYear};
    const Outcome o = compute(in);
    QVERIFY(o.result);
    const Adjustment &a = o.result->comparables[0].adjustments[F(Feature::Date)];
    QCOMPARE(a.marginalPrice, expectedPrice);
    QCOMPARE(a.difference, expectedMonths);
    QCOMPARE(a.amount, expectedPrice * expectedMonths);
}

void TestMca::floorAdjustment_data()
{
    QTest::addColumn<double>("subjectFloor");
    QTest::addColumn<double>("comparableFloor");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<double>("price");
    QTest::addColumn<double>("expectedPrice");
    QTest::addColumn<double>("expectedAdjustment");
    QTest::newRow("comparable lower: P·r") << 3.0 << 1.0 << 2.0 << 200000.0 << 4000.0 << 8000.0;
    QTest::newRow("comparable higher: P·r/(1+r)") << 1.0 << 3.0 << 2.0 << 204000.0 << 4000.0 << -8000.0;
    QTest::newRow("ground floor subject") << 0.0 << 4.0 << 5.0 << 210000.0 << 10000.0 << -40000.0;
    QTest::newRow("same floor") << 2.0 << 2.0 << 2.0 << 200000.0 << 4000.0 << 0.0;
}

void TestMca::floorAdjustment()
{
    QFETCH(double, subjectFloor);
    QFETCH(double, comparableFloor);
    QFETCH(double, ratio);
    QFETCH(double, price);
    QFETCH(double, expectedPrice);
    QFETCH(double, expectedAdjustment);
    Input in = plainCase();
    in.parameters.floorRatio = ratio;
    in.subject[F(Feature::Floor)] = subjectFloor;
    for (Comparable &c : in.comparables)
        c.amounts[F(Feature::Floor)] = subjectFloor;
    in.comparables[0].price = price;
    in.comparables[0].amounts[F(Feature::Floor)] = comparableFloor;
    const Outcome o = compute(in);
    QVERIFY(o.result);
    const Adjustment &a = o.result->comparables[0].adjustments[F(Feature::Floor)];
    QVERIFY(std::fabs(a.marginalPrice - expectedPrice) < 1e-9);
    QVERIFY(std::fabs(a.amount - expectedAdjustment) < 1e-9);
}

void TestMca::bathroomPrice_data()
{
    QTest::addColumn<double>("cost");
    QTest::addColumn<double>("age");
    QTest::addColumn<double>("life");
    QTest::addColumn<double>("expected");
    QTest::newRow("new") << 12000.0 << 0.0 << 20.0 << 12000.0;
    QTest::newRow("half its life") << 12000.0 << 10.0 << 20.0 << 6000.0;
    QTest::newRow("at the end of its life") << 12000.0 << 20.0 << 20.0 << 0.0;
    QTest::newRow("older than its life: kept at 0") << 12000.0 << 30.0 << 20.0 << 0.0;
    QTest::newRow("no cost") << 0.0 << 5.0 << 0.0 << 0.0;
}

void TestMca::bathroomPrice()
{
    QFETCH(double, cost);
    QFETCH(double, age);
    QFETCH(double, life);
    QFETCH(double, expected);
    Input in = plainCase();
    in.parameters.bathroomCost = cost;
    in.parameters.bathroomAge = age;
    in.parameters.bathroomLife = life;
    in.subject[F(Feature::Bathrooms)] = 2;
    const Outcome o = compute(in);
    QVERIFY(o.result);
    const Adjustment &a = o.result->comparables[0].adjustments[F(Feature::Bathrooms)];
    QCOMPARE(a.marginalPrice, expected);
    QCOMPARE(a.amount, expected); // one bathroom less than the subject
}

void TestMca::maintenanceAndLift()
{
    Input in = plainCase();
    in.parameters.maintenanceStep = 7500;
    in.parameters.liftPrice = 9000;
    in.subject[F(Feature::Maintenance)] = 4;
    in.subject[F(Feature::Lift)] = 1;
    in.comparables[1].amounts[F(Feature::Maintenance)] = 1;
    const Outcome o = compute(in);
    QVERIFY(o.hasValue());
    const ComparableResult &c = o.result->comparables[1];
    QCOMPARE(c.adjustments[F(Feature::Maintenance)].amount, 3 * 7500.0);
    QCOMPARE(c.adjustments[F(Feature::Lift)].amount, 9000.0);
    QCOMPARE(c.corrected, 200000 + 22500.0 + 9000.0);
}

void TestMca::secondarySurfacesFollowTheMainPrice()
{
    Input in = plainCase();
    in.parameters.ratios = {0.30, 0.25, 0.50, 0.10};
    Amounts &s = in.subject;
    s[F(Feature::Balconies)] = 10;
    s[F(Feature::Cellar)] = 8;
    s[F(Feature::Garage)] = 14;
    s[F(Feature::Garden)] = 50;
    // Sc of each comparable: 100 m², no secondary surfaces; 2.000 €/m².
    const Outcome o = compute(in);
    QVERIFY(o.hasValue());
    const Result &r = *o.result;
    QCOMPARE(r.subjectCommercialSurface, 100 + 3 + 2 + 7 + 5.0);
    QCOMPARE(r.mainSurfacePrice, 2000.0);
    const auto &adj = r.comparables[0].adjustments;
    QCOMPARE(adj[F(Feature::Balconies)].marginalPrice, 600.0);
    QCOMPARE(adj[F(Feature::Cellar)].amount, 500.0 * 8);
    QCOMPARE(adj[F(Feature::Garage)].amount, 1000.0 * 14);
    QCOMPARE(adj[F(Feature::Garden)].amount, 200.0 * 50);
    QCOMPARE(r.value, 200000 + 6000 + 4000 + 14000 + 10000.0);
    QCOMPARE(r.unitValue, mca::roundHalfUp(234000 / 117.0, 2));
}

void TestMca::divergenceThreshold_data()
{
    QTest::addColumn<double>("highest");
    QTest::addColumn<double>("threshold");
    QTest::addColumn<bool>("beyond");
    // The other two sell for 200.000: (highest − 200.000) / 200.000.
    QTest::newRow("within") << 215000.0 << 10.0 << false;
    QTest::newRow("exactly at the threshold") << 220000.0 << 10.0 << false;
    QTest::newRow("just beyond") << 220002.0 << 10.0 << true;
    QTest::newRow("zero threshold, equal prices") << 200000.0 << 0.0 << false;
}

void TestMca::divergenceThreshold()
{
    QFETCH(double, highest);
    QFETCH(double, threshold);
    QFETCH(bool, beyond);
    Input in = plainCase();
    in.parameters.threshold = threshold;
    in.comparables[2].price = highest;
    // Same surfaces: the main price is the lowest unit price, 2.000 €/m², and
    // no adjustment changes a price.
    const Outcome o = compute(in);
    QVERIFY(o.hasValue());
    QCOMPARE(o.result->divergence, (highest - 200000) / 200000 * 100);
    QCOMPARE(o.result->beyondThreshold, beyond);
}

void TestMca::divergenceMeetingTheThreshold_data()
{
    QTest::addColumn<double>("secondSurface");
    QTest::addColumn<double>("threshold");
    QTest::addColumn<bool>("beyond");
    QTest::addColumn<QString>("shown");
    // Subject and comparables of 71,90 m² selling for 71.900 € (1.000 €/m²),
    // but the second of 64,71 m²: it gains 7,19 m² × 1.000 € = 7.190 €, a
    // tenth of 71.900. In binary the ratio is 10.00000000000002.
    QTest::newRow("exactly at the threshold") << 64.71 << 10.0 << false << "10,00";
    QTest::newRow("below a lower threshold") << 64.71 << 9.99 << true << "10,00";
    QTest::newRow("a little more than a tenth") << 64.70 << 10.0 << true << "10,01";
}

void TestMca::divergenceMeetingTheThreshold()
{
    QFETCH(double, secondSurface);
    QFETCH(double, threshold);
    QFETCH(bool, beyond);
    QFETCH(QString, shown);
    Input in;
    in.valuation = {6, 2024};
    in.subject = amounts(71.90, 0, 2, 3, 1);
    in.comparables = {{71900, {6, 2024}, amounts(71.90, 0, 2, 3, 1)},
                      {71900, {6, 2024}, amounts(secondSurface, 0, 2, 3, 1)},
                      {75000, {6, 2024}, amounts(71.90, 0, 2, 3, 1)}};
    in.parameters.threshold = threshold;
    const Outcome o = compute(in);
    QVERIFY(o.hasValue());
    QCOMPARE(money(o.result->divergence), shown);
    QCOMPARE(o.result->beyondThreshold, beyond);
}

void TestMca::roundHalfUp_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("expected");
    QTest::newRow("half up") << 261281.5 << 0 << 261282.0;
    QTest::newRow("below half") << 261281.49 << 0 << 261281.0;
    QTest::newRow("cent half up") << 2170.125 << 2 << 2170.13;
    // 1.005 is held as 1.00499999999999989…; its 15-digit form is 1.005.
    QTest::newRow("binary just below half") << 1.005 << 2 << 1.01;
    QTest::newRow("third of a euro") << 100.0 / 3.0 << 2 << 33.33;
}

void TestMca::roundHalfUp()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(double, expected);
    QCOMPARE(mca::roundHalfUp(value, decimals), expected);
}

void TestMca::valueRoundsTheMeanHalfUp()
{
    Input in = plainCase();
    in.comparables[0].price = 200000;
    in.comparables[1].price = 200000;
    in.comparables[2].price = 200001.5; // mean 200.000,50
    // The main price is 2.000 €/m² and the surfaces are equal: no adjustment.
    const Outcome o = compute(in);
    QVERIFY(o.hasValue());
    QCOMPARE(o.result->mean, 200000.5);
    QCOMPARE(o.result->value, 200001.0);
    QCOMPARE(o.result->unitValue, 2000.01);
}

void TestMca::correctedPriceMustBePositive()
{
    Input in = plainCase();
    in.parameters.maintenanceStep = 100000;
    in.subject[F(Feature::Maintenance)] = 1;
    in.comparables[1].amounts[F(Feature::Maintenance)] = 5; // 200.000 − 4 × 100.000
    const Outcome o = compute(in);
    QVERIFY(!o.hasValue());
    QVERIFY(o.result); // the tables, so the user sees why
    QCOMPARE(o.issues.size(), 3); // every comparable: 200.000 − 2 × 100.000 is zero too
    QCOMPARE(o.issues[1].place, Place::cell(2, Row::Price));
    QVERIFY(o.issues[1].message.contains(QStringLiteral("-200.000,00 €")));
    QCOMPARE(o.result->value, 0.0);
}

void TestMca::correctedPriceJudgedToTheCent_data()
{
    QTest::addColumn<double>("price");
    QTest::addColumn<double>("annualChange");
    QTest::addColumn<int>("monthsBefore");
    QTest::addColumn<QString>("corrected"); // as the tables show it
    QTest::addColumn<bool>("refused");
    // The first comparable sold monthsBefore the valuation, the others in its
    // month: −60 % a year over 20 months takes the whole price away, leaving
    // 1,455e-11 € of binary noise.
    QTest::newRow("taken away whole") << 100137.0 << -60.0 << 20 << "0,00" << true;
    QTest::newRow("taken away whole, over two years") << 100137.0 << -50.0 << 24 << "0,00" << true;
    QTest::newRow("less than a cent left") << 0.08 << -60.0 << 19 << "0,00" << true;
    QTest::newRow("a twentieth left") << 100137.0 << -60.0 << 19 << "5.006,85" << false;
}

void TestMca::correctedPriceJudgedToTheCent()
{
    QFETCH(double, price);
    QFETCH(double, annualChange);
    QFETCH(int, monthsBefore);
    QFETCH(QString, corrected);
    QFETCH(bool, refused);
    Input in = plainCase();
    in.parameters.annualChange = annualChange;
    in.comparables[0].price = price;
    in.comparables[0].sale = {6 - monthsBefore % 12, 2024 - monthsBefore / 12};
    if (in.comparables[0].sale.month < 1) {
        in.comparables[0].sale.month += 12;
        in.comparables[0].sale.year -= 1;
    }
    in.comparables[1].price = in.comparables[2].price = 255000;
    QCOMPARE(in.comparables[0].sale.monthsTo(in.valuation), monthsBefore);
    const Outcome o = compute(in);
    QVERIFY(o.result);
    QCOMPARE(money(o.result->comparables[0].corrected), corrected);
    QCOMPARE(o.hasValue(), !refused);
    if (refused) {
        QCOMPARE(o.issues.size(), 1);
        QCOMPARE(o.issues[0].place, Place::cell(1, Row::Price));
        QVERIFY2(o.issues[0].message.contains(QStringLiteral("risulta di 0,00 €")), qPrintable(o.issues[0].message));
        QCOMPARE(o.result->value, 0.0);
    } else {
        QVERIFY(o.issues.isEmpty());
        QCOMPARE(money(o.result->minCorrected), corrected);
    }
}

void TestMca::systemExact()
{
    // The market: V = 250.000 and 4.000 € per floor, 6.000 € per step of
    // maintenance. Three comparables, three unknowns (V and two prices).
    Input in;
    in.valuation = {6, 2024};
    in.subject = amounts(100, 0, 2, 3, 1);
    const double floors[] = {0, 4, 1};
    const double states[] = {3, 2, 5};
    for (int j = 0; j < 3; ++j) {
        const double price = 250000 - 4000 * (2 - floors[j]) - 6000 * (3 - states[j]);
        in.comparables.append({price, {6, 2024}, amounts(100, 0, floors[j], states[j], 1)});
    }
    in.parameters.unknown[F(Feature::Floor)] = true;
    in.parameters.unknown[F(Feature::Maintenance)] = true;
    const Outcome o = compute(in);
    QVERIFY(o.hasValue());
    const Result &r = *o.result;
    QVERIFY(r.systemUsed);
    QCOMPARE(r.systemStatus, SystemSolution::Status::Exact);
    QVERIFY(std::fabs(r.systemValue - 250000) < 1e-6);
    QVERIFY(std::fabs(*r.estimatedPrices[F(Feature::Floor)] - 4000) < 1e-6);
    QVERIFY(std::fabs(*r.estimatedPrices[F(Feature::Maintenance)] - 6000) < 1e-6);
    QVERIFY(!r.estimatedPrices[F(Feature::Date)]);
    for (const ComparableResult &c : r.comparables) {
        QVERIFY(std::fabs(c.corrected - 250000) < 1e-6);
        QVERIFY(std::fabs(c.residual) < 1e-6);
        QVERIFY(std::fabs(c.adjustments[F(Feature::Floor)].marginalPrice - 4000) < 1e-6);
    }
    QCOMPARE(r.value, 250000.0);
    QCOMPARE(r.divergence < 1e-9, true);
}

void TestMca::systemOverdetermined()
{
    // Four comparables, the floor's price unknown: V − p·dⱼ = Pⱼ with the
    // floor differences dⱼ = 2 − floorⱼ. By the normal equations of the line
    // Pⱼ = V − p·dⱼ through (d, P) = (2, 193.000), (1, 197.000), (0, 200.000),
    // (−1, 206.000): d̄ = 0,5, P̄ = 199.000, Σ(d − d̄)(P − P̄) = −21.000,
    // Σ(d − d̄)² = 5, so p = 4.200 and V = 199.000 + 0,5 × 4.200 = 201.100.
    Input in;
    in.valuation = {6, 2024};
    in.subject = amounts(100, 0, 2, 3, 1);
    const double floors[] = {0, 1, 2, 3};
    const double prices[] = {193000, 197000, 200000, 206000};
    for (int j = 0; j < 4; ++j)
        in.comparables.append({prices[j], {6, 2024}, amounts(100, 0, floors[j], 3, 1)});
    in.parameters.unknown[F(Feature::Floor)] = true;
    const Outcome o = compute(in);
    QVERIFY(o.hasValue());
    const Result &r = *o.result;
    QCOMPARE(r.systemStatus, SystemSolution::Status::LeastSquares);
    QVERIFY(std::fabs(*r.estimatedPrices[F(Feature::Floor)] - 4200) < 1e-6);
    QVERIFY(std::fabs(r.systemValue - 201100) < 1e-6);
    // Corrected prices Pⱼ + p·dⱼ (201.400, 201.200, 200.000, 201.800) and their
    // residuals from V (300, 100, −1.100, 700).
    const double corrected[] = {193000 + 8400, 197000 + 4200, 200000, 206000 - 4200};
    double sum = 0;
    for (int j = 0; j < 4; ++j) {
        QVERIFY(std::fabs(r.comparables[j].corrected - corrected[j]) < 1e-6);
        QVERIFY(std::fabs(r.comparables[j].residual - (corrected[j] - 201100)) < 1e-6);
        sum += r.comparables[j].residual;
    }
    QVERIFY(std::fabs(sum) < 1e-6);
    QCOMPARE(r.value, 201100.0); // the mean of the corrected prices is V
}

void TestMca::systemMainSurfaceCarriesTheSecondary()
{
    // With S₁'s price unknown the balconies are worth π times the estimated
    // price: the market here is 2.500 €/m² of S₁ and 750 €/m² of balcony.
    Input in;
    in.valuation = {6, 2024};
    in.subject = amounts(100, 10, 2, 3, 1);
    const double mains[] = {90, 110, 100};
    const double balconies[] = {10, 0, 20};
    for (int j = 0; j < 3; ++j) {
        const double price = 257500 - 2500 * (100 - mains[j]) - 750 * (10 - balconies[j]);
        in.comparables.append({price, {6, 2024}, amounts(mains[j], balconies[j], 2, 3, 1)});
    }
    in.parameters.unknown[F(Feature::MainSurface)] = true;
    const Outcome o = compute(in);
    QVERIFY(o.hasValue());
    QVERIFY(std::fabs(o.result->mainSurfacePrice - 2500) < 1e-6);
    QCOMPARE(o.result->cheapest, -1);
    QVERIFY(std::fabs(o.result->comparables[2].adjustments[F(Feature::Balconies)].marginalPrice - 750) < 1e-6);
    QCOMPARE(o.result->value, 257500.0);
}

void TestMca::systemRefused_data()
{
    QTest::addColumn<QVector<int>>("unknown");
    QTest::addColumn<bool>("sameFloors");
    QTest::addColumn<QString>("message");
    QTest::newRow("four unknowns, three comparables")
        << QVector<int>{F(Feature::Floor), F(Feature::Maintenance), F(Feature::Date)} << false
        << "ha 4 incognite (il valore e 3 prezzi marginali) ma solo 3 equazioni";
    QTest::newRow("every comparable on one floor") << QVector<int>{F(Feature::Floor)} << true
                                                   << "non ha una soluzione unica";
}

void TestMca::systemRefused()
{
    QFETCH(QVector<int>, unknown);
    QFETCH(bool, sameFloors);
    QFETCH(QString, message);
    Input in = plainCase();
    for (int j = 0; j < 3; ++j) {
        in.comparables[j].amounts[F(Feature::Floor)] = sameFloors ? 4 : j;
        in.comparables[j].amounts[F(Feature::Maintenance)] = 2 + j;
        in.comparables[j].sale = {1 + j, 2024};
    }
    for (int f : unknown)
        in.parameters.unknown[std::size_t(f)] = true;
    const Outcome o = compute(in);
    QVERIFY(!o.hasValue());
    QVERIFY(!o.result);
    QCOMPARE(o.issues.size(), 1);
    QCOMPARE(o.issues.first().place, Place::unknowns());
    QVERIFY2(o.issues.first().message.contains(message), qPrintable(o.issues.first().message));
}

QTEST_APPLESS_MAIN(TestMca)
#include "tst_mca.moc"
