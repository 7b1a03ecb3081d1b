// SPDX-License-Identifier: GPL-2.0-or-later
#include "../support/appfixture.h"
#include "app/application.h"
#include "app/incomeops.h"
#include "app/valueops.h"
#include "model/currency.h"
#include "model/numbertext.h"
#include "pages/comparablespage.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/pagekit.h"
#include "pages/resultspage.h"
#include "pages/tablemodel.h"
#include "store/datafolder.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QComboBox>
#include <QTest>
#include <QToolButton>

using namespace brevan;
using brevan::app::IncomeOps;
using brevan::app::MainWindow;
using brevan::app::ValueOps;

namespace {

void typeInto(QLineEdit *e, const QString &text)
{
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
}

// The two subsystems wired as the program wires them; the value by income
// is noted each time the summary is asked for.
struct Valuation {
    explicit Valuation(MainWindow *w) : income(w), values(w)
    {
        const auto s = [] { return QStringLiteral("100"); };
        income.commercialSurface = s;
        values.commercialSurface = s;
        QObject::connect(&income, &IncomeOps::CalcolaCIValoreMercatoRequested, &values, &ValueOps::CalcolaCIValoreMercato);
        QObject::connect(&income, &IncomeOps::CalcolaCDValoreMercatoRequested, &values, &ValueOps::CalcolaCDValoreMercato);
        QObject::connect(&values, &ValueOps::SetHintCanoneLocazioneRequested, &income, &IncomeOps::SetHintCanoneLocazione);
        QObject::connect(&values, &ValueOps::CalcolaRedditoNettoAnnuoRequested, &income, &IncomeOps::CalcolaRedditoNettoAnnuo);
        QObject::connect(&values, &ValueOps::SetHintRedditoLordoNettoRequested, &income, &IncomeOps::SetHintRedditoLordoNetto);
        QObject::connect(&values, &ValueOps::SetHintSpeseRequested, &income, &IncomeOps::SetHintSpese);
        QObject::connect(&values, &ValueOps::CalcolaRiepilogoInformazioniRequested, &values,
                         [this, w] { summaries << w->resultsPage->incomeTotalEdit->text(); });
    }
    IncomeOps income;
    ValueOps values;
    QStringList summaries;
};

// Comparables appended to the working table, then shown by the page.
void writeComparables(MainWindow *w, const QList<QStringList> &rows)
{
    {
        Table t = Table::open(dataPath(kImmConfr));
        for (const QStringList &r : rows) {
            QVariantList values;
            for (const QString &s : r)
                values << s;
            t.append(values);
        }
    }
    w->comparablesPage->model()->reload();
}

QStringList comparableRow(const QString &loc, const QString &pos, const QString &typ, const QString &prod,
                          const QString &unit, const QString &total = {})
{
    return {"Via Roma", "1", "2", "3", "70", loc, pos, typ, prod, unit, total, {}, {}};
}

QString storedText(int row, const QString &field)
{
    const Table t = Table::open(dataPath(kImmConfr));
    return t.text(t.rowIds().at(row), field);
}

} // namespace

