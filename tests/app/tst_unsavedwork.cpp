// SPDX-License-Identifier: GPL-2.0-or-later
// Work that is not saved: the close question, the recovery copy written
// while there are changes, and the copy of a killed run offered back at the
// next start (the killed run is a child process, this binary started again).
#include "../support/fixtures.h"
#include "../support/instance.h"
#include "app/application.h"
#include "app/mainwindow.h"
#include "app/unsavedwork.h"
#include "app/workplace.h"
#include "files/appraisalfiles.h"
#include "pages/comparablespage.h"
#include "pages/descriptionpage.h"
#include "pages/picturepage.h"
#include "pages/positionpage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "store/folderlock.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <csignal>
#include <memory>

using namespace brevan;
using brevan::app::MainWindow;
using brevan::app::UnsavedWork;
using brevan::ui::Answer;
using brevan::ui::Messages;

namespace {

const char *const kWorkAndDie = "--lavora-e-muore";

void setRoom(MainWindow *w, int row, const QString &name, double area)
{
    ui::TableModel *m = w->surfacesPage->model();
    QVERIFY(m->setData(m->index(row, 0), name));
    QVERIFY(m->setData(m->index(row, 1), area));
}

QImage photo(QRgb colour)
{
    QImage image(16, 12, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void type(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    QTest::keyClicks(edit, text);
}

const QStringList kCompleteComparable{"Via Verdi", "3", "2", "4", "80", "10,5", "-2", "3", "1", "1.500.000", "120.000.000"};

// A unit typed in: an address, a room, a photograph.
void typeSomeWork(MainWindow *w)
{
    type(w->descriptionPage->addressEdit, QStringLiteral("Via del Recupero"));
    setRoom(w, 0, QStringLiteral("Camera 7"), 17);
    w->photoPage->setPicture(photo(qRgb(7, 8, 9)));
}

QString recoveryTable(const QString &root)
{
    return instance::dataFolder(root) + QStringLiteral("/Recupero/") + UnsavedWork::recoveryTableName();
}

// The killed run: types, has its recovery copy written, says so and waits.
int workAndDie(QApplication &app, const QString &root)
{
    instance::enter(root);
    instance::printMessages();
    MainWindow w(nullptr, app::Operations::Wired);
    // The start-up's own steps (the offer of an earlier copy) run first.
    QCoreApplication::processEvents();
    typeSomeWork(&w);
    w.unsavedWork->writeCopy();
    w.unsavedWork->waitForCopy();
    instance::say(QStringLiteral("copiato"));
    return app.exec();
}

struct Place {
    QTemporaryDir root;
    QString cwd = QDir::currentPath();
    Answer question = Answer::Cancel;
    QString file;       // the next file dialog's answer
    QStringList later;  // the answers of the dialogs after it
    std::unique_ptr<MainWindow> window;

    Place()
    {
        instance::enter(root.path());
        Messages::resetForTests();
        Messages::setAnswers([](const Messages::Shown &) { return true; });
        Messages::setQuestionAnswers([this](const Messages::Shown &) { return question; });
        Messages::setFileAnswers([this](const ui::FileDialogRequest &) {
            return std::exchange(file, later.isEmpty() ? QString() : later.takeFirst());
        });
        QDir().mkpath(folder());
    }
    ~Place()
    {
        window.reset();
        Messages::setAnswers({});
        Messages::setQuestionAnswers({});
        Messages::setFileAnswers({});
        AliasRegistry::setConfigFile({});
        QDir::setCurrent(cwd);
    }
    MainWindow *start()
    {
        window = std::make_unique<MainWindow>(nullptr, app::Operations::Wired);
        // As the program does right after: offers a copy an earlier run left.
        QCoreApplication::processEvents();
        return window.get();
    }
    QString folder() const { return root.filePath("stime"); }
    QString copy() const { return recoveryTable(root.path()); }
    QStringList questions() const
    {
        QStringList out;
        for (const Messages::Shown &s : Messages::shown()) {
            if (s.kind == Messages::Shown::Question)
                out << s.text;
        }
        return out;
    }
};

} // namespace

class TestUnsavedWork : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }

