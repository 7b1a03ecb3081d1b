// SPDX-License-Identifier: GPL-2.0-or-later
#include "pages/folderdialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using brevan::ui::FolderDialog;

namespace {

// A folder under base whose absolute path is exactly length characters long.
QString folderOfLength(const QString &base, int length)
{
    const QString prefix = QDir(base).absolutePath() + QStringLiteral("/");
    const int room = length - int(prefix.size());
    if (room < 1)
        qFatal("temporary folder too long for a %d-character path", length);
    QString name;
    for (int i = 0; i < room; ++i)
        name += QChar(u'a' + i % 26);
    const QString path = prefix + name;
    QDir().mkpath(path);
    return path;
}

} // namespace

class TestFolderDialog : public QObject {
    Q_OBJECT
private:
    QString m_savedCwd;

private Q_SLOTS:
    void init()
    {
        m_savedCwd = QDir::currentPath();
    }
    void cleanup()
    {
        QDir::setCurrent(m_savedCwd);
    }

    void captionButtonsAndDrives()
    {
        FolderDialog d;
        QCOMPARE(d.windowTitle(), QStringLiteral("Specifica cartella immobili di confronto"));
        QCOMPARE(d.okButton->text(), QStringLiteral("&OK"));
        QCOMPARE(d.cancelButton->text(), QStringLiteral("&Annulla"));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        QCOMPARE(d.pathPanel->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        QVERIFY(d.pathPanel->frameShadow() == QFrame::Sunken);
        QStringList roots;
        for (int i = 0; i < d.driveSelector->count(); ++i)
            roots << d.driveSelector->itemData(i).toString();
        QVERIFY(!roots.isEmpty());
        for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
            if (volume.isValid() && volume.isReady())
                QVERIFY2(roots.contains(volume.rootPath()), qPrintable(volume.rootPath()));
        }
    }

