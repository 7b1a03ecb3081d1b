// SPDX-License-Identifier: GPL-2.0-or-later
#include "directfit.h"

#include "valuation/coefficients.h"

namespace brevan {

namespace {

struct Line {
    double slope = 0;
    double intercept = 0;
};

// The line of the results page, with its sums taken in the same order, so
// that the value read here is the value shown there.
Line fit(const QVector<FitPoint> &points, int leftOut)
{
    int n = 0;
    double sx = 0, sxx = 0, sy = 0, sxy = 0;
    for (int i = 0; i < points.size(); ++i) {
        if (i == leftOut)
            continue;
        const double x = points[i].x;
        const double y = points[i].y;
        sx += x;
        sxx += x * x;
        sy += y;
        sxy += x * y;
        ++n;
    }
    const double d = n * sxx - sx * sx;
    Line l;
    l.slope = d != 0 ? (n * sxy - sx * sy) / d : 0;
    l.intercept = n != 0 ? (sy - l.slope * sx) / n : 0;
    return l;
}

} // namespace

FitExplanation explainDirectComparison(const QList<ComparableRow> &rows, double subjectX)
{
    FitExplanation out;
    out.subjectX = subjectX;
    for (int i = 0; i < rows.size(); ++i) {
        const ComparableRow &row = rows[i];
        if (!isCompleteComparable(row))
            continue;
        const auto loc = amountIn(row.CdCarattLocalizzaz);
        const auto pos = amountIn(row.CdCarattPosizione);
        const auto typ = amountIn(row.CdCarattTipologiche);
        const auto prod = amountIn(row.CdCarattProduttive);
        const auto cost = amountIn(row.CostoUnitario);
        if (!loc || !pos || !typ || !prod || !cost)
            continue;
        FitPoint p;
        p.row = i;
        p.address = (row.IndirizzoImmob + QLatin1Char(' ') + row.NumCivicoImmob).trimmed();
        p.x = *loc + *pos + *typ + *prod;
        p.y = *cost;
        out.points.append(p);
    }
    const Line all = fit(out.points, -1);
    out.slope = all.slope;
    out.intercept = all.intercept;
    out.value = all.slope * subjectX + all.intercept;

    double meanY = 0;
    for (const FitPoint &p : std::as_const(out.points))
        meanY += p.y;
    if (!out.points.isEmpty())
        meanY /= out.points.size();
    double ssTotal = 0, ssResidual = 0;
    for (int i = 0; i < out.points.size(); ++i) {
        FitPoint &p = out.points[i];
        p.fitted = all.slope * p.x + all.intercept;
        p.residual = p.y - p.fitted;
        ssTotal += (p.y - meanY) * (p.y - meanY);
        ssResidual += p.residual * p.residual;
        if (out.points.size() > 1) {
            const Line without = fit(out.points, i);
            p.valueWithout = without.slope * subjectX + without.intercept;
        }
    }
    if (ssTotal > 0)
        out.rSquared = 1.0 - ssResidual / ssTotal;
    return out;
}

} // namespace brevan
