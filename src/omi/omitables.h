// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// OMI quotations turned into the rows of a municipality's zone table and
// unit-rent table: one zone row per OMI zone (its centrality from the band),
// one rent row per centrality (the lowest Loc_min and the highest Loc_max of
// its zones for the chosen building type and state, converted to Lire).
#include "omisales.h"
#include "quotations.h"
#include "store/tablestore.h"

#include <QHash>
#include <QStringList>
#include <QVariantList>

#include <functional>

namespace brevan::omi {

inline constexpr int kTypeCivil = 20;    // "Abitazioni civili"
inline constexpr int kTypeEconomic = 21; // "Abitazioni di tipo economico"
inline constexpr int kTypeVillas = 1;    // "Ville e Villini"
inline const QString kStateNormal = QStringLiteral("NORMALE");
// The states a quotation is given for, best first.
const QStringList &states();

// The building type that matches a cadastral category: A/2 civil, A/3
// economic, A/7 and A/8 villas; civil for any other.
int typeForCategory(const QString &category);
// "Zona centrale", "Zona intermedia" or "Zona periferica" for a band (B, C,
// D, E, R); empty for any other.
QString centralityOfBand(QChar band);

// What the rents are taken for.
struct Options {
    int type = kTypeCivil;
    QString state = kStateNormal; // a zone without this state gives its prevalent one
    int year = 0;                 // 0: the year of each file's semester
};

struct PlannedZone {
    QString name;       // zone code and description, cut to the field's 30 characters
    QString centrality;
};

struct PlannedRent {
    int year = 0;
    Semester semester;
    QString centrality;
    Decimal min; // €/m² a month
    Decimal max;
    QString minLire() const { return min.toLire().text(); }
    QString maxLire() const { return max.toLire().text(); }
};

struct RentPlan {
    QVector<PlannedRent> rows;
    int usedRows = 0;    // quotation rows that gave a rent
    int emptyRents = 0;  // quotation rows of the type and state chosen with no rent (empty or 0)
    int zonesWithoutType = 0; // zones with no quotation of the type chosen
    bool unknownYear = false; // a file with no semester, and no year given
};

// The quotation files read for one import, indexed by municipality.
class Quotations {
public:
    // Adds a file; a later file of the same semester and kind stands over an
    // earlier one for the municipalities both hold.
    void add(QuotationFile file);

    const QVector<QuotationFile> &files() const { return m_files; }
    // Cadastral codes of every municipality in the files, in order of first appearance.
    const QStringList &codes() const { return m_codes; }
    bool contains(const QString &code) const { return m_where.contains(code); }
    bool isDamaged(const QString &code) const;
    // The damaged rows held against the municipality.
    QVector<Problem> problemsOf(const QString &code) const;
    // The municipality's name as the files write it ("S EUFEMIA D'ASPROMONTE").
    QString omiName(const QString &code) const;
    // Quotation rows of the municipality, over all files.
    int rowCount(const QString &code) const;
    // The building types quoted for the municipality, by code, with their names.
    QVector<QPair<int, QString>> typesOf(const QString &code) const;
    // The latest semester with quotations (values or zones) of the municipality.
    Semester latestSemester(const QString &code) const;

    // The municipality's zones: from the latest ZONE file that has them, else
    // the distinct zones of the latest VALORI file; in file order.
    QVector<PlannedZone> zonesOf(const QString &code) const;
    // The rent rows, one per semester and centrality, semesters in order.
    RentPlan rentsOf(const QString &code, const Options &options) const;
    // The sale ranges of every zone, building type and state, one VALORI file
    // per semester (the last given for it), semesters in order.
    SalePlan salesOf(const QString &code) const;

private:
    struct Where {
        int file;
        QVector<int> rows;
    };
    // The files that hold the municipality, by reference: pointers into it stay valid.
    const QVector<Where> &whereOf(const QString &code) const;
    QVector<QuotationFile> m_files;
    QStringList m_codes;
    QHash<QString, QVector<Where>> m_where; // by code, files in order added
};

// A table's rows as texts, one per field of its layout.
using TextRows = QVector<QStringList>;

struct ZoneMerge {
    TextRows rows;
    int added = 0;
    int updated = 0;
};
// The zone table after an import: rows with every field empty go, a zone
// already there under the same name takes the new centrality and keeps its
// rate and judgments, new zones are appended.
ZoneMerge mergeZones(const TextRows &existing, const QVector<PlannedZone> &zones);

struct RentMerge {
    TextRows rows;
    int added = 0;
    int replaced = 0;
};
// The unit-rent table after an import: rows with every field empty go, rows
// of a year and centrality imported are replaced by the new row, which is
// appended, so that the rent lookup's last matching row is the latest one.
RentMerge mergeRents(const TextRows &existing, const QVector<PlannedRent> &rents);

// Reads a table of the layout (a missing file reads as no rows); throws
// StoreError for a table of another layout.
TextRows readTextRows(const QString &path, const brevan::Layout &layout);
QVector<QVariantList> toValues(const TextRows &rows);

struct ImportSummary {
    int municipalities = 0; // written
    int unchanged = 0;      // whose tables already held exactly the rows of the import
    int zones = 0;          // zone rows written from the quotations (new or updated)
    int rentRows = 0;       // rent rows written
    int saleRows = 0;       // sale ranges written
    int badSales = 0;       // sale ranges not kept: min above max, zero or empty
    int droppedSales = 0;   // sale ranges of old semesters left out of a full table
    int emptyRents = 0;     // quotation rows with no rent
    int zonesWithoutType = 0;
    int damagedRows = 0;
    QStringList damaged;    // cadastral codes not written because of damaged rows
    QStringList notFound;   // "Z999 NOME": codes not in force in the municipality list, with a note on former ones
    int notFoundRows = 0;   // their quotation rows, none of them placed
    QStringList failures;   // tables that could not be written, with the reason
    bool stopped = false;   // progress asked to stop: the municipalities after the last batch were not written
};

// Writes the zone table, the unit-rent table and the sale table of every
// municipality of the quotations into the folder, each file whole or not at all. progress is
// called with the municipalities done and their total; when it returns false
// the import stops, and the tables not yet committed stay as they were.
ImportSummary importQuotations(const Quotations &quotations, const QString &folder, const Options &options,
                               const std::function<bool(int, int)> &progress = {});

} // namespace brevan::omi
