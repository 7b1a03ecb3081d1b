// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The results page's operations: the summary of the appraisal on screen, its
// export as a rich-text file and its direct print.
#include "report/summary.h"

#include <QObject>
#include <QStringList>

#include <functional>

class QPrinter;
class QTextDocument;

namespace brevan::app {

class MainWindow;

class ResultsOps : public QObject {
    Q_OBJECT
public:
    explicit ResultsOps(MainWindow *window, QObject *parent = nullptr);

    // Useful, conventional and commercial surface as the surfaces page shows
    // them. Unset, the three fields of the surfaces page are read.
    std::function<QStringList()> surfaceValues;

    // Everything the summary reads, taken from the pages now.
    report::SummaryInput summaryInput() const;

    // The hidden buffer: the export or print form built last.
    const report::SummaryLines &buffer() const { return m_buffer; }
    report::SummaryForm bufferForm() const { return m_bufferForm; }

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
    void CalcolaRiepilogoInformazioniSave();
    void CalcolaRiepilogoInformazioniPrint();
    void SpeedButton40Click();
    void SpeedButton61Click();
    void SpeedButton55Click();

Q_SIGNALS:
    void CalcolaCIValoreMercatoRequested();
    void CalcolaCDValoreMercatoRequested();

private:
    void buildBuffer(report::SummaryForm form);
    void printBuffer(QPrinter *printer);

    MainWindow *m_window;
    report::SummaryLines m_buffer;
    report::SummaryForm m_bufferForm = report::SummaryForm::Export;
    QPrinter *m_testPrinter = nullptr;
};

} // namespace brevan::app
