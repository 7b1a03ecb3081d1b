// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A system of linear equations A·z = b with one row per equation, solved
// exactly when it is square and by least squares when it has more rows than
// unknowns. Used by the market comparison to find the value together with
// the marginal prices that the market has to tell.
#include <QVector>

namespace brevan {

struct SystemSolution {
    enum class Status {
        Exact,          // as many equations as unknowns, one solution
        LeastSquares,   // more equations: the solution of least squared residuals
        TooFewEquations,
        Singular,       // the columns are not independent: no unique solution
    };
    Status status = Status::Singular;
    QVector<double> z;          // the unknowns; empty unless solved
    QVector<double> residuals;  // b − A·z per equation; empty unless solved

    bool solved() const { return status == Status::Exact || status == Status::LeastSquares; }
};

// Each row of a holds one coefficient per unknown; all rows the same length.
// Columns are scaled to unit length before the factorisation, so the test for
// a singular system does not depend on the units of the unknowns (euro for
// the value, euro per square metre or per month for a price).
SystemSolution solveEstimationSystem(const QVector<QVector<double>> &a, const QVector<double> &b);

} // namespace brevan
