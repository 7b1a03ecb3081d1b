// SPDX-License-Identifier: GPL-2.0-or-later
#include "reportwork.h"

#include "engine/fields.h"
#include "engine/surfaceswork.h"
#include "model/currency.h"
#include "model/record.h"
#include "store/datafolder.h"
#include "store/tablestore.h"

namespace brevan::engine {

ReportWork::ReportWork(Fields &fields, const Coefficients &coefficients, QObject *parent)
    : QObject(parent), m_report(std::make_unique<report::Report>()), m_fields(fields), m_coefficients(coefficients)
{
}

ReportWork::~ReportWork() = default;

QString ReportWork::surfacesTablePath() const
{
    return dataPath(kDescrSup);
}

QString ReportWork::comparablesTablePath() const
{
    return dataPath(kImmConfr);
}

report::ReportInput ReportWork::collectInput() const
{
    report::ReportInput in;
    const QString dateField = QStringLiteral("DataStimaImmob");
    for (const FieldDef &f : recordFields()) {
        const QString name = QString::fromLatin1(f.name);
        if (!m_fields.has(name) || name == dateField)
            continue;
        if (f.type == FieldType::Logical)
            in.ticks.insert(name, m_fields.isChecked(name));
        else
            in.texts.insert(name, m_fields.text(name));
    }
    in.appraisalDate = m_fields.date(dateField);

    if (lights)
        in.lights = lights();
    else
        in.lights.fill(Light::Red);

    in.surfaces = readSurfaceRows(surfacesTablePath());
    in.usefulShown = m_fields.text(QStringLiteral("Edit25"));
    in.conventionalShown = m_fields.text(QStringLiteral("Edit26"));
    in.commercialShown = m_fields.text(QStringLiteral("Edit27"));

    if (pictures) {
        const std::array<QImage, 3> shown = pictures();
        in.photo = shown[0];
        in.areaPlan = shown[1];
        in.unitPlan = shown[2];
    }

    postPendingComparable();
    const Table comparables = Table::open(comparablesTablePath());
    for (const QVariantList &row : comparables.rows()) {
        report::ComparableRow values;
        for (int c = 0; c < comparables.layout().size(); ++c)
            values.insert(comparables.layout()[c].name, row.value(c).toString());
        in.comparables.append(values);
    }

    in.coefficients = m_coefficients;
    in.currency = currency().ValutaCorrente;
    in.today = today ? today() : QDate::currentDate();
    if (mcaDocument)
        in.mca = mcaDocument();
    if (omiOutcome)
        in.omi = omiOutcome();
    return in;
}

void ReportWork::fillPages()
{
    m_report->resetAndFill(collectInput());
}

bool ReportWork::writePdf(const QString &path, const report::ReportSelection &selection, QString *error)
{
    try {
        fillPages();
        return report::writeReportPdf(path, *m_report, selection, error);
    } catch (const std::exception &e) {
        if (error)
            *error = QString::fromUtf8(e.what());
        return false;
    }
}

} // namespace brevan::engine
