// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/currency.h"
#include "model/numbertext.h"
#include "model/record.h"
#include "valuation/capitalisation.h"

#include <QTest>

using namespace brevan;

Q_DECLARE_METATYPE(brevan::FieldUpdate::Action)

namespace {

// A value no table holds: a coefficient still showing it was left as it was.
constexpr double kUntouched = 9.75;

using JudgmentOp = void (*)(const QString &, Coefficients &);

struct OpCase {
    const char *name;
    JudgmentOp op;
    Coef id;
    QList<QPair<QString, double>> rows;
};

// Every judgment table, row by row, as the appraisal rules give them.
const QList<OpCase> &judgmentCases()
{
    static const QList<OpCase> cases = {
        {"centrality", &CalcolaCICentralitaRispettoCentroUrbano, Coef::CICentrRispCentrUrb,
         {{"Meno di 100 metri", -0.39}, {"Meno di 250 metri", -0.47}, {"Meno di 500 metri", -0.66},
          {"Meno di 1000 metri", 0.88}, {"Oltre i 1000 metri", 0.99}}},
        {"transport", &CalcolaCILivelloCollegamenti, Coef::CILivelloCollegam,
         {{"Presente una sola linea", -0.03}, {"Presenti due o più linee", -0.24},
          {"Assente: fermata entro 100 metri", -0.08}, {"Assente: fermata entro 500 metri", 0.44},
          {"Assente: fermata oltre 500 metri", 0.55}}},
        {"environment", &CalcolaCIQualificazAmbienteEsterno, Coef::CIQualifAmbienteExt,
         {{"Scarso", 0.23}, {"Mediocre", 0.47}, {"Sufficiente", 0.25}, {"Buono", -0.82}, {"Ottimo", -0.44}}},
        {"suitability", &CalcolaCIIdoneitaInsediativa, Coef::CIIdoneitaInsediat,
         {{"Scarso", 0.55}, {"Mediocre", 0.55}, {"Sufficiente", 0.55}, {"Buono", -0.53}, {"Ottimo", -0.76}}},
        {"improvements", &CalcolaCIPrevisioneMiglioramAmbientali, Coef::CIPrevMiglAmbient,
         {{"Scarso", 0.36}, {"Mediocre", 0.77}, {"Sufficiente", 0.22}, {"Buono", -0.46}, {"Ottimo", -0.77}}},
        {"pollution", &CalcolaCILivelloInquinamentoAmbientale, Coef::CILivInquinamAmbient,
         {{"Scarso", 0.25}, {"Mediocre", 0.66}, {"Sufficiente", 0.35}, {"Buono", -0.77}, {"Ottimo", -0.24}}},
        {"green", &CalcolaCIPresenzaVerdePubblico, Coef::CIPresVerdePubblico,
         {{"Scarso", 0.98}, {"Mediocre", 0.22}, {"Sufficiente", 0.77}, {"Buono", -0.17}, {"Ottimo", -0.61}}},
        {"parking", &CalcolaCIDisponibilitaParcheggi, Coef::CIDisponibParcheggi,
         {{"Scarsa", 0.77}, {"Mediocre", 0.22}, {"Sufficiente", 0.56}, {"Buona", -0.66}, {"Ottima", -0.36}}},
        {"panorama", &CalcolaCIPanoramicita, Coef::CIPanoramicita,
         {{"Scarsa", 0.81}, {"Insufficiente", 0.22}, {"Sufficiente", 0.23}, {"Buona", -0.12}, {"Ottima", -0.55}}},
        {"outlook", &CalcolaCIProspicienza, Coef::CIProspicienza,
         {{"Scarsa", 0.23}, {"Insufficiente", 0.55}, {"Sufficiente", 0.34}, {"Buona", -0.22}, {"Ottima", -0.52}}},
        {"brightness", &CalcolaCILuminosita, Coef::CILuminosita,
         {{"Scarsa", 0.22}, {"Insufficiente", 0.46}, {"Sufficiente", 0.44}, {"Buona", -0.11}, {"Ottima", -0.25}}},
        {"accessory spaces", &CalcolaCIDimensioneSpaziAccessori, Coef::CIDimensSpaziAccess,
         {{"Scarso", 0.11}, {"Mediocre", 0.23}, {"Sufficiente", 0.55}, {"Buono", -0.78}, {"Ottimo", -0.23}}},
        {"interior finishing", &CalcolaCIGradoRifinituraInterno, Coef::CIGradoRifinInterno,
         {{"Scarso", 0.55}, {"Ordinario", 0.05}, {"Sufficiente", 0.66}, {"Discreto", -0.34}, {"Buono", -0.22},
          {"Ottimo", -0.35}}},
        {"exterior finishing", &CalcolaCIGradoRifinituraEsterno, Coef::CIGradoRifinEsterno,
         {{"Mediocre", 0.22}, {"Ordinario", 0.22}, {"Sufficiente", 0.22}, {"Discreto", -0.22}, {"Buono", -0.22},
          {"Ottimo", -0.22}}},
        {"plants level", &CalcolaCILivelloTecnologicoImpianti, Coef::CILivTecnolImpianti,
         {{"Scarso", 0.14}, {"Mediocre", 0.77}, {"Sufficiente", 0.22}, {"Discreto", -0.35}, {"Buono", -0.67},
          {"Ottimo", -0.32}}},
        {"interior repair", &CalcolaCIStatoConservazInterno, Coef::CIStatoConservazInt,
         {{"Scarso", 0.23}, {"Mediocre", 0.56}, {"Sufficiente", 0.61}, {"Discreto", -0.27}, {"Buono", -0.35},
          {"Ottimo", -0.16}}},
        {"exterior repair", &CalcolaCIStatoConservazEsterno, Coef::CIStatoConservazExt,
         {{"Scarso", 0.23}, {"Mediocre", 0.42}, {"Sufficiente", 0.92}, {"Buono", -0.12}, {"Ottimo", -0.06}}},
    };
    return cases;
}

Coefficients untouched(Coef id)
{
    Coefficients c;
    c[id] = kUntouched;
    return c;
}

// Everything empty, nothing ticked: the facilities still give 0.28.
Characteristics blankUnit(const QString &surface)
{
    Characteristics in;
    in.SupCommercImmob = surface;
    return in;
}

} // namespace

