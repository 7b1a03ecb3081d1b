// SPDX-License-Identifier: GPL-2.0-or-later
// The reactions of the appraiser's and description pages, driven through the
// widgets of the real main window: the location cascades with the working
// zone and unit-rent tables, the province code, the building's age, the floor
// judgment, the category hint and the taxes trigger, and the requests they
// send to the other pages in their order.
#include "../support/appfixture.h"
#include "../support/fixtures.h"
#include "app/application.h"
#include "app/descriptionops.h"
#include "data/municipalities.h"
#include "model/currency.h"
#include "model/record.h"
#include "pages/appraiserpage.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/pagekit.h"
#include "pages/positionpage.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QDateEdit>
#include <QGuiApplication>
#include <QTest>
#include <QToolButton>

using namespace brevan;
using brevan::app::DescriptionOps;
using brevan::app::MainWindow;
using brevan::ui::Messages;

namespace {

// Records the requests to other pages in the order they come, each with what
// the caller wants to know at that moment.
struct RequestLog {
    QStringList names;
    std::function<QString()> probe; // appended as "name:probe" when set

    void attach(DescriptionOps &ops)
    {
        const auto add = [this](const char *name) {
            return [this, name] {
                names << (probe ? QString::fromLatin1(name) + QLatin1Char(':') + probe() : QString::fromLatin1(name));
            };
        };
        QObject::connect(&ops, &DescriptionOps::unitRentResetRequested, add("unitRentReset"));
        QObject::connect(&ops, &DescriptionOps::zoneFieldsClearRequested, add("zoneFieldsClear"));
        QObject::connect(&ops, &DescriptionOps::zoneListRebuildRequested, add("zoneListRebuild"));
        QObject::connect(&ops, &DescriptionOps::CalcolaSpeseImposteRequested, add("CalcolaSpeseImposte"));
        QObject::connect(&ops, &DescriptionOps::SetCanoneMensileDiLocazioneUnitarioRequested,
                         add("SetCanoneMensileDiLocazioneUnitario"));
        QObject::connect(&ops, &DescriptionOps::CalcolaRedditoLordoAnnuoRequested, add("CalcolaRedditoLordoAnnuo"));
        QObject::connect(&ops, &DescriptionOps::CalcolaCIValoreMercatoRequested, add("CalcolaCIValoreMercato"));
    }
};

int rowCount(const QString &path)
{
    return Table::open(path).rowCount();
}

// The texts of one column, row by row.
QStringList column(const QString &path, const QString &field)
{
    Table t = Table::open(path);
    QStringList out;
    for (qint64 id : t.rowIds())
        out << t.text(id, field);
    return out;
}

// A municipality zone table with the given zone names.
void makeZoneTable(const QString &path, const QStringList &zones)
{
    Table::create(path, zonesLayout());
    Table t = Table::open(path);
    for (const QString &z : zones)
        t.append({QString(), QString(), z, QStringLiteral("Zona centrale"), QStringLiteral("3,50")});
}

void makeRentTable(const QString &path, const QStringList &years)
{
    Table::create(path, unitRentsLayout());
    Table t = Table::open(path);
    for (const QString &y : years)
        t.append({y, QStringLiteral("8000"), QStringLiteral("12000"), QStringLiteral("Zona centrale")});
}

// Picks the row of a list with the mouse, as a user does in the drop-down.
void chooseWithMouse(QComboBox *combo, int row)
{
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex index = combo->model()->index(row, combo->modelColumn());
    view->scrollTo(index);
    const QRect r = view->visualRect(index);
    QVERIFY(r.isValid());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    QTRY_VERIFY(!view->isVisible());
}

// Replaces a list's text by typing, as the user does: select all, then keys.
void typeInto(QComboBox *combo, const QString &text)
{
    combo->setFocus();
    combo->lineEdit()->selectAll();
    if (text.isEmpty())
        QTest::keyClick(combo, Qt::Key_Backspace);
    else
        QTest::keyClicks(combo, text);
}

// Pastes text over a field's content with the field's own paste (the context
// menu's), which the key filters do not see.
void pasteInto(QComboBox *combo, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    combo->setFocus();
    combo->lineEdit()->selectAll();
    combo->lineEdit()->paste();
}

int occurrence(const QString &name, int n)
{
    const QStringList &names = municipalities().names;
    int i = -1;
    for (int k = 0; k <= n; ++k)
        i = names.indexOf(name, i + 1);
    return i;
}

} // namespace

