// SPDX-License-Identifier: GPL-2.0-or-later
// The OMI band on a surface, the valore normale with its coefficients K1, K2
// and K, and where a value falls on the band.
#include "valuation/omiband.h"

#include <QTest>

using namespace brevan::omiband;

class TestOmiBand : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void k1_data();
    void k1();
    void k2FromQuota_data();
    void k2FromQuota();
    void valoreNormale_data();
    void valoreNormale();
    void unusableRanges_data();
    void unusableRanges();
    void placement_data();
    void placement();
};

void TestOmiBand::k1_data()
{
    QTest::addColumn<double>("surface");
    QTest::addColumn<double>("k1");
    QTest::newRow("small") << 30.0 << 1.0;
    QTest::newRow("45") << 45.0 << 1.0;
    QTest::newRow("just over 45") << 45.01 << 0.8;
    QTest::newRow("70") << 70.0 << 0.8;
    QTest::newRow("just over 70") << 70.01 << 0.5;
    QTest::newRow("120") << 120.0 << 0.5;
    QTest::newRow("just over 120") << 120.01 << 0.3;
    QTest::newRow("150") << 150.0 << 0.3;
    QTest::newRow("just over 150") << 150.01 << 0.0;
    QTest::newRow("large") << 400.0 << 0.0;
}

void TestOmiBand::k1()
{
    QFETCH(double, surface);
    QFETCH(double, k1);
    QCOMPARE(K1(surface), k1);
}

void TestOmiBand::k2FromQuota_data()
{
    QTest::addColumn<QString>("quota");
    QTest::addColumn<double>("k2");
    QTest::newRow("ground floor") << "Piano terra" << 0.2;
    QTest::newRow("first") << "Primo piano" << 0.4;
    QTest::newRow("intermediate") << "Piano intermedio" << 0.5;
    QTest::newRow("top") << "Ultimo piano" << 0.8;
    QTest::newRow("penthouse") << "Piano attico" << 1.0;
    QTest::newRow("nothing chosen") << "" << -1.0;
    QTest::newRow("no such choice") << "Piano seminterrato" << -1.0;
}

void TestOmiBand::k2FromQuota()
{
    QFETCH(QString, quota);
    QFETCH(double, k2);
    const std::optional<int> index = floorClassOfQuota(quota);
    if (k2 < 0) {
        QVERIFY(!index);
        return;
    }
    QVERIFY(index);
    QCOMPARE(floorClasses().at(*index).k2, k2);
}

void TestOmiBand::valoreNormale_data()
{
    QTest::addColumn<double>("surface");
    QTest::addColumn<double>("k2");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("k");
    QTest::addColumn<double>("value");
    // 85 m² (K1 0,5) on an intermediate floor (K2 0,5): K = (0,5 + 1,5) / 4 = 0,5;
    // 1.800 + 600 × 0,5 = 2.100 €/m², × 85 = 178.500 €.
    QTest::newRow("85 m², intermediate floor") << 85.0 << 0.5 << 1800.0 << 2400.0 << 0.5 << 178500.0;
    // 40 m² (K1 1) on the top floor (K2 0,8): K = (1 + 2,4) / 4 = 0,85;
    // 1.000 + 500 × 0,85 = 1.425 €/m², × 40 = 57.000 €.
    QTest::newRow("40 m², top floor") << 40.0 << 0.8 << 1000.0 << 1500.0 << 0.85 << 57000.0;
    // 160 m² (K1 0) in a basement (K2 0): K = 0, the minimum of the range.
    QTest::newRow("160 m², basement") << 160.0 << 0.0 << 1000.0 << 1500.0 << 0.0 << 160000.0;
    // 30 m² penthouse: K = 1, the maximum.
    QTest::newRow("30 m², penthouse") << 30.0 << 1.0 << 1000.0 << 1500.0 << 1.0 << 45000.0;
    // A range of one figure gives that figure whatever K.
    QTest::newRow("min equal to max") << 100.0 << 0.4 << 1200.0 << 1200.0 << 0.425 << 120000.0;
}

void TestOmiBand::valoreNormale()
{
    QFETCH(double, surface);
    QFETCH(double, k2);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(double, k);
    QFETCH(double, value);
    const double kk = K(K1(surface), k2);
    QVERIFY2(qAbs(kk - k) < 1e-12, qPrintable(QString::number(kk, 'g', 17)));
    const std::optional<double> v = brevan::omiband::valoreNormale({min, max}, surface, kk);
    QVERIFY(v);
    QVERIFY2(qAbs(*v - value) < 1e-6, qPrintable(QString::number(*v, 'g', 17)));
    const std::optional<Band> b = band({min, max}, surface);
    QVERIFY(b);
    QCOMPARE(b->low, surface * min);
    QCOMPARE(b->high, surface * max);
    QVERIFY(*v >= b->low - 1e-6 && *v <= b->high + 1e-6);
}

void TestOmiBand::unusableRanges_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("surface");
    QTest::newRow("min above max") << 2000.0 << 1500.0 << 80.0;
    QTest::newRow("zero min") << 0.0 << 1500.0 << 80.0;
    QTest::newRow("zero max") << 1000.0 << 0.0 << 80.0;
    QTest::newRow("negative") << -1000.0 << 1500.0 << 80.0;
    QTest::newRow("zero surface") << 1000.0 << 1500.0 << 0.0;
    QTest::newRow("negative surface") << 1000.0 << 1500.0 << -5.0;
}

void TestOmiBand::unusableRanges()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(double, surface);
    QVERIFY(!band({min, max}, surface));
    QVERIFY(!brevan::omiband::valoreNormale({min, max}, surface, 0.5));
}

void TestOmiBand::placement_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<QString>("text");
    QTest::newRow("inside") << 150000.0 << 100000.0 << 200000.0 << "all'interno della fascia";
    QTest::newRow("at the low end") << 100000.0 << 100000.0 << 200000.0 << "all'interno della fascia";
    QTest::newRow("at the high end") << 200000.0 << 100000.0 << 200000.0 << "all'interno della fascia";
    // 64,71 m² × 1.000 €/m² is 64709,99999999999 in binary and 71,9 × 1.350
    // is 97065,00000000001: still the ends of the band.
    QTest::newRow("at a high end binary misses") << 64710.0 << 50000.0 << 64.71 * 1000.0
                                                 << "all'interno della fascia";
    QTest::newRow("at a low end binary misses") << 97065.0 << 71.9 * 1350.0 << 120000.0
                                                << "all'interno della fascia";
    QTest::newRow("below") << 90000.0 << 100000.0 << 200000.0 << "sotto la fascia: scarto 10,00 %";
    QTest::newRow("a cent below") << 99999.99 << 100000.0 << 200000.0 << "sotto la fascia: scarto inferiore a 0,01 %";
    QTest::newRow("above") << 230000.0 << 100000.0 << 200000.0 << "sopra la fascia: scarto 15,00 %";
    QTest::newRow("far above") << 1000000.0 << 100000.0 << 200000.0 << "sopra la fascia: scarto 400,00 %";
}

void TestOmiBand::placement()
{
    QFETCH(double, value);
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(QString, text);
    QCOMPARE(placementText(place(value, Band{low, high})), text);
}

QTEST_APPLESS_MAIN(TestOmiBand)
#include "tst_omiband.moc"
