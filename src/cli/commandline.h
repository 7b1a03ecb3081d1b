// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What every Brevan command shares on its command line: the Italian --help
// and the one-line --version, answered before any Qt application exists (so
// they work without a display); the exit statuses; and a message handler
// that keeps Qt's own notices (runtime folder, platform plugins, fonts) off
// the user's terminal, so that standard error carries only the command's
// own messages.
//
// A command's main() reads, in this order:
//     brevan::cli::keepQtQuiet(info);
//     if (const int status = brevan::cli::answerStandardOptions(argc, argv, info); status >= 0)
//         return status;
//     QCoreApplication app(argc, argv); ...
#include <QString>

namespace brevan::cli {

enum ExitStatus {
    ExitOk = 0,      // done
    ExitFailure = 1, // anything else that went wrong
    ExitUsage = 2,   // bad arguments, or an input file the command cannot use
};

struct CommandInfo {
    const char *name = "";   // "brevan-export"
    QString usage;           // the lines that start with "Uso: "
    QString description;     // what the command does, a few lines
    QString options;         // one option per line, already aligned
    QString exitStatuses;    // empty: the standard three lines
    // What the command says, instead of Qt's fatal message, when Qt cannot
    // start (no usable platform plugin, no display). Empty: a generic line.
    QString cannotStart;
};

// The program's version, as the build gives it ("2.0").
QString version();
// "brevan-export (Brevan) 2.0"
QString versionLine(const CommandInfo &info);
// The whole --help text: usage, description, options (with --help and
// --version), exit statuses.
QString helpText(const CommandInfo &info);
// The standard lines of the exit statuses.
QString standardExitStatuses();

// Looks for --help, -h or --version among the arguments (before a "--"),
// answers on standard output and returns the exit status; -1 when neither
// was asked, and the command goes on.
int answerStandardOptions(int argc, char **argv, const CommandInfo &info);
// The same on arguments that exclude the program's name, for commands run
// in-process by the tests: the answer goes to *answer.
int answerStandardOptions(const QStringList &arguments, const CommandInfo &info, QString *answer);

// Installs the message handler: Qt's debug, info and warning messages are
// dropped unless the user asked Qt for them (QT_LOGGING_RULES,
// QT_DEBUG_PLUGINS); a fatal one prints info.cannotStart (or a generic
// Italian line) and ends the process with ExitFailure.
void keepQtQuiet(const CommandInfo &info);

// Whether the environment names a display a graphical program can use:
// QT_QPA_PLATFORM chosen, or WAYLAND_DISPLAY or DISPLAY set.
bool hasDisplay();

} // namespace brevan::cli
