// SPDX-License-Identifier: GPL-2.0-or-later
#include "omitable.h"

#include <QDir>
#include <QJsonArray>

namespace brevan::files {

namespace {

// The columns of the one row, with the widths of the quotations' texts.
struct OmiColumn {
    const char *name;
    int size;
};
enum OmiField { FZone, FType, FState, FSemester, FFloor, FHasQuote, FBand, FZoneDescription, FMicrozone,
                FTypeName, FMin, FMax, FNet, FQuoteSemester, OmiFieldCount };
const OmiColumn kColumns[OmiFieldCount] = {
    {"Zona", 10},      {"Tipologia", 4},   {"Stato", 10},     {"Semestre", 6},        {"Piano", 30},
    {"Quotazione", 0}, {"Fascia", 1},      {"DescrZona", 150}, {"Microzona", 10},     {"DescrTipologia", 60},
    {"ComprMin", 15},  {"ComprMax", 15},   {"SupNLCompr", 1}, {"SemestreQuotazione", 6},
};

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Amounts as plain number text with a decimal comma, as the program's tables
// keep them ("1150", "1150,5").
QString amountText(double v)
{
    return QString::number(v, 'g', 15).replace(u'.', u',');
}

double amountOf(const QString &text, const QString &path)
{
    bool ok = false;
    const double v = QString(text).replace(u',', u'.').toDouble(&ok);
    if (!ok || !(v >= 0))
        throw StoreError(QStringLiteral("La tabella \"%1\" contiene un importo non valido: \"%2\".")
                             .arg(native(path), text));
    return v;
}

} // namespace

Layout omiLayout()
{
    Layout l;
    for (const OmiColumn &c : kColumns)
        l << Column{QString::fromLatin1(c.name), c.size == 0 ? ColumnType::Logical : ColumnType::Text, c.size};
    return l;
}

QVector<QVariantList> omiRows(const StoredOmi &stored)
{
    if (stored.choice.isEmpty())
        return {};
    QVariantList row(OmiFieldCount);
    const omiband::Choice &c = stored.choice;
    row[FZone] = c.zone;
    row[FType] = c.type;
    row[FState] = c.state;
    row[FSemester] = c.semester;
    row[FFloor] = c.floor;
    row[FHasQuote] = stored.quote.has_value();
    const omiband::Quote q = stored.quote.value_or(omiband::Quote{});
    row[FBand] = q.band;
    row[FZoneDescription] = q.zoneDescription;
    row[FMicrozone] = q.microzone;
    row[FTypeName] = q.typeName;
    row[FMin] = stored.quote ? amountText(q.min) : QString();
    row[FMax] = stored.quote ? amountText(q.max) : QString();
    row[FNet] = stored.quote ? (q.net ? QStringLiteral("N") : QStringLiteral("L")) : QString();
    row[FQuoteSemester] = q.semester;
    return {row};
}

StoredOmi readOmiTable(const QString &path)
{
    const Table t = Table::open(path, Trust::Foreign, false);
    if (t.layout() != omiLayout())
        throw StoreError(QStringLiteral("La tabella \"%1\" non è un confronto con le quotazioni OMI.").arg(native(path)));
    const QVector<qint64> ids = t.rowIds();
    StoredOmi stored;
    if (ids.isEmpty())
        return stored;
    if (ids.size() > 1)
        throw StoreError(QStringLiteral("La tabella \"%1\" ha più di una riga.").arg(native(path)));
    const qint64 id = ids.first();
    const auto text = [&](OmiField f) { return t.text(id, QString::fromLatin1(kColumns[f].name)); };
    omiband::Choice &c = stored.choice;
    c.zone = text(FZone);
    c.type = text(FType);
    c.state = text(FState);
    c.semester = text(FSemester);
    c.floor = text(FFloor);
    if (t.logical(id, QString::fromLatin1(kColumns[FHasQuote].name))) {
        omiband::Quote q;
        q.zone = c.zone;
        q.type = c.type;
        q.state = c.state;
        q.semester = text(FQuoteSemester);
        q.band = text(FBand);
        q.zoneDescription = text(FZoneDescription);
        q.microzone = text(FMicrozone);
        q.typeName = text(FTypeName);
        q.min = amountOf(text(FMin), path);
        q.max = amountOf(text(FMax), path);
        q.net = text(FNet) == QLatin1String("N");
        stored.quote = q;
    }
    return stored;
}

QJsonValue omiJson(const omiband::Outcome &o)
{
    if (!o.hasBand() || !o.quote)
        return QJsonValue(QJsonValue::Null);
    const omiband::Quote &q = *o.quote;
    QJsonObject json;
    json.insert(QStringLiteral("fonte"), QStringLiteral("Agenzia Entrate - OMI"));
    json.insert(QStringLiteral("semestre"), q.semester);
    json.insert(QStringLiteral("zona"), q.zone);
    json.insert(QStringLiteral("descrizioneZona"), q.zoneDescription);
    json.insert(QStringLiteral("tipologia"), q.type);
    json.insert(QStringLiteral("descrizioneTipologia"), q.typeName);
    json.insert(QStringLiteral("stato"), q.state);
    json.insert(QStringLiteral("comprMin"), q.min);
    json.insert(QStringLiteral("comprMax"), q.max);
    json.insert(QStringLiteral("supNLCompr"), q.net ? QStringLiteral("N") : QStringLiteral("L"));
    json.insert(QStringLiteral("superficie"), o.surface);
    json.insert(QStringLiteral("fasciaMin"), o.band->low);
    json.insert(QStringLiteral("fasciaMax"), o.band->high);
    json.insert(QStringLiteral("K1"), o.k1);
    if (o.floorKnown) {
        json.insert(QStringLiteral("piano"), o.floor);
        json.insert(QStringLiteral("K2"), o.k2);
        json.insert(QStringLiteral("K"), o.k);
    } else {
        json.insert(QStringLiteral("piano"), QJsonValue(QJsonValue::Null));
        json.insert(QStringLiteral("K2"), QJsonValue(QJsonValue::Null));
        json.insert(QStringLiteral("K"), QJsonValue(QJsonValue::Null));
    }
    json.insert(QStringLiteral("valoreNormale"),
                o.valoreNormale ? QJsonValue(*o.valoreNormale) : QJsonValue(QJsonValue::Null));
    json.insert(QStringLiteral("semestreOltreDueAnni"), o.oldSemester);
    QJsonArray values;
    for (const omiband::PlacedValue &p : o.values) {
        QJsonObject v;
        v.insert(QStringLiteral("procedimento"), p.name);
        v.insert(QStringLiteral("valore"), p.value ? QJsonValue(*p.value) : QJsonValue(QJsonValue::Null));
        v.insert(QStringLiteral("posizione"),
                 p.value ? QJsonValue(omiband::placementText(p.position)) : QJsonValue(QJsonValue::Null));
        values.append(v);
    }
    json.insert(QStringLiteral("valori"), values);
    return json;
}

} // namespace brevan::files
