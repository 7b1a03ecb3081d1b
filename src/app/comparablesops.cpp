// SPDX-License-Identifier: GPL-2.0-or-later
#include "comparablesops.h"

#include "tablefilecommand.h"

#include "mainwindow.h"

#include "files/appraisalfiles.h"
#include "model/currency.h"
#include "files/setsave.h"
#include "model/numbertext.h"
#include "pages/comparablespage.h"
#include "pages/folderdialog.h"
#include "pages/messages.h"
#include "pages/pagekit.h"
#include "pages/tablemodel.h"
#include "store/datafolder.h"
#include "valuation/conversion.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QToolButton>

namespace brevan::app {

namespace {

const QString kOpenTitle = QStringLiteral("Apri tabella Immobili di confronto");
const QString kSaveTitle = QStringLiteral("Salva tabella Immobili di confronto");
const QString kFilter = ui::fileFilter(QStringLiteral("Immobili di confronto (*.db)|ImmobConfr*.db"));
const QString kProposedName = QStringLiteral("ImmobConfr 01.db");
const QString kOpenFailed =
    QStringLiteral("La tabella %1 potrebbe essere:\ngià in uso, inesistente o in un formato non valido.");
const QString kSaveFailed = QStringLiteral("La tabella %1 è già in uso. \nSalvare la tabella con un altro nome.");
const QString kEmptyQuestion = QStringLiteral("Si conferma l'eliminazione del contenuto della tabella?");
const QString kListHint = QStringLiteral("|Lista stime precedenti.");
const QString kListHintIn = QStringLiteral("|Lista stime precedenti in ");
const QString kAppraisalPattern = QStringLiteral("Stima - *.db");

// What an earlier appraisal contributes, in the comparables table's field
// order: the record field it comes from, whether it is a stored real shown
// in normal form, and whether it is an amount of the appraisal's currency.
struct Contribution {
    const char *recordField;
    bool formattedReal;
    bool amount = false;
};
const Contribution kContribution[11] = {
    {"IndirizzoImmob", false},     {"NumCivicoImmob", false},      {"PianoImmob", false},
    {"InternoImmob", false},       {"SupCommercImmob", false},     {"CDCarattLocalizzaz", true},
    {"CDCarattPosizione", true},   {"CDCarattTipologiche", true},  {"CDCarattProduttive", true},
    {"CostoUnitario", false, true}, {"CostoComplessivo", false, true},
};

// The numbers DBEdit5Click brings to normal form, in the order it does so.
const char *const kNormalised[7] = {"CdCarattLocalizzaz", "CdCarattPosizione", "CdCarattTipologiche",
                                    "CdCarattProduttive", "SupCommercImmob",   "CostoUnitario",
                                    "CostoComplessivo"};

// Check state last seen on a list item, to tell a toggled mark from other
// changes of the item.
constexpr int kSeenCheckRole = Qt::UserRole + 1;

QString errorText(const std::exception &e)
{
    return QString::fromUtf8(e.what());
}

} // namespace

ui::FolderDialog *ComparablesOps::folderDialog()
{
    // Built at its first use and kept, so it opens where the user left it.
    if (!m_folderDialog)
        m_folderDialog = new ui::FolderDialog(m_window);
    return m_folderDialog;
}

ComparablesOps::ComparablesOps(MainWindow *window, QObject *parent)
    : QObject(parent), m_window(window)
{
    ui::ComparablesPage *p = page();
    connect(p->browseButton, &QToolButton::clicked, this, &ComparablesOps::SpeedButton60Click);
    connect(p->loadButton, &QToolButton::clicked, this, &ComparablesOps::SpeedButton57Click);
    connect(p->saveButton, &QToolButton::clicked, this, &ComparablesOps::SpeedButton58Click);
    connect(p->emptyButton, &QToolButton::clicked, this, &ComparablesOps::SpeedButton59Click);

    QListWidget *list = p->previousAppraisalsList;
    // Selecting an item by keyboard or mouse previews it; clicking the item
    // that is already selected previews it again.
    connect(list, &QListWidget::currentItemChanged, this, [this] {
        if (!m_programChange)
            CheckListBox1Click();
    });
    connect(list, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        if (item == m_currentAtPress)
            CheckListBox1Click();
    });
    list->viewport()->installEventFilter(this);
    connect(list, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (m_programChange)
            return;
        const int now = int(item->checkState());
        if (item->data(kSeenCheckRole).toInt() == now)
            return;
        item->setData(kSeenCheckRole, now);
        CheckListBox1ClickCheck(item);
    });

    for (QLineEdit *e : p->editors())
        e->installEventFilter(this);

    ui::TableModel *model = p->model();
    connect(model, &QAbstractItemModel::dataChanged, this, &ComparablesOps::DataSource2DataChange);
    connect(model, &QAbstractItemModel::rowsInserted, this, &ComparablesOps::DataSource2DataChange);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &ComparablesOps::DataSource2DataChange);
    connect(model, &QAbstractItemModel::modelReset, this, &ComparablesOps::DataSource2DataChange);
    connect(p->selection(), &QItemSelectionModel::currentRowChanged, this, &ComparablesOps::DataSource2DataChange);
    // A comparable the store could not write: the standard error box; the
    // model has already read the file again.
    connect(model, &ui::TableModel::failed, this,
            [this](const QString &message) { ui::Messages::error(m_window, message); });
    DataSource2DataChange();
}

