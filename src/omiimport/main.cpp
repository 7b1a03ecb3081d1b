// SPDX-License-Identifier: GPL-2.0-or-later
// brevan-omi [--data FOLDER] [--tipo 20] [--stato NORMALE] [--anno YYYY] FILE...
#include "cli/commandline.h"
#include "omi/omicommand.h"

#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

// Ctrl+C stops the import between two municipalities, so that no temporary
// file is left behind and every table is whole.
void stop(int)
{
    brevan::omi::requestStop();
}

} // namespace

int main(int argc, char *argv[])
{
    const brevan::cli::CommandInfo info = brevan::omi::omiCommandInfo();
    brevan::cli::keepQtQuiet(info);
    if (const int status = brevan::cli::answerStandardOptions(argc, argv, info); status >= 0)
        return status;
    QCoreApplication app(argc, argv);
    struct sigaction action {};
    action.sa_handler = stop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return brevan::omi::runOmiCommand(QCoreApplication::arguments().mid(1), out, err, isatty(STDERR_FILENO) != 0);
}
