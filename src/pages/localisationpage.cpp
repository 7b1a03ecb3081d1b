// SPDX-License-Identifier: GPL-2.0-or-later
#include "localisationpage.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QRadioButton>
#include <QToolButton>

namespace brevan::ui {

namespace {

// Geometry of the 415 × 372 panel. Labels sit in one column at the left of
// each group and every pick list starts at the same x, so the three groups
// read as one form.
constexpr int kGroupX = 2;
constexpr int kGroupW = 411;
constexpr int kLabelX = 8;
constexpr int kFieldX = 208;
constexpr int kFieldW = 195;
constexpr int kRowH = 22;
constexpr int kPitch = 27;
constexpr int kFirstRow = 20; // below the group caption
// The average rate stands beside the town sizes, clear of their captions.
constexpr int kRateX = 232;

// A caption at the left of a row, its field at kFieldX, vertically centred
// on each other. The label is the field's buddy, so the caption can be found
// from the field.
void placeRow(QGroupBox *group, const QString &caption, QWidget *field, int y, int fieldWidth = kFieldW)
{
    QLabel *label = makeLabel(caption, group);
    fitToText(label);
    label->move(kLabelX, y + (kRowH - label->height()) / 2);
    label->setBuddy(field);
    field->setGeometry(kFieldX, y, fieldWidth, kRowH);
}


QButtonGroup *exclusiveGroup(QObject *owner, std::initializer_list<QRadioButton *> buttons)
{
    auto *group = new QButtonGroup(owner);
    group->setExclusive(true);
    for (QRadioButton *b : buttons)
        group->addButton(b);
    return group;
}

// An exclusive group refuses to uncheck its checked button; lift the rule for
// the moment of clearing.
void clearGroup(QButtonGroup *group)
{
    group->setExclusive(false);
    for (QAbstractButton *b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

} // namespace

LocalisationPage::LocalisationPage(QWidget *parent) : CentredPage(parent)
{
    QWidget *p = panel();

    // Town size: the three options at the left, the average rate that goes
    // with them at the right.
    townSizeBox = makeGroup(QStringLiteral("Dimensioni del centro urbano"), p);
    townSizeBox->setGeometry(kGroupX, 0, kGroupW, 88);
    smallTownRadio = makeFieldRadio("PiccoleDimensImmob", QStringLiteral("Centro urbano di piccole dimensioni"),
                                    townSizeBox);
    mediumTownRadio = makeFieldRadio("MedieDimensImmob", QStringLiteral("Centro urbano di medie dimensioni"),
                                     townSizeBox);
    largeTownRadio = makeFieldRadio("GrandiDimensImmob", QStringLiteral("Centro urbano di grandi dimensioni"),
                                    townSizeBox);
    int y = kFirstRow;
    for (QRadioButton *r : {smallTownRadio, mediumTownRadio, largeTownRadio}) {
        r->setGeometry(kLabelX, y, kRateX - kLabelX - 8, 19);
        y += 21;
    }
    townSizeGroup = exclusiveGroup(this, {smallTownRadio, mediumTownRadio, largeTownRadio});

    averageRateEdit = makeFieldEdit("SaggioMedioImmob", townSizeBox);
    QLabel *rateLabel = makeLabel(QStringLiteral("Saggio medio di capitalizzazione:"), townSizeBox);
    fitToText(rateLabel);
    rateLabel->move(kRateX, kFirstRow + 2);
    rateLabel->setBuddy(averageRateEdit);
    averageRateEdit->setGeometry(kRateX, kFirstRow + 21, 80, kRowH);
    averageRateEdit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QLabel *percent = makeLabel(QStringLiteral("%"), townSizeBox);
    fitToText(percent);
    percent->move(kRateX + 84, kFirstRow + 21 + (kRowH - percent->height()) / 2);

    // Zone and centrality, then the two connection judgments.
    zoneBox = makeGroup(QStringLiteral("Zona di appartenenza e centralità dell'immobile"), p);
    zoneBox->setGeometry(kGroupX, 94, kGroupW, 136);
    y = kFirstRow;
    urbanZoneCombo = makeFieldCombo("ZonaUrbanaImmob", zoneBox);
    // Zone names run to 30 characters, longer than the field.
    setPopupFitsItems(urbanZoneCombo);
    placeRow(zoneBox, QStringLiteral("Zona urbana di appartenenza:"), urbanZoneCombo, y, kFieldW - 27);
    zonesEditorButton = makeToolButton(QStringLiteral("ZoneUrbaneButton"), QIcon(),
                                       QStringLiteral("|Imposta zone urbane per il Comune selezionato."), zoneBox);
    zonesEditorButton->setText(QStringLiteral("..."));
    zonesEditorButton->setFont(pageFont());
    zonesEditorButton->setAutoRaise(false);
    zonesEditorButton->move(kFieldX + kFieldW - 23, y);
    // Without a municipality there are no zones to edit.
    zonesEditorButton->hide();

    y += kPitch;
    centralZoneRadio = makeFieldRadio("ZonaCentrImmob", QStringLiteral("Zona centrale"), zoneBox);
    intermediateZoneRadio = makeFieldRadio("ZonaIntermImmob", QStringLiteral("Zona intermedia"), zoneBox);
    outlyingZoneRadio = makeFieldRadio("ZonaPeriferImmob", QStringLiteral("Zona periferica"), zoneBox);
    centralZoneRadio->setGeometry(kLabelX, y + 1, 120, 19);
    intermediateZoneRadio->setGeometry(kFieldX - 70, y + 1, 120, 19);
    outlyingZoneRadio->setGeometry(kFieldX + kFieldW - 110, y + 1, 110, 19);
    centralityGroup = exclusiveGroup(this, {centralZoneRadio, intermediateZoneRadio, outlyingZoneRadio});

    y += kPitch;
    mainStreetDistanceCombo = makeFieldCombo("DistanzaViaPrincip", zoneBox);
    placeRow(zoneBox, QStringLiteral("Distanza da una via o piazza principale:"), mainStreetDistanceCombo, y);
    y += kPitch;
    publicTransportCombo = makeFieldCombo("ServTraspPubblico", zoneBox);
    placeRow(zoneBox, QStringLiteral("Servizio di trasporto pubblico:"), publicTransportCombo, y);

    // Quality of the surroundings.
    environmentBox = makeGroup(QStringLiteral("Qualificazione ambientale"), p);
    environmentBox->setGeometry(kGroupX, 236, kGroupW, 109);
    y = kFirstRow;
    surroundingsCombo = makeFieldCombo("QualifAmbienteExt", environmentBox);
    placeRow(environmentBox, QStringLiteral("Qualificazione dell'ambiente esterno:"), surroundingsCombo, y);
    y += kPitch;
    settlementCombo = makeFieldCombo("IdoneitaInsediat", environmentBox);
    placeRow(environmentBox, QStringLiteral("Idoneità insediativa:"), settlementCombo, y);
    y += kPitch;
    improvementsCombo = makeFieldCombo("MiglioramAmbiente", environmentBox);
    placeRow(environmentBox, QStringLiteral("Previsione di miglioramenti ambientali:"), improvementsCombo, y);
}

void LocalisationPage::clearTownSize()
{
    clearGroup(townSizeGroup);
}

void LocalisationPage::clearCentrality()
{
    clearGroup(centralityGroup);
}

} // namespace brevan::ui
