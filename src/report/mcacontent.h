// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The market comparison's document built from the sheet: the tables
// appraisers expect (data, parameters, marginal prices, valuation with each
// adjustment), the result lines with the values of the other two approaches
// beside it, and the direct comparison explained.
#include "report/mcadocument.h"
#include "valuation/directfit.h"
#include "valuation/mcasheet.h"

#include <QDate>
#include <QHash>

#include <optional>

namespace brevan::report {

// What the comparison's outputs show besides the sheet.
struct McaContext {
    QDate valuationDate;       // the appraisal date
    bool lire = true;          // the program's amounts are in Lire
    // The results page's four values as it shows them, in the currency in force.
    QString comparisonUnit, comparisonTotal, incomeUnit, incomeTotal;
    // The direct comparison of the results page, explained; its amounts are
    // in the currency in force.
    std::optional<FitExplanation> fit;
    // The record's texts by persisted name that name the appraisal (the
    // unit's address) and the appraiser in the heading and the PDF's title.
    QHash<QString, QString> appraisal;
    // The OMI band beside the other values, when the appraisal has one: its
    // lines as the OMI comparison words them, the source last.
    QStringList omiBand;
};

// The subject's address as the description page gives it ("Via Roma 10").
QString subjectAddress(const McaContext &context);

// At most columnsPerTable properties beside the labels in one table; wider
// tables go on in a second one ("comparabili 6-10").
McaDocument buildMcaDocument(const mca::Sheet &sheet, const McaContext &context, int columnsPerTable = 100);

// The results page's amount in euro: converted when the program is in Lire;
// empty when the page shows none.
QString pageAmountInEuro(const QString &shown, bool lire);

} // namespace brevan::report
