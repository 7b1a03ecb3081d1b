// SPDX-License-Identifier: GPL-2.0-or-later
#include "conversion.h"

#include "model/numbertext.h"

namespace brevan {

namespace {

// Shadows are plain float text, which can carry an exponent ("5,16E-5" for
// a few hundredths of a Lira in Euro). EstraiNumero drops the "E" and the
// sign and would read that as 5,165; plain float conversion reads it right.
// A shadow in any other form (one stored by hand) is read as amount text.
std::optional<double> shadowIn(const QString &text)
{
    if (const auto v = plainNumberIn(text))
        return v;
    return amountIn(text);
}

} // namespace

AmountPair convertPair(const QString &shown, const QString &shadow, double factor)
{
    if (shown.isEmpty())
        return {shown, shadow};
    if (!shadow.isEmpty()) {
        const auto exact = shadowIn(shadow);
        if (exact && FormattaImporto(*exact) == shown)
            return {FormattaImporto(*exact * factor), shadow};
    }
    const auto amount = amountIn(shown);
    if (!amount)
        return {shown, shadow}; // no number to convert: left as typed
    const QString newShadow = FloatToText(*amount * factor);
    return {FormattaImporto(*shadowIn(newShadow)), newShadow};
}

void ConversioneSpeseLiraEuro(std::array<AmountPair, 6> &expenses, double factor)
{
    for (AmountPair &pair : expenses)
        pair = convertPair(pair.shown, pair.shadow, factor);
}

void ConvertiValutaImmobiliConfronto(QList<ComparableRow> &rows, double factor)
{
    for (ComparableRow &row : rows) {
        const AmountPair unit = convertPair(row.CostoUnitario, row.Servizio1, factor);
        row.CostoUnitario = unit.shown;
        row.Servizio1 = unit.shadow;
        const AmountPair total = convertPair(row.CostoComplessivo, row.Servizio2, factor);
        row.CostoComplessivo = total.shown;
        row.Servizio2 = total.shadow;
    }
}

} // namespace brevan
