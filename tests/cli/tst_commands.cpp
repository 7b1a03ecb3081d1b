// SPDX-License-Identifier: GPL-2.0-or-later
// Every installed command, run as a user or a script runs it: --help and
// --version answered on standard output with nothing on standard error,
// whatever the session lacks (no display, no runtime folder); usage errors
// and unusable files ending with status 2; brevan itself, without a
// display, saying so in Italian.
#include "cli/commandline.h"
#include "files/appraisalfiles.h"

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

using namespace brevan;

namespace {

struct Result {
    int status = -1;
    QString out;
    QString err;
};

// The commands the build installs, "name=path" each.
QHash<QString, QString> commands()
{
    QHash<QString, QString> all;
    for (const QString &path : QStringLiteral(BREVAN_COMMAND_PATHS).split(QLatin1Char('|'), Qt::SkipEmptyParts))
        all.insert(QFileInfo(path).fileName(), path);
    return all;
}

// A terminal without a graphical session and without XDG_RUNTIME_DIR: what
// a script under cron or an ssh login has.
QProcessEnvironment bareEnvironment()
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    env.insert(QStringLiteral("HOME"), QDir::tempPath());
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    return env;
}

Result run(const QString &program, const QStringList &args, const QProcessEnvironment &env = bareEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    Result r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("<timed out>");
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace

class TestCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyCommandIsListed();
    void help_data();
    void help();
    void version_data();
    void version();
    void usageAndUnusableFiles_data();
    void usageAndUnusableFiles();
    void brevanWithoutDisplay_data();
    void brevanWithoutDisplay();
    void exportWritesOnlyItsOwnMessages();
};

void TestCommands::everyCommandIsListed()
{
    const QHash<QString, QString> all = commands();
    for (const char *name : {"brevan", "brevan-export", "brevan-metafile"})
        QVERIFY2(all.contains(QLatin1String(name)), name);
    for (const QString &path : all)
        QVERIFY2(QFileInfo(path).isExecutable(), qPrintable(path));
}

void TestCommands::help_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("option");
    for (const QString &name : commands().keys()) {
        QTest::newRow(qPrintable(name + QStringLiteral(" --help"))) << name << QStringLiteral("--help");
        QTest::newRow(qPrintable(name + QStringLiteral(" -h"))) << name << QStringLiteral("-h");
    }
}

void TestCommands::help()
{
    QFETCH(QString, name);
    QFETCH(QString, option);
    const Result r = run(commands().value(name), {option});
    QCOMPARE(r.err, QString());
    QCOMPARE(r.status, 0);
    QVERIFY2(r.out.startsWith(QStringLiteral("Uso: ") + name), qPrintable(r.out));
    for (const char *part : {"\nOpzioni:\n", "--help", "--version", "\nStato di uscita:\n", "\n  0  ", "\n  1  ", "\n  2  "})
        QVERIFY2(r.out.contains(QLatin1String(part)), part);
}

void TestCommands::version_data()
{
    QTest::addColumn<QString>("name");
    for (const QString &name : commands().keys())
        QTest::newRow(qPrintable(name)) << name;
}

void TestCommands::version()
{
    QFETCH(QString, name);
    const Result r = run(commands().value(name), {QStringLiteral("--version")});
    QCOMPARE(r.err, QString());
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, name + QStringLiteral(" (Brevan) ") + cli::version() + QLatin1Char('\n'));
}

void TestCommands::usageAndUnusableFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("export, no file") << "brevan-export" << QStringList{} << 2 << "manca il file della stima";
    QTest::newRow("export, unknown option") << "brevan-export" << QStringList{"a.db", "--xml"} << 2 << "xml";
    QTest::newRow("export, missing appraisal")
        << "brevan-export" << QStringList{"/nonexistent/Stima - x.db", "--json"} << 2
        << "il file \"/nonexistent/Stima - x.db\" non esiste.";
    QTest::newRow("metafile, no file") << "brevan-metafile" << QStringList{} << 2 << "uso: brevan-metafile";
    QTest::newRow("metafile, not a metafile")
        << "brevan-metafile" << QStringList{QStringLiteral(BREVAN_COMMAND_SOURCE)} << 2 << "non è un metafile";
}

void TestCommands::usageAndUnusableFiles()
{
    QFETCH(QString, name);
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, message);
    const Result r = run(commands().value(name), args);
    QCOMPARE(r.status, status);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
    // Only the command's own Italian lines: nothing from Qt.
    for (const char *foreign : {"QStandardPaths", "XDG_RUNTIME_DIR", "qt.qpa", "QFont"})
        QVERIFY2(!r.err.contains(QLatin1String(foreign)), qPrintable(r.err));
}

void TestCommands::brevanWithoutDisplay_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("message");
    QTest::newRow("no display at all") << QString() << "Brevan ha bisogno di un desktop grafico";
    QTest::newRow("a display nobody serves") << ":64999" << "impossibile aprire la finestra: serve un desktop grafico";
}

void TestCommands::brevanWithoutDisplay()
{
    QFETCH(QString, display);
    QFETCH(QString, message);
    QProcessEnvironment env = bareEnvironment();
    if (!display.isEmpty())
        env.insert(QStringLiteral("DISPLAY"), display);
    const Result r = run(commands().value(QStringLiteral("brevan")), {}, env);
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.startsWith(QStringLiteral("brevan: ") + message), qPrintable(r.err));
    for (const char *foreign : {"platform plugin", "qt.qpa", "Reinstalling", "XDG_RUNTIME_DIR"})
        QVERIFY2(!r.err.contains(QLatin1String(foreign)), qPrintable(r.err));
}

void TestCommands::exportWritesOnlyItsOwnMessages()
{
    QTemporaryDir dir;
    const QString appraisal = dir.filePath(QStringLiteral("Stima - Via Roma 10.db"));
    files::RecordValues values{{QStringLiteral("CognomeProfess"), QStringLiteral("Rossi")},
                               {QStringLiteral("NomeProfess"), QStringLiteral("Mario")},
                               {QStringLiteral("IndirizzoImmob"), QStringLiteral("Via Roma")},
                               {QStringLiteral("NumCivicoImmob"), QStringLiteral("10")},
                               {QStringLiteral("DataStimaImmob"), QStringLiteral("05/11/2023")}};
    const Layout layout = files::recordLayout();
    files::writeOneRowTable(appraisal, layout, files::rowFor(layout, values));
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    QProcessEnvironment env = bareEnvironment();
    env.insert(QStringLiteral("HOME"), dir.path());
    const Result r = run(commands().value(QStringLiteral("brevan-export")),
                         {appraisal, QStringLiteral("--text"), QStringLiteral("--pdf"), pdf}, env);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.contains(QStringLiteral("Parametri di confronto.")));
    QVERIFY(QFileInfo(pdf).size() > 0);
}

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
