// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the printed report's pages share: the styles, the painter that lays a
// page out in 96-dpi units, the row and column helpers, and the factories of
// the pages (one file each under pages/). Internal to the report.
#include "reportpages.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLocale>
#include <QRectF>
#include <QString>
#include <QVector>

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

class QPainter;

namespace brevan::report {

// ---------------------------------------------------------------- styles

inline constexpr double kContentWidth = 624; // A4 less 25 mm and 20 mm, at 96 dpi
inline constexpr double kBandHeight = 40;
inline constexpr double kBelowBand = 20;
inline constexpr double kRowPitch = 22; // one label/value row
inline constexpr double kGroupGap = 18; // blank space between groups of rows
inline constexpr double kTabWidth = 48; // the rich-text default tab stop, half an inch
inline constexpr double kTickSize = 17;

inline const QColor kNavy(0, 0, 128);
inline const QColor kSilver(192, 192, 192);

// Points to 96-dpi pixels: the painter is scaled, so fonts are sized in
// pixels (a point size would be scaled twice on a high-resolution device).
int px(double points);
QFont arial(double points, bool bold, bool italic);
const QFont &labelFont();
const QFont &valueFont();
const QFont &groupFont();
const QFont &titleFont();
const QLocale &italian();

// ---------------------------------------------------------------- values

// The texts joined, or empty when any of them is empty.
QString joinedAll(const ReportInput &in, std::initializer_list<const char *> names, const QString &separator);
QString suffixed(const QString &value, const QString &suffix);
QString percent(double value);
// ---------------------------------------------------------------- painter

// The painter of one report: 96-dpi layout units on the device's paint
// rectangle, the printed page, and the vertical position on it.
class ReportPainter {
public:
    ReportPainter(QPainter &painter, QPagedPaintDevice &device);

    QPainter &p;
    double y = 0;

    double height() const { return m_height; }

    void newPage();
    void band(const QString &title);
    // Text in a box; returns the height it took (at least one line).
    double text(const QRectF &box, int flags, const QFont &font, const QColor &colour, const QString &s);
    // How a picture takes its frame: stretched over the whole of it, or
    // scaled with its proportions kept and centred.
    enum class Fit { Stretch, KeepProportions };

    // A framed picture box with the picture, when there is one, inside.
    void picture(const QRectF &frame, const QImage &image, Fit fit);
    // A mark: the tick and a black caption when ticked, a silver caption alone
    // when not. Returns the height taken.
    double mark(double x, double top, double width, const QString &caption, bool ticked);

private:
    void applyScale();
    void tick(const QRectF &r);
    // The small picture at the band's left end: a house on a light tile.
    void smallPicture(const QRectF &r);

    QPagedPaintDevice &m_device;
    double m_scale = 1;
    double m_height = 971;
    int m_pagesStarted = 0;
};

// A picture at the resolution its printed box needs (kPictureDpi), opaque:
// enough for a printer, and a 20-megapixel photograph does not travel whole
// into every page of a preview or into the PDF.
QImage preparedPicture(const QImage &source, double boxSide, ReportPainter::Fit fit);

// A label and its value on one row; the value goes under the label when the
// label reaches into the value's column, and wraps within its column.
double labelValueRow(ReportPainter &rp, double x, double valueX, double right, const QString &label,
                     const QString &value, bool valueRight = false);
void groupCaption(ReportPainter &rp, const QString &caption, double x = 0);

struct ColumnStyle {
    double x;
    double width;
    const QFont *font;
    QColor colour;
    Qt::Alignment align;
};

// Two aligned columns flowing over as many printed pages as they need; on a
// new page the band is repeated when asked, otherwise the columns go on from
// the top.
void flowColumns(ReportPainter &rp, const Columns &c, const ColumnStyle &left, const ColumnStyle &right,
                 const QString &repeatedTitle);

// ---------------------------------------------------------------- rows

using ValueOf = std::function<QString(const ReportInput &)>;

// A label with the rule that gives its value, and the blank space before it.
struct ValueRule {
    const char *label;
    ValueOf value;
    bool groupStart = false;
};

ValueOf field(const char *name);
ValueOf fields(std::initializer_list<const char *> names, const char *separator);
ValueOf withSuffix(const char *name, const char *suffix);
// + currency: one space followed by ValutaCorrente (itself " Lire" or " Euro").
ValueOf withCurrency(const char *name, const char *after = "");
ValueOf firstTicked(std::initializer_list<std::pair<const char *, const char *>> options);

// A page of label/value rows filled from a table of rules.
class RowsPage : public ReportPage {
public:
    RowsPage(int number, std::vector<ValueRule> rules, double valueX, double right);

    void reset() override;

protected:
    void fillValues(const ReportInput &in) override;
    void paintRows(ReportPainter &rp, bool valueRight = false) const;

    std::vector<ValueRule> m_rules;
    std::vector<QString> m_values;
    double m_valueX;
    double m_right;
};

// A tick box and its caption, by the field that holds the tick.
struct MarkDef {
    const char *field;
    const char *caption;
};

// ---------------------------------------------------------------- ranges (pages 9, 10)

inline constexpr double kMinimumRight = 420;
inline constexpr double kMaximumRight = 520;

struct RangeLine {
    QString label, minimum, maximum, computed;
};

void rangeHeads(ReportPainter &rp, const QString &group);
void rangeRow(ReportPainter &rp, const QString &label, const QString &minimum, const QString &maximum,
              const QString &computed);
QVector<RangeLine> capitalisationLines(const QVector<RangeRow> &rows, const Coefficients &c);

// ---------------------------------------------------------------- the pages

std::unique_ptr<ReportPage> makeCoverPage();             // 1
std::unique_ptr<ReportPage> makeAppraiserPage();         // 2
std::unique_ptr<ReportPage> makeUnitPage();              // 3
std::unique_ptr<ReportPage> makeSurfacesPage();          // 4
std::unique_ptr<ReportPage> makeLocalisationPage();      // 5
std::unique_ptr<ReportPage> makePositionTypologyPage();  // 6
std::unique_ptr<ReportPage> makeIncomePage();            // 7
std::unique_ptr<ReportPage> makeComparablesPage();       // 8
std::unique_ptr<ReportPage> makeParametersPage1();       // 9
std::unique_ptr<ReportPage> makeParametersPage2();       // 10
std::unique_ptr<ReportPage> makeResultsPage();           // 11
std::unique_ptr<ReportPage> makeMcaPage();               // 12, "Stima MCA"
std::unique_ptr<ReportPage> makeOmiPage();               // 13, "Quotazioni OMI"

// The market comparison's tables and result from the painter's position,
// flowing onto new pages under a band with the title given.
void paintMcaDocument(ReportPainter &rp, const McaDocument &document, const QString &bandTitle);

} // namespace brevan::report