ui::ComparablesPage *ComparablesOps::page() const
{
    return m_window->comparablesPage;
}

bool ComparablesOps::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && watched == page()->previousAppraisalsList->viewport()) {
        m_currentAtPress = page()->previousAppraisalsList->currentItem();
    } else if (event->type() == QEvent::MouseButtonRelease
               && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        // A click ends with the release; the press has already moved the
        // focus, so the editor left has written what it held.
        if (auto *e = qobject_cast<QLineEdit *>(watched); e && page()->editors().contains(e))
            DBEdit5Click();
    }
    return QObject::eventFilter(watched, event);
}

QStringList ComparablesOps::contributionOf(const QString &appraisalTable)
{
    const files::StoredRecord record(appraisalTable);
    const Layout &target = comparablesLayout();
    // The costs come in the currency in force, whatever the one they were
    // saved in: a cost in Lire among costs in Euro would bend the line.
    const bool storedEuro = record.inEuro();
    const bool convert = storedEuro != currency().euroInForce();
    const double factor = storedEuro ? kFattoreLire : kFattoreEuro;
    QStringList out;
    for (int i = 0; i < 11; ++i) {
        const QString field = QString::fromLatin1(kContribution[i].recordField);
        QString text = kContribution[i].formattedReal ? FormattaImporto(record.real(field)) : record.text(field);
        if (convert && kContribution[i].amount)
            text = convertPair(text, QString(), factor).shown;
        // As the comparables table will hold it: a longer text from a file
        // made elsewhere is cut here too, so the duplicate test still finds
        // the row it added.
        out << Table::coerce(target.at(i), text).toString();
    }
    return out;
}

