// SPDX-License-Identifier: GPL-2.0-or-later
// The localisation, position and typological pages: every record field 44 to
// 95 on its page with its caption, group, list and key filter; the option
// trios; the kind lists of lift and heating; fixed hints; and a layout that
// fits the panel without cut captions or overlapping controls.
#include "pages/localisationpage.h"
#include "pages/positionpage.h"
#include "pages/typologypage.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace brevan;
using namespace brevan::ui;

namespace {

enum PageId { Localisation, Position, Typology };

struct Pages {
    LocalisationPage localisation;
    PositionPage position;
    TypologyPage typology;

    QWidget *page(int id)
    {
        switch (id) {
        case Localisation: return &localisation;
        case Position: return &position;
        default: return &typology;
        }
    }
    void showAll()
    {
        for (int id : {Localisation, Position, Typology}) {
            page(id)->resize(420, 380);
            page(id)->show();
        }
    }
};

struct Expected {
    const char *field;
    const char *caption; // "" for the kind lists, which sit beside their tick
    const char *group;
    PageId page;
};

const char *const kSize = "Dimensioni del centro urbano";
const char *const kZone = "Zona di appartenenza e centralità dell'immobile";
const char *const kEnv = "Qualificazione ambientale";
const char *const kAmen = "Attrezzature collettive a distanza pedonale";
const char *const kLoc = "Caratteristiche di localizzazione";
const char *const kPos = "Caratteristiche di posizione";
const char *const kTyp = "Caratteristiche tipologiche e servizi accessori";

const Expected kExpected[] = {
    {"PiccoleDimensImmob", "Centro urbano di piccole dimensioni", kSize, Localisation},
    {"MedieDimensImmob", "Centro urbano di medie dimensioni", kSize, Localisation},
    {"GrandiDimensImmob", "Centro urbano di grandi dimensioni", kSize, Localisation},
    {"ZonaCentrImmob", "Zona centrale", kZone, Localisation},
    {"ZonaIntermImmob", "Zona intermedia", kZone, Localisation},
    {"ZonaPeriferImmob", "Zona periferica", kZone, Localisation},
    {"ZonaUrbanaImmob", "Zona urbana di appartenenza:", kZone, Localisation},
    {"SaggioMedioImmob", "Saggio medio di capitalizzazione:", kSize, Localisation},
    {"DistanzaViaPrincip", "Distanza da una via o piazza principale:", kZone, Localisation},
    {"ServTraspPubblico", "Servizio di trasporto pubblico:", kZone, Localisation},
    {"QualifAmbienteExt", "Qualificazione dell'ambiente esterno:", kEnv, Localisation},
    {"IdoneitaInsediat", "Idoneità insediativa:", kEnv, Localisation},
    {"MiglioramAmbiente", "Previsione di miglioramenti ambientali:", kEnv, Localisation},
    {"ScuoleObbligo", "Scuole dell'obbligo", kAmen, Position},
    {"IstitutiSuperiori", "Istituti superiori", kAmen, Position},
    {"FacoltaUniversit", "Facoltà universitarie", kAmen, Position},
    {"MensaUniversit", "Mensa universitaria", kAmen, Position},
    {"MercatoCivico", "Mercato civico", kAmen, Position},
    {"Supermercati", "Supermercati", kAmen, Position},
    {"GrandiMagazzini", "Grandi magazzini", kAmen, Position},
    {"CentriCommerciali", "Centri commerciali", kAmen, Position},
    {"ParcheggiPubblici", "Parcheggi pubblici", kAmen, Position},
    {"PercorsiLineeCTM", "Percorsi linee CTM", kAmen, Position},
    {"StruttureSanitarie", "Strutture sanitarie", kAmen, Position},
    {"ImpiantiSportivi", "Impianti sportivi", kAmen, Position},
    {"UfficiPostali", "Uffici postali", kAmen, Position},
    {"LuoghiDiCulto", "Luoghi di culto", kAmen, Position},
    {"LocaliSpettacolo", "Locali di spettacolo", kAmen, Position},
    {"InquinamAmbiente", "Giudizio sul livello di inquinamento ambientale:", kLoc, Position},
    {"VerdePubblico", "Giudizio sulla presenza di verde pubblico o privato:", kLoc, Position},
    {"DisponibAreeSosta", "Disponibilità di spazi pubblici o privati adibiti a parcheggio:", kLoc, Position},
    {"QuotaDaPianoStrad", "Quota rispetto al piano stradale:", kPos, Position},
    {"SuperfAccessorie", "Dimensioni subordinarie o superordinarie degli spazi coperti o scoperti:", kPos, Position},
    {"Luminosita", "Luminosità:", kPos, Typology},
    {"Panoramicita", "Panoramicità:", kPos, Typology},
    {"Esposizione", "Esposizione:", kPos, Typology},
    {"Prospicienza", "Prospicienza:", kPos, Typology},
    {"AntennaCentralizz", "Antenna centralizzata", kTyp, Typology},
    {"CancelloAutomatico", "Cancello automatico", kTyp, Typology},
    {"RiservaIdrica", "Riserva idrica", kTyp, Typology},
    {"Portineria", "Portineria", kTyp, Typology},
    {"Ascensore", "Ascensore", kTyp, Typology},
    {"AscensoreTipo", "", kTyp, Typology},
    {"Riscaldamento", "Riscaldamento", kTyp, Typology},
    {"RiscaldamentoTipo", "", kTyp, Typology},
    {"ImpElettrANorma", "Impianto elettrico a norma di legge", kTyp, Typology},
    {"StatoConservInt", "Stato di conservazione interno:", kTyp, Typology},
    {"StatoConservExt", "Stato di conservazione esterno:", kTyp, Typology},
    {"GradoRifinitInt", "Grado di rifinitura interno:", kTyp, Typology},
    {"GradoRifinitExt", "Grado di rifinitura esterno:", kTyp, Typology},
    {"PresImpiantiTecnol", "Presenza di impianti tecnologici:", kTyp, Typology},
    {"LivImpiantiTecnol", "Livello tecnologico degli impianti:", kTyp, Typology},
};

const Expected *expectedFor(const QString &field)
{
    for (const Expected &e : kExpected)
        if (field == QLatin1String(e.field))
            return &e;
    return nullptr;
}

// The caption the user reads for a control: the button's own text, or the
// label whose buddy it is.
QString captionOf(QWidget *w)
{
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    for (QLabel *l : w->window()->findChildren<QLabel *>())
        if (l->buddy() == w)
            return l->text();
    return {};
}

QStringList itemsOf(const QComboBox *c)
{
    QStringList items;
    for (int i = 0; i < c->count(); ++i)
        items << c->itemText(i);
    return items;
}

QComboBox *comboNamed(Pages &pages, const QString &name)
{
    for (int id : {Localisation, Position, Typology})
        if (auto *c = pages.page(id)->findChild<QComboBox *>(name))
            return c;
    return nullptr;
}

// The controls a page places itself: direct children of the panel and of
// its groups (not the parts inside a pick list).
QList<QWidget *> placedControls(QWidget *panel)
{
    QList<QWidget *> result;
    for (QWidget *w : panel->findChildren<QWidget *>()) {
        QWidget *parent = w->parentWidget();
        if (w->isWindow() || !w->isVisibleTo(panel))
            continue;
        if (parent == panel || qobject_cast<QGroupBox *>(parent))
            result << w;
    }
    return result;
}

} // namespace

