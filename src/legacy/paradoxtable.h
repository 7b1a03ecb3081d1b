// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Paradox data tables (".db" files of the desktop database engine that older
// archives were kept in), read into the program's layout and rows. A table
// is recognised by its header, never by its name. Nothing here writes
// Paradox.
#include "store/tablestore.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace brevan::legacy {

// Files larger than this are refused before a byte is decoded: the tables of
// an appraisal archive are a few kilobytes.
inline constexpr qint64 kMaxParadoxFileSize = 32 * 1024 * 1024;

// Whether the first bytes of a file are the header of a Paradox data table.
bool looksLikeParadoxTable(QByteArrayView head);
// The same for a file on disk; false for a file that cannot be read.
bool isParadoxTable(const QString &path);

// Reads every live record, in stored order, as the program's types: alpha n
// as TEXT(n), logical as LOGICAL, number, money, short, long and
// auto-increment as REAL, date as TEXT(10) "dd/MM/yyyy". Memo, blob, graphic,
// OLE and bytes fields are left out. Throws StoreError, naming the file, for
// a damaged or encrypted table, a code page it cannot decode, or a field of
// a type the program has no place for (time, timestamp, BCD).
TableData readParadoxTable(const QString &path);
// The same from the file's bytes; path only names the file in messages.
TableData readParadoxBytes(const QByteArray &bytes, const QString &path);

} // namespace brevan::legacy
