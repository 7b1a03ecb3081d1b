// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The page "Caratteristiche produttive": rent, deposit and rates, the gross
// and net annual income and the six yearly expenses. The computations behind
// the fields live with the valuation; this class only builds the controls.
#include "pages/pagekit.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace brevan::ui {

class IncomePage : public CentredPage {
    Q_OBJECT
public:
    explicit IncomePage(QWidget *parent = nullptr);

    // Group "Caratteristiche produttive".
    QGroupBox *productiveGroup;
    QLineEdit *unitRentEdit;          // CanoneLocazUnit (Edit14)
    QToolButton *unitRentTableButton; // SpeedButton63: opens the unit-rent editor
    QLineEdit *depositMonthsEdit;     // NumCauzioni (Edit17)
    QLineEdit *commercialRateEdit;    // SaggioCommerciale (Edit29)
    QLineEdit *legalRateEdit;         // SaggioLegale (Edit30)

    // Reference rents of the chosen municipality, zone and year, plain number
    // text; "0" while none is known. Never shown, never saved.
    QLineEdit *midRentEdit; // Edit39
    QLineEdit *minRentEdit; // Edit40
    QLineEdit *maxRentEdit; // Edit41

    // Group "Redditi e spese annui".
    QGroupBox *incomeGroup;
    QLineEdit *grossIncomeEdit;       // RedditoLordoAnnuo (Edit31), read-only
    QLineEdit *maintenanceEdit;       // SpeseManutenzione (Edit33)
    QLineEdit *administrationEdit;    // SpeseAmministraz (Edit34)
    QLineEdit *vacancyEdit;           // AleeSfitti (Edit35)
    QLineEdit *insuranceEdit;         // SpeseAssicurazioni (Edit36)
    QLineEdit *depreciationEdit;      // AliquoteAmmortam (Edit37)
    QLineEdit *taxesEdit;             // AliquoteTasse (Edit38)
    QLineEdit *netIncomeEdit;         // RedditoNettoAnnuo (Edit32), read-only

    // Full-precision copies of the six expenses kept by the currency switch
    // (Edit43 to Edit48, in the order of the expenses above). Never shown.
    QLineEdit *expenseShadowEdits[6];

    // The six expense fields in their fixed order (maintenance … taxes).
    QLineEdit *expenseEdit(int i) const;
};

} // namespace brevan::ui
