// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The table store: every table is one SQLite file ("DescrSup.db",
// "Stima - ….db") holding one table under a fixed internal name, with
// declared column types TEXT(n), LOGICAL and REAL, so a table's layout reads
// back from the file itself. Rows keep their insertion order (rowid); there is
// no key and identical rows are allowed.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <memory>
#include <stdexcept>

struct sqlite3;

namespace brevan {

// Every failure of the store: a missing, damaged or foreign file, a locked
// table, a full or protected disk. what() is a readable Italian message.
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString &message);
    QString message() const { return QString::fromUtf8(what()); }
};

enum class ColumnType { Text, Logical, Real };

struct Column {
    QString name;
    ColumnType type = ColumnType::Text;
    int size = 0; // characters, text only

    bool operator==(const Column &o) const = default;
};
using Layout = QVector<Column>;

// "TEXT(30)", "LOGICAL", "REAL"
QString declaredType(const Column &c);

// A table read from a file of another format: its layout and its rows, each
// row's values in column order (QString, bool, double, or null for a value
// never written).
// How far a file is trusted. Files that come from elsewhere (an appraisal to
// open, a comparables or surfaces file, a folder of earlier appraisals) are
// opened defensively and checked before a value is used.
enum class Trust { Own, Foreign };

// A table held in memory: its layout and its rows, each value typed for its
// column (QString for text, double for real, bool for logical).
struct TableData {
    Layout layout;
    QVector<QVariantList> rows;

    int columnIndex(const QString &name) const; // without regard to case; -1 when absent
};

// The most rows a table read from a file may hold: far above the rooms of
// any unit, the comparables of any appraisal or the zones of any town. A
// larger table is refused before it is read whole.
inline constexpr int kMaxTableRows = 10'000;
// The largest table file read: 10,000 rows of the widest layout take a
// quarter of it. A larger file is refused unopened, before SQLite checks it
// page by page.
inline constexpr qint64 kMaxTableFileBytes = qint64(32) * 1024 * 1024;

// A table refused for its size, with a message that says so.
class TableTooLarge : public StoreError {
public:
    explicit TableTooLarge(const QString &path);
};

// The one way in for a table file that came from elsewhere: the file is
// opened read-only and defensively, must hold exactly one table of the
// store's own kind (its columns TEXT(n), REAL or LOGICAL, nothing more in its
// schema), and every value must be what its column allows (text no longer
// than its size, a finite number, a logical). Only the rows come out; the
// caller writes them into a table of its own. Throws StoreError, and
// TableTooLarge beyond maxRows rows or kMaxTableFileBytes.
TableData readTableFile(const QString &path, int maxRows = kMaxTableRows);

// Throws StoreError unless the table read from path has exactly this layout.
void requireLayout(const TableData &data, const Layout &expected, const QString &path);

// Reading a stored value as text, real or logical, whatever its column's type:
// a logical reads "True" or "False", a real as plain number text, a text as a
// number when it is one (empty text reads 0).
QString valueText(const Column &column, const QVariant &value);
double valueReal(const Column &column, const QVariant &value);
bool valueLogical(const Column &column, const QVariant &value);

class Table {
public:
    Table() = default;
    ~Table();
    Table(Table &&other) noexcept;
    Table &operator=(Table &&other) noexcept;
    Table(const Table &) = delete;
    Table &operator=(const Table &) = delete;

