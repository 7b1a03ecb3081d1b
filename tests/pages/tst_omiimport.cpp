// SPDX-License-Identifier: GPL-2.0-or-later
// "Importa OMI…" in the urban zones editor and in the unit-rent editor: the
// file asked for, what the import dialog shows and offers, the grid it
// fills, OK saving as always, Annulla putting back the rows, and the files
// it refuses without changing anything.
#include "../support/appfixture.h"
#include "../support/omifixtures.h"
#include "app/application.h"
#include "data/municipalities.h"
#include "omi/omitables.h"
#include "pages/descriptionpage.h"
#include "pages/localisationpage.h"
#include "pages/omiimportdialog.h"
#include "pages/omiimporter.h"
#include "pages/pagekit.h"
#include "pages/tablemodel.h"
#include "pages/unitrenteditor.h"
#include "pages/zoneseditor.h"
#include "store/datafolder.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace brevan;
using namespace omifixtures;
using brevan::app::MainWindow;
using brevan::ui::OmiImportDialog;
using brevan::ui::OmiImporter;

namespace {

const QString kAbanoZones = QStringLiteral("ZonaUrbanaAbano Terme35031PD.db");
const QString kAbanoRents = QStringLiteral("CanoniLocazUnitariAbano Terme35031PD.db");

// The description page as the location cascade leaves it for Abano Terme,
// with both working tables loaded from the municipality's saved tables.
void chooseAbano(MainWindow *w)
{
    ui::DescriptionPage *d = w->descriptionPage;
    const int i = int(municipalities().names.indexOf(QStringLiteral("Abano Terme")));
    {
        const QSignalBlocker block(d->municipalityCombo);
        const QSignalBlocker blockEdit(d->municipalityCombo->lineEdit());
        d->municipalityCombo->setCurrentIndex(i);
        d->municipalityCombo->lineEdit()->setText(QStringLiteral("Abano Terme"));
    }
    ui::setComboText(d->postalCodeCombo, QStringLiteral("35031"));
    ui::setComboText(d->provinceCombo, QStringLiteral("Padova"));
    ui::setComboText(d->provinceCodeCombo, QStringLiteral("PD"));
    for (auto kind : {MunicipalityTable::Zones, MunicipalityTable::UnitRents})
        reloadForMunicipality(kind, QStringLiteral("Abano Terme"), QStringLiteral("35031"), QStringLiteral("PD"));
}

QStringList rowsOf(const QString &path, const Layout &layout)
{
    QStringList out;
    for (const QStringList &r : omi::readTextRows(path, layout))
        out << r.join(u'|');
    return out;
}

void saveTable(const QString &name, const Layout &layout, const QStringList &rows)
{
    omi::TextRows t;
    for (const QString &r : rows)
        t << r.split(u'|');
    Table::write(dataPath(name), layout, omi::toValues(t));
}

QStringList previewRows(const QTableWidget *t)
{
    QStringList out;
    for (int r = 0; r < t->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < t->columnCount(); ++c)
            cells << (t->item(r, c) ? t->item(r, c)->text() : QString());
        out << cells.join(u'|');
    }
    return out;
}

QPushButton *importButton(QWidget *editor)
{
    return editor->findChild<QPushButton *>(QStringLiteral("BitBtnImportaOMI"));
}

} // namespace

class TestOmiImport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }
    void init();
    void cleanup();

    void zonesWithTheirZoneFile();
    void annullaPutsBackTheRows_data();
    void annullaPutsBackTheRows();
    void annullaAfterAnotherMunicipalityKeepsItsRows();
    void rentsWithTheChoices();
    void refusals_data();
    void refusals();
    void dialogCancelledChangesNothing();
    void fileDialogFilterAndFolder();
    void manyDamagedRows_data();
    void manyDamagedRows();
    void yearNotes_data();
    void yearNotes();
    void formerMunicipalityNotTakenForItsNamesake_data();
    void formerMunicipalityNotTakenForItsNamesake();
    void saleRangesKeptWithOk_data();
    void saleRangesKeptWithOk();

