// SPDX-License-Identifier: GPL-2.0-or-later
// Report page 12, "Stima MCA": the market comparison's tables and result,
// flowing over as many printed pages as they need, the band repeated on each.
// The comparison window prints and exports the same pages on its own.
#include "report/pdfa.h"
#include "report/reportkit.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>

namespace brevan::report {

namespace {

constexpr double kCellPad = 3;
constexpr double kLabelShare = 200; // the labels' column beside five properties
constexpr double kNoteGap = 4;
constexpr double kTableGap = 14;

const QFont &tableTitleFont()
{
    static const QFont f = arial(11, true, false);
    return f;
}
const QFont &cellFont(bool bold)
{
    static const QFont regular = arial(8, false, false);
    static const QFont strong = arial(8, true, false);
    return bold ? strong : regular;
}
const QFont &noteFont()
{
    static const QFont f = arial(7.5, false, true);
    return f;
}
const QFont &resultFont(bool bold)
{
    static const QFont regular = arial(10, false, false);
    static const QFont strong = arial(10, true, false);
    return bold ? strong : regular;
}

class FlowingPage {
public:
    FlowingPage(ReportPainter &rp, const QString &title) : m_rp(rp), m_title(title) {}

    // Room for h more units on this page, or a new page with its band.
    void need(double h)
    {
        if (m_rp.y + h > m_rp.height())
            breakPage();
    }
    void breakPage()
    {
        m_rp.newPage();
        m_rp.band(m_title);
    }

    double textHeight(const QFont &font, double width, const QString &s) const
    {
        const QFontMetricsF fm(font);
        if (s.isEmpty())
            return fm.lineSpacing();
        return std::max(fm.lineSpacing(),
                        fm.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap | Qt::AlignLeft, s).height());
    }

    void table(const McaTable &t)
    {
        const int columns = int(t.header.size());
        const double labelWidth = columns > 2 ? std::max(kLabelShare, kContentWidth - (columns - 1) * 96.0)
                                              : kContentWidth * 0.7;
        const double cellWidth = columns > 1 ? (kContentWidth - labelWidth) / (columns - 1) : 0;
        const auto xOf = [&](int c) { return c == 0 ? 0.0 : labelWidth + (c - 1) * cellWidth; };
        const auto widthOf = [&](int c) { return c == 0 ? labelWidth : cellWidth; };
        const auto rowHeight = [&](const QStringList &cells, bool bold) {
            double h = 0;
            for (int c = 0; c < columns; ++c)
                h = std::max(h, textHeight(cellFont(bold), widthOf(c) - 2 * kCellPad, cells.value(c)));
            return h + 2 * kCellPad;
        };
        const auto paintRow = [&](const QStringList &cells, bool header, bool bold) {
            const double h = rowHeight(cells, header || bold);
            QPainter &p = m_rp.p;
            if (header)
                p.fillRect(QRectF(0, m_rp.y, kContentWidth, h), QColor(225, 232, 245));
            p.setPen(QPen(QColor(150, 150, 150), 0.6));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(0, m_rp.y, kContentWidth, h));
            for (int c = 1; c < columns; ++c)
                p.drawLine(QPointF(xOf(c), m_rp.y), QPointF(xOf(c), m_rp.y + h));
            for (int c = 0; c < columns; ++c) {
                const QString text = cells.value(c);
                const bool right = c > 0 && !header && isNumericCell(text);
                const Qt::Alignment align = (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
                m_rp.text(QRectF(xOf(c) + kCellPad, m_rp.y + kCellPad, widthOf(c) - 2 * kCellPad, h - 2 * kCellPad),
                          int(align), cellFont(header || bold), header ? kNavy : QColor(Qt::black), text);
            }
            m_rp.y += h;
        };

        // The title stays with the header and the first row.
        const double titleHeight = textHeight(tableTitleFont(), kContentWidth, t.title) + 4;
        need(titleHeight + rowHeight(t.header, true) + (t.rows.isEmpty() ? 0 : rowHeight(t.rows.first(), false)));
        m_rp.text(QRectF(0, m_rp.y, kContentWidth, 0), Qt::AlignLeft, tableTitleFont(), kNavy, t.title);
        m_rp.y += titleHeight;
        paintRow(t.header, true, false);
        for (int i = 0; i < t.rows.size(); ++i) {
            const bool bold = t.emphasised.contains(i);
            const double h = rowHeight(t.rows[i], bold);
            if (m_rp.y + h > m_rp.height()) {
                breakPage(); // and the header again
                paintRow(t.header, true, false);
            }
            paintRow(t.rows[i], false, bold);
        }
        if (!t.note.isEmpty()) {
            const double h = textHeight(noteFont(), kContentWidth, t.note);
            need(kNoteGap + h);
            m_rp.y += kNoteGap;
            m_rp.text(QRectF(0, m_rp.y, kContentWidth, 0), Qt::AlignLeft, noteFont(), QColor(80, 80, 80), t.note);
            m_rp.y += h;
        }
        m_rp.y += kTableGap;
    }

