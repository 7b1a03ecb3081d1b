// Development aid: starts the main window with a scratch data folder, shows
// every page in turn at the window's smallest and largest size and saves a
// PNG of each, so the layouts can be looked at without clicking through.
//   shootpages OUTPUT_FOLDER
#include "app/application.h"
#include "app/mainwindow.h"
#include "store/datafolder.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        qWarning("usage: shootpages OUTPUT_FOLDER");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    brevan::app::setUpApplication(app);
    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    brevan::AliasRegistry::setConfigFile(scratch.filePath(QStringLiteral("tablestore.ini")));
    brevan::app::MainWindow w;
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return 1;
    const QList<QSize> sizes{{640, 480}, {808, 600}};
    for (const QSize &size : sizes) {
        w.resize(size);
        for (int n = 0; n <= brevan::app::MainWindow::kPageNodes; ++n) {
            w.selectNode(n);
            QTest::qWait(50);
            w.grab().save(QStringLiteral("%1/page%2-%3x%4.png").arg(out).arg(n, 2, 10, QLatin1Char('0'))
                              .arg(size.width()).arg(size.height()));
        }
    }
    return 0;
}
