// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The page "Risultati della stima": a tool row, the read-only summary of the
// appraisal and the group with the four market values. It fills the page
// area; the values group stretches its fields with the page width.
#include "pages/pagekit.h"

#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QToolButton>

namespace brevan::ui {

// Horizontal placement of the values group for a page width, given the width
// the unit-value fields have now. The new width depends on the current one
// (through the halving), so successive resizes must feed it back.
struct ResultsGroupGeometry {
    int groupWidth;      // page width − 15
    int fieldWidth;      // all four value fields
    int totalLeft;       // left edge of the two total-value fields
    int totalLabelLeft;  // "Valore complessivo:"
};
ResultsGroupGeometry resultsGroupGeometry(int pageWidth, int currentFieldWidth);

class ResultsPage : public QWidget {
    Q_OBJECT
public:
    explicit ResultsPage(QWidget *parent = nullptr);

    // Tool row, left to right.
    QToolButton *exportButton;        // SpeedButton61
    QToolButton *reportPagesButton;   // SpeedButton65
    QToolButton *printButton;         // SpeedButton55
    QToolButton *previewButton;       // SpeedButton64
    QToolButton *computeButton;       // SpeedButton40, hidden
    QToolButton *mcaButton;           // "Stima MCA…", after the others
    QToolButton *omiButton;           // "Confronto con le quotazioni OMI…", after it
    QToolButton *periziaButton;       // "Rapporto di valutazione…", after that

    QTextEdit *summaryEdit;           // RichEdit1, read-only

    QGroupBox *resultsGroup;
    QLabel *unitValueLabel;           // "Valore unitario:"
    QLabel *totalValueLabel;          // "Valore complessivo:"
    QLineEdit *comparisonUnitEdit;    // CostoUnitario (Edit50)
    QLineEdit *comparisonTotalEdit;   // CostoComplessivo (Edit52)
    QLineEdit *incomeUnitEdit;        // CICostoUnitario (Edit51)
    QLineEdit *incomeTotalEdit;       // CICostoComplessivo (Edit53)

    // Rewrites the four value hints with the currency now in force.
    void refreshHints();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutFor(QSize size);

    QWidget *m_toolRow;
};

} // namespace brevan::ui
