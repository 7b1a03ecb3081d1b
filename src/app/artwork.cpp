// SPDX-License-Identifier: GPL-2.0-or-later
#include "artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSvgRenderer>

// The resources live in a static library: registered by name, or the linker
// leaves them out.
static void initArtworkResources()
{
    Q_INIT_RESOURCE(artwork);
}

namespace brevan::art {

QPixmap drawNodeImage(NodeImage image);

namespace {

const QColor kNavy(0, 0, 128);
const QColor kBlue(30, 90, 190);
const QColor kSky(110, 170, 235);

QPixmap canvas(int w, int h)
{
    QPixmap p(w, h);
    p.fill(Qt::transparent);
    return p;
}

void drawHouse(QPainter &p, const QRectF &r, const QColor &fill, const QColor &line)
{
    const qreal w = r.width();
    const qreal h = r.height();
    QPainterPath roof;
    roof.moveTo(r.left(), r.top() + h * 0.45);
    roof.lineTo(r.center().x(), r.top());
    roof.lineTo(r.right(), r.top() + h * 0.45);
    roof.closeSubpath();
    const QRectF body(r.left() + w * 0.14, r.top() + h * 0.42, w * 0.72, h * 0.58);
    p.setPen(QPen(line, std::max<qreal>(1.0, w / 24.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawRect(body);
    p.drawPath(roof);
    p.setBrush(line);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(body.center().x() - w * 0.09, body.bottom() - h * 0.3, w * 0.18, h * 0.3));
}

} // namespace

QPixmap programPicture(int size)
{
    // The same drawing as the desktop icon (dist/icons), from one SVG.
    static const bool registered = (initArtworkResources(), true);
    Q_UNUSED(registered);
    QPixmap pm = canvas(size, size);
    QSvgRenderer svg(QStringLiteral(":/brevan/it.brevan.Brevan.svg"));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    svg.render(&p, QRectF(0, 0, size, size));
    return pm;
}

QPixmap nodeImage(NodeImage image)
{
    static QPixmap cache[5];
    QPixmap &cached = cache[int(image)];
    if (cached.isNull())
        cached = drawNodeImage(image);
    return cached;
}

QPixmap drawNodeImage(NodeImage image)
{
    QPixmap pm = canvas(16, 16);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (image) {
    case NodeImage::Root:
        drawHouse(p, QRectF(1.5, 1.5, 13, 13), QColor(255, 240, 200), kNavy);
        break;
    case NodeImage::Arrow: {
        QPainterPath a;
        a.moveTo(2, 5.5);
        a.lineTo(8, 5.5);
        a.lineTo(8, 2);
        a.lineTo(14.5, 8);
        a.lineTo(8, 14);
        a.lineTo(8, 10.5);
        a.lineTo(2, 10.5);
        a.closeSubpath();
        p.setPen(QPen(QColor(140, 0, 0), 1));
        p.setBrush(QColor(220, 30, 30));
        p.drawPath(a);
        break;
    }
    case NodeImage::Red:
    case NodeImage::Yellow:
    case NodeImage::Green: {
        // A traffic light: dark housing, three lamps, the lit one bright.
        p.setPen(QPen(QColor(30, 30, 30), 1));
        p.setBrush(QColor(60, 60, 60));
        p.drawRoundedRect(QRectF(4.5, 0.5, 7, 15), 2, 2);
        const QColor lit[] = {QColor(235, 30, 30), QColor(250, 200, 0), QColor(40, 200, 60)};
        const QColor off[] = {QColor(90, 40, 40), QColor(90, 80, 30), QColor(30, 80, 40)};
        const int on = int(image) - int(NodeImage::Red);
        for (int i = 0; i < 3; ++i) {
            p.setPen(Qt::NoPen);
            p.setBrush(i == on ? lit[i] : off[i]);
            p.drawEllipse(QPointF(8, 3.2 + i * 4.8), 1.9, 1.9);
        }
        break;
    }
    }
    return pm;
}

namespace {

void drawPage(QPainter &p, const QRectF &r, const QColor &fill = Qt::white)
{
    QPainterPath path;
    const qreal fold = r.width() * 0.3;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setPen(QPen(QColor(70, 70, 90), 1));
    p.setBrush(fill);
    p.drawPath(path);
}

void drawFolder(QPainter &p)
{
    p.setPen(QPen(QColor(150, 100, 10), 1));
    p.setBrush(QColor(250, 205, 90));
    QPainterPath f;
    f.moveTo(1.5, 4.5);
    f.lineTo(6, 4.5);
    f.lineTo(7.5, 6);
    f.lineTo(14.5, 6);
    f.lineTo(14.5, 13.5);
    f.lineTo(1.5, 13.5);
    f.closeSubpath();
    p.drawPath(f);
}

void drawDisk(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(20, 40, 90), 1));
    p.setBrush(QColor(60, 100, 180));
    p.drawRoundedRect(r, 1.5, 1.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + r.width() * 0.2, r.top() + 1, r.width() * 0.6, r.height() * 0.38));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(r.left() + r.width() * 0.28, r.bottom() - r.height() * 0.38, r.width() * 0.44, r.height() * 0.38 - 0.5));
}

void drawPerson(QPainter &p, const QPointF &at, qreal s)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(at.x(), at.y() - s * 0.35), s * 0.22, s * 0.22);
    QPainterPath body;
    body.moveTo(at.x() - s * 0.38, at.y() + s * 0.45);
    body.quadTo(at.x() - s * 0.38, at.y() - s * 0.08, at.x(), at.y() - s * 0.08);
    body.quadTo(at.x() + s * 0.38, at.y() - s * 0.08, at.x() + s * 0.38, at.y() + s * 0.45);
    body.closeSubpath();
    p.drawPath(body);
}

