// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The cadastral surface beside the surfaces page: its window ("Superficie
// catastale (DPR 138/98)…" on the surfaces page and in "&Visualizza"), built
// at first use; the appraiser's choices, which follow the rows of the
// surfaces table; the villa rule from the description page's category; and
// the choices saved, opened and cleared with the appraisal. The surface and
// the choices are engine/cadastralwork.h; this class adds the window.
#include "engine/cadastralwork.h"

#include <QPointer>

#include <memory>

namespace brevan::ui {
class CadastralWindow;
}

namespace brevan::app {

class MainWindow;
struct WindowFields;

class CadastralOps : public engine::CadastralWork {
    Q_OBJECT
public:
    explicit CadastralOps(MainWindow *window, QObject *parent = nullptr);
    ~CadastralOps() override;

    // Null until first use.
    ui::CadastralWindow *window() const;

public Q_SLOTS:
    // "Superficie catastale (DPR 138/98)…": builds the window at first use,
    // brings it up to date and shows it.
    void SuperficieCatastaleClick();

protected:
    // The window follows the surfaces table and the category.
    void showSheet() override;

private:
    CadastralOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields);

    MainWindow *m_window;
    std::unique_ptr<WindowFields> m_windowFields;
    QPointer<ui::CadastralWindow> m_cadastralWindow; // a child of the main window
};

} // namespace brevan::app
