// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// "Caratteristiche di localizzazione": town size with its average rate, urban
// zone and centrality, distance and transport, quality of the surroundings.
#include "pages/pagekit.h"

class QButtonGroup;
class QRadioButton;
class QToolButton;

namespace brevan::ui {

class LocalisationPage : public CentredPage {
    Q_OBJECT
public:
    explicit LocalisationPage(QWidget *parent = nullptr);

    // The options of each trio exclude one another for the user, but a new
    // appraisal and the zone cascades need all three cleared: these do that.
    void clearTownSize();
    void clearCentrality();

    QGroupBox *townSizeBox;         // "Dimensioni del centro urbano"
    QRadioButton *smallTownRadio;   // PiccoleDimensImmob
    QRadioButton *mediumTownRadio;  // MedieDimensImmob
    QRadioButton *largeTownRadio;   // GrandiDimensImmob
    QButtonGroup *townSizeGroup;
    QLineEdit *averageRateEdit;     // SaggioMedioImmob

    QGroupBox *zoneBox;             // "Zona di appartenenza e centralità dell'immobile"
    QComboBox *urbanZoneCombo;      // ZonaUrbanaImmob
    QToolButton *zonesEditorButton; // "...": the urban zones editor; shown only with a municipality
    QRadioButton *centralZoneRadio;      // ZonaCentrImmob
    QRadioButton *intermediateZoneRadio; // ZonaIntermImmob
    QRadioButton *outlyingZoneRadio;     // ZonaPeriferImmob
    QButtonGroup *centralityGroup;
    QComboBox *mainStreetDistanceCombo; // DistanzaViaPrincip
    QComboBox *publicTransportCombo;    // ServTraspPubblico

    QGroupBox *environmentBox;      // "Qualificazione ambientale"
    QComboBox *surroundingsCombo;   // QualifAmbienteExt
    QComboBox *settlementCombo;     // IdoneitaInsediat
    QComboBox *improvementsCombo;   // MiglioramAmbiente
};

} // namespace brevan::ui
