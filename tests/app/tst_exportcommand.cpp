// SPDX-License-Identifier: GPL-2.0-or-later
// brevan-export run in-process: argument handling, a file that cannot be
// opened (missing, damaged, not a table) and, once "&Apri stima..." is
// wired into the main window, a saved appraisal written as JSON, text and PDF.
#include "../support/exportrun.h"
#include "../support/fixtures.h"
#include "../support/smallfs.h"
#include "../support/writelock.h"
#include "app/application.h"
#include "app/exportcommand.h"
#include "model/record.h"
#include "pages/messages.h"
#include "store/datafolder.h"
#include "store/tablestore.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <sys/stat.h>

using namespace brevan;

namespace {

// A saved appraisal of one record with a few fields, no companion files:
// the 149 fields as a file saved before the currency was recorded, or with
// the currency column holding the given text.
void writeAppraisal(const QString &path, const QString *currencyColumn = nullptr)
{
    Layout layout;
    for (const FieldDef &f : recordFields())
        layout << Column{QString::fromLatin1(f.name),
                         f.type == FieldType::Text      ? ColumnType::Text
                         : f.type == FieldType::Logical ? ColumnType::Logical
                                                        : ColumnType::Real,
                         f.size};
    if (currencyColumn)
        layout << Column{QStringLiteral("Valuta"), ColumnType::Text, 4};
    Table::create(path, layout);
    Table t = Table::open(path);
    const qint64 id = t.append();
    t.setText(id, QStringLiteral("CognomeProfess"), QStringLiteral("Rossi"));
    t.setText(id, QStringLiteral("NomeProfess"), QStringLiteral("Mario"));
    t.setText(id, QStringLiteral("IndirizzoImmob"), QStringLiteral("Via Roma"));
    t.setText(id, QStringLiteral("NumCivicoImmob"), QStringLiteral("10"));
    t.setText(id, QStringLiteral("DataStimaImmob"), QStringLiteral("05/11/2023"));
    t.setLogical(id, QStringLiteral("Ascensore"), true);
    if (currencyColumn)
        t.setText(id, QStringLiteral("Valuta"), *currencyColumn);
}

} // namespace

class TestExportCommand : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }
    void usageErrors_data();
    void usageErrors();
    void help();
    void fileThatCannotBeOpened_data();
    void fileThatCannotBeOpened();
    void leavesNoStateBehind();
    void savedAppraisal();
    void currencyOfTheFile_data();
    void currencyOfTheFile();
    void interruptedSaveIsFinishedFirst();
    void outputTargets_data();
    void outputTargets();
    void fullDisk_data();
    void fullDisk();
    void standardOutputThatFails_data();
    void standardOutputThatFails();
    void controlCharactersInTheText();
};

void TestExportCommand::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing") << QStringList{} << "manca il file della stima";
    QTest::newRow("two files") << QStringList{"a.db", "b.db", "--json"} << "un solo file di stima per volta";
    QTest::newRow("no output") << QStringList{"a.db"} << "nessun risultato richiesto";
    QTest::newRow("unknown option") << QStringList{"a.db", "--xml"} << "xml";
    QTest::newRow("rtf without file") << QStringList{"a.db", "--rtf"} << "rtf";
    QTest::newRow("pages without pdf") << QStringList{"a.db", "--json", "--pages", "1"} << "--pages vale solo con --pdf";
    QTest::newRow("page 0") << QStringList{"a.db", "--pdf", "r.pdf", "--pages", "0"} << "pagina non valida: \"0\"";
    QTest::newRow("page 12") << QStringList{"a.db", "--pdf", "r.pdf", "--pages", "1,12"} << "pagina non valida: \"12\"";
    QTest::newRow("reversed range") << QStringList{"a.db", "--pdf", "r.pdf", "--pages", "5-3"} << "pagina non valida: \"5-3\"";
    QTest::newRow("not a number") << QStringList{"a.db", "--pdf", "r.pdf", "--pages", "tutte"} << "pagina non valida: \"tutte\"";
    QTest::newRow("empty list") << QStringList{"a.db", "--pdf", "r.pdf", "--pages", ","} << "elenco di pagine vuoto";
    QTest::newRow("pdf twice") << QStringList{"a.db", "--pdf", "a.pdf", "--pdf", "b.pdf"} << "--pdf va data una sola volta";
}

