// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The market comparison saved with an appraisal: the companion table
// "MCA - " + stem + ".db", in the program's table format. One row per
// property, the subject first and then the comparables in their order; every
// value is the text as the user typed it (so what cannot be read yet is kept
// as it was), the lift a logical. The parameters and the prices to estimate
// are held in the subject's row, and are empty in the others. A comparison
// whose subject takes the cadastral surface has one more logical column,
// "SuperficieCatastale", true in the subject's row; the others have none.
#include "store/tablestore.h"
#include "valuation/mcasheet.h"

#include <QDate>
#include <QJsonObject>
#include <QString>

namespace brevan::files {

Layout mcaLayout();
// The layout of the rows mcaRows() gives: with the cadastral surface's column
// when they hold it.
Layout mcaLayoutFor(const QVector<QVariantList> &rows);
// The stored size of a data row's text, which typing is limited to.
int mcaTextSize(mca::Row row);
int mcaParamSize(mca::Param param);
// The stored names of a parameter ("SaggioVariazione") and of a feature
// ("Piano"), which also name the window's fields.
QString mcaParamName(mca::Param param);
QString mcaFeatureName(mca::Feature feature);

// The rows the sheet is stored as, the subject's first.
QVector<QVariantList> mcaRows(const mca::Sheet &sheet);

// Writes the sheet under a temporary name in the destination's folder and
// renames it over the destination: a failure leaves the earlier file as it was.
void writeMcaTable(const QString &path, const mca::Sheet &sheet);

// Reads a table written by writeMcaTable, opened as a foreign file: a damaged
// file, another table or a table of another layout fails with StoreError
// before anything is used. A table without rows (what a save without a
// comparison leaves over an earlier one) is a blank sheet.
mca::Sheet readMcaTable(const QString &path);

// The comparison for brevan-export --json: the inputs under their stored
// names, each comparable's marginal prices, adjustments and corrected price,
// the divergence and the value (null when it is not current), and the issues.
QJsonObject mcaJson(const mca::Sheet &sheet, const QDate &valuationDate);

} // namespace brevan::files
