// SPDX-License-Identifier: GPL-2.0-or-later
#include "description.h"

#include "model/numbertext.h"
#include "model/record.h"

namespace brevan {

namespace {

int toInteger(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok)
        throw ConversionError(text);
    return v;
}

} // namespace

std::optional<QString> ImpostaEtaEdificio(const QString &constructionYear, int appraisalYear)
{
    if (constructionYear.isEmpty())
        return std::nullopt;
    const int year = toInteger(constructionYear);
    if (year < 1800 || year > appraisalYear)
        return QString();
    const int age = appraisalYear - year;
    return QString::number(age) + (age == 1 ? QStringLiteral(" anno") : QStringLiteral(" anni"));
}

FloorJudgment GiudicaQuotaDalPianoStradale(const QString &totalFloors, const QString &floor)
{
    if (totalFloors.isEmpty() || floor.isEmpty())
        return {};
    const int t = toInteger(totalFloors);
    const int p = toInteger(floor);
    if (p >= 0 && t >= p) {
        // Tested in this order: a one-floor building's floor 1 is "Primo piano".
        if (p == 0)
            return {QStringLiteral("Piano terra"), {}, false};
        if (p == 1)
            return {QStringLiteral("Primo piano"), {}, false};
        if (p == t)
            return {QStringLiteral("Ultimo piano"), {}, false};
        return {QStringLiteral("Piano intermedio"), {}, false};
    }
    return {QString(),
            QStringLiteral("Il numero di piano dell'immobile oggetto di stima non può \nsuperare il numero complessivo "
                           "dei piani, che è pari a %1.")
                .arg(totalFloors),
            true};
}

std::optional<QString> categoryHint(const QString &category)
{
    if (category.isEmpty())
        return QStringLiteral("|Categoria catastale del fabbricato.");
    for (const CadastralCategory &c : cadastralCategories()) {
        if (category == QLatin1String(c.code))
            return QStringLiteral("|Categoria ") + category + QStringLiteral(": ") + QString::fromUtf8(c.description);
    }
    return std::nullopt;
}

} // namespace brevan