void TestExportCommand::usageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const Run r = runExport(args);
    QCOMPARE(r.status, int(app::ExportUsage));
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(r.err.contains(QLatin1String("Uso: brevan-export STIMA.db")));
    QVERIFY(r.out.isEmpty());
}

void TestExportCommand::help()
{
    const Run r = runExport({QStringLiteral("--help")});
    QCOMPARE(r.status, int(app::ExportOk));
    QVERIFY(r.out.startsWith(QLatin1String("Uso: brevan-export STIMA.db")));
    QVERIFY(r.err.isEmpty());
}

void TestExportCommand::fileThatCannotBeOpened_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("a folder") << "folder";
    QTest::newRow("not a table") << "text";
    QTest::newRow("damaged table") << "damaged";
    QTest::newRow("missing folder") << "missing folder";
}

void TestExportCommand::fileThatCannotBeOpened()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Stima - Via Roma 10.db"));
    if (kind == QLatin1String("missing folder"))
        path = dir.filePath(QStringLiteral("nessuna/cartella/Stima - Via Roma 10.db"));
    if (kind == QLatin1String("folder")) {
        QDir().mkpath(path);
    } else if (kind == QLatin1String("text")) {
        fixtures::writeBytes(path, "questo non è un archivio\n");
    } else if (kind == QLatin1String("damaged")) {
        writeAppraisal(path);
        Table t = Table::open(path);
        for (int i = 0; i < 200; ++i)
            t.append({QStringLiteral("riga %1").arg(i).repeated(3)});
        t.close();
        fixtures::damage(path);
    }
    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    const Run r = runExport({path, QStringLiteral("--json"), QStringLiteral("--pdf"), pdf});
    QCOMPARE(r.status, int(app::ExportCannotOpen));
    QVERIFY(r.out.isEmpty());
    QVERIFY(!QFile::exists(pdf));
    // A file that is not there is not called damaged.
    if (kind.startsWith(QLatin1String("missing")))
        QCOMPARE(r.err, QStringLiteral("brevan-export: il file \"%1\" non esiste.\n").arg(QDir::toNativeSeparators(path)));
    else if (kind == QLatin1String("folder") || !r.err.contains(QStringLiteral("non è disponibile")))
        QCOMPARE(r.err, app::kOpenAppraisalFailed + QLatin1Char('\n'));
}

void TestExportCommand::leavesNoStateBehind()
{
    const QString cwd = QDir::currentPath();
    const QString config = AliasRegistry::configFile();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Stima - x.db"));
    writeAppraisal(path);
    runExport({path, QStringLiteral("--json")});
    QCOMPARE(QDir::currentPath(), cwd);
    QCOMPARE(AliasRegistry::configFile(), config);
    // The message seam answers nothing any more: no handler is left set.
    ui::Messages::resetForTests();
    QVERIFY(ui::Messages::shown().isEmpty());
}

void TestExportCommand::savedAppraisal()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Stima - Via Roma 10.db"));
    writeAppraisal(path);
    const QString pdf = dir.filePath(QStringLiteral("Report.pdf"));
    const Run r = runExport({path, QStringLiteral("--json"), QStringLiteral("--pdf"), pdf, QStringLiteral("--pages"),
                             QStringLiteral("1,2,10")});
    if (r.status == app::ExportCannotOpen && r.err.contains(QStringLiteral("non è disponibile")))
        QSKIP("\"&Apri stima...\" is not wired into the main window in this build");
    QVERIFY2(r.status == app::ExportOk, qPrintable(r.err));

    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(r.out.toUtf8(), &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    const QJsonObject fields = doc.object().value(QStringLiteral("fields")).toObject();
    QCOMPARE(fields.size(), kRecordFieldCount);
    QCOMPARE(fields.value(QStringLiteral("CognomeProfess")).toString(), QStringLiteral("Rossi"));
    QCOMPARE(fields.value(QStringLiteral("DataStimaImmob")).toString(), QStringLiteral("05/11/2023"));
    QCOMPARE(fields.value(QStringLiteral("Ascensore")).toBool(), true);
    QVERIFY(fields.value(QStringLiteral("CIVetustaEdificio")).isDouble());
    QCOMPARE(doc.object().value(QStringLiteral("ValutaCorrente")).toString(), QStringLiteral(" Lire"));
    // Fields in stored order.
    const QString firstKey = r.out.section(QLatin1Char('"'), 3, 3);
    QCOMPARE(firstKey, QStringLiteral("CognomeProfess"));

    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(p.waitForFinished(60000));
    const QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 4); // 1, 2, and 9 with 10
    QVERIFY(pages[0].contains(QLatin1String("Stima dell'immobile sito in Via Roma 10")));
    QVERIFY(pages[0].contains(QLatin1String("Mario Rossi")));
}

