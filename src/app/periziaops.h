// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The report for a purpose in the running program: the window "Rapporto di
// valutazione" (built at first use), the report it edits, what the pages
// give it (the values, the surface, the appraiser, the address, the pictures,
// the market comparison) and the report saved and opened with the appraisal.
#include "report/periziadocument.h"
#include "report/reportpages.h"
#include "valuation/purposereport.h"

#include <QObject>
#include <QPointer>

namespace brevan::ui {
class PeriziaWindow;
}

namespace brevan::app {

class MainWindow;

class PeriziaOps : public QObject {
    Q_OBJECT
public:
    explicit PeriziaOps(MainWindow *window, QObject *parent = nullptr);

    const perizia::Report &report() const;
    // Whether the report holds anything the appraiser gave: only then is it saved.
    bool hasData() const;
    ui::PeriziaWindow *window() const;

    // What the pages hold now, as the report uses it.
    perizia::AppraisalFacts facts() const;
    // Everything the outputs print: the report, the facts, the title, the
    // surfaces, the pictures and the market comparison.
    report::PeriziaInput input() const;

    // An opened appraisal's report (an empty one when it has none).
    void showOpened(const perizia::Report &report);
    void clearForNewAppraisal();

public Q_SLOTS:
    // "Rapporto di valutazione…"
    void RapportoDiValutazioneClick();

private:
    void setReport(const perizia::Report &report);
    // The pages as the printed report reads them.
    report::ReportInput pages() const;
    perizia::AppraisalFacts factsOf(const report::ReportInput &in) const;

    MainWindow *m_window;
    QPointer<ui::PeriziaWindow> m_periziaWindow; // a child of the main window
    perizia::Report m_report;                    // until the window is built
};

// Whether a report holds anything beyond an empty one's.
bool reportHasData(const perizia::Report &report);

} // namespace brevan::app