void ComparablesOps::fillList(const QStringList &names)
{
    QListWidget *list = page()->previousAppraisalsList;
    m_programChange = true;
    m_currentAtPress = nullptr;
    list->clear();
    for (const QString &name : names) {
        auto *item = new QListWidgetItem(name, list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setData(kSeenCheckRole, int(Qt::Unchecked));
    }
    m_programChange = false;
}

void ComparablesOps::clearPreviousAppraisals()
{
    fillList({});
    ui::setHint(page()->previousAppraisalsList, kListHint);
}

void ComparablesOps::SpeedButton60Click()
{
    const QString chosen = folderDialog()->choose();
    if (chosen.isEmpty())
        return;
    m_percorsoDati = chosen;
    try {
        fillList({});
        // A save interrupted there is finished first, so every appraisal
        // listed is whole.
        files::recoverFolder(m_percorsoDati);
        fillList(Table::list(m_percorsoDati, kAppraisalPattern));
        ui::setHint(page()->previousAppraisalsList, kListHintIn + QDir::toNativeSeparators(m_percorsoDati));
        page()->showPreview({});
    } catch (const std::exception &e) {
        ui::Messages::error(m_window, errorText(e));
    }
}

void ComparablesOps::CheckListBox1Click()
{
    QListWidgetItem *item = page()->previousAppraisalsList->currentItem();
    const QString name = item ? item->text() : QString();
    if (name.isEmpty()) {
        page()->showPreview({});
        return;
    }
    try {
        page()->showPreview(contributionOf(pathInFolder(m_percorsoDati, name)));
    } catch (const std::exception &e) {
        ui::Messages::error(m_window, errorText(e));
    }
}

void ComparablesOps::CheckListBox1ClickCheck(QListWidgetItem *item)
{
    QListWidget *list = page()->previousAppraisalsList;
    if (!item || item->listWidget() != list)
        return;
    // Toggling a mark selects its item; the import reads the file itself,
    // so a bad file is reported once.
    if (list->currentItem() != item) {
        m_programChange = true;
        list->setCurrentItem(item);
        m_programChange = false;
    }
    const QString name = item->text();
    if (name.isEmpty())
        return;
    const bool checked = item->checkState() == Qt::Checked;
    try {
        const QStringList contribution = contributionOf(pathInFolder(m_percorsoDati, name));
        ui::ComparablesPage *p = page();
        ui::TableModel *model = p->model();
        // What the editors hold joins the table first, as leaving the row would.
        p->postEdits();
        int match = -1;
        for (int row = 0; row < model->rowCount(); ++row) {
            if (match < 0 && p->rowTexts(row) == contribution)
                match = row;
        }
        if (checked && match < 0) {
            QVariantList values;
            for (const QString &text : contribution)
                values << text;
            const int row = model->appendRow(values);
            if (row >= 0)
                p->selection()->setCurrentIndex(model->index(row, 0), QItemSelectionModel::ClearAndSelect
                                                                         | QItemSelectionModel::Rows);
        } else if (!checked && match >= 0) {
            // Of several equal rows the first goes.
            model->removeRows(match, 1);
        }
    } catch (const std::exception &e) {
        ui::Messages::error(m_window, errorText(e));
    }
}

void ComparablesOps::DBEdit5Click()
{
    ui::ComparablesPage *p = page();
    ui::TableModel *model = p->model();
    p->postEdits();
    const int row = p->currentRow();
    if (row < 0)
        return;
    try {
        for (const char *name : kNormalised) {
            const int column = model->fieldIndex(QString::fromLatin1(name));
            if (column < 0)
                continue;
            const QModelIndex index = model->index(row, column);
            const QString text = model->data(index, Qt::EditRole).toString();
            if (text.isEmpty())
                continue;
            const double value = EstraiNumero(text);
            const QString normal = FormattaImporto(value);
            if (text == normal)
                continue;
            // The store cuts text to the field's size; a normal form that no
            // longer reads as the same number once cut is not written.
            const QString stored = Table::coerce(model->layout().at(column), normal).toString();
            if (stored != normal && EstraiNumero(stored) != value)
                continue;
            if (!model->setData(index, normal))
                return; // the model has shown why
        }
    } catch (const std::exception &e) {
        ui::Messages::error(m_window, errorText(e));
    }
}

void ComparablesOps::DataSource2DataChange()
{
    ui::ComparablesPage *p = page();
    const int row = p->currentRow();
    bool any = false;
    if (row >= 0) {
        for (const QString &text : p->rowTexts(row))
            any = any || !text.isEmpty();
    }
    p->saveButton->setEnabled(any);
    p->emptyButton->setEnabled(any);
}

int ComparablesOps::TableImmobConfrCompleta() const
{
    return page()->completeness();
}

void ComparablesOps::reopenWorkingTable()
{
    try {
        // Under its own name, whatever the command did or failed to do. A
        // file that does not open is reported by the model's failed().
        page()->setTableFile(dataPath(kImmConfr));
    } catch (const std::exception &e) {
        ui::Messages::error(m_window, errorText(e));
    }
}

void ComparablesOps::SpeedButton57Click()
{
    ui::ComparablesPage *p = page();
    p->postEdits();
    try {
        const QString working = dataPath(kImmConfr);
        p->model()->close();
        runTableFileCommand(m_window, working, comparablesLayout(),
                            {kOpenTitle, kFilter, {}, false, kOpenFailed});
    } catch (const std::exception &e) {
        ui::Messages::error(m_window, errorText(e));
    }
    reopenWorkingTable();
}

void ComparablesOps::SpeedButton58Click()
{
    ui::ComparablesPage *p = page();
    p->postEdits();
    try {
        const QString working = dataPath(kImmConfr);
        p->model()->close();
        runTableFileCommand(m_window, working, comparablesLayout(),
                            {kSaveTitle, kFilter, kProposedName, true, kSaveFailed});
    } catch (const std::exception &e) {
        ui::Messages::error(m_window, errorText(e));
    }
    reopenWorkingTable();
}

void ComparablesOps::SpeedButton59Click()
{
    ui::ComparablesPage *p = page();
    if (!ui::Messages::confirm(m_window, kEmptyQuestion))
        return;
    bool emptied = false;
    try {
        p->model()->close();
        rebuildTable(dataPath(kImmConfr), comparablesLayout(), 0);
        emptied = true;
    } catch (const std::exception &e) {
        ui::Messages::error(m_window, errorText(e));
    }
    reopenWorkingTable();
    if (emptied)
        clearPreviousAppraisals();
}

} // namespace brevan::app
