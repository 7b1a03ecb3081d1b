// SPDX-License-Identifier: GPL-2.0-or-later
#include "undoops.h"

#include "cadastralops.h"
#include "characteristicsops.h"
#include "fileops.h"
#include "lightsops.h"
#include "mainwindow.h"
#include "mcaops.h"
#include "omiops.h"
#include "periziaops.h"
#include "resultsops.h"
#include "surfacesops.h"
#include "unsavedwork.h"
#include "valueops.h"
#include "model/currency.h"
#include "model/record.h"
#include "omi/omisales.h"
#include "pages/comparablespage.h"
#include "pages/picturepage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "store/datafolder.h"
#include "store/tablestore.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTextDocument>
#include <QTextEdit>

#include <set>

namespace brevan::app {

using files::Companion;

namespace {

struct PicturePart {
    Companion kind;
    ui::PicturePage *MainWindow::*page;
};
constexpr PicturePart kPictureParts[] = {
    {Companion::Photo, &MainWindow::photoPage},
    {Companion::AreaPlan, &MainWindow::areaPlanPage},
    {Companion::UnitPlan, &MainWindow::unitPlanPage},
};

// The working tables the document holds, with the page whose grid shows them.
struct TablePart {
    Companion kind;
    const QString *file;
    const Layout &(*layout)();
};
const TablePart kTableParts[] = {
    {Companion::Surfaces, &kDescrSup, &surfacesLayout},
    {Companion::Comparables, &kImmConfr, &comparablesLayout},
};

// The fields the user types or picks: the record's others are computed or
// name companion files.
constexpr int kResultsNode = 12;

bool isTypedField(const FieldDef &f)
{
    return f.open == OpenRole::Restore && *f.control;
}

// A key that types into a text field (or takes typing back), not a command's.
bool isTyping(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return true;
    const auto *key = static_cast<const QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Control:
    case Qt::Key_Shift:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
        return true; // a modifier pressed on its way to a key
    default:
        break;
    }
    if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return true;
    for (const QKeySequence::StandardKey k : {QKeySequence::Undo, QKeySequence::Redo, QKeySequence::Cut,
                                              QKeySequence::Paste, QKeySequence::DeleteStartOfWord,
                                              QKeySequence::DeleteEndOfWord}) {
        if (key->matches(k))
            return true;
    }
    return false;
}

// A data-folder table's rows; none when it does not exist. Throws when it
// exists and cannot be read.
std::optional<files::TableRows> dataTableRows(const QString &path)
{
    if (!Table::exists(path))
        return std::nullopt;
    return Table::open(path, Trust::Own, false).rows();
}

// The data tables the editors write, by the start of their names.
struct DataTableKind {
    const char *prefix;
    const Layout &(*layout)();
};
const DataTableKind kDataTableKinds[] = {
    {"ZonaUrbana", &zonesLayout},
    {"CanoniLocazUnitari", &unitRentsLayout},
    {"QuotazioniOMI", &omi::salesLayout},
};

const Layout &dataTableLayout(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    for (const DataTableKind &k : kDataTableKinds) {
        if (name.startsWith(QLatin1String(k.prefix)))
            return k.layout();
    }
    return unitRentsLayout();
}

// The municipality table a working table is loaded from, for the tables
// that have a working table.
std::optional<MunicipalityTable> workingKindOf(const QString &path)
{
    const Layout &layout = dataTableLayout(path);
    if (&layout == &zonesLayout())
        return MunicipalityTable::Zones;
    if (&layout == &unitRentsLayout())
        return MunicipalityTable::UnitRents;
    return std::nullopt;
}

} // namespace

