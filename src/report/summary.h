// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The summary of one appraisal as a document of lines, built in three forms
// (screen, export, print) by one builder. The forms differ only in the number
// of alignment tabs per line, a few texts, and the size and indent with which
// the lines are shown; the values always come as the controls show them.
#include "valuation/coefficients.h"
#include "valuation/completeness.h"
#include "valuation/surfaces.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

namespace brevan::report {

enum class SummaryForm { Screen = 0, Export = 1, Print = 2 };

// Font size and left paragraph indent of a form, in points.
struct SummaryFormStyle {
    int pointSize;
    int leftIndentPt;
};
SummaryFormStyle summaryFormStyle(SummaryForm form);

struct SummaryLine {
    enum class Style { Heading, Body };
    Style style = Style::Body;
    QString text; // plain text; tabs align the values
    // Where the value after the line's first run of tabs stands, counted in
    // default tab stops (half inches) from the left margin; 0 where the
    // stops fall as they may. The tab counts bring the values there with
    // the metrics the layout was drawn with; summaryTabStops() holds them
    // there with any font.
    int valueStop = 0;

    bool operator==(const SummaryLine &) const = default;
};
using SummaryLines = QVector<SummaryLine>;

// Everything the summary reads, taken at the moment of building.
struct SummaryInput {
    // Texts of the text fields and pick lists by persisted name, as shown.
    // Missing names count as empty.
    QHash<QString, QString> texts;
    // Check boxes and option buttons by persisted name.
    QHash<QString, bool> ticks;
    QDate appraisalDate; // DataStimaImmob
    // Lights of nodes 1 to 12 (index 0 for node 1); a red light means empty.
    std::array<Light, 12> lights{};
    // The rows of the surfaces table, in table order.
    QVector<SurfaceRow> surfaceRows;
    // Useful, conventional and commercial surface as the surfaces page shows them.
    QStringList surfaceValues;
    // The rows of the working comparables table by column name, in table order.
    QVector<QHash<QString, QString>> comparables;
    Coefficients coefficients;
    QString valutaCorrente = QStringLiteral(" Lire");
};

SummaryLines buildSummary(const SummaryInput &input, SummaryForm form);

// The tab stops of one line laid out with a paragraph indent, in one unit
// throughout, measured from the start of the paragraph (after the indent):
// the default stops fall every `stop` from the left margin, not from the
// indent, as in a word processor; and the first run of tabs of a line with a
// value column ends on that column whatever the label before it measures
// (labelWidth: the text before the first tab), when the label ends short of
// it. Stops are listed as far as `extent` from the start of the paragraph;
// none for a line without tabs.
QList<qreal> summaryTabStops(const SummaryLine &line, qreal labelWidth, qreal stop, qreal indent, qreal extent);

// The lines joined with "\n", for plain-text output.
QString summaryPlainText(const SummaryLines &lines);

// Alignment tabs of a surfaces-table description in the three forms. The 31
// room names have fixed counts; any other description is placed by length.
std::array<int, 3> surfaceDescriptionTabs(const QString &description);

} // namespace brevan::report
