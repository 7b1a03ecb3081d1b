// SPDX-License-Identifier: GPL-2.0-or-later
// The report as PDF/A-1b: what Debian's PDF tools read back from it (the
// information dictionary, the XMP packet, embedded fonts, pictures at the
// resolution of their printed box and stored as JPEG), the two notations of
// the creation date, and the rewritten file's cross-reference table.
#include "report/mcadocument.h"
#include "report/pdfa.h"
#include "report/reportpages.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QXmlStreamReader>

using namespace brevan;
using namespace brevan::report;

namespace {

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A camera-sized photograph with a transparent corner, and two plans.
QImage photograph(int w, int h, bool alpha)
{
    QImage image(w, h, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgba((x / 7) & 0xff, (y / 5) & 0xff, ((x + y) / 9) & 0xff, alpha && x < w / 4 ? 0 : 255);
    }
    return image;
}

ReportInput sampleInput()
{
    ReportInput in;
    in.today = QDate(2024, 3, 4);
    in.appraisalDate = QDate(2024, 2, 1);
    in.lights.fill(Light::Green);
    const std::pair<const char *, const char *> texts[] = {
        {"NomeProfess", "Mario"},       {"CognomeProfess", "Rossi"},  {"IndirizzoImmob", "Via Roma"},
        {"NumCivicoImmob", "10"},       {"PianoImmob", "2"},          {"InternoImmob", "5"},
        {"ComuneImmob", "Abano Terme"}, {"SiglaProvinciaImmob", "PD"}, {"CAPImmob", "35031"},
    };
    for (const auto &[name, value] : texts)
        in.texts.insert(QString::fromLatin1(name), QString::fromUtf8(value));
    in.photo = photograph(4000, 3000, true);
    in.areaPlan = photograph(1200, 1600, false);
    in.unitPlan = photograph(3000, 4000, false);
    return in;
}

} // namespace

class TestPdfA : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void reportReadsBackAsPdfA();
    void picturesAtPrintedResolution();
    void datesInBothNotations_data();
    void datesInBothNotations();
    void titleFromTheAddress_data();
    void titleFromTheAddress();
    void metadataStaysWellFormed_data();
    void metadataStaysWellFormed();
    void crossReferencesPointAtTheirObjects();
    void refusesWhatItCannotRewrite();
    void marketComparisonIsPdfA();

private:
    QTemporaryDir m_dir;
    QString m_pdf;
    QByteArray m_bytes;
};

void TestPdfA::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_bytes = reportPdf(sampleInput(), ReportSelection());
    QVERIFY(!m_bytes.isEmpty());
    m_pdf = m_dir.filePath(QStringLiteral("report.pdf"));
    QFile f(m_pdf);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(m_bytes);
}

