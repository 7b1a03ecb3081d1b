// SPDX-License-Identifier: GPL-2.0-or-later
#include "commandline.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#ifndef BREVAN_VERSION
#define BREVAN_VERSION "0"
#endif

namespace brevan::cli {

namespace {

// --help and --version, their texts starting in the column where the
// command's own option texts start.
QString standardOptions(const QString &options)
{
    int column = 17;
    for (const QString &line : options.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const qsizetype term = line.indexOf(QRegularExpression(QStringLiteral("\\S")));
        const qsizetype gap = line.indexOf(QStringLiteral("  "), term);
        const qsizetype text = gap < 0 ? -1 : line.indexOf(QRegularExpression(QStringLiteral("\\S")), gap);
        if (text > 0)
            column = std::max(column, int(text));
    }
    return QStringLiteral("  -h, --help").leftJustified(column, QLatin1Char(' ')) + QStringLiteral("mostra questo aiuto ed esce\n")
           + QStringLiteral("      --version").leftJustified(column, QLatin1Char(' '))
           + QStringLiteral("mostra la versione del programma ed esce\n");
}

// The handler's state: set once in main(), before any thread exists.
struct QuietState {
    QByteArray name;
    QByteArray cannotStart;
    bool forward = false;
    QtMessageHandler previous = nullptr;
};

QuietState &quietState()
{
    static QuietState state;
    return state;
}

void writeStderr(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(STDERR_FILENO, data, size_t(left));
        if (n <= 0)
            return;
        data += n;
        left -= n;
    }
}

void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QuietState &state = quietState();
    if (state.forward && state.previous)
        state.previous(type, context, message);
    if (type != QtFatalMsg)
        return;
    // Qt gives up (typically: no platform plugin could start). Its English
    // text stays out of the user's way unless asked for; ours says what to do.
    writeStderr(state.name + ": " + state.cannotStart + '\n');
    std::_Exit(ExitFailure);
}

bool userAskedQtForMessages()
{
    return !qEnvironmentVariableIsEmpty("QT_LOGGING_RULES") || !qEnvironmentVariableIsEmpty("QT_DEBUG_PLUGINS");
}

} // namespace

QString version()
{
    return QStringLiteral(BREVAN_VERSION);
}

QString versionLine(const CommandInfo &info)
{
    return QStringLiteral("%1 (Brevan) %2").arg(QString::fromUtf8(info.name), version());
}

QString standardExitStatuses()
{
    return QStringLiteral("  0  operazione riuscita\n"
                          "  1  qualsiasi altro errore\n"
                          "  2  errore d'uso, o un file che il comando non può usare\n");
}

QString helpText(const CommandInfo &info)
{
    QString text = info.usage;
    if (!text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    if (!info.description.isEmpty())
        text += QLatin1Char('\n') + info.description + (info.description.endsWith(QLatin1Char('\n')) ? QString() : QStringLiteral("\n"));
    text += QStringLiteral("\nOpzioni:\n") + info.options;
    if (!info.options.isEmpty() && !info.options.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    text += standardOptions(info.options);
    text += QStringLiteral("\nStato di uscita:\n")
            + (info.exitStatuses.isEmpty() ? standardExitStatuses() : info.exitStatuses);
    return text;
}

int answerStandardOptions(const QStringList &arguments, const CommandInfo &info, QString *answer)
{
    for (const QString &a : arguments) {
        if (a == QLatin1String("--"))
            break;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            *answer = helpText(info);
            return ExitOk;
        }
        if (a == QLatin1String("--version")) {
            *answer = versionLine(info) + QLatin1Char('\n');
            return ExitOk;
        }
    }
    return -1;
}

int answerStandardOptions(int argc, char **argv, const CommandInfo &info)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QString answer;
    const int status = answerStandardOptions(arguments, info, &answer);
    if (status >= 0) {
        const QByteArray bytes = answer.toLocal8Bit();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        std::fflush(stdout);
    }
    return status;
}

void keepQtQuiet(const CommandInfo &info)
{
    QuietState &state = quietState();
    state.name = QByteArray(info.name);
    state.cannotStart = (info.cannotStart.isEmpty()
                             ? QStringLiteral("impossibile avviare il programma (libreria Qt non utilizzabile).")
                             : info.cannotStart)
                            .toLocal8Bit();
    state.forward = userAskedQtForMessages();
    state.previous = qInstallMessageHandler(quietHandler);
}

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || !qEnvironmentVariableIsEmpty("DISPLAY");
}

} // namespace brevan::cli
