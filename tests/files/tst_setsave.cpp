// SPDX-License-Identifier: GPL-2.0-or-later
// A set of files saved whole or not at all: the staging, the manifest, the
// recovery of whatever a crash left, and a child process killed while it
// saves an appraisal in a loop.
#include "../support/fixtures.h"
#include "files/appraisalset.h"
#include "files/setsave.h"
#include "store/datafolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <csignal>
#include <cstdio>

#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

using namespace brevan;
using namespace brevan::files;

namespace {

const char *const kChildArgument = "--salva-in-ciclo";

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QStringList temporaries(const QString &folder)
{
    QStringList out;
    for (const QString &name : entries(folder)) {
        if (isTemporaryName(name))
            out << name;
    }
    return out;
}

// The staging folder a crash left: its files, and a manifest when the save
// had committed.
QString leaveStaging(const QString &folder, const QString &suffix, const QMap<QString, QByteArray> &files,
                     const QStringList &manifest)
{
    const QString staging = folder + QStringLiteral("/.brevan-salvataggio-") + suffix;
    QDir().mkpath(staging);
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        fixtures::writeBytes(staging + QLatin1Char('/') + it.key(), it.value());
    if (!manifest.isEmpty()) {
        QJsonObject m;
        m.insert(QStringLiteral("formato"), QStringLiteral("brevan-salvataggio"));
        m.insert(QStringLiteral("versione"), 1);
        m.insert(QStringLiteral("file"), QJsonArray::fromStringList(manifest));
        fixtures::writeBytes(staging + QStringLiteral("/manifest"), QJsonDocument(m).toJson());
    }
    return staging;
}

// --- the appraisal saved in a loop by the child ------------------------------

// The save counter is written into every file of the set, so that a set made
// of two saves shows.
QImage numberedPicture(int counter, int which)
{
    QImage image(1024, 768, QImage::Format_RGB32);
    image.fill(qRgb(40 * which, 90, 160));
    image.setPixel(0, 0, qRgb(counter & 0xff, (counter >> 8) & 0xff, which));
    return image;
}

const Companion kPictures[] = {Companion::Photo, Companion::AreaPlan, Companion::UnitPlan};

AppraisalContent numberedAppraisal(int counter)
{
    AppraisalContent c;
    c.record.insert(QStringLiteral("CognomeProfess"), QStringLiteral("Salvataggio %1").arg(counter));
    c.record.insert(QStringLiteral("IndirizzoImmob"), QStringLiteral("Via Roma"));
    c.record.insert(QStringLiteral("DataStimaImmob"), QStringLiteral("15/06/2031"));
    for (int i = 0; i < 3; ++i) {
        // Every third save has no area plan: its record names none.
        if (kPictures[i] == Companion::AreaPlan && counter % 3 == 0)
            continue;
        c.pictures.insert(kPictures[i], numberedPicture(counter, i));
    }
    TableRows surfaces;
    for (int row = 0; row < 36; ++row)
        surfaces << QVariantList{row == 0 ? QStringLiteral("Camera %1").arg(counter) : QStringLiteral("Bagno %1").arg(row),
                                 10.0 + row};
    c.tables.insert(Companion::Surfaces, surfaces);
    TableRows comparables;
    for (int row = 0; row < 20; ++row) {
        comparables << QVariantList{row == 0 ? QStringLiteral("Via %1").arg(counter) : QStringLiteral("Via Verdi"),
                                    QString::number(row + 1), QStringLiteral("2"), QStringLiteral("4"),
                                    QStringLiteral("80"), QStringLiteral("10,5"), QStringLiteral("-2"),
                                    QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("1.500.000"),
                                    QStringLiteral("120.000.000"), QString(), QString()};
    }
    c.tables.insert(Companion::Comparables, comparables);
    return c;
}

const QString kTable = QStringLiteral("Stima - Via Roma.db");

// The child: saves the appraisal over and over, telling the parent each save
// that has returned.
int saveInLoop(const QString &folder, int first)
{
    std::printf("pronto\n");
    std::fflush(stdout);
    for (int counter = first;; ++counter) {
        try {
            saveAppraisalSet(folder + QLatin1Char('/') + kTable, numberedAppraisal(counter));
        } catch (const std::exception &e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
        std::printf("salvato %d\n", counter);
        std::fflush(stdout);
    }
}

// What the folder holds, read as opening reads it: the save counter of a
// whole set (from 1), -1 when there is no record, -2 when the record cannot
// be read, -3 when the set mixes saves or names a companion that is not there.
int readSet(const QString &folder)
{
    const QString table = folder + QLatin1Char('/') + kTable;
    if (!QFileInfo::exists(table))
        return -1;
    try {
        StoredRecord record(table);
        const QString name = record.text(QStringLiteral("CognomeProfess"));
        if (!name.startsWith(QStringLiteral("Salvataggio ")))
            return -2;
        const int counter = name.mid(12).toInt();
        for (int i = 0; i < 3; ++i) {
            const QString stored = record.text(companionField(kPictures[i]));
            const bool expected = !(kPictures[i] == Companion::AreaPlan && counter % 3 == 0);
            if (stored.isEmpty() != !expected)
                return -3;
            if (!expected)
                continue;
            const QString path = companionPath(folder, stored);
            if (path.isEmpty())
                return -3;
            const QImage picture = readPicture(path);
            if (picture.pixel(0, 0) != numberedPicture(counter, i).pixel(0, 0))
                return -3;
        }
        const QString surfaces = companionPath(folder, record.text(companionField(Companion::Surfaces)));
        const QString comparables = companionPath(folder, record.text(companionField(Companion::Comparables)));
        if (surfaces.isEmpty() || comparables.isEmpty())
            return -3;
        const Table s = Table::open(surfaces, Trust::Foreign, false);
        const Table c = Table::open(comparables, Trust::Foreign, false);
        if (s.rowCount() != 36 || c.rowCount() != 20)
            return -3;
        if (s.text(s.rowIds().first(), QStringLiteral("DescrizioneSuperficie")) != QStringLiteral("Camera %1").arg(counter)
            || c.text(c.rowIds().first(), QStringLiteral("IndirizzoImmob")) != QStringLiteral("Via %1").arg(counter))
            return -3;
        return counter;
    } catch (const std::exception &) {
        return -2;
    }
}

} // namespace

class TestSetSave : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void filesAppearOnlyAtCommit()
    {
        QTemporaryDir dir;
        fixtures::writeBytes(dir.filePath("a.txt"), "vecchio a");
        {
            SetSave set(dir.path());
            fixtures::writeBytes(set.stage("a.txt"), "nuovo a");
            fixtures::writeBytes(set.stage("b.txt"), "nuovo b");
            QCOMPARE(fixtures::readBytes(dir.filePath("a.txt")), QByteArray("vecchio a"));
            QVERIFY(!QFileInfo::exists(dir.filePath("b.txt")));
            set.commit();
        }
        QCOMPARE(fixtures::readBytes(dir.filePath("a.txt")), QByteArray("nuovo a"));
        QCOMPARE(fixtures::readBytes(dir.filePath("b.txt")), QByteArray("nuovo b"));
        QCOMPARE(entries(dir.path()), (QStringList{"a.txt", "b.txt"}));
    }