class TestDescriptionOps : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<AppFixture> f;
    std::unique_ptr<DescriptionOps> ops;
    RequestLog log;

    MainWindow *w() const { return f->window.get(); }
    ui::DescriptionPage *page() const { return f->window->descriptionPage; }
    QString data(const QString &name) const { return f->dataFolder() + QLatin1Char('/') + name; }
    QString zones() const { return data(kZonaUrbana); }
    QString rents() const { return data(kCanoniLocazUnitari); }

private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }
    void init()
    {
        f = std::make_unique<AppFixture>();
        ops = std::make_unique<DescriptionOps>(f->window.get());
        log = RequestLog();
        log.attach(*ops);
        f->window->show();
        f->window->selectNode(2);
        QVERIFY(QTest::qWaitForWindowExposed(f->window.get()));
        // The unit-rent table from "an earlier run": empty, so a reload shows.
        rebuildTable(rents(), unitRentsLayout(), 0);
    }
    void cleanup()
    {
        ops.reset();
        f.reset();
        currency().reset();
    }

    // The description page's cascade for a name chosen from the list, typed,
    // or matching no entry; the working tables follow the three texts.
    void descriptionCascade_data()
    {
        QTest::addColumn<QString>("typed");   // typed text, or the name chosen with the mouse
        QTest::addColumn<int>("occurrence");  // -1: typed; n: the n-th entry of that name from the list
        QTest::addColumn<QString>("postal");
        QTest::addColumn<QString>("province");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("zoneNames");  // rows of the working zone table afterwards
        QTest::addColumn<QStringList>("rentYears");  // rows of the working unit-rent table afterwards

        const QStringList eleven(11, QString());
        QTest::newRow("second Livo from the list: Trento, with its tables")
            << "Livo" << 1 << "38020" << "Trento" << "TN" << QStringList{"Centro", "Collina"}
            << QStringList{"2001"};
        QTest::newRow("first Livo from the list: Como, no tables of its own")
            << "Livo" << 0 << "22010" << "Como" << "CO" << eleven << eleven;
        QTest::newRow("typed Livo completes to Como")
            << "Livo" << -1 << "22010" << "Como" << "CO" << eleven << eleven;
        QTest::newRow("Abano Terme typed")
            << "abano terme" << -1 << "35031" << "Padova" << "PD" << QStringList{"Termale"} << eleven;
        // The tables' name then has only the municipality part.
        QTest::newRow("a name not in the list: three empty, tables by the bare name")
            << "Qwxy" << -1 << "" << "" << "" << QStringList{"Fuori"} << QStringList{"1999", "2000"};
    }
    void descriptionCascade()
    {
        QFETCH(QString, typed);
        QFETCH(int, occurrence);
        QFETCH(QString, postal);
        QFETCH(QString, province);
        QFETCH(QString, code);
        QFETCH(QStringList, zoneNames);
        QFETCH(QStringList, rentYears);

        makeZoneTable(data("ZonaUrbanaLivo38020TN.db"), {"Centro", "Collina"});
        makeRentTable(data("CanoniLocazUnitariLivo38020TN.db"), {"2001"});
        makeZoneTable(data("ZonaUrbanaAbano Terme35031PD.db"), {"Termale"});
        makeZoneTable(data("ZonaUrbanaQwxy.db"), {"Fuori"});
        makeRentTable(data("CanoniLocazUnitariQwxy.db"), {"1999", "2000"});
        // Tables of a name with the postal or province part must not be taken.
        makeZoneTable(data("ZonaUrbanaLivo22010.db"), {"Sbagliata"});
        makeZoneTable(data("ZonaUrbanaLivoCO.db"), {"Sbagliata"});

        // What the tables hold when the zone list is asked to be rebuilt.
        log.probe = [this] { return QString::number(rowCount(zones())) + "/" + QString::number(rowCount(rents())); };
        if (occurrence >= 0) {
            chooseWithMouse(page()->municipalityCombo, ::occurrence(typed, occurrence));
        } else {
            typeInto(page()->municipalityCombo, typed);
        }
        QCOMPARE(page()->postalCodeCombo->currentText(), postal);
        QCOMPARE(page()->provinceCombo->currentText(), province);
        QCOMPARE(page()->provinceCodeCombo->currentText(), code);
        QVERIFY(!w()->localisationPage->zonesEditorButton->isHidden());
        QVERIFY(!w()->incomePage->unitRentTableButton->isHidden());
        QCOMPARE(column(zones(), "ZonaUrbana"), zoneNames);
        QCOMPARE(column(rents(), "Anno"), rentYears);
        // The zone table is reloaded before the zone fields and list, the
        // unit-rent table only after them.
        const QString before = QString::number(zoneNames.size()) + "/";
        QVERIFY(log.names.size() >= 2);
        const QStringList last = log.names.mid(log.names.size() - 2);
        QVERIFY2(last.at(0).startsWith("zoneFieldsClear:" + before), qPrintable(log.names.join(' ')));
        QVERIFY2(last.at(1).startsWith("zoneListRebuild:" + before), qPrintable(log.names.join(' ')));
        QVERIFY(!log.names.join(' ').contains("unitRentReset"));
        QVERIFY(Messages::shown().isEmpty());
        // The appraiser's page is not touched.
        QCOMPARE(w()->appraiserPage->provinceCombo->currentText(), QString());
    }

    // The order of the requests: the unit-rent table is reloaded after the
    // zone list was rebuilt (it still holds the earlier run's empty table).
    void cascadeRequestOrder()
    {
        log.probe = [this] { return QString::number(rowCount(rents())); };
        chooseWithMouse(page()->municipalityCombo, occurrence("Milano", 0));
        QCOMPARE(log.names, (QStringList{"zoneFieldsClear:0", "zoneListRebuild:0"}));
        QCOMPARE(rowCount(rents()), 11);
        QCOMPARE(rowCount(zones()), 11);
    }

    // Erasing the municipality empties the three, hides the two "..." buttons,
    // clears the zone fields, then resets the rent; the tables stay.
    void emptiedMunicipality()
    {
        makeZoneTable(data("ZonaUrbanaMilano20100MI.db"), {"Centro"});
        typeInto(page()->municipalityCombo, "Milano");
        QCOMPARE(page()->provinceCodeCombo->currentText(), QStringLiteral("MI"));
        log.names.clear();

        typeInto(page()->municipalityCombo, QString());
        QCOMPARE(page()->municipalityCombo->currentText(), QString());
        QCOMPARE(page()->postalCodeCombo->currentText(), QString());
        QCOMPARE(page()->provinceCombo->currentText(), QString());
        QCOMPARE(page()->provinceCodeCombo->currentText(), QString());
        QVERIFY(w()->localisationPage->zonesEditorButton->isHidden());
        QVERIFY(w()->incomePage->unitRentTableButton->isHidden());
        QCOMPARE(log.names, (QStringList{"zoneFieldsClear", "unitRentReset"}));
        QCOMPARE(column(zones(), "ZonaUrbana"), QStringList{"Centro"});
    }

    // A municipality table that cannot be copied: the standard error box with
    // the failure's text, 11 empty rows, the rest of the cascade not run.
    void municipalityTableFailure_data()
    {
        QTest::addColumn<QString>("broken");  // "zones" or "rents"
        QTest::addColumn<int>("kind");        // 0 garbage, 1 damaged pages, 2 another layout
        for (const char *which : {"zones", "rents"}) {
            QTest::addRow("%s: not a database", which) << which << 0;
            QTest::addRow("%s: damaged", which) << which << 1;
            QTest::addRow("%s: another layout", which) << which << 2;
        }
    }
    void municipalityTableFailure()
    {
        QFETCH(QString, broken);
        QFETCH(int, kind);
        const bool zonesBroken = broken == "zones";
        const QString own = data(zonesBroken ? "ZonaUrbanaAsti14100AT.db" : "CanoniLocazUnitariAsti14100AT.db");
        switch (kind) {
        case 0:
            fixtures::writeBytes(own, QByteArray("questa non è una tabella").repeated(400));
            break;
        case 1: {
            QStringList many;
            for (int i = 0; i < 400; ++i)
                many << QStringLiteral("Zona numero %1 con un nome lungo").arg(i);
            if (zonesBroken)
                makeZoneTable(own, many);
            else
                makeRentTable(own, QStringList(400, "2001"));
            fixtures::damage(own);
            break;
        }
        default:
            if (zonesBroken)
                makeRentTable(own, {"2001"});
            else
                makeZoneTable(own, {"Centro"});
            break;
        }
        const QByteArray ownBytes = fixtures::readBytes(own);

        chooseWithMouse(page()->municipalityCombo, occurrence("Asti", 0));
        QCOMPARE(page()->provinceCodeCombo->currentText(), QStringLiteral("AT"));
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().first().kind, Messages::Shown::Error);
        QVERIFY(!Messages::shown().first().text.isEmpty());
        const QString failed = zonesBroken ? zones() : rents();
        QCOMPARE(column(failed, zonesBroken ? "ZonaUrbana" : "Anno"), QStringList(11, QString()));
        if (zonesBroken) {
            // Nothing after the zone table: no zone fields, no list, no rents.
            QVERIFY(!log.names.join(' ').contains("zone"));
            QCOMPARE(rowCount(rents()), 0);
        } else {
            QCOMPARE(log.names, (QStringList{"zoneFieldsClear", "zoneListRebuild"}));
        }
        // The municipality's own file is left as it was.
        QCOMPARE(fixtures::readBytes(own), ownBytes);
    }

    // The appraiser's cascade fills its own three fields and touches no table
    // and no other page.
    void appraiserCascade_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("occurrence");
        QTest::addColumn<QString>("postal");
        QTest::addColumn<QString>("province");
        QTest::addColumn<QString>("code");
        QTest::newRow("typed Livo") << "Livo" << -1 << "22010" << "Como" << "CO";
        QTest::newRow("second Livo") << "Livo" << 1 << "38020" << "Trento" << "TN";
        QTest::newRow("Zungri, the last row") << "Zungri" << -1 << "89867" << "Vibo Valentia" << "VV";
        QTest::newRow("no such name") << "Qwxy" << -1 << "" << "" << "";
        QTest::newRow("emptied") << "" << -1 << "" << "" << "";
    }
    void appraiserCascade()
    {
        QFETCH(QString, typed);
        QFETCH(int, occurrence);
        QFETCH(QString, postal);
        QFETCH(QString, province);
        QFETCH(QString, code);
        f->window->selectNode(1);
        ui::AppraiserPage *a = w()->appraiserPage;
        // Something to be replaced or emptied.
        typeInto(a->municipalityCombo, "Milano");
        QCOMPARE(a->postalCodeCombo->currentText(), QStringLiteral("20100"));
        const QByteArray zonesBefore = fixtures::readBytes(zones());
        const QByteArray rentsBefore = fixtures::readBytes(rents());

        if (occurrence >= 0)
            chooseWithMouse(a->municipalityCombo, ::occurrence(typed, occurrence));
        else
            typeInto(a->municipalityCombo, typed);
        QCOMPARE(a->postalCodeCombo->currentText(), postal);
        QCOMPARE(a->provinceCombo->currentText(), province);
        QCOMPARE(a->provinceCodeCombo->currentText(), code);
        QCOMPARE(fixtures::readBytes(zones()), zonesBefore);
        QCOMPARE(fixtures::readBytes(rents()), rentsBefore);
        QVERIFY(log.names.isEmpty());
        QCOMPARE(page()->municipalityCombo->currentText(), QString());
        QCOMPARE(page()->provinceCombo->currentText(), QString());
        QVERIFY(w()->localisationPage->zonesEditorButton->isHidden());
    }

    // Editing a province sets that page's code only.
    void provinceCode_data()
    {
        QTest::addColumn<bool>("appraiser");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("code");
        QTest::newRow("unit: trent") << false << "trent" << "TN";
        QTest::newRow("unit: Reggio Emilia") << false << "Reggio E" << "RE";
        QTest::newRow("unit: no province") << false << "Qwx" << "";
        QTest::newRow("appraiser: L'Aquila") << true << "l'aq" << "AQ";
        QTest::newRow("appraiser: Vibo Valentia") << true << "vibo" << "VV";
        QTest::newRow("appraiser: emptied") << true << "" << "";
    }
    void provinceCode()
    {
        QFETCH(bool, appraiser);
        QFETCH(QString, typed);
        QFETCH(QString, code);
        ui::AppraiserPage *a = w()->appraiserPage;
        ui::setComboText(a->provinceCodeCombo, "XX");
        ui::setComboText(page()->provinceCodeCombo, "YY");
        // Something for the user to replace or erase.
        ui::setComboText(a->provinceCombo, "Asti");
        ui::setComboText(page()->provinceCombo, "Asti");
        f->window->selectNode(appraiser ? 1 : 2);
        typeInto(appraiser ? a->provinceCombo : page()->provinceCombo, typed);
        QCOMPARE((appraiser ? a->provinceCodeCombo : page()->provinceCodeCombo)->currentText(), code);
        // The other page keeps its code.
        QCOMPARE((appraiser ? page()->provinceCodeCombo : a->provinceCodeCombo)->currentText(),
                 QString::fromLatin1(appraiser ? "YY" : "XX"));
        QVERIFY(log.names.isEmpty());
    }

    // The age against an appraisal date in 2002, as the construction year is typed.
    void buildingAge_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("age");
        QTest::newRow("2001: one year") << "2001" << "1 anno";
        QTest::newRow("2002: none") << "2002" << "0 anni";
        QTest::newRow("2000: two") << "2000" << "2 anni";
        QTest::newRow("1800: the first year taken") << "1800" << "202 anni";
        QTest::newRow("2003: after the appraisal") << "2003" << "";
        QTest::newRow("1799: too early") << "1799" << "";
        QTest::newRow("erased: the age stays") << "" << "old";
    }
    void buildingAge()
    {
        QFETCH(QString, year);
        QFETCH(QString, age);
        page()->setAppraisalDate(QDate(2002, 6, 15));
        ui::setComboText(page()->buildingAgeCombo, "old");
        // Something for the user to replace or erase.
        ui::setComboText(page()->constructionYearCombo, "1990");
        typeInto(page()->constructionYearCombo, year);
        QCOMPARE(page()->buildingAgeCombo->currentText(), age);
        QCOMPARE(page()->constructionYearCombo->currentText(), year);
        QVERIFY(Messages::shown().isEmpty());
        // The program's write of the age asks for no value.
        QVERIFY(!log.names.contains("CalcolaCIValoreMercato"));
    }

    // The user moves the appraisal year: the age first, then the rent, then
    // the gross income. A year that is no integer stops the chain.
    void dateChangeChain()
    {
        page()->setAppraisalDate(QDate(2002, 6, 15));
        typeInto(page()->constructionYearCombo, "2000");
        QCOMPARE(page()->buildingAgeCombo->currentText(), QStringLiteral("2 anni"));
        // The program's write of the date runs nothing, the age included.
        page()->setAppraisalDate(QDate(2010, 1, 1));
        QCOMPARE(page()->dateEdit->date(), QDate(2010, 1, 1));
        QCOMPARE(page()->buildingAgeCombo->currentText(), QStringLiteral("2 anni"));
        QVERIFY(log.names.isEmpty());
        page()->setAppraisalDate(QDate(2002, 6, 15));
        log.probe = [this] { return page()->buildingAgeCombo->currentText(); };

        page()->dateEdit->setFocus();
        page()->dateEdit->setCurrentSection(QDateTimeEdit::YearSection);
        QTest::keyClick(page()->dateEdit, Qt::Key_Up);
        QCOMPARE(page()->dateEdit->date().year(), 2003);
        QCOMPARE(log.names, (QStringList{"SetCanoneMensileDiLocazioneUnitario:3 anni", "CalcolaRedditoLordoAnnuo:3 anni"}));

        // A pasted year that is no integer: the error box, fields as they were,
        // and the chain stops at the age.
        pasteInto(page()->constructionYearCombo, "19a0");
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().at(0).kind, Messages::Shown::Error);
        QVERIFY(Messages::shown().at(0).text.contains("19a0"));
        QCOMPARE(page()->constructionYearCombo->currentText(), QStringLiteral("19a0"));
        QCOMPARE(page()->buildingAgeCombo->currentText(), QStringLiteral("3 anni"));
        log.names.clear();
        page()->dateEdit->setFocus();
        page()->dateEdit->setCurrentSection(QDateTimeEdit::YearSection);
        QTest::keyClick(page()->dateEdit, Qt::Key_Up);
        QCOMPARE(Messages::shown().size(), 2);
        QVERIFY(log.names.isEmpty());
        QCOMPARE(page()->buildingAgeCombo->currentText(), QStringLiteral("3 anni"));
    }

    // The floor judgment for T = 3 and its edges, as the two floors are typed.
    void floorJudgment_data()
    {
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("floor");
        QTest::addColumn<QString>("judgment");
        QTest::addColumn<QString>("floorAfter");
        QTest::addColumn<QString>("warning");
        const QString warn3 = QStringLiteral(
            "Il numero di piano dell'immobile oggetto di stima non può \nsuperare il numero complessivo dei piani, che è "
            "pari a 3.");
        QTest::newRow("T3 P0") << "3" << "0" << "Piano terra" << "0" << "";
        QTest::newRow("T3 P1") << "3" << "1" << "Primo piano" << "1" << "";
        QTest::newRow("T3 P2") << "3" << "2" << "Piano intermedio" << "2" << "";
        QTest::newRow("T3 P3") << "3" << "3" << "Ultimo piano" << "3" << "";
        QTest::newRow("T3 P4: warning, floor emptied") << "3" << "4" << "" << "" << warn3;
        QTest::newRow("T1 P1: first, not last") << "1" << "1" << "Primo piano" << "1" << "";
        QTest::newRow("T empty P2: emptied, no warning") << "" << "2" << "" << "2" << "";
        QTest::newRow("T3 P erased") << "3" << "" << "" << "" << "";
    }
    void floorJudgment()
    {
        QFETCH(QString, total);
        QFETCH(QString, floor);
        QFETCH(QString, judgment);
        QFETCH(QString, floorAfter);
        QFETCH(QString, warning);
        QComboBox *quota = w()->positionPage->streetLevelCombo;
        ui::setComboText(quota, "Piano attico");
        typeInto(page()->totalFloorsCombo, total);
        if (floor.isEmpty())
            typeInto(page()->floorCombo, "2"); // to be erased
        typeInto(page()->floorCombo, floor);
        QCOMPARE(quota->currentText(), judgment);
        QCOMPARE(page()->floorCombo->currentText(), floorAfter);
        QCOMPARE(page()->totalFloorsCombo->currentText(), total);
        if (warning.isEmpty()) {
            QVERIFY(Messages::shown().isEmpty());
        } else {
            QCOMPARE(Messages::shown().size(), 1);
            QCOMPARE(Messages::shown().at(0).kind, Messages::Shown::Warning);
            QCOMPARE(Messages::shown().at(0).text, warning);
        }
    }

    // The total typed after the floor is checked as well; a pasted floor that
    // is no integer gives the error box and changes nothing.
    void floorEdges()
    {
        QComboBox *quota = w()->positionPage->streetLevelCombo;
        typeInto(page()->floorCombo, "2");
        QCOMPARE(quota->currentText(), QString());
        typeInto(page()->totalFloorsCombo, "1");
        QCOMPARE(Messages::shown().size(), 1);
        QVERIFY(Messages::shown().at(0).text.endsWith(QStringLiteral("che è pari a 1.")));
        QCOMPARE(page()->floorCombo->currentText(), QString());
        QCOMPARE(page()->totalFloorsCombo->currentText(), QStringLiteral("1"));

        typeInto(page()->floorCombo, "1");
        QCOMPARE(quota->currentText(), QStringLiteral("Primo piano"));
        pasteInto(page()->floorCombo, "1°");
        QCOMPARE(Messages::shown().size(), 2);
        QCOMPARE(Messages::shown().at(1).kind, Messages::Shown::Error);
        QCOMPARE(page()->floorCombo->currentText(), QStringLiteral("1°"));
        QCOMPARE(quota->currentText(), QStringLiteral("Primo piano"));
    }

    void categoryHint_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("status");
        QTest::newRow("A/2") << "A/2" << "Categoria A/2: Abitazione di tipo civile.";
        QTest::newRow("A/10 after A/1") << "A/10" << "Categoria A/10: Uffici e studi privati.";
        QTest::newRow("E/9, the last") << "E/9"
                                       << "Categoria E/9: Edifici a destinazione particolare non compresi nelle "
                                          "precedenti categorie del gruppo E.";
        QTest::newRow("emptied") << "" << "Categoria catastale del fabbricato.";
        // "A/5x" after "A/5" is no code: the hint of A/5 stays.
        QTest::newRow("no code: unchanged") << "A/5x" << "Categoria A/5: Abitazione di tipo ultrapopolare (da "
                                                         "ricondurre alla classe più bassa della Categoria A/4).";
        QTest::newRow("lower case is no code: B/1's hint stays")
            << "a/2" << "Categoria B/1: Collegi, convitti, ricoveri, orfanotrofi, ospizi, conventi, seminari e caserme.";
    }
    void categoryHint()
    {
        QFETCH(QString, typed);
        QFETCH(QString, status);
        QComboBox *category = page()->categoryCombo;
        typeInto(category, "B/1");
        QCOMPARE(category->statusTip(),
                 QStringLiteral("Categoria B/1: Collegi, convitti, ricoveri, orfanotrofi, ospizi, conventi, seminari e caserme."));
        typeInto(category, typed);
        QCOMPARE(category->statusTip(), status);
        QCOMPARE(category->toolTip(), QString());
    }

    // Choosing a category from the list counts as a change as well.
    void categoryFromList()
    {
        QComboBox *category = page()->categoryCombo;
        const int i = category->findText(QStringLiteral("C/6"));
        QVERIFY(i >= 0);
        chooseWithMouse(category, i);
        QCOMPARE(category->statusTip(), QStringLiteral("Categoria C/6: Stalle, scuderie, rimesse e autorimesse."));
        QCOMPARE(log.names, QStringList{"CalcolaSpeseImposte"});
    }

    // Category or class changed: the taxes are emptied and asked for again,
    // only while recomputation is on.
    void taxesTrigger_data()
    {
        QTest::addColumn<bool>("recompute");
        QTest::addColumn<bool>("category"); // false: the class
        QTest::newRow("category, recomputing") << true << true;
        QTest::newRow("class, recomputing") << true << false;
        QTest::newRow("category, held back") << false << true;
        QTest::newRow("class, held back") << false << false;
    }
    void taxesTrigger()
    {
        QFETCH(bool, recompute);
        QFETCH(bool, category);
        QLineEdit *taxes = w()->incomePage->taxesEdit;
        taxes->setText(QStringLiteral("12,00"));
        currency().RicalcoloAttivo = recompute;
        log.probe = [taxes] { return taxes->text(); };
        if (category) {
            typeInto(page()->categoryCombo, "A/3");
        } else {
            page()->classEdit->setFocus();
            QTest::keyClicks(page()->classEdit, "2");
        }
        const int changes = category ? 3 : 1; // "A", "A/", "A/3"
        if (recompute) {
            QCOMPARE(taxes->text(), QString());
            QCOMPARE(log.names, QStringList(changes, "CalcolaSpeseImposte:"));
        } else {
            QCOMPARE(taxes->text(), QStringLiteral("12,00"));
            QVERIFY(log.names.isEmpty());
        }
    }

    // The lists offer the municipalities in force at the valuation date; a
    // change of date keeps what the pages show.
    void municipalitiesOfTheDate()
    {
        const auto offers = [](QComboBox *combo, const QString &name) {
            return combo->findText(name, Qt::MatchExactly) >= 0;
        };
        QComboBox *municipality = page()->municipalityCombo;
        QComboBox *appraiserMunicipality = w()->appraiserPage->municipalityCombo;
        // A new appraisal is dated today: today's list.
        QCOMPARE(&ui::offeredMunicipalities(), &municipalities());
        QVERIFY(offers(municipality, "Misiliscemi"));
        QVERIFY(!offers(municipality, "Tonengo"));

        typeInto(appraiserMunicipality, "Setteville");
        typeInto(municipality, "Asti");
        QCOMPARE(page()->provinceCodeCombo->currentText(), QStringLiteral("AT"));
        const qsizetype boxes = Messages::shown().size();

        // The user dates the appraisal June 2022.
        page()->dateEdit->setDate(QDate(2022, 6, 1));
        QVERIFY(offers(municipality, "Tonengo"));
        QVERIFY(offers(municipality, "Misiliscemi")); // made in 2021
        QVERIFY(!offers(municipality, "Setteville")); // made in 2024
        QVERIFY(!offers(municipality, "Moransengo-Tonengo"));
        QCOMPARE(municipality->currentText(), QStringLiteral("Asti"));
        QCOMPARE(municipality->itemText(municipality->currentIndex()), QStringLiteral("Asti"));
        QCOMPARE(page()->postalCodeCombo->currentText(), QStringLiteral("14100"));
        // A name the date's list lacks stays as shown, with no entry.
        QCOMPARE(appraiserMunicipality->currentText(), QStringLiteral("Setteville"));
        QCOMPARE(appraiserMunicipality->currentIndex(), -1);
        QCOMPARE(w()->appraiserPage->provinceCodeCombo->currentText(), QStringLiteral("BL"));

        // Tonengo can be chosen, with its cascade.
        typeInto(municipality, "Tonengo");
        QCOMPARE(municipality->currentText(), QStringLiteral("Tonengo"));
        QCOMPARE(page()->postalCodeCombo->currentText(), QStringLiteral("14023"));
        QCOMPARE(page()->provinceCombo->currentText(), QStringLiteral("Asti"));
        QCOMPARE(page()->provinceCodeCombo->currentText(), QStringLiteral("AT"));

        // Back to today: Tonengo stays on the page, no longer offered.
        page()->dateEdit->setDate(QDate::currentDate());
        QCOMPARE(&ui::offeredMunicipalities(), &municipalities());
        QCOMPARE(municipality->currentText(), QStringLiteral("Tonengo"));
        QCOMPARE(municipality->currentIndex(), -1);
        QCOMPARE(page()->postalCodeCombo->currentText(), QStringLiteral("14023"));
        QCOMPARE(Messages::shown().size(), boxes);

        // Sovizzo, made anew in 2024 under a new code, keeps its entry.
        page()->dateEdit->setDate(QDate(2023, 6, 1));
        typeInto(municipality, "Sovizzo");
        QCOMPARE(ui::offeredMunicipalities().cadastralCodes.at(municipality->currentIndex()), QStringLiteral("I879"));
        page()->dateEdit->setDate(QDate(2025, 6, 1));
        QCOMPARE(municipality->currentText(), QStringLiteral("Sovizzo"));
        QVERIFY(municipality->currentIndex() >= 0);
        QCOMPARE(ui::offeredMunicipalities().cadastralCodes.at(municipality->currentIndex()), QStringLiteral("M436"));

        // A new appraisal's date brings today's list back.
        page()->dateEdit->setDate(QDate(2022, 6, 1));
        page()->setAppraisalDate(QDate::currentDate());
        QVERIFY(offers(municipality, "Setteville"));
    }

    // The user's building type or age asks for the value by income.
    void buildingTypeAndAge()
    {
        QComboBox *type = page()->buildingTypeCombo;
        QVERIFY(type->count() > 1);
        chooseWithMouse(type, 1);
        QCOMPARE(log.names, QStringList{"CalcolaCIValoreMercato"});
        ui::setComboText(page()->buildingAgeCombo, "5 anni");
        page()->buildingAgeCombo->setFocus();
        page()->buildingAgeCombo->lineEdit()->end(false);
        QTest::keyClick(page()->buildingAgeCombo, Qt::Key_Backspace);
        QCOMPARE(page()->buildingAgeCombo->currentText(), QStringLiteral("5 ann"));
        QCOMPARE(log.names, (QStringList{"CalcolaCIValoreMercato", "CalcolaCIValoreMercato"}));
        // Program writes ask for nothing.
        ui::setComboText(type, type->itemText(2));
        QCOMPARE(log.names.size(), 2);
    }
};

QTEST_MAIN(TestDescriptionOps)
#include "tst_descriptionops.moc"
