// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The reactions of the page "Caratteristiche produttive" behind the window:
// the work of engine/incomework.h on the page's own controls, and what only
// the window has, the clicks in the fields and the unit-rent editor.
#include "engine/incomework.h"

#include <QList>

#include <memory>

class QLineEdit;

namespace brevan::ui {
class UnitRentEditor;
}

namespace brevan::app {

class MainWindow;
struct WindowFields;

class IncomeOps : public engine::IncomeWork {
    Q_OBJECT
public:
    explicit IncomeOps(MainWindow *window, QObject *parent = nullptr);
    ~IncomeOps() override;

    // The unit-rent editor, built at its first use.
    ui::UnitRentEditor *unitRentEditor();

public Q_SLOTS:
    void SpeedButton63Click(); // the unit-rent editor, modal

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    IncomeOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields);

    MainWindow *m_window;
    std::unique_ptr<WindowFields> m_fields;
    ui::UnitRentEditor *m_rentEditor = nullptr;
    QList<QLineEdit *> m_rentClickFields;
    QList<QLineEdit *> m_depositClickFields;
    QList<QLineEdit *> m_incomeClickFields;
};

} // namespace brevan::app
