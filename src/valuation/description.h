// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The description page's own judgments: building age, floor judgment,
// cadastral category hint.
#include <QString>

#include <optional>

namespace brevan {

// ImpostaEtaEdificio. nullopt: leave the age as it is (no construction year).
// An empty text: empty the age. Throws ConversionError for a year that is not
// an integer (possible only by pasting).
std::optional<QString> ImpostaEtaEdificio(const QString &constructionYear, int appraisalYear);

struct FloorJudgment {
    QString judgment;      // the new "Quota rispetto al piano stradale:"
    QString warning;       // non-empty: show it, then empty the floor as well
    bool clearFloor = false;
};
// GiudicaQuotaDalPianoStradale from the total floors and the floor texts.
// Throws ConversionError for texts that are not integers.
FloorJudgment GiudicaQuotaDalPianoStradale(const QString &totalFloors, const QString &floor);

// The category field's hint; nullopt when the text matches no code (the hint
// stays as it was).
std::optional<QString> categoryHint(const QString &category);

} // namespace brevan
