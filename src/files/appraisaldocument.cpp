// SPDX-License-Identifier: GPL-2.0-or-later
#include "appraisaldocument.h"

#include "cadastraltable.h"
#include "periziatable.h"

#include <QUndoCommand>

namespace brevan::files {

namespace {

// Merges a step into the one before it when both are typing in one field.
constexpr int kStepId = 0x4252; // "BR"

bool samePicture(const QImage &a, const QImage &b)
{
    return (a.isNull() && b.isNull()) || a.cacheKey() == b.cacheKey();
}

bool sameOmi(const StoredOmi &a, const StoredOmi &b)
{
    return a.choice == b.choice && omiRows(a) == omiRows(b);
}

bool samePerizia(const perizia::Report &a, const perizia::Report &b)
{
    return periziaRows(a) == periziaRows(b);
}

// One optional part: taken into the change when it differs.
template <typename T, typename Same>
void compare(const std::optional<T> &from, const std::optional<T> &to, std::optional<T> &before,
             std::optional<T> &after, Same same)
{
    if (!to)
        return;
    if (from && same(*from, *to))
        return;
    before = from;
    after = to;
}

template <typename T>
void overlayPart(std::optional<T> &into, const std::optional<T> &from)
{
    if (from)
        into = from;
}

// The words that name what a step changed, in the order of the pages.
struct PartWord {
    bool (*in)(const AppraisalParts &);
    const char *word;
};
const PartWord kPartWords[] = {
    {[](const AppraisalParts &p) { return !p.fields.isEmpty(); }, "dati della stima"},
    {[](const AppraisalParts &p) { return p.euro.has_value(); }, "valuta"},
    {[](const AppraisalParts &p) { return !p.pictures.isEmpty(); }, "immagine"},
    {[](const AppraisalParts &p) { return p.tables.contains(Companion::Surfaces); }, "tabella delle superfici"},
    {[](const AppraisalParts &p) { return p.tables.contains(Companion::Comparables); }, "immobili di confronto"},
    {[](const AppraisalParts &p) { return p.mca.has_value(); }, "stima MCA"},
    {[](const AppraisalParts &p) { return p.cadastral.has_value(); }, "superficie catastale"},
    {[](const AppraisalParts &p) { return p.omi.has_value(); }, "confronto OMI"},
    {[](const AppraisalParts &p) { return p.perizia.has_value(); }, "rapporto di valutazione"},
    {[](const AppraisalParts &p) { return !p.dataTables.isEmpty(); }, "tabelle del Comune"},
};

} // namespace

bool AppraisalParts::isEmpty() const
{
    return fields.isEmpty() && !euro && pictures.isEmpty() && tables.isEmpty() && !mca && !cadastral && !omi
           && !perizia && dataTables.isEmpty() && computed.isEmpty();
}

bool AppraisalParts::onlyComputed() const
{
    AppraisalParts rest = *this;
    rest.computed.clear();
    return rest.isEmpty() && !computed.isEmpty();
}

void AppraisalParts::overlay(const AppraisalParts &other)
{
    for (auto it = other.fields.cbegin(); it != other.fields.cend(); ++it)
        fields.insert(it.key(), it.value());
    overlayPart(euro, other.euro);
    for (auto it = other.pictures.cbegin(); it != other.pictures.cend(); ++it)
        pictures.insert(it.key(), it.value());
    for (auto it = other.tables.cbegin(); it != other.tables.cend(); ++it)
        tables.insert(it.key(), it.value());
    overlayPart(mca, other.mca);
    overlayPart(cadastral, other.cadastral);
    overlayPart(omi, other.omi);
    overlayPart(perizia, other.perizia);
    for (auto it = other.dataTables.cbegin(); it != other.dataTables.cend(); ++it)
        dataTables.insert(it.key(), it.value());
    for (auto it = other.computed.cbegin(); it != other.computed.cend(); ++it)
        computed.insert(it.key(), it.value());
}

QString AppraisalParts::description() const
{
    QStringList words;
    for (const PartWord &w : kPartWords) {
        if (w.in(*this))
            words << QString::fromUtf8(w.word);
    }
    return words.join(QStringLiteral(", "));
}

namespace {

void compareValues(const QMap<QString, QVariant> &from, const QMap<QString, QVariant> &to,
                   QMap<QString, QVariant> &before, QMap<QString, QVariant> &after)
{
    for (auto it = to.cbegin(); it != to.cend(); ++it) {
        const auto was = from.constFind(it.key());
        if (was != from.cend() && *was == *it)
            continue;
        before.insert(it.key(), was != from.cend() ? *was : QVariant());
        after.insert(it.key(), *it);
    }
}

} // namespace

PartsChange difference(const AppraisalParts &from, const AppraisalParts &to)
{
    PartsChange change;
    compareValues(from.fields, to.fields, change.before.fields, change.after.fields);
    compareValues(from.computed, to.computed, change.before.computed, change.after.computed);
    compare(from.euro, to.euro, change.before.euro, change.after.euro, std::equal_to<bool>());
    for (auto it = to.pictures.cbegin(); it != to.pictures.cend(); ++it) {
        const QImage was = from.pictures.value(it.key());
        if (samePicture(was, *it))
            continue;
        change.before.pictures.insert(it.key(), was);
        change.after.pictures.insert(it.key(), *it);
    }
    for (auto it = to.tables.cbegin(); it != to.tables.cend(); ++it) {
        const auto was = from.tables.constFind(it.key());
        if (was != from.tables.cend() && *was == *it)
            continue;
        change.before.tables.insert(it.key(), was != from.tables.cend() ? *was : TableRows());
        change.after.tables.insert(it.key(), *it);
    }
    compare(from.mca, to.mca, change.before.mca, change.after.mca, std::equal_to<mca::Sheet>());
    compare(from.cadastral, to.cadastral, change.before.cadastral, change.after.cadastral,
            std::equal_to<CadastralChoices>());
    compare(from.omi, to.omi, change.before.omi, change.after.omi, sameOmi);
    compare(from.perizia, to.perizia, change.before.perizia, change.after.perizia, samePerizia);
    for (auto it = to.dataTables.cbegin(); it != to.dataTables.cend(); ++it) {
        const auto was = from.dataTables.constFind(it.key());
        const std::optional<TableRows> before = was != from.dataTables.cend() ? *was : std::nullopt;
        if (was != from.dataTables.cend() && before == *it)
            continue;
        change.before.dataTables.insert(it.key(), before);
        change.after.dataTables.insert(it.key(), *it);
    }
    return change;
}

// One step: the parts before and after it. Pushed once the views show it
// already, so its first redo shows nothing.
class AppraisalStep : public QUndoCommand {
public:
    AppraisalStep(AppraisalDocument *document, PartsChange change, QString typingKey)
        : m_document(document), m_change(std::move(change)), m_typingKey(std::move(typingKey))
    {
        setText(m_document->describeParts(m_change.after));
        if (!m_change.after.pictures.isEmpty())
            m_document->m_pictureSteps.append(this);
    }
    ~AppraisalStep() override { m_document->m_pictureSteps.removeOne(this); }
    AppraisalStep(const AppraisalStep &) = delete;
    AppraisalStep &operator=(const AppraisalStep &) = delete;