// Where the summary and the report go: an ordinary file is replaced whole;
// a file that cannot be replaced stays as it was (nothing is removed before
// the export); a device or a pipe is written into and never replaced, and a
// full device is a failure.
void TestExportCommand::outputTargets_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("status");
    for (const char *option : {"--rtf", "--pdf"}) {
        const QByteArray o(option + 2);
        QTest::newRow((o + ", existing file").constData()) << option << "file" << int(app::ExportOk);
        QTest::newRow((o + ", file in a locked folder").constData()) << option << "locked" << int(app::ExportCannotWrite);
        QTest::newRow((o + ", full device").constData()) << option << "/dev/full" << int(app::ExportCannotWrite);
        QTest::newRow((o + ", null device").constData()) << option << "/dev/null" << int(app::ExportOk);
        QTest::newRow((o + ", pipe").constData()) << option << "pipe" << int(app::ExportOk);
    }
}

void TestExportCommand::outputTargets()
{
    QFETCH(QString, option);
    QFETCH(QString, target);
    QFETCH(int, status);
    QTemporaryDir dir;
    const QString appraisal = dir.filePath(QStringLiteral("Stima - Via Roma 10.db"));
    writeAppraisal(appraisal);
    const QString out = dir.filePath(QStringLiteral("uscita/Risultati"));
    QDir().mkpath(QFileInfo(out).path());
    const QByteArray earlier("il file di prima");
    fixtures::writeBytes(out, earlier);
    const auto isDevice = [](const QString &path) {
        struct stat st {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISCHR(st.st_mode);
    };
    if (target.startsWith(QLatin1String("/dev/")) && !isDevice(target))
        QSKIP("this machine has no such device");

    Run r;
    QByteArray piped;
    if (target == QLatin1String("pipe")) {
        const QString fifo = dir.filePath(QStringLiteral("tubo"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QProcess reader;
        reader.start(QStringLiteral("cat"), {fifo});
        QVERIFY(reader.waitForStarted());
        r = runExport({appraisal, option, fifo});
        QVERIFY(reader.waitForFinished(30000));
        piped = reader.readAllStandardOutput();
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile()); // still the pipe
        QVERIFY(piped.startsWith(option == QLatin1String("--rtf") ? "{\\rtf1" : "%PDF-"));
    } else if (target == QLatin1String("locked")) {
        fixtures::WriteLock lock(QFileInfo(out).path());
        if (!lock.locked())
            QSKIP("this file system cannot lock a folder against writing");
        r = runExport({appraisal, option, out});
    } else {
        r = runExport({appraisal, option, target == QLatin1String("file") ? out : target});
    }
    if (r.status == app::ExportCannotOpen)
        QSKIP("\"&Apri stima...\" is not wired into the main window in this build");
    QVERIFY2(r.status == status, qPrintable(r.err));
    if (status != app::ExportOk)
        QVERIFY2(r.err.contains(QStringLiteral("Impossibile scrivere il file")), qPrintable(r.err));
    else
        QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    if (target.startsWith(QLatin1String("/dev/")))
        QVERIFY(isDevice(target));
    if (target == QLatin1String("/dev/full"))
        QVERIFY2(r.err.contains(QStringLiteral("Spazio esaurito sul dispositivo")), qPrintable(r.err));
    const QByteArray now = fixtures::readBytes(out);
    if (target == QLatin1String("file"))
        QVERIFY(now.startsWith(option == QLatin1String("--rtf") ? "{\\rtf1" : "%PDF-"));
    else
        QCOMPARE(now, earlier);
}

// A file opens in the currency its amounts were saved in; --euro then shows
// them in Euro, converting only what is in Lire.
void TestExportCommand::currencyOfTheFile_data()
{
    QTest::addColumn<QString>("stored"); // the "Valuta" column; "-" for a file without it
    QTest::addColumn<QString>("rent");
    QTest::addColumn<bool>("euro");
    QTest::addColumn<QString>("currency");
    QTest::addColumn<QString>("shown");
    QTest::newRow("older file") << "-" << "10.000,00" << false << " Lire" << "10.000,00";
    QTest::newRow("older file, --euro") << "-" << "10.000,00" << true << " Euro" << "5,16";
    QTest::newRow("Lire") << "Lire" << "10.000,00" << false << " Lire" << "10.000,00";
    QTest::newRow("Lire, --euro") << "Lire" << "10.000,00" << true << " Euro" << "5,16";
    QTest::newRow("Euro") << "Euro" << "5,16" << false << " Euro" << "5,16";
    QTest::newRow("Euro, --euro converts nothing twice") << "Euro" << "5,16" << true << " Euro" << "5,16";
}

void TestExportCommand::currencyOfTheFile()
{
    QFETCH(QString, stored);
    QFETCH(QString, rent);
    QFETCH(bool, euro);
    QFETCH(QString, currency);
    QFETCH(QString, shown);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Stima - Via Roma 10.db"));
    writeAppraisal(path, stored == QLatin1String("-") ? nullptr : &stored);
    {
        Table t = Table::open(path);
        t.setText(t.rowIds().first(), QStringLiteral("CanoneLocazUnit"), rent);
    }
    QStringList args{path, QStringLiteral("--json")};
    if (euro)
        args << QStringLiteral("--euro");
    const Run r = runExport(args);
    QVERIFY2(r.status == app::ExportOk, qPrintable(r.err));
    const QJsonObject doc = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(doc.value(QStringLiteral("ValutaCorrente")).toString(), currency);
    QCOMPARE(doc.value(QStringLiteral("fields")).toObject().value(QStringLiteral("CanoneLocazUnit")).toString(), shown);
}

// A save killed after its manifest: the command opens the set as "Apri stima"
// does, finishing that save first, so it reads the new record.
void TestExportCommand::interruptedSaveIsFinishedFirst()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Stima - Via Roma 10.db"));
    writeAppraisal(path);
    const QString staging = dir.filePath(QStringLiteral(".brevan-salvataggio-Ab12Cd"));
    QDir().mkpath(staging);
    const QString staged = staging + QStringLiteral("/Stima - Via Roma 10.db");
    writeAppraisal(staged);
    {
        Table t = Table::open(staged);
        t.setText(t.rowIds().first(), QStringLiteral("CognomeProfess"), QStringLiteral("Bianchi"));
    }
    fixtures::writeBytes(staging + QStringLiteral("/manifest"),
                         R"({"formato":"brevan-salvataggio","versione":1,"file":["Stima - Via Roma 10.db"]})");
    const Run r = runExport({path, QStringLiteral("--json")});
    QVERIFY2(r.status == app::ExportOk, qPrintable(r.err));
    const QJsonObject fields = QJsonDocument::fromJson(r.out.toUtf8()).object().value(QStringLiteral("fields")).toObject();
    QCOMPARE(fields.value(QStringLiteral("CognomeProfess")).toString(), QStringLiteral("Bianchi"));
    QVERIFY(!QFileInfo::exists(staging));
}

// An export onto a disk with no room left, or too little for the whole
// file: a failure said once, with the file's name and the system's reason,
// and the file that was there untouched, with no temporary left beside it.
void TestExportCommand::fullDisk_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("leave"); // bytes left free
    for (const char *option : {"--rtf", "--pdf"}) {
        const QByteArray o(option + 2);
        QTest::newRow((o + ", no room at all").constData()) << option << 0;
        QTest::newRow((o + ", room for part of it").constData()) << option << 1024;
    }
}

