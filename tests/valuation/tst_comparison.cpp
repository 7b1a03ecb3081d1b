// SPDX-License-Identifier: GPL-2.0-or-later
#include "model/currency.h"
#include "model/numbertext.h"
#include "valuation/comparison.h"

#include <QTest>

using namespace brevan;

Q_DECLARE_METATYPE(brevan::Zone)
Q_DECLARE_METATYPE(brevan::FieldUpdate::Action)
Q_DECLARE_METATYPE(brevan::ComparableRow)

namespace {

constexpr double kUntouched = 9.75;

using ItemOp = void (*)(const QString &, Zone, Coefficients &);

struct ZoneTriple {
    double central, intermediate, peripheral;
};

struct ItemCase {
    const char *name;
    ItemOp op;
    Coef id;
    QList<QPair<QString, ZoneTriple>> rows;
    QString textWithoutRow; // a judgment text its table does not hold
};

const QList<QPair<QString, ZoneTriple>> kVista = {
    {"Scarsa", {0, 0, 0}},           {"Insufficiente", {0.34, 0.34, 0.51}}, {"Sufficiente", {0.68, 0.68, 1.02}},
    {"Buona", {1.02, 1.02, 1.53}},   {"Ottima", {1.36, 1.36, 2.04}},
};

const QList<ItemCase> &itemCases()
{
    static const QList<ItemCase> cases = {
        {"brightness", &CalcolaCDLuminosita, Coef::CDLuminosita, kVista, "Mediocre"},
        {"exposure", &CalcolaCDEsposizione, Coef::CDEsposizione, kVista, "Mediocre"},
        {"outlook", &CalcolaCDProspicienza, Coef::CDProspicienza, kVista, "Mediocre"},
        {"panorama", &CalcolaCDPanoramicita, Coef::CDPanoramicita,
         {{"Scarsa", {0, 0, 0}},
          {"Insufficiente", {1.21, 1.21, 1.82}},
          {"Sufficiente", {2.42, 2.42, 3.64}},
          {"Buona", {3.63, 3.63, 5.46}},
          {"Ottima", {4.84, 4.84, 7.28}}},
         "Buono"},
        {"interior finishing", &CalcolaCDGradoRifinituraInterno, Coef::CDGradoRifinInterno,
         {{"Scarso", {0, 0, 0}},
          {"Ordinario", {0.32, 0.11, 0.32}},
          {"Sufficiente", {0.64, 0.22, 0.64}},
          {"Discreto", {0.96, 0.33, 0.96}},
          {"Buono", {1.28, 0.44, 1.28}},
          {"Ottimo", {1.6, 0.55, 1.6}}},
         "Mediocre"},
        {"exterior finishing", &CalcolaCDGradoRifinituraEsterno, Coef::CDGradoRifinEsterno,
         {{"Mediocre", {0, 0, 0}},
          {"Ordinario", {0, 0, 0}},
          {"Sufficiente", {0.4, 0.14, 0.4}},
          {"Discreto", {0.8, 0.28, 0.8}},
          {"Buono", {1.2, 0.42, 1.2}},
          {"Ottimo", {1.6, 0.55, 1.6}}},
         "Scarso"},
        {"interior repair", &CalcolaCDStatoConservazInterno, Coef::CDStatoConservazInt,
         {{"Scarso", {0, 0, 0}},
          {"Mediocre", {0.48, 0.16, 0.48}},
          {"Sufficiente", {0.96, 0.32, 0.96}},
          {"Discreto", {1.44, 0.48, 1.44}},
          {"Buono", {1.92, 0.64, 1.92}},
          {"Ottimo", {2.4, 0.8, 2.4}}},
         "Ordinario"},
        {"exterior repair", &CalcolaCDStatoConservazEsterno, Coef::CDStatoConservazExt,
         {{"Scarso", {0, 0, 0}},
          {"Mediocre", {0.6, 0.2, 0.6}},
          {"Sufficiente", {1.2, 0.4, 1.2}},
          {"Buono", {1.8, 0.6, 1.8}},
          {"Ottimo", {2.4, 0.8, 2.4}}},
         "Discreto"},
        {"plants level", &CalcolaCDLivelloTecnologicoImpianti, Coef::CDLivTecnolImpianti,
         {{"Scarso", {0, 0, 0}},
          {"Mediocre", {0.6, 0.2, 0.6}},
          {"Sufficiente", {1.2, 0.4, 1.2}},
          {"Discreto", {1.8, 0.6, 1.8}},
          {"Buono", {2.4, 0.8, 2.4}},
          {"Ottimo", {3, 1, 3}}},
         "Ordinario"},
    };
    return cases;
}

const struct {
    Zone zone;
    const char *name;
} kZones[] = {{Zone::Centrale, "central"}, {Zone::Intermedia, "intermediate"}, {Zone::Periferica, "peripheral"}};

double pick(const ZoneTriple &t, Zone zone)
{
    return zone == Zone::Centrale ? t.central : zone == Zone::Intermedia ? t.intermediate : t.peripheral;
}

Coefficients untouched(Coef id)
{
    Coefficients c;
    c[id] = kUntouched;
    return c;
}

ComparableRow comparable(const QString &loc, const QString &pos, const QString &typ, const QString &prod,
                         const QString &unitCost)
{
    ComparableRow r;
    r.IndirizzoImmob = QStringLiteral("Via Roma");
    r.CdCarattLocalizzaz = loc;
    r.CdCarattPosizione = pos;
    r.CdCarattTipologiche = typ;
    r.CdCarattProduttive = prod;
    r.CostoUnitario = unitCost;
    return r;
}

// x = 50, cost 1.000.000 and x = 60, cost 1.200.000: the line is 20.000 × x.
QList<ComparableRow> twoComparables()
{
    return {comparable("10,00", "15,00", "15,00", "10,00", "1.000.000,00"),
            comparable("12,00", "18,00", "15,00", "15,00", "1.200.000,00")};
}

} // namespace

