#include "tablestore.h"

#include "legacy/paradoxtable.h"
#include "model/numbertext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryFile>

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

namespace brevan {

namespace {

const char *const kTableName = "tabella";

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString sqliteMessage(sqlite3 *db, int rc)
{
    if (db)
        return QString::fromUtf8(sqlite3_errmsg(db));
    return QString::fromUtf8(sqlite3_errstr(rc));
}

[[noreturn]] void fail(const QString &path, sqlite3 *db, int rc)
{
    const QString file = nativePath(path);
    switch (rc & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        throw StoreError(QStringLiteral("Il file \"%1\" non è una tabella valida o è danneggiato.").arg(file));
    case SQLITE_CANTOPEN:
        if (!QFileInfo::exists(path))
            throw StoreError(QStringLiteral("La tabella \"%1\" non esiste.").arg(file));
        throw StoreError(QStringLiteral("Impossibile aprire la tabella \"%1\".").arg(file));
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw StoreError(QStringLiteral("La tabella \"%1\" è bloccata da un altro programma.").arg(file));
    case SQLITE_READONLY:
    case SQLITE_PERM:
        throw StoreError(QStringLiteral("La tabella \"%1\" è protetta dalla scrittura.").arg(file));
    case SQLITE_FULL:
        throw StoreError(QStringLiteral("Spazio su disco insufficiente per scrivere \"%1\".").arg(file));
    case SQLITE_IOERR:
        throw StoreError(QStringLiteral("Errore di lettura o scrittura su \"%1\".").arg(file));
    default:
        throw StoreError(QStringLiteral("Errore sulla tabella \"%1\": %2").arg(file, sqliteMessage(db, rc)));
    }
}

struct Statement {
    sqlite3_stmt *stmt = nullptr;
    sqlite3 *db = nullptr;
    QString path;

    Statement(sqlite3 *d, const QString &p, const QString &sql) : db(d), path(p)
    {
        const QByteArray utf8 = sql.toUtf8();
        const int rc = sqlite3_prepare_v2(db, utf8.constData(), static_cast<int>(utf8.size()), &stmt, nullptr);
        if (rc != SQLITE_OK)
            fail(path, db, rc);
    }
    ~Statement() { sqlite3_finalize(stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool step()
    {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        fail(path, db, rc);
    }
    void bind(int i, const QVariant &v)
    {
        int rc = SQLITE_OK;
        if (!v.isValid() || v.isNull()) {
            rc = sqlite3_bind_null(stmt, i);
        } else if (v.typeId() == QMetaType::Bool) {
            rc = sqlite3_bind_int(stmt, i, v.toBool() ? 1 : 0);
        } else if (v.typeId() == QMetaType::Double) {
            rc = sqlite3_bind_double(stmt, i, v.toDouble());
        } else if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int) {
            rc = sqlite3_bind_int64(stmt, i, v.toLongLong());
        } else {
            const QByteArray utf8 = v.toString().toUtf8();
            rc = sqlite3_bind_text(stmt, i, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK)
            fail(path, db, rc);
    }
};

void exec(sqlite3 *db, const QString &path, const char *sql)
{
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(path, db, rc);
}

QString quoted(const QString &identifier)
{
    QString q = identifier;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

// Parses "TEXT(30)", "LOGICAL", "REAL". Returns false for anything else.
bool parseDeclaredType(const QString &decl, Column *c)
{
    const QString d = decl.trimmed().toUpper();
    if (d == QLatin1String("LOGICAL")) {
        c->type = ColumnType::Logical;
        c->size = 0;
        return true;
    }
    if (d == QLatin1String("REAL")) {
        c->type = ColumnType::Real;
        c->size = 0;
        return true;
    }
    // TEXT(n) with one to four digits.
    const QLatin1StringView open("TEXT(");
    if (!d.startsWith(open) || !d.endsWith(QLatin1Char(')')))
        return false;
    const QStringView digits = QStringView(d).sliced(open.size(), d.size() - open.size() - 1);
    if (digits.isEmpty() || digits.size() > 4)
        return false;
    for (QChar ch : digits) {
        if (ch < u'0' || ch > u'9')
            return false;
    }
    c->type = ColumnType::Text;
    c->size = digits.toInt();
    return c->size > 0;
}

struct Connection {
    sqlite3 *db = nullptr;
    ~Connection()
    {
        if (db)
            sqlite3_close_v2(db);
    }
    sqlite3 *release()
    {
        sqlite3 *d = db;
        db = nullptr;
        return d;
    }
};

void configure(sqlite3 *db, const QString &path, Trust trust)
{
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 2000);
    if (trust == Trust::Foreign) {
        sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
        sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
        sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
        sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    }
    exec(db, path, "PRAGMA trusted_schema=OFF");
}

sqlite3 *openConnection(const QString &path, Trust trust, bool writable)
{
    if (!QFileInfo(path).isFile())
        fail(path, nullptr, SQLITE_CANTOPEN);
    Connection c;
    const int flags = (writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_NOFOLLOW
                      | SQLITE_OPEN_FULLMUTEX;
    const QByteArray file = QFile::encodeName(path);
    int rc = sqlite3_open_v2(file.constData(), &c.db, flags, nullptr);
    if (rc != SQLITE_OK)
        fail(path, c.db, rc);
    configure(c.db, path, trust);
    if (trust == Trust::Foreign) {
        Statement check(c.db, path, QStringLiteral("PRAGMA quick_check"));
        if (!check.step())
            fail(path, c.db, SQLITE_CORRUPT);
        const auto *res = reinterpret_cast<const char *>(sqlite3_column_text(check.stmt, 0));
        if (!res || std::strcmp(res, "ok") != 0)
            fail(path, c.db, SQLITE_CORRUPT);
    }
    return c.release();
}

// Reads the single table's layout and checks that the file holds nothing else.
Layout readLayout(sqlite3 *db, const QString &path)
{
    {
        Statement objects(db, path, QStringLiteral("SELECT type, name FROM sqlite_schema"));
        int tables = 0;
        while (objects.step()) {
            const QString type = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(objects.stmt, 0)));
            const QString name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(objects.stmt, 1)));
            if (type != QLatin1String("table") || name != QLatin1String(kTableName))
                fail(path, db, SQLITE_NOTADB);
            ++tables;
        }
        if (tables != 1)
            fail(path, db, SQLITE_NOTADB);
    }
    Layout layout;
    Statement info(db, path, QStringLiteral("PRAGMA table_info(%1)").arg(QLatin1String(kTableName)));
    while (info.step()) {
        Column c;
        c.name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(info.stmt, 1)));
        const QString decl = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(info.stmt, 2)));
        if (!parseDeclaredType(decl, &c))
            fail(path, db, SQLITE_NOTADB);
        layout << c;
    }
    if (layout.isEmpty())
        fail(path, db, SQLITE_NOTADB);
    return layout;
}

