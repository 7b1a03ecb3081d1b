// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// "Stima per confronto di mercato (MCA)": a window of its own beside the main
// window, built at first use. The data table and the parameters on the first
// tab; the marginal prices, the valuation and the direct comparison
// explained on the others; the value, or what keeps it from being computed,
// always in view at the bottom. Every edit computes again at once.
#include "report/mcacontent.h"
#include "valuation/mcasheet.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QPrinter;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace brevan::ui {

class McaDataTable;
class McaParametersPanel;

class McaWindow : public QWidget {
    Q_OBJECT
public:
    explicit McaWindow(QWidget *parent = nullptr);
    ~McaWindow() override;

    const mca::Sheet &sheet() const { return m_sheet; }
    void setSheet(const mca::Sheet &sheet);
    // The subject's column proposed from the pages; not the user's edit.
    void proposeSubject(const mca::SheetColumn &subject);
    // "Proponi il soggetto dalle pagine": as proposeSubject() while the user
    // has not written in the subject's column; after that the pages' values
    // replace the written ones only once the user agrees, and a value the
    // pages do not have leaves the written one.
    void offerSubject(const mca::SheetColumn &proposed);
    const report::McaContext &context() const { return m_context; }
    void setContext(const report::McaContext &context);

    const mca::Outcome &outcome() const { return m_outcome; }
    // The document of the outputs, its tables at most columnsPerTable wide.
    report::McaDocument document(int columnsPerTable) const;

    // Test seam: print on this printer instead of asking with the dialog.
    void setPrinterForTests(QPrinter *printer) { m_testPrinter = printer; }

    QPushButton *addButton;      // "Aggiungi comparabile"
    QPushButton *removeButton;   // "Rimuovi comparabile"
    QPushButton *proposeButton;  // "Proponi il soggetto dalle pagine"
    // Where the subject's surfaces are proposed from: the rooms of the
    // surfaces table, or the cadastral surface (DPR 138/98).
    QComboBox *subjectSurfacesCombo; // SuperficiSoggetto
    QPushButton *printButton;    // "Stampa…"
    QPushButton *rtfButton;      // "Esporta RTF…"
    QPushButton *pdfButton;      // "Esporta PDF…"
    QTabWidget *tabs;
    McaDataTable *dataTable;
    McaParametersPanel *parameters;
    QTableWidget *marginalView;
    QTableWidget *valuationView;
    QTableWidget *fitView;
    QLabel *fitSummary;
    QLabel *valueLabel;          // the value, or a dash
    QLabel *detailLabel;         // unit value and divergence, or why there is no value
    QLabel *warningLabel;        // the divergence beyond the threshold
    QLabel *othersLabel;         // the results page's values in euro
    QListWidget *issuesList;

public Q_SLOTS:
    // "Rimuovi comparabile": a column with data goes only once the user agrees.
    void RimuoviComparabileClick();
    void StampaClick();
    void EsportaRtfClick();
    void EsportaPdfClick();

Q_SIGNALS:
    // The user changed the sheet.
    void sheetEdited();
    // "Proponi il soggetto dalle pagine".
    void proposeRequested();
    // The window came to the front: the pages may have changed meanwhile.
    void activated();

protected:
    bool event(QEvent *event) override;

private:
    QWidget *buildResultsPanel();
    void readFromWidgets();
    void recompute();
    void showResults();
    void focusIssue(int row);
    void updateButtons();

    mca::Sheet m_sheet;
    report::McaContext m_context;
    mca::Outcome m_outcome;
    report::McaDocument m_document;
    QPrinter *m_testPrinter = nullptr;
};

} // namespace brevan::ui