UndoOps::UndoOps(MainWindow *window, QObject *parent) : QObject(parent), m_window(window)
{
    m_recordTimer.setSingleShot(true);
    m_recordTimer.setInterval(0);
    connect(&m_recordTimer, &QTimer::timeout, this, &UndoOps::record);

    QUndoStack *stack = m_document.undoStack();
    connect(&m_document, &files::AppraisalDocument::partsChanged, this, &UndoOps::showParts);
    m_document.describe = [this](const files::AppraisalParts &parts) { return describe(parts); };
    m_document.showCheck = [this](const files::PartsChange &change, bool undoing) {
        return checkShow(change, undoing);
    };
    connect(&m_document, &files::AppraisalDocument::stepDropped, this, [this](const QString &why) {
        m_window->statusBar()->showMessage(droppedText(m_undoing, m_stepText, why), 15'000);
    });
    // The status bar says what the step touches: "Annulla l'ultima modifica
    // della stima (Calcolo delle superfici)."
    const auto describe = [](QAction *action, const QString &base, const QString &what) {
        action->setStatusTip(what.isEmpty() ? base + QLatin1Char('.') : QStringLiteral("%1 (%2).").arg(base, what));
    };
    if (QAction *undoAction = m_window->undoAction) {
        connect(undoAction, &QAction::triggered, this, &UndoOps::undo);
        connect(stack, &QUndoStack::canUndoChanged, undoAction, &QAction::setEnabled);
        connect(stack, &QUndoStack::undoTextChanged, undoAction, [undoAction, describe](const QString &what) {
            describe(undoAction, QStringLiteral("Annulla l'ultima modifica della stima"), what);
        });
    }
    if (QAction *redoAction = m_window->redoAction) {
        connect(redoAction, &QAction::triggered, this, &UndoOps::redo);
        connect(stack, &QUndoStack::canRedoChanged, redoAction, &QAction::setEnabled);
        connect(stack, &QUndoStack::redoTextChanged, redoAction, [redoAction, describe](const QString &what) {
            describe(redoAction, QStringLiteral("Ripete la modifica della stima annullata per ultima"), what);
        });
    }

    // A program write into a typed field or a working table (a reaction, a
    // command's follow-up) is taken in when the program is idle again: a
    // step when the user did something since the last one, else silently.
    if (FileOps *files = m_window->fileOps) {
        for (const FieldDef &f : recordFields()) {
            if (!isTypedField(f))
                continue;
            QWidget *w = files->control(QString::fromLatin1(f.name));
            if (auto *edit = qobject_cast<QLineEdit *>(w))
                connect(edit, &QLineEdit::textChanged, this, &UndoOps::scheduleRecord);
            else if (auto *combo = qobject_cast<QComboBox *>(w))
                connect(combo, &QComboBox::currentTextChanged, this, &UndoOps::scheduleRecord);
            else if (auto *button = qobject_cast<QAbstractButton *>(w))
                connect(button, &QAbstractButton::toggled, this, &UndoOps::scheduleRecord);
            else if (auto *date = qobject_cast<QDateEdit *>(w))
                connect(date, &QDateEdit::dateChanged, this, &UndoOps::scheduleRecord);
        }
        connect(files, &FileOps::appraisalOpened, this, &UndoOps::startAfresh);
        connect(files, &FileOps::appraisalCleared, this, &UndoOps::startAfresh);
        connect(files, &FileOps::appraisalSaved, this, &UndoOps::markSaved);
    }
    for (int t = 0; t < 2; ++t) {
        ui::TableModel *model = t == 0 ? m_window->surfacesPage->model() : m_window->comparablesPage->model();
        const auto changed = [this, t] {
            m_tableChanged[t] = true;
            scheduleRecord();
        };
        connect(model, &QAbstractItemModel::dataChanged, this, changed);
        connect(model, &QAbstractItemModel::rowsInserted, this, changed);
        connect(model, &QAbstractItemModel::rowsRemoved, this, changed);
        connect(model, &QAbstractItemModel::modelReset, this, changed);
    }
    // A recovery copy taken back into the pages is a new starting point.
    if (m_window->unsavedWork)
        connect(m_window->unsavedWork, &UnsavedWork::ImpostaSemaforiTreeViewRequested, this, &UndoOps::startAfresh);
    connect(m_window, &MainWindow::startupCompleted, this, &UndoOps::startAfresh);
    qApp->installEventFilter(this);
}

UndoOps::~UndoOps()
{
    qApp->removeEventFilter(this);
}

QString UndoOps::droppedText(bool undoing, const QString &what, const QString &why)
{
    const QString head = undoing ? QStringLiteral("Impossibile annullare la modifica") : QStringLiteral("Impossibile ripetere la modifica");
    const QString named = what.isEmpty() ? head : QStringLiteral("%1 (%2)").arg(head, what);
    return QStringLiteral("%1: %2 La modifica è stata tolta dall'elenco di Annulla e Ripeti.").arg(named, why);
}

QString UndoOps::describe(const files::AppraisalParts &parts) const
{
    // The pages the step touches, in the order of the tree, then the parts
    // that live beside the pages.
    std::set<int> nodes;
    const auto nodeOf = [this](const QWidget *w) {
        for (; w; w = w->parentWidget()) {
            const int n = m_window->pages->indexOf(const_cast<QWidget *>(w));
            if (n >= 1)
                return n;
        }
        return -1;
    };
    if (FileOps *files = m_window->fileOps) {
        for (auto it = parts.fields.cbegin(); it != parts.fields.cend(); ++it)
            nodes.insert(nodeOf(files->control(it.key())));
    }
    for (const PicturePart &p : kPictureParts) {
        if (parts.pictures.contains(p.kind))
            nodes.insert(nodeOf(m_window->*p.page));
    }
    if (parts.tables.contains(Companion::Surfaces))
        nodes.insert(nodeOf(m_window->surfacesPage));
    if (parts.tables.contains(Companion::Comparables))
        nodes.insert(nodeOf(m_window->comparablesPage));
    QStringList words;
    for (const int n : nodes) {
        if (n >= 1)
            words << MainWindow::pageCaption(n);
    }
    files::AppraisalParts beside = parts;
    beside.fields.clear();
    beside.pictures.clear();
    beside.tables.clear();
    if (const QString rest = beside.description(); !rest.isEmpty())
        words << rest;
    return words.join(QStringLiteral(", "));
}

QString UndoOps::missingTableText(const QString &table)
{
    return QStringLiteral("la tabella di lavoro \"%1\" non c'è più.").arg(table);
}

QString UndoOps::changedTableText(const QString &table)
{
    return QStringLiteral("la tabella di lavoro \"%1\" è stata cambiata fuori dal programma.").arg(table);
}

files::AppraisalParts UndoOps::pagesState() const
{
    files::AppraisalParts state;
    if (FileOps *files = m_window->fileOps) {
        const files::RecordValues record = files->currentRecord();
        for (const FieldDef &f : recordFields()) {
            if (isTypedField(f)) {
                const QString name = QString::fromLatin1(f.name);
                state.fields.insert(name, record.value(name));
            }
        }
    }
    state.euro = currency().euroInForce();
    for (const PicturePart &p : kPictureParts) {
        const ui::PicturePage *page = m_window->*p.page;
        state.pictures.insert(p.kind, page->hasPicture() ? page->sourceImage() : QImage());
    }
    for (int i = 0; i < 2; ++i) {
        const TablePart &t = kTableParts[i];
        // A table that cannot be read now keeps the rows it was last read with.
        state.tables.insert(t.kind, m_document.state().tables.value(t.kind));
        if (!m_tableChanged[i])
            continue;
        try {
            state.tables.insert(t.kind, Table::open(dataPath(*t.file)).rows());
            m_tableChanged[i] = false;
        } catch (const std::exception &) {
        }
    }
    if (SurfacesOps *surfaces = m_window->surfacesOps) {
        state.computed.insert(QStringLiteral("SupUtileImmob"), surfaces->usefulValue());
        state.computed.insert(QStringLiteral("SupConvenzImmob"), surfaces->conventionalValue());
        state.computed.insert(QStringLiteral("SupCommercImmob"), surfaces->commercialValue());
    }
    if (m_window->mcaOps) {
        state.mca = m_window->mcaOps->sheet();
        // A subject the user has not written in follows the pages: it is
        // proposed again whenever the comparison is shown, never a step.
        if (!state.mca->subjectEdited)
            state.mca->subject = mca::SheetColumn();
    }
    if (m_window->cadastralOps)
        state.cadastral = m_window->cadastralOps->choices();
    if (m_window->omiOps)
        state.omi = m_window->omiOps->held();
    if (m_window->periziaOps)
        state.perizia = m_window->periziaOps->report();
    return state;
}

void UndoOps::scheduleRecord()
{
    if (!m_showing && !m_recordTimer.isActive())
        m_recordTimer.start(0);
}

void UndoOps::record()
{
    if (m_showing)
        return;
    // A message or a dialog in the middle of a command: the command's
    // changes are one step, taken once it is over.
    if (QApplication::activeModalWidget()) {
        m_recordTimer.start(100);
        return;
    }
    recordNow(m_userActed);
}

void UndoOps::recordNow(bool userEdit)
{
    m_recordTimer.stop();
    files::AppraisalParts state = pagesState();
    const auto before = std::exchange(m_dataTablesBefore, {});
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        try {
            state.dataTables.insert(it.key(), dataTableRows(it.key()));
        } catch (const std::exception &) {
            // Written as nothing this program reads: not a step.
        }
    }
    if (userEdit && m_started)
        m_document.record(state, m_onlyTyping ? typingKey() : QString(), before);
    else
        m_document.settle(state);
    m_userActed = false;
    m_onlyTyping = true;
}

