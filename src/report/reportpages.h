// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The printed report: eleven A4 page layouts painted with QPainter on any
// paged device (PDF writer, printer, print preview). Layout coordinates are
// pixels at 96 dpi; the painter is scaled to the device.
//
// The pages are built once and kept: every preview resets all of them and
// fills them again from a ReportInput, so nothing of an earlier appraisal can
// survive into the next report. The input is plain data, so the pages never
// look at a widget.
#include "report/pdfa.h"
#include "report/mcadocument.h"
#include "valuation/omicomparison.h"
#include "valuation/coefficients.h"
#include "valuation/completeness.h"
#include "valuation/surfaces.h"

#include <QDate>
#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <memory>
#include <optional>

class QPagedPaintDevice;
class QPainter;

namespace brevan::report {

// One row of the working comparables table, by field name.
using ComparableRow = QHash<QString, QString>;

struct ReportInput {
    // Text fields of the appraisal record as the pages show them, by
    // persisted name; a missing name reads as empty.
    QHash<QString, QString> texts;
    // Logical fields (ticks and options), by persisted name.
    QHash<QString, bool> ticks;
    QDate appraisalDate; // DataStimaImmob
    // The page-tree lights of nodes 1 to 12 (index 0 is node 1).
    std::array<Light, 12> lights{};
    // The surfaces table in table order.
    QVector<SurfaceRow> surfaces;
    // The three surfaces exactly as the surfaces page shows them.
    QString usefulShown, conventionalShown, commercialShown;
    // The source pictures of the photograph and the two plans.
    QImage photo, areaPlan, unitPlan;
    // The working comparables table in table order.
    QVector<ComparableRow> comparables;
    Coefficients coefficients;
    QString currency = QStringLiteral(" Lire"); // ValutaCorrente
    QDate today;                                // the day of the preview
    // The market comparison, when the appraisal has one.
    std::optional<McaDocument> mca;
    // The comparison with the OMI quotations, when the appraisal has a band.
    std::optional<omiband::Outcome> omi;

    QString text(const QString &name) const { return texts.value(name); }
    bool tick(const QString &name) const { return ticks.value(name, false); }
    // Whether node n's light is anything but red.
    bool lightNotEmpty(int node) const;
};

// The ten choices of the selection dialog, in its order.
enum class Choice {
    Copertina,
    Professionista,
    UnitaImmobiliare,
    CalcoloSuperfici,
    CarattLocalizzazione,
    CarattPosizTipol,
    CarattProduttive,
    ImmobiliConfronto,
    ParametriConfronto, // pages 9 and 10 together
    RisultatiStima,
};
inline constexpr int kChoiceCount = 10;
inline constexpr int kPageCount = 11;
// The market comparison's page, after the results; offered only when the
// appraisal has a market comparison.
inline constexpr int kMcaPage = 12;
// "Quotazioni OMI", after it; offered only when the appraisal has an OMI band.
inline constexpr int kOmiPage = 13;

// The captions of the ten selection boxes, in order.
QStringList choiceCaptions();
// The page title of report page n (1 to 11).
QString pageTitle(int page);
// The choice that includes page n.
Choice choiceOfPage(int page);

struct ReportSelection {
    std::array<bool, kChoiceCount> on;
    // "Stima MCA", printed when the appraisal has a market comparison.
    bool mca = true;
    // "Quotazioni OMI", printed when the appraisal has an OMI band.
    bool omi = true;
    ReportSelection() { on.fill(true); }
    bool operator[](Choice c) const { return on[static_cast<std::size_t>(c)]; }
    bool &operator[](Choice c) { return on[static_cast<std::size_t>(c)]; }
    // Any of the ten choices.
    bool any() const;
    static ReportSelection none();
};

// The pages of the ten choices assembled for a selection, in report order
// (numbers 1 to 11).
QVector<int> assembledPages(const ReportSelection &selection);

// Two aligned text columns (pages 4 and 8): line i of the left column sits
// beside line i of the right one.
struct Columns {
    QStringList left;
    QStringList right;
};
// Page 4's descriptions and areas, with the 19/20-row spacing rule.
Columns surfaceColumns(const QVector<SurfaceRow> &rows);
// Page 8's labels and values from the comparables.
Columns comparableColumns(const QVector<ComparableRow> &rows, const QString &currency);

// "+ 0,15 %" / "- 0,15 %" and the direct-comparison ranges printed on pages 9
// and 10: fixed texts of the layout, the intermediate zone's whatever the zone.
struct RangeRow {
    const char *label;
    const char *minimum;
    const char *maximum;
    Coef coefficient; // SaggioCapitalizzaz stands for "sum of the four" on Totale
};
const QVector<RangeRow> &comparisonRanges();   // page 9, "Comparazione diretta:"
const QVector<RangeRow> &capitalisationRangesPage9();
const QVector<RangeRow> &capitalisationRangesPage10();

class ReportPainter;

// One page layout. reset() empties every value, mark and picture and
// restores the fixed captions; fill() sets them from an appraisal when the
// page's condition holds; paint() prints it, the fields that are empty
// printing nothing.
class ReportPage {
public:
    explicit ReportPage(int number) : m_number(number) {}
    virtual ~ReportPage() = default;
    ReportPage(const ReportPage &) = delete;
    ReportPage &operator=(const ReportPage &) = delete;

