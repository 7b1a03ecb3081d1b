// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainwindow.h"

#include "aboutbox.h"
#include "guide.h"
#include "startpage.h"
#include "unsavedwork.h"
#include "workplace.h"

#include "model/currency.h"
#include "pages/appraiserpage.h"
#include "pages/comparablespage.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/messages.h"
#include "pages/picturepage.h"
#include "pages/positionpage.h"
#include "pages/resultspage.h"
#include "pages/surfacespage.h"
#include "pages/typologypage.h"
#include "store/datafolder.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QProxyStyle>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace brevan::app {

namespace {

struct PageEntry {
    const char *nodeText; // tree node and "&Visualizza" item
    const char *caption;  // the page's own caption
    const char *handler;  // objectName of the shared item/button handler
};

// Node n of the tree shows page n; nodes 7 to 10 are worded differently from
// their pages.
const PageEntry kPageEntries[MainWindow::kPageNodes] = {
    {"Generalità del professionista", "Generalità del professionista", "GeneralitaProfessionista1"},
    {"Descrizione unità immobiliare", "Descrizione unità immobiliare", "Descrizioneunitimmobiliare1"},
    {"Illustrazione fotografica", "Illustrazione fotografica", "Illustrazionefotografica1"},
    {"Planimetria di zona", "Planimetria di zona", "Planimetriadizona1"},
    {"Planimetria dell'immobile", "Planimetria dell'immobile", "Planimetriadellimmobile1"},
    {"Calcolo delle superfici", "Calcolo delle superfici", "Calcolodellesuperfici1"},
    {"Caratterist. di Localizzazione", "Caratteristiche di localizzazione", "CarattdiLocalizzazione1"},
    {"Caratteristiche di Posizione", "Caratteristiche di posizione", "CarattdiPosizione1"},
    {"Caratteristiche Tipologiche", "Caratteristiche tipologiche", "CarattTipologiche1"},
    {"Caratteristiche Produttive", "Caratteristiche produttive", "CarattProduttive1"},
    {"Immobili di confronto", "Immobili di confronto", "Immobilidiconfronto1"},
    {"Risultati della stima", "Risultati della stima", "Risultatidellastima1"},
};

constexpr int kResultsNode = 12;

// The page tree lays a node out as the platform's tree control does: image
// and caption close together, so that at its 205 pixels the longest names
// show whole.
class PageTreeStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        // Qt pads an item's image and caption by this plus one on each side.
        if (metric == PM_FocusFrameHMargin)
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QString u8(const char *s)
{
    return QString::fromUtf8(s);
}

// The clipboard commands' fields, by objectName, page by page in the order
// they are examined; the bool marks the read-only results.
struct CoveredName {
    const char *name;
    bool editable;
};
const CoveredName kCoveredNames[] = {
    // appraiser
    {"CognomeProfess", true}, {"NomeProfess", true}, {"CodiceFiscaleProfess", true}, {"ProfessioneProfess", true},
    {"NumIscrizAlboProfess", true}, {"SocietaProfess", true}, {"PartitaIvaProfess", true}, {"ComuneProfess", true},
    {"CAPProfess", true}, {"ProvinciaProfess", true}, {"SiglaProvinciaProfess", true}, {"IndirizzoProfess", true},
    {"NumCivicoProfess", true}, {"TelefonoProfess", true}, {"FaxProfess", true}, {"CellulareProfess", true},
    {"EMailProfess", true},
    // description (the date excepted)
    {"ComuneImmob", true}, {"CAPImmob", true}, {"ProvinciaImmob", true}, {"SiglaProvinciaImmob", true},
    {"IndirizzoImmob", true}, {"NumCivicoImmob", true}, {"TipologEdiliziaImmob", true}, {"TotPianiImmob", true},
    {"PianoImmob", true}, {"InternoImmob", true}, {"AnnoCostruzImmob", true}, {"EtaEdificioImmob", true},
    {"FoglioCatastImmob", true}, {"MappaleCatastImmob", true}, {"SubCatastImmob", true}, {"CategCatastImmob", true},
    {"ClasseCatastImmob", true}, {"ConsistCatastImmob", true},
    // surfaces results: filled in from the surfaces page (see collectCoveredFields)
    // localisation
    {"SaggioMedioImmob", true}, {"ZonaUrbanaImmob", true}, {"DistanzaViaPrincip", true}, {"ServTraspPubblico", true},
    // position
    {"InquinamAmbiente", true}, {"VerdePubblico", true}, {"DisponibAreeSosta", true}, {"QuotaDaPianoStrad", true},
    {"SuperfAccessorie", true},
    // typology
    {"Luminosita", true}, {"Panoramicita", true}, {"Esposizione", true}, {"Prospicienza", true},
    {"AscensoreTipo", true}, {"RiscaldamentoTipo", true}, {"StatoConservInt", true}, {"StatoConservExt", true},
    {"GradoRifinitInt", true}, {"GradoRifinitExt", true}, {"PresImpiantiTecnol", true}, {"LivImpiantiTecnol", true},
    // income
    {"CanoneLocazUnit", true}, {"NumCauzioni", true}, {"SaggioCommerciale", true}, {"SaggioLegale", true},
    {"RedditoLordoAnnuo", false}, {"SpeseManutenzione", true}, {"SpeseAmministraz", true}, {"AleeSfitti", true},
    {"SpeseAssicurazioni", true}, {"AliquoteAmmortam", true}, {"AliquoteTasse", true}, {"RedditoNettoAnnuo", false},
    // results
    {"CostoUnitario", false}, {"CostoComplessivo", false}, {"CICostoUnitario", false}, {"CICostoComplessivo", false},
};
constexpr int kSurfacesInsertAt = 35; // after the description page's 18 fields

QLineEdit *lineEditOf(QWidget *w)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e;
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->lineEdit();
    return nullptr;
}

} // namespace

