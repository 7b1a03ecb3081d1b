// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// TParametriStampaForm: which pages go into the printed report. Built once;
// its ticks are the selection, which lasts as long as the program runs.
#include "report/reportpages.h"

#include <QDialog>
#include <QVector>

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace brevan::ui {

class ReportPagesDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReportPagesDialog(QWidget *parent = nullptr);

    QGroupBox *group;                // "Parametri di stampa"
    QVector<QCheckBox *> boxes;      // the ten choices, in report order
    QCheckBox *mcaBox;               // "Stima MCA", shown only when offered
    QCheckBox *omiBox;               // "Quotazioni OMI", shown only when offered
    QPushButton *selectAllButton;    // "&Seleziona tutto"
    QPushButton *clearAllButton;     // "&Deseleziona tutto"
    QPushButton *closeButton;        // "&Chiudi"

    report::ReportSelection selection() const;
    void setSelection(const report::ReportSelection &selection);
    // Shows "Stima MCA" after the results page's box when the appraisal has
    // a market comparison; hidden, it keeps its tick for a later one.
    void setMcaOffered(bool offered);
    // The same for "Quotazioni OMI", when the appraisal has an OMI band.
    void setOmiOffered(bool offered);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setAll(bool on);
};

} // namespace brevan::ui
