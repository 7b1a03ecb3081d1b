// SPDX-License-Identifier: GPL-2.0-or-later
#include "tablemodel.h"

#include "model/numbertext.h"

namespace brevan::ui {

namespace {

// What a cell holds once written: the store's own conversion, with the
// empty value a never-written cell reads back as. A blank real stays blank:
// writing 0 over it is a change.
QVariant normalized(const Column &column, const QVariant &value)
{
    const QVariant v = Table::coerce(column, value);
    switch (column.type) {
    case ColumnType::Text: return v.isValid() ? v.toString() : QString();
    case ColumnType::Real: return v.isValid() ? QVariant(v.toDouble()) : QVariant();
    case ColumnType::Logical: return v.isValid() ? v.toBool() : false;
    }
    return v;
}

} // namespace

TableModel::TableModel(QObject *parent) : QAbstractTableModel(parent) {}

bool TableModel::setTableFile(const QString &path)
{
    m_path = path;
    if (path.isEmpty()) {
        close();
        return true;
    }
    return reload();
}

bool TableModel::reload()
{
    return open(true);
}

void TableModel::close()
{
    beginResetModel();
    m_table.close();
    m_rowIds.clear();
    m_rows.clear();
    m_newRowId = -1;
    endResetModel();
}

bool TableModel::open(bool reportFailure)
{
    beginResetModel();
    m_table.close();
    m_rowIds.clear();
    m_rows.clear();
    m_newRowId = -1;
    QString message;
    if (!m_path.isEmpty()) {
        try {
            m_table = Table::open(m_path);
            m_table.setBlankReals(true);
            m_rowIds = m_table.rowIds();
            m_rows = m_table.rows();
            if (m_rows.size() != m_rowIds.size())
                throw StoreError(QStringLiteral("La tabella \"%1\" è cambiata durante la lettura.").arg(m_path));
        } catch (const std::exception &e) {
            m_table.close();
            m_rowIds.clear();
            m_rows.clear();
            message = QString::fromUtf8(e.what());
        }
    }
    endResetModel();
    if (!message.isEmpty()) {
        if (reportFailure)
            Q_EMIT failed(message);
        return false;
    }
    return true;
}

// A failed write may have left the file other than the cache believes: read
// it again (or show nothing when it is gone), then tell the page.
void TableModel::recover(const std::exception &error)
{
    const QString message = QString::fromUtf8(error.what());
    open(false);
    Q_EMIT failed(message);
}

void TableModel::setColumnTitles(const QStringList &titles)
{
    for (int i = 0; i < titles.size(); ++i)
        m_titles.insert(i, titles.at(i));
    if (!titles.isEmpty())
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, int(titles.size()) - 1);
}

void TableModel::setColumnAlignment(int column, Qt::Alignment alignment)
{
    m_alignment.insert(column, alignment);
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0, column), index(int(m_rows.size()) - 1, column), {Qt::TextAlignmentRole});
}

int TableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_table.isOpen() ? 0 : int(m_table.layout().size());
}

QVariant TableModel::cellText(const QVariant &stored, const Column &column) const
{
    switch (column.type) {
    case ColumnType::Text: return stored.toString();
    case ColumnType::Real:
        // A never-written (or emptied) real is a blank cell, so a grid of empty
        // rows shows no column of zeros; a 0 written into it shows "0".
        return stored.isValid() ? FloatToText(stored.toDouble()) : QString();
    case ColumnType::Logical: return stored.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    }
    return {};
}

QVariant TableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return cellText(m_rows.at(index.row()).value(index.column()), m_table.layout().at(index.column()));
    case Qt::TextAlignmentRole:
        if (m_alignment.contains(index.column()))
            return QVariant::fromValue(m_alignment.value(index.column()));
        return {};
    default:
        return {};
    }
}

bool TableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= m_rows.size() || index.column() >= columnCount())
        return false;
    const Column &column = m_table.layout().at(index.column());
    QVariant wanted;
    try {
        wanted = normalized(column, value);
    } catch (const std::exception &e) {
        // Number text that is no number: nothing was written.
        Q_EMIT failed(QString::fromUtf8(e.what()));
        return false;
    }
    const int row = index.row();
    if (normalized(column, m_rows.at(row).value(index.column())) == wanted)
        return true;
    const qint64 id = m_rowIds.at(row);
    try {
        m_table.setValue(id, index.column(), value);
        // Keep what the store holds (text cut to the field's size).
        m_rows[row][index.column()] = m_table.value(id, index.column());
    } catch (const std::exception &e) {
        recover(e);
        return false;
    }
    if (id == m_newRowId)
        m_newRowId = -1;
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < columnCount()) {
        if (role == Qt::DisplayRole)
            return m_titles.value(section, m_table.layout().at(section).name);
        if (role == Qt::TextAlignmentRole && m_alignment.contains(section))
            return QVariant::fromValue(m_alignment.value(section));
        return {};
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool TableModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || section < 0 || (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    m_titles.insert(section, value.toString());
    Q_EMIT headerDataChanged(orientation, section, section);
    return true;
}

Qt::ItemFlags TableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool TableModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || count < 1 || row != rowCount() || !m_table.isOpen())
        return false;
    QVector<qint64> ids;
    QVector<QVariantList> values;
    try {
        m_table.transaction([&] {
            for (int i = 0; i < count; ++i)
                ids << m_table.append();
        });
        for (qint64 id : ids)
            values << m_table.row(id);
    } catch (const std::exception &e) {
        recover(e);
        return false;
    }
    beginInsertRows({}, row, row + count - 1);
    m_rowIds += ids;
    m_rows += values;
    endInsertRows();
    return true;
}

bool TableModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || count < 1 || row < 0 || row + count > rowCount())
        return false;
    try {
        m_table.transaction([&] {
            for (int i = row; i < row + count; ++i)
                m_table.deleteRow(m_rowIds.at(i));
        });
    } catch (const std::exception &e) {
        recover(e);
        return false;
    }
    beginRemoveRows({}, row, row + count - 1);
    for (int i = row; i < row + count; ++i) {
        if (m_rowIds.at(i) == m_newRowId)
            m_newRowId = -1;
    }
    m_rowIds.remove(row, count);
    m_rows.remove(row, count);
    endRemoveRows();
    return true;
}

int TableModel::appendRow()
{
    const int row = rowCount();
    if (!insertRows(row, 1))
        return -1;
    m_newRowId = m_rowIds.at(row);
    return row;
}

int TableModel::appendRow(const QVariantList &values)
{
    if (!m_table.isOpen())
        return -1;
    const int row = rowCount();
    QVariantList stored;
    qint64 id = -1;
    try {
        id = m_table.append(values);
        stored = m_table.row(id);
    } catch (const std::exception &e) {
        recover(e);
        return -1;
    }
    beginInsertRows({}, row, row);
    m_rowIds << id;
    m_rows << stored;
    endInsertRows();
    return row;
}

int TableModel::untouchedNewRow() const
{
    return m_newRowId < 0 ? -1 : int(m_rowIds.indexOf(m_newRowId));
}

bool TableModel::discardUntouchedNewRow()
{
    const int row = untouchedNewRow();
    return row >= 0 && removeRows(row, 1);
}

} // namespace brevan::ui
