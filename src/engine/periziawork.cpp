// SPDX-License-Identifier: GPL-2.0-or-later
#include "periziawork.h"

#include "engine/mcawork.h"
#include "engine/reportwork.h"
#include "files/mcatable.h"
#include "files/periziatable.h"
#include "model/currency.h"
#include "report/pdfa.h"

#include <QJsonObject>
#include <QLocale>

namespace brevan::engine {

namespace {

// A value the results page shows, in Euro whatever the currency in force.
double shownValue(const QString &text)
{
    const double v = perizia::parseAmount(text).value_or(perizia::kNotGiven);
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

PeriziaWork::PeriziaWork(QObject *parent) : QObject(parent) {}

bool PeriziaWork::hasData() const
{
    return reportHasData(report());
}

report::ReportInput PeriziaWork::pageInput() const
{
    report::ReportInput in;
    const ReportWork *work = pages ? pages() : nullptr;
    if (!work)
        return in;
    try {
        in = work->collectInput();
    } catch (const std::exception &e) {
        // A working table that cannot be read now: the pages' texts are
        // still worth showing; the report's lights say what is missing.
        qWarning("PeriziaOps: %s", e.what());
    }
    return in;
}

perizia::AppraisalFacts PeriziaWork::facts() const
{
    return factsOf(pageInput());
}

perizia::AppraisalFacts PeriziaWork::factsOf(const report::ReportInput &in) const
{
    perizia::AppraisalFacts f;
    f.incomeValue = shownValue(in.text(QStringLiteral("CICostoComplessivo")));
    f.comparisonValue = shownValue(in.text(QStringLiteral("CostoComplessivo")));
    if (const McaWork *comparison = mca ? mca() : nullptr; comparison && comparison->hasData()) {
        const QJsonObject json = files::mcaJson(comparison->sheet(), in.appraisalDate);
        if (json.value(QStringLiteral("Valore")).isDouble())
            f.mcaValue = json.value(QStringLiteral("Valore")).toDouble();
    }
    f.surface = perizia::parseAmount(in.commercialShown).value_or(perizia::kNotGiven);
    f.appraiser = report::appraiserName(in.texts);
    f.address = report::appraisalPlace(in.texts);
    f.category = in.text(QStringLiteral("CategCatastImmob"));
    if (!f.category.isEmpty())
        f.pagesDescription = QStringLiteral("Categoria catastale %1").arg(f.category);
    f.hasPhoto = !in.photo.isNull();
    return f;
}

report::PeriziaInput PeriziaWork::input() const
{
    const report::ReportInput in = pageInput();
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

void PeriziaWork::setReport(const perizia::Report &report)
{
    m_report = report;
}

void PeriziaWork::showOpened(const perizia::Report &report)
{
    setReport(report);
    showFacts();
}

void PeriziaWork::clearForNewAppraisal()
{
    showOpened(perizia::Report());
}

} // namespace brevan::engine