class TestCharacteristicsPages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recordFieldsOnTheirPages_data();
    void recordFieldsOnTheirPages();
    void pickOnlyListsRefuseTyping_data();
    void pickOnlyListsRefuseTyping();
    void averageRateTakesDecimals_data();
    void averageRateTakesDecimals();
    void optionTriosExclusiveYetClearable_data();
    void optionTriosExclusiveYetClearable();
    void plantKindsFollowTheirTicks_data();
    void plantKindsFollowTheirTicks();
    void zonesEditorButtonHiddenAtStart();
    void urbanZoneListShowsWholeNames();
    void fixedHints_data();
    void fixedHints();
    void gradeExplanationListsParallelTheScales_data();
    void gradeExplanationListsParallelTheScales();
    void layoutFitsThePanel_data();
    void layoutFitsThePanel();
};

void TestCharacteristicsPages::recordFieldsOnTheirPages_data()
{
    QTest::addColumn<QString>("field");
    for (const FieldDef &f : recordFields())
        if (f.number >= 44 && f.number <= 95)
            QTest::newRow(f.name) << QString::fromLatin1(f.name);
}

void TestCharacteristicsPages::recordFieldsOnTheirPages()
{
    QFETCH(QString, field);
    const FieldDef *def = recordField(field);
    QVERIFY(def);
    const Expected *expected = expectedFor(field);
    QVERIFY2(expected, "no caption or group known for this field");

    Pages pages;
    // On its own page exactly once, on no other page.
    for (int id : {Localisation, Position, Typology}) {
        const int found = pages.page(id)->findChildren<QWidget *>(field).size();
        QCOMPARE(found, id == expected->page ? 1 : 0);
    }
    QWidget *w = pages.page(expected->page)->findChild<QWidget *>(field);
    QCOMPARE(w->property("brevanControl").toString(), QString::fromLatin1(def->control));
    QCOMPARE(captionOf(w), QString::fromUtf8(expected->caption));
    auto *group = qobject_cast<QGroupBox *>(w->parentWidget());
    QVERIFY(group);
    QCOMPARE(group->title(), QString::fromUtf8(expected->group));

    // The control matches the field's type and holds a new appraisal's value.
    if (def->type == FieldType::Logical) {
        auto *b = qobject_cast<QAbstractButton *>(w);
        QVERIFY(b);
        QVERIFY(b->isCheckable());
        QVERIFY(!b->isChecked());
        const bool option = def->number <= 49;
        QCOMPARE(qobject_cast<QRadioButton *>(w) != nullptr, option);
    } else if (auto *c = qobject_cast<QComboBox *>(w)) {
        QVERIFY(c->isEditable());
        QCOMPARE(itemsOf(c), choiceItems(def->choice));
        QCOMPARE(c->currentText(), QString());
        QCOMPARE(keyFilterOf(c), def->filter);
    } else {
        auto *e = qobject_cast<QLineEdit *>(w);
        QVERIFY(e);
        QCOMPARE(e->text(), QString());
        QCOMPARE(keyFilterOf(e), def->filter);
    }
}