private:
    std::unique_ptr<AppFixture> f;
    std::unique_ptr<QTemporaryDir> m_files;
    QString m_values;
    QString m_zones;
    int m_asked = 0;
};

void TestOmiImport::init()
{
    f = std::make_unique<AppFixture>();
    m_files = std::make_unique<QTemporaryDir>();
    m_values = m_files->filePath("QI_118633_1_20242_VALORI.csv");
    m_zones = m_files->filePath("QI_118633_1_20242_ZONE.csv");
    write(m_values, encode(valuesFile("2024/2", abanoValues()), Encoding::Windows1252));
    write(m_zones, encode(zonesFile("2024/2", abanoZones()), Encoding::Utf8Bom));
    m_asked = 0;
}

void TestOmiImport::cleanup()
{
    OmiImportDialog::setTestHandler({});
    f.reset();
}

void TestOmiImport::zonesWithTheirZoneFile()
{
    // The appraiser's own rate and judgments for the centre are kept.
    saveTable(kAbanoZones, zonesLayout(), {"||B1 CENTRO URBANO|Zona periferica|3,50|Buono|Ottimo|Sufficiente"});
    chooseAbano(f->window.get());
    ui::ZonesEditor e(f->window->descriptionPage, f->window.get());
    e.show();
    QCOMPARE(importButton(&e), e.omiImporter->button());
    QCOMPARE(importButton(&e)->text(), QStringLiteral("Importa OMI…"));
    QVERIFY(importButton(&e)->isVisible());

    ui::Messages::setFileAnswers([this](const ui::FileDialogRequest &) { return m_values; });
    OmiImportDialog::setTestHandler([this](OmiImportDialog &d) {
        ++m_asked;
        const QString header = d.headerLabel->text();
        [&] {
            QVERIFY2(header.contains("Comune di Abano Terme (PD)</b>, codice catastale A001"), qPrintable(header));
            QVERIFY2(header.contains("Quotazioni OMI del semestre 2024/2, file QI_118633_1_20242_VALORI.csv"),
                     qPrintable(header));
            QVERIFY(header.contains("Fonte: Agenzia Entrate - OMI"));
            QVERIFY(d.typeCombo->isHidden());
            QCOMPARE(previewRows(d.preview),
                     (QStringList{"B1 CENTRO URBANO|Zona centrale|già presente: saggio e giudizi restano",
                                  "B2 VIALE DELLE TERME, PIAZZA D|Zona centrale|nuova",
                                  "C1 SEMICENTRO|Zona intermedia|nuova", "D1 PERIFERIA|Zona periferica|nuova",
                                  "E1 MONTEORTONE|Zona periferica|nuova", "R1 ZONA AGRICOLA|Zona periferica|nuova"}));
        }();
        return true;
    });
    importButton(&e)->click();
    QCOMPARE(m_asked, 1);
    QCOMPARE(ui::Messages::fileRequests().size(), 1);
    QCOMPARE(ui::Messages::fileRequests().first().filter, QStringLiteral("Quotazioni OMI (*.csv) (*.csv)"));
    QVERIFY(ui::Messages::shown().isEmpty());

    // The grid shows the rows; nothing is saved until OK.
    QCOMPARE(e.model()->rowCount(), 6);
    QCOMPARE(e.model()->data(e.model()->index(0, 4)).toString(), QStringLiteral("3,50"));
    QCOMPARE(rowsOf(dataPath(kAbanoZones), zonesLayout()).size(), 1);
    e.okButton->click();
    const QStringList saved = rowsOf(dataPath(kAbanoZones), zonesLayout());
    QCOMPARE(saved.size(), 6);
    QCOMPARE(saved.first(), QStringLiteral("||B1 CENTRO URBANO|Zona centrale|3,50|Buono|Ottimo|Sufficiente"));
    QCOMPARE(saved.last(), QStringLiteral("||R1 ZONA AGRICOLA|Zona periferica||||"));
}

void TestOmiImport::annullaPutsBackTheRows_data()
{
    QTest::addColumn<bool>("rents");
    QTest::newRow("zones") << false;
    QTest::newRow("unit rents") << true;
}

