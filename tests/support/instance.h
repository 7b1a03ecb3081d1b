// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A program folder, data folder and configuration shared by a test and the
// child processes it starts as further runs of the program, each a test
// binary started again with an argument.
#include "pages/messages.h"
#include "store/datafolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <cstdio>

namespace instance {

inline QString configFile(const QString &root)
{
    return root + QStringLiteral("/config/tablestore.ini");
}

inline QString dataFolder(const QString &root)
{
    return root + QStringLiteral("/program/Dati");
}

// Points this process at the place: its configuration and current folder.
inline void enter(const QString &root)
{
    QDir().mkpath(root + QStringLiteral("/program"));
    QDir::setCurrent(root + QStringLiteral("/program"));
    brevan::AliasRegistry::setConfigFile(configFile(root));
}

// A message box's text on one line.
inline QString oneLine(const QString &text)
{
    QString t = text;
    return t.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
}

// In a child: every message box is answered yes and printed on a line of its own.
inline void printMessages()
{
    brevan::ui::Messages::setAnswers([](const brevan::ui::Messages::Shown &s) {
        std::printf("messaggio %s\n", oneLine(s.text).toUtf8().constData());
        std::fflush(stdout);
        return true;
    });
}

inline void say(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

// Starts the test binary again as a child with these arguments.
inline void startChild(QProcess &child, const QStringList &arguments)
{
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QCoreApplication::applicationFilePath(), arguments);
}

// What the child printed, line by line, once it has ended. This process's
// events go on meanwhile, so it can answer the child.
inline QStringList waitForChild(QProcess &child, int timeoutMs = 60000)
{
    if (child.state() != QProcess::NotRunning) {
        QEventLoop loop;
        QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace instance
