// SPDX-License-Identifier: GPL-2.0-or-later
#include "reportops.h"

#include "app/mainwindow.h"
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
    : QObject(parent), m_window(window), m_dialog(new ui::ReportPagesDialog(window)),
      m_report(std::make_unique<report::Report>())
{
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

report::ReportInput ReportOps::collectInput() const
{
    report::ReportInput in;
    // The record's controls live on these pages; the comparables page has
    // editors of the same names for its own table and is read as a table.
    const QList<QWidget *> recordPages{m_window->appraiserPage,   m_window->descriptionPage, m_window->surfacesPage,
                                       m_window->localisationPage, m_window->positionPage,   m_window->typologyPage,
                                       m_window->incomePage,      m_window->resultsPage};
    for (const FieldDef &f : recordFields()) {
        const QString name = QString::fromLatin1(f.name);
        QWidget *control = nullptr;
        for (QWidget *page : recordPages) {
            if ((control = page->findChild<QWidget *>(name)))
                break;
        }
        if (!control)
            continue;
        if (auto *edit = qobject_cast<QLineEdit *>(control))
            in.texts.insert(name, edit->text());
        else if (auto *combo = qobject_cast<QComboBox *>(control))
            in.texts.insert(name, combo->currentText());
        else if (auto *button = qobject_cast<QAbstractButton *>(control))
            in.ticks.insert(name, button->isChecked());
    }
    in.appraisalDate = m_window->descriptionPage->dateEdit->date();

    for (int n = 1; n <= MainWindow::kPageNodes; ++n)
        in.lights[std::size_t(n - 1)] = lightOf(m_window->nodeLight(n));

    const Table surfaces = Table::open(tableFileOf(m_window->surfacesPage->model(), kDescrSup));
    const int description = surfaces.columnIndex(QStringLiteral("DescrizioneSuperficie"));
    const int area = surfaces.columnIndex(QStringLiteral("MqSuperficie"));
    if (description >= 0 && area >= 0) {
        for (const QVariantList &row : surfaces.rows())
            in.surfaces.append({row.value(description).toString(), row.value(area).toDouble()});
    }
    in.usefulShown = m_window->surfacesPage->usefulEdit->text();
    in.conventionalShown = m_window->surfacesPage->conventionalEdit->text();
    in.commercialShown = m_window->surfacesPage->commercialEdit->text();

    in.photo = m_window->photoPage->sourceImage();
    in.areaPlan = m_window->areaPlanPage->sourceImage();
    in.unitPlan = m_window->unitPlanPage->sourceImage();

    // A comparable being typed in counts, as walking the table would post it.
    ui::ComparablesPage *comparablesPage = m_window->comparablesPage;
    if (comparablesPage->hasPendingEdit())
        comparablesPage->postEdits();
    const Table comparables = Table::open(tableFileOf(comparablesPage->model(), kImmConfr));
    for (const QVariantList &row : comparables.rows()) {
        report::ComparableRow values;
        for (int c = 0; c < comparables.layout().size(); ++c)
            values.insert(comparables.layout()[c].name, row.value(c).toString());
        in.comparables.append(values);
    }

    in.coefficients = m_window->coefficients;
    in.currency = currency().ValutaCorrente;
    in.today = today ? today() : QDate::currentDate();
    if (mcaDocument)
        in.mca = mcaDocument();
    if (omiOutcome)
        in.omi = omiOutcome();
    return in;
}

void ReportOps::fillPages()
{
    m_report->resetAndFill(collectInput());
}

bool ReportOps::writePdf(const QString &path, const report::ReportSelection &selection, QString *error)
{
    try {
        fillPages();
        return report::writeReportPdf(path, *m_report, selection, error);
    } catch (const std::exception &e) {
        if (error)
            *error = QString::fromUtf8(e.what());
        return false;
    }
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
