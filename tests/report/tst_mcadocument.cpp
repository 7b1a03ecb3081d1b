// SPDX-License-Identifier: GPL-2.0-or-later
// The market comparison's outputs: the document's tables and result lines,
// the values of the other approaches in euro, tables split for the printed
// page, the RTF export, the PDF, and the report page "Stima MCA" that the
// printed report adds only when the appraisal has a comparison.
#include "../support/mcafixtures.h"
#include "model/currency.h"
#include "model/numbertext.h"
#include "report/mcacontent.h"
#include "report/reportpages.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace brevan;
using namespace brevan::report;
using mca::Row;

namespace {

// The Stimatrix example of tst_mca, typed in as a user would.
mca::Sheet exampleSheet()
{
    mca::Sheet s = fixtures::mcaExampleSheet();
    s.comparables[0].setText(Row::Address, QStringLiteral("Unità A"));
    return s;
}

McaContext context(bool lire)
{
    McaContext c;
    c.valuationDate = QDate(2024, 1, 20);
    c.lire = lire;
    return c;
}

QStringList titles(const McaDocument &d)
{
    QStringList t;
    for (const McaTable &table : d.tables)
        t << table.title;
    return t;
}

QString pdfText(const QByteArray &pdf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.pdf"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(pdf);
    f.close();
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path,
                                           QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pageCount(const QString &text)
{
    QStringList pages = text.split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return int(pages.size());
}

} // namespace

class TestMcaDocument : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tablesAndResult();
    void otherApproachesInEuro_data();
    void otherApproachesInEuro();
    void wideTablesAreSplit();
    void noValueWhileInputIsBad();
    void divergenceWarning();
    void directComparisonExplained();
    void rtf();
    void pdf();
    void reportPageOnlyWithAComparison();
    void headingNamesTheAppraisal_data();
    void headingNamesTheAppraisal();
};

void TestMcaDocument::tablesAndResult()
{
    const McaDocument d = buildMcaDocument(exampleSheet(), context(false));
    QVERIFY(d.hasValue);
    QCOMPARE(titles(d), (QStringList{QStringLiteral("Tabella dei dati"), QStringLiteral("Parametri"),
                                     QStringLiteral("Tabella dei prezzi marginali"), QStringLiteral("Tabella di valutazione")}));
    const McaTable &data = d.tables[0];
    QCOMPARE(data.header, (QStringList{QStringLiteral("Caratteristica"), QStringLiteral("Soggetto"),
                                       QStringLiteral("Comparabile 1"), QStringLiteral("Comparabile 2"),
                                       QStringLiteral("Comparabile 3")}));
    QCOMPARE(data.rows[1], (QStringList{QStringLiteral("Data di vendita (mese/anno)"), QStringLiteral("01/2024"),
                                        QStringLiteral("09/2023"), QStringLiteral("11/2023"), QStringLiteral("09/2023")}));
    QCOMPARE(data.rows.last(), (QStringList{QStringLiteral("Superficie commerciale (m²)"), QStringLiteral("120,40"),
                                            QStringLiteral("124,00"), QStringLiteral("134,39"), QStringLiteral("142,40")}));
    const McaTable &valuation = d.tables[3];
    QCOMPARE(valuation.rows.first(), (QStringList{QStringLiteral("Prezzo (€)"), QStringLiteral("260.000,00"),
                                                  QStringLiteral("295.000,00"), QStringLiteral("310.000,00")}));
    QCOMPARE(valuation.rows[1], (QStringList{QStringLiteral("Data"), QStringLiteral("-1.733,33"), QStringLiteral("-983,33"),
                                             QStringLiteral("-2.066,67")}));
    QCOMPARE(valuation.rows.last(), (QStringList{QStringLiteral("Prezzo corretto (€)"), QStringLiteral("261.424,75"),
                                                 QStringLiteral("264.157,80"), QStringLiteral("258.262,01")}));
    QVERIFY(valuation.emphasised.contains(int(valuation.rows.size()) - 1));
    QVERIFY(d.tables[2].note.contains(QStringLiteral("2.096,77 €/m², comparabile 1")));
    QVERIFY(d.results.contains(QStringLiteral("Divergenza tra i prezzi corretti: 2,28 % (soglia 10,00 %)")));
    QVERIFY(d.results.contains(QStringLiteral("Valore di mercato per confronto di mercato (MCA): 261.282,00 €")));
    QVERIFY(d.results.contains(QStringLiteral("Valore unitario (MCA): 2.170,12 €/m²")));
    // In Euro no Lire line.
    QVERIFY(!d.results.join(QLatin1Char('\n')).contains(QStringLiteral("Lire")));
    // In Lire the value is also given in Lire.
    const McaDocument lire = buildMcaDocument(exampleSheet(), context(true));
    QVERIFY(lire.results.contains(QStringLiteral("Valore (MCA) in Lire: %1 Lire").arg(FormattaImporto(261282 * kFattoreLire))));
}

