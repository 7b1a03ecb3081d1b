// SPDX-License-Identifier: GPL-2.0-or-later
#include "fileops.h"
#include "widgetfields.h"

#include <QMultiHash>

#include "mainwindow.h"
#include "cadastralops.h"
#include "mcaops.h"
#include "omiops.h"
#include "periziaops.h"
#include "openedappraisal.h"
#include "unsavedwork.h"

#include "model/currency.h"
#include "pages/comparablespage.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/messages.h"
#include "pages/pagekit.h"
#include "pages/picturepage.h"
#include "pages/resultspage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "files/cadastraltable.h"
#include "files/mcatable.h"
#include "files/periziatable.h"
#include "files/setsave.h"
#include "legacy/keeporiginal.h"
#include "store/datafolder.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>

#include <optional>

namespace brevan::app {

using files::Companion;
using ui::FileDialogRequest;
using ui::Messages;

namespace {

const FieldDef &field(int number)
{
    return recordFields()[static_cast<size_t>(number - 1)];
}

QString nameOf(const FieldDef &f)
{
    return QString::fromLatin1(f.name);
}

// The last field that opening reads before the companion files (step 4 of
// opening ends with the cadastral data).
constexpr int kLastFieldBeforeCompanions = 36;
// The surfaces behind the surfaces page, in record order.
constexpr int kFirstSurfaceField = 41;
constexpr int kSurfaceFieldCount = 3;

const QString kAppraisalFilter = ui::fileFilter(QStringLiteral("Stima Brevan (*.db)|Stima*.db"));
const QString kAppraiserFilter = ui::fileFilter(QStringLiteral("Generalità professionista (*.db)|Professionista*.db"));
const QString kAppraiserSuggested = QStringLiteral("Professionista 01.db");

// The hourglass for the length of a command.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

struct PictureCompanion {
    Companion kind;
    ui::PicturePage *MainWindow::*page;
    const char *caption; // the page's, to name a picture that cannot be read
};
const PictureCompanion kPictureCompanions[] = {
    {Companion::Photo, &MainWindow::photoPage, "Illustrazione fotografica"},
    {Companion::AreaPlan, &MainWindow::areaPlanPage, "Planimetria di zona"},
    {Companion::UnitPlan, &MainWindow::unitPlanPage, "Planimetria dell'immobile"},
};

// The working table's model lets go of the file while fn replaces it, and
// takes it up again afterwards, also when fn fails.
template <typename Fn>
void replaceWorkingTable(ui::TableModel *model, Fn &&fn)
{
    model->close();
    try {
        fn();
    } catch (...) {
        model->reload();
        throw;
    }
    model->reload();
}

bool isWorkingTable(const QString &path)
{
    const QString file = QFileInfo(path).absoluteFilePath();
    for (const QString &name : {kDescrSup, kImmConfr, kZonaUrbana, kCanoniLocazUnitari}) {
        try {
            if (QFileInfo(dataPath(name)).absoluteFilePath() == file)
                return true;
        } catch (const std::exception &) {
            return false; // no data folder registered: nothing to collide with
        }
    }
    return false;
}

} // namespace

FileOps::FileOps(MainWindow *window, QObject *parent) : QObject(parent), m_window(window)
{
    // One walk over the window's widgets, indexed by name; a record field
    // must name exactly one control.
    QMultiHash<QString, QWidget *> byName;
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (!w->objectName().isEmpty())
            byName.insert(w->objectName(), w);
    }
    for (const FieldDef &f : recordFields()) {
        if (!*f.control)
            continue;
        const QString name = nameOf(f);
        const QList<QWidget *> found = byName.values(name);
        if (found.size() == 1)
            m_controls.insert(name, found.constFirst());
        else
            qWarning("FileOps: %lld controls named %s", static_cast<long long>(found.size()), f.name);
    }
    connect(window->saveAction, &QAction::triggered, this, &FileOps::FileSave1Execute);
    connect(window->openAction, &QAction::triggered, this, &FileOps::FileOpen1Execute);
    connect(window->newAction, &QAction::triggered, this, &FileOps::FileNew1Execute);
    connect(window->saveAppraiserAction, &QAction::triggered, this, &FileOps::SpeedButton56Click);
    connect(window->loadAppraiserAction, &QAction::triggered, this, &FileOps::SpeedButton54Click);
}

QString FileOps::saveFailureText()
{
    return QStringLiteral("Impossibile salvare su disco la stima corrente:\n"
                          "verificare che il disco non sia pieno o protetto.");
}

