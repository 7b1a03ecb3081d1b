// SPDX-License-Identifier: GPL-2.0-or-later
#include "descriptionops.h"

#include "mainwindow.h"
#include "widgetfields.h"

#include "data/municipalities.h"
#include "model/currency.h"
#include "model/record.h"
#include "pages/appraiserpage.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/messages.h"
#include "pages/municipalitycombo.h"
#include "pages/pagekit.h"
#include "pages/positionpage.h"
#include "store/datafolder.h"
#include "valuation/description.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>

namespace brevan::app {

namespace {

// Column i of a list, or the empty text when there is no chosen entry.
QString at(const QStringList &column, int i)
{
    return i >= 0 && i < column.size() ? column.at(i) : QString();
}

// The four location fields of one page.
struct LocationFields {
    QComboBox *municipality;
    QComboBox *postalCode;
    QComboBox *province;
    QComboBox *provinceCode;
};

// Steps 2 and 3 of both cascades: the three fields follow the chosen entry of
// the municipality list (all empty when the text chose none). False when the
// municipality is empty and the three were emptied.
bool fillFromMunicipality(const LocationFields &f)
{
    const QString name = f.municipality->currentText();
    int i = -1;
    if (!name.isEmpty()) {
        i = f.municipality->currentIndex();
        const MunicipalityList &list = ui::offeredMunicipalities();
        ui::setComboText(f.postalCode, at(list.postalCodes, i));
        ui::setComboText(f.province, at(list.provinces, i));
        ui::setComboText(f.provinceCode, at(list.provinceCodes, i));
        return true;
    }
    ui::setComboText(f.postalCode, QString());
    ui::setComboText(f.province, QString());
    ui::setComboText(f.provinceCode, QString());
    return false;
}

} // namespace

template <typename Fn>
void DescriptionOps::onUserChange(QComboBox *combo, Fn fn)
{
    connect(combo, &QComboBox::textActivated, this, fn);
    if (QLineEdit *edit = combo->lineEdit())
        connect(edit, &QLineEdit::textEdited, this, fn);
}

DescriptionOps::DescriptionOps(MainWindow *window, QObject *parent)
    : DescriptionOps(window, parent, std::make_unique<WindowFields>(window))
{
}

DescriptionOps::~DescriptionOps() = default;

DescriptionOps::DescriptionOps(MainWindow *window, QObject *parent, std::unique_ptr<WindowFields> fields)
    : DescriptionWork(fields->fields, fields->notices, parent), m_window(window), m_windowFields(std::move(fields))
{
    ui::DescriptionPage *d = window->descriptionPage;
    ui::AppraiserPage *a = window->appraiserPage;

    // The location lists react to the user's choice only; a completion while
    // typing counts as one.
    connect(d->municipalityTypeAhead, &ui::MunicipalityCombo::chosen, this, [this] { ComboBox6Change(); });
    connect(a->municipalityTypeAhead, &ui::MunicipalityCombo::chosen, this, [this] { ComboBox13Change(); });
    connect(d->provinceTypeAhead, &ui::MunicipalityCombo::chosen, this,
            [this] { ComboBox1Change(m_window->descriptionPage->provinceCombo); });
    connect(a->provinceTypeAhead, &ui::MunicipalityCombo::chosen, this,
            [this] { ComboBox1Change(m_window->appraiserPage->provinceCombo); });

    onUserChange(d->constructionYearCombo, [this] { ImpostaEtaEdificio(); });
    onUserChange(d->totalFloorsCombo, [this] { GiudicaQuotaDalPianoStradale(); });
    onUserChange(d->floorCombo, [this] { GiudicaQuotaDalPianoStradale(); });
    onUserChange(d->categoryCombo, [this] { ComboBox4Change(); });
    onUserChange(d->buildingTypeCombo, [this] { Q_EMIT CalcolaCIValoreMercatoRequested(); });
    onUserChange(d->buildingAgeCombo, [this] { Q_EMIT CalcolaCIValoreMercatoRequested(); });
    connect(d->dateEdit, &QDateEdit::dateChanged, this, [this] { DateTimePicker1Change(); });
}

void DescriptionOps::ComboBox6Change()
{
    ui::DescriptionPage *d = m_window->descriptionPage;
    // Step 1, or steps 2 and 3.
    if (!fillFromMunicipality({d->municipalityCombo, d->postalCodeCombo, d->provinceCombo, d->provinceCodeCombo})) {
        m_window->localisationPage->zonesEditorButton->hide();
        m_window->incomePage->unitRentTableButton->hide();
        Q_EMIT zoneFieldsClearRequested();
        Q_EMIT unitRentResetRequested();
        return;
    }
    // Step 4.
    m_window->localisationPage->zonesEditorButton->show();
    m_window->incomePage->unitRentTableButton->show();

    const QString municipality = d->municipalityCombo->currentText();
    const QString postalCode = d->postalCodeCombo->currentText();
    const QString provinceCode = d->provinceCodeCombo->currentText();
    try {
        // Step 5. A failed copy has left the 11 empty rows of the rebuild.
        reloadForMunicipality(MunicipalityTable::Zones, municipality, postalCode, provinceCode);
        // Steps 6 and 7.
        Q_EMIT zoneFieldsClearRequested();
        Q_EMIT zoneListRebuildRequested();
        // Step 8; the rent itself is not recomputed here.
        reloadForMunicipality(MunicipalityTable::UnitRents, municipality, postalCode, provinceCode);
        m_cascadeFailure.clear();
    } catch (const std::exception &e) {
        const QString failure = QString::fromUtf8(e.what());
        if (failure != m_cascadeFailure)
            ui::Messages::error(m_window, failure);
        m_cascadeFailure = failure;
    }
}

void DescriptionOps::ComboBox13Change()
{
    ui::AppraiserPage *a = m_window->appraiserPage;
    fillFromMunicipality({a->municipalityCombo, a->postalCodeCombo, a->provinceCombo, a->provinceCodeCombo});
}

void DescriptionOps::ComboBox1Change(QComboBox *province)
{
    QComboBox *code = nullptr;
    if (province == m_window->descriptionPage->provinceCombo)
        code = m_window->descriptionPage->provinceCodeCombo;
    else if (province == m_window->appraiserPage->provinceCombo)
        code = m_window->appraiserPage->provinceCodeCombo;
    if (!code)
        return;
    // The chosen entry's position; no entry when the text matches none.
    const int i = province->currentText().isEmpty() ? -1 : province->currentIndex();
    ui::setComboText(code, at(provinceCodes(), i));
}

void DescriptionOps::ComboBox4Change()
{
    QComboBox *category = m_window->descriptionPage->categoryCombo;
    if (const std::optional<QString> hint = categoryHint(category->currentText()))
        ui::setHint(category, *hint);
    recalculateTaxes();
}

void DescriptionOps::municipalityRestored()
{
    ui::DescriptionPage *d = m_window->descriptionPage;
    QComboBox *combo = d->municipalityCombo;
    const QString name = combo->currentText();
    const QString provinceCode = d->provinceCodeCombo->currentText();
    // The lists offer the municipalities of the appraisal's date.
    ui::offerMunicipalitiesAt(d->dateEdit->date());
    // Names repeat across provinces ("Calliano", "Castro"), and a former
    // name may be another province's name in force: the list's position
    // follows the province stored with the name, which the editors take over.
    const int row = municipalityRow(ui::offeredMunicipalities(), name, provinceCode);
    if (row != combo->currentIndex()) {
        const QSignalBlocker blockCombo(combo);
        const QSignalBlocker blockEdit(combo->lineEdit());
        combo->setCurrentIndex(row);
        combo->lineEdit()->setText(name);
    }
    noteFormerMunicipality();
}

void DescriptionOps::DateTimePicker1Change()
{
    ui::offerMunicipalitiesAt(m_window->descriptionPage->dateEdit->date());
    if (!ImpostaEtaEdificio())
        return;
    Q_EMIT SetCanoneMensileDiLocazioneUnitarioRequested();
    Q_EMIT CalcolaRedditoLordoAnnuoRequested();
}

} // namespace brevan::app
