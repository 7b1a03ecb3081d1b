// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The printed report's commands on the results page: the choice of pages
// (SpeedButton65Click) and the preview (SpeedButton64Click), from which the
// report is printed or saved as PDF. The eleven page layouts are built once
// here and reset and filled again on every preview.
#include "report/reportpages.h"

#include <QDate>
#include <QObject>
#include <QPointer>
#include <QPrintPreviewDialog>

#include <functional>
#include <memory>

class QPrinter;

namespace brevan::ui {
class ReportPagesDialog;
}

namespace brevan::app {

class MainWindow;

class ReportOps : public QObject {
    Q_OBJECT
public:
    explicit ReportOps(MainWindow *window, QObject *parent = nullptr);
    ~ReportOps() override;

    // The three surface values behind the surfaces page (SupUtileImmob,
    // SupConvenzImmob, SupCommercImmob, plain number text), from the
    // surfaces computation. Empty until it is connected.
    std::function<QStringList()> surfaceValues;
    // The day printed on the cover; tests fix it.
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    // The market comparison's page, when the appraisal has one.
    std::function<std::optional<report::McaDocument>()> mcaDocument;
    // The comparison with the OMI quotations, when the appraisal has a band.
    std::function<std::optional<omiband::Outcome>()> omiOutcome;

    // The selection dialog, created once; its ticks are the selection.
    ui::ReportPagesDialog *selectionDialog() const { return m_dialog; }
    report::ReportSelection selection() const;

    // Everything the report prints, read from the window now.
    report::ReportInput collectInput() const;
    // The pages as the last preview or PDF filled them.
    const report::Report &pages() const { return *m_report; }

    // Fills all eleven pages from the window and writes the selected ones as
    // a PDF, whole or not at all. False with the reason in *error; shows no
    // message itself.
    bool writePdf(const QString &path, const report::ReportSelection &selection, QString *error = nullptr);

    // The preview while it is open (tests look at it and close it).
    QPrintPreviewDialog *preview() const { return m_preview; }

public Q_SLOTS:
    // "Pagine da includere nel report di stampa": the selection dialog, modal.
    void SpeedButton65Click();
    // "Anteprima di stampa": reset and fill all pages, then preview the
    // selected ones; returns when the preview is closed.
    void SpeedButton64Click();
    // Paints the selected pages on the preview's printer (the report
    // engine's assembly callback).
    void QRCompositeReport1AddReports(QPrinter *printer);
    // The preview's "Salva PDF" command.
    void SalvaPdfClick();

Q_SIGNALS:
    // The preview is about to run modally.
    void previewOpened(QPrintPreviewDialog *preview);

private:
    void fillPages();

    MainWindow *m_window;
    ui::ReportPagesDialog *m_dialog;
    std::unique_ptr<report::Report> m_report;
    report::ReportSelection m_previewSelection;
    QPointer<QPrintPreviewDialog> m_preview;
};

} // namespace brevan::app
