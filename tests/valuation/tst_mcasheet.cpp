// SPDX-License-Identifier: GPL-2.0-or-later
// The market comparison as typed: number text and dates read the program's
// way, every kind of bad input reported at its cell with an Italian message
// and no value, the subject proposed from the pages, and what counts as data
// worth saving.
#include "valuation/mcasheet.h"

#include <QTest>

using namespace brevan;
using namespace brevan::mca;

namespace {

// A sheet that evaluates cleanly: valued in 06/2024, three sales of 100 m².
Sheet validSheet()
{
    Sheet s = Sheet::blank();
    SheetColumn &subject = s.subject;
    subject.setText(Row::MainSurface, QStringLiteral("100"));
    subject.setText(Row::Floor, QStringLiteral("2"));
    subject.setText(Row::Maintenance, QStringLiteral("3"));
    subject.setText(Row::Bathrooms, QStringLiteral("1"));
    const char *prices[] = {"200.000", "210.000,00", "205000"};
    for (int j = 0; j < 3; ++j) {
        SheetColumn &c = s.comparables[j];
        c.setText(Row::Address, QStringLiteral("Via Verdi %1").arg(j + 1));
        c.setText(Row::SaleDate, QStringLiteral("0%1/2024").arg(j + 1));
        c.setText(Row::Price, QString::fromLatin1(prices[j]));
        c.setText(Row::Source, QStringLiteral("atto di compravendita"));
        c.setText(Row::MainSurface, QStringLiteral("100"));
        c.setText(Row::Floor, QStringLiteral("2"));
        c.setText(Row::Maintenance, QStringLiteral("3"));
        c.setText(Row::Bathrooms, QStringLiteral("1"));
    }
    return s;
}

const QDate kValuation(2024, 6, 15);

} // namespace

class TestMcaSheet : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void numberText_data();
    void numberText();
    void monthYear_data();
    void monthYear();
    void validSheetHasAValue();
    void badInput_data();
    void badInput();
    void everyBadCellIsReported();
    void fewerThanThreeComparables();
    void bathroomLifeNeededForItsCost();
    void subjectFromPages();
    void maintenanceStep_data();
    void maintenanceStep();
    void hasData_data();
    void hasData();
};

void TestMcaSheet::numberText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("status");
    QTest::addColumn<double>("value");
    const int empty = int(NumberText::Status::Empty);
    const int invalid = int(NumberText::Status::Invalid);
    const int number = int(NumberText::Status::Number);
    QTest::newRow("formatted amount") << "1.234.567,50" << number << 1234567.5;
    QTest::newRow("plain digits") << "260000" << number << 260000.0;
    QTest::newRow("decimal comma") << "12,5" << number << 12.5;
    QTest::newRow("negative") << "-3" << number << -3.0;
    QTest::newRow("negative rate with comma") << "-1,5 %" << number << -1.5;
    QTest::newRow("euro sign") << "€ 1.000" << number << 1000.0;
    QTest::newRow("square metres") << "85,25 mq" << number << 85.25;
    QTest::newRow("leading comma") << ",5" << number << 0.5;
    QTest::newRow("blanks around") << "  42  " << number << 42.0;
    QTest::newRow("empty") << "" << empty << 0.0;
    QTest::newRow("blanks only") << "   " << empty << 0.0;
    // A "." that does not group three digits would be a decimal point
    // elsewhere: refused rather than read as 1205.
    QTest::newRow("dot as decimal point") << "120.5" << invalid << 0.0;
    QTest::newRow("bad grouping") << "1.23,00" << invalid << 0.0;
    QTest::newRow("two commas") << "1,2,3" << invalid << 0.0;
    QTest::newRow("letters") << "abc" << invalid << 0.0;
    QTest::newRow("digits and letters") << "12a" << invalid << 0.0;
    QTest::newRow("sign alone") << "-" << invalid << 0.0;
    QTest::newRow("comma alone") << "," << invalid << 0.0;
}

void TestMcaSheet::numberText()
{
    QFETCH(QString, text);
    QFETCH(int, status);
    QFETCH(double, value);
    const NumberText n = readNumberText(text);
    QCOMPARE(int(n.status), status);
    if (n.status == NumberText::Status::Number)
        QCOMPARE(n.value, value);
}