QString FileOps::openFailureText()
{
    return QStringLiteral("Impossibile caricare da disco la stima selezionata:\n"
                          "il file è danneggiato o non è un formato valido.");
}

QString FileOps::unreadablePicturesText(const QStringList &pictures)
{
    if (pictures.size() == 1)
        return QStringLiteral("Impossibile leggere l'immagine %1:\n"
                              "la pagina resta vuota; il resto della stima è stato caricato.")
            .arg(pictures.constFirst());
    return QStringLiteral("Impossibile leggere le immagini %1:\n"
                          "le pagine restano vuote; il resto della stima è stato caricato.")
        .arg(pictures.join(QStringLiteral(", ")));
}

QString FileOps::unreadableMcaText(const QString &companion)
{
    return QStringLiteral("Impossibile leggere la stima per confronto di mercato \"%1\":\n"
                          "la finestra MCA resta vuota; il resto della stima è stato caricato.")
        .arg(companion);
}

QString FileOps::unreadableCadastralText(const QString &companion)
{
    return QStringLiteral("Impossibile leggere la superficie catastale \"%1\":\n"
                          "valgono le classi proposte; il resto della stima è stato caricato.")
        .arg(companion);
}

QString FileOps::unreadablePeriziaText(const QString &companion)
{
    return QStringLiteral("Impossibile leggere il rapporto di valutazione \"%1\":\n"
                          "il rapporto resta vuoto; il resto della stima è stato caricato.")
        .arg(companion);
}

QString FileOps::unreadableOmiText(const QString &companion)
{
    return QStringLiteral("Impossibile leggere il confronto con le quotazioni OMI \"%1\":\n"
                          "la scelta di zona, tipologia e stato resta vuota; il resto della stima è stato caricato.")
        .arg(companion);
}

QString FileOps::newQuestionText()
{
    return QStringLiteral("Tutti i dati precedentemente inseriti\nverranno eliminati. Continuare?");
}

QString FileOps::appraiserSaveFailureText()
{
    return QStringLiteral("Impossibile salvare su disco le generalità del professionista:\n"
                          "verificare che il disco non sia pieno o protetto.");
}

QString FileOps::appraiserLoadFailureText()
{
    return QStringLiteral("Impossibile caricare da disco le generalità del professionista:\n"
                          "il file specificato è danneggiato o non è un formato valido.");
}

// --- reading and writing the controls --------------------------------------

QString FileOps::readText(const FieldDef &f) const
{
    QWidget *w = control(nameOf(f));
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        return edit->text();
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->currentText();
    if (auto *date = qobject_cast<QDateEdit *>(w))
        return files::appraisalDateText(date->date());
    return {};
}

bool FileOps::readTick(const FieldDef &f) const
{
    auto *b = qobject_cast<QAbstractButton *>(control(nameOf(f)));
    return b && b->isChecked();
}

files::RecordValues FileOps::currentRecord(const QHash<QString, QString> &companions) const
{
    QStringList surfaces = surfaceValues ? surfaceValues() : QStringList();
    files::RecordValues values;
    for (const FieldDef &f : recordFields()) {
        const QString name = nameOf(f);
        switch (f.type) {
        case FieldType::Real:
            values.insert(name, m_window->coefficients.value(name).value_or(0.0));
            break;
        case FieldType::Logical:
            values.insert(name, readTick(f));
            break;
        case FieldType::Text:
            if (f.open == OpenRole::Companion)
                values.insert(name, companions.value(name));
            else if (f.number >= kFirstSurfaceField && f.number < kFirstSurfaceField + kSurfaceFieldCount)
                values.insert(name, surfaces.value(f.number - kFirstSurfaceField));
            else
                values.insert(name, readText(f));
            break;
        }
    }
    values.insert(files::kCurrencyColumn, files::currencyText(currency().euroInForce()));
    return values;
}

void FileOps::writeText(const FieldDef &f, const QString &text)
{
    QWidget *w = control(nameOf(f));
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        edit->setText(text);
    else if (auto *combo = qobject_cast<QComboBox *>(w))
        ui::setComboText(combo, text);
}

void FileOps::writeTick(const FieldDef &f, bool on)
{
    app::writeTick(qobject_cast<QAbstractButton *>(control(nameOf(f))), on);
}

