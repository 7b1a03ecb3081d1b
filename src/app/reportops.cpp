// SPDX-License-Identifier: GPL-2.0-or-later
#include "reportops.h"

#include "app/mainwindow.h"
#include "app/widgetfields.h"
#include "model/currency.h"
#include "model/record.h"
#include "pages/appraiserpage.h"
#include "pages/comparablespage.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/messages.h"
#include "pages/pagekit.h"
#include "pages/picturepage.h"
#include "pages/positionpage.h"
#include "pages/reportpagesdialog.h"
#include "pages/resultspage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "pages/typologypage.h"
#include "store/datafolder.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

namespace brevan::app {

namespace {

Light lightOf(art::NodeImage image)
{
    switch (image) {
    case art::NodeImage::Yellow:
        return Light::Yellow;
    case art::NodeImage::Green:
        return Light::Green;
    default:
        return Light::Red;
    }
}

// The table behind a page's model, or the working table when the model has
// none open.
QString tableFileOf(const ui::TableModel *model, const QString &working)
{
    return model && !model->tableFile().isEmpty() ? model->tableFile() : dataPath(working);
}

} // namespace

ReportOps::ReportOps(MainWindow *window, QObject *parent)
    : ReportOps(window, parent, std::make_unique<WindowFields>(window))
{
}

ReportOps::ReportOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields)
    : ReportWork(fields->fields, window->coefficients, parent), m_window(window),
      m_windowFields(std::move(fields)), m_dialog(new ui::ReportPagesDialog(window))
{
    lights = [this] {
        std::array<Light, 12> shown;
        for (int n = 1; n <= MainWindow::kPageNodes; ++n)
            shown[std::size_t(n - 1)] = lightOf(m_window->nodeLight(n));
        return shown;
    };
    pictures = [this] {
        return std::array<QImage, 3>{m_window->photoPage->sourceImage(), m_window->areaPlanPage->sourceImage(),
                                     m_window->unitPlanPage->sourceImage()};
    };
    connect(window->resultsPage->reportPagesButton, &QAbstractButton::clicked, this, &ReportOps::SpeedButton65Click);
    connect(window->resultsPage->previewButton, &QAbstractButton::clicked, this, &ReportOps::SpeedButton64Click);
}

ReportOps::~ReportOps() = default;

report::ReportSelection ReportOps::selection() const
{
    return m_dialog->selection();
}

void ReportOps::SpeedButton65Click()
{
    // "Stima MCA" is offered only when the appraisal has a comparison.
    m_dialog->setMcaOffered(mcaDocument && mcaDocument().has_value());
    // "Quotazioni OMI" only when the appraisal has a band.
    const std::optional<omiband::Outcome> omi = omiOutcome ? omiOutcome() : std::nullopt;
    m_dialog->setOmiOffered(omi && omi->hasBand());
    m_dialog->exec();
}

QString ReportOps::surfacesTablePath() const
{
    return tableFileOf(m_window->surfacesPage->model(), kDescrSup);
}

QString ReportOps::comparablesTablePath() const
{
    return tableFileOf(m_window->comparablesPage->model(), kImmConfr);
}

void ReportOps::postPendingComparable() const
{
    ui::ComparablesPage *page = m_window->comparablesPage;
    if (page->hasPendingEdit())
        page->postEdits();
}

void ReportOps::SpeedButton64Click()
{
    try {
        // Every page is reset and filled, whatever the selection.
        fillPages();
        m_previewSelection = selection();
        if (m_report->assembled(m_previewSelection).isEmpty()) {
            ui::Messages::warning(m_window, report::kNoPagesSelected);
            return;
        }
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(QStringLiteral("Titolo del Report"));
        printer.setCopyCount(1);
        // Printed to a file from the preview, the report is PDF/A-1b too.
        printer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        report::setUpReportDevice(&printer);

        QPrintPreviewDialog dialog(&printer, m_window);
        dialog.setObjectName(QStringLiteral("QRCompositeReport1Preview"));
        connect(&dialog, &QPrintPreviewDialog::paintRequested, this, &ReportOps::QRCompositeReport1AddReports);
        auto *savePdf = new QAction(QStringLiteral("Salva PDF"), &dialog);
        savePdf->setObjectName(QStringLiteral("ActionSalvaPdf"));
        ui::setHint(savePdf, QStringLiteral("Salva PDF|Salva il report di stampa in formato PDF."));
        if (auto *bar = dialog.findChild<QToolBar *>())
            bar->addAction(savePdf);
        else
            dialog.addAction(savePdf);
        connect(savePdf, &QAction::triggered, this, &ReportOps::SalvaPdfClick);

        m_preview = &dialog;
        Q_EMIT previewOpened(&dialog);
        dialog.exec();
        m_preview = nullptr;
    } catch (const std::exception &e) {
        m_preview = nullptr;
        ui::Messages::error(m_window, QString::fromUtf8(e.what()));
    }
}

void ReportOps::QRCompositeReport1AddReports(QPrinter *printer)
{
    if (!m_report->render(printer, m_previewSelection))
        ui::Messages::error(m_preview ? static_cast<QWidget *>(m_preview) : m_window,
                            QStringLiteral("Impossibile stampare il report."));
}

void ReportOps::SalvaPdfClick()
{
    QWidget *parent = m_preview ? static_cast<QWidget *>(m_preview) : m_window;
    ui::FileDialogRequest request;
    request.title = QStringLiteral("Salva report in formato PDF");
    request.filter = ui::fileFilter(QStringLiteral("Documento PDF (*.pdf)|*.pdf"));
    request.directory = QDir::currentPath();
    request.suggested = QStringLiteral("Report stima.pdf");
    request.save = true;
    QString path = ui::Messages::fileName(parent, request);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    QString error;
    if (!report::writeReportPdf(path, *m_report, m_previewSelection, &error))
        ui::Messages::error(parent, error);
}

} // namespace brevan::app
