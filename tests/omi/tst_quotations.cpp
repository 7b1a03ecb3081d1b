// SPDX-License-Identifier: GPL-2.0-or-later
// Reading OMI quotation files: numbers, encodings, the caption and the file
// name, columns found by name, and every kind of damage.
#include "../support/omifixtures.h"
#include "omi/quotations.h"

#include <QTemporaryDir>
#include <QTest>

using namespace brevan::omi;
using namespace omifixtures;

class TestQuotations : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decimals_data();
    void decimals();
    void badDecimals_data();
    void badDecimals();
    void lire_data();
    void lire();

    void encodings_data();
    void encodings();
    void semester_data();
    void semester();
    void companion_data();
    void companion();

    void valuesRead();
    void zonesRead();
    void zoneDescriptionQuotes_data();
    void zoneDescriptionQuotes();
    void columnsFoundByName();
    void notOmiData_data();
    void notOmiData();
    void damagedRows_data();
    void damagedRows();
    void truncatedFile();
    void readFromDisk();
};

void TestQuotations::decimals_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("given");
    QTest::addColumn<QString>("plain");
    QTest::newRow("integer") << "12" << true << "12";
    QTest::newRow("decimal comma") << "4,5" << true << "4,5";
    QTest::newRow("no leading digit") << ",5" << true << "0,5";
    QTest::newRow("thousands dot") << "1.150" << true << "1150";
    QTest::newRow("thousands and decimals") << "12.345,60" << true << "12345,6";
    QTest::newRow("two thousands dots") << "1.234.567" << true << "1234567";
    QTest::newRow("zero") << "0" << true << "0";
    QTest::newRow("zero with decimals") << "0,00" << true << "0";
    QTest::newRow("blanks around") << " 6,2 " << true << "6,2";
    QTest::newRow("empty") << "" << false << "0";
    QTest::newRow("blank") << "  " << false << "0";
}

void TestQuotations::decimals()
{
    QFETCH(QString, text);
    QFETCH(bool, given);
    QFETCH(QString, plain);
    Decimal d;
    QVERIFY(parseDecimal(text, &d));
    QCOMPARE(d.given, given);
    QCOMPARE(d.text(), plain);
}

void TestQuotations::badDecimals_data()
{
    QTest::addColumn<QString>("text");
    // A dot that is not a thousands separator would read ten or a hundred
    // times too high: refused.
    QTest::newRow("dot as decimal") << "4.5";
    QTest::newRow("short thousands group") << "1.15";
    QTest::newRow("long thousands group") << "1.1500";
    QTest::newRow("dot first") << ".500";
    QTest::newRow("dot after comma") << "1,500.5";
    QTest::newRow("two commas") << "1,2,3";
    QTest::newRow("comma alone") << ",";
    QTest::newRow("trailing comma") << "5,";
    QTest::newRow("letters") << "n.d.";
    QTest::newRow("minus") << "-3";
    QTest::newRow("plus") << "+3";
    QTest::newRow("exponent") << "1E3";
    QTest::newRow("thirteen digits") << "1234567890123";
}

void TestQuotations::badDecimals()
{
    QFETCH(QString, text);
    Decimal d;
    QVERIFY(!parseDecimal(text, &d));
}

void TestQuotations::lire_data()
{
    QTest::addColumn<QString>("euro");
    QTest::addColumn<QString>("lire");
    QTest::newRow("one") << "1" << "1936,27";
    QTest::newRow("four and a half") << "4,5" << "8713,215";
    QTest::newRow("half") << ",5" << "968,135";
    QTest::newRow("ten") << "10" << "19362,7";
    QTest::newRow("two decimals") << "12,35" << "23912,9345";
    QTest::newRow("hundred") << "100" << "193627";
    QTest::newRow("zero") << "0" << "0";
}

void TestQuotations::lire()
{
    QFETCH(QString, euro);
    QFETCH(QString, lire);
    Decimal d;
    QVERIFY(parseDecimal(euro, &d));
    QCOMPARE(d.toLire().text(), lire);
}

void TestQuotations::encodings_data()
{
    QTest::addColumn<int>("encoding");
    QTest::newRow("UTF-8") << int(Encoding::Utf8);
    QTest::newRow("UTF-8 with byte order mark") << int(Encoding::Utf8Bom);
    QTest::newRow("Windows-1252") << int(Encoding::Windows1252);
}

