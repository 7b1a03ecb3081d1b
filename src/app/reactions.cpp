// SPDX-License-Identifier: GPL-2.0-or-later
// Every chain between subsystems, in one place. Each subsystem's operations
// react to the events of its own controls; when a step of an operation is
// another subsystem's operation, the first emits a request that is connected
// here to the operation that carries it out. Direct connections run at once,
// in the order the requests are emitted, so each chain keeps its order.
#include "mainwindow.h"

#include "cadastralops.h"
#include "characteristicsops.h"
#include "comparablesops.h"
#include "descriptionops.h"
#include "fileops.h"
#include "incomeops.h"
#include "lightsops.h"
#include "mcaops.h"
#include "omiops.h"
#include "reportops.h"
#include "resultsops.h"
#include "surfacesops.h"
#include "unsavedwork.h"
#include "periziaops.h"
#include "undoops.h"
#include "valueops.h"

namespace brevan::app {

void MainWindow::wireReactions()
{
    descriptionOps = new DescriptionOps(this, this);
    surfacesOps = new SurfacesOps(this, this);
    characteristicsOps = new CharacteristicsOps(this, this);
    incomeOps = new IncomeOps(this, this);
    valueOps = new ValueOps(this, this);
    comparablesOps = new ComparablesOps(this, this);
    lightsOps = new LightsOps(this, this);
    fileOps = new FileOps(this, this);
    resultsOps = new ResultsOps(this, this);
    reportOps = new ReportOps(this, this);
    unsavedWork = new UnsavedWork(this, fileOps, this);
    mcaOps = new McaOps(this, this);
    cadastralOps = new CadastralOps(this, this);
    omiOps = new OmiOps(this, this);
    periziaOps = new PeriziaOps(this, this);
    // Last: it watches what the others show and write.
    undoOps = new UndoOps(this, this);

    // The surfaces behind the surfaces page, read by everything that needs them.
    auto commercial = [this] { return surfacesOps->commercialValue(); };
    auto surfaceValues = [this] {
        return QStringList{surfacesOps->usefulValue(), surfacesOps->conventionalValue(), surfacesOps->commercialValue()};
    };
    incomeOps->commercialSurface = commercial;
    valueOps->commercialSurface = commercial;
    lightsOps->surfaceValues = surfaceValues;
    fileOps->surfaceValues = surfaceValues;
    resultsOps->surfaceValues = surfaceValues;
    reportOps->surfaceValues = surfaceValues;
    // The market comparison's page of the printed report.
    reportOps->mcaDocument = [this] { return mcaOps->reportDocument(); };
    // The OMI comparison's page, and its band beside the MCA's other values.
    reportOps->omiOutcome = [this] { return omiOps->outcome(); };
    mcaOps->omiBandLines = [this] { return omiOps->bandLines(); };
    lightsOps->comparablesCompleteness = [this] { return comparablesOps->TableImmobConfrCompleta(); };

    // Description: the municipality cascade, the date, the cadastral data.
    connect(descriptionOps, &DescriptionOps::unitRentResetRequested, incomeOps, &IncomeOps::resetUnitRent);
    connect(descriptionOps, &DescriptionOps::zoneFieldsClearRequested, characteristicsOps,
            &CharacteristicsOps::clearZoneFields);
    connect(descriptionOps, &DescriptionOps::zoneListRebuildRequested, characteristicsOps,
            &CharacteristicsOps::rebuildZoneList);
    connect(descriptionOps, &DescriptionOps::CalcolaSpeseImposteRequested, incomeOps, &IncomeOps::CalcolaSpeseImposte);
    connect(descriptionOps, &DescriptionOps::SetCanoneMensileDiLocazioneUnitarioRequested, incomeOps,
            &IncomeOps::SetCanoneMensileDiLocazioneUnitario);
    connect(descriptionOps, &DescriptionOps::CalcolaRedditoLordoAnnuoRequested, incomeOps,
            &IncomeOps::CalcolaRedditoLordoAnnuo);
    connect(descriptionOps, &DescriptionOps::CalcolaCIValoreMercatoRequested, valueOps,
            &ValueOps::CalcolaCIValoreMercato);

    // Surfaces: a new commercial surface recomputes the gross income.
    connect(surfacesOps, &SurfacesOps::CalcolaRedditoLordoAnnuoRequested, incomeOps,
            &IncomeOps::CalcolaRedditoLordoAnnuo);
    connect(surfacesOps, &SurfacesOps::ImpostaSemaforiTreeViewRequested, lightsOps,
            &LightsOps::ImpostaSemaforiTreeView);

    // Characteristics: judgments recompute the value by income, single
    // coefficients, the rent (centrality) and the proposed expenses.
    connect(characteristicsOps, &CharacteristicsOps::SetCanoneMensileDiLocazioneUnitarioRequested, incomeOps,
            &IncomeOps::SetCanoneMensileDiLocazioneUnitario);
    connect(characteristicsOps, &CharacteristicsOps::CalcolaCIValoreMercatoRequested, valueOps,
            &ValueOps::CalcolaCIValoreMercato);
    connect(characteristicsOps, &CharacteristicsOps::CalcolaCIStatoConservazInternoRequested, valueOps,
            &ValueOps::CalcolaCIStatoConservazInterno);
    connect(characteristicsOps, &CharacteristicsOps::CalcolaCIStatoConservazEsternoRequested, valueOps,
            &ValueOps::CalcolaCIStatoConservazEsterno);
    connect(characteristicsOps, &CharacteristicsOps::CalcolaCIGradoRifinituraInternoRequested, valueOps,
            &ValueOps::CalcolaCIGradoRifinituraInterno);
    connect(characteristicsOps, &CharacteristicsOps::CalcolaCIGradoRifinituraEsternoRequested, valueOps,
            &ValueOps::CalcolaCIGradoRifinituraEsterno);
    connect(characteristicsOps, &CharacteristicsOps::CalcolaCILivelloTecnologicoImpiantiRequested, valueOps,
            &ValueOps::CalcolaCILivelloTecnologicoImpianti);
    connect(characteristicsOps, &CharacteristicsOps::CalcolaCDEsposizioneRequested, valueOps,
            &ValueOps::CalcolaCDEsposizione);
    connect(characteristicsOps, &CharacteristicsOps::CalcolaSpeseAmministrazioneRequested, incomeOps,
            &IncomeOps::CalcolaSpeseAmministrazione);
    connect(characteristicsOps, &CharacteristicsOps::CalcolaSpeseManutenzioneRequested, incomeOps,
            &IncomeOps::CalcolaSpeseManutenzione);

    // Income: a new net income recomputes both values.
    connect(incomeOps, &IncomeOps::CalcolaCIValoreMercatoRequested, valueOps, &ValueOps::CalcolaCIValoreMercato);
    connect(incomeOps, &IncomeOps::CalcolaCDValoreMercatoRequested, valueOps, &ValueOps::CalcolaCDValoreMercato);

    // Values and the currency switch.
    connect(valueOps, &ValueOps::SetHintCanoneLocazioneRequested, incomeOps, &IncomeOps::SetHintCanoneLocazione);
    connect(valueOps, &ValueOps::CalcolaRedditoNettoAnnuoRequested, incomeOps, &IncomeOps::CalcolaRedditoNettoAnnuo);
    connect(valueOps, &ValueOps::SetHintRedditoLordoNettoRequested, incomeOps, &IncomeOps::SetHintRedditoLordoNetto);
    connect(valueOps, &ValueOps::SetHintSpeseRequested, incomeOps, &IncomeOps::SetHintSpese);
    connect(valueOps, &ValueOps::CalcolaRiepilogoInformazioniRequested, resultsOps,
            &ResultsOps::CalcolaRiepilogoInformazioni);

    // Results page: its hidden button computes both values before the summary.
    connect(resultsOps, &ResultsOps::CalcolaCIValoreMercatoRequested, valueOps, &ValueOps::CalcolaCIValoreMercato);
    connect(resultsOps, &ResultsOps::CalcolaCDValoreMercatoRequested, valueOps, &ValueOps::CalcolaCDValoreMercato);

    // Appraisal files: saving brings both values up to date first.
    connect(fileOps, &FileOps::CalcolaCIValoreMercatoRequested, valueOps, &ValueOps::CalcolaCIValoreMercato);
    connect(fileOps, &FileOps::CalcolaCDValoreMercatoRequested, valueOps, &ValueOps::CalcolaCDValoreMercato);
    connect(fileOps, &FileOps::AttivaSpeedButtonCalcolaSuperficiRequested, surfacesOps,
            &SurfacesOps::AttivaSpeedButtonCalcolaSuperfici);
    connect(fileOps, &FileOps::ImpostaSemaforiTreeViewRequested, lightsOps, &LightsOps::ImpostaSemaforiTreeView);
    connect(fileOps, &FileOps::appraisalRead, descriptionOps, &DescriptionOps::municipalityRestored);
    connect(fileOps, &FileOps::clearPreviousAppraisalsRequested, comparablesOps,
            &ComparablesOps::clearPreviousAppraisals);
    // What was saved, opened or cleared is what a later close compares with;
    // the recovery copy of earlier work is no longer needed.
    for (auto done : {&FileOps::appraisalSaved, &FileOps::appraisalOpened, &FileOps::appraisalCleared}) {
        connect(fileOps, done, unsavedWork, [this] {
            unsavedWork->markClean();
            unsavedWork->discardCopy();
        });
    }
    connect(unsavedWork, &UnsavedWork::ImpostaSemaforiTreeViewRequested, lightsOps,
            &LightsOps::ImpostaSemaforiTreeView);
    // A new appraisal empties the three surfaces held behind the surfaces page.
    connect(fileOps, &FileOps::surfacesClearedForNewAppraisal, surfacesOps, [this] {
        surfacesOps->setUsefulValue(QString());
        surfacesOps->setConventionalValue(QString());
        surfacesOps->setCommercialValue(QString());
    });
}

void MainWindow::afterStartupTables()
{
    if (surfacesOps)
        surfacesOps->AttivaSpeedButtonCalcolaSuperfici();
}

void MainWindow::ImpostaSemaforiTreeView()
{
    if (lightsOps)
        lightsOps->ImpostaSemaforiTreeView();
}

void MainWindow::computeResults()
{
    if (valueOps) {
        valueOps->CalcolaCIValoreMercato();
        valueOps->CalcolaCDValoreMercato();
    }
    if (resultsOps)
        resultsOps->CalcolaRiepilogoInformazioni();
}

} // namespace brevan::app