void TestMcaSheet::monthYear_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("month"); // 0: refused
    QTest::addColumn<int>("year");
    QTest::newRow("two digits") << "03/2024" << 3 << 2024;
    QTest::newRow("one digit") << "3/2024" << 3 << 2024;
    QTest::newRow("dash") << "11-2023" << 11 << 2023;
    QTest::newRow("blanks") << " 12 / 2023 " << 12 << 2023;
    QTest::newRow("month 13") << "13/2024" << 0 << 0;
    QTest::newRow("month 0") << "00/2024" << 0 << 0;
    QTest::newRow("two-digit year") << "03/24" << 0 << 0;
    QTest::newRow("a whole date") << "15/03/2024" << 0 << 0;
    QTest::newRow("words") << "marzo 2024" << 0 << 0;
}

void TestMcaSheet::monthYear()
{
    QFETCH(QString, text);
    QFETCH(int, month);
    QFETCH(int, year);
    const auto d = readMonthYear(text);
    QCOMPARE(d.has_value(), month != 0);
    if (d) {
        QCOMPARE(d->month, month);
        QCOMPARE(d->year, year);
    }
}

void TestMcaSheet::validSheetHasAValue()
{
    const Outcome o = evaluate(validSheet(), kValuation);
    QVERIFY2(o.issues.isEmpty(), o.issues.isEmpty() ? "" : qPrintable(o.issues.first().message));
    QVERIFY(o.hasValue());
    // Equal units, prices 200.000, 210.000 and 205.000: the mean.
    QCOMPARE(o.result->value, 205000.0);
    QCOMPARE(o.result->comparables[1].adjustments[index(Feature::Date)].difference, 4.0);
}

void TestMcaSheet::badInput_data()
{
    QTest::addColumn<int>("column"); // 0 the subject, j the j-th comparable, −1 a parameter
    QTest::addColumn<int>("what");   // a Row, or a Param for column −1
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("price missing") << 2 << int(Row::Price) << "" << "Indicare il prezzo di vendita.";
    QTest::newRow("price not a number") << 1 << int(Row::Price) << "duecentomila"
                                        << "«duecentomila» non è un numero";
    QTest::newRow("price zero") << 3 << int(Row::Price) << "0" << "Il prezzo deve essere maggiore di zero.";
    QTest::newRow("price negative") << 1 << int(Row::Price) << "-200.000" << "Il prezzo deve essere maggiore di zero.";
    QTest::newRow("price with a decimal point") << 1 << int(Row::Price) << "200000.50" << "non è un numero";
    QTest::newRow("main surface zero") << 2 << int(Row::MainSurface) << "0,00"
                                       << "La superficie principale deve essere maggiore di zero.";
    QTest::newRow("subject's main surface missing") << 0 << int(Row::MainSurface) << ""
                                                    << "Indicare la superficie principale.";
    QTest::newRow("negative balcony") << 1 << int(Row::Balconies) << "-4" << "Una superficie non può essere negativa.";
    QTest::newRow("subject's garden not a number") << 0 << int(Row::Garden) << "molto" << "«molto» non è un numero";
    QTest::newRow("sale after the valuation") << 3 << int(Row::SaleDate) << "07/2024"
                                              << "La vendita (07/2024) è successiva alla data della stima (06/2024).";
    QTest::newRow("sale date missing") << 1 << int(Row::SaleDate) << "" << "Indicare il mese e l'anno della vendita";
    QTest::newRow("sale date malformed") << 1 << int(Row::SaleDate) << "13/2023" << "Data di vendita non valida: «13/2023»";
    QTest::newRow("maintenance out of scale") << 2 << int(Row::Maintenance) << "6"
                                              << "Lo stato di manutenzione è un numero intero da 1 (scadente) a 5 (ottimo).";
    QTest::newRow("half a bathroom") << 0 << int(Row::Bathrooms) << "1,5"
                                     << "Il numero dei bagni è un numero intero, zero o più.";
    QTest::newRow("floor missing") << 1 << int(Row::Floor) << "" << "Indicare il piano (0 per il piano terra).";
    QTest::newRow("negative ratio") << -1 << int(Param::RatioCellar) << "-0,25"
                                    << "Il rapporto mercantile non può essere negativo.";
    QTest::newRow("rate not a number") << -1 << int(Param::AnnualChange) << "due" << "«due» non è un numero";
    QTest::newRow("threshold missing") << -1 << int(Param::Threshold) << "" << "Indicare un valore, anche 0.";
}

