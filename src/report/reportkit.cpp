// SPDX-License-Identifier: GPL-2.0-or-later
#include "reportkit.h"

#include "model/numbertext.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace brevan::report {

// ---------------------------------------------------------------- styles

int px(double points)
{
    return qRound(points * 96.0 / 72.0);
}

QFont arial(double points, bool bold, bool italic)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(px(points));
    f.setBold(bold);
    f.setItalic(italic);
    f.setStyleStrategy(QFont::PreferOutline);
    return f;
}

const QFont &labelFont()
{
    static const QFont f = arial(12, true, false);
    return f;
}
const QFont &valueFont()
{
    static const QFont f = arial(12, false, true);
    return f;
}
const QFont &groupFont()
{
    static const QFont f = arial(14, true, true);
    return f;
}
const QFont &titleFont()
{
    static const QFont f = [] {
        QFont t(QStringLiteral("Arial"));
        t.setPixelSize(21); // 16 pt
        t.setStyleStrategy(QFont::PreferOutline);
        return t;
    }();
    return f;
}

const QLocale &italian()
{
    static const QLocale l(QLocale::Italian, QLocale::Italy);
    return l;
}

// ---------------------------------------------------------------- values

QString joinedAll(const ReportInput &in, std::initializer_list<const char *> names, const QString &separator)
{
    QStringList parts;
    for (const char *n : names) {
        const QString v = in.text(QLatin1String(n));
        if (v.isEmpty())
            return {};
        parts << v;
    }
    return parts.join(separator);
}

QString suffixed(const QString &value, const QString &suffix)
{
    return value.isEmpty() ? QString() : value + suffix;
}

QString percent(double value)
{
    return FormattaImporto(value) + QStringLiteral(" %");
}

QImage preparedPicture(const QImage &source, double boxSide, ReportPainter::Fit fit)
{
    if (source.isNull())
        return {};
    // The pixels the printed box needs at kPictureDpi, and no more: a
    // 12-megapixel photograph would otherwise travel whole into the PDF. A
    // picture stretched over its box is reduced in each direction on its
    // own, as it will print.
    const int limit = int(std::ceil(boxSide * kPictureDpi / 96.0));
    QImage picture = source;
    if (source.width() > limit || source.height() > limit) {
        picture = fit == ReportPainter::Fit::Stretch
                      ? source.scaled(std::min(source.width(), limit), std::min(source.height(), limit),
                                      Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      : source.scaled(limit, limit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    // Opaque on white, as it prints: the PDF engine then stores it as JPEG
    // and PDF/A has no transparency to flatten.
    if (picture.hasAlphaChannel()) {
        QImage opaque(picture.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter p(&opaque);
        p.drawImage(0, 0, picture);
        p.end();
        picture = opaque;
    }
    return picture;
}


// ---------------------------------------------------------------- painter

ReportPainter::ReportPainter(QPainter &painter, QPagedPaintDevice &device) : p(painter), m_device(device)
{
    m_scale = device.logicalDpiY() / 96.0;
    m_height = device.pageLayout().paintRect(QPageLayout::Point).height() * 96.0 / 72.0;
    applyScale();
}

void ReportPainter::newPage()
{
    if (m_pagesStarted > 0)
        m_device.newPage();
    ++m_pagesStarted;
    applyScale();
    y = 0;
}

void ReportPainter::band(const QString &title)
{
    const QRectF r(0, 0, kContentWidth, kBandHeight);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(170, 205, 245));
    g.setColorAt(1, QColor(0, 35, 110));
    p.fillRect(r, g);
    smallPicture(QRectF(4, 4, 32, 32));
    p.setFont(titleFont());
    p.setPen(Qt::white);
    p.drawText(QRectF(44, 0, kContentWidth - 48, kBandHeight), Qt::AlignLeft | Qt::AlignVCenter, title);
    y = kBandHeight + kBelowBand;
}

double ReportPainter::text(const QRectF &box, int flags, const QFont &font, const QColor &colour, const QString &s)
{
    const QFontMetricsF fm(font);
    if (s.isEmpty())
        return fm.lineSpacing();
    const QRectF needed = fm.boundingRect(QRectF(box.x(), box.y(), box.width(), 1e6),
                                          flags | Qt::TextWordWrap, s);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRectF(box.x(), box.y(), box.width(), std::max(needed.height(), box.height())),
               flags | Qt::TextWordWrap, s);
    return std::max(needed.height(), fm.lineSpacing());
}

void ReportPainter::picture(const QRectF &frame, const QImage &image, Fit fit)
{
    p.setPen(QPen(QColor(128, 128, 128), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame);
    if (image.isNull())
        return;
    const QRectF inner = frame.adjusted(2, 2, -2, -2);
    QSizeF size = image.size();
    size.scale(inner.size(), fit == Fit::Stretch ? Qt::IgnoreAspectRatio : Qt::KeepAspectRatio);
    const QRectF target(inner.center().x() - size.width() / 2, inner.center().y() - size.height() / 2,
                        size.width(), size.height());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, image);
}

double ReportPainter::mark(double x, double top, double width, const QString &caption, bool ticked)
{
    if (ticked)
        tick(QRectF(x, top + 1, kTickSize, kTickSize));
    return std::max(kRowPitch, text(QRectF(x + kTickSize + 5, top, width - kTickSize - 5, 0), Qt::AlignLeft,
                                    valueFont(), ticked ? Qt::black : kSilver, caption));
}

void ReportPainter::applyScale()
{
    p.resetTransform();
    p.scale(m_scale, m_scale);
}

void ReportPainter::tick(const QRectF &r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(96, 96, 96), 1));
    p.setBrush(Qt::white);
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    QPainterPath check;
    check.moveTo(r.left() + 3.5, r.top() + 9);
    check.lineTo(r.left() + 7, r.top() + 13);
    check.lineTo(r.left() + 13.5, r.top() + 4);
    p.setPen(QPen(QColor(0, 110, 0), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(check);
    p.restore();
}

void ReportPainter::smallPicture(const QRectF &r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    p.setBrush(QColor(60, 110, 190));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    QPainterPath roof;
    roof.moveTo(r.left() + 5, r.top() + 16);
    roof.lineTo(r.center().x(), r.top() + 6);
    roof.lineTo(r.right() - 5, r.top() + 16);
    roof.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawPath(roof);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + 9, r.top() + 16, r.width() - 18, 11));
    p.setBrush(QColor(60, 110, 190));
    p.drawRect(QRectF(r.center().x() - 2.5, r.top() + 20, 5, 7));
    p.restore();
}

