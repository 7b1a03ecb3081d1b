// SPDX-License-Identifier: GPL-2.0-or-later
// scripts/spdx-headers.sh on a scratch copy of a project tree: the SPDX line
// in each language's comment, under a "#!" line, line ends and permissions
// kept, everything that is not our source left byte for byte, and a second
// run changing nothing.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kSlash = "// SPDX-License-Identifier: GPL-2.0-or-later";
const QByteArray kHash = "# SPDX-License-Identifier: GPL-2.0-or-later";

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run script(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("bash"), QStringList{QStringLiteral(BREVAN_SPDX_SCRIPT)} + args);
    Run r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

bool write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TestSpdxHeaders : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void oneFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");

        const QByteArray nl = "\n";
        QTest::newRow("C++ source") << "src/app/a.cpp" << QByteArray("#include <x>\nint a;\n")
                                    << kSlash + nl + "#include <x>\nint a;\n";
        QTest::newRow("header") << "src/a.h" << QByteArray("#pragma once\n") << kSlash + nl + "#pragma once\n";
        QTest::newRow("source configured by CMake") << "src/data/t.cpp.in" << QByteArray("const char t[] = \"@X@\";\n")
                                                    << kSlash + nl + "const char t[] = \"@X@\";\n";
        QTest::newRow("shell script") << "scripts/x.sh" << QByteArray("#!/usr/bin/env bash\nset -e\necho hi\n")
                                      << "#!/usr/bin/env bash\n" + kHash + "\nset -e\necho hi\n";
        QTest::newRow("node script") << "scripts/g.mjs" << QByteArray("#!/usr/bin/env node\nconsole.log(1);\n")
                                     << "#!/usr/bin/env node\n" + kSlash + "\nconsole.log(1);\n";
        QTest::newRow("script without extension") << ".ci/run" << QByteArray("#!/bin/sh\nmake test\n")
                                                  << "#!/bin/sh\n" + kHash + "\nmake test\n";
        QTest::newRow("CMakeLists.txt") << "src/CMakeLists.txt" << QByteArray("add_subdirectory(x)\n")
                                        << kHash + nl + "add_subdirectory(x)\n";
        QTest::newRow("CMake module") << "cmake/x.cmake" << QByteArray("set(A 1)\n") << kHash + nl + "set(A 1)\n";
        QTest::newRow("Makefile") << "Makefile" << QByteArray("all:\n\ttrue\n") << kHash + nl + "all:\n\ttrue\n";
        QTest::newRow("no line end at the end") << "src/c.cpp" << QByteArray("int c;") << kSlash + nl + "int c;";
        QTest::newRow("only a #! line, no line end") << "s.sh" << QByteArray("#!/bin/sh")
                                                     << "#!/bin/sh\n" + kHash + nl;
        QTest::newRow("CRLF line ends") << "src/w.cpp" << QByteArray("int w;\r\nint v;\r\n")
                                        << kSlash + "\r\nint w;\r\nint v;\r\n";
        QTest::newRow("CRLF script") << "w.sh" << QByteArray("#!/bin/sh\r\necho\r\n")
                                     << "#!/bin/sh\r\n" + kHash + "\r\necho\r\n";
        QTest::newRow("empty header") << "src/e.h" << QByteArray() << kSlash + nl;

        // Left as they are.
        const QByteArray marked = kSlash + "\nint b;\n";
        QTest::newRow("already marked") << "src/b.cpp" << marked << marked;
        const QByteArray markedScript = "#!/bin/bash\n" + kHash + "\necho\n";
        QTest::newRow("already marked under #!") << "b.sh" << markedScript << markedScript;
        const QByteArray otherLicence = "// SPDX-License-Identifier: MIT\nint m;\n";
        QTest::newRow("another licence named") << "src/m.cpp" << otherLicence << otherLicence;
        const QByteArray code = "int f;\n";
        QTest::newRow("test fixture") << "tests/fixtures/f.cpp" << code << code;
        QTest::newRow("build folder") << "build/src/moc_x.cpp" << code << code;
        QTest::newRow("package build folder") << "build-package/x.h" << code << code;
        QTest::newRow("guide") << "docs/guida.md" << QByteArray("# Guida\n") << QByteArray("# Guida\n");
        QTest::newRow("data table") << "src/data/comuni.tsv" << QByteArray("Roma\tRM\n") << QByteArray("Roma\tRM\n");
        const QByteArray xml = "<?xml version=\"1.0\"?>\n<component/>\n";
        QTest::newRow("AppStream file") << "dist/x.metainfo.xml" << xml << xml;
        QTest::newRow("plain text") << "notes.txt" << QByteArray("hello\n") << QByteArray("hello\n");
        QTest::newRow("fixture without extension") << "README" << QByteArray("#!not a script\n")
                                                   << QByteArray("#!not a script\n");
    }
    void oneFile()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);

        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString file = root.filePath(path);
        QVERIFY(write(file, before));
        const QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                        | QFile::ExeGroup;
        QVERIFY(QFile::setPermissions(file, mode));

        const bool changes = before != after;
        Run check = script({QStringLiteral("--check"), root.path()});
        QCOMPARE(check.status, changes ? 1 : 0);
        QCOMPARE(read(file), before);
        if (changes)
            QCOMPARE(check.out.trimmed(), path.toUtf8());

        Run first = script({root.path()});
        QVERIFY2(first.status == 0, first.err.constData());
        QCOMPARE(read(file), after);
        QCOMPARE(QFileInfo(file).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), mode);
        // Nothing left beside it.
        QCOMPARE(QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files | QDir::Hidden).size(), 1);

        Run again = script({root.path()});
        QVERIFY2(again.status == 0, again.err.constData());
        QCOMPARE(read(file), after);
        QCOMPARE(script({QStringLiteral("--check"), root.path()}).status, 0);
    }

    // In a git checkout only the tracked files are the project's.
    void gitCheckoutTrackedFilesOnly()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        QVERIFY(write(root.filePath(QStringLiteral("src/tracked.cpp")), "int t;\n"));
        QVERIFY(write(root.filePath(QStringLiteral("src/untracked.cpp")), "int u;\n"));
        QProcess git;
        git.setWorkingDirectory(root.path());
        git.start(QStringLiteral("git"), {QStringLiteral("init"), QStringLiteral("-q")});
        QVERIFY(git.waitForFinished() && git.exitCode() == 0);
        git.start(QStringLiteral("git"), {QStringLiteral("add"), QStringLiteral("src/tracked.cpp")});
        QVERIFY(git.waitForFinished() && git.exitCode() == 0);

        Run r = script({root.path()});
        QVERIFY2(r.status == 0, r.err.constData());
        QCOMPARE(read(root.filePath(QStringLiteral("src/tracked.cpp"))), kSlash + "\nint t;\n");
        QCOMPARE(read(root.filePath(QStringLiteral("src/untracked.cpp"))), QByteArray("int u;\n"));
    }

    void notAFolder()
    {
        QTemporaryDir root;
        Run r = script({root.filePath(QStringLiteral("missing"))});
        QCOMPARE(r.status, 2);
        QVERIFY(r.err.contains("missing"));
    }
};

QTEST_GUILESS_MAIN(TestSpdxHeaders)
#include "tst_spdxheaders.moc"