MainWindow::MainWindow(QWidget *parent, Operations operations, Startup startup)
    : QMainWindow(parent), m_lights(kPageNodes + 1, art::NodeImage::Red), m_operations(operations)
{
    setObjectName(QStringLiteral("BrevanMainForm"));
    setWindowTitle(QStringLiteral("Brevan 2.0"));
    setWindowIcon(QIcon(art::programPicture(64)));
    setMinimumSize(630, 462);
    setMaximumSize(808, 600);
    resize(640, 480);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(320, 240));

    buildActions();
    buildMenus();
    buildToolBar();
    buildPageArea();
    buildTree();

    auto *pageArea = new QFrame;
    pageArea->setObjectName(QStringLiteral("Panel2"));
    pageArea->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *areaLayout = new QVBoxLayout(pageArea);
    areaLayout->setContentsMargins(1, 1, 1, 1);
    areaLayout->addWidget(pages);

    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->setHandleWidth(3);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(tree);
    splitter->addWidget(pageArea);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({205, 435});
    setCentralWidget(splitter);

    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(true);

    qApp->installEventFilter(this);
    // Deferred: the first paint queues the rest (eventFilter), and anything
    // that needs a page before then completes the window at once.
    if (startup == Startup::Complete)
        completeStartup();
}

void MainWindow::completeStartup()
{
    if (m_complete || m_completing || m_closedEarly)
        return;
    m_completing = true;
    buildPages();
    collectCoveredFields();
    if (m_operations == Operations::Wired)
        wireReactions();
    FormCreate();
    m_completing = false;
    m_complete = true;
    if (unsavedWork) {
        // Changes count from here; a copy left by a crash is offered once
        // the window is complete.
        unsavedWork->markClean();
        QMetaObject::invokeMethod(unsavedWork, &UnsavedWork::offerRecovery, Qt::QueuedConnection);
    }
    Q_EMIT startupCompleted();
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
}