QString createSql(const Layout &layout)
{
    QStringList cols;
    for (const Column &c : layout)
        cols << quoted(c.name) + QLatin1Char(' ') + declaredType(c);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(QLatin1String(kTableName), cols.join(QStringLiteral(", ")));
}

// A unique empty file in the destination's folder, to be renamed over it.
QString temporaryBeside(const QString &destination)
{
    const QFileInfo info(destination);
    QTemporaryFile tmp(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    tmp.setAutoRemove(false);
    if (!tmp.open()) {
        if (!info.absoluteDir().exists())
            throw StoreError(QStringLiteral("La cartella \"%1\" non esiste.")
                                 .arg(QDir::toNativeSeparators(info.absolutePath())));
        throw StoreError(QStringLiteral("Impossibile scrivere nella cartella \"%1\".")
                             .arg(QDir::toNativeSeparators(info.absolutePath())));
    }
    return tmp.fileName();
}

void replaceWith(const QString &temporary, const QString &destination)
{
    // A journal left by a crash would be rolled back into the new file.
    QFile::remove(destination + QStringLiteral("-journal"));
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(destination).constData()) != 0) {
        const int err = errno;
        QFile::remove(temporary);
        throw StoreError(QStringLiteral("Impossibile scrivere \"%1\": %2")
                             .arg(nativePath(destination), QString::fromLocal8Bit(std::strerror(err))));
    }
}

// Tables that come from elsewhere in another format, told apart by their
// content, never by their name: their layout and rows.
std::optional<TableContent> readOtherFormat(const QString &path)
{
    if (legacy::isParadoxTable(path))
        return legacy::readParadoxTable(path);
    return std::nullopt;
}

QSet<QString> &scratchPaths()
{
    static QSet<QString> paths;
    return paths;
}

// How hard SQLite syncs writes to a table: documents are synced to the disk
// at every commit; scratch tables (the working tables, rebuilt at every start
// and at every municipality change) are not, since nothing is lost with them.
const char *syncPragma(const QString &path)
{
    return Table::isScratch(path) ? "PRAGMA synchronous=OFF" : "PRAGMA synchronous=FULL";
}

