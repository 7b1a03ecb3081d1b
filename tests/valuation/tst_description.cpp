// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/numbertext.h"
#include "valuation/description.h"

#include <QTest>

using namespace brevan;

class TestDescription : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void buildingAge_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<int>("appraisalYear");
        QTest::addColumn<bool>("changes");
        QTest::addColumn<QString>("age");
        QTest::newRow("one year") << "2001" << 2002 << true << "1 anno";
        QTest::newRow("same year") << "2002" << 2002 << true << "0 anni";
        QTest::newRow("after the appraisal") << "2003" << 2002 << true << "";
        QTest::newRow("before 1800") << "1799" << 2002 << true << "";
        QTest::newRow("1800 itself") << "1800" << 2002 << true << "202 anni";
        QTest::newRow("no year keeps the age") << "" << 2002 << false << "";
    }
    void buildingAge()
    {
        QFETCH(QString, year);
        QFETCH(int, appraisalYear);
        QFETCH(bool, changes);
        QFETCH(QString, age);
        const auto result = ImpostaEtaEdificio(year, appraisalYear);
        QCOMPARE(result.has_value(), changes);
        if (changes)
            QCOMPARE(*result, age);
    }

    void pastedLettersFail()
    {
        QVERIFY_THROWS_EXCEPTION(ConversionError, ImpostaEtaEdificio("millenove", 2002));
        QVERIFY_THROWS_EXCEPTION(ConversionError, GiudicaQuotaDalPianoStradale("3", "x"));
    }

    void floorJudgment_data()
    {
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("floor");
        QTest::addColumn<QString>("judgment");
        QTest::addColumn<bool>("warns");
        QTest::newRow("ground") << "3" << "0" << "Piano terra" << false;
        QTest::newRow("first") << "3" << "1" << "Primo piano" << false;
        QTest::newRow("middle") << "3" << "2" << "Piano intermedio" << false;
        QTest::newRow("top") << "3" << "3" << "Ultimo piano" << false;
        QTest::newRow("above the total") << "3" << "4" << "" << true;
        QTest::newRow("one-floor building, floor 1") << "1" << "1" << "Primo piano" << false;
        QTest::newRow("no total") << "" << "2" << "" << false;
        QTest::newRow("no floor") << "3" << "" << "" << false;
    }
    void floorJudgment()
    {
        QFETCH(QString, total);
        QFETCH(QString, floor);
        QFETCH(QString, judgment);
        QFETCH(bool, warns);
        const FloorJudgment j = GiudicaQuotaDalPianoStradale(total, floor);
        QCOMPARE(j.judgment, judgment);
        QCOMPARE(j.clearFloor, warns);
        QCOMPARE(!j.warning.isEmpty(), warns);
        if (warns)
            QCOMPARE(j.warning, QString::fromUtf8("Il numero di piano dell'immobile oggetto di stima non può \nsuperare "
                                                  "il numero complessivo dei piani, che è pari a 3."));
    }

    void categoryHints_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("changes");
        QTest::addColumn<QString>("hint");
        QTest::newRow("A/2") << "A/2" << true << "|Categoria A/2: Abitazione di tipo civile.";
        QTest::newRow("D/10") << "D/10" << true << "|Categoria D/10: Residence.";
        QTest::newRow("empty") << "" << true << "|Categoria catastale del fabbricato.";
        QTest::newRow("unknown keeps") << "Z/9" << false << "";
        QTest::newRow("case counts") << "a/2" << false << "";
    }
    void categoryHints()
    {
        QFETCH(QString, code);
        QFETCH(bool, changes);
        QFETCH(QString, hint);
        const auto h = categoryHint(code);
        QCOMPARE(h.has_value(), changes);
        if (changes)
            QCOMPARE(*h, hint);
    }
};

QTEST_GUILESS_MAIN(TestDescription)
#include "tst_description.moc"