void TestQuotations::encodings()
{
    QFETCH(int, encoding);
    // Accented capitals and the typographic apostrophe of Windows-1252 (0x92).
    const QString description = QStringLiteral("PIAZZA DELL\u2019UNITÀ, VIA CAVOUR E FORLÌ");
    const QString text = zonesFile(QStringLiteral("2025/1"),
                                   {zoneRow("D704", "FC", QStringLiteral("FORLÌ"), "B", "B1", description)});
    const QuotationFile f = parseQuotations(encode(text, Encoding(encoding)), QStringLiteral("zone.csv"));
    QCOMPARE(f.zones.size(), 1);
    QCOMPARE(f.zones.at(0).description, description);
    QCOMPARE(f.zones.at(0).municipality, QStringLiteral("FORLÌ"));

    // ISO-8859-1 and ASCII are read alike.
    QCOMPARE(decodeText(QByteArray("CITT\xC0", 5)), QStringLiteral("CITTÀ"));
    QCOMPARE(decodeText(QByteArray("RONCO ALL`ADIGE")), QStringLiteral("RONCO ALL`ADIGE"));
    QCOMPARE(decodeText(QByteArray("\x80", 1)), QStringLiteral("€"));
}

void TestQuotations::semester_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("semester");
    QTest::newRow("caption") << valuesCaption("2024/2") << "valori.csv" << "2024/2";
    QTest::newRow("zones caption") << zonesCaption("2025/1") << "zone.csv" << "2025/1";
    QTest::newRow("caption over name") << valuesCaption("2024/2") << "QI_1_1_20231_VALORI.csv" << "2024/2";
    QTest::newRow("name without caption") << "" << "QI_118633_1_20241_VALORI.csv" << "2024/1";
    QTest::newRow("name in lower case") << "" << "/tmp/qi_7_1_20232_zone.csv" << "2023/2";
    QTest::newRow("neither") << "" << "quotazioni.csv" << "";
    QTest::newRow("third semester is none") << "" << "QI_1_1_20243_VALORI.csv" << "";
}

void TestQuotations::semester()
{
    QFETCH(QString, caption);
    QFETCH(QString, fileName);
    QFETCH(QString, semester);
    QStringList l;
    if (!caption.isEmpty())
        l << caption;
    l << kValuesHeader << valueRow({"A001", "PD", "ABANO TERME", "B", "B1", "20", "NORMALE", "P", "6,5", "8,2"});
    const QuotationFile f = parseQuotations(lines(l).toUtf8(), fileName);
    QCOMPARE(f.semester.text(), semester);
    QCOMPARE(f.values.size(), 1);
}

void TestQuotations::companion_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("companion");
    QTest::newRow("values") << "/d/QI_1_1_20242_VALORI.csv" << "/d/QI_1_1_20242_ZONE.csv";
    QTest::newRow("zones") << "/d/QI_1_1_20242_ZONE.csv" << "/d/QI_1_1_20242_VALORI.csv";
    QTest::newRow("lower case") << "/d/qi_1_1_20242_zone.csv" << "/d/qi_1_1_20242_valori.csv";
    QTest::newRow("bare name") << "QI_1_1_20242_VALORI.csv" << "QI_1_1_20242_ZONE.csv";
    QTest::newRow("other name") << "/d/quotazioni.csv" << "";
}

void TestQuotations::companion()
{
    QFETCH(QString, path);
    QFETCH(QString, companion);
    QCOMPARE(companionFileName(path), companion);
}

