// SPDX-License-Identifier: GPL-2.0-or-later
#include "../support/fixtures.h"
#include "files/appraisalfiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace brevan;
using namespace brevan::files;

namespace {

RecordValues address(const QString &street, const QString &number, const QString &town, const QString &code,
                     const QString &floor, const QString &floors, const QString &internal)
{
    return {{QStringLiteral("IndirizzoImmob"), street},   {QStringLiteral("NumCivicoImmob"), number},
            {QStringLiteral("ComuneImmob"), town},        {QStringLiteral("SiglaProvinciaImmob"), code},
            {QStringLiteral("PianoImmob"), floor},        {QStringLiteral("TotPianiImmob"), floors},
            {QStringLiteral("InternoImmob"), internal}};
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

class TestAppraisalFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void appraisalName_data()
    {
        QTest::addColumn<RecordValues>("values");
        QTest::addColumn<QString>("expected");
        QTest::newRow("example") << address("Via Roma", "12", "Milano", "MI", "3", "5", "7")
                                 << QStringLiteral("Via Roma 12, Milano - MI - Piano 3 di 5, Interno 7");
        QTest::newRow("all empty") << RecordValues() << QStringLiteral(" ,  -  - Piano  di , Interno ");
        QTest::newRow("slash kept in the name") << address("Via Po", "12/A", "Forlì", "FO", "1", "2", "")
                                                << QStringLiteral("Via Po 12/A, Forlì - FO - Piano 1 di 2, Interno ");
        QTest::newRow("blanks kept") << address(" ", "", "L'Aquila", "AQ", "", "", " ")
                                     << QStringLiteral("  , L'Aquila - AQ - Piano  di , Interno  ");
    }
    void appraisalName()
    {
        QFETCH(RecordValues, values);
        QFETCH(QString, expected);
        QCOMPARE(files::appraisalName(values), expected);
    }

    void fileNameSafe_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("house number with slash") << "Via Roma 12/A" << "Via Roma 12_A";
        QTest::newRow("backslash") << "12\\A" << "12_A";
        QTest::newRow("windows reserved") << "a:b*c?d\"e<f>g|h" << "a_b_c_d_e_f_g_h";
        QTest::newRow("control characters") << QStringLiteral("a\tb\nc") << "a_b_c";
        QTest::newRow("dots and parent") << "../x" << ".._x";
        QTest::newRow("accents and apostrophes kept") << "Forlì, L'Aquila - Piano 3" << "Forlì, L'Aquila - Piano 3";
    }
    void fileNameSafe()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(files::fileNameSafe(text), expected);
        QVERIFY(isPlainFileName(companionName(Companion::Photo, files::fileNameSafe(text))));
    }

    void stemLength_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expectedLength");
        QTest::newRow("short name kept") << QString(120, QLatin1Char('a')) << 120;
        QTest::newRow("cut to fit 150 characters") << QString(200, QLatin1Char('a')) << 133;
        QTest::newRow("accented letters cut to fit 255 bytes") << QString(200, QChar(0x00E8)) << 111;
        QTest::newRow("pairs never split") << QString::fromUtf8("😀").repeated(100) << 110;
    }
    void stemLength()
    {
        QFETCH(QString, text);
        QFETCH(int, expectedLength);
        const QString stem = companionStem(text);
        QCOMPARE(stem.size(), expectedLength);
        QVERIFY(text.startsWith(stem));
        QVERIFY(!stem.isEmpty() && !stem.back().isHighSurrogate());
        for (Companion c : kCompanions) {
            const QString name = companionName(c, stem);
            QVERIFY2(name.size() <= 150, qPrintable(name));
            // Written first as "." + name + ".XXXXXX", with its "-journal".
            QVERIFY(name.toUtf8().size() + 16 <= 255);
        }
    }

    void stemForTable_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("stem");
        QTest::newRow("suggested name") << "/x/Stima - Via Roma 12, Milano - MI - Piano 3 di 5, Interno 7.db"
                                        << "Via Roma 12, Milano - MI - Piano 3 di 5, Interno 7";
        QTest::newRow("renamed under the prefix") << "/x/Stima - Rossi seconda.db" << "Rossi seconda";
        QTest::newRow("renamed without the prefix") << "/x/Perizia.db" << "Perizia";
        QTest::newRow("bare Stima") << "Stima.db" << "Stima";
        QTest::newRow("other case") << "STIMA - a.DB" << "a";
        QTest::newRow("empty address") << "Stima -  ,  -  - Piano  di , Interno .db" << " ,  -  - Piano  di , Interno ";
    }
    void stemForTable()
    {
        QFETCH(QString, table);
        QFETCH(QString, stem);
        QCOMPARE(files::stemForTable(table), stem);
    }

    // Keeping the suggested name gives the companions the appraisal name,
    // whatever the name holds.
    void suggestedNameGivesTheAppraisalStem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "Via Roma 12, Milano - MI - Piano 3 di 5, Interno 7";
        QTest::newRow("slash") << "Via Po 12/A, Torino - TO - Piano 1 di 2, Interno 3/B";
        QTest::newRow("long") << QString(300, QLatin1Char('z'));
    }
    void suggestedNameGivesTheAppraisalStem()
    {
        QFETCH(QString, name);
        const QString suggested = suggestedTableName(name);
        QVERIFY(suggested.startsWith(QLatin1String("Stima - ")));
        QVERIFY(suggested.endsWith(QLatin1String(".db")));
        QVERIFY(isPlainFileName(suggested));
        QCOMPARE(files::stemForTable(suggested), companionStem(name));
    }

    void withDbExtension_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("expected");
        QTest::newRow("typed without extension") << "/x/Stima - a" << "/x/Stima - a.db";
        QTest::newRow("with extension") << "/x/Stima - a.db" << "/x/Stima - a.db";
        QTest::newRow("upper case extension") << "/x/a.DB" << "/x/a.DB";
        QTest::newRow("dot inside the name") << "/x/Stima - Via S. Maria" << "/x/Stima - Via S. Maria.db";
        QTest::newRow("cancelled") << "" << "";
    }
    void withDbExtension()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, expected);
        QCOMPARE(files::withDbExtension(chosen), expected);
    }

    void companions_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("field");
        QTest::newRow("photo") << int(Companion::Photo) << "Foto - S.bmp" << "FotoImmob";
        QTest::newRow("area plan") << int(Companion::AreaPlan) << "PlanimZona - S.bmp" << "PlanimZonaImmob";
        QTest::newRow("unit plan") << int(Companion::UnitPlan) << "Planim - S.bmp" << "PlanimImmob";
        QTest::newRow("surfaces") << int(Companion::Surfaces) << "Superfici - S.db" << "SuperficiImmob";
        QTest::newRow("comparables") << int(Companion::Comparables) << "ImmobConfr - S.db" << "TableNameImmobConfr";
    }
    void companions()
    {
        QFETCH(int, kind);
        QFETCH(QString, name);
        QFETCH(QString, field);
        QCOMPARE(companionName(Companion(kind), QStringLiteral("S")), name);
        QCOMPARE(companionField(Companion(kind)), field);
        const FieldDef *def = recordField(field);
        QVERIFY(def);
        QCOMPARE(def->open, OpenRole::Companion);
    }

    void layouts()
    {
        // The 149 fields of the record, then the currency of its amounts.
        const Layout record = recordLayout();
        QCOMPARE(record.size(), 150);
        QCOMPARE(record.last(), (Column{QStringLiteral("Valuta"), ColumnType::Text, 4}));
        int text = 0, logical = 0, real = 0;
        for (const Column &c : record.first(149))
            (c.type == ColumnType::Text ? text : c.type == ColumnType::Logical ? logical : real)++;
        QCOMPARE(text, 84);
        QCOMPARE(logical, 28);
        QCOMPARE(real, 37);
        QCOMPARE(record.at(27), (Column{QStringLiteral("DataStimaImmob"), ColumnType::Text, 10}));
        QCOMPARE(record.at(144), (Column{QStringLiteral("TableNameImmobConfr"), ColumnType::Text, 150}));

        const Layout appraiser = appraiserLayout();
        const QList<QPair<QString, int>> expected{
            {"CognomeProfess", 30},      {"NomeProfess", 30},      {"CodiceFiscaleProfess", 16},
            {"ProfessioneProfess", 30},  {"NumIscrizAlboProfess", 20}, {"SocietaProfess", 50},
            {"PartitaIvaProfess", 11},   {"ComuneProfess", 50},    {"CAPProfess", 5},
            {"ProvinciaProfess", 20},    {"SiglaProvinciaProfess", 2}, {"IndirizzoProfess", 50},
            {"NumCivicoProfess", 10},    {"TelefonoProfess", 20},  {"FaxProfess", 20},
            {"CellulareProfess", 20},    {"EMailProfess", 100}};
        QCOMPARE(appraiser.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(appraiser.at(i), (Column{expected[i].first, ColumnType::Text, expected[i].second}));
    }

    void rowForFillsGapsByType()
    {
        const Layout layout{{QStringLiteral("T"), ColumnType::Text, 4},
                            {QStringLiteral("L"), ColumnType::Logical, 0},
                            {QStringLiteral("R"), ColumnType::Real, 0},
                            {QStringLiteral("Missing"), ColumnType::Text, 5},
                            {QStringLiteral("MissingL"), ColumnType::Logical, 0},
                            {QStringLiteral("MissingR"), ColumnType::Real, 0}};
        const RecordValues values{{QStringLiteral("T"), QStringLiteral("abc")},
                                  {QStringLiteral("L"), true},
                                  {QStringLiteral("R"), 1.25}};
        const QVariantList row = rowFor(layout, values);
        QCOMPARE(row, (QVariantList{QStringLiteral("abc"), true, 1.25, QString(), false, 0.0}));
    }

    // The record written and read back through the store: texts cut to their
    // sizes, ticks and reals as given.
    void oneRowTableRoundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Stima - a.db"));
        RecordValues values;
        values.insert(QStringLiteral("CognomeProfess"), QStringLiteral("Rossi"));
        values.insert(QStringLiteral("ConsistCatastImmob"), QStringLiteral("5,5 vani"));
        values.insert(QStringLiteral("CostoComplessivo"), QStringLiteral("1.234.567.890,00"));
        values.insert(QStringLiteral("Ascensore"), true);
        values.insert(QStringLiteral("SaggioCapitalizzaz"), 2.75);
        values.insert(QStringLiteral("DataStimaImmob"), QStringLiteral("05/03/2024"));
        const Layout layout = recordLayout();
        writeOneRowTable(path, layout, rowFor(layout, values));

        StoredRecord record(path);
        QCOMPARE(record.text(QStringLiteral("CognomeProfess")), QStringLiteral("Rossi"));
        QCOMPARE(record.text(QStringLiteral("ConsistCatastImmob")), QStringLiteral("5,5 "));
        QCOMPARE(record.text(QStringLiteral("CostoComplessivo")), QStringLiteral("1.234.567.890,0"));
        QCOMPARE(record.text(QStringLiteral("NomeProfess")), QString());
        QVERIFY(record.logical(QStringLiteral("Ascensore")));
        QVERIFY(!record.logical(QStringLiteral("Riscaldamento")));
        QCOMPARE(record.text(QStringLiteral("DataStimaImmob")), QStringLiteral("05/03/2024"));
        record.close();
        QCOMPARE(Table::open(path).rowCount(), 1);
        QCOMPARE(Table::open(path).row(Table::open(path).rowIds().first()).at(128).toDouble(), 2.75);
        // Nothing but the table is left in the folder.
        QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("Stima - a.db")});
    }

    // The temporary file stays short whatever the chosen name's length.
    void oneRowTableUnderTheLongestName()
    {
        QTemporaryDir dir;
        const QString name = QStringLiteral("Stima - ") + QString(244, QLatin1Char('a')) + QStringLiteral(".db");
        QCOMPARE(name.toUtf8().size(), 255);
        const Layout layout = appraiserLayout();
        writeOneRowTable(dir.filePath(name), layout, rowFor(layout, {{QStringLiteral("NomeProfess"), QStringLiteral("Anna")}}));
        QCOMPARE(StoredRecord(dir.filePath(name)).text(QStringLiteral("NomeProfess")), QStringLiteral("Anna"));
    }

    // A failing write leaves the earlier file as it was and no temporary file.
    void oneRowTableFailureKeepsEarlierFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Professionista 01.db"));
        const Layout layout = appraiserLayout();
        writeOneRowTable(path, layout, rowFor(layout, {{QStringLiteral("CognomeProfess"), QStringLiteral("Primo")}}));
        const QByteArray before = fixtures::readBytes(path);
        QVERIFY_THROWS_EXCEPTION(StoreError, writeOneRowTable(path, Layout(), {}));
        QCOMPARE(fixtures::readBytes(path), before);
        QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("Professionista 01.db")});
        QVERIFY_THROWS_EXCEPTION(StoreError, writeOneRowTable(dir.filePath(QStringLiteral("none/x.db")), layout, {}));
        QVERIFY_THROWS_EXCEPTION(StoreError, writeOneRowTable(fixtures::readOnlyFolder(dir.path()) + "/x.db", layout, {}));
        QCOMPARE(StoredRecord(path).text(QStringLiteral("CognomeProfess")), QStringLiteral("Primo"));
    }

    void bitmapRoundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Foto - a.bmp"));
        QImage picture(3, 2, QImage::Format_ARGB32);
        picture.fill(Qt::transparent);
        picture.setPixel(0, 0, qRgb(200, 10, 20));
        picture.setPixel(2, 1, qRgb(0, 0, 255));
        writeBitmap(path, picture);
        QVERIFY(fixtures::readBytes(path).startsWith("BM"));
        const QImage back = readPicture(path);
        QCOMPARE(back.size(), QSize(3, 2));
        QCOMPARE(QColor(back.pixel(0, 0)), QColor(200, 10, 20));
        QCOMPARE(QColor(back.pixel(2, 1)), QColor(0, 0, 255));
        QCOMPARE(QColor(back.pixel(1, 0)), QColor(Qt::white)); // transparent drawn on white

        // A JPEG-like opaque picture is written as it is.
        QImage opaque(4, 4, QImage::Format_RGB32);
        opaque.fill(qRgb(10, 120, 30));
        writeBitmap(path, opaque);
        QCOMPARE(QColor(readPicture(path).pixel(3, 3)), QColor(10, 120, 30));
    }

    void bitmapFailureKeepsEarlierFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Planim - a.bmp"));
        QImage picture(2, 2, QImage::Format_RGB32);
        picture.fill(Qt::red);
        writeBitmap(path, picture);
        const QByteArray before = fixtures::readBytes(path);
        QVERIFY_THROWS_EXCEPTION(StoreError, writeBitmap(path, QImage()));
        QCOMPARE(fixtures::readBytes(path), before);
        QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("Planim - a.bmp")});
        QVERIFY_THROWS_EXCEPTION(StoreError, writeBitmap(dir.filePath(QStringLiteral("none/a.bmp")), picture));
    }

    void unreadablePictures_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("text") << QByteArray("not a picture at all");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("bitmap header only") << QByteArray("BM\x36\0\0\0\0\0\0\0\x36\0\0\0", 14);
    }
    void unreadablePictures()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Foto - a.bmp"));
        fixtures::writeBytes(path, bytes);
        QVERIFY_THROWS_EXCEPTION(StoreError, readPicture(path));
        QVERIFY_THROWS_EXCEPTION(StoreError, readPicture(dir.filePath(QStringLiteral("missing.bmp"))));
    }

    void appraisalDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("ordinary") << "25/12/2023" << QDate(2023, 12, 25);
        QTest::newRow("first day") << "01/01/1800" << QDate(1800, 1, 1);
        QTest::newRow("last day") << "31/12/2100" << QDate(2100, 12, 31);
        QTest::newRow("before the range") << "31/12/1799" << QDate();
        QTest::newRow("after the range") << "01/01/2101" << QDate();
        QTest::newRow("no such day") << "31/02/2020" << QDate();
        QTest::newRow("other short format") << "2020-01-31" << QDate();
        QTest::newRow("month first") << "12/25/2023" << QDate();
        QTest::newRow("no leading zeros") << "1/2/2020" << QDate();
        QTest::newRow("two-digit year") << "01/02/20" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    void appraisalDate()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(appraisalDateFrom(text), date);
        if (date.isValid())
            QCOMPARE(appraisalDateText(date), text);
    }

    void storedRecordRefusesBadFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not a table") << "text";
        QTest::newRow("foreign database") << "foreign";
        QTest::newRow("damaged") << "damaged";
        QTest::newRow("no record") << "empty";
        QTest::newRow("missing file") << "missing";
    }
    void storedRecordRefusesBadFiles()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Stima - x.db"));
        const Layout layout = recordLayout();
        if (kind == QLatin1String("text")) {
            fixtures::writeBytes(path, "Questa non è una tabella.");
        } else if (kind == QLatin1String("foreign")) {
            fixtures::foreignDatabase(path, "CREATE TABLE other(a TEXT); INSERT INTO other VALUES('x');");
        } else if (kind == QLatin1String("damaged")) {
            RecordValues big;
            for (const Column &c : layout) {
                if (c.type == ColumnType::Text)
                    big.insert(c.name, QString(c.size, QLatin1Char('x')));
            }
            writeOneRowTable(path, layout, rowFor(layout, big));
            fixtures::damage(path);
        } else if (kind == QLatin1String("empty")) {
            Table::create(path, layout);
        }
        QVERIFY_THROWS_EXCEPTION(StoreError, StoredRecord{path});
    }

    // The currency of the stored amounts; a table written before the column
    // existed holds Lire.
    void storedCurrency_data()
    {
        QTest::addColumn<bool>("column");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("expected"); // 0 Lire, 1 Euro, -1 refused
        QTest::newRow("no column") << false << "" << 0;
        QTest::newRow("Lire") << true << "Lire" << 0;
        QTest::newRow("Euro") << true << "Euro" << 1;
        QTest::newRow("never written") << true << "" << 0;
        QTest::newRow("written by hand") << true << "EURO" << 1;
        QTest::newRow("another currency") << true << "USD" << -1;
    }
    void storedCurrency()
    {
        QFETCH(bool, column);
        QFETCH(QString, stored);
        QFETCH(int, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Stima - x.db"));
        Layout layout = recordLayout();
        if (!column)
            layout.removeLast();
        writeOneRowTable(path, layout, rowFor(layout, {{kCurrencyColumn, stored}}));
        StoredRecord record(path);
        if (expected < 0)
            QVERIFY_THROWS_EXCEPTION(StoreError, record.inEuro());
        else
            QCOMPARE(record.inEuro(), expected == 1);
    }

    void storedRecordMissingField()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Stima - x.db"));
        Layout layout = recordLayout();
        layout.removeAt(27); // DataStimaImmob
        writeOneRowTable(path, layout, rowFor(layout, {{QStringLiteral("InternoImmob"), QStringLiteral("7")}}));
        StoredRecord record(path);
        QCOMPARE(record.text(QStringLiteral("InternoImmob")), QStringLiteral("7"));
        QVERIFY(!record.has(QStringLiteral("DataStimaImmob")));
        QVERIFY_THROWS_EXCEPTION(StoreError, record.text(QStringLiteral("DataStimaImmob")));
    }

    void companionPathStaysInTheFolder_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("found");
        QTest::newRow("present") << "Foto - a.bmp" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("missing") << "Foto - b.bmp" << false;
        QTest::newRow("parent folder") << "../outside.bmp" << false;
        QTest::newRow("sub folder") << "sub/Foto - a.bmp" << false;
        QTest::newRow("absolute") << "/etc/passwd" << false;
        QTest::newRow("a folder") << "sub" << false;
    }
    void companionPathStaysInTheFolder()
    {
        QFETCH(QString, stored);
        QFETCH(bool, found);
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("folder/sub"));
        const QString folder = dir.filePath(QStringLiteral("folder"));
        fixtures::writeBytes(folder + QStringLiteral("/Foto - a.bmp"), "x");
        fixtures::writeBytes(folder + QStringLiteral("/sub/Foto - a.bmp"), "x");
        fixtures::writeBytes(dir.filePath(QStringLiteral("outside.bmp")), "x");
        const QString path = companionPath(folder, stored);
        QCOMPARE(!path.isEmpty(), found);
        if (found)
            QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(folder).absoluteFilePath());
    }
};

QTEST_MAIN(TestAppraisalFiles)
#include "tst_appraisalfiles.moc"