class TestComparison : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void items_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<QString>("judgment");
        QTest::addColumn<Zone>("zone");
        QTest::addColumn<double>("expected");
        const auto &cases = itemCases();
        for (int i = 0; i < cases.size(); ++i) {
            const ItemCase &k = cases.at(i);
            for (const auto &row : k.rows) {
                for (const auto &z : kZones)
                    QTest::addRow("%s: %s, %s", k.name, qPrintable(row.first), z.name)
                        << i << row.first << z.zone << pick(row.second, z.zone);
                QTest::addRow("%s: %s, no zone keeps it", k.name, qPrintable(row.first))
                    << i << row.first << Zone::None << kUntouched;
            }
            for (const auto &z : kZones)
                QTest::addRow("%s: empty, %s", k.name, z.name) << i << QString() << z.zone << 0.0;
            QTest::addRow("%s: empty, no zone", k.name) << i << QString() << Zone::None << 0.0;
            QTest::addRow("%s: %s has no row", k.name, qPrintable(k.textWithoutRow))
                << i << k.textWithoutRow << Zone::Centrale << kUntouched;
        }
    }
    void items()
    {
        QFETCH(int, op);
        QFETCH(QString, judgment);
        QFETCH(Zone, zone);
        QFETCH(double, expected);
        const ItemCase &k = itemCases().at(op);
        Coefficients c = untouched(k.id);
        k.op(judgment, zone, c);
        QCOMPARE(c[k.id], expected);
        Coefficients others = c;
        others[k.id] = kUntouched;
        QCOMPARE(others, untouched(k.id));
    }

    void floorHeight_data()
    {
        QTest::addColumn<QString>("floor");
        QTest::addColumn<QString>("buildingType");
        QTest::addColumn<Zone>("zone");
        QTest::addColumn<double>("expected");
        const QString multi = QStringLiteral("Edificio plurifamiliare");
        const QList<QPair<QString, ZoneTriple>> rows = {
            {"Piano terra", {0, 0, 0}},          {"Primo piano", {0.27, 0.27, 0.4}},
            {"Piano intermedio", {0.54, 0.54, 0.8}}, {"Ultimo piano", {0.81, 0.81, 1.2}},
            {"Piano attico", {1.08, 1.08, 1.6}},
        };
        for (const auto &row : rows) {
            for (const auto &z : kZones)
                QTest::addRow("%s, %s", qPrintable(row.first), z.name)
                    << row.first << multi << z.zone << pick(row.second, z.zone);
            QTest::addRow("%s, detached house", qPrintable(row.first))
                << row.first << "Edificio unifamiliare" << Zone::Periferica << 0.0;
        }
        QTest::newRow("terraced house, no zone") << "Piano attico" << "Edificio a schiera" << Zone::None << 0.0;
        QTest::newRow("multi-family, no zone keeps it") << "Piano attico" << multi << Zone::None << kUntouched;
        QTest::newRow("empty floor") << "" << multi << Zone::Centrale << 0.0;
        QTest::newRow("unknown floor keeps it") << "Soppalco" << multi << Zone::Centrale << kUntouched;
    }
    void floorHeight()
    {
        QFETCH(QString, floor);
        QFETCH(QString, buildingType);
        QFETCH(Zone, zone);
        QFETCH(double, expected);
        Coefficients c = untouched(Coef::CDQuotaDaPianoStrad);
        CalcolaCDQuotaRispettoPianoStradale(floor, buildingType, zone, c);
        QCOMPARE(c[Coef::CDQuotaDaPianoStrad], expected);
    }

    void buildingAge_data()
    {
        QTest::addColumn<QString>("age");
        QTest::addColumn<Zone>("zone");
        QTest::addColumn<double>("expected");
        // Central and peripheral share one column.
        const double outer[] = {4.0, 4.0, 3.8, 3.6, 3.4, 3.2, 3.05, 2.9, 2.75, 2.6, 2.45, 2.3, 2.15, 2.0, 1.85, 1.7, 1.6,
                                1.5, 1.4, 1.3, 1.2, 1.1, 1.0, 0.9, 0.8, 0.7, 0.6, 0.5, 0.4, 0.3, 0.2, 0.1, 0, 0};
        const double middle[] = {1.32, 1.32, 1.25, 1.18, 1.11, 1.04, 0.99, 0.94, 0.89, 0.84, 0.79, 0.74,
                                 0.69, 0.64, 0.59, 0.54, 0.51, 0.48, 0.45, 0.42, 0.39, 0.36, 0.33, 0.3,
                                 0.27, 0.24, 0.21, 0.18, 0.15, 0.12, 0.09, 0.06, 0.03, 0};
        static_assert(std::size(outer) == 34 && std::size(middle) == 34);
        for (int a = 0; a < 34; ++a) {
            const QString text = QString::number(a) + QStringLiteral(" anni");
            for (const auto &z : kZones)
                QTest::addRow("%d years, %s", a, z.name)
                    << text << z.zone << (z.zone == Zone::Intermedia ? middle[a] : outer[a]);
        }
        QTest::newRow("1 anno, central") << "1 anno" << Zone::Centrale << 4.0;
        QTest::newRow("70 years, intermediate") << "70 anni" << Zone::Intermedia << 0.0;
        QTest::newRow("0,5 years keeps it") << "0,5 anni" << Zone::Centrale << kUntouched;
        QTest::newRow("32,5 years keeps it") << "32,5 anni" << Zone::Intermedia << kUntouched;
        QTest::newRow("33,5 years: 33 and over") << "33,5 anni" << Zone::Intermedia << 0.0;
        QTest::newRow("no zone keeps it") << "10 anni" << Zone::None << kUntouched;
        QTest::newRow("empty, no zone") << "" << Zone::None << 0.0;
    }
    void buildingAge()
    {
        QFETCH(QString, age);
        QFETCH(Zone, zone);
        QFETCH(double, expected);
        Coefficients c = untouched(Coef::CDVetustaEdificio);
        CalcolaCDVetustaEdificio(age, zone, c);
        QCOMPARE(c[Coef::CDVetustaEdificio], expected);
    }

    // An age without a number is a conversion failure, not a missing age.
    void buildingAgeWithoutNumber()
    {
        Coefficients c = untouched(Coef::CDVetustaEdificio);
        QVERIFY_THROWS_EXCEPTION(ConversionError, CalcolaCDVetustaEdificio(QStringLiteral("n.d."), Zone::Centrale, c));
        QCOMPARE(c[Coef::CDVetustaEdificio], kUntouched);
    }

    void productive_data()
    {
        QTest::addColumn<QString>("surface");
        QTest::addColumn<Zone>("zone");
        QTest::addColumn<double>("expected");
        const struct {
            const char *inside;
            const char *above; // just past the band's upper bound
            ZoneTriple values;
        } bands[] = {
            {"40", nullptr, {35, 22.75, 19.5}},        {"40,01", "60", {35, 21, 18}},
            {"60,01", "80", {33, 19.25, 16.5}},         {"80,01", "90", {31.5, 18.37, 15.75}},
            {"90,01", "120", {30, 17.5, 15}},           {"120,01", "150", {28.5, 16.63, 14.25}},
            {"150,01", "180", {27.75, 16.19, 13.87}},   {"180,5", "5000", {27, 15.75, 13.5}},
        };
        for (const auto &band : bands) {
            for (const auto &z : kZones) {
                QTest::addRow("%s m², %s", band.inside, z.name)
                    << QString::fromLatin1(band.inside) << z.zone << pick(band.values, z.zone);
                if (band.above)
                    QTest::addRow("%s m², %s", band.above, z.name)
                        << QString::fromLatin1(band.above) << z.zone << pick(band.values, z.zone);
            }
        }
        QTest::newRow("empty, no zone") << "" << Zone::None << 0.0;
        QTest::newRow("no zone keeps it") << "100" << Zone::None << kUntouched;
        QTest::newRow("not plain keeps it") << "100 mq" << Zone::Centrale << kUntouched;
    }
    void productive()
    {
        QFETCH(QString, surface);
        QFETCH(Zone, zone);
        QFETCH(double, expected);
        Coefficients c = untouched(Coef::CDCarattProduttive);
        CalcolaCDCaratteristProduttive(surface, zone, c);
        QCOMPARE(c[Coef::CDCarattProduttive], expected);
    }

    void localisation_data()
    {
        QTest::addColumn<Zone>("zone");
        QTest::addColumn<double>("facilities");
        QTest::addColumn<double>("others"); // spread over the other eight
        QTest::addColumn<double>("expected");
        QTest::newRow("central, L = 0.28") << Zone::Centrale << 0.28 << 0.0 << 5 + 0.54 * 5 / 1.64;
        QTest::newRow("intermediate, L = 0.28") << Zone::Intermedia << 0.28 << 0.0 << 10 + 0.54 * 20 / 1.64;
        QTest::newRow("peripheral, L = 0.28") << Zone::Periferica << 0.28 << 0.0 << 15 + 0.54 * 20 / 1.64;
        QTest::newRow("central, L = 0.82 gives the low end") << Zone::Centrale << 0.28 << 0.54 << 5.0;
        QTest::newRow("peripheral, L = -0.82 gives the high end") << Zone::Periferica << -0.29 << -0.53 << 35.0;
        QTest::newRow("central, beyond the range") << Zone::Centrale << -0.29 << -2.35 << 5 + 3.46 * 5 / 1.64;
        QTest::newRow("no zone") << Zone::None << 0.28 << 0.0 << 0.0;
    }
    void localisation()
    {
        QFETCH(Zone, zone);
        QFETCH(double, facilities);
        QFETCH(double, others);
        QFETCH(double, expected);
        Coefficients c;
        c[Coef::CIAttrezzCollett] = facilities;
        c[Coef::CIDisponibParcheggi] = others;
        // Not one of the nine: must not count.
        c[Coef::CILuminosita] = 0.46;
        c[Coef::CICarattProduttive] = 0.74;
        CalcolaCDCaratteristLocalizzaz(zone, c);
        QCOMPARE(c[Coef::CDCarattLocalizzaz], expected);
    }

    void groupsWithNothingJudged_data()
    {
        QTest::addColumn<Zone>("zone");
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("typological");
        QTest::newRow("central") << Zone::Centrale << 15.0 << 15.0;
        QTest::newRow("intermediate") << Zone::Intermedia << 10.0 << 20.0;
        QTest::newRow("peripheral") << Zone::Periferica << 10.0 << 5.0;
    }
    void groupsWithNothingJudged()
    {
        QFETCH(Zone, zone);
        QFETCH(double, position);
        QFETCH(double, typological);
        Characteristics in;
        in.zone = zone;
        Coefficients c;
        c[Coef::CDLuminosita] = 1.0;       // empty judgments bring the items to 0
        c[Coef::CDVetustaEdificio] = 2.0;
        CalcolaCDCaratteristPosizione(in, c);
        CalcolaCDCaratteristTipologiche(in, c);
        QCOMPARE(c[Coef::CDCarattPosizione], position);
        QCOMPARE(c[Coef::CDCarattTipologiche], typological);
        QCOMPARE(c[Coef::CDLuminosita], 0.0);
        QCOMPARE(c[Coef::CDVetustaEdificio], 0.0);
    }

    void groupsAddTheirItems()
    {
        Characteristics in;
        in.zone = Zone::Periferica;
        in.Luminosita = QStringLiteral("Buona");            // 1.53
        in.Panoramicita = QStringLiteral("Ottima");         // 7.28
        in.Esposizione = QStringLiteral("Insufficiente");   // 0.51
        in.Prospicienza = QStringLiteral("Sufficiente");    // 1.02
        in.QuotaDaPianoStrad = QStringLiteral("Primo piano");
        in.TipologEdiliziaImmob = QStringLiteral("Edificio plurifamiliare"); // 0.4
        in.GradoRifinitInt = QStringLiteral("Scarso");      // 0
        in.GradoRifinitExt = QStringLiteral("Ottimo");      // 1.6: the exterior judgment, not the interior
        in.StatoConservInt = QStringLiteral("Discreto");    // 1.44
        in.StatoConservExt = QStringLiteral("Buono");       // 1.8
        in.LivImpiantiTecnol = QStringLiteral("Ottimo");    // 3
        in.EtaEdificioImmob = QStringLiteral("12 anni");    // 2.15
        Coefficients c;
        CalcolaCDCaratteristPosizione(in, c);
        CalcolaCDCaratteristTipologiche(in, c);
        QCOMPARE(c[Coef::CDCarattPosizione], 10 + 1.53 + 7.28 + 0.51 + 1.02 + 0.4);
        QCOMPARE(c[Coef::CDGradoRifinEsterno], 1.6);
        QCOMPARE(c[Coef::CDCarattTipologiche], 5 + 0.0 + 1.6 + 1.44 + 1.8 + 3.0 + 2.15);
    }

    void groupsWithoutZone()
    {
        // No zone: base 0 and the items as last computed.
        Characteristics in;
        in.Luminosita = QStringLiteral("Buona");
        in.StatoConservInt = QStringLiteral("Buono");
        Coefficients c;
        c[Coef::CDLuminosita] = 1.02;
        c[Coef::CDPanoramicita] = 3.0; // empty judgment: back to 0
        c[Coef::CDStatoConservazInt] = 0.64;
        CalcolaCDCaratteristPosizione(in, c);
        CalcolaCDCaratteristTipologiche(in, c);
        QCOMPARE(c[Coef::CDCarattPosizione], 1.02);
        QCOMPARE(c[Coef::CDCarattTipologiche], 0.64);
    }

    void completeComparable_data()
    {
        QTest::addColumn<int>("emptied"); // column index, -1 for none
        QTest::addColumn<bool>("complete");
        QTest::newRow("all filled") << -1 << true;
        QTest::newRow("no address") << 0 << true;
        QTest::newRow("no surface") << 4 << true;
        QTest::newRow("no localisation") << 5 << false;
        QTest::newRow("no position") << 6 << false;
        QTest::newRow("no typological") << 7 << false;
        QTest::newRow("no productive") << 8 << false;
        QTest::newRow("no unit cost") << 9 << false;
        QTest::newRow("no total cost") << 10 << true;
    }
    void completeComparable()
    {
        QFETCH(int, emptied);
        QFETCH(bool, complete);
        QStringList columns;
        for (int i = 0; i < kComparableColumnCount; ++i)
            columns << QStringLiteral("%1,00").arg(i + 1);
        if (emptied >= 0)
            columns[emptied].clear();
        const ComparableRow row = ComparableRow::fromColumns(columns);
        QCOMPARE(row.columns(), columns);
        QCOMPARE(isCompleteComparable(row), complete);
    }

    void columnsInLayoutOrder()
    {
        const ComparableRow row = ComparableRow::fromColumns({"Via Roma", "3", "2", "A", "85,25", "6,50", "15,00",
                                                              "16,00", "30,00", "1.000,00", "85.250,00", "1000",
                                                              "85250"});
        QCOMPARE(row.SupCommercImmob, QStringLiteral("85,25"));
        QCOMPARE(row.CdCarattLocalizzaz, QStringLiteral("6,50"));
        QCOMPARE(row.CdCarattProduttive, QStringLiteral("30,00"));
        QCOMPARE(row.CostoUnitario, QStringLiteral("1.000,00"));
        QCOMPARE(row.Servizio2, QStringLiteral("85250"));
        QCOMPARE(ComparableRow::fromColumns({"Via Roma"}).Servizio2, QString());
    }

    void fit_data()
    {
        QTest::addColumn<QList<ComparableRow>>("rows");
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("surface");
        QTest::addColumn<int>("used");
        QTest::addColumn<FieldUpdate::Action>("action");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("note");
        using A = FieldUpdate::Action;
        const QString unsupported =
            QStringLiteral("Comparazione diretta: gli immobili di confronto non consentono di stimare un valore.");
        QTest::newRow("two comparables, read between them")
            << twoComparables() << 55.0 << "100" << 2 << A::Write << "1.100.000,00" << "110.000.000,00" << "";
        QList<ComparableRow> withIncomplete = twoComparables();
        withIncomplete.insert(1, comparable("1,00", "1,00", "1,00", "1,00", ""));
        withIncomplete.append(comparable("", "90,00", "1,00", "1,00", "5,00"));
        QTest::newRow("incomplete rows do not count, and are told")
            << withIncomplete << 55.0 << "100" << 2 << A::Write << "1.100.000,00" << "110.000.000,00"
            << "Comparazione diretta: valore calcolato su 2 dei 4 immobili di confronto; gli altri sono incompleti.";
        QList<ComparableRow> oneIncomplete = twoComparables();
        oneIncomplete.append(comparable("1,00", "1,00", "1,00", "1,00", ""));
        QTest::newRow("one incomplete row")
            << oneIncomplete << 55.0 << "100" << 2 << A::Write << "1.100.000,00" << "110.000.000,00"
            << "Comparazione diretta: valore calcolato su 2 dei 3 immobili di confronto; l'altro è incompleto.";
        // x = 55 + 2^-16 puts v at 1.100.000,305…: truncating v before the
        // product would give 11.000.000,00.
        QTest::newRow("truncated unit, total from the untruncated value")
            << twoComparables() << 55.0000152587890625 << "10" << 2 << A::Write << "1.100.000,00"
            << "11.000.003,00" << "";
        QTest::newRow("single comparable, far from it")
            << QList<ComparableRow>{comparable("10,00", "15,00", "15,00", "10,00", "1.234.567,89")} << 80.0 << "10"
            << 1 << A::Write << "1.234.567,00" << "12.345.678,00" << "";
        QTest::newRow("no complete comparable")
            << QList<ComparableRow>{comparable("10,00", "", "15,00", "10,00", "1.000,00")} << 80.0 << "10" << 0
            << A::Write << "0,00" << "0,00" << "Comparazione diretta: l'immobile di confronto è incompleto.";
        QTest::newRow("none of three complete")
            << QList<ComparableRow>{comparable("", "1", "1", "1", "1"), comparable("1", "", "1", "1", "1"),
                                    comparable("1", "1", "1", "1", "")}
            << 80.0 << "10" << 0 << A::Write << "0,00" << "0,00"
            << "Comparazione diretta: nessuno dei 3 immobili di confronto è completo.";
        QTest::newRow("no rows") << QList<ComparableRow>{} << 80.0 << "10" << 0 << A::Write << "0,00" << "0,00" << "";
        QTest::newRow("empty surface leaves both")
            << withIncomplete << 55.0 << "" << 2 << A::Leave << "" << "" << "";
        // A market value below 0 is no market value.
        QTest::newRow("line below 0 short of the comparables")
            << twoComparables() << -5.0 << "100" << 2 << A::Clear << "" << "" << unsupported;
        QTest::newRow("falling line below 0 past them")
            << QList<ComparableRow>{comparable("10,00", "15,00", "15,00", "10,00", "1.000.000,00"),
                                    comparable("12,00", "18,00", "15,00", "15,00", "400.000,00")}
            << 70.0 << "100" << 2 << A::Clear << "" << "" << unsupported;
        QTest::newRow("falling line still above 0")
            << QList<ComparableRow>{comparable("10,00", "15,00", "15,00", "10,00", "1.000.000,00"),
                                    comparable("12,00", "18,00", "15,00", "15,00", "400.000,00")}
            << 65.0 << "100" << 2 << A::Write << "100.000,00" << "10.000.000,00" << "";
    }
    void fit()
    {
        QFETCH(QList<ComparableRow>, rows);
        QFETCH(double, x);
        QFETCH(QString, surface);
        QFETCH(int, used);
        QFETCH(FieldUpdate::Action, action);
        QFETCH(QString, unit);
        QFETCH(QString, total);
        QFETCH(QString, note);
        const DirectComparison r = fitComparables(rows, x, surface);
        QCOMPARE(r.comparables, used);
        QCOMPARE(r.unit.action, action);
        QCOMPARE(r.total.action, action);
        QCOMPARE(r.unit.text, unit);
        QCOMPARE(r.total.text, total);
        QCOMPARE(comparisonNote(r), note);
    }

    // A complete comparable whose numbers are not numbers stops the fit: a
    // value from the other rows would be shown as if it came from all.
    void unreadableComparable_data()
    {
        QTest::addColumn<int>("field"); // column of the third row that holds "n.d."
        QTest::newRow("unit cost") << 9;
        QTest::newRow("localisation") << 5;
        QTest::newRow("productive") << 8;
    }
    void unreadableComparable()
    {
        QFETCH(int, field);
        QList<ComparableRow> rows = twoComparables();
        QStringList third = comparable("11,00", "16,00", "15,00", "12,00", "1.100.000,00").columns();
        third[field] = QStringLiteral("n.d.");
        rows.append(ComparableRow::fromColumns(third));
        QVERIFY(isCompleteComparable(rows.last()));
        QVERIFY_THROWS_EXCEPTION(ConversionError, fitComparables(rows, 55.0, QStringLiteral("100")));

        Characteristics in;
        in.zone = Zone::Centrale;
        in.SupCommercImmob = QStringLiteral("100");
        Coefficients c;
        c[Coef::CDCarattPosizione] = kUntouched;
        const Coefficients before = c;
        QVERIFY_THROWS_EXCEPTION(ConversionError, CalcolaCDValoreMercato(in, rows, c));
        QCOMPARE(c, before);
    }

    void valueByComparison()
    {
        // Central zone, nothing judged, the capitalisation left facilities 0.28:
        // X = 6.646… + 15 + 15 + 30 (100 m²).
        Characteristics in;
        in.zone = Zone::Centrale;
        in.SupCommercImmob = QStringLiteral("100");
        Coefficients c;
        c[Coef::CIAttrezzCollett] = 0.28;
        const DirectComparison r = CalcolaCDValoreMercato(in, twoComparables(), c);
        const double localisation = 5 + 0.54 * 5 / 1.64;
        QCOMPARE(c[Coef::CDCarattLocalizzaz], localisation);
        QCOMPARE(c[Coef::CDCarattPosizione], 15.0);
        QCOMPARE(c[Coef::CDCarattTipologiche], 15.0);
        QCOMPARE(c[Coef::CDCarattProduttive], 30.0);
        QCOMPARE(r.x, localisation + 15 + 15 + 30);
        // 20.000 × 66.646… = 1.332.926,8…
        QCOMPARE(r.unit, FieldUpdate::write(QStringLiteral("1.332.926,00")));
        QCOMPARE(r.total, FieldUpdate::write(QStringLiteral("133.292.682,00")));
    }

    void valueByComparisonWithoutSurface()
    {
        Characteristics in;
        in.zone = Zone::Intermedia;
        Coefficients c;
        c[Coef::CDCarattProduttive] = 4.0;
        const DirectComparison r = CalcolaCDValoreMercato(in, twoComparables(), c);
        QCOMPARE(c[Coef::CDCarattProduttive], 0.0);
        QCOMPARE(r.unit.applied(QStringLiteral("5,00")), QStringLiteral("5,00"));
        QCOMPARE(r.total.applied(QStringLiteral("500,00")), QStringLiteral("500,00"));
    }

    void comparableHints_data()
    {
        QTest::addColumn<QString>("currency");
        QTest::addColumn<QString>("unitCost");
        QTest::addColumn<QString>("totalCost");
        QTest::newRow("Lire") << kLire << "|Costo unitario dell'immobile di confronto corrente in Lire/mq."
                              << "|Costo complessivo dell'immobile di confronto corrente in Lire.";
        QTest::newRow("Euro") << kEuro << "|Costo unitario dell'immobile di confronto corrente in Euro/mq."
                              << "|Costo complessivo dell'immobile di confronto corrente in Euro.";
    }
    void comparableHints()
    {
        QFETCH(QString, currency);
        QFETCH(QString, unitCost);
        QFETCH(QString, totalCost);
        const ComparableHints h = SetHintImmobiliConfronto(currency);
        QCOMPARE(h.unitCost, unitCost);
        QCOMPARE(h.totalCost, totalCost);
    }
};

QTEST_GUILESS_MAIN(TestComparison)
#include "tst_comparison.moc"