    // Creates an empty table with the layout, replacing any file of that name.
    // The new file appears whole or not at all.
    static void create(const QString &path, const Layout &layout);
    // Creates the table with the layout holding the rows (values in column
    // order, as append takes them), replacing any file of that name. The new
    // file appears whole or not at all.
    static void write(const QString &path, const Layout &layout, const QVector<QVariantList> &rows);
    // The same table written whole into a new temporary file beside path,
    // without syncing it to the disk; returns the temporary's path. The
    // caller syncs and renames it over path, or removes it.
    static QString writeBeside(const QString &path, const Layout &layout, const QVector<QVariantList> &rows);
    static bool exists(const QString &path);
    // Deletes the table file; a missing file is not an error.
    static void remove(const QString &path);
    // Opens a table and reads its layout. A foreign file is opened read-only
    // unless writable is set. A foreign file in another format (a Paradox
    // table) is read whole into memory, read-only.
    static Table open(const QString &path, Trust trust = Trust::Own, bool writable = true);
    // Reads the rows of source (readTableFile) and writes them into a fresh
    // table over destination (write). When expected is not empty, the source
    // must have exactly that layout. Nothing of the source's file but its
    // rows reaches the destination.
    static void copy(const QString &source, const QString &destination, const Layout &expected = {});
    // write() with the layout and rows read from a file.
    static void write(const QString &destination, const TableData &data);
    // Table files of a folder whose names match a wildcard ("Stima - *.db"),
    // sorted by name.
    static QStringList list(const QString &folder, const QString &pattern);
    // Scratch tables are written without syncing to disk at each commit; they
    // are rebuilt whenever the program needs them. Documents always sync.
    static void setScratch(const QString &path, bool scratch = true);
    static bool isScratch(const QString &path);
    // The layout of a table file.
    static Layout layoutOf(const QString &path, Trust trust = Trust::Foreign);

    bool isOpen() const { return m_db != nullptr; }
    void close();
    const QString &path() const { return m_path; }
    const Layout &layout() const { return m_layout; }
    int columnIndex(const QString &name) const; // -1 when absent
    int requireColumn(const QString &field) const; // throws StoreError when absent
    bool hasColumns(const QStringList &names) const;

    // Row identifiers in insertion order.
    QVector<qint64> rowIds() const;
    int rowCount() const;
    // All values of all rows, in column order: QString, bool or double.
    QVector<QVariantList> rows() const;
    // A real never written reads 0; with blank reals on, rows(), row() and
    // value() give an invalid QVariant for it instead, so that a grid can
    // show a blank cell apart from a 0 written into it.
    void setBlankReals(bool on) { m_blankReals = on; }
    QVariantList row(qint64 rowId) const;

    // Appends one record; values beyond the list stay empty. Returns its rowid.
    qint64 append(const QVariantList &values = {});
    void appendEmptyRows(int count);
    void deleteRow(qint64 rowId);
    void clear();

    QString text(qint64 rowId, const QString &field) const;
    double real(qint64 rowId, const QString &field) const;
    bool logical(qint64 rowId, const QString &field) const;
    QVariant value(qint64 rowId, int column) const;
    void setValue(qint64 rowId, int column, const QVariant &v);
    void setText(qint64 rowId, const QString &field, const QString &v);
    void setReal(qint64 rowId, const QString &field, double v);
    void setLogical(qint64 rowId, const QString &field, bool v);

    // Runs fn inside one transaction: commits when it returns, rolls back when
    // it throws.
    template <typename Fn>
    void transaction(Fn &&fn)
    {
        begin();
        try {
            fn();
        } catch (...) {
            rollback();
            throw;
        }
        commit();
    }

    // Converts a value to what a column of that type stores: text cut to its
    // size, "Vero"/"Falso" style texts to logicals, number text to reals.
    static QVariant coerce(const Column &c, const QVariant &v);

private:
    // A read-only table in memory holding the content, named after path.
    static Table fromContent(const QString &path, const TableData &content);
    void begin();
    void commit();
    void rollback();
    QVariant read(qint64 rowId, int column) const;

    sqlite3 *m_db = nullptr;
    QString m_path;
    Layout m_layout;
    bool m_blankReals = false;
};

// The file name must be a bare name: no folder part, no "..", no NUL.
bool isPlainFileName(const QString &name);
// folder + "/" + name, refusing names that would leave the folder.
QString pathInFolder(const QString &folder, const QString &name);

} // namespace brevan
