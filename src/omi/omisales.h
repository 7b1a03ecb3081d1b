// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The OMI sale ranges of a municipality kept in a table of its own in the
// data folder, beside its zone and unit-rent tables: one row per semester,
// zone, building type and state, with Compr_min and Compr_max (€/m²) and
// whether they refer to the gross or the net surface.
#include "quotations.h"
#include "store/tablestore.h"

#include <QStringList>
#include <QVector>

namespace brevan::omi {

// "QuotazioniOMI" + municipality + postal code + province code + ".db", the
// parts taken as they stand, as the zone and unit-rent tables are named.
QString salesTableName(const QString &municipality, const QString &postalCode, const QString &provinceCode);
const Layout &salesLayout();

// Column positions in salesLayout().
enum SalesColumn {
    SSemester, SBand, SZone, SZoneDescription, SMicrozone, SType, STypeName, SState, SPrevalent, SMin, SMax,
    SSaleSurface, SRentSurface, SalesColumnCount
};

struct PlannedSale {
    Semester semester;
    QChar band;
    QString zone;
    QString zoneDescription; // from the ZONE file, when one was read
    QString microzone;
    int type = 0;
    QString typeName;
    QString state;
    bool prevalent = false;
    Decimal min; // €/m²
    Decimal max;
    QChar saleSurface; // 'L', 'N' or null
    QChar rentSurface;

    QVariantList values() const; // one row of salesLayout()
};

struct SalePlan {
    QVector<PlannedSale> rows;
    // Quotation rows whose sale range cannot be used: min above max, zero or
    // empty. They are not kept.
    int badRanges = 0;
};

// Whether a quotation row's sale range can be kept.
bool isUsableSaleRange(const Decimal &min, const Decimal &max);

struct SaleMerge {
    QVector<QVariantList> rows;
    int added = 0;
    int dropped = 0; // rows of the oldest semesters left out to stay readable
};
// The sale table after an import: the semesters imported replace their rows,
// the others stay; when the table would hold more rows than the program
// reads, the oldest semesters go first.
SaleMerge mergeSales(const QVector<QVariantList> &existing, const QVector<PlannedSale> &sales);

// Reads a sale table (a missing file reads as no rows); throws StoreError for
// a table of another layout.
QVector<QVariantList> readSalesRows(const QString &path);

} // namespace brevan::omi
