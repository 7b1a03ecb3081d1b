// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Brevan never writes Paradox. Before a Paradox table is replaced by a table
// of the program's own format, the original is kept beside it under its name
// followed by ".paradox", with the files that belong to it (primary index
// ".px", memo file ".mb", validity checks ".val", secondary indexes).
#include <QString>
#include <QStringList>

namespace brevan::legacy {

inline const QString kParadoxSuffix = QStringLiteral(".paradox");

// Keeps a copy of the Paradox table at path and of its companion files; the
// originals stay where they are until the caller replaces the table. Nothing
// happens for a file that is not a Paradox table, or whose copy is already
// there. A name already taken by other content gets a number before the
// suffix ("….db.2.paradox"). Returns the bare names of the copies made.
// Throws StoreError when a copy cannot be written: the table must not be
// replaced then.
QStringList keepParadoxOriginal(const QString &path);

// The status bar's note after a command kept originals: the copy's name
// when there is one, their number otherwise.
QString keptOriginalsNote(const QStringList &keptNames);

} // namespace brevan::legacy
