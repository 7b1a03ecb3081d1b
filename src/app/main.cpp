#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Brevan 2.0"));
    w.resize(640, 480);
    w.show();
    return app.exec();
}