void FileOps::showField(const QString &name, const QVariant &value)
{
    const FieldDef *f = recordField(name);
    if (!f)
        return;
    if (f->type == FieldType::Logical)
        writeTick(*f, value.toBool());
    else if (auto *date = qobject_cast<QDateEdit *>(control(name)))
        date->setDate(files::appraisalDateFrom(value.toString()));
    else
        writeText(*f, value.toString());
}

void FileOps::clearField(int number)
{
    const FieldDef &f = field(number);
    if (f.type == FieldType::Logical)
        writeTick(f, false);
    else
        writeText(f, QString());
}

// --- saving ------------------------------------------------------------------

void FileOps::FileSave1Execute()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Salva stima corrente");
    request.filter = kAppraisalFilter;
    request.directory = QDir::currentPath();
    // Another unit's appraisal of the same shortened name is never offered
    // for replacing.
    request.suggested = files::suggestedTableNameIn(request.directory, currentRecord());
    request.save = true;
    const QString chosen = files::withDbExtension(Messages::fileName(m_window, request));
    if (chosen.isEmpty())
        return;
    const QFileInfo info(chosen);
    QDir::setCurrent(info.absolutePath());

    // The values are brought up to date first, as choosing the results page
    // does, so that the record stores every amount in the currency in force:
    // values computed before a currency switch, or before the comparables
    // changed, would otherwise be stored beside amounts of another currency.
    if (m_window->comparablesPage->hasPendingEdit())
        m_window->comparablesPage->postEdits();
    Q_EMIT CalcolaCIValoreMercatoRequested();
    Q_EMIT CalcolaCDValoreMercatoRequested();

    ui::SurfacesPage *surfaces = m_window->surfacesPage;
    ui::ComparablesPage *comparables = m_window->comparablesPage;
    const QModelIndex surfacesCurrent = surfaces->grid->currentIndex();
    const int surfacesRow = surfacesCurrent.row();
    const int surfacesColumn = surfacesCurrent.column();
    const int comparablesRow = comparables->currentRow();
    bool saved = false;
    m_keptOriginals.clear();
    {
        const WaitCursor wait;
        try {
            saveAppraisal(info.absoluteFilePath());
            saved = true;
            if (!m_keptOriginals.isEmpty())
                Messages::note(m_window, legacy::keptOriginalsNote(m_keptOriginals));
        } catch (const std::exception &e) {
            qWarning("FileSave1Execute: %s", e.what());
            Messages::warning(m_window, saveFailureText());
        }
    }
    // The working tables are open again in every case, on the rows the user
    // was at.
    if (!surfaces->model()->isOpen())
        surfaces->model()->reload();
    if (!comparables->model()->isOpen())
        comparables->model()->reload();
    if (surfacesRow >= 0 && surfacesRow < surfaces->model()->rowCount())
        surfaces->grid->setCurrentIndex(surfaces->model()->index(surfacesRow, std::max(0, surfacesColumn)));
    if (comparablesRow >= 0 && comparablesRow < comparables->model()->rowCount())
        comparables->selection()->setCurrentIndex(comparables->model()->index(comparablesRow, 0),
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (saved)
        Q_EMIT appraisalSaved();
}

void FileOps::saveAppraisal(const QString &tablePath)
{
    // Saving a record over a working table would destroy the grid's rows.
    if (isWorkingTable(tablePath))
        throw StoreError(QStringLiteral("Il nome scelto è quello di una tabella di lavoro."));
    // A Paradox table that the set would replace is first kept beside it.
    const QString folder = QFileInfo(tablePath).absolutePath();
    files::recoverFolder(folder);
    const QString stem = files::companionStemIn(folder, QFileInfo(tablePath).fileName());
    m_keptOriginals << legacy::keepParadoxOriginal(tablePath);
    for (const Companion c : files::kCompanions) {
        if (files::companionForm(c) == files::CompanionForm::Table)
            m_keptOriginals << legacy::keepParadoxOriginal(pathInFolder(folder, files::companionName(c, stem)));
    }
    files::saveAppraisalSet(tablePath, currentContent(), stem);
}

