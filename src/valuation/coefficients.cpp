// SPDX-License-Identifier: GPL-2.0-or-later
#include "coefficients.h"

#include "model/numbertext.h"
#include "model/record.h"

namespace brevan {

namespace {

constexpr int kFirstFacilityField = 57; // ScuoleObbligo

// Captions of the facility boxes, in the order of their record fields.
const char *const kFacilityCaptions[kFacilityCount] = {
    "Scuole dell'obbligo", "Istituti superiori", "Facoltà universitarie", "Mensa universitaria",
    "Mercato civico",      "Supermercati",       "Grandi magazzini",      "Centri commerciali",
    "Parcheggi pubblici",  "Percorsi linee CTM", "Strutture sanitarie",   "Impianti sportivi",
    "Uffici postali",      "Luoghi di culto",    "Locali di spettacolo",
};

const FieldDef &fieldNumbered(int number)
{
    return recordFields()[static_cast<std::size_t>(number - 1)];
}

} // namespace

const std::array<Coef, kCoefficientCount> &coefficientIds()
{
    static const std::array<Coef, kCoefficientCount> ids = [] {
        std::array<Coef, kCoefficientCount> a{};
        for (int i = 0; i < kCoefficientCount; ++i)
            a[static_cast<std::size_t>(i)] = static_cast<Coef>(kFirstCoefficientField + i);
        return a;
    }();
    return ids;
}

QString coefficientName(Coef id)
{
    return QString::fromLatin1(fieldNumbered(static_cast<int>(id)).name);
}

std::optional<Coef> coefficientByName(const QString &name)
{
    const FieldDef *f = recordField(name);
    if (!f || f->number < kFirstCoefficientField || f->number >= kFirstCoefficientField + kCoefficientCount)
        return std::nullopt;
    return static_cast<Coef>(f->number);
}

std::optional<double> Coefficients::value(const QString &name) const
{
    const auto id = coefficientByName(name);
    if (!id)
        return std::nullopt;
    return (*this)[*id];
}

bool Coefficients::setValue(const QString &name, double value)
{
    const auto id = coefficientByName(name);
    if (!id)
        return false;
    (*this)[*id] = value;
    return true;
}

QString zoneCaption(Zone zone)
{
    switch (zone) {
    case Zone::Centrale: return QStringLiteral("Zona centrale");
    case Zone::Intermedia: return QStringLiteral("Zona intermedia");
    case Zone::Periferica: return QStringLiteral("Zona periferica");
    case Zone::None: break;
    }
    return {};
}

QString facilityName(int index)
{
    return QString::fromLatin1(fieldNumbered(kFirstFacilityField + index).name);
}

QString facilityCaption(int index)
{
    return QString::fromUtf8(kFacilityCaptions[index]);
}

QString FieldUpdate::applied(const QString &current) const
{
    switch (action) {
    case Action::Leave: return current;
    case Action::Write: return text;
    case Action::Clear: break;
    }
    return {};
}

std::optional<double> amountIn(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    try {
        return EstraiNumero(text);
    } catch (const ConversionError &) {
        return std::nullopt;
    }
}

std::optional<double> plainNumberIn(const QString &text)
{
    double v = 0;
    if (!TryTextToFloat(text, &v))
        return std::nullopt;
    return v;
}

bool isNegativeText(const QString &text)
{
    return text.trimmed().startsWith(QLatin1Char('-'));
}

} // namespace brevan
