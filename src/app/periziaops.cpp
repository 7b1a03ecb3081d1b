// SPDX-License-Identifier: GPL-2.0-or-later
#include "periziaops.h"

#include "app/mainwindow.h"
#include "app/mcaops.h"
#include "app/reportops.h"
#include "pages/periziawindow.h"
#include "pages/resultspage.h"

#include <QAction>
#include <QToolButton>

namespace brevan::app {

PeriziaOps::PeriziaOps(MainWindow *window, QObject *parent) : PeriziaWork(parent), m_window(window)
{
    pages = [this]() -> const engine::ReportWork * { return m_window->reportOps; };
    mca = [this]() -> const engine::McaWork * { return m_window->mcaOps; };
    connect(window->periziaAction, &QAction::triggered, this, &PeriziaOps::RapportoDiValutazioneClick);
    connect(window->resultsPage->periziaButton, &QToolButton::clicked, this, &PeriziaOps::RapportoDiValutazioneClick);
}

ui::PeriziaWindow *PeriziaOps::window() const
{
    return m_periziaWindow;
}

const perizia::Report &PeriziaOps::report() const
{
    return m_periziaWindow ? m_periziaWindow->report() : m_report;
}

void PeriziaOps::setReport(const perizia::Report &report)
{
    m_report = report;
    if (m_periziaWindow)
        m_periziaWindow->setReport(report);
}

void PeriziaOps::showFacts()
{
    if (m_periziaWindow)
        m_periziaWindow->setFacts(facts());
}

void PeriziaOps::RapportoDiValutazioneClick()
{
    if (!m_periziaWindow) {
        m_periziaWindow = new ui::PeriziaWindow(m_window);
        m_periziaWindow->setReport(m_report);
        m_periziaWindow->setInputProvider([this] { return input(); });
        connect(m_periziaWindow, &ui::PeriziaWindow::activated, this,
                [this] { m_periziaWindow->setFacts(facts()); });
        connect(m_periziaWindow, &ui::PeriziaWindow::pageRequested, this, [this](const QString &page) {
            // The pages that hold what the window shows read-only.
            const int node = page == QLatin1String("appraiser") ? 1 : page == QLatin1String("description") ? 2 : 12;
            m_window->selectNode(node);
            m_window->raise();
            m_window->activateWindow();
        });
    }
    m_periziaWindow->setFacts(facts());
    m_periziaWindow->show();
    m_periziaWindow->raise();
    m_periziaWindow->activateWindow();
}

} // namespace brevan::app
