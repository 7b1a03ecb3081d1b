// SPDX-License-Identifier: GPL-2.0-or-later
// Build-time tool: renders the program's SVG icon as the PNG sizes of the
// hicolor icon theme.   rendericon ICON.svg OUTPUT_FOLDER NAME SIZE...
// writes OUTPUT_FOLDER/<size>x<size>/apps/NAME.png for each size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 5) {
        std::fputs("uso: rendericon ICON.svg CARTELLA NOME DIMENSIONE...\n", stderr);
        return 2;
    }
    // Qt's start-up notices have no place in a build log.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "rendericon: %s\n", qPrintable(message));
    });
    // No window: the offscreen platform, whatever the session.
    char platformFlag[] = "-platform";
    char platformName[] = "offscreen";
    char *qtArgv[] = {argv[0], platformFlag, platformName, nullptr};
    int qtArgc = 3;
    QGuiApplication app(qtArgc, qtArgv);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "rendericon: %s non è un SVG leggibile\n", argv[1]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        if (size <= 0)
            return 2;
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        svg.render(&p, QRectF(0, 0, size, size));
        p.end();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
        QDir().mkpath(folder);
        if (!image.convertToFormat(QImage::Format_ARGB32).save(folder + QLatin1Char('/') + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "rendericon: impossibile scrivere %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
