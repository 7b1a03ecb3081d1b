// SPDX-License-Identifier: GPL-2.0-or-later
#include "record.h"

#include <QHash>
#include <array>

namespace brevan {

namespace {

using T = FieldType;
using O = OpenRole;
using K = KeyFilter;
using C = Choice;

constexpr FieldDef kFields[] = {
    // Appraiser
    {1, "CognomeProfess", T::Text, 30, "Edit6", O::Restore, 30, K::None, C::None},
    {2, "NomeProfess", T::Text, 30, "Edit7", O::Restore, 30, K::None, C::None},
    {3, "CodiceFiscaleProfess", T::Text, 16, "Edit8", O::Restore, 16, K::None, C::None},
    {4, "ProfessioneProfess", T::Text, 30, "Edit9", O::Restore, 30, K::None, C::None},
    {5, "NumIscrizAlboProfess", T::Text, 20, "Edit22", O::Restore, 20, K::Integers, C::None},
    {6, "SocietaProfess", T::Text, 50, "Edit23", O::Restore, 50, K::None, C::None},
    {7, "PartitaIvaProfess", T::Text, 11, "Edit24", O::Restore, 11, K::Integers, C::None},
    {8, "ComuneProfess", T::Text, 50, "ComboBox13", O::Restore, 50, K::None, C::Comuni},
    {9, "CAPProfess", T::Text, 5, "ComboBox17", O::Restore, 5, K::Integers, C::CAP},
    {10, "ProvinciaProfess", T::Text, 20, "ComboBox12", O::Restore, 20, K::None, C::Province},
    {11, "SiglaProvinciaProfess", T::Text, 2, "ComboBox14", O::Restore, 2, K::None, C::SigleProvince},
    {12, "IndirizzoProfess", T::Text, 50, "Edit10", O::Restore, 50, K::None, C::None},
    {13, "NumCivicoProfess", T::Text, 10, "Edit11", O::Restore, 10, K::None, C::None},
    {14, "TelefonoProfess", T::Text, 20, "Edit2", O::Restore, 20, K::None, C::None},
    {15, "FaxProfess", T::Text, 20, "Edit3", O::Restore, 20, K::None, C::None},
    {16, "CellulareProfess", T::Text, 20, "Edit4", O::Restore, 20, K::None, C::None},
    {17, "EMailProfess", T::Text, 100, "Edit5", O::Restore, 100, K::None, C::None},
    // Unit and building
    {18, "ComuneImmob", T::Text, 50, "ComboBox6", O::Restore, 50, K::None, C::Comuni},
    {19, "CAPImmob", T::Text, 5, "ComboBox11", O::Restore, 5, K::Integers, C::CAP},
    {20, "ProvinciaImmob", T::Text, 20, "ComboBox1", O::Restore, 20, K::None, C::Province},
    {21, "SiglaProvinciaImmob", T::Text, 2, "ComboBox8", O::Restore, 2, K::None, C::SigleProvince},
    {22, "IndirizzoImmob", T::Text, 50, "Edit12", O::Restore, 50, K::None, C::None},
    {23, "NumCivicoImmob", T::Text, 10, "Edit13", O::Restore, 10, K::None, C::None},
    {24, "TipologEdiliziaImmob", T::Text, 30, "ComboBox3", O::Restore, 30, K::None, C::TipologiaEdilizia},
    {25, "TotPianiImmob", T::Text, 2, "ComboBox45", O::Restore, 2, K::Integers, C::None},
    {26, "PianoImmob", T::Text, 2, "ComboBox46", O::Restore, 2, K::Integers, C::None},
    {27, "InternoImmob", T::Text, 10, "Edit20", O::Restore, 10, K::None, C::None},
    {28, "DataStimaImmob", T::Text, 10, "DateTimePicker1", O::Restore, 0, K::None, C::None},
    {29, "AnnoCostruzImmob", T::Text, 4, "ComboBox5", O::Restore, 4, K::Integers, C::None},
    {30, "EtaEdificioImmob", T::Text, 8, "ComboBox2", O::Restore, 8, K::PickOnly, C::None},
    {31, "FoglioCatastImmob", T::Text, 4, "Edit15", O::Restore, 4, K::Integers, C::None},
    {32, "MappaleCatastImmob", T::Text, 4, "Edit16", O::Restore, 4, K::Integers, C::None},
    {33, "SubCatastImmob", T::Text, 4, "Edit18", O::Restore, 4, K::Integers, C::None},
    {34, "CategCatastImmob", T::Text, 4, "ComboBox4", O::Restore, 4, K::None, C::CategorieCatastali},
    {35, "ClasseCatastImmob", T::Text, 4, "Edit19", O::Restore, 2, K::Integers, C::None},
    {36, "ConsistCatastImmob", T::Text, 4, "Edit21", O::Restore, 4, K::None, C::None},
    // Files and surfaces
    {37, "FotoImmob", T::Text, 150, "", O::Companion, 0, K::None, C::None},
    {38, "PlanimZonaImmob", T::Text, 150, "", O::Companion, 0, K::None, C::None},
    {39, "PlanimImmob", T::Text, 150, "", O::Companion, 0, K::None, C::None},
    {40, "SuperficiImmob", T::Text, 150, "", O::Companion, 0, K::None, C::None},
    {41, "SupUtileImmob", T::Text, 10, "", O::Recomputed, 0, K::None, C::None},
    {42, "SupConvenzImmob", T::Text, 10, "", O::Recomputed, 0, K::None, C::None},
    {43, "SupCommercImmob", T::Text, 10, "", O::Recomputed, 0, K::None, C::None},
    // Localisation
    {44, "PiccoleDimensImmob", T::Logical, 0, "RadioButton1", O::Restore, 0, K::None, C::None},
    {45, "MedieDimensImmob", T::Logical, 0, "RadioButton2", O::Restore, 0, K::None, C::None},
    {46, "GrandiDimensImmob", T::Logical, 0, "RadioButton3", O::Restore, 0, K::None, C::None},
    {47, "ZonaCentrImmob", T::Logical, 0, "RadioButton4", O::Restore, 0, K::None, C::None},
    {48, "ZonaIntermImmob", T::Logical, 0, "RadioButton5", O::Restore, 0, K::None, C::None},
    {49, "ZonaPeriferImmob", T::Logical, 0, "RadioButton6", O::Restore, 0, K::None, C::None},
    {50, "ZonaUrbanaImmob", T::Text, 50, "ComboBox34", O::Restore, 0, K::PickOnly, C::ZoneUrbane},
    {51, "SaggioMedioImmob", T::Text, 10, "Edit28", O::Restore, 10, K::Decimals, C::None},
    {52, "DistanzaViaPrincip", T::Text, 50, "ComboBox35", O::Restore, 0, K::PickOnly, C::DistanzaViaPrincipale},
    {53, "ServTraspPubblico", T::Text, 50, "ComboBox36", O::Restore, 0, K::PickOnly, C::TrasportoPubblico},
    {54, "QualifAmbienteExt", T::Text, 15, "ComboBox37", O::Restore, 0, K::PickOnly, C::GiudizioMaschile},
    {55, "IdoneitaInsediat", T::Text, 15, "ComboBox38", O::Restore, 0, K::PickOnly, C::GiudizioMaschile},
    {56, "MiglioramAmbiente", T::Text, 15, "ComboBox39", O::Restore, 0, K::PickOnly, C::GiudizioMaschile},
    // Position: amenities within walking distance
    {57, "ScuoleObbligo", T::Logical, 0, "CheckBox10", O::Restore, 0, K::None, C::None},
    {58, "IstitutiSuperiori", T::Logical, 0, "CheckBox11", O::Restore, 0, K::None, C::None},
    {59, "FacoltaUniversit", T::Logical, 0, "CheckBox12", O::Restore, 0, K::None, C::None},
    {60, "MensaUniversit", T::Logical, 0, "CheckBox13", O::Restore, 0, K::None, C::None},
    {61, "MercatoCivico", T::Logical, 0, "CheckBox14", O::Restore, 0, K::None, C::None},
    {62, "Supermercati", T::Logical, 0, "CheckBox15", O::Restore, 0, K::None, C::None},
    {63, "GrandiMagazzini", T::Logical, 0, "CheckBox16", O::Restore, 0, K::None, C::None},
    {64, "CentriCommerciali", T::Logical, 0, "CheckBox17", O::Restore, 0, K::None, C::None},
    {65, "ParcheggiPubblici", T::Logical, 0, "CheckBox18", O::Restore, 0, K::None, C::None},
    {66, "PercorsiLineeCTM", T::Logical, 0, "CheckBox19", O::Restore, 0, K::None, C::None},
    {67, "StruttureSanitarie", T::Logical, 0, "CheckBox20", O::Restore, 0, K::None, C::None},
    {68, "ImpiantiSportivi", T::Logical, 0, "CheckBox21", O::Restore, 0, K::None, C::None},
    {69, "UfficiPostali", T::Logical, 0, "CheckBox22", O::Restore, 0, K::None, C::None},
    {70, "LuoghiDiCulto", T::Logical, 0, "CheckBox23", O::Restore, 0, K::None, C::None},
    {71, "LocaliSpettacolo", T::Logical, 0, "CheckBox24", O::Restore, 0, K::None, C::None},
    {72, "InquinamAmbiente", T::Text, 15, "ComboBox40", O::Restore, 0, K::PickOnly, C::GiudizioMaschile},
    {73, "VerdePubblico", T::Text, 15, "ComboBox41", O::Restore, 0, K::PickOnly, C::GiudizioMaschile},
    {74, "DisponibAreeSosta", T::Text, 15, "ComboBox42", O::Restore, 0, K::PickOnly, C::GiudizioSosta},
    {75, "QuotaDaPianoStrad", T::Text, 16, "ComboBox43", O::Restore, 0, K::PickOnly, C::QuotaPiano},
    {76, "SuperfAccessorie", T::Text, 15, "ComboBox44", O::Restore, 0, K::PickOnly, C::GiudizioMaschile},
    // Typological characteristics
    {77, "Luminosita", T::Text, 15, "ComboBox18", O::Restore, 0, K::PickOnly, C::GiudizioFemminile},
    {78, "Panoramicita", T::Text, 15, "ComboBox19", O::Restore, 0, K::PickOnly, C::GiudizioFemminile},
    {79, "Esposizione", T::Text, 15, "ComboBox20", O::Restore, 0, K::PickOnly, C::GiudizioFemminile},
    {80, "Prospicienza", T::Text, 15, "ComboBox21", O::Restore, 0, K::PickOnly, C::GiudizioFemminile},
    {81, "AntennaCentralizz", T::Logical, 0, "CheckBox7", O::Restore, 0, K::None, C::None},
    {82, "CancelloAutomatico", T::Logical, 0, "CheckBox8", O::Restore, 0, K::None, C::None},
    {83, "RiservaIdrica", T::Logical, 0, "CheckBox6", O::Restore, 0, K::None, C::None},
    {84, "Portineria", T::Logical, 0, "CheckBox25", O::Restore, 0, K::None, C::None},
    {85, "Ascensore", T::Logical, 0, "CheckBox4", O::Restore, 0, K::None, C::None},
    {86, "AscensoreTipo", T::Text, 15, "ComboBox28", O::Restore, 0, K::PickOnly, C::AscensoreTipo},
    {87, "Riscaldamento", T::Logical, 0, "CheckBox5", O::Restore, 0, K::None, C::None},
    {88, "RiscaldamentoTipo", T::Text, 15, "ComboBox29", O::Restore, 0, K::PickOnly, C::RiscaldamentoTipo},
    {89, "ImpElettrANorma", T::Logical, 0, "CheckBox9", O::Restore, 0, K::None, C::None},
    {90, "StatoConservInt", T::Text, 15, "ComboBox22", O::Restore, 0, K::PickOnly, C::StatoConservInt},
    {91, "StatoConservExt", T::Text, 15, "ComboBox23", O::Restore, 0, K::PickOnly, C::StatoConservExt},
    {92, "GradoRifinitInt", T::Text, 15, "ComboBox24", O::Restore, 0, K::PickOnly, C::GradoRifinitInt},
    {93, "GradoRifinitExt", T::Text, 15, "ComboBox25", O::Restore, 0, K::PickOnly, C::GradoRifinitExt},
    {94, "PresImpiantiTecnol", T::Text, 15, "ComboBox26", O::Restore, 0, K::PickOnly, C::PresImpianti},
    {95, "LivImpiantiTecnol", T::Text, 15, "ComboBox27", O::Restore, 0, K::PickOnly, C::LivImpianti},
    // Income and expenses
    {96, "CanoneLocazUnit", T::Text, 15, "Edit14", O::Restore, 15, K::Decimals, C::None},
    {97, "NumCauzioni", T::Text, 15, "Edit17", O::Restore, 1, K::Integers, C::None},
    {98, "SaggioCommerciale", T::Text, 15, "Edit29", O::Restore, 6, K::Decimals, C::None},
    {99, "SaggioLegale", T::Text, 15, "Edit30", O::Restore, 6, K::Decimals, C::None},
    {100, "RedditoLordoAnnuo", T::Text, 15, "Edit31", O::Recomputed, 0, K::Decimals, C::None},
    {101, "SpeseManutenzione", T::Text, 15, "Edit33", O::Restore, 15, K::Decimals, C::None},
    {102, "SpeseAmministraz", T::Text, 15, "Edit34", O::Restore, 15, K::Decimals, C::None},
    {103, "AleeSfitti", T::Text, 15, "Edit35", O::Restore, 15, K::Decimals, C::None},
    {104, "SpeseAssicurazioni", T::Text, 15, "Edit36", O::Restore, 15, K::Decimals, C::None},
    {105, "AliquoteAmmortam", T::Text, 15, "Edit37", O::Restore, 15, K::Decimals, C::None},
    {106, "AliquoteTasse", T::Text, 15, "Edit38", O::Restore, 15, K::Decimals, C::None},
    {107, "RedditoNettoAnnuo", T::Text, 15, "Edit32", O::Recomputed, 0, K::Decimals, C::None},
    // Coefficient values held beside the pages
    {108, "CICentrRispCentrUrb", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {109, "CILivelloCollegam", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {110, "CIAttrezzCollett", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {111, "CIQualifAmbienteExt", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {112, "CILuminosita", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {113, "CIPanoramicita", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {114, "CIProspicienza", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {115, "CIIdoneitaInsediat", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {116, "CIPrevMiglAmbient", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {117, "CILivInquinamAmbient", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {118, "CIPresVerdePubblico", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {119, "CIVetustaEdificio", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {120, "CIDisponibParcheggi", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {121, "CIGradoRifinInterno", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {122, "CIGradoRifinEsterno", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {123, "CIQuotaDaPianoStrad", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {124, "CIDimensSpaziAccess", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {125, "CILivTecnolImpianti", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {126, "CIStatoConservazInt", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {127, "CIStatoConservazExt", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {128, "CICarattProduttive", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {129, "SaggioCapitalizzaz", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {130, "CDEsposizione", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {131, "CDCarattLocalizzaz", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {132, "CDLuminosita", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {133, "CDPanoramicita", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {134, "CDProspicienza", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {135, "CDQuotaDaPianoStrad", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {136, "CDCarattPosizione", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {137, "CDGradoRifinInterno", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {138, "CDGradoRifinEsterno", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {139, "CDStatoConservazInt", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {140, "CDStatoConservazExt", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {141, "CDLivTecnolImpianti", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {142, "CDVetustaEdificio", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {143, "CDCarattTipologiche", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    {144, "CDCarattProduttive", T::Real, 0, "", O::Recomputed, 0, K::None, C::None},
    // Comparables and results
    {145, "TableNameImmobConfr", T::Text, 150, "", O::Companion, 0, K::None, C::None},
    {146, "CostoUnitario", T::Text, 15, "Edit50", O::Recomputed, 0, K::None, C::None},
    {147, "CostoComplessivo", T::Text, 15, "Edit52", O::Recomputed, 0, K::None, C::None},
    {148, "CICostoUnitario", T::Text, 15, "Edit51", O::Recomputed, 0, K::None, C::None},
    {149, "CICostoComplessivo", T::Text, 15, "Edit53", O::Recomputed, 0, K::None, C::None},
};
static_assert(std::size(kFields) == kRecordFieldCount);

// Opening writes the unit's fields first, then the localisation options before
// the values they propose (the stored rate and rent replace the proposals),
// and the expenses last, after the gross income has proposed them.
constexpr auto kOpeningOrder = [] {
    std::array<int, 98> order{};
    size_t n = 0;
    auto range = [&](int from, int to) {
        for (int f = from; f <= to; ++f)
            order[n++] = f;
    };
    range(1, 36);    // appraiser, unit, date (28), cadastral data
    range(44, 46);   // city size
    range(50, 51);   // urban zone, average rate
    range(47, 49);   // zone options
    range(52, 56);
    range(57, 71);   // amenities
    range(72, 80);
    range(81, 89);   // ticks 81-85, lift kind, heating tick, heating kind, wiring
    range(90, 99);
    range(101, 106); // expenses
    return order;
}();

const char *const kTipologiaEdilizia[] = {"Edificio a schiera", "Edificio unifamiliare", "Edificio plurifamiliare"};
const char *const kDistanza[] = {"Meno di 100 metri", "Meno di 250 metri", "Meno di 500 metri", "Meno di 1000 metri",
                                 "Oltre i 1000 metri"};
const char *const kTrasporto[] = {"Presente una sola linea", "Presenti due o più linee",
                                  "Assente: fermata entro 100 metri", "Assente: fermata entro 500 metri",
                                  "Assente: fermata oltre 500 metri"};
const char *const kGiudizioM[] = {"Scarso", "Mediocre", "Sufficiente", "Buono", "Ottimo"};
const char *const kGiudizioSosta[] = {"Scarsa", "Mediocre", "Sufficiente", "Buona", "Ottima"};
const char *const kQuota[] = {"Piano terra", "Primo piano", "Piano intermedio", "Ultimo piano", "Piano attico"};
const char *const kGiudizioF[] = {"Scarsa", "Insufficiente", "Sufficiente", "Buona", "Ottima"};
const char *const kAscensore[] = {"Singolo", "Doppio"};
const char *const kRiscaldamento[] = {"Centralizzato", "Pompa di calore"};
const char *const kStatoInt[] = {"Scarso", "Mediocre", "Sufficiente", "Discreto", "Buono", "Ottimo"};
const char *const kStatoExt[] = {"Scarso", "Mediocre", "Sufficiente", "Buono", "Ottimo"};
const char *const kRifinInt[] = {"Scarso", "Ordinario", "Sufficiente", "Discreto", "Buono", "Ottimo"};
const char *const kRifinExt[] = {"Ordinario", "Sufficiente", "Discreto", "Buono", "Ottimo"};
const char *const kPresImpianti[] = {"Scarso", "Mediocre", "Sufficiente", "Discreto", "Buono", "Ottimo"};
const char *const kLivImpianti[] = {"Sufficiente", "Discreto", "Buono", "Ottimo"};

constexpr Province kProvinces[] = {
    {"Agrigento", "AG"}, {"Alessandria", "AL"}, {"Ancona", "AN"}, {"Aosta", "AO"}, {"Arezzo", "AR"},
    {"Ascoli Piceno", "AP"}, {"Asti", "AT"}, {"Avellino", "AV"}, {"Bari", "BA"}, {"Belluno", "BL"},
    {"Benevento", "BN"}, {"Bergamo", "BG"}, {"Biella", "BI"}, {"Bologna", "BO"}, {"Bolzano", "BZ"},
    {"Brescia", "BS"}, {"Brindisi", "BR"}, {"Cagliari", "CA"}, {"Caltanissetta", "CL"}, {"Campobasso", "CB"},
    {"Caserta", "CE"}, {"Catania", "CT"}, {"Catanzaro", "CZ"}, {"Chieti", "CH"}, {"Como", "CO"},
    {"Cosenza", "CS"}, {"Cremona", "CR"}, {"Crotone", "KR"}, {"Cuneo", "CN"}, {"Enna", "EN"},
    {"Ferrara", "FE"}, {"Firenze", "FI"}, {"Foggia", "FG"}, {"Forlì", "FO"}, {"Frosinone", "FR"},
    {"Genova", "GE"}, {"Gorizia", "GO"}, {"Grosseto", "GR"}, {"Imperia", "IM"}, {"Isernia", "IS"},
    {"La Spezia", "SP"}, {"L'Aquila", "AQ"}, {"Latina", "LT"}, {"Lecce", "LE"}, {"Lecco", "LC"},
    {"Livorno", "LI"}, {"Lodi", "LO"}, {"Lucca", "LU"}, {"Macerata", "MC"}, {"Mantova", "MN"},
    {"Massa Carrara", "MS"}, {"Matera", "MT"}, {"Messina", "ME"}, {"Milano", "MI"}, {"Modena", "MO"},
    {"Napoli", "NA"}, {"Novara", "NO"}, {"Nuoro", "NU"}, {"Oristano", "OR"}, {"Padova", "PD"},
    {"Palermo", "PA"}, {"Parma", "PR"}, {"Pavia", "PV"}, {"Perugia", "PG"}, {"Pesaro", "PS"},
    {"Pescara", "PE"}, {"Piacenza", "PC"}, {"Pisa", "PI"}, {"Pistoia", "PT"}, {"Pordenone", "PN"},
    {"Potenza", "PZ"}, {"Prato", "PO"}, {"Ragusa", "RG"}, {"Ravenna", "RA"}, {"Reggio Calabria", "RC"},
    {"Reggio Emilia", "RE"}, {"Rieti", "RI"}, {"Rimini", "RN"}, {"Roma", "RM"}, {"Rovigo", "RO"},
    {"Salerno", "SA"}, {"Sassari", "SS"}, {"Savona", "SV"}, {"Siena", "SI"}, {"Siracusa", "SR"},
    {"Sondrio", "SO"}, {"Taranto", "TA"}, {"Teramo", "TE"}, {"Terni", "TR"}, {"Torino", "TO"},
    {"Trapani", "TP"}, {"Trento", "TN"}, {"Treviso", "TV"}, {"Trieste", "TS"}, {"Udine", "UD"},
    {"Varese", "VA"}, {"Venezia", "VE"}, {"Verbania", "VB"}, {"Vercelli", "VC"}, {"Verona", "VR"},
    {"Vibo Valentia", "VV"}, {"Vicenza", "VI"}, {"Viterbo", "VT"},
};
static_assert(std::size(kProvinces) == 103);

constexpr CadastralCategory kCategories[] = {
    {"A/1", "Abitazione di tipo signorile."},
    {"A/2", "Abitazione di tipo civile."},
    {"A/3", "Abitazione di tipo economico."},
    {"A/4", "Abitazione di tipo popolare."},
    {"A/5", "Abitazione di tipo ultrapopolare (da ricondurre alla classe più bassa della Categoria A/4)."},
    {"A/6", "Abitazione di tipo rurale (da ricondurre alla classe più bassa della Categoria A/4)."},
    {"A/7", "Abitazioni in villini."},
    {"A/8", "Abitazioni in ville."},
    {"A/9", "Castelli, palazzi di eminenti pregi artistici e storici."},
    {"A/10", "Uffici e studi privati."},
    {"A/11", "Abitazioni e allogi tipici locali."},
    {"B/1", "Collegi, convitti, ricoveri, orfanotrofi, ospizi, conventi, seminari e caserme."},
    {"B/2", "Case di cura e ospedali."},
    {"B/3", "Prigioni e riformatori."},
    {"B/4", "Uffici pubblici."},
    {"B/5", "Scuole, laboratori scientifici."},
    {"B/6", "Biblioteche, pinacoteche, musei, gallerie, accademie che non hanno sede in edifici della Categoria A/9."},
    {"B/7", "Cappelle e oratori non destinati a pubblico esercizio dei culti."},
    {"B/8", "Magazzini sotterranei per deposito derrate (da ricondurre alla Categoria C in base all'uso cui sono destinate)."},
    {"C/1", "Negozi e botteghe."},
    {"C/2", "Magazzini e locali di deposito."},
    {"C/3", "Laboratori per arti e mestieri."},
    {"C/4", "Locali per esercizi sportivi (senza fine di lucro)."},
    {"C/5", "Stabilimenti balneari e di acque curative."},
    {"C/6", "Stalle, scuderie, rimesse e autorimesse."},
    {"C/7", "Tettoie chiuse e aperte."},
    {"D/1", "Opifici."},
    {"D/2", "Alberghi e pensioni."},
    {"D/3", "Teatri, cinematografi, sale per concerti e simili."},
    {"D/4", "Case di cura e ospedali."},
    {"D/5", "Istituti di credito, cambio ed assicurazione."},
    {"D/6", "Locali per esercizi sportivi (con fine di lucro)."},
    {"D/7", "Locali per speciali esigenze industriali e non destinabili diversamente senza radicali trasformazioni."},
    {"D/8", "Locali per speciali esigenze commerciali e non destinabili diversamente senza radicali trasformazioni."},
    {"D/9", "Edifici galleggianti o sospesi assicurati a punti fissi al suolo: ponti privati soggetti a pedaggio."},
    {"D/10", "Residence."},
    {"D/11", "Scuole e laboratori scientifici privati."},
    {"D/12", "Posti barca in porti turistici, stabilimenti balneari."},
    {"E/1", "Stazioni per servizi di trasporto terrestri, marittimi e aerei."},
    {"E/2", "Ponti comunali e provinciali soggetti a pedaggio."},
    {"E/3", "Costruzioni e fabbricati per speciali esigenze pubbliche."},
    {"E/4", "Recinti chiusi per speciali esigenze pubbliche."},
    {"E/5", "Fabbricati costituenti fortificazioni e loro dipendenze."},
    {"E/6", "Fari, semafori, torri per rendere d'uso pubblico l'orologio comunale."},
    {"E/7", "Fabbricati destinati all'uso pubblico dei culti."},
    {"E/8", "Fabbricati e costruzioni nei cimiteri, esclusi colombari, sepolcri e tombe di famiglia."},
    {"E/9", "Edifici a destinazione particolare non compresi nelle precedenti categorie del gruppo E."},
};
static_assert(std::size(kCategories) == 47);

template <size_t N>
QStringList toList(const char *const (&items)[N])
{
    QStringList out;
    out.reserve(static_cast<qsizetype>(N));
    for (const char *s : items)
        out << QString::fromUtf8(s);
    return out;
}

} // namespace

std::span<const FieldDef> recordFields()
{
    return kFields;
}

const FieldDef *recordField(const QString &name)
{
    static const QHash<QString, const FieldDef *> byName = [] {
        QHash<QString, const FieldDef *> h;
        for (const FieldDef &f : kFields)
            h.insert(QString::fromLatin1(f.name), &f);
        return h;
    }();
    return byName.value(name, nullptr);
}

std::span<const int> openingOrder()
{
    return kOpeningOrder;
}

std::span<const FieldDef> appraiserFields()
{
    return std::span<const FieldDef>(kFields).first(17);
}

QStringList choiceItems(Choice list)
{
    switch (list) {
    case C::TipologiaEdilizia: return toList(kTipologiaEdilizia);
    case C::DistanzaViaPrincipale: return toList(kDistanza);
    case C::TrasportoPubblico: return toList(kTrasporto);
    case C::GiudizioMaschile: return toList(kGiudizioM);
    case C::GiudizioSosta: return toList(kGiudizioSosta);
    case C::QuotaPiano: return toList(kQuota);
    case C::GiudizioFemminile: return toList(kGiudizioF);
    case C::AscensoreTipo: return toList(kAscensore);
    case C::RiscaldamentoTipo: return toList(kRiscaldamento);
    case C::StatoConservInt: return toList(kStatoInt);
    case C::StatoConservExt: return toList(kStatoExt);
    case C::GradoRifinitInt: return toList(kRifinInt);
    case C::GradoRifinitExt: return toList(kRifinExt);
    case C::PresImpianti: return toList(kPresImpianti);
    case C::LivImpianti: return toList(kLivImpianti);
    case C::CategorieCatastali: return cadastralCodes();
    case C::Province: return provinceNames();
    case C::SigleProvince: return provinceCodes();
    case C::None:
    case C::Comuni:
    case C::CAP:
    case C::ZoneUrbane:
        break;
    }
    return {};
}

std::span<const Province> provinces()
{
    return kProvinces;
}

QStringList provinceNames()
{
    QStringList out;
    for (const Province &p : kProvinces)
        out << QString::fromUtf8(p.name);
    return out;
}

QStringList provinceCodes()
{
    QStringList out;
    for (const Province &p : kProvinces)
        out << QString::fromLatin1(p.code);
    return out;
}

std::span<const CadastralCategory> cadastralCategories()
{
    return kCategories;
}

QStringList cadastralCodes()
{
    QStringList out;
    for (const CadastralCategory &c : kCategories)
        out << QString::fromLatin1(c.code);
    return out;
}

QStringList cadastralDescriptions()
{
    QStringList out;
    for (const CadastralCategory &c : kCategories)
        out << QString::fromUtf8(c.description);
    return out;
}

qsizetype characterCount(QStringView text)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++count) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    }
    return count;
}

QString firstCharacters(const QString &text, qsizetype n)
{
    qsizetype i = 0;
    for (qsizetype count = 0; i < text.size() && count < n; ++count) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        ++i;
    }
    return text.left(i);
}

} // namespace brevan
