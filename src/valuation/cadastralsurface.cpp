// SPDX-License-Identifier: GPL-2.0-or-later
#include "cadastralsurface.h"

#include "valuation/mca.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace brevan {

namespace {

using C = CadastralClass;

// The figures of DPR 23 marzo 1998 n. 138, allegato C (G.U. n. 108 of
// 5 May 1998), criteri generali 1-4 and criteri per i gruppi "R" e "P",
// lettere a)-d):
//  - criteri generali 1: interior and perimeter walls counted whole up to a
//    thickness of 50 cm; walls shared with other units at 50 per cent up to
//    a thickness of 25 cm;
//  - criteri generali 2: rooms, or portions of rooms, lower than 1,50 m are
//    not counted;
//  - criteri generali 3: stairs, ramps, lifts and the like inside the unit
//    count once, as their horizontal projection, whatever the floors they join;
//  - criteri generali 4: the cadastral surface is rounded to the square metre;
//  - a) main rooms and accessories of direct service (bathrooms, closets,
//    entrances, corridors and the like): whole;
//  - b) accessories of indirect service (attics, cellars and the like):
//    50 per cent when they communicate with the rooms of a), 25 per cent
//    when they do not;
//  - c) balconies, terraces and the like of exclusive use: 30 per cent up to
//    25 m² and 10 per cent beyond when they communicate with the rooms of a),
//    15 and 5 per cent when they do not;
//  - d) exclusive open area: 10 per cent up to the surface of a), 2 per cent
//    beyond; for units of category R/2, parks, gardens, courts and the like
//    count, by the same measure, only for the part beyond five times the
//    surface of a).
struct Share {
    double first;  // share of the part up to the limit
    double beyond; // share of the part beyond it
};
constexpr Share kMain{1.0, 1.0};
constexpr Share kIndirectLinked{0.50, 0.50};
constexpr Share kIndirectApart{0.25, 0.25};
constexpr Share kBalconyLinked{0.30, 0.10};
constexpr Share kBalconyApart{0.15, 0.05};
constexpr Share kOpenArea{0.10, 0.02};
constexpr double kBalconyLimit = 25.0;      // m²
constexpr double kVillaGardenFactor = 5.0;  // parks and gardens of R/2 beyond five times a)
constexpr double kWallLimit = 50.0;         // cm counted of a wall of the unit
// The text leaves open how a shared wall thicker than 25 cm counts. As with
// the unit's own walls, the limit is read as the most that is counted: half
// the wall's thickness, at most 25 cm (half of the 50 cm of a whole wall).
constexpr double kSharedWallLimit = 25.0;   // cm counted of a shared wall

const QVector<CadastralClassInfo> kClasses{
    {C::Main, "Vani principali e accessori diretti (100%)"},
    {C::IndirectLinked, "Accessori indiretti comunicanti (50%)"},
    {C::IndirectApart, "Accessori indiretti non comunicanti (25%)"},
    {C::BalconyLinked, "Balconi e terrazze comunicanti (30% fino a 25 mq, 10% oltre)"},
    {C::BalconyApart, "Balconi e terrazze non comunicanti (15% fino a 25 mq, 5% oltre)"},
    {C::OpenArea, "Area scoperta esclusiva (10% / 2%)"},
    {C::Garden, "Parco, giardino, corte (10% / 2%)"},
    {C::Stairs, "Scale e collegamenti verticali (proiezione)"},
    {C::Walls, "Muri interni e perimetrali (fino a 50 cm)"},
    {C::SharedWalls, "Muri in comunione (50%, fino a 25 cm)"},
    {C::NotCounted, "Non computata"},
};

// The class each room name of the surfaces grid is proposed with.
struct Proposal {
    const char *room;
    C cls;
};
constexpr std::array<Proposal, 31> kProposals{{
    {"Aree verdi (quota millesimale)", C::NotCounted}, // a share of common parts, not exclusive
    {"Bagno", C::Main},
    {"Balcone", C::BalconyLinked},
    {"Camera", C::Main},
    {"Cantina", C::IndirectApart},
    {"Cucina", C::Main},
    {"Disimpegno", C::Main},
    {"Dispensa", C::Main},
    {"Ingresso", C::Main},
    {"Lastrico solare", C::BalconyApart},
    {"Loggia", C::BalconyLinked},
    {"Mansarda", C::Main},
    {"Palestra", C::Main},
    {"Piscina coperta", C::Main},
    {"Portico carraio", C::BalconyLinked},
    {"Posto auto comune", C::NotCounted},
    {"Posto auto singolo", C::OpenArea},
    {"Ripostiglio", C::Main},
    {"Sala da pranzo", C::Main},
    {"Salone", C::Main},
    {"Salotto", C::Main},
    {"Servizio", C::Main},
    {"Soffitta", C::IndirectLinked},
    {"Soggiorno", C::Main},
    {"Stenditoio", C::IndirectApart},
    {"Studio", C::Main},
    {"Tramezzi e tamponature", C::Walls},
    {"Terrazza coperta", C::BalconyLinked},
    {"Terrazza scoperta", C::BalconyLinked},
    {"Veranda aperta", C::BalconyLinked},
    {"Veranda chiusa", C::Main},
}};

double counted(const CadastralRow &row)
{
    return std::max(0.0, row.area - std::clamp(row.lowArea, 0.0, std::max(0.0, row.area)));
}

// The share of a wall's footprint that counts, from its thickness.
double wallFactor(const CadastralRow &row)
{
    const double t = row.wallThickness;
    if (row.cls == C::Walls)
        return t > kWallLimit ? kWallLimit / t : 1.0;
    // Shared walls: half the thickness, at most kSharedWallLimit.
    return t > 2 * kSharedWallLimit ? kSharedWallLimit / t : 0.5;
}

// The part of an amount that falls up to a limit after `before` of the same
// pool has been taken, at the two shares.
double banded(double amount, double before, double limit, Share share)
{
    const double room = std::max(0.0, limit - before);
    const double first = std::min(amount, room);
    return first * share.first + (amount - first) * share.beyond;
}

} // namespace

