// SPDX-License-Identifier: GPL-2.0-or-later
#include "omicomparison.h"

#include "model/numbertext.h"

#include <algorithm>

namespace brevan::omiband {

namespace {

struct StateOfJudgment {
    const char *judgment;
    const char *state;
};

// "Stato di conservazione interno" to the OMI states: the poor judgments are
// SCADENTE, the best OTTIMO, the ordinary ones in between NORMALE.
const StateOfJudgment kStates[] = {
    {"Scarso", "SCADENTE"},  {"Mediocre", "SCADENTE"}, {"Sufficiente", "NORMALE"},
    {"Discreto", "NORMALE"}, {"Buono", "NORMALE"},     {"Ottimo", "OTTIMO"},
};

// "2024/2" as {2024, 2}; {0, 0} when it is not a semester.
std::pair<int, int> semesterParts(const QString &text)
{
    const QStringList parts = text.trimmed().split(u'/');
    if (parts.size() != 2)
        return {0, 0};
    bool okYear = false, okHalf = false;
    const int year = parts[0].toInt(&okYear);
    const int half = parts[1].toInt(&okHalf);
    if (!okYear || !okHalf || year <= 0 || (half != 1 && half != 2))
        return {0, 0};
    return {year, half};
}

bool laterSemester(const QString &a, const QString &b)
{
    return semesterParts(a) > semesterParts(b);
}

} // namespace

QString stateForInteriorState(const QString &judgment)
{
    for (const StateOfJudgment &s : kStates) {
        if (judgment == QLatin1String(s.judgment))
            return QString::fromLatin1(s.state);
    }
    return {};
}

QStringList semestersOf(const QVector<Quote> &quotes)
{
    QStringList out;
    for (const Quote &q : quotes) {
        if (!q.semester.isEmpty() && !out.contains(q.semester))
            out << q.semester;
    }
    std::sort(out.begin(), out.end(), laterSemester);
    return out;
}

Lookup findQuote(const QVector<Quote> &quotes, const Choice &choice)
{
    Lookup l;
    const auto say = [&](const QString &what) {
        l.missing = QStringLiteral("Nessuna quotazione OMI ") + what + u'.';
        return l;
    };
    if (choice.zone.isEmpty())
        return say(QStringLiteral("senza una zona OMI scelta"));
    if (choice.type.isEmpty())
        return say(QStringLiteral("senza una tipologia scelta"));
    if (choice.state.isEmpty())
        return say(QStringLiteral("senza uno stato conservativo scelto"));
    const auto inSemester = [&](const Quote &q) { return choice.semester.isEmpty() || q.semester == choice.semester; };
    bool zone = false, type = false;
    const Quote *best = nullptr;
    for (const Quote &q : quotes) {
        if (!inSemester(q) || q.zone != choice.zone)
            continue;
        zone = true;
        if (q.type != choice.type)
            continue;
        type = true;
        if (q.state != choice.state)
            continue;
        if (!best || laterSemester(q.semester, best->semester))
            best = &q;
    }
    const QString semester =
        choice.semester.isEmpty() ? QString() : QStringLiteral(" nel semestre %1").arg(choice.semester);
    if (!zone)
        return say(QStringLiteral("per la zona %1%2").arg(choice.zone, semester));
    if (!type)
        return say(QStringLiteral("per la tipologia %1 nella zona %2%3").arg(choice.type, choice.zone, semester));
    if (!best)
        return say(QStringLiteral("per lo stato %1 della tipologia %2 nella zona %3%4")
                       .arg(choice.state, choice.type, choice.zone, semester));
    l.quote = *best;
    return l;
}

bool isOlderThanTwoYears(const QString &semester, const QDate &valuationDate)
{
    const auto [year, half] = semesterParts(semester);
    if (year <= 0 || !valuationDate.isValid())
        return false;
    const QDate end = half == 1 ? QDate(year, 6, 30) : QDate(year, 12, 31);
    return end.addYears(2) < valuationDate;
}

Outcome compare(const Inputs &in)
{
    Outcome o;
    o.quote = in.lookup.quote;
    const std::optional<int> floor = [&]() -> std::optional<int> {
        const QVector<FloorClass> &floors = floorClasses();
        for (int i = 0; i < floors.size(); ++i) {
            if (in.choice.floor == QLatin1String(floors[i].label))
                return i;
        }
        return std::nullopt;
    }();
    if (!o.quote) {
        o.noBand = in.lookup.missing;
        return o;
    }
    const Quote &q = *o.quote;
    // A net range is applied to the net surface the surfaces page measures
    // (its useful surface, the rooms' floor area inside the walls) rather
    // than to the cadastral surface scaled by a gross-to-net ratio: the
    // appraiser measured it, while any ratio would be a guess that differs
    // from one building to the next.
    o.netSurface = q.net;
    o.surface = q.net ? in.netSurface : in.grossSurface;
    o.oldSemester = isOlderThanTwoYears(q.semester, in.valuationDate);
    o.band = band({q.min, q.max}, o.surface);
    if (!o.band) {
        o.noBand = isUsable({q.min, q.max})
                       ? (q.net ? QStringLiteral("Superficie netta (utile) pari a zero: nessuna fascia.")
                                : QStringLiteral("Superficie catastale pari a zero: nessuna fascia."))
                       : QStringLiteral("Quotazione OMI non utilizzabile (minimo oltre il massimo, zero o vuota).");
        return o;
    }
    o.k1 = K1(o.surface);
    o.floorKnown = floor.has_value();
    o.k2 = floor ? floorClasses().at(*floor).k2 : 0;
    o.floor = floor ? QString::fromUtf8(floorClasses().at(*floor).label) : QString();
    if (o.floorKnown) {
        o.k = K(o.k1, o.k2);
        o.valoreNormale = valoreNormale({q.min, q.max}, o.surface, o.k);
    }
    for (const auto &[name, value] : in.values) {
        PlacedValue p{name, value, {}};
        if (value)
            p.position = place(*value, *o.band);
        o.values << p;
    }
    return o;
}

QString euro(double value)
{
    return FormattaImporto(value) + QStringLiteral(" €");
}

QString surfaceText(const Outcome &o)
{
    return FormattaImporto(o.surface)
           + (o.netSurface ? QStringLiteral(" m² (superficie netta: la quotazione si riferisce alla superficie netta)")
                           : QStringLiteral(" m² (superficie catastale, DPR 138/98)"));
}

QString quoteText(const Quote &q)
{
    QString zone = q.zone;
    if (!q.zoneDescription.isEmpty())
        zone += QStringLiteral(" ") + q.zoneDescription;
    return QStringLiteral("Semestre %1, zona %2, %3, stato %4")
        .arg(q.semester.isEmpty() ? QStringLiteral("non indicato") : q.semester, zone,
             q.typeName.isEmpty() ? QStringLiteral("tipologia ") + q.type : q.typeName, q.state);
}

QString bandText(const Outcome &o)
{
    if (!o.band)
        return {};
    return euro(o.band->low) + QStringLiteral(" – ") + euro(o.band->high);
}

QString oldSemesterText(const Quote &q, const QDate &valuationDate)
{
    return QStringLiteral("Attenzione: le quotazioni del semestre %1 sono di oltre due anni anteriori alla data "
                          "della stima (%2).")
        .arg(q.semester, valuationDate.toString(QStringLiteral("dd/MM/yyyy")));
}

QString floorText(const Outcome &o)
{
    if (!o.floorKnown)
        return QStringLiteral("piano non indicato: K2 e valore normale non calcolati");
    return o.floor;
}

} // namespace brevan::omiband
