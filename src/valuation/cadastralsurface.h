// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The cadastral surface of a residential unit: the surface the OMI ranges
// refer to, computed by the technical rules for the units of group R in
// DPR 23 marzo 1998 n. 138, allegato C ("Norme tecniche per la determinazione
// della superficie catastale delle unità immobiliari a destinazione
// ordinaria"), from the rows of the surfaces table, each given the class the
// rule puts it in.
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace brevan {

// The classes of the allegato's criteria for groups R and P, in the order a
// pick list offers them.
enum class CadastralClass {
    Main,           // lettera a): main rooms and direct accessories, 100 %
    IndirectLinked, // lettera b): indirect accessories communicating with a), 50 %
    IndirectApart,  // lettera b): not communicating, 25 %
    BalconyLinked,  // lettera c): balconies, terraces and the like communicating, 30 % / 10 %
    BalconyApart,   // lettera c): not communicating, 15 % / 5 %
    OpenArea,       // lettera d): exclusive open area, 10 % / 2 %
    Garden,         // lettera d): parks, gardens, courts; for R/2 only beyond five times a)
    Stairs,         // criteri generali 3: stairs, ramps, lifts, once as horizontal projection
    Walls,          // criteri generali 1: interior and perimeter walls, up to 50 cm
    SharedWalls,    // criteri generali 1: walls shared with other units, 50 % up to 25 cm
    NotCounted,     // common parts, spaces the rule does not count
};

struct CadastralClassInfo {
    CadastralClass cls;
    const char *label; // as the pick list shows it
};
// Every class with its label, in pick-list order.
const QVector<CadastralClassInfo> &cadastralClasses();
QString cadastralClassLabel(CadastralClass cls);
std::optional<CadastralClass> cadastralClassOfLabel(const QString &label);

// The class proposed for a row of the surfaces table from its description
// (one of the surfaces grid's room names); Main for a name the table lacks.
CadastralClass proposedCadastralClass(const QString &description);

struct CadastralRow {
    QString description;
    double area = 0;          // m², as on the surfaces page
    CadastralClass cls = CadastralClass::Main;
    double lowArea = 0;       // m² of the row lower than 1,50 m (not counted)
    double wallThickness = 0; // cm, walls only; 0 when not given (the area counts as is)
};

struct CadastralResult {
    QVector<double> contributions; // m² each row adds, in row order
    double mainSurface = 0;        // the surface of lettera a), the limit of lettera d)
    double exact = 0;              // the sum before rounding
    double surface = 0;            // rounded to the square metre
};

// villa: the unit is of group R/2 (cadastral categories A/7 and A/8), whose
// parks and gardens count only beyond five times the main surface.
CadastralResult computeCadastralSurface(const QVector<CadastralRow> &rows, bool villa);

// Whether a cadastral category ("A/7") is of group R/2.
bool isVillaCategory(const QString &category);

} // namespace brevan