void MainWindow::buildActions()
{
    auto make = [this](const QString &objectName, const QString &text, const QString &hint, const QKeySequence &key) {
        auto *a = new QAction(text, this);
        a->setObjectName(objectName);
        if (!hint.isEmpty())
            ui::setHint(a, hint);
        if (!key.isEmpty())
            a->setShortcut(key);
        return a;
    };
    openAction = make(QStringLiteral("FileOpen1"), QStringLiteral("&Apri stima..."),
                      QStringLiteral("Apri stima|Apri stima da file."), QKeySequence(Qt::CTRL | Qt::Key_A));
    openAction->setIcon(art::toolIcon(art::Glyph::Open));
    saveAction = make(QStringLiteral("FileSave1"), QStringLiteral("&Salva stima..."),
                      QStringLiteral("Salva stima corrente|Salva stima corrente su disco."),
                      QKeySequence(Qt::CTRL | Qt::Key_S));
    saveAction->setIcon(art::toolIcon(art::Glyph::Save));
    newAction = make(QStringLiteral("FileNew1"), QStringLiteral("&Nuova stima"),
                     QStringLiteral("Nuova stima|Ripulisce l'interfaccia per una nuova stima."),
                     QKeySequence(Qt::CTRL | Qt::Key_N));
    newAction->setIcon(art::toolIcon(art::Glyph::New));
    loadAppraiserAction = make(QStringLiteral("CaricaProfessionista1"), QStringLiteral("&Carica professionista..."),
                               u8("Carica generalità del professionista|Carica da disco le generalità del professionista."),
                               {});
    loadAppraiserAction->setIcon(art::toolIcon(art::Glyph::LoadAppraiser));
    saveAppraiserAction = make(QStringLiteral("SalvaProfessionista1"), QStringLiteral("Salva professio&nista..."),
                               u8("Salva generalità del professionista|Salva su disco le generalità del professionista."),
                               {});
    saveAppraiserAction->setIcon(art::toolIcon(art::Glyph::SaveAppraiser));
    exitAction = make(QStringLiteral("FileExit1"), QStringLiteral("&Esci"), {}, {});
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    undoAction = make(QStringLiteral("Annulla1"), QStringLiteral("&Annulla"),
                      QStringLiteral("Annulla|Annulla l'ultima modifica della stima."),
                      QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction = make(QStringLiteral("Ripeti1"), QStringLiteral("&Ripeti"),
                      QStringLiteral("Ripeti|Ripete la modifica della stima annullata per ultima."),
                      QKeySequence(Qt::CTRL | Qt::Key_Y));
    redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // Also from the windows beside the pages (MCA, report, cadastral surface,
    // OMI); a focused text field keeps Ctrl+Z for its own typing.
    for (QAction *a : {undoAction, redoAction}) {
        a->setShortcutContext(Qt::ApplicationShortcut);
        a->setEnabled(false);
    }

    cutAction = make(QStringLiteral("Taglia1"), QStringLiteral("&Taglia"),
                     QStringLiteral("Taglia|Taglia la selezione e la inserisce negli appunti."),
                     QKeySequence(Qt::CTRL | Qt::Key_X));
    cutAction->setIcon(art::toolIcon(art::Glyph::Cut));
    copyAction = make(QStringLiteral("Copia1"), QStringLiteral("&Copia"),
                      QStringLiteral("Copia|Copia la selezione e la inserisce negli appunti."),
                      QKeySequence(Qt::CTRL | Qt::Key_C));
    copyAction->setIcon(art::toolIcon(art::Glyph::Copy));
    pasteAction = make(QStringLiteral("Incolla1"), QStringLiteral("&Incolla"),
                       QStringLiteral("Incolla|Incolla il contenuto degli appunti."), QKeySequence(Qt::CTRL | Qt::Key_V));
    pasteAction->setIcon(art::toolIcon(art::Glyph::Paste));
    connect(cutAction, &QAction::triggered, this, &MainWindow::SpeedButton4Click);
    connect(copyAction, &QAction::triggered, this, &MainWindow::SpeedButton5Click);
    connect(pasteAction, &QAction::triggered, this, &MainWindow::SpeedButton6Click);

    aboutAction = make(QStringLiteral("HelpAbout1"), QStringLiteral("&About..."), {}, {});
    connect(aboutAction, &QAction::triggered, this, &MainWindow::HelpAbout1Execute);
    guideAction = make(QStringLiteral("HelpGuida1"), QStringLiteral("&Guida di Brevan"),
                       QStringLiteral("|Mostra la guida di Brevan nel programma per le pagine web."),
                       QKeySequence(Qt::Key_F1));
    connect(guideAction, &QAction::triggered, this, [this] { openGuide(this); });

    m_viewGroup = new QActionGroup(this);
    m_viewGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (int n = 1; n <= kPageNodes; ++n) {
        const PageEntry &e = kPageEntries[n - 1];
        auto *a = new QAction(u8(e.nodeText), this);
        a->setObjectName(QLatin1String(e.handler));
        a->setCheckable(true);
        a->setIcon(art::pageIcon(n));
        a->setStatusTip(QStringLiteral("Visualizza la pagina %1.").arg(u8(e.caption)));
        m_viewGroup->addAction(a);
        connect(a, &QAction::triggered, this, [this, n] { showPageCommand(n); });
        viewActions << a;
    }
    mcaAction = make(QStringLiteral("StimaMCA1"), QStringLiteral("Stima MCA…"), {}, {});
    mcaAction->setStatusTip(QStringLiteral("Apre la stima per confronto di mercato (MCA)."));
    cadastralAction = make(QStringLiteral("SuperficieCatastale1"), QStringLiteral("Superficie catastale (DPR 138/98)…"),
                           {}, {});
    cadastralAction->setStatusTip(
        QStringLiteral("Apre il calcolo della superficie catastale (DPR 23 marzo 1998 n. 138, allegato C)."));
    omiAction = make(QStringLiteral("ConfrontoOMI1"), QStringLiteral("Confronto con le quotazioni OMI…"), {}, {});
    omiAction->setStatusTip(QStringLiteral("Confronta i valori della stima con le quotazioni OMI della zona."));
    periziaAction = make(QStringLiteral("RapportoValutazione1"), QStringLiteral("Rapporto di valutazione…"), {}, {});
    periziaAction->setStatusTip(
        QStringLiteral("Apre il rapporto di valutazione per una banca, un tribunale o il mercato."));
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(openAction);
    file->addAction(saveAction);
    file->addAction(newAction);
    file->addSeparator();
    file->addAction(loadAppraiserAction);
    file->addAction(saveAppraiserAction);
    file->addSeparator();
    file->addAction(exitAction);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Modifica"));
    edit->addAction(undoAction);
    edit->addAction(redoAction);
    edit->addSeparator();
    edit->addAction(cutAction);
    edit->addAction(copyAction);
    edit->addAction(pasteAction);

    QMenu *view = menuBar()->addMenu(QStringLiteral("&Visualizza"));
    for (QAction *a : std::as_const(viewActions))
        view->addAction(a);
    view->addSeparator();
    view->addAction(cadastralAction);
    // The OMI comparison before "Stima MCA…", which stays the menu's last item.
    view->addAction(omiAction);
    view->addAction(periziaAction);
    view->addAction(mcaAction);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(guideAction);
    help->addAction(aboutAction);
    for (QMenu *m : {file, edit, view, help})
        m->setToolTipsVisible(false);
}

void MainWindow::buildToolBar()
{
    QToolBar *bar = addToolBar(QStringLiteral("Barra degli strumenti"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize({16, 16});
    bar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    auto addButton = [bar](QAction *a, const QString &objectName) {
        auto *b = new QToolButton(bar);
        b->setObjectName(objectName);
        b->setDefaultAction(a);
        b->setAutoRaise(true);
        b->setFixedSize(23, 22);
        b->setFocusPolicy(Qt::NoFocus);
        bar->addWidget(b);
        return b;
    };
    addButton(openAction, QStringLiteral("SpeedButton1"));
    addButton(saveAction, QStringLiteral("SpeedButton2"));
    addButton(newAction, QStringLiteral("SpeedButton3"));
    addButton(loadAppraiserAction, QStringLiteral("SpeedButton54"));
    addButton(saveAppraiserAction, QStringLiteral("SpeedButton56"));
    bar->addSeparator();
    addButton(cutAction, QStringLiteral("SpeedButton4"));
    addButton(copyAction, QStringLiteral("SpeedButton5"));
    addButton(pasteAction, QStringLiteral("SpeedButton6"));
    bar->addSeparator();

    m_pageButtonGroup = new QButtonGroup(this);
    m_pageButtonGroup->setExclusive(true);
    for (int n = 1; n <= kPageNodes + 1; ++n) {
        auto *b = new QToolButton(bar);
        b->setObjectName(QStringLiteral("PageButton%1").arg(n));
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setFixedSize(23, 22);
        b->setFocusPolicy(Qt::NoFocus);
        if (n <= kPageNodes) {
            const QString caption = u8(kPageEntries[n - 1].caption);
            b->setIcon(art::pageIcon(n));
            ui::setHint(b, caption + QStringLiteral("|Visualizza la pagina ") + caption + QLatin1Char('.'));
            connect(b, &QToolButton::clicked, this, [this, n] { showPageCommand(n); });
            bar->addWidget(b);
        } else {
            // The hidden thirteenth: pressing it releases the twelve visible ones.
            b->hide();
        }
        m_pageButtonGroup->addButton(b, n);
        pageButtons << b;
    }
    pageButtons.last()->setChecked(true);
    bar->addSeparator();

    lireButton = ui::makeToolButton(QStringLiteral("SpeedButton38"), art::toolIcon(art::Glyph::Lire),
                                    QStringLiteral("Conversione in Lire|Conversione della valuta in Lire."), bar);
    euroButton = ui::makeToolButton(QStringLiteral("SpeedButton39"), art::toolIcon(art::Glyph::Euro),
                                    QStringLiteral("Conversione in Euro|Conversione della valuta in Euro."), bar);
    lireButton->setEnabled(false);
    euroButton->setEnabled(true);
    bar->addWidget(lireButton);
    bar->addWidget(euroButton);
}

void MainWindow::buildPageArea()
{
    pages = new QStackedWidget;
    pages->setObjectName(QStringLiteral("PageControl1"));
    startPage = new StartPage;
    pages->addWidget(startPage);
    pages->setCurrentIndex(0);
    connect(startPage, &StartPage::aboutRequested, this, &MainWindow::HelpAbout1Execute);
}

QString MainWindow::pageCaption(int n)
{
    return n >= 1 && n <= kPageNodes ? u8(kPageEntries[n - 1].caption) : QString();
}

void MainWindow::buildPages()
{
    appraiserPage = new AppraiserPage;
    descriptionPage = new DescriptionPage;
    photoPage = new PicturePage(PicturePage::Photo);
    areaPlanPage = new PicturePage(PicturePage::AreaPlan);
    unitPlanPage = new PicturePage(PicturePage::UnitPlan);
    surfacesPage = new SurfacesPage;
    localisationPage = new LocalisationPage;
    positionPage = new PositionPage;
    typologyPage = new TypologyPage;
    incomePage = new IncomePage;
    comparablesPage = new ComparablesPage;
    resultsPage = new ResultsPage;
    // After the start page, in the order of the tree's nodes.
    const QList<QWidget *> ordered{appraiserPage, descriptionPage,  photoPage,    areaPlanPage, unitPlanPage,
                                   surfacesPage,  localisationPage, positionPage, typologyPage, incomePage,
                                   comparablesPage, resultsPage};
    for (QWidget *page : ordered)
        pages->addWidget(page);
}

void MainWindow::buildTree()
{
    tree = new QTreeWidget;
    tree->setObjectName(QStringLiteral("TreeView1"));
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    tree->setIndentation(19);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setMouseTracking(true); // hot-tracking
    tree->setRootIsDecorated(true);
    tree->setFont(ui::pageFont());
    auto *treeStyle = new PageTreeStyle;
    treeStyle->setParent(tree);
    tree->setStyle(treeStyle);
    tree->setMinimumWidth(40);
    // Long node texts scroll sideways rather than being cut short.
    tree->setTextElideMode(Qt::ElideNone);
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tree->resize(205, tree->height());

    auto *root = new QTreeWidgetItem(tree, {QStringLiteral("Elaborazione stima")});
    QIcon rootIcon;
    rootIcon.addPixmap(art::nodeImage(art::NodeImage::Root), QIcon::Normal);
    rootIcon.addPixmap(art::nodeImage(art::NodeImage::Root), QIcon::Selected);
    root->setIcon(0, rootIcon);
    for (int n = 1; n <= kPageNodes; ++n)
        new QTreeWidgetItem(root, {u8(kPageEntries[n - 1].nodeText)});
    for (int n = 1; n <= kPageNodes; ++n)
        setNodeLight(n, art::NodeImage::Red);
    root->setExpanded(false);
    tree->setCurrentItem(nullptr);
    tree->clearSelection();

    connect(tree, &QTreeWidget::currentItemChanged, this, [this] { TreeView1Change(); });
    tree->viewport()->installEventFilter(this);
}

QTreeWidgetItem *MainWindow::node(int n) const
{
    QTreeWidgetItem *root = tree->topLevelItem(0);
    return n == 0 ? root : root->child(n - 1);
}

int MainWindow::selectedNode() const
{
    QTreeWidgetItem *current = tree->currentItem();
    if (!current)
        return -1;
    if (!current->parent())
        return 0;
    return current->parent()->indexOfChild(current) + 1;
}

void MainWindow::selectNode(int n)
{
    completeStartup();
    QTreeWidgetItem *item = node(n);
    if (n > 0) {
        node(0)->setExpanded(true);
        tree->scrollToItem(item);
    }
    tree->setCurrentItem(item);
}

int MainWindow::shownPage() const
{
    return pages->currentIndex();
}

art::NodeImage MainWindow::nodeLight(int n) const
{
    return m_lights.at(n);
}

void MainWindow::setNodeLight(int n, art::NodeImage light)
{
    if (n < 1 || n > kPageNodes)
        return;
    m_lights[n] = light;
    // The selected node shows the arrow instead of its light.
    QIcon icon;
    icon.addPixmap(art::nodeImage(light), QIcon::Normal);
    icon.addPixmap(art::nodeImage(art::NodeImage::Arrow), QIcon::Selected);
    node(n)->setIcon(0, icon);
}

void MainWindow::TreeView1Change()
{
    completeStartup();
    const int n = selectedNode();
    if (n == 0) {
        pages->setCurrentIndex(0);
        if (QAction *checked = m_viewGroup->checkedAction())
            checked->setChecked(false);
        pageButtons.last()->setChecked(true);
    }
    for (int i = 1; i <= kPageNodes; ++i) {
        if (i == n) {
            pages->setCurrentIndex(i);
            viewActions[i - 1]->setChecked(true);
            pageButtons[i - 1]->setChecked(true);
        }
    }
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    if (m_complete && mime && mime->hasImage()) {
        for (PicturePage *p : {photoPage, areaPlanPage, unitPlanPage})
            p->pasteButton->setEnabled(true);
    }
}

void MainWindow::TreeView1Click()
{
    completeStartup();
    ImpostaSemaforiTreeView();
    if (selectedNode() == kResultsNode)
        computeResults();
}

void MainWindow::showPageCommand(int n)
{
    completeStartup();
    selectNode(n);
    viewActions[n - 1]->setChecked(true);
    pageButtons[n - 1]->setChecked(true);
    if (n == kResultsNode)
        computeResults();
    tree->setFocus();
}



void MainWindow::FormCreate()
{
    try {
        pages->setCurrentIndex(0);
        descriptionPage->setAppraisalDate(QDate::currentDate());
        currency().reset();
        // The appraiser's lists already share the unit's models (one model per
        // column, built once), so step 4 has nothing left to copy.
        // From here the close steps have tables to close, even if this step
        // stops half-way.
        m_tablesOpen = true;
        workPlace = new WorkPlace(this);
        workPlace->open();
        surfacesPage->setTableFile(dataPath(kDescrSup));
        comparablesPage->setTableFile(dataPath(kImmConfr));
        afterStartupTables();
    } catch (const std::exception &e) {
        ui::Messages::error(this, QString::fromUtf8(e.what()));
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_tablesOpen) {
        // Closed before the start-up opened anything: there is nothing to
        // close, and nothing more to build.
        m_closedEarly = !m_complete;
        event->accept();
        return;
    }
    // Unsaved work is saved or let go as the user answers, or the window stays.
    if (unsavedWork && !unsavedWork->confirmClose()) {
        event->ignore();
        return;
    }
    try {
        surfacesPage->setTableFile({});
        comparablesPage->setTableFile({});
        closeTables();
        if (unsavedWork)
            unsavedWork->discardCopy();
        if (workPlace)
            workPlace->close();
        event->accept();
    } catch (const std::exception &e) {
        ui::Messages::error(this, QString::fromUtf8(e.what()));
        event->ignore();
    }
}

void MainWindow::HelpAbout1Execute()
{
    AboutBox about(this);
    about.exec();
}

void MainWindow::collectCoveredFields()
{
    m_covered.clear();
    QHash<QString, QWidget *> byName;
    const QList<QWidget *> widgets = pages->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (!w->objectName().isEmpty() && !byName.contains(w->objectName()))
            byName.insert(w->objectName(), w);
    }
    int index = 0;
    for (const CoveredName &c : kCoveredNames) {
        if (index == kSurfacesInsertAt) {
            for (QLineEdit *e : {surfacesPage->usefulEdit, surfacesPage->conventionalEdit, surfacesPage->commercialEdit})
                m_covered.append({e, false});
        }
        QWidget *w = byName.value(QLatin1String(c.name));
        if (!w)
            qFatal("covered field %s missing", c.name);
        m_covered.append({w, c.editable});
        ++index;
    }
}

bool MainWindow::isWindowShortcut(const QKeyEvent *key) const
{
    // The menu commands' keys win over the fields' own (Ctrl+A opens an
    // appraisal rather than selecting the field's text).
    const QKeySequence pressed(key->keyCombination());
    for (const QAction *a : {openAction, saveAction, newAction, cutAction, copyAction, pasteAction}) {
        if (a->shortcut() == pressed)
            return true;
    }
    return false;
}

const MainWindow::CoveredField *MainWindow::focusedCoveredField() const
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus)
        return nullptr;
    for (const CoveredField &c : m_covered) {
        if (c.widget == focus || c.widget->isAncestorOf(focus))
            return &c;
    }
    return nullptr;
}