void TestOmiImport::annullaPutsBackTheRows()
{
    QFETCH(bool, rents);
    chooseAbano(f->window.get());
    const QString working = dataPath(rents ? kCanoniLocazUnitari : kZonaUrbana);
    const Layout &layout = rents ? unitRentsLayout() : zonesLayout();
    const QStringList before = rowsOf(working, layout);
    QCOMPARE(before.size(), 11);
    std::unique_ptr<QDialog> editor;
    ui::TableModel *model = nullptr;
    if (rents) {
        auto *e = new ui::UnitRentEditor(f->window->descriptionPage, f->window.get());
        model = e->model();
        editor.reset(e);
    } else {
        auto *e = new ui::ZonesEditor(f->window->descriptionPage, f->window.get());
        model = e->model();
        editor.reset(e);
    }
    editor->show();
    ui::Messages::setFileAnswers([this](const ui::FileDialogRequest &) { return m_values; });
    OmiImportDialog::setTestHandler([](OmiImportDialog &) { return true; });
    importButton(editor.get())->click();
    // The eleven empty rows are gone, the imported ones are there.
    QCOMPARE(model->rowCount(), rents ? 3 : 6);
    QCOMPARE(rowsOf(working, layout).size(), rents ? 3 : 6);
    // A second import in the same showing, then Annulla: the rows of before
    // the first one come back, and nothing was saved.
    importButton(editor.get())->click();
    editor->reject();
    QCOMPARE(rowsOf(working, layout), before);
    QVERIFY(!Table::exists(dataPath(rents ? kAbanoRents : kAbanoZones)));
}

// The Part's Annulla keeps the rows of a municipality chosen in the editor:
// the rows of before the import belong to the first one and do not come back.
void TestOmiImport::annullaAfterAnotherMunicipalityKeepsItsRows()
{
    chooseAbano(f->window.get());
    ui::UnitRentEditor e(f->window->descriptionPage, f->window.get());
    e.show();
    ui::Messages::setFileAnswers([this](const ui::FileDialogRequest &) { return m_values; });
    OmiImportDialog::setTestHandler([](OmiImportDialog &) { return true; });
    importButton(&e)->click();
    QCOMPARE(e.model()->rowCount(), 3);
    saveTable("CanoniLocazUnitariLivo38020TN.db", unitRentsLayout(), {"2020|100|200|Zona centrale"});
    const int livo = int(municipalities().names.lastIndexOf(QStringLiteral("Livo")));
    ui::setComboText(e.municipalityCombo, QStringLiteral("Livo"));
    e.ComboBox1Change(livo);
    QCOMPARE(e.provinceCodeLabel->text(), QStringLiteral("TN"));
    e.cancelButton->click();
    QCOMPARE(rowsOf(dataPath(kCanoniLocazUnitari), unitRentsLayout()), QStringList{"2020|100|200|Zona centrale"});
}

