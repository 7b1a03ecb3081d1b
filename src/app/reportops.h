// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The printed report's commands on the results page: the choice of pages
// (SpeedButton65Click) and the preview (SpeedButton64Click), from which the
// report is printed or saved as PDF. The pages and their input are
// engine/reportwork.h, read here from the window.
#include "engine/reportwork.h"

#include <QPointer>
#include <QPrintPreviewDialog>

#include <memory>

class QPrinter;

namespace brevan::ui {
class ReportPagesDialog;
}

namespace brevan::app {

class MainWindow;
struct WindowFields;

class ReportOps : public engine::ReportWork {
    Q_OBJECT
public:
    explicit ReportOps(MainWindow *window, QObject *parent = nullptr);
    ~ReportOps() override;

    // The selection dialog, created once; its ticks are the selection.
    ui::ReportPagesDialog *selectionDialog() const { return m_dialog; }
    report::ReportSelection selection() const;

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

protected:
    QString surfacesTablePath() const override;
    QString comparablesTablePath() const override;
    void postPendingComparable() const override;

private:
    ReportOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields);

    MainWindow *m_window;
    std::unique_ptr<WindowFields> m_windowFields;
    ui::ReportPagesDialog *m_dialog;
    report::ReportSelection m_previewSelection;
    QPointer<QPrintPreviewDialog> m_preview;
};

} // namespace brevan::app