class TestValueOps : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }

    // Lire to Euro and back with the results page shown: the expense goes
    // through its shadow, the rent through the reference rents, the
    // comparables' costs row by row, and both values and the summary follow.
    void switchToEuroAndBack()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        Valuation v(w);
        writeComparables(w, {comparableRow("10", "10", "10", "10", "1.000.000,00"),
                             comparableRow("10", "10", "10", "10", "2.000.000,00", "140.000.000,00")});
        w->localisationPage->averageRateEdit->setText(QStringLiteral("4,00"));
        ui::IncomePage *p = w->incomePage;
        typeInto(p->unitRentEdit, QStringLiteral("10000"));
        typeInto(p->depositMonthsEdit, QStringLiteral("3"));
        typeInto(p->commercialRateEdit, QStringLiteral("5"));
        typeInto(p->legalRateEdit, QStringLiteral("2.5"));
        typeInto(p->maintenanceEdit, QStringLiteral("1000000"));
        QCOMPARE(p->netIncomeEdit->text(), QStringLiteral("11.338.000,00"));
        w->selectNode(12);
        QCOMPARE(w->selectedNode(), 12);

        w->euroButton->click();
        QCOMPARE(currency().ValutaCorrente, kEuro);
        QVERIFY(currency().RicalcoloAttivo);
        QVERIFY(w->lireButton->isEnabled());
        QVERIFY(!w->euroButton->isEnabled());
        QCOMPARE(p->maintenanceEdit->text(), QStringLiteral("516,46"));
        QCOMPARE(p->expenseShadowEdits[0]->text(), QStringLiteral("516,456901095808"));
        QCOMPARE(p->midRentEdit->text(), FloatToText(10000 * kFattoreEuro));
        QCOMPARE(p->unitRentEdit->text(), QStringLiteral("5,16"));
        // Gross from the rent as shown (5,16 × 100 m²: 516 × 12,325 + 77,4 - 38,7); the
        // administration was converted, not proposed again.
        QCOMPARE(p->grossIncomeEdit->text(), QStringLiteral("6.398,40"));
        QCOMPARE(p->administrationEdit->text(), QStringLiteral("32,02")); // 62.000 Lire
        QCOMPARE(p->expenseShadowEdits[1]->text(), FloatToText(62000 * kFattoreEuro));
        QCOMPARE(p->grossIncomeEdit->statusTip(), QStringLiteral("Reddito lordo annuo in Euro."));
        QCOMPARE(p->maintenanceEdit->statusTip().right(6), QStringLiteral(" Euro."));
        QCOMPARE(w->resultsPage->incomeTotalEdit->statusTip(),
                 QStringLiteral("Più probabile valore di mercato per capitalizzazione dei redditi in Euro."));
        QCOMPARE(w->comparablesPage->unitCostEdit->statusTip(),
                 QStringLiteral("Costo unitario dell'immobile di confronto corrente in Euro/mq."));
        // The comparables' costs, row by row; an empty total stays empty.
        QCOMPARE(storedText(0, "CostoUnitario"), QStringLiteral("516,46"));
        // The table's shadow field holds 15 characters: one digit fewer than the page's.
        QCOMPARE(storedText(0, "Servizio1"), QStringLiteral("516,45690109580"));
        QCOMPARE(storedText(0, "CostoComplessivo"), QString());
        QCOMPARE(storedText(0, "Servizio2"), QString());
        QCOMPARE(storedText(1, "CostoComplessivo"), FormattaImporto(140000000 * kFattoreEuro));
        // The page shows the converted table.
        QCOMPARE(w->comparablesPage->model()->index(1, 9).data().toString(), FormattaImporto(2000000 * kFattoreEuro));
        // Both values in Euro, and the summary asked for after them.
        const double netEuro = EstraiNumero(p->netIncomeEdit->text());
        QVERIFY(netEuro > 0 && netEuro < 10000);
        QCOMPARE(v.summaries.size(), 1);
        QCOMPARE(v.summaries.first(), w->resultsPage->incomeTotalEdit->text());
        QVERIFY(EstraiNumero(w->resultsPage->incomeTotalEdit->text()) < 200000);
        // Two comparables at the same x: the mean of their converted costs.
        QCOMPARE(w->resultsPage->comparisonUnitEdit->text(),
                 FormattaImporto(std::trunc((EstraiNumero(QStringLiteral("516,46"))
                                             + EstraiNumero(FormattaImporto(2000000 * kFattoreEuro)))
                                            / 2)));

        w->lireButton->click();
        QCOMPARE(currency().ValutaCorrente, kLire);
        QVERIFY(!w->lireButton->isEnabled());
        QVERIFY(w->euroButton->isEnabled());
        QCOMPARE(p->maintenanceEdit->text(), QStringLiteral("1.000.000,01"));
        QCOMPARE(p->expenseShadowEdits[0]->text(), QStringLiteral("516,456901095808"));
        QCOMPARE(p->administrationEdit->text(), QStringLiteral("62.000,00"));
        QCOMPARE(storedText(0, "CostoUnitario"), QStringLiteral("1.000.000,01"));
        QCOMPARE(v.summaries.size(), 2);
        QCOMPARE(p->grossIncomeEdit->statusTip(), QStringLiteral("Reddito lordo annuo in Lire."));
    }

    // A net income the switch cannot compute again (an expense is empty) is
    // still in Lire: it goes, and with it the value by income; the value by
    // comparison is computed from the converted comparables whatever page is
    // shown.
    void switchLeavesNothingInTheOldCurrency_data()
    {
        QTest::addColumn<int>("node");
        QTest::newRow("results page shown") << 12;
        QTest::newRow("start page shown") << 0;
    }
    void switchLeavesNothingInTheOldCurrency()
    {
        QFETCH(int, node);
        AppFixture f;
        MainWindow *w = f.window.get();
        Valuation v(w);
        writeComparables(w, {comparableRow("10", "10", "10", "10", "1.000.000,00"),
                             comparableRow("10", "10", "10", "10", "2.000.000,00")});
        w->localisationPage->averageRateEdit->setText(QStringLiteral("4,00"));
        ui::IncomePage *p = w->incomePage;
        typeInto(p->unitRentEdit, QStringLiteral("10000"));
        typeInto(p->depositMonthsEdit, QStringLiteral("3"));
        typeInto(p->commercialRateEdit, QStringLiteral("5"));
        typeInto(p->legalRateEdit, QStringLiteral("2.5"));
        const QString lireNet = p->netIncomeEdit->text();
        QVERIFY(!lireNet.isEmpty());
        p->insuranceEdit->clear();
        QCOMPARE(p->netIncomeEdit->text(), lireNet); // kept, as with any empty expense
        QVERIFY(!w->resultsPage->incomeTotalEdit->text().isEmpty());
        w->selectNode(node);

        w->euroButton->click();
        QVERIFY(!p->grossIncomeEdit->text().isEmpty());
        QCOMPARE(p->netIncomeEdit->text(), QString());
        QCOMPARE(w->resultsPage->incomeTotalEdit->text(), QString());
        QCOMPARE(w->resultsPage->incomeUnitEdit->text(), QString());
        QCOMPARE(w->resultsPage->comparisonUnitEdit->text(),
                 FormattaImporto(std::trunc((EstraiNumero(FormattaImporto(1000000 * kFattoreEuro))
                                             + EstraiNumero(FormattaImporto(2000000 * kFattoreEuro)))
                                            / 2)));
        QVERIFY(ui::Messages::shown().isEmpty());

        // The missing expense typed again: everything is computed in Euro.
        typeInto(p->insuranceEdit, QStringLiteral("0"));
        QVERIFY(!p->netIncomeEdit->text().isEmpty());
        QVERIFY(EstraiNumero(w->resultsPage->incomeTotalEdit->text()) < 200000);
    }

    // An amount typed over a converted one is the new exact amount.
    void typedAmountAfterSwitch()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        Valuation v(w);
        ui::IncomePage *p = w->incomePage;
        typeInto(p->unitRentEdit, QStringLiteral("10000"));
        typeInto(p->depositMonthsEdit, QStringLiteral("3"));
        typeInto(p->commercialRateEdit, QStringLiteral("5"));
        typeInto(p->legalRateEdit, QStringLiteral("2.5"));
        typeInto(p->maintenanceEdit, QStringLiteral("1000000"));
        w->euroButton->click();
        QCOMPARE(p->maintenanceEdit->text(), QStringLiteral("516,46"));
        typeInto(p->maintenanceEdit, QStringLiteral("600,00"));
        w->lireButton->click();
        QCOMPARE(p->expenseShadowEdits[0]->text(), QStringLiteral("1161762,01171875"));
        QCOMPARE(p->maintenanceEdit->text(), QStringLiteral("1.161.762,01"));
        // Another page shown: no summary is asked for.
        QVERIFY(v.summaries.isEmpty());
    }

    // No reference rent and none typed: the unit rent is not touched.
    void switchWithoutRent()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        Valuation v(w);
        ui::IncomePage *p = w->incomePage;
        QCOMPARE(p->midRentEdit->text(), QStringLiteral("0"));
        w->euroButton->click();
        QCOMPARE(p->unitRentEdit->text(), QString());
        QCOMPARE(p->midRentEdit->text(), QStringLiteral("0"));
        QCOMPARE(p->unitRentEdit->statusTip(), QStringLiteral("Canone mensile di locazione unitario in Euro."));
    }

    void valueByComparison_data()
    {
        QTest::addColumn<bool>("centralZone");
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<QString>("surface");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("status");
        // Central zone, localisation coefficients summing to 0,82, 70 m²:
        // X = 5 + 15 + 15 + 33 = 68, between x = 58 and x = 78.
        const QList<QStringList> two{comparableRow("20", "15", "15", "8", "1.000.000,00"),
                                     comparableRow("25", "20", "20", "13", "1.200.000,00")};
        QTest::newRow("line through two") << true << two << "70" << "1.100.000,00" << "77.000.000,00" << "";
        QList<QStringList> withIncomplete = two;
        withIncomplete << comparableRow("1", "1", "1", "1", "");
        QTest::newRow("incomplete row left out, and told")
            << true << withIncomplete << "70" << "1.100.000,00" << "77.000.000,00"
            << "Comparazione diretta: valore calcolato su 2 dei 3 immobili di confronto; l'altro è incompleto.";
        QTest::newRow("one comparable") << true << QList<QStringList>{two.first()} << "70" << "1.000.000,00"
                                        << "70.000.000,00" << "";
        // No zone: every group is 0, so X = 0 and the intercept is read.
        QTest::newRow("no zone") << false
                                 << QList<QStringList>{comparableRow("5", "5", "0", "0", "1.200.000,00"),
                                                       comparableRow("10", "10", "0", "0", "1.400.000,00")}
                                 << "70" << "1.000.000,00" << "70.000.000,00" << "";
        QTest::newRow("none") << true << QList<QStringList>{} << "70" << "0,00" << "0,00" << "";
        QTest::newRow("surface missing") << true << two << "" << "old" << "old" << "";
        // Costs falling by 120.000 a point from x = 58: -200.000 at X = 68.
        QTest::newRow("line below 0 at the unit")
            << true
            << QList<QStringList>{comparableRow("20", "15", "15", "8", "1.000.000,00"),
                                  comparableRow("20", "15", "15", "13", "400.000,00")}
            << "70" << "" << ""
            << "Comparazione diretta: gli immobili di confronto non consentono di stimare un valore.";
    }
    void valueByComparison()
    {
        QFETCH(bool, centralZone);
        QFETCH(QList<QStringList>, rows);
        QFETCH(QString, surface);
        QFETCH(QString, unit);
        QFETCH(QString, total);
        QFETCH(QString, status);
        AppFixture f;
        MainWindow *w = f.window.get();
        ValueOps values(w);
        values.commercialSurface = [surface] { return surface; };
        writeComparables(w, rows);
        w->localisationPage->centralZoneRadio->setChecked(centralZone);
        w->coefficients[Coef::CICentrRispCentrUrb] = 0.82; // as the capitalisation last left it
        w->resultsPage->comparisonUnitEdit->setText(QStringLiteral("old"));
        w->resultsPage->comparisonTotalEdit->setText(QStringLiteral("old"));
        values.CalcolaCDValoreMercato();
        QCOMPARE(w->resultsPage->comparisonUnitEdit->text(), unit);
        QCOMPARE(w->resultsPage->comparisonTotalEdit->text(), total);
        QCOMPARE(w->statusBar()->currentMessage(), status);
        // Once every comparable counts the word goes; a hint shown meanwhile stays.
        {
            Table t = Table::open(dataPath(kImmConfr));
            t.clear();
        }
        w->comparablesPage->model()->reload();
        values.CalcolaCDValoreMercato();
        QCOMPARE(w->statusBar()->currentMessage(), QString());
        w->statusBar()->showMessage(QStringLiteral("Un suggerimento"));
        values.CalcolaCDValoreMercato();
        QCOMPARE(w->statusBar()->currentMessage(), QStringLiteral("Un suggerimento"));
    }

    // Text where a number belongs ends in the error box with the conversion's
    // text, and the failed computation changes no field and no coefficient.
    void textThatIsNotANumber_data()
    {
        QTest::addColumn<QString>("averageRate");
        QTest::addColumn<QString>("age");
        QTest::addColumn<QString>("unitCost");
        QTest::addColumn<bool>("incomeFails");
        QTest::addColumn<bool>("comparisonFails");
        QTest::addColumn<QString>("message");
        QTest::newRow("average rate") << "abc" << "" << "1.000.000,00" << true << false
                                      << "'abc' non è un valore numerico valido.";
        // Both values read the age: one box for the one failure.
        QTest::newRow("age") << "3,50" << "n.d." << "1.000.000,00" << true << true
                             << "'n.d.' non è un valore numerico valido.";
        QTest::newRow("a comparable's unit cost") << "3,50" << "" << "n.d." << false << true
                                                  << "'n.d.' non è un valore numerico valido.";
    }
    void textThatIsNotANumber()
    {
        QFETCH(QString, averageRate);
        QFETCH(QString, age);
        QFETCH(QString, unitCost);
        QFETCH(bool, incomeFails);
        QFETCH(bool, comparisonFails);
        QFETCH(QString, message);
        AppFixture f;
        MainWindow *w = f.window.get();
        ValueOps values(w);
        values.commercialSurface = [] { return QStringLiteral("70"); };
        writeComparables(w, {comparableRow("20", "15", "15", "8", "1.000.000,00"),
                             comparableRow("25", "20", "20", "13", unitCost)});
        w->localisationPage->centralZoneRadio->setChecked(true);
        w->localisationPage->averageRateEdit->setText(averageRate);
        ui::setComboText(w->descriptionPage->buildingAgeCombo, age);
        w->incomePage->netIncomeEdit->setText(QStringLiteral("1.000.000,00"));
        ui::ResultsPage *r = w->resultsPage;
        for (QLineEdit *e : {r->incomeTotalEdit, r->incomeUnitEdit, r->comparisonTotalEdit, r->comparisonUnitEdit})
            e->setText(QStringLiteral("old"));
        w->coefficients[Coef::SaggioCapitalizzaz] = 3.3;
        w->coefficients[Coef::CILuminosita] = 0.44;
        w->coefficients[Coef::CDCarattPosizione] = 7.0;

        // As a new net income runs them: the value by income, then by comparison.
        values.CalcolaCIValoreMercato();
        values.CalcolaCDValoreMercato();
        QCOMPARE(ui::Messages::shown().size(), 1);
        QCOMPARE(ui::Messages::shown().first().kind, ui::Messages::Shown::Error);
        QCOMPARE(ui::Messages::shown().first().text, message);
        QCOMPARE(r->incomeTotalEdit->text() == QLatin1String("old"), incomeFails);
        QCOMPARE(r->incomeUnitEdit->text() == QLatin1String("old"), incomeFails);
        QCOMPARE(w->coefficients[Coef::SaggioCapitalizzaz] == 3.3, incomeFails);
        QCOMPARE(w->coefficients[Coef::CILuminosita] == 0.44, incomeFails);
        QCOMPARE(r->comparisonUnitEdit->text() == QLatin1String("old"), comparisonFails);
        QCOMPARE(r->comparisonTotalEdit->text() == QLatin1String("old"), comparisonFails);
        QCOMPARE(w->coefficients[Coef::CDCarattPosizione] == 7.0, comparisonFails);

        // The same failure met again in the same change is not reported
        // twice; the next change reports it again.
        values.CalcolaCIValoreMercato();
        values.CalcolaCDValoreMercato();
        QCOMPARE(ui::Messages::shown().size(), 1);
        QCoreApplication::processEvents();
        values.CalcolaCDValoreMercato();
        values.CalcolaCIValoreMercato();
        QCOMPARE(ui::Messages::shown().size(), 2);
    }

    void valueByIncome_data()
    {
        QTest::addColumn<QString>("net");
        QTest::addColumn<QString>("average");
        QTest::addColumn<QString>("distance");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("unit");
        // 40 m² gives -0,19 and no facility ticked 0,28: rate = average + 0,09.
        QTest::newRow("rate 3, truncated") << "1.000.000,00" << "2,91" << "" << "33.333.333,00" << "833.333,00";
        QTest::newRow("net not positive") << "-1.000,00" << "2,91" << "" << "" << "";
        QTest::newRow("net zero is worth 0") << "0,00" << "2,91" << "" << "0,00" << "0,00";
        // 0 + 0,09 - 0,66 < 0: no value, and the old one goes.
        QTest::newRow("rate below 0") << "1.000.000,00" << "0,00" << "Meno di 500 metri" << "" << "";
        // 0,38 + 0,09 - 0,47 is 0 in decimal, 5.6e-17 in binary: not a rate.
        QTest::newRow("rate 0 in decimal") << "1.000.000,00" << "0,38" << "Meno di 250 metri" << "" << "";
        QTest::newRow("net missing") << "" << "2,91" << "" << "old" << "old";
    }
    void valueByIncome()
    {
        QFETCH(QString, net);
        QFETCH(QString, average);
        QFETCH(QString, distance);
        QFETCH(QString, total);
        QFETCH(QString, unit);
        AppFixture f;
        MainWindow *w = f.window.get();
        ValueOps values(w);
        values.commercialSurface = [] { return QStringLiteral("40"); };
        w->localisationPage->averageRateEdit->setText(average);
        ui::setComboText(w->localisationPage->mainStreetDistanceCombo, distance);
        w->resultsPage->incomeTotalEdit->setText(QStringLiteral("old"));
        w->resultsPage->incomeUnitEdit->setText(QStringLiteral("old"));
        w->incomePage->netIncomeEdit->setText(net);
        values.CalcolaCIValoreMercato();
        QCOMPARE(w->resultsPage->incomeTotalEdit->text(), total);
        QCOMPARE(w->resultsPage->incomeUnitEdit->text(), unit);
    }

    void resultHints()
    {
        AppFixture f;
        ValueOps values(f.window.get());
        currency().setEuro();
        values.SetHintRisultatiStima();
        ui::ResultsPage *r = f.window->resultsPage;
        QCOMPARE(r->comparisonUnitEdit->statusTip(),
                 QStringLiteral("Più probabile valore di mercato unitario per comparazione diretta in Euro/mq."));
        QCOMPARE(r->incomeUnitEdit->statusTip(),
                 QStringLiteral("Più probabile valore di mercato unitario per capitalizzazione dei redditi in Euro/mq."));
        QCOMPARE(r->comparisonTotalEdit->statusTip(),
                 QStringLiteral("Più probabile valore di mercato per comparazione diretta in Euro."));
        QCOMPARE(r->incomeTotalEdit->statusTip(),
                 QStringLiteral("Più probabile valore di mercato per capitalizzazione dei redditi in Euro."));
    }
};

QTEST_MAIN(TestValueOps)
#include "tst_valueops.moc"
