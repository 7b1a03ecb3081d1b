// SPDX-License-Identifier: GPL-2.0-or-later
// No program the build installs keeps the build folder's path in its code or
// data. A program that looked for files there would, once installed, run
// whatever a later build, or another user of a shared folder, puts in it.
// Debug information is left out of the search: it names the folders the
// sources were compiled in, and the package strips it.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestBuildPaths : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void noBuildFolder_data();
    void noBuildFolder();

private:
    QString objcopy;
};

void TestBuildPaths::initTestCase()
{
#if !defined(QT_NO_DEBUG) || defined(BREVAN_SANITIZE)
    // Assertions and sanitizer checks name the generated sources they were
    // compiled from, which live in the build folder.
    QSKIP("debug and sanitizer builds keep source locations by design");
#endif
    objcopy = QStandardPaths::findExecutable(QStringLiteral("objcopy"));
    QVERIFY2(!objcopy.isEmpty(), "objcopy (binutils) not found");
}

void TestBuildPaths::noBuildFolder_data()
{
    QTest::addColumn<QString>("program");
    for (const QString &path : QStringLiteral(BREVAN_COMMAND_PATHS).split(QLatin1Char('|'), Qt::SkipEmptyParts))
        QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
}

void TestBuildPaths::noBuildFolder()
{
    QFETCH(QString, program);
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    const QString stripped = scratch.filePath(QStringLiteral("stripped"));
    QProcess strip;
    strip.start(objcopy, {QStringLiteral("--strip-debug"), program, stripped});
    QVERIFY(strip.waitForFinished(120000));
    QVERIFY2(strip.exitStatus() == QProcess::NormalExit && strip.exitCode() == 0,
             strip.readAllStandardError().constData());
    QFile file(stripped);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\x7f" "ELF"));

    const QString folder = QDir::cleanPath(QStringLiteral(BREVAN_BUILD_DIR));
    QVERIFY(folder.startsWith(QLatin1Char('/')) && folder.size() > 1);
    // As 8-bit text and as the UTF-16 that string literals of Qt hold.
    const QByteArray utf8 = folder.toUtf8();
    const QByteArray utf16(reinterpret_cast<const char *>(folder.utf16()), folder.size() * qsizetype(sizeof(char16_t)));
    for (const QByteArray &needle : {utf8, utf16}) {
        const qsizetype at = bytes.indexOf(needle);
        if (at >= 0) {
            const QByteArray around = bytes.mid(at, needle.size() + 60).replace('\0', "");
            QFAIL(qPrintable(QStringLiteral("%1 holds the build folder at byte %2: %3")
                                 .arg(program)
                                 .arg(at)
                                 .arg(QString::fromLatin1(around))));
        }
    }
}

QTEST_GUILESS_MAIN(TestBuildPaths)
#include "tst_buildpaths.moc"
