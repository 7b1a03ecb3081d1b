// SPDX-License-Identifier: GPL-2.0-or-later
// The program as a user meets it: every operation wired, chains crossing
// subsystems, and an appraisal that survives saving, a new appraisal and
// opening.
#include "../support/appfixture.h"
#include "app/application.h"
#include "model/currency.h"
#include "model/numbertext.h"
#include "pages/comparablespage.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/resultspage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"

#include <QTableView>
#include "store/tablestore.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

using namespace brevan;
using brevan::app::MainWindow;

namespace {

// Rooms through the grid's model, as typing into the cells does.
void fillRooms(MainWindow *w, const QList<QPair<QString, double>> &rooms)
{
    ui::TableModel *m = w->surfacesPage->model();
    for (int i = 0; i < rooms.size(); ++i) {
        QVERIFY(m->setData(m->index(i, 0), rooms[i].first));
        QVERIFY(m->setData(m->index(i, 1), FloatToText(rooms[i].second)));
    }
}

void type(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Surfaces, town size, rent, deposit and rates: enough for both incomes and
// the value by income.
void describeUnit(MainWindow *w)
{
    fillRooms(w, {{"Camera", 20}, {"Soggiorno", 80}});
    // Releasing the mouse over the grid enables "Calcola superfici".
    QTest::mouseClick(w->surfacesPage->grid->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(w->surfacesPage->computeButton->isEnabled());
    w->surfacesPage->computeButton->click();
    w->localisationPage->mediumTownRadio->click();
    type(w->incomePage->unitRentEdit, "10000");
    type(w->incomePage->depositMonthsEdit, "3");
    type(w->incomePage->commercialRateEdit, "5");
    type(w->incomePage->legalRateEdit, "2.5");
}

// Two complete comparables, x = 50 and x = 60, in the working table.
void addComparables(MainWindow *w)
{
    ui::TableModel *m = w->comparablesPage->model();
    for (const QStringList &row : {QStringList{"Via Po", "1", "1", "", "90", "10", "15", "15", "10", "1.000.000,00"},
                                   QStringList{"Via Po", "3", "2", "", "95", "12", "18", "15", "15", "1.200.000,00"}}) {
        const int r = m->appendRow();
        QVERIFY(r >= 0);
        for (int c = 0; c < row.size(); ++c)
            QVERIFY(m->setData(m->index(r, c), row.at(c)));
    }
}

QString storedText(const QString &path, const char *field)
{
    const Table t = Table::open(path);
    return t.text(t.rowIds().first(), QLatin1String(field));
}

// The appraisal table as a program that did not record the currency wrote
// it: the same 149 fields and values, without the last column.
void dropCurrencyColumn(const QString &path)
{
    const Table source = Table::open(path);
    Layout layout = source.layout();
    QCOMPARE(layout.last().name, QStringLiteral("Valuta"));
    layout.removeLast();
    QVariantList row = source.rows().first();
    row.removeLast();
    const QString older = path + QStringLiteral(".old");
    Table::create(older, layout);
    Table(Table::open(older)).append(row);
    QVERIFY(QFile::remove(path));
    QVERIFY(QFile::rename(older, path));
}

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<AppFixture> f;
    MainWindow *w() { return f->window.get(); }

private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }
    void init()
    {
        currency().reset();
        f = std::make_unique<AppFixture>(app::Operations::Wired);
        w()->show();
        QVERIFY(QTest::qWaitForWindowExposed(w()));
        QApplication::setActiveWindow(w());
    }
    void cleanup()
    {
        f.reset();
        currency().reset();
    }

    void municipalityCascadeReachesOtherPages()
    {
        w()->selectNode(2);
        QComboBox *town = w()->descriptionPage->municipalityCombo;
        town->setFocus();
        QElapsedTimer timer;
        timer.start();
        QTest::keyClicks(town, "Abano Terme");
        qInfo("typing a municipality of 11 letters: %lld ms", timer.elapsed());
        QCOMPARE(w()->descriptionPage->provinceCombo->currentText(), QStringLiteral("Padova"));
        QCOMPARE(w()->descriptionPage->provinceCodeCombo->currentText(), QStringLiteral("PD"));
        QCOMPARE(w()->descriptionPage->postalCodeCombo->currentText(), QStringLiteral("35031"));
        QVERIFY(!w()->localisationPage->zonesEditorButton->isHidden());
        QVERIFY(!w()->incomePage->unitRentTableButton->isHidden());
        QCOMPARE(Table::open(f->dataFolder() + "/ZonaUrbana.db").rowCount(), 11);
        QCOMPARE(Table::open(f->dataFolder() + "/CanoniLocazUnitari.db").rowCount(), 11);
    }

    void surfacesIncomesAndValuesFollowEachOther()
    {
        describeUnit(w());
        QCOMPARE(w()->surfacesPage->commercialValueEdit->text(), QStringLiteral("100"));
        QCOMPARE(w()->surfacesPage->commercialEdit->text(), QStringLiteral("100,00  mq"));
        QCOMPARE(w()->localisationPage->averageRateEdit->text(), QStringLiteral("3,50"));
        QCOMPARE(w()->incomePage->grossIncomeEdit->text(), QStringLiteral("12.400.000,00"));
        // The gross income proposed the six expenses and the net income followed.
        for (int i = 0; i < 6; ++i)
            QVERIFY2(!w()->incomePage->expenseEdit(i)->text().isEmpty(), qPrintable(QString::number(i)));
        QVERIFY(!w()->incomePage->netIncomeEdit->text().isEmpty());
        // The new net income computed the value by income on the results page.
        QVERIFY(!w()->resultsPage->incomeTotalEdit->text().isEmpty());
        QVERIFY(!w()->resultsPage->incomeUnitEdit->text().isEmpty());
    }

    void resultsPageComputesAndWritesTheSummary()
    {
        describeUnit(w());
        // A click on the results node refreshes the lights, then computes.
        w()->node(0)->setExpanded(true);
        w()->selectNode(12);
        QTest::mouseClick(w()->tree->viewport(), Qt::LeftButton, {},
                          w()->tree->visualItemRect(w()->node(12)).center());
        QCOMPARE(w()->shownPage(), 12);
        QVERIFY(w()->resultsPage->summaryEdit->toPlainText().contains(QStringLiteral("Calcolo delle superfici")));
        QVERIFY(!w()->resultsPage->comparisonTotalEdit->text().isEmpty());
    }

    void lightsFollowTheTreeClick()
    {
        describeUnit(w());
        w()->node(0)->setExpanded(true);
        w()->selectNode(6);
        const QRect r = w()->tree->visualItemRect(w()->node(6));
        QTest::mouseClick(w()->tree->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(w()->nodeLight(6), art::NodeImage::Green);
        QCOMPARE(w()->nodeLight(1), art::NodeImage::Red);
    }

    void switchToEuroAndBack()
    {
        describeUnit(w());
        w()->selectNode(12);
        w()->euroButton->click();
        QCOMPARE(currency().ValutaCorrente, QStringLiteral(" Euro"));
        QVERIFY(w()->lireButton->isEnabled());
        QVERIFY(!w()->euroButton->isEnabled());
        QCOMPARE(w()->incomePage->unitRentEdit->text(), FormattaImporto(10000 * kFattoreEuro));
        w()->lireButton->click();
        QCOMPARE(currency().ValutaCorrente, QStringLiteral(" Lire"));
        QVERIFY(w()->euroButton->isEnabled());
    }

    // Saving first brings both values up to date, so that the record holds
    // every amount in one currency and values from the comparables as they are.
    void savedValuesAreUpToDate_data()
    {
        QTest::addColumn<bool>("switchToEuro");
        QTest::addColumn<bool>("changeComparable");
        QTest::newRow("switched to Euro away from the results") << true << false;
        QTest::newRow("a comparable changed after the values") << false << true;
    }
    void savedValuesAreUpToDate()
    {
        QFETCH(bool, switchToEuro);
        QFETCH(bool, changeComparable);
        // A zone places the unit on the comparables' line.
        w()->localisationPage->centralZoneRadio->click();
        describeUnit(w());
        addComparables(w());
        w()->showPageCommand(12);
        const QString lireUnit = w()->resultsPage->comparisonUnitEdit->text();
        QVERIFY(EstraiNumero(lireUnit) > 100000);
        w()->selectNode(0);
        if (switchToEuro)
            w()->euroButton->click();
        if (changeComparable) {
            ui::TableModel *m = w()->comparablesPage->model();
            QVERIFY(m->setData(m->index(1, 9), QStringLiteral("2.400.000,00")));
        }
        const QString saved = f->path("Stima - aggiornata.db");
        ui::Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return saved; });
        w()->saveAction->trigger();
        QVERIFY(QFile::exists(saved));
        QVERIFY(ui::Messages::shown().isEmpty());

        // What the results page computes now is what was stored.
        w()->showPageCommand(12);
        const ui::ResultsPage *r = w()->resultsPage;
        QCOMPARE(storedText(saved, "CostoUnitario"), r->comparisonUnitEdit->text());
        QCOMPARE(storedText(saved, "CostoComplessivo"), r->comparisonTotalEdit->text());
        QCOMPARE(storedText(saved, "CICostoUnitario"), r->incomeUnitEdit->text());
        QCOMPARE(storedText(saved, "CICostoComplessivo"), r->incomeTotalEdit->text());
        QCOMPARE(storedText(saved, "Valuta"), switchToEuro ? QStringLiteral("Euro") : QStringLiteral("Lire"));
        if (switchToEuro)
            QVERIFY(EstraiNumero(storedText(saved, "CostoUnitario")) * 1000 < EstraiNumero(lireUnit));
        else
            QVERIFY(storedText(saved, "CostoUnitario") != lireUnit);
    }