void TestOmiImport::rentsWithTheChoices()
{
    saveTable(kAbanoRents, unitRentsLayout(), {"2001|8000|9001|Zona intermedia", "2026|1|2|Zona centrale"});
    chooseAbano(f->window.get());
    ui::DescriptionPage *d = f->window->descriptionPage;
    ui::setComboText(d->categoryCombo, QStringLiteral("A/3"));
    d->setAppraisalDate(QDate(2026, 3, 15));
    ui::UnitRentEditor e(d, f->window.get());
    e.show();

    ui::Messages::setFileAnswers([this](const ui::FileDialogRequest &) { return m_values; });
    OmiImportDialog::setTestHandler([this](OmiImportDialog &dialog) {
        ++m_asked;
        [&] {
            // A/3 is economic housing; the valuation's later year comes first.
            QCOMPARE(dialog.typeCombo->currentText(), QStringLiteral("21 - Abitazioni di tipo economico"));
            QCOMPARE(dialog.typeCombo->count(), 3);
            QCOMPARE(dialog.stateCombo->currentText(), QStringLiteral("NORMALE"));
            QCOMPARE(dialog.yearCombo->count(), 2);
            QCOMPARE(dialog.yearCombo->itemText(0), QStringLiteral("2026"));
            QCOMPARE(dialog.yearCombo->itemText(1), QStringLiteral("2024"));
            QCOMPARE(previewRows(dialog.preview),
                     QStringList{"2026|Zona centrale|9294,096|11617,62|4,80 - 6,00|sostituisce la riga dell'anno"});
            QVERIFY(dialog.noteLabel->text().contains("Zone senza quotazioni della tipologia scelta: 5."));

            dialog.typeCombo->setCurrentIndex(dialog.typeCombo->findData(20));
            dialog.yearCombo->setCurrentIndex(1);
            QCOMPARE(previewRows(dialog.preview),
                     (QStringList{"2024|Zona centrale|11423,993|15877,414|5,90 - 8,20|nuova",
                                  "2024|Zona intermedia|8713,215|11811,247|4,50 - 6,10|nuova",
                                  "2024|Zona periferica|968,135|9681,35|0,50 - 5,00|nuova"}));
            QVERIFY(dialog.noteLabel->text().contains(
                "Quotazioni senza canone (vuoto o pari a 0) non considerate: 1."));
            // A year that is not four digits cannot be imported.
            dialog.yearCombo->setEditText(QStringLiteral("24"));
            QVERIFY(!dialog.okButton->isEnabled());
            dialog.yearCombo->setEditText(QStringLiteral("2024"));
            QVERIFY(dialog.okButton->isEnabled());
        }();
        return true;
    });
    importButton(&e)->click();
    QCOMPARE(m_asked, 1);
    QVERIFY(ui::Messages::shown().isEmpty());
    e.okButton->click();
    QCOMPARE(rowsOf(dataPath(kAbanoRents), unitRentsLayout()),
             (QStringList{"2001|8000|9001|Zona intermedia", "2026|1|2|Zona centrale",
                          "2024|11423,993|15877,414|Zona centrale", "2024|8713,215|11811,247|Zona intermedia",
                          "2024|968,135|9681,35|Zona periferica"}));
}

void TestOmiImport::refusals_data()
{
    QTest::addColumn<bool>("rents");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message"); // %1: the file

    const QByteArray calliano =
        valuesFile("2024/2", {valueRow({"B418", "AT", "CALLIANO", "B", "B1", "20", "NORMALE", "P", "4,5", "6"})})
            .toUtf8();
    QTest::newRow("another municipality") << false << "QI_1_1_20242_VALORI.csv" << calliano
                                          << "Il file \"%1\" non contiene quotazioni OMI per il Comune di Abano Terme "
                                             "(codice catastale A001).";
    QStringList damagedRows = abanoValues();
    damagedRows[2].replace(QStringLiteral(";5,9;"), QStringLiteral(";5.9;"));
    QTest::newRow("damaged rows") << true << "QI_1_1_20242_VALORI.csv"
                                  << valuesFile("2024/2", damagedRows).toUtf8()
                                  << "Le quotazioni OMI del Comune di Abano Terme hanno righe danneggiate e non sono "
                                     "state importate:\n%1, riga 5: valore \"5.9\" non numerico nella colonna Loc_min";
    QTest::newRow("not OMI data") << true << "elenco.csv" << QByteArray("Nome;Cognome;\nMario;Rossi;\n")
                                  << "Il file \"%1\" non contiene quotazioni OMI: intestazione non riconosciuta alla "
                                     "riga 2 (colonne separate da \";\" attese).";
    QTest::newRow("binary") << false << "foto.csv" << QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF", 10)
                            << "Il file \"%1\" non contiene quotazioni OMI: non è un file di testo.";
    QTest::newRow("zones where rents are wanted")
        << true << "zone.csv" << zonesFile("2024/2", abanoZones()).toUtf8()
        << "Il file \"%1\" contiene le zone OMI, non i valori: per i canoni scegliere il file dei valori "
           "(..._VALORI.csv).";
}