void TestMcaSheet::badInput()
{
    QFETCH(int, column);
    QFETCH(int, what);
    QFETCH(QString, text);
    QFETCH(QString, message);
    Sheet s = validSheet();
    Place expected;
    if (column < 0) {
        s.setParam(Param(what), text);
        expected = Place::parameter(Param(what));
    } else {
        (column == 0 ? s.subject : s.comparables[column - 1]).setText(Row(what), text);
        expected = Place::cell(column, Row(what));
    }
    const Outcome o = evaluate(s, kValuation);
    QVERIFY(!o.hasValue());
    QVERIFY(!o.result); // nothing shown as if it were current
    QCOMPARE(o.issues.size(), 1);
    QCOMPARE(o.issues.first().place, expected);
    QVERIFY2(o.issues.first().message.contains(message), qPrintable(o.issues.first().message));
}

void TestMcaSheet::everyBadCellIsReported()
{
    Sheet s = validSheet();
    s.comparables[0].setText(Row::Price, QStringLiteral("x"));
    s.comparables[2].setText(Row::MainSurface, QStringLiteral("-1"));
    s.setParam(Param::FloorRatio, QStringLiteral("-2"));
    const Reading r = readSheet(s, kValuation);
    QVERIFY(!r.input);
    QCOMPARE(r.issues.size(), 3);
    QCOMPARE(placeText(r.issues[0].place), QStringLiteral("Comparabile 1, Prezzo (€)"));
    QCOMPARE(placeText(r.issues[1].place), QStringLiteral("Comparabile 3, Superficie principale S₁ (m²)"));
    QCOMPARE(placeText(r.issues[2].place), QStringLiteral("Rapporto di piano r (% del prezzo per piano)"));
}

void TestMcaSheet::fewerThanThreeComparables()
{
    Sheet s = validSheet();
    s.comparables.removeLast();
    const Outcome o = evaluate(s, kValuation);
    QVERIFY(!o.hasValue());
    QCOMPARE(o.issues.size(), 1);
    QCOMPARE(o.issues.first().place, Place::comparables());
    QCOMPARE(o.issues.first().message, QStringLiteral("Servono almeno 3 comparabili: ne sono indicati 2."));
}

void TestMcaSheet::bathroomLifeNeededForItsCost()
{
    Sheet s = validSheet();
    s.setParam(Param::BathroomCost, QStringLiteral("10.000"));
    Outcome o = evaluate(s, kValuation);
    QCOMPARE(o.issues.size(), 1);
    QCOMPARE(o.issues.first().place, Place::parameter(Param::BathroomLife));
    s.setParam(Param::BathroomLife, QStringLiteral("20"));
    o = evaluate(s, kValuation);
    QVERIFY(o.hasValue());
    // When the bathroom's price is estimated, its cost plays no part.
    s.setParam(Param::BathroomLife, QString());
    s.unknown[std::size_t(index(Feature::Bathrooms))] = true;
    QVERIFY(readSheet(s, kValuation).input.has_value());
}