void TestQuotations::valuesRead()
{
    const QuotationFile f = parseQuotations(valuesFile("2024/2", abanoValues()).toUtf8(), "QI_1_1_20242_VALORI.csv");
    QCOMPARE(f.kind, FileKind::Values);
    QCOMPARE(f.semester.text(), QStringLiteral("2024/2"));
    QCOMPARE(f.dataRows, abanoValues().size());
    QCOMPARE(f.values.size(), abanoValues().size());
    QVERIFY(f.problems.isEmpty());
    const ValueRow &first = f.values.first();
    QCOMPARE(first.code, QStringLiteral("A001"));
    QCOMPARE(first.province, QStringLiteral("PD"));
    QCOMPARE(first.municipality, QStringLiteral("ABANO TERME"));
    QCOMPARE(first.band, QChar(u'B'));
    QCOMPARE(first.zone, QStringLiteral("B1"));
    QCOMPARE(first.type, 20);
    QCOMPARE(first.typeName, QStringLiteral("Abitazioni civili"));
    QCOMPARE(first.state, QStringLiteral("NORMALE"));
    QVERIFY(first.prevalent);
    QCOMPARE(first.rentMin.text(), QStringLiteral("6,5"));
    QCOMPARE(first.rentMax.text(), QStringLiteral("8,2"));
    QVERIFY(!f.values.at(1).prevalent);
    QCOMPARE(f.values.at(5).rentMin.text(), QStringLiteral("0,5"));
    QVERIFY(!f.values.at(7).rentMax.given);
    QCOMPARE(f.values.at(7).line, 10); // caption, header, then the eighth row
}

void TestQuotations::zonesRead()
{
    const QuotationFile f = parseQuotations(encode(zonesFile("2025/1", abanoZones()), Encoding::Windows1252),
                                            "QI_1_1_20251_ZONE.csv");
    QCOMPARE(f.kind, FileKind::Zones);
    QCOMPARE(f.semester.text(), QStringLiteral("2025/1"));
    QCOMPARE(f.zones.size(), 6);
    QCOMPARE(f.zones.at(0).zone, QStringLiteral("B1"));
    QCOMPARE(f.zones.at(0).description, QStringLiteral("CENTRO URBANO"));
    QCOMPARE(f.zones.at(5).band, QChar(u'R'));
}

void TestQuotations::zoneDescriptionQuotes_data()
{
    QTest::addColumn<QString>("field"); // Zona_Descr as the file has it
    QTest::addColumn<QString>("description");
    QTest::newRow("single quotes") << "'CENTRO URBANO'" << "CENTRO URBANO";
    QTest::newRow("single inside double quotes") << "\"'CENTRO URBANO'\"" << "CENTRO URBANO";
    QTest::newRow("no quotes") << "CENTRO URBANO" << "CENTRO URBANO";
    QTest::newRow("single quote left open") << "'CENTRO URBANO" << "CENTRO URBANO";
    QTest::newRow("double quote left open") << "\"CENTRO URBANO" << "CENTRO URBANO";
    QTest::newRow("double quote not opened") << "CENTRO URBANO\"" << "CENTRO URBANO";
    QTest::newRow("open quote inside double quotes") << "\"'CENTRO URBANO\"" << "CENTRO URBANO";
    // An apostrophe inside or at the end is part of the text.
    QTest::newRow("apostrophe inside") << "'VIA DELL'ORTO'" << "VIA DELL'ORTO";
    QTest::newRow("accent as apostrophe, quoted") << "'CENTRO CITTA''" << "CENTRO CITTA'";
    QTest::newRow("accent as apostrophe, unquoted") << "CENTRO CITTA'" << "CENTRO CITTA'";
}

void TestQuotations::zoneDescriptionQuotes()
{
    QFETCH(QString, field);
    QFETCH(QString, description);
    QString row = zoneRow("A001", "PD", "ABANO TERME", "B", "B1", QStringLiteral("@"));
    row.replace(QStringLiteral("'@'"), field);
    const QuotationFile f = parseQuotations(zonesFile("2025/1", {row}).toUtf8(), "QI_1_1_20251_ZONE.csv");
    QVERIFY(f.problems.isEmpty());
    QCOMPARE(f.zones.size(), 1);
    QCOMPARE(f.zones.at(0).description, description);
}

// Columns are found by their header name: a later year's order reads the same.
void TestQuotations::columnsFoundByName()
{
    const QString header = QStringLiteral("Loc_max;Loc_min;Zona;Fascia;Comune_descrizione;Comune_amm;Prov;Stato_prev;"
                                          "Stato;Descr_Tipologia;Cod_Tip;Compr_max;Compr_min;");
    const QString row = QStringLiteral("8,2;6,5;B1;B;ABANO TERME;A001;PD;P;NORMALE;Abitazioni civili;20;1.650;1.150;");
    const QuotationFile f = parseQuotations(lines({valuesCaption("2024/2"), header, row}).toUtf8(), "v.csv");
    QCOMPARE(f.values.size(), 1);
    QCOMPARE(f.values.at(0).code, QStringLiteral("A001"));
    QCOMPARE(f.values.at(0).rentMin.text(), QStringLiteral("6,5"));
    QCOMPARE(f.values.at(0).rentMax.text(), QStringLiteral("8,2"));
    QCOMPARE(f.values.at(0).type, 20);
}

