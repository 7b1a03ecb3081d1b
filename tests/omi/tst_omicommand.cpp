// SPDX-License-Identifier: GPL-2.0-or-later
// brevan-omi: arguments, the closing counts, files that cannot be used,
// damaged rows, the registered data folder, and the program as a user runs it.
#include "../support/omifixtures.h"
#include "omi/omicommand.h"
#include "omi/omitables.h"
#include "store/datafolder.h"
#include "store/folderlock.h"
#include "store/tablestore.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <sys/stat.h>

using namespace brevan;
using namespace brevan::omi;
using namespace omifixtures;

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run runOmi(const QStringList &args)
{
    Run r;
    QTextStream out(&r.out), err(&r.err);
    r.status = runOmiCommand(args, out, err, false);
    out.flush();
    err.flush();
    return r;
}

// The closing counts without the time, which varies.
QStringList countLines(const QString &out)
{
    QStringList l = out.split(u'\n', Qt::SkipEmptyParts);
    l.removeIf([](const QString &s) { return s.startsWith(QLatin1String("Tempo: ")); });
    return l;
}

} // namespace

class TestOmiCommand : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup() { AliasRegistry::setConfigFile({}); }

    void usageErrors_data();
    void usageErrors();
    void helpAndVersion();
    void importsAWholeFile();
    void unusableFileWritesNothing();
    void damagedRowsHoldTheirMunicipalityOut();
    void registeredDataFolder();
    void municipalitiesOfTheLatestMergers_data();
    void municipalitiesOfTheLatestMergers();
    void asTheUserRunsIt();
    void tableBeyondWhatTheProgramReads();
    void leftoversOfAnInterruptedRun_data();
    void leftoversOfAnInterruptedRun();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_data;
    QString m_values;
    QString m_zones;
};

void TestOmiCommand::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    AliasRegistry::setConfigFile(m_dir->filePath("config/tablestore.ini"));
    m_data = m_dir->filePath("Dati");
    QDir().mkpath(m_data);
    m_values = m_dir->filePath("QI_118633_1_20242_VALORI.csv");
    m_zones = m_dir->filePath("QI_118633_1_20242_ZONE.csv");
    const QStringList values = abanoValues() + QStringList{valueRow(
                                   {"Z999", "XX", "NUOVO COMUNE", "B", "B1", "20", "NORMALE", "P", "4", "5"})};
    write(m_values, encode(valuesFile("2024/2", values), Encoding::Windows1252));
    write(m_zones, encode(zonesFile("2024/2", abanoZones()), Encoding::Utf8));
}

void TestOmiCommand::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("no file") << QStringList{} << "nessun file di quotazioni indicato";
    QTest::newRow("unknown option") << QStringList{"--euro", "f.csv"} << "opzione sconosciuta \"--euro\"";
    QTest::newRow("value missing") << QStringList{"f.csv", "--tipo"} << "manca il valore dell'opzione --tipo";
    QTest::newRow("type not a number") << QStringList{"--tipo", "civile", "f.csv"}
                                       << "tipologia \"civile\" non valida: indicare il codice numerico (20, 21, 1...)";
    QTest::newRow("unknown state") << QStringList{"--stato=buono", "f.csv"}
                                   << "stato \"buono\" non valido: indicare OTTIMO, NORMALE o SCADENTE";
    QTest::newRow("year of two digits") << QStringList{"--anno", "24", "f.csv"}
                                        << "anno \"24\" non valido: indicare quattro cifre";
}

void TestOmiCommand::usageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const Run r = runOmi(args);
    QCOMPARE(r.status, int(CommandUsage));
    QCOMPARE(r.err, QStringLiteral("brevan-omi: ") + message + QStringLiteral("\nUsare --help per l'aiuto.\n"));
    QVERIFY(r.out.isEmpty());
}

void TestOmiCommand::helpAndVersion()
{
    const Run help = runOmi({"--help"});
    QCOMPARE(help.status, int(CommandOk));
    QVERIFY(help.out.startsWith(QStringLiteral("Uso: brevan-omi [--data CARTELLA] [--tipo CODICE] [--stato STATO] "
                                               "[--anno AAAA] FILE...\n")));
    QVERIFY(help.out.contains(QStringLiteral("Fonte dei dati: Agenzia Entrate - OMI.")));
    QVERIFY(help.err.isEmpty());
    const Run version = runOmi({"--version"});
    QCOMPARE(version.status, int(CommandOk));
    QCOMPARE(version.out, QStringLiteral("brevan-omi (Brevan) 2.0\n"));
}

