// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Converting the Paradox tables of an archive folder to the program's own
// format, for brevan-convert. Each original is kept beside its table with
// the suffix ".paradox"; a table already converted is left alone, so a
// folder can be converted again without harm.
#include "cli/commandline.h"

#include <QString>
#include <QStringList>

class QTextStream;

namespace brevan::legacy {

enum class ConvertOutcome {
    Converted,        // detail: which of the program's tables it is
    AlreadyConverted, // a table of the program's own format
    NotATable,        // neither a Paradox table nor one of ours
    OtherLayout,      // a Paradox table of a layout the program has no use for
    Unreadable,       // a Paradox table that cannot be read (detail: why)
    Failed,           // the converted table could not be written (detail: why)
};

struct ConvertResult {
    QString path;
    ConvertOutcome outcome = ConvertOutcome::NotATable;
    QString detail;
    QStringList kept; // bare names of the originals kept
};

// Converts one file when it is a Paradox table with the layout of one of the
// program's tables. Never throws.
ConvertResult convertTable(const QString &path);

enum ConvertStatus {
    ConvertOk = 0,
    ConvertFailed = 1, // a converted table could not be written
    ConvertUsage = 2,  // bad arguments, a missing folder or an unreadable table
};

// Its --help and --version.
cli::CommandInfo convertCommandInfo();

// brevan-convert CARTELLA…: arguments exclude the program's name. The
// summary goes to out, usage errors and unusable folders to err; with
// progress set, a line on out tells which table is being converted.
int runConvertCommand(const QStringList &arguments, QTextStream &out, QTextStream &err, bool progress);

} // namespace brevan::legacy
