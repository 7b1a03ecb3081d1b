// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The market comparison as a document: tables with a column of labels and a
// column per property, and the result lines. Built by buildMcaDocument
// (mcacontent.h); the window shows it, the printed report's page "Stima MCA"
// paints it, and it is exported as RTF and PDF.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

class QPagedPaintDevice;

namespace brevan::report {

struct McaTable {
    QString title;
    QStringList header;        // header[0] heads the column of labels
    QVector<QStringList> rows; // rows[i][0] is the label
    QVector<int> emphasised;   // rows printed in bold
    QString note;              // a line under the table
};

struct McaDocument {
    QString title = QStringLiteral("Stima per confronto di mercato (MCA)");
    QStringList heading;       // the appraisal and the appraiser, under the title
    QString fileTitle;         // the title naming them, for the PDF; the title when empty
    QString author;            // the appraiser
    QVector<McaTable> tables;
    QStringList results;       // the result lines in order
    bool hasValue = false;
    int warningLine = -1;      // the result line that warns of the divergence
    int valueLine = -1;        // the result line with the value
    QStringList problems;      // where and what, when there is no value
};

// The columns a printed page holds beside the labels.
inline constexpr int kPrintedColumns = 5;

// Whether a cell holds a number (and is aligned to the right).
bool isNumericCell(const QString &text);
// "261.282,00 €" and the like.
QString euroText(double value);

// The document as an RTF file: Arial, headings in navy, real RTF tables.
QByteArray mcaRtf(const McaDocument &document);

// The document on A4 pages with the report's page frame; false when the
// device cannot be painted on.
bool renderMcaDocument(QPagedPaintDevice *device, const McaDocument &document);
// As a PDF file, whole or not at all; the reason in *error on failure.
bool writeMcaPdf(const QString &path, const McaDocument &document, QString *error);

} // namespace brevan::report