    // The appraisal and the appraiser, under the band.
    void heading(const QStringList &lines)
    {
        for (const QString &line : lines) {
            const double h = textHeight(resultFont(false), kContentWidth, line) + 2;
            need(h);
            m_rp.text(QRectF(0, m_rp.y, kContentWidth, 0), Qt::AlignLeft, resultFont(false), QColor(Qt::black), line);
            m_rp.y += h;
        }
        if (!lines.isEmpty())
            m_rp.y += kTableGap;
    }

    void results(const McaDocument &doc)
    {
        const QString heading = QStringLiteral("Risultato");
        need(textHeight(tableTitleFont(), kContentWidth, heading) + 4 + textHeight(resultFont(false), kContentWidth, QStringLiteral("X")));
        m_rp.text(QRectF(0, m_rp.y, kContentWidth, 0), Qt::AlignLeft, tableTitleFont(), kNavy, heading);
        m_rp.y += textHeight(tableTitleFont(), kContentWidth, heading) + 4;
        for (int i = 0; i < doc.results.size(); ++i) {
            const QString &line = doc.results[i];
            const bool warning = i == doc.warningLine;
            const bool value = i == doc.valueLine;
            const QFont &font = resultFont(warning || value);
            const double h = textHeight(font, kContentWidth, line) + 2;
            need(h);
            m_rp.text(QRectF(0, m_rp.y, kContentWidth, 0), Qt::AlignLeft, font,
                      warning ? QColor(192, 0, 0) : QColor(Qt::black), line);
            m_rp.y += h;
        }
    }

private:
    ReportPainter &m_rp;
    QString m_title;
};

class McaPage : public ReportPage {
public:
    McaPage() : ReportPage(kMcaPage) {}
    void reset() override { m_document.reset(); }
    void paint(ReportPainter &rp) const override
    {
        rp.band(title());
        if (m_document)
            paintMcaDocument(rp, *m_document, title());
    }

protected:
    bool condition(const ReportInput &in) const override { return in.mca.has_value(); }
    void fillValues(const ReportInput &in) override { m_document = in.mca; }

private:
    std::optional<McaDocument> m_document;
};

} // namespace

void paintMcaDocument(ReportPainter &rp, const McaDocument &doc, const QString &bandTitle)
{
    FlowingPage page(rp, bandTitle);
    page.heading(doc.heading);
    for (const McaTable &t : doc.tables)
        page.table(t);
    page.results(doc);
}

std::unique_ptr<ReportPage> makeMcaPage()
{
    return std::make_unique<McaPage>();
}

bool renderMcaDocument(QPagedPaintDevice *device, const McaDocument &document)
{
    setUpReportDevice(device);
    QPainter painter;
    if (!painter.begin(device))
        return false;
    ReportPainter rp(painter, *device);
    rp.newPage();
    rp.band(document.title);
    paintMcaDocument(rp, document, document.title);
    return painter.end();
}

bool writeMcaPdf(const QString &path, const McaDocument &document, QString *error)
{
    PdfMetadata meta;
    meta.title = document.fileTitle.isEmpty() ? document.title : document.fileTitle;
    meta.author = document.author;
    meta.subject = QStringLiteral("Stima del più probabile valore di mercato per confronto di mercato (MCA)");
    const QByteArray pdf =
        pdfaDocument(meta, [&](QPdfWriter *writer) { return renderMcaDocument(writer, document); });
    if (pdf.isEmpty()) {
        if (error)
            *error = QStringLiteral("Impossibile comporre la stima per confronto di mercato.");
        return false;
    }
    return writePdfBytes(path, pdf, error);
}

} // namespace brevan::report
