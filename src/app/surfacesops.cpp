// SPDX-License-Identifier: GPL-2.0-or-later
#include "surfacesops.h"

#include "tablefilecommand.h"

#include "mainwindow.h"
#include "widgetfields.h"

#include "model/numbertext.h"
#include "pages/messages.h"
#include "pages/navigatorbar.h"
#include "pages/pagekit.h"
#include "pages/positionpage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "store/datafolder.h"

#include <QAbstractItemDelegate>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTableView>
#include <QToolButton>

namespace brevan::app {

const QString SurfacesOps::kOpenTitle = QStringLiteral("Carica tabella descrizione superfici");
const QString SurfacesOps::kSaveTitle = QStringLiteral("Salva tabella descrizione superfici");
const QString SurfacesOps::kFilter = ui::fileFilter(QStringLiteral("Descrizione superfici (*.db)|Superfici*.db"));
const QString SurfacesOps::kProposedName = QStringLiteral("Superfici 01.db");
const QString SurfacesOps::kOpenFailed =
    QStringLiteral("La tabella %1 potrebbe essere:\ngià in uso, inesistente o in un formato non valido.");
const QString SurfacesOps::kSaveFailed = QStringLiteral("La tabella %1 è già in uso. \nSalvare la tabella con un altro nome.");
const QString SurfacesOps::kClearQuestion = QStringLiteral("Si conferma l'eliminazione del contenuto della tabella?");

namespace {

constexpr int kClearedRows = 25;

// The name the user chose, with the default extension when it has none.
} // namespace

SurfacesOps::SurfacesOps(MainWindow *window, QObject *parent)
    : SurfacesOps(window, parent, std::make_unique<WindowFields>(window))
{
}

SurfacesOps::~SurfacesOps() = default;

SurfacesOps::SurfacesOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields)
    : SurfacesWork(fields->fields, fields->notices, parent), m_window(window), m_windowFields(std::move(fields))
{
    ui::SurfacesPage *page = window->surfacesPage;
    connect(page->computeButton, &QToolButton::clicked, this, &SurfacesOps::SpeedButtonCalcolaSuperficiClick);
    connect(page->openTableButton, &QToolButton::clicked, this, &SurfacesOps::SpeedButtonApriTabellaClick);
    connect(page->saveTableButton, &QToolButton::clicked, this, &SurfacesOps::SpeedButtonSalvaTabellaClick);
    connect(page->clearTableButton, &QToolButton::clicked, this,
            &SurfacesOps::SpeedButtonEliminaContenutoTabellaClick);
    connect(page->copyRowButton, &QToolButton::clicked, this, &SurfacesOps::SpeedButtonCopiaElementoClick);
    connect(page->cutRowButton, &QToolButton::clicked, this, &SurfacesOps::SpeedButtonTagliaElementoClick);
    connect(page->pasteRowButton, &QToolButton::clicked, this, &SurfacesOps::SpeedButtonIncollaElementoClick);
    connect(page, &ui::SurfacesPage::gridMouseReleased, this, &SurfacesOps::DBGridDescrSupMouseUp);
    connect(page, &ui::SurfacesPage::gridColumnLeft, this, &SurfacesOps::AttivaSpeedButtonCalcolaSuperfici);
    connect(page, &ui::SurfacesPage::surfaceFieldClicked, this, &SurfacesOps::AttivaSpeedButtonCalcolaSuperfici);
    // A cell the store could not write: the standard error box; the model has
    // already read the file again.
    connect(page->model(), &ui::TableModel::failed, this,
            [this](const QString &message) { ui::Messages::error(m_window, message); });
}

void SurfacesOps::commitGridEdit()
{
    QTableView *grid = m_window->surfacesPage->grid;
    const QModelIndex current = grid->currentIndex();
    if (!current.isValid())
        return;
    if (QWidget *editor = grid->indexWidget(current)) {
        // Writing the editor's text is what the scan expects to read; the
        // editor stays open for the user.
        grid->itemDelegate()->setModelData(editor, grid->model(), current);
    }
}