void TestCharacteristicsPages::pickOnlyListsRefuseTyping_data()
{
    QTest::addColumn<QString>("name");
    for (const FieldDef &f : recordFields())
        if (f.number >= 44 && f.number <= 95 && f.filter == KeyFilter::PickOnly)
            QTest::newRow(f.control) << QString::fromLatin1(f.name);
    for (const char *hidden : {"ComboBox30", "ComboBox31", "ComboBox32", "ComboBox33"})
        QTest::newRow(hidden) << QString::fromLatin1(hidden);
}

void TestCharacteristicsPages::pickOnlyListsRefuseTyping()
{
    QFETCH(QString, name);
    Pages pages;
    QComboBox *combo = comboNamed(pages, name);
    QVERIFY(combo);
    QCOMPARE(keyFilterOf(combo), KeyFilter::PickOnly);
    // The zone list is empty until a municipality is loaded; any text will do.
    const QString start = combo->count() > 0 ? combo->itemText(0) : QStringLiteral("Centro storico");
    setComboText(combo, start);
    QLineEdit *edit = combo->lineEdit();

    QTest::keyClicks(edit, QStringLiteral("xZ7,. "));
    QCOMPARE(edit->text(), start);

    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), start.chopped(1));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QString());
}

void TestCharacteristicsPages::averageRateTakesDecimals_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("point becomes comma") << "3.5" << "3,5";
    QTest::newRow("comma kept") << "12,75" << "12,75";
    QTest::newRow("leading point") << ".5" << ",5";
    QTest::newRow("letters and signs refused") << "4a-b%" << "4";
    QTest::newRow("ten characters at most") << "12345678901" << "1234567890";
}

