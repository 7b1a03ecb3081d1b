// SPDX-License-Identifier: GPL-2.0-or-later
#include "estimationsystem.h"

#include <cmath>

namespace brevan {

namespace {

// Below this the scaled pivot counts as zero: the unknown's column is (almost)
// a combination of the others.
constexpr double kSingularPivot = 1e-9;

} // namespace

SystemSolution solveEstimationSystem(const QVector<QVector<double>> &a, const QVector<double> &b)
{
    SystemSolution out;
    const qsizetype m = a.size();
    const qsizetype n = m > 0 ? a.first().size() : 0;
    if (n == 0 || b.size() != m) {
        out.status = SystemSolution::Status::Singular;
        return out;
    }
    if (m < n) {
        out.status = SystemSolution::Status::TooFewEquations;
        return out;
    }
    for (const QVector<double> &row : a) {
        if (row.size() != n)
            return out;
    }

    // Column scaling.
    QVector<double> scale(n, 0.0);
    for (qsizetype j = 0; j < n; ++j) {
        double s = 0;
        for (qsizetype i = 0; i < m; ++i)
            s += a[i][j] * a[i][j];
        scale[j] = std::sqrt(s);
        if (!(scale[j] > 0) || !std::isfinite(scale[j]))
            return out; // a zero column: that unknown does not enter any equation
    }
    QVector<QVector<double>> r(m, QVector<double>(n));
    for (qsizetype i = 0; i < m; ++i)
        for (qsizetype j = 0; j < n; ++j)
            r[i][j] = a[i][j] / scale[j];
    QVector<double> qtb = b;

    // Householder reflections: R in the upper triangle of r, Qᵀb in qtb.
    for (qsizetype k = 0; k < n; ++k) {
        double norm = 0;
        for (qsizetype i = k; i < m; ++i)
            norm += r[i][k] * r[i][k];
        norm = std::sqrt(norm);
        if (norm < kSingularPivot)
            return out;
        const double alpha = r[k][k] > 0 ? -norm : norm;
        QVector<double> v(m - k);
        for (qsizetype i = k; i < m; ++i)
            v[i - k] = r[i][k];
        v[0] -= alpha;
        double vv = 0;
        for (double x : v)
            vv += x * x;
        if (vv > 0) {
            for (qsizetype j = k; j < n; ++j) {
                double dot = 0;
                for (qsizetype i = k; i < m; ++i)
                    dot += v[i - k] * r[i][j];
                const double f = 2 * dot / vv;
                for (qsizetype i = k; i < m; ++i)
                    r[i][j] -= f * v[i - k];
            }
            double dot = 0;
            for (qsizetype i = k; i < m; ++i)
                dot += v[i - k] * qtb[i];
            const double f = 2 * dot / vv;
            for (qsizetype i = k; i < m; ++i)
                qtb[i] -= f * v[i - k];
        }
        if (std::fabs(r[k][k]) < kSingularPivot)
            return out;
    }

    // R y = (Qᵀb)[0, n); z = y / scale.
    QVector<double> y(n);
    for (qsizetype k = n - 1; k >= 0; --k) {
        double s = qtb[k];
        for (qsizetype j = k + 1; j < n; ++j)
            s -= r[k][j] * y[j];
        y[k] = s / r[k][k];
    }
    out.z.resize(n);
    for (qsizetype j = 0; j < n; ++j)
        out.z[j] = y[j] / scale[j];
    out.residuals.resize(m);
    for (qsizetype i = 0; i < m; ++i) {
        double fitted = 0;
        for (qsizetype j = 0; j < n; ++j)
            fitted += a[i][j] * out.z[j];
        out.residuals[i] = b[i] - fitted;
    }
    out.status = m == n ? SystemSolution::Status::Exact : SystemSolution::Status::LeastSquares;
    return out;
}

} // namespace brevan