void SurfacesOps::closeGridEditor()
{
    QTableView *grid = m_window->surfacesPage->grid;
    // Once the row command has written the cells, an editor still open on
    // the old text would write it back when it closes.
    if (QWidget *editor = grid->indexWidget(grid->currentIndex()))
        Q_EMIT grid->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

int SurfacesOps::currentRow() const
{
    const ui::SurfacesPage *page = m_window->surfacesPage;
    const int row = page->grid->currentIndex().row();
    if (row >= 0)
        return row;
    // A table shown without a current cell is on its first row.
    return page->model()->rowCount() > 0 ? 0 : -1;
}

QVector<SurfaceRow> SurfacesOps::rows() const
{
    const ui::TableModel *model = m_window->surfacesPage->model();
    const int description = model->fieldIndex(QStringLiteral("DescrizioneSuperficie"));
    const int area = model->fieldIndex(QStringLiteral("MqSuperficie"));
    QVector<SurfaceRow> out;
    if (description < 0 || area < 0)
        return out;
    out.reserve(model->rowCount());
    for (int r = 0; r < model->rowCount(); ++r) {
        SurfaceRow row;
        row.description = model->data(model->index(r, description), Qt::EditRole).toString();
        // The model shows a real as plain number text, an empty cell for 0.
        const QString text = model->data(model->index(r, area), Qt::EditRole).toString();
        if (!text.isEmpty() && !TryTextToFloat(text, &row.area))
            row.area = 0;
        out << row;
    }
    return out;
}

void SurfacesOps::rowsCounted(const SurfaceRowCounts &counts)
{
    ui::SurfacesPage *page = m_window->surfacesPage;
    page->computeButton->setEnabled(counts.complete > 0);
    page->saveTableButton->setEnabled(counts.used > 0);
    page->clearTableButton->setEnabled(counts.used > 0);
}

void SurfacesOps::DBGridDescrSupMouseUp()
{
    commitGridEdit();
    ui::SurfacesPage *page = m_window->surfacesPage;
    const int row = currentRow();
    bool filled = false;
    if (row >= 0) {
        const QVector<SurfaceRow> all = rows();
        if (row < all.size())
            filled = !all.at(row).description.isEmpty() || all.at(row).area != 0;
    }
    page->copyRowButton->setEnabled(filled);
    page->cutRowButton->setEnabled(filled);
    AttivaSpeedButtonCalcolaSuperfici();
}

void SurfacesOps::SpeedButtonCopiaElementoClick()
{
    commitGridEdit();
    ui::SurfacesPage *page = m_window->surfacesPage;
    const int row = currentRow();
    const QVector<SurfaceRow> all = rows();
    const SurfaceRow r = row >= 0 && row < all.size() ? all.at(row) : SurfaceRow{};
    m_bufferDescription = r.description;
    m_bufferArea = r.area == 0 ? QString() : FloatToText(r.area);
    page->pasteRowButton->setEnabled(true);
}

void SurfacesOps::SpeedButtonTagliaElementoClick()
{
    SpeedButtonCopiaElementoClick();
    ui::SurfacesPage *page = m_window->surfacesPage;
    ui::TableModel *model = page->model();
    const int row = currentRow();
    if (row < 0)
        return;
    closeGridEditor();
    const int description = model->fieldIndex(QStringLiteral("DescrizioneSuperficie"));
    const int area = model->fieldIndex(QStringLiteral("MqSuperficie"));
    if (model->setData(model->index(row, description), QString()))
        model->setData(model->index(row, area), 0.0);
}

void SurfacesOps::SpeedButtonIncollaElementoClick()
{
    commitGridEdit();
    ui::SurfacesPage *page = m_window->surfacesPage;
    ui::TableModel *model = page->model();
    const int row = currentRow();
    if (row < 0)
        return;
    closeGridEditor();
    const int description = model->fieldIndex(QStringLiteral("DescrizioneSuperficie"));
    const int area = model->fieldIndex(QStringLiteral("MqSuperficie"));
    if (!m_bufferDescription.isEmpty() && !model->setData(model->index(row, description), m_bufferDescription))
        return;
    if (!m_bufferArea.isEmpty()) {
        double v = 0;
        if (!readValue(m_bufferArea, v))
            return;
        model->setData(model->index(row, area), v);
    }
}

void SurfacesOps::reopenWorkingTable()
{
    // A table that will not open is reported by the model (the standard
    // error box); a data folder that cannot be found, here.
    try {
        m_window->surfacesPage->setTableFile(dataPath(kDescrSup));
    } catch (const std::exception &e) {
        ui::Messages::error(m_window, QString::fromUtf8(e.what()));
    }
}

void SurfacesOps::SpeedButtonApriTabellaClick()
{
    ui::SurfacesPage *page = m_window->surfacesPage;
    commitGridEdit();
    try {
        const QString working = dataPath(kDescrSup);
        page->model()->close();
        runTableFileCommand(m_window, working, surfacesLayout(), {kOpenTitle, kFilter, {}, false, kOpenFailed});
    } catch (const std::exception &e) {
        ui::Messages::error(m_window, QString::fromUtf8(e.what()));
    }
    reopenWorkingTable();
    AttivaSpeedButtonCalcolaSuperfici();
    Q_EMIT ImpostaSemaforiTreeViewRequested();
}

void SurfacesOps::SpeedButtonSalvaTabellaClick()
{
    ui::SurfacesPage *page = m_window->surfacesPage;
    commitGridEdit();
    try {
        const QString working = dataPath(kDescrSup);
        page->model()->close();
        runTableFileCommand(m_window, working, surfacesLayout(),
                            {kSaveTitle, kFilter, kProposedName, true, kSaveFailed});
    } catch (const std::exception &e) {
        ui::Messages::error(m_window, QString::fromUtf8(e.what()));
    }
    reopenWorkingTable();
}

void SurfacesOps::SpeedButtonEliminaContenutoTabellaClick()
{
    ui::SurfacesPage *page = m_window->surfacesPage;
    commitGridEdit();
    page->model()->close();
    if (!ui::Messages::confirm(m_window, kClearQuestion)) {
        reopenWorkingTable();
        return;
    }
    try {
        rebuildTable(dataPath(kDescrSup), surfacesLayout(), kClearedRows);
    } catch (const std::exception &e) {
        ui::Messages::error(m_window, QString::fromUtf8(e.what()));
        reopenWorkingTable();
        return;
    }
    reopenWorkingTable();
    for (QToolButton *b : {page->saveTableButton, page->clearTableButton, page->copyRowButton, page->cutRowButton,
                           page->computeButton})
        b->setEnabled(false);
    setUsefulValue(QString());
    setConventionalValue(QString());
    setCommercialValue(QString());
    ui::setComboText(m_window->positionPage->accessorySpacesCombo, QString());
    Q_EMIT ImpostaSemaforiTreeViewRequested();
}

} // namespace brevan::app
