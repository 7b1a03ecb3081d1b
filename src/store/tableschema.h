// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A table's layout read from the statement that created it.
#include "tablestore.h"

namespace brevan {

// Parses "TEXT(30)", "LOGICAL", "REAL" into a column's type and size. Returns
// false for anything else.
bool parseDeclaredType(const QString &decl, Column *c);

// The layout of "CREATE TABLE <tableName> (name type, …)", where every type is
// TEXT(n), REAL or LOGICAL and nothing else stands in the statement: no
// constraint, default, collation, key, WITHOUT ROWID, STRICT or comment, and
// no column named as SQLite's row identity. False for any other statement.
bool readCreateTable(const QString &sql, const QString &tableName, Layout *layout);

} // namespace brevan
