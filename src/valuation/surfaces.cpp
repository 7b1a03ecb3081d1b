// SPDX-License-Identifier: GPL-2.0-or-later
#include "surfaces.h"

#include "model/numbertext.h"
#include "valuation/roomnames.h"

namespace brevan {

double CalcolaSuperficieUtile(const QVector<SurfaceRow> &rows)
{
    double u = 0;
    for (const SurfaceRow &r : rows) {
        const RoomName *room = roomName(r.description);
        if (room && room->useful)
            u += r.area;
    }
    return u;
}

double CalcolaSuperficieConvenzionale(const QVector<SurfaceRow> &rows, double useful)
{
    const double k = useful > 70 ? 1.0 : (useful >= 46 ? 1.1 : 1.2);
    double c = useful * k;
    for (const SurfaceRow &r : rows) {
        if (const RoomName *room = roomName(r.description))
            c += room->conventional * r.area;
    }
    return c;
}

double CalcolaSuperficieCommerciale(const QVector<SurfaceRow> &rows, double useful)
{
    double c = useful;
    for (const SurfaceRow &r : rows) {
        const RoomName *room = roomName(r.description);
        if (!room)
            continue;
        if (room->commercialBySize)
            c += (r.area <= 0.4 * useful ? 0.50 : 0.25) * r.area;
        else
            c += room->commercial * r.area;
    }
    return c;
}

QString surfaceValueText(double value)
{
    return FloatToText(value);
}

QString surfaceShownText(const QString &valueText)
{
    return FormattaImporto(TextToFloat(valueText)) + QStringLiteral("  mq");
}

SurfaceRowCounts countSurfaceRows(const QVector<SurfaceRow> &rows)
{
    SurfaceRowCounts n;
    for (const SurfaceRow &r : rows) {
        const bool described = !r.description.isEmpty();
        const bool measured = r.area != 0;
        n.complete += described && measured;
        n.used += described || measured;
    }
    return n;
}

QString ValutaDimensioneSpaziCopertiScoperti(const QVector<SurfaceRow> &rows, const QString &commercialValue,
                                             const QString &current)
{
    double s = 0;
    int n = 0;
    bool cellar = false;
    for (const SurfaceRow &r : rows) {
        const RoomName *room = roomName(r.description);
        if (!room || !room->accessorySpace)
            continue;
        s += r.area;
        ++n;
        cellar = cellar || r.description == QLatin1String("Cantina");
    }
    if (commercialValue.isEmpty())
        return current;
    const double sc = TextToFloat(commercialValue);
    QString judgment = current;
    // Each later rule that holds overwrites the earlier ones.
    if (s == 0)
        judgment = QStringLiteral("Scarso");
    if (s >= 0.3 * sc)
        judgment = QStringLiteral("Scarso");
    if (s >= 0.15 * sc && s < 0.3 * sc)
        judgment = QStringLiteral("Ottimo");
    if (s > 0 && s < 0.15 * sc)
        judgment = QStringLiteral("Sufficiente");
    if (n == 1 && cellar && s <= 6)
        judgment = QStringLiteral("Buono");
    return judgment;
}

bool hasGreenAreas(const QVector<SurfaceRow> &rows)
{
    for (const SurfaceRow &r : rows) {
        if (r.description == QLatin1String("Aree verdi (quota millesimale)"))
            return true;
    }
    return false;
}

} // namespace brevan