QString UndoOps::typingKey() const
{
    return keyOf(QApplication::focusWidget());
}

QString UndoOps::keyOf(const QObject *widget)
{
    const bool typing = (qobject_cast<const QLineEdit *>(widget) && !static_cast<const QLineEdit *>(widget)->isReadOnly())
                        || qobject_cast<const QPlainTextEdit *>(widget) || qobject_cast<const QTextEdit *>(widget);
    if (!typing)
        return {};
    return QStringLiteral("typing:%1").arg(quintptr(widget), 0, 16);
}

void UndoOps::takePendingEdits()
{
    // A comparable typed into the page's editors belongs to the table, as
    // saving posts it; then what was done a moment ago is a step of its own.
    if (m_window->comparablesPage->hasPendingEdit()) {
        m_window->comparablesPage->postEdits();
        m_userActed = true;
    }
    recordNow(m_userActed);
}

void UndoOps::undo()
{
    takePendingEdits();
    m_undoing = true;
    m_stepText = m_document.undoStack()->undoText();
    m_document.undoStack()->undo();
    m_undoing = false;
    m_document.settle(pagesState());
    afterStep();
}

void UndoOps::afterStep()
{
    // The focused field's own typing history ends where the appraisal's
    // undo took over: its next Ctrl+Z or redo key goes on with the steps.
    QWidget *focus = QApplication::focusWidget();
    if (auto *edit = qobject_cast<QLineEdit *>(focus)) {
        const QSignalBlocker quiet(edit);
        const int cursor = edit->cursorPosition();
        edit->setText(edit->text());
        edit->setCursorPosition(cursor);
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(focus)) {
        plain->document()->clearUndoRedoStacks();
    } else if (auto *rich = qobject_cast<QTextEdit *>(focus)) {
        rich->document()->clearUndoRedoStacks();
    }
    // Back at the state saved: a recovery copy of the changes undone is no
    // longer wanted (the copy drops itself when nothing is left to recover).
    if (m_document.undoStack()->isClean() && m_window->unsavedWork)
        m_window->unsavedWork->writeCopy();
}