void TestCharacteristicsPages::averageRateTakesDecimals()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    LocalisationPage page;
    QLineEdit *rate = page.averageRateEdit;
    QCOMPARE(rate->objectName(), QStringLiteral("SaggioMedioImmob"));
    QTest::keyClicks(rate, typed);
    QCOMPARE(rate->text(), shown);
}

void TestCharacteristicsPages::optionTriosExclusiveYetClearable_data()
{
    QTest::addColumn<QStringList>("trio");
    QTest::addColumn<QStringList>("otherTrio");
    QTest::addColumn<bool>("centrality");
    const QStringList size{"PiccoleDimensImmob", "MedieDimensImmob", "GrandiDimensImmob"};
    const QStringList zone{"ZonaCentrImmob", "ZonaIntermImmob", "ZonaPeriferImmob"};
    QTest::newRow("town size") << size << zone << false;
    QTest::newRow("centrality") << zone << size << true;
}

void TestCharacteristicsPages::optionTriosExclusiveYetClearable()
{
    QFETCH(QStringList, trio);
    QFETCH(QStringList, otherTrio);
    QFETCH(bool, centrality);
    LocalisationPage page;
    page.resize(420, 380);
    page.show();
    QList<QRadioButton *> b, other;
    for (const QString &n : trio)
        b << page.findChild<QRadioButton *>(n);
    for (const QString &n : otherTrio)
        other << page.findChild<QRadioButton *>(n);
    auto checked = [](const QList<QRadioButton *> &buttons) {
        QString s;
        for (QRadioButton *r : buttons)
            s += r->isChecked() ? QLatin1Char('X') : QLatin1Char('-');
        return s;
    };
    auto clear = [&] { centrality ? page.clearCentrality() : page.clearTownSize(); };
    QCOMPARE(checked(b), QStringLiteral("---"));

    QTest::mouseClick(other[2], Qt::LeftButton, {}, QPoint(6, other[2]->height() / 2));
    QTest::mouseClick(b[0], Qt::LeftButton, {}, QPoint(6, b[0]->height() / 2));
    QCOMPARE(checked(b), QStringLiteral("X--"));
    QTest::mouseClick(b[1], Qt::LeftButton, {}, QPoint(6, b[1]->height() / 2));
    QCOMPARE(checked(b), QStringLiteral("-X-"));
    // Clicking the selected option does not clear it.
    QTest::mouseClick(b[1], Qt::LeftButton, {}, QPoint(6, b[1]->height() / 2));
    QCOMPARE(checked(b), QStringLiteral("-X-"));
    // The other trio is independent.
    QCOMPARE(checked(other), QStringLiteral("--X"));

    // The program clears the trio without selecting anything.
    QSignalSpy toggles(b[1], &QAbstractButton::toggled);
    clear();
    QCOMPARE(checked(b), QStringLiteral("---"));
    QCOMPARE(toggles.size(), 1);
    QCOMPARE(toggles.at(0).at(0).toBool(), false);
    QCOMPARE(checked(other), QStringLiteral("--X"));
    // Clearing an already empty trio is harmless.
    clear();
    QCOMPARE(checked(b), QStringLiteral("---"));

    // Exclusive again afterwards, for the user and for the program.
    QTest::mouseClick(b[2], Qt::LeftButton, {}, QPoint(6, b[2]->height() / 2));
    QCOMPARE(checked(b), QStringLiteral("--X"));
    b[0]->setChecked(true);
    QCOMPARE(checked(b), QStringLiteral("X--"));
}

void TestCharacteristicsPages::plantKindsFollowTheirTicks_data()
{
    QTest::addColumn<QString>("tick");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("usual");
    QTest::addColumn<QString>("otherKind");
    QTest::newRow("lift") << "Ascensore" << "AscensoreTipo" << "Singolo" << "Doppio";
    QTest::newRow("heating") << "Riscaldamento" << "RiscaldamentoTipo" << "Centralizzato" << "Pompa di calore";
}

