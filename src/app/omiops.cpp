// SPDX-License-Identifier: GPL-2.0-or-later
#include "omiops.h"

#include "app/cadastralops.h"
#include "app/mainwindow.h"
#include "app/mcaops.h"
#include "app/widgetfields.h"
#include "pages/omiwindow.h"
#include "pages/resultspage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "store/datafolder.h"

#include <QAction>
#include <QToolButton>

#include <algorithm>

namespace brevan::app {

OmiOps::OmiOps(MainWindow *window, QObject *parent) : OmiOps(window, parent, std::make_unique<WindowFields>(window)) {}

OmiOps::OmiOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields)
    : OmiWork(fields->fields, parent), m_window(window), m_windowFields(std::move(fields))
{
    mca = [this]() -> const engine::McaWork * { return m_window->mcaOps; };
    cadastralChoices = [this] { return m_window->cadastralOps ? m_window->cadastralOps->choices() : CadastralChoices(); };
    connect(window->omiAction, &QAction::triggered, this, &OmiOps::ConfrontoOMIClick);
    connect(window->resultsPage->omiButton, &QToolButton::clicked, this, &OmiOps::ConfrontoOMIClick);
}

OmiOps::~OmiOps() = default;

ui::OmiWindow *OmiOps::window() const
{
    return m_omiWindow;
}

QString OmiOps::surfacesTablePath() const
{
    const ui::TableModel *model = m_window->surfacesPage->model();
    return model && !model->tableFile().isEmpty() ? model->tableFile() : dataPath(kDescrSup);
}

void OmiOps::refreshWindow()
{
    if (!m_omiWindow)
        return;
    QString problem;
    const QVector<omiband::Quote> quotes = this->quotes(&problem);
    ui::OmiWindow::Offer offer;
    for (const omiband::Quote &q : quotes) {
        const auto has = [](const auto &list, const QString &code) {
            return std::any_of(list.begin(), list.end(), [&](const auto &p) { return p.first == code; });
        };
        if (!has(offer.zones, q.zone))
            offer.zones.append({q.zone, q.zoneDescription});
        if (!has(offer.types, q.type))
            offer.types.append({q.type, q.typeName});
    }
    std::sort(offer.types.begin(), offer.types.end(),
              [](const auto &a, const auto &b) { return a.first.toInt() < b.first.toInt(); });
    offer.semesters = omiband::semestersOf(quotes);
    const QString municipality = m_fields.text(QStringLiteral("ComuneImmob"));
    if (!problem.isEmpty())
        offer.note = problem;
    else if (municipality.isEmpty())
        offer.note = QStringLiteral("Scegliere il Comune nella pagina della descrizione.");
    else if (quotes.isEmpty())
        offer.note = QStringLiteral("Nessuna quotazione OMI importata per il Comune di %1: importarle con "
                                    "\"Importa OMI…\" nell'editor delle zone urbane o con brevan-omi.")
                         .arg(municipality);
    const omiband::Choice shown = hasChoice() ? m_stored.choice : proposal();
    m_omiWindow->setOffer(offer, shown);
    m_omiWindow->setOutcome(compute(m_omiWindow->choice(), quotes), m_fields.date(QStringLiteral("DataStimaImmob")));
}

void OmiOps::takeWindowChoice()
{
    m_stored.choice = m_omiWindow->choice();
    refreshWindow();
}

void OmiOps::ConfrontoOMIClick()
{
    if (!m_omiWindow) {
        m_omiWindow = new ui::OmiWindow(m_window);
        connect(m_omiWindow, &ui::OmiWindow::choiceEdited, this, &OmiOps::takeWindowChoice);
        connect(m_omiWindow, &ui::OmiWindow::activated, this, &OmiOps::refreshWindow);
    }
    refreshWindow();
    m_omiWindow->show();
    m_omiWindow->raise();
    m_omiWindow->activateWindow();
}

} // namespace brevan::app
