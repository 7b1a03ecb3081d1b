#include "descriptionpage.h"

#include "pages/municipalitycombo.h"

#include <QCalendarWidget>
#include <QAbstractItemView>
#include <QLabel>
#include <QLocale>
#include <QSignalBlocker>

namespace brevan::ui {

namespace {

// Geometry of the panel, in pixels, matching the appraiser's page: captions
// above their fields, the location rows on the same columns as the office's.
constexpr int kGroupLeft = 8;
constexpr int kGroupWidth = kCentredPanelWidth - 2 * kGroupLeft;
constexpr int kInnerLeft = 8;
constexpr int kGap = 6;
constexpr int kFirstRowTop = 18;
constexpr int kRowPitch = 40;
constexpr int kCaptionHeight = 14;
constexpr int kFieldHeight = 21;
constexpr int kGroupSpacing = 8;
constexpr int groupHeight(int rows) { return kFirstRowTop + rows * kRowPitch + 3; }

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
// The field shows about twenty letters; its drop-down is wide enough for the
// longest municipality names.
constexpr int kMunicipalityListWidth = 200;

// Lays fields out from the left edge of a group, one row at a time, each with
// its caption above it; captionLines > 1 makes room for captions that wrap,
// and single-line captions then sit just above their fields.
class RowPlacer {
public:
    RowPlacer(QWidget *group, int top, int captionLines = 1)
        : m_group(group), m_top(top), m_fieldTop(top + captionLines * kCaptionHeight)
    {
    }

    template <typename Field>
    Field *add(Field *field, const QString &caption, int width)
    {
        field->setGeometry(m_x, m_fieldTop, width, kFieldHeight);
        QLabel *label = placeLabel(caption, m_group, m_x, m_fieldTop - kCaptionHeight);
        label->setBuddy(field);
        m_x += width + kGap;
        return field;
    }

    // A field under a caption that wraps within columnWidth.
    template <typename Field>
    Field *addWrapped(Field *field, const QString &caption, int width, int columnWidth)
    {
        field->setGeometry(m_x, m_fieldTop, width, kFieldHeight);
        QLabel *label = makeLabel(caption, m_group);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        label->setGeometry(m_x, m_top, columnWidth, m_fieldTop - m_top);
        label->setBuddy(field);
        m_x += columnWidth + kGap;
        return field;
    }

private:
    QWidget *m_group;
    int m_top;
    int m_fieldTop;
    int m_x = kInnerLeft;
};

int rowTop(int row) { return kFirstRowTop + row * kRowPitch; }

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
        dateEdit = new QDateEdit(g);
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
}

} // namespace brevan::ui