    // Lets go of the pictures the step holds; the step can then no longer
    // be undone or redone.
    void releasePictures()
    {
        m_change.before.pictures.clear();
        m_change.after.pictures.clear();
        m_picturesReleased = true;
    }

    int id() const override { return m_typingKey.isEmpty() ? -1 : kStepId; }

    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const AppraisalStep *>(other);
        if (next->m_typingKey != m_typingKey)
            return false;
        // The earlier value of a part counts; the later one wins.
        AppraisalParts before = next->m_change.before;
        before.overlay(m_change.before);
        AppraisalParts after = m_change.after;
        after.overlay(next->m_change.after);
        // Parts typed back to what they were leave the step; a step left
        // with none is dropped by the stack.
        m_change = difference(before, after);
        setObsolete(m_change.isEmpty() || m_change.after.onlyComputed());
        setText(m_document->describeParts(m_change.after));
        return true;
    }

    void redo() override
    {
        if (std::exchange(m_shown, false))
            return;
        show(false);
    }

    void undo() override { show(true); }

private:
    void show(bool undoing)
    {
        if (m_picturesReleased) {
            Q_EMIT m_document->stepDropped(AppraisalDocument::releasedPictureText());
            setObsolete(true);
            return;
        }
        if (!m_document->show(m_change, undoing))
            setObsolete(true);
    }

