// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The data table of the market comparison window: one row per characteristic
// (as appraisers lay it out), the subject's column and one column per
// comparable. Cells hold the user's text as typed; the lift is a tick. A cell
// with a problem is shown in red with its message as tooltip.
#include "valuation/mcasheet.h"

#include <QStyledItemDelegate>
#include <QTableWidget>

namespace brevan::ui {

// The data table's cells: typing limited to what the companion table stores
// of each row; once a cell is left, its number shows as number text
// ("165.000,00") while the text stays as typed.
class McaCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // What the cell shows when it is not being edited.
    QString shownText(const QModelIndex &index) const;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};

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
    // The subject's address, from the pages: shown, not typed.
    void setSubjectAddress(const QString &address);

    int comparableCount() const { return columnCount() - 1; }
    void addComparable();
    // The column "Rimuovi comparabile" takes: the current one, or the last
    // when the subject's column is current; 0 when there is none.
    int columnToRemove() const;
    bool removeComparable(int column);
    // Removes the comparable of columnToRemove(); false when none can go.
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
    // The columns share the table's width again after columns come or go.
    void refit();
    void fillColumn(int column, const mca::SheetColumn &c);
    void setValuationCell(int column);

    bool m_filling = false;
    QDate m_valuation;
};

} // namespace brevan::ui