files::AppraisalContent FileOps::currentContent(bool postPendingEdit)
{
    // What the user typed into the comparable's editors belongs to the table.
    if (postPendingEdit && m_window->comparablesPage->hasPendingEdit())
        m_window->comparablesPage->postEdits();
    files::AppraisalContent content;
    content.record = currentRecord();
    for (const PictureCompanion &p : kPictureCompanions) {
        const ui::PicturePage *page = m_window->*p.page;
        if (page->hasPicture())
            content.pictures.insert(p.kind, page->sourceImage());
    }
    content.tables.insert(Companion::Surfaces, Table::open(dataPath(kDescrSup)).rows());
    content.tables.insert(Companion::Comparables, Table::open(dataPath(kImmConfr)).rows());
    // The market comparison has no field in the record: its table is found by
    // its name beside the appraisal table.
    if (m_window->mcaOps && m_window->mcaOps->hasData())
        content.tables.insert(Companion::Mca, files::mcaRows(m_window->mcaOps->sheet()));
    // The cadastral surface likewise, when the appraiser changed a proposal.
    if (m_window->cadastralOps && !m_window->cadastralOps->choices().isEmpty())
        content.tables.insert(Companion::Cadastral, files::cadastralRows(m_window->cadastralOps->choices()));
    // The OMI comparison likewise, once the appraiser chose something.
    if (m_window->omiOps && m_window->omiOps->hasChoice())
        content.tables.insert(Companion::Omi, files::omiRows(m_window->omiOps->stored()));
    // The report for a purpose likewise, once the appraiser gave something.
    if (m_window->periziaOps && m_window->periziaOps->hasData())
        content.tables.insert(Companion::Perizia, files::periziaRows(m_window->periziaOps->report()));
    return content;
}

// --- opening -----------------------------------------------------------------

void FileOps::FileOpen1Execute()
{
    try {
        CreaAlias(kAliasBrevan);
    } catch (const std::exception &e) {
        Messages::error(m_window, QString::fromUtf8(e.what()));
    }
    // Opening replaces the pages: changes not saved are offered a save first.
    if (m_window->unsavedWork && !m_window->unsavedWork->confirmOpen())
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Apri stima");
    request.filter = kAppraisalFilter;
    request.directory = QDir::currentPath();
    const QString chosen = Messages::fileName(m_window, request);
    if (!chosen.isEmpty()) {
        const QFileInfo info(chosen);
        QDir::setCurrent(info.absolutePath());
        if (openAppraisal(info.absoluteFilePath()))
            Q_EMIT appraisalOpened();
    }
    Q_EMIT ImpostaSemaforiTreeViewRequested();
}

void FileOps::showAppraisal(OpenedAppraisal &opened)
{
    // The stored amounts keep their meaning: the program first takes the
    // currency they were saved in.
    takeCurrency(opened.euro);
    bool companionsDone = false;
    for (const OpenedAppraisal::Value &v : opened.values) {
        if (v.number > kLastFieldBeforeCompanions && !companionsDone) {
            // A page whose picture was not saved, whose file is gone or cannot
            // be read is emptied rather than left showing the previous
            // appraisal's picture, which the next save would then store under
            // this appraisal's name.
            for (const PictureCompanion &p : kPictureCompanions) {
                ui::PicturePage *page = m_window->*p.page;
                if (opened.pictures.contains(p.kind))
                    page->setOpenedPicture(opened.pictures.value(p.kind));
                else
                    page->clearForNewAppraisal();
            }
            replaceWorkingTable(m_window->surfacesPage->model(), [&] { opened.surfaces.putInPlace(); });
            Q_EMIT AttivaSpeedButtonCalcolaSuperficiRequested();
            replaceWorkingTable(m_window->comparablesPage->model(), [&] { opened.comparables.putInPlace(); });
            if (m_window->cadastralOps)
                m_window->cadastralOps->showOpened(opened.cadastral);
            if (m_window->mcaOps)
                m_window->mcaOps->showOpened(opened.mca);
            if (m_window->omiOps)
                m_window->omiOps->showOpened(opened.omi);
            if (m_window->periziaOps)
                m_window->periziaOps->showOpened(opened.perizia);
            companionsDone = true;
        }
        const FieldDef &f = field(v.number);
        if (f.type == FieldType::Logical) {
            writeTick(f, v.tick);
        } else if (auto *date = qobject_cast<QDateEdit *>(control(nameOf(f)))) {
            // A program write into the date picker runs no reaction.
            const QSignalBlocker block(date);
            date->setDate(v.date);
        } else {
            writeText(f, v.text);
        }
    }
}

