// SPDX-License-Identifier: GPL-2.0-or-later
#include "municipalitycombo.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListView>
#include <QSignalBlocker>
#include <QStringListModel>

namespace brevan::ui {

MunicipalityCombo *MunicipalityCombo::attach(QComboBox *combo)
{
    Q_ASSERT(combo);
    if (MunicipalityCombo *existing = of(combo))
        return existing;
    return new MunicipalityCombo(combo);
}

MunicipalityCombo *MunicipalityCombo::of(const QComboBox *combo)
{
    return combo ? combo->findChild<MunicipalityCombo *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

MunicipalityCombo::MunicipalityCombo(QComboBox *combo) : QObject(combo), m_combo(combo), m_edit(combo->lineEdit())
{
    // Mouse and arrow-key choices: the combo already knows the position.
    connect(combo, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        rememberState();
        Q_EMIT chosen(index);
    });

    combo->installEventFilter(this);
    if (!m_edit)
        return; // a pick-only list without an editor has nothing to complete
    connect(m_edit, &QLineEdit::textEdited, this, &MunicipalityCombo::onTextEdited);
    // QLineEdit emits textEdited before it reports the new text, cursor and
    // selection, so these keep the state from before each user edit.
    connect(m_edit, &QLineEdit::textChanged, this, &MunicipalityCombo::rememberState);
    connect(m_edit, &QLineEdit::selectionChanged, this, &MunicipalityCombo::rememberState);
    connect(m_edit, &QLineEdit::cursorPositionChanged, this, &MunicipalityCombo::rememberState);
    // Program writes run with the editor's signals blocked; whatever the user
    // does next starts with one of these events, so the state is fresh again.
    // Typed keys arrive at the combo, which holds the focus and hands them to
    // its editor by a direct call that no filter on the editor sees.
    m_edit->installEventFilter(this);
    rememberState();
}

void MunicipalityCombo::setPopupMinimumWidth(int width)
{
    m_popupMinimumWidth = width;
    if (m_viewPrepared)
        m_combo->view()->setMinimumWidth(width);
}

void MunicipalityCombo::prepareView()
{
    // Asking for the view builds the drop-down, which costs more than the
    // rest of the combo: done once, just before the user can first open it.
    if (m_viewPrepared)
        return;
    m_viewPrepared = true;
    QAbstractItemView *view = m_combo->view();
    // The drop-down of 8,000 names lays out in no time when every row has the
    // same height.
    if (auto *list = qobject_cast<QListView *>(view))
        list->setUniformItemSizes(true);
    if (m_popupMinimumWidth > 0)
        view->setMinimumWidth(m_popupMinimumWidth);
}

bool MunicipalityCombo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_combo && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress))
        prepareView(); // the drop-down opens by a click or a key (F4, Alt+Down)
    if (watched == m_edit || watched == m_combo) {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
        case QEvent::ContextMenu:
        case QEvent::Drop:
        case QEvent::FocusIn:
            rememberState();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

int MunicipalityCombo::firstStartingWith(const QStringList &items, const QString &prefix)
{
    if (prefix.isEmpty())
        return -1;
    // Most names already differ in their first letter: test it alone before
    // the full comparison, which keeps a whole scan to a fraction of a
    // millisecond.
    const char32_t first = QChar::toCaseFolded(prefix.at(0).unicode());
    const qsizetype n = items.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QString &item = items.at(i);
        if (item.isEmpty() || QChar::toCaseFolded(item.at(0).unicode()) != first)
            continue;
        if (item.startsWith(prefix, Qt::CaseInsensitive))
            return int(i);
    }
    return -1;
}

int MunicipalityCombo::firstEqualTo(const QStringList &items, const QString &text)
{
    if (text.isEmpty())
        return -1;
    const qsizetype n = items.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QString &item = items.at(i);
        if (item.size() == text.size() && item.compare(text, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

QStringList MunicipalityCombo::items() const
{
    // The shared lists are string list models: taking their list is a
    // reference-counted copy, not 8,000 string copies per keystroke.
    if (auto *strings = qobject_cast<QStringListModel *>(m_combo->model()); strings && m_combo->modelColumn() == 0)
        return strings->stringList();
    QStringList out;
    out.reserve(m_combo->count());
    for (int i = 0; i < m_combo->count(); ++i)
        out << m_combo->itemText(i);
    return out;
}

void MunicipalityCombo::rememberState()
{
    if (!m_edit)
        return;
    m_lastText = m_edit->text();
    m_lastSelectionLength = int(m_edit->selectedText().size());
}

void MunicipalityCombo::onTextEdited(const QString &text)
{
    // Complete only what grew at the end: after an erasure (Backspace over the
    // proposed rest, Delete) completing again would put back what the user
    // has just removed.
    const int kept = int(m_lastText.size()) - m_lastSelectionLength;
    const bool grew = text.size() > kept;
    const bool atEnd = !m_edit->hasSelectedText() && m_edit->cursorPosition() == text.size();

    const QStringList list = items();
    int index = -1;
    if (grew && atEnd)
        index = firstStartingWith(list, text);
    if (index >= 0) {
        const QString entry = list.at(index);
        selectIndexKeepingText(index);
        m_edit->setText(entry);
        // The typed part stays, the proposed rest is selected, so the next
        // key replaces it and Backspace removes it.
        m_edit->setSelection(int(text.size()), int(entry.size() - text.size()));
    } else {
        // No completion: the text is an entry only if it is one exactly.
        index = firstEqualTo(list, text);
        selectIndexKeepingText(index);
    }
    rememberState();
    Q_EMIT chosen(index);
}

void MunicipalityCombo::selectIndexKeepingText(int index)
{
    if (m_combo->currentIndex() == index)
        return;
    // Changing the current index rewrites the editor (an empty text for -1);
    // what the user sees and where the cursor is must not move.
    const QString text = m_edit->text();
    const int cursor = m_edit->cursorPosition();
    const int selectionStart = m_edit->selectionStart();
    const int selectionLength = int(m_edit->selectedText().size());
    const QSignalBlocker blockEdit(m_edit);
    m_combo->setCurrentIndex(index);
    m_edit->setText(text);
    if (selectionLength > 0 && selectionStart >= 0) {
        // Keep the selection's anchor and the cursor where they were.
        if (cursor == selectionStart)
            m_edit->setSelection(selectionStart + selectionLength, -selectionLength);
        else
            m_edit->setSelection(selectionStart, selectionLength);
    } else {
        m_edit->setCursorPosition(cursor);
    }
}

} // namespace brevan::ui
