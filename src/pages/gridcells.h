// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Pieces shared by the editable grids (surfaces, urban zones, unit rents):
// the decimal key filter of their cells and cell editors that pick from a list.
#include <QObject>
#include <QStyledItemDelegate>

class QAbstractItemModel;
class QComboBox;
class QTableView;

namespace brevan::ui {

// Lets only digits, ",", "." (typed as ","), Backspace, Delete and the
// control keys reach a grid or its cell editors, so a grid's text columns can
// only be filled from their lists.
class DecimalCellFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// A delegate whose list cells are edited in a combo made by listEditor():
// the cell's text shows in it, and a choice from the list reaches the cell at
// once. An editable combo writes its text back; a pick-only one writes only a
// chosen entry.
class ListCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

protected:
    // maxLength 0 leaves the typed length free.
    QComboBox *listEditor(QWidget *parent, const QStringList &items, bool editable, int maxLength = 0) const;
};

// A grid on a working table as the editable grids show it: one cell
// selected at a time, editing on a double click or any key, Tab moving
// between cells, no row numbers, the page font, rows one line high, and a
// cell whose text the column cuts short showing it whole as a tip.
QTableView *makeTableGrid(const QString &objectName, QAbstractItemModel *model, QWidget *parent);

} // namespace brevan::ui
