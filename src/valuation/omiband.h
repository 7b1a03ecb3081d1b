// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The OMI sale range of the unit's zone applied to its surface (the band),
// the valore normale of the Provvedimento del Direttore dell'Agenzia delle
// Entrate of 27 July 2007, and where a value falls on the band.
#include <QString>
#include <QVector>

#include <optional>

namespace brevan::omiband {

// K1, by the size of the surface (m²): the first class whose upper bound
// the surface does not exceed.
struct SizeClass {
    double upTo; // m², the class's upper bound (included); infinity for the last
    double k1;
    const char *label;
};
const QVector<SizeClass> &sizeClasses();
double K1(double surface);

// K2, by the floor of the unit.
struct FloorClass {
    const char *label;     // as shown
    const char *quotaText; // the page's "Quota da piano stradale" choice that proposes it, "" when none
    double k2;
};
const QVector<FloorClass> &floorClasses();
// The floor class proposed from the page's choice; nullopt when it names none.
std::optional<int> floorClassOfQuota(const QString &quota);

// K = (K1 + 3 × K2) / 4.
double K(double k1, double k2);

struct Range {
    double min = 0; // €/m²
    double max = 0;
};
// A range that can be used: both given, above 0, min not above max.
bool isUsable(const Range &range);

struct Band {
    double low = 0;  // surface × min, €
    double high = 0; // surface × max, €
};
// nullopt for an unusable range or a surface not above 0.
std::optional<Band> band(const Range &range, double surface);

// surface × (min + (max − min) × K).
std::optional<double> valoreNormale(const Range &range, double surface, double k);

enum class Placement { Below, Inside, Above };
struct Position {
    Placement placement = Placement::Inside;
    double percent = 0; // how far below the low end or above the high end, in per cent of that end
};
Position place(double value, const Band &band);
// "all'interno della fascia", "sotto la fascia: scarto 12,50 %", "sopra la fascia: scarto 3,10 %".
QString placementText(const Position &position);

} // namespace brevan::omiband