void TestMcaDocument::otherApproachesInEuro_data()
{
    QTest::addColumn<bool>("lire");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("line");
    // 200.000.000 Lire × the Euro factor (4436331 / 2^33) = 103.291,38…
    QTest::newRow("lire converted") << true << "200.000.000,00" << "2.000.000,00"
                                    << "Capitalizzazione dei redditi: 103.291,38 € (1.032,91 €/m²)";
    QTest::newRow("euro as shown") << false << "103.291,38" << "1.032,91"
                                   << "Capitalizzazione dei redditi: 103.291,38 € (1.032,91 €/m²)";
    QTest::newRow("not computed") << true << "" << "" << "Capitalizzazione dei redditi: non calcolato";
}

void TestMcaDocument::otherApproachesInEuro()
{
    QFETCH(bool, lire);
    QFETCH(QString, total);
    QFETCH(QString, unit);
    QFETCH(QString, line);
    McaContext c = context(lire);
    c.incomeTotal = total;
    c.incomeUnit = unit;
    const McaDocument d = buildMcaDocument(exampleSheet(), c);
    QVERIFY2(d.results.contains(line), qPrintable(d.results.join(QLatin1Char('\n'))));
    QVERIFY(d.results.contains(QStringLiteral("Comparazione diretta: non calcolato")));
}

void TestMcaDocument::wideTablesAreSplit()
{
    mca::Sheet s = exampleSheet();
    for (int j = 0; j < 4; ++j)
        s.comparables.append(s.comparables[j % 3]);
    const McaDocument d = buildMcaDocument(s, context(false), kPrintedColumns);
    QVERIFY(d.hasValue);
    QCOMPARE(titles(d), (QStringList{QStringLiteral("Tabella dei dati (soggetto e comparabili 1-4)"),
                                     QStringLiteral("Tabella dei dati (comparabili 5-7)"), QStringLiteral("Parametri"),
                                     QStringLiteral("Tabella dei prezzi marginali (comparabili 1-5)"),
                                     QStringLiteral("Tabella dei prezzi marginali (comparabili 6-7)"),
                                     QStringLiteral("Tabella di valutazione (comparabili 1-5)"),
                                     QStringLiteral("Tabella di valutazione (comparabili 6-7)")}));
    QCOMPARE(d.tables[1].header, (QStringList{QStringLiteral("Caratteristica"), QStringLiteral("Comparabile 5"),
                                              QStringLiteral("Comparabile 6"), QStringLiteral("Comparabile 7")}));
    // The note goes with the last part only; every row keeps its label.
    QVERIFY(d.tables[0].note.isEmpty());
    QVERIFY(!d.tables[1].note.isEmpty());
    QCOMPARE(d.tables[6].rows.last().first(), QStringLiteral("Prezzo corretto (€)"));
    QCOMPARE(d.tables[6].rows.last().size(), 3);
}

