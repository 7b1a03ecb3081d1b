// SPDX-License-Identifier: GPL-2.0-or-later
// Times the report for a purpose written as PDF/A beside the eleven-page
// report of the same appraisal (three camera-size pictures each), and the
// first build of the window "Rapporto di valutazione". Prints medians.
#include "pages/periziawindow.h"
#include "report/periziadocument.h"
#include "model/record.h"
#include "report/reportpages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <functional>

using namespace brevan;

namespace {

QImage picture(int w, int h, int seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgb((x * 7 + y * 3 + seed) & 0xff, (x ^ y ^ seed) & 0xff, (x * y + seed * 13) & 0xff);
    }
    return image;
}

double median(int runs, const std::function<void()> &work)
{
    QVector<double> ms;
    for (int i = 0; i < runs + 1; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        if (i > 0) // the first run warms the font caches
            ms << t.nsecsElapsed() / 1e6;
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    const QImage photo = picture(3264, 2448, 1), areaPlan = picture(2480, 3508, 2), unitPlan = picture(3508, 2480, 3);

    // The window's first build, in a process that has built nothing else.
    QElapsedTimer first;
    first.start();
    auto *window = new ui::PeriziaWindow;
    const double windowMs = first.nsecsElapsed() / 1e6;
    delete window;

    report::ReportInput eleven;
    eleven.today = QDate(2026, 3, 4);
    eleven.appraisalDate = QDate(2026, 2, 1);
    // Every field given, as bench_report fills them, so that every page prints.
    eleven.lights.fill(Light::Green);
    for (const FieldDef &f : recordFields()) {
        if (f.type == FieldType::Text)
            eleven.texts.insert(QString::fromLatin1(f.name), QStringLiteral("Valore di %1").arg(QString::fromLatin1(f.name)));
        else if (f.type == FieldType::Logical)
            eleven.ticks.insert(QString::fromLatin1(f.name), f.number % 2 == 0);
    }
    for (int i = 0; i < 12; ++i)
        eleven.surfaces.append({QStringLiteral("Camera"), 10.5 + i});
    eleven.photo = photo;
    eleven.areaPlan = areaPlan;
    eleven.unitPlan = unitPlan;
    report::Report pages;
    qint64 elevenSize = 0;
    const double elevenMs = median(runs, [&] {
        pages.resetAndFill(eleven);
        elevenSize = report::reportPdf(pages, report::ReportSelection()).size();
    });

    report::PeriziaInput in;
    in.report.purpose = perizia::Purpose::Court;
    in.report.court = QStringLiteral("Tribunale di Forlì");
    in.report.description = QString(3000, QLatin1Char('x'));
    for (int i = 0; i < 5; ++i)
        in.report.encumbrances.append({perizia::EncumbranceKind::Mortgage, QStringLiteral("ipoteca %1").arg(i),
                                       QDate(2001, 7, 5), QStringLiteral("RG 1"), false, perizia::kNotGiven});
    in.report.adjustments = {{perizia::AdjustmentKind::NoWarranty, QString(), perizia::kNotGiven, 15}};
    in.facts.comparisonValue = 200000;
    in.facts.surface = 100;
    in.surfacesHeader = {QStringLiteral("Descrizione"), QStringLiteral("Superficie m²")};
    for (int i = 0; i < 12; ++i)
        in.surfaces.append({QStringLiteral("Camera"), QString::number(10.5 + i)});
    in.pictures = {{QStringLiteral("Fotografia"), photo}, {QStringLiteral("Planimetria della zona"), areaPlan},
                   {QStringLiteral("Planimetria dell'unità"), unitPlan}};
    qint64 periziaSize = 0;
    const double periziaMs = median(runs, [&] { periziaSize = report::periziaPdf(in).size(); });

    QTextStream(stdout) << QStringLiteral("window first build: %1 ms\n"
                                          "eleven-page report to PDF/A: median %2 ms, %3 KiB\n"
                                          "report for a purpose to PDF/A: median %4 ms, %5 KiB (ratio %6)\n")
                               .arg(windowMs, 0, 'f', 1)
                               .arg(elevenMs, 0, 'f', 1)
                               .arg(elevenSize / 1024)
                               .arg(periziaMs, 0, 'f', 1)
                               .arg(periziaSize / 1024)
                               .arg(periziaMs / elevenMs, 0, 'f', 2);
    return 0;
}
