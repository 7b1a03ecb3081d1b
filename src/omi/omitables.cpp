// SPDX-License-Identifier: GPL-2.0-or-later
#include "omitables.h"

#include "data/municipalities.h"
#include "store/datafolder.h"
#include "store/tablebatch.h"
#include "store/tablestore.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMap>

#include <algorithm>

namespace brevan::omi {

namespace {

struct BandCentrality {
    char16_t band;
    const char *centrality;
};

// B centrale, C semicentrale, D periferica, E suburbana, R rurale.
const BandCentrality kBands[] = {
    {u'B', "Zona centrale"},   {u'C', "Zona intermedia"}, {u'D', "Zona periferica"},
    {u'E', "Zona periferica"}, {u'R', "Zona periferica"},
};

struct CategoryType {
    const char *category;
    int type;
};

const CategoryType kCategoryTypes[] = {
    {"A/2", kTypeCivil},
    {"A/3", kTypeEconomic},
    {"A/7", kTypeVillas},
    {"A/8", kTypeVillas},
};

// The centralities in the order the rent rows are written.
const char *const kCentralities[] = {"Zona centrale", "Zona intermedia", "Zona periferica"};

constexpr int kZoneNameSize = 30;

// Tables written between two syncs of the disk by a whole import.
constexpr int kBatchTables = 1000;

int fieldIndex(const Layout &layout, const char *name)
{
    for (int i = 0; i < layout.size(); ++i) {
        if (layout.at(i).name == QLatin1String(name))
            return i;
    }
    return -1;
}

bool allEmpty(const QStringList &row)
{
    return std::all_of(row.begin(), row.end(), [](const QString &s) { return s.trimmed().isEmpty(); });
}

QString zoneName(const QString &zone, const QString &description)
{
    const QString name = description.isEmpty() ? zone : zone + u' ' + description;
    QString cut = name.left(kZoneNameSize);
    while (cut.endsWith(u' '))
        cut.chop(1);
    return cut;
}

} // namespace

const QStringList &states()
{
    static const QStringList s{QStringLiteral("OTTIMO"), kStateNormal, QStringLiteral("SCADENTE")};
    return s;
}

int typeForCategory(const QString &category)
{
    const QString c = category.trimmed().toUpper();
    for (const CategoryType &t : kCategoryTypes) {
        if (c == QLatin1String(t.category))
            return t.type;
    }
    return kTypeCivil;
}

QString centralityOfBand(QChar band)
{
    for (const BandCentrality &b : kBands) {
        if (band == QChar(b.band))
            return QString::fromLatin1(b.centrality);
    }
    return {};
}

void Quotations::add(QuotationFile file)
{
    const int index = int(m_files.size());
    QHash<QString, QVector<int>> rowsByCode;
    const auto note = [&](const QString &code, int row) {
        auto it = rowsByCode.find(code);
        if (it == rowsByCode.end()) {
            it = rowsByCode.insert(code, {});
            if (!m_where.contains(code))
                m_codes << code;
        }
        it->append(row);
    };
    for (int i = 0; i < file.values.size(); ++i)
        note(file.values.at(i).code, i);
    for (int i = 0; i < file.zones.size(); ++i)
        note(file.zones.at(i).code, i);
    // A municipality whose only rows are damaged is still one of the file's.
    for (const QString &code : std::as_const(file.damaged)) {
        if (!rowsByCode.contains(code))
            note(code, -1);
    }
    for (auto it = rowsByCode.begin(); it != rowsByCode.end(); ++it) {
        it->removeAll(-1);
        m_where[it.key()].append({index, *it});
    }
    m_files.append(std::move(file));
}

const QVector<Quotations::Where> &Quotations::whereOf(const QString &code) const
{
    static const QVector<Where> none;
    const auto it = m_where.constFind(code);
    return it == m_where.cend() ? none : *it;
}

bool Quotations::isDamaged(const QString &code) const
{
    for (const Where &w : whereOf(code)) {
        if (m_files.at(w.file).damaged.contains(code))
            return true;
    }
    return false;
}

QVector<Problem> Quotations::problemsOf(const QString &code) const
{
    QVector<Problem> out;
    for (const QuotationFile &f : m_files) {
        for (const Problem &p : f.problems) {
            if (p.codes.contains(code))
                out << p;
        }
    }
    return out;
}

QString Quotations::omiName(const QString &code) const
{
    for (const Where &w : whereOf(code)) {
        const QuotationFile &f = m_files.at(w.file);
        for (int r : w.rows) {
            const QString &name = f.kind == FileKind::Values ? f.values.at(r).municipality : f.zones.at(r).municipality;
            if (!name.isEmpty())
                return name;
        }
    }
    return {};
}

int Quotations::rowCount(const QString &code) const
{
    int n = 0;
    for (const Where &w : whereOf(code))
        n += int(w.rows.size());
    return n;
}

QVector<QPair<int, QString>> Quotations::typesOf(const QString &code) const
{
    QMap<int, QString> types;
    for (const Where &w : whereOf(code)) {
        const QuotationFile &f = m_files.at(w.file);
        if (f.kind != FileKind::Values)
            continue;
        for (int r : w.rows) {
            const ValueRow &v = f.values.at(r);
            QString &name = types[v.type];
            if (name.isEmpty())
                name = v.typeName;
        }
    }
    QVector<QPair<int, QString>> out;
    for (auto it = types.cbegin(); it != types.cend(); ++it)
        out.append({it.key(), it.value()});
    return out;
}

Semester Quotations::latestSemester(const QString &code) const
{
    Semester latest;
    for (const Where &w : whereOf(code)) {
        const Semester &s = m_files.at(w.file).semester;
        if (latest < s)
            latest = s;
    }
    return latest;
}

QVector<PlannedZone> Quotations::zonesOf(const QString &code) const
{
    // The latest file of each kind; a later one of the same semester wins.
    const Where *zoneFile = nullptr;
    const Where *valueFile = nullptr;
    for (const Where &w : whereOf(code)) {
        const QuotationFile &f = m_files.at(w.file);
        const Where *&best = f.kind == FileKind::Zones ? zoneFile : valueFile;
        if (!best || !(f.semester < m_files.at(best->file).semester))
            best = &w;
    }
    const Where *from = zoneFile ? zoneFile : valueFile;
    QVector<PlannedZone> zones;
    if (!from)
        return zones;
    const QuotationFile &f = m_files.at(from->file);
    QSet<QString> seen;
    for (int r : from->rows) {
        const bool isZoneFile = f.kind == FileKind::Zones;
        const QString &zone = isZoneFile ? f.zones.at(r).zone : f.values.at(r).zone;
        if (seen.contains(zone))
            continue;
        seen.insert(zone);
        const QChar band = isZoneFile ? f.zones.at(r).band : f.values.at(r).band;
        zones.append({zoneName(zone, isZoneFile ? f.zones.at(r).description : QString()), centralityOfBand(band)});
    }
    return zones;
}

RentPlan Quotations::rentsOf(const QString &code, const Options &options) const
{
    // One VALORI file per semester, the last one given for it, oldest first.
    QMap<std::pair<int, int>, const Where *> bySemester;
    for (const Where &w : whereOf(code)) {
        const QuotationFile &f = m_files.at(w.file);
        if (f.kind == FileKind::Values)
            bySemester[{f.semester.year, f.semester.half}] = &w;
    }
    RentPlan plan;
    const QString state = options.state.trimmed().toUpper();
    for (const Where *w : std::as_const(bySemester)) {
        const QuotationFile &f = m_files.at(w->file);
        const int year = options.year > 0 ? options.year : f.semester.year;
        if (year <= 0) {
            plan.unknownYear = true;
            continue;
        }
        // The rows of the type chosen, zone by zone in file order.
        QStringList zoneOrder;
        QHash<QString, QVector<int>> byZone;
        QSet<QString> allZones;
        for (int r : w->rows) {
            const ValueRow &v = f.values.at(r);
            if (!allZones.contains(v.zone))
                allZones.insert(v.zone);
            if (v.type != options.type)
                continue;
            if (!byZone.contains(v.zone))
                zoneOrder << v.zone;
            byZone[v.zone].append(r);
        }
        plan.zonesWithoutType += int(allZones.size() - zoneOrder.size());

        struct Range {
            Decimal min, max;
            bool any = false;
        };
        QHash<QString, Range> ranges;
        for (const QString &zone : std::as_const(zoneOrder)) {
            const QVector<int> &rows = byZone.value(zone);
            QVector<int> chosen;
            for (int r : rows) {
                if (f.values.at(r).state == state)
                    chosen << r;
            }
            if (chosen.isEmpty()) {
                for (int r : rows) {
                    if (f.values.at(r).prevalent)
                        chosen << r;
                }
            }
            for (int r : std::as_const(chosen)) {
                const ValueRow &v = f.values.at(r);
                if (!v.rentMin.isPositive() || !v.rentMax.isPositive()) {
                    ++plan.emptyRents;
                    continue;
                }
                ++plan.usedRows;
                Range &range = ranges[centralityOfBand(v.band)];
                if (!range.any || Decimal::compare(v.rentMin, range.min) < 0)
                    range.min = v.rentMin;
                if (!range.any || Decimal::compare(v.rentMax, range.max) > 0)
                    range.max = v.rentMax;
                range.any = true;
            }
        }
        for (const char *c : kCentralities) {
            const QString centrality = QString::fromLatin1(c);
            const auto it = ranges.constFind(centrality);
            if (it != ranges.cend())
                plan.rows.append({year, f.semester, centrality, it->min, it->max});
        }
    }
    return plan;
}

ZoneMerge mergeZones(const TextRows &existing, const QVector<PlannedZone> &zones)
{
    const Layout &layout = zonesLayout();
    const int nameAt = fieldIndex(layout, "ZonaUrbana");
    const int centralityAt = fieldIndex(layout, "CentralitaZona");
    ZoneMerge merge;
    for (const QStringList &row : existing) {
        if (!allEmpty(row))
            merge.rows.append(row);
    }
    for (const PlannedZone &zone : zones) {
        bool found = false;
        for (QStringList &row : merge.rows) {
            if (row.value(nameAt).trimmed() == zone.name) {
                row[centralityAt] = zone.centrality;
                found = true;
            }
        }
        if (found) {
            ++merge.updated;
            continue;
        }
        QStringList row(layout.size());
        row[nameAt] = zone.name;
        row[centralityAt] = zone.centrality;
        merge.rows.append(row);
        ++merge.added;
    }
    return merge;
}

RentMerge mergeRents(const TextRows &existing, const QVector<PlannedRent> &rents)
{
    const Layout &layout = unitRentsLayout();
    const int yearAt = fieldIndex(layout, "Anno");
    const int minAt = fieldIndex(layout, "CanoneLocazMin");
    const int maxAt = fieldIndex(layout, "CanoneLocazMax");
    const int zoneAt = fieldIndex(layout, "Zona");
    RentMerge merge;
    for (const QStringList &row : existing) {
        if (!allEmpty(row))
            merge.rows.append(row);
    }
    for (const PlannedRent &rent : rents) {
        const QString year = QString::number(rent.year);
        const qsizetype before = merge.rows.size();
        merge.rows.removeIf([&](const QStringList &row) {
            return row.value(yearAt).trimmed() == year && row.value(zoneAt).trimmed() == rent.centrality;
        });
        if (merge.rows.size() < before)
            ++merge.replaced;
        else
            ++merge.added;
        QStringList row(layout.size());
        row[yearAt] = year;
        row[minAt] = rent.minLire();
        row[maxAt] = rent.maxLire();
        row[zoneAt] = rent.centrality;
        merge.rows.append(row);
    }
    return merge;
}

TextRows readTextRows(const QString &path, const Layout &layout)
{
    TextRows rows;
    if (!Table::exists(path))
        return rows;
    const Table table = Table::open(path, Trust::Foreign, false);
    if (table.layout() != layout)
        throw StoreError(QStringLiteral("La tabella \"%1\" non ha la struttura attesa.")
                             .arg(QDir::toNativeSeparators(path)));
    for (const QVariantList &values : table.rows()) {
        QStringList row;
        row.reserve(values.size());
        for (const QVariant &v : values)
            row << v.toString();
        rows << row;
    }
    return rows;
}

QVector<QVariantList> toValues(const TextRows &rows)
{
    QVector<QVariantList> out;
    out.reserve(rows.size());
    for (const QStringList &row : rows) {
        QVariantList values;
        values.reserve(row.size());
        for (const QString &s : row)
            values << s;
        out << values;
    }
    return out;
}

namespace {

// A table the program would refuse to read is not written: its municipality
// is left as it was (the caller drops what the batch holds of it).
void refuseBeyondReadLimit(const QString &path, const TextRows &rows)
{
    if (rows.size() <= kMaxTableRows)
        return;
    throw StoreError(QStringLiteral("La tabella \"%1\" avrebbe %2 righe, più delle %3 che Brevan legge: "
                                    "le tabelle del Comune non sono state scritte.")
                         .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()))
                         .arg(QLocale(QLocale::Italian).toString(qlonglong(rows.size())),
                              QLocale(QLocale::Italian).toString(kMaxTableRows)));
}

} // namespace