// ---------------------------------------------------------------- helpers

double labelValueRow(ReportPainter &rp, double x, double valueX, double right, const QString &label,
                     const QString &value, bool valueRight)
{
    const QFontMetricsF lm(labelFont());
    const double top = rp.y;
    const double labelHeight = rp.text(QRectF(x, top, right - x, 0), Qt::AlignLeft, labelFont(), kNavy, label);
    // Where the value goes depends on the label alone, so that an empty
    // appraisal prints its labels where a full one does.
    double valueTop = top;
    if (x + lm.horizontalAdvance(label) + 6 > valueX)
        valueTop = top + labelHeight;
    double valueHeight = 0;
    if (!value.isEmpty())
        valueHeight = rp.text(QRectF(valueX, valueTop, right - valueX, 0), valueRight ? Qt::AlignRight : Qt::AlignLeft,
                              valueFont(), Qt::black, value);
    const double bottom = std::max({top + labelHeight, valueTop + valueHeight, valueTop + QFontMetricsF(valueFont()).lineSpacing()});
    rp.y = std::max(top + kRowPitch, bottom + (kRowPitch - lm.lineSpacing()));
    return rp.y;
}

void groupCaption(ReportPainter &rp, const QString &caption, double x)
{
    const double h = rp.text(QRectF(x, rp.y, kContentWidth - x, 0), Qt::AlignLeft, groupFont(), Qt::black, caption);
    rp.y += h + 8;
}

void flowColumns(ReportPainter &rp, const Columns &c, const ColumnStyle &left, const ColumnStyle &right,
                 const QString &repeatedTitle)
{
    const int n = std::max(c.left.size(), c.right.size());
    for (int i = 0; i < n; ++i) {
        QString l = c.left.value(i);
        const QString r = c.right.value(i);
        double indent = 0;
        while (l.startsWith(QLatin1Char('\t'))) {
            indent += kTabWidth;
            l.remove(0, 1);
        }
        const int wrap = Qt::TextWordWrap;
        const double lh = QFontMetricsF(*left.font)
                              .boundingRect(QRectF(0, 0, left.width - indent, 1e6), int(left.align) | wrap, l.isEmpty() ? QStringLiteral(" ") : l)
                              .height();
        const double rh = QFontMetricsF(*right.font)
                              .boundingRect(QRectF(0, 0, right.width, 1e6), int(right.align) | wrap, r.isEmpty() ? QStringLiteral(" ") : r)
                              .height();
        const double h = std::max(lh, rh);
        if (rp.y + h > rp.height()) {
            rp.newPage();
            if (!repeatedTitle.isEmpty())
                rp.band(repeatedTitle);
        }
        if (!l.trimmed().isEmpty())
            rp.text(QRectF(left.x + indent, rp.y, left.width - indent, 0), int(left.align), *left.font, left.colour, l);
        if (!r.trimmed().isEmpty())
            rp.text(QRectF(right.x, rp.y, right.width, 0), int(right.align), *right.font, right.colour, r);
        rp.y += h;
    }
}