    void shortenedPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("shown");
        const QString p55 = QStringLiteral("/home/utente/Documenti/Stime/2024/Milano/Zona_Centro_01");
        const QString p56 = p55 + QStringLiteral("x");
        QTest::newRow("short") << QStringLiteral("/tmp") << QStringLiteral("/tmp");
        QTest::newRow("55 whole") << p55 << p55;
        QTest::newRow("56 cut") << p56 << p56.left(25) + QStringLiteral(" ... ") + p56.right(25);
        QTest::newRow("long cut") << QString(120, QLatin1Char('z')).prepend(QStringLiteral("/a/"))
                                  << QStringLiteral("/a/") + QString(22, QLatin1Char('z')) + QStringLiteral(" ... ")
                                         + QString(25, QLatin1Char('z'));
    }
    void shortenedPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, shown);
        QCOMPARE(path.size() == 55, QTest::currentDataTag() == QByteArray("55 whole"));
        const QString result = FolderDialog::shortenedPath(path);
        QCOMPARE(result, shown);
        QVERIFY(result.size() <= 55);
    }

    // The panel of the real dialog for folders of 55 and 56 characters.
    void panelShowsTheListFolder_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("whole");
        QTest::newRow("55 characters") << 55 << true;
        QTest::newRow("56 characters") << 56 << false;
    }
    void panelShowsTheListFolder()
    {
        QFETCH(int, length);
        QFETCH(bool, whole);
        QTemporaryDir scratch(QStringLiteral("/tmp/fdXXXXXX"));
        const QString folder = folderOfLength(scratch.path(), length);
        QCOMPARE(folder.size(), length);
        QDir::setCurrent(folder);
        FolderDialog d;
        QString panelWhileOpen;
        d.runModal = [&](FolderDialog &dialog) {
            panelWhileOpen = dialog.pathPanel->text();
            return int(QDialog::Accepted);
        };
        QCOMPARE(d.choose(), folder);
        QCOMPARE(panelWhileOpen, whole ? folder : folder.left(25) + QStringLiteral(" ... ") + folder.right(25));
        QCOMPARE(panelWhileOpen.size(), std::min(length, 55));
    }

    void firstUseAtCurrentFolderThenWhereLeft()
    {
        QTemporaryDir scratch;
        const QString first = scratch.filePath(QStringLiteral("uno"));
        const QString second = scratch.filePath(QStringLiteral("due"));
        QDir().mkpath(first);
        QDir().mkpath(second);
        QDir::setCurrent(first);
        FolderDialog d;
        d.runModal = [](FolderDialog &) { return int(QDialog::Accepted); };
        QCOMPARE(d.choose(), first);
        // The user moves the list; the next use opens there, not at the
        // process's current folder.
        d.runModal = [&](FolderDialog &dialog) {
            dialog.setListFolder(second);
            dialog.ElaboraPercorsoDati();
            return int(QDialog::Accepted);
        };
        QCOMPARE(d.choose(), second);
        QDir::setCurrent(first);
        QString openedAt;
        d.runModal = [&](FolderDialog &dialog) {
            openedAt = dialog.pathPanel->text();
            return int(QDialog::Rejected);
        };
        QCOMPARE(d.choose(), QString());
        QCOMPARE(openedAt, QDir::toNativeSeparators(second));
    }

    void cancelAndCloseGiveNothing_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Annulla") << 0;
        QTest::newRow("window closed") << 1;
        QTest::newRow("Escape") << 2;
    }
    void cancelAndCloseGiveNothing()
    {
        QFETCH(int, how);
        QTemporaryDir scratch;
        QDir::setCurrent(scratch.path());
        FolderDialog d;
        d.runModal = [how](FolderDialog &dialog) {
            dialog.show();
            if (how == 0)
                QTest::mouseClick(dialog.cancelButton, Qt::LeftButton);
            else if (how == 1)
                dialog.close();
            else
                QTest::keyClick(&dialog, Qt::Key_Escape);
            return dialog.result();
        };
        QCOMPARE(d.choose(), QString());
        d.runModal = [](FolderDialog &dialog) {
            dialog.show();
            QTest::mouseClick(dialog.okButton, Qt::LeftButton);
            return dialog.result();
        };
        QCOMPARE(d.choose(), scratch.path());
    }

    void mouseUpInTheListTakesItsFolder()
    {
        QTemporaryDir scratch;
        const QString parent = scratch.filePath(QStringLiteral("padre"));
        const QString child = parent + QStringLiteral("/figlio");
        QDir().mkpath(child);
        QDir::setCurrent(child);
        FolderDialog d;
        auto body = [&](FolderDialog &dialog) {
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QCOMPARE(dialog.pathPanel->text(), child);
            auto *model = qobject_cast<QFileSystemModel *>(dialog.directoryList->model());
            const QModelIndex parentIndex = model->index(parent);
            dialog.directoryList->scrollTo(parentIndex);
            const QRect r = dialog.directoryList->visualRect(parentIndex);
            QVERIFY(r.isValid());
            QTest::mouseClick(dialog.directoryList->viewport(), Qt::LeftButton, {}, r.center());
            QCOMPARE(dialog.pathPanel->text(), parent);
            QTest::mouseClick(dialog.okButton, Qt::LeftButton);
        };
        d.runModal = [&](FolderDialog &dialog) {
            body(dialog);
            return dialog.result();
        };
        QCOMPARE(d.choose(), parent);
    }

    void driveChangeMovesTheList()
    {
        QTemporaryDir scratch;
        QDir::setCurrent(scratch.path());
        FolderDialog d;
        d.runModal = [](FolderDialog &dialog) {
            // Any volume other than the one shown, else the same one again.
            int other = 0;
            for (int i = 0; i < dialog.driveSelector->count(); ++i) {
                if (i != dialog.driveSelector->currentIndex())
                    other = i;
            }
            dialog.driveSelector->setCurrentIndex(other);
            Q_EMIT dialog.driveSelector->activated(other);
            return int(QDialog::Accepted);
        };
        const QString chosen = d.choose();
        QCOMPARE(chosen, d.driveSelector->currentData().toString());
        QCOMPARE(d.pathPanel->text(), FolderDialog::shortenedPath(QDir::toNativeSeparators(chosen)));
    }
};

QTEST_MAIN(TestFolderDialog)
#include "tst_folderdialog.moc"
