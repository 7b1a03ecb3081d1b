// SPDX-License-Identifier: GPL-2.0-or-later
// The estimation system on its own: a square system with a known exact
// solution, overdetermined systems against their least-squares solutions
// worked out by hand, and the systems it must refuse.
#include "valuation/estimationsystem.h"

#include <QTest>

#include <cmath>

using namespace brevan;
using Matrix = QVector<QVector<double>>;


class TestEstimationSystem : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void solves_data();
    void solves();
    void refuses_data();
    void refuses();
    void residualsOfAnOverdeterminedSystem();
};

void TestEstimationSystem::solves_data()
{
    QTest::addColumn<Matrix>("a");
    QTest::addColumn<QVector<double>>("b");
    QTest::addColumn<QVector<double>>("expected");
    QTest::addColumn<bool>("exact");

    // x + 2y − z = 2, 2x − y + 3z = 9, −x + 3y + 2z = 11: x = 1, y = 2, z = 3.
    QTest::newRow("square 3×3") << Matrix{{1, 2, -1}, {2, -1, 3}, {-1, 3, 2}} << QVector<double>{2, 9, 11}
                                << QVector<double>{1, 2, 3} << true;
    // A zero on the diagonal needs a row exchange (or a reflection).
    QTest::newRow("zero pivot") << Matrix{{0, 1}, {1, 0}} << QVector<double>{5, 7} << QVector<double>{7, 5} << true;
    // Units far apart, as a value in euro beside a price per floor: V = 250000,
    // p = 3000; the equations are V − p·d = P.
    QTest::newRow("value and price per floor") << Matrix{{1, -2}, {1, 1}} << QVector<double>{244000, 253000}
                                               << QVector<double>{250000, 3000} << true;
    // The line through (0, 1), (1, 3), (2, 2): slope 1/2, intercept 3/2 (by
    // the normal equations: 3a + 3b = 6, 3a + 5b = 7).
    QTest::newRow("least squares line") << Matrix{{1, 0}, {1, 1}, {1, 2}} << QVector<double>{1, 3, 2}
                                        << QVector<double>{1.5, 0.5} << false;
    // Consistent equations beyond the unknowns: the least-squares solution is
    // the exact one.
    QTest::newRow("consistent overdetermined") << Matrix{{1, 1}, {1, 0}, {1, -2}, {1, -3}}
                                               << QVector<double>{103, 100, 94, 91} << QVector<double>{100, 3} << false;
    // The mean of four numbers: one unknown, one column of ones.
    QTest::newRow("mean") << Matrix{{1}, {1}, {1}, {1}} << QVector<double>{10, 11, 15, 4} << QVector<double>{10}
                          << false;
}

void TestEstimationSystem::solves()
{
    QFETCH(Matrix, a);
    QFETCH(QVector<double>, b);
    QFETCH(QVector<double>, expected);
    QFETCH(bool, exact);
    const SystemSolution s = solveEstimationSystem(a, b);
    QCOMPARE(s.status, exact ? SystemSolution::Status::Exact : SystemSolution::Status::LeastSquares);
    QCOMPARE(s.z.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(std::fabs(s.z[i] - expected[i]) <= 1e-9 * std::max(1.0, std::fabs(expected[i])),
                 qPrintable(QStringLiteral("z[%1] = %2, expected %3").arg(i).arg(s.z[i], 0, 'g', 17).arg(expected[i])));
    if (exact) {
        for (double r : s.residuals)
            QVERIFY(std::fabs(r) < 1e-6);
    }
}

void TestEstimationSystem::refuses_data()
{
    QTest::addColumn<Matrix>("a");
    QTest::addColumn<QVector<double>>("b");
    QTest::addColumn<int>("status");
    QTest::newRow("fewer equations than unknowns")
        << Matrix{{1, 2, 3}, {4, 5, 6}} << QVector<double>{1, 2} << int(SystemSolution::Status::TooFewEquations);
    QTest::newRow("two equal columns") << Matrix{{1, 1}, {1, 1}, {1, 1}} << QVector<double>{1, 2, 3}
                                       << int(SystemSolution::Status::Singular);
    // Every comparable on the same floor as the others: the floor's column is
    // a multiple of the value's.
    QTest::newRow("column proportional to the ones") << Matrix{{1, -2}, {1, -2}, {1, -2}, {1, -2}}
                                                     << QVector<double>{1, 2, 3, 4} << int(SystemSolution::Status::Singular);
    QTest::newRow("a column of zeros") << Matrix{{1, 0}, {1, 0}, {1, 0}} << QVector<double>{1, 2, 3}
                                       << int(SystemSolution::Status::Singular);
    QTest::newRow("dependent square") << Matrix{{1, 2, 3}, {2, 4, 6}, {1, 0, 1}} << QVector<double>{1, 2, 3}
                                      << int(SystemSolution::Status::Singular);
    QTest::newRow("no unknowns") << Matrix{{}, {}} << QVector<double>{1, 2} << int(SystemSolution::Status::Singular);
}

void TestEstimationSystem::refuses()
{
    QFETCH(Matrix, a);
    QFETCH(QVector<double>, b);
    QFETCH(int, status);
    const SystemSolution s = solveEstimationSystem(a, b);
    QCOMPARE(int(s.status), status);
    QVERIFY(!s.solved());
    QVERIFY(s.z.isEmpty());
}

void TestEstimationSystem::residualsOfAnOverdeterminedSystem()
{
    // (0, 1), (1, 3), (2, 2) and the line 3/2 + x/2: residuals −1/2, 1, −1/2,
    // which sum to zero because the system has a column of ones.
    const SystemSolution s = solveEstimationSystem(Matrix{{1, 0}, {1, 1}, {1, 2}}, {1, 3, 2});
    QCOMPARE(s.residuals.size(), 3);
    const double expected[] = {-0.5, 1, -0.5};
    for (int i = 0; i < 3; ++i)
        QVERIFY(std::fabs(s.residuals[i] - expected[i]) < 1e-12);
}

QTEST_APPLESS_MAIN(TestEstimationSystem)
#include "tst_estimationsystem.moc"
