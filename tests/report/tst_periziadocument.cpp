// SPDX-License-Identifier: GPL-2.0-or-later
// The report for a purpose as a document: its sections in the purpose's
// order, the missing items listed first, hostile text written as typed in the
// document, the ODT and the PDF; the court's privacy copy without the names.
#include "report/periziadocument.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QXmlStreamReader>

using namespace brevan;
using namespace brevan::perizia;
using namespace brevan::report;

namespace {

const QString kHostile = QStringLiteral("<b>grassetto</b> {\\rtf1\\par} &amp; \"virgolette\" <text:p>");

PeriziaInput courtInput()
{
    PeriziaInput in;
    Report &r = in.report;
    r.purpose = Purpose::Court;
    r.court = QStringLiteral("Tribunale di Forlì");
    r.procedureNumber = QStringLiteral("12/2026");
    r.judge = QStringLiteral("Dott. Paolo Giudici");
    r.debtors = {QStringLiteral("Mario Esposito"), QStringLiteral("Lucia Ferraro")};
    r.description = QStringLiteral("Ampio soggiorno; vive qui Mario Esposito, detto ESPOSITO Mario. ") + kHostile;
    r.owners = {Owner{QStringLiteral("Mario Esposito"), true, 1, 2, true},
                Owner{QStringLiteral("Edilcasa S.r.l."), false, 1, 2, false}};
    r.occupation = Occupation::ThirdPartyWithTitle;
    r.leases = {Lease{QStringLiteral("Giorgio Conti"), true, QDate(2019, 1, 10), QDate(2027, 1, 9), 7200, true}};
    r.encumbrances = {Encumbrance{EncumbranceKind::Mortgage, QStringLiteral("ipoteca volontaria"), QDate(2001, 7, 5),
                                  QStringLiteral("RG 1234 RP 567"), false, kNotGiven}};
    r.stated = StatedValue::Comparison;
    r.adjustments = {Adjustment{AdjustmentKind::Regularisation, QString(), 3500, kNotGiven},
                     Adjustment{AdjustmentKind::NoWarranty, QString(), kNotGiven, 15}};
    in.facts.incomeValue = 190000;
    in.facts.comparisonValue = 200000;
    in.facts.surface = 100;
    in.facts.appraiser = QStringLiteral("Ing. Anna Periti");
    in.title = QStringLiteral("Stima dell'unità immobiliare sita in Via Roma 1, Forlì (FC)");
    in.surfacesHeader = {QStringLiteral("Descrizione"), QStringLiteral("Superficie")};
    in.surfaces = {{QStringLiteral("Soggiorno"), QStringLiteral("30,00")}};
    QImage photo(400, 300, QImage::Format_RGB32);
    photo.fill(Qt::darkGreen);
    in.pictures = {PeriziaPicture{QStringLiteral("Fotografia"), photo}};
    return in;
}

// The text of an ODT's content, its XML read back.
QString odtText(const QString &path)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, QStringLiteral("content.xml")});
    if (!unzip.waitForFinished(10000))
        return {};
    QXmlStreamReader xml(unzip.readAllStandardOutput());
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters())
            text += xml.text();
        else if (xml.isEndElement() && xml.name() == QLatin1String("p"))
            text += QLatin1Char('\n');
    }
    return xml.hasError() ? QString() : text;
}

