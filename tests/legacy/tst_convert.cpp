// SPDX-License-Identifier: GPL-2.0-or-later
// brevan-convert: an archive folder of Paradox tables, mixed with tables of
// the program's own format, other files and a damaged table, converted once
// and then again; the command's arguments, summary and exit statuses.
#include "../support/paradoxwriter.h"
#include "../support/writelock.h"
#include "files/appraisalfiles.h"
#include "legacy/convert.h"
#include "legacy/paradoxtable.h"
#include "store/datafolder.h"
#include "store/tablestore.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace brevan;
using namespace fixtures;

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run convert(const QStringList &args)
{
    Run r;
    QTextStream out(&r.out), err(&r.err);
    r.status = legacy::runConvertCommand(args, out, err, false);
    out.flush();
    err.flush();
    return r;
}

QVector<QVariantList> textRows(std::initializer_list<QStringList> rows)
{
    QVector<QVariantList> out;
    for (const QStringList &r : rows) {
        QVariantList v;
        for (const QString &s : r)
            v << s;
        out << v;
    }
    return out;
}

QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    for (const QString &name : QDir(folder).entryList(QDir::Files))
        files.insert(name, readAll(folder + "/" + name));
    return files;
}

} // namespace

class TestConvert : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QCoreApplication::setApplicationVersion(QStringLiteral("2.0")); }

    void convertsTheProgramsTablesThenLeavesThemAlone()
    {
        QTemporaryDir dir;
        const QString folder = dir.path();
        auto at = [&](const QString &name) { return folder + "/" + name; };

        files::RecordValues record;
        record.insert("CognomeProfess", QStringLiteral("Rossi"));
        record.insert("SocietaProfess", QStringLiteral("Società È"));
        record.insert("Ascensore", true);
        record.insert("CDCarattPosizione", -2.5);
        const Layout recordLayout = files::recordLayout();
        const Layout appraiserLayout = files::appraiserLayout();
        const QVector<QVariantList> surfaces = {{QStringLiteral("Soggiorno"), 25.5}, {QStringLiteral("Ripostiglio"), 3.0}};
        const QVector<QVariantList> zones =
            textRows({{"Città", "", "Centro", "Zona centrale", "3,50", "Buono", "Buono", "Ottimo"}});
        const QVector<QVariantList> rents = textRows({{"1999", "12000", "15500", "Zona centrale"}});
        PxTable keyedRecord = paradoxFrom(recordLayout, {files::rowFor(recordLayout, record)}, 1252);
        keyedRecord.keyed = true;
        writeParadox(at("Stima - Via Roma 1.db"), keyedRecord);
        writeParadox(at("Professionista 01.db"), paradoxFrom(appraiserLayout, {files::rowFor(appraiserLayout, record)}, 850));
        writeParadox(at("Superfici - Via Roma 1.db"), paradoxFrom(surfacesLayout(), surfaces, 850));
        writeParadox(at("ImmobConfr - Via Roma 1.db"), paradoxFrom(comparablesLayout(), {}, 1252));
        writeParadox(at("ZONAURBANACITTA.DB"), paradoxFrom(zonesLayout(), zones, 437));
        writeParadox(at("CanoniLocazUnitariCittà.db"), paradoxFrom(unitRentsLayout(), rents, 1252));
        // Not the program's: another layout, its own format, not a table, damaged.
        PxTable other;
        other.columns = {pxAlpha("Cliente", 40), pxDate("Data")};
        other.rows << PxRow{QByteArray("Bianchi"), QDate(2001, 3, 4)};
        writeParadox(at("Clienti.db"), other);
        Table::create(at("Stima - Nuova.db"), recordLayout);
        writeAll(at("Note.db"), "appunti");
        writeParadox(at("Rotta.db"), paradoxFrom(surfacesLayout(), surfaces, 1252));
        QByteArray broken = readAll(at("Rotta.db"));
        pxPut32(broken, kPxNumRecords, 7);
        writeAll(at("Rotta.db"), broken);
        const QMap<QString, QByteArray> before = snapshot(folder);

        const Run first = convert({folder});
        QCOMPARE(first.err, QString());
        QCOMPARE(first.status, int(legacy::ConvertUsage)); // the damaged table
        QVERIFY2(first.out.startsWith("Tabelle convertite: 6\n"), qPrintable(first.out));
        QVERIFY(first.out.contains(QDir::toNativeSeparators(at("Stima - Via Roma 1.db"))
                                   + " (stima); originale conservato come Stima - Via Roma 1.db.paradox, "
                                     "Stima - Via Roma 1.px.paradox\n"));
        QVERIFY(first.out.contains(QDir::toNativeSeparators(at("ZONAURBANACITTA.DB")) + " (zone urbane)"));
        QVERIFY(first.out.contains("Tabelle lasciate come sono: 4\n"));
        QVERIFY(first.out.contains(QDir::toNativeSeparators(at("Clienti.db"))
                                   + ": tabella Paradox di struttura diversa da quelle di Brevan\n"));
        QVERIFY(first.out.contains(QDir::toNativeSeparators(at("Stima - Nuova.db")) + ": già nel formato di Brevan\n"));
        QVERIFY(first.out.contains(QDir::toNativeSeparators(at("Note.db")) + ": non è una tabella Paradox\n"));
        QVERIFY(first.out.contains(QDir::toNativeSeparators(at("Rotta.db")) + ": La tabella Paradox"));

        // Each converted table holds what the Paradox one held; each original
        // is kept byte for byte; the others are untouched.
        const struct {
            const char *name;
            Layout layout;
            QVector<QVariantList> rows;
        } converted[] = {
            {"Stima - Via Roma 1.db", recordLayout, {files::rowFor(recordLayout, record)}},
            {"Professionista 01.db", appraiserLayout, {files::rowFor(appraiserLayout, record)}},
            {"Superfici - Via Roma 1.db", surfacesLayout(), surfaces},
            {"ImmobConfr - Via Roma 1.db", comparablesLayout(), {}},
            {"ZONAURBANACITTA.DB", zonesLayout(), zones},
            {"CanoniLocazUnitariCittà.db", unitRentsLayout(), rents},
        };
        for (const auto &c : converted) {
            const QString name = QString::fromUtf8(c.name);
            QVERIFY2(!legacy::isParadoxTable(at(name)), c.name);
            const Table t = Table::open(at(name));
            QCOMPARE(t.layout(), c.layout);
            QCOMPARE(t.rows(), c.rows);
            QCOMPARE(readAll(at(name + ".paradox")), before.value(name));
        }
        QCOMPARE(readAll(at("Stima - Via Roma 1.px.paradox")), before.value("Stima - Via Roma 1.px"));
        for (const char *name : {"Clienti.db", "Stima - Nuova.db", "Note.db", "Rotta.db", "Stima - Via Roma 1.px"})
            QCOMPARE(readAll(at(name)), before.value(name));

        // Run again: nothing more to do, nothing changes.
        const QMap<QString, QByteArray> afterFirst = snapshot(folder);
        const Run second = convert({folder});
        QCOMPARE(second.status, int(legacy::ConvertUsage));
        QVERIFY2(second.out.startsWith("Tabelle convertite: 0\n"), qPrintable(second.out));
        QVERIFY(second.out.contains(QDir::toNativeSeparators(at("Superfici - Via Roma 1.db")) + ": già nel formato di Brevan\n"));
        QCOMPARE(snapshot(folder), afterFirst);

        // Without the damaged table the folder converts cleanly.
        QFile::remove(at("Rotta.db"));
        QCOMPARE(convert({folder}).status, int(legacy::ConvertOk));
    }

    // A table that cannot be written ends the command with status 1 and the
    // Paradox table as it was: a folder that takes no new file stops it
    // before anything is copied; a table that cannot be replaced leaves its
    // original and the kept copy.
    // A conversion killed while writing leaves the temporary of the table it
    // was writing, with its journal, in the user's folder: the next run
    // clears it first and converts the table.
    void leftoversOfAnInterruptedRun()
    {
        QTemporaryDir dir;
        const QString table = dir.filePath("Superfici - Via Po 3.db");
        writeParadox(table, paradoxFrom(surfacesLayout(), {{QStringLiteral("Cucina"), 9.0}}, 850));
        const QString temporary = Table::writeBeside(table, surfacesLayout(), {});
        writeAll(temporary + "-journal", "giornale");
        writeAll(dir.filePath("Appunti.txt"), "dell'utente");
        const Run r = convert({dir.path()});
        QCOMPARE(r.status, int(legacy::ConvertOk));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"Appunti.txt", "Superfici - Via Po 3.db", "Superfici - Via Po 3.db.paradox"}));
        QCOMPARE(Table::open(table).rows().size(), 1);
    }

    void failedWriteKeepsTheArchive_data()
    {
        QTest::addColumn<bool>("lockFolder");
        QTest::addColumn<bool>("copyKept");
        QTest::newRow("folder takes no new file") << true << false;
        QTest::newRow("table cannot be replaced") << false << true;
    }
    void failedWriteKeepsTheArchive()
    {
        QFETCH(bool, lockFolder);
        QFETCH(bool, copyKept);
        QTemporaryDir dir;
        const QString table = dir.filePath("Superfici - Via Po 3.db");
        writeParadox(table, paradoxFrom(surfacesLayout(), {{QStringLiteral("Cucina"), 9.0}}, 850));
        const QByteArray original = readAll(table);
        Run r;
        {
            WriteLock lock(lockFolder ? dir.path() : table);
            if (!lock.locked())
                QSKIP("this file system or user cannot lock the entry against writing");
            r = convert({dir.path()});
        }
        QCOMPARE(r.status, int(legacy::ConvertFailed));
        QCOMPARE(r.err, QString());
        QVERIFY2(r.out.startsWith("Tabelle convertite: 0\n"), qPrintable(r.out));
        QVERIFY2(r.out.contains(QDir::toNativeSeparators(table) + ": "), qPrintable(r.out));
        // The system's reason in Italian, as the rest of the line.
        QVERIFY2(r.out.endsWith(": Operazione non permessa\n") || r.out.endsWith(": Permesso negato\n"), qPrintable(r.out));
        QCOMPARE(readAll(table), original);
        QVERIFY(legacy::isParadoxTable(table));
        QCOMPARE(QFile::exists(table + ".paradox"), copyKept);
        if (copyKept)
            QCOMPARE(readAll(table + ".paradox"), original);
        const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(left, copyKept ? QStringList({"Superfici - Via Po 3.db", "Superfici - Via Po 3.db.paradox"})
                                : QStringList({"Superfici - Via Po 3.db"}));

        // Once it can be written, the same command converts it.
        QCOMPARE(convert({dir.path()}).status, int(legacy::ConvertOk));
        QVERIFY(!legacy::isParadoxTable(table));
        QCOMPARE(readAll(table + ".paradox"), original);
    }

    void arguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Uso: brevan-convert CARTELLA..." << "";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "brevan-convert (Brevan) 2.0\n" << "";
        QTest::newRow("no folder") << QStringList{} << 2 << "" << "brevan-convert: manca la cartella da convertire\n";
        QTest::newRow("unknown option") << QStringList{"--tutto"} << 2 << "" << "brevan-convert: opzione sconosciuta: tutto\n";
        QTest::newRow("missing folder") << QStringList{"/nessuna/cartella"} << 2 << "Tabelle convertite: 0\n"
                                        << "brevan-convert: la cartella \"/nessuna/cartella\" non esiste o non si può leggere\n";
    }
    void arguments()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const Run r = convert(args);
        QCOMPARE(r.status, status);
        QVERIFY2(out.isEmpty() ? r.out.isEmpty() : r.out.startsWith(out), qPrintable(r.out));
        QVERIFY2(err.isEmpty() ? r.err.isEmpty() : r.err.startsWith(err), qPrintable(r.err));
    }

    // The command itself: its own messages only on standard error, Qt's
    // notices never, no progress when its output is not a terminal.
    void commandProcess()
    {
        QTemporaryDir dir;
        writeParadox(dir.filePath("Superfici 01.db"), paradoxFrom(surfacesLayout(), {{QStringLiteral("Cucina"), 9.0}}, 850));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("XDG_RUNTIME_DIR");
        env.insert("LC_ALL", "C");
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(BREVAN_CONVERT_BINARY), {dir.path(), dir.filePath("assente")});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 2);
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()),
                 QStringLiteral("brevan-convert: la cartella \"%1\" non esiste o non si può leggere\n")
                     .arg(dir.filePath("assente")));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(out.startsWith("Tabelle convertite: 1\n"), qPrintable(out));
        QVERIFY(!out.contains('\r'));
        QCOMPARE(Table::open(dir.filePath("Superfici 01.db")).rows(), (QVector<QVariantList>{{QStringLiteral("Cucina"), 9.0}}));
    }
};

QTEST_GUILESS_MAIN(TestConvert)
#include "tst_convert.moc"
