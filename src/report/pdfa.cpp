// SPDX-License-Identifier: GPL-2.0-or-later
#include "pdfa.h"

#include "reportpages.h"
#include "files/wholefile.h"
#include "store/oserror.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace brevan::report {

namespace {

QString producer()
{
    return QStringLiteral("Qt ") + QString::fromLatin1(qVersion());
}

QDateTime moment(const PdfMetadata &meta)
{
    QDateTime t = meta.created.isValid() ? meta.created : QDateTime::currentDateTime();
    return t.addMSecs(-t.time().msec());
}

// "D:20240304101500+01'00'" and "2024-03-04T10:15:00+01:00": the same moment
// in the two notations PDF/A wants equal.
QByteArray infoDate(const QDateTime &t)
{
    const int offset = t.offsetFromUtc();
    QByteArray s = "D:" + t.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    if (offset == 0)
        return s + 'Z';
    const int minutes = std::abs(offset) / 60;
    return s + (offset < 0 ? '-' : '+') + QByteArray::number(minutes / 60).rightJustified(2, '0') + '\''
           + QByteArray::number(minutes % 60).rightJustified(2, '0') + '\'';
}

QByteArray xmpDate(const QDateTime &t)
{
    const int offset = t.offsetFromUtc();
    QByteArray s = t.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1();
    if (offset == 0)
        return s + 'Z';
    const int minutes = std::abs(offset) / 60;
    return s + (offset < 0 ? '-' : '+') + QByteArray::number(minutes / 60).rightJustified(2, '0') + ':'
           + QByteArray::number(minutes % 60).rightJustified(2, '0');
}

// A PDF text string as UTF-16BE with its byte-order mark, in hexadecimal:
// no character needs escaping.
QByteArray pdfText(const QString &s)
{
    QByteArray bytes("\xFE\xFF", 2);
    for (const QChar c : s) {
        bytes.append(char(c.unicode() >> 8));
        bytes.append(char(c.unicode() & 0xff));
    }
    return '<' + bytes.toHex().toUpper() + '>';
}

// XML 1.0 takes tab, line feed, carriage return and every character from
// U+0020 up but the lone surrogates, U+FFFE and U+FFFF. Any other character
// a field may hold (a vertical tab pasted with a name) would make the XMP
// packet ill-formed; it becomes a blank there and, so that the two stay
// equal, in the information dictionary.
QString metadataText(const QString &s)
{
    QString clean;
    clean.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
            clean += c;
            clean += s.at(++i);
            continue;
        }
        const char16_t u = c.unicode();
        const bool allowed = u == 0x9 || u == 0xA || u == 0xD || (u >= 0x20 && !c.isSurrogate() && u < 0xFFFE);
        clean += allowed ? c : QChar(u' ');
    }
    return clean;
}

PdfMetadata cleaned(const PdfMetadata &meta)
{
    PdfMetadata m = meta;
    for (QString *text : {&m.title, &m.author, &m.subject, &m.keywords, &m.creator})
        *text = metadataText(*text);
    return m;
}

QByteArray xml(const QString &s)
{
    return s.toHtmlEscaped().toUtf8();
}

struct Span {
    qint64 start;
    qint64 end; // one past "endobj" and its line end
    QByteArray replacement;
};

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

qint64 skipLineEnd(const QByteArray &pdf, qint64 at)
{
    if (at < pdf.size() && pdf[at] == '\r')
        ++at;
    if (at < pdf.size() && pdf[at] == '\n')
        ++at;
    return at;
}

} // namespace

PdfMetadata reportMetadata(const ReportInput &in)
{
    return appraisalMetadata(in.texts, kReportSubject);
}

