// SPDX-License-Identifier: GPL-2.0-or-later
// One program per data folder, and a data folder that cannot be used: the
// second start, a second window, a read-only data folder. The other runs of
// the program are child processes (this binary started again).
#include "../support/fixtures.h"
#include "../support/instance.h"
#include "app/application.h"
#include "app/mainwindow.h"
#include "app/workplace.h"
#include "files/appraisalfiles.h"
#include "pages/descriptionpage.h"
#include "pages/picturepage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "store/folderlock.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace brevan;
using brevan::app::MainWindow;
using brevan::app::WorkPlace;
using brevan::ui::Messages;

namespace {

const char *const kSecondStart = "--seconda-partenza";
const char *const kSecondWindow = "--seconda-finestra";

void setRoom(MainWindow *w, int row, const QString &name, double area)
{
    ui::TableModel *m = w->surfacesPage->model();
    QVERIFY(m->setData(m->index(row, 0), name));
    QVERIFY(m->setData(m->index(row, 1), area));
}

QString firstRoom(const QString &table)
{
    const Table t = Table::open(table, Trust::Foreign, false);
    return t.text(t.rowIds().first(), QStringLiteral("DescrizioneSuperficie"));
}

// A child doing what main() does before it opens a window.
int secondStart(const QString &root)
{
    instance::enter(root);
    instance::printMessages();
    return app::handOverToRunningProgram() ? 0 : 3;
}

// A child that opens a window of its own on the same data folder, types a
// room, saves the appraisal and closes.
int secondWindow(const QString &root, const QString &table)
{
    instance::enter(root);
    instance::printMessages();
    Messages::setFileAnswers([table](const ui::FileDialogRequest &) { return table; });
    MainWindow w(nullptr, app::Operations::Wired);
    setRoom(&w, 0, QStringLiteral("Camera 22"), 22);
    w.saveAction->trigger();
    instance::say(QStringLiteral("lavoro ") + workingFolder());
    instance::say(QStringLiteral("chiusa %1").arg(w.close() ? 1 : 0));
    return 0;
}

struct Place {
    QTemporaryDir root;
    QString cwd = QDir::currentPath();
    Place()
    {
        instance::enter(root.path());
        Messages::resetForTests();
        Messages::setAnswers([](const Messages::Shown &) { return true; });
        Messages::setQuestionAnswers([](const Messages::Shown &) { return ui::Answer::No; });
    }
    ~Place()
    {
        Messages::setAnswers({});
        Messages::setQuestionAnswers({});
        Messages::setFileAnswers({});
        AliasRegistry::setConfigFile({});
        QDir::setCurrent(cwd);
    }
    QString data() const { return instance::dataFolder(root.path()); }
    QString path(const QString &name) const { return root.filePath(name); }
};

QStringList shownTexts()
{
    QStringList out;
    for (const Messages::Shown &s : Messages::shown())
        out << s.text;
    return out;
}

} // namespace

