#pragma once
// brevan-export: opens a saved appraisal in a main window nobody sees, with a
// private data folder and configuration, computes it as the results page
// does, and writes the summary, the record, the RTF export or the report.
#include <QStringList>

class QTextStream;

namespace brevan::app {

// Exit statuses.
enum ExportStatus {
    ExportOk = 0,
    ExportUsage = 1,       // bad arguments, or a failure the program reported
    ExportCannotOpen = 2,  // the appraisal could not be opened
    ExportCannotWrite = 3, // an output file could not be written
};

// The warning "&Apri stima..." shows for a file it cannot load.
extern const QString kOpenAppraisalFailed;

// Runs the command on the running QApplication. arguments excludes the
// program's name. Results go to out, messages and errors to err.
int runExportCommand(const QStringList &arguments, QTextStream &out, QTextStream &err);

} // namespace brevan::app
