// SPDX-License-Identifier: GPL-2.0-or-later
// Times the two market values as the results page recomputes them: the rate
// and the value by income, then the line through 100 comparables and the
// value by direct comparison, on the real main window (offscreen).
#include "app/application.h"
#include "app/mainwindow.h"
#include "app/valueops.h"
#include "pages/comparablespage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/messages.h"
#include "pages/pagekit.h"
#include "pages/resultspage.h"
#include "pages/tablemodel.h"
#include "pages/typologypage.h"
#include "store/datafolder.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace brevan;

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
        app::ValueOps values(&window);
        values.commercialSurface = [] { return QStringLiteral("95,5"); };

        {
            Table t = Table::open(dataPath(kImmConfr));
            t.transaction([&] {
                for (int i = 0; i < 100; ++i) {
                    t.append({QStringLiteral("Via Roma"), QString::number(i + 1), QStringLiteral("2"), QString(),
                              QStringLiteral("90"), QString::number(5 + i % 7), QString::number(15 + i % 5),
                              QString::number(14 + i % 3), QStringLiteral("30"),
                              QStringLiteral("%1.000,00").arg(900 + i), QString(), QString(), QString()});
                }
            });
        }
        window.comparablesPage->model()->reload();
        window.localisationPage->centralZoneRadio->setChecked(true);
        window.localisationPage->averageRateEdit->setText(QStringLiteral("3,50"));
        ui::setComboText(window.typologyPage->brightnessCombo, QStringLiteral("Buona"));
        ui::setComboText(window.typologyPage->repairInsideCombo, QStringLiteral("Buono"));
        window.incomePage->netIncomeEdit->setText(QStringLiteral("12.338.000,00"));

        const int runs = 201;
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer timer;
            timer.start();
            values.CalcolaCIValoreMercato();
            values.CalcolaCDValoreMercato();
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        std::sort(times.begin(), times.end());
        if (window.resultsPage->comparisonUnitEdit->text().isEmpty()
            || window.resultsPage->incomeTotalEdit->text().isEmpty())
            ++failures;
        std::printf("values (CalcolaCIValoreMercato + CalcolaCDValoreMercato, 100 comparables): median %.3f ms, "
                    "min %.3f ms, max %.3f ms over %d runs\n",
                    times[times.size() / 2], times.front(), times.back(), runs);
        std::printf("results: %s / %s by income, %s / %s by comparison\n",
                    qPrintable(window.resultsPage->incomeUnitEdit->text()),
                    qPrintable(window.resultsPage->incomeTotalEdit->text()),
                    qPrintable(window.resultsPage->comparisonUnitEdit->text()),
                    qPrintable(window.resultsPage->comparisonTotalEdit->text()));
    }
    AliasRegistry::setConfigFile({});
    return failures == 0 ? 0 : 1;
}
