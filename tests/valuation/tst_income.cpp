// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/currency.h"
#include "valuation/income.h"

#include <QTest>

using namespace brevan;

Q_DECLARE_METATYPE(brevan::Zone)
Q_DECLARE_METATYPE(brevan::Expense)
Q_DECLARE_METATYPE(brevan::NetIncome::Outcome)
Q_DECLARE_METATYPE(brevan::IncomeInputs)
Q_DECLARE_METATYPE(brevan::UnitRentRow)

namespace {

UnitRentRow rent(const char *year, const char *min, const char *max, const char *zone)
{
    return {QString::fromLatin1(year), QString::fromLatin1(min), QString::fromLatin1(max), QString::fromLatin1(zone)};
}

IncomeInputs exampleIncome()
{
    return {QStringLiteral("10.000,00"), QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("2,5"),
            QStringLiteral("100")};
}

ExpenseInputs grossOf(const QString &gross)
{
    ExpenseInputs in;
    in.RedditoLordoAnnuo = gross;
    return in;
}

} // namespace

class TestIncome : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rentLookup_data()
    {
        QTest::addColumn<QList<UnitRentRow>>("rows");
        QTest::addColumn<Zone>("zone");
        QTest::addColumn<double>("factor");
        QTest::addColumn<QString>("middle");
        QTest::addColumn<QString>("minimum");
        QTest::addColumn<QString>("maximum");
        QTest::addColumn<QString>("unitRent");
        const UnitRentRow first = rent("2001", "8000", "9001", "Zona intermedia");
        const UnitRentRow later = rent("2001", "8500", "9500", "Zona intermedia");
        QTest::newRow("the later row wins") << QList<UnitRentRow>{first, later} << Zone::Intermedia << 1.0 << "9000"
                                            << "8500" << "9500" << "9.000,00";
        QTest::newRow("middle truncated") << QList<UnitRentRow>{first} << Zone::Intermedia << 1.0 << "8500" << "8000"
                                          << "9001" << "8.500,00";
        QTest::newRow("other years and zones ignored")
            << QList<UnitRentRow>{first, rent("2000", "1000", "2000", "Zona intermedia"),
                                  rent("2001", "3000", "4000", "Zona centrale"), rent("02001", "1", "2", "Zona intermedia")}
            << Zone::Intermedia << 1.0 << "8500" << "8000" << "9001" << "8.500,00";
        QTest::newRow("decimal rents") << QList<UnitRentRow>{rent("2001", "8000,5", "9001,25", "Zona intermedia")}
                                       << Zone::Intermedia << 1.0 << "8500" << "8000,5" << "9001,25" << "8.500,00";
        QTest::newRow("in Euro") << QList<UnitRentRow>{first} << Zone::Intermedia << kFattoreEuro
                                 << "4,38988365931436" << "4,13165520876646" << "4,64862856676336" << "4,39";
        QTest::newRow("minimum 0") << QList<UnitRentRow>{rent("2001", "0", "9001", "Zona intermedia")}
                                   << Zone::Intermedia << 1.0 << "0" << "0" << "0" << "";
        QTest::newRow("maximum empty") << QList<UnitRentRow>{rent("2001", "8000", "", "Zona intermedia")}
                                       << Zone::Intermedia << 1.0 << "0" << "0" << "0" << "";
        QTest::newRow("rent not a plain number") << QList<UnitRentRow>{rent("2001", "8.000", "9001", "Zona intermedia")}
                                                 << Zone::Intermedia << 1.0 << "0" << "0" << "0" << "";
        QTest::newRow("a later 0 row wins too") << QList<UnitRentRow>{first, rent("2001", "0", "9500", "Zona intermedia")}
                                                << Zone::Intermedia << 1.0 << "0" << "0" << "0" << "";
        QTest::newRow("no row for the zone") << QList<UnitRentRow>{first} << Zone::Periferica << 1.0 << "0" << "0"
                                             << "0" << "";
        QTest::newRow("no zone selected") << QList<UnitRentRow>{rent("2001", "8000", "9001", "")} << Zone::None << 1.0
                                          << "0" << "0" << "0" << "";
        QTest::newRow("empty table") << QList<UnitRentRow>{} << Zone::Centrale << 1.0 << "0" << "0" << "0" << "";
    }
    void rentLookup()
    {
        QFETCH(QList<UnitRentRow>, rows);
        QFETCH(Zone, zone);
        QFETCH(double, factor);
        QFETCH(QString, middle);
        QFETCH(QString, minimum);
        QFETCH(QString, maximum);
        QFETCH(QString, unitRent);
        const RentLookup r = SetCanoneMensileDiLocazioneUnitario(rows, 2001, zone, factor);
        QCOMPARE(r.middle, middle);
        QCOMPARE(r.minimum, minimum);
        QCOMPARE(r.maximum, maximum);
        QCOMPARE(r.unitRent, unitRent);
    }

    void rentFactorByCurrency()
    {
        CurrencyState state;
        QCOMPARE(rentFactor(state), 1.0);
        state.setEuro();
        QCOMPARE(rentFactor(state), kFattoreEuro);
        state.setLire();
        // The reference rents are in Lire: no factor even though the switch set one.
        QCOMPARE(rentFactor(state), 1.0);
    }

    void rentHint_data()
    {
        QTest::addColumn<QString>("minimum");
        QTest::addColumn<QString>("maximum");
        QTest::addColumn<QString>("currency");
        QTest::addColumn<QString>("hint");
        QTest::newRow("no rent, Lire") << "0" << "0" << kLire << "|Canone mensile di locazione unitario in Lire.";
        QTest::newRow("no rent, Euro") << "0" << "0" << kEuro << "|Canone mensile di locazione unitario in Euro.";
        QTest::newRow("only a maximum") << "0" << "9001" << kLire << "|Canone mensile di locazione unitario in Lire.";
        QTest::newRow("range in Lire")
            << "8000" << "9001" << kLire
            << "|Canone mensile di locazione unitario variabile fra un minimo di 8.000,00 Lire e un massimo di 9.001,00 Lire.";
        QTest::newRow("range converted to Euro")
            << "4,13165520876646" << "4,64862856676336" << kEuro
            << "|Canone mensile di locazione unitario variabile fra un minimo di 4,13 Euro e un massimo di 4,65 Euro.";
        QTest::newRow("unreadable range") << "" << "9001" << kLire << "|Canone mensile di locazione unitario in Lire.";
    }
    void rentHint()
    {
        QFETCH(QString, minimum);
        QFETCH(QString, maximum);
        QFETCH(QString, currency);
        QFETCH(QString, hint);
        QCOMPARE(SetHintCanoneLocazione(minimum, maximum, currency), hint);
    }

    void grossIncome_data()
    {
        QTest::addColumn<QString>("unitRent");
        QTest::addColumn<QString>("deposit");
        QTest::addColumn<QString>("commercialRate");
        QTest::addColumn<QString>("legalRate");
        QTest::addColumn<QString>("surface");
        QTest::addColumn<bool>("computed");
        QTest::addColumn<QString>("gross");
        // 1.000.000 a month: 12.325.000 of rents, 150.000 - 75.000 on the deposit.
        QTest::newRow("worked example") << "10.000,00" << "3" << "5" << "2,5" << "100" << true << "12.400.000,00";
        QTest::newRow("cents kept") << "5,17" << "2" << "4,5" << "2,5" << "85,25" << true << "5.435,46";
        QTest::newRow("no rates") << "1.000,00" << "1" << "0" << "0" << "50" << true << "600.000,00";
        QTest::newRow("no unit rent") << "" << "3" << "5" << "2,5" << "100" << false << "";
        QTest::newRow("no deposit") << "10.000,00" << "" << "5" << "2,5" << "100" << false << "";
        QTest::newRow("no commercial rate") << "10.000,00" << "3" << "" << "2,5" << "100" << false << "";
        QTest::newRow("no legal rate") << "10.000,00" << "3" << "5" << "" << "100" << false << "";
        QTest::newRow("no surface") << "10.000,00" << "3" << "5" << "2,5" << "" << false << "";
        QTest::newRow("surface not plain") << "10.000,00" << "3" << "5" << "2,5" << "100 mq" << false << "";
        QTest::newRow("unit rent without a number") << "," << "3" << "5" << "2,5" << "100" << false << "";
    }
    void grossIncome()
    {
        QFETCH(QString, unitRent);
        QFETCH(QString, deposit);
        QFETCH(QString, commercialRate);
        QFETCH(QString, legalRate);
        QFETCH(QString, surface);
        QFETCH(bool, computed);
        QFETCH(QString, gross);
        const auto r = CalcolaRedditoLordoAnnuo({unitRent, deposit, commercialRate, legalRate, surface});
        QCOMPARE(r.has_value(), computed);
        if (computed)
            QCOMPARE(*r, gross);
    }

    void maintenance_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("amount");
        QTest::newRow("Scarso") << "Scarso" << "600.000,00";
        QTest::newRow("Mediocre, 5,03%") << "Mediocre" << "503.000,00";
        QTest::newRow("Sufficiente") << "Sufficiente" << "400.000,00";
        QTest::newRow("Buono") << "Buono" << "350.000,00";
        QTest::newRow("Ottimo") << "Ottimo" << "300.000,00";
        QTest::newRow("Discreto has no row") << "Discreto" << "0,00";
        QTest::newRow("empty") << "" << "0,00";
    }
    void maintenance()
    {
        QFETCH(QString, state);
        QFETCH(QString, amount);
        ExpenseInputs in = grossOf(QStringLiteral("10.000.000,00"));
        in.StatoConservExt = state;
        QCOMPARE(CalcolaSpeseManutenzione(in, QString()), std::optional<QString>(amount));
    }

    void administration_data()
    {
        QTest::addColumn<bool>("lift");
        QTest::addColumn<bool>("heating");
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("green");
        QTest::addColumn<bool>("porter");
        QTest::addColumn<double>("share");
        QTest::addColumn<QString>("amount"); // of a gross income of 10.000.000,00
        const QString central = QStringLiteral("Centralizzato");
        const QString pump = QStringLiteral("Pompa di calore");
        QTest::newRow("no plants") << false << false << "" << false << false << 0.005 << "50.000,00";
        QTest::newRow("porter and green alone") << false << false << "" << true << true << 0.005 << "50.000,00";
        QTest::newRow("heat pump") << false << true << pump << false << false << 0.005 << "50.000,00";
        QTest::newRow("heating, no type") << false << true << "" << false << false << 0.0 << "0,00";
        QTest::newRow("type without the heating tick") << false << false << central << false << false << 0.005 << "50.000,00";
        QTest::newRow("lift") << true << false << "" << false << false << 0.01 << "100.000,00";
        QTest::newRow("lift and heat pump") << true << true << pump << false << false << 0.01 << "100.000,00";
        QTest::newRow("lift, heating without type") << true << true << "" << true << true << 0.01 << "100.000,00";
        QTest::newRow("central heating") << false << true << central << false << false << 0.02 << "200.000,00";
        QTest::newRow("central heating, green, porter, no lift") << false << true << central << true << true << 0.02 << "200.000,00";
        QTest::newRow("lift and central heating") << true << true << central << false << false << 0.03 << "300.000,00";
        QTest::newRow("lift, central heating, porter") << true << true << central << false << true << 0.03 << "300.000,00";
        QTest::newRow("lift, central heating, green") << true << true << central << true << false << 0.035 << "350.000,00";
        QTest::newRow("lift, central heating, green, porter") << true << true << central << true << true << 0.04 << "400.000,00";
    }
    void administration()
    {
        QFETCH(bool, lift);
        QFETCH(bool, heating);
        QFETCH(QString, type);
        QFETCH(bool, green);
        QFETCH(bool, porter);
        QFETCH(double, share);
        QFETCH(QString, amount);
        ExpenseInputs in = grossOf(QStringLiteral("10.000.000,00"));
        in.Ascensore = lift;
        in.Riscaldamento = heating;
        in.RiscaldamentoTipo = type;
        in.areeVerdi = green;
        in.Portineria = porter;
        QCOMPARE(expensePercentage(Expense::Amministrazione, in), share);
        QCOMPARE(CalcolaSpeseAmministrazione(in, QString()), std::optional<QString>(amount));
    }

    void taxes_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("cadastralClass");
        QTest::addColumn<QString>("amount");
        QTest::newRow("A/2 4") << "A/2" << "4" << "3.000.000,00";
        QTest::newRow("A/2 3") << "A/2" << "3" << "2.950.000,00";
        QTest::newRow("A/2 2") << "A/2" << "2" << "2.900.000,00";
        QTest::newRow("A/2 1") << "A/2" << "1" << "2.850.000,00";
        QTest::newRow("A/3 4") << "A/3" << "4" << "2.800.000,00";
        QTest::newRow("A/3 3") << "A/3" << "3" << "2.700.000,00";
        QTest::newRow("A/3 2") << "A/3" << "2" << "2.600.000,00";
        QTest::newRow("A/3 1") << "A/3" << "1" << "2.500.000,00";
        QTest::newRow("A/4 4 has no value") << "A/4" << "4" << "0,00";
        QTest::newRow("A/4 3") << "A/4" << "3" << "2.600.000,00";
        QTest::newRow("A/4 2") << "A/4" << "2" << "2.500.000,00";
        QTest::newRow("A/4 1") << "A/4" << "1" << "2.400.000,00";
        QTest::newRow("A/1 1") << "A/1" << "1" << "0,00";
        QTest::newRow("class typed with a zero") << "A/2" << "04" << "0,00";
        QTest::newRow("class 5") << "A/3" << "5" << "0,00";
        QTest::newRow("no category") << "" << "2" << "0,00";
    }
    void taxes()
    {
        QFETCH(QString, category);
        QFETCH(QString, cadastralClass);
        QFETCH(QString, amount);
        ExpenseInputs in = grossOf(QStringLiteral("10.000.000,00"));
        in.CategCatastImmob = category;
        in.ClasseCatastImmob = cadastralClass;
        QCOMPARE(CalcolaSpeseImposte(in, QString()), std::optional<QString>(amount));
    }

    void proposalsKeepTypedText_data()
    {
        QTest::addColumn<Expense>("expense");
        QTest::addColumn<QString>("name");
        QTest::newRow("maintenance") << Expense::Manutenzione << "SpeseManutenzione";
        QTest::newRow("administration") << Expense::Amministrazione << "SpeseAmministraz";
        QTest::newRow("vacancies") << Expense::Inesigibilita << "AleeSfitti";
        QTest::newRow("insurance") << Expense::Assicurazioni << "SpeseAssicurazioni";
        QTest::newRow("depreciation") << Expense::Ammortamento << "AliquoteAmmortam";
        QTest::newRow("taxes") << Expense::Imposte << "AliquoteTasse";
    }
    void proposalsKeepTypedText()
    {
        QFETCH(Expense, expense);
        QFETCH(QString, name);
        using Op = std::optional<QString> (*)(const ExpenseInputs &, const QString &);
        const Op ops[] = {&CalcolaSpeseManutenzione,  &CalcolaSpeseAmministrazione,      &CalcolaSpeseInesigibilita,
                          &CalcolaSpeseAssicurazioni, &CalcolaSpeseAliquoteAmmortamento, &CalcolaSpeseImposte};
        const Op op = ops[static_cast<int>(expense)];
        QCOMPARE(expenseName(expense), name);

        ExpenseInputs in = grossOf(QStringLiteral("10.000.000,00"));
        in.StatoConservExt = QStringLiteral("Scarso");
        in.Ascensore = true;
        in.CategCatastImmob = QStringLiteral("A/2");
        in.ClasseCatastImmob = QStringLiteral("4");
        QCOMPARE(op(in, QStringLiteral("1,00")), std::nullopt);
        QCOMPARE(op(in, QString()), std::optional<QString>(proposedExpense(expense, in)));
        // No gross income: every proposal is 0,00.
        QCOMPARE(op(grossOf(QString()), QString()), std::optional<QString>(QStringLiteral("0,00")));
    }

    void allExpenses()
    {
        ExpenseInputs in = grossOf(QStringLiteral("12.400.000,00"));
        in.StatoConservExt = QStringLiteral("Buono");
        in.Riscaldamento = true;
        in.RiscaldamentoTipo = QStringLiteral("Centralizzato");
        in.CategCatastImmob = QStringLiteral("A/3");
        in.ClasseCatastImmob = QStringLiteral("2");
        const ExpenseTexts typed = {QString(), QString(), QStringLiteral("50.000,00"), QString(), QString(), QString()};
        const ExpenseTexts expected = {QStringLiteral("434.000,00"),   QStringLiteral("248.000,00"),
                                       QStringLiteral("50.000,00"),    QStringLiteral("0,00"),
                                       QStringLiteral("0,00"),         QStringLiteral("3.224.000,00")};
        QCOMPARE(CalcolaSpeseComplessive(in, typed), expected);
        // No gross income: nothing is proposed.
        in.RedditoLordoAnnuo.clear();
        QCOMPARE(CalcolaSpeseComplessive(in, typed), typed);
    }

    void greenAreas()
    {
        QVERIFY(hasGreenAreas({QStringLiteral("Soggiorno"), QStringLiteral("Aree verdi (quota millesimale)")}));
        QVERIFY(!hasGreenAreas({QStringLiteral("Soggiorno"), QStringLiteral("Aree verdi")}));
        QVERIFY(!hasGreenAreas({}));
    }

    void netIncome_data()
    {
        QTest::addColumn<IncomeInputs>("income");
        QTest::addColumn<QString>("gross");
        QTest::addColumn<QStringList>("expenses");
        QTest::addColumn<NetIncome::Outcome>("outcome");
        QTest::addColumn<QString>("net");
        using O = NetIncome::Outcome;
        const QStringList expenses = {"600.000,00", "50.000,00", "0,00", "0,00", "12,50", "3.000.000,00"};
        QTest::newRow("gross less six expenses")
            << exampleIncome() << "12.400.000,00" << expenses << O::Write << "8.749.987,50";
        QTest::newRow("expenses above the gross")
            << exampleIncome() << "1.000,00" << expenses << O::Write << "-3.649.012,50";
        QStringList oneEmpty = expenses;
        oneEmpty[3].clear();
        QTest::newRow("an empty expense keeps the net") << exampleIncome() << "12.400.000,00" << oneEmpty << O::Keep << "";
        QTest::newRow("empty gross keeps the net") << exampleIncome() << "" << expenses << O::Keep << "";
        const char *const inputs[] = {"unit rent", "deposit", "commercial rate", "legal rate"};
        for (int i = 0; i < 4; ++i) {
            IncomeInputs in = exampleIncome();
            QString *fields[] = {&in.CanoneLocazUnit, &in.NumCauzioni, &in.SaggioCommerciale, &in.SaggioLegale};
            fields[i]->clear();
            QTest::addRow("no %s clears the incomes", inputs[i])
                << in << "12.400.000,00" << expenses << O::ClearIncomes << "";
        }
        IncomeInputs noSurface = exampleIncome();
        noSurface.SupCommercImmob.clear();
        QTest::newRow("the surface is not read")
            << noSurface << "12.400.000,00" << expenses << O::Write << "8.749.987,50";
    }
    void netIncome()
    {
        QFETCH(IncomeInputs, income);
        QFETCH(QString, gross);
        QFETCH(QStringList, expenses);
        QFETCH(NetIncome::Outcome, outcome);
        QFETCH(QString, net);
        NetIncomeInputs in{income, gross, {}};
        for (int i = 0; i < kExpenseCount; ++i)
            in.expenses[static_cast<std::size_t>(i)] = expenses.at(i);
        const NetIncome r = CalcolaRedditoNettoAnnuo(in);
        QCOMPARE(r.outcome, outcome);
        QCOMPARE(r.text, net);
    }

    void expenseHints_data()
    {
        QTest::addColumn<QString>("gross");
        QTest::addColumn<QString>("currency");
        QTest::addColumn<QStringList>("hints");
        QTest::newRow("with gross income, Lire")
            << "10.000.000,00" << kLire
            << QStringList{
                   "|Spese di manutenzione ordinaria e straordinaria: l'incidenza massima è di circa 600.000,00 Lire.",
                   "|Spese per servizi e amministrazione: l'incidenza massima è di circa 400.000,00 Lire.",
                   "|Alee per sfitti e inesigibilità: l'incidenza massima è di circa 200.000,00 Lire.",
                   "|Spese per assicurazioni: l'incidenza massima è di circa 250.000,00 Lire.",
                   "|Aliquote di ammortamento: l'incidenza massima è di circa 500.000,00 Lire.",
                   "|Aliquote per imposte e tasse: l'incidenza massima è di circa 3.000.000,00 Lire.",
               };
        QTest::newRow("with gross income, Euro")
            << "5.164,57" << kEuro
            << QStringList{
                   "|Spese di manutenzione ordinaria e straordinaria: l'incidenza massima è di circa 309,87 Euro.",
                   "|Spese per servizi e amministrazione: l'incidenza massima è di circa 206,58 Euro.",
                   "|Alee per sfitti e inesigibilità: l'incidenza massima è di circa 103,29 Euro.",
                   "|Spese per assicurazioni: l'incidenza massima è di circa 129,11 Euro.",
                   "|Aliquote di ammortamento: l'incidenza massima è di circa 258,23 Euro.",
                   "|Aliquote per imposte e tasse: l'incidenza massima è di circa 1.549,37 Euro.",
               };
        QTest::newRow("no gross income, Euro")
            << "" << kEuro
            << QStringList{
                   "|Spese di manutenzione ordinaria e straordinaria in Euro.",
                   "|Spese per servizi e amministrazione in Euro.",
                   "|Alee per sfitti e inesigibilità in Euro.",
                   "|Spese per assicurazioni in Euro.",
                   "|Aliquote di ammortamento in Euro.",
                   "|Aliquote per imposte e tasse in Euro.",
               };
    }
    void expenseHints()
    {
        QFETCH(QString, gross);
        QFETCH(QString, currency);
        QFETCH(QStringList, hints);
        const ExpenseTexts h = SetHintSpese(gross, currency);
        for (int i = 0; i < kExpenseCount; ++i)
            QCOMPARE(h[static_cast<std::size_t>(i)], hints.at(i));
    }

    void incomeHints_data()
    {
        QTest::addColumn<QString>("currency");
        QTest::addColumn<QString>("gross");
        QTest::addColumn<QString>("net");
        QTest::newRow("Lire") << kLire << "|Reddito lordo annuo in Lire." << "|Reddito netto annuo in Lire.";
        QTest::newRow("Euro") << kEuro << "|Reddito lordo annuo in Euro." << "|Reddito netto annuo in Euro.";
    }
    void incomeHints()
    {
        QFETCH(QString, currency);
        QFETCH(QString, gross);
        QFETCH(QString, net);
        const IncomeHints h = SetHintRedditoLordoNetto(currency);
        QCOMPARE(h.gross, gross);
        QCOMPARE(h.net, net);
    }
};

QTEST_GUILESS_MAIN(TestIncome)
#include "tst_income.moc"
