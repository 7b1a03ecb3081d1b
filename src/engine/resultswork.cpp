// SPDX-License-Identifier: GPL-2.0-or-later
#include "resultswork.h"

#include "engine/fields.h"
#include "files/wholefile.h"
#include "model/currency.h"
#include "model/record.h"
#include "report/rtfwriter.h"
#include "store/datafolder.h"
#include "store/tablestore.h"

#include <QDir>

namespace brevan::engine {

namespace {

constexpr int kSurfacesNode = 6;
constexpr int kComparablesNode = 11;

QString exceptionText(const std::exception &e)
{
    return QString::fromUtf8(e.what());
}

} // namespace

ResultsWork::ResultsWork(Fields &fields, Notices &notices, const Coefficients &coefficients, QObject *parent)
    : QObject(parent), m_fields(fields), m_notices(notices), m_coefficients(coefficients)
{
}

QString ResultsWork::surfacesTablePath() const
{
    return dataPath(kDescrSup);
}

report::SummaryInput ResultsWork::summaryInput() const
{
    report::SummaryInput in;
    for (const FieldDef &f : recordFields()) {
        const QString name = QString::fromLatin1(f.name);
        if (!m_fields.has(name))
            continue;
        if (f.type == FieldType::Logical)
            in.ticks.insert(name, m_fields.isChecked(name));
        else if (name == QLatin1String("DataStimaImmob"))
            in.appraisalDate = m_fields.date(name);
        else
            in.texts.insert(name, m_fields.text(name));
    }
    if (lights)
        in.lights = lights();
    else
        in.lights.fill(Light::Red);

    // The tables are read only for the sections that will show them, so an
    // unlit page never costs a read or a failure.
    if (in.lights[kSurfacesNode - 1] != Light::Red) {
        // One pass over the table, not one query per cell.
        const Table table = Table::open(surfacesTablePath());
        const Layout &layout = table.layout();
        const int d = table.requireColumn(QStringLiteral("DescrizioneSuperficie"));
        const int a = table.requireColumn(QStringLiteral("MqSuperficie"));
        for (const QVariantList &r : table.rows())
            in.surfaceRows.append({valueText(layout[d], r.at(d)), valueReal(layout[a], r.at(a))});
    }
    if (surfaceValues)
        in.surfaceValues = surfaceValues();
    else
        in.surfaceValues = {m_fields.text(QStringLiteral("Edit25")), m_fields.text(QStringLiteral("Edit26")),
                            m_fields.text(QStringLiteral("Edit27"))};
    if (in.lights[kComparablesNode - 1] != Light::Red) {
        const Table table = Table::open(dataPath(kImmConfr));
        const Layout &layout = table.layout();
        for (const QVariantList &values : table.rows()) {
            QHash<QString, QString> row;
            for (int c = 0; c < layout.size() && c < values.size(); ++c) {
                if (layout[c].type == ColumnType::Text)
                    row.insert(layout[c].name, values[c].toString());
            }
            in.comparables.append(row);
        }
    }
    in.coefficients = m_coefficients;
    in.valutaCorrente = currency().ValutaCorrente;
    return in;
}

void ResultsWork::buildBuffer(report::SummaryForm form)
{
    m_buffer.clear();
    m_bufferForm = form;
    m_buffer = report::buildSummary(summaryInput(), form);
}

void ResultsWork::CalcolaRiepilogoInformazioniSave()
{
    try {
        buildBuffer(report::SummaryForm::Export);
    } catch (const std::exception &e) {
        m_notices.error(exceptionText(e));
    }
}

void ResultsWork::CalcolaRiepilogoInformazioniPrint()
{
    try {
        buildBuffer(report::SummaryForm::Print);
    } catch (const std::exception &e) {
        m_notices.error(exceptionText(e));
    }
}

bool ResultsWork::exportRtf(const QString &path)
{
    const report::SummaryFormStyle style = report::summaryFormStyle(report::SummaryForm::Export);
    const QByteArray rtf = report::writeRtf(m_buffer, style.pointSize, style.leftIndentPt);
    // Written beside the target and renamed over it: a failure never leaves
    // a torn file, nor spoils the one that was there.
    QString why;
    if (files::writeWholeFile(path, rtf, &why))
        return true;
    m_notices.error(
        QStringLiteral("Impossibile scrivere il file \"%1\":\n%2").arg(QDir::toNativeSeparators(path), why));
    return false;
}

QString ResultsWork::plainText(const report::SummaryLines &lines)
{
    QStringList texts;
    texts.reserve(lines.size());
    for (const report::SummaryLine &line : lines)
        texts << line.text;
    // As a text document gives its text back: a no-break space is a space.
    return texts.join(QLatin1Char('\n')).replace(QChar::Nbsp, QLatin1Char(' '));
}

} // namespace brevan::engine
