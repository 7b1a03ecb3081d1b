// SPDX-License-Identifier: GPL-2.0-or-later
#include "cadastralsheet.h"

#include "valuation/mcasheet.h"

namespace brevan {

namespace {

using C = CadastralClass;

// The classes that are rooms, whose portions lower than 1,50 m do not count,
// and the walls, whose thickness limits what counts.
constexpr C kLowAreaClasses[] = {C::Main, C::IndirectLinked, C::IndirectApart};
constexpr C kThicknessClasses[] = {C::Walls, C::SharedWalls};

template <std::size_t N>
bool among(const C (&list)[N], C cls)
{
    for (C c : list) {
        if (c == cls)
            return true;
    }
    return false;
}

// A typed measure: empty is 0; otherwise a number of at least 0, or the
// message that says why it cannot be used.
std::optional<double> measure(const QString &text, const QString &what, const QString &where, QStringList &issues)
{
    const mca::NumberText n = mca::readNumberText(text);
    if (n.status == mca::NumberText::Status::Empty)
        return 0.0;
    if (n.status == mca::NumberText::Status::Invalid) {
        issues << QStringLiteral("%1: %2 \"%3\" non è un numero.").arg(where, what, text.trimmed());
        return std::nullopt;
    }
    if (n.value < 0) {
        issues << QStringLiteral("%1: %2 non può essere negativo.").arg(where, what);
        return std::nullopt;
    }
    return n.value;
}

} // namespace

bool cadastralClassTakesLowArea(CadastralClass cls)
{
    return among(kLowAreaClasses, cls);
}

bool cadastralClassTakesWallThickness(CadastralClass cls)
{
    return among(kThicknessClasses, cls);
}

bool CadastralChoice::isEmpty() const
{
    return !cls && lowArea.trimmed().isEmpty() && wallThickness.trimmed().isEmpty();
}

CadastralChoice CadastralChoices::at(int row, const QString &description) const
{
    const auto it = m_rows.constFind(row);
    if (it == m_rows.cend() || it->description != description)
        return CadastralChoice{description, std::nullopt, {}, {}};
    return *it;
}

void CadastralChoices::set(int row, const CadastralChoice &choice)
{
    if (choice.isEmpty())
        m_rows.remove(row);
    else
        m_rows.insert(row, choice);
}

void CadastralChoices::rowsInserted(int first, int count)
{
    QMap<int, CadastralChoice> moved;
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it)
        moved.insert(it.key() >= first ? it.key() + count : it.key(), it.value());
    m_rows = std::move(moved);
}

void CadastralChoices::rowsRemoved(int first, int count)
{
    QMap<int, CadastralChoice> moved;
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it) {
        if (it.key() < first)
            moved.insert(it.key(), it.value());
        else if (it.key() >= first + count)
            moved.insert(it.key() - count, it.value());
    }
    m_rows = std::move(moved);
}

bool CadastralChoices::prune(const QVector<SurfaceRow> &rows)
{
    bool dropped = false;
    for (auto it = m_rows.begin(); it != m_rows.end();) {
        if (it.key() >= rows.size() || rows.at(it.key()).description != it->description) {
            it = m_rows.erase(it);
            dropped = true;
        } else {
            ++it;
        }
    }
    return dropped;
}

CadastralSheet buildCadastralSheet(const QVector<SurfaceRow> &rows, const CadastralChoices &choices, bool villa)
{
    CadastralSheet sheet;
    sheet.villa = villa;
    QVector<CadastralRow> counted;
    for (int r = 0; r < rows.size(); ++r) {
        const SurfaceRow &surface = rows.at(r);
        if (surface.description.isEmpty())
            continue;
        const CadastralChoice choice = choices.at(r, surface.description);
        CadastralLine line;
        line.row = r;
        line.description = surface.description;
        line.area = surface.area;
        line.cls = choice.cls.value_or(proposedCadastralClass(surface.description));
        line.proposed = !choice.cls || *choice.cls == proposedCadastralClass(surface.description);
        line.lowArea = choice.lowArea;
        line.wallThickness = choice.wallThickness;

        CadastralRow input;
        input.description = surface.description;
        input.area = surface.area;
        input.cls = line.cls;
        const QString where = QStringLiteral("Riga %1 (%2)").arg(r + 1).arg(surface.description);
        if (cadastralClassTakesLowArea(line.cls)) {
            const std::optional<double> low =
                measure(line.lowArea, QStringLiteral("la parte più bassa di 1,50 m"), where, sheet.issues);
            if (low && *low > surface.area + 1e-9)
                sheet.issues << QStringLiteral("%1: la parte più bassa di 1,50 m supera la superficie della riga.")
                                    .arg(where);
            input.lowArea = low.value_or(0);
        }
        if (cadastralClassTakesWallThickness(line.cls))
            input.wallThickness =
                measure(line.wallThickness, QStringLiteral("lo spessore del muro"), where, sheet.issues).value_or(0);
        sheet.lines << line;
        counted << input;
    }
    sheet.result = computeCadastralSurface(counted, villa);
    for (qsizetype i = 0; i < sheet.lines.size(); ++i)
        sheet.lines[i].contribution = sheet.result.contributions.value(i);
    return sheet;
}

} // namespace brevan
