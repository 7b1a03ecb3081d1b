// SPDX-License-Identifier: GPL-2.0-or-later
// The fields without a window stand for the pages' controls: the same names,
// the same kinds, the same first texts, and writes that report their changes
// to the reactions as the controls do. The income work run on them gives what
// the income page gives behind the window.
#include "../support/appfixture.h"
#include "app/descriptionops.h"
#include "app/incomeops.h"
#include "app/lightsops.h"
#include "engine/descriptionwork.h"
#include "app/surfacesops.h"
#include "engine/surfaceswork.h"
#include "pages/surfacespage.h"
#include "app/valueops.h"
#include "engine/valuework.h"
#include "pages/comparablespage.h"
#include "pages/resultspage.h"
#include <QTextEdit>
#include "pages/tablemodel.h"
#include "app/widgetfields.h"
#include "engine/appraisalwork.h"
#include "engine/fieldstore.h"
#include "engine/lightswork.h"
#include "engine/resultswork.h"
#include "engine/incomework.h"
#include "model/currency.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/messages.h"
#include "pages/typologypage.h"
#include "store/datafolder.h"
#include "store/tablestore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTest>

using namespace brevan;
using brevan::app::MainWindow;
using engine::FieldStore;

namespace {

const char *className(FieldStore::Kind kind)
{
    switch (kind) {
    case FieldStore::Kind::Text: return "QLineEdit";
    case FieldStore::Kind::Choice: return "QComboBox";
    case FieldStore::Kind::Tick: return "QCheckBox";
    case FieldStore::Kind::Option: return "QRadioButton";
    case FieldStore::Kind::Date: return "QDateEdit";
    }
    return "";
}

// Every change reported by the fields watched, in order: "name=text" for a
// text, "name:1" or "name:0" for a tick.
struct ChangeLog {
    QStringList lines;
    void watch(engine::Fields &fields, QObject *context, const QStringList &texts, const QStringList &ticks)
    {
        for (const QString &name : texts)
            fields.whenTextChanged(name, context, [this, &fields, name] { lines << name + u'=' + fields.text(name); });
        for (const QString &name : ticks)
            fields.whenToggled(name, context, [this, name](bool on) { lines << name + (on ? QStringLiteral(":1") : QStringLiteral(":0")); });
    }
};

// The same writes, as the operations make them, on either kind of fields.
void scriptedWrites(engine::Fields &f)
{
    f.setText(QStringLiteral("CanoneLocazUnit"), QStringLiteral("10.000"));
    f.setText(QStringLiteral("CanoneLocazUnit"), QStringLiteral("10.000")); // no change
    f.clear(QStringLiteral("CanoneLocazUnit"));
    f.clear(QStringLiteral("CanoneLocazUnit"));          // empty already
    f.setText(QStringLiteral("CanoneLocazUnit"), QString()); // no text is the empty text
    f.setText(QStringLiteral("Edit39"), QStringLiteral("0"));
    f.setText(QStringLiteral("Edit39"), QStringLiteral("12"));
    f.setText(QStringLiteral("StatoConservExt"), QStringLiteral("Buono")); // a list: no report
    f.setChecked(QStringLiteral("ZonaCentrImmob"), true);
    f.setChecked(QStringLiteral("ZonaIntermImmob"), true);
    f.setChecked(QStringLiteral("ZonaIntermImmob"), true); // no change
    f.setChecked(QStringLiteral("ZonaIntermImmob"), false); // a trio with none ticked
    f.setChecked(QStringLiteral("PiccoleDimensImmob"), true);
    f.setChecked(QStringLiteral("GrandiDimensImmob"), true);
    f.setChecked(QStringLiteral("Ascensore"), true);
    f.setChecked(QStringLiteral("Ascensore"), false);
    f.setChecked(QStringLiteral("Riscaldamento"), true); // the page's rule: the usual kind
}

const QStringList kWatchedTexts{QStringLiteral("CanoneLocazUnit"), QStringLiteral("Edit39"),
                                QStringLiteral("StatoConservExt")};
const QStringList kWatchedTicks{QStringLiteral("ZonaCentrImmob"),     QStringLiteral("ZonaIntermImmob"),
                                QStringLiteral("ZonaPeriferImmob"),   QStringLiteral("PiccoleDimensImmob"),
                                QStringLiteral("MedieDimensImmob"),   QStringLiteral("GrandiDimensImmob"),
                                QStringLiteral("Ascensore")};

// The texts of the income page's fields, and the hints the work gave them
// (the page starts with hints of its own, which hintOf leaves out).
QStringList incomeState(const engine::Fields &f, const std::function<QString(const QString &)> &hintOf)
{
    QStringList out;
    QStringList names{QStringLiteral("CanoneLocazUnit"),   QStringLiteral("NumCauzioni"),
                      QStringLiteral("SaggioCommerciale"), QStringLiteral("SaggioLegale"),
                      QStringLiteral("RedditoLordoAnnuo"), QStringLiteral("RedditoNettoAnnuo"),
                      QStringLiteral("Edit39"),            QStringLiteral("Edit40"),
                      QStringLiteral("Edit41")};
    for (int i = 0; i < 6; ++i)
        names << engine::expenseField(i);
    for (const QString &name : names)
        out << name + u'=' + f.text(name) + u'|' + hintOf(name);
    return out;
}

class RecordedNotices final : public engine::Notices {
public:
    QStringList shown;
    void warning(const QString &text) override { shown << QStringLiteral("warning: ") + text; }
    void error(const QString &text) override { shown << QStringLiteral("error: ") + text; }
    void note(const QString &text) override { shown << QStringLiteral("note: ") + text; }
};


// The income and value work wired as the program wires them.
template <typename Income, typename Value>
void wire(Income &income, Value &value, const QString &surface)
{
    const auto s = [surface] { return surface; };
    income.commercialSurface = s;
    value.commercialSurface = s;
    QObject::connect(&income, &engine::IncomeWork::CalcolaCIValoreMercatoRequested, &value,
                     &engine::ValueWork::CalcolaCIValoreMercato);
    QObject::connect(&income, &engine::IncomeWork::CalcolaCDValoreMercatoRequested, &value,
                     &engine::ValueWork::CalcolaCDValoreMercato);
    QObject::connect(&value, &engine::ValueWork::SetHintCanoneLocazioneRequested, &income,
                     &engine::IncomeWork::SetHintCanoneLocazione);
    QObject::connect(&value, &engine::ValueWork::CalcolaRedditoNettoAnnuoRequested, &income,
                     &engine::IncomeWork::CalcolaRedditoNettoAnnuo);
    QObject::connect(&value, &engine::ValueWork::SetHintRedditoLordoNettoRequested, &income,
                     &engine::IncomeWork::SetHintRedditoLordoNetto);
    QObject::connect(&value, &engine::ValueWork::SetHintSpeseRequested, &income, &engine::IncomeWork::SetHintSpese);
}

// Two comparables in the working table, in Lire.
void writeComparables()
{
    const QString path = dataPath(kImmConfr);
    rebuildTable(path, comparablesLayout(), 0);
    Table t = Table::open(path);
    t.append({"Via Roma", "1", "2", "3", "70", "10", "10", "10", "10", "1.000.000,00", "", "", ""});
    t.append({"Via Po", "4", "5", "6", "90", "12", "9", "11", "8", "2.000.000,00", "140.000.000,00", "", ""});
}

// Texts written in order, as the operations write them.
void writeTexts(engine::Fields &f, std::initializer_list<std::pair<const char *, const char *>> texts)
{
    for (const auto &[name, text] : texts)
        f.setText(QString::fromLatin1(name), QString::fromUtf8(text));
}

// A whole appraisal's worth of judgments and amounts, as the pages take them.
void fillAppraisal(engine::Fields &f)
{
    const std::pair<const char *, const char *> texts[] = {
        {"DistanzaViaPrincip", "Vicina"}, {"ServTraspPubblico", "Buono"}, {"QualifAmbienteExt", "Buona"},
        {"IdoneitaInsediat", "Buona"},    {"MiglioramAmbiente", "Nessuno"}, {"InquinamAmbiente", "Scarso"},
        {"VerdePubblico", "Buono"},       {"DisponibAreeSosta", "Buona"}, {"Luminosita", "Buona"},
        {"Panoramicita", "Ottima"},       {"Esposizione", "Buona"},       {"Prospicienza", "Buona"},
        {"QuotaDaPianoStrad", "Buona"},   {"SuperfAccessorie", "Buona"},  {"GradoRifinitInt", "Buono"},
        {"GradoRifinitExt", "Buono"},     {"LivImpiantiTecnol", "Buono"}, {"StatoConservInt", "Buono"},
        {"StatoConservExt", "Buono"},     {"TipologEdiliziaImmob", "Palazzina"},
        {"EtaEdificioImmob", "Da 10 a 20 anni"}, {"SaggioMedioImmob", "4,00"},
    };
    for (const auto &[name, text] : texts)
        f.setText(QString::fromLatin1(name), QString::fromUtf8(text));
    f.setChecked(QStringLiteral("ZonaIntermImmob"), true);
    f.setChecked(facilityName(0), true);
    f.setChecked(facilityName(4), true);
    writeTexts(f, {{"CanoneLocazUnit", "10000"},
                   {"NumCauzioni", "3"},
                   {"SaggioCommerciale", "5"},
                   {"SaggioLegale", "2.5"},
                   {"SpeseAssicurazioni", "1000000"}});
}

QStringList valueState(const engine::Fields &f, const Coefficients &coefficients)
{
    QStringList out;
    for (const char *name : {"CostoUnitario", "CostoComplessivo", "CICostoUnitario", "CICostoComplessivo",
                             "CanoneLocazUnit", "RedditoLordoAnnuo", "RedditoNettoAnnuo", "SpeseManutenzione",
                             "SpeseAssicurazioni", "Edit39", "Edit43", "Edit46"})
        out << QString::fromLatin1(name) + u'=' + f.text(QString::fromLatin1(name));
    for (const FieldDef &def : recordFields()) {
        const QString name = QString::fromLatin1(def.name);
        if (def.type == FieldType::Real)
            out << name + u'=' + QString::number(coefficients.value(name).value_or(0), 'g', 17);
    }
    return out;
}

using SurfaceRows = QList<QPair<QString, double>>;

QStringList storedComparables()
{
    QStringList out;
    const Table t = Table::open(dataPath(kImmConfr));
    for (const qint64 id : t.rowIds())
        out << t.text(id, QStringLiteral("CostoUnitario")) + u'|' + t.text(id, QStringLiteral("Servizio1")) + u'|'
                   + t.text(id, QStringLiteral("CostoComplessivo")) + u'|' + t.text(id, QStringLiteral("Servizio2"));
    return out;
}

} // namespace

class TestFieldStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyControlIsOnThePagesWithItsKindAndText()
    {
        AppFixture fixture;
        const FieldStore store;
        QVERIFY(store.names().size() > 100);
        for (const QString &name : store.names()) {
            const QList<QWidget *> found = fixture.window->pages->findChildren<QWidget *>(name);
            QVERIFY2(found.size() == 1, qPrintable(name + QStringLiteral(": %1 controls").arg(found.size())));
            const char *expected = className(store.kind(name));
            QVERIFY2(found.first()->inherits(expected), qPrintable(name + QStringLiteral(" is no ") + expected));
            if (auto *edit = qobject_cast<QLineEdit *>(found.first()))
                QCOMPARE(store.text(name), edit->text());
            if (auto *combo = qobject_cast<QComboBox *>(found.first()))
                QCOMPARE(store.text(name), combo->currentText());
            if (auto *button = qobject_cast<QAbstractButton *>(found.first()))
                QCOMPARE(store.isChecked(name), button->isChecked());
        }
        // No stored field has a control on the pages that the store lacks.
        app::WidgetFields widgets(fixture.window.get());
        for (const FieldDef &f : recordFields()) {
            const QString name = QString::fromLatin1(f.name);
            QVERIFY2(store.has(name) == widgets.has(name), qPrintable(name));
        }
    }

    void writesAreReportedAsTheControlsReportThem()
    {
        AppFixture fixture;
        app::WidgetFields widgets(fixture.window.get());
        FieldStore store;
        QObject context;
        ChangeLog onWidgets, onStore;
        onWidgets.watch(widgets, &context, kWatchedTexts, kWatchedTicks);
        onStore.watch(store, &context, kWatchedTexts, kWatchedTicks);
        scriptedWrites(widgets);
        scriptedWrites(store);
        QVERIFY(onWidgets.lines.size() > 8);
        QCOMPARE(onStore.lines, onWidgets.lines);
        for (const QString &name : kWatchedTexts + QStringList{QStringLiteral("AscensoreTipo"),
                                                               QStringLiteral("RiscaldamentoTipo")})
            QCOMPARE(store.text(name), widgets.text(name));
        QCOMPARE(store.text(QStringLiteral("RiscaldamentoTipo")), QStringLiteral("Centralizzato"));
        for (const QString &name : kWatchedTicks)
            QCOMPARE(store.isChecked(name), widgets.isChecked(name));
    }

    void reactionsEndWithTheirContext()
    {
        FieldStore store;
        int runs = 0;
        {
            QObject context;
            store.whenTextChanged(QStringLiteral("NumCauzioni"), &context, [&runs] { ++runs; });
            store.setText(QStringLiteral("NumCauzioni"), QStringLiteral("2"));
        }
        store.setText(QStringLiteral("NumCauzioni"), QStringLiteral("3"));
        QCOMPARE(runs, 1);
        QVERIFY_THROWS_EXCEPTION(std::logic_error, store.text(QStringLiteral("NoSuchControl")));
    }

    // The income page's reactions, typed in the page's order, give the same
    // incomes, expenses, hints and warnings with and without the window.
    void incomeWorkIsTheIncomePagesWithoutWindow_data()
    {
        QTest::addColumn<QString>("rent");
        QTest::addColumn<QString>("months");
        QTest::addColumn<QString>("commercial");
        QTest::addColumn<QString>("legal");
        QTest::addColumn<QString>("surface");
        QTest::addColumn<bool>("lift");
        QTest::addColumn<QString>("repair");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("cadastralClass");

        QTest::newRow("complete") << "10000" << "3" << "5" << "2.5" << "95,5" << true << "Buono" << "A/3" << "2";
        QTest::newRow("no surface") << "10000" << "3" << "5" << "2.5" << "" << false << "" << "" << "";
        QTest::newRow("deposit refused") << "9000" << "4" << "5" << "2.5" << "80" << false << "Scadente" << "A/3"
                                         << "2";
        QTest::newRow("nil deposit") << "9000" << "0" << "5" << "2.5" << "80" << true << "Ottimo" << "A/7" << "1";
        QTest::newRow("text for a rate") << "9000" << "2" << "cinque" << "2.5" << "80" << false << "Buono"
                                         << "A/2" << "";
        QTest::newRow("rent as a float") << "7500.25" << "1" << "4.75" << "1" << "120,25" << true << "Mediocre"
                                         << "A/4" << "5";
    }
    void incomeWorkIsTheIncomePagesWithoutWindow()
    {
        QFETCH(QString, rent);
        QFETCH(QString, months);
        QFETCH(QString, commercial);
        QFETCH(QString, legal);
        QFETCH(QString, surface);
        QFETCH(bool, lift);
        QFETCH(QString, repair);
        QFETCH(QString, category);
        QFETCH(QString, cadastralClass);
        currency().reset();

        const auto fill = [&](engine::Fields &f) {
            f.setChecked(QStringLiteral("Ascensore"), lift);
            f.setText(QStringLiteral("StatoConservExt"), repair);
            f.setText(QStringLiteral("CategCatastImmob"), category);
            f.setText(QStringLiteral("ClasseCatastImmob"), cadastralClass);
            f.setText(QStringLiteral("CanoneLocazUnit"), rent);
            f.setText(QStringLiteral("NumCauzioni"), months);
            f.setText(QStringLiteral("SaggioCommerciale"), commercial);
            f.setText(QStringLiteral("SaggioLegale"), legal);
        };

        // Behind the window.
        AppFixture fixture;
        QStringList windowNotices;
        ui::Messages::setAnswers([&](const ui::Messages::Shown &shown) {
            windowNotices << (shown.kind == ui::Messages::Shown::Error ? QStringLiteral("error: ")
                                                                        : QStringLiteral("warning: "))
                                 + shown.text;
            return true;
        });
        app::IncomeOps ops(fixture.window.get());
        ops.commercialSurface = [surface] { return surface; };
        app::WidgetFields widgets(fixture.window.get());
        int windowValueRequests = 0;
        connect(&ops, &app::IncomeOps::CalcolaCIValoreMercatoRequested, this, [&] { ++windowValueRequests; });
        fill(widgets);
        ops.SetHintRedditoLordoNetto();
        QStringList hinted; // the fields the work gave a hint, known after the run without the window
        const auto windowHint = [&](const QString &name) {
            return hinted.contains(name) ? widgets.control(name)->toolTip() + u'|' + widgets.control(name)->statusTip()
                                         : QString();
        };

        // Without it.
        currency().reset();
        FieldStore store;
        RecordedNotices notices;
        engine::IncomeWork work(store, notices);
        work.commercialSurface = [surface] { return surface; };
        int storeValueRequests = 0;
        connect(&work, &engine::IncomeWork::CalcolaCIValoreMercatoRequested, this, [&] { ++storeValueRequests; });
        fill(store);
        work.SetHintRedditoLordoNetto();
        const QStringList withoutWindow = incomeState(store, [&](const QString &name) {
            const QString hint = store.hint(name);
            if (hint.isNull())
                return QString();
            hinted << name;
            const int bar = hint.indexOf(u'|');
            return (bar < 0 ? hint : hint.left(bar)) + u'|' + (bar < 0 ? hint : hint.mid(bar + 1));
        });
        QVERIFY(hinted.contains(QStringLiteral("RedditoLordoAnnuo")));
        const QStringList behindWindow = incomeState(widgets, windowHint);

        QCOMPARE(withoutWindow, behindWindow);
        QCOMPARE(notices.shown, windowNotices);
        QCOMPARE(storeValueRequests, windowValueRequests);
    }

    // The values and every coefficient, then the switch to Euro with the
    // comparables' costs, the same with and without the window.
    void valueWorkIsTheWindowsWithoutIt()
    {
        AppFixture fixture;
        MainWindow *w = fixture.window.get();
        currency().reset();
        writeComparables();
        w->comparablesPage->model()->reload();
        app::IncomeOps income(w);
        app::ValueOps values(w);
        wire(income, values, QStringLiteral("100"));
        app::WidgetFields widgets(w);
        fillAppraisal(widgets);
        values.CalcolaCIValoreMercato();
        values.CalcolaCDValoreMercato();
        const QStringList windowLire = valueState(widgets, w->coefficients);
        w->euroButton->click();
        const QStringList windowEuro = valueState(widgets, w->coefficients);
        const QStringList windowTable = storedComparables();

        currency().reset();
        writeComparables();
        FieldStore store;
        RecordedNotices notices;
        Coefficients coefficients;
        engine::IncomeWork storeIncome(store, notices);
        engine::ValueWork storeValues(store, notices, coefficients);
        wire(storeIncome, storeValues, QStringLiteral("100"));
        fillAppraisal(store);
        storeValues.CalcolaCIValoreMercato();
        storeValues.CalcolaCDValoreMercato();
        QCOMPARE(valueState(store, coefficients), windowLire);
        storeValues.switchCurrency(true);
        QCOMPARE(valueState(store, coefficients), windowEuro);
        QCOMPARE(storedComparables(), windowTable);
        QVERIFY(notices.shown.isEmpty());

        // Computed on both sides, so the comparison says something.
        QVERIFY(!store.text(QStringLiteral("CostoUnitario")).isEmpty());
        QVERIFY(!store.text(QStringLiteral("CICostoComplessivo")).isEmpty());
        QVERIFY(windowTable.first().startsWith(QStringLiteral("516,46|")));
        currency().reset();
    }

    // The three surfaces and the accessory spaces from the working table, as
    // the grid shows it and as the table holds it; areas with many decimals.
    void surfacesWorkReadsTheTableAsTheGridShowsIt_data()
    {
        QTest::addColumn<SurfaceRows>("rows");
        QTest::newRow("flat") << SurfaceRows{
            {"Camera", 14.5}, {"Cucina", 9.25}, {"Bagno", 4.125}, {"Balcone", 6.0}, {"Cantina", 8.0}};
        QTest::newRow("long decimals") << SurfaceRows{
            {"Camera", 12.345678901234}, {"Soggiorno", 21.1111111111111}, {"Balcone", 0.3333333333333333},
            {"Aree verdi (quota millesimale)", 37.77777777777}};
        QTest::newRow("no complete row") << SurfaceRows{{"Camera", 0.0}, {"", 12.0}};
    }
    void surfacesWorkReadsTheTableAsTheGridShowsIt()
    {
        QFETCH(SurfaceRows, rows);
        const auto writeRows = [&rows] {
            const QString path = dataPath(kDescrSup);
            rebuildTable(path, surfacesLayout(), 0);
            Table t = Table::open(path);
            for (const auto &r : rows)
                t.append(QVariantList{r.first, r.second});
        };
        const QStringList names{"SupUtileImmob", "SupConvenzImmob", "SupCommercImmob", "Edit25",
                                "Edit26",        "Edit27",          "SuperfAccessorie"};

        AppFixture fixture;
        MainWindow *w = fixture.window.get();
        writeRows();
        w->surfacesPage->model()->reload();
        app::SurfacesOps ops(w);
        int windowRequests = 0;
        connect(&ops, &engine::SurfacesWork::CalcolaRedditoLordoAnnuoRequested, this, [&] { ++windowRequests; });
        ops.AttivaSpeedButtonCalcolaSuperfici();
        app::WidgetFields widgets(w);
        QStringList behindWindow;
        for (const QString &name : names)
            behindWindow << name + u'=' + widgets.text(name);

        FieldStore store;
        RecordedNotices notices;
        engine::SurfacesWork work(store, notices);
        int storeRequests = 0;
        connect(&work, &engine::SurfacesWork::CalcolaRedditoLordoAnnuoRequested, this, [&] { ++storeRequests; });
        work.AttivaSpeedButtonCalcolaSuperfici();
        QStringList withoutWindow;
        for (const QString &name : names)
            withoutWindow << name + u'=' + store.text(name);

        QCOMPARE(withoutWindow, behindWindow);
        QCOMPARE(storeRequests, windowRequests);
        QCOMPARE(storeRequests, QTest::currentDataTag() == QByteArray("no complete row") ? 0 : 1);
    }

    // The class's taxes trigger, the building's age, the floor judgment and
    // the note on a former municipality, with and without the window.
    void descriptionWorkIsThePagesWithoutWindow()
    {
        const auto run = [](engine::Fields &f, engine::DescriptionWork &description) {
            writeTexts(f, {{"CategCatastImmob", "A/3"},
                           {"ClasseCatastImmob", "2"},
                           {"CanoneLocazUnit", "10000"},
                           {"NumCauzioni", "3"},
                           {"SaggioCommerciale", "5"},
                           {"SaggioLegale", "2.5"},
                           {"AliquoteTasse", "1000"},
                           {"ClasseCatastImmob", "4"},
                           {"AnnoCostruzImmob", "1990"}});
            description.ImpostaEtaEdificio();
            f.setText(QStringLiteral("TotPianiImmob"), QStringLiteral("3"));
            f.setText(QStringLiteral("PianoImmob"), QStringLiteral("5"));
            description.GiudicaQuotaDalPianoStradale();
            f.setText(QStringLiteral("ComuneImmob"), QStringLiteral("Abbadia Alpina"));
            f.setText(QStringLiteral("SiglaProvinciaImmob"), QStringLiteral("TO"));
            description.noteFormerMunicipality();
            QStringList out;
            for (const char *name : {"AliquoteTasse", "RedditoNettoAnnuo", "EtaEdificioImmob", "QuotaDaPianoStrad",
                                     "PianoImmob"})
                out << QString::fromLatin1(name) + u'=' + f.text(QString::fromLatin1(name));
            return out;
        };

        currency().reset();
        AppFixture fixture;
        MainWindow *w = fixture.window.get();
        QStringList windowNotices;
        ui::Messages::setAnswers([&](const ui::Messages::Shown &shown) {
            windowNotices << QString::number(int(shown.kind)) + u' ' + shown.text;
            return true;
        });
        app::IncomeOps income(w);
        income.commercialSurface = [] { return QStringLiteral("100"); };
        app::DescriptionOps description(w);
        connect(&description, &engine::DescriptionWork::CalcolaSpeseImposteRequested, &income,
                &engine::IncomeWork::CalcolaSpeseImposte);
        app::WidgetFields widgets(w);
        const QStringList behindWindow = run(widgets, description);
        // A note goes to the status bar.
        if (!w->statusBar()->currentMessage().isEmpty())
            windowNotices << QStringLiteral("note ") + w->statusBar()->currentMessage();

        currency().reset();
        FieldStore store;
        store.setDate(QStringLiteral("DataStimaImmob"), widgets.date(QStringLiteral("DataStimaImmob")));
        QStringList storeNotices;
        struct Kinds final : engine::Notices {
            QStringList *out;
            void warning(const QString &t) override { *out << QString::number(int(ui::Messages::Shown::Warning)) + u' ' + t; }
            void error(const QString &t) override { *out << QString::number(int(ui::Messages::Shown::Error)) + u' ' + t; }
            void note(const QString &t) override { *out << QStringLiteral("note ") + t; }
        } notices;
        notices.out = &storeNotices;
        engine::IncomeWork storeIncome(store, notices);
        storeIncome.commercialSurface = [] { return QStringLiteral("100"); };
        engine::DescriptionWork storeDescription(store, notices);
        connect(&storeDescription, &engine::DescriptionWork::CalcolaSpeseImposteRequested, &storeIncome,
                &engine::IncomeWork::CalcolaSpeseImposte);
        const QStringList withoutWindow = run(store, storeDescription);

        QCOMPARE(withoutWindow, behindWindow);
        QCOMPARE(storeNotices, windowNotices);
        // The class proposed the taxes again over the typed 1000; the note was given.
        QVERIFY(store.text(QStringLiteral("AliquoteTasse")) != QStringLiteral("1000"));
        QVERIFY(!store.text(QStringLiteral("AliquoteTasse")).isEmpty());
        QVERIFY(!store.text(QStringLiteral("EtaEdificioImmob")).isEmpty());
        QCOMPARE(storeNotices.size(), 2);
    }

    // A whole appraisal worked on without a window gives the window's
    // summary, coefficients and fields: the subsystems chained as the window
    // chains them, the surfaces and comparables read from their tables.
    void appraisalWorkIsTheWindowsWithoutIt()
    {
        const auto writeSurfaces = [] {
            const QString path = dataPath(kDescrSup);
            rebuildTable(path, surfacesLayout(), 0);
            Table t = Table::open(path);
            for (const auto &[d, a] : std::initializer_list<std::pair<const char *, double>>{
                     {"Camera", 14.5}, {"Cucina", 9.25}, {"Bagno", 4.125}, {"Balcone", 6.0}, {"Cantina", 8.0}})
                t.append(QVariantList{QString::fromUtf8(d), a});
        };
        const auto fillAll = [](engine::Fields &f) {
            writeTexts(f, {{"CognomeProfess", "Rossi"},
                           {"NomeProfess", "Maria"},
                           {"IndirizzoImmob", "Via Roma"},
                           {"ComuneImmob", "Torino"},
                           {"SiglaProvinciaImmob", "TO"},
                           {"CategCatastImmob", "A/3"},
                           {"ClasseCatastImmob", "2"}});
            fillAppraisal(f);
        };
        currency().reset();
        AppFixture fixture(app::Operations::Wired);
        MainWindow *w = fixture.window.get();
        writeSurfaces();
        writeComparables();
        w->surfacesPage->model()->reload();
        w->comparablesPage->model()->reload();
        app::WidgetFields widgets(w);
        fillAll(widgets);
        w->surfacesOps->AttivaSpeedButtonCalcolaSuperfici();
        w->lightsOps->ImpostaSemaforiTreeView();
        w->showPageCommand(12);
        const QString windowSummary = w->resultsPage->summaryEdit->toPlainText();
        const QStringList windowValues = valueState(widgets, w->coefficients);

        currency().reset();
        writeSurfaces();
        writeComparables();
        RecordedNotices notices;
        engine::AppraisalWork work(notices);
        engine::FieldStore &store = work.fields();
        store.setDate(QStringLiteral("DataStimaImmob"), widgets.date(QStringLiteral("DataStimaImmob")));
        fillAll(store);
        work.works().surfaces->AttivaSpeedButtonCalcolaSuperfici();
        work.works().lights->ImpostaSemaforiTreeView();
        work.works().value->CalcolaCIValoreMercato();
        work.works().value->CalcolaCDValoreMercato();
        const QString summary = engine::ResultsWork::plainText(
            report::buildSummary(work.works().results->summaryInput(), report::SummaryForm::Screen));

        QCOMPARE(valueState(store, work.coefficients()), windowValues);
        QCOMPARE(summary, windowSummary);
        QVERIFY(summary.contains(QStringLiteral("Rossi")));
        QVERIFY(!store.text(QStringLiteral("SupCommercImmob")).isEmpty());
        QVERIFY(notices.shown.isEmpty());
        currency().reset();
    }
};

QTEST_MAIN(TestFieldStore)
#include "tst_fieldstore.moc"
