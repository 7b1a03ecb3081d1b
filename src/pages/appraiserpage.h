// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The page "Generalità del professionista" (TabSheet1): the appraiser's
// particulars, fields 1 to 17 of the record. The location cascade is
// DescriptionOps' (app/descriptionops.h).
#include "pages/pagekit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

namespace brevan::ui {

class MunicipalityCombo;

class AppraiserPage : public CentredPage {
    Q_OBJECT
public:
    explicit AppraiserPage(QWidget *parent = nullptr);

    // Group "Generalità del professionista".
    QGroupBox *particularsGroup;
    QLineEdit *surnameEdit;        // CognomeProfess (Edit6)
    QLineEdit *firstNameEdit;      // NomeProfess (Edit7)
    QLineEdit *taxCodeEdit;        // CodiceFiscaleProfess (Edit8)
    QLineEdit *professionEdit;     // ProfessioneProfess (Edit9)
    QLineEdit *registerNumberEdit; // NumIscrizAlboProfess (Edit22)
    QLineEdit *firmEdit;           // SocietaProfess (Edit23)
    QLineEdit *vatNumberEdit;      // PartitaIvaProfess (Edit24)

    // Group "Sede legale e recapiti".
    QGroupBox *officeGroup;
    QComboBox *municipalityCombo;  // ComuneProfess (ComboBox13)
    QComboBox *postalCodeCombo;    // CAPProfess (ComboBox17)
    QComboBox *provinceCombo;      // ProvinciaProfess (ComboBox12)
    QComboBox *provinceCodeCombo;  // SiglaProvinciaProfess (ComboBox14)
    QLineEdit *addressEdit;        // IndirizzoProfess (Edit10)
    QLineEdit *houseNumberEdit;    // NumCivicoProfess (Edit11)
    QLineEdit *phoneEdit;          // TelefonoProfess (Edit2)
    QLineEdit *faxEdit;            // FaxProfess (Edit3)
    QLineEdit *mobileEdit;         // CellulareProfess (Edit4)
    QLineEdit *emailEdit;          // EMailProfess (Edit5)

    // Type-ahead of the four lists; chosen(i) gives the chosen position.
    MunicipalityCombo *municipalityTypeAhead;
    MunicipalityCombo *postalCodeTypeAhead;
    MunicipalityCombo *provinceTypeAhead;
    MunicipalityCombo *provinceCodeTypeAhead;
};

} // namespace brevan::ui
