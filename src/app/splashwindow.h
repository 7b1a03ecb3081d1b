// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
#include <QWidget>

namespace brevan::app {

// Shown while the windows are created. The animation "SplashFormBar.avi" has
// no player here, so it always counts as unavailable and the static bar shows.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget *parent = nullptr);
    bool animationAvailable() const { return m_animationAvailable; }

private:
    bool m_animationAvailable = false;
};

} // namespace brevan::app
