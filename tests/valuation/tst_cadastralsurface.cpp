// SPDX-License-Identifier: GPL-2.0-or-later
// The cadastral surface of a residential unit by the rule of DPR 138/98,
// allegato C: each class on both sides of its limits, rooms lower than
// 1,50 m, walls by thickness, villas' gardens and the rounding to the m².
#include "valuation/cadastralsurface.h"

#include <QTest>

using namespace brevan;
using C = CadastralClass;

Q_DECLARE_METATYPE(QVector<brevan::CadastralRow>)

namespace {

CadastralRow row(C cls, double area, double low = 0, double thickness = 0)
{
    CadastralRow r;
    r.cls = cls;
    r.area = area;
    r.lowArea = low;
    r.wallThickness = thickness;
    return r;
}

} // namespace

class TestCadastralSurface : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void surface_data();
    void surface();
    void contributionsFillBandsInRowOrder();
    void rounding_data();
    void rounding();
    void proposals_data();
    void proposals();
    void villaCategories();
    void labelsRoundTrip();
};

void TestCadastralSurface::surface_data()
{
    QTest::addColumn<QVector<CadastralRow>>("rows");
    QTest::addColumn<bool>("villa");
    QTest::addColumn<double>("exact");
    QTest::addColumn<double>("mainSurface");

    QTest::newRow("main rooms whole") << QVector{row(C::Main, 50), row(C::Main, 30)} << false << 80.0 << 80.0;
    QTest::newRow("room partly lower than 1,50 m") << QVector{row(C::Main, 20, 8)} << false << 12.0 << 12.0;
    QTest::newRow("room wholly lower than 1,50 m") << QVector{row(C::Main, 20, 20)} << false << 0.0 << 0.0;
    QTest::newRow("low part larger than the room") << QVector{row(C::Main, 20, 25)} << false << 0.0 << 0.0;
    QTest::newRow("stairs once, as projection") << QVector{row(C::Main, 70), row(C::Stairs, 6)} << false << 76.0
                                                << 76.0;
    QTest::newRow("indirect accessory communicating 50%") << QVector{row(C::IndirectLinked, 10)} << false << 5.0
                                                           << 0.0;
    QTest::newRow("indirect accessory apart 25%") << QVector{row(C::IndirectApart, 10)} << false << 2.5 << 0.0;
    QTest::newRow("balcony below 25 m²") << QVector{row(C::BalconyLinked, 20)} << false << 6.0 << 0.0;
    QTest::newRow("balcony at 25 m²") << QVector{row(C::BalconyLinked, 25)} << false << 7.5 << 0.0;
    QTest::newRow("balcony beyond 25 m² at 10%") << QVector{row(C::BalconyLinked, 30)} << false << 8.0 << 0.0;
    QTest::newRow("two balconies share the 25 m²") << QVector{row(C::BalconyLinked, 15), row(C::BalconyLinked, 15)}
                                                   << false << 8.0 << 0.0;
    QTest::newRow("balcony apart 15% and 5%") << QVector{row(C::BalconyApart, 30)} << false << 4.0 << 0.0;
    QTest::newRow("balcony classes have a limit each")
        << QVector{row(C::BalconyLinked, 25), row(C::BalconyApart, 25)} << false << 11.25 << 0.0;
    QTest::newRow("open area up to the main surface") << QVector{row(C::Main, 80), row(C::OpenArea, 80)} << false
                                                      << 88.0 << 80.0;
    QTest::newRow("open area beyond the main surface at 2%")
        << QVector{row(C::Main, 80), row(C::OpenArea, 100)} << false << 88.4 << 80.0;
    QTest::newRow("open area with no main rooms") << QVector{row(C::OpenArea, 100)} << false << 2.0 << 0.0;
    QTest::newRow("garden of a flat counts as open area")
        << QVector{row(C::Main, 80), row(C::Garden, 100)} << false << 88.4 << 80.0;
    QTest::newRow("villa's garden up to five times a) free")
        << QVector{row(C::Main, 80), row(C::Garden, 400)} << true << 80.0 << 80.0;
    QTest::newRow("villa's garden beyond five times a)")
        << QVector{row(C::Main, 80), row(C::Garden, 500)} << true << 88.4 << 80.0;
    QTest::newRow("villa's gardens in two rows")
        << QVector{row(C::Main, 80), row(C::Garden, 300), row(C::Garden, 150)} << true << 85.0 << 80.0;
    QTest::newRow("villa's open area is not a garden")
        << QVector{row(C::Main, 80), row(C::OpenArea, 100)} << true << 88.4 << 80.0;
    QTest::newRow("walls of unknown thickness whole") << QVector{row(C::Walls, 10)} << false << 10.0 << 10.0;
    QTest::newRow("wall of 50 cm whole") << QVector{row(C::Walls, 10, 0, 50)} << false << 10.0 << 10.0;
    QTest::newRow("wall of 60 cm counted to 50 cm") << QVector{row(C::Walls, 12, 0, 60)} << false << 10.0 << 10.0;
    QTest::newRow("shared wall of unknown thickness half") << QVector{row(C::SharedWalls, 10)} << false << 5.0
                                                           << 5.0;
    QTest::newRow("shared wall of 25 cm half") << QVector{row(C::SharedWalls, 10, 0, 25)} << false << 5.0 << 5.0;
    QTest::newRow("shared wall of 50 cm half") << QVector{row(C::SharedWalls, 10, 0, 50)} << false << 5.0 << 5.0;
    QTest::newRow("shared wall of 60 cm counted to 25 cm")
        << QVector{row(C::SharedWalls, 12, 0, 60)} << false << 5.0 << 5.0;
    QTest::newRow("walls widen the limit of open areas")
        << QVector{row(C::Main, 70), row(C::Walls, 10), row(C::OpenArea, 100)} << false << 88.4 << 80.0;
    QTest::newRow("not counted") << QVector{row(C::Main, 50), row(C::NotCounted, 40)} << false << 50.0 << 50.0;
}

