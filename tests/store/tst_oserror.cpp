// SPDX-License-Identifier: GPL-2.0-or-later
// The system's file errors in Italian, from an error number and from the
// text Qt keeps after a file operation failed, whatever language the C
// library speaks; Qt's own texts are left to its translation.
#include "store/oserror.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

using namespace brevan;

class TestOsError : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void numbers_data()
    {
        QTest::addColumn<int>("err");
        QTest::addColumn<QString>("text");
        QTest::newRow("disk full") << ENOSPC << "Spazio esaurito sul dispositivo";
        QTest::newRow("permission") << EACCES << "Permesso negato";
        QTest::newRow("immutable") << EPERM << "Operazione non permessa";
        QTest::newRow("read-only file system") << EROFS << "File system in sola lettura";
        QTest::newRow("missing") << ENOENT << "File o cartella non trovati";
        QTest::newRow("quota") << EDQUOT << "Quota del disco superata";
    }
    void numbers()
    {
        QFETCH(int, err);
        QFETCH(QString, text);
        QCOMPARE(systemErrorText(err), text);
    }

    // A number the table does not hold keeps the C library's text.
    void otherNumbers()
    {
        QCOMPARE(systemErrorText(ECHILD), QString::fromLocal8Bit(std::strerror(ECHILD)));
    }

    void fileErrors_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing file") << "missing" << "File o cartella non trovati";
        QTest::newRow("a folder opened as a file") << "folder" << "È una cartella";
        QTest::newRow("in a missing folder") << "deeper" << "File o cartella non trovati";
    }
    void fileErrors()
    {
        QFETCH(QString, what);
        QFETCH(QString, text);
        QTemporaryDir dir;
        QFile file;
        if (what == "missing") {
            file.setFileName(dir.filePath("assente.db"));
            QVERIFY(!file.open(QIODevice::ReadOnly));
            QCOMPARE(fileErrorText(file), text);
            return;
        }
        if (what == "folder") {
            file.setFileName(dir.path());
            QVERIFY(!file.open(QIODevice::WriteOnly));
        } else {
            file.setFileName(dir.filePath("manca/x.db"));
            QVERIFY(!file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(fileErrorText(file), text);

        // A save file says the same where the system refused it.
        QSaveFile save(file.fileName());
        QVERIFY(!save.open(QIODevice::WriteOnly));
        if (what == "folder") // Qt's own text, which its translation covers
            QCOMPARE(fileErrorText(save), save.errorString());
        else
            QCOMPARE(fileErrorText(save), text);
    }
};

QTEST_GUILESS_MAIN(TestOsError)
#include "tst_oserror.moc"
