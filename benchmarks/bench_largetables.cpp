// SPDX-License-Identifier: GPL-2.0-or-later
// Opening saved appraisals whose surfaces copy is far larger than any unit's:
// 10,000 rows (the most a table may hold), 300,000 rows (4.8 MB) and about
// 4.8 million rows (77 MB). Each case runs the export command (open as
// "Apri stima..." does, then the summary) in a child process of its own, so
// that its wall time and its peak memory are its own.
#include "app/application.h"
#include "app/exportcommand.h"
#include "files/appraisalfiles.h"
#include "store/datafolder.h"
#include "store/tablestore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <cstring>

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace brevan;

namespace {

// An appraisal whose surfaces copy holds rows rooms.
QString writeAppraisal(const QString &folder, int rows)
{
    const QString stem = QStringLiteral("x%1").arg(rows);
    const QString surfaces = QStringLiteral("Superfici - %1.db").arg(stem);
    // Rows written by SQLite itself, so that this process never holds them
    // (its memory would count in the child it forks).
    const QString path = folder + QLatin1Char('/') + surfaces;
    Table::create(path, surfacesLayout());
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    const QByteArray fill = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                           "INSERT INTO tabella SELECT 'Camera', 10 + i % 20 FROM n;")
                                .arg(rows - 1)
                                .toUtf8();
    sqlite3_exec(db, fill.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    files::RecordValues values;
    values.insert(QStringLiteral("IndirizzoImmob"), QStringLiteral("Via Roma"));
    values.insert(QStringLiteral("DataStimaImmob"), QStringLiteral("05/11/2023"));
    values.insert(QStringLiteral("SuperficiImmob"), surfaces);
    const Layout layout = files::recordLayout();
    const QString table = folder + QStringLiteral("/Stima - %1.db").arg(stem);
    files::writeOneRowTable(table, layout, files::rowFor(layout, values));
    return table;
}

// The child: the export command on one appraisal, its summary discarded.
int runCase(int argc, char *argv[], const QString &table)
{
    QApplication app(argc, argv);
    app::setUpApplication(app);
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = app::runExportCommand({table, QStringLiteral("--text")}, o, e);
    e.flush();
    std::fprintf(stderr, "%s", err.toUtf8().constData());
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--case") == 0) {
        int qtArgc = 1;
        return runCase(qtArgc, argv, QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication core(argc, argv);
    QTemporaryDir dir;
    for (const int rows : {36, kMaxTableRows, 300'000, 4'800'000}) {
        const QString table = writeAppraisal(dir.path(), rows);
        const qint64 bytes = QFileInfo(dir.filePath(QStringLiteral("Superfici - x%1.db").arg(rows))).size();
        QElapsedTimer clock;
        clock.start();
        const pid_t child = fork();
        if (child == 0) {
            const QByteArray path = QFile::encodeName(table);
            execl(argv[0], argv[0], "--case", path.constData(), static_cast<char *>(nullptr));
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        const double ms = clock.nsecsElapsed() / 1e6;
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::printf("open + summary, surfaces copy of %d rows (%.1f MB): %.0f ms, peak %ld MB, %s\n", rows,
                    bytes / 1048576.0, ms, usage.ru_maxrss / 1024,
                    code == app::ExportOk            ? "opened"
                    : code == app::ExportCannotOpen ? "refused"
                                                    : "FAILED");
        std::fflush(stdout);
    }
    return 0;
}
