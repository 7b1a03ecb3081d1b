// SPDX-License-Identifier: GPL-2.0-or-later
#include "fieldstore.h"

#include "model/record.h"

#include <stdexcept>

namespace brevan::engine {

namespace {

// The kind of a stored field's control, from the kind of control the record
// names for it; a field named with no control has none on the pages.
struct ControlKind {
    const char *prefix;
    FieldStore::Kind kind;
};
constexpr ControlKind kControlKinds[] = {
    {"Edit", FieldStore::Kind::Text},         {"ComboBox", FieldStore::Kind::Choice},
    {"CheckBox", FieldStore::Kind::Tick},     {"RadioButton", FieldStore::Kind::Option},
    {"DateTimePicker", FieldStore::Kind::Date},
};

// The two trios of options: one of each is ticked at most.
constexpr const char *kTrios[][3] = {
    {"PiccoleDimensImmob", "MedieDimensImmob", "GrandiDimensImmob"},
    {"ZonaCentrImmob", "ZonaIntermImmob", "ZonaPeriferImmob"},
};

// Controls of the pages that are no stored field, with their first text:
// the reference rents (middle, lowest, highest), the expenses' amounts as
// typed, kept for the currency switch, the results page's four values and the
// surfaces page's three.
struct HiddenControl {
    const char *name;
    const char *text;
};
constexpr HiddenControl kHidden[] = {
    {"Edit39", "0"}, {"Edit40", "0"}, {"Edit41", "0"}, {"Edit43", ""},          {"Edit44", ""},
    {"Edit45", ""},  {"Edit46", ""},  {"Edit47", ""},  {"Edit48", ""},          {"CostoUnitario", ""},
    {"CostoComplessivo", ""},         {"CICostoUnitario", ""},                  {"CICostoComplessivo", ""},
    // The three surfaces as plain number text, and as shown.
    {"SupUtileImmob", ""}, {"SupConvenzImmob", ""}, {"SupCommercImmob", ""},
    {"Edit25", ""}, {"Edit26", ""}, {"Edit27", ""},
};

// A plant's tick shows its kind with the usual kind; clearing it empties
// the kind. The write is the program's: the kind's list reacts to nothing.
struct PlantKind {
    const char *tick;
    const char *kind;
    const char *usual;
};
constexpr PlantKind kPlantKinds[] = {
    {"Ascensore", "AscensoreTipo", "Singolo"},
    {"Riscaldamento", "RiscaldamentoTipo", "Centralizzato"},
};

// Runs each reaction whose context still lives; a reaction added while they
// run waits for the next change, as a new connection does.
template <typename List, typename... Args>
void runAll(const List &reactions, Args... args)
{
    const List now = reactions;
    for (const auto &r : now) {
        if (r.own || r.context)
            r.react(args...);
    }
}

} // namespace

FieldStore::FieldStore()
{
    for (const FieldDef &f : recordFields()) {
        const QString control = QString::fromLatin1(f.control);
        for (const ControlKind &k : kControlKinds) {
            if (control.startsWith(QLatin1String(k.prefix))) {
                add(QString::fromLatin1(f.name), k.kind);
                break;
            }
        }
    }
    for (const HiddenControl &h : kHidden)
        add(QString::fromLatin1(h.name), Kind::Text, QString::fromLatin1(h.text));
    for (int t = 0; t < int(std::size(kTrios)); ++t) {
        for (const char *option : kTrios[t])
            at(QString::fromLatin1(option)).trio = t;
    }
    for (const PlantKind &p : kPlantKinds) {
        const QString kind = QString::fromLatin1(p.kind);
        const QString usual = QString::fromLatin1(p.usual);
        Reaction<std::function<void(bool)>> rule;
        rule.own = true;
        rule.react = [this, kind, usual](bool ticked) { setText(kind, ticked ? usual : QString()); };
        at(QString::fromLatin1(p.tick)).onToggle.push_back(std::move(rule));
    }
}

void FieldStore::add(const QString &name, Kind kind, const QString &text)
{
    Control c;
    c.kind = kind;
    c.text = text;
    m_controls.insert(name, c);
    m_order.append(name);
}

FieldStore::Control &FieldStore::at(const QString &name)
{
    const auto it = m_controls.find(name);
    if (it == m_controls.end())
        throw std::logic_error("no control named " + name.toStdString());
    return *it;
}

const FieldStore::Control &FieldStore::at(const QString &name) const
{
    return const_cast<FieldStore *>(this)->at(name);
}

QString FieldStore::text(const QString &name) const
{
    const Control &c = at(name);
    return c.kind == Kind::Text || c.kind == Kind::Choice ? c.text : QString();
}

void FieldStore::setText(const QString &name, const QString &text)
{
    Control &c = at(name);
    if (c.kind != Kind::Text && c.kind != Kind::Choice)
        return;
    // A list takes a program write silently; a text edit reports a change.
    // QLineEdit compares as it stores: an empty text and no text are one.
    if (c.text == text || (c.text.isEmpty() && text.isEmpty()))
        return;
    c.text = text.isNull() ? QStringLiteral("") : text;
    if (c.kind == Kind::Text)
        runAll(c.onText);
}

bool FieldStore::isChecked(const QString &name) const
{
    return at(name).checked;
}

void FieldStore::toggle(const QString &name, bool on)
{
    Control &c = at(name);
    c.checked = on;
    runAll(c.onToggle, on);
}

void FieldStore::setChecked(const QString &name, bool on)
{
    Control &c = at(name);
    if ((c.kind != Kind::Tick && c.kind != Kind::Option) || c.checked == on)
        return;
    if (on && c.trio >= 0) {
        // The option set first, then the one it replaces is cleared and says
        // so, then the new one says so: the order of QRadioButton.
        c.checked = true;
        for (const char *other : kTrios[c.trio]) {
            const QString otherName = QString::fromLatin1(other);
            if (otherName != name && at(otherName).checked)
                toggle(otherName, false);
        }
        runAll(at(name).onToggle, true);
        return;
    }
    toggle(name, on);
}

QDate FieldStore::date(const QString &name) const
{
    return at(name).date;
}

void FieldStore::setDate(const QString &name, const QDate &date)
{
    at(name).date = date;
}

void FieldStore::setHint(const QString &name, const QString &hint)
{
    at(name).hint = hint;
}

QString FieldStore::hint(const QString &name) const
{
    return at(name).hint;
}

void FieldStore::whenTextChanged(const QString &name, QObject *context, std::function<void()> react)
{
    at(name).onText.push_back({context, false, std::move(react)});
}

void FieldStore::whenToggled(const QString &name, QObject *context, std::function<void(bool)> react)
{
    at(name).onToggle.push_back({context, false, std::move(react)});
}

QList<QString> FieldStore::names() const
{
    return m_order;
}

FieldStore::Kind FieldStore::kind(const QString &name) const
{
    return at(name).kind;
}

} // namespace brevan::engine
