// brevan-convert CARTELLA...
#include "legacy/convert.h"

#include <QCoreApplication>
#include <QTextStream>

#include <unistd.h>

namespace {

// Qt's own notices (a missing runtime folder, a locale it does not know) are
// not the command's messages: nothing reaches standard error but its own.
void dropQtNotice(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(dropQtNotice);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("brevan-convert"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BREVAN_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return brevan::legacy::runConvertCommand(QCoreApplication::arguments().mid(1), out, err,
                                             isatty(STDOUT_FILENO) != 0);
}
