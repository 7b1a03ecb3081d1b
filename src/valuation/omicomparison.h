// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The appraisal held against the OMI quotations of its zone: the choice of
// zone, building type, state and semester the appraiser makes, the sale range
// it finds among the quotations kept for the municipality, and the outcome:
// the band on the unit's surface, the valore normale with K1, K2 and K, and
// where the appraisal's own values fall on the band.
#include "valuation/omiband.h"

#include <QDate>
#include <QString>
#include <QVector>

#include <optional>

namespace brevan::omiband {

// Data taken from the quotations is cited so wherever it is shown or printed.
inline const QString kOmiSource = QStringLiteral("Fonte: Agenzia Entrate - OMI");
// The K coefficients' source, said wherever they are shown.
inline const QString kCoefficientsNote = QStringLiteral(
    "I coefficienti K1 e K2 sono quelli comunemente riportati per il Provvedimento del Direttore dell'Agenzia delle "
    "Entrate del 27/07/2007 (il testo del Provvedimento non è stato reperito).");

// One sale range as the municipality's sale table keeps it.
struct Quote {
    QString semester; // "2024/2"
    QString band;     // Fascia
    QString zone;     // "B1"
    QString zoneDescription;
    QString microzone;
    QString type;     // Cod_Tip, "20"
    QString typeName;
    QString state;    // OTTIMO, NORMALE, SCADENTE
    double min = 0;   // €/m²
    double max = 0;
    bool net = false; // the range refers to the net surface
};

// What the appraiser chose; saved with the appraisal.
struct Choice {
    QString zone;
    QString type;
    QString state;
    QString semester; // empty: the latest with a quotation
    QString floor;    // a floorClasses() label; empty: none chosen
    bool isEmpty() const { return zone.isEmpty() && type.isEmpty() && state.isEmpty() && semester.isEmpty() && floor.isEmpty(); }
    bool operator==(const Choice &) const = default;
};

// The OMI state proposed from "Stato di conservazione interno"; empty for a
// judgment the table lacks.
QString stateForInteriorState(const QString &judgment);

// The semesters of the quotations, latest first.
QStringList semestersOf(const QVector<Quote> &quotes);

struct Lookup {
    std::optional<Quote> quote;
    QString missing; // what is missing, when there is no quote: "Nessuna quotazione OMI per …"
};
// The quote of the choice: its semester, or the latest that quotes the zone,
// type and state.
Lookup findQuote(const QVector<Quote> &quotes, const Choice &choice);

// Whether the semester ("2024/2") ended more than two years before the date.
// A semester ends on 30 June or 31 December.
bool isOlderThanTwoYears(const QString &semester, const QDate &valuationDate);

// One of the appraisal's values placed on the band.
struct PlacedValue {
    QString name;
    std::optional<double> value; // €; none when the appraisal has not computed it
    Position position;
};

struct Inputs {
    Lookup lookup;
    Choice choice;
    double grossSurface = 0; // m², the cadastral surface
    double netSurface = 0;   // m², the useful surface of the surfaces page
    QDate valuationDate;
    // The appraisal's values in euro, by name, in the order they are shown.
    QVector<QPair<QString, std::optional<double>>> values;
};

struct Outcome {
    std::optional<Quote> quote;
    QString noBand; // why there is no band, when there is none
    double surface = 0; // m² the range is applied to
    bool netSurface = false;
    std::optional<Band> band;
    double k1 = 0, k2 = 0, k = 0;
    bool floorKnown = false;
    QString floor; // the floor class's label
    std::optional<double> valoreNormale;
    bool oldSemester = false;
    QVector<PlacedValue> values;
    bool hasBand() const { return band.has_value(); }
};

Outcome compare(const Inputs &inputs);

// "127.500,00 €"-like amounts and the lines shared by the window, the
// printed page and the MCA window.
QString euro(double value);
QString surfaceText(const Outcome &o);          // "85 m² (superficie catastale, DPR 138/98)"
QString quoteText(const Quote &q);              // "Semestre 2024/2, zona B1 …, Abitazioni civili, stato NORMALE"
QString bandText(const Outcome &o);             // "95.625,00 € – 127.500,00 €"
QString oldSemesterText(const Quote &q, const QDate &valuationDate);
QString floorText(const Outcome &o);

} // namespace brevan::omiband
