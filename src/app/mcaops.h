// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The market comparison's window ("Stima MCA…" on the results page and in
// "&Visualizza"), built at first use, over the comparison of
// engine/mcawork.h read from the pages.
#include "engine/mcawork.h"

#include <QPointer>

#include <memory>

namespace brevan::ui {
class McaWindow;
}

namespace brevan::app {

class MainWindow;
struct WindowFields;

class McaOps : public engine::McaWork {
    Q_OBJECT
public:
    explicit McaOps(MainWindow *window, QObject *parent = nullptr);
    ~McaOps() override;

    // The comparison as it stands: the window's once it is built.
    const mca::Sheet &sheet() const override;
    // Null until first use.
    ui::McaWindow *window() const;

public Q_SLOTS:
    // "Stima MCA…": builds the window at first use, brings it up to date with
    // the pages and shows it.
    void StimaMCA1Click();

protected:
    void setSheet(const mca::Sheet &sheet) override;
    void refreshFromPages() override;
    bool shown() const override;
    QString surfacesTablePath() const override;

private:
    McaOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields);

    MainWindow *m_window;
    std::unique_ptr<WindowFields> m_windowFields;
    QPointer<ui::McaWindow> m_mcaWindow; // a child of the main window
};

} // namespace brevan::app
