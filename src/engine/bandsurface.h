// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The surfaces the OMI band is computed on, from the surfaces table's rows.
#include "valuation/cadastralsheet.h"
#include "valuation/surfaces.h"

#include <QString>
#include <QVector>

namespace brevan::engine {

// The cadastral surface (DPR 138/98, allegato C) of the rows, each in the
// class the appraiser chose or, without a choice, the one its room name
// proposes, with the villa rule of categories A/7 and A/8 from the cadastral
// category; 0 when it cannot be computed. The one place the band takes it from.
double cadastralSurfaceForBand(const QVector<SurfaceRow> &rows, const CadastralChoices &choices,
                               const QString &category);

// The net surface a net OMI range is applied to: the useful surface of the
// surfaces page.
double netSurfaceForBand(const QVector<SurfaceRow> &rows);

} // namespace brevan::engine
