// SPDX-License-Identifier: GPL-2.0-or-later
#include "cadastraltable.h"

#include <QDir>

#include <cmath>

namespace brevan::files {

namespace {

using C = CadastralClass;

// The stored name of each class: the labels of the pick list may be reworded,
// these stay.
struct ClassCode {
    C cls;
    const char *code;
};
constexpr ClassCode kClassCodes[] = {
    {C::Main, "Principale"},
    {C::IndirectLinked, "AccessorioComunicante"},
    {C::IndirectApart, "AccessorioNonComunicante"},
    {C::BalconyLinked, "BalconeComunicante"},
    {C::BalconyApart, "BalconeNonComunicante"},
    {C::OpenArea, "AreaScoperta"},
    {C::Garden, "Giardino"},
    {C::Stairs, "Scale"},
    {C::Walls, "Muri"},
    {C::SharedWalls, "MuriComunione"},
    {C::NotCounted, "NonComputata"},
};

const QString kRow = QStringLiteral("Riga");
const QString kDescription = QStringLiteral("DescrizioneSuperficie");
const QString kClass = QStringLiteral("Classe");
const QString kLowArea = QStringLiteral("ParteBassa");
const QString kWallThickness = QStringLiteral("SpessoreMuro");
constexpr int kDescriptionSize = 50; // as in the surfaces table
constexpr int kClassSize = 30;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

Layout cadastralLayout()
{
    return Layout{Column{kRow, ColumnType::Real, 0}, Column{kDescription, ColumnType::Text, kDescriptionSize},
                  Column{kClass, ColumnType::Text, kClassSize},
                  Column{kLowArea, ColumnType::Text, kCadastralMeasureSize},
                  Column{kWallThickness, ColumnType::Text, kCadastralMeasureSize}};
}

QString cadastralClassCode(CadastralClass cls)
{
    for (const ClassCode &c : kClassCodes) {
        if (c.cls == cls)
            return QString::fromLatin1(c.code);
    }
    return {};
}

std::optional<CadastralClass> cadastralClassOfCode(const QString &code)
{
    for (const ClassCode &c : kClassCodes) {
        if (code == QLatin1String(c.code))
            return c.cls;
    }
    return std::nullopt;
}

QVector<QVariantList> cadastralRows(const CadastralChoices &choices)
{
    QVector<QVariantList> rows;
    for (auto it = choices.byRow().cbegin(); it != choices.byRow().cend(); ++it) {
        const CadastralChoice &c = it.value();
        rows << QVariantList{double(it.key() + 1), c.description, c.cls ? cadastralClassCode(*c.cls) : QString(),
                             c.lowArea, c.wallThickness};
    }
    return rows;
}

CadastralChoices readCadastralTable(const QString &path)
{
    const TableData data = readTableFile(path);
    if (data.layout != cadastralLayout())
        throw StoreError(QStringLiteral("La tabella \"%1\" non è una superficie catastale.").arg(native(path)));
    CadastralChoices choices;
    for (const QVariantList &r : data.rows) {
        const double position = r.value(0).toDouble();
        // A row of the surfaces table: a whole number within what a table holds.
        if (!(position >= 1 && position <= kMaxTableRows) || position != std::floor(position))
            throw StoreError(QStringLiteral("La tabella \"%1\" ha una riga non valida.").arg(native(path)));
        const int row = int(position) - 1;
        if (choices.byRow().contains(row))
            throw StoreError(QStringLiteral("La tabella \"%1\" ripete la riga %2.").arg(native(path)).arg(row + 1));
        CadastralChoice c;
        c.description = r.value(1).toString();
        const QString code = r.value(2).toString();
        if (!code.isEmpty()) {
            c.cls = cadastralClassOfCode(code);
            if (!c.cls)
                throw StoreError(
                    QStringLiteral("La tabella \"%1\" ha una classe sconosciuta: \"%2\".").arg(native(path), code));
        }
        c.lowArea = r.value(3).toString();
        c.wallThickness = r.value(4).toString();
        choices.set(row, c);
    }
    return choices;
}

} // namespace brevan::files
