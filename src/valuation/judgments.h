// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Judgments derived from the fittings, grade explanations and the town size's
// average rate, with the hints that explain them.
#include <QString>

#include <optional>

namespace brevan {

struct Fittings {
    bool lift = false;        // A "Ascensore"
    bool heating = false;     // R "Riscaldamento"
    bool waterReserve = false; // W "Riserva idrica"
    bool aerial = false;      // T "Antenna centralizzata"
    bool gate = false;        // G "Cancello automatico"
    bool wiring = false;      // E "Impianto elettrico a norma di legge"
    QString liftKind;         // L
    QString heatingKind;      // H
};

QString GiudicaPresenzaImpiantiTecnologici(const Fittings &f);
// The new level, or the current one when no rule holds.
QString GiudicaLivelloTecnologicoImpianti(const Fittings &f, const QString &current);
// Hints; nullopt leaves the hint as it was.
std::optional<QString> SetHintPresenzaImpiantiTecnologici(const QString &judgment);
std::optional<QString> SetHintLivelloTecnologicoImpianti(const QString &judgment);

enum class GradedJudgment { StatoConservInt, StatoConservExt, GradoRifinitInt, GradoRifinitExt };
// The hint explaining a grade of the four graded judgments.
std::optional<QString> gradeExplanation(GradedJudgment which, const QString &judgment);
// The hints the four fields carry before their first change.
QString initialGradeHint(GradedJudgment which);

enum class TownSize { Small, Medium, Large };
struct TownRate {
    QString rate;
    QString hint;
};
// SetDimensioniCentroUrbano.
TownRate SetDimensioniCentroUrbano(TownSize size);

} // namespace brevan