    AppraisalDocument *m_document;
    PartsChange m_change;
    QString m_typingKey;
    bool m_shown = true; // the views showed it when it was recorded
    bool m_picturesReleased = false;
};

AppraisalDocument::AppraisalDocument(QObject *parent) : QObject(parent)
{
    // Steps of the last hours of work fit easily: a step holds only what it
    // changed, and pictures are shared with the pages.
    m_stack.setUndoLimit(0);
}

AppraisalDocument::~AppraisalDocument()
{
    // The steps let go of this document's list as they go.
    m_stack.clear();
}

QString AppraisalDocument::describeParts(const AppraisalParts &parts) const
{
    return describe ? describe(parts) : parts.description();
}

QString AppraisalDocument::releasedPictureText()
{
    return QStringLiteral("l'immagine di quella modifica non è più tenuta in memoria (si tengono le ultime %1 "
                          "modifiche delle immagini).")
        .arg(kPictureSteps);
}

void AppraisalDocument::reset(const AppraisalParts &state)
{
    m_stack.clear();
    m_state = state;
    m_stack.setClean();
}

void AppraisalDocument::markSaved(const AppraisalParts &state)
{
    settle(state);
    m_stack.setClean();
}

bool AppraisalDocument::record(const AppraisalParts &state, const QString &typingKey,
                               const QMap<QString, std::optional<TableRows>> &dataTablesBefore)
{
    if (m_showing)
        return false;
    AppraisalParts from = m_state;
    for (auto it = dataTablesBefore.cbegin(); it != dataTablesBefore.cend(); ++it)
        from.dataTables.insert(it.key(), it.value());
    PartsChange change = difference(from, state);
    // Computed values alone are no step: they follow the data they come from.
    if (change.isEmpty() || change.after.onlyComputed()) {
        m_state.overlay(state);
        return false;
    }
    m_state.overlay(state);
    m_stack.push(new AppraisalStep(this, std::move(change), typingKey));
    // Pictures are tens of megabytes each: only the latest steps that
    // change one keep theirs.
    while (m_pictureSteps.size() > kPictureSteps)
        m_pictureSteps.takeFirst()->releasePictures();
    return true;
}

void AppraisalDocument::settle(const AppraisalParts &state)
{
    m_state.overlay(state);
}

bool AppraisalDocument::show(const PartsChange &change, bool undoing)
{
    if (showCheck) {
        const QString why = showCheck(change, undoing);
        if (!why.isEmpty()) {
            Q_EMIT stepDropped(why);
            return false;
        }
    }
    const AppraisalParts &parts = undoing ? change.before : change.after;
    m_state.overlay(parts);
    m_showing = true;
    Q_EMIT partsChanged(parts);
    m_showing = false;
    for (auto it = parts.fields.cbegin(); it != parts.fields.cend(); ++it)
        Q_EMIT fieldChanged(it.key());
    if (parts.euro)
        Q_EMIT currencyChanged(*parts.euro);
    for (auto it = parts.pictures.cbegin(); it != parts.pictures.cend(); ++it)
        Q_EMIT pictureChanged(it.key());
    for (auto it = parts.tables.cbegin(); it != parts.tables.cend(); ++it)
        Q_EMIT tableChanged(it.key());
    if (parts.mca)
        Q_EMIT tableChanged(Companion::Mca);
    if (parts.cadastral)
        Q_EMIT tableChanged(Companion::Cadastral);
    if (parts.omi)
        Q_EMIT tableChanged(Companion::Omi);
    if (parts.perizia)
        Q_EMIT tableChanged(Companion::Perizia);
    for (auto it = parts.dataTables.cbegin(); it != parts.dataTables.cend(); ++it)
        Q_EMIT dataTableChanged(it.key());
    return true;
}

} // namespace brevan::files
