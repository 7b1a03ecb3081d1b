// Start-up to the first paint of the shown main window. With "bare" it shows a
// plain QMainWindow instead, the yardstick for the ratio. Run both through
// startup.sh, which starts each many times as a fresh process and reports
// medians of wall time and peak memory.
#include "app/application.h"
#include "app/mainwindow.h"
#include "store/datafolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

namespace {

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint || e->type() == QEvent::UpdateRequest)
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer timer;
    timer.start();
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    QApplication app(argc, argv);
    QTemporaryDir dir;
    FirstPaint paint;
    std::unique_ptr<QMainWindow> window;
    if (bare) {
        window = std::make_unique<QMainWindow>();
        window->resize(640, 480);
    } else {
        brevan::app::setUpApplication(app);
        QDir::setCurrent(dir.path());
        brevan::AliasRegistry::setConfigFile(dir.filePath(QStringLiteral("tablestore.ini")));
        window = std::make_unique<brevan::app::MainWindow>();
    }
    window->installEventFilter(&paint);
    window->show();
    app.exec();
    std::printf("%s: %.1f ms to first paint\n", bare ? "bare" : "brevan", timer.nsecsElapsed() / 1e6);
    return 0;
}
