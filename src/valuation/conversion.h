// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Converting shown amounts between Lire and Euro. Each amount has an
// exact-amount shadow (plain float text) so that switching back starts from
// full precision, not from the two decimals on screen.
#include "comparison.h"

#include <QString>

#include <array>

namespace brevan {

struct AmountPair {
    QString shown;  // FormattaImporto text, "" when not given
    QString shadow; // plain float text
    bool operator==(const AmountPair &) const = default;
};

// While the shown amount is still the two-decimal form of its shadow, the
// shadow is converted and kept as it was (it is in the other currency);
// otherwise the user has changed the amount, which becomes the new shadow.
// An empty amount stays empty.
AmountPair convertPair(const QString &shown, const QString &shadow, double factor);

// The six expense pairs, Edit33/Edit43 to Edit38/Edit48.
void ConversioneSpeseLiraEuro(std::array<AmountPair, 6> &expenses, double factor);

// (CostoUnitario, Servizio1) then (CostoComplessivo, Servizio2) of every row.
void ConvertiValutaImmobiliConfronto(QList<ComparableRow> &rows, double factor);

} // namespace brevan
