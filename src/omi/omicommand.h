// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// brevan-omi: writes the zone and unit-rent tables of every municipality of
// one or more OMI quotation files into the data folder.
#include "cli/commandline.h"

#include <QStringList>

class QTextStream;

namespace brevan::omi {

enum CommandStatus {
    CommandOk = 0,
    CommandFailed = 1, // damaged rows, a table that could not be written
    CommandUsage = 2,  // bad arguments, or a file that cannot be used at all
    CommandUnplaced = 3, // all written, but rows of municipalities not in force in the list were left out
};

// Its --help and --version.
cli::CommandInfo omiCommandInfo();

// Runs the command. arguments excludes the program's name. The closing counts
// go to out, messages to err; progress goes to err only when showProgress is
// set (err is a terminal).
int runOmiCommand(const QStringList &arguments, QTextStream &out, QTextStream &err, bool showProgress);

// Asks a running command to stop between two municipalities, leaving every
// table whole (safe to call from a signal handler).
void requestStop();

} // namespace brevan::omi
