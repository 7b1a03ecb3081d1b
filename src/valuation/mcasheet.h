// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The market comparison as the user writes it: the texts of the data table
// and of the parameters, exactly as typed (and as saved), their labels, and
// the reading of those texts into numbers with a clear Italian message for
// every cell that cannot be used.
#include "valuation/mca.h"
#include "valuation/surfaces.h"

#include <QDate>
#include <QString>
#include <QVector>

#include <array>
#include <optional>

namespace brevan::mca {

// One column of the data table: the subject or a comparable. The subject has
// no sale date, price or source of its own.
struct SheetColumn {
    std::array<QString, kRowCount> texts{}; // by Row; the lift's entry is unused
    bool lift = false;

    QString text(Row r) const { return texts[std::size_t(r)]; }
    void setText(Row r, const QString &t) { texts[std::size_t(r)] = t; }
    bool isBlank() const;
    bool operator==(const SheetColumn &) const = default;
};

struct Sheet {
    SheetColumn subject;
    QVector<SheetColumn> comparables;
    std::array<QString, kParamCount> params;
    std::array<bool, kFeatureCount> unknown{};
    // The subject's column was written by the user (or came from a file),
    // not proposed from the pages.
    bool subjectEdited = false;
    // The subject's surfaces proposed from the pages are the cadastral
    // surface (DPR 138/98), not the rooms of the surfaces table.
    bool cadastralSubject = false;

    // Three empty comparables and the parameters at their defaults.
    static Sheet blank();
    QString param(Param p) const { return params[std::size_t(p)]; }
    void setParam(Param p, const QString &t) { params[std::size_t(p)] = t; }
    // Anything the user gave beyond what a blank sheet and the pages hold:
    // a comparable's text, a parameter changed, a price to estimate, the
    // subject edited. An appraisal saves and prints its comparison only then.
    bool hasData() const;
    bool operator==(const Sheet &) const = default;
};

struct RowDef {
    Row row;
    const char *label;
    const char *hint;
    bool subject;   // the subject has a value in this row
    bool numeric;
};
const std::array<RowDef, kRowCount> &rowDefs();
const RowDef &rowDef(Row r);

struct ParamDef {
    Param param;
    const char *label;
    const char *defaultText;
    const char *hint;
};
const std::array<ParamDef, kParamCount> &paramDefs();
const ParamDef &paramDef(Param p);

// The label of a feature's marginal price, with its unit ("Piano (€/piano)").
QString featureLabel(Feature f);
// The unit in which an estimated price of the feature is given ("€/piano").
QString featureUnit(Feature f);
// The data row that holds a feature's amount (the date's is the sale date).
Row rowOf(Feature f);

// Number text as the program writes it: "," for decimals, "." between
// groups of three digits, an optional sign; a trailing "€", "%" or "mq" is
// allowed. A "." that does not separate a group of three digits is not taken
// for a decimal point: the text is refused instead of misread.
struct NumberText {
    enum class Status { Empty, Invalid, Number };
    Status status = Status::Empty;
    double value = 0;
};
NumberText readNumberText(const QString &text);
// A cell's text as the tables show it: the number of a price or surface in
// number text ("165.000,00"), a whole floor, state or count without decimals
// ("3"); a text that is no number, or a figure that two decimals would round,
// as typed.
QString shownText(Row row, const QString &typed);

// "03/2024", "3/2024", "03-2024"; nullopt otherwise.
std::optional<MonthYear> readMonthYear(const QString &text);

// What the pages tell of the subject, for its proposed column.
struct SubjectFromPages {
    QVector<SurfaceRow> surfaces; // the surfaces table
    QString floor;                // PianoImmob
    bool lift = false;            // Ascensore
    QString interiorState;        // StatoConservInt
    // The subject's surfaces are the cadastral surface: S₁ is that surface,
    // which already holds the accessory spaces, and the other surfaces are 0.
    // No value: it cannot be computed now, and S₁ stays empty.
    bool cadastral = false;
    std::optional<double> cadastralSurface;
};
// The subject's column proposed from the pages: the rooms of the useful
// surface give S₁, balconies and terraces, cellar, garage and garden come from
// their rooms, the "Bagno" and "Servizio" rows count the bathrooms, and the
// interior state of repair gives the maintenance step. With the cadastral
// surface chosen, S₁ is that surface and the secondary surfaces are 0.
SheetColumn proposeSubject(const SubjectFromPages &pages);
// The pages' proposal taken into a subject's column the user wrote in: each
// proposed text replaces the one in the column, an empty proposal never
// empties a cell. The rows whose written value would change (the lift
// included), so the user is asked first.
struct SubjectProposal {
    SheetColumn column;
    QVector<Row> overwritten;
};
SubjectProposal takeProposal(const SheetColumn &current, const SheetColumn &proposed);
// The 1–5 maintenance step of an interior state of repair; 0 for none.
int maintenanceStepOf(const QString &interiorState);

// The texts read and checked: the numbers to compute with, or the issues
// (never both empty).
struct Reading {
    std::optional<Input> input;
    QVector<Issue> issues;
};
Reading readSheet(const Sheet &sheet, const QDate &valuationDate);

// Reading and computing in one go: the issues of reading, or the outcome.
Outcome evaluate(const Sheet &sheet, const QDate &valuationDate);

// A column's title: "Soggetto", "Comparabile 1", …
QString columnTitle(int column);
// Where an issue lies, in words: "Comparabile 2, Prezzo (€)".
QString placeText(const Place &place);

} // namespace brevan::mca
