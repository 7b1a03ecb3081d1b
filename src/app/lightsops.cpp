// SPDX-License-Identifier: GPL-2.0-or-later
#include "lightsops.h"

#include "mainwindow.h"
#include "widgetfields.h"

#include "pages/comparablespage.h"
#include "pages/picturepage.h"

namespace brevan::app {

namespace {

art::NodeImage imageOf(Light light)
{
    switch (light) {
    case Light::Red: return art::NodeImage::Red;
    case Light::Yellow: return art::NodeImage::Yellow;
    case Light::Green: return art::NodeImage::Green;
    }
    return art::NodeImage::Red;
}

} // namespace

LightsOps::LightsOps(MainWindow *window, QObject *parent)
    : LightsOps(window, parent, std::make_unique<WindowFields>(window))
{
}

LightsOps::LightsOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields)
    : LightsWork(fields->fields, parent), m_window(window), m_windowFields(std::move(fields))
{
    pictures = [this] {
        return std::array<bool, 3>{m_window->photoPage->hasPicture(), m_window->areaPlanPage->hasPicture(),
                                   m_window->unitPlanPage->hasPicture()};
    };
    // Unless the wiring gives the comparables' count, the page's own.
    comparablesCompleteness = [this] { return m_window->comparablesPage->completeness(); };
}

LightsOps::~LightsOps() = default;

void LightsOps::showLights(const std::array<Light, 12> &lights)
{
    for (int n = 1; n <= MainWindow::kPageNodes; ++n)
        m_window->setNodeLight(n, imageOf(lights[size_t(n - 1)]));
}

} // namespace brevan::app
