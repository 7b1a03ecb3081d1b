// SPDX-License-Identifier: GPL-2.0-or-later
#include "../support/appfixture.h"
#include "app/application.h"
#include "app/incomeops.h"
#include "app/valueops.h"
#include "model/currency.h"
#include "model/numbertext.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/pagekit.h"
#include "pages/resultspage.h"
#include "pages/typologypage.h"
#include "store/datafolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using namespace brevan;
using brevan::app::IncomeOps;
using brevan::app::MainWindow;
using brevan::app::ValueOps;

namespace {

// Types into a field as the user does: focus, select what is there, type.
void typeInto(QLineEdit *e, const QString &text)
{
    e->setFocus();
    e->selectAll();
    if (text.isEmpty())
        QTest::keyClick(e, Qt::Key_Backspace);
    else
        QTest::keyClicks(e, text);
}

// Rent, deposit and the two rates typed in, in the page's order.
void typeIncomeInputs(ui::IncomePage *p, const QString &rent, const QString &months, const QString &commercial,
                      const QString &legal)
{
    typeInto(p->unitRentEdit, rent);
    typeInto(p->depositMonthsEdit, months);
    typeInto(p->commercialRateEdit, commercial);
    typeInto(p->legalRateEdit, legal);
}

QStringList expenseTexts(const ui::IncomePage *p)
{
    QStringList out;
    for (int i = 0; i < 6; ++i)
        out << p->expenseEdit(i)->text();
    return out;
}

void writeUnitRents(const QList<QStringList> &rows)
{
    const QString path = dataPath(kCanoniLocazUnitari);
    rebuildTable(path, unitRentsLayout(), 0);
    Table t = Table::open(path);
    // Layout order: Anno, CanoneLocazMin, CanoneLocazMax, Zona.
    for (const QStringList &r : rows)
        t.append({r.at(0), r.at(1), r.at(2), r.at(3)});
}

const QString kDepositWarning =
    QStringLiteral("Il numero delle cauzioni non può essere nullo o \nsuperare le tre mensilità previste dalla legge.");

} // namespace