void TestQuotations::notOmiData_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QString row = valueRow({"A001", "PD", "ABANO TERME", "B", "B1", "20", "NORMALE", "P", "6,5", "8,2"});
    QTest::newRow("empty") << QByteArray() << "il file è vuoto";
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "non è un file di testo";
    QTest::newRow("caption only") << valuesCaption("2024/2").toUtf8()
                                  << "manca l'intestazione delle colonne (riga 2)";
    QString commas = kValuesHeader;
    commas.replace(u';', u',');
    QTest::newRow("comma separated") << lines({valuesCaption("2024/2"), commas}).toUtf8()
                                     << "intestazione non riconosciuta alla riga 2 (colonne separate da \";\" attese)";
    QTest::newRow("comma separated, no caption")
        << lines({commas}).toUtf8() << "intestazione non riconosciuta alla riga 1 (colonne separate da \";\" attese)";
    QTest::newRow("plain text") << QByteArray("Caro amico,\nti scrivo.\n")
                                << "intestazione non riconosciuta alla riga 2 (colonne separate da \";\" attese)";
    QString noRent = kValuesHeader;
    noRent.replace(QStringLiteral("Loc_max;"), QString());
    QTest::newRow("column missing") << lines({valuesCaption("2024/2"), noRent, row}).toUtf8()
                                    << "manca la colonna \"Loc_max\" nell'intestazione (riga 2)";
    QTest::newRow("another table") << lines({"Comune_amm;Nome;Abitanti;", "A001;ABANO;19000;"}).toUtf8()
                                   << "l'intestazione alla riga 1 non è né dei valori né delle zone";
}

void TestQuotations::notOmiData()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    try {
        parseQuotations(bytes, QStringLiteral("/dati/QI_1_1_20242_VALORI.csv"));
        QFAIL("no error");
    } catch (const FileError &e) {
        QCOMPARE(e.message(), QStringLiteral("Il file \"/dati/QI_1_1_20242_VALORI.csv\" non contiene quotazioni OMI: ")
                                  + message + u'.');
    }
}

void TestQuotations::damagedRows_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("damaged"); // municipalities held out
    Value v{"B418", "AT", "CALLIANO", "B", "B1", "20", "NORMALE", "P", "4,5", "6"};
    const auto with = [&v](auto change) {
        Value w = v;
        change(w);
        return valueRow(w);
    };
    // The header names 21 columns and ends with ";", as every row does: the
    // messages count the named columns, not the empty field after the ";".
    QString unended = valueRow(v);
    unended.chop(1); // the ";" that ends every row
    QTest::newRow("final semicolon missing") << unended << "riga incompleta, manca il \";\" dopo l'ultima colonna"
                                             << QStringList{"B418"};
    QString fewer = valueRow(v);
    fewer.chop(2); // the last column, "L", and its ";"
    QTest::newRow("fewer columns") << fewer << "riga incompleta, 20 colonne invece di 21" << QStringList{"B418"};
    QTest::newRow("fewer columns, final semicolon missing")
        << fewer.chopped(1) << "riga incompleta, 20 colonne invece di 21" << QStringList{"B418"};
    QTest::newRow("more columns") << valueRow(v) + QStringLiteral("X;") << "riga con più colonne dell'intestazione (22 invece di 21)"
                                  << QStringList{"B418"};
    QTest::newRow("more columns, the last one empty")
        << valueRow(v) + QStringLiteral("X;;") << "riga con più colonne dell'intestazione (22 invece di 21)"
        << QStringList{"B418"};
    QTest::newRow("rent not a number") << with([](Value &w) { w.locMax = "sei"; })
                                       << "valore \"sei\" non numerico nella colonna Loc_max" << QStringList{"B418"};
    QTest::newRow("rent with a decimal dot") << with([](Value &w) { w.locMin = "4.5"; })
                                             << "valore \"4.5\" non numerico nella colonna Loc_min"
                                             << QStringList{"B418"};
    QTest::newRow("price not a number") << with([](Value &w) { w.comprMin = "1,150,00"; })
                                        << "valore \"1,150,00\" non numerico nella colonna Compr_min"
                                        << QStringList{"B418"};
    QTest::newRow("unknown band") << with([](Value &w) { w.band = "X"; })
                                  << "fascia \"X\" sconosciuta (attese B, C, D, E, R)" << QStringList{"B418"};
    QTest::newRow("type not a number") << with([](Value &w) { w.type = "civile"; })
                                       << "codice di tipologia \"civile\" non valido" << QStringList{"B418"};
    QTest::newRow("zone missing") << with([](Value &w) { w.zone = ""; }) << "codice della zona mancante"
                                  << QStringList{"B418"};
    // A row whose municipality cannot be read is held against the rows around it.
    QTest::newRow("code unreadable") << with([](Value &w) { w.code = "8418"; })
                                     << "codice catastale del Comune \"8418\" non valido"
                                     << QStringList{"A001", "B419"};
}

