// SPDX-License-Identifier: GPL-2.0-or-later
#include "cadastralwork.h"

#include "engine/fields.h"

namespace brevan::engine {

CadastralWork::CadastralWork(Fields &fields, QObject *parent) : QObject(parent), m_fields(fields) {}

QVector<SurfaceRow> CadastralWork::rows() const
{
    return surfaceRows ? surfaceRows() : QVector<SurfaceRow>();
}

QString CadastralWork::category() const
{
    return m_fields.text(QStringLiteral("CategCatastImmob"));
}

CadastralSheet CadastralWork::sheet() const
{
    return buildCadastralSheet(rows(), m_choices, isVillaCategory(category()));
}

std::optional<double> CadastralWork::surface() const
{
    const CadastralSheet s = sheet();
    if (!s.hasSurface())
        return std::nullopt;
    return s.result.surface;
}

void CadastralWork::refresh()
{
    m_choices.prune(rows());
    showSheet();
}

void CadastralWork::setChoice(int surfacesRow, const CadastralChoice &choice)
{
    m_choices.set(surfacesRow, choice);
    refresh();
}

void CadastralWork::showOpened(const CadastralChoices &choices)
{
    m_choices = choices;
    refresh();
}

void CadastralWork::clearForNewAppraisal()
{
    m_choices.clear();
    refresh();
}

} // namespace brevan::engine