void TestPdfA::reportReadsBackAsPdfA()
{
    const QString info = run(QStringLiteral("pdfinfo"), {m_pdf});
    const QString title = QStringLiteral("Stima dell'unità immobiliare sita in Via Roma 10, Piano 2°, Interno 5, Abano Terme (PD)");
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Title:\\s+") + QRegularExpression::escape(title) + QLatin1Char('\n'))),
             qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Author:\\s+Mario Rossi\n"))), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Subject:\\s+Relazione di stima del più probabile valore"))),
             qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Creator:\\s+Brevan 2.0\n"))), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("CreationDate:\\s+\\S"))), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+11\n"))), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("PDF version:\\s+1.4\n"))), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Metadata Stream:\\s+yes"))), qPrintable(info));

    const QString meta = run(QStringLiteral("pdfinfo"), {QStringLiteral("-meta"), m_pdf});
    for (const QString &needle : {QStringLiteral("<pdfaid:part>1</pdfaid:part>"),
                                  QStringLiteral("<pdfaid:conformance>B</pdfaid:conformance>"),
                                  QStringLiteral("<rdf:li>Mario Rossi</rdf:li>"),
                                  QStringLiteral("<rdf:li xml:lang=\"x-default\">") + title.toHtmlEscaped(),
                                  QStringLiteral("<xmp:CreatorTool>Brevan 2.0</xmp:CreatorTool>")})
        QVERIFY2(meta.contains(needle), qPrintable(needle + QStringLiteral("\n") + meta));

    // Every font embedded: pdffonts' "emb" column reads "yes" on every row.
    const QStringList fonts = run(QStringLiteral("pdffonts"), {m_pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
    QVERIFY(!fonts.isEmpty());
    for (const QString &row : fonts) {
        const QStringList columns = row.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QVERIFY2(columns.size() >= 5 && columns[columns.size() - 5] == QLatin1String("yes"), qPrintable(row));
    }
    // The colour profile of the output intent, and no transparency.
    QVERIFY(QRegularExpression(QStringLiteral("/S\\s*/GTS_PDFA1")).match(QString::fromLatin1(m_bytes)).hasMatch());
    QVERIFY(m_bytes.contains("/DestOutputProfile"));
    QVERIFY(!QRegularExpression(QStringLiteral("/SMask\\s+\\d+\\s+0\\s+R")).match(QString::fromLatin1(m_bytes)).hasMatch());
    QVERIFY(!QRegularExpression(QStringLiteral("/(CA|ca)\\s+0\\.")).match(QString::fromLatin1(m_bytes)).hasMatch());
}

void TestPdfA::picturesAtPrintedResolution()
{
    // page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
    const QStringList rows = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), m_pdf})
                                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
    int pictures = 0;
    for (const QString &row : rows) {
        const QStringList c = row.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QVERIFY2(c.size() >= 14, qPrintable(row));
        QCOMPARE(c[2], QStringLiteral("image")); // no soft masks
        const int width = c[3].toInt(), height = c[4].toInt();
        if (std::max(width, height) < 400)
            continue; // the small pictures of the layout
        ++pictures;
        QCOMPARE(c[8], QStringLiteral("jpeg"));
        // Scaled to the box's 300 dpi, not stored at the camera's size.
        const int ppi = c[12].toInt();
        QVERIFY2(ppi >= 280 && ppi <= 320, qPrintable(row));
    }
    QCOMPARE(pictures, 3);
    QVERIFY2(m_bytes.size() < 3 * 1024 * 1024, qPrintable(QString::number(m_bytes.size())));
}

void TestPdfA::datesInBothNotations_data()
{
    QTest::addColumn<QDateTime>("created");
    QTest::addColumn<QByteArray>("info");
    QTest::addColumn<QByteArray>("xmp");
    const QDate d(2024, 3, 4);
    const QTime t(10, 15, 0);
    QTest::newRow("utc") << QDateTime(d, t, QTimeZone::utc()) << QByteArray("D:20240304101500Z")
                         << QByteArray("2024-03-04T10:15:00Z");
    QTest::newRow("rome, winter") << QDateTime(d, t, QTimeZone(3600)) << QByteArray("D:20240304101500+01'00'")
                                  << QByteArray("2024-03-04T10:15:00+01:00");
    QTest::newRow("behind utc, half hour") << QDateTime(d, t, QTimeZone(-(3 * 3600 + 1800)))
                                           << QByteArray("D:20240304101500-03'30'") << QByteArray("2024-03-04T10:15:00-03:30");
}

void TestPdfA::datesInBothNotations()
{
    QFETCH(QDateTime, created);
    QFETCH(QByteArray, info);
    QFETCH(QByteArray, xmp);
    PdfMetadata meta;
    meta.created = created.addMSecs(250); // milliseconds are not written
    const QByteArray dictionary = pdfInfoDictionary(meta);
    QVERIFY2(dictionary.contains("/CreationDate (" + info + ")\n/ModDate (" + info + ")"), dictionary.constData());
    const QByteArray packet = pdfXmpPacket(meta);
    QVERIFY2(packet.contains("<xmp:CreateDate>" + xmp + "</xmp:CreateDate>"), packet.constData());
    QVERIFY(packet.contains("<xmp:ModifyDate>" + xmp + "</xmp:ModifyDate>"));
}

