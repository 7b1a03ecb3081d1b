// SPDX-License-Identifier: GPL-2.0-or-later
// The characteristics reactions on the real main window: town size, the zone
// list and lookup, the judgments with their explanations, the plants judged
// from the fittings, and the requests they pass to the valuation.
#include "../support/appfixture.h"
#include "../support/pagedriving.h"
#include "app/application.h"
#include "app/characteristicsops.h"
#include "model/currency.h"
#include "model/numbertext.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/pagekit.h"
#include "pages/positionpage.h"
#include "pages/typologypage.h"
#include "store/datafolder.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>

using namespace brevan;
using brevan::app::CharacteristicsOps;
using brevan::app::MainWindow;

namespace {

constexpr int kLocalisationNode = 7;
constexpr int kPositionNode = 8;
constexpr int kTypologyNode = 9;

// Every request the operations send to other subsystems, in the order sent.
struct Requests {
    QStringList log;
    explicit Requests(CharacteristicsOps &ops)
    {
        const auto record = [this, &ops](auto signal, const char *name) {
            QObject::connect(&ops, signal, &ops, [this, name] { log << QString::fromLatin1(name); });
        };
        record(&CharacteristicsOps::SetCanoneMensileDiLocazioneUnitarioRequested, "SetCanoneMensileDiLocazioneUnitario");
        record(&CharacteristicsOps::CalcolaCIValoreMercatoRequested, "CalcolaCIValoreMercato");
        record(&CharacteristicsOps::CalcolaCIStatoConservazInternoRequested, "CalcolaCIStatoConservazInterno");
        record(&CharacteristicsOps::CalcolaCIStatoConservazEsternoRequested, "CalcolaCIStatoConservazEsterno");
        record(&CharacteristicsOps::CalcolaCIGradoRifinituraInternoRequested, "CalcolaCIGradoRifinituraInterno");
        record(&CharacteristicsOps::CalcolaCIGradoRifinituraEsternoRequested, "CalcolaCIGradoRifinituraEsterno");
        record(&CharacteristicsOps::CalcolaCILivelloTecnologicoImpiantiRequested,
               "CalcolaCILivelloTecnologicoImpianti");
        record(&CharacteristicsOps::CalcolaCDEsposizioneRequested, "CalcolaCDEsposizione");
        record(&CharacteristicsOps::CalcolaSpeseAmministrazioneRequested, "CalcolaSpeseAmministrazione");
        record(&CharacteristicsOps::CalcolaSpeseManutenzioneRequested, "CalcolaSpeseManutenzione");
    }
    QStringList take() { return std::exchange(log, {}); }
};

// Chooses an entry of a pick list with the arrow keys, as a user of a
// pick-only list does; each step is a choice of its own.
void choose(QComboBox *combo, const QString &text)
{
    const int target = combo->findText(text, Qt::MatchExactly);
    QVERIFY2(target >= 0, qPrintable(text));
    combo->setFocus(Qt::TabFocusReason);
    for (int guard = 0; combo->currentIndex() != target && guard < 50; ++guard)
        QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(combo->currentText(), text);
}

// Erases the whole text of a pick list with Backspace.
void erase(QComboBox *combo)
{
    combo->setFocus(Qt::TabFocusReason);
    QTest::keyClick(combo, Qt::Key_End);
    QTest::keyClick(combo, Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(combo, Qt::Key_Backspace);
    QCOMPARE(combo->currentText(), QString());
}

void setTick(QCheckBox *box, bool on)
{
    if (box->isChecked() != on)
        click(box);
    QCOMPARE(box->isChecked(), on);
}

struct ZoneRow {
    QString name, centrality, rate, quality, settlement, improvements;
};

void writeWorkingZones(const QList<ZoneRow> &rows, int blankRows = 0)
{
    rebuildTable(dataPath(kZonaUrbana), zonesLayout(), blankRows);
    Table t = Table::open(dataPath(kZonaUrbana));
    for (const ZoneRow &r : rows)
        t.append({QString(), QString(), r.name, r.centrality, r.rate, r.quality, r.settlement, r.improvements});
}

QStringList itemsOf(const QComboBox *c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

} // namespace

class TestCharacteristicsOps : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }
    void init() { currency().reset(); }