bool FileOps::openAppraisal(const QString &tablePath)
{
    const QString folder = QFileInfo(tablePath).absolutePath();
    // A save that a crash interrupted in this folder is finished (or undone)
    // first, so the set read is one save's.
    files::recoverFolder(folder);
    m_window->selectNode(0);
    bool opened = false;
    QStringList unreadable;
    QString unreadableMca;
    QString unreadableCadastral;
    QString unreadableOmi;
    QString unreadablePerizia;
    {
        const WaitCursor wait;
        // Read and check everything first: a file that fails leaves the
        // pages as they were, never half of one appraisal beside the other.
        std::optional<OpenedAppraisal> read;
        try {
            read.emplace(readOpenedAppraisal(tablePath, [this](const FieldDef &f) {
                return qobject_cast<QDateEdit *>(control(nameOf(f))) != nullptr;
            }, picturePixels));
        } catch (const TableTooLarge &e) {
            Messages::warning(m_window, openFailureText() + QStringLiteral("\n\n") + e.message());
        } catch (const std::exception &e) {
            qWarning("FileOpen1Execute: %s", e.what());
            Messages::warning(m_window, openFailureText());
        }
        if (read) {
            try {
                showAppraisal(*read);
                opened = true;
                for (const auto &[kind, stored] : read->unreadablePictures) {
                    for (const PictureCompanion &p : kPictureCompanions) {
                        if (p.kind == kind)
                            unreadable << QStringLiteral("\"%1\" (%2)").arg(stored, QString::fromUtf8(p.caption));
                    }
                }
                unreadableMca = read->unreadableMca;
                unreadableCadastral = read->unreadableCadastral;
                unreadableOmi = read->unreadableOmi;
                unreadablePerizia = read->unreadablePerizia;
            } catch (const std::exception &e) {
                qWarning("FileOpen1Execute: %s", e.what());
                Messages::warning(m_window, openFailureText());
            }
        }
        for (ui::TableModel *model : {m_window->surfacesPage->model(), m_window->comparablesPage->model()}) {
            if (!model->isOpen())
                model->reload();
        }
    }
    if (opened)
        Q_EMIT appraisalRead();
    if (!unreadable.isEmpty())
        Messages::warning(m_window, unreadablePicturesText(unreadable));
    if (!unreadableMca.isEmpty())
        Messages::warning(m_window, unreadableMcaText(unreadableMca));
    if (!unreadableCadastral.isEmpty())
        Messages::warning(m_window, unreadableCadastralText(unreadableCadastral));
    if (!unreadableOmi.isEmpty())
        Messages::warning(m_window, unreadableOmiText(unreadableOmi));
    if (!unreadablePerizia.isEmpty())
        Messages::warning(m_window, unreadablePeriziaText(unreadablePerizia));
    return opened;
}

void FileOps::takeCurrency(bool euro)
{
    QToolButton *button = euro ? m_window->euroButton : m_window->lireButton;
    if (button && button->isEnabled())
        button->click();
}

// --- new appraisal -----------------------------------------------------------