void TestCharacteristicsPages::plantKindsFollowTheirTicks()
{
    QFETCH(QString, tick);
    QFETCH(QString, kind);
    QFETCH(QString, usual);
    QFETCH(QString, otherKind);
    TypologyPage page;
    page.resize(420, 380);
    page.show();
    auto *check = page.findChild<QCheckBox *>(tick);
    auto *list = page.findChild<QComboBox *>(kind);
    QVERIFY(check && list);

    QVERIFY(list->isHidden());
    QCOMPARE(list->currentText(), QString());

    // The kind written on ticking is the program's: no reaction of the list runs.
    QSignalSpy indexSpy(list, &QComboBox::currentIndexChanged);
    QSignalSpy textSpy(list, &QComboBox::currentTextChanged);
    QSignalSpy editSpy(list, &QComboBox::editTextChanged);

    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
    QVERIFY(check->isChecked());
    QVERIFY(list->isVisible());
    QCOMPARE(list->currentText(), usual);
    // It sits beside its tick, on the same row.
    QVERIFY(list->geometry().left() >= check->geometry().right());
    QVERIFY(list->geometry().top() < check->geometry().bottom() && check->geometry().top() < list->geometry().bottom());

    setComboText(list, otherKind);
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
    QVERIFY(!check->isChecked());
    QVERIFY(list->isHidden());
    QCOMPARE(list->currentText(), QString());

    // Ticking again brings back the usual kind, not the one chosen before.
    check->setChecked(true);
    QVERIFY(list->isVisible());
    QCOMPARE(list->currentText(), usual);

    QCOMPARE(indexSpy.size(), 0);
    QCOMPARE(textSpy.size(), 0);
    QCOMPARE(editSpy.size(), 0);
}

void TestCharacteristicsPages::zonesEditorButtonHiddenAtStart()
{
    LocalisationPage page;
    page.resize(420, 380);
    page.show();
    QToolButton *button = page.zonesEditorButton;
    QCOMPARE(button->text(), QStringLiteral("..."));
    QVERIFY(button->isHidden());
    QVERIFY(!button->isVisible());
    // Beside the urban zone, in its group.
    QCOMPARE(button->parentWidget(), page.urbanZoneCombo->parentWidget());
    QVERIFY(button->geometry().left() > page.urbanZoneCombo->geometry().right());
    QCOMPARE(button->geometry().top(), page.urbanZoneCombo->geometry().top());
}

