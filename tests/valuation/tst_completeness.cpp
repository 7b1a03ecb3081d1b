// SPDX-License-Identifier: GPL-2.0-or-later
#include "valuation/completeness.h"

#include <QTest>

using namespace brevan;

Q_DECLARE_METATYPE(Light)

namespace {

// "name=text" sets a text (a lone name sets "x"), "+name" sets a tick.
PageContents contents(const QStringList &items)
{
    PageContents c;
    for (const QString &item : items) {
        if (item.startsWith(QLatin1Char('+'))) {
            c.ticks.insert(item.mid(1), true);
        } else {
            const int eq = item.indexOf(QLatin1Char('='));
            c.texts.insert(eq < 0 ? item : item.left(eq), eq < 0 ? QStringLiteral("x") : item.mid(eq + 1));
        }
    }
    return c;
}

const QStringList kAppraiserRequired{"TelefonoProfess", "CognomeProfess", "NomeProfess", "CodiceFiscaleProfess",
                                     "IndirizzoProfess", "NumCivicoProfess", "ProvinciaProfess", "ComuneProfess",
                                     "SiglaProvinciaProfess", "CAPProfess"};
const QStringList kDescriptionRequired{"ComuneImmob", "CAPImmob", "ProvinciaImmob", "SiglaProvinciaImmob",
                                       "IndirizzoImmob", "NumCivicoImmob", "TipologEdiliziaImmob", "TotPianiImmob",
                                       "PianoImmob", "AnnoCostruzImmob", "EtaEdificioImmob", "FoglioCatastImmob",
                                       "MappaleCatastImmob", "SubCatastImmob", "CategCatastImmob",
                                       "ClasseCatastImmob"};
const QStringList kTypologyJudgments{"Luminosita", "Panoramicita", "Esposizione", "Prospicienza", "StatoConservInt",
                                     "StatoConservExt", "GradoRifinitInt", "GradoRifinitExt", "PresImpiantiTecnol",
                                     "LivImpiantiTecnol"};
const QStringList kLocalisationTexts{"ZonaUrbanaImmob", "SaggioMedioImmob", "DistanzaViaPrincip",
                                     "ServTraspPubblico", "QualifAmbienteExt", "IdoneitaInsediat",
                                     "MiglioramAmbiente"};
const QStringList kPositionTexts{"InquinamAmbiente", "VerdePubblico", "DisponibAreeSosta", "QuotaDaPianoStrad",
                                 "SuperfAccessorie"};
const QStringList kIncome{"CanoneLocazUnit", "NumCauzioni", "SaggioCommerciale", "SaggioLegale",
                          "RedditoLordoAnnuo", "SpeseManutenzione", "SpeseAmministraz", "AleeSfitti",
                          "SpeseAssicurazioni", "AliquoteAmmortam", "AliquoteTasse", "RedditoNettoAnnuo"};
const QStringList kResults{"CostoUnitario", "CostoComplessivo", "CICostoUnitario", "CICostoComplessivo"};

QStringList without(QStringList list, const QString &name)
{
    list.removeAll(name);
    return list;
}

} // namespace

class TestCompleteness : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lights_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("node");
        QTest::addColumn<Light>("light");
        QTest::newRow("nothing: appraiser red") << QStringList{} << 1 << Light::Red;
        QTest::newRow("only e-mail: yellow") << QStringList{"EMailProfess"} << 1 << Light::Yellow;
        QTest::newRow("ten required: green") << kAppraiserRequired << 1 << Light::Green;
        QTest::newRow("nine required: yellow") << without(kAppraiserRequired, "CAPProfess") << 1 << Light::Yellow;
        QTest::newRow("a single blank counts") << QStringList{"FaxProfess= "} << 1 << Light::Yellow;
        QTest::newRow("description: date alone is red") << QStringList{"DataStimaImmob=10/12/2026"} << 2 << Light::Red;
        QTest::newRow("description green without interno and consistenza")
            << kDescriptionRequired << 2 << Light::Green;
        QTest::newRow("description: interno only is yellow") << QStringList{"InternoImmob"} << 2 << Light::Yellow;
        QTest::newRow("typology: a tick alone is yellow") << QStringList{"+Portineria"} << 9 << Light::Yellow;
        QTest::newRow("typology: judgments without ticks green") << kTypologyJudgments << 9 << Light::Green;
        QTest::newRow("localisation: options alone yellow")
            << QStringList{"+MedieDimensImmob", "+ZonaCentrImmob"} << 7 << Light::Yellow;
        QTest::newRow("localisation: texts without options yellow") << kLocalisationTexts << 7 << Light::Yellow;
        QTest::newRow("localisation: texts and one of each trio green")
            << (kLocalisationTexts + QStringList{"+GrandiDimensImmob", "+ZonaPeriferImmob"}) << 7 << Light::Green;
        QTest::newRow("localisation: only town size and texts yellow")
            << (kLocalisationTexts + QStringList{"+GrandiDimensImmob"}) << 7 << Light::Yellow;
        QTest::newRow("position: amenity tick yellow") << QStringList{"+Supermercati"} << 8 << Light::Yellow;
        QTest::newRow("position: five judgments green") << kPositionTexts << 8 << Light::Green;
        QTest::newRow("income: all twelve green") << kIncome << 10 << Light::Green;
        QTest::newRow("income: net missing yellow") << without(kIncome, "RedditoNettoAnnuo") << 10 << Light::Yellow;
        QTest::newRow("results: all four green") << kResults << 12 << Light::Green;
        QTest::newRow("results: one yellow") << QStringList{"CostoUnitario"} << 12 << Light::Yellow;
        QTest::newRow("surfaces: useful exactly 0 is red") << QStringList{"SupUtileImmob=0"} << 6 << Light::Red;
        QTest::newRow("surfaces: commercial set is green") << QStringList{"SupCommercImmob=85,5"} << 6 << Light::Green;
        QTest::newRow("surfaces: 0,0 is not the text 0") << QStringList{"SupUtileImmob=0,0"} << 6 << Light::Green;
    }
    void lights()
    {
        QFETCH(QStringList, items);
        QFETCH(int, node);
        QFETCH(Light, light);
        QCOMPARE(evaluateLights(contents(items))[size_t(node - 1)], light);
    }

    void picturesAndComparables()
    {
        PageContents c;
        auto l = evaluateLights(c);
        for (Light x : l)
            QCOMPARE(x, Light::Red);
        c.areaPlan = true;
        c.comparableRows = 2;
        c.comparablesAllComplete = false;
        l = evaluateLights(c);
        QCOMPARE(l[2], Light::Red);
        QCOMPARE(l[3], Light::Green);
        QCOMPARE(l[4], Light::Red);
        QCOMPARE(l[10], Light::Yellow);
        c.comparablesAllComplete = true;
        QCOMPARE(evaluateLights(c)[10], Light::Green);
    }
};

QTEST_GUILESS_MAIN(TestCompleteness)
#include "tst_completeness.moc"
