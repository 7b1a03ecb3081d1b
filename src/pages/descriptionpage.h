// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The page "Descrizione unità immobiliare" (TabSheet2): where the building
// stands, its type and age, and the unit's cadastral data (fields 18 to 36).
// Its reactions (the location cascade, the building's age, the floor check,
// the category hint) are DescriptionOps' (app/descriptionops.h).
#include "pages/pagekit.h"

#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>

namespace brevan::ui {

class MunicipalityCombo;

class DescriptionPage : public CentredPage {
    Q_OBJECT
public:
    explicit DescriptionPage(QWidget *parent = nullptr);

    // The program writes the appraisal date: like a program write into a pick
    // list, it runs no reaction (the date-change chain is the user's only).
    void setAppraisalDate(const QDate &date);

    // The dates the appraisal date accepts.
    static inline const QDate kFirstAppraisalDate{1800, 1, 1};
    static inline const QDate kLastAppraisalDate{2100, 12, 31};
    // The category field's hint while no category is chosen.
    static inline const QString kCategoryHint = QStringLiteral("|Categoria catastale del fabbricato.");

    // Group "Ubicazione del fabbricato".
    QGroupBox *locationGroup;
    QComboBox *municipalityCombo; // ComuneImmob (ComboBox6)
    QComboBox *postalCodeCombo;   // CAPImmob (ComboBox11)
    QComboBox *provinceCombo;     // ProvinciaImmob (ComboBox1)
    QComboBox *provinceCodeCombo; // SiglaProvinciaImmob (ComboBox8)
    QLineEdit *addressEdit;       // IndirizzoImmob (Edit12)
    QLineEdit *houseNumberEdit;   // NumCivicoImmob (Edit13)

    // Group "Riferimenti tipologici e temporali".
    QGroupBox *buildingGroup;
    QComboBox *buildingTypeCombo;     // TipologEdiliziaImmob (ComboBox3)
    QComboBox *totalFloorsCombo;      // TotPianiImmob (ComboBox45)
    QComboBox *floorCombo;            // PianoImmob (ComboBox46)
    QLineEdit *internalNumberEdit;    // InternoImmob (Edit20)
    QDateEdit *dateEdit;              // DataStimaImmob (DateTimePicker1), the appraisal date
    QComboBox *constructionYearCombo; // AnnoCostruzImmob (ComboBox5)
    QComboBox *buildingAgeCombo;      // EtaEdificioImmob (ComboBox2), pick only

    // Group "Riferimenti catastali".
    QGroupBox *cadastralGroup;
    QLineEdit *sheetEdit;      // FoglioCatastImmob (Edit15)
    QLineEdit *parcelEdit;     // MappaleCatastImmob (Edit16)
    QLineEdit *subUnitEdit;    // SubCatastImmob (Edit18)
    QComboBox *categoryCombo;  // CategCatastImmob (ComboBox4)
    QLineEdit *classEdit;      // ClasseCatastImmob (Edit19)
    QLineEdit *sizeEdit;       // ConsistCatastImmob (Edit21)

    // Type-ahead of the four location lists; chosen(i) gives the chosen position.
    MunicipalityCombo *municipalityTypeAhead;
    MunicipalityCombo *postalCodeTypeAhead;
    MunicipalityCombo *provinceTypeAhead;
    MunicipalityCombo *provinceCodeTypeAhead;
};

} // namespace brevan::ui