// Writes a new database at a temporary path with fill(), then renames it over
// the destination; on any failure the temporary file is removed and the
// destination is untouched.
template <typename Fill>
void writeWhole(const QString &destination, Fill &&fill)
{
    const QString tmp = temporaryBeside(destination);
    try {
        Connection c;
        const QByteArray file = QFile::encodeName(tmp);
        const int rc = sqlite3_open_v2(file.constData(), &c.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, nullptr);
        if (rc != SQLITE_OK)
            fail(destination, c.db, rc);
        configure(c.db, destination, Trust::Own);
        exec(c.db, destination, syncPragma(destination));
        fill(c.db);
        exec(c.db, destination, "PRAGMA journal_mode=DELETE");
        const int closeRc = sqlite3_close(c.release());
        if (closeRc != SQLITE_OK)
            fail(destination, nullptr, closeRc);
    } catch (...) {
        QFile::remove(tmp);
        QFile::remove(tmp + QStringLiteral("-journal"));
        throw;
    }
    replaceWith(tmp, destination);
}

} // namespace

StoreError::StoreError(const QString &message) : std::runtime_error(message.toStdString()) {}

QString declaredType(const Column &c)
{
    switch (c.type) {
    case ColumnType::Text: return QStringLiteral("TEXT(%1)").arg(c.size);
    case ColumnType::Logical: return QStringLiteral("LOGICAL");
    case ColumnType::Real: return QStringLiteral("REAL");
    }
    return {};
}

void Table::setScratch(const QString &path, bool scratch)
{
    const QString key = QFileInfo(path).absoluteFilePath();
    if (scratch)
        scratchPaths().insert(key);
    else
        scratchPaths().remove(key);
}

bool Table::isScratch(const QString &path)
{
    return scratchPaths().contains(QFileInfo(path).absoluteFilePath());
}

bool isPlainFileName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() == 0)
            return false;
    }
    return true;
}

QString pathInFolder(const QString &folder, const QString &name)
{
    if (!isPlainFileName(name))
        throw StoreError(QStringLiteral("Il nome \"%1\" non è un nome di file valido.").arg(name));
    return QDir(folder).filePath(name);
}

Table::~Table()
{
    close();
}

Table::Table(Table &&other) noexcept
    : m_db(other.m_db), m_path(std::move(other.m_path)), m_layout(std::move(other.m_layout))
{
    other.m_db = nullptr;
}

Table &Table::operator=(Table &&other) noexcept
{
    if (this != &other) {
        close();
        m_db = other.m_db;
        m_path = std::move(other.m_path);
        m_layout = std::move(other.m_layout);
        other.m_db = nullptr;
    }
    return *this;
}

void Table::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void Table::create(const QString &path, const Layout &layout)
{
    if (layout.isEmpty())
        throw StoreError(QStringLiteral("Una tabella deve avere almeno un campo."));
    writeWhole(path, [&](sqlite3 *db) {
        Statement create(db, path, createSql(layout));
        create.step();
    });
}

bool Table::exists(const QString &path)
{
    return QFileInfo(path).isFile();
}

void Table::remove(const QString &path)
{
    if (!QFileInfo::exists(path))
        return;
    if (!QFile::remove(path))
        throw StoreError(QStringLiteral("Impossibile eliminare la tabella \"%1\".").arg(nativePath(path)));
    QFile::remove(path + QStringLiteral("-journal"));
}

Table Table::open(const QString &path, Trust trust, bool writable)
{
    if (trust == Trust::Foreign) {
        if (const std::optional<TableContent> content = readOtherFormat(path)) {
            if (writable)
                throw StoreError(QStringLiteral("La tabella \"%1\" può essere soltanto letta.").arg(nativePath(path)));
            return fromContent(path, *content);
        }
    }
    Table t;
    t.m_db = openConnection(path, trust, trust == Trust::Own ? true : writable);
    t.m_path = path;
    try {
        t.m_layout = readLayout(t.m_db, path);
        if (writable) {
            exec(t.m_db, path, "PRAGMA journal_mode=DELETE");
            exec(t.m_db, path, syncPragma(path));
        }
    } catch (...) {
        t.close();
        throw;
    }
    return t;
}