    void uncommittedOrFailedSaveKeepsEarlierSet_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("given up before commit") << "abandoned";
        QTest::newRow("target taken by a folder") << "folder";
        QTest::newRow("a staged file never written") << "unwritten";
    }
    void uncommittedOrFailedSaveKeepsEarlierSet()
    {
        QFETCH(QString, how);
        QTemporaryDir dir;
        fixtures::writeBytes(dir.filePath("a.txt"), "vecchio a");
        if (how == "folder")
            QDir().mkpath(dir.filePath("b.txt"));
        bool failed = false;
        {
            SetSave set(dir.path());
            fixtures::writeBytes(set.stage("a.txt"), "nuovo a");
            const QString b = set.stage("b.txt");
            if (how != "unwritten")
                fixtures::writeBytes(b, "nuovo b");
            if (how != "abandoned") {
                try {
                    set.commit();
                } catch (const StoreError &) {
                    failed = true;
                }
            }
        }
        QCOMPARE(failed, how != "abandoned");
        QCOMPARE(fixtures::readBytes(dir.filePath("a.txt")), QByteArray("vecchio a"));
        QCOMPARE(temporaries(dir.path()), QStringList());
    }

    void stagedNamesMustBePlain_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("parent folder") << "../x.db";
        QTest::newRow("subfolder") << "a/x.db";
        QTest::newRow("the manifest itself") << "manifest";
        QTest::newRow("empty") << "";
    }
    void stagedNamesMustBePlain()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        SetSave set(dir.path());
        QVERIFY_THROWS_EXCEPTION(StoreError, set.stage(name));
    }

    // What a crash leaves at each moment of a save, and what the next open,
    // listing or save in the folder makes of it.
    void recovery_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QByteArray>("a");       // a.db afterwards
        QTest::addColumn<QByteArray>("b");       // b.bmp afterwards
        QTest::addColumn<int>("finished");
        QTest::addColumn<int>("discarded");
        QTest::newRow("killed while staging") << "staging" << QByteArray("vecchio a") << QByteArray("vecchio b") << 0 << 1;
        QTest::newRow("killed after the manifest") << "committed" << QByteArray("nuovo a") << QByteArray("nuovo b") << 1 << 0;
        QTest::newRow("killed half-way through the renames")
            << "halfway" << QByteArray("nuovo a") << QByteArray("nuovo b") << 1 << 0;
        QTest::newRow("manifest naming a file outside")
            << "outside" << QByteArray("vecchio a") << QByteArray("vecchio b") << 0 << 1;
        QTest::newRow("manifest of another format") << "foreign" << QByteArray("vecchio a") << QByteArray("vecchio b") << 0 << 1;
    }
    void recovery()
    {
        QFETCH(QString, state);
        QFETCH(QByteArray, a);
        QFETCH(QByteArray, b);
        QFETCH(int, finished);
        QFETCH(int, discarded);
        QTemporaryDir dir;
        const QString folder = dir.filePath("stime");
        QDir().mkpath(folder);
        fixtures::writeBytes(folder + "/a.db", "vecchio a");
        fixtures::writeBytes(folder + "/b.bmp", "vecchio b");
        fixtures::writeBytes(folder + "/a.db-journal", "giornale del vecchio a");
        fixtures::writeBytes(dir.filePath("fuori.txt"), "fuori");
        const QMap<QString, QByteArray> both{{"b.bmp", "nuovo b"}, {"a.db", "nuovo a"}};
        if (state == "staging") {
            leaveStaging(folder, "Ab12Cd", both, {});
        } else if (state == "committed") {
            leaveStaging(folder, "Ab12Cd", both, {"b.bmp", "a.db"});
        } else if (state == "halfway") {
            leaveStaging(folder, "Ab12Cd", {{"a.db", "nuovo a"}}, {"b.bmp", "a.db"});
            fixtures::writeBytes(folder + "/b.bmp", "nuovo b");
        } else if (state == "outside") {
            leaveStaging(folder, "Ab12Cd", {{"fuori.txt", "sostituito"}, {"a.db", "nuovo a"}}, {"../fuori.txt", "a.db"});
        } else {
            const QString staging = leaveStaging(folder, "Ab12Cd", both, {});
            fixtures::writeBytes(staging + "/manifest", R"({"formato":"altro","versione":1,"file":["a.db"]})");
        }
        // Temporary files of interrupted single-file writes, and files of the user's.
        for (const char *left : {".brevan-Q1w2E3.db", ".brevan-Q1w2E3.db-journal", ".Superfici - Via Roma.db.a1B2c3",
                                 ".Superfici - Via Roma.db.a1B2c3-journal"})
            fixtures::writeBytes(folder + "/" + left, "avanzo");
        fixtures::writeBytes(folder + "/.nascosto", "dell'utente");
        fixtures::writeBytes(folder + "/Stima - Via Roma.db.bak", "dell'utente");

        const FolderRecovery done = recoverFolder(folder);
        QCOMPARE(done.finished, finished);
        QCOMPARE(done.discarded, discarded);
        QCOMPARE(done.leftovers, 4);
        QCOMPARE(fixtures::readBytes(folder + "/a.db"), a);
        QCOMPARE(fixtures::readBytes(folder + "/b.bmp"), b);
        // A journal beside the replaced table would be rolled back into it.
        QCOMPARE(QFileInfo::exists(folder + "/a.db-journal"), finished == 0);
        QCOMPARE(fixtures::readBytes(dir.filePath("fuori.txt")), QByteArray("fuori"));
        QCOMPARE(temporaries(folder), QStringList());
        QVERIFY(QFileInfo::exists(folder + "/.nascosto"));
        QVERIFY(QFileInfo::exists(folder + "/Stima - Via Roma.db.bak"));
        // A second pass finds nothing more to do.
        const FolderRecovery again = recoverFolder(folder);
        QCOMPARE(again.finished + again.discarded + again.leftovers, 0);
    }

    // A save that is still running elsewhere is not a crash's leftover.
    void runningSaveIsLeftAlone()
    {
        QTemporaryDir dir;
        SetSave running(dir.path());
        fixtures::writeBytes(running.stage("a.txt"), "nuovo a");
        const FolderRecovery done = recoverFolder(dir.path());
        QCOMPARE(done.discarded, 0);
        QVERIFY(QFileInfo::exists(running.stagingFolder() + "/a.txt"));
        running.commit();
        QCOMPARE(fixtures::readBytes(dir.filePath("a.txt")), QByteArray("nuovo a"));
    }

    void temporaryNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("temporary");
        QTest::newRow("staging folder") << ".brevan-salvataggio-x1Y2z3" << true;
        QTest::newRow("record being written") << ".brevan-x1Y2z3.db" << true;
        QTest::newRow("its journal") << ".brevan-x1Y2z3.db-journal" << true;
        QTest::newRow("table being copied") << ".ImmobConfr - Via Po 1.db.x1Y2z3" << true;
        QTest::newRow("its journal too") << ".ImmobConfr - Via Po 1.db.x1Y2z3-journal" << true;
        QTest::newRow("an appraisal") << "Stima - Via Po 1.db" << false;
        QTest::newRow("a journal of an appraisal") << "Stima - Via Po 1.db-journal" << false;
        QTest::newRow("the data folder's lock") << ".brevan-in-uso" << false;
        QTest::newRow("a hidden file of the user's") << ".profile" << false;
        QTest::newRow("seven characters") << ".brevan-x1Y2z3a.db" << false;
    }
    void temporaryNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, temporary);
        QCOMPARE(isTemporaryName(name), temporary);
    }

    // The temporary files the table store really makes match the names
    // recovery removes.
    void storeTemporariesAreRecognised()
    {
        QTemporaryDir dir;
        const QString table = dir.filePath("Superfici - Via Roma.db");
        QTemporaryFile beside(dir.path() + "/.Superfici - Via Roma.db.XXXXXX");
        QTemporaryFile record(dir.path() + "/.brevan-XXXXXX.db");
        QVERIFY(beside.open());
        QVERIFY(record.open());
        QVERIFY(isTemporaryName(QFileInfo(beside.fileName()).fileName()));
        QVERIFY(isTemporaryName(QFileInfo(record.fileName()).fileName()));
        QVERIFY(!isTemporaryName(QFileInfo(table).fileName()));
    }

    void appraisalSetRoundTrip()
    {
        QTemporaryDir dir;
        const AppraisalContent content = numberedAppraisal(7);
        const QHash<QString, QString> names = saveAppraisalSet(dir.filePath(kTable), content);
        QCOMPARE(names.value("FotoImmob"), QStringLiteral("Foto - Via Roma.bmp"));
        QCOMPARE(names.value("SuperficiImmob"), QStringLiteral("Superfici - Via Roma.db"));
        QCOMPARE(readSet(dir.path()), 7);
        QCOMPARE(entries(dir.path()),
                 (QStringList{"Foto - Via Roma.bmp", "ImmobConfr - Via Roma.db", "Planim - Via Roma.bmp",
                              "PlanimZona - Via Roma.bmp", "Stima - Via Roma.db", "Superfici - Via Roma.db"}));
        // A save without an area plan names none; the earlier file is not
        // part of the new set.
        saveAppraisalSet(dir.filePath(kTable), numberedAppraisal(9));
        QCOMPARE(readSet(dir.path()), 9);
        QCOMPARE(StoredRecord(dir.filePath(kTable)).text("PlanimZonaImmob"), QString());
    }

    void fingerprintFollowsEveryPart()
    {
        const AppraisalContent base = numberedAppraisal(1);
        const QByteArray digest = fingerprint(base);
        QCOMPARE(fingerprint(numberedAppraisal(1)).size(), digest.size());
        AppraisalContent same = base; // shares the pictures
        QCOMPARE(fingerprint(same), digest);

        AppraisalContent text = base;
        text.record.insert("IndirizzoImmob", "Via Roma ");
        AppraisalContent room = base;
        room.tables[Companion::Surfaces][5][1] = 11.5;
        AppraisalContent comparable = base;
        comparable.tables[Companion::Comparables].removeLast();
        AppraisalContent picture = base;
        picture.pictures.insert(Companion::Photo, numberedPicture(1, 0));
        AppraisalContent noPicture = base;
        noPicture.pictures.remove(Companion::UnitPlan);
        for (const AppraisalContent &changed : {text, room, comparable, picture, noPicture})
            QVERIFY(fingerprint(changed) != digest);
    }

    // A child process saves a full appraisal in a loop and is killed at
    // random moments; after each kill the folder opens as one whole save,
    // the last one acknowledged or the one after it.
    void killedSaveLeavesWholeSet()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("stime");
        QDir().mkpath(folder);
        QRandomGenerator random(20310615);
        constexpr int kKills = 110;
        int kills = 0, torn = 0, lost = 0, finished = 0, discarded = 0, dirty = 0;
        // Saves count from 1; 0 stands for no set at all.
        int onDisk = 0;
        int lastAcknowledged = 0;
        double saveMs = 100; // measured as the child reports
        QElapsedTimer clock;
        clock.start();
        while (kills < kKills) {
            QProcess child;
            child.setProcessChannelMode(QProcess::SeparateChannels);
            child.start(QCoreApplication::applicationFilePath(),
                        {QString::fromLatin1(kChildArgument), folder, QString::number(onDisk + 1)});
            QVERIFY2(child.waitForStarted(10000), qPrintable(child.errorString()));
            QByteArray out;
            while (!out.contains("pronto\n")) {
                QVERIFY2(child.waitForReadyRead(10000), "the child did not start");
                out += child.readAllStandardOutput();
            }
            // A random moment within about two saves.
            QElapsedTimer alive;
            alive.start();
            const QDeadlineTimer deadline(qint64(random.bounded(2.0) * saveMs) + 1);
            while (!deadline.hasExpired() && child.state() == QProcess::Running)
                child.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished(10000));
            out += child.readAllStandardOutput();
            QVERIFY2(child.exitStatus() == QProcess::CrashExit, child.readAllStandardError().constData());
            ++kills;
            int acknowledgedHere = 0;
            for (const QByteArray &line : out.split('\n')) {
                if (line.startsWith("salvato ")) {
                    lastAcknowledged = line.mid(8).toInt();
                    ++acknowledgedHere;
                }
            }
            if (acknowledgedHere > 0)
                saveMs = std::clamp(double(alive.elapsed()) / acknowledgedHere, 10.0, 1000.0);

            // Opening the folder recovers it first, as "Apri stima" does.
            const FolderRecovery done = recoverFolder(folder);
            finished += done.finished;
            discarded += done.discarded;
            if (!temporaries(folder).isEmpty())
                ++dirty;
            int found = readSet(folder);
            if (found == -1)
                found = 0;
            if (found == -3)
                ++torn;
            else if (found == -2 || found < lastAcknowledged || found > std::max(lastAcknowledged, onDisk) + 1) {
                ++lost;
                qWarning("kill %d: found %d, last acknowledged %d, before %d", kills, found, lastAcknowledged, onDisk);
            }
            onDisk = std::max(found, onDisk);
        }
        const qint64 seconds = clock.elapsed() / 1000;
        qInfo("kills %d, torn %d, lost %d (saves finished by recovery %d, undone %d, last save %d, %lld s)", kills,
              torn, lost, finished, discarded, onDisk, static_cast<long long>(seconds));
        QCOMPARE(torn, 0);
        QCOMPARE(lost, 0);
        QCOMPARE(dirty, 0);
        // The kills did land inside saves, on both sides of the manifest.
        QVERIFY(finished > 0);
        QVERIFY(discarded > 0);
        QVERIFY(onDisk > 0);
    }
};

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], kChildArgument) == 0) {
        QCoreApplication app(argc, argv);
        return saveInLoop(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
    }
    QGuiApplication app(argc, argv);
    TestSetSave test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_setsave.moc"
