// SPDX-License-Identifier: GPL-2.0-or-later
// The summary builder, section by section, in its three forms.
#include "model/numbertext.h"
#include "report/summary.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using namespace brevan;
using namespace brevan::report;

namespace {

constexpr SummaryForm kForms[] = {SummaryForm::Screen, SummaryForm::Export, SummaryForm::Print};

QString tabs(int n)
{
    return QString(n, QLatin1Char('\t'));
}

QStringList texts(const SummaryLines &lines)
{
    QStringList out;
    for (const SummaryLine &l : lines)
        out << l.text;
    return out;
}

QStringList headings(const SummaryLines &lines)
{
    QStringList out;
    for (const SummaryLine &l : lines) {
        if (l.style == SummaryLine::Style::Heading)
            out << l.text;
    }
    return out;
}

// Lines of one section: from its heading to the next heading (or the end).
QStringList section(const SummaryLines &lines, const QString &heading)
{
    QStringList out;
    bool inside = false;
    for (const SummaryLine &l : lines) {
        if (l.style == SummaryLine::Style::Heading) {
            if (inside)
                break;
            inside = l.text == heading;
        }
        if (inside)
            out << l.text;
    }
    return out;
}

void lightNode(SummaryInput &in, int node, Light light = Light::Yellow)
{
    in.lights[std::size_t(node - 1)] = light;
}

bool anyLineStartsWith(const SummaryLines &lines, const QString &prefix)
{
    for (const SummaryLine &l : lines) {
        if (l.text.startsWith(prefix))
            return true;
    }
    return false;
}

void applyTexts(SummaryInput &in, const QStringList &assignments)
{
    for (const QString &a : assignments) {
        const int eq = a.indexOf(QLatin1Char('='));
        in.texts.insert(a.left(eq), a.mid(eq + 1));
    }
}

QHash<QString, QString> comparable(const QString &address, const QString &number, const QString &floor,
                                   const QString &flat)
{
    return {{QStringLiteral("IndirizzoImmob"), address},
            {QStringLiteral("NumCivicoImmob"), number},
            {QStringLiteral("PianoImmob"), floor},
            {QStringLiteral("InternoImmob"), flat}};
}

const QStringList kAllHeadings = {
    QStringLiteral("Generalità del professionista."),  QStringLiteral("Descrizione unità immobiliare."),
    QStringLiteral("Descrizione delle superfici."),     QStringLiteral("Calcolo delle superfici."),
    QStringLiteral("Caratteristiche di localizzazione."), QStringLiteral("Caratteristiche di posizione."),
    QStringLiteral("Caratteristiche tipologiche."),     QStringLiteral("Caratteristiche produttive."),
    QStringLiteral("Immobili di confronto."),           QStringLiteral("Parametri di confronto."),
    QStringLiteral("Risultati della stima."),
};

} // namespace