QString pdfText(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!p.waitForFinished(20000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestPeriziaDocument : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sectionsInTheirOrder()
    {
        const PeriziaInput in = courtInput();
        const QString text = periziaDocument(in)->toPlainText();
        qsizetype at = text.indexOf(kMissingHeading);
        QVERIFY(at > 0); // the court report above lacks many items
        QVERIFY(text.contains(QStringLiteral("Confini (art. 173-bis, n. 1, disp. att. c.p.c.)")));
        for (Section s : sectionOrder(Purpose::Court)) {
            const qsizetype next = text.indexOf(QLatin1Char('\n') + sectionTitle(s) + QLatin1Char('\n'), at);
            QVERIFY2(next > at, qPrintable(sectionTitle(s)));
            at = next;
        }
        // Hostile text as typed.
        QVERIFY(text.contains(kHostile));
        // The court's figures: 200.000 less 3.500 and 15 %, the half share, the proposal.
        QVERIFY(text.contains(QStringLiteral("Valore al netto degli adeguamenti")));
        QVERIFY(text.contains(QStringLiteral("83.250,00 €")));
        QVERIFY(text.contains(QStringLiteral("Prezzo base proposto")));
        QVERIFY(text.contains(QStringLiteral("il valore indicato è una proposta")));
        QVERIFY(text.contains(QStringLiteral("non calcolato"))); // the MCA
    }

    // The market comparison's tables go in only when it has a value.
    void mcaTables()
    {
        PeriziaInput in = courtInput();
        McaDocument mca;
        mca.tables = {McaTable{QStringLiteral("Tabella dei prezzi marginali"), {QStringLiteral("Caratteristica"), QStringLiteral("C1")},
                               {{QStringLiteral("Superficie"), QStringLiteral("1.500,00 €")}}, {}, {}}};
        mca.results = {QStringLiteral("Valore di mercato: 201.000,00 €")};
        in.mca = mca;
        QVERIFY(!periziaDocument(in)->toPlainText().contains(QStringLiteral("Tabella dei prezzi marginali")));
        in.mca->hasValue = true;
        const QString text = periziaDocument(in)->toPlainText();
        QVERIFY(text.contains(QStringLiteral("Tabella dei prezzi marginali")));
        QVERIFY(text.contains(QStringLiteral("Valore di mercato: 201.000,00 €")));
    }

    // A field a purpose does not use is not printed for it.
    void purposeFields()
    {
        PeriziaInput in = courtInput();
        in.report.loanApplicant = QStringLiteral("Richiedente Mutuo");
        QVERIFY(!periziaDocument(in)->toPlainText().contains(QStringLiteral("Richiedente Mutuo")));
        in.report.purpose = Purpose::Bank;
        const QString bank = periziaDocument(in)->toPlainText();
        QVERIFY(bank.contains(QStringLiteral("Richiedente Mutuo")));
        QVERIFY(!bank.contains(QStringLiteral("Tribunale di Forlì")));
        QVERIFY(!bank.contains(QStringLiteral("Prezzo base proposto")));
    }

    // A property value above the market value is not printed as if it held.
    void refusedFigureNotPrinted()
    {
        PeriziaInput in = courtInput();
        in.report.purpose = Purpose::Bank;
        in.report.propertyValue = 250000;
        const QString text = periziaDocument(in)->toPlainText();
        QVERIFY(text.contains(QStringLiteral("Il valore dell'immobile non può superare il valore di mercato.")));
        QVERIFY(!text.contains(QStringLiteral("250.000,00 €")));
    }

    void privateNamesAndOmissis_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("as written") << "vive qui Mario Esposito." << "vive qui omissis.";
        QTest::newRow("the other way round, capitals") << "ESPOSITO Mario e Lucia  Ferraro" << "omissis e omissis";
        QTest::newRow("a company stays") << "Edilcasa S.r.l." << "Edilcasa S.r.l.";
        QTest::newRow("a name inside markup stays escaped as text") << "<b>Mario Esposito</b>" << "<b>omissis</b>";
    }
    void privateNamesAndOmissis()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const QStringList names = privateNames(courtInput().report);
        QCOMPARE(names, (QStringList{"Mario Esposito", "Lucia Ferraro", "Giorgio Conti"}));
        QCOMPARE(withoutNames(text, names), expected);
    }

    void odtReadsBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("perizia.odt"));
        QString error;
        QVERIFY2(writePeriziaOdt(path, courtInput(), &error), qPrintable(error));
        const QString text = odtText(path);
        QVERIFY(!text.isEmpty());
        QVERIFY(text.contains(kHostile));
        QVERIFY(text.contains(QStringLiteral("Titolarità e possesso")));
        QVERIFY(text.contains(QStringLiteral("Mario Esposito")));
    }

    // The privacy copy as the court publishes it: no listed name anywhere in the PDF.
    void privacyPdf()
    {
        QTemporaryDir dir;
        PeriziaInput in = courtInput();
        const QString full = dir.filePath(QStringLiteral("perizia.pdf"));
        QString error;
        QVERIFY2(writePeriziaPdf(full, in, &error), qPrintable(error));
        const QString fullText = pdfText(full);
        QVERIFY(fullText.contains(QStringLiteral("Mario Esposito")));

        in.privacy = true;
        const QString copy = dir.filePath(QStringLiteral("perizia privacy.pdf"));
        QVERIFY2(writePeriziaPdf(copy, in, &error), qPrintable(error));
        const QString text = pdfText(copy);
        QVERIFY(text.contains(kOmissis));
        for (const QString &word : {QStringLiteral("Esposito"), QStringLiteral("Ferraro"), QStringLiteral("Conti")})
            QVERIFY2(!text.contains(word, Qt::CaseInsensitive), qPrintable(word));
        // Public names stay.
        QVERIFY(text.contains(QStringLiteral("Edilcasa")));
        QVERIFY(text.contains(QStringLiteral("Periti")));
        QVERIFY(QFile(copy).size() > 0);
    }
};

QTEST_MAIN(TestPeriziaDocument)
#include "tst_periziadocument.moc"
