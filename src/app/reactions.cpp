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

#include "engine/appraisalwork.h"

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

    // The chains between the subsystems, as without a window.
    engine::connectWorks({descriptionOps, surfacesOps, characteristicsOps, incomeOps, valueOps, lightsOps, resultsOps,
                          reportOps, mcaOps, cadastralOps, omiOps, periziaOps});
    lightsOps->comparablesCompleteness = [this] { return comparablesOps->TableImmobConfrCompleta(); };
    fileOps->surfaceValues = [this] {
        return QStringList{surfacesOps->usefulValue(), surfacesOps->conventionalValue(), surfacesOps->commercialValue()};
    };

    // The window's own: the municipality cascade's zone list, the lights
    // after the surfaces' table commands, the summary after a currency switch.
    connect(descriptionOps, &DescriptionOps::zoneFieldsClearRequested, characteristicsOps,
            &CharacteristicsOps::clearZoneFields);
    connect(descriptionOps, &DescriptionOps::zoneListRebuildRequested, characteristicsOps,
            &CharacteristicsOps::rebuildZoneList);
    connect(surfacesOps, &SurfacesOps::ImpostaSemaforiTreeViewRequested, lightsOps,
            &LightsOps::ImpostaSemaforiTreeView);
    connect(valueOps, &ValueOps::CalcolaRiepilogoInformazioniRequested, resultsOps,
            &ResultsOps::CalcolaRiepilogoInformazioni);

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
