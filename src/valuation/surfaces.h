// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The three surfaces of the unit from the rows of a surfaces table, and the
// judgment on the accessory spaces.
#include <QString>
#include <QVector>

namespace brevan {

struct SurfaceRow {
    QString description;
    double area = 0;
};

// Useful surface: areas of the rooms that count in full.
double CalcolaSuperficieUtile(const QVector<SurfaceRow> &rows);
// Conventional surface from the useful surface U: U × k plus the weighted
// rooms, k = 1.2 below 46 m², 1.1 up to 70 m², 1.0 above.
double CalcolaSuperficieConvenzionale(const QVector<SurfaceRow> &rows, double useful);
// Commercial surface: U plus the weighted rooms; balconies, carriage porches
// and verandas weigh 0.50 up to 0.4 × U each and 0.25 beyond.
double CalcolaSuperficieCommerciale(const QVector<SurfaceRow> &rows, double useful);

// The value as held behind the page (plain number text) and as shown.
QString surfaceValueText(double value);
QString surfaceShownText(const QString &valueText);

struct SurfaceRowCounts {
    int complete = 0; // description and a non-zero area
    int used = 0;     // description or a non-zero area
};
SurfaceRowCounts countSurfaceRows(const QVector<SurfaceRow> &rows);

// ValutaDimensioneSpaziCopertiScoperti: the new judgment, or the current one
// when the commercial surface is empty.
QString ValutaDimensioneSpaziCopertiScoperti(const QVector<SurfaceRow> &rows, const QString &commercialValue,
                                             const QString &current);

// Whether a row names the green areas ("Aree verdi (quota millesimale)").
bool hasGreenAreas(const QVector<SurfaceRow> &rows);

} // namespace brevan
