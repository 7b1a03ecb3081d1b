// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The completeness lights of the page tree behind the window: the work of
// engine/lightswork.h on the pages, painted on the tree's nodes.
#include "engine/lightswork.h"

#include <memory>

namespace brevan::app {

class MainWindow;
struct WindowFields;

class LightsOps : public engine::LightsWork {
    Q_OBJECT
public:
    explicit LightsOps(MainWindow *window, QObject *parent = nullptr);
    ~LightsOps() override;

protected:
    void showLights(const std::array<Light, 12> &lights) override;

private:
    LightsOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields);

    MainWindow *m_window;
    std::unique_ptr<WindowFields> m_windowFields;
};

} // namespace brevan::app