Table Table::fromContent(const QString &path, const TableContent &content)
{
    if (content.layout.isEmpty())
        fail(path, nullptr, SQLITE_NOTADB);
    Table t;
    {
        Connection c;
        const int rc = sqlite3_open_v2(":memory:", &c.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (rc != SQLITE_OK)
            fail(path, c.db, rc);
        configure(c.db, path, Trust::Own);
        t.m_db = c.release();
    }
    t.m_path = path;
    t.m_layout = content.layout;
    Statement create(t.m_db, path, createSql(content.layout));
    create.step();
    t.transaction([&] {
        for (const QVariantList &row : content.rows)
            t.append(row);
    });
    return t;
}

Layout Table::layoutOf(const QString &path, Trust trust)
{
    return open(path, trust, false).layout();
}

void Table::copy(const QString &source, const QString &destination, const Layout &expected)
{
    Table src = open(source, Trust::Foreign, false);
    if (!expected.isEmpty() && src.layout() != expected)
        throw StoreError(QStringLiteral("La tabella \"%1\" non ha la struttura attesa.").arg(nativePath(source)));
    writeWhole(destination, [&](sqlite3 *db) {
        sqlite3_backup *backup = sqlite3_backup_init(db, "main", src.m_db, "main");
        if (!backup)
            fail(destination, db, sqlite3_errcode(db));
        const int rc = sqlite3_backup_step(backup, -1);
        sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE)
            fail(destination, db, rc);
    });
}

QStringList Table::list(const QString &folder, const QString &pattern)
{
    const QDir dir(folder);
    if (!dir.exists())
        throw StoreError(QStringLiteral("La cartella \"%1\" non esiste.").arg(QDir::toNativeSeparators(folder)));
    return dir.entryList({pattern}, QDir::Files | QDir::Readable, QDir::Name);
}

int Table::columnIndex(const QString &name) const
{
    for (int i = 0; i < m_layout.size(); ++i) {
        if (m_layout.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool Table::hasColumns(const QStringList &names) const
{
    for (const QString &n : names) {
        if (columnIndex(n) < 0)
            return false;
    }
    return true;
}

int Table::requireColumn(const QString &field) const
{
    const int i = columnIndex(field);
    if (i < 0)
        throw StoreError(QStringLiteral("Campo \"%1\" non trovato nella tabella \"%2\".").arg(field, nativePath(m_path)));
    return i;
}

QVector<qint64> Table::rowIds() const
{
    QVector<qint64> ids;
    Statement s(m_db, m_path, QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid").arg(QLatin1String(kTableName)));
    while (s.step())
        ids << sqlite3_column_int64(s.stmt, 0);
    return ids;
}

int Table::rowCount() const
{
    Statement s(m_db, m_path, QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(kTableName)));
    s.step();
    return sqlite3_column_int(s.stmt, 0);
}

namespace {

QVariant columnValue(sqlite3_stmt *stmt, int i, const Column &c)
{
    const int kind = sqlite3_column_type(stmt, i);
    switch (c.type) {
    case ColumnType::Text: {
        if (kind == SQLITE_NULL)
            return QString();
        if (kind == SQLITE_FLOAT || kind == SQLITE_INTEGER)
            return FloatToText(sqlite3_column_double(stmt, i));
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
        return QString::fromUtf8(p, sqlite3_column_bytes(stmt, i));
    }
    case ColumnType::Logical:
        if (kind == SQLITE_NULL)
            return false;
        if (kind == SQLITE_TEXT)
            return Table::coerce(c, QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i))));
        return sqlite3_column_int64(stmt, i) != 0;
    case ColumnType::Real:
        if (kind == SQLITE_NULL)
            return 0.0;
        if (kind == SQLITE_TEXT) {
            double v = 0;
            TryTextToFloat(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i))), &v);
            return v;
        }
        return sqlite3_column_double(stmt, i);
    }
    return {};
}

} // namespace

QVector<QVariantList> Table::rows() const
{
    QVector<QVariantList> out;
    Statement s(m_db, m_path, QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QLatin1String(kTableName)));
    while (s.step()) {
        QVariantList r;
        r.reserve(m_layout.size());
        for (int i = 0; i < m_layout.size(); ++i)
            r << columnValue(s.stmt, i, m_layout.at(i));
        out << r;
    }
    return out;
}

QVariantList Table::row(qint64 rowId) const
{
    Statement s(m_db, m_path, QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(QLatin1String(kTableName)));
    s.bind(1, rowId);
    QVariantList r;
    if (!s.step())
        throw StoreError(QStringLiteral("Record non trovato nella tabella \"%1\".").arg(nativePath(m_path)));
    for (int i = 0; i < m_layout.size(); ++i)
        r << columnValue(s.stmt, i, m_layout.at(i));
    return r;
}

QVariant Table::read(qint64 rowId, int column) const
{
    Statement s(m_db, m_path,
                QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                    .arg(quoted(m_layout.at(column).name), QLatin1String(kTableName)));
    s.bind(1, rowId);
    if (!s.step())
        throw StoreError(QStringLiteral("Record non trovato nella tabella \"%1\".").arg(nativePath(m_path)));
    return columnValue(s.stmt, 0, m_layout.at(column));
}

