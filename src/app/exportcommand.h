// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// brevan-export: opens a saved appraisal in a main window nobody sees, with a
// private data folder and configuration, computes it as the results page
// does, and writes the summary, the record, the RTF export or the report.
#include "cli/commandline.h"

#include <QStringList>

class QTextStream;

namespace brevan::app {

// Exit statuses, as every Brevan command gives them.
enum ExportStatus {
    ExportOk = cli::ExitOk,
    ExportUsage = cli::ExitUsage,        // bad arguments
    ExportCannotOpen = cli::ExitUsage,   // the appraisal could not be opened
    ExportCannotWrite = cli::ExitFailure, // an output file could not be written
    ExportFailed = cli::ExitFailure,     // a failure the program reported
};

// Usage, options and exit statuses, for --help and the manual page.
cli::CommandInfo exportCommandInfo();

// The warning "&Apri stima..." shows for a file it cannot load.
extern const QString kOpenAppraisalFailed;

// What the command says when the standard output cannot take its results
// (a full disk, a closed pipe), with the system's reason.
QString standardOutputFailureText(const QString &reason);

// Runs the command on the running QApplication. arguments excludes the
// program's name. Results go to out, messages and errors to err.
int runExportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);

} // namespace brevan::app
