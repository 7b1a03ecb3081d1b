// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The appraiser's choices of the cadastral surface saved with an appraisal:
// the companion table "Superficie catastale - " + stem + ".db", in the
// program's table format. One row per row of the surfaces table whose choice
// differs from the proposal: its position there (from 1) and the description
// it was made for, the class chosen (empty for the proposed one) under a name
// of its own that does not change with the labels, and the part lower than
// 1,50 m and the wall thickness as typed.
#include "store/tablestore.h"
#include "valuation/cadastralsheet.h"

namespace brevan::files {

Layout cadastralLayout();
// The stored size of the typed measures, which typing is limited to.
inline constexpr int kCadastralMeasureSize = 16;

// The stored name of a class ("AccessorioComunicante") and back.
QString cadastralClassCode(CadastralClass cls);
std::optional<CadastralClass> cadastralClassOfCode(const QString &code);

// The rows the choices are stored as, in the order of the surfaces table.
QVector<QVariantList> cadastralRows(const CadastralChoices &choices);

// Reads a table of cadastralRows' layout, opened as a foreign file: a damaged
// file, another table, a class or a row that is no such thing fails with
// StoreError before anything is used. A table without rows (what a save
// without choices leaves over an earlier one) holds no choice.
CadastralChoices readCadastralTable(const QString &path);

} // namespace brevan::files
