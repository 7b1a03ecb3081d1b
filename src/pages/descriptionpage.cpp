// SPDX-License-Identifier: GPL-2.0-or-later
#include "descriptionpage.h"

#include "pages/formrows.h"
#include "pages/municipalitycombo.h"

#include <QCalendarWidget>
#include <QAbstractItemView>
#include <QLabel>
#include <QLocale>
#include <QSignalBlocker>

namespace brevan::ui {

namespace {

using namespace formrows;

constexpr int kGroupSpacing = 8;

// The construction year's caption is too long for one line beside the date
// and the age: it wraps onto two lines in a column of this width, and its row
// is one caption line taller.
constexpr int kYearColumnWidth = 150;

constexpr int kLocationTop = 8;
constexpr int kLocationRows = 2;
constexpr int kBuildingTop = kLocationTop + groupHeight(kLocationRows) + kGroupSpacing;
constexpr int kBuildingRows = 2;
constexpr int kBuildingHeight = groupHeight(kBuildingRows) + kCaptionHeight;
constexpr int kCadastralTop = kBuildingTop + kBuildingHeight + kGroupSpacing;
constexpr int kCadastralRows = 1;

// "Data stima:" is one field: Tab leaves it, as it leaves every other field,
// instead of walking through day, month and year.
class DateField : public QDateEdit {
public:
    using QDateEdit::QDateEdit;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

} // namespace

DescriptionPage::DescriptionPage(QWidget *parent) : CentredPage(parent)
{
    setObjectName(QStringLiteral("TabSheet2"));
    QWidget *p = panel();

    locationGroup = makeGroup(QStringLiteral("Ubicazione del fabbricato"), p);
    locationGroup->setGeometry(kGroupLeft, kLocationTop, kGroupWidth, groupHeight(kLocationRows));
    {
        QGroupBox *g = locationGroup;
        RowPlacer r0(g, rowTop(0));
        municipalityCombo = r0.add(makeFieldCombo("ComuneImmob", g), QStringLiteral("Comune:"), 143);
        postalCodeCombo = r0.add(makeFieldCombo("CAPImmob", g), QStringLiteral("C.A.P."), 64);
        provinceCombo = r0.add(makeFieldCombo("ProvinciaImmob", g), QStringLiteral("Provincia:"), 112);
        provinceCodeCombo = r0.add(makeFieldCombo("SiglaProvinciaImmob", g), QStringLiteral("Sigla:"), 46);
        RowPlacer r1(g, rowTop(1));
        addressEdit = r1.add(makeFieldEdit("IndirizzoImmob", g), QStringLiteral("Indirizzo:"), 290);
        houseNumberEdit = r1.add(makeFieldEdit("NumCivicoImmob", g), QStringLiteral("Num civico:"), 87);
    }

    buildingGroup = makeGroup(QStringLiteral("Riferimenti tipologici e temporali"), p);
    buildingGroup->setGeometry(kGroupLeft, kBuildingTop, kGroupWidth, kBuildingHeight);
    {
        QGroupBox *g = buildingGroup;
        RowPlacer r0(g, rowTop(0));
        buildingTypeCombo =
            r0.add(makeFieldCombo("TipologEdiliziaImmob", g), QStringLiteral("Tipologia edilizia:"), 160);
        totalFloorsCombo = r0.add(makeFieldCombo("TotPianiImmob", g), QStringLiteral("Tot. piani:"), 50);
        floorCombo = r0.add(makeFieldCombo("PianoImmob", g), QStringLiteral("Piano:"), 50);
        internalNumberEdit = r0.add(makeFieldEdit("InternoImmob", g), QStringLiteral("Interno:"), 105);

        RowPlacer r1(g, rowTop(1), 2);
        dateEdit = new DateField(g);
        dateEdit->setObjectName(QStringLiteral("DataStimaImmob"));
        dateEdit->setProperty("brevanControl", QStringLiteral("DateTimePicker1"));
        dateEdit->setFont(pageFont());
        // Month names are Italian whatever the machine's locale.
        dateEdit->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
        dateEdit->setDisplayFormat(QStringLiteral("d MMMM yyyy"));
        dateEdit->setDateRange(kFirstAppraisalDate, kLastAppraisalDate);
        // The calendar is built when it first opens and takes the edit's
        // locale then.
        dateEdit->setCalendarPopup(true);
        // Start-up sets today's date again; this only keeps the page from
        // showing an arbitrary date before it does.
        dateEdit->setDate(QDate::currentDate());
        r1.add(dateEdit, QStringLiteral("Data stima:"), 130);
        constructionYearCombo = r1.addWrapped(makeFieldCombo("AnnoCostruzImmob", g),
                                              QStringLiteral("Anno di costruzione o di ristrutturaz. totale:"), 60,
                                              kYearColumnWidth);
        buildingAgeCombo = r1.add(makeFieldCombo("EtaEdificioImmob", g), QStringLiteral("Età edificio:"), 91);
    }

    cadastralGroup = makeGroup(QStringLiteral("Riferimenti catastali"), p);
    cadastralGroup->setGeometry(kGroupLeft, kCadastralTop, kGroupWidth, groupHeight(kCadastralRows));
    {
        QGroupBox *g = cadastralGroup;
        RowPlacer r0(g, rowTop(0));
        sheetEdit = r0.add(makeFieldEdit("FoglioCatastImmob", g), QStringLiteral("Foglio:"), 58);
        parcelEdit = r0.add(makeFieldEdit("MappaleCatastImmob", g), QStringLiteral("Mappale:"), 58);
        subUnitEdit = r0.add(makeFieldEdit("SubCatastImmob", g), QStringLiteral("Subalterno:"), 58);
        categoryCombo = r0.add(makeFieldCombo("CategCatastImmob", g), QStringLiteral("Categoria:"), 64);
        classEdit = r0.add(makeFieldEdit("ClasseCatastImmob", g), QStringLiteral("Classe:"), 50);
        sizeEdit = r0.add(makeFieldEdit("ConsistCatastImmob", g), QStringLiteral("Consistenza:"), 65);
        setHint(categoryCombo, kCategoryHint);
    }

    municipalityTypeAhead = MunicipalityCombo::attach(municipalityCombo);
    municipalityTypeAhead->setPopupMinimumWidth(kMunicipalityListWidth);
    postalCodeTypeAhead = MunicipalityCombo::attach(postalCodeCombo);
    provinceTypeAhead = MunicipalityCombo::attach(provinceCombo);
    provinceCodeTypeAhead = MunicipalityCombo::attach(provinceCodeCombo);
}

void DescriptionPage::setAppraisalDate(const QDate &date)
{
    const QSignalBlocker program(dateEdit);
    dateEdit->setDate(date);
    offerMunicipalitiesAt(date);
}

} // namespace brevan::ui
