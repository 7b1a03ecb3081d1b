// SPDX-License-Identifier: GPL-2.0-or-later
#include "periziaops.h"

#include "app/mainwindow.h"
#include "app/mcaops.h"
#include "app/reportops.h"
#include "files/mcatable.h"
#include "files/periziatable.h"
#include "model/currency.h"
#include "pages/periziaform.h"
#include "pages/periziawindow.h"
#include "pages/resultspage.h"
#include "report/pdfa.h"

#include <QAction>
#include <QJsonObject>
#include <QToolButton>
#include <QLocale>

namespace brevan::app {

namespace {

// A value the results page shows, in Euro whatever the currency in force.
double shownValue(const QString &text)
{
    const double v = ui::perizia::parseAmount(text).value_or(perizia::kNotGiven);
    if (!perizia::given(v) || v <= 0)
        return perizia::kNotGiven;
    return currency().euroInForce() ? v : v / kFattoreLire;
}

QString areaText(double area)
{
    return QLocale(QLocale::Italian, QLocale::Italy).toString(area, 'f', 2);
}

} // namespace

bool reportHasData(const perizia::Report &report)
{
    return files::periziaRows(report) != files::periziaRows(perizia::Report());
}

PeriziaOps::PeriziaOps(MainWindow *window, QObject *parent) : QObject(parent), m_window(window)
{
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

bool PeriziaOps::hasData() const
{
    return reportHasData(report());
}

report::ReportInput PeriziaOps::pages() const
{
    report::ReportInput in;
    if (!m_window->reportOps)
        return in;
    try {
        in = m_window->reportOps->collectInput();
    } catch (const std::exception &e) {
        // A working table that cannot be read now: the pages' texts are
        // still worth showing; the report's lights say what is missing.
        qWarning("PeriziaOps: %s", e.what());
    }
    return in;
}

perizia::AppraisalFacts PeriziaOps::facts() const
{
    return factsOf(pages());
}

perizia::AppraisalFacts PeriziaOps::factsOf(const report::ReportInput &in) const
{
    perizia::AppraisalFacts f;
    f.incomeValue = shownValue(in.text(QStringLiteral("CICostoComplessivo")));
    f.comparisonValue = shownValue(in.text(QStringLiteral("CostoComplessivo")));
    if (m_window->mcaOps && m_window->mcaOps->hasData()) {
        const QJsonObject mca = files::mcaJson(m_window->mcaOps->sheet(), in.appraisalDate);
        if (mca.value(QStringLiteral("Valore")).isDouble())
            f.mcaValue = mca.value(QStringLiteral("Valore")).toDouble();
    }
    f.surface = ui::perizia::parseAmount(in.commercialShown).value_or(perizia::kNotGiven);
    f.appraiser = report::appraiserName(in.texts);
    f.address = report::appraisalPlace(in.texts);
    f.category = in.text(QStringLiteral("CategCatastImmob"));
    if (!f.category.isEmpty())
        f.pagesDescription = QStringLiteral("Categoria catastale %1").arg(f.category);
    f.hasPhoto = !in.photo.isNull();
    return f;
}

report::PeriziaInput PeriziaOps::input() const
{
    const report::ReportInput in = pages();
    report::PeriziaInput out;
    out.report = report();
    out.facts = factsOf(in);
    out.title = report::appraisalMetadata(in.texts, QString()).title;
    out.surfacesHeader = {QStringLiteral("Descrizione"), QStringLiteral("Superficie m²")};
    for (const SurfaceRow &row : in.surfaces) {
        if (!row.description.trimmed().isEmpty() || row.area != 0)
            out.surfaces.append({row.description, areaText(row.area)});
    }
    if (!out.surfaces.isEmpty())
        out.surfaces.append({QStringLiteral("Superficie commerciale"), in.commercialShown});
    const std::pair<const char *, QImage> pictures[] = {
        {"Fotografia", in.photo}, {"Planimetria della zona", in.areaPlan}, {"Planimetria dell'unità", in.unitPlan}};
    for (const auto &[caption, image] : pictures) {
        if (!image.isNull())
            out.pictures.append({QString::fromUtf8(caption), image});
    }
    out.mca = in.mca;
    return out;
}

void PeriziaOps::setReport(const perizia::Report &report)
{
    m_report = report;
    if (m_periziaWindow)
        m_periziaWindow->setReport(report);
}

void PeriziaOps::showOpened(const perizia::Report &report)
{
    setReport(report);
    if (m_periziaWindow)
        m_periziaWindow->setFacts(facts());
}

void PeriziaOps::clearForNewAppraisal()
{
    showOpened(perizia::Report());
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