void TestPdfA::titleFromTheAddress_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("author");
    QTest::newRow("nothing") << QStringList{} << "Stima dell'unità immobiliare" << "";
    QTest::newRow("town only") << QStringList{"ComuneImmob", "Padova"} << "Stima dell'unità immobiliare sita in Padova"
                               << "";
    QTest::newRow("address without number")
        << QStringList{"IndirizzoImmob", "Via Po", "SiglaProvinciaImmob", "TO", "ComuneImmob", "Torino"}
        << "Stima dell'unità immobiliare sita in Via Po, Torino (TO)" << "";
    QTest::newRow("floor needs the internal number")
        << QStringList{"IndirizzoImmob", "Via Po", "NumCivicoImmob", "3", "PianoImmob", "1", "CognomeProfess", "Bianchi"}
        << "Stima dell'unità immobiliare sita in Via Po 3" << "Bianchi";
    QTest::newRow("name first")
        << QStringList{"NomeProfess", "Anna", "CognomeProfess", "Verdi", "PianoImmob", "4", "InternoImmob", "12"}
        << "Stima dell'unità immobiliare sita in Piano 4°, Interno 12" << "Anna Verdi";
}

void TestPdfA::titleFromTheAddress()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, title);
    QFETCH(QString, author);
    QHash<QString, QString> texts;
    for (int i = 0; i + 1 < fields.size(); i += 2)
        texts.insert(fields[i], fields[i + 1]);
    const PdfMetadata meta = appraisalMetadata(texts, kSummarySubject);
    QCOMPARE(meta.title, title);
    QCOMPARE(meta.author, author);
    QCOMPARE(meta.subject, kSummarySubject);
    // An empty author is left out of both places rather than written empty.
    QCOMPARE(pdfInfoDictionary(meta).contains("/Author"), !author.isEmpty());
    QCOMPARE(pdfXmpPacket(meta).contains("<dc:creator>"), !author.isEmpty());
}

// A field holding a character XML 1.0 forbids (a vertical tab pasted with
// the appraiser's name): the file's XMP packet stays well-formed, and the
// information dictionary says the same as the packet.
void TestPdfA::metadataStaysWellFormed_data()
{
    QTest::addColumn<QString>("surname");
    QTest::addColumn<QString>("author");
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    QTest::newRow("vertical tab") << QStringLiteral("Ros\x0bsi") << QStringLiteral("Mario Ros si");
    QTest::newRow("NUL") << QStringLiteral("Ros") + QChar(0) + QStringLiteral("si") << QStringLiteral("Mario Ros si");
    QTest::newRow("terminal escape") << QStringLiteral("\x1b[31mRossi") << QStringLiteral("Mario  [31mRossi");
    QTest::newRow("U+FFFE") << QStringLiteral("Rossi") + QChar(0xFFFE) << QStringLiteral("Mario Rossi ");
    QTest::newRow("lone surrogate") << QStringLiteral("Rossi") + QChar(0xD83D) << QStringLiteral("Mario Rossi ");
    QTest::newRow("emoji kept") << QStringLiteral("Rossi") + emoji << QStringLiteral("Mario Rossi") + emoji;
    QTest::newRow("markup escaped") << QStringLiteral("<Rossi & C.>") << QStringLiteral("Mario <Rossi & C.>");
}