void TestMcaSheet::subjectFromPages()
{
    SubjectFromPages pages;
    pages.surfaces = {
        {QStringLiteral("Camera"), 16},         {QStringLiteral("Soggiorno"), 28.5},
        {QStringLiteral("Bagno"), 6},           {QStringLiteral("Servizio"), 3},
        {QStringLiteral("Bagno"), 0},           {QStringLiteral("Loggia"), 5},
        {QStringLiteral("Balcone"), 8},         {QStringLiteral("Terrazza scoperta"), 12},
        {QStringLiteral("Cantina"), 10},        {QStringLiteral("Posto auto singolo"), 13},
        {QStringLiteral("Portico carraio"), 7}, {QStringLiteral("Aree verdi (quota millesimale)"), 40},
        {QStringLiteral("Tramezzi e tamponature"), 9}, {QString(), 0},
    };
    pages.floor = QStringLiteral("3");
    pages.lift = true;
    pages.interiorState = QStringLiteral("Buono");
    const SheetColumn c = proposeSubject(pages);
    // S₁: the useful rooms but the loggia, which is a balcony here.
    QCOMPARE(c.text(Row::MainSurface), QStringLiteral("53,50"));
    QCOMPARE(c.text(Row::Balconies), QStringLiteral("25,00"));
    QCOMPARE(c.text(Row::Cellar), QStringLiteral("10,00"));
    QCOMPARE(c.text(Row::Garage), QStringLiteral("20,00"));
    QCOMPARE(c.text(Row::Garden), QStringLiteral("40,00"));
    QCOMPARE(c.text(Row::Floor), QStringLiteral("3"));
    QVERIFY(c.lift);
    QCOMPARE(c.text(Row::Maintenance), QStringLiteral("4"));
    QCOMPARE(c.text(Row::Bathrooms), QStringLiteral("3")); // rows named "Bagno" or "Servizio"

    // Pages with nothing: the main surface and the state are left to the user.
    const SheetColumn empty = proposeSubject({});
    QVERIFY(empty.text(Row::MainSurface).isEmpty());
    QVERIFY(empty.text(Row::Maintenance).isEmpty());
    QCOMPARE(empty.text(Row::Bathrooms), QStringLiteral("0"));
    QVERIFY(!empty.lift);
}

void TestMcaSheet::maintenanceStep_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("step");
    QTest::newRow("Scarso") << "Scarso" << 1;
    QTest::newRow("Mediocre") << "Mediocre" << 2;
    QTest::newRow("Sufficiente") << "Sufficiente" << 3;
    QTest::newRow("Discreto") << "Discreto" << 4;
    QTest::newRow("Buono") << "Buono" << 4;
    QTest::newRow("Ottimo") << "Ottimo" << 5;
    QTest::newRow("none") << "" << 0;
    QTest::newRow("other case") << "buono" << 0;
}

void TestMcaSheet::maintenanceStep()
{
    QFETCH(QString, state);
    QFETCH(int, step);
    QCOMPARE(maintenanceStepOf(state), step);
}

void TestMcaSheet::hasData_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("expected");
    QTest::newRow("blank") << "" << false;
    QTest::newRow("subject proposed") << "proposed" << false;
    QTest::newRow("subject edited") << "edited" << true;
    QTest::newRow("a comparable's address") << "address" << true;
    QTest::newRow("a comparable's lift") << "lift" << true;
    QTest::newRow("a parameter") << "parameter" << true;
    QTest::newRow("a price to estimate") << "unknown" << true;
    QTest::newRow("a fourth empty comparable") << "column" << false;
}

void TestMcaSheet::hasData()
{
    QFETCH(QString, change);
    QFETCH(bool, expected);
    Sheet s = Sheet::blank();
    if (change == QLatin1String("proposed")) {
        s.subject.setText(Row::MainSurface, QStringLiteral("80,00"));
    } else if (change == QLatin1String("edited")) {
        s.subject.setText(Row::MainSurface, QStringLiteral("80,00"));
        s.subjectEdited = true;
    } else if (change == QLatin1String("address")) {
        s.comparables[1].setText(Row::Address, QStringLiteral("Via Po 1"));
    } else if (change == QLatin1String("lift")) {
        s.comparables[2].lift = true;
    } else if (change == QLatin1String("parameter")) {
        s.setParam(Param::AnnualChange, QStringLiteral("-1"));
    } else if (change == QLatin1String("unknown")) {
        s.unknown[std::size_t(index(Feature::Floor))] = true;
    } else if (change == QLatin1String("column")) {
        s.comparables.append(SheetColumn());
    }
    QCOMPARE(s.hasData(), expected);
}

QTEST_APPLESS_MAIN(TestMcaSheet)
#include "tst_mcasheet.moc"
