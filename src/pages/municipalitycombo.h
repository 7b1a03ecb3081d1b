// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Type-ahead for the editable lists of municipalities, postal codes, provinces
// and province codes. Typing completes the text to the first entry that begins
// with what was typed (case ignored), shows the rest selected, and counts as
// choosing that entry; the location cascade reads the chosen position.
#include <QObject>
#include <QString>
#include <QStringList>

class QComboBox;
class QLineEdit;

namespace brevan::ui {

class MunicipalityCombo : public QObject {
    Q_OBJECT
public:
    // Gives combo the type-ahead behaviour (an editable combo). Attaching twice
    // returns the object attached the first time.
    static MunicipalityCombo *attach(QComboBox *combo);
    // The behaviour attached to combo, or nullptr.
    static MunicipalityCombo *of(const QComboBox *combo);

    QComboBox *combo() const { return m_combo; }

    // The drop-down list is at least this wide (it is built at its first
    // opening, so the width is kept until then).
    void setPopupMinimumWidth(int width);

    // Position of the first item that begins with prefix, case ignored; -1 for
    // an empty prefix or when no item begins with it.
    static int firstStartingWith(const QStringList &items, const QString &prefix);
    // Position of the first item equal to text, case ignored; -1 when none.
    static int firstEqualTo(const QStringList &items, const QString &text);

Q_SIGNALS:
    // The user chose the entry at index: by typing (completion, or a text that
    // matches no entry: -1), from the drop-down list, or with the arrow keys.
    // Program writes through setComboText() emit nothing.
    void chosen(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit MunicipalityCombo(QComboBox *combo);
    QStringList items() const;
    void onTextEdited(const QString &text);
    void rememberState();
    void selectIndexKeepingText(int index);
    void prepareView();

    QComboBox *m_combo;
    QLineEdit *m_edit;
    // The edit's text and selection as they were before the edit being
    // handled: tells an insertion (complete) from an erasure (do not).
    QString m_lastText;
    int m_lastSelectionLength = 0;
    int m_popupMinimumWidth = 0;
    bool m_viewPrepared = false;
};

} // namespace brevan::ui