QString appraisalPlace(const QHash<QString, QString> &texts)
{
    const auto text = [&texts](const char *name) { return texts.value(QLatin1String(name)); };
    QStringList where;
    QString address = text("IndirizzoImmob");
    if (!address.isEmpty() && !text("NumCivicoImmob").isEmpty())
        address += QLatin1Char(' ') + text("NumCivicoImmob");
    if (!address.isEmpty())
        where << address;
    if (!text("PianoImmob").isEmpty() && !text("InternoImmob").isEmpty())
        where << QStringLiteral("Piano %1°, Interno %2").arg(text("PianoImmob"), text("InternoImmob"));
    QString town = text("ComuneImmob");
    if (!town.isEmpty() && !text("SiglaProvinciaImmob").isEmpty())
        town += QStringLiteral(" (%1)").arg(text("SiglaProvinciaImmob"));
    if (!town.isEmpty())
        where << town;
    return where.join(QStringLiteral(", "));
}

QString appraiserName(const QHash<QString, QString> &texts)
{
    QStringList name;
    for (const char *field : {"NomeProfess", "CognomeProfess"}) {
        if (!texts.value(QLatin1String(field)).isEmpty())
            name << texts.value(QLatin1String(field));
    }
    return name.join(QLatin1Char(' '));
}

PdfMetadata appraisalMetadata(const QHash<QString, QString> &texts, const QString &subject)
{
    PdfMetadata meta;
    const QString where = appraisalPlace(texts);
    meta.title = QStringLiteral("Stima dell'unità immobiliare");
    if (!where.isEmpty())
        meta.title += QStringLiteral(" sita in ") + where;
    meta.author = appraiserName(texts);
    meta.subject = subject;
    meta.keywords = QStringLiteral("stima immobiliare, valore di mercato");
    if (!texts.value(QStringLiteral("ComuneImmob")).isEmpty())
        meta.keywords += QStringLiteral(", ") + texts.value(QStringLiteral("ComuneImmob"));
    return meta;
}

QByteArray pdfInfoDictionary(const PdfMetadata &given)
{
    const PdfMetadata meta = cleaned(given);
    const QDateTime t = moment(meta);
    QByteArray d;
    const auto entry = [&d](const char *key, const QString &value) {
        if (!value.isEmpty())
            d += '/' + QByteArray(key) + ' ' + pdfText(value) + '\n';
    };
    entry("Title", meta.title);
    entry("Author", meta.author);
    entry("Subject", meta.subject);
    entry("Keywords", meta.keywords);
    entry("Creator", meta.creator);
    entry("Producer", producer());
    d += "/CreationDate (" + infoDate(t) + ")\n";
    d += "/ModDate (" + infoDate(t) + ")\n";
    return d;
}

QByteArray pdfXmpPacket(const PdfMetadata &given)
{
    const PdfMetadata meta = cleaned(given);
    const QDateTime t = moment(meta);
    QByteArray x;
    x += "<?xpacket begin='\xEF\xBB\xBF' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
         "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
         " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
         "  <rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
         "   <dc:format>application/pdf</dc:format>\n";
    if (!meta.title.isEmpty())
        x += "   <dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">" + xml(meta.title)
             + "</rdf:li></rdf:Alt></dc:title>\n";
    if (!meta.author.isEmpty())
        x += "   <dc:creator><rdf:Seq><rdf:li>" + xml(meta.author) + "</rdf:li></rdf:Seq></dc:creator>\n";
    if (!meta.subject.isEmpty())
        x += "   <dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">" + xml(meta.subject)
             + "</rdf:li></rdf:Alt></dc:description>\n";
    x += "  </rdf:Description>\n"
         "  <rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n"
         "   <xmp:CreatorTool>" + xml(meta.creator) + "</xmp:CreatorTool>\n"
         "   <xmp:CreateDate>" + xmpDate(t) + "</xmp:CreateDate>\n"
         "   <xmp:ModifyDate>" + xmpDate(t) + "</xmp:ModifyDate>\n"
         "   <xmp:MetadataDate>" + xmpDate(t) + "</xmp:MetadataDate>\n"
         "  </rdf:Description>\n"
         "  <rdf:Description rdf:about=\"\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\">\n"
         "   <pdf:Producer>" + xml(producer()) + "</pdf:Producer>\n";
    if (!meta.keywords.isEmpty())
        x += "   <pdf:Keywords>" + xml(meta.keywords) + "</pdf:Keywords>\n";
    x += "  </rdf:Description>\n"
         "  <rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\">\n"
         "   <pdfaid:part>1</pdfaid:part>\n"
         "   <pdfaid:conformance>B</pdfaid:conformance>\n"
         "  </rdf:Description>\n"
         " </rdf:RDF>\n"
         "</x:xmpmeta>\n";
    // Room for a later editor to add to the packet in place.
    for (int i = 0; i < 16; ++i)
        x += QByteArray(99, ' ') + '\n';
    x += "<?xpacket end='w'?>";
    return x;
}