void TestOmiCommand::importsAWholeFile()
{
    const Run r = runOmi({"--data", m_data, m_values, m_zones});
    QCOMPARE(r.err, QString());
    // Z999 is in no list: its row is left out, and the status says so.
    QCOMPARE(r.status, int(CommandUnplaced));
    QCOMPARE(countLines(r.out), (QStringList{
                                    "Cartella dei dati: " + m_data,
                                    "Comuni scritti: 1",
                                    "Zone: 6",
                                    "Righe di canone: 3 (tipologia 20, stato NORMALE)",
                                    "Righe saltate: 1 senza canone (vuoto o pari a 0), 0 danneggiate",
                                    "Quotazioni di compravendita: 9 (scartate 0 con minimo oltre il massimo, "
                                    "pari a 0 o vuote)",
                                    "Comuni non presenti nell'elenco: 1 (Z999 NUOVO COMUNE)",
                                    "Righe non collocate: 1",
                                    "Fonte dei dati: Agenzia Entrate - OMI",
                                }));
    QCOMPARE(readTextRows(m_data + "/ZonaUrbanaAbano Terme35031PD.db", zonesLayout()).at(1).at(2),
             QStringLiteral("B2 VIALE DELLE TERME, PIAZZA D"));
    QCOMPARE(readTextRows(m_data + "/CanoniLocazUnitariAbano Terme35031PD.db", unitRentsLayout()).size(), 3);

    // The same files again: the tables hold these rows already and are not rewritten.
    const auto inode = [](const QString &path) {
        struct stat st {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? qulonglong(st.st_ino) : 0ULL;
    };
    const QString zonesTable = m_data + "/ZonaUrbanaAbano Terme35031PD.db";
    const qulonglong before = inode(zonesTable);
    const Run same = runOmi({"--data", m_data, m_values, m_zones});
    QCOMPARE(same.status, int(CommandUnplaced));
    QVERIFY(same.out.contains(QStringLiteral("Comuni scritti: 0\nComuni già aggiornati, tabelle non riscritte: 1\n")));
    QCOMPARE(inode(zonesTable), before);

    // Another type, state and year: the rows of that year are added beside
    // the first ones.
    const Run again = runOmi({"--data", m_data, "--tipo", "21", "--stato", "ottimo", "--anno=2025", m_values});
    QCOMPARE(again.status, int(CommandUnplaced));
    QVERIFY(again.out.contains(QStringLiteral("Righe di canone: 1 (tipologia 21, stato OTTIMO)\n")));
    QVERIFY(again.out.contains(QStringLiteral("Zone senza quotazioni della tipologia 21: 5\n")));
    const TextRows rents = readTextRows(m_data + "/CanoniLocazUnitariAbano Terme35031PD.db", unitRentsLayout());
    QCOMPARE(rents.size(), 4);
    QCOMPARE(rents.last().join(u'|'), QStringLiteral("2025|9294,096|11617,62|Zona centrale"));
}

void TestOmiCommand::unusableFileWritesNothing()
{
    const QString other = m_dir->filePath("elenco.csv");
    write(other, QByteArray("Nome,Cognome\nMario,Rossi\n"));
    const QString noSemester = m_dir->filePath("valori.csv");
    write(noSemester, lines({kValuesHeader, abanoValues().first()}).toUtf8());
    const Run r = runOmi({"--data", m_data, m_values, other, noSemester, m_dir->filePath("manca.csv")});
    QCOMPARE(r.status, int(CommandUsage));
    QCOMPARE(r.err.split(u'\n', Qt::SkipEmptyParts),
             (QStringList{
                 "brevan-omi: Il file \"" + other
                     + "\" non contiene quotazioni OMI: intestazione non riconosciuta alla riga 2 (colonne separate "
                       "da \";\" attese).",
                 "brevan-omi: Il file \"" + noSemester
                     + "\" non indica il semestre delle quotazioni: indicare l'anno con --anno.",
                 "brevan-omi: Il file \"" + m_dir->filePath("manca.csv") + "\" non esiste.",
                 "brevan-omi: nessuna tabella è stata scritta.",
             }));
    QVERIFY(QDir(m_data).isEmpty());

    // With the year given, the file without a semester is used.
    QCOMPARE(runOmi({"--data", m_data, "--anno", "2024", noSemester}).status, int(CommandOk));
    QCOMPARE(readTextRows(m_data + "/CanoniLocazUnitariAbano Terme35031PD.db", unitRentsLayout()).size(), 1);

    const Run noFolder = runOmi({"--data", m_dir->filePath("nessuna"), m_values});
    QCOMPARE(noFolder.status, int(CommandUsage));
    QCOMPARE(noFolder.err, "brevan-omi: la cartella dei dati \"" + m_dir->filePath("nessuna") + "\" non esiste.\n");
}

void TestOmiCommand::damagedRowsHoldTheirMunicipalityOut()
{
    const QString damaged = m_dir->filePath("QI_1_1_20241_VALORI.csv");
    write(damaged,
          valuesFile("2024/1", {valueRow({"B418", "AT", "CALLIANO", "B", "B1", "20", "NORMALE", "P", "4,5", "6"}),
                                valueRow({"B418", "AT", "CALLIANO", "Q", "C1", "20", "NORMALE", "P", "4", "5"}),
                                valueRow({"B419", "TN", "CALLIANO", "B", "B1", "20", "NORMALE", "P", "7", "9"})})
              .toUtf8());
    const Run r = runOmi({"--data", m_data, damaged});
    QCOMPARE(r.status, int(CommandFailed));
    QCOMPARE(r.err, "brevan-omi: " + damaged + ", riga 4: fascia \"Q\" sconosciuta (attese B, C, D, E, R)\n");
    QVERIFY(r.out.contains(QStringLiteral("Comuni scritti: 1\n")));
    QVERIFY(r.out.contains(QStringLiteral("Righe saltate: 0 senza canone (vuoto o pari a 0), 1 danneggiate\n")));
    QVERIFY(r.out.contains(QStringLiteral("Comuni non scritti per righe danneggiate: 1 (B418)\n")));
    QVERIFY(!QFileInfo::exists(m_data + "/CanoniLocazUnitariCalliano Monferrato14031AT.db"));
    QVERIFY(QFileInfo::exists(m_data + "/CanoniLocazUnitariCalliano38060TN.db"));
}

// Quotations of the municipalities made by the mergers of 2021-2024, under
// the codes the Agenzia gives them, are placed; rows under the code of one
// that merged away are not moved onto its successor but counted and named,
// and the status tells a script.
void TestOmiCommand::municipalitiesOfTheLatestMergers_data()
{
    QTest::addColumn<QStringList>("rows");     // "CODE|PROV|NAME" of each municipality in the file
    QTest::addColumn<QStringList>("tables");   // zone tables written
    QTest::addColumn<QString>("notPlaced");    // the closing line on those left out; empty: none
    QTest::addColumn<int>("status");

    QTest::newRow("the 2024 municipalities")
        << QStringList{"M436|VI|SOVIZZO", "M435|CO|UGGIATE CON RONAGO", "M437|BL|SETTEVILLE",
                       "M438|PD|SANTA CATERINA D'ESTE"}
        << QStringList{"ZonaUrbanaSovizzo36050VI.db", "ZonaUrbanaUggiate con Ronago22029CO.db",
                       "ZonaUrbanaSetteville32031BL.db", "ZonaUrbanaSanta Caterina d'Este35040PD.db"}
        << QString() << int(CommandOk);
    QTest::newRow("2021 and 2023, and a renamed one under its code")
        << QStringList{"M432|TP|MISILISCEMI", "M434|AT|MORANSENGO-TONENGO", "M433|VA|BARDELLO CON MALGESSO E BREGANO",
                       "G878|PE|POPOLI TERME"}
        << QStringList{"ZonaUrbanaMisiliscemi91100TP.db", "ZonaUrbanaMoransengo-Tonengo14023AT.db",
                       "ZonaUrbanaBardello con Malgesso e Bregano21020VA.db", "ZonaUrbanaPopoli Terme65026PE.db"}
        << QString() << int(CommandOk);
    QTest::newRow("an old file with codes that merged away")
        << QStringList{"M436|VI|SOVIZZO", "L204|AT|TONENGO", "D902|VI|GAMBUGLIANO"}
        << QStringList{"ZonaUrbanaSovizzo36050VI.db"}
        << "Comuni non presenti nell'elenco: 2 (L204 TONENGO (Comune soppresso il 01/01/2023: ora "
           "Moransengo-Tonengo), D902 GAMBUGLIANO (Comune soppresso il 22/01/2024: ora Sovizzo))\n"
           "Righe non collocate: 8"
        << int(CommandUnplaced);
}

void TestOmiCommand::municipalitiesOfTheLatestMergers()
{
    QFETCH(QStringList, rows);
    QFETCH(QStringList, tables);
    QFETCH(QString, notPlaced);
    QFETCH(int, status);

    QStringList values, zones;
    for (const QString &r : rows) {
        const QStringList m = r.split(u'|');
        values << valueRow({m[0], m[1], m[2], "B", "B1", "20", "NORMALE", "P", "5", "6,5"})
               << valueRow({m[0], m[1], m[2], "D", "D1", "20", "NORMALE", "P", "3,8", "4,6"});
        zones << zoneRow(m[0], m[1], m[2], "B", "B1", "CAPOLUOGO") << zoneRow(m[0], m[1], m[2], "D", "D1", "FRAZIONI");
    }
    const QString valuesPath = m_dir->filePath("QI_200001_1_20242_VALORI.csv");
    const QString zonesPath = m_dir->filePath("QI_200001_1_20242_ZONE.csv");
    write(valuesPath, encode(valuesFile("2024/2", values), Encoding::Windows1252));
    write(zonesPath, encode(zonesFile("2024/2", zones), Encoding::Utf8));

    const Run r = runOmi({"--data", m_data, valuesPath, zonesPath});
    QCOMPARE(r.err, QString());
    QCOMPARE(r.status, status);
    QVERIFY2(r.out.contains(QStringLiteral("Comuni scritti: %1\n").arg(tables.size())), qPrintable(r.out));
    for (const QString &t : tables) {
        const TextRows written = readTextRows(m_data + u'/' + t, zonesLayout());
        QCOMPARE(written.size(), 2);
        QCOMPARE(written.at(0).at(2), QStringLiteral("B1 CAPOLUOGO"));
    }
    QCOMPARE(QDir(m_data).entryList({"ZonaUrbana*"}, QDir::Files).size(), tables.size());
    if (notPlaced.isEmpty())
        QVERIFY2(r.out.contains(QStringLiteral("Comuni non presenti nell'elenco: 0\n")), qPrintable(r.out));
    else
        QVERIFY2(r.out.contains(notPlaced + u'\n'), qPrintable(r.out));
    QCOMPARE(r.out.contains(QStringLiteral("Righe non collocate")), !notPlaced.isEmpty());
}

void TestOmiCommand::registeredDataFolder()
{
    const Run none = runOmi({m_values});
    QCOMPARE(none.status, int(CommandUsage));
    QCOMPARE(none.err, QStringLiteral("brevan-omi: nessuna cartella dei dati registrata: avviare Brevan una volta o "
                                      "indicare la cartella con --data.\n"));
    AliasRegistry::add(QStringLiteral("Database Brevan"), m_data);
    const Run r = runOmi({m_values});
    QCOMPARE(r.status, int(CommandUnplaced));
    QVERIFY(QFileInfo::exists(m_data + "/ZonaUrbanaAbano Terme35031PD.db"));
}

// A municipality whose zone table would hold more rows than the program
// reads: refused with its reason and status 1, nothing written for it; the
// other municipalities are written.
void TestOmiCommand::tableBeyondWhatTheProgramReads()
{
    QStringList zones;
    for (int i = 0; i < kMaxTableRows + 1; ++i)
        zones << zoneRow("A001", "PD", "ABANO TERME", "C", QStringLiteral("C%1").arg(i), QStringLiteral("ZONA %1").arg(i));
    write(m_zones, encode(zonesFile("2024/2", zones), Encoding::Utf8));
    const QString other = m_dir->filePath("QI_1_1_20242_VALORI.csv");
    write(other, valuesFile("2024/2", {valueRow({"B419", "TN", "CALLIANO", "B", "B1", "20", "NORMALE", "P", "7", "9"})})
                     .toUtf8());
    const Run r = runOmi({"--data", m_data, m_values, m_zones, other});
    QCOMPARE(r.status, int(CommandFailed));
    QCOMPARE(r.err, "brevan-omi: La tabella \"" + m_data
                        + "/ZonaUrbanaAbano Terme35031PD.db\" avrebbe 10.001 righe, più delle 10.000 che Brevan legge: "
                          "le tabelle del Comune non sono state scritte.\n");
    QVERIFY(!QFileInfo::exists(m_data + "/ZonaUrbanaAbano Terme35031PD.db"));
    QVERIFY(!QFileInfo::exists(m_data + "/CanoniLocazUnitariAbano Terme35031PD.db"));
    QVERIFY(QFileInfo::exists(m_data + "/CanoniLocazUnitariCalliano38060TN.db"));
    QVERIFY(r.out.contains(QStringLiteral("Comuni scritti: 1\n")));
}

// A run killed while writing leaves the temporaries of its tables (each as
// the writer names it, with a journal) in the data folder: the next run
// clears them first, unless the program works in the folder, whose own
// writes they may be.
void TestOmiCommand::leftoversOfAnInterruptedRun_data()
{
    QTest::addColumn<bool>("programRunning");
    QTest::newRow("folder free") << false;
    QTest::newRow("program working in the folder") << true;
}

void TestOmiCommand::leftoversOfAnInterruptedRun()
{
    QFETCH(bool, programRunning);
    QStringList leftovers;
    for (const char *name : {"ZonaUrbanaAbano Terme35031PD.db", "CanoniLocazUnitariCalliano38060TN.db"}) {
        const QString temporary = Table::writeBeside(m_data + u'/' + QLatin1String(name), zonesLayout(), {});
        leftovers << temporary;
        write(temporary + "-journal", "giornale");
        leftovers << temporary + "-journal";
    }
    write(m_data + "/Appunti.txt", "dell'utente");
    FolderLock lock;
    if (programRunning)
        QCOMPARE(lock.acquire(m_data), FolderLock::Result::Locked);
    const Run r = runOmi({"--data", m_data, m_values, m_zones});
    QCOMPARE(r.status, int(CommandUnplaced)); // the fixture's row of Z999, as in run()
    for (const QString &leftover : std::as_const(leftovers))
        QCOMPARE(QFileInfo::exists(leftover), programRunning);
    QVERIFY(QFileInfo::exists(m_data + "/Appunti.txt"));
    QVERIFY(QFileInfo::exists(m_data + "/ZonaUrbanaAbano Terme35031PD.db"));
}

void TestOmiCommand::asTheUserRunsIt()
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", m_dir->filePath("config"));
    env.remove("XDG_RUNTIME_DIR");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(BREVAN_OMI_PATH), {"--data", m_data, m_values, m_zones});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(QString::fromUtf8(p.readAllStandardError()), QString());
    QCOMPARE(p.exitCode(), 3); // the row of Z999 was not placed
    QVERIFY(QString::fromUtf8(p.readAllStandardOutput()).contains(QStringLiteral("Comuni scritti: 1\n")));

    p.start(QStringLiteral(BREVAN_OMI_PATH), {"--data", m_data, m_dir->filePath("manca.csv")});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 2);
    QCOMPARE(QString::fromUtf8(p.readAllStandardError()),
             "brevan-omi: Il file \"" + m_dir->filePath("manca.csv")
                 + "\" non esiste.\nbrevan-omi: nessuna tabella è stata scritta.\n");

    p.start(QStringLiteral(BREVAN_OMI_PATH), {"--tipo"});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 2);
    p.start(QStringLiteral(BREVAN_OMI_PATH), {"--version"});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), QStringLiteral("brevan-omi (Brevan) 2.0\n"));
}

QTEST_GUILESS_MAIN(TestOmiCommand)
#include "tst_omicommand.moc"