void TestQuotations::damagedRows()
{
    QFETCH(QString, row);
    QFETCH(QString, message);
    QFETCH(QStringList, damaged);
    const QString name = QStringLiteral("QI_1_1_20242_VALORI.csv");
    const QString text = valuesFile(
        "2024/2", {valueRow({"A001", "PD", "ABANO TERME", "B", "B1", "20", "NORMALE", "P", "6,5", "8,2"}), row,
                   valueRow({"B419", "TN", "CALLIANO", "B", "B1", "20", "NORMALE", "P", "5", "7"})});
    const QuotationFile f = parseQuotations(text.toUtf8(), name);
    QCOMPARE(f.problems.size(), 1);
    QCOMPARE(f.problems.at(0).line, 4);
    QCOMPARE(f.problems.at(0).text(), name + QStringLiteral(", riga 4: ") + message);
    QStringList held = f.damaged.values();
    held.sort();
    QCOMPARE(held, damaged);
    QCOMPARE(f.problems.at(0).codes, damaged);
    QCOMPARE(f.values.size(), 2);
    QCOMPARE(f.dataRows, 3);
}

// A download cut short: the last row is incomplete, and its municipality is
// held out; the others are read.
void TestQuotations::truncatedFile()
{
    const QString whole = valuesFile(
        "2024/2", {valueRow({"A001", "PD", "ABANO TERME", "B", "B1", "20", "NORMALE", "P", "6,5", "8,2"}),
                   valueRow({"B418", "AT", "CALLIANO", "B", "B1", "20", "NORMALE", "P", "4,5", "6"}),
                   valueRow({"B418", "AT", "CALLIANO", "C", "C1", "20", "NORMALE", "P", "4", "5,5"})});
    for (int cut : {12, 60, 95}) {
        const QByteArray bytes = whole.toUtf8().chopped(cut);
        const QuotationFile f = parseQuotations(bytes, "t.csv");
        QCOMPARE(f.problems.size(), 1);
        QCOMPARE(f.problems.at(0).line, 5);
        QVERIFY2(f.problems.at(0).message.startsWith(QStringLiteral("riga incompleta")),
                 qPrintable(f.problems.at(0).message));
        QCOMPARE(f.damaged, QSet<QString>{QStringLiteral("B418")});
    }
}

void TestQuotations::readFromDisk()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("QI_1_1_20242_VALORI.csv");
    write(path, valuesFile("2024/2", abanoValues()).toUtf8());
    const QuotationFile f = readQuotationFile(path);
    QCOMPARE(f.path, path);
    QCOMPARE(f.values.size(), abanoValues().size());

    try {
        readQuotationFile(dir.filePath("manca.csv"));
        QFAIL("no error");
    } catch (const FileError &e) {
        QCOMPARE(e.message(), QStringLiteral("Il file \"%1\" non esiste.").arg(dir.filePath("manca.csv")));
    }
    try {
        readQuotationFile(dir.path());
        QFAIL("no error");
    } catch (const FileError &e) {
        QCOMPARE(e.message(), QStringLiteral("\"%1\" non è un file.").arg(dir.path()));
    }
}

QTEST_GUILESS_MAIN(TestQuotations)
#include "tst_quotations.moc"