void TestMcaDocument::noValueWhileInputIsBad()
{
    mca::Sheet s = exampleSheet();
    s.comparables[1].setText(Row::Price, QStringLiteral("molto"));
    const McaDocument d = buildMcaDocument(s, context(true));
    QVERIFY(!d.hasValue);
    QCOMPARE(titles(d), (QStringList{QStringLiteral("Tabella dei dati"), QStringLiteral("Parametri")}));
    QCOMPARE(d.results.first(), QStringLiteral("Nessun valore: correggere i dati segnalati."));
    QCOMPARE(d.problems.size(), 1);
    QVERIFY(d.problems.first().startsWith(QStringLiteral("Comparabile 2, Prezzo (€): «molto» non è un numero")));
    const QString all = d.results.join(QLatin1Char('\n'));
    QVERIFY(!all.contains(QStringLiteral("Valore di mercato")));
    QVERIFY(!all.contains(QStringLiteral("Divergenza")));
}

void TestMcaDocument::divergenceWarning()
{
    mca::Sheet s = exampleSheet();
    s.setParam(mca::Param::Threshold, QStringLiteral("2"));
    const McaDocument d = buildMcaDocument(s, context(false));
    QVERIFY(d.hasValue); // the value is shown, the warning beside it
    QVERIFY(d.warningLine >= 0);
    QCOMPARE(d.results[d.warningLine], QStringLiteral("Attenzione: divergenza oltre la soglia: rivedere i comparabili."));
    QVERIFY(d.results.contains(QStringLiteral("Valore di mercato per confronto di mercato (MCA): 261.282,00 €")));
}

void TestMcaDocument::directComparisonExplained()
{
    brevan::ComparableRow a, b;
    a.IndirizzoImmob = QStringLiteral("Via A");
    a.NumCivicoImmob = QStringLiteral("1");
    b.IndirizzoImmob = QStringLiteral("Via B");
    for (brevan::ComparableRow *r : {&a, &b}) {
        r->CdCarattLocalizzaz = QStringLiteral("20");
        r->CdCarattPosizione = QStringLiteral("10");
        r->CdCarattTipologiche = QStringLiteral("10");
    }
    a.CdCarattProduttive = QStringLiteral("10");
    b.CdCarattProduttive = QStringLiteral("20");
    a.CostoUnitario = QStringLiteral("1.000.000,00");
    b.CostoUnitario = QStringLiteral("1.200.000,00");
    McaContext c = context(true);
    c.fit = explainDirectComparison({a, b}, 55);
    const McaDocument d = buildMcaDocument(exampleSheet(), c);
    const McaTable &t = d.tables.last();
    QCOMPARE(t.title, QStringLiteral("Comparazione diretta: la retta dei minimi quadrati"));
    QCOMPARE(t.rows.size(), 2);
    QCOMPARE(t.rows[0], (QStringList{QStringLiteral("Via A 1"), QStringLiteral("50,00"), QStringLiteral("1.000.000,00"),
                                     QStringLiteral("1.000.000,00"), QStringLiteral("0,00"), QStringLiteral("1.200.000,00")}));
    QVERIFY(t.note.startsWith(QStringLiteral("R² = 1,0000; somma dei coefficienti del soggetto 55,00 %; valore unitario "
                                             "1.100.000,00 Lire/m².")));
}

