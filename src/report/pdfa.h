// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// PDF/A-1b for the documents Brevan writes (the report, the printed summary
// when it goes to a PDF file). Qt's PDF engine in PDF/A-1b mode embeds the
// fonts, flattens transparency, writes the sRGB output intent and a minimal
// XMP packet; what it cannot do in Qt 6.4 is name an author or a subject.
// stampPdfMetadata() rewrites the document information dictionary and the
// XMP packet of such a file with the full set, consistent with each other,
// and fixes the cross-reference table, so the result is still one clean
// revision of the file.
#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPdfWriter;

namespace brevan::report {

struct ReportInput;

struct PdfMetadata {
    QString title;
    QString author;  // the appraiser's name; may be empty
    QString subject;
    QString keywords;
    QString creator = QStringLiteral("Brevan 2.0");
    QDateTime created; // invalid: the moment the file is written
};

// "Stima dell'unità immobiliare sita in Via Roma 10, Piano 2°, Interno 5,
// Abano Terme (PD)", the appraiser as author ("Mario Rossi"), the subject,
// from the record's texts by persisted name.
PdfMetadata appraisalMetadata(const QHash<QString, QString> &texts, const QString &subject);
// The two parts of it: "Via Roma 10, Piano 2°, Interno 5, Abano Terme (PD)"
// and "Mario Rossi"; empty when the pages hold none of it.
QString appraisalPlace(const QHash<QString, QString> &texts);
QString appraiserName(const QHash<QString, QString> &texts);
PdfMetadata reportMetadata(const ReportInput &in);
inline const QString kReportSubject =
    QStringLiteral("Relazione di stima del più probabile valore di mercato per capitalizzazione dei redditi "
                   "e per comparazione diretta");
inline const QString kSummarySubject =
    QStringLiteral("Riepilogo dei risultati della stima del più probabile valore di mercato");

// The document information dictionary (as the body between << and >>) and
// the XMP packet for the metadata; exposed for the tests.
QByteArray pdfInfoDictionary(const PdfMetadata &meta);
QByteArray pdfXmpPacket(const PdfMetadata &meta);

// Rewrites, in a PDF that Qt wrote in PDF/A-1b mode, the information
// dictionary and the catalog's XMP packet. False, with the reason in *error
// and the bytes untouched, when the file is not laid out as expected.
bool stampPdfMetadata(QByteArray &pdf, const PdfMetadata &meta, QString *error = nullptr);
// The same on a file, rewritten whole (temporary file, then rename).
bool stampPdfFile(const QString &path, const PdfMetadata &meta, QString *error = nullptr);

// A PDF/A-1b document painted by paint() on a PDF writer at 600 dpi, its
// metadata stamped; empty when it could not be painted or stamped.
QByteArray pdfaDocument(const PdfMetadata &meta, const std::function<bool(QPdfWriter *)> &paint);
// Writes the bytes whole or not at all; false with an Italian reason in
// *error.
bool writePdfBytes(const QString &path, const QByteArray &pdf, QString *error = nullptr);

// The picture resolution the report's PDF carries: enough for any printer.
inline constexpr double kPictureDpi = 300;

} // namespace brevan::report