    int number() const { return m_number; }
    QString title() const { return pageTitle(m_number); }
    // Whether the last fill() found the page's condition true.
    bool isFilled() const { return m_filled; }

    virtual void reset() = 0;
    void fill(const ReportInput &in);
    virtual void paint(ReportPainter &rp) const = 0;

protected:
    // The page's condition for being filled.
    virtual bool condition(const ReportInput &in) const = 0;
    virtual void fillValues(const ReportInput &in) = 0;

private:
    int m_number;
    bool m_filled = false;
};

// The eleven layouts, created once and reused.
class Report {
public:
    Report();
    ~Report();
    const ReportPage &page(int n) const
    {
        if (n == kOmiPage)
            return *m_omiPage;
        return n == kMcaPage ? *m_mcaPage : *m_pages.at(static_cast<std::size_t>(n - 1));
    }

    // Reset all pages, then fill each from the appraisal, whatever the
    // selection.
    void resetAndFill(const ReportInput &in);
    // The pages a selection prints from the last fill: those of the ten
    // choices, then "Stima MCA" and "Quotazioni OMI" when chosen and filled.
    QVector<int> assembled(const ReportSelection &selection) const;
    // Paints the selected pages in report order. False when the device
    // cannot be painted on (a file that cannot be opened, a printer error).
    bool render(QPagedPaintDevice *device, const ReportSelection &selection) const;
    // Title, author and subject of the appraisal last filled in, for the PDF.
    const PdfMetadata &metadata() const { return m_metadata; }

private:
    std::array<std::unique_ptr<ReportPage>, kPageCount> m_pages;
    PdfMetadata m_metadata;
    std::unique_ptr<ReportPage> m_mcaPage;
    std::unique_ptr<ReportPage> m_omiPage;
};

// The page set-up of every report device: A4 portrait, margins 25 mm left,
// 20 mm top, right and bottom.
void setUpReportDevice(QPagedPaintDevice *device);

// Resets, fills and paints in one go.
bool renderReport(QPagedPaintDevice *device, const ReportInput &in, const ReportSelection &selection);

// The report as a PDF/A-1b document in memory, pictures at kPictureDpi;
// empty when nothing could be painted.
QByteArray reportPdf(const ReportInput &in, const ReportSelection &selection);
QByteArray reportPdf(const Report &filled, const ReportSelection &selection);
// Writes the PDF whole or not at all. On failure returns false with a
// readable Italian reason in *error.
bool writeReportPdf(const QString &path, const Report &filled, const ReportSelection &selection,
                    QString *error);

inline const QString kNoPagesSelected =
    QStringLiteral("Nessuna pagina selezionata per il report di stampa.");

} // namespace brevan::report
