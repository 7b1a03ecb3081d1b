// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// "Confronto con le quotazioni OMI": a window of its own beside the main
// window, built at first use. The semester, zone, building type, state and
// floor chosen above; the quotation used, the band on the unit's surface, K1,
// K2, K, the valore normale and the appraisal's values placed on the band in
// the middle; the band drawn with the values marked below. Every change of a
// choice computes again at once.
#include "valuation/omicomparison.h"

#include <QDate>
#include <QWidget>

class QComboBox;
class QLabel;

namespace brevan::ui {

// The drawing of the band (the same painting the printed page uses).
class OmiBandView : public QWidget {
    Q_OBJECT
public:
    explicit OmiBandView(QWidget *parent = nullptr);
    void setOutcome(const omiband::Outcome &outcome);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    omiband::Outcome m_outcome;
};

class OmiWindow : public QWidget {
    Q_OBJECT
public:
    explicit OmiWindow(QWidget *parent = nullptr);

    struct Offer {
        QVector<QPair<QString, QString>> zones; // code, description
        QVector<QPair<QString, QString>> types; // code, name
        QStringList semesters;                  // latest first
        QString note; // why the list is empty, or where it comes from
    };
    // The choices the quotations offer, then the choice shown (proposals
    // where it has none); writes no edit.
    void setOffer(const Offer &offer, const omiband::Choice &shown);
    void setOutcome(const omiband::Outcome &outcome, const QDate &valuationDate);

    // The choice as the combos show it.
    omiband::Choice choice() const;

    QComboBox *semesterCombo; // "Semestre:"
    QComboBox *zoneCombo;     // "Zona OMI:"
    QComboBox *typeCombo;     // "Tipologia:"
    QComboBox *stateCombo;    // "Stato conservativo:"
    QComboBox *floorCombo;    // "Piano (per K2):"
    QLabel *offerLabel;       // where the quotations come from, or why there are none
    QLabel *detailLabel;      // the lines of the comparison
    OmiBandView *bandView;
    QLabel *sourceLabel;      // "Fonte: Agenzia Entrate - OMI"

Q_SIGNALS:
    // The user changed a choice.
    void choiceEdited();
    // The window came to the front: the pages may have changed meanwhile.
    void activated();

protected:
    bool event(QEvent *event) override;
};

} // namespace brevan::ui
