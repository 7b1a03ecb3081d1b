// SPDX-License-Identifier: GPL-2.0-or-later
#include "valueops.h"

#include "mainwindow.h"
#include "widgetfields.h"

#include "model/currency.h"
#include "pages/comparablespage.h"
#include "pages/pagekit.h"
#include "pages/tablemodel.h"
#include "store/datafolder.h"
#include "store/tablestore.h"

#include <QItemSelectionModel>
#include <QStatusBar>
#include <QToolButton>

namespace brevan::app {

namespace {

constexpr int kResultsNode = 12;

} // namespace

ValueOps::ValueOps(MainWindow *window, QObject *parent)
    : ValueOps(window, parent, std::make_unique<WindowFields>(window))
{
}

ValueOps::ValueOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields)
    : ValueWork(fields->fields, fields->notices, window->coefficients, parent), m_window(window),
      m_windowFields(std::move(fields))
{
    connect(window->lireButton, &QToolButton::clicked, this, [this] { SpeedButtonLireEuroClick(m_window->lireButton); });
    connect(window->euroButton, &QToolButton::clicked, this, [this] { SpeedButtonLireEuroClick(m_window->euroButton); });
}

ValueOps::~ValueOps() = default;

void ValueOps::showComparisonNote(const QString &note)
{
    QStatusBar *bar = m_window->statusBar();
    if (!note.isEmpty())
        bar->showMessage(note);
    else if (!m_comparisonNote.isEmpty() && bar->currentMessage() == m_comparisonNote)
        bar->clearMessage();
    m_comparisonNote = note;
}

QList<ComparableRow> ValueOps::comparables() const
{
    QList<ComparableRow> rows;
    const ui::TableModel *model = m_window->comparablesPage->model();
    if (model->isOpen()) {
        // The model holds what the file holds: every edit is written at once.
        const int columns = model->columnCount();
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList texts;
            texts.reserve(columns);
            for (int c = 0; c < columns; ++c)
                texts << model->index(r, c).data(Qt::EditRole).toString();
            rows << ComparableRow::fromColumns(texts);
        }
        return rows;
    }
    return ValueWork::comparables();
}

void ValueOps::SetHintImmobiliConfronto()
{
    const ComparableHints hints = brevan::SetHintImmobiliConfronto(currency().ValutaCorrente);
    ui::setHint(m_window->comparablesPage->unitCostEdit, hints.unitCost);
    ui::setHint(m_window->comparablesPage->totalCostEdit, hints.totalCost);
}

void ValueOps::ConvertiValutaImmobiliConfronto(double factor)
{
    ui::ComparablesPage *page = m_window->comparablesPage;
    ui::TableModel *model = page->model();
    // A cost typed into the editors and not yet posted is converted with the
    // others rather than lost when the rows are read again.
    if (page->hasPendingEdit())
        page->postEdits();
    const QString path = model->isOpen() ? model->tableFile() : dataPath(kImmConfr);
    if (path.isEmpty() || !Table::exists(path))
        return;
    const int current = page->currentRow();
    const bool reopen = model->isOpen();
    model->close();
    try {
        engine::convertComparablesTable(path, factor);
    } catch (...) {
        if (reopen)
            model->reload();
        throw;
    }
    if (reopen) {
        model->reload();
        if (current >= 0 && current < model->rowCount())
            page->selection()->setCurrentIndex(model->index(current, 0),
                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
}

void ValueOps::SpeedButtonLireEuroClick(QToolButton *clicked)
{
    switchCurrency(clicked == m_window->euroButton);
}

void ValueOps::currencySwitched(bool toEuro)
{
    m_window->lireButton->setEnabled(toEuro);
    m_window->euroButton->setEnabled(!toEuro);
}

bool ValueOps::resultsShown() const
{
    return m_window->selectedNode() == kResultsNode;
}

} // namespace brevan::app
