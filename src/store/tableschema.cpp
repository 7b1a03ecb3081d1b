// SPDX-License-Identifier: GPL-2.0-or-later
#include "tableschema.h"

namespace brevan {

namespace {

// The schema of a table of ours, read from the statement that created it:
//   CREATE TABLE tabella ( name type [, name type]* )
// with type TEXT(n), REAL or LOGICAL and nothing else: no constraint, no
// default, no collation, no key, no WITHOUT ROWID, no STRICT, no comment.
// Names may be bare or quoted as SQLite allows. Anything a table of ours
// never holds makes the file foreign.
class SchemaReader {
public:
    SchemaReader(const QString &sql, const QString &tableName) : m_sql(sql), m_tableName(tableName) {}

    bool read(Layout *layout)
    {
        QString tableName;
        if (!keyword("CREATE") || !keyword("TABLE") || !identifier(&tableName) || !symbol(u'('))
            return false;
        if (tableName != m_tableName)
            return false;
        do {
            Column c;
            QString type;
            if (!identifier(&c.name) || !typeName(&type) || !parseDeclaredType(type, &c))
                return false;
            if (reservedName(c.name))
                return false;
            for (const Column &other : *layout) {
                if (other.name.compare(c.name, Qt::CaseInsensitive) == 0)
                    return false;
            }
            *layout << c;
        } while (symbol(u','));
        if (!symbol(u')'))
            return false;
        skipSpace();
        return m_at == m_sql.size() && !layout->isEmpty();
    }

private:
    // The names by which SQLite reaches a row's identity: a column of that
    // name would hide it.
    static bool reservedName(const QString &name)
    {
        for (const char *n : {"rowid", "oid", "_rowid_"}) {
            if (name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
                return true;
        }
        return name.isEmpty();
    }
    void skipSpace()
    {
        while (m_at < m_sql.size() && m_sql.at(m_at).isSpace())
            ++m_at;
    }
    static bool wordChar(QChar c)
    {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_'
               || c.unicode() > 127;
    }
    QString word()
    {
        skipSpace();
        const qsizetype start = m_at;
        while (m_at < m_sql.size() && wordChar(m_sql.at(m_at)))
            ++m_at;
        return m_sql.mid(start, m_at - start);
    }
    bool keyword(const char *k)
    {
        return word().compare(QLatin1String(k), Qt::CaseInsensitive) == 0;
    }
    bool symbol(char16_t c)
    {
        skipSpace();
        if (m_at < m_sql.size() && m_sql.at(m_at) == QChar(c)) {
            ++m_at;
            return true;
        }
        return false;
    }
    bool identifier(QString *out)
    {
        skipSpace();
        if (m_at >= m_sql.size())
            return false;
        const QChar open = m_sql.at(m_at);
        const QChar close = open == u'[' ? QChar(u']') : open;
        if (open == u'"' || open == u'`' || open == u'\'' || open == u'[') {
            QString name;
            for (++m_at; m_at < m_sql.size(); ++m_at) {
                const QChar c = m_sql.at(m_at);
                if (c == close) {
                    // A doubled quote stands for itself (not inside brackets).
                    if (close != u']' && m_at + 1 < m_sql.size() && m_sql.at(m_at + 1) == close) {
                        name += c;
                        ++m_at;
                        continue;
                    }
                    ++m_at;
                    *out = name;
                    return true;
                }
                name += c;
            }
            return false;
        }
        *out = word();
        return !out->isEmpty() && !(out->at(0) >= u'0' && out->at(0) <= u'9');
    }
    // A type as written, "TEXT(30)" with no space inside; parseDeclaredType
    // judges it.
    bool typeName(QString *out)
    {
        *out = word();
        if (out->isEmpty())
            return false;
        if (m_at < m_sql.size() && m_sql.at(m_at) == u'(') {
            const qsizetype close = m_sql.indexOf(u')', m_at);
            if (close < 0)
                return false;
            *out += m_sql.mid(m_at, close - m_at + 1);
            m_at = close + 1;
        }
        return true;
    }

    const QString m_sql;
    const QString m_tableName;
    qsizetype m_at = 0;
};
} // namespace

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

bool readCreateTable(const QString &sql, const QString &tableName, Layout *layout)
{
    layout->clear();
    return SchemaReader(sql, tableName).read(layout);
}

} // namespace brevan