void TestOmiImport::refusals()
{
    QFETCH(bool, rents);
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(fileName);
    write(path, content);
    chooseAbano(f->window.get());
    const QString working = dataPath(rents ? kCanoniLocazUnitari : kZonaUrbana);
    const Layout &layout = rents ? unitRentsLayout() : zonesLayout();
    const QStringList before = rowsOf(working, layout);

    std::unique_ptr<QDialog> editor;
    if (rents)
        editor.reset(new ui::UnitRentEditor(f->window->descriptionPage, f->window.get()));
    else
        editor.reset(new ui::ZonesEditor(f->window->descriptionPage, f->window.get()));
    editor->show();
    ui::Messages::setFileAnswers([&path](const ui::FileDialogRequest &) { return path; });
    OmiImportDialog::setTestHandler([this](OmiImportDialog &) { return ++m_asked > 0; });
    importButton(editor.get())->click();
    QCOMPARE(m_asked, 0);
    QCOMPARE(ui::Messages::shown().size(), 1);
    QCOMPARE(ui::Messages::shown().first().kind, ui::Messages::Shown::Warning);
    QCOMPARE(ui::Messages::shown().first().text, message.arg(path));
    QCOMPARE(rowsOf(working, layout), before);
}

void TestOmiImport::dialogCancelledChangesNothing()
{
    chooseAbano(f->window.get());
    ui::ZonesEditor e(f->window->descriptionPage, f->window.get());
    e.show();
    const QStringList before = rowsOf(dataPath(kZonaUrbana), zonesLayout());
    OmiImportDialog::setTestHandler([](OmiImportDialog &) { return false; });
    QVERIFY(!e.omiImporter->importFile(m_values));
    QCOMPARE(rowsOf(dataPath(kZonaUrbana), zonesLayout()), before);
    QCOMPARE(e.model()->rowCount(), 11);

    // No municipality in the editor's header: nothing to look for.
    ui::setComboText(e.municipalityCombo, QString());
    QVERIFY(!e.omiImporter->importFile(m_values));
    QCOMPARE(ui::Messages::shown().last().text,
             QStringLiteral("Scegliere il Comune prima di importare le quotazioni OMI."));
}

// The file dialog shows its filter with the pattern, and opens in the folder
// of the last OMI file chosen in either editor, else in the home folder.
void TestOmiImport::fileDialogFilterAndFolder()
{
    chooseAbano(f->window.get());
    ui::ZonesEditor zones(f->window->descriptionPage, f->window.get());
    ui::UnitRentEditor rents(f->window->descriptionPage, f->window.get());
    OmiImportDialog::setTestHandler([](OmiImportDialog &) { return false; });
    QString answer;
    ui::Messages::setFileAnswers([&answer](const ui::FileDialogRequest &) { return answer; });
    const auto askedIn = [](int request) { return ui::Messages::fileRequests().at(request).directory; };

    answer = m_values;
    zones.show();
    importButton(&zones)->click();
    zones.reject();
    // The folders of the files chosen by the tests before are gone.
    QCOMPARE(askedIn(0), QDir::homePath());

    // A file chosen in the zones editor: the unit-rent editor opens there too.
    rents.show();
    answer = QString();
    importButton(&rents)->click();
    QCOMPARE(askedIn(1), m_files->path());

    // The dialog itself: the caption with its pattern, in that folder.
    QFileDialog dialog;
    ui::Messages::prepareFileDialog(dialog, ui::Messages::fileRequests().at(1));
    const auto *types = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    QVERIFY(types);
    QCOMPARE(types->count(), 1);
    QCOMPARE(types->itemText(0), QStringLiteral("Quotazioni OMI (*.csv)"));
    QCOMPARE(QDir(dialog.directory()).canonicalPath(), QDir(m_files->path()).canonicalPath());

    // That folder gone: the home folder.
    QVERIFY(m_files->remove());
    importButton(&rents)->click();
    QCOMPARE(askedIn(2), QDir::homePath());
}

// The warning lists eight damaged rows and counts the others.
void TestOmiImport::manyDamagedRows_data()
{
    QTest::addColumn<int>("damaged");
    QTest::addColumn<QString>("lastLine"); // empty: the eighth damaged row itself
    QTest::newRow("eight") << 8 << "";
    QTest::newRow("nine") << 9 << "e un'altra riga.";
    QTest::newRow("ten") << 10 << "e altre 2 righe.";
}