void UndoOps::redo()
{
    takePendingEdits();
    m_stepText = m_document.undoStack()->redoText();
    m_document.undoStack()->redo();
    m_document.settle(pagesState());
    afterStep();
}

void UndoOps::dataTableAboutToChange(const QString &path)
{
    if (m_dataTablesBefore.contains(path))
        return;
    try {
        m_dataTablesBefore.insert(path, dataTableRows(path));
    } catch (const std::exception &) {
        // A table this program cannot read (a damaged one): its writing
        // cannot be undone.
    }
}

void UndoOps::startAfresh()
{
    m_recordTimer.stop();
    m_tableChanged[0] = m_tableChanged[1] = true;
    m_started = true;
    m_userActed = false;
    m_document.reset(pagesState());
}

void UndoOps::markSaved()
{
    m_recordTimer.stop();
    m_tableChanged[0] = m_tableChanged[1] = true;
    m_userActed = false;
    m_document.markSaved(pagesState());
}

bool UndoOps::eventFilter(QObject *watched, QEvent *event)
{
    // Ctrl+Z in a text field undoes its own typing while it has some; past
    // that (or in a field just entered) it undoes the appraisal's steps.
    if (event->type() == QEvent::ShortcutOverride && m_started && !fieldTakesKey(static_cast<QKeyEvent *>(event))) {
        event->ignore();
        return true;
    }
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
        if (m_started && !m_showing && watched->isWidgetType()) {
            m_userActed = true;
            m_onlyTyping = m_onlyTyping && isTyping(event);
            scheduleRecord();
        }
        break;
    case QEvent::MouseButtonRelease:
    case QEvent::Drop:
    case QEvent::Wheel:
        if (m_started && !m_showing && watched->isWidgetType()) {
            m_userActed = true;
            m_onlyTyping = false;
            scheduleRecord();
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool UndoOps::fieldTakesKey(const QKeyEvent *key) const
{
    const bool undoKey = key->matches(QKeySequence::Undo);
    const bool redoKey = key->matches(QKeySequence::Redo);
    if (!undoKey && !redoKey)
        return true;
    QWidget *focus = QApplication::focusWidget();
    if (auto *edit = qobject_cast<QLineEdit *>(focus))
        return edit->isReadOnly() || (undoKey ? edit->isUndoAvailable() : edit->isRedoAvailable());
    if (auto *plain = qobject_cast<QPlainTextEdit *>(focus))
        return plain->isReadOnly()
               || (undoKey ? plain->document()->isUndoAvailable() : plain->document()->isRedoAvailable());
    if (auto *rich = qobject_cast<QTextEdit *>(focus))
        return rich->isReadOnly() || (undoKey ? rich->document()->isUndoAvailable() : rich->document()->isRedoAvailable());
    return true;
}

QString UndoOps::checkShow(const files::PartsChange &change, bool) const
{
    // A working table is put back only over the rows it holds now: gone, or
    // written by another program or another instance, it is left alone.
    for (const TablePart &t : kTableParts) {
        if (!change.after.tables.contains(t.kind))
            continue;
        const QString path = dataPath(*t.file);
        const QString name = QFileInfo(path).fileName();
        if (!Table::exists(path))
            return missingTableText(name);
        try {
            if (Table::open(path).rows() != m_document.state().tables.value(t.kind))
                return changedTableText(name);
        } catch (const std::exception &) {
            return changedTableText(name);
        }
    }
    for (auto it = change.after.dataTables.cbegin(); it != change.after.dataTables.cend(); ++it) {
        const QString name = QFileInfo(it.key()).fileName();
        try {
            if (dataTableRows(it.key()) != m_document.state().dataTables.value(it.key()))
                return changedTableText(name);
        } catch (const std::exception &) {
            return changedTableText(name);
        }
    }
    return {};
}

void UndoOps::showTable(Companion which, const files::TableRows &rows)
{
    for (const TablePart &t : kTableParts) {
        if (t.kind != which)
            continue;
        ui::TableModel *model =
            which == Companion::Surfaces ? m_window->surfacesPage->model() : m_window->comparablesPage->model();
        model->close();
        try {
            // Written whole beside the working table and renamed over it.
            files::writeTableFile(dataPath(*t.file), t.layout(), rows);
        } catch (const std::exception &e) {
            m_window->statusBar()->showMessage(droppedText(m_undoing, m_stepText, QString::fromUtf8(e.what())),
                                               15'000);
        }
        model->reload();
        if (which == Companion::Surfaces && m_window->surfacesOps)
            m_window->surfacesOps->AttivaSpeedButtonCalcolaSuperfici();
    }
}

void UndoOps::showParts(const files::AppraisalParts &parts)
{
    m_showing = true;
    FileOps *files = m_window->fileOps;
    // The currency first: the switch converts the amounts, which the
    // fields' own values then replace exactly.
    if (parts.euro && files)
        files->takeCurrency(*parts.euro);
    for (const PicturePart &p : kPictureParts) {
        if (!parts.pictures.contains(p.kind))
            continue;
        ui::PicturePage *page = m_window->*p.page;
        const QImage picture = parts.pictures.value(p.kind);
        if (picture.isNull())
            page->clearForNewAppraisal();
        else
            page->setOpenedPicture(picture);
    }
    for (auto it = parts.tables.cbegin(); it != parts.tables.cend(); ++it)
        showTable(it.key(), it.value());
    // The surfaces as the step left them, also where the table alone would
    // not compute them again (no complete row).
    if (SurfacesOps *surfaces = m_window->surfacesOps; surfaces && !parts.computed.isEmpty()) {
        const auto value = [&parts](const char *name, const QString &now) {
            return parts.computed.value(QLatin1String(name), now).toString();
        };
        surfaces->setUsefulValue(value("SupUtileImmob", surfaces->usefulValue()));
        surfaces->setConventionalValue(value("SupConvenzImmob", surfaces->conventionalValue()));
        surfaces->setCommercialValue(value("SupCommercImmob", surfaces->commercialValue()));
    }
    if (parts.cadastral && m_window->cadastralOps)
        m_window->cadastralOps->showOpened(*parts.cadastral);
    if (parts.mca && m_window->mcaOps)
        m_window->mcaOps->showOpened(*parts.mca);
    if (parts.omi && m_window->omiOps)
        m_window->omiOps->showOpened(*parts.omi);
    if (parts.perizia && m_window->periziaOps)
        m_window->periziaOps->showOpened(*parts.perizia);
    bool zonesWritten = false;
    for (auto it = parts.dataTables.cbegin(); it != parts.dataTables.cend(); ++it) {
        const std::optional<MunicipalityTable> kind = workingKindOf(it.key());
        try {
            if (it.value())
                files::writeTableFile(it.key(), dataTableLayout(it.key()), *it.value());
            else
                Table::remove(it.key());
            // The working table of the municipality in hand takes the rows
            // put back, as choosing the municipality would.
            if (files && kind) {
                const files::RecordValues record = files->currentRecord();
                const auto text = [&](const char *name) { return record.value(QLatin1String(name)).toString(); };
                if (municipalityTableName(*kind, text("ComuneImmob"), text("CAPImmob"), text("SiglaProvinciaImmob"))
                    == QFileInfo(it.key()).fileName())
                    reloadForMunicipality(*kind, text("ComuneImmob"), text("CAPImmob"), text("SiglaProvinciaImmob"));
            }
            zonesWritten = zonesWritten || kind == MunicipalityTable::Zones;
        } catch (const std::exception &e) {
            m_window->statusBar()->showMessage(droppedText(m_undoing, m_stepText, QString::fromUtf8(e.what())),
                                               15'000);
        }
    }
    // The zone list offers the zones of the table put back.
    if (zonesWritten && m_window->characteristicsOps)
        m_window->characteristicsOps->rebuildZoneList();
    if (files && !parts.fields.isEmpty()) {
        // In the order opening writes them: the options before the values
        // they propose, the expenses after the gross income.
        for (const int number : openingOrder()) {
            const QString name = QString::fromLatin1(recordFields()[size_t(number - 1)].name);
            if (parts.fields.contains(name))
                files->showField(name, parts.fields.value(name));
        }
        // A reaction of a later field may have proposed over an earlier one.
        const files::RecordValues shown = files->currentRecord();
        for (const int number : openingOrder()) {
            const QString name = QString::fromLatin1(recordFields()[size_t(number - 1)].name);
            if (parts.fields.contains(name) && shown.value(name) != parts.fields.value(name))
                files->showField(name, parts.fields.value(name));
        }
    }
    if (m_window->lightsOps)
        m_window->lightsOps->ImpostaSemaforiTreeView();
    // The results page shown is brought up to date as choosing it does: a
    // step taken back there would otherwise leave its figures behind.
    if (m_window->selectedNode() == kResultsNode && m_window->valueOps && m_window->resultsOps) {
        m_window->valueOps->CalcolaCIValoreMercato();
        m_window->valueOps->CalcolaCDValoreMercato();
        m_window->resultsOps->CalcolaRiepilogoInformazioni();
    }
    m_showing = false;
}

} // namespace brevan::app
