// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The pages' controls as the operations see them: a text, a choice, a tick
// or the appraisal date, each by the name the page gives it (the stored
// field's name, or the name of a hidden control such as "Edit39"). The
// operations read and write through this and never through a widget, so the
// same operations run behind the window and in a command without one.
//
// The writes keep the controls' own rules, on which the order of the
// reactions depends:
// - setText on a text field reports a change, to the reactions watching it,
//   only when the text differs; on a list (an editable choice) it is a
//   program write that no reaction sees;
// - setChecked reports the tick's change, and an option of a trio that is
//   ticked clears the one that was.
#include <QDate>
#include <QObject>
#include <QString>

#include <functional>

namespace brevan::engine {

class Fields {
public:
    virtual ~Fields() = default;

    // Whether the pages have a control of that name.
    virtual bool has(const QString &name) const = 0;

    virtual QString text(const QString &name) const = 0;
    virtual void setText(const QString &name, const QString &text) = 0;
    void clear(const QString &name) { setText(name, QString()); }

    virtual bool isChecked(const QString &name) const = 0;
    virtual void setChecked(const QString &name, bool on) = 0;

    virtual QDate date(const QString &name) const = 0;

    // The tip and the status-bar text of a control ("short|long").
    virtual void setHint(const QString &name, const QString &hint) = 0;

    // Runs react after every change of the text field's text, for as long as
    // context lives; reactions run in the order they were added.
    virtual void whenTextChanged(const QString &name, QObject *context, std::function<void()> react) = 0;
    // Runs react after every change of the tick, with the new state.
    virtual void whenToggled(const QString &name, QObject *context, std::function<void(bool)> react) = 0;
};

// What the operations have to say to the user: the warning, the error box,
// a note in passing (the status bar).
class Notices {
public:
    virtual ~Notices() = default;
    virtual void warning(const QString &text) = 0;
    virtual void error(const QString &text) = 0;
    virtual void note(const QString &text) = 0;
};

} // namespace brevan::engine