void TestExportCommand::fullDisk()
{
    QFETCH(QString, option);
    QFETCH(int, leave);
    fixtures::SmallFileSystem disk(64);
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.why()));
    QTemporaryDir dir;
    const QString appraisal = dir.filePath(QStringLiteral("Stima - Via Roma 10.db"));
    writeAppraisal(appraisal);
    const QString target = disk.filePath(QStringLiteral("keep.") + option.mid(2));
    const QByteArray earlier = QByteArray("il file di prima ").repeated(200);
    fixtures::writeBytes(target, earlier);
    QVERIFY(disk.fill(leave));

    const Run r = runExport({appraisal, option, target});
    QCOMPARE(r.status, int(app::ExportCannotWrite));
    QCOMPARE(r.err, QStringLiteral("brevan-export: Impossibile scrivere il file \"%1\":\nSpazio esaurito sul dispositivo\n")
                        .arg(QDir::toNativeSeparators(target)));
    QCOMPARE(fixtures::readBytes(target), earlier);
    QCOMPARE(QDir(QFileInfo(target).path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral(".riempimento"), QFileInfo(target).fileName()}));
}

// The record and the summary on a standard output that cannot take them (a
// full device, a file on a full disk): exit status 1 and the reason.
void TestExportCommand::standardOutputThatFails_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("target");
    for (const char *option : {"--json", "--text"}) {
        const QByteArray o(option + 2);
        QTest::newRow((o + " into /dev/full").constData()) << option << "/dev/full";
        QTest::newRow((o + " into a file on a full disk").constData()) << option << "disk";
    }
}

