// SPDX-License-Identifier: GPL-2.0-or-later
#include "omiwork.h"

#include "engine/bandsurface.h"
#include "engine/fields.h"
#include "engine/mcawork.h"
#include "engine/surfaceswork.h"
#include "model/currency.h"
#include "model/numbertext.h"
#include "omi/omisales.h"
#include "omi/omitables.h"
#include "report/omicontent.h"
#include "store/datafolder.h"
#include "store/tablestore.h"
#include "valuation/mcasheet.h"

namespace brevan::engine {

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

OmiWork::OmiWork(Fields &fields, QObject *parent) : QObject(parent), m_fields(fields) {}

QString OmiWork::surfacesTablePath() const
{
    return dataPath(kDescrSup);
}

QVector<omiband::Quote> OmiWork::quotes(QString *problem) const
{
    const QString municipality = m_fields.text(QStringLiteral("ComuneImmob"));
    const QString name = omi::salesTableName(municipality, m_fields.text(QStringLiteral("CAPImmob")),
                                             m_fields.text(QStringLiteral("SiglaProvinciaImmob")));
    QVector<omiband::Quote> out;
    if (municipality.isEmpty())
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

omiband::Choice OmiWork::proposal() const
{
    omiband::Choice c;
    c.type = QString::number(omi::typeForCategory(m_fields.text(QStringLiteral("CategCatastImmob"))));
    c.state = omiband::stateForInteriorState(m_fields.text(QStringLiteral("StatoConservInt")));
    if (const std::optional<int> floor = omiband::floorClassOfQuota(m_fields.text(QStringLiteral("QuotaDaPianoStrad"))))
        c.floor = QString::fromUtf8(omiband::floorClasses().at(*floor).label);
    return c;
}

omiband::Lookup OmiWork::lookup(const omiband::Choice &choice, const QVector<omiband::Quote> &quotes) const
{
    omiband::Lookup l = omiband::findQuote(quotes, choice);
    // The quotation saved with the appraisal stands in for the data folder's
    // when it holds none for the choice (an appraisal opened elsewhere).
    if (!l.quote && m_stored.quote && sameKey(*m_stored.quote, choice))
        l = {m_stored.quote, {}};
    return l;
}

omiband::Outcome OmiWork::compute(const omiband::Choice &choice, const QVector<omiband::Quote> &quotes) const
{
    omiband::Inputs in;
    in.choice = choice;
    in.lookup = lookup(choice, quotes);
    QVector<SurfaceRow> rows;
    try {
        rows = readSurfaceRows(surfacesTablePath());
    } catch (const std::exception &e) {
        qWarning("OmiOps: %s", e.what());
    }
    in.grossSurface = cadastralSurfaceForBand(rows, cadastralChoices ? cadastralChoices() : CadastralChoices(),
                                              m_fields.text(QStringLiteral("CategCatastImmob")));
    in.netSurface = netSurfaceForBand(rows);
    in.valuationDate = m_fields.date(QStringLiteral("DataStimaImmob"));
    // The results page's values as the MCA window reads them (a 0,00 without
    // a complete comparable is no value), in euro, and the MCA's value.
    const bool lire = !currency().euroInForce();
    QString incomeTotal = m_fields.text(QStringLiteral("CICostoComplessivo"));
    QString comparisonTotal = m_fields.text(QStringLiteral("CostoComplessivo"));
    std::optional<double> mcaValue;
    if (const McaWork *comparison = mca ? mca() : nullptr) {
        const report::McaContext c = comparison->pageContext();
        incomeTotal = c.incomeTotal;
        comparisonTotal = c.comparisonTotal;
        if (comparison->hasData()) {
            const mca::Outcome o = mca::evaluate(comparison->sheet(), in.valuationDate);
            if (o.hasValue())
                mcaValue = o.result->value;
        }
    }
    in.values = {{QStringLiteral("Capitalizzazione dei redditi"), pageEuro(incomeTotal, lire)},
                 {QStringLiteral("Comparazione diretta"), pageEuro(comparisonTotal, lire)},
                 {QStringLiteral("Stima MCA"), mcaValue}};
    return omiband::compare(in);
}

files::StoredOmi OmiWork::stored() const
{
    files::StoredOmi s;
    s.choice = m_stored.choice;
    s.quote = lookup(m_stored.choice, quotes()).quote;
    return s;
}

std::optional<omiband::Outcome> OmiWork::outcome() const
{
    if (!hasChoice())
        return std::nullopt;
    return compute(m_stored.choice, quotes());
}

QStringList OmiWork::bandLines() const
{
    const std::optional<omiband::Outcome> o = outcome();
    return o ? report::omiBandSummary(*o) : QStringList();
}

void OmiWork::showOpened(const files::StoredOmi &stored)
{
    m_stored = stored;
    refreshWindow();
}

void OmiWork::clearForNewAppraisal()
{
    m_stored = {};
    refreshWindow();
}

} // namespace brevan::engine
