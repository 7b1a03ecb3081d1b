// SPDX-License-Identifier: GPL-2.0-or-later
#include "../support/fixtures.h"
#include "../support/smallfs.h"
#include "model/numbertext.h"
#include "store/tablestore.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sqlite3.h>
#include <QTest>

using namespace brevan;

namespace {

Layout sample()
{
    return {{"Descrizione", ColumnType::Text, 10}, {"Mq", ColumnType::Real, 0}, {"Flag", ColumnType::Logical, 0}};
}

} // namespace

class TestTableStore : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void createReadsLayoutBack()
    {
        const QString p = path("Layout.db");
        Table::create(p, sample());
        QVERIFY(Table::exists(p));
        QCOMPARE(Table::layoutOf(p), sample());
        Table t = Table::open(p);
        QCOMPARE(t.rowCount(), 0);
    }

    void createReplacesExistingTable()
    {
        const QString p = path("Replace.db");
        Table::create(p, sample());
        Table::open(p).append({"a", 1.0, true});
        const Layout other{{"Altro", ColumnType::Text, 5}};
        Table::create(p, other);
        Table t = Table::open(p);
        QCOMPARE(t.layout(), other);
        QCOMPARE(t.rowCount(), 0);
    }

    void appendAndReadInInsertionOrder()
    {
        const QString p = path("Order.db");
        Table::create(p, sample());
        Table t = Table::open(p);
        t.append({"Camera", 20.0, true});
        t.append({"Bagno"});             // trailing fields stay empty
        t.append({"Camera", 20.0, true}); // identical rows allowed
        t.append();
        const auto rows = t.rows();
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0], (QVariantList{"Camera", 20.0, true}));
        QCOMPARE(rows[1], (QVariantList{"Bagno", 0.0, false}));
        QCOMPARE(rows[2], rows[0]);
        QCOMPARE(rows[3], (QVariantList{"", 0.0, false}));
        // Deleting a row keeps the others in order; new rows go last.
        const auto ids = t.rowIds();
        t.deleteRow(ids[1]);
        t.append({"Cucina", 9.5, false});
        const auto after = t.rows();
        QCOMPARE(after.size(), 4);
        QCOMPARE(after[1][0].toString(), QStringLiteral("Camera"));
        QCOMPARE(after[3][0].toString(), QStringLiteral("Cucina"));
    }

    void fieldsByName()
    {
        const QString p = path("Fields.db");
        Table::create(p, sample());
        Table t = Table::open(p);
        const qint64 id = t.append();
        QCOMPARE(t.text(id, "Descrizione"), QString());
        QCOMPARE(t.real(id, "Mq"), 0.0);
        QCOMPARE(t.logical(id, "Flag"), false);
        t.setText(id, "Descrizione", "Soggiorno con angolo cottura"); // cut to 10
        t.setReal(id, "mq", 85.25);                                 // names match without case
        t.setLogical(id, "Flag", true);
        QCOMPARE(t.text(id, "Descrizione"), QStringLiteral("Soggiorno "));
        QCOMPARE(t.real(id, "Mq"), 85.25);
        QCOMPARE(t.text(id, "Mq"), QStringLiteral("85,25"));
        QVERIFY(t.logical(id, "Flag"));
        t.setText(id, "Mq", "12,5");
        QCOMPARE(t.real(id, "Mq"), 12.5);
        QVERIFY_THROWS_EXCEPTION(ConversionError, t.setText(id, "Mq", "dodici"));
        QCOMPARE(t.real(id, "Mq"), 12.5);
        QVERIFY_THROWS_EXCEPTION(StoreError, t.text(id, "Inesistente"));
    }

    void textCutToSize_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("stored");
        QTest::newRow("short") << "Bagno" << "Bagno";
        QTest::newRow("exact") << "0123456789" << "0123456789";
        QTest::newRow("long") << "0123456789ABC" << "0123456789";
        QTest::newRow("accents count as one") << QString::fromUtf8("àèìòùàèìòùà") << QString::fromUtf8("àèìòùàèìòù");
    }
    void textCutToSize()
    {
        QFETCH(QString, value);
        QFETCH(QString, stored);
        const QString p = path("Cut.db");
        Table::create(p, sample());
        Table t = Table::open(p);
        t.append({value});
        QCOMPARE(t.rows().first().first().toString(), stored);
    }

    void hostileTextStoredUnchanged_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("quotes") << "Aci Sant'Antonio \"x\"";
        QTest::newRow("backslash") << "C:\\Dati\\x";
        QTest::newRow("sql") << "'); DROP TABLE tabella; --";
        QTest::newRow("accents") << QString::fromUtf8("Forlì € °");
    }
    void hostileTextStoredUnchanged()
    {
        QFETCH(QString, value);
        const QString p = path("Hostile.db");
        const Layout l{{"Testo", ColumnType::Text, 100}};
        Table::create(p, l);
        {
            Table t = Table::open(p);
            const qint64 id = t.append({value});
            t.setText(id, "Testo", value);
        }
        Table t = Table::open(p, Trust::Foreign, false);
        QCOMPARE(t.rows().first().first().toString(), value);
    }

    void accentedFileNames()
    {
        const QString p = path(QString::fromUtf8("ZonaUrbanaAci Sant'Antonio95025CT Forlì.db"));
        Table::create(p, sample());
        Table::open(p).append({"x"});
        QCOMPARE(Table::open(p).rowCount(), 1);
        QCOMPARE(Table::list(m_dir.path(), QStringLiteral("ZonaUrbanaAci*.db")).size(), 1);
    }

    void copyReplacesDestination()
    {
        const QString src = path("CopySrc.db");
        const QString dst = path("CopyDst.db");
        Table::create(src, sample());
        {
            Table t = Table::open(src);
            for (int i = 0; i < 36; ++i)
                t.append({QStringLiteral("r%1").arg(i), double(i), i % 2 == 0});
        }
        Table::create(dst, {{"Altro", ColumnType::Text, 5}});
        Table::copy(src, dst, sample());
        Table t = Table::open(dst);
        QCOMPARE(t.layout(), sample());
        QCOMPARE(t.rows(), Table::open(src).rows());
        const QStringList leftovers = QDir(m_dir.path()).entryList({".CopyDst*"}, QDir::Files | QDir::Hidden);
        QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(',')));
    }

    // Every bad source leaves the destination exactly as it was.
    void badSourcesLeaveDestinationUntouched_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("messagePart");
        QTest::newRow("not a table") << "text" << "non è una tabella valida";
        QTest::newRow("empty file") << "empty" << "non è una tabella valida";
        QTest::newRow("damaged") << "damaged" << "danneggiato";
        QTest::newRow("header overwritten") << "header" << "non è una tabella valida";
        QTest::newRow("other layout") << "layout" << "struttura attesa";
        QTest::newRow("foreign database") << "foreign" << "non è una tabella valida";
        QTest::newRow("trigger inside") << "trigger" << "non è una tabella valida";
        QTest::newRow("missing") << "missing" << "non esiste";
        QTest::newRow("schema format SQLite does not know") << "format" << "non è una tabella valida";
    }
    void badSourcesLeaveDestinationUntouched()
    {
        QFETCH(QString, kind);
        QFETCH(QString, messagePart);
        const QString src = path("Bad-" + kind + ".db");
        const QString dst = path("Keep.db");
        Table::create(dst, sample());
        Table::open(dst).append({"keep", 1.0, true});
        const QByteArray before = fixtures::readBytes(dst);

        if (kind == "text") {
            fixtures::writeBytes(src, "Questo non è un database, solo testo.\n");
        } else if (kind == "empty") {
            fixtures::writeBytes(src, "");
        } else if (kind == "damaged" || kind == "header") {
            Table::create(src, sample());
            {
                Table t = Table::open(src);
                t.transaction([&] {
                    for (int i = 0; i < 400; ++i)
                        t.append({QStringLiteral("riga %1").arg(i), double(i), true});
                });
            }
            if (kind == "damaged") {
                fixtures::damage(src);
            } else {
                QByteArray b = fixtures::readBytes(src);
                b.replace(0, 16, QByteArray(16, 'X'));
                fixtures::writeBytes(src, b);
            }
        } else if (kind == "format") {
            Table::create(src, sample());
            QByteArray b = fixtures::readBytes(src);
            b[47] = char(99); // schema format number, 1 to 4
            fixtures::writeBytes(src, b);
        } else if (kind == "layout") {
            Table::create(src, {{"Descrizione", ColumnType::Text, 50}});
        } else if (kind == "foreign") {
            fixtures::foreignDatabase(src, "CREATE TABLE persone(nome TEXT); INSERT INTO persone VALUES('x');");
        } else if (kind == "trigger") {
            fixtures::foreignDatabase(src, "CREATE TABLE tabella(\"Descrizione\" TEXT(10), \"Mq\" REAL, \"Flag\" LOGICAL);"
                                           "CREATE TRIGGER t AFTER INSERT ON tabella BEGIN DELETE FROM tabella; END;");
        }
        try {
            Table::copy(src, dst, sample());
            QFAIL("copy accepted a bad source");
        } catch (const StoreError &e) {
            QVERIFY2(e.message().contains(messagePart), qPrintable(e.message()));
        }
        QCOMPARE(fixtures::readBytes(dst), before);
        if (kind != "layout")
            QVERIFY_THROWS_EXCEPTION(StoreError, Table::open(src, Trust::Foreign, false));
    }

    // Tables written by other programs. Whatever their schema carries beyond
    // columns of our three types (constraints, keys, WITHOUT ROWID, triggers,
    // views, other objects) and whatever value their columns should not hold
    // makes them foreign: they are refused and the destination stays as it
    // was. What is accepted comes out as rows only, in a table of our own
    // making.
    void foreignTables_data()
    {
        QTest::addColumn<QByteArray>("sql");
        QTest::addColumn<QString>("refusal"); // empty: accepted
        const QByteArray own = "CREATE TABLE tabella(\"Descrizione\" TEXT(10), \"Mq\" REAL, \"Flag\" LOGICAL);";
        const QByteArray row = "INSERT INTO tabella VALUES('Camera', 20.5, 1);";
        const QString notOurs = QStringLiteral("non è una tabella valida");
        const QString badValue = QStringLiteral("un valore non ammesso");

        QTest::newRow("ours") << own + row << QString();
        QTest::newRow("bare names, other spacing")
            << QByteArray("create table tabella (Descrizione text(10),Mq  REAL ,\n Flag LOGICAL);") + row << QString();
        QTest::newRow("never-written values") << own + "INSERT INTO tabella DEFAULT VALUES;" << QString();
        QTest::newRow("integer in a real") << own + "INSERT INTO tabella VALUES('Bagno', 6, 0);" << QString();

        QTest::newRow("WITHOUT ROWID")
            << QByteArray("CREATE TABLE tabella(\"Descrizione\" TEXT(10) PRIMARY KEY, \"Mq\" REAL, \"Flag\" LOGICAL) "
                          "WITHOUT ROWID;")
                   + row
            << notOurs;
        QTest::newRow("CHECK on a column")
            << QByteArray("CREATE TABLE tabella(\"Descrizione\" TEXT(10), \"Mq\" REAL CHECK(Mq > 0), \"Flag\" LOGICAL);")
                   + row
            << notOurs;
        QTest::newRow("CHECK on the table")
            << QByteArray("CREATE TABLE tabella(\"Descrizione\" TEXT(10), \"Mq\" REAL, \"Flag\" LOGICAL, "
                          "CHECK(length(Descrizione) > 0));")
                   + row
            << notOurs;
        QTest::newRow("NOT NULL")
            << QByteArray("CREATE TABLE tabella(\"Descrizione\" TEXT(10) NOT NULL, \"Mq\" REAL, \"Flag\" LOGICAL);") + row
            << notOurs;
        QTest::newRow("DEFAULT")
            << QByteArray("CREATE TABLE tabella(\"Descrizione\" TEXT(10), \"Mq\" REAL DEFAULT 1, \"Flag\" LOGICAL);") + row
            << notOurs;
        QTest::newRow("COLLATE")
            << QByteArray("CREATE TABLE tabella(\"Descrizione\" TEXT(10) COLLATE NOCASE, \"Mq\" REAL, \"Flag\" LOGICAL);")
                   + row
            << notOurs;
        QTest::newRow("UNIQUE")
            << QByteArray("CREATE TABLE tabella(\"Descrizione\" TEXT(10) UNIQUE, \"Mq\" REAL, \"Flag\" LOGICAL);") + row
            << notOurs;
        QTest::newRow("generated column")
            << QByteArray("CREATE TABLE tabella(\"Descrizione\" TEXT(10), \"Mq\" REAL AS (2), \"Flag\" LOGICAL);")
                   + "INSERT INTO tabella(Descrizione, Flag) VALUES('Camera', 1);"
            << notOurs;
        QTest::newRow("comment in the schema")
            << QByteArray("CREATE TABLE tabella(\"Descrizione\" TEXT(10), /* x */ \"Mq\" REAL, \"Flag\" LOGICAL);") + row
            << notOurs;
        QTest::newRow("trigger") << own + row + "CREATE TRIGGER t AFTER UPDATE ON tabella BEGIN DELETE FROM tabella; END;"
                                 << notOurs;
        QTest::newRow("view") << own + row + "CREATE VIEW v AS SELECT * FROM tabella;" << notOurs;
        QTest::newRow("index") << own + row + "CREATE INDEX i ON tabella(Mq);" << notOurs;
        QTest::newRow("extra table") << own + row + "CREATE TABLE altro(x);" << notOurs;
        QTest::newRow("column named rowid")
            << QByteArray("CREATE TABLE tabella(\"rowid\" TEXT(10), \"Mq\" REAL, \"Flag\" LOGICAL);") << notOurs;

        QTest::newRow("blob in a text") << own + "INSERT INTO tabella VALUES(x'00ff', 1, 0);" << badValue;
        QTest::newRow("text too long") << own + "INSERT INTO tabella VALUES('Camera matrimoniale', 1, 0);" << badValue;
        QTest::newRow("invalid UTF-8") << own + "INSERT INTO tabella VALUES(CAST(x'c3' AS TEXT), 1, 0);" << badValue;
        QTest::newRow("NUL inside a text") << own + "INSERT INTO tabella VALUES(CAST(x'410042' AS TEXT), 1, 0);"
                                           << badValue;
        QTest::newRow("text in a real") << own + "INSERT INTO tabella VALUES('Bagno', 'dodici', 0);" << badValue;
        QTest::newRow("infinite real") << own + "INSERT INTO tabella VALUES('Bagno', 1e999, 0);" << badValue;
        QTest::newRow("logical 2") << own + "INSERT INTO tabella VALUES('Bagno', 1, 2);" << badValue;
        QTest::newRow("text in a logical") << own + "INSERT INTO tabella VALUES('Bagno', 1, 'sì');" << badValue;
        QTest::newRow("a megabyte of text")
            << own + "INSERT INTO tabella VALUES(CAST(zeroblob(2000000) AS TEXT), 1, 0);"
            << QStringLiteral("valore troppo lungo");
    }
    void foreignTables()
    {
        QFETCH(QByteArray, sql);
        QFETCH(QString, refusal);
        const QString src = path("Estranea.db");
        const QString dst = path("Destinazione.db");
        fixtures::foreignDatabase(src, sql.constData());
        Table::create(dst, sample());
        Table::open(dst).append({"tenuta", 1.0, true});
        const QByteArray before = fixtures::readBytes(dst);
        const QByteArray sourceBefore = fixtures::readBytes(src);

        if (!refusal.isEmpty()) {
            try {
                readTableFile(src);
                QFAIL("a foreign table was read");
            } catch (const StoreError &e) {
                QVERIFY2(e.message().contains(refusal), qPrintable(e.message()));
            }
            QVERIFY_THROWS_EXCEPTION(StoreError, Table::copy(src, dst, sample()));
            QCOMPARE(fixtures::readBytes(dst), before);
        } else {
            const TableData data = readTableFile(src);
            QCOMPARE(data.layout, sample());
            Table::copy(src, dst, sample());
            Table t = Table::open(dst);
            QCOMPARE(t.rows(), data.rows);
            // The copy is a table of our own making: its schema is ours
            // whatever the source's spelling, and it takes every edit.
            sqlite3 *db = nullptr;
            QCOMPARE(sqlite3_open_v2(QFile::encodeName(dst).constData(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
            sqlite3_stmt *st = nullptr;
            sqlite3_prepare_v2(db, "SELECT group_concat(sql, ';') FROM sqlite_schema", -1, &st, nullptr);
            QCOMPARE(sqlite3_step(st), SQLITE_ROW);
            QCOMPARE(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))),
                     QStringLiteral("CREATE TABLE tabella (\"Descrizione\" TEXT(10), \"Mq\" REAL, \"Flag\" LOGICAL)"));
            sqlite3_finalize(st);
            sqlite3_close(db);
            const qint64 id = t.append();
            t.setText(id, "Descrizione", QString());
            QCOMPARE(t.rowCount(), data.rows.size() + 1);
        }
        // The source was only read.
        QCOMPARE(fixtures::readBytes(src), sourceBefore);
    }

    // Beyond the most rows a table may hold, a table is refused as too large
    // (before it is read whole); up to it, it is read.
    void rowLimit_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("at the limit") << kMaxTableRows << true;
        QTest::newRow("one more") << kMaxTableRows + 1 << false;
        QTest::newRow("three hundred thousand") << 300'000 << false;
    }
    void rowLimit()
    {
        QFETCH(int, rows);
        QFETCH(bool, accepted);
        const QString src = path("Grande.db");
        fixtures::foreignDatabase(
            src, QStringLiteral("CREATE TABLE tabella(\"Descrizione\" TEXT(10), \"Mq\" REAL, \"Flag\" LOGICAL);"
                                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                "INSERT INTO tabella SELECT 'Camera', i, 0 FROM n;")
                     .arg(rows)
                     .toUtf8()
                     .constData());
        if (accepted) {
            QCOMPARE(readTableFile(src).rows.size(), rows);
            return;
        }
        try {
            readTableFile(src);
            QFAIL("a table beyond the limit was read");
        } catch (const TableTooLarge &e) {
            QVERIFY2(e.message().contains(QStringLiteral("al massimo 10.000 righe")), qPrintable(e.message()));
        }
    }

    // A file larger than any table of 10,000 rows is refused unopened (here a
    // sparse one: the size alone decides).
    void oversizedFileRefusedUnopened()
    {
        const QString src = path("Enorme.db");
        Table::create(src, sample());
        QFile file(src);
        QVERIFY(file.resize(kMaxTableFileBytes + 1));
        QVERIFY_THROWS_EXCEPTION(TableTooLarge, readTableFile(src));
        // At the limit the size is no reason; SQLite reads the table as its
        // header says and ignores the zeros after it.
        QVERIFY(file.resize(kMaxTableFileBytes));
        QCOMPARE(readTableFile(src).layout, sample());
    }

    // A table's layout is read back from its declared column types; a type
    // that is not one of ours makes the file foreign.
    void declaredTypes_data()
    {
        QTest::addColumn<QString>("declared");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("size");
        QTest::newRow("TEXT(10)") << "TEXT(10)" << true << 10;
        QTest::newRow("lower case") << "text(7)" << true << 7;
        QTest::newRow("four digits") << "TEXT(1000)" << true << 1000;
        QTest::newRow("LOGICAL") << "LOGICAL" << true << 0;
        QTest::newRow("REAL") << "REAL" << true << 0;
        QTest::newRow("five digits") << "TEXT(10000)" << false << 0;
        QTest::newRow("zero size") << "TEXT(0)" << false << 0;
        QTest::newRow("no size") << "TEXT" << false << 0;
        QTest::newRow("empty size") << "TEXT()" << false << 0;
        QTest::newRow("space in size") << "TEXT( 5)" << false << 0;
        QTest::newRow("sign") << "TEXT(+5)" << false << 0;
        QTest::newRow("other type") << "VARCHAR(10)" << false << 0;
        QTest::newRow("no closing") << "TEXT(10" << false << 0;
    }
    void declaredTypes()
    {
        QFETCH(QString, declared);
        QFETCH(bool, accepted);
        QFETCH(int, size);
        const QString src = path("Dichiarata.db");
        QFile::remove(src);
        fixtures::foreignDatabase(src, ("CREATE TABLE tabella(\"Campo\" " + declared + ");").toUtf8().constData());
        if (!accepted) {
            QVERIFY_THROWS_EXCEPTION(StoreError, Table::open(src, Trust::Foreign, false));
            return;
        }
        Table t = Table::open(src, Trust::Foreign, false);
        QCOMPARE(t.layout().size(), 1);
        QCOMPARE(t.layout().first().size, size);
        const ColumnType type = declared.startsWith(QLatin1String("LOGICAL")) ? ColumnType::Logical
                                : declared.startsWith(QLatin1String("REAL"))  ? ColumnType::Real
                                                                              : ColumnType::Text;
        QVERIFY(t.layout().first().type == type);
    }

    void unwritableDestinations_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("missing folder") << "missing/sub";
        QTest::newRow("read-only folder") << "readonly";
    }
    void unwritableDestinations()
    {
        QFETCH(QString, folder);
        const QString dir = folder == "readonly" ? fixtures::readOnlyFolder(m_dir.path()) : path(folder);
        const QString src = path("Good.db");
        Table::create(src, sample());
        QVERIFY_THROWS_EXCEPTION(StoreError, Table::create(dir + "/Nuova.db", sample()));
        QVERIFY_THROWS_EXCEPTION(StoreError, Table::copy(src, dir + "/Nuova.db", sample()));
        QVERIFY(!QFile::exists(dir + "/Nuova.db"));
    }

    void removeMissingIsQuiet()
    {
        Table::remove(path("Nessuna.db"));
        const QString p = path("Gone.db");
        Table::create(p, sample());
        Table::remove(p);
        QVERIFY(!Table::exists(p));
    }

    void listMatchesPattern()
    {
        const QString dir = path("list");
        QDir().mkpath(dir);
        for (const char *n : {"Stima - Roma via Po 1.db", "Stima - Abano.db", "Superfici - Abano.db", "Stima.txt"})
            fixtures::writeBytes(dir + "/" + n, "x");
        QCOMPARE(Table::list(dir, "Stima - *.db"), (QStringList{"Stima - Abano.db", "Stima - Roma via Po 1.db"}));
        QCOMPARE(Table::list(dir, "Superfici*.db"), QStringList{"Superfici - Abano.db"});
        QVERIFY_THROWS_EXCEPTION(StoreError, Table::list(path("absent"), "*.db"));
    }

    void fileNamesStayInTheirFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("plain");
        QTest::newRow("plain") << "Stima - via Roma 12.db" << true;
        QTest::newRow("apostrophe") << "ZonaUrbanaAci Sant'Antonio95025CT.db" << true;
        QTest::newRow("slash") << "Stima - via Roma 12/A.db" << false;
        QTest::newRow("backslash") << "..\\x.db" << false;
        QTest::newRow("parent") << ".." << false;
        QTest::newRow("empty") << "" << false;
    }
    void fileNamesStayInTheirFolder()
    {
        QFETCH(QString, name);
        QFETCH(bool, plain);
        QCOMPARE(isPlainFileName(name), plain);
        if (plain)
            QCOMPARE(pathInFolder(m_dir.path(), name), m_dir.filePath(name));
        else
            QVERIFY_THROWS_EXCEPTION(StoreError, pathInFolder(m_dir.path(), name));
    }

    // A table written onto a disk with no room, or too little: a failure
    // that names the table and says why, and the table that was there whole.
    void tableSaveOnAFullDisk_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("leave"); // bytes left free
        for (const char *how : {"write", "copy"}) {
            QTest::newRow(QByteArray(how).append(", no room at all").constData()) << how << 0;
            QTest::newRow(QByteArray(how).append(", room for part of it").constData()) << how << 8192;
        }
    }
    void tableSaveOnAFullDisk()
    {
        QFETCH(QString, how);
        QFETCH(int, leave);
        fixtures::SmallFileSystem disk(64);
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.why()));
        const Layout layout{{"Descrizione", ColumnType::Text, 200}};
        const QString target = disk.filePath(QStringLiteral("Superfici.db"));
        Table::write(target, layout, {{QStringLiteral("la tabella di prima")}});
        QVector<QVariantList> rows;
        for (int i = 0; i < 1000; ++i)
            rows << QVariantList{QStringLiteral("riga %1 ").arg(i).repeated(20)};
        const QString source = path(QStringLiteral("Grande.db"));
        Table::write(source, layout, rows);
        QVERIFY(disk.fill(leave));

        QString message;
        try {
            if (how == QLatin1String("write"))
                Table::write(target, layout, rows);
            else
                Table::copy(source, target, layout);
        } catch (const StoreError &e) {
            message = e.message();
        }
        QCOMPARE(message, QStringLiteral("Impossibile scrivere la tabella \"%1\":\nSpazio esaurito sul dispositivo")
                              .arg(QDir::toNativeSeparators(target)));
        QCOMPARE(readTableFile(target).rows, (QVector<QVariantList>{{QStringLiteral("la tabella di prima")}}));
        QCOMPARE(QDir(QFileInfo(target).path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{QStringLiteral(".riempimento"), QStringLiteral("Superfici.db")}));
    }

    // A text field's size counts characters: an emoji (two UTF-16 units) is
    // one, whether the table was written here or elsewhere, and a text cut to
    // the size never keeps half of one.
    void sizesCountCharacters_data()
    {
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        const QString a49(49, u'a');
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        QTest::newRow("49 letters and an emoji") << a49 + emoji << a49 + emoji;
        QTest::newRow("an emoji among 49 letters") << QString(20, u'a') + emoji + QString(29, u'a')
                                                   << QString(20, u'a') + emoji + QString(29, u'a');
        QTest::newRow("50 letters and an emoji") << a49 + u'a' + emoji << a49 + u'a';
        QTest::newRow("49 letters and two emoji") << a49 + emoji + emoji << a49 + emoji;
        QTest::newRow("50 emoji") << emoji.repeated(51) << emoji.repeated(50);
    }
    void sizesCountCharacters()
    {
        QFETCH(QString, text);
        QFETCH(QString, stored);
        const Layout layout{{"Nome", ColumnType::Text, 50}};
        // Written by the program: cut to the size on the way in.
        const QString own = path(QStringLiteral("Caratteri.db"));
        Table::write(own, layout, {{text}});
        QCOMPARE(readTableFile(own).rows.value(0).value(0).toString(), stored);
        QCOMPARE(Table::open(own).rows().value(0).value(0).toString(), stored);
        // Written elsewhere with the value as it stands: read back whole when
        // it fits, refused when it does not.
        const QString other = path(QStringLiteral("Altrove.db"));
        Table::create(other, layout);
        {
            sqlite3 *db = nullptr;
            QCOMPARE(sqlite3_open(QFile::encodeName(other).constData(), &db), SQLITE_OK);
            sqlite3_stmt *insert = nullptr;
            sqlite3_prepare_v2(db, "INSERT INTO tabella VALUES (?)", -1, &insert, nullptr);
            const QByteArray utf8 = text.toUtf8();
            sqlite3_bind_text(insert, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            QCOMPARE(sqlite3_step(insert), SQLITE_DONE);
            sqlite3_finalize(insert);
            sqlite3_close(db);
        }
        if (text == stored)
            QCOMPARE(readTableFile(other).rows.value(0).value(0).toString(), text);
        else
            QVERIFY_THROWS_EXCEPTION(StoreError, readTableFile(other));
    }

    // A table from elsewhere in write-ahead-log mode, with or without its
    // log beside it: read with every row, and nothing beside it is made or
    // changed.
    void walTableLeavesItsFolderAlone_data()
    {
        QTest::addColumn<bool>("withLog");
        QTest::newRow("without its log") << false;
        QTest::newRow("with its log") << true;
    }
    void walTableLeavesItsFolderAlone()
    {
        QFETCH(bool, withLog);
        QTemporaryDir made;
        const QString original = made.filePath(QStringLiteral("Superfici.db"));
        Table::write(original, sample(), {{QStringLiteral("Cucina"), 12.5, true}});
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(original).constData(), &db), SQLITE_OK);
        sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;"
                         "INSERT INTO tabella VALUES ('Bagno', 6, 0)", nullptr, nullptr, nullptr);
        QTemporaryDir received;
        const QString file = received.filePath(QStringLiteral("Superfici.db"));
        // Copied while the writer is open: the last row is only in the log.
        if (withLog) {
            QVERIFY(QFile::copy(original, file));
            QVERIFY(QFile::copy(original + QStringLiteral("-wal"), file + QStringLiteral("-wal")));
        }
        sqlite3_close(db);
        if (!withLog)
            QVERIFY(QFile::copy(original, file));
        QCOMPARE(fixtures::readBytes(file).mid(18, 2), QByteArray("\x02\x02", 2));

        const QStringList before = QDir(received.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
        const QByteArray bytes = fixtures::readBytes(file);
        const QVector<QVariantList> expected{{QStringLiteral("Cucina"), 12.5, true}, {QStringLiteral("Bagno"), 6.0, false}};
        QCOMPARE(readTableFile(file).rows, expected);
        QCOMPARE(Table::open(file, Trust::Foreign, false).rows(), expected);
        QCOMPARE(Table::layoutOf(file), sample());
        QCOMPARE(QDir(received.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot), before);
        QCOMPARE(fixtures::readBytes(file), bytes);
    }

    void transactionRollsBack()
    {
        const QString p = path("Tx.db");
        Table::create(p, sample());
        Table t = Table::open(p);
        try {
            t.transaction([&] {
                t.append({"a"});
                throw StoreError("stop");
            });
        } catch (const StoreError &) {
        }
        QCOMPARE(t.rowCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestTableStore)
#include "tst_tablestore.moc"
