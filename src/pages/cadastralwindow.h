// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// "Superficie catastale (DPR 138/98)": a window of its own beside the main
// window, built at first use. One row for each row of the surfaces table with
// a description: its area, the class (proposed from the room name, or the
// appraiser's), the part lower than 1,50 m and the wall thickness where the
// class takes them, and what the row adds; under them the main surface and
// the cadastral surface rounded to the square metre, or what keeps it from
// being computed.
#include "valuation/cadastralsheet.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QTableWidget;

namespace brevan::ui {

class CadastralWindow : public QWidget {
    Q_OBJECT
public:
    enum Column { DescriptionColumn, AreaColumn, ClassColumn, LowAreaColumn, WallColumn, ContributionColumn };

    explicit CadastralWindow(QWidget *parent = nullptr);

    // Shows the rows and the result; category is the description page's.
    void setSheet(const CadastralSheet &sheet, const QString &category);
    const CadastralSheet &sheet() const { return m_sheet; }

    // The pick list of the class of a surfaces-table row (from 0), null when
    // the row is not listed. Named "ClasseCatastale" + the row from 1.
    QComboBox *classCombo(int surfacesRow) const;
    // The window's row of a surfaces-table row, -1 when it is not listed.
    int lineOf(int surfacesRow) const;

    QTableWidget *table;      // SuperficieCatastaleRighe
    QLabel *mainLabel;        // SupVaniPrincipali
    QLabel *surfaceLabel;     // SuperficieCatastale
    QLabel *detailLabel;      // SuperficieCatastaleDettaglio: the sum before rounding
    QLabel *villaLabel;       // RegolaVilla
    QLabel *issuesLabel;      // ProblemiSuperficieCatastale
    QLabel *sourceLabel;      // FonteSuperficieCatastale

Q_SIGNALS:
    // The appraiser changed a row's class or measures.
    void choiceEdited(int surfacesRow, const brevan::CadastralChoice &choice);
    // The window came to the front: the pages may have changed meanwhile.
    void activated();

protected:
    bool event(QEvent *event) override;

private:
    void rebuild();
    void fillLine(int line);
    void showTotals(const QString &category);
    CadastralChoice choiceOf(int line) const;

    CadastralSheet m_sheet;
};

} // namespace brevan::ui
