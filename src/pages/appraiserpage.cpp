// SPDX-License-Identifier: GPL-2.0-or-later
#include "appraiserpage.h"

#include "pages/formrows.h"
#include "pages/municipalitycombo.h"

#include <QAbstractItemView>
#include <QLabel>

namespace brevan::ui {

namespace {

using namespace formrows;

constexpr int kParticularsTop = 8;
constexpr int kParticularsRows = 3;
constexpr int kOfficeTop = kParticularsTop + groupHeight(kParticularsRows) + 8;
constexpr int kOfficeRows = 4;

} // namespace

AppraiserPage::AppraiserPage(QWidget *parent) : CentredPage(parent)
{
    setObjectName(QStringLiteral("TabSheet1"));
    QWidget *p = panel();

    particularsGroup = makeGroup(QStringLiteral("Generalità del professionista"), p);
    particularsGroup->setGeometry(kGroupLeft, kParticularsTop, kGroupWidth, groupHeight(kParticularsRows));
    {
        QGroupBox *g = particularsGroup;
        RowPlacer r0(g, rowTop(0));
        surnameEdit = r0.add(makeFieldEdit("CognomeProfess", g), QStringLiteral("Cognome:"), 121);
        firstNameEdit = r0.add(makeFieldEdit("NomeProfess", g), QStringLiteral("Nome:"), 122);
        taxCodeEdit = r0.add(makeFieldEdit("CodiceFiscaleProfess", g), QStringLiteral("Codice fiscale:"), 128);
        RowPlacer r1(g, rowTop(1));
        professionEdit = r1.add(makeFieldEdit("ProfessioneProfess", g), QStringLiteral("Professione:"), 188);
        registerNumberEdit =
            r1.add(makeFieldEdit("NumIscrizAlboProfess", g), QStringLiteral("Num. iscrizione all'Albo:"), 189);
        RowPlacer r2(g, rowTop(2));
        firmEdit = r2.add(makeFieldEdit("SocietaProfess", g), QStringLiteral("Società:"), 290);
        vatNumberEdit = r2.add(makeFieldEdit("PartitaIvaProfess", g), QStringLiteral("Partita IVA:"), 87);
    }

    officeGroup = makeGroup(QStringLiteral("Sede legale e recapiti"), p);
    officeGroup->setGeometry(kGroupLeft, kOfficeTop, kGroupWidth, groupHeight(kOfficeRows));
    {
        QGroupBox *g = officeGroup;
        RowPlacer r0(g, rowTop(0));
        municipalityCombo = r0.add(makeFieldCombo("ComuneProfess", g), QStringLiteral("Comune:"), 143);
        postalCodeCombo = r0.add(makeFieldCombo("CAPProfess", g), QStringLiteral("C.A.P."), 64);
        provinceCombo = r0.add(makeFieldCombo("ProvinciaProfess", g), QStringLiteral("Provincia:"), 112);
        provinceCodeCombo = r0.add(makeFieldCombo("SiglaProvinciaProfess", g), QStringLiteral("Sigla:"), 46);
        RowPlacer r1(g, rowTop(1));
        addressEdit = r1.add(makeFieldEdit("IndirizzoProfess", g), QStringLiteral("Indirizzo:"), 290);
        houseNumberEdit = r1.add(makeFieldEdit("NumCivicoProfess", g), QStringLiteral("Num civico:"), 87);
        RowPlacer r2(g, rowTop(2));
        phoneEdit = r2.add(makeFieldEdit("TelefonoProfess", g), QStringLiteral("Telefono:"), 121);
        faxEdit = r2.add(makeFieldEdit("FaxProfess", g), QStringLiteral("Fax:"), 122);
        mobileEdit = r2.add(makeFieldEdit("CellulareProfess", g), QStringLiteral("Cellulare:"), 128);
        RowPlacer r3(g, rowTop(3));
        emailEdit = r3.add(makeFieldEdit("EMailProfess", g), QStringLiteral("E-mail:"), kGroupWidth - 2 * kInnerLeft);
    }

    municipalityTypeAhead = MunicipalityCombo::attach(municipalityCombo);
    municipalityTypeAhead->setPopupMinimumWidth(kMunicipalityListWidth);
    postalCodeTypeAhead = MunicipalityCombo::attach(postalCodeCombo);
    provinceTypeAhead = MunicipalityCombo::attach(provinceCombo);
    provinceCodeTypeAhead = MunicipalityCombo::attach(provinceCodeCombo);
}

} // namespace brevan::ui
