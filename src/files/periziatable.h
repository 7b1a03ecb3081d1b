// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The report for a purpose saved with an appraisal: the companion table
// "Perizia - " + stem + ".db", in the program's table format. One row per
// value: its stored name ("Committente", "Catasto.Foglio"), the position in
// its list (0 for a single value) and its text; a text longer than a row
// holds goes on in the rows that follow under the same name and position.
// Numbers are written in plain C-locale form, dates as yyyy-mm-dd, ticks as
// "1" and "0"; a value not given is not written.
#include "store/tablestore.h"
#include "valuation/purposereport.h"

#include <QJsonObject>

namespace brevan::files {

Layout periziaLayout();
inline constexpr int kPeriziaTextSize = 2000; // characters of one row's value

// The rows the report is stored as.
QVector<QVariantList> periziaRows(const perizia::Report &report);
// The report those rows hold; throws StoreError on a row no report writes
// (an unknown name, a value its field cannot take).
perizia::Report periziaFromRows(const QVector<QVariantList> &rows, const QString &path);

// Writes the report under a temporary name in the destination's folder and
// renames it over the destination: a failure leaves the earlier file as it was.
void writePeriziaTable(const QString &path, const perizia::Report &report);
// Reads a table written by writePeriziaTable, opened as a foreign file: a
// damaged file, another table or a row no report writes fails with
// StoreError before anything is used.
perizia::Report readPeriziaTable(const QString &path);

// The report for brevan-export --json: the purpose, every value given under
// its stored name (lists as arrays of objects), the court's value when the
// purpose is a court's, and the compliance: the items still missing.
QJsonObject periziaJson(const perizia::Report &report, const perizia::AppraisalFacts &facts);

} // namespace brevan::files
