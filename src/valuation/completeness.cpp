// SPDX-License-Identifier: GPL-2.0-or-later
#include "completeness.h"

#include <initializer_list>

namespace brevan {

namespace {

using Names = std::initializer_list<const char *>;

// A page with three lights: red when every "red" field is empty and every
// "red" tick is clear; green when every "green" field is filled and the extra
// condition holds; yellow otherwise.
struct PageRule {
    int node;
    Names redTexts;
    Names redTicks;
    Names greenTexts;
};


const PageRule kRules[] = {
    {1,
     {"CognomeProfess", "NomeProfess", "CodiceFiscaleProfess", "ProfessioneProfess", "NumIscrizAlboProfess",
      "SocietaProfess", "PartitaIvaProfess", "ComuneProfess", "CAPProfess", "ProvinciaProfess",
      "SiglaProvinciaProfess", "IndirizzoProfess", "NumCivicoProfess", "TelefonoProfess", "FaxProfess",
      "CellulareProfess", "EMailProfess"},
     {},
     {"TelefonoProfess", "CognomeProfess", "NomeProfess", "CodiceFiscaleProfess", "IndirizzoProfess",
      "NumCivicoProfess", "ProvinciaProfess", "ComuneProfess", "SiglaProvinciaProfess", "CAPProfess"}},
    {2,
     {"ComuneImmob", "CAPImmob", "ProvinciaImmob", "SiglaProvinciaImmob", "IndirizzoImmob", "NumCivicoImmob",
      "TipologEdiliziaImmob", "TotPianiImmob", "PianoImmob", "InternoImmob", "AnnoCostruzImmob", "EtaEdificioImmob",
      "FoglioCatastImmob", "MappaleCatastImmob", "SubCatastImmob", "CategCatastImmob", "ClasseCatastImmob",
      "ConsistCatastImmob"},
     {},
     {"ComuneImmob", "CAPImmob", "ProvinciaImmob", "SiglaProvinciaImmob", "IndirizzoImmob", "NumCivicoImmob",
      "TipologEdiliziaImmob", "TotPianiImmob", "PianoImmob", "AnnoCostruzImmob", "EtaEdificioImmob",
      "FoglioCatastImmob", "MappaleCatastImmob", "SubCatastImmob", "CategCatastImmob", "ClasseCatastImmob"}},
    {9,
     {"Luminosita", "Panoramicita", "Esposizione", "Prospicienza", "StatoConservInt", "StatoConservExt",
      "GradoRifinitInt", "GradoRifinitExt", "PresImpiantiTecnol", "LivImpiantiTecnol"},
     {"Ascensore", "Riscaldamento", "RiservaIdrica", "AntennaCentralizz", "CancelloAutomatico", "ImpElettrANorma",
      "Portineria"},
     {"Luminosita", "Panoramicita", "Esposizione", "Prospicienza", "StatoConservInt", "StatoConservExt",
      "GradoRifinitInt", "GradoRifinitExt", "PresImpiantiTecnol", "LivImpiantiTecnol"}},
    {7,
     {"ZonaUrbanaImmob", "SaggioMedioImmob", "DistanzaViaPrincip", "ServTraspPubblico", "QualifAmbienteExt",
      "IdoneitaInsediat", "MiglioramAmbiente"},
     {"PiccoleDimensImmob", "MedieDimensImmob", "GrandiDimensImmob", "ZonaCentrImmob", "ZonaIntermImmob",
      "ZonaPeriferImmob"},
     {"ZonaUrbanaImmob", "SaggioMedioImmob", "DistanzaViaPrincip", "ServTraspPubblico", "QualifAmbienteExt",
      "IdoneitaInsediat", "MiglioramAmbiente"}},
    {8,
     {"InquinamAmbiente", "VerdePubblico", "DisponibAreeSosta", "QuotaDaPianoStrad", "SuperfAccessorie"},
     {"ScuoleObbligo", "IstitutiSuperiori", "FacoltaUniversit", "MensaUniversit", "MercatoCivico", "Supermercati",
      "GrandiMagazzini", "CentriCommerciali", "ParcheggiPubblici", "PercorsiLineeCTM", "StruttureSanitarie",
      "ImpiantiSportivi", "UfficiPostali", "LuoghiDiCulto", "LocaliSpettacolo"},
     {"InquinamAmbiente", "VerdePubblico", "DisponibAreeSosta", "QuotaDaPianoStrad", "SuperfAccessorie"}},
    {10,
     {"CanoneLocazUnit", "NumCauzioni", "SaggioCommerciale", "SaggioLegale", "RedditoLordoAnnuo",
      "SpeseManutenzione", "SpeseAmministraz", "AleeSfitti", "SpeseAssicurazioni", "AliquoteAmmortam",
      "AliquoteTasse", "RedditoNettoAnnuo"},
     {},
     {"CanoneLocazUnit", "NumCauzioni", "SaggioCommerciale", "SaggioLegale", "RedditoLordoAnnuo",
      "SpeseManutenzione", "SpeseAmministraz", "AleeSfitti", "SpeseAssicurazioni", "AliquoteAmmortam",
      "AliquoteTasse", "RedditoNettoAnnuo"}},
    {12,
     {"CostoUnitario", "CostoComplessivo", "CICostoUnitario", "CICostoComplessivo"},
     {},
     {"CostoUnitario", "CostoComplessivo", "CICostoUnitario", "CICostoComplessivo"}},
};

bool filled(const PageContents &c, const char *name)
{
    return !c.texts.value(QLatin1String(name)).isEmpty();
}

bool ticked(const PageContents &c, const char *name)
{
    return c.ticks.value(QLatin1String(name), false);
}

Light threeStates(const PageContents &c, const PageRule &r, bool extraGreen = true)
{
    bool anything = false;
    for (const char *n : r.redTexts)
        anything = anything || filled(c, n);
    for (const char *n : r.redTicks)
        anything = anything || ticked(c, n);
    if (!anything)
        return Light::Red;
    bool all = extraGreen;
    for (const char *n : r.greenTexts)
        all = all && filled(c, n);
    return all ? Light::Green : Light::Yellow;
}

Light twoStates(bool green)
{
    return green ? Light::Green : Light::Red;
}

bool surfaceCounts(const PageContents &c, const char *name)
{
    const QString v = c.texts.value(QLatin1String(name));
    return !v.isEmpty() && v != QLatin1String("0");
}

} // namespace

std::array<Light, 12> evaluateLights(const PageContents &c)
{
    std::array<Light, 12> lights{};
    lights.fill(Light::Red);
    for (const PageRule &r : kRules) {
        // Localisation is green only with one option of each trio selected.
        bool extra = true;
        if (r.node == 7) {
            extra = (ticked(c, "PiccoleDimensImmob") || ticked(c, "MedieDimensImmob") || ticked(c, "GrandiDimensImmob"))
                    && (ticked(c, "ZonaCentrImmob") || ticked(c, "ZonaIntermImmob") || ticked(c, "ZonaPeriferImmob"));
        }
        lights[size_t(r.node - 1)] = threeStates(c, r, extra);
    }
    lights[2] = twoStates(c.photo);
    lights[3] = twoStates(c.areaPlan);
    lights[4] = twoStates(c.unitPlan);
    lights[5] = twoStates(surfaceCounts(c, "SupUtileImmob") || surfaceCounts(c, "SupConvenzImmob")
                          || surfaceCounts(c, "SupCommercImmob"));
    if (c.comparableRows == 0)
        lights[10] = Light::Red;
    else
        lights[10] = c.comparablesAllComplete ? Light::Green : Light::Yellow;
    return lights;
}

} // namespace brevan
