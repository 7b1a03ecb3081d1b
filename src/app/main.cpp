#include "app/application.h"
#include "app/mainwindow.h"
#include "app/splashwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    brevan::app::setUpApplication(app);

    auto *splash = new brevan::app::SplashWindow;
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    brevan::app::MainWindow window;
    window.show();
    splash->close();
    delete splash;
    return app.exec();
}
