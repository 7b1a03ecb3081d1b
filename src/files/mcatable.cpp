// SPDX-License-Identifier: GPL-2.0-or-later
#include "mcatable.h"

#include "appraisalfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryFile>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace brevan::files {

using mca::Feature;
using mca::Param;
using mca::Row;

namespace {

struct RowColumn {
    Row row;
    const char *name;
    int size; // 0 for the lift's logical
};
const RowColumn kRowColumns[mca::kRowCount] = {
    {Row::Address, "Indirizzo", 80},      {Row::SaleDate, "DataVendita", 10},
    {Row::Price, "Prezzo", 24},           {Row::Source, "Fonte", 60},
    {Row::MainSurface, "SupPrincipale", 16}, {Row::Balconies, "SupBalconi", 16},
    {Row::Cellar, "SupCantina", 16},      {Row::Garage, "SupBox", 16},
    {Row::Garden, "SupGiardino", 16},     {Row::Floor, "Piano", 8},
    {Row::Lift, "Ascensore", 0},          {Row::Maintenance, "StatoManutenzione", 8},
    {Row::Bathrooms, "Bagni", 8},
};

struct ParamColumn {
    Param param;
    const char *name;
    int size;
};
const ParamColumn kParamColumns[mca::kParamCount] = {
    {Param::AnnualChange, "SaggioVariazione", 16}, {Param::RatioBalconies, "RappBalconi", 16},
    {Param::RatioCellar, "RappCantina", 16},       {Param::RatioGarage, "RappBox", 16},
    {Param::RatioGarden, "RappGiardino", 16},      {Param::FloorRatio, "RappPiano", 16},
    {Param::MaintenanceStep, "CostoManutenzione", 24}, {Param::BathroomCost, "CostoBagno", 24},
    {Param::BathroomAge, "EtaBagno", 8},           {Param::BathroomLife, "VitaBagno", 8},
    {Param::LiftPrice, "PrezzoAscensore", 24},     {Param::Threshold, "SogliaDivergenza", 16},
};

// The name of a feature in the stored columns and in the JSON form.
const char *const kFeatureKeys[mca::kFeatureCount] = {
    "Data", "SupPrincipale", "SupBalconi", "SupCantina", "SupBox", "SupGiardino", "Piano", "Ascensore",
    "StatoManutenzione", "Bagni",
};

const QString kKind = QStringLiteral("Colonna");
const QString kSubject = QStringLiteral("Soggetto");
const QString kComparable = QStringLiteral("Comparabile");
const QString kSubjectEdited = QStringLiteral("SoggettoModificato");
const QString kCadastralSubject = QStringLiteral("SuperficieCatastale");
constexpr int kKindSize = 12;

QString name(const char *n)
{
    return QString::fromLatin1(n);
}

QString unknownColumn(Feature f)
{
    return QStringLiteral("Incognita") + name(kFeatureKeys[mca::index(f)]);
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QVariantList rowOf(const mca::SheetColumn &c, bool subject, const mca::Sheet &sheet)
{
    QVariantList row;
    row << (subject ? kSubject : kComparable);
    for (const RowColumn &rc : kRowColumns) {
        if (rc.row == Row::Lift)
            row << c.lift;
        else
            row << c.text(rc.row);
    }
    for (const ParamColumn &pc : kParamColumns)
        row << (subject ? sheet.param(pc.param) : QString());
    for (Feature f : mca::kFeatures)
        row << (subject && sheet.unknown[std::size_t(mca::index(f))]);
    row << (subject && sheet.subjectEdited);
    if (sheet.cadastralSubject)
        row << subject;
    return row;
}

mca::SheetColumn columnOf(const Table &t, qint64 id)
{
    mca::SheetColumn c;
    for (const RowColumn &rc : kRowColumns) {
        if (rc.row == Row::Lift)
            c.lift = t.logical(id, name(rc.name));
        else
            c.setText(rc.row, t.text(id, name(rc.name)));
    }
    return c;
}

QJsonValue number(double v)
{
    return std::isfinite(v) ? QJsonValue(v) : QJsonValue();
}

} // namespace

Layout mcaLayout()
{
    Layout l;
    l << Column{kKind, ColumnType::Text, kKindSize};
    for (const RowColumn &rc : kRowColumns) {
        if (rc.row == Row::Lift)
            l << Column{name(rc.name), ColumnType::Logical, 0};
        else
            l << Column{name(rc.name), ColumnType::Text, rc.size};
    }
    for (const ParamColumn &pc : kParamColumns)
        l << Column{name(pc.name), ColumnType::Text, pc.size};
    for (Feature f : mca::kFeatures)
        l << Column{unknownColumn(f), ColumnType::Logical, 0};
    l << Column{kSubjectEdited, ColumnType::Logical, 0};
    return l;
}

Layout mcaLayoutFor(const QVector<QVariantList> &rows)
{
    Layout l = mcaLayout();
    if (!rows.isEmpty() && rows.constFirst().size() > l.size())
        l << Column{kCadastralSubject, ColumnType::Logical, 0};
    return l;
}

int mcaTextSize(Row row)
{
    return kRowColumns[std::size_t(row)].size;
}

int mcaParamSize(Param param)
{
    return kParamColumns[std::size_t(param)].size;
}

QString mcaParamName(Param param)
{
    return name(kParamColumns[std::size_t(param)].name);
}

QString mcaFeatureName(Feature feature)
{
    return name(kFeatureKeys[mca::index(feature)]);
}

QVector<QVariantList> mcaRows(const mca::Sheet &sheet)
{
    QVector<QVariantList> rows{rowOf(sheet.subject, true, sheet)};
    for (const mca::SheetColumn &c : sheet.comparables)
        rows << rowOf(c, false, sheet);
    return rows;
}

void writeMcaTable(const QString &path, const mca::Sheet &sheet)
{
    const QVector<QVariantList> rows = mcaRows(sheet);
    writeTableFile(path, mcaLayoutFor(rows), rows);
}

mca::Sheet readMcaTable(const QString &path)
{
    const Table t = Table::open(path, Trust::Foreign, false);
    Layout extended = mcaLayout();
    extended << Column{kCadastralSubject, ColumnType::Logical, 0};
    const bool cadastralColumn = t.layout() == extended;
    if (t.layout() != mcaLayout() && !cadastralColumn)
        throw StoreError(QStringLiteral("La tabella \"%1\" non è una stima per confronto di mercato.").arg(native(path)));
    const QVector<qint64> ids = t.rowIds();
    if (ids.isEmpty())
        return mca::Sheet::blank();
    if (t.text(ids.first(), kKind) != kSubject)
        throw StoreError(QStringLiteral("La tabella \"%1\" non contiene il soggetto della stima.").arg(native(path)));
    if (ids.size() > 1 + mca::kMaxComparables)
        throw StoreError(QStringLiteral("La tabella \"%1\" contiene più di %2 comparabili.")
                             .arg(native(path))
                             .arg(mca::kMaxComparables));
    mca::Sheet sheet;
    const qint64 subject = ids.first();
    sheet.subject = columnOf(t, subject);
    for (const ParamColumn &pc : kParamColumns)
        sheet.setParam(pc.param, t.text(subject, name(pc.name)));
    for (Feature f : mca::kFeatures)
        sheet.unknown[std::size_t(mca::index(f))] = t.logical(subject, unknownColumn(f));
    sheet.subjectEdited = t.logical(subject, kSubjectEdited);
    sheet.cadastralSubject = cadastralColumn && t.logical(subject, kCadastralSubject);
    for (qsizetype i = 1; i < ids.size(); ++i) {
        if (t.text(ids[i], kKind) != kComparable)
            throw StoreError(QStringLiteral("La tabella \"%1\" ha una riga non valida.").arg(native(path)));
        sheet.comparables.append(columnOf(t, ids[i]));
    }
    return sheet;
}

QJsonObject mcaJson(const mca::Sheet &sheet, const QDate &valuationDate)
{
    const auto columnJson = [](const mca::SheetColumn &c, bool subject) {
        QJsonObject o;
        for (const RowColumn &rc : kRowColumns) {
            if (subject && !mca::rowDef(rc.row).subject)
                continue;
            if (rc.row == Row::Lift)
                o.insert(name(rc.name), c.lift);
            else
                o.insert(name(rc.name), c.text(rc.row));
        }
        return o;
    };
    QJsonObject out;
    out.insert(QStringLiteral("DataStima"), mca::MonthYear{valuationDate.month(), valuationDate.year()}.text());
    out.insert(QStringLiteral("Soggetto"), columnJson(sheet.subject, true));
    QJsonArray comparables;
    for (const mca::SheetColumn &c : sheet.comparables)
        comparables.append(columnJson(c, false));
    out.insert(QStringLiteral("Comparabili"), comparables);
    QJsonObject params;
    for (const ParamColumn &pc : kParamColumns)
        params.insert(name(pc.name), sheet.param(pc.param));
    out.insert(QStringLiteral("Parametri"), params);
    QJsonArray unknown;
    for (Feature f : mca::kFeatures) {
        if (sheet.unknown[std::size_t(mca::index(f))])
            unknown.append(name(kFeatureKeys[mca::index(f)]));
    }
    out.insert(QStringLiteral("PrezziDaStimare"), unknown);

    const mca::Outcome o = mca::evaluate(sheet, valuationDate);
    QJsonArray results;
    if (o.result) {
        for (const mca::ComparableResult &cr : o.result->comparables) {
            QJsonObject prices, adjustments;
            for (Feature f : mca::kFeatures) {
                const mca::Adjustment &a = cr.adjustments[std::size_t(mca::index(f))];
                prices.insert(name(kFeatureKeys[mca::index(f)]), number(a.marginalPrice));
                adjustments.insert(name(kFeatureKeys[mca::index(f)]), number(a.amount));
            }
            QJsonObject r;
            r.insert(QStringLiteral("SuperficieCommerciale"), number(cr.commercialSurface));
            r.insert(QStringLiteral("PrezziMarginali"), prices);
            r.insert(QStringLiteral("Aggiustamenti"), adjustments);
            r.insert(QStringLiteral("PrezzoCorretto"), number(cr.corrected));
            if (o.result->systemUsed)
                r.insert(QStringLiteral("Scarto"), number(cr.residual));
            results.append(r);
        }
    }
    out.insert(QStringLiteral("Risultati"), results);
    const bool current = o.hasValue();
    out.insert(QStringLiteral("Divergenza"), current ? number(o.result->divergence) : QJsonValue());
    out.insert(QStringLiteral("OltreSoglia"), current ? QJsonValue(o.result->beyondThreshold) : QJsonValue());
    out.insert(QStringLiteral("Valore"), current ? number(o.result->value) : QJsonValue());
    out.insert(QStringLiteral("ValoreUnitario"), current ? number(o.result->unitValue) : QJsonValue());
    QJsonArray issues;
    for (const mca::Issue &i : o.issues)
        issues.append(QJsonObject{{QStringLiteral("Dove"), mca::placeText(i.place)},
                                  {QStringLiteral("Messaggio"), i.message}});
    out.insert(QStringLiteral("Problemi"), issues);
    return out;
}

} // namespace brevan::files
