// SPDX-License-Identifier: GPL-2.0-or-later
#include "summary.h"

#include "model/numbertext.h"
#include "valuation/roomnames.h"

#include <QLocale>

#include <algorithm>
#include <climits>
#include <optional>
#include <span>

namespace brevan::report {

namespace {

using Tabs = std::array<int, 3>; // screen / export / print

// The columns the values stand in, counted in default stops (half inches)
// from the left margin, screen / export / print; the exported file leaves
// the stops to the word processor. The comparison parameters and the
// capitalisation rate stand one stop further on screen, where they are a
// table with ranges.
constexpr Tabs kValueStops{4, 0, 8};
constexpr Tabs kParameterStops{5, 0, 8};
// The productive characteristics stand one stop further on screen too: their
// longest label, "Numero mensilità richieste in cauzione: ", is a little
// wider than two inches in the shipped font, and the section's values stand
// together in one column.
constexpr Tabs kProductiveStops{5, 0, 8};

// What follows a value on its line.
enum class Suffix {
    None,
    Degree,      // "°" on screen and in the export; the print form has none
    Percent,     // " %"
    Currency,    // "  " + currency
    SquareMetre, // "  mq"
    UnitCost,    // " " + currency + "/mq"
    TotalCost,   // " " + currency
};

// A line whose value is one or more fields joined by separators. It is
// written only when every field is non-empty.
struct FieldLine {
    const char *label;
    Tabs tabs;
    std::array<const char *, 3> fields; // unused slots are nullptr
    std::array<const char *, 2> joins;  // placed between consecutive fields
    Suffix suffix = Suffix::None;
};

// Nodes of the page tree whose lights decide the sections.
constexpr int kAppraiserNode = 1;
constexpr int kDescriptionNode = 2;
constexpr int kSurfacesNode = 6;
constexpr int kLocalisationNode = 7;
constexpr int kProductiveNode = 10;
constexpr int kComparablesNode = 11;

// Section 1, "Generalità del professionista."
const FieldLine kAppraiserLines[] = {
    {"Cognome e Nome: ", {3, 5, 4}, {"CognomeProfess", "NomeProfess"}, {" "}},
    {"Codice fiscale: ", {3, 5, 5}, {"CodiceFiscaleProfess"}, {}},
    {"Professione: ", {3, 6, 5}, {"ProfessioneProfess"}, {}},
    {"Numero di iscrizione all'Albo: ", {2, 3, 3}, {"NumIscrizAlboProfess"}, {}},
    {"Partita IVA: ", {3, 6, 5}, {"PartitaIvaProfess"}, {}},
    {"Società/Studio: ", {3, 5, 5}, {"SocietaProfess"}, {}},
    {"Indirizzo: ", {4, 6, 6}, {"IndirizzoProfess", "NumCivicoProfess"}, {", "}},
    {"Comune: ", {4, 6, 6}, {"ComuneProfess", "CAPProfess", "SiglaProvinciaProfess"}, {" - ", " - "}},
    {"Telefono: ", {3, 6, 6}, {"TelefonoProfess"}, {}},
    {"Fax: ", {4, 7, 6}, {"FaxProfess"}, {}},
    {"Cellulare: ", {4, 6, 6}, {"CellulareProfess"}, {}},
    {"E-mail: ", {4, 6, 6}, {"EMailProfess"}, {}},
};

// Section 2, "Descrizione unità immobiliare.", before and after the three
// lines of date, construction year and age.
const FieldLine kDescriptionLines[] = {
    {"Indirizzo: ", {4, 6, 6}, {"IndirizzoImmob", "NumCivicoImmob"}, {", "}},
    {"Comune: ", {4, 6, 6}, {"ComuneImmob", "CAPImmob", "SiglaProvinciaImmob"}, {" - ", " - "}},
    {"Tipologia edilizia: ", {3, 5, 4}, {"TipologEdiliziaImmob"}, {}},
    {"Totale piani: ", {3, 6, 5}, {"TotPianiImmob"}, {}},
    {"Piano: ", {4, 6, 6}, {"PianoImmob"}, {}, Suffix::Degree},
    {"Interno: ", {4, 6, 6}, {"InternoImmob"}, {}},
};
const FieldLine kCadastreLines[] = {
    {"Foglio catastale: ", {3, 5, 5}, {"FoglioCatastImmob"}, {}},
    {"Mappale catastale: ", {3, 5, 4}, {"MappaleCatastImmob"}, {}},
    {"Subalterno: ", {3, 6, 5}, {"SubCatastImmob"}, {}},
    {"Categoria: ", {3, 6, 5}, {"CategCatastImmob"}, {}},
    {"Classe: ", {4, 6, 6}, {"ClasseCatastImmob"}, {}},
    {"Consistenza: ", {3, 5, 5}, {"ConsistCatastImmob"}, {}},
};
constexpr Tabs kDateTabs{3, 5, 5};
constexpr Tabs kYearTabs{2, 4, 4};
constexpr Tabs kAgeTabs{3, 5, 5};

// Section 3: tabs after a room name.
struct RoomTabs {
    const char *name;
    Tabs tabs;
};
constexpr RoomTabs kRoomTabs[] = {
    {"Bagno", {4, 7, 6}},
    {"Studio", {4, 7, 6}},
    {"Balcone", {4, 6, 6}},
    {"Camera", {4, 6, 6}},
    {"Cantina", {4, 6, 6}},
    {"Cucina", {4, 6, 6}},
    {"Dispensa", {4, 6, 6}},
    {"Ingresso", {4, 6, 6}},
    {"Loggia", {4, 6, 6}},
    {"Palestra", {4, 6, 6}},
    {"Salone", {4, 6, 6}},
    {"Salotto", {4, 6, 6}},
    {"Servizio", {4, 6, 6}},
    {"Soffitta", {4, 6, 6}},
    {"Stenditoio", {4, 6, 6}},
    {"Disimpegno", {3, 6, 5}},
    {"Mansarda", {3, 6, 6}},
    {"Ripostiglio", {3, 6, 6}},
    {"Soggiorno", {3, 6, 6}},
    {"Lastrico solare", {3, 5, 5}},
    {"Piscina coperta", {3, 5, 5}},
    {"Portico carraio", {3, 5, 5}},
    {"Sala da pranzo", {3, 5, 5}},
    {"Terrazza coperta", {3, 5, 5}},
    {"Veranda aperta", {3, 5, 5}},
    {"Veranda chiusa", {3, 5, 5}},
    {"Posto auto comune", {3, 5, 4}},
    {"Posto auto singolo", {3, 5, 4}},
    {"Terrazza scoperta", {3, 5, 4}},
    {"Tramezzi e tamponature", {2, 4, 4}},
    {"Aree verdi (quota millesimale)", {2, 3, 3}},
};
static_assert(std::size(kRoomTabs) == kRoomNames.size(), "every room name of the grid has its tabs");
// Other descriptions, by length: the bands follow the room names of similar
// length, so a typed name lines up with its neighbours.
struct LengthTabs {
    int maxLength;
    Tabs tabs;
};
const LengthTabs kOtherDescriptionTabs[] = {
    {6, {4, 7, 6}}, {10, {4, 6, 6}}, {13, {3, 6, 6}}, {16, {3, 5, 5}},
    {19, {3, 5, 4}}, {25, {2, 4, 4}}, {33, {2, 3, 3}}, {INT_MAX, {1, 2, 2}},
};

// Section 4, "Calcolo delle superfici."
struct SurfaceLine {
    const char *label;
    Tabs tabs;
};
const SurfaceLine kSurfaceLines[] = {
    {"Superficie utile: ", {3, 5, 5}},
    {"Superficie convenzionale: ", {2, 4, 3}},
    {"Superficie commerciale: ", {2, 4, 3}},
};

// Section 5, "Caratteristiche di localizzazione."
struct OptionLine {
    const char *label;
    Tabs tabs;
    std::array<std::pair<const char *, const char *>, 3> options; // field, text written
};
const OptionLine kOptionLines[] = {
    {"Dimensioni del centro urbano: ",
     {1, 3, 3},
     {{{"PiccoleDimensImmob", "piccole dimensioni"},
       {"MedieDimensImmob", "medie dimensioni"},
       {"GrandiDimensImmob", "grandi dimensioni"}}}},
    {"Ubicazione rispetto al centro urbano: ",
     {1, 2, 2},
     {{{"ZonaCentrImmob", "zona centrale"},
       {"ZonaIntermImmob", "zona intermedia"},
       {"ZonaPeriferImmob", "zona periferica"}}}},
};
const FieldLine kLocalisationLines[] = {
    {"Zona urbana di appartenenza: ", {1, 3, 3}, {"ZonaUrbanaImmob"}, {}},
    {"Distanza da via o piazza principale: ", {1, 2, 2}, {"DistanzaViaPrincip"}, {}},
    {"Servizio di trasporto pubblico: ", {1, 3, 3}, {"ServTraspPubblico"}, {}},
    {"Qualificazione dell'ambiente esterno: ", {1, 2, 2}, {"QualifAmbienteExt"}, {}},
    {"Idoneità insediativa: ", {2, 4, 4}, {"IdoneitaInsediat"}, {}},
    {"Previsione di miglioramenti ambientali: ", {1, 2, 1}, {"MiglioramAmbiente"}, {}},
    {"Giudizio sul livello di inquinamento: ", {1, 2, 2}, {"InquinamAmbiente"}, {}},
    {"Giudizio sulla presenza di aree verdi: ", {1, 2, 2}, {"VerdePubblico"}, {}},
    {"Disponibilità aree di sosta: ", {2, 4, 3}, {"DisponibAreeSosta"}, {}},
};
// Any of these non-empty writes the section whatever the page's light.
const char *const kLocalisationExtraFields[] = {"InquinamAmbiente", "VerdePubblico", "DisponibAreeSosta"};

struct Ticked {
    const char *field;
    const char *caption;
};
const Ticked kServices[] = {
    {"ScuoleObbligo", "Scuole dell'obbligo"},
    {"IstitutiSuperiori", "Istituti superiori"},
    {"FacoltaUniversit", "Facoltà universitarie"},
    {"MensaUniversit", "Mensa universitaria"},
    {"MercatoCivico", "Mercato civico"},
    {"Supermercati", "Supermercati"},
    {"GrandiMagazzini", "Grandi magazzini"},
    {"CentriCommerciali", "Centri commerciali"},
    {"ParcheggiPubblici", "Parcheggi pubblici"},
    {"PercorsiLineeCTM", "Percorsi linee CTM"},
    {"StruttureSanitarie", "Strutture sanitarie"},
    {"ImpiantiSportivi", "Impianti sportivi"},
    {"UfficiPostali", "Uffici postali"},
    {"LuoghiDiCulto", "Luoghi di culto"},
    {"LocaliSpettacolo", "Locali di spettacolo"},
};

// Section 6, "Caratteristiche di posizione."
const FieldLine kPositionLines[] = {
    {"Luminosità: ", {3, 6, 5}, {"Luminosita"}, {}},
    {"Panoramicità: ", {3, 5, 5}, {"Panoramicita"}, {}},
    {"Esposizione: ", {3, 6, 5}, {"Esposizione"}, {}},
    {"Prospicienza: ", {3, 5, 5}, {"Prospicienza"}, {}},
    {"Quota rispetto al piano stradale: ", {1, 3, 2}, {"QuotaDaPianoStrad"}, {}},
    {"Valutazione degli spazi accessori: ", {1, 2, 2}, {"SuperfAccessorie"}, {}},
};

// Section 7, "Caratteristiche tipologiche."
const FieldLine kTypologyLines[] = {
    {"Stato di conservazione interno: ", {1, 3, 3}, {"StatoConservInt"}, {}},
    {"Stato di conservazione esterno: ", {1, 3, 2}, {"StatoConservExt"}, {}},
    {"Grado di rifinitura interno: ", {2, 4, 3}, {"GradoRifinitInt"}, {}},
    {"Grado di rifinitura esterno: ", {2, 4, 3}, {"GradoRifinitExt"}, {}},
    {"Presenza di impianti tecnologici: ", {1, 3, 2}, {"PresImpiantiTecnol"}, {}},
    {"Livello tecnologico degli impianti: ", {1, 3, 2}, {"LivImpiantiTecnol"}, {}},
};
struct Plant {
    const char *field;
    const char *caption;
    const char *kindField; // its kind follows in brackets; nullptr when none
};
const Plant kPlants[] = {
    {"Ascensore", "Ascensore", "AscensoreTipo"},
    {"Riscaldamento", "Riscaldamento", "RiscaldamentoTipo"},
    {"ImpElettrANorma", "Impianto elettrico a norma di legge", nullptr},
    {"RiservaIdrica", "Riserva idrica", nullptr},
    {"AntennaCentralizz", "Antenna centralizzata", nullptr},
    {"CancelloAutomatico", "Cancello automatico", nullptr},
    {"Portineria", "Portineria", nullptr},
};

// Section 8, "Caratteristiche produttive."
const FieldLine kProductiveLines[] = {
    {"Canone mensile di locazione unitario: ", {1, 2, 2}, {"CanoneLocazUnit"}, {}, Suffix::Currency},
    {"Numero mensilità richieste in cauzione: ", {1, 2, 1}, {"NumCauzioni"}, {}},
    {"Saggio d'interesse commerciale: ", {1, 3, 2}, {"SaggioCommerciale"}, {}, Suffix::Percent},
    {"Saggio d'interesse legale: ", {2, 4, 3}, {"SaggioLegale"}, {}, Suffix::Percent},
    {"Spese di manutenzione: ", {2, 4, 4}, {"SpeseManutenzione"}, {}, Suffix::Currency},
    {"Spese per servizi e amministrazione: ", {1, 2, 2}, {"SpeseAmministraz"}, {}, Suffix::Currency},
    {"Alee per sfitti e inesigibilità: ", {2, 3, 3}, {"AleeSfitti"}, {}, Suffix::Currency},
    {"Spese per assicurazioni: ", {2, 4, 3}, {"SpeseAssicurazioni"}, {}, Suffix::Currency},
    {"Aliquote di ammortamento: ", {2, 3, 3}, {"AliquoteAmmortam"}, {}, Suffix::Currency},
    {"Aliquote per imposte e tasse: ", {2, 3, 3}, {"AliquoteTasse"}, {}, Suffix::Currency},
    {"Reddito lordo annuo: ", {2, 4, 4}, {"RedditoLordoAnnuo"}, {}, Suffix::Currency},
    {"Reddito netto annuo: ", {2, 4, 4}, {"RedditoNettoAnnuo"}, {}, Suffix::Currency},
};

// Section 9, "Immobili di confronto.": the lines under each comparable. The
// names are the comparables table's columns.
const FieldLine kComparableLines[] = {
    {" - Caratteristiche di localizzazione:", {1, 2, 2}, {"CdCarattLocalizzaz"}, {}, Suffix::Percent},
    {" - Caratteristiche di posizione:", {2, 3, 3}, {"CdCarattPosizione"}, {}, Suffix::Percent},
    {" - Caratteristiche tipologiche:", {2, 3, 3}, {"CdCarattTipologiche"}, {}, Suffix::Percent},
    {" - Caratteristiche produttive:", {2, 3, 3}, {"CdCarattProduttive"}, {}, Suffix::Percent},
    {" - Superficie commerciale:", {2, 4, 3}, {"SupCommercImmob"}, {}, Suffix::SquareMetre},
    {" - Costo unitario:", {3, 5, 5}, {"CostoUnitario"}, {}, Suffix::UnitCost},
    {" - Costo complessivo:", {2, 4, 4}, {"CostoComplessivo"}, {}, Suffix::TotalCost},
};
const char *const kComparableAddressFields[] = {"IndirizzoImmob", "NumCivicoImmob", "PianoImmob", "InternoImmob"};

// Section 10, "Parametri di confronto.": the comparison coefficients with
// their admissible ranges by the unit's position in the town.
enum ZoneColumn { Centrale = 0, Periferica = 1, Other = 2 };
struct Range {
    const char *minimum;
    const char *maximum;
};
struct ComparisonLine {
    const char *screenLabel;
    const char *otherLabel; // export and print
    std::array<Range, 3> ranges;
};
const ComparisonLine kComparisonLines[] = {
    {" - Caratteristiche di localizzazione: \t\t",
     " - Caratteristiche di localizzazione: \t\t",
     {{{"  5,00 %", "  10,00 %"}, {"15,00 %", "  35,00 %"}, {"10,00 %", "  30,00 %"}}}},
    {" - Caratteristiche di posizione: \t\t",
     " - Caratteristiche di posizione: \t\t\t",
     {{{"15,00 %", "  25,00 %"}, {"10,00 %", "  25,00 %"}, {"10,00 %", "  20,00 %"}}}},
    {" - Caratteristiche tipologiche: \t\t\t",
     " - Caratteristiche tipologiche: \t\t\t",
     {{{"15,00 %", "  30,00 %"}, {"  5,00 %", "  20,00 %"}, {"20,00 %", "  25,00 %"}}}},
    {" - Caratteristiche produttive: \t\t\t",
     " - Caratteristiche produttive: \t\t\t",
     {{{"25,00 %", "  35,00 %"}, {"10,00 %", "  20,00 %"}, {"10,00 %", "  25,00 %"}}}},
    {" - Totale: \t\t\t\t\t",
     " - Totale: \t\t\t\t\t\t",
     {{{"60,00 %", "100,00 %"}, {"40,00 %", "100,00 %"}, {"50,00 %", "100,00 %"}}}},
};
// The four coefficients of the first four comparison lines; the fifth is their sum.
constexpr Coef kComparisonCoefs[] = {Coef::CDCarattLocalizzaz, Coef::CDCarattPosizione, Coef::CDCarattTipologiche,
                                     Coef::CDCarattProduttive};

struct CapitalisationLine {
    const char *label;
    Tabs tabs;
    Range range;
    Coef coef;
};
const CapitalisationLine kCapitalisationLines[] = {
    {" - Ubicazione rispetto al centro urbano: ", {2, 2, 1}, {"+0,15 %", "  -0,15 %"}, Coef::CICentrRispCentrUrb},
    {" - Servizio di trasporto pubblico: ", {2, 3, 2}, {"+0,07 %", "  -0,07 %"}, Coef::CILivelloCollegam},
    {" - Attrezzature collettive: ", {3, 4, 4}, {"+0,28 %", "  -0,28 %"}, Coef::CIAttrezzCollett},
    {" - Qualificazione dell'ambiente esterno: ", {2, 2, 1}, {"+0,06 %", "  -0,06 %"}, Coef::CIQualifAmbienteExt},
    {" - Idoneità insediativa: ", {3, 4, 4}, {"+0,06 %", "  -0,06 %"}, Coef::CIIdoneitaInsediat},
    {" - Previsione di miglioramenti ambientali: ", {2, 1, 1}, {"+0,06 %", "  -0,06 %"}, Coef::CIPrevMiglAmbient},
    {" - Giudizio sul livello di inquinamento: ", {2, 2, 2}, {"+0,04 %", "  -0,04 %"}, Coef::CILivInquinamAmbient},
    {" - Giudizio sulla presenza di aree verdi: ", {2, 2, 1}, {"+0,04 %", "  -0,04 %"}, Coef::CIPresVerdePubblico},
    {" - Disponibilità aree di sosta: ", {3, 3, 3}, {"+0,06 %", "  -0,06 %"}, Coef::CIDisponibParcheggi},
    {" - Luminosità: ", {4, 5, 5}, {"+0,10 %", "  -0,10 %"}, Coef::CILuminosita},
    {" - Panoramicità: ", {4, 5, 5}, {"+0,36 %", "  -0,36 %"}, Coef::CIPanoramicita},
    {" - Prospicienza: ", {4, 5, 5}, {"+0,10 %", "  -0,10 %"}, Coef::CIProspicienza},
    {" - Quota rispetto al piano stradale: ", {2, 2, 2}, {"+0,08 %", "  -0,08 %"}, Coef::CIQuotaDaPianoStrad},
    {" - Valutazione degli spazi accessori: ", {2, 2, 2}, {"+0,06 %", "  -0,06 %"}, Coef::CIDimensSpaziAccess},
    {" - Stato di conservazione interno: ", {2, 3, 2}, {"+0,06 %", "  -0,06 %"}, Coef::CIStatoConservazInt},
    {" - Stato di conservazione esterno: ", {2, 2, 2}, {"+0,06 %", "  -0,06 %"}, Coef::CIStatoConservazExt},
    {" - Grado di rifinitura interno: ", {3, 3, 3}, {"+0,06 %", "  -0,06 %"}, Coef::CIGradoRifinInterno},
    {" - Grado di rifinitura esterno: ", {3, 3, 3}, {"+0,06 %", "  -0,06 %"}, Coef::CIGradoRifinEsterno},
    {" - Livello tecnologico degli impianti: ", {2, 2, 2}, {"+0,04 %", "  -0,04 %"}, Coef::CILivTecnolImpianti},
    {" - Vetustà dell'edificio: ", {3, 4, 4}, {"+0,10 %", "  -0,10 %"}, Coef::CIVetustaEdificio},
    {" - Caratteristiche produttive: ", {3, 3, 3}, {"+0,10 %", "  -0,10 %"}, Coef::CICarattProduttive},
};

// Section 12, "Risultati della stima."
struct ResultBlock {
    const char *screenTitle;
    const char *otherTitle;
    const char *unitField;
    const char *totalField;
};
const ResultBlock kResultBlocks[] = {
    {"Stima per comparazione diretta. ", "Stima per comparazione diretta: ", "CostoUnitario", "CostoComplessivo"},
    {"Stima per capitalizzazione dei redditi. ", "Stima per capitalizzazione dei redditi: ", "CICostoUnitario",
     "CICostoComplessivo"},
};
constexpr Tabs kUnitValueTabs{3, 5, 5};
constexpr Tabs kTotalValueTabs{2, 4, 4};

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QString tabs(int n)
{
    return QString(n, QLatin1Char('\t'));
}

class Builder {
public:
    Builder(const SummaryInput &input, SummaryForm form) : in(input), m_form(form) {}

