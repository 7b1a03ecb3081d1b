// SPDX-License-Identifier: GPL-2.0-or-later
// "Annulla" and "Ripeti" on the running program: what the user types, ticks
// and clears comes back with its reactions; saving marks the clean state,
// opening and a new appraisal start afresh; a step whose working table was
// changed outside the program is dropped with a word in the status bar.
#include "../support/omifixtures.h"
#include "../support/pagedriving.h"
#include "../support/savedprogram.h"

#include "app/cadastralops.h"
#include "app/characteristicsops.h"
#include "app/fileops.h"
#include "app/lightsops.h"
#include "app/mcaops.h"
#include "app/periziaops.h"
#include "app/mainwindow.h"
#include "app/surfacesops.h"
#include "app/undoops.h"
#include "app/unsavedwork.h"
#include "files/appraisalfiles.h"
#include "model/currency.h"
#include "data/municipalities.h"
#include "pages/cadastralwindow.h"
#include "pages/comparablespage.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/mcadatatable.h"
#include "pages/mcawindow.h"
#include "pages/omiimportdialog.h"
#include "pages/omiimporter.h"
#include "pages/pagekit.h"
#include "pages/picturepage.h"
#include "pages/resultspage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "pages/zoneseditor.h"
#include "omi/omisales.h"
#include "store/datafolder.h"
#include "store/tablestore.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QUndoStack>

using namespace brevan;
using namespace brevan::app;

