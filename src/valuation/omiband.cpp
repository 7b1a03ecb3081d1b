// SPDX-License-Identifier: GPL-2.0-or-later
#include "omiband.h"

#include "model/numbertext.h"
#include "valuation/mca.h"

#include <limits>

namespace brevan::omiband {

namespace {

// The coefficients of the Provvedimento del Direttore dell'Agenzia delle
// Entrate of 27 July 2007 (valore normale of residential units), as they are
// commonly reported: K1 by the size of the unit, K2 by its floor, weighed
// one to three in K.
const QVector<SizeClass> kSizeClasses{
    {45.0, 1.0, "fino a 45 mq"},
    {70.0, 0.8, "oltre 45 mq fino a 70 mq"},
    {120.0, 0.5, "oltre 70 mq fino a 120 mq"},
    {150.0, 0.3, "oltre 120 mq fino a 150 mq"},
    {std::numeric_limits<double>::infinity(), 0.0, "oltre 150 mq"},
};

const QVector<FloorClass> kFloorClasses{
    {"Piano seminterrato", "", 0.0},
    {"Piano terreno", "Piano terra", 0.2},
    {"Primo piano", "Primo piano", 0.4},
    {"Piano intermedio", "Piano intermedio", 0.5},
    {"Ultimo piano", "Ultimo piano", 0.8},
    {"Piano attico", "Piano attico", 1.0},
};

double cents(double euro)
{
    return mca::roundHalfUp(euro, 2);
}

// A gap that shows as 0,00 % is still outside the band: say so.
QString gapText(double percent)
{
    if (mca::roundHalfUp(percent, 2) < 0.01)
        return QStringLiteral("scarto inferiore a 0,01 %");
    return QStringLiteral("scarto %1 %").arg(FormattaImporto(percent));
}

} // namespace

const QVector<SizeClass> &sizeClasses()
{
    return kSizeClasses;
}

double K1(double surface)
{
    for (const SizeClass &c : kSizeClasses) {
        if (surface <= c.upTo)
            return c.k1;
    }
    return kSizeClasses.last().k1;
}

const QVector<FloorClass> &floorClasses()
{
    return kFloorClasses;
}

std::optional<int> floorClassOfQuota(const QString &quota)
{
    for (int i = 0; i < kFloorClasses.size(); ++i) {
        const QLatin1String text(kFloorClasses[i].quotaText);
        if (!text.isEmpty() && quota == text)
            return i;
    }
    return std::nullopt;
}

double K(double k1, double k2)
{
    return (k1 + 3.0 * k2) / 4.0;
}

bool isUsable(const Range &range)
{
    return range.min > 0 && range.max > 0 && range.min <= range.max;
}

std::optional<Band> band(const Range &range, double surface)
{
    if (!isUsable(range) || !(surface > 0))
        return std::nullopt;
    return Band{surface * range.min, surface * range.max};
}

std::optional<double> valoreNormale(const Range &range, double surface, double k)
{
    if (!isUsable(range) || !(surface > 0))
        return std::nullopt;
    return surface * (range.min + (range.max - range.min) * k);
}

Position place(double value, const Band &b)
{
    // Decided on the figures as shown, to the cent: a value equal to an end
    // is inside, whatever binary makes of the product.
    const double v = cents(value), low = cents(b.low), high = cents(b.high);
    if (v < low)
        return {Placement::Below, (low - v) / low * 100.0};
    if (v > high)
        return {Placement::Above, (v - high) / high * 100.0};
    return {Placement::Inside, 0.0};
}

QString placementText(const Position &position)
{
    switch (position.placement) {
    case Placement::Inside: return QStringLiteral("all'interno della fascia");
    case Placement::Below: return QStringLiteral("sotto la fascia: ") + gapText(position.percent);
    case Placement::Above: return QStringLiteral("sopra la fascia: ") + gapText(position.percent);
    }
    return {};
}

} // namespace brevan::omiband