    SummaryLines build();

private:
    int column() const { return static_cast<int>(m_form); }
    bool screen() const { return m_form == SummaryForm::Screen; }
    QString field(const char *name) const { return in.texts.value(text(name)); }
    bool ticked(const char *name) const { return in.ticks.value(text(name)); }
    bool lit(int node) const { return in.lights[std::size_t(node - 1)] != Light::Red; }

    void heading(const char *title)
    {
        m_lines.append({SummaryLine::Style::Heading, text(title)});
        blank();
    }
    void body(const QString &line) { m_lines.append({SummaryLine::Style::Body, line}); }
    // A line whose value stands in the column of its section.
    void aligned(const QString &line) { aligned(line, m_sectionStops); }
    void aligned(const QString &line, const Tabs &stops)
    {
        m_lines.append({SummaryLine::Style::Body, line, stops[column()]});
    }
    void blank(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            body(QString());
    }
    // label + tabs + value, only when the value is non-empty.
    void valueLine(const char *label, const Tabs &n, const QString &value)
    {
        if (!value.isEmpty())
            aligned(text(label) + tabs(n[column()]) + value);
    }
    QString suffix(Suffix s) const;
    void fieldLine(const FieldLine &line, const QHash<QString, QString> &values);
    void fieldLines(std::span<const FieldLine> lines) { fieldLines(lines, in.texts); }
    void fieldLines(std::span<const FieldLine> lines, const QHash<QString, QString> &values)
    {
        for (const FieldLine &l : lines)
            fieldLine(l, values);
    }