// A zone name may take the field's whole width of 30 characters: the
// drop-down widens to the longest, the field keeps its width.
void TestCharacteristicsPages::urbanZoneListShowsWholeNames()
{
    LocalisationPage page;
    page.resize(420, 380);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QComboBox *zones = page.urbanZoneCombo;
    const int fieldWidth = zones->width();
    const QStringList names{QStringLiteral("Centro"), QStringLiteral("Quartiere residenziale Monteve"),
                            QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW")};
    for (const QString &n : names)
        QCOMPARE(n.size() <= 30, true);
    zones->addItems(names);
    zones->showPopup();
    QAbstractItemView *list = zones->view();
    QTRY_VERIFY(list->isVisible());
    for (int i = 0; i < zones->count(); ++i) {
        const QModelIndex item = list->model()->index(i, 0);
        const int needed = list->sizeHintForIndex(item).width();
        QVERIFY2(list->viewport()->width() >= needed,
                 qPrintable(QStringLiteral("%1: %2 < %3").arg(names.at(i)).arg(list->viewport()->width()).arg(needed)));
    }
    QVERIFY(list->viewport()->width() > fieldWidth);
    QCOMPARE(zones->width(), fieldWidth);
    zones->hidePopup();
}

void TestCharacteristicsPages::fixedHints_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("onCaption"); // the hint sits on the control's caption label
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("statusTip");

    const QString amenity = QStringLiteral("Presenza di %1 a distanza pedonale dall'immobile oggetto di stima.");
    const struct {
        const char *name;
        const char *phrase;
    } amenities[] = {
        {"ScuoleObbligo", "scuola dell'obligo"},
        {"IstitutiSuperiori", "istituti superiori"},
        {"FacoltaUniversit", "facoltà universitarie"},
        {"MensaUniversit", "mensa universitaria"},
        {"MercatoCivico", "mercato civico"},
        {"Supermercati", "supermercati"},
        {"GrandiMagazzini", "grandi magazzini"},
        {"CentriCommerciali", "centri commerciali"},
        {"ParcheggiPubblici", "parcheggi pubblici"},
        {"PercorsiLineeCTM", "linee di trasporto pubblico"},
        {"StruttureSanitarie", "strutture sanitarie"},
        {"ImpiantiSportivi", "impianti sportivi"},
        {"UfficiPostali", "uffici postali"},
        {"LuoghiDiCulto", "luoghi di culto"},
        {"LocaliSpettacolo", "locali di spettacolo"},
    };
    for (const auto &a : amenities)
        QTest::newRow(a.name) << int(Position) << a.name << false << QString()
                              << amenity.arg(QString::fromUtf8(a.phrase));

    QTest::newRow("zones editor") << int(Localisation) << "ZoneUrbaneButton" << false << QString()
                                  << "Imposta zone urbane per il Comune selezionato.";
    const QString doors = QStringLiteral("La presenza di porte interne di buona qualità aumenta di un grado il giudizio.");
    QTest::newRow("finishing inside caption") << int(Typology) << "GradoRifinitInt" << true << doors << doors;
    QTest::newRow("repair inside") << int(Typology) << "StatoConservInt" << false << QString()
                                   << "Giudizio sullo stato di conservazione interno dell'immobile oggetto di stima.";
    QTest::newRow("repair outside") << int(Typology) << "StatoConservExt" << false << QString()
                                    << "Giudizio sullo stato di conservazione esterno dell'immobile oggetto di stima.";
    QTest::newRow("finishing inside") << int(Typology) << "GradoRifinitInt" << false << QString()
                                      << "Giudizio sul grado di rifinitura interno dell'immobile oggetto di stima.";
    QTest::newRow("finishing outside") << int(Typology) << "GradoRifinitExt" << false << QString()
                                       << "Giudizio sul grado di rifinitura esterno dell'immobile oggetto di stima.";
    QTest::newRow("plants presence") << int(Typology) << "PresImpiantiTecnol" << false << QString()
                                     << "Giudizio sulla presenza degli impianti tecnologici.";
    QTest::newRow("plants level") << int(Typology) << "LivImpiantiTecnol" << false << QString()
                                  << "Giudizio sul livello tecnologico degli impianti.";
}

void TestCharacteristicsPages::fixedHints()
{
    QFETCH(int, pageId);
    QFETCH(QString, name);
    QFETCH(bool, onCaption);
    QFETCH(QString, toolTip);
    QFETCH(QString, statusTip);
    Pages pages;
    QWidget *w = pages.page(pageId)->findChild<QWidget *>(name);
    QVERIFY(w);
    if (onCaption) {
        QLabel *caption = nullptr;
        for (QLabel *l : pages.page(pageId)->findChildren<QLabel *>())
            if (l->buddy() == w)
                caption = l;
        QVERIFY(caption);
        w = caption;
    }
    QCOMPARE(w->toolTip(), toolTip);
    QCOMPARE(w->statusTip(), statusTip);
}

void TestCharacteristicsPages::gradeExplanationListsParallelTheScales_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("judgment");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("entry");
    QTest::newRow("repair inside") << "ComboBox30" << "StatoConservInt" << 5
                                   << "Giudizio ottimo: immobile costruito o totalmente ristrutturato negli ultimi 5 anni.";
    QTest::newRow("repair outside") << "ComboBox31" << "StatoConservExt" << 2
                                    << "Giudizio sufficiente: è opportuna ma non indispensabile una manutenzione "
                                       "ordinaria.";
    QTest::newRow("finishing inside") << "ComboBox32" << "GradoRifinitInt" << 4
                                      << "Giudizio buono: intonaco trattato o carta da parati, pavimenti o parquet e "
                                         "infissi di buona qualità, doppie finestre.";
    QTest::newRow("finishing outside") << "ComboBox33" << "GradoRifinitExt" << 3
                                       << "Giudizio buono: intonaco con rivest. di qualità; intonaco trattato con "
                                          "rivest. di qualità; intonaco di qualità superiore.";
}

