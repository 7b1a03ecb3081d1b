// SPDX-License-Identifier: GPL-2.0-or-later
#include "lightswork.h"

#include "engine/fields.h"
#include "model/record.h"

namespace brevan::engine {

namespace {

// The surface values in the order surfaceValues() gives them.
const char *const kSurfaceFields[3] = {"SupUtileImmob", "SupConvenzImmob", "SupCommercImmob"};

} // namespace

LightsWork::LightsWork(Fields &fields, QObject *parent) : QObject(parent), m_fields(fields)
{
    m_lights.fill(Light::Red);
}

PageContents LightsWork::gatherContents() const
{
    PageContents c;
    for (const FieldDef &f : recordFields()) {
        const QString name = QString::fromLatin1(f.name);
        if (!m_fields.has(name))
            continue;
        if (f.type == FieldType::Logical)
            c.ticks.insert(name, m_fields.isChecked(name));
        else if (f.type == FieldType::Text)
            c.texts.insert(name, m_fields.text(name)); // the date picker is not looked at: ""
    }
    // The values behind the surfaces page, never the rounded texts it shows.
    if (surfaceValues) {
        const QStringList surfaces = surfaceValues();
        for (int i = 0; i < 3; ++i)
            c.texts.insert(QString::fromLatin1(kSurfaceFields[i]), surfaces.value(i));
    }
    if (pictures) {
        const std::array<bool, 3> shown = pictures();
        c.photo = shown[0];
        c.areaPlan = shown[1];
        c.unitPlan = shown[2];
    }
    const int comparables = comparablesCompleteness ? comparablesCompleteness() : 3;
    c.comparableRows = comparables == 3 ? 0 : 1;
    c.comparablesAllComplete = comparables == 1;
    return c;
}

void LightsWork::ImpostaSemaforiTreeView()
{
    m_lights = evaluateLights(gatherContents());
    showLights(m_lights);
}

} // namespace brevan::engine
