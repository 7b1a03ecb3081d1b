// SPDX-License-Identifier: GPL-2.0-or-later
// Writes the sample appraisal (tools/sampleunit.h) into a folder and prints
// the path of its table. Used by the package check, which then opens it with
// the installed brevan-export.
//   sampleappraisal FOLDER
#include "sampleunit.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fputs("uso: sampleappraisal CARTELLA\n", stderr);
        return 2;
    }
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "sampleappraisal: %s\n", qPrintable(message));
    });
    char platformFlag[] = "-platform";
    char platformName[] = "offscreen";
    char *qtArgv[] = {argv[0], platformFlag, platformName, nullptr};
    int qtArgc = 3;
    QGuiApplication app(qtArgc, qtArgv); // the plans have text
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    try {
        QTextStream(stdout) << sample::writeAppraisal(folder) << "\n";
    } catch (const std::exception &e) {
        std::fprintf(stderr, "sampleappraisal: %s\n", e.what());
        return 1;
    }
    return 0;
}
