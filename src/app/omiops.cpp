// SPDX-License-Identifier: GPL-2.0-or-later
#include "omiops.h"

#include "app/bandsurface.h"
#include "app/cadastralops.h"
#include "app/mainwindow.h"
#include "app/mcaops.h"
#include "model/currency.h"
#include "model/numbertext.h"
#include "omi/omisales.h"
#include "omi/omitables.h"
#include "pages/descriptionpage.h"
#include "pages/omiwindow.h"
#include "pages/positionpage.h"
#include "pages/resultspage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "pages/typologypage.h"
#include "report/omicontent.h"
#include "store/datafolder.h"
#include "valuation/mcasheet.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QLineEdit>
#include <QToolButton>

namespace brevan::app {

namespace {

omiband::Quote quoteOf(const QVariantList &row)
{
    using namespace omi;
    omiband::Quote q;
    q.semester = row.value(SSemester).toString();
    q.band = row.value(SBand).toString();
    q.zone = row.value(SZone).toString();
    q.zoneDescription = row.value(SZoneDescription).toString();
    q.microzone = row.value(SMicrozone).toString();
    q.type = row.value(SType).toString();
    q.typeName = row.value(STypeName).toString();
    q.state = row.value(SState).toString();
    q.min = QString(row.value(SMin).toString()).replace(u',', u'.').toDouble();
    q.max = QString(row.value(SMax).toString()).replace(u',', u'.').toDouble();
    q.net = row.value(SSaleSurface).toString() == QLatin1String("N");
    return q;
}

bool sameKey(const omiband::Quote &q, const omiband::Choice &c)
{
    return q.zone == c.zone && q.type == c.type && q.state == c.state
           && (c.semester.isEmpty() || q.semester == c.semester);
}

// An amount of the results page in euro; none when it shows none.
std::optional<double> pageEuro(const QString &shown, bool lire)
{
    if (shown.trimmed().isEmpty())
        return std::nullopt;
    try {
        const double v = EstraiNumero(shown);
        return lire ? v * kFattoreEuro : v;
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

} // namespace

OmiOps::OmiOps(MainWindow *window, QObject *parent) : QObject(parent), m_window(window)
{
    connect(window->omiAction, &QAction::triggered, this, &OmiOps::ConfrontoOMIClick);
    connect(window->resultsPage->omiButton, &QToolButton::clicked, this, &OmiOps::ConfrontoOMIClick);
}

ui::OmiWindow *OmiOps::window() const
{
    return m_omiWindow;
}

QVector<omiband::Quote> OmiOps::quotes(QString *problem) const
{
    const ui::DescriptionPage *d = m_window->descriptionPage;
    const QString name = omi::salesTableName(d->municipalityCombo->currentText(), d->postalCodeCombo->currentText(),
                                             d->provinceCodeCombo->currentText());
    QVector<omiband::Quote> out;
    if (d->municipalityCombo->currentText().isEmpty())
        return out;
    try {
        for (const QVariantList &row : omi::readSalesRows(dataPath(name)))
            out << quoteOf(row);
    } catch (const std::exception &e) {
        if (problem)
            *problem = QString::fromUtf8(e.what());
    }
    return out;
}

omiband::Choice OmiOps::proposal() const
{
    omiband::Choice c;
    c.type = QString::number(omi::typeForCategory(m_window->descriptionPage->categoryCombo->currentText()));
    c.state = omiband::stateForInteriorState(m_window->typologyPage->repairInsideCombo->currentText());
    if (const std::optional<int> floor =
            omiband::floorClassOfQuota(m_window->positionPage->streetLevelCombo->currentText()))
        c.floor = QString::fromUtf8(omiband::floorClasses().at(*floor).label);
    return c;
}

omiband::Lookup OmiOps::lookup(const omiband::Choice &choice, const QVector<omiband::Quote> &quotes) const
{
    omiband::Lookup l = omiband::findQuote(quotes, choice);
    // The quotation saved with the appraisal stands in for the data folder's
    // when it holds none for the choice (an appraisal opened elsewhere).
    if (!l.quote && m_stored.quote && sameKey(*m_stored.quote, choice))
        l = {m_stored.quote, {}};
    return l;
}

omiband::Outcome OmiOps::compute(const omiband::Choice &choice, const QVector<omiband::Quote> &quotes) const
{
    omiband::Inputs in;
    in.choice = choice;
    in.lookup = lookup(choice, quotes);
    QVector<SurfaceRow> rows;
    try {
        const ui::TableModel *model = m_window->surfacesPage->model();
        const QString file = model && !model->tableFile().isEmpty() ? model->tableFile() : dataPath(kDescrSup);
        const Table surfaces = Table::open(file);
        const int description = surfaces.columnIndex(QStringLiteral("DescrizioneSuperficie"));
        const int area = surfaces.columnIndex(QStringLiteral("MqSuperficie"));
        if (description >= 0 && area >= 0) {
            for (const QVariantList &row : surfaces.rows())
                rows.append({row.value(description).toString(), row.value(area).toDouble()});
        }
    } catch (const std::exception &e) {
        qWarning("OmiOps: %s", e.what());
    }
    in.grossSurface =
        cadastralSurfaceForBand(rows, m_window->cadastralOps ? m_window->cadastralOps->choices() : CadastralChoices(),
                                m_window->descriptionPage->categoryCombo->currentText());
    in.netSurface = netSurfaceForBand(rows);
    in.valuationDate = m_window->descriptionPage->dateEdit->date();
    // The results page's values as the MCA window reads them (a 0,00 without
    // a complete comparable is no value), in euro, and the MCA's value.
    const bool lire = !currency().euroInForce();
    QString incomeTotal = m_window->resultsPage->incomeTotalEdit->text();
    QString comparisonTotal = m_window->resultsPage->comparisonTotalEdit->text();
    std::optional<double> mcaValue;
    if (m_window->mcaOps) {
        const report::McaContext c = m_window->mcaOps->pageContext();
        incomeTotal = c.incomeTotal;
        comparisonTotal = c.comparisonTotal;
        if (m_window->mcaOps->hasData()) {
            const mca::Outcome o = mca::evaluate(m_window->mcaOps->sheet(), in.valuationDate);
            if (o.hasValue())
                mcaValue = o.result->value;
        }
    }
    in.values = {{QStringLiteral("Capitalizzazione dei redditi"), pageEuro(incomeTotal, lire)},
                 {QStringLiteral("Comparazione diretta"), pageEuro(comparisonTotal, lire)},
                 {QStringLiteral("Stima MCA"), mcaValue}};
    return omiband::compare(in);
}

files::StoredOmi OmiOps::stored() const
{
    files::StoredOmi s;
    s.choice = m_stored.choice;
    s.quote = lookup(m_stored.choice, quotes()).quote;
    return s;
}

std::optional<omiband::Outcome> OmiOps::outcome() const
{
    if (!hasChoice())
        return std::nullopt;
    return compute(m_stored.choice, quotes());
}

QStringList OmiOps::bandLines() const
{
    const std::optional<omiband::Outcome> o = outcome();
    return o ? report::omiBandSummary(*o) : QStringList();
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
    const QString municipality = m_window->descriptionPage->municipalityCombo->currentText();
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
    m_omiWindow->setOutcome(compute(m_omiWindow->choice(), quotes), m_window->descriptionPage->dateEdit->date());
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

void OmiOps::showOpened(const files::StoredOmi &stored)
{
    m_stored = stored;
    refreshWindow();
}

void OmiOps::clearForNewAppraisal()
{
    m_stored = {};
    refreshWindow();
}

} // namespace brevan::app
