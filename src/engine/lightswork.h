// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The completeness lights of the page tree: red, yellow or green for how far
// each of the twelve pages is filled in, read from the named fields as they
// stand.
#include "valuation/completeness.h"

#include <QObject>
#include <QStringList>

#include <array>
#include <functional>

namespace brevan::engine {

class Fields;

class LightsWork : public QObject {
    Q_OBJECT
public:
    explicit LightsWork(Fields &fields, QObject *parent = nullptr);

    // The useful, conventional and commercial surface values behind the
    // surfaces page (not the texts it shows). Unset: the fields named
    // SupUtileImmob, SupConvenzImmob and SupCommercImmob.
    std::function<QStringList()> surfaceValues;
    // TableImmobConfrCompleta: 3 without comparables, 1 when all are
    // complete, 2 otherwise. Unset: no comparables.
    std::function<int()> comparablesCompleteness;
    // Which of the photo, the area plan and the unit plan are there.
    std::function<std::array<bool, 3>()> pictures;

    // The pages' contents as the rules read them: texts by persisted field
    // name, ticks, pictures, surfaces and comparables.
    PageContents gatherContents() const;
    // The lights of nodes 1 to 12 as last set, index 0 for node 1; all red
    // before the first.
    const std::array<Light, 12> &lights() const { return m_lights; }

public Q_SLOTS:
    // Sets the light of nodes 1 to 12; changes no field.
    void ImpostaSemaforiTreeView();

protected:
    virtual void showLights(const std::array<Light, 12> &lights) { Q_UNUSED(lights); }

private:
    Fields &m_fields;
    std::array<Light, 12> m_lights;
};

} // namespace brevan::engine
