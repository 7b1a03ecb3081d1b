// SPDX-License-Identifier: GPL-2.0-or-later
#include "valuation/judgments.h"

#include <QTest>

using namespace brevan;

class TestJudgments : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void presenceOfPlants_data()
    {
        QTest::addColumn<QString>("ticks"); // letters A R W T G
        QTest::addColumn<QString>("judgment");
        QTest::newRow("nothing") << "" << "Scarso";
        QTest::newRow("water, aerial, gate") << "WTG" << "Scarso";
        QTest::newRow("lift") << "A" << "Mediocre";
        QTest::newRow("heating") << "R" << "Mediocre";
        QTest::newRow("lift and heating") << "AR" << "Sufficiente";
        QTest::newRow("plus gate") << "ARG" << "Discreto";
        QTest::newRow("plus aerial") << "ART" << "Discreto";
        QTest::newRow("plus water") << "ARW" << "Buono";
        QTest::newRow("water and gate") << "ARWG" << "Ottimo";
        QTest::newRow("all five") << "ARWTG" << "Ottimo";
    }
    void presenceOfPlants()
    {
        QFETCH(QString, ticks);
        QFETCH(QString, judgment);
        Fittings f;
        f.lift = ticks.contains('A');
        f.heating = ticks.contains('R');
        f.waterReserve = ticks.contains('W');
        f.aerial = ticks.contains('T');
        f.gate = ticks.contains('G');
        QCOMPARE(GiudicaPresenzaImpiantiTecnologici(f), judgment);
        QVERIFY(SetHintPresenzaImpiantiTecnologici(judgment).has_value());
    }

    void levelOfPlants_data()
    {
        QTest::addColumn<QString>("heating");
        QTest::addColumn<bool>("wiring");
        QTest::addColumn<QString>("lift");
        QTest::addColumn<QString>("judgment");
        QTest::newRow("central") << "Centralizzato" << false << "" << "Sufficiente";
        QTest::newRow("central and wiring") << "Centralizzato" << true << "" << "Discreto";
        QTest::newRow("heat pump") << "Pompa di calore" << false << "" << "Discreto";
        QTest::newRow("heat pump and wiring") << "Pompa di calore" << true << "" << "Buono";
        QTest::newRow("plus double lift") << "Pompa di calore" << true << "Doppio" << "Ottimo";
        QTest::newRow("plus single lift") << "Pompa di calore" << true << "Singolo" << "Buono";
        QTest::newRow("nothing at all") << "" << false << "" << "Scarso";
        QTest::newRow("wiring only keeps") << "" << true << "" << "Discreto";
        QTest::newRow("lift kind only keeps") << "" << false << "Singolo" << "Discreto";
    }
    void levelOfPlants()
    {
        QFETCH(QString, heating);
        QFETCH(bool, wiring);
        QFETCH(QString, lift);
        QFETCH(QString, judgment);
        Fittings f;
        f.heatingKind = heating;
        f.wiring = wiring;
        f.liftKind = lift;
        QCOMPARE(GiudicaLivelloTecnologicoImpianti(f, "Discreto"), judgment);
    }

    void plantHints()
    {
        QCOMPARE(*SetHintPresenzaImpiantiTecnologici(""), QStringLiteral("|Giudizio sulla presenza degli impianti tecnologici."));
        QCOMPARE(*SetHintPresenzaImpiantiTecnologici("Buono"),
                 QStringLiteral("|Giudizio buono: presenza di ascensore, riscaldamento e riserva idrica."));
        QCOMPARE(*SetHintLivelloTecnologicoImpianti(""), QStringLiteral("|Giudizio sul livello tecnologico degli impianti."));
        QVERIFY(!SetHintLivelloTecnologicoImpianti("Scarso").has_value()); // hint stays as it was
        QCOMPARE(*SetHintLivelloTecnologicoImpianti("Sufficiente"),
                 QStringLiteral("|Giudizio sufficiente: presenza di impianto di riscaldamento centralizzato."));
    }

    void gradeExplanations_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("judgment");
        QTest::addColumn<QString>("hint");
        QTest::newRow("inside repair, empty") << int(GradedJudgment::StatoConservInt) << ""
                                              << "|Giudizio sullo stato di conservazione interno.";
        QTest::newRow("inside repair, Discreto")
            << int(GradedJudgment::StatoConservInt) << "Discreto"
            << "|Giudizio discreto: immobile parzialmente ristrutturato da meno di 15 anni.";
        QTest::newRow("outside repair, Ottimo") << int(GradedJudgment::StatoConservExt) << "Ottimo"
                                                << "|Giudizio ottimo: edificio nuovo o appena ristrutturato.";
        QTest::newRow("inside finishing, Ottimo") << int(GradedJudgment::GradoRifinitInt) << "Ottimo"
                                                  << "|Giudizio ottimo: finiture superiori.";
        QTest::newRow("outside finishing, Ordinario")
            << int(GradedJudgment::GradoRifinitExt) << "Ordinario"
            << QString::fromUtf8("|Giudizio ordinario: intonaco semplice o intonaco con rivestimento di qualità ordinaria.");
    }
    void gradeExplanations()
    {
        QFETCH(int, which);
        QFETCH(QString, judgment);
        QFETCH(QString, hint);
        QCOMPARE(*gradeExplanation(GradedJudgment(which), judgment), hint);
    }

    void unknownGradeKeepsHint()
    {
        QVERIFY(!gradeExplanation(GradedJudgment::GradoRifinitExt, "Scarso").has_value());
        QVERIFY(!gradeExplanation(GradedJudgment::StatoConservExt, "Discreto").has_value());
    }

    void townSizes_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("hint");
        QTest::newRow("small") << int(TownSize::Small) << "4,00"
                               << "|Il saggio di capitalizzazione varia fra il valore minimo 2,00% e il massimo 6,00%.";
        QTest::newRow("medium") << int(TownSize::Medium) << "3,50"
                                << "|Il saggio di capitalizzazione varia fra il valore minimo 1,50% e il massimo 5,50%.";
        QTest::newRow("large") << int(TownSize::Large) << "2,50"
                               << "|Il saggio di capitalizzazione varia fra il valore minimo 0,50% e il massimo 4,50%.";
    }
    void townSizes()
    {
        QFETCH(int, size);
        QFETCH(QString, rate);
        QFETCH(QString, hint);
        const TownRate r = SetDimensioniCentroUrbano(TownSize(size));
        QCOMPARE(r.rate, rate);
        QCOMPARE(r.hint, hint);
    }
};

QTEST_GUILESS_MAIN(TestJudgments)
#include "tst_judgments.moc"
