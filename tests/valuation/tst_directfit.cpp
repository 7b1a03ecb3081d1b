// SPDX-License-Identifier: GPL-2.0-or-later
// The direct comparison explained: R², residuals and the value without each
// comparable, on lines worked out by hand, and always the same line as the
// results page's.
#include "valuation/directfit.h"

#include <QTest>

#include <cmath>

using namespace brevan;

namespace {

// A complete comparable whose four coefficients add up to x.
ComparableRow row(const QString &address, double x, const QString &cost)
{
    ComparableRow r;
    r.IndirizzoImmob = address;
    r.NumCivicoImmob = QStringLiteral("1");
    r.CdCarattLocalizzaz = QString::number(x - 30).replace(QLatin1Char('.'), QLatin1Char(','));
    r.CdCarattPosizione = QStringLiteral("10");
    r.CdCarattTipologiche = QStringLiteral("10");
    r.CdCarattProduttive = QStringLiteral("10");
    r.CostoUnitario = cost;
    return r;
}

bool near(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(b));
}

} // namespace

class TestDirectFit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void twoComparablesOnALine();
    void threeComparables();
    void sameLineAsTheResultsPage();
    void oneComparable();
};

void TestDirectFit::twoComparablesOnALine()
{
    // (x = 50, 1.000.000) and (x = 60, 1.200.000), subject at 55: 1.100.000.
    const FitExplanation e = explainDirectComparison(
        {row(QStringLiteral("Via A"), 50, QStringLiteral("1.000.000,00")),
         row(QStringLiteral("Via B"), 60, QStringLiteral("1.200.000,00"))},
        55);
    QVERIFY(near(e.value, 1100000));
    QVERIFY(e.rSquared);
    QVERIFY(near(*e.rSquared, 1));
    QCOMPARE(e.points.size(), 2);
    QCOMPARE(e.points[0].address, QStringLiteral("Via A 1"));
    QVERIFY(std::fabs(e.points[0].residual) < 1e-6);
    // Without one of two, the line is the other's cost, whatever x is.
    QVERIFY(near(*e.points[0].valueWithout, 1200000));
    QVERIFY(near(*e.points[1].valueWithout, 1000000));
}

void TestDirectFit::threeComparables()
{
    // (0, 1), (1, 3), (2, 2) shifted to x = 50, 51, 52 and costs in thousands:
    // the line 1.500 + 500·(x − 50), R² = 1 − 1,5 / 2 = 0,25, residuals
    // −500, 1.000, −500. Without the first: slope −1.000 through (51, 3.000),
    // (52, 2.000); at 53: 1.000. Without the second: the line through
    // (50, 1.000), (52, 2.000); at 53: 2.500. Without the third: through
    // (50, 1.000), (51, 3.000); at 53: 7.000.
    const FitExplanation e = explainDirectComparison(
        {row(QStringLiteral("Via A"), 50, QStringLiteral("1.000")), row(QStringLiteral("Via B"), 51, QStringLiteral("3.000")),
         row(QStringLiteral("Via C"), 52, QStringLiteral("2.000"))},
        53);
    QVERIFY(near(e.slope, 500));
    QVERIFY(near(e.value, 1500 + 500 * 3));
    QVERIFY(near(*e.rSquared, 0.25));
    const double residuals[] = {-500, 1000, -500};
    const double without[] = {1000, 2500, 7000};
    for (int i = 0; i < 3; ++i) {
        QVERIFY(near(e.points[i].residual, residuals[i]));
        QVERIFY(near(*e.points[i].valueWithout, without[i]));
    }
}

void TestDirectFit::sameLineAsTheResultsPage()
{
    QList<ComparableRow> rows{row(QStringLiteral("Via A"), 61.25, QStringLiteral("1.850,00")),
                              row(QStringLiteral("Via B"), 64.5, QStringLiteral("2.010,00")),
                              row(QStringLiteral("Via C"), 58, QStringLiteral("1.700,00")),
                              row(QStringLiteral("Via D"), 66.75, QStringLiteral("2.300,00"))};
    // An incomplete row and a row without a cost are left out of both.
    ComparableRow incomplete = row(QStringLiteral("Via E"), 70, QStringLiteral("9.999,00"));
    incomplete.CdCarattProduttive.clear();
    rows.insert(1, incomplete);
    const FitExplanation e = explainDirectComparison(rows, 62.4);
    const DirectComparison d = fitComparables(rows, 62.4, QStringLiteral("100"));
    QCOMPARE(e.points.size(), d.comparables);
    QCOMPARE(e.value, d.value); // the same sums in the same order
    QCOMPARE(e.points[1].row, 2); // table positions, the incomplete one skipped
}

void TestDirectFit::oneComparable()
{
    const FitExplanation e = explainDirectComparison({row(QStringLiteral("Via A"), 50, QStringLiteral("1.500,00"))}, 70);
    QVERIFY(near(e.value, 1500));
    QVERIFY(!e.rSquared); // no variation to explain
    QCOMPARE(e.points.size(), 1);
    QVERIFY(!e.points[0].valueWithout);
}

QTEST_APPLESS_MAIN(TestDirectFit)
#include "tst_directfit.moc"