void FileOps::FileNew1Execute()
{
    if (!Messages::confirm(m_window, newQuestionText()))
        return;
    MainWindow *w = m_window;
    // A working table that cannot be rebuilt is reported and the remaining
    // steps still run, so the pages end cleared.
    auto guarded = [w](auto &&fn) {
        try {
            fn();
        } catch (const std::exception &e) {
            Messages::error(w, QString::fromUtf8(e.what()));
        }
    };
    auto clearRange = [this](int from, int to) {
        for (int n = from; n <= to; ++n)
            clearField(n);
    };

    w->selectNode(0);
    clearRange(1, 17);

    for (QLineEdit *rent : {w->incomePage->midRentEdit, w->incomePage->minRentEdit, w->incomePage->maxRentEdit})
        rent->setText(QStringLiteral("0"));
    clearRange(96, 107);

    guarded([&] {
        replaceWorkingTable(w->comparablesPage->model(),
                            [] { rebuildTable(dataPath(kImmConfr), comparablesLayout(), 0); });
    });
    Q_EMIT clearPreviousAppraisalsRequested();
    if (w->mcaOps)
        w->mcaOps->clearForNewAppraisal();
    if (w->cadastralOps)
        w->cadastralOps->clearForNewAppraisal();
    if (w->omiOps)
        w->omiOps->clearForNewAppraisal();
    if (w->periziaOps)
        w->periziaOps->clearForNewAppraisal();

    w->resultsPage->summaryEdit->clear();
    w->resultsPage->summaryEdit->setEnabled(false);
    clearRange(146, 149);

    clearRange(18, 27);
    clearRange(29, 36);

    for (const PictureCompanion &p : kPictureCompanions)
        (w->*p.page)->clearForNewAppraisal();

    ui::SurfacesPage *surfaces = w->surfacesPage;
    guarded([&] {
        replaceWorkingTable(surfaces->model(), [] { rebuildTable(dataPath(kDescrSup), surfacesLayout(), 25); });
    });
    for (QToolButton *b : {surfaces->saveTableButton, surfaces->clearTableButton, surfaces->copyRowButton,
                           surfaces->cutRowButton, surfaces->computeButton})
        b->setEnabled(false);
    for (QLineEdit *e : {surfaces->usefulEdit, surfaces->conventionalEdit, surfaces->commercialEdit})
        e->clear();
    Q_EMIT surfacesClearedForNewAppraisal();

    ui::LocalisationPage *loc = w->localisationPage;
    loc->clearTownSize();
    clearField(51);
    loc->clearCentrality();
    {
        const QSignalBlocker block(loc->urbanZoneCombo);
        loc->urbanZoneCombo->clear();
        ui::setComboText(loc->urbanZoneCombo, QString());
    }
    clearRange(52, 56);

    clearRange(57, 71);
    clearRange(72, 80);
    clearRange(81, 85);
    clearField(87);
    clearField(89);
    // Clearing the ticks empties the kinds of lift and heating through their
    // reactions; the writes here make sure of it.
    clearField(86);
    clearField(88);
    clearRange(90, 95);

    w->coefficients = Coefficients();
    Q_EMIT ImpostaSemaforiTreeViewRequested();

    {
        const QSignalBlocker block(w->descriptionPage->dateEdit);
        w->descriptionPage->setAppraisalDate(today());
    }
    w->localisationPage->zonesEditorButton->hide();
    w->incomePage->unitRentTableButton->hide();
    Q_EMIT appraisalCleared();
}

// --- the appraiser's particulars --------------------------------------------

void FileOps::SpeedButton56Click()
{
    try {
        CreaAlias(kAliasBrevan);
    } catch (const std::exception &e) {
        Messages::error(m_window, QString::fromUtf8(e.what()));
    }
    FileDialogRequest request;
    request.title = QStringLiteral("Salva generalità del professionista");
    request.filter = kAppraiserFilter;
    request.directory = m_appraiserSaveFolder.isEmpty() ? QDir::currentPath() : m_appraiserSaveFolder;
    request.suggested = kAppraiserSuggested;
    request.save = true;
    const QString chosen = files::withDbExtension(Messages::fileName(m_window, request));
    if (chosen.isEmpty())
        return;
    const QFileInfo info(chosen);
    m_appraiserSaveFolder = info.absolutePath();
    files::recoverFolder(m_appraiserSaveFolder);
    try {
        const Layout layout = files::appraiserLayout();
        files::RecordValues values;
        for (const FieldDef &f : appraiserFields())
            values.insert(nameOf(f), readText(f));
        const QStringList kept = legacy::keepParadoxOriginal(info.absoluteFilePath());
        files::writeOneRowTable(info.absoluteFilePath(), layout, files::rowFor(layout, values));
        if (!kept.isEmpty())
            Messages::note(m_window, legacy::keptOriginalsNote(kept));
    } catch (const std::exception &) {
        Messages::warning(m_window, appraiserSaveFailureText());
    }
}

void FileOps::SpeedButton54Click()
{
    try {
        CreaAlias(kAliasBrevan);
    } catch (const std::exception &e) {
        Messages::error(m_window, QString::fromUtf8(e.what()));
    }
    FileDialogRequest request;
    request.title = QStringLiteral("Carica generalità del professionista");
    request.filter = kAppraiserFilter;
    request.directory = m_appraiserLoadFolder.isEmpty() ? QDir::currentPath() : m_appraiserLoadFolder;
    request.suggested = kAppraiserSuggested;
    const QString chosen = Messages::fileName(m_window, request);
    if (!chosen.isEmpty()) {
        const QFileInfo info(chosen);
        m_appraiserLoadFolder = info.absolutePath();
        files::recoverFolder(m_appraiserLoadFolder);
        try {
            files::StoredRecord record(info.absoluteFilePath());
            for (const FieldDef &f : appraiserFields())
                writeText(f, record.text(nameOf(f)));
        } catch (const std::exception &) {
            Messages::warning(m_window, appraiserLoadFailureText());
        }
    }
    Q_EMIT ImpostaSemaforiTreeViewRequested();
}

} // namespace brevan::app
