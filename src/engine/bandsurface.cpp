// SPDX-License-Identifier: GPL-2.0-or-later
#include "bandsurface.h"

#include "valuation/cadastralsheet.h"
#include "valuation/cadastralsurface.h"

namespace brevan::engine {

double cadastralSurfaceForBand(const QVector<SurfaceRow> &rows, const CadastralChoices &choices,
                               const QString &category)
{
    // The classes the appraiser chose in the cadastral surface's window, the
    // proposed ones elsewhere; a surface that window cannot compute gives no band.
    const CadastralSheet sheet = buildCadastralSheet(rows, choices, isVillaCategory(category));
    return sheet.hasSurface() ? sheet.result.surface : 0;
}

double netSurfaceForBand(const QVector<SurfaceRow> &rows)
{
    return CalcolaSuperficieUtile(rows);
}

} // namespace brevan::engine