void drawLetter(QPainter &p, const QRectF &r, const QString &text, const QColor &bg)
{
    p.setPen(QPen(bg.darker(140), 1));
    p.setBrush(bg);
    p.drawEllipse(r);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(int(r.height() * 0.62));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, text);
}

} // namespace

QIcon toolIcon(Glyph glyph)
{
    QPixmap pm = canvas(16, 16);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (glyph) {
    case Glyph::Open:
        drawFolder(p);
        break;
    case Glyph::Save:
        drawDisk(p, QRectF(2.5, 2.5, 11, 11));
        break;
    case Glyph::New:
        drawPage(p, QRectF(3.5, 1.5, 9, 13));
        p.setPen(QPen(QColor(255, 190, 0), 1.2));
        p.drawLine(QPointF(12, 9), QPointF(15, 12));
        p.drawLine(QPointF(15, 9), QPointF(12, 12));
        break;
    case Glyph::LoadAppraiser:
        drawFolder(p);
        drawPerson(p, QPointF(9, 10), 7);
        break;
    case Glyph::SaveAppraiser:
        drawDisk(p, QRectF(1.5, 4.5, 9, 9));
        drawPerson(p, QPointF(11.5, 8), 7);
        break;
    case Glyph::Cut:
        p.setPen(QPen(QColor(60, 60, 60), 1.3));
        p.drawLine(QPointF(4, 1.5), QPointF(10.5, 10));
        p.drawLine(QPointF(12, 1.5), QPointF(5.5, 10));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kBlue, 1.4));
        p.drawEllipse(QPointF(4.5, 12), 2.3, 2.3);
        p.drawEllipse(QPointF(11.5, 12), 2.3, 2.3);
        break;
    case Glyph::Copy:
        drawPage(p, QRectF(1.5, 1.5, 8, 10));
        drawPage(p, QRectF(6.5, 4.5, 8, 10), QColor(225, 235, 255));
        break;
    case Glyph::Paste:
        p.setPen(QPen(QColor(110, 70, 20), 1));
        p.setBrush(QColor(200, 150, 80));
        p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1.5, 1.5);
        p.setBrush(QColor(170, 170, 170));
        p.drawRect(QRectF(4.5, 1.5, 4, 2.5));
        drawPage(p, QRectF(7.5, 6.5, 7, 8.5));
        break;
    case Glyph::Lire:
        drawLetter(p, QRectF(1.5, 1.5, 13, 13), QStringLiteral("L"), QColor(40, 140, 70));
        break;
    case Glyph::Euro:
        drawLetter(p, QRectF(1.5, 1.5, 13, 13), QString(QChar(0x20AC)), QColor(30, 80, 170));
        break;
    }
    return QIcon(pm);
}

QIcon pageIcon(int page)
{
    // Each icon serves a menu item and a page button: draw it once.
    static QIcon cache[13];
    if (page >= 1 && page <= 12 && !cache[page].isNull())
        return cache[page];
    // Colour by section: description pages blue, characteristics green,
    // valuation orange; the number is the page's place in the tree.
    QColor colour = kBlue;
    if (page >= 7 && page <= 9)
        colour = QColor(40, 140, 70);
    else if (page >= 10)
        colour = QColor(215, 110, 20);
    QPixmap pm = canvas(16, 16);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 16);
    g.setColorAt(0, colour.lighter(130));
    g.setColorAt(1, colour.darker(110));
    p.setPen(QPen(colour.darker(150), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(page >= 10 ? 9 : 11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QString::number(page));
    p.end();
    const QIcon icon(pm);
    if (page >= 1 && page <= 12)
        cache[page] = icon;
    return icon;
}

QPixmap splashBar(const QSize &size)
{
    QPixmap pm(size);
    pm.fill(QColor(236, 238, 244));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // Blocks of a progress bar, brighter toward the right, as in a sweep.
    const int block = 9;
    for (int x = 2, i = 0; x + block <= size.width() - 2; x += block + 2, ++i) {
        QLinearGradient g(0, 2, 0, size.height() - 2);
        const int alpha = 80 + (175 * i) / std::max(1, (size.width() / (block + 2)));
        g.setColorAt(0, QColor(120, 170, 240, alpha));
        g.setColorAt(1, QColor(20, 60, 160, alpha));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(QRectF(x, 2, block, size.height() - 4), 1.5, 1.5);
    }
    return pm;
}

QPixmap aboutPicture(const QSize &size)
{
    QPixmap pm(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, size.width(), size.height());
    g.setColorAt(0, QColor(20, 50, 130));
    g.setColorAt(1, QColor(70, 140, 220));
    p.fillRect(pm.rect(), g);
    // A skyline of houses along the bottom.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40));
    int x = 0;
    const int heights[] = {60, 90, 70, 110, 80, 65, 100, 75, 95, 60, 85};
    for (int i = 0; x < size.width(); ++i) {
        const int w = 38 + (i % 3) * 6;
        const int h = heights[i % 11];
        QPainterPath house;
        house.moveTo(x, size.height());
        house.lineTo(x, size.height() - h);
        house.lineTo(x + w / 2.0, size.height() - h - 18);
        house.lineTo(x + w, size.height() - h);
        house.lineTo(x + w, size.height());
        house.closeSubpath();
        p.drawPath(house);
        x += w + 4;
    }
    p.drawPixmap(24, 24, programPicture(72));
    return pm;
}

} // namespace brevan::art
