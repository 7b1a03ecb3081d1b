// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// "Caratteristiche di posizione": amenities within walking distance, the
// environment judgments and the two position judgments the system derives.
#include "pages/pagekit.h"

#include <array>

class QCheckBox;

namespace brevan::ui {

class PositionPage : public CentredPage {
    Q_OBJECT
public:
    explicit PositionPage(QWidget *parent = nullptr);

    QGroupBox *amenitiesBox; // "Attrezzature collettive a distanza pedonale"
    // The fifteen amenities in screen order, ScuoleObbligo … LocaliSpettacolo.
    std::array<QCheckBox *, 15> amenityChecks{};
    QCheckBox *schoolsCheck;          // ScuoleObbligo
    QCheckBox *highSchoolsCheck;      // IstitutiSuperiori
    QCheckBox *facultiesCheck;        // FacoltaUniversit
    QCheckBox *canteenCheck;          // MensaUniversit
    QCheckBox *marketCheck;           // MercatoCivico
    QCheckBox *supermarketsCheck;     // Supermercati
    QCheckBox *departmentStoresCheck; // GrandiMagazzini
    QCheckBox *shoppingCentresCheck;  // CentriCommerciali
    QCheckBox *publicParkingCheck;    // ParcheggiPubblici
    QCheckBox *transportLinesCheck;   // PercorsiLineeCTM
    QCheckBox *healthCheck;           // StruttureSanitarie
    QCheckBox *sportsCheck;           // ImpiantiSportivi
    QCheckBox *postOfficesCheck;      // UfficiPostali
    QCheckBox *worshipCheck;          // LuoghiDiCulto
    QCheckBox *entertainmentCheck;    // LocaliSpettacolo

    QGroupBox *localisationBox;  // "Caratteristiche di localizzazione"
    QComboBox *pollutionCombo;   // InquinamAmbiente
    QComboBox *greeneryCombo;    // VerdePubblico
    QComboBox *parkingCombo;     // DisponibAreeSosta

    QGroupBox *positionBox;          // "Caratteristiche di posizione"
    QComboBox *streetLevelCombo;     // QuotaDaPianoStrad
    QComboBox *accessorySpacesCombo; // SuperfAccessorie
};

} // namespace brevan::ui
