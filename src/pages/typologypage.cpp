// SPDX-License-Identifier: GPL-2.0-or-later
#include "typologypage.h"

#include <QAbstractItemView>
#include <QCheckBox>

namespace brevan::ui {

namespace {

constexpr int kGroupX = 2;
constexpr int kGroupW = 411;
// Two columns inside each group.
constexpr int kCol1X = 8;
constexpr int kCol2X = 212;
constexpr int kColRight = 403;
constexpr int kCol1W = kCol2X - 9 - kCol1X;
constexpr int kCol2W = kColRight - kCol2X;
constexpr int kRowH = 22;
constexpr int kFirstRow = 20;

// The fittings need a wider first column for the kind lists beside the
// lift and the heating.
constexpr int kFitCol2X = 250;
constexpr int kKindX = 112;
constexpr int kKindW = kFitCol2X - 10 - kKindX;
constexpr int kFitPitch = 25;

// The grade explanations behind the first four judgments, entry i for grade i.
const char *const kRepairInside[] = {
    "Giudizio scarso: è indispensabile una ristrutturazione totale.",
    "Giudizio mediocre: è indispensabile una ristrutturazione parziale.",
    "Giudizio sufficiente: condizioni ordinarie (immobile con 15/20 anni di vita).",
    "Giudizio discreto: immobile parzialmente ristrutturato da meno di 15 anni.",
    "Giudizio buono: immobile totalmente ristrutturato da meno di 15 anni.",
    "Giudizio ottimo: immobile costruito o totalmente ristrutturato negli ultimi 5 anni.",
};
const char *const kRepairOutside[] = {
    "Giudizio scarso: è indispensabile una manutenzione straordinaria.",
    "Giudizio mediocre: è indispensabile una manutenzione ordinaria.",
    "Giudizio sufficiente: è opportuna ma non indispensabile una manutenzione ordinaria.",
    "Giudizio buono: non vi sono necessità di manutenzione.",
    "Giudizio ottimo: edificio nuovo o appena ristrutturato.",
};
const char *const kFinishInside[] = {
    "Giudizio scarso: intonaco, pavimenti e infissi di scarsa qualità.",
    "Giudizio ordinario: intonaco, pavimenti e infissi di sufficiente qualità.",
    "Giudizio sufficiente: intonaco, pavimenti e infissi di sufficiente qualità, doppie finestre.",
    "Giudizio discreto: intonaco trattato, pavimenti e infissi di sufficiente qualità, doppie finestre.",
    "Giudizio buono: intonaco trattato o carta da parati, pavimenti o parquet e infissi di buona qualità, doppie "
    "finestre.",
    "Giudizio ottimo: finiture superiori.",
};
const char *const kFinishOutside[] = {
    "Giudizio ordinario: intonaco semplice o intonaco con rivestimento di qualità ordinaria.",
    "Giudizio sufficiente: intonaco con rivestimento di qualità ordinaria.",
    "Giudizio discreto: intonaco trattato o muro a vista.",
    "Giudizio buono: intonaco con rivest. di qualità; intonaco trattato con rivest. di qualità; intonaco di qualità "
    "superiore.",
    "Giudizio ottimo: rivestimenti di qualità superiore.",
};

template <std::size_t N>
QStringList toList(const char *const (&items)[N])
{
    QStringList list;
    for (const char *s : items)
        list << QString::fromUtf8(s);
    return list;
}

QComboBox *hiddenList(const QString &name, const QStringList &items, QWidget *parent)
{
    QComboBox *c = makeCombo(name, items, 0, KeyFilter::PickOnly, parent);
    c->hide();
    return c;
}

// Caption at x, pick list after it, centred on each other.
QLabel *placeBeside(QGroupBox *group, const QString &caption, QComboBox *field, int x, int fieldX, int width, int y)
{
    QLabel *label = makeLabel(caption, group);
    fitToText(label);
    label->move(x, y + (kRowH - label->height()) / 2);
    label->setBuddy(field);
    field->setGeometry(fieldX, y, width, kRowH);
    return label;
}

// Caption above its pick list; returns the label.
QLabel *placeAbove(QGroupBox *group, const QString &caption, QComboBox *field, int x, int width, int y)
{
    QLabel *label = makeLabel(caption, group);
    fitToText(label);
    label->move(x, y);
    label->setBuddy(field);
    field->setGeometry(x, y + label->height() + 2, width, kRowH);
    return label;
}


// Ticking a plant shows its kind list with the usual kind; clearing it
// empties and hides the list. The program's write runs no reaction of the list.
void bindKind(QCheckBox *check, QComboBox *kind, const QString &usual)
{
    kind->hide();
    QObject::connect(check, &QCheckBox::toggled, kind, [kind, usual](bool ticked) {
        setComboText(kind, ticked ? usual : QString());
        kind->setVisible(ticked);
    });
}

} // namespace

TypologyPage::TypologyPage(QWidget *parent) : CentredPage(parent)
{
    QWidget *p = panel();

    positionBox = makeGroup(QStringLiteral("Caratteristiche di posizione"), p);
    positionBox->setGeometry(kGroupX, 0, kGroupW, kFirstRow + 27 + kRowH + 9);
    constexpr int kCaptionW = 74;
    int y = kFirstRow;
    brightnessCombo = makeFieldCombo("Luminosita", positionBox);
    placeBeside(positionBox, QStringLiteral("Luminosità:"), brightnessCombo, kCol1X, kCol1X + kCaptionW,
                kCol1W - kCaptionW, y);
    viewCombo = makeFieldCombo("Panoramicita", positionBox);
    placeBeside(positionBox, QStringLiteral("Panoramicità:"), viewCombo, kCol2X, kCol2X + kCaptionW,
                kCol2W - kCaptionW, y);
    y += 27;
    exposureCombo = makeFieldCombo("Esposizione", positionBox);
    placeBeside(positionBox, QStringLiteral("Esposizione:"), exposureCombo, kCol1X, kCol1X + kCaptionW,
                kCol1W - kCaptionW, y);
    outlookCombo = makeFieldCombo("Prospicienza", positionBox);
    placeBeside(positionBox, QStringLiteral("Prospicienza:"), outlookCombo, kCol2X, kCol2X + kCaptionW,
                kCol2W - kCaptionW, y);

    typologyBox = makeGroup(QStringLiteral("Caratteristiche tipologiche e servizi accessori"), p);
    const int typologyTop = positionBox->geometry().bottom() + 7;

    // Fittings: the lift and the heating with their kinds and the wiring at
    // the left, the four simple fittings at the right.
    y = kFirstRow;
    liftCheck = makeFieldCheck("Ascensore", QStringLiteral("Ascensore"), typologyBox);
    liftCheck->setGeometry(kCol1X, y + 1, kKindX - kCol1X - 4, 20);
    liftKindCombo = makeFieldCombo("AscensoreTipo", typologyBox);
    liftKindCombo->setGeometry(kKindX, y, kKindW, kRowH);
    aerialCheck = makeFieldCheck("AntennaCentralizz", QStringLiteral("Antenna centralizzata"), typologyBox);
    aerialCheck->setGeometry(kFitCol2X, y + 1, kColRight - kFitCol2X, 20);
    y += kFitPitch;
    heatingCheck = makeFieldCheck("Riscaldamento", QStringLiteral("Riscaldamento"), typologyBox);
    heatingCheck->setGeometry(kCol1X, y + 1, kKindX - kCol1X - 4, 20);
    heatingKindCombo = makeFieldCombo("RiscaldamentoTipo", typologyBox);
    heatingKindCombo->setGeometry(kKindX, y, kKindW, kRowH);
    gateCheck = makeFieldCheck("CancelloAutomatico", QStringLiteral("Cancello automatico"), typologyBox);
    gateCheck->setGeometry(kFitCol2X, y + 1, kColRight - kFitCol2X, 20);
    y += kFitPitch;
    wiringCheck = makeFieldCheck("ImpElettrANorma", QStringLiteral("Impianto elettrico a norma di legge"), typologyBox);
    wiringCheck->setGeometry(kCol1X, y + 1, kFitCol2X - 10 - kCol1X, 20);
    waterReserveCheck = makeFieldCheck("RiservaIdrica", QStringLiteral("Riserva idrica"), typologyBox);
    waterReserveCheck->setGeometry(kFitCol2X, y + 1, kColRight - kFitCol2X, 20);
    y += kFitPitch;
    porterCheck = makeFieldCheck("Portineria", QStringLiteral("Portineria"), typologyBox);
    porterCheck->setGeometry(kFitCol2X, y + 1, kColRight - kFitCol2X, 20);
    bindKind(liftCheck, liftKindCombo, QStringLiteral("Singolo"));
    bindKind(heatingCheck, heatingKindCombo, QStringLiteral("Centralizzato"));

    // The six judgments, inside and outside side by side.
    y += kFitPitch + 6;
    constexpr int kJudgmentPitch = 44;
    repairInsideCombo = makeFieldCombo("StatoConservInt", typologyBox);
    placeAbove(typologyBox, QStringLiteral("Stato di conservazione interno:"), repairInsideCombo, kCol1X, kCol1W, y);
    repairOutsideCombo = makeFieldCombo("StatoConservExt", typologyBox);
    placeAbove(typologyBox, QStringLiteral("Stato di conservazione esterno:"), repairOutsideCombo, kCol2X, kCol2W, y);
    y += kJudgmentPitch;
    finishInsideCombo = makeFieldCombo("GradoRifinitInt", typologyBox);
    finishInsideLabel =
        placeAbove(typologyBox, QStringLiteral("Grado di rifinitura interno:"), finishInsideCombo, kCol1X, kCol1W, y);
    setHint(finishInsideLabel,
            QStringLiteral("La presenza di porte interne di buona qualità aumenta di un grado il giudizio.|"
                           "La presenza di porte interne di buona qualità aumenta di un grado il giudizio."));
    finishOutsideCombo = makeFieldCombo("GradoRifinitExt", typologyBox);
    placeAbove(typologyBox, QStringLiteral("Grado di rifinitura esterno:"), finishOutsideCombo, kCol2X, kCol2W, y);
    y += kJudgmentPitch;
    plantsPresenceCombo = makeFieldCombo("PresImpiantiTecnol", typologyBox);
    placeAbove(typologyBox, QStringLiteral("Presenza di impianti tecnologici:"), plantsPresenceCombo, kCol1X, kCol1W,
               y);
    plantsLevelCombo = makeFieldCombo("LivImpiantiTecnol", typologyBox);
    placeAbove(typologyBox, QStringLiteral("Livello tecnologico degli impianti:"), plantsLevelCombo, kCol2X, kCol2W,
               y);
    y += kJudgmentPitch;
    typologyBox->setGeometry(kGroupX, typologyTop, kGroupW, y - 4);

    // Until a judgment is chosen its hint says what it judges.
    setHint(repairInsideCombo, QStringLiteral("|Giudizio sullo stato di conservazione interno dell'immobile oggetto di stima."));
    setHint(repairOutsideCombo, QStringLiteral("|Giudizio sullo stato di conservazione esterno dell'immobile oggetto di stima."));
    setHint(finishInsideCombo, QStringLiteral("|Giudizio sul grado di rifinitura interno dell'immobile oggetto di stima."));
    setHint(finishOutsideCombo, QStringLiteral("|Giudizio sul grado di rifinitura esterno dell'immobile oggetto di stima."));
    setHint(plantsPresenceCombo, QStringLiteral("|Giudizio sulla presenza degli impianti tecnologici."));
    setHint(plantsLevelCombo, QStringLiteral("|Giudizio sul livello tecnologico degli impianti."));

    repairInsideExplanations = hiddenList(QStringLiteral("ComboBox30"), toList(kRepairInside), typologyBox);
    repairOutsideExplanations = hiddenList(QStringLiteral("ComboBox31"), toList(kRepairOutside), typologyBox);
    finishInsideExplanations = hiddenList(QStringLiteral("ComboBox32"), toList(kFinishInside), typologyBox);
    finishOutsideExplanations = hiddenList(QStringLiteral("ComboBox33"), toList(kFinishOutside), typologyBox);
}

} // namespace brevan::ui