void MainWindow::CopiaInAppunti(const QString &text)
{
    QLineEdit *transfer = startPage->transferField();
    transfer->setText(text);
    transfer->selectAll();
    transfer->copy();
    transfer->clear();
}

void MainWindow::SpeedButton4Click()
{
    const CoveredField *c = focusedCoveredField();
    if (!c)
        return;
    QLineEdit *edit = lineEditOf(c->widget);
    if (!edit || !edit->hasSelectedText())
        return;
    CopiaInAppunti(edit->selectedText());
    if (!c->editable)
        return;
    if (auto *combo = qobject_cast<QComboBox *>(c->widget))
        ui::setComboText(combo, QString());
    else
        edit->setText(QString());
}

void MainWindow::SpeedButton5Click()
{
    const CoveredField *c = focusedCoveredField();
    if (!c)
        return;
    QLineEdit *edit = lineEditOf(c->widget);
    if (edit && edit->hasSelectedText())
        CopiaInAppunti(edit->selectedText());
}

void MainWindow::SpeedButton6Click()
{
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasText())
        return;
    QLineEdit *transfer = startPage->transferField();
    transfer->clear();
    transfer->paste();
    // A one-line field keeps what comes before the first line break, as a
    // single-line edit box does when text with several lines is pasted.
    const QString pasted = transfer->text();
    const auto lineBreak = std::find_if(pasted.cbegin(), pasted.cend(), [](QChar c) { return c == u'\r' || c == u'\n'; });
    const qsizetype lineEnd = lineBreak == pasted.cend() ? -1 : lineBreak - pasted.cbegin();
    if (lineEnd >= 0)
        transfer->setText(pasted.left(lineEnd));
    const CoveredField *c = focusedCoveredField();
    if (c && c->editable) {
        const QString text = transfer->text();
        if (auto *combo = qobject_cast<QComboBox *>(c->widget))
            ui::setComboText(combo, text);
        else if (QLineEdit *edit = lineEditOf(c->widget))
            edit->setText(text);
    }
    transfer->clear();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // Ctrl+X/C/V belong to the window's commands, not to the focused field.
        auto *key = static_cast<QKeyEvent *>(event);
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && w->window() == this && isWindowShortcut(key)) {
            event->ignore();
            return true;
        }
    }
    if (tree && watched == tree->viewport() && event->type() == QEvent::MouseButtonRelease)
        TreeView1Click();
    // Whatever the user does in the window finds it complete: a click or a
    // key (a menu, a shortcut) completes it before the event is delivered.
    if (!m_complete && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress ||
                        event->type() == QEvent::ShortcutOverride)) {
        if (auto *w = qobject_cast<QWidget *>(watched); w && w->window() == this)
            completeStartup();
    }
    // The hidden pages are built once the window has been painted; queued, so
    // the paint reaches the screen first.
    if (!m_complete && !m_completionQueued && watched == this &&
        (event->type() == QEvent::UpdateRequest || event->type() == QEvent::Paint)) {
        m_completionQueued = true;
        QMetaObject::invokeMethod(this, &MainWindow::completeStartup, Qt::QueuedConnection);
    }
    // A picture copied in another program can be pasted once the window comes
    // back to the front.
    if (m_complete && watched == this && event->type() == QEvent::WindowActivate) {
        for (PicturePage *p : {photoPage, areaPlanPage, unitPlanPage})
            p->updatePasteAvailability();
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace brevan::app
