// SPDX-License-Identifier: GPL-2.0-or-later
// Times the whole eleven-page report written as PDF, with a photograph and
// two plans of camera size, a full surfaces table and a dozen comparables.
// Prints the median, the fastest and the slowest of the runs.
#include "model/record.h"
#include "report/reportpages.h"
#include "store/datafolder.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <algorithm>

using namespace brevan;
using namespace brevan::report;

namespace {

// A picture with detail everywhere, so that nothing compresses for free.
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

ReportInput input()
{
    ReportInput in;
    in.today = QDate(2024, 3, 4);
    in.appraisalDate = QDate(2024, 2, 1);
    in.lights.fill(Light::Green);
    for (const FieldDef &f : recordFields()) {
        if (f.type == FieldType::Text)
            in.texts.insert(QString::fromLatin1(f.name), QStringLiteral("Valore di %1").arg(QString::fromLatin1(f.name)));
        else if (f.type == FieldType::Logical)
            in.ticks.insert(QString::fromLatin1(f.name), f.number % 2 == 0);
    }
    for (int i = 0; i < 36; ++i)
        in.surfaces.append({QStringLiteral("Camera"), 10.5 + i});
    in.usefulShown = in.conventionalShown = in.commercialShown = QStringLiteral("123,45  mq");
    in.photo = picture(3264, 2448, 1);
    in.areaPlan = picture(2480, 3508, 2);
    in.unitPlan = picture(3508, 2480, 3);
    for (int i = 0; i < 12; ++i) {
        ComparableRow row;
        for (const Column &c : comparablesLayout())
            row.insert(c.name, QString::number(100 + i));
        in.comparables.append(row);
    }
    for (Coef id : coefficientIds())
        in.coefficients[id] = 0.05;
    return in;
}

} // namespace


int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    const ReportInput in = input();
    Report report;
    QVector<double> ms;
    qint64 size = 0;
    for (int i = 0; i < runs + 1; ++i) {
        QElapsedTimer t;
        t.start();
        report.resetAndFill(in);
        const QByteArray pdf = reportPdf(report, ReportSelection());
        const double elapsed = t.nsecsElapsed() / 1e6;
        size = pdf.size();
        if (i > 0) // the first run warms the font caches
            ms << elapsed;
    }
    std::sort(ms.begin(), ms.end());
    QTextStream(stdout) << QStringLiteral("report to PDF, 11 pages, 3 pictures: median %1 ms, min %2 ms, max %3 ms over %4 runs, %5 KiB\n")
                               .arg(ms[ms.size() / 2], 0, 'f', 1)
                               .arg(ms.first(), 0, 'f', 1)
                               .arg(ms.last(), 0, 'f', 1)
                               .arg(ms.size())
                               .arg(size / 1024);
    return 0;
}
