// SPDX-License-Identifier: GPL-2.0-or-later
// Size of the eleven-page report as PDF with three 12-megapixel photographs
// (photograph, area plan, unit plan), as a camera gives them: smooth light,
// edges and sensor noise. Prints the size of the PDF and how long it took,
// and beside it the size of the three photographs alone drawn into a PDF at
// their camera resolution, as they would travel without the reduction to
// their printed box. Results: benchmarks/README.md.
//   bench_pdfsize [OUTPUT.pdf]
#include "photograph.h"
#include "model/record.h"
#include "report/reportpages.h"
#include "store/datafolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTextStream>

#include <cmath>

using namespace brevan;
using namespace brevan::report;
using brevan::bench::photograph;

namespace {

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
    for (int i = 0; i < 18; ++i)
        in.surfaces.append({QStringLiteral("Camera"), 10.5 + i});
    in.usefulShown = in.conventionalShown = in.commercialShown = QStringLiteral("123,45  mq");
    in.photo = photograph(1);
    in.areaPlan = photograph(2);
    in.unitPlan = photograph(3);
    for (int i = 0; i < 6; ++i) {
        ComparableRow row;
        for (const Column &c : comparablesLayout())
            row.insert(c.name, QString::number(100 + i));
        in.comparables.append(row);
    }
    for (Coef id : coefficientIds())
        in.coefficients[id] = 0.05;
    return in;
}

// The photographs drawn unreduced into the same boxes, one per page.
qint64 unreducedSize(const ReportInput &in)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(600);
    QPainter p(&writer);
    bool first = true;
    for (const QImage *image : {&in.photo, &in.areaPlan, &in.unitPlan}) {
        if (!first)
            writer.newPage();
        first = false;
        p.drawImage(QRectF(0, 0, 270 * 600 / 96.0, 270 * 600 / 96.0 * 3 / 4), *image);
    }
    p.end();
    return bytes.size();
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    const ReportInput in = input();
    QElapsedTimer t;
    t.start();
    const QByteArray pdf = reportPdf(in, ReportSelection());
    const double ms = t.nsecsElapsed() / 1e6;
    out << "report PDF, 11 pages, three 12-megapixel photographs: " << QString::number(pdf.size() / 1e6, 'f', 2)
        << " MB (" << pdf.size() << " bytes) in " << QString::number(ms, 'f', 0) << " ms\n";
    const qint64 unreduced = unreducedSize(in);
    out << "the three photographs alone, unreduced: " << QString::number(unreduced / 1e6, 'f', 2) << " MB\n";
    if (argc > 1) {
        QFile f(QString::fromLocal8Bit(argv[1]));
        if (f.open(QIODevice::WriteOnly))
            f.write(pdf);
    }
    return pdf.isEmpty() ? 1 : 0;
}
