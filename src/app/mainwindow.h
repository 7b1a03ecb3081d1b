// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// TBrevanMainForm: menus, toolbar, page tree, the thirteen pages, status bar;
// navigation between pages and the clipboard commands.
#include <QMainWindow>
#include <QVector>

#include "artwork.h"
#include "valuation/coefficients.h"

class QAction;
class QActionGroup;
class QButtonGroup;
class QStackedWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QLineEdit;
class QKeyEvent;

namespace brevan::ui {
class AppraiserPage;
class DescriptionPage;
class PicturePage;
class SurfacesPage;
class LocalisationPage;
class PositionPage;
class TypologyPage;
class IncomePage;
class ComparablesPage;
class ResultsPage;
} // namespace brevan::ui

namespace brevan::app {

using ui::AppraiserPage;
using ui::ComparablesPage;
using ui::DescriptionPage;
using ui::IncomePage;
using ui::LocalisationPage;
using ui::PicturePage;
using ui::PositionPage;
using ui::ResultsPage;
using ui::SurfacesPage;
using ui::TypologyPage;

class StartPage;
class DescriptionOps;
class SurfacesOps;
class CharacteristicsOps;
class IncomeOps;
class ValueOps;
class ComparablesOps;
class LightsOps;
class FileOps;
class ResultsOps;
class ReportOps;
class UnsavedWork;
class WorkPlace;
class McaOps;
class CadastralOps;
class OmiOps;
class PeriziaOps;
class UndoOps;

// Whether the window runs its operations (the reactions between fields and
// pages). Tests of one subsystem start the window without them and build only
// the operations they examine.
enum class Operations { Wired, None };

// Whether the constructor builds the whole window, or only what the first
// paint shows (menus, toolbar, tree, start page) and leaves the twelve hidden
// pages, the operations and the working tables to completeStartup(), which
// runs right after that paint or as soon as anything needs a page.
enum class Startup { Complete, Deferred };

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr, Operations operations = Operations::Wired,
                        Startup startup = Startup::Complete);
    ~MainWindow() override;

    // Builds the hidden pages, wires the operations and runs the start-up
    // steps that need them; does nothing once done.
    void completeStartup();
    bool isStartupComplete() const { return m_complete; }

    // Node 0 is the root ("Elaborazione stima"), nodes 1 to 12 the pages.
    static constexpr int kPageNodes = 12;
    // The own caption of page n (1 to 12): "Caratteristiche produttive".
    static QString pageCaption(int n);
    QTreeWidgetItem *node(int n) const;
    int selectedNode() const; // -1 when none
    void selectNode(int n);
    // The page shown: 0 the start page, n the page of node n.
    int shownPage() const;
    art::NodeImage nodeLight(int n) const;
    void setNodeLight(int n, art::NodeImage light);

    // The shared handler of page n's "&Visualizza" item and page button.
    void showPageCommand(int n);

    // Clipboard commands.
    void SpeedButton4Click(); // cut
    void SpeedButton5Click(); // copy
    void SpeedButton6Click(); // paste
    void CopiaInAppunti(const QString &text);

    // The fields the clipboard commands act on, in the order they are examined.
    struct CoveredField {
        QWidget *widget;
        bool editable;
    };
    const QVector<CoveredField> &coveredFields() const { return m_covered; }

    QTreeWidget *tree = nullptr;
    QStackedWidget *pages = nullptr;
    StartPage *startPage = nullptr;
    AppraiserPage *appraiserPage = nullptr;
    DescriptionPage *descriptionPage = nullptr;
    PicturePage *photoPage = nullptr;
    PicturePage *areaPlanPage = nullptr;
    PicturePage *unitPlanPage = nullptr;
    SurfacesPage *surfacesPage = nullptr;
    LocalisationPage *localisationPage = nullptr;
    PositionPage *positionPage = nullptr;
    TypologyPage *typologyPage = nullptr;
    IncomePage *incomePage = nullptr;
    ComparablesPage *comparablesPage = nullptr;
    ResultsPage *resultsPage = nullptr;

    QAction *openAction = nullptr;
    QAction *saveAction = nullptr;
    QAction *newAction = nullptr;
    QAction *loadAppraiserAction = nullptr;
    QAction *saveAppraiserAction = nullptr;
    QAction *exitAction = nullptr;
    QAction *undoAction = nullptr; // "&Annulla" (Ctrl+Z), first in "&Modifica"
    QAction *redoAction = nullptr; // "&Ripeti" (Ctrl+Y, Ctrl+Maiusc+Z)
    QAction *cutAction = nullptr;
    QAction *copyAction = nullptr;
    QAction *pasteAction = nullptr;
    QAction *aboutAction = nullptr;
    QAction *guideAction = nullptr;     // "Guida di Brevan" (F1), before "&About..."
    QVector<QAction *> viewActions;     // index n-1 for node n
    QAction *mcaAction = nullptr;       // "Stima MCA…", in "&Visualizza" after the pages
    QAction *cadastralAction = nullptr; // "Superficie catastale (DPR 138/98)…", before "Stima MCA…"
    QAction *omiAction = nullptr;       // "Confronto con le quotazioni OMI…", before "Stima MCA…"
    QAction *periziaAction = nullptr;   // "Rapporto di valutazione…", before "Stima MCA…"
    QVector<QToolButton *> pageButtons; // index n-1 for node n; index 12 is the hidden one
    QToolButton *lireButton = nullptr;  // SpeedButton38
    QToolButton *euroButton = nullptr;  // SpeedButton39

    // The 37 coefficient values held beside the pages (record fields 108-144).
    Coefficients coefficients;

    // The operations of each subsystem; null when started without them.
    DescriptionOps *descriptionOps = nullptr;
    SurfacesOps *surfacesOps = nullptr;
    CharacteristicsOps *characteristicsOps = nullptr;
    IncomeOps *incomeOps = nullptr;
    ValueOps *valueOps = nullptr;
    ComparablesOps *comparablesOps = nullptr;
    LightsOps *lightsOps = nullptr;
    FileOps *fileOps = nullptr;
    ResultsOps *resultsOps = nullptr;
    ReportOps *reportOps = nullptr;
    // The close question and the recovery copy; null without operations.
    UnsavedWork *unsavedWork = nullptr;
    // Where the working tables live for this run; made by the start-up steps.
    WorkPlace *workPlace = nullptr;
    McaOps *mcaOps = nullptr;
    CadastralOps *cadastralOps = nullptr;
    OmiOps *omiOps = nullptr;
    PeriziaOps *periziaOps = nullptr;
    // The appraisal document under the pages, with its undo stack.
    UndoOps *undoOps = nullptr;

public Q_SLOTS:
    void HelpAbout1Execute();

Q_SIGNALS:
    // completeStartup() has built everything.
    void startupCompleted();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void buildTree();
    void buildPageArea();
    void buildPages();
    void collectCoveredFields();
    void FormCreate();
    // Creates the operations and connects every chain between subsystems
    // (reactions.cpp: the one place where they are wired).
    void wireReactions();
    // The surfaces buttons follow the rebuilt working surfaces table.
    void afterStartupTables();
    void TreeView1Change();
    void TreeView1Click();
    // Reached from the tree click and from the results page's item and button.
    void computeResults();
    void ImpostaSemaforiTreeView();
    const CoveredField *focusedCoveredField() const;
    bool isWindowShortcut(const QKeyEvent *key) const;

    QButtonGroup *m_pageButtonGroup = nullptr;
    QActionGroup *m_viewGroup = nullptr;
    QVector<CoveredField> m_covered;
    QVector<art::NodeImage> m_lights;
    Operations m_operations;
    bool m_complete = false;
    bool m_completing = false;
    bool m_completionQueued = false;
    bool m_tablesOpen = false;
    bool m_closedEarly = false;
};

} // namespace brevan::app