void TestMcaDocument::rtf()
{
    McaContext c = context(true);
    c.incomeTotal = QStringLiteral("200.000.000,00");
    const QByteArray r = mcaRtf(buildMcaDocument(exampleSheet(), c, kPrintedColumns));
    QVERIFY(r.startsWith("{\\rtf1\\ansi"));
    QVERIFY(r.trimmed().endsWith('}'));
    int depth = 0;
    for (int i = 0; i < r.size(); ++i) {
        if (r[i] == '\\') {
            ++i; // an escaped brace or backslash
            continue;
        }
        depth += r[i] == '{' ? 1 : r[i] == '}' ? -1 : 0;
        QVERIFY(depth >= 0);
    }
    QCOMPARE(depth, 0);
    for (char ch : r)
        QVERIFY2(uchar(ch) < 128, "the RTF is 7-bit");
    // Four tables of real RTF rows, each with its header: data 1 + 13 + the
    // commercial surface, parameters 1 + 12, marginal prices 1 + 10,
    // valuation 1 + the price, 10 adjustments and the corrected price.
    QCOMPARE(r.count("\\trowd"), r.count("\\row\n"));
    QCOMPARE(r.count("\\trowd"), 15 + 13 + 11 + 13);
    QVERIFY(r.contains("Tabella di valutazione"));
    QVERIFY(r.contains("261.424,75"));
    QVERIFY(r.contains("Valore di mercato per confronto di mercato (MCA): 261.282,00 \\u8364?"));
    QVERIFY(r.contains("103.291,38 \\u8364?"));
    QVERIFY(r.contains("Superficie principale S\\u8321? (m\\u178?)"));
}

void TestMcaDocument::pdf()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("MCA.pdf"));
    QString error;
    mca::Sheet s = exampleSheet();
    for (int j = 0; j < 7; ++j)
        s.comparables.append(s.comparables[j % 3]);
    QVERIFY2(writeMcaPdf(path, buildMcaDocument(s, context(false), kPrintedColumns), &error), qPrintable(error));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = pdfText(f.readAll());
    QVERIFY(text.contains(QStringLiteral("Stima per confronto di mercato (MCA)")));
    QVERIFY(text.contains(QStringLiteral("Tabella di valutazione (comparabili 6-10)")));
    QVERIFY(text.contains(QStringLiteral("Comparabile 10")));
    QVERIFY(text.contains(QStringLiteral("261.424,75")));
    QVERIFY(text.contains(QStringLiteral("Valore di mercato per confronto di mercato (MCA)")));
    // Ten comparables do not fit one page: the band is repeated.
    QVERIFY(pageCount(text) >= 2);
    QCOMPARE(text.count(QStringLiteral("Stima per confronto di mercato (MCA)")), pageCount(text));

    // A folder that is not there: the reason, and no file.
    const QString bad = dir.filePath(QStringLiteral("manca/MCA.pdf"));
    QVERIFY(!writeMcaPdf(bad, buildMcaDocument(s, context(false)), &error));
    QVERIFY(error.contains(bad));
    QVERIFY(!QFile::exists(bad));
}