// ---------------------------------------------------------------- rows

ValueOf field(const char *name)
{
    return [name](const ReportInput &in) { return in.text(QLatin1String(name)); };
}
ValueOf fields(std::initializer_list<const char *> names, const char *separator)
{
    const std::vector<const char *> list(names);
    return [list, separator](const ReportInput &in) {
        QStringList parts;
        for (const char *n : list) {
            const QString v = in.text(QLatin1String(n));
            if (v.isEmpty())
                return QString();
            parts << v;
        }
        return parts.join(QString::fromUtf8(separator));
    };
}
ValueOf withSuffix(const char *name, const char *suffix)
{
    return [name, suffix](const ReportInput &in) { return suffixed(in.text(QLatin1String(name)), QString::fromUtf8(suffix)); };
}
ValueOf withCurrency(const char *name, const char *after)
{
    return [name, after](const ReportInput &in) {
        return suffixed(in.text(QLatin1String(name)), QStringLiteral(" ") + in.currency + QString::fromUtf8(after));
    };
}
ValueOf firstTicked(std::initializer_list<std::pair<const char *, const char *>> options)
{
    const std::vector<std::pair<const char *, const char *>> list(options);
    return [list](const ReportInput &in) {
        for (const auto &[name, text] : list) {
            if (in.tick(QLatin1String(name)))
                return QString::fromUtf8(text);
        }
        return QString();
    };
}

RowsPage::RowsPage(int number, std::vector<ValueRule> rules, double valueX, double right)
    : ReportPage(number), m_rules(std::move(rules)), m_values(m_rules.size()), m_valueX(valueX), m_right(right)
{
}

void RowsPage::reset()
{
    std::fill(m_values.begin(), m_values.end(), QString());
}

void RowsPage::fillValues(const ReportInput &in)
{
    for (std::size_t i = 0; i < m_rules.size(); ++i)
        m_values[i] = m_rules[i].value(in);
}

void RowsPage::paintRows(ReportPainter &rp, bool valueRight) const
{
    for (std::size_t i = 0; i < m_rules.size(); ++i) {
        if (m_rules[i].groupStart && i > 0)
            rp.y += kGroupGap;
        labelValueRow(rp, 0, m_valueX, m_right, QString::fromUtf8(m_rules[i].label), m_values[i], valueRight);
    }
}

// ---------------------------------------------------------------- ranges

void rangeHeads(ReportPainter &rp, const QString &group)
{
    const double top = rp.y;
    rp.text(QRectF(0, top, kMinimumRight - 80, 0), Qt::AlignLeft, groupFont(), Qt::black, group);
    for (const auto &[text, right] : {std::pair{QStringLiteral("Minimo"), kMinimumRight},
                                      std::pair{QStringLiteral("Massimo"), kMaximumRight},
                                      std::pair{QStringLiteral("Calcolato"), kContentWidth}})
        rp.text(QRectF(right - 100, top + 3, 100, 0), Qt::AlignRight, labelFont(), kNavy, text);
    rp.y = top + QFontMetricsF(groupFont()).lineSpacing() + 10;
}

void rangeRow(ReportPainter &rp, const QString &label, const QString &minimum, const QString &maximum,
              const QString &computed)
{
    const double top = rp.y;
    const double h = rp.text(QRectF(0, top, kMinimumRight - 90, 0), Qt::AlignLeft, labelFont(), kNavy, label);
    rp.text(QRectF(kMinimumRight - 90, top, 90, 0), Qt::AlignRight, valueFont(), Qt::black, minimum);
    rp.text(QRectF(kMaximumRight - 90, top, 90, 0), Qt::AlignRight, valueFont(), Qt::black, maximum);
    rp.text(QRectF(kContentWidth - 100, top, 100, 0), Qt::AlignRight, valueFont(), Qt::black, computed);
    rp.y = top + std::max(kRowPitch, h + 4);
}

QVector<RangeLine> capitalisationLines(const QVector<RangeRow> &rows, const Coefficients &c)
{
    QVector<RangeLine> lines;
    for (const RangeRow &r : rows)
        lines.append({QString::fromUtf8(r.label), QString::fromUtf8(r.minimum), QString::fromUtf8(r.maximum),
                      percent(c[r.coefficient])});
    return lines;
}

} // namespace brevan::report
