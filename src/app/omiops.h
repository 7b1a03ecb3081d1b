// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The window "Confronto con le quotazioni OMI" (results page button and
// "&Visualizza"), built at first use, over the comparison of
// engine/omiwork.h read from the pages.
#include "engine/omiwork.h"

#include <QPointer>

#include <memory>

namespace brevan::ui {
class OmiWindow;
}

namespace brevan::app {

class MainWindow;
struct WindowFields;

class OmiOps : public engine::OmiWork {
    Q_OBJECT
public:
    explicit OmiOps(MainWindow *window, QObject *parent = nullptr);
    ~OmiOps() override;

    // Null until first use.
    ui::OmiWindow *window() const;

public Q_SLOTS:
    // "Confronto con le quotazioni OMI…": builds the window at first use,
    // brings it up to date and shows it.
    void ConfrontoOMIClick();

protected:
    void refreshWindow() override;
    QString surfacesTablePath() const override;

private:
    OmiOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields);
    void takeWindowChoice();

    MainWindow *m_window;
    std::unique_ptr<WindowFields> m_windowFields;
    QPointer<ui::OmiWindow> m_omiWindow; // a child of the main window
};

} // namespace brevan::app