    void appraiser();
    void description();
    void surfaces();
    void surfaceValues();
    void localisation();
    void position();
    void typology();
    void productive();
    void comparables();
    void comparisonParameters();
    void capitalisationRate();
    void results();

    const SummaryInput &in;
    SummaryForm m_form;
    SummaryLines m_lines;
    Tabs m_sectionStops = kValueStops;
};

QString Builder::suffix(Suffix s) const
{
    switch (s) {
    case Suffix::None: return {};
    case Suffix::Degree: return m_form == SummaryForm::Print ? QString() : QStringLiteral("°");
    case Suffix::Percent: return QStringLiteral(" %");
    case Suffix::Currency: return QStringLiteral("  ") + in.valutaCorrente;
    case Suffix::SquareMetre: return QStringLiteral("  mq");
    case Suffix::UnitCost: return QLatin1Char(' ') + in.valutaCorrente + QStringLiteral("/mq");
    case Suffix::TotalCost: return QLatin1Char(' ') + in.valutaCorrente;
    }
    return {};
}

void Builder::fieldLine(const FieldLine &line, const QHash<QString, QString> &values)
{
    QString value;
    for (std::size_t i = 0; i < line.fields.size() && line.fields[i]; ++i) {
        const QString part = values.value(text(line.fields[i]));
        if (part.isEmpty())
            return; // a line built from several fields needs all of them
        if (i > 0)
            value += text(line.joins[i - 1]);
        value += part;
    }
    valueLine(line.label, line.tabs, value + suffix(line.suffix));
}

void Builder::appraiser()
{
    if (!lit(kAppraiserNode))
        return;
    heading("Generalità del professionista.");
    fieldLines(kAppraiserLines);
    blank(2);
}

void Builder::description()
{
    if (!lit(kDescriptionNode))
        return;
    heading("Descrizione unità immobiliare.");
    fieldLines(kDescriptionLines);
    // The date and the age only mean something beside a construction year,
    // so the three lines go together.
    if (!field("AnnoCostruzImmob").isEmpty()) {
        const QString date = in.appraisalDate.isValid()
                                 ? QLocale(QLocale::Italian).toString(in.appraisalDate, QStringLiteral("d MMMM yyyy"))
                                 : QString();
        aligned(QStringLiteral("Data della stima: ") + tabs(kDateTabs[column()]) + date);
        aligned(QStringLiteral("Anno di costruzione: ") + tabs(kYearTabs[column()]) + field("AnnoCostruzImmob"));
        aligned(text("Età dell'edificio: ") + tabs(kAgeTabs[column()]) + field("EtaEdificioImmob"));
    }
    fieldLines(kCadastreLines);
    blank(2);
}

void Builder::surfaces()
{
    if (!lit(kSurfacesNode))
        return;
    heading("Descrizione delle superfici.");
    for (const SurfaceRow &row : in.surfaceRows) {
        if (row.description.isEmpty() || row.area == 0)
            continue;
        aligned(row.description + tabs(surfaceDescriptionTabs(row.description)[column()]) + FormattaImporto(row.area)
                + QStringLiteral("\tmq"));
    }
    blank(2);
    surfaceValues();
}

void Builder::surfaceValues()
{
    heading("Calcolo delle superfici.");
    const QString unit = screen() ? QStringLiteral("\tmq") : QStringLiteral("  mq");
    for (std::size_t i = 0; i < std::size(kSurfaceLines); ++i) {
        // A surface not computed yet holds no number; its line is left out
        // rather than stopping the whole summary on a conversion failure.
        const std::optional<double> value = amountIn(in.surfaceValues.value(int(i)));
        if (value)
            aligned(text(kSurfaceLines[i].label) + tabs(kSurfaceLines[i].tabs[column()]) + FormattaImporto(*value)
                    + unit);
    }
    blank(2);
}

void Builder::localisation()
{
    bool anyService = false;
    for (const Ticked &s : kServices)
        anyService = anyService || ticked(s.field);
    bool anyExtra = false;
    for (const char *f : kLocalisationExtraFields)
        anyExtra = anyExtra || !field(f).isEmpty();
    if (!lit(kLocalisationNode) && !anyExtra && !anyService)
        return;

    heading("Caratteristiche di localizzazione.");
    for (const OptionLine &o : kOptionLines) {
        for (const auto &[name, value] : o.options) {
            if (ticked(name)) {
                valueLine(o.label, o.tabs, text(value));
                break;
            }
        }
    }
    fieldLines(kLocalisationLines);
    if (anyService) {
        body(screen() ? QStringLiteral("Attrezzature collettive a dist. pedonale: ")
                      : QStringLiteral("Attrezzature collettive a distanza pedonale: "));
        for (const Ticked &s : kServices) {
            if (ticked(s.field))
                body(QStringLiteral(" - ") + text(s.caption));
        }
    }
    blank(2);
}

void Builder::position()
{
    bool any = false;
    for (const FieldLine &l : kPositionLines)
        any = any || !field(l.fields[0]).isEmpty();
    if (!any)
        return;
    heading("Caratteristiche di posizione.");
    fieldLines(kPositionLines);
    blank(2);
}

void Builder::typology()
{
    bool anyJudgment = false;
    for (const FieldLine &l : kTypologyLines)
        anyJudgment = anyJudgment || !field(l.fields[0]).isEmpty();
    bool anyPlant = false;
    for (const Plant &p : kPlants)
        anyPlant = anyPlant || ticked(p.field);
    if (!anyJudgment && !anyPlant)
        return;

    heading("Caratteristiche tipologiche.");
    fieldLines(kTypologyLines);
    if (anyPlant) {
        body(QStringLiteral("Impianti tecnologici di base: "));
        for (const Plant &p : kPlants) {
            if (!ticked(p.field))
                continue;
            QString line = QStringLiteral(" - ") + text(p.caption);
            if (p.kindField)
                line += QStringLiteral("\t(") + field(p.kindField) + QLatin1Char(')');
            body(line);
        }
    }
    blank(2);
}

void Builder::productive()
{
    if (!lit(kProductiveNode))
        return;
    heading("Caratteristiche produttive.");
    m_sectionStops = kProductiveStops;
    fieldLines(kProductiveLines);
    m_sectionStops = kValueStops;
    blank(2);
}

void Builder::comparables()
{
    if (!lit(kComparablesNode))
        return;
    heading("Immobili di confronto.");
    for (const QHash<QString, QString> &row : in.comparables) {
        bool addressed = true;
        for (const char *f : kComparableAddressFields)
            addressed = addressed && !row.value(text(f)).isEmpty();
        if (!addressed)
            continue;
        body(row.value(QStringLiteral("IndirizzoImmob")) + QLatin1Char(' ') + row.value(QStringLiteral("NumCivicoImmob"))
             + QStringLiteral(", Piano ") + row.value(QStringLiteral("PianoImmob")) + QStringLiteral(", Interno ")
             + row.value(QStringLiteral("InternoImmob")));
        fieldLines(kComparableLines, row);
        blank();
    }
    blank();
}

void Builder::comparisonParameters()
{
    heading("Parametri di confronto.");
    const ZoneColumn zone = ticked("ZonaCentrImmob")     ? Centrale
                            : ticked("ZonaPeriferImmob") ? Periferica
                                                         : Other;
    const QString columns = QStringLiteral(" \t\t\t Minimo\t Massimo\t   Calcolato");
    const QString fiveSpaces(5, QLatin1Char(' '));

    aligned(screen() ? QStringLiteral("Comparazione diretta.") + columns : QStringLiteral("Comparazione diretta."),
            kParameterStops);
    double total = 0;
    for (std::size_t i = 0; i < std::size(kComparisonLines); ++i) {
        const ComparisonLine &l = kComparisonLines[i];
        double value = 0;
        if (i < std::size(kComparisonCoefs)) {
            value = in.coefficients[kComparisonCoefs[i]];
            total += value;
        } else {
            value = total;
        }
        const QString calculated = FormattaImporto(value) + QStringLiteral(" %");
        if (screen()) {
            const Range &r = l.ranges[std::size_t(zone)];
            aligned(text(l.screenLabel) + text(r.minimum) + QLatin1Char('\t') + text(r.maximum) + QLatin1Char('\t')
                        + fiveSpaces + calculated,
                    kParameterStops);
        } else {
            aligned(text(l.otherLabel) + calculated, kParameterStops);
        }
    }

    blank();
    aligned(screen() ? QStringLiteral("Capitalizzazione dei redditi.") + columns
                     : QStringLiteral("Capitalizzazione dei redditi. "),
            kParameterStops);
    for (const CapitalisationLine &l : kCapitalisationLines) {
        const QString calculated = FormattaImporto(in.coefficients[l.coef]) + QStringLiteral(" %");
        QString line = text(l.label) + tabs(l.tabs[column()]);
        if (screen())
            line += text(l.range.minimum) + QLatin1Char('\t') + text(l.range.maximum) + QLatin1Char('\t') + fiveSpaces;
        aligned(line + calculated, kParameterStops);
    }
    blank();
}

void Builder::capitalisationRate()
{
    const QString average = field("SaggioMedioImmob");
    if (average.isEmpty() || field("RedditoNettoAnnuo").isEmpty())
        return;
    aligned(QStringLiteral("Saggio medio di capitalizzazione: \t\t") + average + QStringLiteral(" %"), kParameterStops);
    aligned((screen() ? QStringLiteral("Saggio di capitalizzazione calcolato: \t\t")
                      : QStringLiteral("Saggio di capitalizzazione: \t\t\t"))
                + FormattaImporto(in.coefficients[Coef::SaggioCapitalizzaz]) + QStringLiteral(" %"),
            kParameterStops);
    blank(2);
}

void Builder::results()
{
    bool any = false;
    for (const ResultBlock &b : kResultBlocks)
        any = any || !field(b.unitField).isEmpty();
    if (!any)
        return;
    heading("Risultati della stima.");
    for (std::size_t i = 0; i < std::size(kResultBlocks); ++i) {
        const ResultBlock &b = kResultBlocks[i];
        if (i > 0)
            blank(); // between the two blocks, whether or not the first was written
        if (field(b.unitField).isEmpty())
            continue;
        body(text(screen() ? b.screenTitle : b.otherTitle));
        valueLine(" - Valore unitario: ", kUnitValueTabs,
                  field(b.unitField) + QStringLiteral("  ") + in.valutaCorrente + QStringLiteral("/mq"));
        if (!field(b.totalField).isEmpty())
            valueLine(" - Valore complessivo: ", kTotalValueTabs,
                      field(b.totalField) + QStringLiteral("  ") + in.valutaCorrente);
    }
}

SummaryLines Builder::build()
{
    appraiser();
    description();
    surfaces();
    localisation();
    position();
    typology();
    productive();
    comparables();
    comparisonParameters();
    capitalisationRate();
    results();
    return m_lines;
}

} // namespace

SummaryFormStyle summaryFormStyle(SummaryForm form)
{
    switch (form) {
    case SummaryForm::Screen: return {8, 0};
    case SummaryForm::Export: return {12, 0};
    case SummaryForm::Print: return {12, 50};
    }
    return {8, 0};
}

std::array<int, 3> surfaceDescriptionTabs(const QString &description)
{
    for (const RoomTabs &r : kRoomTabs) {
        if (description == QLatin1String(r.name))
            return r.tabs;
    }
    for (const LengthTabs &b : kOtherDescriptionTabs) {
        if (description.size() <= b.maxLength)
            return b.tabs;
    }
    return {1, 2, 2};
}

SummaryLines buildSummary(const SummaryInput &input, SummaryForm form)
{
    return Builder(input, form).build();
}

QList<qreal> summaryTabStops(const SummaryLine &line, qreal labelWidth, qreal stop, qreal indent, qreal extent)
{
    QList<qreal> stops;
    const qsizetype first = line.text.indexOf(QLatin1Char('\t'));
    if (first < 0 || stop <= 0)
        return stops;
    qsizetype run = 0;
    while (first + run < line.text.size() && line.text.at(first + run) == QLatin1Char('\t'))
        ++run;
    // The stops of the first run: its tabs before the last share the room
    // between the label and the column evenly (a tab is blank, so where they
    // fall shows nowhere), which leaves the label room to measure a little
    // more or less than here; the last tab lands on the column.
    const qreal column = line.valueStop * stop - indent;
    if (line.valueStop > 0 && first > 0 && labelWidth < column) {
        const qreal room = column - labelWidth;
        for (qsizetype k = 1; k < run; ++k)
            stops << labelWidth + room * qreal(k) / qreal(run);
        stops << column;
    }
    // Then every stop of the margin further on.
    for (int k = 1; k * stop - indent <= extent; ++k) {
        const qreal at = k * stop - indent;
        if (at > 0 && (stops.isEmpty() || at > stops.last()))
            stops << at;
    }
    return stops;
}

QString summaryPlainText(const SummaryLines &lines)
{
    QStringList texts;
    texts.reserve(lines.size());
    for (const SummaryLine &l : lines)
        texts << l.text;
    return texts.join(QLatin1Char('\n'));
}

} // namespace brevan::report