QVariant Table::value(qint64 rowId, int column) const
{
    if (column < 0 || column >= m_layout.size())
        throw StoreError(QStringLiteral("Campo inesistente nella tabella \"%1\".").arg(nativePath(m_path)));
    return read(rowId, column);
}

QVariant Table::coerce(const Column &c, const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (c.type) {
    case ColumnType::Text: {
        QString s;
        if (v.typeId() == QMetaType::Double)
            s = FloatToText(v.toDouble());
        else if (v.typeId() == QMetaType::Bool)
            s = v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        else
            s = v.toString();
        return s.left(c.size);
    }
    case ColumnType::Logical:
        if (v.typeId() == QMetaType::QString) {
            const QString s = v.toString().trimmed();
            return s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0
                   || s.compare(QLatin1String("Vero"), Qt::CaseInsensitive) == 0 || s == QLatin1String("1");
        }
        return v.toBool();
    case ColumnType::Real:
        if (v.typeId() == QMetaType::QString) {
            const QString s = v.toString();
            if (s.trimmed().isEmpty())
                return {};
            return TextToFloat(s);
        }
        return v.toDouble();
    }
    return {};
}

qint64 Table::append(const QVariantList &values)
{
    QStringList marks;
    QStringList names;
    const int n = std::min<int>(values.size(), m_layout.size());
    for (int i = 0; i < n; ++i) {
        names << quoted(m_layout.at(i).name);
        marks << QStringLiteral("?");
    }
    const QString sql = n == 0 ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(QLatin1String(kTableName))
                               : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(QLatin1String(kTableName), names.join(QLatin1Char(',')),
                                          marks.join(QLatin1Char(',')));
    Statement s(m_db, m_path, sql);
    for (int i = 0; i < n; ++i)
        s.bind(i + 1, coerce(m_layout.at(i), values.at(i)));
    s.step();
    return sqlite3_last_insert_rowid(m_db);
}

void Table::appendEmptyRows(int count)
{
    transaction([&] {
        for (int i = 0; i < count; ++i)
            append();
    });
}

void Table::deleteRow(qint64 rowId)
{
    Statement s(m_db, m_path, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(QLatin1String(kTableName)));
    s.bind(1, rowId);
    s.step();
}

void Table::clear()
{
    Statement s(m_db, m_path, QStringLiteral("DELETE FROM %1").arg(QLatin1String(kTableName)));
    s.step();
}

void Table::setValue(qint64 rowId, int column, const QVariant &v)
{
    if (column < 0 || column >= m_layout.size())
        throw StoreError(QStringLiteral("Campo inesistente nella tabella \"%1\".").arg(nativePath(m_path)));
    Statement s(m_db, m_path,
                QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?")
                    .arg(QLatin1String(kTableName), quoted(m_layout.at(column).name)));
    s.bind(1, coerce(m_layout.at(column), v));
    s.bind(2, rowId);
    s.step();
}

QString Table::text(qint64 rowId, const QString &field) const
{
    const int i = requireColumn(field);
    const QVariant v = read(rowId, i);
    if (m_layout.at(i).type == ColumnType::Logical)
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (m_layout.at(i).type == ColumnType::Real)
        return FloatToText(v.toDouble());
    return v.toString();
}

double Table::real(qint64 rowId, const QString &field) const
{
    const int i = requireColumn(field);
    const QVariant v = read(rowId, i);
    if (m_layout.at(i).type == ColumnType::Text) {
        const QString s = v.toString();
        return s.trimmed().isEmpty() ? 0.0 : TextToFloat(s);
    }
    return v.toDouble();
}

bool Table::logical(qint64 rowId, const QString &field) const
{
    const int i = requireColumn(field);
    return coerce(Column{field, ColumnType::Logical, 0}, read(rowId, i)).toBool();
}

void Table::setText(qint64 rowId, const QString &field, const QString &v)
{
    setValue(rowId, requireColumn(field), v);
}

void Table::setReal(qint64 rowId, const QString &field, double v)
{
    setValue(rowId, requireColumn(field), v);
}

void Table::setLogical(qint64 rowId, const QString &field, bool v)
{
    setValue(rowId, requireColumn(field), v);
}

void Table::begin()
{
    exec(m_db, m_path, "BEGIN IMMEDIATE");
}

void Table::commit()
{
    exec(m_db, m_path, "COMMIT");
}

void Table::rollback()
{
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

} // namespace brevan