void TestExportCommand::standardOutputThatFails()
{
    QFETCH(QString, option);
    QFETCH(QString, target);
    QTemporaryDir dir;
    const QString appraisal = dir.filePath(QStringLiteral("Stima - Via Roma 10.db"));
    writeAppraisal(appraisal);
    std::unique_ptr<fixtures::SmallFileSystem> disk;
    QString path = target;
    if (target == QLatin1String("disk")) {
        disk = std::make_unique<fixtures::SmallFileSystem>(64);
        if (!disk->isMounted())
            QSKIP(qPrintable(disk->why()));
        path = disk->filePath(QStringLiteral("uscita.txt"));
        QVERIFY(disk->fill(1024)); // less than the output: it is cut short
    } else if (!QFileInfo(path).exists()) {
        QSKIP("this machine has no /dev/full");
    }
    // Standard output as the shell hands it over: a file opened on the target.
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    Run r;
    {
        QTextStream out(&file), err(&r.err);
        r.status = app::runExportCommand({appraisal, option}, out, err);
        err.flush();
    }
    QCOMPARE(r.status, int(app::ExportCannotWrite));
    QCOMPARE(r.err, QStringLiteral("brevan-export: Impossibile scrivere sull'uscita standard:\nSpazio esaurito sul dispositivo\n"));
}

// A received file can hold terminal escapes in its texts: the summary
// writes them as JSON does, and the terminal sees no escape character.
void TestExportCommand::controlCharactersInTheText()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Stima - Via Roma 10.db"));
    writeAppraisal(path);
    const QString hostile = QStringLiteral("Rossi\x1b[31m\x07") + QChar(0x9b) + QStringLiteral("2J");
    {
        Table t = Table::open(path);
        t.setText(t.rowIds().first(), QStringLiteral("CognomeProfess"), hostile);
    }
    const Run text = runExport({path, QStringLiteral("--text")});
    QVERIFY2(text.status == app::ExportOk, qPrintable(text.err));
    QVERIFY2(text.out.contains(QStringLiteral("Rossi\\u001b[31m\\u0007\\u009b2J")), qPrintable(text.out));
    for (const QChar c : text.out)
        QVERIFY2(c == u'\t' || c == u'\n' || (c >= u' ' && !(c >= QChar(0x7f) && c <= QChar(0x9f))),
                 qPrintable(QString::number(c.unicode(), 16)));
    // The record keeps the text as it is, escaped by JSON itself.
    const Run json = runExport({path, QStringLiteral("--json")});
    QVERIFY2(json.status == app::ExportOk, qPrintable(json.err));
    QCOMPARE(QJsonDocument::fromJson(json.out.toUtf8()).object().value(QStringLiteral("fields")).toObject()
                 .value(QStringLiteral("CognomeProfess")).toString(),
             hostile);
}

QTEST_MAIN(TestExportCommand)
#include "tst_exportcommand.moc"
