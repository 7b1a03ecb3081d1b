// SPDX-License-Identifier: GPL-2.0-or-later
// Size of the eleven-page report as PDF with three 12-megapixel photographs
// (photograph, area plan, unit plan), as a camera gives them: smooth light,
// edges and sensor noise. Prints the size of the PDF and how long it took,
// and beside it the size of the three photographs alone drawn into a PDF at
// their camera resolution, as they would travel without the reduction to
// their printed box. Results: benchmarks/README.md.
//   bench_pdfsize [OUTPUT.pdf]
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

namespace {

// 4000 × 3000: a sky-to-ground gradient, a few buildings with windows, and
// noise of a few levels on every pixel, so the JPEG encoder has real work.
QImage photograph(quint32 seed)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, 3000);
    sky.setColorAt(0, QColor(120, 170, 230));
    sky.setColorAt(0.55, QColor(225, 225, 215));
    sky.setColorAt(1, QColor(90, 85, 70));
    p.fillRect(image.rect(), sky);
    QRandomGenerator random(seed);
    for (int b = 0; b < 9; ++b) {
        const int x = random.bounded(-200, 3800), w = random.bounded(400, 1200), h = random.bounded(900, 2200);
        p.fillRect(x, 2600 - h, w, h, QColor(random.bounded(140, 230), random.bounded(110, 200), random.bounded(90, 170)));
        for (int wy = 2600 - h + 80; wy < 2500; wy += 180)
            for (int wx = x + 60; wx < x + w - 100; wx += 160)
                p.fillRect(wx, wy, 80, 110, QColor(60, 70, 90));
    }
    p.end();
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(random.bounded(9)) - 4;
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255),
                           std::clamp(qBlue(c) + n, 0, 255));
        }
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
