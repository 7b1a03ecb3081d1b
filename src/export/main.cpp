// SPDX-License-Identifier: GPL-2.0-or-later
// brevan-export STIMA.db [--euro] [--text] [--json] [--rtf FILE] [--pdf FILE] [--pages LIST]
#include "app/application.h"
#include "app/exportcommand.h"
#include "cli/commandline.h"
#include "store/oserror.h"

#include <QApplication>
#include <QTextStream>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[])
{
    const brevan::cli::CommandInfo info = brevan::app::exportCommandInfo();
    brevan::cli::keepQtQuiet(info);
    if (const int status = brevan::cli::answerStandardOptions(argc, argv, info); status >= 0)
        return status;
    // Headless unless a platform was asked for: the command shows no window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    brevan::app::setUpApplication(app);
    QTextStream out(stdout);
    QTextStream err(stderr);
    int status = brevan::app::runExportCommand(QApplication::arguments().mid(1), out, err);
    // What the system keeps back until the output is closed (a file on a
    // network share) fails only then.
    out.flush();
    if (std::fflush(stdout) != 0 || (::close(STDOUT_FILENO) != 0 && errno != EBADF)) {
        const QString reason = brevan::systemErrorText(errno);
        if (status == brevan::app::ExportOk) {
            err << "brevan-export: " << brevan::app::standardOutputFailureText(reason) << "\n";
            status = brevan::app::ExportCannotWrite;
        }
    }
    err.flush();
    return status;
}
