// SPDX-License-Identifier: GPL-2.0-or-later
// Times the market comparison: building its window at first use, and what
// one edit costs (reading the sheet, computing with ten comparables and two
// prices left to the estimation system, refreshing tables and marks), beside
// the computation alone, on the real main window (offscreen).
#include "app/application.h"
#include "app/mainwindow.h"
#include "app/mcaops.h"
#include "pages/mcadatatable.h"
#include "pages/mcawindow.h"
#include "pages/messages.h"
#include "store/datafolder.h"
#include "valuation/mcasheet.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace brevan;
using mca::Row;

namespace {

mca::Sheet tenComparables()
{
    mca::Sheet s = mca::Sheet::blank();
    s.subject.setText(Row::MainSurface, QStringLiteral("95,50"));
    s.subject.setText(Row::Balconies, QStringLiteral("8,00"));
    s.subject.setText(Row::Floor, QStringLiteral("2"));
    s.subject.setText(Row::Maintenance, QStringLiteral("3"));
    s.subject.setText(Row::Bathrooms, QStringLiteral("1"));
    s.comparables.clear();
    for (int j = 0; j < mca::kMaxComparables; ++j) {
        mca::SheetColumn c;
        c.setText(Row::Address, QStringLiteral("Via Roma %1").arg(j + 1));
        c.setText(Row::SaleDate, QStringLiteral("%1/2023").arg(1 + j, 2, 10, QLatin1Char('0')));
        c.setText(Row::Price, QStringLiteral("%1.000,00").arg(210 + 7 * j));
        c.setText(Row::MainSurface, QStringLiteral("%1,00").arg(88 + j));
        c.setText(Row::Balconies, QStringLiteral("%1,00").arg(4 + j % 5));
        c.setText(Row::Floor, QString::number(j % 5));
        c.setText(Row::Maintenance, QString::number(1 + (3 * j) % 5));
        c.setText(Row::Bathrooms, QString::number(1 + j % 2));
        s.comparables.append(c);
    }
    s.setParam(mca::Param::AnnualChange, QStringLiteral("-1,5"));
    s.unknown[std::size_t(mca::index(mca::Feature::Floor))] = true;
    s.unknown[std::size_t(mca::index(mca::Feature::Maintenance))] = true;
    return s;
}

void printTimes(const char *what, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    std::printf("%s: median %.3f ms, min %.3f ms, max %.3f ms over %zu runs\n", what, times[times.size() / 2],
                times.front(), times.back(), times.size());
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app::setUpApplication(app);
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("program")));
    QDir::setCurrent(dir.filePath(QStringLiteral("program")));
    AliasRegistry::setConfigFile(dir.filePath(QStringLiteral("config/tablestore.ini")));
    ui::Messages::setAnswers([](const ui::Messages::Shown &) { return true; });

    int failures = 0;
    {
        app::MainWindow window;
        QElapsedTimer timer;
        timer.start();
        window.mcaOps->StimaMCA1Click();
        std::printf("window built and shown at first use: %.3f ms\n", double(timer.nsecsElapsed()) / 1e6);
        ui::McaWindow *w = window.mcaOps->window();
        w->setSheet(tenComparables());

        const mca::Sheet sheet = w->sheet();
        const QDate date = w->context().valuationDate;
        std::vector<double> alone;
        for (int i = 0; i < 501; ++i) {
            timer.restart();
            const mca::Outcome o = mca::evaluate(sheet, date);
            alone.push_back(double(timer.nsecsElapsed()) / 1e6);
            failures += o.hasValue() ? 0 : 1;
        }
        printTimes("computation alone (10 comparables, 2 estimated prices)", alone);

        std::vector<double> edits;
        QTableWidgetItem *price = w->dataTable->cell(4, Row::Price);
        for (int i = 0; i < 201; ++i) {
            timer.restart();
            price->setText(QStringLiteral("%1.000,00").arg(230 + i % 2)); // as a committed edit
            edits.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        printTimes("one edit in the window (read, compute, refresh)", edits);
        if (w->valueLabel->text().startsWith(QStringLiteral("—")))
            ++failures;
        std::printf("value shown: %s\n", qPrintable(w->valueLabel->text()));
        for (const mca::Issue &i : w->outcome().issues)
            std::printf("issue: %s\n", qPrintable(i.message));
    }
    AliasRegistry::setConfigFile({});
    return failures == 0 ? 0 : 1;
}
