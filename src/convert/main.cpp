// SPDX-License-Identifier: GPL-2.0-or-later
// brevan-convert CARTELLA...
#include "cli/commandline.h"
#include "legacy/convert.h"

#include <QCoreApplication>
#include <QTextStream>

#include <unistd.h>

int main(int argc, char *argv[])
{
    const brevan::cli::CommandInfo info = brevan::legacy::convertCommandInfo();
    brevan::cli::keepQtQuiet(info);
    if (const int status = brevan::cli::answerStandardOptions(argc, argv, info); status >= 0)
        return status;
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return brevan::legacy::runConvertCommand(QCoreApplication::arguments().mid(1), out, err,
                                             isatty(STDOUT_FILENO) != 0);
}
