// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The cadastral surface as the appraiser works it out beside the surfaces
// table: for each row the class proposed from its room name, or the one the
// appraiser chose instead, with the part lower than 1,50 m and the wall
// thickness where the class takes them; and the rows read into the
// computation of cadastralsurface.h, with a message for every text that
// cannot be read.
#include "valuation/cadastralsurface.h"
#include "valuation/surfaces.h"

#include <QMap>
#include <QString>
#include <QVector>

#include <optional>

namespace brevan {

// Whether a class counts a part lower than 1,50 m (rooms), and whether it
// takes a wall thickness (walls).
bool cadastralClassTakesLowArea(CadastralClass cls);
bool cadastralClassTakesWallThickness(CadastralClass cls);

// What the appraiser changed on one row of the surfaces table. It belongs to
// the row while the row keeps the description it was made for.
struct CadastralChoice {
    QString description;               // the row's description when it was made
    std::optional<CadastralClass> cls; // none: the class proposed from the name
    QString lowArea;                   // m² lower than 1,50 m, as typed
    QString wallThickness;             // cm, as typed
    // Nothing differs from the proposal.
    bool isEmpty() const;
    bool operator==(const CadastralChoice &) const = default;
};

// The choices by row of the surfaces table (from 0), moved along as rows are
// inserted and removed there. Rows can be many (a table holds up to 10.000):
// only the rows with a choice are held.
class CadastralChoices {
public:
    const QMap<int, CadastralChoice> &byRow() const { return m_rows; }
    bool isEmpty() const { return m_rows.isEmpty(); }
    void clear() { m_rows.clear(); }
    // The choice of a row with this description now; empty when there is
    // none or it was made for another description.
    CadastralChoice at(int row, const QString &description) const;
    // An empty choice removes the row's.
    void set(int row, const CadastralChoice &choice);

    void rowsInserted(int first, int count);
    void rowsRemoved(int first, int count);
    // Drops the choices of rows that are gone or now hold another
    // description. Returns whether any was dropped.
    bool prune(const QVector<SurfaceRow> &rows);

    bool operator==(const CadastralChoices &) const = default;

private:
    QMap<int, CadastralChoice> m_rows;
};

// One row of the surfaces table as the cadastral surface counts it.
struct CadastralLine {
    int row = 0; // in the surfaces table, from 0
    QString description;
    double area = 0;
    CadastralClass cls = CadastralClass::Main;
    bool proposed = true; // cls is the class proposed from the name
    QString lowArea;      // as typed
    QString wallThickness;
    double contribution = 0;
};

struct CadastralSheet {
    QVector<CadastralLine> lines; // the rows with a description, in table order
    CadastralResult result;
    bool villa = false;
    // What keeps the surface from being computed, one line each.
    QStringList issues;
    // The surface can be used: no issue and some row counted.
    bool hasSurface() const { return issues.isEmpty() && result.surface > 0; }
};

// The rows of the surfaces table with the choices, for a unit of group R/2
// when villa. A row without a description counts nothing, as on the surfaces
// page.
CadastralSheet buildCadastralSheet(const QVector<SurfaceRow> &rows, const CadastralChoices &choices, bool villa);

} // namespace brevan
