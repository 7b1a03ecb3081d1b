// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/currency.h"
#include "valuation/conversion.h"

#include <QTest>

using namespace brevan;

class TestConversion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pair_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("shadow");
        QTest::addColumn<double>("factor");
        QTest::addColumn<QString>("newShown");
        QTest::addColumn<QString>("newShadow");
        QTest::newRow("to Euro without a shadow")
            << "1.000.000,00" << "" << kFattoreEuro << "516,46" << "516,456901095808";
        // The two single-precision factors multiply to about 1.000000014.
        QTest::newRow("back to Lire, untouched: from the shadow")
            << "516,46" << "516,456901095808" << kFattoreLire << "1.000.000,01" << "516,456901095808";
        QTest::newRow("back to Lire after typing 600,00")
            << "600,00" << "516,456901095808" << kFattoreLire << "1.161.762,01" << "1161762,01171875";
        QTest::newRow("stale shadow from an earlier appraisal")
            << "1.000.000,00" << "999" << kFattoreEuro << "516,46" << "516,456901095808";
        QTest::newRow("empty amount stays empty") << "" << "516,4" << kFattoreEuro << "" << "516,4";
        QTest::newRow("zero") << "0,00" << "" << kFattoreEuro << "0,00" << "0";
        QTest::newRow("no number to convert") << "abc" << "" << kFattoreEuro << "abc" << "";
        // A tenth of a Lira is 0,0000516 Euro, whose float text has an
        // exponent: it must read as that, not as 5,16.
        QTest::newRow("tiny amount to Euro") << "0,10" << "" << kFattoreEuro << "0,00" << "5,16456901095808E-5";
        QTest::newRow("tiny amount back to Lire")
            << "0,00" << "5,16456901095808E-5" << kFattoreLire << "0,10" << "5,16456901095808E-5";
    }
    void pair()
    {
        QFETCH(QString, shown);
        QFETCH(QString, shadow);
        QFETCH(double, factor);
        QFETCH(QString, newShown);
        QFETCH(QString, newShadow);
        const AmountPair r = convertPair(shown, shadow, factor);
        QCOMPARE(r.shown, newShown);
        QCOMPARE(r.shadow, newShadow);
    }

    void expensesThereAndBack()
    {
        std::array<AmountPair, 6> expenses = {{
            {QStringLiteral("1.000.000,00"), QString()},
            {QString(), QStringLiteral("7")},
            {QStringLiteral("0,00"), QString()},
            {QStringLiteral("250.000,00"), QStringLiteral("1")},
            {QStringLiteral("0,00"), QString()},
            {QStringLiteral("3.224.000,00"), QString()},
        }};
        ConversioneSpeseLiraEuro(expenses, kFattoreEuro);
        const QStringList inEuro = {"516,46", "", "0,00", "129,11", "0,00", "1.665,06"};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(expenses[static_cast<std::size_t>(i)].shown, inEuro.at(i));
        QCOMPARE(expenses[1].shadow, QStringLiteral("7"));

        // The user changes the fourth amount while in Euro.
        expenses[3].shown = QStringLiteral("200,00");
        ConversioneSpeseLiraEuro(expenses, kFattoreLire);
        const QStringList backInLire = {"1.000.000,01", "", "0,00", "387.254,00", "0,00", "3.224.000,05"};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(expenses[static_cast<std::size_t>(i)].shown, backInLire.at(i));
        // Untouched amounts keep their Euro shadow.
        QCOMPARE(expenses[0].shadow, QStringLiteral("516,456901095808"));
    }

    void comparables()
    {
        ComparableRow full;
        full.IndirizzoImmob = QStringLiteral("Via Roma");
        full.CdCarattLocalizzaz = QStringLiteral("10,00");
        full.CostoUnitario = QStringLiteral("1.000.000,00");
        full.CostoComplessivo = QStringLiteral("85.250.000,00");
        ComparableRow noTotal = full;
        noTotal.CostoComplessivo.clear();
        noTotal.Servizio2 = QStringLiteral("12");

        QList<ComparableRow> rows = {full, noTotal};
        ConvertiValutaImmobiliConfronto(rows, kFattoreEuro);

        QCOMPARE(rows[0].CostoUnitario, QStringLiteral("516,46"));
        QCOMPARE(rows[0].Servizio1, QStringLiteral("516,456901095808"));
        QCOMPARE(rows[0].CostoComplessivo, QStringLiteral("44.027,95"));
        QCOMPARE(rows[0].Servizio2, QStringLiteral("44027,9508184176"));
        QCOMPARE(rows[0].IndirizzoImmob, full.IndirizzoImmob);
        QCOMPARE(rows[0].CdCarattLocalizzaz, full.CdCarattLocalizzaz);

        // Only the unit cost converts; the empty total and its shadow stay.
        QCOMPARE(rows[1].CostoUnitario, QStringLiteral("516,46"));
        QCOMPARE(rows[1].CostoComplessivo, QString());
        QCOMPARE(rows[1].Servizio2, QStringLiteral("12"));
    }
};

QTEST_GUILESS_MAIN(TestConversion)
#include "tst_conversion.moc"