void TestCadastralSurface::surface()
{
    QFETCH(QVector<CadastralRow>, rows);
    QFETCH(bool, villa);
    QFETCH(double, exact);
    QFETCH(double, mainSurface);
    const CadastralResult r = computeCadastralSurface(rows, villa);
    QVERIFY2(qAbs(r.exact - exact) < 1e-9, qPrintable(QString::number(r.exact, 'g', 17)));
    QVERIFY2(qAbs(r.mainSurface - mainSurface) < 1e-9, qPrintable(QString::number(r.mainSurface, 'g', 17)));
    QCOMPARE(r.contributions.size(), rows.size());
    double sum = 0;
    for (double part : r.contributions)
        sum += part;
    QVERIFY(qAbs(sum - r.exact) < 1e-9);
}

void TestCadastralSurface::contributionsFillBandsInRowOrder()
{
    // The first rows of a class take the higher share.
    const CadastralResult r = computeCadastralSurface(
        {row(C::BalconyLinked, 20), row(C::Main, 60), row(C::BalconyLinked, 10), row(C::OpenArea, 70)}, false);
    QCOMPARE(r.contributions.size(), 4);
    QVERIFY(qAbs(r.contributions[0] - 6.0) < 1e-9);
    QVERIFY(qAbs(r.contributions[1] - 60.0) < 1e-9);
    QVERIFY(qAbs(r.contributions[2] - (5 * 0.30 + 5 * 0.10)) < 1e-9);
    QVERIFY(qAbs(r.contributions[3] - (60 * 0.10 + 10 * 0.02)) < 1e-9);
    QCOMPARE(r.surface, 74.0);
}

void TestCadastralSurface::rounding_data()
{
    QTest::addColumn<double>("area");
    QTest::addColumn<double>("surface");
    QTest::newRow("below half") << 80.49 << 80.0;
    QTest::newRow("half goes up") << 80.5 << 81.0;
    QTest::newRow("above half") << 80.51 << 81.0;
    QTest::newRow("whole") << 80.0 << 80.0;
}

void TestCadastralSurface::rounding()
{
    QFETCH(double, area);
    QFETCH(double, surface);
    QCOMPARE(computeCadastralSurface({row(C::Main, area)}, false).surface, surface);
    // A half that binary holds a little below x,5: 3 × 0,1 + 80,2 m².
    QCOMPARE(computeCadastralSurface({row(C::Main, 80.2), row(C::Main, 0.1), row(C::Main, 0.1), row(C::Main, 0.1)},
                                     false)
                 .surface,
             81.0);
}

void TestCadastralSurface::proposals_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("cls");
    QTest::newRow("room") << "Camera" << int(C::Main);
    QTest::newRow("bathroom") << "Bagno" << int(C::Main);
    QTest::newRow("closet is a direct accessory") << "Ripostiglio" << int(C::Main);
    QTest::newRow("cellar") << "Cantina" << int(C::IndirectApart);
    QTest::newRow("attic") << "Soffitta" << int(C::IndirectLinked);
    QTest::newRow("balcony") << "Balcone" << int(C::BalconyLinked);
    QTest::newRow("terrace") << "Terrazza scoperta" << int(C::BalconyLinked);
    QTest::newRow("walls") << "Tramezzi e tamponature" << int(C::Walls);
    QTest::newRow("common green share") << "Aree verdi (quota millesimale)" << int(C::NotCounted);
    QTest::newRow("name the grid does not offer") << "Garage" << int(C::Main);
    QTest::newRow("case counts") << "camera" << int(C::Main);
}

void TestCadastralSurface::proposals()
{
    QFETCH(QString, description);
    QFETCH(int, cls);
    QCOMPARE(int(proposedCadastralClass(description)), cls);
}

void TestCadastralSurface::villaCategories()
{
    QVERIFY(isVillaCategory(QStringLiteral("A/7")));
    QVERIFY(isVillaCategory(QStringLiteral(" a/8 ")));
    QVERIFY(!isVillaCategory(QStringLiteral("A/2")));
    QVERIFY(!isVillaCategory(QString()));
}

void TestCadastralSurface::labelsRoundTrip()
{
    for (const CadastralClassInfo &info : cadastralClasses()) {
        const QString label = cadastralClassLabel(info.cls);
        QVERIFY(!label.isEmpty());
        QCOMPARE(cadastralClassOfLabel(label), std::optional<CadastralClass>(info.cls));
    }
    QCOMPARE(cadastralClassOfLabel(QStringLiteral("Cucina")), std::nullopt);
}

QTEST_APPLESS_MAIN(TestCadastralSurface)
#include "tst_cadastralsurface.moc"