bool stampPdfMetadata(QByteArray &pdf, const PdfMetadata &meta, QString *error)
{
    const QString notQtPdf = QStringLiteral("Il PDF scritto non ha la struttura attesa.");
    // The one cross-reference table Qt writes, and the trailer after it.
    const qint64 startxref = pdf.lastIndexOf("startxref");
    if (startxref < 0)
        return fail(error, notQtPdf);
    qint64 at = skipLineEnd(pdf, startxref + 9);
    const qint64 xrefOffset = pdf.mid(at, 20).trimmed().split('\n').value(0).trimmed().toLongLong();
    if (xrefOffset <= 0 || xrefOffset >= startxref || !pdf.mid(xrefOffset).startsWith("xref"))
        return fail(error, notQtPdf);
    const qint64 trailer = pdf.indexOf("trailer", xrefOffset);
    if (trailer < 0 || trailer > startxref)
        return fail(error, notQtPdf);

    struct Section {
        int first;
        std::vector<QByteArray> entries; // 20 bytes each
    };
    std::vector<Section> sections;
    at = skipLineEnd(pdf, xrefOffset + 4);
    while (at < trailer) {
        const qint64 lineEnd = pdf.indexOf('\n', at);
        const QList<QByteArray> head = pdf.mid(at, lineEnd - at).trimmed().split(' ');
        bool ok1 = false, ok2 = false;
        Section s{head.value(0).toInt(&ok1), {}};
        const int count = head.value(1).toInt(&ok2);
        if (head.size() != 2 || !ok1 || !ok2 || count < 0)
            return fail(error, notQtPdf);
        at = lineEnd + 1;
        for (int i = 0; i < count; ++i, at += 20)
            s.entries.push_back(pdf.mid(at, 20));
        if (at > trailer)
            return fail(error, notQtPdf);
        sections.push_back(std::move(s));
    }
    const QByteArray trailerText = pdf.mid(trailer, startxref - trailer);

    const auto offsetOf = [&sections](int object) -> qint64 {
        for (const Section &s : sections) {
            if (object >= s.first && object < s.first + int(s.entries.size())) {
                const QByteArray &e = s.entries[std::size_t(object - s.first)];
                return e.size() == 20 && e[17] == 'n' ? e.left(10).toLongLong() : -1;
            }
        }
        return -1;
    };
    const auto objectSpan = [&](int object, qint64 *start, qint64 *end) {
        *start = offsetOf(object);
        if (*start <= 0 || !pdf.mid(*start).startsWith(QByteArray::number(object) + " 0 obj"))
            return false;
        const qint64 e = pdf.indexOf("endobj", *start);
        if (e < 0 || e > xrefOffset)
            return false;
        *end = skipLineEnd(pdf, e + 6);
        return true;
    };
    const auto reference = [](const QByteArray &text, const char *key) {
        const QRegularExpression re(QStringLiteral("/%1\\s+(\\d+)\\s+0\\s+R").arg(QLatin1String(key)));
        const QRegularExpressionMatch m = re.match(QString::fromLatin1(text));
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };

    const int info = reference(trailerText, "Info");
    const int root = reference(trailerText, "Root");
    qint64 infoStart = 0, infoEnd = 0, rootStart = 0, rootEnd = 0, xmpStart = 0, xmpEnd = 0;
    if (info < 0 || root < 0 || !objectSpan(info, &infoStart, &infoEnd) || !objectSpan(root, &rootStart, &rootEnd))
        return fail(error, notQtPdf);
    const int xmp = reference(pdf.mid(rootStart, rootEnd - rootStart), "Metadata");
    if (xmp < 0 || !objectSpan(xmp, &xmpStart, &xmpEnd))
        return fail(error, notQtPdf);

    const QByteArray packet = pdfXmpPacket(meta);
    std::vector<Span> spans{
        {infoStart, infoEnd, QByteArray::number(info) + " 0 obj\n<<\n" + pdfInfoDictionary(meta) + ">>\nendobj\n"},
        {xmpStart, xmpEnd,
         QByteArray::number(xmp) + " 0 obj\n<<\n/Type /Metadata /Subtype /XML\n/Length "
             + QByteArray::number(packet.size()) + "\n>>\nstream\n" + packet + "\nendstream\nendobj\n"},
    };
    std::sort(spans.begin(), spans.end(), [](const Span &a, const Span &b) { return a.start < b.start; });
    if (spans[0].end > spans[1].start)
        return fail(error, notQtPdf);

    const auto moved = [&spans](qint64 old) {
        qint64 shift = 0;
        for (const Span &s : spans) {
            if (s.end <= old)
                shift += s.replacement.size() - (s.end - s.start);
        }
        return old + shift;
    };

    QByteArray out;
    out.reserve(pdf.size() + 8192);
    qint64 copied = 0;
    for (const Span &s : spans) {
        out += pdf.mid(copied, s.start - copied);
        out += s.replacement;
        copied = s.end;
    }
    out += pdf.mid(copied, xrefOffset - copied);
    const qint64 newXref = out.size();
    out += "xref\n";
    for (const Section &s : sections) {
        out += QByteArray::number(s.first) + ' ' + QByteArray::number(qsizetype(s.entries.size())) + '\n';
        for (const QByteArray &e : s.entries) {
            if (e[17] == 'n')
                out += QByteArray::number(moved(e.left(10).toLongLong())).rightJustified(10, '0') + e.mid(10);
            else
                out += e;
        }
    }
    out += trailerText;
    out += "startxref\n" + QByteArray::number(newXref) + "\n%%EOF\n";
    pdf = out;
    return true;
}