class TestWorkPlace : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }

    // The window holds the data folder's lock while it works there, and lets
    // go of it when it closes.
    void lockFollowsTheWindow()
    {
        Place p;
        {
            auto w = std::make_unique<MainWindow>(nullptr, app::Operations::Wired);
            QVERIFY(w->workPlace->ownsDataFolder());
            QVERIFY(FolderLock::isHeldElsewhere(p.data()));
            QVERIFY(w->close());
            QVERIFY(!FolderLock::isHeldElsewhere(p.data()));
        }
        auto w = std::make_unique<MainWindow>(nullptr, app::Operations::None);
        QVERIFY(FolderLock::isHeldElsewhere(p.data()));
        w.reset();
        QVERIFY(!FolderLock::isHeldElsewhere(p.data()));
        QCOMPARE(shownTexts(), QStringList());
    }

    // Started twice: the second start brings the first window forward and
    // opens nothing of its own; the first window's tables are untouched.
    void secondStartBringsFirstForward()
    {
        Place p;
        auto w = std::make_unique<MainWindow>(nullptr, app::Operations::Wired);
        QSignalSpy raised(w->workPlace, &WorkPlace::raiseRequested);
        setRoom(w.get(), 0, QStringLiteral("Camera 11"), 11);
        const QVector<QVariantList> rows = Table::open(p.data() + "/DescrSup.db").rows();

        QProcess child;
        instance::startChild(child, {QString::fromLatin1(kSecondStart), p.root.path()});
        const QStringList said = instance::waitForChild(child);
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(said, QStringList{"messaggio " + instance::oneLine(WorkPlace::handedOverText(p.data()))});
        QCOMPARE(raised.count(), 1);
        QCOMPARE(Table::open(p.data() + "/DescrSup.db").rows(), rows);
        QCOMPARE(shownTexts(), QStringList());

        // Once the first has closed, a start is a start again.
        w->close();
        w.reset();
        QProcess again;
        instance::startChild(again, {QString::fromLatin1(kSecondStart), p.root.path()});
        instance::waitForChild(again);
        QCOMPARE(again.exitCode(), 3);
    }

    // A second window that cannot hand over (it was not started through
    // main) works on working tables of its own: each saves its own rooms,
    // and the first can still save after the second has closed.
    void secondWindowWorksOnItsOwnTables()
    {
        Place p;
        auto w = std::make_unique<MainWindow>(nullptr, app::Operations::Wired);
        setRoom(w.get(), 0, QStringLiteral("Camera 11"), 11);
        QDir().mkpath(p.path("prima"));
        QDir().mkpath(p.path("seconda"));

        QProcess child;
        instance::startChild(child, {QString::fromLatin1(kSecondWindow), p.root.path(),
                                     p.path("seconda/Stima - b.db")});
        const QStringList said = instance::waitForChild(child);
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(said.value(0), "messaggio " + instance::oneLine(WorkPlace::inUseText(p.data())));
        QVERIFY(said.value(1).startsWith("lavoro "));
        QVERIFY(said.value(1) != "lavoro " + p.data());
        QCOMPARE(said.value(2), QStringLiteral("chiusa 1"));
        QCOMPARE(said.size(), 3);
        QCOMPARE(firstRoom(p.path("seconda/Superfici - b.db")), QStringLiteral("Camera 22"));
        // Its private tables are gone with it.
        QVERIFY(!QFileInfo::exists(said.value(1).mid(7)));

        QVERIFY(Table::exists(p.data() + "/DescrSup.db"));
        QCOMPARE(firstRoom(p.data() + "/DescrSup.db"), QStringLiteral("Camera 11"));
        Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return p.path("prima/Stima - a.db"); });
        w->saveAction->trigger();
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(firstRoom(p.path("prima/Superfici - a.db")), QStringLiteral("Camera 11"));
    }

    // A data folder that cannot be used is said once; the working tables are
    // kept elsewhere for the run, typing a municipality raises nothing, and
    // the appraisal saves in any folder the user may write.
    void unusableDataFolder_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("data folder read-only") << "readonly";
        QTest::newRow("configuration cannot be written") << "config";
    }
    void unusableDataFolder()
    {
        QFETCH(QString, what);
        Place p;
        const QString locked = fixtures::readOnlyFolder(p.path("scratch"));
        if (what == "readonly")
            AliasRegistry::add(kAliasBrevan, locked);
        else
            AliasRegistry::setConfigFile(locked + "/config/tablestore.ini");

        auto w = std::make_unique<MainWindow>(nullptr, app::Operations::Wired);
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().first().kind, Messages::Shown::Error);
        const QString folder = what == "readonly" ? locked : p.path("program/Dati");
        QVERIFY2(Messages::shown().first().text.startsWith("La cartella dei dati \"" + folder + "\" non è utilizzabile:\n"),
                 qPrintable(Messages::shown().first().text));
        QVERIFY(!w->workPlace->ownsDataFolder());
        QVERIFY(isWorkingFolderPrivate());
        const QString privateFolder = workingFolder();
        QCOMPARE(w->surfacesPage->model()->rowCount(), 36);

        w->selectNode(2);
        QComboBox *town = w->descriptionPage->municipalityCombo;
        town->setFocus();
        QTest::keyClicks(town, "Abano Terme");
        QCOMPARE(w->descriptionPage->provinceCodeCombo->currentText(), QStringLiteral("PD"));
        QCOMPARE(Messages::shown().size(), 1);

        setRoom(w.get(), 0, QStringLiteral("Soggiorno"), 30);
        QImage photo(8, 8, QImage::Format_RGB32);
        photo.fill(qRgb(1, 2, 3));
        w->photoPage->setPicture(photo);
        QDir().mkpath(p.path("stime"));
        Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return p.path("stime/Stima - a.db"); });
        w->saveAction->trigger();
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(firstRoom(p.path("stime/Superfici - a.db")), QStringLiteral("Soggiorno"));
        QVERIFY(QFileInfo::exists(p.path("stime/Foto - a.bmp")));

        QVERIFY(w->close());
        QVERIFY(!QFileInfo::exists(privateFolder));
        QVERIFY(!isWorkingFolderPrivate());
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc >= 3 && qstrcmp(argv[1], kSecondStart) == 0)
        return secondStart(QString::fromLocal8Bit(argv[2]));
    if (argc >= 4 && qstrcmp(argv[1], kSecondWindow) == 0) {
        app::setUpApplication(app);
        return secondWindow(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    TestWorkPlace test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_workplace.moc"
