// SPDX-License-Identifier: GPL-2.0-or-later
#include "resultsops.h"

#include "report/pdfa.h"

#include "mainwindow.h"
#include "widgetfields.h"
#include "model/currency.h"
#include "model/record.h"
#include "pages/messages.h"
#include "pages/resultspage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "report/pdfa.h"
#include "report/rtfwriter.h"
#include "store/datafolder.h"
#include "files/wholefile.h"

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStackedWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <memory>
#include <stdexcept>

// The resolution that tab stops are given in when a document is laid out on a
// paint device: Qt's text layout scales them from this to the device (block
// margins it takes in device pixels). Exported by Qt Gui from a private header.
Q_GUI_EXPORT int qt_defaultDpiY();

namespace brevan::app {

using report::SummaryForm;
using ui::FileDialogRequest;
using ui::Messages;
using report::SummaryLine;
using report::SummaryLines;

namespace {

const QColor kHeadingColour(0, 0, 128);
const QString kJobTitle = QStringLiteral("Brevan 2.0");

Light lightOf(art::NodeImage image)
{
    switch (image) {
    case art::NodeImage::Green: return Light::Green;
    case art::NodeImage::Yellow: return Light::Yellow;
    default: return Light::Red;
    }
}

std::runtime_error failure(const QString &text)
{
    return std::runtime_error(text.toStdString());
}

QString exceptionText(const std::exception &e)
{
    return QString::fromUtf8(e.what());
}

} // namespace

ResultsOps::ResultsOps(MainWindow *window, QObject *parent)
    : ResultsOps(window, parent, std::make_unique<WindowFields>(window))
{
}

ResultsOps::~ResultsOps() = default;

ResultsOps::ResultsOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields)
    : ResultsWork(fields->fields, fields->notices, window->coefficients, parent), m_window(window),
      m_windowFields(std::move(fields))
{
    lights = [this] {
        std::array<Light, 12> shown;
        for (int n = 1; n <= MainWindow::kPageNodes; ++n)
            shown[std::size_t(n - 1)] = lightOf(m_window->nodeLight(n));
        return shown;
    };
    ResultsPage *page = window->resultsPage;
    connect(page->exportButton, &QToolButton::clicked, this, &ResultsOps::SpeedButton61Click);
    connect(page->printButton, &QToolButton::clicked, this, &ResultsOps::SpeedButton55Click);
    connect(page->computeButton, &QToolButton::clicked, this, &ResultsOps::SpeedButton40Click);
}

QString ResultsOps::surfacesTablePath() const
{
    const QString path = m_window->surfacesPage->model()->tableFile();
    return path.isEmpty() ? dataPath(kDescrSup) : path;
}

void ResultsOps::fillDocument(QTextDocument *document, const SummaryLines &lines, SummaryForm form, qreal deviceDpi,
                              qreal layoutDpi, qreal lineWidth)
{
    const report::SummaryFormStyle style = report::summaryFormStyle(form);
    document->clear();
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(style.pointSize);
    document->setDefaultFont(font);
    // Beyond the stops each line is given below, the rich-text default of one
    // every half inch.
    QTextOption option = document->defaultTextOption();
    option.setTabStopDistance(layoutDpi / 2.0);
    document->setDefaultTextOption(option);

    QTextBlockFormat block;
    block.setLeftMargin(style.leftIndentPt * deviceDpi / 72.0);
    // The labels are measured where the document is laid out (a printer, or
    // the screen when there is no device), and the stops given in layoutDpi.
    QPaintDevice *device = document->documentLayout() ? document->documentLayout()->paintDevice() : nullptr;
    const QFontMetricsF metrics = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
    const qreal toLayout = layoutDpi / deviceDpi;
    const qreal stop = layoutDpi / 2.0;
    const qreal indent = style.leftIndentPt * layoutDpi / 72.0;
    const qreal extent = std::max(lineWidth * toLayout, 40 * stop);
    QTextCharFormat body;
    body.setFontFamilies({QStringLiteral("Arial")});
    body.setFontPointSize(style.pointSize);
    body.setFontWeight(QFont::Normal);
    QTextCharFormat heading = body;
    heading.setFontWeight(QFont::Bold);
    heading.setForeground(kHeadingColour);

    QTextCursor cursor(document);
    cursor.beginEditBlock();
    bool first = true;
    for (const SummaryLine &line : lines) {
        const QTextCharFormat &format = line.style == SummaryLine::Style::Heading ? heading : body;
        // The stops count from the margin, not from the print form's indent,
        // and each value stands in its column whatever its label measures.
        QList<QTextOption::Tab> tabs;
        const qsizetype tab = line.text.indexOf(QLatin1Char('\t'));
        if (tab >= 0) {
            const qreal label = metrics.horizontalAdvance(line.text.left(tab)) * toLayout;
            for (qreal at : report::summaryTabStops(line, label, stop, indent, extent))
                tabs.append(QTextOption::Tab(at, QTextOption::LeftTab));
        }
        block.setTabPositions(tabs);
        if (first) {
            cursor.setBlockFormat(block);
            cursor.setBlockCharFormat(format);
            first = false;
        } else {
            cursor.insertBlock(block, format);
        }
        cursor.insertText(line.text, format);
    }
    cursor.endEditBlock();
}

