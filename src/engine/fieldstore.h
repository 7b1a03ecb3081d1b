// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The pages' controls without a window: every control the stored record
// names (its text edits, lists, ticks, the two trios of options and the date),
// the hidden reference rents and expense amounts, and the four values of the
// results page. Writes follow the rules of the controls they stand for (see
// fields.h), so the reactions run in the order they run behind the window.
#include "engine/fields.h"

#include <QHash>
#include <QList>
#include <QPointer>

#include <vector>

namespace brevan::engine {

class FieldStore final : public Fields {
public:
    enum class Kind { Text, Choice, Tick, Option, Date };

    FieldStore();
    // Its own rules hold the store's address.
    FieldStore(const FieldStore &) = delete;
    FieldStore &operator=(const FieldStore &) = delete;

    bool has(const QString &name) const override { return m_controls.contains(name); }
    QString text(const QString &name) const override;
    void setText(const QString &name, const QString &text) override;
    bool isChecked(const QString &name) const override;
    void setChecked(const QString &name, bool on) override;
    QDate date(const QString &name) const override;
    void setHint(const QString &name, const QString &hint) override;
    void whenTextChanged(const QString &name, QObject *context, std::function<void()> react) override;
    void whenToggled(const QString &name, QObject *context, std::function<void(bool)> react) override;

    // A program write of the date, which runs no reaction.
    void setDate(const QString &name, const QDate &date);
    // The last tip given to a control.
    QString hint(const QString &name) const;

    // What the store holds: each control's name and kind.
    QList<QString> names() const;
    Kind kind(const QString &name) const;

private:
    template <typename Fn>
    struct Reaction {
        QPointer<QObject> context;
        bool own = false; // one of the store's own rules, with no context
        Fn react;
    };
    struct Control {
        Kind kind = Kind::Text;
        QString text;
        bool checked = false;
        QDate date;
        QString hint;
        int trio = -1; // the options' trio, -1 for any other control
        std::vector<Reaction<std::function<void()>>> onText;
        std::vector<Reaction<std::function<void(bool)>>> onToggle;
    };

    Control &at(const QString &name);
    const Control &at(const QString &name) const;
    void add(const QString &name, Kind kind, const QString &text = {});
    void toggle(const QString &name, bool on);

    QHash<QString, Control> m_controls;
    QList<QString> m_order;
};

} // namespace brevan::engine