class TestIncomeOps : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }

    void grossIncome_data()
    {
        QTest::addColumn<QString>("rent");
        QTest::addColumn<QString>("months");
        QTest::addColumn<QString>("commercial");
        QTest::addColumn<QString>("legal");
        QTest::addColumn<QString>("surface");
        QTest::addColumn<QString>("gross");
        QTest::addColumn<QString>("rentShown");
        // M = 1.000.000, D = 150.000, L = 75.000, R = 12.325.000.
        QTest::newRow("worked example") << "10000" << "3" << "5" << "2.5" << "100" << "12.400.000,00"
                                        << "10.000,00";
        // M = 769.500, R = M × 12,26 = 9.434.070, D = 61.560, L = 30.780.
        QTest::newRow("decimal surface") << "9000" << "2" << "4" << "2" << "85,5" << "9.464.850,00" << "9.000,00";
        QTest::newRow("surface not computed") << "10000" << "3" << "5" << "2.5" << "" << "" << "10.000,00";
        QTest::newRow("no legal rate") << "10000" << "3" << "5" << "" << "100" << "" << "10.000,00";
    }
    void grossIncome()
    {
        QFETCH(QString, rent);
        QFETCH(QString, months);
        QFETCH(QString, commercial);
        QFETCH(QString, legal);
        QFETCH(QString, surface);
        QFETCH(QString, gross);
        QFETCH(QString, rentShown);
        AppFixture f;
        IncomeOps ops(f.window.get());
        ops.commercialSurface = [surface] { return surface; };
        ui::IncomePage *p = f.window->incomePage;
        typeIncomeInputs(p, rent, months, commercial, legal);
        QCOMPARE(p->grossIncomeEdit->text(), gross);
        // The rates' reactions rewrite the typed rent as an amount.
        QCOMPARE(p->unitRentEdit->text(), rentShown);
        if (gross.isEmpty()) {
            QCOMPARE(expenseTexts(p), QStringList(6, QString()));
            QCOMPARE(p->netIncomeEdit->text(), QString());
        }
    }

    // The gross income proposes the six expenses: maintenance by the exterior
    // state, administration by the plants, taxes by category and class, and
    // "0,00" for the three the user is meant to type.
    void newGrossReproposesExpenses()
    {
        AppFixture f;
        IncomeOps ops(f.window.get());
        ops.commercialSurface = [] { return QStringLiteral("100"); };
        ui::IncomePage *p = f.window->incomePage;
        ui::setComboText(f.window->typologyPage->repairOutsideCombo, QStringLiteral("Buono"));
        ui::setComboText(f.window->descriptionPage->categoryCombo, QStringLiteral("A/3"));
        f.window->descriptionPage->classEdit->setText(QStringLiteral("2"));
        typeIncomeInputs(p, QStringLiteral("10000"), QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("2.5"));
        // 12.400.000 × 0,035; × 0,005 (neither lift nor heating); × 0,26.
        const QStringList first{"434.000,00", "62.000,00", "0,00", "0,00", "0,00", "3.224.000,00"};
        QCOMPARE(expenseTexts(p), first);
        QCOMPARE(p->netIncomeEdit->text(), QStringLiteral("8.680.000,00"));
        QCOMPARE(p->maintenanceEdit->statusTip(),
                 QStringLiteral("|Spese di manutenzione ordinaria e straordinaria: l'incidenza massima è di circa "
                                "744.000,00 Lire.")
                     .mid(1));

        // The user's own figure goes when the gross income changes.
        typeInto(p->insuranceEdit, QStringLiteral("1000"));
        QCOMPARE(p->netIncomeEdit->text(), QStringLiteral("8.679.000,00"));
        typeInto(p->depositMonthsEdit, QStringLiteral("2"));
        // M = 1.000.000: R = 12.325.000, D = 100.000, L = 50.000.
        QCOMPARE(p->grossIncomeEdit->text(), QStringLiteral("12.375.000,00"));
        const QStringList second{"433.125,00", "61.875,00", "0,00", "0,00", "0,00", "3.217.500,00"};
        QCOMPARE(expenseTexts(p), second);
        QCOMPARE(p->netIncomeEdit->text(), QStringLiteral("8.662.500,00"));
    }

    // A typed expense survives a plant change; only the administration is
    // proposed afresh, and not at all while a conversion runs.
    void singleExpenseTriggers_data()
    {
        QTest::addColumn<bool>("recalculating");
        QTest::addColumn<QString>("administration");
        QTest::newRow("recalculation on") << true << "124.000,00";
        QTest::newRow("during a conversion") << false << "62.000,00";
    }
    void singleExpenseTriggers()
    {
        QFETCH(bool, recalculating);
        QFETCH(QString, administration);
        AppFixture f;
        IncomeOps ops(f.window.get());
        ops.commercialSurface = [] { return QStringLiteral("100"); };
        ui::IncomePage *p = f.window->incomePage;
        typeIncomeInputs(p, QStringLiteral("10000"), QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("2.5"));
        typeInto(p->vacancyEdit, QStringLiteral("500"));
        const QStringList before = expenseTexts(p);
        QCOMPARE(before.at(2), QStringLiteral("500"));

        f.window->typologyPage->liftCheck->setChecked(true);
        currency().RicalcoloAttivo = recalculating;
        ops.RiproponiSpeseAmministrazione();
        currency().RicalcoloAttivo = true;
        QStringList expected = before;
        expected[1] = administration; // lift alone: 0,01
        QCOMPARE(expenseTexts(p), expected);
    }

    // With no surface there is no gross income, yet a plant click still
    // proposes the administration expense, from a gross of 0.
    void plantClickWithoutGrossIncome()
    {
        AppFixture f;
        IncomeOps ops(f.window.get());
        ui::IncomePage *p = f.window->incomePage;
        typeIncomeInputs(p, QStringLiteral("10000"), QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("2.5"));
        QCOMPARE(p->grossIncomeEdit->text(), QString());
        ops.RiproponiSpeseAmministrazione();
        QCOMPARE(p->administrationEdit->text(), QStringLiteral("0,00"));
        QCOMPARE(p->netIncomeEdit->text(), QString());
    }

    void depositCheck_data()
    {
        QTest::addColumn<QString>("months");
        QTest::addColumn<bool>("refused");
        QTest::newRow("none") << "0" << true;
        QTest::newRow("one") << "1" << false;
        QTest::newRow("three") << "3" << false;
        QTest::newRow("four") << "4" << true;
        QTest::newRow("nine") << "9" << true;
    }
    void depositCheck()
    {
        QFETCH(QString, months);
        QFETCH(bool, refused);
        AppFixture f;
        IncomeOps ops(f.window.get());
        ops.commercialSurface = [] { return QStringLiteral("100"); };
        ui::IncomePage *p = f.window->incomePage;
        typeIncomeInputs(p, QStringLiteral("10000"), QStringLiteral("2"), QStringLiteral("5"), QStringLiteral("2.5"));
        QVERIFY(!p->grossIncomeEdit->text().isEmpty());
        ui::Messages::resetForTests();
        ui::Messages::setAnswers([](const ui::Messages::Shown &) { return true; });
        typeInto(p->depositMonthsEdit, months);
        const auto &shown = ui::Messages::shown();
        if (refused) {
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown.first().kind, ui::Messages::Shown::Warning);
            QCOMPARE(shown.first().text, kDepositWarning);
            QCOMPARE(p->depositMonthsEdit->text(), QString());
            QCOMPARE(p->grossIncomeEdit->text(), QString());
            QCOMPARE(p->netIncomeEdit->text(), QString());
            QCOMPARE(expenseTexts(p), QStringList(6, QString()));
        } else {
            QVERIFY(shown.isEmpty());
            QCOMPARE(p->depositMonthsEdit->text(), months);
            QVERIFY(!p->grossIncomeEdit->text().isEmpty());
        }
    }

    void rentLookup_data()
    {
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<bool>("euro");
        QTest::addColumn<QString>("rent");
        QTest::addColumn<QString>("middle");
        QTest::addColumn<QString>("hint");
        const QStringList first{"2001", "8000", "9001", "Zona intermedia"};
        const QStringList later{"2001", "8500", "9500", "Zona intermedia"};
        const QString none = QStringLiteral("Canone mensile di locazione unitario in Lire.");
        QTest::newRow("last matching row wins")
            << QList<QStringList>{first, {"2001", "1000", "2000", "Zona centrale"}, later, {"2000", "1", "2", "Zona intermedia"}}
            << false << "9.000,00" << "9000"
            << "Canone mensile di locazione unitario variabile fra un minimo di 8.500,00 Lire e un massimo di "
               "9.500,00 Lire.";
        QTest::newRow("middle truncated") << QList<QStringList>{first} << false << "8.500,00" << "8500"
                                          << "Canone mensile di locazione unitario variabile fra un minimo di "
                                             "8.000,00 Lire e un massimo di 9.001,00 Lire.";
        QTest::newRow("in euro") << QList<QStringList>{first} << true << FormattaImporto(8500 * kFattoreEuro)
                                 << FloatToText(8500 * kFattoreEuro)
                                 << "Canone mensile di locazione unitario variabile fra un minimo di "
                                        + FormattaImporto(8000 * kFattoreEuro) + " Euro e un massimo di "
                                        + FormattaImporto(9001 * kFattoreEuro) + " Euro.";
        QTest::newRow("minimum 0") << QList<QStringList>{{"2001", "0", "9001", "Zona intermedia"}} << false << ""
                                   << "0" << none;
        QTest::newRow("other zone only") << QList<QStringList>{{"2001", "8000", "9001", "Zona centrale"}} << false
                                         << "" << "0" << none;
        QTest::newRow("rent text not a number")
            << QList<QStringList>{{"2001", "otto", "9001", "Zona intermedia"}} << false << "" << "0" << none;
    }
    void rentLookup()
    {
        QFETCH(QList<QStringList>, rows);
        QFETCH(bool, euro);
        QFETCH(QString, rent);
        QFETCH(QString, middle);
        QFETCH(QString, hint);
        AppFixture f;
        IncomeOps ops(f.window.get());
        writeUnitRents(rows);
        if (euro)
            currency().setEuro();
        f.window->descriptionPage->dateEdit->setDate(QDate(2001, 6, 15));
        f.window->localisationPage->intermediateZoneRadio->setChecked(true);
        ui::IncomePage *p = f.window->incomePage;
        p->unitRentEdit->setText(QStringLiteral("1,00")); // a stale rent the lookup must replace
        ops.SetCanoneMensileDiLocazioneUnitario();
        QCOMPARE(p->unitRentEdit->text(), rent);
        QCOMPARE(p->midRentEdit->text(), middle);
        QCOMPARE(p->unitRentEdit->statusTip(), hint);
        QVERIFY(ui::Messages::shown().isEmpty());
    }

    // A first run has no working unit-rent table: that is no rent, not an error.
    void rentLookupWithoutTable()
    {
        AppFixture f;
        IncomeOps ops(f.window.get());
        QVERIFY(!Table::exists(dataPath(kCanoniLocazUnitari)));
        f.window->localisationPage->centralZoneRadio->setChecked(true);
        f.window->incomePage->unitRentEdit->setText(QStringLiteral("5,00"));
        ops.SetCanoneMensileDiLocazioneUnitario();
        QCOMPARE(f.window->incomePage->unitRentEdit->text(), QString());
        QCOMPARE(f.window->incomePage->maxRentEdit->text(), QStringLiteral("0"));
        QVERIFY(ui::Messages::shown().isEmpty());
    }

    // A rent typed over the proposed one becomes the middle reference rent.
    void typedRentBecomesMiddle()
    {
        AppFixture f;
        IncomeOps ops(f.window.get());
        ui::IncomePage *p = f.window->incomePage;
        typeInto(p->unitRentEdit, QStringLiteral("12.5"));
        QCOMPARE(p->unitRentEdit->text(), QStringLiteral("12,5"));
        QCOMPARE(p->midRentEdit->text(), QStringLiteral("12,5"));
        QCOMPARE(p->unitRentEdit->statusTip(), QStringLiteral("Canone mensile di locazione unitario in Lire."));
    }

    // A new net income recomputes the value by income, then by comparison;
    // a net income that is not positive leaves no value by income showing.
    void netIncomeRecomputesValues()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        IncomeOps income(w);
        ValueOps values(w);
        const auto surface = [] { return QStringLiteral("100"); };
        income.commercialSurface = surface;
        values.commercialSurface = surface;
        QStringList calls;
        connect(&income, &IncomeOps::CalcolaCIValoreMercatoRequested, &values, [&] {
            calls << QStringLiteral("CI");
            values.CalcolaCIValoreMercato();
        });
        connect(&income, &IncomeOps::CalcolaCDValoreMercatoRequested, &values, [&] {
            calls << QStringLiteral("CD");
            values.CalcolaCDValoreMercato();
        });
        w->localisationPage->averageRateEdit->setText(QStringLiteral("4,00"));
        ui::IncomePage *p = w->incomePage;
        typeIncomeInputs(p, QStringLiteral("10000"), QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("2.5"));
        QCOMPARE(p->netIncomeEdit->text(), QStringLiteral("12.338.000,00"));
        QVERIFY(calls.size() >= 2);
        for (int i = 0; i + 1 < calls.size(); i += 2)
            QCOMPARE(calls.mid(i, 2), (QStringList{"CI", "CD"}));
        // Rate 4 + 0,28 (no facility) + 0,74 (100 m²) = 5,02.
        QCOMPARE(w->resultsPage->incomeTotalEdit->text(), QStringLiteral("245.776.892,00"));
        QCOMPARE(w->resultsPage->incomeUnitEdit->text(), QStringLiteral("2.457.768,00"));
        // No comparables: the line gives 0.
        QCOMPARE(w->resultsPage->comparisonUnitEdit->text(), QStringLiteral("0,00"));
        QCOMPARE(w->resultsPage->comparisonTotalEdit->text(), QStringLiteral("0,00"));

        typeInto(p->maintenanceEdit, QStringLiteral("20000000"));
        QVERIFY(p->netIncomeEdit->text().startsWith(QLatin1Char('-')));
        QCOMPARE(w->resultsPage->incomeTotalEdit->text(), QString());
        QCOMPARE(w->resultsPage->incomeUnitEdit->text(), QString());
    }

    void hints()
    {
        AppFixture f;
        IncomeOps ops(f.window.get());
        currency().setEuro();
        ops.SetHintRedditoLordoNetto();
        ops.SetHintSpese();
        ui::IncomePage *p = f.window->incomePage;
        QCOMPARE(p->grossIncomeEdit->statusTip(), QStringLiteral("Reddito lordo annuo in Euro."));
        QCOMPARE(p->netIncomeEdit->statusTip(), QStringLiteral("Reddito netto annuo in Euro."));
        QCOMPARE(p->insuranceEdit->statusTip(), QStringLiteral("Spese per assicurazioni in Euro."));
        p->grossIncomeEdit->blockSignals(true);
        p->grossIncomeEdit->setText(QStringLiteral("1.000.000,00"));
        p->grossIncomeEdit->blockSignals(false);
        ops.SetHintSpese();
        QCOMPARE(p->taxesEdit->statusTip(),
                 QStringLiteral("Aliquote per imposte e tasse: l'incidenza massima è di circa 300.000,00 Euro."));
        QCOMPARE(p->vacancyEdit->statusTip(),
                 QStringLiteral("Alee per sfitti e inesigibilità: l'incidenza massima è di circa 20.000,00 Euro."));
    }

    void resetUnitRent()
    {
        AppFixture f;
        IncomeOps ops(f.window.get());
        ui::IncomePage *p = f.window->incomePage;
        for (QLineEdit *e : {p->midRentEdit, p->minRentEdit, p->maxRentEdit, p->unitRentEdit})
            e->setText(QStringLiteral("9000"));
        ops.resetUnitRent();
        QCOMPARE(p->midRentEdit->text(), QStringLiteral("0"));
        QCOMPARE(p->minRentEdit->text(), QStringLiteral("0"));
        QCOMPARE(p->maxRentEdit->text(), QStringLiteral("0"));
        QCOMPARE(p->unitRentEdit->text(), QString());
    }
};

QTEST_MAIN(TestIncomeOps)
#include "tst_incomeops.moc"
