// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The results page's operations: the summary of the appraisal on screen, its
// export as a rich-text file and its direct print. The summary itself is
// engine/resultswork.h; this class shows it, asks where to export it and
// prints it.
#include "engine/resultswork.h"

#include <memory>

class QPrinter;
class QTextDocument;

namespace brevan::app {

class MainWindow;
struct WindowFields;

class ResultsOps : public engine::ResultsWork {
    Q_OBJECT
public:
    explicit ResultsOps(MainWindow *window, QObject *parent = nullptr);
    ~ResultsOps() override;

    // Test seam: print on this printer instead of asking with the printer
    // dialog. Not owned.
    void setPrinterForTests(QPrinter *printer) { m_testPrinter = printer; }

    // Lays the lines out in a document in the form's font and indent, with
    // the tab stops that put each value in its column. The indent is measured
    // at deviceDpi, the tab stops at layoutDpi: the two differ when the
    // document is laid out on a printer (set as its layout's paint device
    // before this). lineWidth: the width a line may take, at deviceDpi.
    static void fillDocument(QTextDocument *document, const report::SummaryLines &lines, report::SummaryForm form,
                             qreal deviceDpi, qreal layoutDpi, qreal lineWidth = 0);

public Q_SLOTS:
    void CalcolaRiepilogoInformazioni();
    void SpeedButton40Click();
    void SpeedButton61Click();
    void SpeedButton55Click();

protected:
    QString surfacesTablePath() const override;

private:
    ResultsOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields);
    void printBuffer(QPrinter *printer);

    MainWindow *m_window;
    std::unique_ptr<WindowFields> m_windowFields;
    QPrinter *m_testPrinter = nullptr;
};

} // namespace brevan::app
