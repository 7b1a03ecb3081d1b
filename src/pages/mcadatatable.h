#pragma once
// The data table of the market comparison window: one row per characteristic
// (as appraisers lay it out), the subject's column and one column per
// comparable. Cells hold the user's text as typed; the lift is a tick. A cell
// with a problem is shown in red with its message as tooltip.
#include "valuation/mcasheet.h"

#include <QTableWidget>

namespace brevan::ui {

class McaDataTable : public QTableWidget {
    Q_OBJECT
public:
    explicit McaDataTable(QWidget *parent = nullptr);

    // The table's texts as a sheet (columns, lifts); parameters are not here.
    void readInto(mca::Sheet &sheet) const;
    // Shows a sheet's columns; runs no change signal.
    void showSheet(const mca::Sheet &sheet, const QDate &valuationDate);
    // Writes the subject's column (a proposal from the pages) without
    // counting it as the user's edit.
    void setSubject(const mca::SheetColumn &subject);
    void setValuationDate(const QDate &date);

    int comparableCount() const { return columnCount() - 1; }
    void addComparable();
    // Removes the comparable of the current column (the last one when the
    // subject's column is current); false when none can go.
    bool removeCurrentComparable();

    // Problems at cells: red cells with the message as tooltip; the others
    // are cleared. The commercial surfaces row shows the values given
    // (empty entries leave the cell blank).
    void markIssues(const QVector<mca::Issue> &issues);
    void showCommercialSurfaces(const QStringList &values);

    // The table row of a data row; the last row shows commercial surfaces.
    static int tableRow(mca::Row row) { return int(row); }
    static constexpr int kCommercialRow = mca::kRowCount;
    QTableWidgetItem *cell(int column, mca::Row row) const { return item(tableRow(row), column); }

Q_SIGNALS:
    // The user changed a cell of the subject (column 0) or of a comparable.
    void edited(int column);

private:
    void makeColumn(int column);
    void retitle();
    void fillColumn(int column, const mca::SheetColumn &c);
    void setValuationCell(int column);

    bool m_filling = false;
    QDate m_valuation;
};

} // namespace brevan::ui
