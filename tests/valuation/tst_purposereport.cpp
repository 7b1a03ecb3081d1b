// SPDX-License-Identifier: GPL-2.0-or-later
// The report for a purpose: the value it states, the court's adjustments,
// share and base price, the checks of what was typed, and what each purpose
// still finds missing.
#include "valuation/purposecompliance.h"
#include "valuation/purposereport.h"

#include <QtTest>

#include <functional>

using namespace brevan::perizia;

Q_DECLARE_METATYPE(brevan::perizia::Purpose)

namespace {

AppraisalFacts facts()
{
    AppraisalFacts f;
    f.incomeValue = 190000;
    f.comparisonValue = 200000;
    f.mcaValue = 205000;
    f.surface = 100;
    f.appraiser = QStringLiteral("Ing. Mario Rossi");
    f.address = QStringLiteral("Via Roma 1");
    f.category = QStringLiteral("A/2");
    f.pagesDescription = QStringLiteral("Appartamento al secondo piano");
    f.hasPhoto = true;
    return f;
}

// A report every purpose finds complete.
Report complete(Purpose purpose)
{
    Report r;
    r.purpose = purpose;
    r.client = QStringLiteral("Banca Esempio S.p.A.");
    r.loanApplicant = QStringLiteral("Luigi Bianchi");
    r.court = QStringLiteral("Tribunale di Asti");
    r.procedureNumber = QStringLiteral("123/2025");
    r.judge = QStringLiteral("Dott.ssa Anna Verdi");
    r.debtors = {QStringLiteral("Luigi Bianchi")};
    r.professionalRegister = QStringLiteral("Ordine degli Ingegneri della Provincia di Asti");
    r.registerNumber = QStringLiteral("A1234");
    r.engagementDate = QDate(2026, 9, 1);
    r.inspectionDate = QDate(2026, 9, 15);
    r.reportDate = QDate(2026, 10, 1);
    r.independence = true;
    r.followsUni11612 = true;
    r.documents567Complete = true;
    r.cadastral = {CadastralEntry{"Fabbricati", "Asti", "", "12", "345", "6", "A/2", "3", "5,5 vani", 98, 610.71}};
    r.boundaries = QStringLiteral("vano scala, via Roma, altra proprietà");
    r.matchesCadastralPlan = true;
    r.right = QStringLiteral("piena proprietà");
    r.owners = {Owner{QStringLiteral("Luigi Bianchi"), true, 1, 1}};
    r.deed = Deed{QStringLiteral("compravendita"), QStringLiteral("Notaio Neri"), QDate(2010, 5, 3), QStringLiteral("4567")};
    r.occupation = Occupation::Debtor;
    r.noEncumbrances = true;
    r.permits = {Permit{QStringLiteral("licenza edilizia"), QStringLiteral("45"), QDate(1968, 3, 2)}};
    r.fitForUse = true;
    r.conformsToPermits = true;
    r.censoLivelloUsoCivico = false;
    r.yearlyExpenses = 1200;
    r.unpaidLastTwoYears = 0;
    r.extraordinaryResolved = 0;
    r.lawsuits = QStringLiteral("nessuno");
    r.energyClass = QStringLiteral("E");
    r.documentsExamined = QStringLiteral("visura catastale, planimetria, atto di provenienza");
    r.assumptions = QStringLiteral("nessuna");
    r.stated = StatedValue::Comparison;
    r.propertyValue = 190000;
    for (const auto &[kind, label] : adjustmentKinds()) {
        if (kind != AdjustmentKind::Other)
            r.adjustments.append(Adjustment{kind, label, 0, kNotGiven});
    }
    return r;
}

QStringList items(const QVector<MissingItem> &missing)
{
    QStringList out;
    for (const MissingItem &m : missing)
        out << m.item;
    return out;
}

using Change = std::function<void(Report &, AppraisalFacts &)>;

} // namespace

Q_DECLARE_METATYPE(Change)

class TestPurposeReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void purposes()
    {
        QCOMPARE(purposeLabel(Purpose::Bank), QStringLiteral("Garanzia di un finanziamento (Linee guida ABI)"));
        QCOMPARE(purposeLabel(Purpose::Court),
                 QStringLiteral("Esecuzione immobiliare (art. 173-bis disp. att. c.p.c.)"));
        QCOMPARE(purposeLabel(Purpose::Market), QStringLiteral("Valutazione di mercato (UNI 11612)"));
        for (const PurposeInfo &p : brevan::perizia::purposes())
            QCOMPARE(purposeOfKey(purposeKey(p.purpose)), std::optional<Purpose>(p.purpose));
        QCOMPARE(purposeOfKey(QStringLiteral("altro")), std::nullopt);
        QCOMPARE(sectionTitle(Section::Engagement), QStringLiteral("Incarico"));
        QCOMPARE(sectionTitle(Section::Title), QStringLiteral("Titolarità e possesso"));
        QCOMPARE(sectionTitle(Section::Valuation), QStringLiteral("Valutazione"));
    }

    void statedValue_data()
    {
        QTest::addColumn<int>("stated");
        QTest::addColumn<double>("own");
        QTest::addColumn<double>("mca"); // NaN: not calculated
        QTest::addColumn<double>("expected"); // NaN: none
        QTest::addColumn<bool>("reason");

        const double none = kNotGiven;
        QTest::newRow("by comparison") << int(StatedValue::Comparison) << none << 205000.0 << 200000.0 << false;
        QTest::newRow("by income") << int(StatedValue::Income) << none << 205000.0 << 190000.0 << false;
        QTest::newRow("MCA not calculated") << int(StatedValue::Mca) << none << none << none << false;
        QTest::newRow("own figure: a reason") << int(StatedValue::Own) << 198000.0 << 205000.0 << 198000.0 << true;
        QTest::newRow("own figure missing") << int(StatedValue::Own) << none << 205000.0 << none << true;
        // 190.000 to 210.000 is 10,53 % apart: beyond the 10 % threshold.
        QTest::newRow("values apart beyond the threshold")
            << int(StatedValue::Comparison) << none << 210000.0 << 200000.0 << true;
        // 190.000 to 209.000 is exactly 10 %: not beyond it.
        QTest::newRow("values apart by the threshold")
            << int(StatedValue::Comparison) << none << 209000.0 << 200000.0 << false;
    }
    void statedValue()
    {
        QFETCH(int, stated);
        QFETCH(double, own);
        QFETCH(double, mca);
        QFETCH(double, expected);
        QFETCH(bool, reason);

        Report r;
        r.stated = StatedValue(stated);
        r.ownValue = own;
        AppraisalFacts f = facts();
        f.mcaValue = mca;
        const std::optional<double> value = statedMarketValue(r, f);
        QCOMPARE(value.has_value(), given(expected));
        if (value)
            QCOMPARE(*value, expected);
        QCOMPARE(reasonRequired(r, f), reason);
    }

    void valuesSpreadNeedsTwo()
    {
        AppraisalFacts f;
        f.comparisonValue = 200000;
        QCOMPARE(valuesSpread(f), std::nullopt);
        f.incomeValue = 150000;
        QVERIFY(valuesSpread(f).has_value());
        QCOMPARE(*valuesSpread(f), 50000.0 / 150000.0 * 100);
    }

    // The court's value: each adjustment as an amount (a percentage of the
    // market value shown as its amount), the net value, the share's value
    // and the base price rounded to the step.
    void courtArithmetic_data()
    {
        QTest::addColumn<QVector<Adjustment>>("adjustments");
        QTest::addColumn<QVector<Owner>>("owners");
        QTest::addColumn<double>("step");
        QTest::addColumn<QVector<double>>("amounts");
        QTest::addColumn<double>("net");
        QTest::addColumn<double>("shareValue");
        QTest::addColumn<double>("basePrice");

        const double none = kNotGiven;
        const QVector<Owner> whole{{"A", true, 1, 1}};
        QTest::newRow("no adjustments, whole")
            << QVector<Adjustment>{} << whole << 1000.0 << QVector<double>{} << 200000.0 << 200000.0 << 200000.0;
        QTest::newRow("amounts and percentages")
            << QVector<Adjustment>{{AdjustmentKind::Regularisation, "", 4350.50, none},
                                   {AdjustmentKind::StateOfUse, "", none, 5},
                                   {AdjustmentKind::NoWarranty, "", none, 15}}
            << whole << 1000.0 << QVector<double>{4350.50, 10000, 30000} << 155649.50 << 155649.50 << 156000.0;
        QTest::newRow("a half share")
            << QVector<Adjustment>{{AdjustmentKind::Condominium, "", 3000, none}}
            << QVector<Owner>{{"A", true, 1, 2}} << 1000.0 << QVector<double>{3000} << 197000.0 << 98500.0 << 99000.0;
        QTest::newRow("the debtor's half of two owners")
            << QVector<Adjustment>{} << QVector<Owner>{{"Debitore", true, 1, 2, true}, {"Altro", true, 1, 2, false}}
            << 1000.0 << QVector<double>{} << 200000.0 << 100000.0 << 100000.0;
        QTest::newRow("three thirds are the whole")
            << QVector<Adjustment>{} << QVector<Owner>{{"A", true, 1, 3}, {"B", true, 1, 3}, {"C", true, 1, 3}}
            << 1000.0 << QVector<double>{} << 200000.0 << 200000.0 << 200000.0;
        QTest::newRow("two of three thirds, to the cent")
            << QVector<Adjustment>{{AdjustmentKind::Other, "", 1, none}}
            << QVector<Owner>{{"A", true, 1, 3}, {"B", true, 1, 3}} << 1000.0 << QVector<double>{1}
            << 199999.0 << 133332.67 << 133000.0;
        QTest::newRow("step of 500, half up") << QVector<Adjustment>{{AdjustmentKind::Other, "", 250, none}} << whole
                                              << 500.0 << QVector<double>{250} << 199750.0 << 199750.0 << 200000.0;
        QTest::newRow("step of 5.000, down") << QVector<Adjustment>{{AdjustmentKind::Other, "", 2600, none}} << whole
                                             << 5000.0 << QVector<double>{2600} << 197400.0 << 197400.0 << 195000.0;
        QTest::newRow("no step: the value itself") << QVector<Adjustment>{{AdjustmentKind::Other, "", 0.5, none}}
                                                   << whole << 0.0 << QVector<double>{0.5} << 199999.5 << 199999.5
                                                   << 199999.5;
    }
    void courtArithmetic()
    {
        QFETCH(QVector<Adjustment>, adjustments);
        QFETCH(QVector<Owner>, owners);
        QFETCH(double, step);
        QFETCH(QVector<double>, amounts);
        QFETCH(double, net);
        QFETCH(double, shareValue);
        QFETCH(double, basePrice);

        Report r;
        r.purpose = Purpose::Court;
        r.adjustments = adjustments;
        r.owners = owners;
        r.roundingStep = step;
        const std::optional<CourtValue> c = courtValue(r, facts());
        QVERIFY(c);
        QCOMPARE(c->marketValue, 200000.0);
        QCOMPARE(c->amounts, amounts);
        QCOMPARE(c->netValue, net);
        QCOMPARE(c->shareValue, shareValue);
        QCOMPARE(c->basePrice, basePrice);
    }

    // The adjustments the other sections give, in the law's order; a line
    // the appraiser wrote for another kind stays, the missing warranty is
    // never proposed.
    void proposedAdjustments_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QVector<Adjustment>>("expected");
        const double none = kNotGiven;
        QTest::newRow("nothing given") << Change([](Report &, AppraisalFacts &) {}) << QVector<Adjustment>{};
        QTest::newRow("plan and amnesty, unpaid expenses")
            << Change([](Report &r, AppraisalFacts &) {
                   r.planFixCost = 800;
                   r.regularisable = true;
                   r.regularisationCost = 3500;
                   r.restorationCost = 9000;
                   r.unpaidLastTwoYears = 2100.25;
               })
            << QVector<Adjustment>{{AdjustmentKind::Regularisation, {}, 4300, none},
                                   {AdjustmentKind::Condominium, {}, 2100.25, none}};
        QTest::newRow("not regularisable: the cost of restoring, into a written line")
            << Change([](Report &r, AppraisalFacts &) {
                   const double none = kNotGiven;
                   r.regularisable = false;
                   r.regularisationCost = 3500;
                   r.restorationCost = 9000;
                   r.adjustments = {{AdjustmentKind::StateOfUse, "infissi", 5000, none},
                                    {AdjustmentKind::Regularisation, "scritta", none, 2},
                                    {AdjustmentKind::NoWarranty, {}, none, 15}};
               })
            << QVector<Adjustment>{{AdjustmentKind::StateOfUse, "infissi", 5000, none},
                                   {AdjustmentKind::Regularisation, "scritta", 9000, none},
                                   {AdjustmentKind::NoWarranty, {}, none, 15}};
        QTest::newRow("unpaid expenses before the warranty's line")
            << Change([](Report &r, AppraisalFacts &) {
                   const double none = kNotGiven;
                   r.unpaidLastTwoYears = 0;
                   r.adjustments = {{AdjustmentKind::NoWarranty, {}, none, 15}};
               })
            << QVector<Adjustment>{{AdjustmentKind::Condominium, {}, 0, none}, {AdjustmentKind::NoWarranty, {}, none, 15}};
    }
    void proposedAdjustments()
    {
        QFETCH(Change, change);
        QFETCH(QVector<Adjustment>, expected);
        Report r;
        AppraisalFacts f;
        change(r, f);
        const QVector<Adjustment> lines = brevan::perizia::proposedAdjustments(r);
        QCOMPARE(lines.size(), expected.size());
        for (int i = 0; i < lines.size(); ++i) {
            QCOMPARE(lines[i].kind, expected[i].kind);
            QCOMPARE(lines[i].description, expected[i].description);
            QCOMPARE(given(lines[i].amount), given(expected[i].amount));
            if (given(expected[i].amount))
                QCOMPARE(lines[i].amount, expected[i].amount);
            QCOMPARE(given(lines[i].percent), given(expected[i].percent));
        }
    }

    void courtValueNeedsAMarketValue()
    {
        Report r;
        r.stated = StatedValue::Mca;
        AppraisalFacts f = facts();
        f.mcaValue = kNotGiven;
        QCOMPARE(courtValue(r, f).has_value(), false);
    }

    // What cannot be: a message at the field, and none for a sound report.
    void problems_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("message"); // empty: no problem

        QTest::newRow("sound") << Change([](Report &, AppraisalFacts &) {}) << "" << "";
        QTest::newRow("inspection after the report")
            << Change([](Report &r, AppraisalFacts &) { r.inspectionDate = QDate(2026, 10, 2); }) << "inspectionDate"
            << "La data del sopralluogo non può essere successiva a quella del rapporto.";
        QTest::newRow("engagement after the inspection")
            << Change([](Report &r, AppraisalFacts &) { r.engagementDate = QDate(2026, 9, 20); }) << "engagementDate"
            << "La data dell'incarico non può essere successiva a quella del sopralluogo.";
        QTest::newRow("deed after the engagement")
            << Change([](Report &r, AppraisalFacts &) { r.deed.date = QDate(2026, 9, 2); }) << "deedDate"
            << "La data dell'atto di provenienza non può essere successiva a quella dell'incarico.";
        QTest::newRow("lease ending before it was registered")
            << Change([](Report &r, AppraisalFacts &) {
                   r.leases = {Lease{"Carlo", true, QDate(2020, 1, 1), QDate(2019, 12, 31), 6000, true}};
               })
            << "leases" << "La scadenza della locazione di \"Carlo\" precede la sua registrazione.";
        QTest::newRow("shares above the whole")
            << Change([](Report &r, AppraisalFacts &) { r.owners = {{"A", true, 2, 3}, {"B", true, 2, 3}}; })
            << "owners" << "Le quote dei proprietari superano l'intero.";
        QTest::newRow("a share above the whole on its own")
            << Change([](Report &r, AppraisalFacts &) { r.owners = {{"A", true, 3, 2}}; }) << "owners"
            << "La quota di \"A\" non è valida: 3/2.";
        QTest::newRow("no share valued")
            << Change([](Report &r, AppraisalFacts &) { r.owners = {{"A", true, 1, 2, false}, {"B", true, 1, 2, false}}; })
            << "owners" << "Nessuna quota è indicata come oggetto della valutazione.";
        QTest::newRow("a share of nought")
            << Change([](Report &r, AppraisalFacts &) { r.owners = {{"A", true, 1, 0}}; }) << "owners"
            << "La quota di \"A\" non è valida: 1/0.";
        QTest::newRow("negative expenses")
            << Change([](Report &r, AppraisalFacts &) { r.yearlyExpenses = -1; }) << "yearlyExpenses"
            << "L'importo non può essere negativo.";
        QTest::newRow("negative adjustment")
            << Change([](Report &r, AppraisalFacts &) { r.adjustments[0].amount = -100; }) << "adjustments"
            << "L'importo non può essere negativo.";
        QTest::newRow("percentage above 100")
            << Change([](Report &r, AppraisalFacts &) { r.adjustments[0] = {AdjustmentKind::Other, "", kNotGiven, 101}; })
            << "adjustments" << "La percentuale deve essere compresa tra 0 e 100.";
        QTest::newRow("negative percentage")
            << Change([](Report &r, AppraisalFacts &) { r.adjustments[0] = {AdjustmentKind::Other, "", kNotGiven, -1}; })
            << "adjustments" << "La percentuale deve essere compresa tra 0 e 100.";
        QTest::newRow("property value above the market value")
            << Change([](Report &r, AppraisalFacts &) { r.propertyValue = 200000.01; }) << "propertyValue"
            << "Il valore dell'immobile non può superare il valore di mercato.";
        QTest::newRow("revalued above the six-year average")
            << Change([](Report &r, AppraisalFacts &) {
                   r.revaluation = true;
                   r.sixYearAverage = 185000;
               })
            << "propertyValue"
            << "Il valore dell'immobile non può superare il valore medio degli ultimi sei anni indicato.";
        QTest::newRow("no rounding step")
            << Change([](Report &r, AppraisalFacts &) { r.roundingStep = 0; }) << "roundingStep"
            << "Il passo di arrotondamento deve essere maggiore di zero.";
        QTest::newRow("energy class not of the APE")
            << Change([](Report &r, AppraisalFacts &) { r.energyClass = "A+"; }) << "energyClass"
            << "Classe energetica non valida: \"A+\".";
    }
    void problems()
    {
        QFETCH(Change, change);
        QFETCH(QString, field);
        QFETCH(QString, message);

        Report r = complete(Purpose::Bank);
        AppraisalFacts f = facts();
        change(r, f);
        const QVector<Problem> found = brevan::perizia::problems(r, f);
        if (message.isEmpty()) {
            QVERIFY(found.isEmpty());
            return;
        }
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first().field, field);
        QCOMPARE(found.first().message, message);
    }

    // A complete report lacks nothing; taking one thing away makes exactly
    // its items missing, and turns off its section's light.
    void compliance_data()
    {
        QTest::addColumn<Purpose>("purpose");
        QTest::addColumn<Change>("change");
        QTest::addColumn<QStringList>("missing");
        QTest::addColumn<int>("section"); // whose light goes off; -1: all on

        const auto none = [](Report &, AppraisalFacts &) {};
        for (Purpose p : {Purpose::Bank, Purpose::Court, Purpose::Market})
            QTest::addRow("%s complete", qPrintable(purposeKey(p))) << p << Change(none) << QStringList{} << -1;

        // Court: art. 173-bis and art. 568.
        QTest::newRow("court: no boundaries")
            << Purpose::Court << Change([](Report &r, AppraisalFacts &) { r.boundaries.clear(); })
            << QStringList{"Confini"} << int(Section::Identification);
        QTest::newRow("court: a cadastral row without its parcel")
            << Purpose::Court
            << Change([](Report &r, AppraisalFacts &) { r.cadastral.append(CadastralEntry{"Fabbricati", "Asti", "", "12"}); })
            << QStringList{"Dati catastali"} << int(Section::Identification);
        QTest::newRow("court: occupied with a title, lease without its registration")
            << Purpose::Court
            << Change([](Report &r, AppraisalFacts &) {
                   r.occupation = Occupation::ThirdPartyWithTitle;
                   r.leases = {Lease{"Carlo", true, QDate(), QDate(2030, 1, 1), 6000, true}};
               })
            << QStringList{"Contratti di locazione registrati"} << int(Section::Title);
        QTest::newRow("court: possession not stated")
            << Purpose::Court << Change([](Report &r, AppraisalFacts &) { r.occupation = Occupation::NotStated; })
            << QStringList{"Stato di possesso", "Contratti di locazione registrati"} << int(Section::Title);
        QTest::newRow("court: encumbrances not checked")
            << Purpose::Court << Change([](Report &r, AppraisalFacts &) { r.noEncumbrances = false; })
            << QStringList{"Formalità, vincoli e oneri a carico dell'acquirente",
                           "Formalità, vincoli e oneri che saranno cancellati"}
            << int(Section::Encumbrances);
        QTest::newRow("court: differences from the permits without their cost")
            << Purpose::Court
            << Change([](Report &r, AppraisalFacts &) {
                   r.conformsToPermits = false;
                   r.permitDifferences = "veranda chiusa";
                   r.regularisable = true;
               })
            << QStringList{"Opere abusive: sanatoria e costi"} << int(Section::Planning);
        QTest::newRow("court: differences that cannot be regularised, with the cost of restoring")
            << Purpose::Court
            << Change([](Report &r, AppraisalFacts &) {
                   r.conformsToPermits = false;
                   r.permitDifferences = "soppalco";
                   r.regularisable = false;
                   r.restorationCost = 8000;
               })
            << QStringList{} << -1;
        QTest::newRow("court: not in a condominium")
            << Purpose::Court
            << Change([](Report &r, AppraisalFacts &) {
                   r.notInCondominium = true;
                   r.yearlyExpenses = r.unpaidLastTwoYears = r.extraordinaryResolved = kNotGiven;
               })
            << QStringList{} << -1;
        QTest::newRow("court: unpaid expenses not stated")
            << Purpose::Court << Change([](Report &r, AppraisalFacts &) { r.unpaidLastTwoYears = kNotGiven; })
            << QStringList{"Spese condominiali non pagate negli ultimi due anni"} << int(Section::Condominium);
        QTest::newRow("court: no line for the missing warranty")
            << Purpose::Court << Change([](Report &r, AppraisalFacts &) { r.adjustments.removeLast(); })
            << QStringList{"Riduzione per l'assenza della garanzia per vizi"} << int(Section::Valuation);
        QTest::newRow("court: documents of art. 567 incomplete, without saying which")
            << Purpose::Court << Change([](Report &r, AppraisalFacts &) { r.documents567Complete = false; })
            << QStringList{"Completezza dei documenti dell'art. 567 c.p.c."} << int(Section::Engagement);
        QTest::newRow("court: the values far apart, no reason")
            << Purpose::Court << Change([](Report &, AppraisalFacts &f) { f.mcaValue = 260000; })
            << QStringList{"Motivazione del valore"} << int(Section::Valuation);

        // Bank: the ABI guidelines and CRR art. 229.
        QTest::newRow("bank: no loan applicant")
            << Purpose::Bank << Change([](Report &r, AppraisalFacts &) { r.loanApplicant.clear(); })
            << QStringList{"Richiedente il finanziamento"} << int(Section::Engagement);
        QTest::newRow("bank: no energy class")
            << Purpose::Bank << Change([](Report &r, AppraisalFacts &) { r.energyClass.clear(); })
            << QStringList{"Classe energetica (APE)"} << int(Section::Energy);
        QTest::newRow("bank: no photo")
            << Purpose::Bank << Change([](Report &, AppraisalFacts &f) { f.hasPhoto = false; })
            << QStringList{"Fotografie"} << int(Section::Documents);
        QTest::newRow("bank: revaluation without the average's source")
            << Purpose::Bank
            << Change([](Report &r, AppraisalFacts &) {
                   r.revaluation = true;
                   r.sixYearAverage = 195000;
               })
            << QStringList{"Valore medio degli ultimi sei anni e sua fonte"} << int(Section::Valuation);
        QTest::newRow("bank: market value not calculated")
            << Purpose::Bank << Change([](Report &, AppraisalFacts &f) { f.comparisonValue = kNotGiven; })
            << QStringList{"Valore di mercato"} << int(Section::Valuation);
        QTest::newRow("bank: the court's items are not asked")
            << Purpose::Bank << Change([](Report &r, AppraisalFacts &) {
                   r.court.clear();
                   r.boundaries.clear();
                   r.adjustments.clear();
               })
            << QStringList{} << -1;

        // Market: UNI 11612.
        QTest::newRow("market: no UNI 11612 statement")
            << Purpose::Market << Change([](Report &r, AppraisalFacts &) { r.followsUni11612 = false; })
            << QStringList{"Dichiarazione di conformità alla UNI 11612"} << int(Section::Engagement);
        QTest::newRow("market: no surface")
            << Purpose::Market << Change([](Report &, AppraisalFacts &f) { f.surface = 0; })
            << QStringList{"Superficie"} << int(Section::Valuation);
        QTest::newRow("market: the description from the pages is enough")
            << Purpose::Market << Change([](Report &r, AppraisalFacts &) { r.description.clear(); }) << QStringList{}
            << -1;
        QTest::newRow("market: no description anywhere")
            << Purpose::Market
            << Change([](Report &r, AppraisalFacts &f) {
                   r.description.clear();
                   f.pagesDescription = "  ";
               })
            << QStringList{"Descrizione dell'immobile"} << int(Section::Identification);
    }
    void compliance()
    {
        QFETCH(Purpose, purpose);
        QFETCH(Change, change);
        QFETCH(QStringList, missing);
        QFETCH(int, section);

        Report r = complete(purpose);
        AppraisalFacts f = facts();
        change(r, f);
        const QVector<MissingItem> found = missingItems(r, f);
        QCOMPARE(items(found), missing);
        const std::array<bool, kSectionCount> lights = sectionLights(found);
        for (int s = 0; s < kSectionCount; ++s)
            QCOMPARE(lights.at(s), s != section);
        for (const MissingItem &m : found)
            QVERIFY(!m.rule.isEmpty() && !m.field.isEmpty());
    }

    // An empty report lacks every item of its purpose but the reason, which
    // no value calls for yet; the printed lines name the rule of each.
    void emptyReportLacksEverything()
    {
        Report r;
        r.purpose = Purpose::Court;
        AppraisalFacts f;
        const QVector<MissingItem> found = missingItems(r, f);
        QCOMPARE(found.size(), requirements(Purpose::Court).size() - 1);
        QVERIFY(!items(found).contains(QStringLiteral("Motivazione del valore")));
        const QStringList lines = missingLines(found);
        QVERIFY(lines.contains(QStringLiteral("Confini (art. 173-bis, n. 1, disp. att. c.p.c.)")));
        QVERIFY(lines.contains(QStringLiteral("Censo, livello o uso civico (art. 173-bis, n. 8, disp. att. c.p.c.)")));
        QCOMPARE(sectionLights(found).at(std::size_t(Section::Energy)), true); // the court asks nothing there
        QCOMPARE(sectionLights(found).at(std::size_t(Section::Engagement)), false);
    }
};

QTEST_APPLESS_MAIN(TestPurposeReport)
#include "tst_purposereport.moc"
