// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The operations' fields and notices behind the window: each name is the
// control of that name on the pages, and a notice is the window's message box.
#include "engine/fields.h"

#include <QHash>
#include <QPointer>

class QAbstractButton;
class QWidget;

namespace brevan::app {

class MainWindow;

class WidgetFields final : public engine::Fields {
public:
    explicit WidgetFields(MainWindow *window);

    bool has(const QString &name) const override;
    QString text(const QString &name) const override;
    void setText(const QString &name, const QString &text) override;
    bool isChecked(const QString &name) const override;
    void setChecked(const QString &name, bool on) override;
    QDate date(const QString &name) const override;
    void setHint(const QString &name, const QString &hint) override;
    void whenTextChanged(const QString &name, QObject *context, std::function<void()> react) override;
    void whenToggled(const QString &name, QObject *context, std::function<void(bool)> react) override;

    // The control of that name; a name no page has is a fault of the program.
    QWidget *control(const QString &name) const;

private:
    MainWindow *m_window;
    mutable QHash<QString, QPointer<QWidget>> m_controls;
};

class WindowNotices final : public engine::Notices {
public:
    explicit WindowNotices(QWidget *window) : m_window(window) {}
    void warning(const QString &text) override;
    void error(const QString &text) override;
    void note(const QString &text) override;

private:
    QWidget *m_window;
};

// The fields and notices of one window, made before the work that uses them.
struct WindowFields {
    explicit WindowFields(MainWindow *window);
    WidgetFields fields;
    WindowNotices notices;
};

// A program write of a tick: an option of an exclusive trio is cleared too,
// which the button refuses on its own (a stored trio may hold none).
void writeTick(QAbstractButton *button, bool on);

} // namespace brevan::app
