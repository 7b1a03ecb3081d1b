// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The report for a purpose as a document: its sections in the order the
// purpose expects, the cadastral and encumbrance tables, the values and the
// court's adjustments, the surfaces, the photos and the market comparison's
// tables; the items still missing listed first under "Elementi non
// indicati". Written as OpenDocument text and as PDF/A-1b; for a court also
// as the privacy copy, with the names of natural persons left out. Every
// text goes in as plain text, so quotes and markup come out as typed.
#include "report/mcadocument.h"
#include "valuation/purposereport.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>
#include <optional>

class QTextDocument;

namespace brevan::report {

struct PeriziaPicture {
    QString caption;
    QImage image;
};

struct PeriziaInput {
    perizia::Report report;
    perizia::AppraisalFacts facts;
    QString title;                   // "Stima dell'unità immobiliare sita in …"
    QStringList surfacesHeader;      // the surfaces table as the pages show it
    QVector<QStringList> surfaces;
    QVector<PeriziaPicture> pictures;
    std::optional<McaDocument> mca;   // its tables, printed when the comparison has a value
    bool privacy = false;             // leave out the names of natural persons
};

inline const QString kOmissis = QStringLiteral("omissis");
inline const QString kMissingHeading = QStringLiteral("Elementi non indicati");

// The sections in the order the purpose's report takes them.
QVector<perizia::Section> sectionOrder(perizia::Purpose purpose);

// The names the privacy copy leaves out: debtors, and owners and tenants who
// are natural persons.
QStringList privateNames(const perizia::Report &report);
// text with every private name (and its two words the other way round,
// "Rossi Mario") replaced by "omissis", case ignored.
QString withoutNames(const QString &text, const QStringList &names);

// The whole report as a text document.
std::unique_ptr<QTextDocument> periziaDocument(const PeriziaInput &in);

// OpenDocument text, whole or not at all; the reason in *error on failure.
bool writePeriziaOdt(const QString &path, const PeriziaInput &in, QString *error);
// PDF/A-1b bytes of the report on A4 pages; empty on failure.
QByteArray periziaPdf(const PeriziaInput &in);
bool writePeriziaPdf(const QString &path, const PeriziaInput &in, QString *error);

} // namespace brevan::report
