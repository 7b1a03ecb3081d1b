// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// One table file of the store as an item model: a row per rowid in insertion
// order, every cell edit written to the file at once. Grids, the record
// navigators and the one-record editors all work on it.
#include "store/tablestore.h"

#include <QAbstractTableModel>
#include <QHash>

namespace brevan::ui {

class TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TableModel(QObject *parent = nullptr);

    // Opens the table and shows its rows; an empty path closes it. On failure
    // the model shows no rows, failed() is emitted and false returned.
    bool setTableFile(const QString &path);
    const QString &tableFile() const { return m_path; }
    bool isOpen() const { return m_table.isOpen(); }
    // Opens the file again and re-reads every row: the file may have been
    // replaced (a copy over it, a rebuild) or written by other code.
    bool reload();
    // Lets go of the file; the model shows no rows until reload().
    void close();

    const Layout &layout() const { return m_table.layout(); }
    int fieldIndex(const QString &name) const { return m_table.columnIndex(name); }
    qint64 rowId(int row) const { return m_rowIds.value(row, -1); }

    void setColumnTitles(const QStringList &titles);
    void setColumnAlignment(int column, Qt::Alignment alignment);

    // Appends an empty row and returns its row (-1 on failure). The row stays
    // "new and untouched" until one of its cells is written with a different
    // value, so that a record inserted and then left alone can be dropped.
    int appendRow();
    // Appends one row holding the values (in column order; the others stay
    // empty), written in one step: the row is there whole or not at all.
    int appendRow(const QVariantList &values);
    int untouchedNewRow() const;
    bool discardUntouchedNewRow();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Rows can only be added at the end: the store keeps insertion order.
    bool insertRows(int row, int count, const QModelIndex &parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

Q_SIGNALS:
    // A read or write of the store failed; the model has re-read the file.
    void failed(const QString &message);

private:
    bool open(bool reportFailure);
    void recover(const std::exception &error);
    QVariant cellText(const QVariant &stored, const Column &column) const;

    QString m_path;
    Table m_table;
    QVector<qint64> m_rowIds;
    QVector<QVariantList> m_rows;
    QHash<int, QString> m_titles;
    QHash<int, Qt::Alignment> m_alignment;
    qint64 m_newRowId = -1;
};

} // namespace brevan::ui
