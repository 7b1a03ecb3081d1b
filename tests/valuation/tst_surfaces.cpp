// SPDX-License-Identifier: GPL-2.0-or-later
#include "valuation/roomnames.h"
#include "valuation/surfaces.h"

#include <QTest>

using namespace brevan;

using Rows = QVector<SurfaceRow>;
Q_DECLARE_METATYPE(Rows)

class TestSurfaces : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roomNames()
    {
        const QStringList names = brevan::roomNames();
        QCOMPARE(names.size(), 31);
        QCOMPARE(names.first(), QStringLiteral("Aree verdi (quota millesimale)"));
        QCOMPARE(names.last(), QStringLiteral("Veranda chiusa"));
    }

    void threeSurfaces_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<double>("useful");
        QTest::addColumn<double>("conventional");
        QTest::addColumn<double>("commercial");
        QTest::newRow("camera and soggiorno, k 1.2")
            << Rows{{"Camera", 20}, {"Soggiorno", 25}} << 45.0 << 54.0 << 45.0;
        QTest::newRow("k boundary 46 is 1.1") << Rows{{"Camera", 46}} << 46.0 << 46 * 1.1 << 46.0;
        QTest::newRow("k boundary 70 is 1.1") << Rows{{"Camera", 70}} << 70.0 << 70 * 1.1 << 70.0;
        QTest::newRow("above 70 is 1.0") << Rows{{"Camera", 70.5}} << 70.5 << 70.5 << 70.5;
        QTest::newRow("balcone at 0.4 U weighs 0.50")
            << Rows{{"Camera", 100}, {"Balcone", 40}} << 100.0 << 100 + 0.25 * 40 << 100 + 0.5 * 40;
        QTest::newRow("balcone beyond 0.4 U weighs 0.25")
            << Rows{{"Camera", 100}, {"Balcone", 40.5}} << 100.0 << 100 + 0.25 * 40.5 << 100 + 0.25 * 40.5;
        QTest::newRow("each verandah by itself")
            << Rows{{"Camera", 100}, {"Veranda aperta", 30}, {"Veranda chiusa", 30}} << 100.0 << 100 + 0.25 * 60
            << 100 + 0.5 * 30 + 0.5 * 30;
        QTest::newRow("weights") << Rows{{"Camera", 100}, {"Cantina", 10}, {"Lastrico solare", 10},
                                          {"Tramezzi e tamponature", 5}, {"Posto auto singolo", 12},
                                          {"Posto auto comune", 10}, {"Aree verdi (quota millesimale)", 30}}
                                 << 100.0 << 100 + 0.25 * 10 + 0.25 * 10 + 0.5 * 12 + 0.2 * 10 + 0.1 * 30
                                 << 100 + 0.5 * 10 + 0.1 * 10 + 5.0;
        QTest::newRow("names count only when exact") << Rows{{"camera", 20}, {"Camera ", 20}, {"", 5}} << 0.0 << 0.0 << 0.0;
    }
    void threeSurfaces()
    {
        QFETCH(Rows, rows);
        QFETCH(double, useful);
        QFETCH(double, conventional);
        QFETCH(double, commercial);
        const double u = CalcolaSuperficieUtile(rows);
        QCOMPARE(u, useful);
        QCOMPARE(CalcolaSuperficieConvenzionale(rows, u), conventional);
        QCOMPARE(CalcolaSuperficieCommerciale(rows, u), commercial);
    }

    void shownText()
    {
        QCOMPARE(surfaceValueText(85.5), QStringLiteral("85,5"));
        QCOMPARE(surfaceShownText("85,5"), QStringLiteral("85,50  mq"));
        QCOMPARE(surfaceShownText(surfaceValueText(1234.25)), QStringLiteral("1.234,25  mq"));
    }

    void rowCounts()
    {
        const SurfaceRowCounts n = countSurfaceRows({{"Camera", 20}, {"Bagno", 0}, {"", 3}, {"", 0}});
        QCOMPARE(n.complete, 1);
        QCOMPARE(n.used, 3);
    }

    void accessorySpaces_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QString>("commercial");
        QTest::addColumn<QString>("judgment");
        QTest::newRow("20 of 100") << Rows{{"Balcone", 10}, {"Ripostiglio", 10}} << "100" << "Ottimo";
        QTest::newRow("30 of 100") << Rows{{"Balcone", 20}, {"Stenditoio", 10}} << "100" << "Scarso";
        QTest::newRow("10 of 100") << Rows{{"Terrazza coperta", 10}} << "100" << "Sufficiente";
        QTest::newRow("none") << Rows{{"Camera", 100}} << "100" << "Scarso";
        QTest::newRow("one cellar of 5") << Rows{{"Cantina", 5}} << "100" << "Buono";
        QTest::newRow("one cellar of 20") << Rows{{"Cantina", 20}} << "100" << "Ottimo";
        QTest::newRow("cellar of 0 still counts as a row") << Rows{{"Cantina", 0}} << "100" << "Buono";
        QTest::newRow("no commercial surface keeps it") << Rows{{"Cantina", 5}} << "" << "Mediocre";
    }
    void accessorySpaces()
    {
        QFETCH(Rows, rows);
        QFETCH(QString, commercial);
        QFETCH(QString, judgment);
        QCOMPARE(ValutaDimensioneSpaziCopertiScoperti(rows, commercial, "Mediocre"), judgment);
    }

    void greenAreas()
    {
        QVERIFY(hasGreenAreas({{"Camera", 1}, {"Aree verdi (quota millesimale)", 0}}));
        QVERIFY(!hasGreenAreas({{"Aree verdi", 10}}));
    }
};

QTEST_GUILESS_MAIN(TestSurfaces)
#include "tst_surfaces.moc"