const QVector<CadastralClassInfo> &cadastralClasses()
{
    return kClasses;
}

QString cadastralClassLabel(CadastralClass cls)
{
    for (const CadastralClassInfo &info : kClasses) {
        if (info.cls == cls)
            return QString::fromUtf8(info.label);
    }
    return {};
}

std::optional<CadastralClass> cadastralClassOfLabel(const QString &label)
{
    for (const CadastralClassInfo &info : kClasses) {
        if (label == QString::fromUtf8(info.label))
            return info.cls;
    }
    return std::nullopt;
}

CadastralClass proposedCadastralClass(const QString &description)
{
    for (const Proposal &p : kProposals) {
        if (description == QLatin1String(p.room))
            return p.cls;
    }
    return C::Main;
}

bool isVillaCategory(const QString &category)
{
    const QString c = category.trimmed().toUpper();
    return c == QLatin1String("A/7") || c == QLatin1String("A/8");
}

CadastralResult computeCadastralSurface(const QVector<CadastralRow> &rows, bool villa)
{
    CadastralResult result;
    result.contributions.fill(0.0, rows.size());

    // Lettera a) first: it is the limit of the open areas.
    for (int i = 0; i < rows.size(); ++i) {
        const CadastralRow &row = rows[i];
        double part = 0;
        switch (row.cls) {
        case C::Main:
        case C::Stairs: part = counted(row) * kMain.first; break;
        case C::Walls:
        case C::SharedWalls: part = counted(row) * wallFactor(row); break;
        default: continue;
        }
        result.contributions[i] = part;
        // The limit of lettera d) is the surface of a) as the cadastre measures
        // it, gross of its walls; this table holds the walls apart.
        result.mainSurface += part;
    }

    // The bands of b)-d) fill in row order.
    double balconyLinked = 0, balconyApart = 0, open = 0, gardens = 0;
    const double gardenFree = villa ? kVillaGardenFactor * result.mainSurface : 0.0;
    for (int i = 0; i < rows.size(); ++i) {
        const CadastralRow &row = rows[i];
        const double area = counted(row);
        double part = 0;
        switch (row.cls) {
        case C::IndirectLinked: part = area * kIndirectLinked.first; break;
        case C::IndirectApart: part = area * kIndirectApart.first; break;
        case C::BalconyLinked:
            part = banded(area, balconyLinked, kBalconyLimit, kBalconyLinked);
            balconyLinked += area;
            break;
        case C::BalconyApart:
            part = banded(area, balconyApart, kBalconyLimit, kBalconyApart);
            balconyApart += area;
            break;
        case C::OpenArea:
            part = banded(area, open, result.mainSurface, kOpenArea);
            open += area;
            break;
        case C::Garden: {
            // A villa's gardens enter the open area only past five times a).
            const double free = std::clamp(gardenFree - gardens, 0.0, area);
            gardens += area;
            const double taxed = area - free;
            part = banded(taxed, open, result.mainSurface, kOpenArea);
            open += taxed;
            break;
        }
        default: continue;
        }
        result.contributions[i] = part;
    }

    for (double part : std::as_const(result.contributions))
        result.exact += part;
    // "arrotondata al metro quadrato": half a square metre and above goes up.
    result.surface = mca::roundHalfUp(result.exact, 0);
    return result;
}

} // namespace brevan