void TestOmiImport::manyDamagedRows()
{
    QFETCH(int, damaged);
    QFETCH(QString, lastLine);
    QStringList rows = abanoValues();
    for (int i = 0; i < damaged; ++i)
        rows << valueRow({"A001", "PD", "ABANO TERME", "B", "B1", "20", "NORMALE", "P", "x", "8,2"});
    const QString path = m_files->filePath("QI_1_1_20242_VALORI.csv");
    write(path, valuesFile("2024/2", rows).toUtf8());
    if (lastLine.isEmpty()) {
        // The caption and the header come first.
        const int eighth = 2 + int(abanoValues().size()) + 8;
        lastLine = QStringLiteral("%1, riga %2: valore \"x\" non numerico nella colonna Loc_min").arg(path).arg(eighth);
    }
    chooseAbano(f->window.get());
    ui::UnitRentEditor e(f->window->descriptionPage, f->window.get());
    e.show();
    QVERIFY(!e.omiImporter->importFile(path));
    QCOMPARE(ui::Messages::shown().size(), 1);
    const QStringList lines = ui::Messages::shown().first().text.split(u'\n');
    QCOMPARE(lines.first(), QStringLiteral("Le quotazioni OMI del Comune di Abano Terme hanno righe danneggiate e non "
                                           "sono state importate:"));
    QCOMPARE(lines.size(), 1 + std::min(damaged, 9));
    QCOMPARE(lines.last(), lastLine);
}

// A year the import cannot take says why; the import waits for a good one.
void TestOmiImport::yearNotes_data()
{
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("note");
    QTest::newRow("two digits") << "24" << "Indicare l'anno con quattro cifre.";
    QTest::newRow("empty") << "" << "Indicare l'anno con quattro cifre.";
    QTest::newRow("zeros") << "0000" << "L'anno 0000 non è valido.";
    QTest::newRow("leading zero") << "0999" << "L'anno 0999 non è valido.";
}

void TestOmiImport::yearNotes()
{
    QFETCH(QString, year);
    QFETCH(QString, note);
    chooseAbano(f->window.get());
    ui::UnitRentEditor e(f->window->descriptionPage, f->window.get());
    e.show();
    OmiImportDialog::setTestHandler([&](OmiImportDialog &dialog) {
        ++m_asked;
        [&] {
            dialog.yearCombo->setEditText(year);
            QCOMPARE(dialog.noteLabel->text(), note);
            QVERIFY(!dialog.okButton->isEnabled());
            QCOMPARE(dialog.preview->rowCount(), 0);
        }();
        return true;
    });
    QVERIFY(!e.omiImporter->importFile(m_values));
    QCOMPARE(m_asked, 1);
}

// An appraisal of Calliano (Asti), saved before the town became Calliano
// Monferrato, shows "Calliano" with Asti's province: the quotations of
// Calliano (Trento) are not taken for it.
void TestOmiImport::formerMunicipalityNotTakenForItsNamesake_data()
{
    QTest::addColumn<bool>("rents");
    QTest::newRow("zones editor") << false;
    QTest::newRow("unit-rent editor") << true;
}

