// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// "Caratteristiche tipologiche": the four position judgments, the fittings of
// the building with the kinds of lift and heating, and the six typological
// judgments.
#include "pages/pagekit.h"

class QCheckBox;

namespace brevan::ui {

class TypologyPage : public CentredPage {
    Q_OBJECT
public:
    explicit TypologyPage(QWidget *parent = nullptr);

    QGroupBox *positionBox;      // "Caratteristiche di posizione"
    QComboBox *brightnessCombo;  // Luminosita
    QComboBox *viewCombo;        // Panoramicita
    QComboBox *exposureCombo;    // Esposizione
    QComboBox *outlookCombo;     // Prospicienza

    QGroupBox *typologyBox;      // "Caratteristiche tipologiche e servizi accessori"
    QCheckBox *liftCheck;        // Ascensore
    QComboBox *liftKindCombo;    // AscensoreTipo, shown only while the lift is ticked
    QCheckBox *heatingCheck;     // Riscaldamento
    QComboBox *heatingKindCombo; // RiscaldamentoTipo, shown only while the heating is ticked
    QCheckBox *wiringCheck;      // ImpElettrANorma
    QCheckBox *porterCheck;      // Portineria
    QCheckBox *aerialCheck;      // AntennaCentralizz
    QCheckBox *gateCheck;        // CancelloAutomatico
    QCheckBox *waterReserveCheck; // RiservaIdrica

    QComboBox *repairInsideCombo;     // StatoConservInt
    QComboBox *repairOutsideCombo;    // StatoConservExt
    QComboBox *finishInsideCombo;     // GradoRifinitInt
    QComboBox *finishOutsideCombo;    // GradoRifinitExt
    QComboBox *plantsPresenceCombo;   // PresImpiantiTecnol
    QComboBox *plantsLevelCombo;      // LivImpiantiTecnol
    QLabel *finishInsideLabel;        // carries its own hint about the inner doors

    // Hidden lists of the grade explanations, parallel to the scales of the
    // first four judgments: ComboBox30 to ComboBox33.
    QComboBox *repairInsideExplanations;
    QComboBox *repairOutsideExplanations;
    QComboBox *finishInsideExplanations;
    QComboBox *finishOutsideExplanations;
};

} // namespace brevan::ui