void ResultsOps::CalcolaRiepilogoInformazioni()
{
    QTextEdit *edit = m_window->resultsPage->summaryEdit;
    edit->clear();
    edit->setEnabled(false);
    try {
        const SummaryLines lines = report::buildSummary(summaryInput(), SummaryForm::Screen);
        fillDocument(edit->document(), lines, SummaryForm::Screen, edit->logicalDpiX(), edit->logicalDpiX());
    } catch (const std::exception &e) {
        edit->clear();
        Messages::error(m_window, exceptionText(e));
    }
    edit->setEnabled(true);
}

void ResultsOps::SpeedButton40Click()
{
    Q_EMIT CalcolaCIValoreMercatoRequested();
    Q_EMIT CalcolaCDValoreMercatoRequested();
    CalcolaRiepilogoInformazioni();
    m_window->tree->setFocus();
}

void ResultsOps::SpeedButton61Click()
{
    try {
        // Built before the dialog, so the buffer holds the export form even
        // when the dialog is cancelled.
        buildBuffer(SummaryForm::Export);
        FileDialogRequest request;
        request.title = QStringLiteral("Esporta stima in formato Word compatibile");
        request.filter = ui::fileFilter(QStringLiteral("Risultati stima (*.rtf)|*.rtf"));
        request.directory = QDir::currentPath();
        request.suggested = QStringLiteral("Risultati stima.rtf");
        request.save = true;
        const QString path = Messages::fileName(m_window, request);
        if (path.isEmpty())
            return;
        exportRtf(path);
    } catch (const std::exception &e) {
        Messages::error(m_window, exceptionText(e));
    }
}

void ResultsOps::SpeedButton55Click()
{
    try {
        QPrinter *printer = m_testPrinter;
        std::unique_ptr<QPrinter> chosen;
        if (!printer) {
            chosen = std::make_unique<QPrinter>(QPrinter::HighResolution);
            QPrintDialog dialog(chosen.get(), m_window);
            if (dialog.exec() != QDialog::Accepted)
                return;
            printer = chosen.get();
        }
        // A PDF chosen in the printer dialog is written as PDF/A-1b, with
        // the appraisal's title and appraiser, as the report is.
        const bool toPdf = printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty();
        if (toPdf)
            printer->setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        buildBuffer(SummaryForm::Print);
        printBuffer(printer);
        QString why;
        if (toPdf && !report::stampPdfFile(printer->outputFileName(),
                                           report::appraisalMetadata(summaryInput().texts, report::kSummarySubject), &why))
            throw failure(why);
    } catch (const std::exception &e) {
        Messages::error(m_window, exceptionText(e));
    }
}

void ResultsOps::printBuffer(QPrinter *printer)
{
    printer->setDocName(kJobTitle);
    QTextDocument document;
    document.setUndoRedoEnabled(false);
    // Laid out on the printer, so the text is measured as it will print.
    document.documentLayout()->setPaintDevice(printer);
    document.setDocumentMargin(0);
    const QSizeF page = printer->pageRect(QPrinter::DevicePixel).size();
    fillDocument(&document, buffer(), SummaryForm::Print, printer->logicalDpiX(), qt_defaultDpiY(), page.width());
    if (page.isEmpty())
        throw failure(QStringLiteral("La stampante non ha un'area di stampa valida."));
    document.setPageSize(page);

    QPainter painter;
    if (!painter.begin(printer))
        throw failure(QStringLiteral("Impossibile avviare la stampa sulla stampante scelta."));
    // Page by page, with nothing added: QTextDocument::print would number
    // the pages.
    const int pages = document.pageCount();
    bool ok = true;
    for (int i = 0; i < pages && ok; ++i) {
        if (i > 0)
            ok = printer->newPage();
        if (!ok)
            break;
        painter.save();
        painter.translate(0, -i * page.height());
        document.drawContents(&painter, QRectF(QPointF(0, i * page.height()), page));
        painter.restore();
    }
    ok = painter.end() && ok && printer->printerState() != QPrinter::Error;
    if (!ok)
        throw failure(QStringLiteral("La stampa non è riuscita."));
}

} // namespace brevan::app

