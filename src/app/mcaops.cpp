// SPDX-License-Identifier: GPL-2.0-or-later
#include "mcaops.h"

#include "app/cadastralops.h"
#include "app/mainwindow.h"
#include "app/valueops.h"
#include "app/widgetfields.h"
#include "pages/mcawindow.h"
#include "pages/resultspage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "store/datafolder.h"

#include <QAction>
#include <QToolButton>

namespace brevan::app {

McaOps::McaOps(MainWindow *window, QObject *parent) : McaOps(window, parent, std::make_unique<WindowFields>(window)) {}

McaOps::McaOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields)
    : McaWork(fields->fields, window->coefficients, parent), m_window(window), m_windowFields(std::move(fields))
{
    comparables = [this]() -> QList<ComparableRow> {
        return m_window->valueOps ? m_window->valueOps->comparables() : QList<ComparableRow>();
    };
    cadastralSurface = [this]() -> std::optional<double> {
        return m_window->cadastralOps ? m_window->cadastralOps->surface() : std::nullopt;
    };
    connect(window->mcaAction, &QAction::triggered, this, &McaOps::StimaMCA1Click);
    connect(window->resultsPage->mcaButton, &QToolButton::clicked, this, &McaOps::StimaMCA1Click);
}

McaOps::~McaOps() = default;

ui::McaWindow *McaOps::window() const
{
    return m_mcaWindow;
}

bool McaOps::shown() const
{
    return m_mcaWindow;
}

const mca::Sheet &McaOps::sheet() const
{
    return m_mcaWindow ? m_mcaWindow->sheet() : m_sheet;
}

QString McaOps::surfacesTablePath() const
{
    const ui::TableModel *model = m_window->surfacesPage->model();
    return model && !model->tableFile().isEmpty() ? model->tableFile() : dataPath(kDescrSup);
}

void McaOps::setSheet(const mca::Sheet &sheet)
{
    m_sheet = sheet;
    if (m_mcaWindow)
        m_mcaWindow->setSheet(m_sheet);
}

void McaOps::refreshFromPages()
{
    if (!m_mcaWindow) {
        McaWork::refreshFromPages();
        return;
    }
    m_mcaWindow->setContext(context());
    if (!m_mcaWindow->sheet().subjectEdited)
        m_mcaWindow->proposeSubject(subjectFromPages());
}

void McaOps::StimaMCA1Click()
{
    if (!m_mcaWindow) {
        m_mcaWindow = new ui::McaWindow(m_window);
        m_mcaWindow->setContext(context());
        m_mcaWindow->setSheet(m_sheet);
        connect(m_mcaWindow, &ui::McaWindow::proposeRequested, this,
                [this] { m_mcaWindow->offerSubject(subjectFromPages()); });
        connect(m_mcaWindow, &ui::McaWindow::activated, this, &McaOps::refreshFromPages);
    }
    refreshFromPages();
    m_mcaWindow->show();
    m_mcaWindow->raise();
    m_mcaWindow->activateWindow();
}

} // namespace brevan::app
