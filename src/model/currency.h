// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The currency in force and the flag that holds back automatic recomputation
// while a conversion runs. One instance per running program.
#include <QString>

namespace brevan {

// The fixed rate of 1936,27 Lire to the Euro, kept as single-precision
// constants and widened: their product is about 1.000000014, not 1.
inline constexpr double kFattoreLire = static_cast<double>(1936.27f);           // 1936.27001953125
inline constexpr double kFattoreEuro = static_cast<double>(1.0f / 1936.27f);     // 4436331 / 2^33

inline const QString kLire = QStringLiteral(" Lire");
inline const QString kEuro = QStringLiteral(" Euro");

struct CurrencyState {
    QString ValutaCorrente = kLire; // always five characters
    double FattoreValuta = 1.0;
    bool RicalcoloAttivo = true;

    bool euroInForce() const { return ValutaCorrente == kEuro; }
    void setLire() { ValutaCorrente = kLire; FattoreValuta = kFattoreLire; }
    void setEuro() { ValutaCorrente = kEuro; FattoreValuta = kFattoreEuro; }
    void reset() { *this = CurrencyState(); }
};

// The program's currency state.
CurrencyState &currency();

} // namespace brevan
