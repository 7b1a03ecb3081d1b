// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A 12-megapixel photograph as a camera gives it, for the benchmarks that
// carry pictures into the report.
#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>

namespace brevan::bench {

// 4000 × 3000: a sky-to-ground gradient, a few buildings with windows, and
// noise of a few levels on every pixel, so the JPEG encoder has real work.
inline QImage photograph(quint32 seed)
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

} // namespace brevan::bench
