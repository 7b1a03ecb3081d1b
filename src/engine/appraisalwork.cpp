// SPDX-License-Identifier: GPL-2.0-or-later
#include "appraisalwork.h"

#include "engine/cadastralwork.h"
#include "engine/characteristicswork.h"
#include "engine/descriptionwork.h"
#include "engine/incomework.h"
#include "engine/lightswork.h"
#include "engine/mcawork.h"
#include "engine/omiwork.h"
#include "engine/periziawork.h"
#include "engine/reportwork.h"
#include "engine/resultswork.h"
#include "engine/surfaceswork.h"
#include "engine/valuework.h"

#include <algorithm>

namespace brevan::engine {

int comparablesCompleteness(const QList<ComparableRow> &rows)
{
    if (rows.isEmpty())
        return 3;
    const auto complete = std::count_if(rows.begin(), rows.end(), isCompleteComparable);
    return complete == rows.size() ? 1 : 2;
}

void connectWorks(const Works &w)
{
    // The surfaces behind the surfaces page, read by everything that needs them.
    SurfacesWork *surfaces = w.surfaces;
    auto commercial = [surfaces] { return surfaces->commercialValue(); };
    auto surfaceValues = [surfaces] {
        return QStringList{surfaces->usefulValue(), surfaces->conventionalValue(), surfaces->commercialValue()};
    };
    w.income->commercialSurface = commercial;
    w.value->commercialSurface = commercial;
    w.lights->surfaceValues = surfaceValues;
    w.results->surfaceValues = surfaceValues;
    w.report->surfaceValues = surfaceValues;
    // The market comparison's page of the printed report.
    McaWork *mca = w.mca;
    OmiWork *omi = w.omi;
    w.report->mcaDocument = [mca] { return mca->reportDocument(); };
    // The OMI comparison's page, and its band beside the MCA's other values.
    w.report->omiOutcome = [omi] { return omi->outcome(); };
    mca->omiBandLines = [omi] { return omi->bandLines(); };

    using D = DescriptionWork;
    using S = SurfacesWork;
    using C = CharacteristicsWork;
    using I = IncomeWork;
    using V = ValueWork;
    using R = ResultsWork;
    // Description: the municipality cascade, the date, the cadastral data.
    QObject::connect(w.description, &D::unitRentResetRequested, w.income, &I::resetUnitRent);
    QObject::connect(w.description, &D::CalcolaSpeseImposteRequested, w.income, &I::CalcolaSpeseImposte);
    QObject::connect(w.description, &D::SetCanoneMensileDiLocazioneUnitarioRequested, w.income,
                     &I::SetCanoneMensileDiLocazioneUnitario);
    QObject::connect(w.description, &D::CalcolaRedditoLordoAnnuoRequested, w.income, &I::CalcolaRedditoLordoAnnuo);
    QObject::connect(w.description, &D::CalcolaCIValoreMercatoRequested, w.value, &V::CalcolaCIValoreMercato);

    // Surfaces: a new commercial surface recomputes the gross income.
    QObject::connect(w.surfaces, &S::CalcolaRedditoLordoAnnuoRequested, w.income, &I::CalcolaRedditoLordoAnnuo);

    // Characteristics: judgments recompute the value by income, single
    // coefficients, the rent (centrality) and the proposed expenses.
    QObject::connect(w.characteristics, &C::SetCanoneMensileDiLocazioneUnitarioRequested, w.income,
                     &I::SetCanoneMensileDiLocazioneUnitario);
    QObject::connect(w.characteristics, &C::CalcolaCIValoreMercatoRequested, w.value, &V::CalcolaCIValoreMercato);
    QObject::connect(w.characteristics, &C::CalcolaCIStatoConservazInternoRequested, w.value,
                     &V::CalcolaCIStatoConservazInterno);
    QObject::connect(w.characteristics, &C::CalcolaCIStatoConservazEsternoRequested, w.value,
                     &V::CalcolaCIStatoConservazEsterno);
    QObject::connect(w.characteristics, &C::CalcolaCIGradoRifinituraInternoRequested, w.value,
                     &V::CalcolaCIGradoRifinituraInterno);
    QObject::connect(w.characteristics, &C::CalcolaCIGradoRifinituraEsternoRequested, w.value,
                     &V::CalcolaCIGradoRifinituraEsterno);
    QObject::connect(w.characteristics, &C::CalcolaCILivelloTecnologicoImpiantiRequested, w.value,
                     &V::CalcolaCILivelloTecnologicoImpianti);
    QObject::connect(w.characteristics, &C::CalcolaCDEsposizioneRequested, w.value, &V::CalcolaCDEsposizione);
    QObject::connect(w.characteristics, &C::CalcolaSpeseAmministrazioneRequested, w.income,
                     &I::CalcolaSpeseAmministrazione);
    QObject::connect(w.characteristics, &C::CalcolaSpeseManutenzioneRequested, w.income,
                     &I::CalcolaSpeseManutenzione);

    // Income: a new net income recomputes both values.
    QObject::connect(w.income, &I::CalcolaCIValoreMercatoRequested, w.value, &V::CalcolaCIValoreMercato);
    QObject::connect(w.income, &I::CalcolaCDValoreMercatoRequested, w.value, &V::CalcolaCDValoreMercato);

    // Values and the currency switch.
    QObject::connect(w.value, &V::SetHintCanoneLocazioneRequested, w.income, &I::SetHintCanoneLocazione);
    QObject::connect(w.value, &V::CalcolaRedditoNettoAnnuoRequested, w.income, &I::CalcolaRedditoNettoAnnuo);
    QObject::connect(w.value, &V::SetHintRedditoLordoNettoRequested, w.income, &I::SetHintRedditoLordoNetto);
    QObject::connect(w.value, &V::SetHintSpeseRequested, w.income, &I::SetHintSpese);

    // Results page: its hidden button computes both values before the summary.
    QObject::connect(w.results, &R::CalcolaCIValoreMercatoRequested, w.value, &V::CalcolaCIValoreMercato);
    QObject::connect(w.results, &R::CalcolaCDValoreMercatoRequested, w.value, &V::CalcolaCDValoreMercato);

    // What each reads of the others.
    ValueWork *value = w.value;
    CadastralWork *cadastral = w.cadastral;
    ReportWork *report = w.report;
    LightsWork *lights = w.lights;
    mca->comparables = [value] { return value->comparables(); };
    mca->cadastralSurface = [cadastral] { return cadastral->surface(); };
    omi->mca = [mca]() -> const McaWork * { return mca; };
    omi->cadastralChoices = [cadastral] { return cadastral->choices(); };
    w.perizia->pages = [report]() -> const ReportWork * { return report; };
    w.perizia->mca = [mca]() -> const McaWork * { return mca; };
    cadastral->surfaceRows = [surfaces] { return surfaces->rows(); };
    if (!w.results->lights)
        w.results->lights = [lights] { return lights->lights(); };
    if (!w.report->lights)
        w.report->lights = [lights] { return lights->lights(); };
}

AppraisalWork::AppraisalWork(Notices &notices) : m_owner(std::make_unique<QObject>())
{
    QObject *owner = m_owner.get();
    // In the order the window makes them, so that reactions to one field run
    // in the same order.
    m_works.description = new DescriptionWork(m_fields, notices, owner);
    m_works.surfaces = new SurfacesWork(m_fields, notices, owner);
    m_works.characteristics = new CharacteristicsWork(m_fields, owner);
    m_works.income = new IncomeWork(m_fields, notices, owner);
    m_works.value = new ValueWork(m_fields, notices, m_coefficients, owner);
    m_works.lights = new LightsWork(m_fields, owner);
    m_works.results = new ResultsWork(m_fields, notices, m_coefficients, owner);
    m_works.report = new ReportWork(m_fields, m_coefficients, owner);
    m_works.mca = new McaWork(m_fields, m_coefficients, owner);
    m_works.cadastral = new CadastralWork(m_fields, owner);
    m_works.omi = new OmiWork(m_fields, owner);
    m_works.perizia = new PeriziaWork(owner);
    connectWorks(m_works);
    ValueWork *value = m_works.value;
    m_works.lights->comparablesCompleteness = [value] { return comparablesCompleteness(value->comparables()); };
}

AppraisalWork::~AppraisalWork() = default;

} // namespace brevan::engine
