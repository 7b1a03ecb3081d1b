// SPDX-License-Identifier: GPL-2.0-or-later
#include "../support/appfixture.h"
#include "../support/fixtures.h"
#include "app/application.h"
#include "app/incomeops.h"
#include "model/currency.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/navigatorbar.h"
#include "pages/pagekit.h"
#include "pages/tablemodel.h"
#include "pages/unitrenteditor.h"
#include "store/datafolder.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace brevan;
using brevan::app::MainWindow;
using brevan::ui::UnitRentEditor;

namespace {

// The pointer comes over a widget and leaves it (Qt's own hover events).
void hover(QWidget *w)
{
    const QPointF centre = QRectF(w->rect()).center();
    QEnterEvent enter(centre, centre, w->mapToGlobal(centre));
    QApplication::sendEvent(w, &enter);
}
void leave(QWidget *w)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(w, &event);
}

const QString kAbanoTable = QStringLiteral("CanoniLocazUnitariAbano Terme35031PD.db");

// The description page as the municipality cascade leaves it, with the
// working table reloaded for that municipality.
void chooseAbano(MainWindow *w)
{
    ui::DescriptionPage *d = w->descriptionPage;
    ui::setComboText(d->municipalityCombo, QStringLiteral("Abano Terme"));
    ui::setComboText(d->postalCodeCombo, QStringLiteral("35031"));
    ui::setComboText(d->provinceCombo, QStringLiteral("Padova"));
    ui::setComboText(d->provinceCodeCombo, QStringLiteral("PD"));
    reloadForMunicipality(MunicipalityTable::UnitRents, QStringLiteral("Abano Terme"), QStringLiteral("35031"),
                          QStringLiteral("PD"));
}

// The description page showing a municipality without its cascade, as
// opening an appraisal or pasting leaves it: the working table keeps its rows.
void showWithoutCascade(MainWindow *w, const QString &name, const QString &postalCode, const QString &province,
                        const QString &code)
{
    ui::DescriptionPage *d = w->descriptionPage;
    ui::setComboText(d->municipalityCombo, name);
    ui::setComboText(d->postalCodeCombo, postalCode);
    ui::setComboText(d->provinceCombo, province);
    ui::setComboText(d->provinceCodeCombo, code);
}

void writeRents(const QString &path, const QStringList &years)
{
    rebuildTable(path, unitRentsLayout(), 0);
    Table t = Table::open(path);
    for (const QString &year : years)
        t.append({year, QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("Zona centrale")});
}

QStringList years(const QString &path)
{
    QStringList out;
    const Table t = Table::open(path);
    for (qint64 id : t.rowIds())
        out << t.text(id, QStringLiteral("Anno"));
    return out;
}

// Types into a cell as the user does: select it, type; the first key opens
// the cell's editor and the rest go to it.
void typeInCell(UnitRentEditor &e, int row, const QString &field, const QString &text)
{
    const int column = e.model()->fieldIndex(field);
    e.grid->setFocus();
    e.grid->setCurrentIndex(e.model()->index(row, column));
    QTest::keyClicks(QApplication::focusWidget(), text.left(1));
    QTest::keyClicks(QApplication::focusWidget(), text.mid(1));
}

QString cell(const QString &path, int row, const QString &field)
{
    const Table t = Table::open(path);
    return t.text(t.rowIds().at(row), field);
}

} // namespace

class TestUnitRentEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }

    void opensOnTheDescriptionsMunicipality_data()
    {
        QTest::addColumn<bool>("euro");
        QTest::addColumn<QString>("currencyText");
        QTest::newRow("lire") << false << " Lire";
        QTest::newRow("euro") << true << " Euro";
    }
    void opensOnTheDescriptionsMunicipality()
    {
        QFETCH(bool, euro);
        QFETCH(QString, currencyText);
        AppFixture f;
        chooseAbano(f.window.get());
        if (euro)
            currency().setEuro();
        UnitRentEditor e(f.window->descriptionPage, f.window.get());
        e.FormShow();
        QCOMPARE(e.windowTitle(), QStringLiteral("Imposta canone mensile di locazione unitario per il Comune selezionato"));
        QCOMPARE(e.municipalityCombo->currentText(), QStringLiteral("Abano Terme"));
        QCOMPARE(e.postalCodeLabel->text(), QStringLiteral("35031"));
        QCOMPARE(e.provinceLabel->text(), QStringLiteral("Padova"));
        QCOMPARE(e.provinceCodeLabel->text(), QStringLiteral("PD"));
        QCOMPARE(e.model()->rowCount(), 11);
        QCOMPARE(e.shownFields(), (QStringList{"Anno", "Zona", "CanoneLocazMin", "CanoneLocazMax"}));
        const auto title = [&e](const char *field) {
            return e.model()->headerData(e.model()->fieldIndex(QLatin1String(field)), Qt::Horizontal).toString();
        };
        QCOMPARE(title("Anno"), QStringLiteral("Anno"));
        QCOMPARE(title("Zona"), QStringLiteral("Centralità"));
        QCOMPARE(title("CanoneLocazMin"), QStringLiteral("Canone di locaz. minimo (") + currencyText + "/mq)");
        QCOMPARE(title("CanoneLocazMax"), QStringLiteral("Canone di locaz. massimo (") + currencyText + "/mq)");
        QCOMPARE(e.navigator->button(ui::NavigatorBar::Post)->statusTip(),
                 QStringLiteral("Applica la modifica alla casella selezionata."));
    }

    // Typed rents keep only digits and commas ("." typed is ","), the zone is
    // picked, and OK saves what is still being typed as the municipality's table.
    void typeAndSave()
    {
        AppFixture f;
        chooseAbano(f.window.get());
        UnitRentEditor e(f.window->descriptionPage, f.window.get());
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        typeInCell(e, 0, QStringLiteral("Anno"), QStringLiteral("2001"));
        typeInCell(e, 0, QStringLiteral("CanoneLocazMax"), QStringLiteral("13"));
        typeInCell(e, 0, QStringLiteral("Zona"), QStringLiteral("Zona"));
        QCOMPARE(cell(dataPath(kCanoniLocazUnitari), 0, "Zona"), QString());
        e.model()->setData(e.model()->index(0, e.model()->fieldIndex(QStringLiteral("Zona"))),
                           QStringLiteral("Zona intermedia"));
        // The last cell is left open in its editor when OK is pressed.
        typeInCell(e, 0, QStringLiteral("CanoneLocazMin"), QStringLiteral("1x2.5b00"));
        QVERIFY(!QFile::exists(dataPath(kAbanoTable)));
        e.okButton->click();
        QCOMPARE(e.result(), int(QDialog::Accepted));
        const QString saved = dataPath(kAbanoTable);
        QVERIFY(QFile::exists(saved));
        QCOMPARE(Table::open(saved).rowCount(), 11);
        QCOMPARE(cell(saved, 0, "Anno"), QStringLiteral("2001"));
        QCOMPARE(cell(saved, 0, "CanoneLocazMin"), QStringLiteral("12,500"));
        QCOMPARE(cell(saved, 0, "CanoneLocazMax"), QStringLiteral("13"));
        QCOMPARE(cell(saved, 0, "Zona"), QStringLiteral("Zona intermedia"));

        // The rent lookup reads the saved row back: 12,500 is twelve and a half.
        app::IncomeOps ops(f.window.get());
        reloadForMunicipality(MunicipalityTable::UnitRents, QStringLiteral("Abano Terme"), QStringLiteral("35031"),
                              QStringLiteral("PD"));
        f.window->descriptionPage->dateEdit->setDate(QDate(2001, 3, 1));
        f.window->localisationPage->intermediateZoneRadio->setChecked(true);
        ops.SetCanoneMensileDiLocazioneUnitario();
        QCOMPARE(f.window->incomePage->minRentEdit->text(), QStringLiteral("12,5"));
        QCOMPARE(f.window->incomePage->unitRentEdit->text(), QStringLiteral("12,00"));
    }

    // Another municipality chosen in the dialog shows its own (here empty)
    // rents; OK saves them, empty rows included, under its name.
    void otherMunicipality()
    {
        AppFixture f;
        chooseAbano(f.window.get());
        {
            Table t = Table::open(dataPath(kCanoniLocazUnitari));
            t.setText(t.rowIds().first(), QStringLiteral("Anno"), QStringLiteral("1999"));
        }
        UnitRentEditor e(f.window->descriptionPage, f.window.get());
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        QCOMPARE(e.model()->index(0, 0).data().toString(), QStringLiteral("1999"));
        e.municipalityCombo->setFocus();
        e.municipalityCombo->lineEdit()->selectAll();
        QTest::keyClicks(e.municipalityCombo, QStringLiteral("Abbadia Cerreto"));
        const int at = e.municipalityCombo->findText(QStringLiteral("Abbadia Cerreto"));
        QVERIFY(at >= 0);
        QCOMPARE(e.municipalityCombo->currentText(), QStringLiteral("Abbadia Cerreto"));
        const QString code = e.provinceCodeLabel->text();
        const QString cap = e.postalCodeLabel->text();
        QVERIFY(!code.isEmpty());
        QCOMPARE(e.model()->rowCount(), 11);
        QCOMPARE(e.model()->index(0, 0).data().toString(), QString());
        e.okButton->click();
        const QString saved = dataPath(QStringLiteral("CanoniLocazUnitariAbbadia Cerreto") + cap + code + ".db");
        QVERIFY(QFile::exists(saved));
        QCOMPARE(Table::open(saved).rowCount(), 11);
        QVERIFY(!QFile::exists(dataPath(kAbanoTable)));
    }

    // With no municipality, postal code or province code the name is the
    // working table's own: nothing is written.
    void nothingWrittenWithoutMunicipality()
    {
        AppFixture f;
        reloadForMunicipality(MunicipalityTable::UnitRents, {}, {}, {});
        const QStringList before = QDir(f.dataFolder()).entryList(QDir::Files);
        UnitRentEditor e(f.window->descriptionPage, f.window.get());
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        QCOMPARE(e.municipalityCombo->currentText(), QString());
        e.okButton->click();
        QCOMPARE(e.result(), int(QDialog::Accepted));
        QCOMPARE(QDir(f.dataFolder()).entryList(QDir::Files), before);
        QVERIFY(ui::Messages::shown().isEmpty());
    }

    // The rows shown, and written by OK, are those of the municipality in the
    // header, whatever the working table held when the dialog opened.
    void rowsFollowTheHeader_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("year");
        QTest::newRow("description changed without its cascade (appraisal opened)") << "opened" << "Milano"
                                                                                    << "2003";
        QTest::newRow("other municipality chosen in the dialog, then Annulla") << "cancelled" << "Abano Terme"
                                                                               << "1999";
    }
    void rowsFollowTheHeader()
    {
        QFETCH(QString, before);
        QFETCH(QString, header);
        QFETCH(QString, year);
        AppFixture f;
        const QString abano = dataPath(kAbanoTable);
        const QString milano = dataPath(QStringLiteral("CanoniLocazUnitariMilano20100MI.db"));
        writeRents(abano, {"1999"});
        writeRents(milano, {"2003"});
        chooseAbano(f.window.get());
        UnitRentEditor e(f.window->descriptionPage, f.window.get());
        if (before == "opened") {
            showWithoutCascade(f.window.get(), "Milano", "20100", "Milano", "MI");
        } else {
            e.show();
            QVERIFY(QTest::qWaitForWindowExposed(&e));
            e.municipalityCombo->setFocus();
            e.municipalityCombo->lineEdit()->selectAll();
            QTest::keyClicks(e.municipalityCombo, QStringLiteral("Milano"));
            QCOMPARE(years(dataPath(kCanoniLocazUnitari)), QStringList{"2003"});
            QTest::mouseClick(e.cancelButton, Qt::LeftButton);
            QVERIFY(!e.isVisible());
        }
        const QString own = header == "Milano" ? milano : abano;
        const QString other = header == "Milano" ? abano : milano;
        const QByteArray otherBytes = fixtures::readBytes(other);

        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        QCOMPARE(e.municipalityCombo->currentText(), header);
        QCOMPARE(e.targetTableName(), QFileInfo(own).fileName());
        QCOMPARE(e.model()->rowCount(), 1);
        QCOMPARE(e.model()->index(0, e.model()->fieldIndex(QStringLiteral("Anno"))).data().toString(), year);
        typeInCell(e, 0, QStringLiteral("CanoneLocazMax"), QStringLiteral("25"));
        e.okButton->click();
        QCOMPARE(e.result(), int(QDialog::Accepted));
        QVERIFY(ui::Messages::shown().isEmpty());
        QCOMPARE(years(own), QStringList{year});
        QCOMPARE(cell(own, 0, "CanoneLocazMax"), QStringLiteral("25"));
        QCOMPARE(fixtures::readBytes(other), otherBytes);
    }

    // Annulla keeps only what the grid has posted: a cell still being edited
    // is dropped, however Annulla is pressed.
    void cancelDropsUnpostedEdit_data()
    {
        QTest::addColumn<QString>("press");
        QTest::newRow("mouse click") << "click";
        QTest::newRow("Alt+A") << "mnemonic";
    }
    void cancelDropsUnpostedEdit()
    {
        QFETCH(QString, press);
        AppFixture f;
        chooseAbano(f.window.get());
        UnitRentEditor e(f.window->descriptionPage, f.window.get());
        e.show();
        e.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&e));
        typeInCell(e, 0, QStringLiteral("Anno"), QStringLiteral("1998"));
        // Tab posts the year and opens the next cell, which is left being typed.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        typeInCell(e, 0, QStringLiteral("CanoneLocazMin"), QStringLiteral("12"));
        QVERIFY(e.grid->indexWidget(e.grid->currentIndex()));
        if (press == "click")
            QTest::mouseClick(e.cancelButton, Qt::LeftButton);
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
        QTRY_VERIFY(!e.isVisible());
        QCOMPARE(e.result(), int(QDialog::Rejected));
        QCOMPARE(cell(dataPath(kCanoniLocazUnitari), 0, "Anno"), QStringLiteral("1998"));
        QCOMPARE(cell(dataPath(kCanoniLocazUnitari), 0, "CanoneLocazMin"), QString());
        QVERIFY(!QFile::exists(dataPath(kAbanoTable)));
    }

    // The navigator's long hints reach the main window's status bar.
    void navigatorHintsInTheStatusBar()
    {
        AppFixture f;
        chooseAbano(f.window.get());
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        UnitRentEditor e(f.window->descriptionPage, f.window.get());
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        hover(e.navigator->button(ui::NavigatorBar::Delete));
        QCOMPARE(f.window->statusBar()->currentMessage(), QStringLiteral("Elimina la riga selezionata dalla tabella."));
        leave(e.navigator->button(ui::NavigatorBar::Delete));
        QCOMPARE(f.window->statusBar()->currentMessage(), QString());
        hover(e.navigator->button(ui::NavigatorBar::Last));
        QCOMPARE(f.window->statusBar()->currentMessage(), QStringLiteral("Seleziona l'ultima riga della tabella."));
    }

    // The table keeps Lire; in Euro a rent cell shows and takes Euro, at 1936,27.
    void rentShownInTheCurrency_data()
    {
        QTest::addColumn<bool>("euro");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("lire: as stored") << false << "12,500" << "12,500";
        QTest::newRow("lire: unreadable as stored") << false << "1,2,3" << "1,2,3";
        QTest::newRow("euro: an imported OMI rent") << true << "12004,874" << "6,20";
        QTest::newRow("euro: to the cent") << true << "12500" << "6,46";
        QTest::newRow("euro: the rate itself") << true << "1936,27" << "1,00";
        QTest::newRow("euro: below a cent") << true << "5" << "0,00";
        QTest::newRow("euro: empty") << true << "" << "";
        QTest::newRow("euro: unreadable as stored") << true << "1,2,3" << "1,2,3";
    }
    void rentShownInTheCurrency()
    {
        QFETCH(bool, euro);
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        CurrencyState state;
        if (euro)
            state.setEuro();
        QCOMPARE(ui::rentShown(stored, state), shown);
    }

    void rentStoredInLire_data()
    {
        QTest::addColumn<bool>("euro");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("lire: as typed") << false << "12,500" << "12,500";
        QTest::newRow("lire: a rent in Euro is not converted") << false << "6,20" << "6,20";
        // The same Lire the OMI import writes for the same Euro.
        QTest::newRow("euro: one decimal") << true << "6,2" << "12004,874";
        QTest::newRow("euro: two decimals") << true << "6,20" << "12004,874";
        QTest::newRow("euro: cents") << true << "12,35" << "23912,9345";
        QTest::newRow("euro: a half") << true << "0,5" << "968,135";
        QTest::newRow("euro: whole") << true << "10" << "19362,7";
        QTest::newRow("euro: empty") << true << "" << "";
        QTest::newRow("euro: unreadable as typed") << true << "6,2,3" << "6,2,3";
    }
    void rentStoredInLire()
    {
        QFETCH(bool, euro);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        CurrencyState state;
        if (euro)
            state.setEuro();
        QCOMPARE(ui::rentStored(typed, state), stored);
    }

    // In Euro the appraiser types Euro: the table stores their Lire, the grid
    // shows the Euro typed, and the income page proposes the rent in Euro.
    void euroRentTypedAndProposed()
    {
        AppFixture f;
        chooseAbano(f.window.get());
        currency().setEuro();
        UnitRentEditor e(f.window->descriptionPage, f.window.get());
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        typeInCell(e, 0, QStringLiteral("Anno"), QStringLiteral("2001"));
        e.model()->setData(e.model()->index(0, e.model()->fieldIndex(QStringLiteral("Zona"))),
                           QStringLiteral("Zona intermedia"));
        typeInCell(e, 0, QStringLiteral("CanoneLocazMin"), QStringLiteral("6.2"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        typeInCell(e, 0, QStringLiteral("CanoneLocazMax"), QStringLiteral("8,2"));
        e.okButton->click();
        QCOMPARE(e.result(), int(QDialog::Accepted));
        const QString saved = dataPath(kAbanoTable);
        QCOMPARE(cell(saved, 0, "CanoneLocazMin"), QStringLiteral("12004,874"));
        QCOMPARE(cell(saved, 0, "CanoneLocazMax"), QStringLiteral("15877,414"));
        const auto shown = [&e](const char *field) {
            return UnitRentEditor::cellText(e.model()->index(0, e.model()->fieldIndex(QLatin1String(field))));
        };
        QCOMPARE(shown("CanoneLocazMin"), QStringLiteral("6,20"));
        QCOMPARE(shown("CanoneLocazMax"), QStringLiteral("8,20"));
        QCOMPARE(shown("Anno"), QStringLiteral("2001"));

        // The middle of 12004,874 and 15877,414 Lire, 13941, is 7,20 Euro.
        app::IncomeOps ops(f.window.get());
        reloadForMunicipality(MunicipalityTable::UnitRents, QStringLiteral("Abano Terme"), QStringLiteral("35031"),
                              QStringLiteral("PD"));
        f.window->descriptionPage->dateEdit->setDate(QDate(2001, 3, 1));
        f.window->localisationPage->intermediateZoneRadio->setChecked(true);
        ops.SetCanoneMensileDiLocazioneUnitario();
        QCOMPARE(f.window->incomePage->unitRentEdit->text(), QStringLiteral("7,20"));
    }

    // A rent opened in its cell and left as shown keeps the Lire it had; one
    // changed is converted.
    void euroRentLeftAsShownKeepsItsLire()
    {
        AppFixture f;
        chooseAbano(f.window.get());
        {
            Table t = Table::open(dataPath(kCanoniLocazUnitari));
            t.setText(t.rowIds().first(), QStringLiteral("CanoneLocazMin"), QStringLiteral("12500"));
        }
        currency().setEuro();
        UnitRentEditor e(f.window->descriptionPage, f.window.get());
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        const QModelIndex rent = e.model()->index(0, e.model()->fieldIndex(QStringLiteral("CanoneLocazMin")));
        e.grid->setFocus();
        e.grid->setCurrentIndex(rent);
        e.grid->edit(rent);
        auto *editor = qobject_cast<QLineEdit *>(e.grid->indexWidget(rent));
        QVERIFY(editor);
        QCOMPARE(editor->text(), QStringLiteral("6,46"));
        e.navigator->post();
        QCOMPARE(cell(dataPath(kCanoniLocazUnitari), 0, "CanoneLocazMin"), QStringLiteral("12500"));

        e.grid->edit(rent);
        editor = qobject_cast<QLineEdit *>(e.grid->indexWidget(rent));
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("7"));
        e.navigator->post();
        QCOMPARE(cell(dataPath(kCanoniLocazUnitari), 0, "CanoneLocazMin"), QStringLiteral("13553,89"));
    }

    // Annulla writes no municipality table.
    void cancelWritesNothing()
    {
        AppFixture f;
        chooseAbano(f.window.get());
        UnitRentEditor e(f.window->descriptionPage, f.window.get());
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        typeInCell(e, 0, QStringLiteral("Anno"), QStringLiteral("2002"));
        e.cancelButton->click();
        QCOMPARE(e.result(), int(QDialog::Rejected));
        QVERIFY(!QFile::exists(dataPath(kAbanoTable)));
    }
};

QTEST_MAIN(TestUnitRentEditor)
#include "tst_unitrenteditor.moc"
