// SPDX-License-Identifier: GPL-2.0-or-later
#include "purposecompliance.h"

namespace brevan::perizia {

namespace {

bool has(const QString &text) { return !text.trimmed().isEmpty(); }

// --- predicates shared by the purposes --------------------------------------------

bool clientGiven(const Report &r, const AppraisalFacts &) { return has(r.client); }
bool registerGiven(const Report &r, const AppraisalFacts &)
{
    return has(r.professionalRegister) && has(r.registerNumber);
}
bool inspectionGiven(const Report &r, const AppraisalFacts &) { return r.inspectionDate.isValid(); }
bool reportDateGiven(const Report &r, const AppraisalFacts &) { return r.reportDate.isValid(); }
bool independenceStated(const Report &r, const AppraisalFacts &) { return r.independence; }
bool cadastralGiven(const Report &r, const AppraisalFacts &)
{
    if (r.cadastral.isEmpty())
        return false;
    for (const CadastralEntry &e : r.cadastral) {
        if (!e.identified())
            return false;
    }
    return true;
}
bool descriptionGiven(const Report &r, const AppraisalFacts &f) { return has(r.description) || has(f.pagesDescription); }
bool planMatchStated(const Report &r, const AppraisalFacts &)
{
    return r.matchesCadastralPlan.has_value() && (*r.matchesCadastralPlan || has(r.planDifferences));
}
bool rightGiven(const Report &r, const AppraisalFacts &) { return has(r.right); }
bool ownersGiven(const Report &r, const AppraisalFacts &) { return !r.owners.isEmpty(); }
bool occupationStated(const Report &r, const AppraisalFacts &) { return r.occupation != Occupation::NotStated; }
// Occupied by others with a title: each lease with its registration date and
// whether it binds the buyer.
bool leasesStated(const Report &r, const AppraisalFacts &)
{
    if (r.occupation != Occupation::ThirdPartyWithTitle)
        return r.occupation != Occupation::NotStated;
    if (r.leases.isEmpty())
        return false;
    for (const Lease &l : r.leases) {
        if (!l.registered.isValid() || !l.bindsBuyer.has_value())
            return false;
    }
    return true;
}
bool encumbrancesStated(const Report &r, const AppraisalFacts &) { return r.noEncumbrances || !r.encumbrances.isEmpty(); }
bool censoStated(const Report &r, const AppraisalFacts &) { return r.censoLivelloUsoCivico.has_value(); }
bool conformityStated(const Report &r, const AppraisalFacts &)
{
    return r.conformsToPermits.has_value() && (*r.conformsToPermits || has(r.permitDifferences));
}
bool permitsGiven(const Report &r, const AppraisalFacts &) { return !r.permits.isEmpty(); }
bool fitForUseStated(const Report &r, const AppraisalFacts &) { return r.fitForUse.has_value(); }
// Differences from the permits: whether they can be regularised, and the cost
// of doing so or of restoring.
bool abusesAssessed(const Report &r, const AppraisalFacts &)
{
    if (!r.conformsToPermits.has_value())
        return false;
    if (*r.conformsToPermits)
        return true;
    if (!r.regularisable.has_value())
        return false;
    return *r.regularisable ? given(r.regularisationCost) : given(r.restorationCost);
}
bool yearlyExpensesGiven(const Report &r, const AppraisalFacts &) { return r.notInCondominium || given(r.yearlyExpenses); }
bool extraordinaryGiven(const Report &r, const AppraisalFacts &)
{
    return r.notInCondominium || given(r.extraordinaryResolved);
}
bool unpaidGiven(const Report &r, const AppraisalFacts &) { return r.notInCondominium || given(r.unpaidLastTwoYears); }
bool lawsuitsStated(const Report &r, const AppraisalFacts &) { return has(r.lawsuits); }
bool energyClassGiven(const Report &r, const AppraisalFacts &) { return has(r.energyClass); }
bool documentsGiven(const Report &r, const AppraisalFacts &) { return has(r.documentsExamined); }
bool assumptionsGiven(const Report &r, const AppraisalFacts &) { return has(r.assumptions); }
bool photoGiven(const Report &, const AppraisalFacts &f) { return f.hasPhoto; }
bool surfaceGiven(const Report &, const AppraisalFacts &f) { return given(f.surface) && f.surface > 0; }
bool marketValueGiven(const Report &r, const AppraisalFacts &f) { return statedMarketValue(r, f).has_value(); }
bool reasonGiven(const Report &r, const AppraisalFacts &f) { return !reasonRequired(r, f) || has(r.reason); }

template <AdjustmentKind kind>
bool adjustmentStated(const Report &r, const AppraisalFacts &)
{
    for (const Adjustment &a : r.adjustments) {
        if (a.kind == kind && (given(a.amount) || given(a.percent)))
            return true;
    }
    return false;
}

// --- the tables ------------------------------------------------------------------------

// Esecuzione immobiliare: art. 173-bis disp. att. c.p.c. in the text of the
// d.l. 27 giugno 2015 n. 83 (conv. l. 6 agosto 2015 n. 132): first
// paragraph, numbers 1) to 9), the contents of the report; second
// paragraph, the check of the documents of art. 567, second paragraph,
// c.p.c.; and art. 568, second paragraph, c.p.c.: surface, value per m²,
// total value and the adjustments, each stated apart.
const QVector<Requirement> &courtRequirements()
{
    static const QVector<Requirement> rows{
        {Section::Engagement, u"Tribunale", u"art. 569 c.p.c.", "court", [](const Report &r, const AppraisalFacts &) { return has(r.court); }},
        {Section::Engagement, u"Numero della procedura (R.G.E.)", u"art. 569 c.p.c.", "procedureNumber",
         [](const Report &r, const AppraisalFacts &) { return has(r.procedureNumber); }},
        {Section::Engagement, u"Giudice dell'esecuzione", u"art. 569 c.p.c.", "judge",
         [](const Report &r, const AppraisalFacts &) { return has(r.judge); }},
        {Section::Engagement, u"Debitori", u"art. 569 c.p.c.", "debtors",
         [](const Report &r, const AppraisalFacts &) { return !r.debtors.isEmpty(); }},
        {Section::Engagement, u"Data del sopralluogo", u"art. 173-bis disp. att. c.p.c.", "inspectionDate", inspectionGiven},
        {Section::Engagement, u"Data del rapporto", u"art. 173-bis disp. att. c.p.c.", "reportDate", reportDateGiven},
        {Section::Engagement, u"Completezza dei documenti dell'art. 567 c.p.c.",
         u"art. 173-bis, secondo comma, disp. att. c.p.c.", "documents567",
         [](const Report &r, const AppraisalFacts &) {
             return r.documents567Complete.has_value() && (*r.documents567Complete || has(r.documents567Missing));
         }},
        {Section::Identification, u"Dati catastali", u"art. 173-bis, n. 1, disp. att. c.p.c.", "cadastral", cadastralGiven},
        {Section::Identification, u"Confini", u"art. 173-bis, n. 1, disp. att. c.p.c.", "boundaries",
         [](const Report &r, const AppraisalFacts &) { return has(r.boundaries); }},
        {Section::Identification, u"Descrizione sommaria", u"art. 173-bis, n. 2, disp. att. c.p.c.", "description", descriptionGiven},
        {Section::Identification, u"Corrispondenza con la planimetria catastale", u"art. 568, secondo comma, c.p.c.",
         "matchesCadastralPlan", planMatchStated},
        {Section::Title, u"Diritto valutato", u"art. 173-bis, n. 8, disp. att. c.p.c.", "right", rightGiven},
        {Section::Title, u"Proprietari e quote", u"art. 173-bis, n. 1, disp. att. c.p.c.", "owners", ownersGiven},
        {Section::Title, u"Stato di possesso", u"art. 173-bis, n. 3, disp. att. c.p.c.", "occupation", occupationStated},
        {Section::Title, u"Contratti di locazione registrati", u"art. 173-bis, n. 3, disp. att. c.p.c.", "leases", leasesStated},
        {Section::Encumbrances, u"Formalità, vincoli e oneri a carico dell'acquirente",
         u"art. 173-bis, n. 4, disp. att. c.p.c.", "encumbrances", encumbrancesStated},
        {Section::Encumbrances, u"Formalità, vincoli e oneri che saranno cancellati",
         u"art. 173-bis, n. 5, disp. att. c.p.c.", "encumbrances", encumbrancesStated},
        {Section::Encumbrances, u"Censo, livello o uso civico", u"art. 173-bis, n. 8, disp. att. c.p.c.",
         "censoLivelloUsoCivico", censoStated},
        {Section::Planning, u"Regolarità edilizia e urbanistica", u"art. 173-bis, n. 6, disp. att. c.p.c.",
         "conformsToPermits", conformityStated},
        {Section::Planning, u"Titoli edilizi", u"art. 173-bis, n. 6, disp. att. c.p.c.", "permits", permitsGiven},
        {Section::Planning, u"Dichiarazione di agibilità", u"art. 173-bis, n. 6, disp. att. c.p.c.", "fitForUse", fitForUseStated},
        {Section::Planning, u"Opere abusive: sanatoria e costi", u"art. 173-bis, n. 7, disp. att. c.p.c.", "regularisable",
         abusesAssessed},
        {Section::Condominium, u"Spese fisse annue di gestione o manutenzione", u"art. 173-bis, n. 9, disp. att. c.p.c.",
         "yearlyExpenses", yearlyExpensesGiven},
        {Section::Condominium, u"Spese straordinarie già deliberate", u"art. 173-bis, n. 9, disp. att. c.p.c.",
         "extraordinaryResolved", extraordinaryGiven},
        {Section::Condominium, u"Spese condominiali non pagate negli ultimi due anni",
         u"art. 173-bis, n. 9, disp. att. c.p.c.", "unpaidLastTwoYears", unpaidGiven},
        {Section::Condominium, u"Procedimenti giudiziari relativi al bene", u"art. 173-bis, n. 9, disp. att. c.p.c.",
         "lawsuits", lawsuitsStated},
        {Section::Valuation, u"Superficie commerciale", u"art. 568, secondo comma, c.p.c.", "surface", surfaceGiven},
        {Section::Valuation, u"Valore di mercato", u"art. 568, secondo comma, c.p.c.", "stated", marketValueGiven},
        {Section::Valuation, u"Motivazione del valore", u"art. 568, secondo comma, c.p.c.", "reason", reasonGiven},
        {Section::Valuation, u"Adeguamento per gli oneri di regolarizzazione urbanistica",
         u"art. 568, secondo comma, c.p.c.", "adjustments", adjustmentStated<AdjustmentKind::Regularisation>},
        {Section::Valuation, u"Adeguamento per lo stato d'uso e di manutenzione", u"art. 568, secondo comma, c.p.c.",
         "adjustments", adjustmentStated<AdjustmentKind::StateOfUse>},
        {Section::Valuation, u"Adeguamento per lo stato di possesso", u"art. 568, secondo comma, c.p.c.", "adjustments",
         adjustmentStated<AdjustmentKind::Possession>},
        {Section::Valuation, u"Adeguamento per i vincoli e gli oneri giuridici non eliminabili",
         u"art. 568, secondo comma, c.p.c.", "adjustments", adjustmentStated<AdjustmentKind::Encumbrances>},
        {Section::Valuation, u"Adeguamento per le spese condominiali insolute", u"art. 568, secondo comma, c.p.c.",
         "adjustments", adjustmentStated<AdjustmentKind::Condominium>},
        {Section::Valuation, u"Riduzione per l'assenza della garanzia per vizi", u"art. 568, secondo comma, c.p.c.",
         "adjustments", adjustmentStated<AdjustmentKind::NoWarranty>},
    };
    return rows;
}

// Garanzia di un finanziamento: Linee guida per la valutazione degli immobili
// in garanzia delle esposizioni creditizie (ABI and the professions), the
// contents of the report in section R.4 "Rapporto di valutazione", the
// appraiser's conduct in R.2, the surfaces in N.5, energy efficiency in
// A.3; the value of the property in art. 229 of Regulation (EU) 575/2013 as
// amended by Regulation (EU) 2024/1623 (CRR3).
const QVector<Requirement> &bankRequirements()
{
    static const QVector<Requirement> rows{
        {Section::Engagement, u"Committente", u"Linee guida ABI, R.4", "client", clientGiven},
        {Section::Engagement, u"Richiedente il finanziamento", u"Linee guida ABI, R.4", "loanApplicant",
         [](const Report &r, const AppraisalFacts &) { return has(r.loanApplicant); }},
        {Section::Engagement, u"Iscrizione del perito all'albo", u"Linee guida ABI, R.2", "professionalRegister", registerGiven},
        {Section::Engagement, u"Dichiarazione di indipendenza e di assenza di conflitto di interessi",
         u"Linee guida ABI, R.2", "independence", independenceStated},
        {Section::Engagement, u"Data del sopralluogo", u"Linee guida ABI, R.4", "inspectionDate", inspectionGiven},
        {Section::Engagement, u"Data del rapporto", u"Linee guida ABI, R.4", "reportDate", reportDateGiven},
        {Section::Identification, u"Dati catastali", u"Linee guida ABI, R.4", "cadastral", cadastralGiven},
        {Section::Identification, u"Descrizione dell'immobile", u"Linee guida ABI, R.4", "description", descriptionGiven},
        {Section::Identification, u"Conformità catastale", u"Linee guida ABI, R.4", "matchesCadastralPlan", planMatchStated},
        {Section::Title, u"Diritto valutato", u"Linee guida ABI, R.4", "right", rightGiven},
        {Section::Title, u"Proprietari e quote", u"Linee guida ABI, R.4", "owners", ownersGiven},
        {Section::Title, u"Stato di possesso", u"Linee guida ABI, R.4", "occupation", occupationStated},
        {Section::Encumbrances, u"Vincoli e oneri", u"Linee guida ABI, R.4", "encumbrances", encumbrancesStated},
        {Section::Planning, u"Regolarità urbanistica ed edilizia", u"Linee guida ABI, R.4", "conformsToPermits",
         conformityStated},
        {Section::Energy, u"Classe energetica (APE)", u"Linee guida ABI, A.3", "energyClass", energyClassGiven},
        {Section::Documents, u"Documenti esaminati", u"Linee guida ABI, R.4", "documentsExamined", documentsGiven},
        {Section::Documents, u"Assunzioni e condizioni limitative", u"Linee guida ABI, R.4", "assumptions", assumptionsGiven},
        {Section::Documents, u"Fotografie", u"Linee guida ABI, R.4", "photo", photoGiven},
        {Section::Valuation, u"Superficie", u"Linee guida ABI, N.5", "surface", surfaceGiven},
        {Section::Valuation, u"Valore di mercato", u"Linee guida ABI, R.1", "stated", marketValueGiven},
        {Section::Valuation, u"Motivazione del valore", u"Linee guida ABI, R.3", "reason", reasonGiven},
        {Section::Valuation, u"Valore dell'immobile", u"Reg. (UE) 575/2013, art. 229", "propertyValue",
         [](const Report &r, const AppraisalFacts &) { return given(r.propertyValue); }},
        {Section::Valuation, u"Valore medio degli ultimi sei anni e sua fonte", u"Reg. (UE) 575/2013, art. 229",
         "sixYearAverage",
         [](const Report &r, const AppraisalFacts &) {
             return !r.revaluation || (given(r.sixYearAverage) && has(r.averageSource));
         }},
    };
    return rows;
}

// Valutazione di mercato: UNI 11612:2015 "Stima del valore di mercato degli
// immobili", the report of the valuation.
const QVector<Requirement> &marketRequirements()
{
    static const QVector<Requirement> rows{
        {Section::Engagement, u"Committente", u"UNI 11612:2015", "client", clientGiven},
        {Section::Engagement, u"Perito", u"UNI 11612:2015", "appraiser",
         [](const Report &, const AppraisalFacts &f) { return has(f.appraiser); }},
        {Section::Engagement, u"Dichiarazione di conformità alla UNI 11612", u"UNI 11612:2015", "followsUni11612",
         [](const Report &r, const AppraisalFacts &) { return r.followsUni11612; }},
        {Section::Engagement, u"Dichiarazione di indipendenza e di assenza di conflitto di interessi", u"UNI 11612:2015",
         "independence", independenceStated},
        {Section::Engagement, u"Data del sopralluogo", u"UNI 11612:2015", "inspectionDate", inspectionGiven},
        {Section::Engagement, u"Data del rapporto", u"UNI 11612:2015", "reportDate", reportDateGiven},
        {Section::Identification, u"Dati catastali", u"UNI 11612:2015", "cadastral", cadastralGiven},
        {Section::Identification, u"Descrizione dell'immobile", u"UNI 11612:2015", "description", descriptionGiven},
        {Section::Title, u"Stato di possesso", u"UNI 11612:2015", "occupation", occupationStated},
        {Section::Documents, u"Documenti esaminati", u"UNI 11612:2015", "documentsExamined", documentsGiven},
        {Section::Documents, u"Assunzioni e condizioni limitative", u"UNI 11612:2015", "assumptions", assumptionsGiven},
        {Section::Valuation, u"Superficie", u"UNI 11612:2015", "surface", surfaceGiven},
        {Section::Valuation, u"Valore di mercato", u"UNI 11612:2015", "stated", marketValueGiven},
        {Section::Valuation, u"Motivazione del valore", u"UNI 11612:2015", "reason", reasonGiven},
    };
    return rows;
}

} // namespace

const QVector<Requirement> &requirements(Purpose purpose)
{
    switch (purpose) {
    case Purpose::Bank:
        return bankRequirements();
    case Purpose::Court:
        return courtRequirements();
    case Purpose::Market:
        break;
    }
    return marketRequirements();
}

QVector<MissingItem> missingItems(const Report &report, const AppraisalFacts &facts)
{
    QVector<MissingItem> missing;
    for (const Requirement &req : requirements(report.purpose)) {
        if (!req.met(report, facts))
            missing.append({req.section, QString::fromUtf16(req.item), QString::fromUtf16(req.rule),
                            QString::fromLatin1(req.field)});
    }
    return missing;
}

std::array<bool, kSectionCount> sectionLights(const QVector<MissingItem> &missing)
{
    std::array<bool, kSectionCount> lights;
    lights.fill(true);
    for (const MissingItem &m : missing)
        lights.at(std::size_t(m.section)) = false;
    return lights;
}

QStringList missingLines(const QVector<MissingItem> &missing)
{
    QStringList lines;
    for (const MissingItem &m : missing)
        lines << QStringLiteral("%1 (%2)").arg(m.item, m.rule);
    return lines;
}

} // namespace brevan::perizia
