// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The OMI comparison's content, shared by its window, the printed page
// "Quotazioni OMI" and the MCA window: labelled lines, and the drawing of the
// band with the appraisal's values marked on it.
#include "valuation/omicomparison.h"

#include <QDate>
#include <QFont>
#include <QRectF>
#include <QString>
#include <QVector>

class QPainter;

namespace brevan::report {

struct OmiLine {
    QString label;
    QString value;
    bool warning = false;
};

// Everything the comparison shows, in order: the quotation used and its
// source, the surface, the band, the old-semester warning, K1, K2, K, the
// valore normale with its note, and each value placed on the band. Without a
// band: the quotation (when found), and why there is no band.
QVector<OmiLine> omiLines(const omiband::Outcome &outcome, const QDate &valuationDate);

// The band's lines for the MCA window: "Fascia OMI: … – …", the valore
// normale, the source. Empty without a band.
QStringList omiBandSummary(const omiband::Outcome &outcome);

// The height the drawing needs for its values in this font.
double omiBandHeight(const QFont &font, int values);

// The band as a bar from its low to its high end, the valore normale as a
// tick on it, and each value as a marker above it with its name, the scale
// stretched to take in values that fall outside. Paints nothing without a band.
void paintOmiBand(QPainter &painter, const QRectF &area, const omiband::Outcome &outcome, const QFont &font);

} // namespace brevan::report