    // ---- Town size -----------------------------------------------------

    void townSize_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("hint");
        QTest::newRow("small") << "PiccoleDimensImmob" << "4,00"
                               << "Il saggio di capitalizzazione varia fra il valore minimo 2,00% e il massimo 6,00%.";
        QTest::newRow("medium") << "MedieDimensImmob" << "3,50"
                                << "Il saggio di capitalizzazione varia fra il valore minimo 1,50% e il massimo 5,50%.";
        QTest::newRow("large") << "GrandiDimensImmob" << "2,50"
                               << "Il saggio di capitalizzazione varia fra il valore minimo 0,50% e il massimo 4,50%.";
    }
    void townSize()
    {
        QFETCH(QString, option);
        QFETCH(QString, rate);
        QFETCH(QString, hint);
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        Requests requests(ops);
        ui::LocalisationPage *page = f.window->localisationPage;
        showPage(f.window.get(), kLocalisationNode);
        // A rate typed first is replaced by the town size's.
        page->averageRateEdit->setFocus();
        QTest::keyClicks(page->averageRateEdit, "5");
        QCOMPARE(page->averageRateEdit->text(), QStringLiteral("5"));
        click(page->findChild<QRadioButton *>(option));
        QCOMPARE(page->averageRateEdit->text(), rate);
        QCOMPARE(page->averageRateEdit->statusTip(), hint);
        QCOMPARE(page->averageRateEdit->toolTip(), QString());
        QCOMPARE(requests.take(), QStringList());
    }

    // ---- Zone list and lookup ------------------------------------------

    void zoneListSkipsEmptyNamesInTableOrder()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        writeWorkingZones({{"Porto", "", "", "", "", ""},
                           {"", "Zona centrale", "9,00", "", "", ""},
                           {"Centro", "", "", "", "", ""},
                           {"Porto", "", "", "", "", ""}},
                          2);
        ops.rebuildZoneList();
        QComboBox *zone = f.window->localisationPage->urbanZoneCombo;
        QCOMPARE(itemsOf(zone), (QStringList{"Porto", "Centro", "Porto"}));
        // Building the list chooses nothing.
        QCOMPARE(zone->currentText(), QString());
    }

    void clearingZoneFieldsRunsNoReaction()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        Requests requests(ops);
        ui::LocalisationPage *page = f.window->localisationPage;
        writeWorkingZones({{"Centro", "Zona centrale", "3,50", "Buono", "Ottimo", "Scarso"}});
        ops.rebuildZoneList();
        showPage(f.window.get(), kLocalisationNode);
        choose(page->urbanZoneCombo, "Centro");
        QVERIFY(page->centralZoneRadio->isChecked());
        requests.take();

        ops.clearZoneFields();
        QCOMPARE(page->urbanZoneCombo->currentText(), QString());
        QCOMPARE(page->urbanZoneCombo->count(), 0);
        QCOMPARE(page->averageRateEdit->text(), QString());
        for (QComboBox *c : {page->surroundingsCombo, page->settlementCombo, page->improvementsCombo})
            QCOMPARE(c->currentText(), QString());
        for (QRadioButton *r : {page->centralZoneRadio, page->intermediateZoneRadio, page->outlyingZoneRadio})
            QVERIFY(!r->isChecked());
        QCOMPARE(requests.take(), QStringList());
    }

    void lookupLastRecordOfSameNameWins()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        Requests requests(ops);
        ui::LocalisationPage *page = f.window->localisationPage;
        writeWorkingZones({{"Centro", "Zona centrale", "3,00", "Buono", "Buono", "Buono"},
                           {"Borgo", "Zona intermedia", "5,00", "Scarso", "Scarso", "Scarso"},
                           {"Centro", "Zona periferica", "4,50", "Mediocre", "Ottimo", "Sufficiente"}});
        ops.rebuildZoneList();
        showPage(f.window.get(), kLocalisationNode);
        choose(page->urbanZoneCombo, "Centro");
        QCOMPARE(page->averageRateEdit->text(), QStringLiteral("4,50"));
        QCOMPARE(page->surroundingsCombo->currentText(), QStringLiteral("Mediocre"));
        QCOMPARE(page->settlementCombo->currentText(), QStringLiteral("Ottimo"));
        QCOMPARE(page->improvementsCombo->currentText(), QStringLiteral("Sufficiente"));
        QVERIFY(page->outlyingZoneRadio->isChecked());
        QVERIFY(!page->centralZoneRadio->isChecked());
        // Each record selected a new option in turn, each running the rent lookup.
        QCOMPARE(requests.take(), (QStringList{"SetCanoneMensileDiLocazioneUnitario",
                                               "SetCanoneMensileDiLocazioneUnitario"}));
    }

    void lookupRunsRentOnlyWhenCentralityChanges()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        Requests requests(ops);
        ui::LocalisationPage *page = f.window->localisationPage;
        writeWorkingZones({{"Semicentro", "Zona intermedia", "3,75", "Buono", "", ""},
                           {"Stazione", "Zona intermedia", "", "Scarso", "", ""},
                           {"Collina", "", "2,00", "", "", ""}});
        ops.rebuildZoneList();
        showPage(f.window.get(), kLocalisationNode);

        choose(page->urbanZoneCombo, "Semicentro");
        QVERIFY(page->intermediateZoneRadio->isChecked());
        QCOMPARE(requests.take(), QStringList{"SetCanoneMensileDiLocazioneUnitario"});

        // Chosen again, the option is already selected: no rent lookup.
        ops.ComboBox34Change();
        QCOMPARE(requests.take(), QStringList());
        // Another zone of the same centrality: its values, still no lookup; its
        // empty rate empties the rate.
        choose(page->urbanZoneCombo, "Stazione");
        QCOMPARE(page->averageRateEdit->text(), QString());
        QCOMPARE(page->surroundingsCombo->currentText(), QStringLiteral("Scarso"));
        QCOMPARE(requests.take(), QStringList());
        // A zone without a known centrality leaves the options as they are.
        choose(page->urbanZoneCombo, "Collina");
        QCOMPARE(page->averageRateEdit->text(), QStringLiteral("2,00"));
        QVERIFY(page->intermediateZoneRadio->isChecked());
        QCOMPARE(requests.take(), QStringList());

        // The user's own click on a centrality option runs the lookup too.
        click(page->centralZoneRadio);
        QCOMPARE(requests.take(), QStringList{"SetCanoneMensileDiLocazioneUnitario"});
    }

    // A zone table written elsewhere may hold the rate with a point; the page
    // reads its rate with the decimal comma, so the point would make 3.5 into 35.
    void lookupCopiesRateWithDecimalComma_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("comma as typed in the editor") << "3,50" << "3,50";
        QTest::newRow("point from elsewhere") << "3.5" << "3,5";
        QTest::newRow("point and comma") << "0.45," << "0,45,";
        QTest::newRow("no rate") << "" << "";
    }
    void lookupCopiesRateWithDecimalComma()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ui::LocalisationPage *page = f.window->localisationPage;
        writeWorkingZones({{"Centro", "Zona centrale", stored, "Buono", "Buono", "Buono"}});
        ops.rebuildZoneList();
        showPage(f.window.get(), kLocalisationNode);
        choose(page->urbanZoneCombo, "Centro");
        QCOMPARE(page->averageRateEdit->text(), shown);
        if (!shown.isEmpty())
            QCOMPARE(EstraiNumero(page->averageRateEdit->text()), EstraiNumero(shown));
    }

    void erasingZoneAppliesBlankRecords()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        Requests requests(ops);
        ui::LocalisationPage *page = f.window->localisationPage;
        // The rows a working table rebuilt for a municipality starts with,
        // then one named zone.
        writeWorkingZones({{"Centro storico", "Zona centrale", "3,50", "Buono", "Ottimo", "Buono"}}, 11);
        ops.rebuildZoneList();
        showPage(f.window.get(), kLocalisationNode);
        choose(page->urbanZoneCombo, "Centro storico");
        requests.take();

        erase(page->urbanZoneCombo);
        QCOMPARE(page->averageRateEdit->text(), QString());
        for (QComboBox *c : {page->surroundingsCombo, page->settlementCombo, page->improvementsCombo})
            QCOMPARE(c->currentText(), QString());
        QVERIFY(page->centralZoneRadio->isChecked());
        QCOMPARE(requests.take(), QStringList());
    }

    void staleZoneNameChangesNothing()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        Requests requests(ops);
        ui::LocalisationPage *page = f.window->localisationPage;
        writeWorkingZones({{"Centro", "Zona centrale", "3,00", "Buono", "Buono", "Buono"}});
        page->averageRateEdit->setText(QStringLiteral("7,00"));
        ui::setComboText(page->urbanZoneCombo, QStringLiteral("Fantasma"));
        ops.ComboBox34Change();
        QCOMPARE(page->averageRateEdit->text(), QStringLiteral("7,00"));
        QVERIFY(!page->centralZoneRadio->isChecked());
        QCOMPARE(requests.take(), QStringList());
        QVERIFY(ui::Messages::shown().isEmpty());
    }

    void lookupWithoutWorkingTableShowsErrorBox()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        Table::remove(dataPath(kZonaUrbana));
        ui::setComboText(f.window->localisationPage->urbanZoneCombo, QStringLiteral("Centro"));
        ops.ComboBox34Change();
        QCOMPARE(ui::Messages::shown().size(), 1);
        QCOMPARE(ui::Messages::shown().first().kind, ui::Messages::Shown::Error);
    }

    // ---- Requests to the valuation ---------------------------------------

    void requestsOfUserChanges_data()
    {
        QTest::addColumn<int>("node");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("expected");
        const QStringList ci{"CalcolaCIValoreMercato"};
        // Entering one of the six typological judgments judges the plants,
        // which refreshes the expenses first.
        const QString admin = "CalcolaSpeseAmministrazione";
        QTest::newRow("distance") << kLocalisationNode << "DistanzaViaPrincip" << ci;
        QTest::newRow("transport") << kLocalisationNode << "ServTraspPubblico" << ci;
        QTest::newRow("surroundings") << kLocalisationNode << "QualifAmbienteExt" << ci;
        QTest::newRow("settlement") << kLocalisationNode << "IdoneitaInsediat" << ci;
        QTest::newRow("improvements") << kLocalisationNode << "MiglioramAmbiente" << ci;
        for (const char *amenity : {"ScuoleObbligo", "IstitutiSuperiori", "FacoltaUniversit", "MensaUniversit",
                                    "MercatoCivico", "Supermercati", "GrandiMagazzini", "CentriCommerciali",
                                    "ParcheggiPubblici", "PercorsiLineeCTM", "StruttureSanitarie", "ImpiantiSportivi",
                                    "UfficiPostali", "LuoghiDiCulto", "LocaliSpettacolo"})
            QTest::newRow(amenity) << kPositionNode << amenity << ci;
        QTest::newRow("pollution") << kPositionNode << "InquinamAmbiente" << ci;
        QTest::newRow("greenery") << kPositionNode << "VerdePubblico" << ci;
        QTest::newRow("parking") << kPositionNode << "DisponibAreeSosta" << ci;
        QTest::newRow("street level") << kPositionNode << "QuotaDaPianoStrad" << ci;
        QTest::newRow("accessory spaces") << kPositionNode << "SuperfAccessorie" << ci;
        QTest::newRow("brightness") << kTypologyNode << "Luminosita" << ci;
        QTest::newRow("view") << kTypologyNode << "Panoramicita" << ci;
        QTest::newRow("outlook") << kTypologyNode << "Prospicienza" << ci;
        QTest::newRow("exposure") << kTypologyNode << "Esposizione" << QStringList{"CalcolaCDEsposizione"};
        QTest::newRow("repair inside") << kTypologyNode << "StatoConservInt"
                                       << QStringList{admin, "CalcolaCIStatoConservazInterno"};
        QTest::newRow("repair outside") << kTypologyNode << "StatoConservExt"
                                        << QStringList{admin, "CalcolaSpeseManutenzione",
                                                       "CalcolaCIStatoConservazEsterno"};
        QTest::newRow("finish inside") << kTypologyNode << "GradoRifinitInt"
                                       << QStringList{admin, "CalcolaCIGradoRifinituraInterno"};
        QTest::newRow("finish outside") << kTypologyNode << "GradoRifinitExt"
                                        << QStringList{admin, "CalcolaCIGradoRifinituraEsterno"};
        QTest::newRow("plants presence") << kTypologyNode << "PresImpiantiTecnol" << QStringList{admin};
        QTest::newRow("plants level") << kTypologyNode << "LivImpiantiTecnol"
                                      << QStringList{admin, "CalcolaCILivelloTecnologicoImpianti"};
        QTest::newRow("lift") << kTypologyNode << "Ascensore" << QStringList{admin};
        QTest::newRow("heating") << kTypologyNode << "Riscaldamento" << QStringList{admin};
        QTest::newRow("porter") << kTypologyNode << "Portineria" << QStringList{admin};
        QTest::newRow("aerial") << kTypologyNode << "AntennaCentralizz" << QStringList{};
        QTest::newRow("gate") << kTypologyNode << "CancelloAutomatico" << QStringList{};
        QTest::newRow("water reserve") << kTypologyNode << "RiservaIdrica" << QStringList{};
        QTest::newRow("wiring") << kTypologyNode << "ImpElettrANorma" << QStringList{};
    }
    void requestsOfUserChanges()
    {
        QFETCH(int, node);
        QFETCH(QString, control);
        QFETCH(QStringList, expected);
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        Requests requests(ops);
        showPage(f.window.get(), node);
        QWidget *page = f.window->pages->widget(node);
        if (auto *box = page->findChild<QCheckBox *>(control)) {
            click(box);
        } else {
            auto *combo = page->findChild<QComboBox *>(control);
            QVERIFY(combo);
            // Entering first (which may judge the plants), then one step in
            // the list: one change.
            combo->setFocus(Qt::TabFocusReason);
            const int target = std::min(combo->currentIndex() + 1, combo->count() - 1);
            choose(combo, combo->itemText(target));
        }
        QCOMPARE(requests.take(), expected);
    }

    void programWritesRunNothing()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        Requests requests(ops);
        ui::TypologyPage *t = f.window->typologyPage;
        ui::PositionPage *p = f.window->positionPage;
        for (QComboBox *c : {t->repairInsideCombo, t->repairOutsideCombo, t->exposureCombo, t->plantsLevelCombo,
                             p->streetLevelCombo, f.window->localisationPage->surroundingsCombo})
            ui::setComboText(c, c->itemText(0));
        QCOMPARE(requests.take(), QStringList());
        // A check box ticked by the program runs its click operation.
        p->schoolsCheck->setChecked(true);
        QCOMPARE(requests.take(), QStringList{"CalcolaCIValoreMercato"});
    }

    void expensesRefreshOnlyWhileRecomputing_data()
    {
        QTest::addColumn<bool>("recompute");
        QTest::newRow("RicalcoloAttivo on") << true;
        QTest::newRow("RicalcoloAttivo off") << false;
    }
    void expensesRefreshOnlyWhileRecomputing()
    {
        QFETCH(bool, recompute);
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        Requests requests(ops);
        ui::TypologyPage *t = f.window->typologyPage;
        ui::IncomePage *income = f.window->incomePage;
        showPage(f.window.get(), kTypologyNode);
        income->administrationEdit->setText(QStringLiteral("1.200,00"));
        income->maintenanceEdit->setText(QStringLiteral("800,00"));
        currency().RicalcoloAttivo = recompute;

        click(t->porterCheck);
        choose(t->repairOutsideCombo, QStringLiteral("Scarso"));
        if (recompute) {
            QCOMPARE(income->administrationEdit->text(), QString());
            QCOMPARE(income->maintenanceEdit->text(), QString());
            QCOMPARE(requests.take(), (QStringList{"CalcolaSpeseAmministrazione", "CalcolaSpeseAmministrazione",
                                                   "CalcolaSpeseManutenzione", "CalcolaCIStatoConservazEsterno"}));
        } else {
            QCOMPARE(income->administrationEdit->text(), QStringLiteral("1.200,00"));
            QCOMPARE(income->maintenanceEdit->text(), QStringLiteral("800,00"));
            QCOMPARE(requests.take(), QStringList{"CalcolaCIStatoConservazEsterno"});
        }
        // The plants are judged either way.
        QCOMPARE(t->plantsPresenceCombo->currentText(), QStringLiteral("Scarso"));
    }

    // ---- Grade explanations ----------------------------------------------

    void gradeExplanations_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QString>("hint");
        QTest::newRow("inside scarso") << "StatoConservInt" << "Scarso"
                                       << "Giudizio scarso: è indispensabile una ristrutturazione totale.";
        QTest::newRow("inside ottimo")
            << "StatoConservInt" << "Ottimo"
            << "Giudizio ottimo: immobile costruito o totalmente ristrutturato negli ultimi 5 anni.";
        QTest::newRow("inside empty") << "StatoConservInt" << ""
                                      << "Giudizio sullo stato di conservazione interno.";
        QTest::newRow("outside mediocre") << "StatoConservExt" << "Mediocre"
                                          << "Giudizio mediocre: è indispensabile una manutenzione ordinaria.";
        QTest::newRow("outside buono") << "StatoConservExt" << "Buono"
                                       << "Giudizio buono: non vi sono necessità di manutenzione.";
        QTest::newRow("outside empty") << "StatoConservExt" << ""
                                       << "Giudizio sullo stato di conservazione esterno.";
        QTest::newRow("finish inside ordinario")
            << "GradoRifinitInt" << "Ordinario"
            << "Giudizio ordinario: intonaco, pavimenti e infissi di sufficiente qualità.";
        QTest::newRow("finish inside empty") << "GradoRifinitInt" << ""
                                             << "Giudizio sul grado di rifinitura interno.";
        QTest::newRow("finish outside discreto") << "GradoRifinitExt" << "Discreto"
                                                 << "Giudizio discreto: intonaco trattato o muro a vista.";
        QTest::newRow("finish outside empty") << "GradoRifinitExt" << ""
                                              << "Giudizio sul grado di rifinitura esterno.";
    }
    void gradeExplanations()
    {
        QFETCH(QString, field);
        QFETCH(QString, grade);
        QFETCH(QString, hint);
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        showPage(f.window.get(), kTypologyNode);
        auto *combo = f.window->typologyPage->findChild<QComboBox *>(field);
        QVERIFY(combo);
        const QString before = combo->statusTip();
        QVERIFY(before.endsWith(QStringLiteral("dell'immobile oggetto di stima.")));
        if (grade.isEmpty()) {
            choose(combo, combo->itemText(2));
            erase(combo);
        } else {
            choose(combo, grade);
        }
        QCOMPARE(combo->statusTip(), hint);
        QCOMPARE(combo->toolTip(), QString());
    }

    // ---- Plants ----------------------------------------------------------

    void plantsPresence_data()
    {
        QTest::addColumn<QString>("ticks"); // letters A R W T G
        QTest::addColumn<QString>("judgment");
        QTest::addColumn<QString>("hint");
        const QString scarso = "Giudizio scarso: assenza degli impianti essenziali.";
        const QString mediocre = "Giudizio mediocre: presenza di ascensore o di impianto di riscaldamento.";
        const QString discreto = "Giudizio discreto: presenza di ascensore, riscaldamento e antenna centralizzata o "
                                 "cancello automatico.";
        const QString ottimo = "Giudizio ottimo: presenza di ascensore, riscaldamento, riserva idrica, antenna "
                               "centralizzata e/o cancello automatico.";
        QTest::newRow("none") << "" << "Scarso" << scarso;
        QTest::newRow("water, aerial, gate") << "WTG" << "Scarso" << scarso;
        QTest::newRow("lift") << "A" << "Mediocre" << mediocre;
        QTest::newRow("heating") << "R" << "Mediocre" << mediocre;
        QTest::newRow("heating and gate") << "RG" << "Mediocre" << mediocre;
        QTest::newRow("lift and heating") << "AR" << "Sufficiente"
                                          << "Giudizio sufficiente: presenza di ascensore e di impianto di "
                                             "riscaldamento.";
        QTest::newRow("lift, heating, gate") << "ARG" << "Discreto" << discreto;
        QTest::newRow("lift, heating, aerial") << "ART" << "Discreto" << discreto;
        QTest::newRow("lift, heating, water") << "ARW" << "Buono"
                                              << "Giudizio buono: presenza di ascensore, riscaldamento e riserva "
                                                 "idrica.";
        QTest::newRow("lift, heating, water, aerial") << "ARWT" << "Ottimo" << ottimo;
        QTest::newRow("lift, heating, water, gate") << "ARWG" << "Ottimo" << ottimo;
        QTest::newRow("all five") << "ARWTG" << "Ottimo" << ottimo;
    }
    void plantsPresence()
    {
        QFETCH(QString, ticks);
        QFETCH(QString, judgment);
        QFETCH(QString, hint);
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ui::TypologyPage *t = f.window->typologyPage;
        showPage(f.window.get(), kTypologyNode);
        const std::pair<QChar, QCheckBox *> boxes[] = {{'A', t->liftCheck},       {'R', t->heatingCheck},
                                                        {'W', t->waterReserveCheck}, {'T', t->aerialCheck},
                                                        {'G', t->gateCheck}};
        for (const auto &[letter, box] : boxes)
            setTick(box, ticks.contains(letter));
        // Nothing is judged until one of the six judgments is entered.
        QCOMPARE(t->plantsPresenceCombo->currentText(), QString());
        t->finishOutsideCombo->setFocus(Qt::TabFocusReason);
        QCOMPARE(t->plantsPresenceCombo->currentText(), judgment);
        QCOMPARE(t->plantsPresenceCombo->statusTip(), hint);
    }

    void plantsLevel_data()
    {
        QTest::addColumn<QString>("heating"); // kind, "" for no heating
        QTest::addColumn<bool>("wiring");
        QTest::addColumn<QString>("lift"); // kind, "" for no lift
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("hint");
        const QString initial = "Giudizio sul livello tecnologico degli impianti.";
        const QString buono = "Giudizio buono: presenza di impianto di riscaldamento a pompa di calore e impianto "
                              "elettrico a norma di legge.";
        const QString discreto = "Giudizio discreto: impianto di riscaldam. a pompa di calore o impianti di "
                                 "riscaldam. centralizz. e elettrico a norma di legge.";
        QTest::newRow("central") << "Centralizzato" << false << "" << "" << "Sufficiente"
                                 << "Giudizio sufficiente: presenza di impianto di riscaldamento centralizzato.";
        QTest::newRow("central, wiring") << "Centralizzato" << true << "" << "" << "Discreto" << discreto;
        QTest::newRow("heat pump") << "Pompa di calore" << false << "" << "" << "Discreto" << discreto;
        QTest::newRow("heat pump, wiring") << "Pompa di calore" << true << "" << "" << "Buono" << buono;
        QTest::newRow("heat pump, wiring, double lift")
            << "Pompa di calore" << true << "Doppio" << "" << "Ottimo"
            << "Giudizio ottimo: presenza di impianto di riscaldam. a pompa di calore, impianto elettrico a norma di "
               "legge e doppio ascensore.";
        QTest::newRow("heat pump, wiring, single lift") << "Pompa di calore" << true << "Singolo" << "" << "Buono"
                                                        << buono;
        // "Scarso" has no explanation: the hint stays as it was.
        QTest::newRow("nothing") << "" << false << "" << "" << "Scarso" << initial;
        // No rule holds: the level keeps its value.
        QTest::newRow("wiring alone keeps") << "" << true << "" << "Buono" << "Buono" << buono;
        QTest::newRow("lift alone keeps") << "" << false << "Singolo" << "Discreto" << "Discreto" << discreto;
    }
    void plantsLevel()
    {
        QFETCH(QString, heating);
        QFETCH(bool, wiring);
        QFETCH(QString, lift);
        QFETCH(QString, before);
        QFETCH(QString, level);
        QFETCH(QString, hint);
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ui::TypologyPage *t = f.window->typologyPage;
        showPage(f.window.get(), kTypologyNode);
        ui::setComboText(t->plantsLevelCombo, before);
        setTick(t->wiringCheck, wiring);
        if (!heating.isEmpty()) {
            click(t->heatingCheck);
            QVERIFY(t->heatingKindCombo->isVisible());
            QCOMPARE(t->heatingKindCombo->currentText(), QStringLiteral("Centralizzato"));
            if (heating != t->heatingKindCombo->currentText())
                choose(t->heatingKindCombo, heating); // a kind change judges the plants
        }
        if (!lift.isEmpty()) {
            click(t->liftCheck);
            QCOMPARE(t->liftKindCombo->currentText(), QStringLiteral("Singolo"));
            if (lift != t->liftKindCombo->currentText())
                choose(t->liftKindCombo, lift);
        }
        t->plantsLevelCombo->setFocus(Qt::TabFocusReason);
        QCOMPARE(t->plantsLevelCombo->currentText(), level);
        QCOMPARE(t->plantsLevelCombo->statusTip(), hint);
    }

    void kindChangeJudgesPlantsAtOnce()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        Requests requests(ops);
        ui::TypologyPage *t = f.window->typologyPage;
        showPage(f.window.get(), kTypologyNode);
        click(t->wiringCheck);
        click(t->heatingCheck);
        QCOMPARE(requests.take(), QStringList{"CalcolaSpeseAmministrazione"});
        QCOMPARE(t->plantsLevelCombo->currentText(), QString());
        choose(t->heatingKindCombo, QStringLiteral("Pompa di calore"));
        QCOMPARE(t->plantsLevelCombo->currentText(), QStringLiteral("Buono"));
        QCOMPARE(t->plantsPresenceCombo->currentText(), QStringLiteral("Mediocre"));
        // The judgments written here run no reaction of their own.
        QCOMPARE(requests.take(), QStringList{"CalcolaSpeseAmministrazione"});
    }

    void liftKindIsSingoloOnEveryTick()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ui::TypologyPage *t = f.window->typologyPage;
        showPage(f.window.get(), kTypologyNode);
        QVERIFY(!t->liftKindCombo->isVisible());
        click(t->liftCheck);
        choose(t->liftKindCombo, QStringLiteral("Doppio"));
        click(t->liftCheck);
        QVERIFY(!t->liftKindCombo->isVisible());
        QCOMPARE(t->liftKindCombo->currentText(), QString());
        click(t->liftCheck);
        QVERIFY(t->liftKindCombo->isVisible());
        QCOMPARE(t->liftKindCombo->currentText(), QStringLiteral("Singolo"));
    }

    void handChosenPlantsLastUntilNextEntry()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ui::TypologyPage *t = f.window->typologyPage;
        showPage(f.window.get(), kTypologyNode);
        choose(t->plantsPresenceCombo, QStringLiteral("Ottimo"));
        // Entering the field judged the plants first; the user's choice came after.
        QCOMPARE(t->plantsPresenceCombo->currentText(), QStringLiteral("Ottimo"));
        QVERIFY(t->plantsPresenceCombo->statusTip().startsWith(QStringLiteral("Giudizio ottimo")));
        t->brightnessCombo->setFocus(Qt::TabFocusReason);
        QCOMPARE(t->plantsPresenceCombo->currentText(), QStringLiteral("Ottimo"));
        t->repairInsideCombo->setFocus(Qt::TabFocusReason);
        QCOMPARE(t->plantsPresenceCombo->currentText(), QStringLiteral("Scarso"));
    }
};

QTEST_MAIN(TestCharacteristicsOps)
#include "tst_characteristicsops.moc"
