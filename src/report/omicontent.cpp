// SPDX-License-Identifier: GPL-2.0-or-later
#include "omicontent.h"

#include "model/numbertext.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace brevan::report {

using namespace omiband;

namespace {

QString coefficient(double k)
{
    return QLocale(QLocale::Italian).toString(k, 'f', 3);
}

// The markers' colours, one per value in the order shown.
const QColor kMarkerColours[] = {QColor(0, 90, 170), QColor(190, 90, 0), QColor(20, 130, 60)};
const QColor kBandColour(205, 220, 240);
const QColor kBandEdge(0, 0, 128);
const QColor kNormalColour(150, 0, 120);

} // namespace

QVector<OmiLine> omiLines(const Outcome &o, const QDate &valuationDate)
{
    QVector<OmiLine> lines;
    if (o.quote) {
        lines << OmiLine{QStringLiteral("Quotazione"), quoteText(*o.quote)};
        if (!o.quote->microzone.isEmpty())
            lines << OmiLine{QStringLiteral("Microzona catastale"), o.quote->microzone};
        lines << OmiLine{QStringLiteral("Valori OMI"),
                         QStringLiteral("da %1 a %2 al m² (superficie %3)")
                             .arg(euro(o.quote->min), euro(o.quote->max),
                                  o.quote->net ? QStringLiteral("netta") : QStringLiteral("lorda"))};
        lines << OmiLine{QStringLiteral("Fonte"), QStringLiteral("Agenzia Entrate - OMI")};
    }
    if (!o.hasBand()) {
        lines << OmiLine{QStringLiteral("Fascia"), o.noBand, true};
        return lines;
    }
    lines << OmiLine{QStringLiteral("Superficie"), surfaceText(o)};
    lines << OmiLine{QStringLiteral("Fascia di valore"), bandText(o)};
    if (o.oldSemester)
        lines << OmiLine{QString(), oldSemesterText(*o.quote, valuationDate), true};
    lines << OmiLine{QStringLiteral("K1 (taglio)"), coefficient(o.k1)};
    if (o.floorKnown) {
        lines << OmiLine{QStringLiteral("K2 (piano)"), coefficient(o.k2) + QStringLiteral(" (") + o.floor + u')'};
        lines << OmiLine{QStringLiteral("K = (K1 + 3·K2) / 4"), coefficient(o.k)};
        lines << OmiLine{QStringLiteral("Valore normale"),
                         euro(*o.valoreNormale) + QStringLiteral(" = superficie × (min + (max − min) × K)")};
    } else {
        lines << OmiLine{QStringLiteral("K2 (piano)"), floorText(o), true};
    }
    lines << OmiLine{QString(), kCoefficientsNote};
    for (const PlacedValue &p : o.values) {
        lines << OmiLine{p.name, p.value ? euro(*p.value) + QStringLiteral(": ") + placementText(p.position)
                                         : QStringLiteral("non calcolato")};
    }
    return lines;
}

QStringList omiBandSummary(const Outcome &o)
{
    if (!o.hasBand())
        return {};
    QStringList out;
    out << QStringLiteral("Fascia OMI (%1): %2").arg(o.quote->semester, bandText(o));
    if (o.valoreNormale)
        out << QStringLiteral("Valore normale OMI: %1").arg(euro(*o.valoreNormale));
    out << kOmiSource;
    return out;
}

double omiBandHeight(const QFont &font, int values)
{
    const double line = QFontMetricsF(font).height();
    return line * (values + 0.5) + 6 + std::max(14.0, line * 1.2) + 7 + 2 * line + 4;
}

void paintOmiBand(QPainter &p, const QRectF &area, const Outcome &o, const QFont &font)
{
    if (!o.band)
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(font);
    const QFontMetricsF fm(font);
    // The scale takes in the band and every value, with a margin each side.
    double lo = o.band->low, hi = o.band->high;
    for (const PlacedValue &v : o.values) {
        if (v.value) {
            lo = std::min(lo, *v.value);
            hi = std::max(hi, *v.value);
        }
    }
    const double span = std::max(hi - lo, std::max(1.0, o.band->high * 0.05));
    lo -= span * 0.12;
    hi += span * 0.12;
    const double left = area.left() + 4, right = area.right() - 4;
    const auto xOf = [&](double v) { return left + (v - lo) / (hi - lo) * (right - left); };

    const double line = fm.height();
    const int rows = int(o.values.size());
    const double barTop = area.top() + line * (rows + 0.5) + 6;
    const double barHeight = std::max(14.0, line * 1.2);
    // The band.
    const QRectF bar(QPointF(xOf(o.band->low), barTop), QPointF(xOf(o.band->high), barTop + barHeight));
    p.setPen(QPen(kBandEdge, 1.2));
    p.setBrush(kBandColour);
    p.drawRect(bar);
    // The axis under it with the two ends' amounts.
    p.setPen(QPen(Qt::black, 0.8));
    const double axis = barTop + barHeight + 4;
    p.drawLine(QPointF(left, axis), QPointF(right, axis));
    const auto endLabel = [&](double v, bool atLeft) {
        const QString t = euro(v);
        const double w = fm.horizontalAdvance(t);
        double x = xOf(v) - (atLeft ? w : 0);
        x = std::clamp(x, area.left(), area.right() - w);
        p.drawLine(QPointF(xOf(v), axis - 3), QPointF(xOf(v), axis + 3));
        p.drawText(QPointF(x, axis + 3 + fm.ascent()), t);
    };
    endLabel(o.band->low, true);
    endLabel(o.band->high, false);
    // The valore normale as a tick across the band.
    if (o.valoreNormale) {
        const double x = xOf(*o.valoreNormale);
        p.setPen(QPen(kNormalColour, 2));
        p.drawLine(QPointF(x, barTop - 2), QPointF(x, barTop + barHeight + 2));
        const QString t = QStringLiteral("Valore normale");
        const double w = fm.horizontalAdvance(t);
        p.drawText(QPointF(std::clamp(x - w / 2, area.left(), area.right() - w), axis + 3 + fm.ascent() + line),
                   t);
    }
    // Each value: a marker down to the band, its name on its own row above.
    for (int i = 0; i < rows; ++i) {
        const PlacedValue &v = o.values[i];
        if (!v.value)
            continue;
        const QColor colour = kMarkerColours[i % 3];
        const double x = xOf(*v.value);
        const double labelY = area.top() + line * (i + 1);
        p.setPen(QPen(colour, 1.4, Qt::DashLine));
        p.drawLine(QPointF(x, labelY + 2), QPointF(x, barTop + barHeight));
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        QPainterPath marker;
        marker.moveTo(x - 5, barTop - 8);
        marker.lineTo(x + 5, barTop - 8);
        marker.lineTo(x, barTop);
        marker.closeSubpath();
        p.drawPath(marker);
        p.setPen(colour);
        const QString t = v.name + QStringLiteral(": ") + euro(*v.value);
        const double w = fm.horizontalAdvance(t);
        p.drawText(QPointF(std::clamp(x - w / 2, area.left(), area.right() - w), labelY), t);
    }
    p.restore();
}

} // namespace brevan::report