    // Nothing changed since the appraisal was started, saved, opened or
    // cleared: the window closes without a question.
    void closesWithoutChanges_data()
    {
        QTest::addColumn<QString>("since");
        QTest::newRow("started") << "started";
        QTest::newRow("saved") << "saved";
        QTest::newRow("opened") << "opened";
        QTest::newRow("new appraisal") << "new";
        QTest::newRow("typed and typed back") << "undone";
    }
    void closesWithoutChanges()
    {
        QFETCH(QString, since);
        Place p;
        MainWindow *w = p.start();
        if (since != "started")
            typeSomeWork(w);
        if (since == "saved" || since == "opened" || since == "undone") {
            p.file = p.folder() + "/Stima - a.db";
            w->saveAction->trigger();
        }
        if (since == "opened") {
            w->newAction->trigger();
            p.file = p.folder() + "/Stima - a.db";
            w->openAction->trigger();
        }
        if (since == "new")
            w->newAction->trigger();
        if (since == "undone") {
            QLineEdit *internal = w->descriptionPage->internalNumberEdit;
            type(internal, "7");
            QVERIFY(w->unsavedWork->hasChanges());
            QTest::keyClick(internal, Qt::Key_Backspace);
        }
        QVERIFY(!w->unsavedWork->hasChanges());
        QVERIFY(w->close());
        QCOMPARE(p.questions(), QStringList());
    }