bool stampPdfFile(const QString &path, const PdfMetadata &meta, QString *error)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("Impossibile leggere il file \"%1\":\n%2").arg(path, fileErrorText(in)));
    QByteArray pdf = in.readAll();
    in.close();
    if (!stampPdfMetadata(pdf, meta, error))
        return false;
    QString why;
    if (!files::writeWholeFile(path, pdf, &why))
        return fail(error, QStringLiteral("Impossibile scrivere il file \"%1\":\n%2").arg(path, why));
    return true;
}

QByteArray pdfaDocument(const PdfMetadata &meta, const std::function<bool(QPdfWriter *)> &paint)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(600);
        // PDF/A-1b: what courts' and banks' filing systems take as it is.
        writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        writer.setTitle(meta.title);
        writer.setCreator(meta.creator);
        if (!paint(&writer))
            return {};
    }
    buffer.close();
    if (!stampPdfMetadata(bytes, meta))
        return {};
    return bytes;
}

bool writePdfBytes(const QString &path, const QByteArray &pdf, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    QString why;
    if (!files::writeWholeFile(path, pdf, &why))
        return fail(QStringLiteral("Impossibile scrivere il file \"%1\":\n%2").arg(QDir::toNativeSeparators(path), why));
    return true;
}

} // namespace brevan::report