void TestMcaDocument::reportPageOnlyWithAComparison()
{
    ReportInput in;
    in.today = QDate(2024, 1, 20);
    in.appraisalDate = QDate(2024, 1, 20);
    Report report;
    report.resetAndFill(in);
    QCOMPARE(report.assembled(ReportSelection()), (QVector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    QCOMPARE(pageCount(pdfText(reportPdf(report, ReportSelection()))), 11);

    in.mca = buildMcaDocument(exampleSheet(), context(false), kPrintedColumns);
    report.resetAndFill(in);
    QCOMPARE(report.assembled(ReportSelection()).last(), kMcaPage);
    const QString text = pdfText(reportPdf(report, ReportSelection()));
    QVERIFY(pageCount(text) >= 12);
    const QStringList pages = text.split(QLatin1Char('\f'));
    QVERIFY(pages[11].contains(QStringLiteral("Stima MCA")));
    QVERIFY(pages[11].contains(QStringLiteral("Tabella dei dati")));
    QVERIFY(pages[10].contains(QStringLiteral("Risultati della stima")));

    // Cleared in the choice, or only it chosen.
    ReportSelection without;
    without.mca = false;
    QCOMPARE(report.assembled(without).size(), 11);
    ReportSelection only = ReportSelection::none();
    QVERIFY(report.assembled(only).isEmpty());
    only.mca = true;
    QCOMPARE(report.assembled(only), QVector<int>{kMcaPage});
    QVERIFY(!only.any()); // none of the ten

    // Filled again without the comparison, the page is gone.
    in.mca.reset();
    report.resetAndFill(in);
    QCOMPARE(report.assembled(only), QVector<int>());
    QTemporaryDir dir;
    QString error;
    QVERIFY(!writeReportPdf(dir.filePath(QStringLiteral("r.pdf")), report, only, &error));
    QCOMPARE(error, kNoPagesSelected);
}

void TestMcaDocument::headingNamesTheAppraisal_data()
{
    QTest::addColumn<QStringList>("texts"); // name, value, name, value…
    QTest::addColumn<QStringList>("heading");
    QTest::addColumn<QString>("fileTitle");
    QTest::addColumn<QString>("subjectAddress");
    const QString title = QStringLiteral("Stima per confronto di mercato (MCA)");
    QTest::newRow("address and appraiser")
        << QStringList{QStringLiteral("IndirizzoImmob"), QStringLiteral("Via Roma"), QStringLiteral("NumCivicoImmob"),
                       QStringLiteral("10"), QStringLiteral("ComuneImmob"), QStringLiteral("Abano Terme"),
                       QStringLiteral("SiglaProvinciaImmob"), QStringLiteral("PD"), QStringLiteral("NomeProfess"),
                       QStringLiteral("Mario"), QStringLiteral("CognomeProfess"), QStringLiteral("Rossi")}
        << QStringList{QStringLiteral("Unità immobiliare: Via Roma 10, Abano Terme (PD)"),
                       QStringLiteral("Professionista: Mario Rossi")}
        << title + QStringLiteral(" - Via Roma 10, Abano Terme (PD) - Mario Rossi") << "Via Roma 10";
    QTest::newRow("no appraiser")
        << QStringList{QStringLiteral("IndirizzoImmob"), QStringLiteral("Via Po"), QStringLiteral("ComuneImmob"),
                       QStringLiteral("Torino")}
        << QStringList{QStringLiteral("Unità immobiliare: Via Po, Torino")} << title + QStringLiteral(" - Via Po, Torino")
        << "Via Po";
    QTest::newRow("only the appraiser")
        << QStringList{QStringLiteral("CognomeProfess"), QStringLiteral("Bianchi")}
        << QStringList{QStringLiteral("Professionista: Bianchi")} << title + QStringLiteral(" - Bianchi") << "";
    QTest::newRow("nothing on the pages") << QStringList{} << QStringList{} << title << "";
}

void TestMcaDocument::headingNamesTheAppraisal()
{
    QFETCH(QStringList, texts);
    QFETCH(QStringList, heading);
    QFETCH(QString, fileTitle);
    QFETCH(QString, subjectAddress);
    McaContext c = context(false);
    for (int i = 0; i + 1 < texts.size(); i += 2)
        c.appraisal.insert(texts[i], texts[i + 1]);
    const McaDocument d = buildMcaDocument(exampleSheet(), c);
    QCOMPARE(d.heading, heading);
    QCOMPARE(d.fileTitle, fileTitle);
    QCOMPARE(d.tables.first().rows.first().value(1), subjectAddress);
    QCOMPARE(d.title, QStringLiteral("Stima per confronto di mercato (MCA)"));
    // The PDF carries them in its title and author, and on its first page.
    QTemporaryDir dir;
    const QString pdfPath = dir.filePath(QStringLiteral("intestazione.pdf"));
    QString error;
    QVERIFY2(writeMcaPdf(pdfPath, d, &error), qPrintable(error));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdfPath});
    QVERIFY(info.waitForFinished(60000));
    QString title;
    for (const QString &line : QString::fromUtf8(info.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("Title:")))
            title = line.mid(6).trimmed();
    }
    QCOMPARE(title, fileTitle);
    QFile pdf(pdfPath);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QString firstPage = pdfText(pdf.readAll()).section(QLatin1Char('\f'), 0, 0);
    for (const QString &line : heading)
        QVERIFY2(firstPage.contains(line), qPrintable(line));
}

QTEST_MAIN(TestMcaDocument)
#include "tst_mcadocument.moc"
