// SPDX-License-Identifier: GPL-2.0-or-later
#include "omisales.h"
#include "omitables.h"

#include <QDir>
#include <QMap>
#include <QSet>

#include <algorithm>

namespace brevan::omi {

namespace {

// The widths of the sale table's texts: a zone code is a few characters
// ("B1", "R12"), its description as long as the published ones run.
const Layout kSalesLayout{
    {QStringLiteral("Semestre"), ColumnType::Text, 6},
    {QStringLiteral("Fascia"), ColumnType::Text, 1},
    {QStringLiteral("Zona"), ColumnType::Text, 10},
    {QStringLiteral("DescrZona"), ColumnType::Text, 150},
    {QStringLiteral("Microzona"), ColumnType::Text, 10},
    {QStringLiteral("Tipologia"), ColumnType::Text, 4},
    {QStringLiteral("DescrTipologia"), ColumnType::Text, 60},
    {QStringLiteral("Stato"), ColumnType::Text, 10},
    {QStringLiteral("StatoPrevalente"), ColumnType::Logical, 0},
    {QStringLiteral("ComprMin"), ColumnType::Text, 15},
    {QStringLiteral("ComprMax"), ColumnType::Text, 15},
    {QStringLiteral("SupNLCompr"), ColumnType::Text, 1},
    {QStringLiteral("SupNLLoc"), ColumnType::Text, 1},
};

QString charText(QChar c)
{
    return c.isNull() ? QString() : QString(c);
}

} // namespace

QString salesTableName(const QString &municipality, const QString &postalCode, const QString &provinceCode)
{
    return QStringLiteral("QuotazioniOMI") + municipality + postalCode + provinceCode + QStringLiteral(".db");
}

const Layout &salesLayout()
{
    return kSalesLayout;
}

QVariantList PlannedSale::values() const
{
    QVariantList v(SalesColumnCount);
    v[SSemester] = semester.text();
    v[SBand] = charText(band);
    v[SZone] = zone;
    v[SZoneDescription] = zoneDescription;
    v[SMicrozone] = microzone;
    v[SType] = QString::number(type);
    v[STypeName] = typeName;
    v[SState] = state;
    v[SPrevalent] = prevalent;
    v[SMin] = min.text();
    v[SMax] = max.text();
    v[SSaleSurface] = charText(saleSurface);
    v[SRentSurface] = charText(rentSurface);
    return v;
}

bool isUsableSaleRange(const Decimal &min, const Decimal &max)
{
    return min.isPositive() && max.isPositive() && Decimal::compare(min, max) <= 0;
}

SalePlan Quotations::salesOf(const QString &code) const
{
    // The zones' descriptions and microzones from the ZONE files, a later
    // semester over an earlier one.
    struct ZoneInfo {
        Semester semester;
        QString description;
        QString microzone;
    };
    QHash<QString, ZoneInfo> zoneInfo;
    QMap<std::pair<int, int>, const Where *> bySemester;
    for (const Where &w : whereOf(code)) {
        const QuotationFile &f = m_files.at(w.file);
        if (f.kind == FileKind::Values) {
            bySemester[{f.semester.year, f.semester.half}] = &w;
            continue;
        }
        for (int r : w.rows) {
            const ZoneRow &z = f.zones.at(r);
            auto it = zoneInfo.find(z.zone);
            if (it == zoneInfo.end() || !(f.semester < it->semester))
                zoneInfo.insert(z.zone, {f.semester, z.description, z.microzone});
        }
    }
    SalePlan plan;
    for (const Where *w : std::as_const(bySemester)) {
        const QuotationFile &f = m_files.at(w->file);
        for (int r : w->rows) {
            const ValueRow &v = f.values.at(r);
            if (!isUsableSaleRange(v.saleMin, v.saleMax)) {
                ++plan.badRanges;
                continue;
            }
            const ZoneInfo info = zoneInfo.value(v.zone);
            plan.rows.append({f.semester, v.band, v.zone, info.description, info.microzone, v.type, v.typeName,
                              v.state, v.prevalent, v.saleMin, v.saleMax, v.saleSurface, v.rentSurface});
        }
    }
    return plan;
}

SaleMerge mergeSales(const QVector<QVariantList> &existing, const QVector<PlannedSale> &sales)
{
    QSet<QString> imported;
    for (const PlannedSale &s : sales)
        imported.insert(s.semester.text());
    SaleMerge merge;
    for (const QVariantList &row : existing) {
        const bool empty = std::all_of(row.begin(), row.end(), [](const QVariant &v) {
            return v.typeId() == QMetaType::Bool ? !v.toBool() : v.toString().trimmed().isEmpty();
        });
        if (!empty && !imported.contains(row.value(SSemester).toString().trimmed()))
            merge.rows.append(row);
    }
    for (const PlannedSale &s : sales)
        merge.rows.append(s.values());
    merge.added = int(sales.size());
    if (merge.rows.size() <= kMaxTableRows)
        return merge;
    // "2024/2" sorts as text in the order of the semesters.
    QStringList semesters;
    for (const QVariantList &row : std::as_const(merge.rows)) {
        const QString s = row.value(SSemester).toString();
        if (!semesters.contains(s))
            semesters << s;
    }
    std::sort(semesters.begin(), semesters.end());
    for (const QString &oldest : std::as_const(semesters)) {
        if (merge.rows.size() <= kMaxTableRows)
            break;
        const qsizetype before = merge.rows.size();
        merge.rows.removeIf([&](const QVariantList &row) { return row.value(SSemester).toString() == oldest; });
        merge.dropped += int(before - merge.rows.size());
    }
    // One semester alone beyond the limit keeps its first rows.
    if (merge.rows.size() > kMaxTableRows) {
        merge.dropped += int(merge.rows.size() - kMaxTableRows);
        merge.rows.resize(kMaxTableRows);
    }
    return merge;
}

QVector<QVariantList> readSalesRows(const QString &path)
{
    if (!Table::exists(path))
        return {};
    const Table table = Table::open(path, Trust::Foreign, false);
    if (table.layout() != salesLayout())
        throw StoreError(QStringLiteral("La tabella \"%1\" non ha la struttura attesa.")
                             .arg(QDir::toNativeSeparators(path)));
    return table.rows();
}

} // namespace brevan::omi
