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
struct TableContent {
    Layout layout;
    QVector<QVariantList> rows;
};

// How far a file is trusted. Files that come from elsewhere (an appraisal to
// open, a comparables or surfaces file, a folder of earlier appraisals) are
// opened defensively and checked before a value is used.
enum class Trust { Own, Foreign };

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
    static bool exists(const QString &path);
    // Deletes the table file; a missing file is not an error.
    static void remove(const QString &path);
    // Opens a table and reads its layout. A foreign file is opened read-only
    // unless writable is set. A foreign file in another format (a Paradox
    // table) is read whole into memory, read-only.
    static Table open(const QString &path, Trust trust = Trust::Own, bool writable = true);
    // Copies structure and rows of source over destination (replacing it),
    // through a temporary file in the destination's folder and a rename. When
    // expected is not empty, the source must have exactly that layout.
    static void copy(const QString &source, const QString &destination, const Layout &expected = {});
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
    bool hasColumns(const QStringList &names) const;

    // Row identifiers in insertion order.
    QVector<qint64> rowIds() const;
    int rowCount() const;
    // All values of all rows, in column order: QString, bool or double.
    QVector<QVariantList> rows() const;
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
    static Table fromContent(const QString &path, const TableContent &content);
    void begin();
    void commit();
    void rollback();
    int requireColumn(const QString &field) const;
    QVariant read(qint64 rowId, int column) const;

    sqlite3 *m_db = nullptr;
    QString m_path;
    Layout m_layout;
};

// The file name must be a bare name: no folder part, no "..", no NUL.
bool isPlainFileName(const QString &name);
// folder + "/" + name, refusing names that would leave the folder.
QString pathInFolder(const QString &folder, const QString &name);

} // namespace brevan