class TestSummary : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // One row per labelled line of the sections that show page fields: the
    // line appears once, with its own tab count in each form; it disappears
    // when any of its fields is emptied or its tick cleared, and with its
    // page's light red when that light decides the section.
    void labelledLine_data()
    {
        QTest::addColumn<int>("node");
        QTest::addColumn<bool>("lightMatters");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QList<int>>("tabCounts");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("printValue");

        auto row = [](const char *name, int node, QStringList fields, QStringList ticks, const char *label,
                      QList<int> n, const QString &value, const QString &printValue = QString()) {
            const bool lightMatters = node != 0;
            QTest::newRow(name) << node << lightMatters << fields << ticks << QString::fromUtf8(label) << n << value
                                << (printValue.isNull() ? value : printValue);
        };
        // Section 1
        row("appraiser name", 1, {"CognomeProfess=Rossi", "NomeProfess=Mario"}, {}, "Cognome e Nome: ", {3, 5, 4},
            "Rossi Mario");
        row("appraiser tax code", 1, {"CodiceFiscaleProfess=RSSMRA80A01B354K"}, {}, "Codice fiscale: ", {3, 5, 5},
            "RSSMRA80A01B354K");
        row("appraiser profession", 1, {"ProfessioneProfess=Ingegnere"}, {}, "Professione: ", {3, 6, 5}, "Ingegnere");
        row("appraiser register", 1, {"NumIscrizAlboProfess=4521"}, {}, "Numero di iscrizione all'Albo: ", {2, 3, 3},
            "4521");
        row("appraiser VAT", 1, {"PartitaIvaProfess=01234567890"}, {}, "Partita IVA: ", {3, 6, 5}, "01234567890");
        row("appraiser firm", 1, {"SocietaProfess=Studio Rossi"}, {}, "Società/Studio: ", {3, 5, 5}, "Studio Rossi");
        row("appraiser address", 1, {"IndirizzoProfess=Via Roma", "NumCivicoProfess=12"}, {}, "Indirizzo: ",
            {4, 6, 6}, "Via Roma, 12");
        row("appraiser town", 1, {"ComuneProfess=Cagliari", "CAPProfess=09100", "SiglaProvinciaProfess=CA"}, {},
            "Comune: ", {4, 6, 6}, "Cagliari - 09100 - CA");
        row("appraiser phone", 1, {"TelefonoProfess=070 123456"}, {}, "Telefono: ", {3, 6, 6}, "070 123456");
        row("appraiser fax", 1, {"FaxProfess=070 654321"}, {}, "Fax: ", {4, 7, 6}, "070 654321");
        row("appraiser mobile", 1, {"CellulareProfess=333 1234567"}, {}, "Cellulare: ", {4, 6, 6}, "333 1234567");
        row("appraiser e-mail", 1, {"EMailProfess=rossi@example.it"}, {}, "E-mail: ", {4, 6, 6}, "rossi@example.it");
        // Section 2
        row("unit address", 2, {"IndirizzoImmob=Via Dante", "NumCivicoImmob=7"}, {}, "Indirizzo: ", {4, 6, 6},
            "Via Dante, 7");
        row("unit town", 2, {"ComuneImmob=Sassari", "CAPImmob=07100", "SiglaProvinciaImmob=SS"}, {}, "Comune: ",
            {4, 6, 6}, "Sassari - 07100 - SS");
        row("building type", 2, {"TipologEdiliziaImmob=Villino"}, {}, "Tipologia edilizia: ", {3, 5, 4}, "Villino");
        row("floors", 2, {"TotPianiImmob=5"}, {}, "Totale piani: ", {3, 6, 5}, "5");
        row("floor", 2, {"PianoImmob=3"}, {}, "Piano: ", {4, 6, 6}, "3°", "3");
        row("flat", 2, {"InternoImmob=4B"}, {}, "Interno: ", {4, 6, 6}, "4B");
        row("sheet", 2, {"FoglioCatastImmob=12"}, {}, "Foglio catastale: ", {3, 5, 5}, "12");
        row("parcel", 2, {"MappaleCatastImmob=345"}, {}, "Mappale catastale: ", {3, 5, 4}, "345");
        row("subordinate", 2, {"SubCatastImmob=6"}, {}, "Subalterno: ", {3, 6, 5}, "6");
        row("category", 2, {"CategCatastImmob=A/2"}, {}, "Categoria: ", {3, 6, 5}, "A/2");
        row("class", 2, {"ClasseCatastImmob=3"}, {}, "Classe: ", {4, 6, 6}, "3");
        row("size", 2, {"ConsistCatastImmob=5,5"}, {}, "Consistenza: ", {3, 5, 5}, "5,5");
        // Section 5
        row("town size", 7, {}, {"GrandiDimensImmob"}, "Dimensioni del centro urbano: ", {1, 3, 3},
            "grandi dimensioni");
        row("zone", 7, {}, {"ZonaIntermImmob"}, "Ubicazione rispetto al centro urbano: ", {1, 2, 2},
            "zona intermedia");
        row("urban zone", 7, {"ZonaUrbanaImmob=Centro storico"}, {}, "Zona urbana di appartenenza: ", {1, 3, 3},
            "Centro storico");
        row("distance", 7, {"DistanzaViaPrincip=Fino a 100 m"}, {}, "Distanza da via o piazza principale: ",
            {1, 2, 2}, "Fino a 100 m");
        row("transport", 7, {"ServTraspPubblico=Frequente"}, {}, "Servizio di trasporto pubblico: ", {1, 3, 3},
            "Frequente");
        row("surroundings", 7, {"QualifAmbienteExt=Buono"}, {}, "Qualificazione dell'ambiente esterno: ", {1, 2, 2},
            "Buono");
        row("settlement", 7, {"IdoneitaInsediat=Ottimo"}, {}, "Idoneità insediativa: ", {2, 4, 4}, "Ottimo");
        row("improvements", 7, {"MiglioramAmbiente=Scarso"}, {}, "Previsione di miglioramenti ambientali: ",
            {1, 2, 1}, "Scarso");
        // Section 6
        row("brightness", 0, {"Luminosita=Buona"}, {}, "Luminosità: ", {3, 6, 5}, "Buona");
        row("view", 0, {"Panoramicita=Ottima"}, {}, "Panoramicità: ", {3, 5, 5}, "Ottima");
        row("exposure", 0, {"Esposizione=Sufficiente"}, {}, "Esposizione: ", {3, 6, 5}, "Sufficiente");
        row("outlook", 0, {"Prospicienza=Scarsa"}, {}, "Prospicienza: ", {3, 5, 5}, "Scarsa");
        row("street level", 0, {"QuotaDaPianoStrad=Piano rialzato"}, {}, "Quota rispetto al piano stradale: ",
            {1, 3, 2}, "Piano rialzato");
        row("accessory spaces", 0, {"SuperfAccessorie=Normale"}, {}, "Valutazione degli spazi accessori: ", {1, 2, 2},
            "Normale");
        // Section 7
        row("inside state", 0, {"StatoConservInt=Buono"}, {}, "Stato di conservazione interno: ", {1, 3, 3},
            "Buono");
        row("outside state", 0, {"StatoConservExt=Mediocre"}, {}, "Stato di conservazione esterno: ", {1, 3, 2},
            "Mediocre");
        row("inside finish", 0, {"GradoRifinitInt=Civile"}, {}, "Grado di rifinitura interno: ", {2, 4, 3},
            "Civile");
        row("outside finish", 0, {"GradoRifinitExt=Signorile"}, {}, "Grado di rifinitura esterno: ", {2, 4, 3},
            "Signorile");
        row("plants present", 0, {"PresImpiantiTecnol=Completi"}, {}, "Presenza di impianti tecnologici: ",
            {1, 3, 2}, "Completi");
        row("plant level", 0, {"LivImpiantiTecnol=Avanzato"}, {}, "Livello tecnologico degli impianti: ", {1, 3, 2},
            "Avanzato");
        // Section 8
        row("unit rent", 10, {"CanoneLocazUnit=12.500,00"}, {}, "Canone mensile di locazione unitario: ",
            {1, 2, 2}, "12.500,00   Lire");
        row("deposits", 10, {"NumCauzioni=3"}, {}, "Numero mensilità richieste in cauzione: ", {1, 2, 1}, "3");
        row("commercial rate", 10, {"SaggioCommerciale=5,50"}, {}, "Saggio d'interesse commerciale: ", {1, 3, 2},
            "5,50 %");
        row("legal rate", 10, {"SaggioLegale=2,50"}, {}, "Saggio d'interesse legale: ", {2, 4, 3}, "2,50 %");
        row("maintenance", 10, {"SpeseManutenzione=300.000,00"}, {}, "Spese di manutenzione: ", {2, 4, 4},
            "300.000,00   Lire");
        row("administration", 10, {"SpeseAmministraz=200.000,00"}, {}, "Spese per servizi e amministrazione: ",
            {1, 2, 2}, "200.000,00   Lire");
        row("vacancy", 10, {"AleeSfitti=100.000,00"}, {}, "Alee per sfitti e inesigibilità: ", {2, 3, 3},
            "100.000,00   Lire");
        row("insurance", 10, {"SpeseAssicurazioni=50.000,00"}, {}, "Spese per assicurazioni: ", {2, 4, 3},
            "50.000,00   Lire");
        row("depreciation", 10, {"AliquoteAmmortam=80.000,00"}, {}, "Aliquote di ammortamento: ", {2, 3, 3},
            "80.000,00   Lire");
        row("taxes", 10, {"AliquoteTasse=90.000,00"}, {}, "Aliquote per imposte e tasse: ", {2, 3, 3},
            "90.000,00   Lire");
        row("gross income", 10, {"RedditoLordoAnnuo=9.000.000,00"}, {}, "Reddito lordo annuo: ", {2, 4, 4},
            "9.000.000,00   Lire");
        row("net income", 10, {"RedditoNettoAnnuo=7.000.000,00"}, {}, "Reddito netto annuo: ", {2, 4, 4},
            "7.000.000,00   Lire");
    }
    void labelledLine()
    {
        QFETCH(int, node);
        QFETCH(bool, lightMatters);
        QFETCH(QStringList, fields);
        QFETCH(QStringList, ticks);
        QFETCH(QString, label);
        QFETCH(QList<int>, tabCounts);
        QFETCH(QString, value);
        QFETCH(QString, printValue);

        SummaryInput in;
        if (node)
            lightNode(in, node);
        applyTexts(in, fields);
        for (const QString &t : ticks)
            in.ticks.insert(t, true);

        for (int f = 0; f < 3; ++f) {
            const SummaryForm form = kForms[f];
            const QString expected = label + tabs(tabCounts[f]) + (form == SummaryForm::Print ? printValue : value);
            const SummaryLines lines = buildSummary(in, form);
            QCOMPARE(texts(lines).count(expected), 1);

            for (const QString &assignment : fields) {
                SummaryInput without = in;
                without.texts.insert(assignment.section(QLatin1Char('='), 0, 0), QString());
                QVERIFY2(!anyLineStartsWith(buildSummary(without, form), label + QLatin1Char('\t')),
                         qPrintable(assignment));
            }
            for (const QString &t : ticks) {
                SummaryInput without = in;
                without.ticks.insert(t, false);
                QVERIFY(!anyLineStartsWith(buildSummary(without, form), label + QLatin1Char('\t')));
            }
            if (lightMatters) {
                SummaryInput dark = in;
                lightNode(dark, node, Light::Red);
                QVERIFY(!texts(buildSummary(dark, form)).contains(expected));
            }
        }
    }

    // Which sections are written, by the lights and by the values that
    // stand in for them.
    void sectionConditions_data()
    {
        QTest::addColumn<QList<int>>("litNodes");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<QStringList>("expectedHeadings");

        const QString params = QStringLiteral("Parametri di confronto.");
        QTest::newRow("nothing entered") << QList<int>{} << QStringList{} << QStringList{} << QStringList{params};
        QTest::newRow("every page lit, nothing in it")
            << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12} << QStringList{} << QStringList{}
            << QStringList{QStringLiteral("Generalità del professionista."),
                           QStringLiteral("Descrizione unità immobiliare."),
                           QStringLiteral("Descrizione delle superfici."), QStringLiteral("Calcolo delle superfici."),
                           QStringLiteral("Caratteristiche di localizzazione."),
                           QStringLiteral("Caratteristiche produttive."), QStringLiteral("Immobili di confronto."),
                           params};
        QTest::newRow("appraiser fields with the light red")
            << QList<int>{} << QStringList{QStringLiteral("CognomeProfess=Rossi")} << QStringList{}
            << QStringList{params};
        QTest::newRow("pollution judged, localisation light red")
            << QList<int>{} << QStringList{QStringLiteral("InquinamAmbiente=Buono")} << QStringList{}
            << QStringList{QStringLiteral("Caratteristiche di localizzazione."), params};
        QTest::newRow("green areas judged") << QList<int>{} << QStringList{QStringLiteral("VerdePubblico=Scarso")}
                                            << QStringList{}
                                            << QStringList{QStringLiteral("Caratteristiche di localizzazione."), params};
        QTest::newRow("parking judged") << QList<int>{} << QStringList{QStringLiteral("DisponibAreeSosta=Buona")}
                                        << QStringList{}
                                        << QStringList{QStringLiteral("Caratteristiche di localizzazione."), params};
        QTest::newRow("a service ticked") << QList<int>{} << QStringList{} << QStringList{QStringLiteral("Supermercati")}
                                          << QStringList{QStringLiteral("Caratteristiche di localizzazione."), params};
        QTest::newRow("urban zone alone does not open localisation")
            << QList<int>{} << QStringList{QStringLiteral("ZonaUrbanaImmob=Centro")} << QStringList{}
            << QStringList{params};
        QTest::newRow("position value, no light")
            << QList<int>{} << QStringList{QStringLiteral("Esposizione=Buona")} << QStringList{}
            << QStringList{QStringLiteral("Caratteristiche di posizione."), params};
        QTest::newRow("a plant ticked") << QList<int>{} << QStringList{} << QStringList{QStringLiteral("Portineria")}
                                        << QStringList{QStringLiteral("Caratteristiche tipologiche."), params};
        QTest::newRow("typology judgment") << QList<int>{} << QStringList{QStringLiteral("GradoRifinitExt=Civile")}
                                           << QStringList{}
                                           << QStringList{QStringLiteral("Caratteristiche tipologiche."), params};
        QTest::newRow("kind of lift alone is not a judgment")
            << QList<int>{} << QStringList{QStringLiteral("AscensoreTipo=Oleodinamico")} << QStringList{}
            << QStringList{params};
        QTest::newRow("unit value by comparison")
            << QList<int>{} << QStringList{QStringLiteral("CostoUnitario=1.000,00")} << QStringList{}
            << QStringList{params, QStringLiteral("Risultati della stima.")};
        QTest::newRow("unit value by income")
            << QList<int>{} << QStringList{QStringLiteral("CICostoUnitario=1.000,00")} << QStringList{}
            << QStringList{params, QStringLiteral("Risultati della stima.")};
        QTest::newRow("total values alone")
            << QList<int>{} << QStringList{QStringLiteral("CostoComplessivo=9,00"), QStringLiteral("CICostoComplessivo=9,00")}
            << QStringList{} << QStringList{params};
        QTest::newRow("results light alone") << QList<int>{12} << QStringList{} << QStringList{} << QStringList{params};
    }
    void sectionConditions()
    {
        QFETCH(QList<int>, litNodes);
        QFETCH(QStringList, fields);
        QFETCH(QStringList, ticks);
        QFETCH(QStringList, expectedHeadings);
        SummaryInput in;
        for (int n : litNodes)
            lightNode(in, n);
        applyTexts(in, fields);
        for (const QString &t : ticks)
            in.ticks.insert(t, true);
        for (SummaryForm form : kForms)
            QCOMPARE(headings(buildSummary(in, form)), expectedHeadings);
    }

    // Headings are the only lines in heading style, each followed by one
    // empty line; sections end with two empty lines unless told otherwise.
    void headingsAndEmptyLines()
    {
        SummaryInput in;
        for (int n = 1; n <= 12; ++n)
            lightNode(in, n, Light::Green);
        applyTexts(in, {"CognomeProfess=Rossi", "NomeProfess=Mario", "IndirizzoImmob=Via Dante",
                        "NumCivicoImmob=7", "Luminosita=Buona", "StatoConservInt=Buono", "NumCauzioni=3",
                        "SaggioMedioImmob=2,50", "RedditoNettoAnnuo=7.000.000,00", "CostoUnitario=1.000,00",
                        "CostoComplessivo=80.000,00", "CICostoUnitario=900,00", "CICostoComplessivo=72.000,00",
                        "InquinamAmbiente=Buono"});
        in.surfaceRows = {{QStringLiteral("Camera"), 14}};
        in.surfaceValues = {QStringLiteral("14  mq"), QStringLiteral("16,8  mq"), QStringLiteral("14  mq")};
        in.comparables = {comparable(QStringLiteral("Via Po"), QStringLiteral("3"), QStringLiteral("1"),
                                     QStringLiteral("2"))};
        const SummaryLines lines = buildSummary(in, SummaryForm::Export);
        QCOMPARE(headings(lines), kAllHeadings);
        for (int i = 0; i < lines.size(); ++i) {
            if (lines[i].style != SummaryLine::Style::Heading)
                continue;
            QVERIFY(i + 1 < lines.size());
            QCOMPARE(lines[i + 1].text, QString());
            QCOMPARE(lines[i + 1].style, SummaryLine::Style::Body);
            // Two empty lines before every heading but the first: after the
            // comparables they are the comparable's own and the closing one.
            if (i > 0) {
                QCOMPARE(lines[i - 1].text, QString());
                QCOMPARE(lines[i - 2].text, QString());
            }
        }
        // Section 10 ends with one empty line, then section 11 follows.
        const QStringList all = texts(lines);
        const int rate = all.indexOf(QStringLiteral("Saggio medio di capitalizzazione: \t\t2,50 %"));
        QVERIFY(rate > 0);
        QCOMPARE(all[rate - 1], QString());
        QVERIFY(!all[rate - 2].isEmpty());
        // The document ends with the last result line, no empty line after it.
        QCOMPARE(all.last(), QStringLiteral(" - Valore complessivo: \t\t\t\t72.000,00   Lire"));
    }

    // Date, construction year and age go together, on the year alone.
    void dateYearAndAge_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("age");
        QTest::addColumn<bool>("written");
        QTest::newRow("year and age") << "1975" << "49 anni" << true;
        QTest::newRow("year without age") << "1975" << "" << true;
        QTest::newRow("age without year") << "" << "49 anni" << false;
    }
    void dateYearAndAge()
    {
        QFETCH(QString, year);
        QFETCH(QString, age);
        QFETCH(bool, written);
        SummaryInput in;
        lightNode(in, 2);
        in.appraisalDate = QDate(2024, 3, 5);
        in.texts.insert(QStringLiteral("AnnoCostruzImmob"), year);
        in.texts.insert(QStringLiteral("EtaEdificioImmob"), age);
        in.texts.insert(QStringLiteral("InternoImmob"), QStringLiteral("4"));
        in.texts.insert(QStringLiteral("FoglioCatastImmob"), QStringLiteral("12"));
        // Per form: date, year, age (the sheet line has the age's counts).
        const QList<QList<int>> n = {{3, 2, 3}, {5, 4, 5}, {5, 4, 5}};
        for (int f = 0; f < 3; ++f) {
            const QStringList section2 = section(buildSummary(in, kForms[f]), QStringLiteral("Descrizione unità immobiliare."));
            const QStringList group = {QStringLiteral("Data della stima: ") + tabs(n[f][0]) + QStringLiteral("5 marzo 2024"),
                                       QStringLiteral("Anno di costruzione: ") + tabs(n[f][1]) + year,
                                       QStringLiteral("Età dell'edificio: ") + tabs(n[f][2]) + age};
            // Between the flat number and the cadastral sheet.
            const QStringList expected = QStringList{QStringLiteral("Descrizione unità immobiliare."), QString(),
                                                     QStringLiteral("Interno: ") + tabs(f == 0 ? 4 : 6) + QStringLiteral("4")}
                                         + (written ? group : QStringList{})
                                         + QStringList{QStringLiteral("Foglio catastale: ") + tabs(n[f][2]) + QStringLiteral("12"),
                                                       QString(), QString()};
            QCOMPARE(section2, expected);
        }
    }

    // Section 3: a line per described room with an area; section 4 always.
    void surfaceRows_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<double>("area");
        QTest::addColumn<QList<int>>("tabCounts"); // empty: no line
        QTest::newRow("Bagno") << "Bagno" << 5.5 << QList<int>{4, 7, 6};
        QTest::newRow("Studio") << "Studio" << 9.0 << QList<int>{4, 7, 6};
        QTest::newRow("Cucina") << "Cucina" << 12.0 << QList<int>{4, 6, 6};
        QTest::newRow("Stenditoio") << "Stenditoio" << 4.0 << QList<int>{4, 6, 6};
        QTest::newRow("Disimpegno") << "Disimpegno" << 3.25 << QList<int>{3, 6, 5};
        QTest::newRow("Soggiorno") << "Soggiorno" << 25.0 << QList<int>{3, 6, 6};
        QTest::newRow("Sala da pranzo") << "Sala da pranzo" << 18.0 << QList<int>{3, 5, 5};
        QTest::newRow("Terrazza scoperta") << "Terrazza scoperta" << 30.0 << QList<int>{3, 5, 4};
        QTest::newRow("Tramezzi e tamponature") << "Tramezzi e tamponature" << 8.0 << QList<int>{2, 4, 4};
        QTest::newRow("Aree verdi") << "Aree verdi (quota millesimale)" << 1234.5 << QList<int>{2, 3, 3};
        QTest::newRow("a typed short name") << "Atrio" << 6.0 << QList<int>{4, 7, 6};
        QTest::newRow("a typed long name") << "Locale tecnico seminterrato" << 6.0 << QList<int>{2, 3, 3};
        QTest::newRow("area zero") << "Camera" << 0.0 << QList<int>{};
        QTest::newRow("no description") << "" << 12.0 << QList<int>{};
    }
    void surfaceRows()
    {
        QFETCH(QString, description);
        QFETCH(double, area);
        QFETCH(QList<int>, tabCounts);
        SummaryInput in;
        lightNode(in, 6, Light::Green);
        in.surfaceRows = {{description, area}};
        in.surfaceValues = {QStringLiteral("85,25  mq"), QStringLiteral("1.102,5  mq"), QStringLiteral("90  mq")};
        for (int f = 0; f < 3; ++f) {
            const SummaryLines lines = buildSummary(in, kForms[f]);
            QStringList expected = {QStringLiteral("Descrizione delle superfici."), QString()};
            if (!tabCounts.isEmpty())
                expected << description + tabs(tabCounts[f]) + FormattaImporto(area) + QStringLiteral("\tmq");
            expected << QString() << QString();
            QCOMPARE(section(lines, QStringLiteral("Descrizione delle superfici.")), expected);

            const QString unit = f == 0 ? QStringLiteral("\tmq") : QStringLiteral("  mq");
            const QList<QList<int>> n = {{3, 5, 5}, {2, 4, 3}, {2, 4, 3}};
            QCOMPARE(section(lines, QStringLiteral("Calcolo delle superfici.")),
                     (QStringList{QStringLiteral("Calcolo delle superfici."), QString(),
                                  QStringLiteral("Superficie utile: ") + tabs(n[0][f]) + QStringLiteral("85,25") + unit,
                                  QStringLiteral("Superficie convenzionale: ") + tabs(n[1][f]) + QStringLiteral("1.102,50") + unit,
                                  QStringLiteral("Superficie commerciale: ") + tabs(n[2][f]) + QStringLiteral("90,00") + unit,
                                  QString(), QString()}));
        }
        lightNode(in, 6, Light::Red);
        QVERIFY(!headings(buildSummary(in, SummaryForm::Screen)).contains(QStringLiteral("Calcolo delle superfici.")));
    }

    // A surface value not computed yet holds no number: its line is left
    // out and the rest of the summary is still built.
    void surfaceValueWithoutNumber()
    {
        SummaryInput in;
        lightNode(in, 6, Light::Green);
        in.surfaceValues = {QStringLiteral("85  mq"), QString(), QStringLiteral("mq")};
        const QStringList s = section(buildSummary(in, SummaryForm::Export), QStringLiteral("Calcolo delle superfici."));
        QCOMPARE(s, (QStringList{QStringLiteral("Calcolo delle superfici."), QString(),
                                 QStringLiteral("Superficie utile: \t\t\t\t\t85,00  mq"), QString(), QString()}));
    }

    // The services and plants follow their lines, in the fixed order.
    void servicesAndPlants_data()
    {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("servicesTitle");
        QTest::newRow("screen") << 0 << "Attrezzature collettive a dist. pedonale: ";
        QTest::newRow("export") << 1 << "Attrezzature collettive a distanza pedonale: ";
        QTest::newRow("print") << 2 << "Attrezzature collettive a distanza pedonale: ";
    }
    void servicesAndPlants()
    {
        QFETCH(int, form);
        QFETCH(QString, servicesTitle);
        SummaryInput in;
        for (const char *t : {"LocaliSpettacolo", "ScuoleObbligo", "FacoltaUniversit", "Portineria", "Ascensore",
                              "Riscaldamento", "RiservaIdrica"})
            in.ticks.insert(QString::fromLatin1(t), true);
        in.texts.insert(QStringLiteral("RiscaldamentoTipo"), QStringLiteral("Autonomo"));
        const SummaryLines lines = buildSummary(in, kForms[form]);
        QCOMPARE(section(lines, QStringLiteral("Caratteristiche di localizzazione.")),
                 (QStringList{QStringLiteral("Caratteristiche di localizzazione."), QString(), servicesTitle,
                              QStringLiteral(" - Scuole dell'obbligo"), QStringLiteral(" - Facoltà universitarie"),
                              QStringLiteral(" - Locali di spettacolo"), QString(), QString()}));
        QCOMPARE(section(lines, QStringLiteral("Caratteristiche tipologiche.")),
                 (QStringList{QStringLiteral("Caratteristiche tipologiche."), QString(),
                              QStringLiteral("Impianti tecnologici di base: "), QStringLiteral(" - Ascensore\t()"),
                              QStringLiteral(" - Riscaldamento\t(Autonomo)"), QStringLiteral(" - Riserva idrica"),
                              QStringLiteral(" - Portineria"), QString(), QString()}));
    }

    // Section 9: comparables with a full address, their lines, the empty lines.
    void comparables_data()
    {
        QTest::addColumn<int>("form");
        QTest::addColumn<QList<int>>("tabCounts");
        QTest::newRow("screen") << 0 << QList<int>{1, 2, 2, 2, 2, 3, 2};
        QTest::newRow("export") << 1 << QList<int>{2, 3, 3, 3, 4, 5, 4};
        QTest::newRow("print") << 2 << QList<int>{2, 3, 3, 3, 3, 5, 4};
    }
    void comparables()
    {
        QFETCH(int, form);
        QFETCH(QList<int>, tabCounts);
        SummaryInput in;
        lightNode(in, 11);
        in.valutaCorrente = QStringLiteral(" Euro");
        auto full = comparable(QStringLiteral("Via Po"), QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("2"));
        full.insert(QStringLiteral("CdCarattLocalizzaz"), QStringLiteral("20,00"));
        full.insert(QStringLiteral("CdCarattPosizione"), QStringLiteral("15,00"));
        full.insert(QStringLiteral("CdCarattTipologiche"), QStringLiteral("22,00"));
        full.insert(QStringLiteral("CdCarattProduttive"), QStringLiteral("18,00"));
        full.insert(QStringLiteral("SupCommercImmob"), QStringLiteral("95"));
        full.insert(QStringLiteral("CostoUnitario"), QStringLiteral("1.500,00"));
        full.insert(QStringLiteral("CostoComplessivo"), QStringLiteral("142.500,00"));
        auto noFlat = comparable(QStringLiteral("Via Tevere"), QStringLiteral("8"), QStringLiteral("2"), QString());
        noFlat.insert(QStringLiteral("CostoUnitario"), QStringLiteral("1.000,00"));
        auto sparse = comparable(QStringLiteral("Corso Italia"), QStringLiteral("1"), QStringLiteral("0"),
                                 QStringLiteral("A"));
        sparse.insert(QStringLiteral("SupCommercImmob"), QStringLiteral("70"));
        in.comparables = {full, noFlat, sparse};

        const auto t = [&](int i) { return tabs(tabCounts[i]); };
        const QStringList expected = {
            QStringLiteral("Immobili di confronto."), QString(),
            QStringLiteral("Via Po 3, Piano 1, Interno 2"),
            QStringLiteral(" - Caratteristiche di localizzazione:") + t(0) + QStringLiteral("20,00 %"),
            QStringLiteral(" - Caratteristiche di posizione:") + t(1) + QStringLiteral("15,00 %"),
            QStringLiteral(" - Caratteristiche tipologiche:") + t(2) + QStringLiteral("22,00 %"),
            QStringLiteral(" - Caratteristiche produttive:") + t(3) + QStringLiteral("18,00 %"),
            QStringLiteral(" - Superficie commerciale:") + t(4) + QStringLiteral("95  mq"),
            QStringLiteral(" - Costo unitario:") + t(5) + QStringLiteral("1.500,00  Euro/mq"),
            QStringLiteral(" - Costo complessivo:") + t(6) + QStringLiteral("142.500,00  Euro"),
            QString(),
            QStringLiteral("Corso Italia 1, Piano 0, Interno A"),
            QStringLiteral(" - Superficie commerciale:") + t(4) + QStringLiteral("70  mq"),
            QString(),
            QString(),
        };
        QCOMPARE(section(buildSummary(in, kForms[form]), QStringLiteral("Immobili di confronto.")), expected);
    }

    // Section 10: the comparison ranges by zone, the sum, and the 21
    // capitalisation coefficients, written even when all are 0.
    void comparisonRanges_data()
    {
        QTest::addColumn<QString>("zoneTick");
        QTest::addColumn<QStringList>("minimum");
        QTest::addColumn<QStringList>("maximum");
        QTest::newRow("zona centrale") << "ZonaCentrImmob"
                                       << QStringList{"  5,00 %", "15,00 %", "15,00 %", "25,00 %", "60,00 %"}
                                       << QStringList{"  10,00 %", "  25,00 %", "  30,00 %", "  35,00 %", "100,00 %"};
        QTest::newRow("zona periferica") << "ZonaPeriferImmob"
                                         << QStringList{"15,00 %", "10,00 %", "  5,00 %", "10,00 %", "40,00 %"}
                                         << QStringList{"  35,00 %", "  25,00 %", "  20,00 %", "  20,00 %", "100,00 %"};
        QTest::newRow("zona intermedia") << "ZonaIntermImmob"
                                         << QStringList{"10,00 %", "10,00 %", "20,00 %", "10,00 %", "50,00 %"}
                                         << QStringList{"  30,00 %", "  20,00 %", "  25,00 %", "  25,00 %", "100,00 %"};
        QTest::newRow("no zone") << ""
                                 << QStringList{"10,00 %", "10,00 %", "20,00 %", "10,00 %", "50,00 %"}
                                 << QStringList{"  30,00 %", "  20,00 %", "  25,00 %", "  25,00 %", "100,00 %"};
    }
    void comparisonRanges()
    {
        QFETCH(QString, zoneTick);
        QFETCH(QStringList, minimum);
        QFETCH(QStringList, maximum);
        SummaryInput in;
        if (!zoneTick.isEmpty())
            in.ticks.insert(zoneTick, true);
        in.coefficients[Coef::CDCarattLocalizzaz] = 12.5;
        in.coefficients[Coef::CDCarattPosizione] = 20;
        in.coefficients[Coef::CDCarattTipologiche] = 22.255;
        in.coefficients[Coef::CDCarattProduttive] = 1000;
        const QStringList values = {"12,50 %", "20,00 %", "22,26 %", "1.000,00 %", "1.054,76 %"};
        const QStringList screenLabels = {" - Caratteristiche di localizzazione: \t\t",
                                          " - Caratteristiche di posizione: \t\t",
                                          " - Caratteristiche tipologiche: \t\t\t",
                                          " - Caratteristiche produttive: \t\t\t", " - Totale: \t\t\t\t\t"};
        const QStringList otherLabels = {" - Caratteristiche di localizzazione: \t\t",
                                         " - Caratteristiche di posizione: \t\t\t",
                                         " - Caratteristiche tipologiche: \t\t\t",
                                         " - Caratteristiche produttive: \t\t\t", " - Totale: \t\t\t\t\t\t"};

        QStringList screen = section(buildSummary(in, SummaryForm::Screen), QStringLiteral("Parametri di confronto."));
        QCOMPARE(screen.value(2), QStringLiteral("Comparazione diretta. \t\t\t Minimo\t Massimo\t   Calcolato"));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(screen.value(3 + i), screenLabels[i] + minimum[i] + QLatin1Char('\t') + maximum[i]
                                              + QStringLiteral("\t     ") + values[i]);
        for (SummaryForm form : {SummaryForm::Export, SummaryForm::Print}) {
            const QStringList other = section(buildSummary(in, form), QStringLiteral("Parametri di confronto."));
            QCOMPARE(other.value(2), QStringLiteral("Comparazione diretta."));
            for (int i = 0; i < 5; ++i)
                QCOMPARE(other.value(3 + i), otherLabels[i] + values[i]);
        }
    }

    void capitalisationCoefficients_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("coef");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QList<int>>("tabCounts");
        QTest::addColumn<QString>("range");
        const struct {
            Coef coef;
            const char *label;
            QList<int> n;
            const char *range;
        } rows[] = {
            {Coef::CICentrRispCentrUrb, " - Ubicazione rispetto al centro urbano: ", {2, 2, 1}, "+0,15 %\t  -0,15 %"},
            {Coef::CILivelloCollegam, " - Servizio di trasporto pubblico: ", {2, 3, 2}, "+0,07 %\t  -0,07 %"},
            {Coef::CIAttrezzCollett, " - Attrezzature collettive: ", {3, 4, 4}, "+0,28 %\t  -0,28 %"},
            {Coef::CIQualifAmbienteExt, " - Qualificazione dell'ambiente esterno: ", {2, 2, 1}, "+0,06 %\t  -0,06 %"},
            {Coef::CIIdoneitaInsediat, " - Idoneità insediativa: ", {3, 4, 4}, "+0,06 %\t  -0,06 %"},
            {Coef::CIPrevMiglAmbient, " - Previsione di miglioramenti ambientali: ", {2, 1, 1}, "+0,06 %\t  -0,06 %"},
            {Coef::CILivInquinamAmbient, " - Giudizio sul livello di inquinamento: ", {2, 2, 2}, "+0,04 %\t  -0,04 %"},
            {Coef::CIPresVerdePubblico, " - Giudizio sulla presenza di aree verdi: ", {2, 2, 1}, "+0,04 %\t  -0,04 %"},
            {Coef::CIDisponibParcheggi, " - Disponibilità aree di sosta: ", {3, 3, 3}, "+0,06 %\t  -0,06 %"},
            {Coef::CILuminosita, " - Luminosità: ", {4, 5, 5}, "+0,10 %\t  -0,10 %"},
            {Coef::CIPanoramicita, " - Panoramicità: ", {4, 5, 5}, "+0,36 %\t  -0,36 %"},
            {Coef::CIProspicienza, " - Prospicienza: ", {4, 5, 5}, "+0,10 %\t  -0,10 %"},
            {Coef::CIQuotaDaPianoStrad, " - Quota rispetto al piano stradale: ", {2, 2, 2}, "+0,08 %\t  -0,08 %"},
            {Coef::CIDimensSpaziAccess, " - Valutazione degli spazi accessori: ", {2, 2, 2}, "+0,06 %\t  -0,06 %"},
            {Coef::CIStatoConservazInt, " - Stato di conservazione interno: ", {2, 3, 2}, "+0,06 %\t  -0,06 %"},
            {Coef::CIStatoConservazExt, " - Stato di conservazione esterno: ", {2, 2, 2}, "+0,06 %\t  -0,06 %"},
            {Coef::CIGradoRifinInterno, " - Grado di rifinitura interno: ", {3, 3, 3}, "+0,06 %\t  -0,06 %"},
            {Coef::CIGradoRifinEsterno, " - Grado di rifinitura esterno: ", {3, 3, 3}, "+0,06 %\t  -0,06 %"},
            {Coef::CILivTecnolImpianti, " - Livello tecnologico degli impianti: ", {2, 2, 2}, "+0,04 %\t  -0,04 %"},
            {Coef::CIVetustaEdificio, " - Vetustà dell'edificio: ", {3, 4, 4}, "+0,10 %\t  -0,10 %"},
            {Coef::CICarattProduttive, " - Caratteristiche produttive: ", {3, 3, 3}, "+0,10 %\t  -0,10 %"},
        };
        int i = 0;
        for (const auto &r : rows) {
            QTest::newRow(qPrintable(coefficientName(r.coef)))
                << i++ << int(r.coef) << QString::fromUtf8(r.label) << r.n << QString::fromLatin1(r.range);
        }
    }
    void capitalisationCoefficients()
    {
        QFETCH(int, index);
        QFETCH(int, coef);
        QFETCH(QString, label);
        QFETCH(QList<int>, tabCounts);
        QFETCH(QString, range);
        SummaryInput in;
        // Each coefficient a different value, so a line reading the wrong one fails.
        for (Coef c : coefficientIds())
            in.coefficients[c] = (int(c) - 100) / 100.0;
        const QString value = FormattaImporto((coef - 100) / 100.0) + QStringLiteral(" %");
        // Title at 2, five comparison lines, an empty line, the title, then the 21.
        const int at = 2 + 1 + 5 + 1 + 1 + index;
        for (int f = 0; f < 3; ++f) {
            const QStringList s = section(buildSummary(in, kForms[f]), QStringLiteral("Parametri di confronto."));
            QCOMPARE(s.size(), 2 + 1 + 5 + 1 + 1 + 21 + 1);
            QCOMPARE(s[8], QString());
            QCOMPARE(s[9], f == 0 ? QStringLiteral("Capitalizzazione dei redditi. \t\t\t Minimo\t Massimo\t   Calcolato")
                                  : QStringLiteral("Capitalizzazione dei redditi. "));
            const QString expected = label + tabs(tabCounts[f])
                                     + (f == 0 ? range + QStringLiteral("\t     ") : QString()) + value;
            QCOMPARE(s[at], expected);
            QCOMPARE(s.last(), QString());
        }
    }

    void emptyAppraisalReadsZero()
    {
        const SummaryLines lines = buildSummary(SummaryInput{}, SummaryForm::Export);
        QCOMPARE(lines.size(), 2 + 1 + 5 + 1 + 1 + 21 + 1);
        QCOMPARE(lines[7].text, QStringLiteral(" - Totale: \t\t\t\t\t\t0,00 %"));
        QCOMPARE(lines.last().text, QString());
        QCOMPARE(lines[lines.size() - 2].text, QStringLiteral(" - Caratteristiche produttive: \t\t\t0,00 %"));
    }

    void capitalisationRate_data()
    {
        QTest::addColumn<QString>("average");
        QTest::addColumn<QString>("netIncome");
        QTest::addColumn<bool>("written");
        QTest::newRow("both") << "2,50" << "7.000.000,00" << true;
        QTest::newRow("no average") << "" << "7.000.000,00" << false;
        QTest::newRow("no net income") << "2,50" << "" << false;
    }
    void capitalisationRate()
    {
        QFETCH(QString, average);
        QFETCH(QString, netIncome);
        QFETCH(bool, written);
        SummaryInput in;
        in.texts.insert(QStringLiteral("SaggioMedioImmob"), average);
        in.texts.insert(QStringLiteral("RedditoNettoAnnuo"), netIncome);
        in.coefficients[Coef::SaggioCapitalizzaz] = 2.875;
        for (int f = 0; f < 3; ++f) {
            const QStringList all = texts(buildSummary(in, kForms[f]));
            const QString second = f == 0 ? QStringLiteral("Saggio di capitalizzazione calcolato: \t\t2,88 %")
                                          : QStringLiteral("Saggio di capitalizzazione: \t\t\t2,88 %");
            const QStringList tail = {QStringLiteral("Saggio medio di capitalizzazione: \t\t2,50 %"), second,
                                      QString(), QString()};
            if (written)
                QCOMPARE(all.mid(all.size() - 4), tail);
            else
                QVERIFY(!all.contains(second));
        }
    }

    void results_data()
    {
        QTest::addColumn<bool>("byComparison");
        QTest::addColumn<bool>("byIncome");
        QTest::newRow("both") << true << true;
        QTest::newRow("comparison only") << true << false;
        QTest::newRow("income only") << false << true;
    }
    void results()
    {
        QFETCH(bool, byComparison);
        QFETCH(bool, byIncome);
        SummaryInput in;
        in.valutaCorrente = QStringLiteral(" Euro");
        if (byComparison)
            applyTexts(in, {"CostoUnitario=1.200,00", "CostoComplessivo=96.000,00"});
        if (byIncome)
            applyTexts(in, {"CICostoUnitario=1.100,00", "CICostoComplessivo=88.000,00"});
        const QList<QList<int>> n = {{3, 5, 5}, {2, 4, 4}};
        for (int f = 0; f < 3; ++f) {
            const bool screen = f == 0;
            QStringList expected = {QStringLiteral("Risultati della stima."), QString()};
            if (byComparison)
                expected << (screen ? QStringLiteral("Stima per comparazione diretta. ")
                                    : QStringLiteral("Stima per comparazione diretta: "))
                         << QStringLiteral(" - Valore unitario: ") + tabs(n[0][f]) + QStringLiteral("1.200,00   Euro/mq")
                         << QStringLiteral(" - Valore complessivo: ") + tabs(n[1][f]) + QStringLiteral("96.000,00   Euro");
            expected << QString();
            if (byIncome)
                expected << (screen ? QStringLiteral("Stima per capitalizzazione dei redditi. ")
                                    : QStringLiteral("Stima per capitalizzazione dei redditi: "))
                         << QStringLiteral(" - Valore unitario: ") + tabs(n[0][f]) + QStringLiteral("1.100,00   Euro/mq")
                         << QStringLiteral(" - Valore complessivo: ") + tabs(n[1][f]) + QStringLiteral("88.000,00   Euro");
            const SummaryLines lines = buildSummary(in, kForms[f]);
            QCOMPARE(section(lines, QStringLiteral("Risultati della stima.")), expected);
            QCOMPARE(lines.last().text, expected.last());
        }
    }

    // With Euro in force every amount line carries " Euro", none " Lire".
    void currencyFollowsTheSwitch()
    {
        SummaryInput in;
        lightNode(in, 10);
        lightNode(in, 11);
        in.valutaCorrente = QStringLiteral(" Euro");
        applyTexts(in, {"CanoneLocazUnit=6,00", "SpeseManutenzione=150,00", "RedditoNettoAnnuo=3.600,00",
                        "CostoUnitario=1.200,00", "CostoComplessivo=96.000,00"});
        auto c = comparable(QStringLiteral("Via Po"), QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("2"));
        c.insert(QStringLiteral("CostoUnitario"), QStringLiteral("1.000,00"));
        c.insert(QStringLiteral("CostoComplessivo"), QStringLiteral("80.000,00"));
        in.comparables = {c};
        const QStringList all = texts(buildSummary(in, SummaryForm::Screen));
        int withCurrency = 0;
        for (const QString &l : all) {
            QVERIFY2(!l.contains(QStringLiteral("Lire")), qPrintable(l));
            if (l.contains(QStringLiteral("Euro"))) {
                ++withCurrency;
                QVERIFY2(l.endsWith(QStringLiteral(" Euro")) || l.endsWith(QStringLiteral(" Euro/mq")), qPrintable(l));
            }
        }
        QCOMPARE(withCurrency, 7);
    }

    // Where a line's tabs take its value with the stops summaryTabStops()
    // gives: each tab to the first stop past where the text stands.
    void tabStops_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("valueStop");
        QTest::addColumn<qreal>("label");
        QTest::addColumn<qreal>("stop");
        QTest::addColumn<qreal>("indent");
        QTest::addColumn<qreal>("value"); // where the value begins
        // Screen, half-inch stops of 48 px, values at 192 px.
        QTest::newRow("label short of a stop") << "Telefono: 			X" << 4 << 47.62 << 48.0 << 0.0 << 192.0;
        QTest::newRow("label just past a stop") << "Cellulare: 				X" << 4 << 49.44 << 48.0 << 0.0 << 192.0;
        QTest::newRow("label within a pixel of the column") << "A		X" << 5 << 239.5 << 48.0 << 0.0 << 240.0;
        QTest::newRow("one tab") << "Distanza: 	X" << 4 << 175.23 << 48.0 << 0.0 << 192.0;
        QTest::newRow("label past the column: next stop") << "Numero: 	X" << 4 << 194.14 << 48.0 << 0.0 << 240.0;
        QTest::newRow("no column: the stops as they fall") << " - Ascensore	(X)" << 0 << 61.06 << 48.0 << 0.0
                                                           << 96.0;
        // Print, 12 pt, indented 50 pt: stops of 36 pt counted from the
        // margin, so 288 pt from the margin is 238 from the paragraph's start.
        QTest::newRow("print, value column") << "Cognome e Nome: 				X" << 8 << 104.05 << 36.0 << 50.0 << 238.0;
        QTest::newRow("print, label just past a stop") << "Spese: 				X" << 8 << 132.09 << 36.0 << 50.0
                                                       << 238.0;
        QTest::newRow("print, no column: stops from the margin") << " - Ascensore	(X)" << 0 << 67.36 << 36.0 << 50.0
                                                                 << 94.0;
    }
    void tabStops()
    {
        QFETCH(QString, text);
        QFETCH(int, valueStop);
        QFETCH(qreal, label);
        QFETCH(qreal, stop);
        QFETCH(qreal, indent);
        QFETCH(qreal, value);
        const SummaryLine line{SummaryLine::Style::Body, text, valueStop};
        const QList<qreal> stops = summaryTabStops(line, label, stop, indent, 20 * stop);
        QVERIFY(std::is_sorted(stops.begin(), stops.end()));
        qreal x = label;
        for (qsizetype i = text.indexOf(QLatin1Char('\t')); i < text.size() && text.at(i) == QLatin1Char('\t'); ++i) {
            const auto next = std::upper_bound(stops.begin(), stops.end(), x);
            QVERIFY(next != stops.end());
            x = *next;
        }
        QCOMPARE(x, value);
        // Further on, the stops of the margin.
        QCOMPARE(stops.last(), std::floor((20 * stop + indent) / stop) * stop - indent);
    }

    void noTabsNoStops()
    {
        QVERIFY(summaryTabStops({SummaryLine::Style::Body, QStringLiteral("Via Po 12"), 4}, 40, 48, 0, 960).isEmpty());
    }

    // The column each labelled line's value stands in, form by form.
    void valueColumns_data()
    {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<int>("valueStop");
        QTest::newRow("screen, appraiser") << int(SummaryForm::Screen) << "Telefono: " << 4;
        QTest::newRow("screen, room") << int(SummaryForm::Screen) << "Stenditoio\t" << 4;
        QTest::newRow("screen, parameters") << int(SummaryForm::Screen) << " - Luminosità: " << 5;
        QTest::newRow("screen, parameters title") << int(SummaryForm::Screen) << "Comparazione diretta. \t" << 5;
        QTest::newRow("screen, rate") << int(SummaryForm::Screen) << "Saggio medio di capitalizzazione: " << 5;
        QTest::newRow("screen, results") << int(SummaryForm::Screen) << " - Valore unitario: " << 4;
        QTest::newRow("screen, a plant is no value") << int(SummaryForm::Screen) << " - Ascensore\t" << 0;
        QTest::newRow("print, appraiser") << int(SummaryForm::Print) << "Telefono: " << 8;
        QTest::newRow("print, parameters") << int(SummaryForm::Print) << " - Luminosità: " << 8;
        QTest::newRow("export: the word processor's stops") << int(SummaryForm::Export) << "Telefono: " << 0;
    }
    void valueColumns()
    {
        QFETCH(int, form);
        QFETCH(QString, prefix);
        QFETCH(int, valueStop);
        SummaryInput in;
        for (int node = 1; node <= 12; ++node)
            lightNode(in, node);
        applyTexts(in, {"TelefonoProfess=X", "Luminosita=X", "SaggioMedioImmob=3", "RedditoNettoAnnuo=1",
                        "CostoUnitario=1", "AscensoreTipo=X"});
        in.ticks.insert(QStringLiteral("Ascensore"), true);
        in.surfaceRows = {{QStringLiteral("Stenditoio"), 4}};
        const SummaryLines lines = buildSummary(in, SummaryForm(form));
        const auto line = std::find_if(lines.begin(), lines.end(),
                                       [&](const SummaryLine &l) { return l.text.startsWith(prefix); });
        QVERIFY(line != lines.end());
        QCOMPARE(line->valueStop, valueStop);
    }

    void plainText()
    {
        SummaryLines lines = {{SummaryLine::Style::Heading, QStringLiteral("A")},
                              {SummaryLine::Style::Body, QString()},
                              {SummaryLine::Style::Body, QStringLiteral("b\tc")}};
        QCOMPARE(summaryPlainText(lines), QStringLiteral("A\n\nb\tc"));
    }
};

QTEST_GUILESS_MAIN(TestSummary)
#include "tst_summary.moc"