namespace {

constexpr int kSurfacesNode = 6;
constexpr int kLocalisationNode = 7;
constexpr int kIncomeNode = 10;

// The program back in its event loop: the edit's step is taken.
void idle();

// Typed into a field the user has just entered, then the program left idle.
void typeIn(QWidget *field, const char *text)
{
    field->setFocus();
    QTest::keyClicks(field, QString::fromUtf8(text));
    idle();
}

void idle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

QUndoStack *stackOf(MainWindow *w)
{
    return w->undoOps->document()->undoStack();
}

const files::TableRows kRooms{{QStringLiteral("Soggiorno"), 24.5}, {QStringLiteral("Camera"), 14.0},
                              {QStringLiteral("Balcone"), 6.0}};

// The surfaces table holding rooms as an opened appraisal's does.
void putRooms(MainWindow *w, const files::TableRows &rows)
{
    w->surfacesPage->model()->close();
    files::writeTableFile(dataPath(kDescrSup), surfacesLayout(), rows);
    w->surfacesPage->model()->reload();
    w->surfacesOps->AttivaSpeedButtonCalcolaSuperfici();
    // As opening ends: the lights follow what the pages hold.
    w->lightsOps->ImpostaSemaforiTreeView();
    w->undoOps->startAfresh();
}

// The description page at a municipality, its working zone table loaded.
void chooseMunicipality(MainWindow *w, const QString &name)
{
    const MunicipalityList &list = municipalities();
    const int i = int(list.names.indexOf(name));
    QVERIFY(i >= 0);
    setMunicipalityWithoutCascade(w, i);
    reloadForMunicipality(MunicipalityTable::Zones, list.names.at(i), list.postalCodes.at(i),
                          list.provinceCodes.at(i));
}

QStringList itemsOf(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

files::TableRows roomsOnDisk()
{
    return Table::open(dataPath(kDescrSup)).rows();
}

} // namespace

class TestUndoRedo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void menuFollowsTheStack()
    {
        SavedProgram p;
        MainWindow *w = p.w();
        QVERIFY(!w->undoAction->isEnabled());
        QVERIFY(!w->redoAction->isEnabled());
        QCOMPARE(w->undoAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(w->redoAction->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
        showPage(w, kIncomeNode);
        typeIn(w->incomePage->unitRentEdit, "7");
        QVERIFY(w->undoAction->isEnabled());
        QCOMPARE(w->undoAction->statusTip(),
                 QStringLiteral("Annulla l'ultima modifica della stima (Caratteristiche produttive)."));
        w->undoAction->trigger();
        QVERIFY(!w->undoAction->isEnabled());
        QCOMPARE(w->undoAction->statusTip(), QStringLiteral("Annulla l'ultima modifica della stima."));
        QVERIFY(w->redoAction->isEnabled());
        QCOMPARE(w->redoAction->statusTip(),
                 QStringLiteral("Ripete la modifica della stima annullata per ultima (Caratteristiche produttive)."));
    }

    // Undone with the results page shown, a change leaves no figure of its
    // own behind there: the page is brought up to date as choosing it does.
    void theResultsPageFollowsAStepTakenBack()
    {
        SavedProgram p;
        MainWindow *w = p.w();
        showPage(w, kSurfacesNode);
        putRooms(w, kRooms);
        w->showPageCommand(12);
        const QString before = w->resultsPage->summaryEdit->toPlainText();
        // The rooms' judgment on the position page, which the table gives.
        QVERIFY(before.contains(QStringLiteral("Valutazione degli spazi accessori: \tSufficiente")));
        showPage(w, kSurfacesNode);
        click(w->surfacesPage->clearTableButton);
        idle();
        w->showPageCommand(12);
        const QString typed = w->resultsPage->summaryEdit->toPlainText();
        QVERIFY(!typed.contains(QStringLiteral("Valutazione degli spazi accessori: \tSufficiente")));
        w->undoAction->trigger();
        QCOMPARE(w->resultsPage->summaryEdit->toPlainText(), before);
        w->redoAction->trigger();
        QCOMPARE(w->resultsPage->summaryEdit->toPlainText(), typed);
    }

    // Ctrl+Z, Ctrl+Y and Ctrl+Maiusc+Z reach the stack from a control that
    // is not a text field (here the option just clicked).
    void theKeysUndoAndRedo()
    {
        SavedProgram p;
        MainWindow *w = p.w();
        ui::LocalisationPage *page = w->localisationPage;
        showPage(w, kLocalisationNode);
        auto *large = page->findChild<QRadioButton *>(QStringLiteral("GrandiDimensImmob"));
        click(large);
        idle();
        QVERIFY(large->isChecked());
        QCOMPARE(QApplication::focusWidget(), large);
        QTest::keyClick(large, Qt::Key_Z, Qt::ControlModifier);
        idle();
        QVERIFY(!large->isChecked());
        QTest::keyClick(large, Qt::Key_Y, Qt::ControlModifier);
        idle();
        QVERIFY(large->isChecked());
        QTest::keyClick(large, Qt::Key_Z, Qt::ControlModifier);
        idle();
        QVERIFY(!large->isChecked());
        QTest::keyClick(large, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        idle();
        QVERIFY(large->isChecked());
        QCOMPARE(stackOf(w)->count(), 1);
    }

    // Typing in one field is one step; its reactions (the gross income)
    // follow the field both ways.
    void typingInOneFieldIsOneStep()
    {
        SavedProgram p;
        MainWindow *w = p.w();
        ui::IncomePage *page = w->incomePage;
        showPage(w, kIncomeNode);
        const QString grossBefore = page->grossIncomeEdit->text();
        page->unitRentEdit->setFocus();
        for (const char *key : {"4", "5", "0"}) {
            QTest::keyClicks(page->unitRentEdit, key);
            idle();
        }
        QCOMPARE(page->unitRentEdit->text(), QStringLiteral("450"));
        QCOMPARE(stackOf(w)->count(), 1);
        const QString grossAfter = page->grossIncomeEdit->text();

        page->depositMonthsEdit->setFocus();
        w->undoAction->trigger();
        QCOMPARE(page->unitRentEdit->text(), QString());
        QCOMPARE(page->grossIncomeEdit->text(), grossBefore);
        w->redoAction->trigger();
        QCOMPARE(page->unitRentEdit->text(), QStringLiteral("450"));
        QCOMPARE(page->grossIncomeEdit->text(), grossAfter);
        QCOMPARE(stackOf(w)->count(), 1);
    }

    // In a focused text field Ctrl+Z undoes that field's typing; typed back
    // to what it was, the field leaves no step behind.
    void aTextFieldKeepsItsOwnCtrlZ()
    {
        SavedProgram p;
        MainWindow *w = p.w();
        ui::IncomePage *page = w->incomePage;
        showPage(w, kIncomeNode);
        typeIn(page->unitRentEdit, "45");
        QCOMPARE(stackOf(w)->count(), 1);
        QTest::keyClick(page->unitRentEdit, Qt::Key_Z, Qt::ControlModifier);
        idle();
        QCOMPARE(page->unitRentEdit->text(), QString());
        QCOMPARE(stackOf(w)->count(), 0);
        QVERIFY(!w->undoAction->isEnabled());
    }

    // Past the field's own typing (or in a field just entered) Ctrl+Z takes
    // back the appraisal's last step.
    void pastItsOwnTypingCtrlZUndoesTheAppraisal()
    {
        SavedProgram p;
        MainWindow *w = p.w();
        ui::IncomePage *page = w->incomePage;
        showPage(w, kIncomeNode);
        typeIn(page->unitRentEdit, "45");
        typeIn(page->legalRateEdit, "3");
        QCOMPARE(stackOf(w)->count(), 2);
        const QString rentWithRate = page->unitRentEdit->text(); // written out in full by the rate's reaction
        // The rate field's own typing first.
        QTest::keyClick(page->legalRateEdit, Qt::Key_Z, Qt::ControlModifier);
        idle();
        QCOMPARE(page->legalRateEdit->text(), QString());
        QCOMPARE(stackOf(w)->index(), 2);
        // With nothing of its own left, the appraisal's steps: the rate's, then the rent's.
        QTest::keyClick(page->legalRateEdit, Qt::Key_Z, Qt::ControlModifier);
        idle();
        QCOMPARE(stackOf(w)->index(), 1);
        QCOMPARE(page->unitRentEdit->text(), QStringLiteral("45"));
        QTest::keyClick(page->legalRateEdit, Qt::Key_Z, Qt::ControlModifier);
        idle();
        QCOMPARE(page->unitRentEdit->text(), QString());
        QCOMPARE(stackOf(w)->index(), 0);
        // The redo key goes on with the steps: the field's own history ended
        // where the appraisal's undo took over.
        QTest::keyClick(page->legalRateEdit, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        idle();
        QCOMPARE(page->unitRentEdit->text(), QStringLiteral("45"));
        QTest::keyClick(page->legalRateEdit, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        idle();
        QCOMPARE(page->unitRentEdit->text(), rentWithRate);
        QCOMPARE(page->legalRateEdit->text(), QString());
    }

    // A click that changes two fields (the town size and the rate it
    // proposes) is one step.
    void anOptionAndWhatItProposesAreOneStep()
    {
        SavedProgram p;
        MainWindow *w = p.w();
        ui::LocalisationPage *page = w->localisationPage;
        showPage(w, kLocalisationNode);
        const QString rateBefore = page->averageRateEdit->text();
        auto *large = page->findChild<QRadioButton *>(QStringLiteral("GrandiDimensImmob"));
        QVERIFY(large);
        click(large);
        idle();
        QCOMPARE(page->averageRateEdit->text(), QStringLiteral("2,50"));
        QCOMPARE(stackOf(w)->count(), 1);
        w->undoAction->trigger();
        QVERIFY(!large->isChecked());
        QCOMPARE(page->averageRateEdit->text(), rateBefore);
        w->redoAction->trigger();
        QVERIFY(large->isChecked());
        QCOMPARE(page->averageRateEdit->text(), QStringLiteral("2,50"));
    }

    // The currency switch converts every amount: one step, and undoing it
    // gives back the amounts typed, to the last digit.
    void theCurrencySwitchIsOneStep()
    {
        SavedProgram p;
        MainWindow *w = p.w();
        ui::IncomePage *page = w->incomePage;
        showPage(w, kIncomeNode);
        typeIn(page->unitRentEdit, "7,77");
        const bool euro = currency().euroInForce();
        QToolButton *other = euro ? w->lireButton : w->euroButton;
        QVERIFY(other->isEnabled());
        click(other);
        idle();
        QCOMPARE(currency().euroInForce(), !euro);
        QVERIFY(page->unitRentEdit->text() != QStringLiteral("7,77"));
        QCOMPARE(stackOf(w)->count(), 2);
        QVERIFY(w->undoAction->statusTip().endsWith(QStringLiteral(", valuta).")));
        w->undoAction->trigger();
        QCOMPARE(currency().euroInForce(), euro);
        QCOMPARE(page->unitRentEdit->text(), QStringLiteral("7,77"));
        w->redoAction->trigger();
        QCOMPARE(currency().euroInForce(), !euro);
    }

    // "Elimina contenuto tabella" on the surfaces page, undone: the rooms
    // and the surfaces computed from them come back.
    void aClearedTableComesBack()
    {
        SavedProgram p;
        MainWindow *w = p.w();
        showPage(w, kSurfacesNode);
        putRooms(w, kRooms);
        const QString useful = w->surfacesOps->usefulValue();
        QVERIFY(!useful.isEmpty());
        click(w->surfacesPage->clearTableButton);
        idle();
        QVERIFY(roomsOnDisk() != kRooms);
        QCOMPARE(stackOf(w)->count(), 1);
        // The rooms' judgment on the position page followed the table.
        QCOMPARE(w->undoAction->statusTip(), QStringLiteral("Annulla l'ultima modifica della stima (Calcolo delle "
                                                            "superfici, Caratteristiche di posizione)."));
        w->undoAction->trigger();
        QCOMPARE(roomsOnDisk(), kRooms);
        QCOMPARE(w->surfacesOps->usefulValue(), useful);
        QVERIFY(w->surfacesPage->clearTableButton->isEnabled());
    }

    // A comparable typed into the page's editors is stored when the user
    // moves on to another editor: one step, undone with the row.
    void aComparableTypedIsOneStep()
    {
        SavedProgram p;
        MainWindow *w = p.w();
        showPage(w, 11);
        ui::ComparablesPage *page = w->comparablesPage;
        QCOMPARE(page->model()->rowCount(), 0);
        page->addressEdit->setFocus();
        QTest::keyClicks(page->addressEdit, "Via Verdi");
        QTest::mouseClick(page->floorEdit, Qt::LeftButton);
        idle();
        QCOMPARE(page->model()->rowCount(), 1);
        QCOMPARE(stackOf(w)->count(), 1);
        w->undoAction->trigger();
        QCOMPARE(page->model()->rowCount(), 0);
        QCOMPARE(page->addressEdit->text(), QString());
        w->redoAction->trigger();
        QCOMPARE(page->model()->rowCount(), 1);
        QCOMPARE(page->model()->data(page->model()->index(0, 0), Qt::EditRole).toString(), QStringLiteral("Via Verdi"));
    }

    // A step whose working table was written by someone else since is not
    // undone over it: it is dropped, and the status bar says why.
    void aStepOverATableChangedOutsideIsDropped_data()
    {
        QTest::addColumn<bool>("removed");
        QTest::newRow("written by another instance") << false;
        QTest::newRow("removed") << true;
    }
    void aStepOverATableChangedOutsideIsDropped()
    {
        QFETCH(bool, removed);
        SavedProgram p;
        MainWindow *w = p.w();
        showPage(w, kSurfacesNode);
        putRooms(w, kRooms);
        click(w->surfacesPage->clearTableButton);
        idle();
        QCOMPARE(stackOf(w)->count(), 1);
        const files::TableRows theirs{{QStringLiteral("Cantina"), 9.0}};
        if (removed)
            Table::remove(dataPath(kDescrSup));
        else
            files::writeTableFile(dataPath(kDescrSup), surfacesLayout(), theirs);
        w->undoAction->trigger();
        QCOMPARE(stackOf(w)->count(), 0);
        QVERIFY(!w->undoAction->isEnabled());
        const QString why = removed ? UndoOps::missingTableText(kDescrSup) : UndoOps::changedTableText(kDescrSup);
        QCOMPARE(w->statusBar()->currentMessage(),
                 UndoOps::droppedText(true, QStringLiteral("Calcolo delle superfici, Caratteristiche di posizione"), why));
        if (removed)
            QVERIFY(!Table::exists(dataPath(kDescrSup)));
        else
            QCOMPARE(roomsOnDisk(), theirs);
    }

    // A picture loaded from a file, then deleted from its page: undone, it
    // comes back from memory, though its file is gone from the disk since.
    void aDeletedPictureComesBackWithoutItsFile()
    {
        SavedProgram p;
        MainWindow *w = p.w();
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        const QString file = p.inFolder(QStringLiteral("facciata.bmp"));
        QVERIFY(picture.save(file, "BMP"));
        showPage(w, 3);
        p.files << file;
        w->photoPage->SpeedButtonOpenImageClick();
        w->undoOps->recordNow();
        QVERIFY(w->photoPage->hasPicture());
        const qint64 key = w->photoPage->sourceImage().cacheKey();
        QVERIFY(QFile::remove(file));
        w->photoPage->SpeedButtonDeleteImageClick();
        w->undoOps->recordNow();
        QVERIFY(!w->photoPage->hasPicture());
        QCOMPARE(stackOf(w)->count(), 2);
        w->undoAction->trigger();
        QVERIFY(w->photoPage->hasPicture());
        QCOMPARE(w->photoPage->sourceImage().cacheKey(), key);
        QCOMPARE(w->photoPage->sourceImage(), picture);
        w->undoAction->trigger();
        QVERIFY(!w->photoPage->hasPicture());
        w->redoAction->trigger();
        QCOMPARE(w->photoPage->sourceImage(), picture);
        QVERIFY(p.warnings().isEmpty());
    }

    // OK in the zones editor writes the municipality's zone table: undone,
    // the table is as it was (here: none) and the zone list follows; redone,
    // it is back.
    void theZonesEditorsOkIsUndone()
    {
        SavedProgram p;
        MainWindow *w = p.w();
        chooseMunicipality(w, QStringLiteral("Milano"));
        w->undoOps->startAfresh();
        const QString milano = dataPath(QStringLiteral("ZonaUrbanaMilano20100MI.db"));
        QVERIFY(!Table::exists(milano));
        ui::ZonesEditor *e = w->characteristicsOps->zonesEditor();
        e->show();
        ui::TableModel *model = e->model();
        QVERIFY(model->rowCount() > 0);
        QVERIFY(model->setData(model->index(0, 2), QStringLiteral("Brera")));
        QTest::mouseClick(e->okButton, Qt::LeftButton);
        idle();
        QVERIFY(!e->isVisible());
        QVERIFY(Table::exists(milano));
        QVERIFY(itemsOf(w->localisationPage->urbanZoneCombo).contains(QStringLiteral("Brera")));
        QCOMPARE(stackOf(w)->count(), 1);
        const files::TableRows written = Table::open(milano).rows();

        w->undoAction->trigger();
        QVERIFY(!Table::exists(milano));
        QVERIFY(!itemsOf(w->localisationPage->urbanZoneCombo).contains(QStringLiteral("Brera")));
        w->redoAction->trigger();
        QCOMPARE(Table::open(milano).rows(), written);
        QVERIFY(itemsOf(w->localisationPage->urbanZoneCombo).contains(QStringLiteral("Brera")));
    }

    // An OMI import in the zones editor, kept by its OK, is one step: the
    // municipality's zone table and the sale table it writes go back to what
    // they were (here: none), and come again with redo.
    void anOmiImportKeptByOk()
    {
        SavedProgram p;
        MainWindow *w = p.w();
        QTemporaryDir files;
        const QString values = files.filePath(QStringLiteral("QI_118633_1_20242_VALORI.csv"));
        omifixtures::write(values, omifixtures::encode(omifixtures::valuesFile("2024/2", omifixtures::abanoValues()),
                                                      omifixtures::Encoding::Windows1252));
        omifixtures::write(files.filePath(QStringLiteral("QI_118633_1_20242_ZONE.csv")),
                           omifixtures::encode(omifixtures::zonesFile("2024/2", omifixtures::abanoZones()),
                                               omifixtures::Encoding::Utf8Bom));
        chooseMunicipality(w, QStringLiteral("Abano Terme"));
        w->undoOps->startAfresh();
        const QString zones = dataPath(QStringLiteral("ZonaUrbanaAbano Terme35031PD.db"));
        const QString sales = dataPath(QStringLiteral("QuotazioniOMIAbano Terme35031PD.db"));
        QVERIFY(!Table::exists(zones) && !Table::exists(sales));

        ui::ZonesEditor *e = w->characteristicsOps->zonesEditor();
        e->show();
        p.files << values;
        ui::OmiImportDialog::setTestHandler([](ui::OmiImportDialog &) { return true; });
        e->omiImporter->button()->click();
        ui::OmiImportDialog::setTestHandler({});
        QTest::mouseClick(e->okButton, Qt::LeftButton);
        idle();
        QVERIFY(Table::exists(zones) && Table::exists(sales));
        const files::TableRows zoneRows = Table::open(zones).rows();
        const files::TableRows saleRows = Table::open(sales).rows();
        QCOMPARE(stackOf(w)->count(), 1);
        QVERIFY(w->undoAction->statusTip().contains(QStringLiteral("tabelle del Comune")));

        w->undoAction->trigger();
        QVERIFY(!Table::exists(zones));
        QVERIFY(!Table::exists(sales));
        w->redoAction->trigger();
        QCOMPARE(Table::open(zones).rows(), zoneRows);
        QCOMPARE(Table::open(sales).rows(), saleRows);
    }

    // The market comparison: the subject proposed from the pages is no
    // step; a comparable added and a value written over the proposal are,
    // and undone the proposal is back.
    void theMarketComparison()
    {
        SavedProgram p;
        MainWindow *w = p.w();
        showPage(w, kSurfacesNode);
        putRooms(w, kRooms);
        w->mcaOps->StimaMCA1Click();
        ui::McaWindow *mca = w->mcaOps->window();
        QVERIFY(mca);
        w->undoOps->recordNow();
        QCOMPARE(stackOf(w)->count(), 0);
        const QString proposed = mca->dataTable->cell(0, mca::Row::MainSurface)->text();
        QVERIFY(!proposed.isEmpty());

        const int comparables = int(w->mcaOps->sheet().comparables.size());
        QTest::mouseClick(mca->addButton, Qt::LeftButton);
        idle();
        QCOMPARE(int(w->mcaOps->sheet().comparables.size()), comparables + 1);
        mca->dataTable->cell(0, mca::Row::MainSurface)->setText(QStringLiteral("65"));
        w->undoOps->recordNow();
        QVERIFY(w->mcaOps->sheet().subjectEdited);
        QCOMPARE(stackOf(w)->count(), 2);

        w->undoAction->trigger();
        QVERIFY(!w->mcaOps->sheet().subjectEdited);
        QCOMPARE(mca->dataTable->cell(0, mca::Row::MainSurface)->text(), proposed);
        QCOMPARE(int(w->mcaOps->sheet().comparables.size()), comparables + 1);
        w->undoAction->trigger();
        QCOMPARE(int(w->mcaOps->sheet().comparables.size()), comparables);
        w->redoAction->trigger();
        w->redoAction->trigger();
        QCOMPARE(mca->dataTable->cell(0, mca::Row::MainSurface)->text(), QStringLiteral("65"));
        QVERIFY(w->mcaOps->sheet().subjectEdited);
    }

    // A class chosen in the cadastral surface's window is a step; undone,
    // the row goes back to the class proposed.
    void aCadastralClassChosen()
    {
        SavedProgram p;
        MainWindow *w = p.w();
        showPage(w, kSurfacesNode);
        putRooms(w, kRooms);
        w->cadastralOps->SuperficieCatastaleClick();
        ui::CadastralWindow *window = w->cadastralOps->window();
        QVERIFY(window);
        w->undoOps->recordNow();
        QCOMPARE(stackOf(w)->count(), 0);
        QVERIFY(w->cadastralOps->choices().isEmpty());
        auto *combo = qobject_cast<QComboBox *>(window->table->cellWidget(0, 2));
        QVERIFY(combo);
        const int proposed = combo->currentIndex();
        const int other = proposed == 1 ? 2 : 1;
        combo->setCurrentIndex(other);
        Q_EMIT combo->activated(other);
        w->undoOps->recordNow();
        QVERIFY(!w->cadastralOps->choices().isEmpty());
        QCOMPARE(stackOf(w)->count(), 1);
        QCOMPARE(w->undoAction->statusTip(), QStringLiteral("Annulla l'ultima modifica della stima (superficie catastale)."));
        w->undoAction->trigger();
        QVERIFY(w->cadastralOps->choices().isEmpty());
        QCOMPARE(qobject_cast<QComboBox *>(window->table->cellWidget(0, 2))->currentIndex(), proposed);
        w->redoAction->trigger();
        QCOMPARE(qobject_cast<QComboBox *>(window->table->cellWidget(0, 2))->currentIndex(), other);
    }

    // What the report for a purpose is given is a step.
    void theReportForAPurpose()
    {
        SavedProgram p;
        MainWindow *w = p.w();
        QVERIFY(!w->periziaOps->hasData());
        perizia::Report report = w->periziaOps->report();
        report.client = QStringLiteral("Studio Rossi");
        w->periziaOps->showOpened(report);
        w->undoOps->recordNow();
        QVERIFY(w->periziaOps->hasData());
        QCOMPARE(stackOf(w)->count(), 1);
        w->undoAction->trigger();
        QVERIFY(!w->periziaOps->hasData());
        w->redoAction->trigger();
        QCOMPARE(w->periziaOps->report().client, QStringLiteral("Studio Rossi"));
    }

    // Saving is the clean state: undo after it is a change again, redo back
    // to it is none; opening and a new appraisal start with an empty stack.
    void savingOpeningAndNewAppraisal()
    {
        SavedProgram p;
        MainWindow *w = p.w();
        ui::IncomePage *page = w->incomePage;
        showPage(w, kIncomeNode);
        typeIn(page->unitRentEdit, "450");
        p.save(QStringLiteral("Stima Prova.db"));
        QVERIFY(p.warnings().isEmpty());
        QVERIFY(stackOf(w)->isClean());
        QVERIFY(!w->unsavedWork->hasChanges());

        w->undoAction->trigger();
        QCOMPARE(page->unitRentEdit->text(), QString());
        QVERIFY(!stackOf(w)->isClean());
        QVERIFY(w->unsavedWork->hasChanges());
        // The recovery copy holds the changed appraisal, and goes when redo
        // brings back the one saved.
        const QString copy = w->unsavedWork->recoveryFolder() + QLatin1Char('/') + UnsavedWork::recoveryTableName();
        w->unsavedWork->writeCopy();
        w->unsavedWork->waitForCopy();
        QVERIFY(QFile::exists(copy));
        w->redoAction->trigger();
        QVERIFY(stackOf(w)->isClean());
        QVERIFY(!w->unsavedWork->hasChanges());
        w->unsavedWork->waitForCopy();
        QVERIFY(!QFile::exists(copy));

        typeIn(page->unitRentEdit, "1");
        QVERIFY(w->undoAction->isEnabled());
        p.open(QStringLiteral("Stima Prova.db"));
        QCOMPARE(page->unitRentEdit->text(), QStringLiteral("450"));
        QVERIFY(!w->undoAction->isEnabled());
        QVERIFY(!w->redoAction->isEnabled());

        typeIn(page->unitRentEdit, "9");
        p.newAppraisal();
        QCOMPARE(page->unitRentEdit->text(), QString());
        QVERIFY(!w->undoAction->isEnabled());
        QCOMPARE(stackOf(w)->count(), 0);
    }
};

QTEST_MAIN(TestUndoRedo)
#include "tst_undoredo.moc"