void TestPdfA::metadataStaysWellFormed()
{
    QFETCH(QString, surname);
    QFETCH(QString, author);
    const PdfMetadata meta = appraisalMetadata({{QStringLiteral("NomeProfess"), QStringLiteral("Mario")},
                                                {QStringLiteral("CognomeProfess"), surname},
                                                {QStringLiteral("ComuneImmob"), surname}},
                                               kReportSubject);
    const QByteArray pdf = pdfaDocument(meta, [](QPdfWriter *writer) {
        QPainter p(writer);
        p.drawText(100, 100, QStringLiteral("Pagina"));
        return true;
    });
    QVERIFY(!pdf.isEmpty());
    const qsizetype begin = pdf.indexOf("<?xpacket begin");
    const qsizetype end = pdf.indexOf("<?xpacket end='w'?>", begin);
    QVERIFY(begin >= 0 && end > begin);
    QXmlStreamReader xml(pdf.mid(begin, end - begin + 19));
    QString creator, keywords;
    QStringList path;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement())
            path << xml.qualifiedName().toString();
        else if (xml.isEndElement())
            path.removeLast();
        else if (xml.isCharacters() && path.contains(QLatin1String("dc:creator")))
            creator += xml.text();
        else if (xml.isCharacters() && path.endsWith(QLatin1String("pdf:Keywords")))
            keywords += xml.text();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(creator, author);
    QVERIFY(keywords.endsWith(author.mid(6)));
    // The same text, as UTF-16BE, in the information dictionary.
    QByteArray utf16("\xFE\xFF", 2);
    for (const QChar c : author) {
        utf16 += char(c.unicode() >> 8);
        utf16 += char(c.unicode() & 0xff);
    }
    QVERIFY(pdf.contains("/Author <" + utf16.toHex().toUpper() + ">"));
}

void TestPdfA::crossReferencesPointAtTheirObjects()
{
    const qint64 startxref = m_bytes.lastIndexOf("startxref");
    QVERIFY(startxref > 0);
    const qint64 xref = m_bytes.mid(startxref + 10, 20).trimmed().split('\n').first().toLongLong();
    QVERIFY(m_bytes.mid(xref).startsWith("xref\n0 "));
    qint64 at = m_bytes.indexOf('\n', xref + 5) + 1;
    const int count = m_bytes.mid(xref + 5, at - xref - 5).trimmed().split(' ').value(1).toInt();
    QVERIFY(count > 10);
    for (int object = 0; object < count; ++object, at += 20) {
        const QByteArray entry = m_bytes.mid(at, 20);
        if (entry[17] != 'n')
            continue;
        const qint64 offset = entry.left(10).toLongLong();
        QVERIFY2(m_bytes.mid(offset).startsWith(QByteArray::number(object) + " 0 obj"),
                 qPrintable(QStringLiteral("object %1 at %2").arg(object).arg(offset)));
    }
    QVERIFY(m_bytes.mid(at).startsWith("trailer"));
    QVERIFY(m_bytes.endsWith("%%EOF\n"));
}

// The market comparison's own "Esporta PDF…" files as the report does.
void TestPdfA::marketComparisonIsPdfA()
{
    McaDocument document;
    document.results << QStringLiteral("Valore di mercato (MCA): 261.282,00 €");
    const QString path = m_dir.filePath(QStringLiteral("mca.pdf"));
    QString error;
    QVERIFY2(writeMcaPdf(path, document, &error), qPrintable(error));
    const QString meta = run(QStringLiteral("pdfinfo"), {QStringLiteral("-meta"), path});
    for (const QString &needle : {QStringLiteral("<pdfaid:part>1</pdfaid:part>"),
                                  QStringLiteral("<pdfaid:conformance>B</pdfaid:conformance>"),
                                  QStringLiteral("Stima per confronto di mercato (MCA)")})
        QVERIFY2(meta.contains(needle), qPrintable(needle + QStringLiteral("\n") + meta));
    const QStringList fonts = run(QStringLiteral("pdffonts"), {path}).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
    QVERIFY(!fonts.isEmpty());
    for (const QString &row : fonts) {
        const QStringList columns = row.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QVERIFY2(columns.size() >= 5 && columns[columns.size() - 5] == QLatin1String("yes"), qPrintable(row));
    }
}

void TestPdfA::refusesWhatItCannotRewrite()
{
    for (QByteArray bytes : {QByteArray(), QByteArray("%PDF-1.4\nnot really\n"), m_bytes.left(m_bytes.size() / 2)}) {
        const QByteArray before = bytes;
        QString why;
        QVERIFY(!stampPdfMetadata(bytes, PdfMetadata(), &why));
        QVERIFY(!why.isEmpty());
        QCOMPARE(bytes, before);
    }
}

QTEST_MAIN(TestPdfA)
#include "tst_pdfa.moc"