    // Every kind of change counts, and closing then asks.
    void changesAreNoticed_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("a field typed") << "field";
        QTest::newRow("a tick") << "tick";
        QTest::newRow("a room") << "room";
        QTest::newRow("a comparable added") << "comparable";
        QTest::newRow("a comparable being typed") << "editing";
        QTest::newRow("a picture pasted") << "picture";
        QTest::newRow("a picture deleted") << "deleted";
    }
    void changesAreNoticed()
    {
        QFETCH(QString, change);
        Place p;
        MainWindow *w = p.start();
        if (change == "deleted") {
            w->photoPage->setPicture(photo(qRgb(1, 1, 1)));
            for (QWidget *control : w->photoPage->pictureControls())
                control->setEnabled(true);
            p.file = p.folder() + "/Stima - a.db";
            w->saveAction->trigger();
        }
        QVERIFY(!w->unsavedWork->hasChanges());
        if (change == "field") {
            type(w->descriptionPage->internalNumberEdit, "3");
        } else if (change == "tick") {
            w->positionPage->schoolsCheck->click();
        } else if (change == "room") {
            setRoom(w, 3, QStringLiteral("Cucina"), 9);
        } else if (change == "comparable") {
            ui::TableModel *m = w->comparablesPage->model();
            const int row = m->appendRow();
            for (int i = 0; i < kCompleteComparable.size(); ++i)
                QVERIFY(m->setData(m->index(row, i), kCompleteComparable.at(i)));
        } else if (change == "editing") {
            w->comparablesPage->editors().first()->setText(QStringLiteral("Via Verdi"));
        } else if (change == "picture") {
            w->areaPlanPage->setPicture(photo(qRgb(2, 2, 2)));
        } else {
            w->photoPage->deleteButton->click();
            QVERIFY(!w->photoPage->hasPicture());
        }
        QVERIFY(w->unsavedWork->hasChanges());
        p.question = Answer::Cancel;
        QVERIFY(!w->close());
        QCOMPARE(p.questions(), QStringList{"Salvare le modifiche alla stima prima di uscire?"});
    }

    // An area still being typed in the grid when the window closes counts.
    void cellBeingEditedCounts()
    {
        Place p;
        MainWindow *w = p.start();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->activateWindow();
        w->selectNode(6);
        QTableView *grid = w->surfacesPage->grid;
        const QModelIndex cell = grid->model()->index(2, 1); // an area
        grid->setCurrentIndex(cell);
        grid->edit(cell);
        auto *editor = qobject_cast<QLineEdit *>(grid->indexWidget(cell));
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "12");
        p.question = Answer::Cancel;
        QVERIFY(!w->close());
        QCOMPARE(p.questions().size(), 1);
        QCOMPARE(Table::open(instance::dataFolder(p.root.path()) + "/DescrSup.db").rows().at(2).at(1).toDouble(), 12.0);
    }

    // Sì saves and closes (a cancelled save keeps the window open), No closes
    // without saving, Annulla keeps the window and its tables.
    void closeQuestionAnswers_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("fileChosen");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Sì") << int(Answer::Yes) << true << true << true;
        QTest::newRow("Sì, save cancelled") << int(Answer::Yes) << false << false << false;
        QTest::newRow("No") << int(Answer::No) << false << true << false;
        QTest::newRow("Annulla") << int(Answer::Cancel) << false << false << false;
    }
    void closeQuestionAnswers()
    {
        QFETCH(int, answer);
        QFETCH(bool, fileChosen);
        QFETCH(bool, closed);
        QFETCH(bool, saved);
        Place p;
        MainWindow *w = p.start();
        typeSomeWork(w);
        p.question = Answer(answer);
        if (fileChosen)
            p.file = p.folder() + "/Stima - a.db";
        QCOMPARE(w->close(), closed);
        QCOMPARE(p.questions().size(), 1);
        QCOMPARE(QFileInfo::exists(p.folder() + "/Stima - a.db"), saved);
        if (saved) {
            const Table t = Table::open(p.folder() + "/Stima - a.db");
            QCOMPARE(t.text(t.rowIds().first(), "IndirizzoImmob"), QStringLiteral("Via del Recupero"));
        }
        // Closed, the working tables are gone; kept open, they hold the work.
        QCOMPARE(Table::exists(instance::dataFolder(p.root.path()) + "/DescrSup.db"), !closed);
        if (!closed) {
            QCOMPARE(w->surfacesPage->model()->data(w->surfacesPage->model()->index(0, 0)).toString(),
                     QStringLiteral("Camera 7"));
            QVERIFY(w->unsavedWork->hasChanges());
        }
    }

    // Opening another appraisal over changes asks first, as closing does: Sì
    // saves them (a cancelled save opens nothing), No lets them go, Annulla
    // keeps them and shows no open dialog. Without changes nothing is asked.
    void openingAsksFirst_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saveAs");
        QTest::addColumn<QStringList>("dialogs");
        QTest::addColumn<QString>("address");
        const QStringList saveThenOpen{"Salva stima corrente", "Apri stima"};
        QTest::newRow("Sì") << true << int(Answer::Yes) << "Stima - c.db" << saveThenOpen << "Via del Recupero";
        QTest::newRow("Sì, save cancelled") << true << int(Answer::Yes) << "" << QStringList{"Salva stima corrente"}
                                            << "Via Nuova";
        QTest::newRow("No") << true << int(Answer::No) << "" << QStringList{"Apri stima"} << "Via del Recupero";
        QTest::newRow("Annulla") << true << int(Answer::Cancel) << "" << QStringList() << "Via Nuova";
        QTest::newRow("no changes") << false << int(Answer::Cancel) << "" << QStringList{"Apri stima"}
                                    << "Via del Recupero";
    }
    void openingAsksFirst()
    {
        QFETCH(bool, changed);
        QFETCH(int, answer);
        QFETCH(QString, saveAs);
        QFETCH(QStringList, dialogs);
        QFETCH(QString, address);
        Place p;
        MainWindow *w = p.start();
        typeSomeWork(w);
        const QString other = p.folder() + "/Stima - b.db";
        p.file = other;
        w->saveAction->trigger();
        QVERIFY(QFileInfo::exists(other));
        w->newAction->trigger();
        if (changed)
            type(w->descriptionPage->addressEdit, QStringLiteral("Via Nuova"));
        Messages::resetForTests();
        p.question = Answer(answer);
        if (!changed || Answer(answer) != Answer::Yes) {
            p.file = other;
        } else {
            p.file = saveAs.isEmpty() ? QString() : p.folder() + "/" + saveAs;
            p.later = {other};
        }
        w->openAction->trigger();

        QCOMPARE(p.questions(), changed ? QStringList{"Salvare le modifiche alla stima prima di aprirne un'altra?"} : QStringList());
        QStringList titles;
        for (const ui::FileDialogRequest &r : Messages::fileRequests())
            titles << r.title;
        QCOMPARE(titles, dialogs);
        QCOMPARE(w->descriptionPage->addressEdit->text(), address);
        if (!saveAs.isEmpty()) {
            const QString saved = p.folder() + "/" + saveAs;
            QCOMPARE(files::StoredRecord(saved).text("IndirizzoImmob"), QStringLiteral("Via Nuova"));
        }
        // Kept in the pages, the changes still count; opened, the pages are clean.
        QCOMPARE(w->unsavedWork->hasChanges(), address == "Via Nuova");
    }

    // The copy holds the work while there are changes, is written off the
    // user-interface thread, and goes with a save, a new appraisal or a close.
    void recoveryCopyFollowsChanges()
    {
        Place p;
        MainWindow *w = p.start();
        w->unsavedWork->writeCopy();
        w->unsavedWork->waitForCopy();
        QVERIFY(!QFileInfo::exists(p.copy()));

        typeSomeWork(w);
        w->unsavedWork->writeCopy();
        w->unsavedWork->waitForCopy();
        QVERIFY(QFileInfo::exists(p.copy()));
        const QString folder = QFileInfo(p.copy()).absolutePath();
        {
            const files::StoredRecord record(p.copy());
            QCOMPARE(record.text("IndirizzoImmob"), QStringLiteral("Via del Recupero"));
            QCOMPARE(record.text("FotoImmob"), QStringLiteral("Foto - Recupero.bmp"));
            QCOMPARE(files::readPicture(folder + "/Foto - Recupero.bmp").pixel(0, 0), qRgb(7, 8, 9));
            const Table rooms = Table::open(folder + "/" + record.text("SuperficiImmob"));
            QCOMPARE(rooms.text(rooms.rowIds().first(), "DescrizioneSuperficie"), QStringLiteral("Camera 7"));
        }
        // More typing: the next copy holds it.
        QCoreApplication::processEvents();
        type(w->descriptionPage->internalNumberEdit, "5");
        w->unsavedWork->writeCopy();
        w->unsavedWork->waitForCopy();
        QCOMPARE(files::StoredRecord(p.copy()).text("InternoImmob"), QStringLiteral("5"));

        p.file = p.folder() + "/Stima - a.db";
        w->saveAction->trigger();
        QVERIFY(!QFileInfo::exists(folder));

        QCoreApplication::processEvents();
        type(w->descriptionPage->internalNumberEdit, "6");
        w->unsavedWork->writeCopy();
        w->unsavedWork->waitForCopy();
        QVERIFY(QFileInfo::exists(p.copy()));
        w->newAction->trigger();
        QVERIFY(!QFileInfo::exists(folder));

        QCoreApplication::processEvents();
        typeSomeWork(w);
        w->unsavedWork->writeCopy();
        w->unsavedWork->waitForCopy();
        QVERIFY(QFileInfo::exists(p.copy()));
        p.question = Answer::No;
        QVERIFY(w->close());
        QVERIFY(!QFileInfo::exists(folder));
        QCOMPARE(QDir(instance::dataFolder(p.root.path())).entryList({"*Recupero*"}, QDir::AllEntries | QDir::Hidden),
                 QStringList());
    }

    // A run killed with unsaved work: the next start offers it back once the
    // window is complete. Sì opens it as an unsaved appraisal, No deletes it.
    void killedRunIsOfferedBack_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Sì") << int(Answer::Yes);
        QTest::newRow("No") << int(Answer::No);
    }
    void killedRunIsOfferedBack()
    {
        QFETCH(int, answer);
        Place p;
        QProcess child;
        instance::startChild(child, {QString::fromLatin1(kWorkAndDie), p.root.path()});
        QByteArray out;
        while (!out.contains("copiato\n")) {
            QVERIFY2(child.waitForReadyRead(60000), child.readAllStandardError().constData());
            out += child.readAllStandardOutput();
        }
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QVERIFY(!out.contains("messaggio"));
        QVERIFY(QFileInfo::exists(p.copy()));
        QFile record(p.copy());
        QVERIFY(record.open(QIODevice::ReadWrite));
        QVERIFY(record.setFileTime(QDateTime(QDate(2031, 6, 15), QTime(10, 42)), QFileDevice::FileModificationTime));
        record.close();

        p.question = Answer(answer);
        p.window = std::make_unique<MainWindow>(nullptr, app::Operations::Wired);
        MainWindow *w = p.window.get();
        // Asked once the window is complete, not while it is being built.
        QCOMPARE(p.questions(), QStringList());
        QTRY_COMPARE(p.questions(),
                     QStringList{"È stata trovata una stima non salvata del 15/06/2031 10:42. Recuperarla?"});
        QVERIFY(w->workPlace);
        if (Answer(answer) == Answer::Yes) {
            QCOMPARE(w->descriptionPage->addressEdit->text(), QStringLiteral("Via del Recupero"));
            QCOMPARE(w->surfacesPage->model()->data(w->surfacesPage->model()->index(0, 0)).toString(),
                     QStringLiteral("Camera 7"));
            QCOMPARE(w->photoPage->sourceImage().pixel(0, 0), qRgb(7, 8, 9));
            QCOMPARE(QDir::currentPath(), p.root.filePath("program"));
            // Not saved yet: the copy stays, and closing asks.
            QVERIFY(QFileInfo::exists(p.copy()));
            QVERIFY(w->unsavedWork->hasChanges());
        } else {
            QCOMPARE(w->descriptionPage->addressEdit->text(), QString());
            QVERIFY(!w->photoPage->hasPicture());
            QVERIFY(!QFileInfo::exists(p.copy()));
            QVERIFY(!w->unsavedWork->hasChanges());
        }
        QCOMPARE(Messages::shown().size(), 1);
    }

    // A run on private working tables (the data folder held by a program
    // that does not answer, or read-only) keeps its recovery copy in the
    // user's own folder; killed, its work is offered at the next start,
    // whether that start works in the data folder or on private tables too.
    void privateTablesKeepACopy_data()
    {
        QTest::addColumn<QString>("dataFolder");
        QTest::addColumn<int>("answer");
        QTest::newRow("data folder in use, Sì") << "inuse" << int(Answer::Yes);
        QTest::newRow("data folder in use, No") << "inuse" << int(Answer::No);
        QTest::newRow("data folder read-only, Sì") << "readonly" << int(Answer::Yes);
    }
    void privateTablesKeepACopy()
    {
        QFETCH(QString, dataFolder);
        QFETCH(int, answer);
        Place p;
        FolderLock held;
        if (dataFolder == "inuse") {
            CreaAlias(kAliasBrevan);
            QCOMPARE(held.acquire(instance::dataFolder(p.root.path())), FolderLock::Result::Locked);
        } else {
            AliasRegistry::add(kAliasBrevan, fixtures::readOnlyFolder(p.root.filePath("scratch")));
        }
        QProcess child;
        instance::startChild(child, {QString::fromLatin1(kWorkAndDie), p.root.path()});
        QByteArray out;
        while (!out.contains("copiato\n")) {
            QVERIFY2(child.waitForReadyRead(60000), child.readAllStandardError().constData());
            out += child.readAllStandardOutput();
        }
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(10000));
        // The copy is in the user's folder (beside the configuration the
        // tests point it at), not in the data folder.
        const QString slot = UnsavedWork::privateRecoveryFolders().first();
        QCOMPARE(QFileInfo(slot).absolutePath(), QFileInfo(AliasRegistry::configFile()).absolutePath());
        const QString copy = slot + "/" + UnsavedWork::recoveryTableName();
        QVERIFY(QFileInfo::exists(copy));
        QCOMPARE(files::StoredRecord(copy).text("IndirizzoImmob"), QStringLiteral("Via del Recupero"));
        QVERIFY(!QFileInfo::exists(p.copy()));

        held.release();
        p.question = Answer(answer);
        MainWindow *w = p.start();
        QTRY_COMPARE(p.questions().size(), 1);
        QVERIFY(p.questions().first().startsWith("È stata trovata una stima non salvata del "));
        QCOMPARE(w->workPlace->ownsDataFolder(), dataFolder == "inuse");
        if (Answer(answer) == Answer::No) {
            QCOMPARE(w->descriptionPage->addressEdit->text(), QString());
            QVERIFY(!QFileInfo::exists(copy));
            return;
        }
        QCOMPARE(w->descriptionPage->addressEdit->text(), QStringLiteral("Via del Recupero"));
        QCOMPARE(w->surfacesPage->model()->data(w->surfacesPage->model()->index(0, 0)).toString(),
                 QStringLiteral("Camera 7"));
        QCOMPARE(w->photoPage->sourceImage().pixel(0, 0), qRgb(7, 8, 9));
        QVERIFY(w->unsavedWork->hasChanges());
        QVERIFY(QFileInfo::exists(copy));

        // This run's own copy takes over: one copy of the work, not two.
        w->unsavedWork->writeCopy();
        w->unsavedWork->waitForCopy();
        const QString own = w->unsavedWork->recoveryFolder() + "/" + UnsavedWork::recoveryTableName();
        QVERIFY(QFileInfo::exists(own));
        QCOMPARE(files::StoredRecord(own).text("IndirizzoImmob"), QStringLiteral("Via del Recupero"));
        QCOMPARE(QFileInfo::exists(copy), own == copy);

        // Saved: no copy is left anywhere.
        p.file = p.folder() + "/Stima - a.db";
        w->saveAction->trigger();
        QVERIFY(!QFileInfo::exists(own));
        QVERIFY(!QFileInfo::exists(copy));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc >= 3 && qstrcmp(argv[1], kWorkAndDie) == 0) {
        app::setUpApplication(app);
        return workAndDie(app, QString::fromLocal8Bit(argv[2]));
    }
    TestUnsavedWork test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_unsavedwork.moc"