    // An appraisal opens in the currency its amounts were saved in, whatever
    // the one in force, so every figure keeps its meaning; a file saved
    // before the currency was recorded holds Lire.
    void appraisalOpensInItsCurrency_data()
    {
        QTest::addColumn<bool>("savedInEuro");
        QTest::addColumn<bool>("older");
        QTest::newRow("saved in Euro, opened under Lire") << true << false;
        QTest::newRow("saved in Lire, opened under Euro") << false << false;
        QTest::newRow("older file, opened under Euro") << false << true;
    }
    void appraisalOpensInItsCurrency()
    {
        QFETCH(bool, savedInEuro);
        QFETCH(bool, older);
        describeUnit(w());
        if (savedInEuro)
            w()->euroButton->click();
        w()->showPageCommand(12);
        const ui::IncomePage *p = w()->incomePage;
        const ui::ResultsPage *r = w()->resultsPage;
        const QStringList before{p->unitRentEdit->text(), p->grossIncomeEdit->text(), p->maintenanceEdit->text(),
                                 p->netIncomeEdit->text(), r->incomeTotalEdit->text()};
        QVERIFY(!before.last().isEmpty());
        const QString saved = f->path("Stima - valuta.db");
        ui::Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return saved; });
        w()->saveAction->trigger();
        if (older)
            dropCurrencyColumn(saved);

        // The other currency in force, then a new appraisal before opening.
        (savedInEuro ? w()->lireButton : w()->euroButton)->click();
        f->answer = true;
        w()->newAction->trigger();
        QCOMPARE(currency().euroInForce(), !savedInEuro);
        w()->openAction->trigger();

        QCOMPARE(currency().euroInForce(), savedInEuro);
        QCOMPARE(w()->euroButton->isEnabled(), !savedInEuro);
        QCOMPARE(w()->lireButton->isEnabled(), savedInEuro);
        w()->showPageCommand(12);
        const QStringList after{p->unitRentEdit->text(), p->grossIncomeEdit->text(), p->maintenanceEdit->text(),
                                p->netIncomeEdit->text(), r->incomeTotalEdit->text()};
        QCOMPARE(after, before);
        QCOMPARE(r->incomeTotalEdit->statusTip().endsWith(savedInEuro ? QLatin1String(" Euro.") : QLatin1String(" Lire.")),
                 true);
        QCOMPARE(ui::Messages::shown().size(), 1); // the new appraisal's question
    }

    void appraisalSurvivesSaveNewAndOpen()
    {
        w()->descriptionPage->addressEdit->setText("via Roma");
        w()->descriptionPage->houseNumberEdit->setText("12/A");
        describeUnit(w());
        const QString gross = w()->incomePage->grossIncomeEdit->text();
        const QString folder = f->path("archivio");
        QDir().mkpath(folder);
        QString saved;
        ui::Messages::setFileAnswers([&](const ui::FileDialogRequest &r) {
            saved = folder + "/" + r.suggested;
            return saved;
        });
        w()->saveAction->trigger();
        QVERIFY2(QFile::exists(saved), qPrintable(saved));
        QVERIFY(!QFileInfo(saved).fileName().contains(QLatin1Char('/')));

        f->answer = true;
        w()->newAction->trigger();
        QCOMPARE(w()->descriptionPage->addressEdit->text(), QString());
        QCOMPARE(w()->incomePage->grossIncomeEdit->text(), QString());
        QCOMPARE(w()->surfacesPage->model()->rowCount(), 25);

        ui::Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return saved; });
        w()->openAction->trigger();
        QCOMPARE(w()->descriptionPage->addressEdit->text(), QStringLiteral("via Roma"));
        QCOMPARE(w()->descriptionPage->houseNumberEdit->text(), QStringLiteral("12/A"));
        QCOMPARE(w()->surfacesPage->commercialValueEdit->text(), QStringLiteral("100"));
        QCOMPARE(w()->localisationPage->averageRateEdit->text(), QStringLiteral("3,50"));
        QCOMPARE(w()->incomePage->grossIncomeEdit->text(), gross);
        QVERIFY(!w()->resultsPage->incomeTotalEdit->text().isEmpty());
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
