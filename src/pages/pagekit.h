// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Small builders shared by every page: fonts, navy group captions, fields
// made from the record's definitions, key filters, hints and the program's
// writes into pick lists (which must not run the user's reactions).
#include "data/municipalities.h"
#include "model/record.h"

#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QStringListModel>

class QAbstractButton;
class QCheckBox;
class QRadioButton;
class QToolButton;

namespace brevan::ui {

// Controls on the pages use Arial 8 pt.
QFont pageFont();
// The colour of group captions.
inline constexpr QRgb kNavy = 0x000080;

// Swallows typed characters that the filter refuses. Only typed characters
// are filtered: text written by the program or pasted passes unchanged.
class KeyFilterObject : public QObject {
    Q_OBJECT
public:
    KeyFilterObject(KeyFilter filter, QObject *parent);
    KeyFilter filter() const { return m_filter; }
    // Whether the filter lets a typed character through; "." becomes "," for decimals.
    static bool accepts(KeyFilter filter, QChar c);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyFilter m_filter;
};

// Attaches a key filter to a line edit or to an editable combo's line edit.
void installKeyFilter(QWidget *w, KeyFilter filter);
// The filter attached to a widget, KeyFilter::None when there is none.
KeyFilter keyFilterOf(const QWidget *w);

// Hints are "short|long": the short part is the tooltip, the long part goes to
// the status bar; a hint beginning with "|" has only a long part.
void setHint(QWidget *w, const QString &hint);
void setHint(QAction *a, const QString &hint);
// Status tips stop at their window; a dialog's own hints are passed on to the
// window of the dialog's parent (the main window), whose status bar shows them.
void forwardStatusTips(QWidget *dialog);

// A group box with its caption in navy.
class NavyGroupBox : public QGroupBox {
    Q_OBJECT
public:
    NavyGroupBox(const QString &caption, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};
QGroupBox *makeGroup(const QString &caption, QWidget *parent);
// A label (fields take the page font from their page).
QLabel *makeLabel(const QString &text, QWidget *parent);
// A label placed at (x, y) in its parent.
QLabel *placeLabel(const QString &text, QWidget *parent, int x, int y);
// Sizes a label to its text, as QLabel::adjustSize does, faster for a plain
// caption of one line.
void fitToText(QLabel *label);

// A line edit for a persisted field: objectName, typed length and key filter
// from the record. Typed length limits typing only (see LimitedLineEdit).
QLineEdit *makeFieldEdit(const char *fieldName, QWidget *parent);
// A line edit that is not a persisted field (objectName given).
QLineEdit *makeEdit(const QString &objectName, int typedLength, KeyFilter filter, QWidget *parent);
// A read-only result field.
QLineEdit *makeResultEdit(const QString &objectName, QWidget *parent);

// An editable pick list for a persisted field: objectName, items, typed length
// and key filter from the record. Pick-only lists refuse typing but Backspace.
QComboBox *makeFieldCombo(const char *fieldName, QWidget *parent);
// An editable combo without a completer, made without the cost of
// QComboBox::setEditable (see the definition).
QComboBox *makeEditableCombo(QWidget *parent = nullptr);
QComboBox *makeCombo(const QString &objectName, const QStringList &items, int typedLength, KeyFilter filter,
                     QWidget *parent);

QCheckBox *makeFieldCheck(const char *fieldName, const QString &caption, QWidget *parent);
QRadioButton *makeFieldRadio(const char *fieldName, const QString &caption, QWidget *parent);

// A flat 23 × 22 tool button with an icon and a hint.
QToolButton *makeToolButton(const QString &objectName, const QIcon &icon, const QString &hint, QWidget *parent);

// The drop-down list of a pick list made here widens to its longest entry
// instead of cutting it short; the field keeps its width.
void setPopupFitsItems(QComboBox *combo);

// The program writes a value into a pick list: no reaction runs.
void setComboText(QComboBox *combo, const QString &text);

// The municipality columns and the province columns, each one model shared by
// every list that shows it (built once).
QStringListModel *sharedListModel(Choice list);

// The municipalities the shared municipality and postal code lists offer, row
// for row: those in force at the valuation date last given to
// offerMunicipalitiesAt(), today's until then.
const MunicipalityList &offeredMunicipalities();
// Makes the shared lists offer the municipalities in force on date. Every
// pick list on them keeps its text and its entry (found again by cadastral
// code), or no entry when the new list lacks it; nothing is emitted.
void offerMunicipalitiesAt(const QDate &date);

// The fixed panel of the centred pages and its placement in the page area.
inline constexpr int kCentredPanelWidth = 415;
inline constexpr int kCentredPanelHeight = 372;
// Offsets of a centred panel, halves truncated toward zero (negative when the
// page is smaller than the panel).
QPoint centredPanelOffset(const QSize &page, const QSize &panel = {kCentredPanelWidth, kCentredPanelHeight});

// A page holding one fixed 415 × 372 panel kept centred as the page resizes.
class CentredPage : public QWidget {
    Q_OBJECT
public:
    explicit CentredPage(QWidget *parent = nullptr);
    QWidget *panel() const { return m_panel; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *m_panel;
};

} // namespace brevan::ui
