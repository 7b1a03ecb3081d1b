// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The window "Rapporto di valutazione" (built at first use) over the report
// for a purpose of engine/periziawork.h, which reads the pages.
#include "engine/periziawork.h"

#include <QPointer>

namespace brevan::ui {
class PeriziaWindow;
}

namespace brevan::app {

class MainWindow;

class PeriziaOps : public engine::PeriziaWork {
    Q_OBJECT
public:
    explicit PeriziaOps(MainWindow *window, QObject *parent = nullptr);

    const perizia::Report &report() const override;
    ui::PeriziaWindow *window() const;

public Q_SLOTS:
    // "Rapporto di valutazione…"
    void RapportoDiValutazioneClick();

protected:
    void setReport(const perizia::Report &report) override;
    void showFacts() override;

private:
    MainWindow *m_window;
    QPointer<ui::PeriziaWindow> m_periziaWindow; // a child of the main window
};

using engine::reportHasData;

} // namespace brevan::app
