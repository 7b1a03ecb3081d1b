// SPDX-License-Identifier: GPL-2.0-or-later
#include "positionpage.h"

#include <QAbstractItemView>
#include <QCheckBox>

namespace brevan::ui {

namespace {

constexpr int kGroupX = 2;
constexpr int kGroupW = 411;
constexpr int kLabelX = 8;
// The judgment captions here are long; the lists are short words, so the
// caption column takes most of the width and the lists sit at the right.
constexpr int kFieldX = 289;
constexpr int kFieldW = 114;
constexpr int kLabelW = kFieldX - kLabelX - 6;
constexpr int kRowH = 22;
constexpr int kPitch = 27;
constexpr int kFirstRow = 20;

struct Amenity {
    const char *field;
    const char *caption;
    const char *phrase; // completes the hint
};

constexpr Amenity kAmenities[] = {
    {"ScuoleObbligo", "Scuole dell'obbligo", "scuola dell'obligo"},
    {"IstitutiSuperiori", "Istituti superiori", "istituti superiori"},
    {"FacoltaUniversit", "Facoltà universitarie", "facoltà universitarie"},
    {"MensaUniversit", "Mensa universitaria", "mensa universitaria"},
    {"MercatoCivico", "Mercato civico", "mercato civico"},
    {"Supermercati", "Supermercati", "supermercati"},
    {"GrandiMagazzini", "Grandi magazzini", "grandi magazzini"},
    {"CentriCommerciali", "Centri commerciali", "centri commerciali"},
    {"ParcheggiPubblici", "Parcheggi pubblici", "parcheggi pubblici"},
    {"PercorsiLineeCTM", "Percorsi linee CTM", "linee di trasporto pubblico"},
    {"StruttureSanitarie", "Strutture sanitarie", "strutture sanitarie"},
    {"ImpiantiSportivi", "Impianti sportivi", "impianti sportivi"},
    {"UfficiPostali", "Uffici postali", "uffici postali"},
    {"LuoghiDiCulto", "Luoghi di culto", "luoghi di culto"},
    {"LocaliSpettacolo", "Locali di spettacolo", "locali di spettacolo"},
};
constexpr int kAmenityRows = 5; // three columns of five, filled column by column
constexpr int kAmenityColumnW = 131;


// A caption (wrapped when it does not fit the caption column) with its pick
// list at the right, centred on each other; returns the height used.
int placeRow(QGroupBox *group, const QString &caption, QComboBox *field, int y)
{
    QLabel *label = makeLabel(caption, group);
    label->setBuddy(field);
    int height = kRowH;
    if (label->sizeHint().width() > kLabelW) {
        label->setWordWrap(true);
        height = std::max(kRowH, label->heightForWidth(kLabelW));
        label->setGeometry(kLabelX, y, kLabelW, height);
    } else {
        fitToText(label);
        label->move(kLabelX, y + (kRowH - label->height()) / 2);
    }
    field->setGeometry(kFieldX, y + (height - kRowH) / 2, kFieldW, kRowH);
    return height;
}

} // namespace

PositionPage::PositionPage(QWidget *parent) : CentredPage(parent)
{
    QWidget *p = panel();

    amenitiesBox = makeGroup(QStringLiteral("Attrezzature collettive a distanza pedonale"), p);
    amenitiesBox->setGeometry(kGroupX, 0, kGroupW, 128);
    for (int i = 0; i < int(std::size(kAmenities)); ++i) {
        const Amenity &a = kAmenities[i];
        QCheckBox *box = makeFieldCheck(a.field, QString::fromUtf8(a.caption), amenitiesBox);
        box->setGeometry(kLabelX + (i / kAmenityRows) * kAmenityColumnW, kFirstRow + (i % kAmenityRows) * 21,
                         kAmenityColumnW - 4, 19);
        setHint(box, QStringLiteral("|Presenza di %1 a distanza pedonale dall'immobile oggetto di stima.")
                         .arg(QString::fromUtf8(a.phrase)));
        amenityChecks[i] = box;
    }
    schoolsCheck = amenityChecks[0];
    highSchoolsCheck = amenityChecks[1];
    facultiesCheck = amenityChecks[2];
    canteenCheck = amenityChecks[3];
    marketCheck = amenityChecks[4];
    supermarketsCheck = amenityChecks[5];
    departmentStoresCheck = amenityChecks[6];
    shoppingCentresCheck = amenityChecks[7];
    publicParkingCheck = amenityChecks[8];
    transportLinesCheck = amenityChecks[9];
    healthCheck = amenityChecks[10];
    sportsCheck = amenityChecks[11];
    postOfficesCheck = amenityChecks[12];
    worshipCheck = amenityChecks[13];
    entertainmentCheck = amenityChecks[14];

    localisationBox = makeGroup(QStringLiteral("Caratteristiche di localizzazione"), p);
    int y = kFirstRow;
    pollutionCombo = makeFieldCombo("InquinamAmbiente", localisationBox);
    y += placeRow(localisationBox, QStringLiteral("Giudizio sul livello di inquinamento ambientale:"), pollutionCombo,
                  y) + kPitch - kRowH;
    greeneryCombo = makeFieldCombo("VerdePubblico", localisationBox);
    y += placeRow(localisationBox, QStringLiteral("Giudizio sulla presenza di verde pubblico o privato:"),
                  greeneryCombo, y) + kPitch - kRowH;
    parkingCombo = makeFieldCombo("DisponibAreeSosta", localisationBox);
    y += placeRow(localisationBox, QStringLiteral("Disponibilità di spazi pubblici o privati adibiti a parcheggio:"),
                  parkingCombo, y) + 8;
    localisationBox->setGeometry(kGroupX, 134, kGroupW, y);

    positionBox = makeGroup(QStringLiteral("Caratteristiche di posizione"), p);
    y = kFirstRow;
    streetLevelCombo = makeFieldCombo("QuotaDaPianoStrad", positionBox);
    y += placeRow(positionBox, QStringLiteral("Quota rispetto al piano stradale:"), streetLevelCombo, y) + kPitch -
         kRowH;
    accessorySpacesCombo = makeFieldCombo("SuperfAccessorie", positionBox);
    y += placeRow(positionBox,
                  QStringLiteral("Dimensioni subordinarie o superordinarie degli spazi coperti o scoperti:"),
                  accessorySpacesCombo, y) + 8;
    positionBox->setGeometry(kGroupX, localisationBox->geometry().bottom() + 7, kGroupW, y);
}

} // namespace brevan::ui