void TestCharacteristicsPages::gradeExplanationListsParallelTheScales()
{
    QFETCH(QString, list);
    QFETCH(QString, judgment);
    QFETCH(int, row);
    QFETCH(QString, entry);
    TypologyPage page;
    auto *explanations = page.findChild<QComboBox *>(list);
    auto *scale = page.findChild<QComboBox *>(judgment);
    QVERIFY(explanations && scale);
    QVERIFY(explanations->isHidden());
    // Entry i explains grade i of the scale.
    QCOMPARE(explanations->count(), scale->count());
    for (int i = 0; i < scale->count(); ++i) {
        const QString prefix = QStringLiteral("Giudizio ") + scale->itemText(i).toLower() + QLatin1Char(':');
        QVERIFY2(explanations->itemText(i).startsWith(prefix), qPrintable(explanations->itemText(i)));
    }
    QCOMPARE(explanations->itemText(row), entry);
}

void TestCharacteristicsPages::layoutFitsThePanel_data()
{
    QTest::addColumn<int>("pageId");
    QTest::newRow("localisation") << int(Localisation);
    QTest::newRow("position") << int(Position);
    QTest::newRow("typology") << int(Typology);
}

void TestCharacteristicsPages::layoutFitsThePanel()
{
    QFETCH(int, pageId);
    Pages pages;
    // Everything that can be shown is shown: the zones button and both kind lists.
    pages.localisation.zonesEditorButton->show();
    pages.typology.liftCheck->setChecked(true);
    pages.typology.heatingCheck->setChecked(true);
    pages.showAll();
    auto *page = static_cast<CentredPage *>(pages.page(pageId));
    QWidget *panel = page->panel();
    // The longest items, so that a cut list item shows.
    for (QComboBox *c : panel->findChildren<QComboBox *>())
        if (c->isVisibleTo(panel) && c->count() > 0) {
            int widest = 0;
            for (int i = 1; i < c->count(); ++i)
                if (c->itemText(i).size() > c->itemText(widest).size())
                    widest = i;
            setComboText(c, c->itemText(widest));
        }
    QApplication::processEvents();

    const QList<QWidget *> controls = placedControls(panel);
    QVERIFY(controls.size() > 10);
    for (QWidget *w : controls) {
        const QString what = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                                 + QLatin1Char(' ') + captionOf(w)
                                                           : w->objectName();
        QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), qPrintable(what + QStringLiteral(" leaves its group")));
        for (QWidget *v : controls)
            if (v != w && v->parentWidget() == w->parentWidget())
                QVERIFY2(!w->geometry().intersects(v->geometry()),
                         qPrintable(what + QStringLiteral(" overlaps ") + v->objectName() + QLatin1Char(' ') +
                                    captionOf(v)));
        if (auto *label = qobject_cast<QLabel *>(w)) {
            const QString text = label->text() + QStringLiteral(" cut off");
            if (label->wordWrap())
                QVERIFY2(label->height() >= label->heightForWidth(label->width()), qPrintable(text));
            else
                QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(text));
        } else if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w)) {
            QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(captionOf(w) + QStringLiteral(" cut off")));
        } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            // The list shows the page font and its longest item in full.
            QLineEdit *edit = combo->lineEdit();
            QCOMPARE(edit->font().family(), pageFont().family());
            QCOMPARE(edit->font().pointSize(), pageFont().pointSize());
            QCOMPARE(combo->view()->font().pointSize(), pageFont().pointSize());
            const int textWidth = edit->fontMetrics().horizontalAdvance(edit->text());
            QVERIFY2(textWidth + 4 <= edit->width(), qPrintable(what + QStringLiteral(" cuts ") + edit->text()));
        }
    }
    // The groups stay inside the 415 × 372 panel.
    for (QGroupBox *g : panel->findChildren<QGroupBox *>(Qt::FindDirectChildrenOnly))
        QVERIFY2(QRect(0, 0, kCentredPanelWidth, kCentredPanelHeight).contains(g->geometry()), qPrintable(g->title()));
}

QTEST_MAIN(TestCharacteristicsPages)
#include "tst_characteristicspages.moc"
