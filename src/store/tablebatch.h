// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Many tables replaced in one go (a national import writes some sixteen
// thousand): each is written whole into a temporary file beside it, the
// temporaries are synced to the disk together, and only then is each renamed
// over its table. A table is never seen half-written, and the disk is synced
// once per batch instead of several times per table.
#include "tablestore.h"

#include <QPair>
#include <QStringList>
#include <QVector>

namespace brevan {

class TableBatch {
public:
    TableBatch() = default;
    // Removes the temporaries of tables not committed: their tables stay as they were.
    ~TableBatch();
    TableBatch(const TableBatch &) = delete;
    TableBatch &operator=(const TableBatch &) = delete;

    // Writes the table with its rows beside path; path itself is not touched
    // until commit(). Throws StoreError.
    void write(const QString &path, const Layout &layout, const QVector<QVariantList> &rows);
    // Syncs the tables written to the disk, then renames each over its path.
    // Returns the paths that could not be replaced, each with the reason
    // ("path\tmessage"); those tables stay as they were. When the sync itself
    // fails nothing is replaced and every path is returned.
    QStringList commit();
    int pending() const { return int(m_pending.size()); }
    // Drops the tables written after the first count ones: they stay as they were.
    void truncate(int count);

private:
    void discard();
    QVector<QPair<QString, QString>> m_pending; // temporary, table
};

} // namespace brevan
