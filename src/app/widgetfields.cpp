// SPDX-License-Identifier: GPL-2.0-or-later
#include "widgetfields.h"

#include "mainwindow.h"

#include "pages/messages.h"
#include "pages/pagekit.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTextEdit>

#include <stdexcept>

namespace brevan::app {

WidgetFields::WidgetFields(MainWindow *window) : m_window(window) {}

QWidget *WidgetFields::control(const QString &name) const
{
    if (!has(name))
        throw std::logic_error("no control named " + name.toStdString());
    return m_controls.value(name);
}

bool WidgetFields::has(const QString &name) const
{
    QPointer<QWidget> &found = m_controls[name];
    if (!found)
        found = m_window->pages ? m_window->pages->findChild<QWidget *>(name) : nullptr;
    return found;
}

QString WidgetFields::text(const QString &name) const
{
    QWidget *w = control(name);
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        return edit->text();
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->currentText();
    if (auto *t = qobject_cast<QTextEdit *>(w))
        return t->toPlainText();
    if (auto *t = qobject_cast<QPlainTextEdit *>(w))
        return t->toPlainText();
    return {};
}

void WidgetFields::setText(const QString &name, const QString &text)
{
    QWidget *w = control(name);
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        edit->setText(text);
    else if (auto *combo = qobject_cast<QComboBox *>(w))
        ui::setComboText(combo, text);
}

bool WidgetFields::isChecked(const QString &name) const
{
    auto *b = qobject_cast<QAbstractButton *>(control(name));
    return b && b->isChecked();
}

void writeTick(QAbstractButton *b, bool on)
{
    if (!b)
        return;
    if (on || !b->isChecked()) {
        b->setChecked(on);
        return;
    }
    QButtonGroup *group = b->group();
    const bool groupExclusive = group && group->exclusive();
    const bool autoExclusive = b->autoExclusive();
    if (groupExclusive)
        group->setExclusive(false);
    b->setAutoExclusive(false);
    b->setChecked(false);
    b->setAutoExclusive(autoExclusive);
    if (groupExclusive)
        group->setExclusive(true);
}

void WidgetFields::setChecked(const QString &name, bool on)
{
    writeTick(qobject_cast<QAbstractButton *>(control(name)), on);
}

QDate WidgetFields::date(const QString &name) const
{
    auto *edit = qobject_cast<QDateEdit *>(control(name));
    return edit ? edit->date() : QDate();
}

void WidgetFields::setHint(const QString &name, const QString &hint)
{
    ui::setHint(control(name), hint);
}

void WidgetFields::whenTextChanged(const QString &name, QObject *context, std::function<void()> react)
{
    QWidget *w = control(name);
    QLineEdit *edit = qobject_cast<QLineEdit *>(w);
    if (!edit)
        if (auto *combo = qobject_cast<QComboBox *>(w))
            edit = combo->lineEdit();
    if (edit)
        QObject::connect(edit, &QLineEdit::textChanged, context, [react = std::move(react)] { react(); });
}

void WidgetFields::whenToggled(const QString &name, QObject *context, std::function<void(bool)> react)
{
    if (auto *b = qobject_cast<QAbstractButton *>(control(name)))
        QObject::connect(b, &QAbstractButton::toggled, context, std::move(react));
}

WindowFields::WindowFields(MainWindow *window) : fields(window), notices(window) {}

void WindowNotices::warning(const QString &text)
{
    ui::Messages::warning(m_window, text);
}

void WindowNotices::error(const QString &text)
{
    ui::Messages::error(m_window, text);
}

void WindowNotices::note(const QString &text)
{
    ui::Messages::note(m_window, text);
}

} // namespace brevan::app
