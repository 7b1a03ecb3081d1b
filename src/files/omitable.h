// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The OMI comparison saved with an appraisal: the companion table
// "OMI - " + stem + ".db", in the program's table format, one row: the zone,
// building type, state, semester and floor the appraiser chose, and the sale
// range they found, so that the band is the same wherever the appraisal is
// opened, with or without the municipality's quotations.
#include "store/tablestore.h"
#include "valuation/omicomparison.h"

#include <QJsonObject>
#include <QJsonValue>

#include <optional>

namespace brevan::files {

Layout omiLayout();

struct StoredOmi {
    omiband::Choice choice;
    std::optional<omiband::Quote> quote; // the range found when it was saved
};

// The row the choice is stored as; no rows when nothing was chosen.
QVector<QVariantList> omiRows(const StoredOmi &stored);

// Reads a table written from omiRows, opened as a foreign file: a damaged
// file, another table or a table of another layout fails with StoreError
// before anything is used. A table without rows is no choice.
StoredOmi readOmiTable(const QString &path);

// The comparison for brevan-export --json; null when there is no band.
QJsonValue omiJson(const omiband::Outcome &outcome);

} // namespace brevan::files
