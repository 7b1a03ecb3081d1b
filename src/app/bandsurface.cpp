// SPDX-License-Identifier: GPL-2.0-or-later
#include "bandsurface.h"

#include "valuation/cadastralsurface.h"

namespace brevan::app {

double cadastralSurfaceForBand(const QVector<SurfaceRow> &rows, const QString &category)
{
    QVector<CadastralRow> cadastral;
    for (const SurfaceRow &r : rows) {
        if (r.description.trimmed().isEmpty() || !(r.area > 0))
            continue;
        CadastralRow c;
        c.description = r.description;
        c.area = r.area;
        c.cls = proposedCadastralClass(r.description);
        cadastral << c;
    }
    return computeCadastralSurface(cadastral, isVillaCategory(category)).surface;
}

double netSurfaceForBand(const QVector<SurfaceRow> &rows)
{
    return CalcolaSuperficieUtile(rows);
}

} // namespace brevan::app
