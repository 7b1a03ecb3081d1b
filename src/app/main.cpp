// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/application.h"
#include "app/mainwindow.h"
#include "app/programcommand.h"
#include "app/splashwindow.h"
#include "app/workplace.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (const int status = brevan::app::checkProgramStart(argc, argv); status >= 0)
        return status;
    QApplication app(argc, argv);
    brevan::app::setUpApplication(app);
    // A second start on the same data folder brings the running window
    // forward instead of working in the folder beside it.
    if (brevan::app::handOverToRunningProgram())
        return 0;

    auto *splash = new brevan::app::SplashWindow;
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    // The window shows with its start page; the other pages are built right
    // after its first paint.
    brevan::app::MainWindow window(nullptr, brevan::app::Operations::Wired, brevan::app::Startup::Deferred);
    window.show();
    splash->close();
    delete splash;
    return app.exec();
}