void TestOmiImport::formerMunicipalityNotTakenForItsNamesake()
{
    QFETCH(bool, rents);
    QTemporaryDir dir;
    const QString path = dir.filePath("QI_1_1_20242_VALORI.csv");
    write(path, valuesFile("2024/2", {valueRow({"B419", "TN", "CALLIANO", "B", "B1", "20", "NORMALE", "P", "4,5", "6"})})
                    .toUtf8());
    ui::DescriptionPage *d = f->window->descriptionPage;
    {
        const QSignalBlocker block(d->municipalityCombo);
        const QSignalBlocker blockEdit(d->municipalityCombo->lineEdit());
        d->municipalityCombo->setCurrentIndex(-1);
        d->municipalityCombo->lineEdit()->setText(QStringLiteral("Calliano"));
    }
    ui::setComboText(d->postalCodeCombo, QStringLiteral("14031"));
    ui::setComboText(d->provinceCombo, QStringLiteral("Asti"));
    ui::setComboText(d->provinceCodeCombo, QStringLiteral("AT"));
    for (auto kind : {MunicipalityTable::Zones, MunicipalityTable::UnitRents})
        reloadForMunicipality(kind, QStringLiteral("Calliano"), QStringLiteral("14031"), QStringLiteral("AT"));
    const QString working = dataPath(rents ? kCanoniLocazUnitari : kZonaUrbana);
    const Layout &layout = rents ? unitRentsLayout() : zonesLayout();
    const QStringList before = rowsOf(working, layout);

    std::unique_ptr<QDialog> editor;
    if (rents)
        editor.reset(new ui::UnitRentEditor(d, f->window.get()));
    else
        editor.reset(new ui::ZonesEditor(d, f->window.get()));
    editor->show();
    ui::Messages::setFileAnswers([&path](const ui::FileDialogRequest &) { return path; });
    OmiImportDialog::setTestHandler([this](OmiImportDialog &) { return ++m_asked > 0; });
    importButton(editor.get())->click();
    QCOMPARE(m_asked, 0);
    QCOMPARE(ui::Messages::shown().size(), 1);
    QCOMPARE(ui::Messages::shown().first().text,
             QStringLiteral("Il Comune \"Calliano\" non è nell'elenco dei comuni: le quotazioni OMI si cercano per "
                            "codice catastale, che solo l'elenco conosce."));
    QCOMPARE(rowsOf(working, layout), before);
}

// The sale ranges of the file go into the municipality's sale table with the
// editor's OK, and the import's summary counts those it leaves out; Annulla
// writes nothing.
void TestOmiImport::saleRangesKeptWithOk_data()
{
    QTest::addColumn<bool>("rents");
    QTest::addColumn<bool>("ok");
    QTest::newRow("zones, OK") << false << true;
    QTest::newRow("zones, Annulla") << false << false;
    QTest::newRow("unit rents, OK") << true << true;
}

void TestOmiImport::saleRangesKeptWithOk()
{
    QFETCH(bool, rents);
    QFETCH(bool, ok);
    // One more row whose range cannot be used: its minimum above its maximum.
    Value bad{"A001", "PD", "ABANO TERME", "C", "C1", "21", "NORMALE", "P", "4", "5"};
    bad.comprMin = QStringLiteral("1.700");
    bad.comprMax = QStringLiteral("1.600");
    write(m_values, encode(valuesFile("2024/2", abanoValues() + QStringList{valueRow(bad)}), Encoding::Windows1252));
    chooseAbano(f->window.get());
    std::unique_ptr<QDialog> editor;
    QPushButton *okButton = nullptr;
    if (rents) {
        auto *e = new ui::UnitRentEditor(f->window->descriptionPage, f->window.get());
        okButton = e->okButton;
        editor.reset(e);
    } else {
        auto *e = new ui::ZonesEditor(f->window->descriptionPage, f->window.get());
        okButton = e->okButton;
        editor.reset(e);
    }
    editor->show();
    ui::Messages::setFileAnswers([this](const ui::FileDialogRequest &) { return m_values; });
    QString note;
    OmiImportDialog::setTestHandler([&](OmiImportDialog &d) {
        note = d.noteLabel->text();
        return true;
    });
    importButton(editor.get())->click();
    QVERIFY2(note.contains(QStringLiteral("Quotazioni di compravendita tenute (salvate con OK): 9; scartate 1 con "
                                          "minimo oltre il massimo, pari a 0 o vuote.")),
             qPrintable(note));
    const QString sales = dataPath(QStringLiteral("QuotazioniOMIAbano Terme35031PD.db"));
    QVERIFY(!Table::exists(sales)); // nothing before the editor's own OK
    if (ok) {
        okButton->click();
        const QVector<QVariantList> rows = omi::readSalesRows(sales);
        QCOMPARE(rows.size(), 9);
        QCOMPARE(rows.first().value(omi::SMin).toString(), QStringLiteral("1150"));
        QCOMPARE(rows.first().value(omi::SZoneDescription).toString(), QStringLiteral("CENTRO URBANO"));
    } else {
        editor->reject();
        QVERIFY(!Table::exists(sales));
    }
    QVERIFY(ui::Messages::shown().isEmpty());
}

QTEST_MAIN(TestOmiImport)
#include "tst_omiimport.moc"