ImportSummary importQuotations(const Quotations &quotations, const QString &folder, const Options &options,
                               const std::function<bool(int, int)> &progress)
{
    ImportSummary summary;
    for (const QuotationFile &f : quotations.files())
        summary.damagedRows += int(f.problems.size());

    // The tables are written in batches, each synced to the disk once before
    // its tables replace the old ones; a municipality counts as written once
    // both its tables are in place.
    struct Written {
        QStringList tables;
        int zones = 0;
        int rentRows = 0;
        int emptyRents = 0;
        int zonesWithoutType = 0;
        int saleRows = 0;
        int badSales = 0;
        int droppedSales = 0;
    };
    TableBatch batch;
    QVector<Written> inBatch;
    const auto commit = [&] {
        QHash<QString, QString> failed; // table -> message
        for (const QString &f : batch.commit())
            failed.insert(f.section(u'\t', 0, 0), f.section(u'\t', 1));
        for (const Written &w : std::as_const(inBatch)) {
            QStringList messages;
            for (const QString &t : w.tables) {
                if (failed.contains(t))
                    messages << failed.value(t);
            }
            if (!messages.isEmpty()) {
                summary.failures << messages;
                continue;
            }
            if (w.tables.isEmpty())
                ++summary.unchanged;
            else
                ++summary.municipalities;
            summary.zones += w.zones;
            summary.rentRows += w.rentRows;
            summary.emptyRents += w.emptyRents;
            summary.zonesWithoutType += w.zonesWithoutType;
            summary.saleRows += w.saleRows;
            summary.badSales += w.badSales;
            summary.droppedSales += w.droppedSales;
        }
        inBatch.clear();
    };

    const MunicipalityList &list = municipalities();
    const QStringList &codes = quotations.codes();
    const int total = int(codes.size());
    for (int i = 0; i < total; ++i) {
        if (progress && !progress(i, total)) {
            summary.stopped = true;
            return summary; // the batch in hand is dropped with its temporaries
        }
        const QString &code = codes.at(i);
        const int at = municipalityByCadastralCode(code);
        if (at < 0) {
            // A code of the list's past is not moved onto its successor: the
            // file's zones are those of the municipality that ceased.
            const QString name = quotations.omiName(code);
            QString entry = name.isEmpty() ? code : code + u' ' + name;
            if (const std::optional<FormerMunicipality> former = formerMunicipalityByCadastralCode(code))
                entry += QStringLiteral(" (") + formerMunicipalityNote(*former) + u')';
            summary.notFound << entry;
            summary.notFoundRows += quotations.rowCount(code);
            continue;
        }
        if (quotations.isDamaged(code)) {
            summary.damaged << code;
            continue;
        }
        const QVector<PlannedZone> zones = quotations.zonesOf(code);
        const RentPlan rents = quotations.rentsOf(code, options);
        const SalePlan sales = quotations.salesOf(code);
        const QString &name = list.names.at(at);
        const QString &postal = list.postalCodes.at(at);
        const QString &province = list.provinceCodes.at(at);
        const int before = batch.pending();
        try {
            const QString zonePath =
                pathInFolder(folder, municipalityTableName(MunicipalityTable::Zones, name, postal, province));
            const QString rentPath =
                pathInFolder(folder, municipalityTableName(MunicipalityTable::UnitRents, name, postal, province));
            const QString salePath = pathInFolder(folder, salesTableName(name, postal, province));
            // The tables are read before any is written: a table that cannot
            // be read leaves the municipality as it was.
            const TextRows oldZones = readTextRows(zonePath, zonesLayout());
            const TextRows oldRents = rents.rows.isEmpty() ? TextRows() : readTextRows(rentPath, unitRentsLayout());
            const QVector<QVariantList> oldSales =
                sales.rows.isEmpty() ? QVector<QVariantList>() : readSalesRows(salePath);
            // A table that already holds exactly these rows is left alone.
            Written w;
            if (!zones.isEmpty()) {
                const ZoneMerge merged = mergeZones(oldZones, zones);
                refuseBeyondReadLimit(zonePath, merged.rows);
                if (merged.rows != oldZones) {
                    batch.write(zonePath, zonesLayout(), toValues(merged.rows));
                    w.tables << QDir::toNativeSeparators(QFileInfo(zonePath).absoluteFilePath());
                }
                w.zones = merged.added + merged.updated;
            }
            if (!rents.rows.isEmpty()) {
                const RentMerge merged = mergeRents(oldRents, rents.rows);
                refuseBeyondReadLimit(rentPath, merged.rows);
                if (merged.rows != oldRents) {
                    batch.write(rentPath, unitRentsLayout(), toValues(merged.rows));
                    w.tables << QDir::toNativeSeparators(QFileInfo(rentPath).absoluteFilePath());
                }
                w.rentRows = int(rents.rows.size());
            }
            if (!sales.rows.isEmpty()) {
                const SaleMerge merged = mergeSales(oldSales, sales.rows);
                if (merged.rows != oldSales) {
                    batch.write(salePath, salesLayout(), merged.rows);
                    w.tables << QDir::toNativeSeparators(QFileInfo(salePath).absoluteFilePath());
                }
                w.saleRows = int(sales.rows.size());
                w.droppedSales = merged.dropped;
            }
            w.badSales = sales.badRanges;
            w.emptyRents = rents.emptyRents;
            w.zonesWithoutType = rents.zonesWithoutType;
            inBatch << w;
        } catch (const std::exception &e) {
            // Neither table of the municipality is replaced.
            batch.truncate(before);
            summary.failures << QString::fromUtf8(e.what());
        }
        if (batch.pending() >= kBatchTables)
            commit();
    }
    commit();
    if (progress)
        progress(total, total);
    return summary;
}

} // namespace brevan::omi