class TestCapitalisation : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void coefficientNames_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("name");
        const char *const names[] = {
            "CICentrRispCentrUrb", "CILivelloCollegam",   "CIAttrezzCollett",    "CIQualifAmbienteExt",
            "CILuminosita",        "CIPanoramicita",      "CIProspicienza",      "CIIdoneitaInsediat",
            "CIPrevMiglAmbient",   "CILivInquinamAmbient", "CIPresVerdePubblico", "CIVetustaEdificio",
            "CIDisponibParcheggi", "CIGradoRifinInterno", "CIGradoRifinEsterno", "CIQuotaDaPianoStrad",
            "CIDimensSpaziAccess", "CILivTecnolImpianti", "CIStatoConservazInt", "CIStatoConservazExt",
            "CICarattProduttive",  "SaggioCapitalizzaz",  "CDEsposizione",       "CDCarattLocalizzaz",
            "CDLuminosita",        "CDPanoramicita",      "CDProspicienza",      "CDQuotaDaPianoStrad",
            "CDCarattPosizione",   "CDGradoRifinInterno", "CDGradoRifinEsterno", "CDStatoConservazInt",
            "CDStatoConservazExt", "CDLivTecnolImpianti", "CDVetustaEdificio",   "CDCarattTipologiche",
            "CDCarattProduttive",
        };
        static_assert(std::size(names) == kCoefficientCount);
        int field = kFirstCoefficientField;
        for (const char *name : names) {
            QTest::newRow(name) << field << QString::fromLatin1(name);
            ++field;
        }
    }
    void coefficientNames()
    {
        QFETCH(int, field);
        QFETCH(QString, name);
        const auto id = static_cast<Coef>(field);
        QCOMPARE(coefficientName(id), name);
        QCOMPARE(coefficientByName(name), std::optional<Coef>(id));
        QCOMPARE(recordField(name)->type, FieldType::Real);

        // Written by name, read by id, and no other value moves.
        Coefficients c;
        QVERIFY(c.setValue(name, -1.25));
        QCOMPARE(c[id], -1.25);
        QCOMPARE(c.value(name), std::optional<double>(-1.25));
        for (Coef other : coefficientIds()) {
            if (other != id)
                QCOMPARE(c[other], 0.0);
        }
    }

    void notACoefficient_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("text field") << "CognomeProfess";
        QTest::newRow("judgment, not its coefficient") << "Luminosita";
        QTest::newRow("result text") << "CostoUnitario";
        QTest::newRow("unknown") << "CIInesistente";
        QTest::newRow("empty") << "";
    }
    void notACoefficient()
    {
        QFETCH(QString, name);
        Coefficients c;
        QVERIFY(!coefficientByName(name));
        QVERIFY(!c.value(name));
        QVERIFY(!c.setValue(name, 1.0));
        QCOMPARE(c, Coefficients());
    }

    void judgmentTables_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<QString>("judgment");
        QTest::addColumn<double>("expected");
        const auto &cases = judgmentCases();
        for (int i = 0; i < cases.size(); ++i) {
            const OpCase &k = cases.at(i);
            for (const auto &row : k.rows)
                QTest::addRow("%s: %s", k.name, qPrintable(row.first)) << i << row.first << row.second;
            QTest::addRow("%s: empty gives 0", k.name) << i << QString() << 0.0;
            QTest::addRow("%s: unknown text leaves it", k.name) << i << QStringLiteral("Eccellente") << kUntouched;
            // Matching is exact: case and blanks count.
            QTest::addRow("%s: other case leaves it", k.name) << i << k.rows.first().first.toUpper() << kUntouched;
            QTest::addRow("%s: trailing blank leaves it", k.name)
                << i << k.rows.first().first + QLatin1Char(' ') << kUntouched;
        }
    }
    void judgmentTables()
    {
        QFETCH(int, op);
        QFETCH(QString, judgment);
        QFETCH(double, expected);
        const OpCase &k = judgmentCases().at(op);
        Coefficients c = untouched(k.id);
        k.op(judgment, c);
        QCOMPARE(c[k.id], expected);
        Coefficients others = c;
        others[k.id] = kUntouched;
        QCOMPARE(others, untouched(k.id));
    }

    void floorHeight_data()
    {
        QTest::addColumn<QString>("floor");
        QTest::addColumn<QString>("buildingType");
        QTest::addColumn<double>("expected");
        const QString multi = QStringLiteral("Edificio plurifamiliare");
        QTest::newRow("multi-family, ground floor") << "Piano terra" << multi << 0.99;
        QTest::newRow("multi-family, first floor") << "Primo piano" << multi << 0.26;
        QTest::newRow("multi-family, middle floor") << "Piano intermedio" << multi << 0.34;
        QTest::newRow("multi-family, top floor") << "Ultimo piano" << multi << -0.65;
        QTest::newRow("multi-family, penthouse") << "Piano attico" << multi << -0.22;
        QTest::newRow("terraced house, ground floor") << "Piano terra" << "Edificio a schiera" << 0.0;
        QTest::newRow("detached house, penthouse") << "Piano attico" << "Edificio unifamiliare" << 0.0;
        QTest::newRow("no building type") << "Primo piano" << "" << 0.0;
        QTest::newRow("empty floor, multi-family") << "" << multi << 0.0;
        QTest::newRow("empty floor, no type") << "" << "" << 0.0;
        QTest::newRow("unknown floor, multi-family") << "Seminterrato" << multi << kUntouched;
        // The building type is tested before the table.
        QTest::newRow("unknown floor, terraced house") << "Seminterrato" << "Edificio a schiera" << 0.0;
    }
    void floorHeight()
    {
        QFETCH(QString, floor);
        QFETCH(QString, buildingType);
        QFETCH(double, expected);
        Coefficients c = untouched(Coef::CIQuotaDaPianoStrad);
        CalcolaCIQuotaRispettoPianoStradale(floor, buildingType, c);
        QCOMPARE(c[Coef::CIQuotaDaPianoStrad], expected);
    }

    void facilities_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("field");
        QTest::addColumn<double>("share");
        const struct {
            const char *field;
            double share;
        } boxes[] = {
            {"ScuoleObbligo", 0.05},     {"IstitutiSuperiori", 0.05}, {"FacoltaUniversit", 0.05},
            {"MensaUniversit", 0.03},    {"MercatoCivico", 0.04},     {"Supermercati", 0.04},
            {"GrandiMagazzini", 0.03},   {"CentriCommerciali", 0.03}, {"ParcheggiPubblici", 0.04},
            {"PercorsiLineeCTM", 0.05},  {"StruttureSanitarie", 0.04}, {"ImpiantiSportivi", 0.03},
            {"UfficiPostali", 0.03},     {"LuoghiDiCulto", 0.03},     {"LocaliSpettacolo", 0.03},
        };
        for (int i = 0; i < kFacilityCount; ++i)
            QTest::newRow(boxes[i].field) << i << QString::fromLatin1(boxes[i].field) << boxes[i].share;
    }
    void facilities()
    {
        QFETCH(int, box);
        QFETCH(QString, field);
        QFETCH(double, share);
        QCOMPARE(facilityName(box), field);
        QCOMPARE(recordField(field)->type, FieldType::Logical);
        Facilities ticked{};
        ticked[static_cast<std::size_t>(box)] = true;
        Coefficients c = untouched(Coef::CIAttrezzCollett);
        CalcolaCIAttrezzatureCollettive(ticked, c);
        QCOMPARE(c[Coef::CIAttrezzCollett], 0.28 - share);
    }

    void facilitiesNoneAndAll()
    {
        Coefficients c = untouched(Coef::CIAttrezzCollett);
        CalcolaCIAttrezzatureCollettive(Facilities{}, c);
        QCOMPARE(c[Coef::CIAttrezzCollett], 0.28);

        Facilities all;
        all.fill(true);
        CalcolaCIAttrezzatureCollettive(all, c);
        QCOMPARE(c[Coef::CIAttrezzCollett], -0.29);
        // Bit for bit the running double, one subtraction at a time in box order.
        volatile double chain = 0.28;
        for (double share : {0.05, 0.05, 0.05, 0.03, 0.04, 0.04, 0.03, 0.03, 0.04, 0.05, 0.04, 0.03, 0.03, 0.03, 0.03})
            chain = chain - share;
        QVERIFY(c[Coef::CIAttrezzCollett] == chain);
        QCOMPARE(facilityCaption(0), QStringLiteral("Scuole dell'obbligo"));
        QCOMPARE(facilityCaption(2), QStringLiteral("Facoltà universitarie"));
        QCOMPARE(facilityCaption(14), QStringLiteral("Locali di spettacolo"));
    }

    void buildingAge_data()
    {
        QTest::addColumn<QString>("age");
        QTest::addColumn<double>("expected");
        const double wholeYears[] = {
            -0.23, -0.23, -0.23, -0.23, -0.23, -0.23,  // 0 … 5
            -0.45, -0.45, -0.74, -0.74, -0.12, -0.12, -0.82, -0.82, -0.56, -0.56, // 6 … 15
            -0.23, -0.73, -0.98, -0.23, 0.42, 0.25, 0.76, 0.11, 0.31, 0.65, 0.99, 0.77, 0.44, 0.23, // 16 … 29
            0.86, 0.86, 0.86, // 30 … 32
        };
        for (int a = 0; a < static_cast<int>(std::size(wholeYears)); ++a) {
            const QString text = QString::number(a) + (a == 1 ? QStringLiteral(" anno") : QStringLiteral(" anni"));
            QTest::addRow("%d years", a) << text << wholeYears[a];
        }
        QTest::newRow("45 years") << "45 anni" << 0.86;
        QTest::newRow("120 years") << "120 anni" << 0.86;
        QTest::newRow("4,5 years: at most 5") << "4,5 anni" << -0.23;
        QTest::newRow("5,5 years: no row") << "5,5 anni" << kUntouched;
        QTest::newRow("16,5 years: no row") << "16,5 anni" << kUntouched;
        QTest::newRow("29,5 years: no row") << "29,5 anni" << kUntouched;
        QTest::newRow("30,5 years: at least 30") << "30,5 anni" << 0.86;
        QTest::newRow("empty") << "" << 0.0;
    }
    void buildingAge()
    {
        QFETCH(QString, age);
        QFETCH(double, expected);
        Coefficients c = untouched(Coef::CIVetustaEdificio);
        CalcolaCIVetustaEdificio(age, c);
        QCOMPARE(c[Coef::CIVetustaEdificio], expected);
    }

    // An age without a number is a conversion failure, not a missing age.
    void buildingAgeWithoutNumber()
    {
        Coefficients c = untouched(Coef::CIVetustaEdificio);
        QVERIFY_THROWS_EXCEPTION(ConversionError, CalcolaCIVetustaEdificio(QStringLiteral("n.d."), c));
        QCOMPARE(c[Coef::CIVetustaEdificio], kUntouched);
    }

    void productive_data()
    {
        QTest::addColumn<QString>("surface");
        QTest::addColumn<double>("expected");
        QTest::newRow("0") << "0" << -0.19;
        QTest::newRow("40") << "40" << -0.19;
        QTest::newRow("40,01") << "40,01" << -0.34;
        QTest::newRow("60") << "60" << -0.34;
        QTest::newRow("60,01") << "60,01" << -0.44;
        QTest::newRow("80") << "80" << -0.44;
        QTest::newRow("80,5") << "80,5" << -0.28;
        QTest::newRow("90") << "90" << -0.28;
        QTest::newRow("90,01") << "90,01" << 0.74;
        QTest::newRow("100") << "100" << 0.74;
        QTest::newRow("120") << "120" << 0.74;
        QTest::newRow("120,01") << "120,01" << 0.14;
        QTest::newRow("150") << "150" << 0.14;
        QTest::newRow("150,01") << "150,01" << 0.53;
        QTest::newRow("180") << "180" << 0.53;
        QTest::newRow("180,5") << "180,5" << 0.57;
        QTest::newRow("1000") << "1000" << 0.57;
        QTest::newRow("empty") << "" << 0.0;
        // Plain float text only: thousands dots are not part of it.
        QTest::newRow("not plain") << "1.200,5" << kUntouched;
    }
    void productive()
    {
        QFETCH(QString, surface);
        QFETCH(double, expected);
        Coefficients c = untouched(Coef::CICarattProduttive);
        CalcolaCICaratteristProduttive(surface, c);
        QCOMPARE(c[Coef::CICarattProduttive], expected);
    }

    void allCoefficients()
    {
        Characteristics in;
        in.DistanzaViaPrincip = QStringLiteral("Meno di 100 metri");
        in.ServTraspPubblico = QStringLiteral("Presenti due o più linee");
        in.facilities[0] = true;
        in.QualifAmbienteExt = QStringLiteral("Buono");
        in.IdoneitaInsediat = QStringLiteral("Ottimo");
        in.MiglioramAmbiente = QStringLiteral("Scarso");
        in.InquinamAmbiente = QStringLiteral("Mediocre");
        in.VerdePubblico = QStringLiteral("Sufficiente");
        in.DisponibAreeSosta = QStringLiteral("Buona");
        in.Panoramicita = QStringLiteral("Ottima");
        in.Prospicienza = QStringLiteral("Scarsa");
        in.Luminosita = QStringLiteral("Insufficiente");
        in.QuotaDaPianoStrad = QStringLiteral("Ultimo piano");
        in.TipologEdiliziaImmob = QStringLiteral("Edificio plurifamiliare");
        in.SuperfAccessorie = QStringLiteral("Mediocre");
        in.GradoRifinitInt = QStringLiteral("Discreto");
        in.GradoRifinitExt = QStringLiteral("Ordinario");
        in.LivImpiantiTecnol = QStringLiteral("Buono");
        in.StatoConservInt = QStringLiteral("Ottimo");
        in.StatoConservExt = QStringLiteral("Sufficiente");
        in.EtaEdificioImmob = QStringLiteral("22 anni");
        in.SupCommercImmob = QStringLiteral("85,25");

        Coefficients c;
        c[Coef::SaggioCapitalizzaz] = 7.5;
        c[Coef::CDLuminosita] = 1.02;
        ComparazIndirettaCalcoloCoeff(in, c);
        const QList<QPair<Coef, double>> expected = {
            {Coef::CICentrRispCentrUrb, -0.39}, {Coef::CILivelloCollegam, -0.24},
            {Coef::CIAttrezzCollett, 0.28 - 0.05}, {Coef::CIQualifAmbienteExt, -0.82},
            {Coef::CIIdoneitaInsediat, -0.76}, {Coef::CIPrevMiglAmbient, 0.36},
            {Coef::CILivInquinamAmbient, 0.66}, {Coef::CIPresVerdePubblico, 0.77},
            {Coef::CIDisponibParcheggi, -0.66}, {Coef::CIPanoramicita, -0.55},
            {Coef::CIProspicienza, 0.23}, {Coef::CILuminosita, 0.46},
            {Coef::CIQuotaDaPianoStrad, -0.65}, {Coef::CIDimensSpaziAccess, 0.23},
            {Coef::CIGradoRifinInterno, -0.34}, {Coef::CIGradoRifinEsterno, 0.22},
            {Coef::CILivTecnolImpianti, -0.67}, {Coef::CIStatoConservazInt, -0.16},
            {Coef::CIStatoConservazExt, 0.92}, {Coef::CIVetustaEdificio, 0.76},
            {Coef::CICarattProduttive, -0.28},
            // Not touched by the coefficients alone.
            {Coef::SaggioCapitalizzaz, 7.5}, {Coef::CDLuminosita, 1.02},
        };
        for (const auto &[id, value] : expected) {
            QVERIFY2(c[id] == value, qPrintable(coefficientName(id)));
        }
    }

    void rateFromFacilitiesAndSurface()
    {
        // Nothing judged, no box ticked, 100 m²: only the facilities and the
        // surface move the average rate.
        Coefficients c;
        QVERIFY(CalcolaSaggioCapitalizzazione(blankUnit(QStringLiteral("100")), QStringLiteral("4,00"),
                                              QStringLiteral("1.000.000,00"), c));
        QCOMPARE(c[Coef::SaggioCapitalizzaz], 5.02);
        QCOMPARE(c[Coef::CIAttrezzCollett], 0.28);
        QCOMPARE(c[Coef::CICarattProduttive], 0.74);
    }

    void rateNotRecomputed_data()
    {
        QTest::addColumn<QString>("averageRate");
        QTest::addColumn<QString>("netIncome");
        QTest::newRow("no average rate") << "" << "1.000.000,00";
        QTest::newRow("no net income") << "4,00" << "";
    }
    void rateNotRecomputed()
    {
        QFETCH(QString, averageRate);
        QFETCH(QString, netIncome);
        Coefficients c;
        c[Coef::SaggioCapitalizzaz] = 3.3;
        c[Coef::CILuminosita] = 0.44;
        Characteristics in = blankUnit(QStringLiteral("100"));
        QVERIFY(!CalcolaSaggioCapitalizzazione(in, averageRate, netIncome, c));
        Coefficients expected;
        expected[Coef::SaggioCapitalizzaz] = 3.3;
        expected[Coef::CILuminosita] = 0.44;
        QCOMPARE(c, expected);
    }

    // Text where a number belongs fails the computation as a whole: no
    // coefficient, rate or result changes, whichever text it is.
    void textThatIsNotANumber_data()
    {
        QTest::addColumn<QString>("averageRate");
        QTest::addColumn<QString>("age");
        QTest::newRow("average rate of letters") << "abc" << "12 anni";
        QTest::newRow("average rate of a comma") << "," << "";
        QTest::newRow("age n.d.") << "3,50" << "n.d.";
        QTest::newRow("both") << "abc" << "n.d.";
    }
    void textThatIsNotANumber()
    {
        QFETCH(QString, averageRate);
        QFETCH(QString, age);
        Characteristics in = blankUnit(QStringLiteral("100"));
        in.EtaEdificioImmob = age;
        in.Luminosita = QStringLiteral("Ottima");
        Coefficients c;
        c[Coef::SaggioCapitalizzaz] = 3.3;
        c[Coef::CILuminosita] = 0.44;
        const Coefficients before = c;
        QVERIFY_THROWS_EXCEPTION(ConversionError, CalcolaSaggioCapitalizzazione(in, averageRate, "1.000.000,00", c));
        QCOMPARE(c, before);
        QVERIFY_THROWS_EXCEPTION(ConversionError, CalcolaCIValoreMercato(in, averageRate, "1.000.000,00", c));
        QCOMPARE(c, before);
    }

    void rateInExtendedPrecision()
    {
        // 4 + (all fifteen boxes) + 0.98 + 0.22 + 0.74: summed one double at a
        // time the rate ends two bits under 5.65 (5.6499999999999995); kept
        // wide until the end it is the double nearest 5.65.
        Characteristics in = blankUnit(QStringLiteral("100"));
        in.facilities.fill(true);
        in.VerdePubblico = QStringLiteral("Scarso");
        in.Luminosita = QStringLiteral("Scarsa");
        Coefficients c;
        QVERIFY(CalcolaSaggioCapitalizzazione(in, QStringLiteral("4,00"), QStringLiteral("1,00"), c));
        QVERIFY(c[Coef::SaggioCapitalizzaz] == 5.65);
    }

    void capitalise_data()
    {
        QTest::addColumn<QString>("net");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("surface");
        QTest::addColumn<FieldUpdate::Action>("totalAction");
        QTest::addColumn<QString>("total");
        QTest::addColumn<FieldUpdate::Action>("unitAction");
        QTest::addColumn<QString>("unit");
        using A = FieldUpdate::Action;
        QTest::newRow("truncated total, no surface")
            << "1.000.000,00" << 3.0 << "" << A::Write << "33.333.333,00" << A::Clear << "";
        QTest::newRow("truncated total and unit")
            << "1.000.000,00" << 3.0 << "70" << A::Write << "33.333.333,00" << A::Write << "476.190,00";
        QTest::newRow("rate 4") << "12.000.000,00" << 4.0 << "100" << A::Write << "300.000.000,00" << A::Write
                                << "3.000.000,00";
        QTest::newRow("cents of the net income count")
            << "1.000,99" << 1.0 << "3" << A::Write << "100.099,00" << A::Write << "33.366,00";
        QTest::newRow("zero surface clears the unit")
            << "1.000.000,00" << 3.0 << "0" << A::Write << "33.333.333,00" << A::Clear << "";
        QTest::newRow("unreadable surface clears the unit")
            << "1.000.000,00" << 3.0 << "mq" << A::Write << "33.333.333,00" << A::Clear << "";
        // No value by income exists at a rate that is not above 0, nor at
        // one that is 0 once shown with two decimals: a value left from
        // earlier inputs must not stay as if it were this one's.
        QTest::newRow("rate 0 clears both") << "1.000.000,00" << 0.0 << "70" << A::Clear << "" << A::Clear << "";
        QTest::newRow("negative rate clears both")
            << "1.000.000,00" << -0.5 << "70" << A::Clear << "" << A::Clear << "";
        QTest::newRow("rate a binary crumb above 0") << "1.000.000,00" << 1.8e-16 << "70" << A::Clear << ""
                                                     << A::Clear << "";
        QTest::newRow("rate a crumb below 0") << "1.000.000,00" << -1.8e-16 << "70" << A::Clear << "" << A::Clear
                                              << "";
        QTest::newRow("rate under half a hundredth") << "1.000.000,00" << 0.0049 << "70" << A::Clear << ""
                                                     << A::Clear << "";
        QTest::newRow("rate of half a hundredth") << "1.000,00" << 0.005 << "70" << A::Write << "20.000.000,00"
                                                  << A::Write << "285.714,00";
        QTest::newRow("negative net income clears both")
            << "-1.000.000,00" << 3.0 << "70" << A::Clear << "" << A::Clear << "";
        QTest::newRow("negative net income with a blank first")
            << " -250,00" << 3.0 << "70" << A::Clear << "" << A::Clear << "";
        // Nothing to capitalise is worth nothing.
        QTest::newRow("zero net income is worth 0") << "0,00" << 3.0 << "70" << A::Write << "0,00" << A::Write
                                                    << "0,00";
        QTest::newRow("zero net income, no surface") << "0,00" << 3.0 << "" << A::Write << "0,00" << A::Clear << "";
        QTest::newRow("zero net income at rate 0") << "0,00" << 0.0 << "70" << A::Clear << "" << A::Clear << "";
        QTest::newRow("empty net income leaves both") << "" << 3.0 << "70" << A::Leave << "" << A::Leave << "";
    }
    void capitalise()
    {
        QFETCH(QString, net);
        QFETCH(double, rate);
        QFETCH(QString, surface);
        QFETCH(FieldUpdate::Action, totalAction);
        QFETCH(QString, total);
        QFETCH(FieldUpdate::Action, unitAction);
        QFETCH(QString, unit);
        const IncomeValue v = capitaliseIncome(net, rate, surface);
        QCOMPARE(v.total.action, totalAction);
        QCOMPARE(v.total.text, total);
        QCOMPARE(v.unit.action, unitAction);
        QCOMPARE(v.unit.text, unit);
    }

    void valueByIncome()
    {
        // Average 3,50 and coefficients adding up to 0.5: facilities 0.28,
        // 100 m² 0.74, outlook "Ottima" -0.52. Rate 4.
        Characteristics in = blankUnit(QStringLiteral("100"));
        in.Prospicienza = QStringLiteral("Ottima");
        Coefficients c;
        const IncomeValue v = CalcolaCIValoreMercato(in, QStringLiteral("3,50"), QStringLiteral("12.000.000,00"), c);
        QCOMPARE(c[Coef::SaggioCapitalizzaz], 4.0);
        QCOMPARE(v.total, FieldUpdate::write(QStringLiteral("300.000.000,00")));
        QCOMPARE(v.unit, FieldUpdate::write(QStringLiteral("3.000.000,00")));
        QCOMPARE(v.total.applied(QStringLiteral("1,00")), QStringLiteral("300.000.000,00"));
    }

    void valueByIncomeStaleCases_data()
    {
        QTest::addColumn<QString>("averageRate");
        QTest::addColumn<QString>("net");
        QTest::addColumn<QString>("shownTotal");
        QTest::addColumn<QString>("shownUnit");
        // A rate of 0 or less empties what the fields show: 0,40 - 0.29 - 0.19.
        QTest::newRow("written when both are positive") << "3,50" << "12.000.000,00" << "397.350.993,00"
                                                        << "9.933.774,00";
        QTest::newRow("rate brought below 0") << "0,40" << "12.000.000,00" << "" << "";
        // 0,48 against coefficients of -0,48 sums to 5.6e-17 in binary, not 0.
        QTest::newRow("rate brought to 0 in decimal") << "0,48" << "12.000.000,00" << "" << "";
        // No value by income exists for a loss: the old value must not stay.
        QTest::newRow("negative net income") << "3,50" << "-12.000.000,00" << "" << "";
        QTest::newRow("negative net income, rate below 0") << "0,40" << "-12.000.000,00" << "" << "";
        // Nothing to capitalise: nothing recomputed, nothing changed.
        QTest::newRow("empty net income") << "3,50" << "" << "9,00" << "1,00";
    }
    void valueByIncomeStaleCases()
    {
        QFETCH(QString, averageRate);
        QFETCH(QString, net);
        QFETCH(QString, shownTotal);
        QFETCH(QString, shownUnit);
        // All fifteen boxes and 40 m²: the coefficients add up to -0.48.
        Characteristics in = blankUnit(QStringLiteral("40"));
        in.facilities.fill(true);
        Coefficients c;
        const IncomeValue v = CalcolaCIValoreMercato(in, averageRate, net, c);
        QCOMPARE(v.total.applied(QStringLiteral("9,00")), shownTotal);
        QCOMPARE(v.unit.applied(QStringLiteral("1,00")), shownUnit);
    }

    void valueByIncomeLeavesRateWithoutNet()
    {
        Coefficients c;
        c[Coef::SaggioCapitalizzaz] = 6.0;
        CalcolaCIValoreMercato(blankUnit(QStringLiteral("100")), QStringLiteral("4,00"), QString(), c);
        QCOMPARE(c[Coef::SaggioCapitalizzaz], 6.0);
        QCOMPARE(c[Coef::CIAttrezzCollett], 0.0);
    }

    void valueByIncomeKeepsLastRate()
    {
        // No average rate: the rate is the last one computed.
        Coefficients c;
        c[Coef::SaggioCapitalizzaz] = 5.0;
        const IncomeValue v =
            CalcolaCIValoreMercato(blankUnit(QStringLiteral("50")), QString(), QStringLiteral("1.000.000,00"), c);
        QCOMPARE(v.total, FieldUpdate::write(QStringLiteral("20.000.000,00")));
        QCOMPARE(v.unit, FieldUpdate::write(QStringLiteral("400.000,00")));
    }

    void resultHints_data()
    {
        QTest::addColumn<QString>("currency");
        QTest::addColumn<QString>("unitByComparison");
        QTest::addColumn<QString>("unitByIncome");
        QTest::addColumn<QString>("totalByComparison");
        QTest::addColumn<QString>("totalByIncome");
        QTest::newRow("Lire") << kLire
                              << "|Più probabile valore di mercato unitario per comparazione diretta in Lire/mq."
                              << "|Più probabile valore di mercato unitario per capitalizzazione dei redditi in Lire/mq."
                              << "|Più probabile valore di mercato per comparazione diretta in Lire."
                              << "|Più probabile valore di mercato per capitalizzazione dei redditi in Lire.";
        QTest::newRow("Euro") << kEuro
                              << "|Più probabile valore di mercato unitario per comparazione diretta in Euro/mq."
                              << "|Più probabile valore di mercato unitario per capitalizzazione dei redditi in Euro/mq."
                              << "|Più probabile valore di mercato per comparazione diretta in Euro."
                              << "|Più probabile valore di mercato per capitalizzazione dei redditi in Euro.";
    }
    void resultHints()
    {
        QFETCH(QString, currency);
        QFETCH(QString, unitByComparison);
        QFETCH(QString, unitByIncome);
        QFETCH(QString, totalByComparison);
        QFETCH(QString, totalByIncome);
        const ResultHints h = SetHintRisultatiStima(currency);
        QCOMPARE(h.unitByComparison, unitByComparison);
        QCOMPARE(h.unitByIncome, unitByIncome);
        QCOMPARE(h.totalByComparison, totalByComparison);
        QCOMPARE(h.totalByIncome, totalByIncome);
    }
};

QTEST_GUILESS_MAIN(TestCapitalisation)
#include "tst_capitalisation.moc"
