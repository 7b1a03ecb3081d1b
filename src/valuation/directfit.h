// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The value by direct comparison, explained: the least-squares line through
// the complete comparables (unit cost against the sum of the four group
// coefficients) with its R², each comparable's residual from the line, and
// the unit value read at the subject's sum when that comparable is left out,
// so the appraiser sees which sale drives the result.
#include "valuation/comparison.h"

#include <QList>
#include <QString>
#include <QVector>

#include <optional>

namespace brevan {

struct FitPoint {
    int row = 0;        // position in the comparables table
    QString address;    // IndirizzoImmob + " " + NumCivicoImmob
    double x = 0;       // sum of the four coefficients
    double y = 0;       // unit cost
    double fitted = 0;  // the line at x
    double residual = 0; // y − fitted
    // The unit value at the subject's sum without this comparable; none when
    // no other comparable is left.
    std::optional<double> valueWithout;
};

struct FitExplanation {
    double subjectX = 0;
    double slope = 0;
    double intercept = 0;
    double value = 0;               // the line at subjectX, as the results page computes it
    std::optional<double> rSquared; // none when the unit costs do not vary
    QVector<FitPoint> points;       // the comparables that enter the line
};

// The same comparables and the same line as fitComparables.
FitExplanation explainDirectComparison(const QList<ComparableRow> &rows, double subjectX);

} // namespace brevan
