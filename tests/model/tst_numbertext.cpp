// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/currency.h"
#include "model/numbertext.h"

#include <QLocale>
#include <QTest>

#include <cmath>

using namespace brevan;

class TestNumberText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        // A machine locale with "." decimals must not change anything.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void estraiNumero_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("thousands and decimals") << "1.234.567,50" << 1234567.5;
        QTest::newRow("minus sign dropped") << "-3,50" << 3.5;
        QTest::newRow("later commas dropped") << "12,5,3" << 12.53;
        QTest::newRow("surface with unit") << "85,25  mq" << 85.25;
        QTest::newRow("currency name") << "1.000,00 Euro" << 1000.0;
        QTest::newRow("integer") << "36" << 36.0;
        QTest::newRow("leading comma") << ",5" << 0.5;
        QTest::newRow("trailing comma") << "7," << 7.0;
        QTest::newRow("formatted zero") << "0,00" << 0.0;
        QTest::newRow("exponent letters dropped") << "1E5" << 15.0;
    }
    void estraiNumero()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(EstraiNumero(text), expected);
    }

    void estraiNumeroFails_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("letters only") << "abc";
        QTest::newRow("separators only") << ".,.";
        QTest::newRow("blanks and unit") << "  mq";
        QTest::newRow("minus only") << "-";
    }
    void estraiNumeroFails()
    {
        QFETCH(QString, text);
        QVERIFY_THROWS_EXCEPTION(ConversionError, EstraiNumero(text));
        // Callers that only know std::exception can catch it too.
        bool caught = false;
        try {
            EstraiNumero(text);
        } catch (const std::exception &e) {
            caught = QString::fromUtf8(e.what()).contains(QStringLiteral("valore numerico"));
        }
        QVERIFY(caught);
    }

    void formattaImporto_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero") << 0.0 << "0,00";
        QTest::newRow("negative zero") << -0.0 << "0,00";
        QTest::newRow("millions") << 1234567.5 << "1.234.567,50";
        QTest::newRow("negative") << -2.5 << "-2,50";
        QTest::newRow("below one") << 0.07 << "0,07";
        QTest::newRow("exactly thousand") << 1000.0 << "1.000,00";
        QTest::newRow("hundreds") << 999.999 << "1.000,00";
        QTest::newRow("half rounds away from zero") << 0.125 << "0,13";
        QTest::newRow("negative half") << -0.125 << "-0,13";
        QTest::newRow("15-digit rounding of 2,675") << 2.675 << "2,68";
        QTest::newRow("1,005") << 1.005 << "1,01";
        QTest::newRow("tiny negative") << -0.001 << "0,00";
        QTest::newRow("billions") << 12400000000.0 << "12.400.000.000,00";
        QTest::newRow("gross income example") << 12400000.0 << "12.400.000,00";
        QTest::newRow("euro of a million lire") << 516.4569010958076 << "516,46";
        QTest::newRow("large integer") << 1e15 << "1.000.000.000.000.000,00";
    }
    void formattaImporto()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(FormattaImporto(value), expected);
    }

    void formattedTextReadsBack_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("amount") << 1234567.5;
        QTest::newRow("small") << 0.5;
        QTest::newRow("rent") << 12500.25;
    }
    void formattedTextReadsBack()
    {
        QFETCH(double, value);
        QCOMPARE(EstraiNumero(FormattaImporto(value)), value);
    }

    void plainText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("quarter") << 85.25 << "85,25";
        QTest::newRow("integer") << 36.0 << "36";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative") << -3.5 << "-3,5";
        QTest::newRow("15 digits") << 0.1 + 0.2 << "0,3";
        QTest::newRow("thirds") << 100.0 / 3 << "33,3333333333333";
        QTest::newRow("small fixed") << 0.0001 << "0,0001";
        QTest::newRow("small exponent") << 0.00001 << "1E-5";
        QTest::newRow("big fixed") << 123456789012345.0 << "123456789012345";
        QTest::newRow("big exponent") << 1.5e20 << "1,5E20";
        QTest::newRow("euro factor") << kFattoreEuro << "0,000516456901095808";
    }
    void plainText()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(FloatToText(value), expected);
        QCOMPARE(TextToFloat(expected), std::stod(QString(expected).replace(QLatin1Char(','), QLatin1Char('.')).toStdString()));
    }

    void plainTextFails_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("thousands dots") << "1.234,5";
        QTest::newRow("two commas") << "1,2,3";
        QTest::newRow("unit") << "85,25  mq";
        QTest::newRow("letters") << "abc";
        QTest::newRow("bare exponent") << "1E";
        QTest::newRow("point decimals") << "3.5";
    }
    void plainTextFails()
    {
        QFETCH(QString, text);
        QVERIFY_THROWS_EXCEPTION(ConversionError, TextToFloat(text));
        double v = 42;
        QVERIFY(!TryTextToFloat(text, &v));
        QCOMPARE(v, 42.0);
    }

    void plainTextAccepts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("sign") << "+2,5" << 2.5;
        QTest::newRow("exponent") << "1,5E3" << 1500.0;
        QTest::newRow("negative exponent") << "25e-1" << 2.5;
        QTest::newRow("blanks around") << "  12 " << 12.0;
    }
    void plainTextAccepts()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(TextToFloat(text), expected);
    }

    void currencyFactors()
    {
        QCOMPARE(kFattoreLire, 1936.27001953125);
        QCOMPARE(kFattoreEuro, 4436331.0 / 8589934592.0);
        const double euro = 1000000 * kFattoreEuro;
        QVERIFY(std::fabs(euro - 516.4569010958076) < 1e-12);
        const double back = euro * kFattoreLire;
        QVERIFY(std::fabs(back - 1000000.0139718) < 1e-6);
        QVERIFY(back != 1000000.0);
        QCOMPARE(FormattaImporto(back), QStringLiteral("1.000.000,01"));
    }

    void currencyState()
    {
        CurrencyState s;
        QCOMPARE(s.ValutaCorrente, QStringLiteral(" Lire"));
        QVERIFY(s.RicalcoloAttivo);
        QVERIFY(!s.euroInForce());
        s.setEuro();
        QCOMPARE(s.ValutaCorrente, QStringLiteral(" Euro"));
        QCOMPARE(s.FattoreValuta, kFattoreEuro);
        QVERIFY(s.euroInForce());
        s.setLire();
        QCOMPARE(s.FattoreValuta, kFattoreLire);
        for (const QString &label : {kLire, kEuro})
            QCOMPARE(label.size(), 5);
        QCOMPARE(currency().ValutaCorrente, QStringLiteral(" Lire"));
    }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
