// SPDX-License-Identifier: GPL-2.0-or-later
#include "../support/appfixture.h"
#include "app/application.h"
#include "app/guide.h"
#include "app/startpage.h"
#include "pages/descriptionpage.h"
#include "model/currency.h"
#include "pages/pagekit.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "store/tablestore.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QFontInfo>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

using namespace brevan;
using brevan::app::MainWindow;

namespace {

QStringList menuTexts(QMenuBar *bar)
{
    QStringList out;
    for (QAction *a : bar->actions())
        out << a->text();
    return out;
}

QStringList itemTexts(QMenu *menu)
{
    QStringList out;
    for (QAction *a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text() + QLatin1Char('\t') + a->shortcut().toString());
    return out;
}

template <typename T>
T *find(MainWindow *w, const char *name)
{
    T *c = w->findChild<T *>(QLatin1String(name));
    if (!c)
        qFatal("no %s", name);
    return c;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        app::setUpApplication(*qApp);
    }

    void startUpState()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        QCOMPARE(w->windowTitle(), QStringLiteral("Brevan 2.0"));
        QCOMPARE(w->size(), QSize(640, 480));
        QCOMPARE(w->minimumSize(), QSize(630, 462));
        QCOMPARE(w->maximumSize(), QSize(808, 600));
        QCOMPARE(w->shownPage(), 0);
        QCOMPARE(w->selectedNode(), -1);
        QVERIFY(!w->node(0)->isExpanded());
        for (int n = 1; n <= MainWindow::kPageNodes; ++n)
            QCOMPARE(w->nodeLight(n), art::NodeImage::Red);
        for (QAction *a : w->viewActions)
            QVERIFY(!a->isChecked());
        for (int n = 0; n < MainWindow::kPageNodes; ++n)
            QVERIFY(!w->pageButtons[n]->isChecked());
        QVERIFY(w->pageButtons.last()->isHidden());
        QCOMPARE(find<QDateEdit>(w, "DataStimaImmob")->date(), QDate::currentDate());
        QCOMPARE(currency().ValutaCorrente, QStringLiteral(" Lire"));
        QVERIFY(currency().RicalcoloAttivo);
        QVERIFY(w->euroButton->isEnabled());
        QVERIFY(!w->lireButton->isEnabled());
        // Working tables as start-up leaves them.
        QCOMPARE(Table::open(f.dataFolder() + "/DescrSup.db").rowCount(), 36);
        QCOMPARE(Table::open(f.dataFolder() + "/ImmConfr.db").rowCount(), 0);
        QCOMPARE(Table::open(f.dataFolder() + "/ZonaUrbana.db").rowCount(), 0);
        QVERIFY(ui::Messages::shown().isEmpty());
        // The appraiser's lists hold the unit's lists.
        auto *unit = find<QComboBox>(w, "ComuneImmob");
        auto *office = find<QComboBox>(w, "ComuneProfess");
        QCOMPARE(office->model(), unit->model());
        QVERIFY(unit->count() > 7000);
    }

    // As the program starts: the window is painted with its start page, tree
    // and toolbar first; then the other pages, the operations and the working
    // tables are built, and the window is in the same state as one built at
    // once.
    void deferredStartUpCompletesAfterFirstPaint()
    {
        AppFixture f(app::Operations::Wired, app::Startup::Deferred);
        MainWindow *w = f.window.get();
        QVERIFY(!w->isStartupComplete());
        QCOMPARE(w->pages->count(), 1);
        QCOMPARE(w->shownPage(), 0);
        QVERIFY(!w->descriptionPage);
        QVERIFY(!QFile::exists(f.dataFolder() + "/DescrSup.db"));

        // Records whether the window had been painted when it completed.
        struct PaintWatch : QObject {
            bool painted = false;
            bool eventFilter(QObject *, QEvent *e) override
            {
                if (e->type() == QEvent::Paint || e->type() == QEvent::UpdateRequest)
                    painted = true;
                return false;
            }
        } watch;
        w->installEventFilter(&watch);
        bool paintedBeforeComplete = false;
        connect(w, &MainWindow::startupCompleted, this, [&] { paintedBeforeComplete = watch.painted; });
        w->show();
        QTRY_VERIFY_WITH_TIMEOUT(w->isStartupComplete(), 2000);
        QVERIFY(paintedBeforeComplete);

        QCOMPARE(w->pages->count(), MainWindow::kPageNodes + 1);
        QCOMPARE(w->shownPage(), 0);
        QCOMPARE(w->selectedNode(), -1);
        QVERIFY(w->descriptionOps);
        QCOMPARE(w->coveredFields().size(), 75);
        QCOMPARE(find<QDateEdit>(w, "DataStimaImmob")->date(), QDate::currentDate());
        QCOMPARE(Table::open(f.dataFolder() + "/DescrSup.db").rowCount(), 36);
        QCOMPARE(Table::open(f.dataFolder() + "/ImmConfr.db").rowCount(), 0);
        for (int n = 1; n <= MainWindow::kPageNodes; ++n)
            QCOMPARE(w->nodeLight(n), art::NodeImage::Red);
        QVERIFY(ui::Messages::shown().isEmpty());

        // The operations work: the municipality cascade fills the description
        // page and the municipality's zones.
        w->selectNode(2);
        auto *town = find<QComboBox>(w, "ComuneImmob");
        town->setFocus();
        QTest::keyClicks(town, QStringLiteral("Abano Terme"));
        QCOMPARE(find<QComboBox>(w, "ProvinciaImmob")->currentText(), QStringLiteral("Padova"));
        QCOMPARE(find<QComboBox>(w, "CAPImmob")->currentText(), QStringLiteral("35031"));
        QCOMPARE(Table::open(f.dataFolder() + "/ZonaUrbana.db").rowCount(), 11);
    }

    // Anything that needs a page completes the window at once.
    void deferredStartUpCompletesOnFirstUse_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("page button") << "button";
        QTest::newRow("view menu") << "menu";
        QTest::newRow("tree") << "tree";
        QTest::newRow("click on the start page") << "click";
        QTest::newRow("shortcut") << "shortcut";
    }
    void deferredStartUpCompletesOnFirstUse()
    {
        QFETCH(QString, how);
        AppFixture f(app::Operations::Wired, app::Startup::Deferred);
        MainWindow *w = f.window.get();
        QVERIFY(!w->isStartupComplete());
        if (how == "button")
            w->pageButtons[1]->click();
        else if (how == "menu")
            w->viewActions[1]->trigger();
        else if (how == "tree")
            w->tree->setCurrentItem(w->node(2));
        if (how == "click" || how == "shortcut") {
            // Input reaches a complete window, even one not painted yet.
            if (how == "click")
                QTest::mouseClick(w->startPage, Qt::LeftButton);
            else
                QTest::keyClick(w->tree, Qt::Key_N, Qt::ControlModifier);
            QVERIFY(w->isStartupComplete());
            QVERIFY(w->fileOps);
            QCOMPARE(w->pages->count(), MainWindow::kPageNodes + 1);
            return;
        }
        QVERIFY(w->isStartupComplete());
        QCOMPARE(w->shownPage(), 2);
        QCOMPARE(w->pages->currentWidget(), static_cast<QWidget *>(w->descriptionPage));
        QCOMPARE(w->selectedNode(), 2);
        QVERIFY(w->viewActions[1]->isChecked());
        QVERIFY(w->pageButtons[1]->isChecked());
    }

    // A window that is not painted waits until something needs a page; one
    // closed before it completed neither completes later nor touches the
    // data folder.
    void deferredStartUpWithoutPaint()
    {
        {
            AppFixture f(app::Operations::Wired, app::Startup::Deferred);
            QTest::qWait(50);
            QVERIFY(!f.window->isStartupComplete());
            f.window->selectNode(6);
            QVERIFY(f.window->isStartupComplete());
            QCOMPARE(f.window->shownPage(), 6);
            QCOMPARE(Table::open(f.dataFolder() + "/DescrSup.db").rowCount(), 36);
        }
        AppFixture f(app::Operations::Wired, app::Startup::Deferred);
        QVERIFY(f.window->close());
        f.window->selectNode(2);
        QVERIFY(!f.window->isStartupComplete());
        QVERIFY(!QFile::exists(f.dataFolder()));
        QVERIFY(ui::Messages::shown().isEmpty());
    }

    // fitToText sizes a caption exactly as QLabel::adjustSize does, by the
    // quick measure for plain single lines and by adjustSize otherwise.
    void fitToTextMatchesAdjustSize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pointSize");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QString>("special");
        const QStringList captions{QStringLiteral("Comune:"), QStringLiteral("C.A.P."),
                                   QStringLiteral("Età edificio:"), QStringLiteral("%"), QStringLiteral("mq"),
                                   QStringLiteral("Canone mensile di locazione unitario (Lire/mq):"),
                                   QStringLiteral("Superficie commerciale (mq):")};
        for (const QString &c : captions) {
            QTest::addRow("8 pt %s", qPrintable(c)) << c << 8 << false << QString();
            QTest::addRow("10 pt bold %s", qPrintable(c)) << c << 10 << true << QString();
        }
        QTest::newRow("mnemonic") << "&Comune:" << 8 << false << QString();
        QTest::newRow("two lines") << "Anno di\ncostruzione" << 8 << false << QString();
        QTest::newRow("rich text") << "<b>Comune</b>" << 8 << false << QString();
        QTest::newRow("word wrap") << "Anno di costruzione o di ristrutturaz. totale:" << 8 << false << "wrap";
        QTest::newRow("margin") << "Comune:" << 8 << false << "margin";
        QTest::newRow("minimum size") << "%" << 8 << false << "minimum";
    }
    void fitToTextMatchesAdjustSize()
    {
        QFETCH(QString, text);
        QFETCH(int, pointSize);
        QFETCH(bool, bold);
        QFETCH(QString, special);
        QFont font(QStringLiteral("Arial"), pointSize);
        font.setBold(bold);
        QLabel quick(text), reference(text);
        for (QLabel *l : {&quick, &reference}) {
            l->setFont(font);
            if (special == "wrap")
                l->setWordWrap(true);
            else if (special == "margin")
                l->setMargin(3);
            else if (special == "minimum")
                l->setMinimumSize(40, 20);
        }
        ui::fitToText(&quick);
        reference.adjustSize();
        QCOMPARE(quick.size(), reference.size());
    }

    void menusAndShortcuts()
    {
        AppFixture f;
        QMenuBar *bar = f.window->menuBar();
        QCOMPARE(menuTexts(bar), (QStringList{"&File", "&Modifica", "&Visualizza", "&Help"}));
        const auto menus = bar->actions();
        QCOMPARE(itemTexts(menus[0]->menu()),
                 (QStringList{"&Apri stima...\tCtrl+A", "&Salva stima...\tCtrl+S", "&Nuova stima\tCtrl+N", "-",
                              "&Carica professionista...\t", "Salva professio&nista...\t", "-", "&Esci\t"}));
        QCOMPARE(itemTexts(menus[1]->menu()), (QStringList{"&Annulla\tCtrl+Z", "&Ripeti\tCtrl+Y", "-", "&Taglia\tCtrl+X",
                                                           "&Copia\tCtrl+C", "&Incolla\tCtrl+V"}));
        // The twelve pages, then a separator, the cadastral surface's window,
        // the OMI comparison's, the report for a purpose and the market comparison's.
        QCOMPARE(menus[2]->menu()->actions().size(), 17);
        QVERIFY(menus[2]->menu()->actions().at(12)->isSeparator());
        QCOMPARE(menus[2]->menu()->actions().at(13)->text(), QStringLiteral("Superficie catastale (DPR 138/98)…"));
        QCOMPARE(menus[2]->menu()->actions().at(14)->text(), QStringLiteral("Confronto con le quotazioni OMI…"));
        QCOMPARE(menus[2]->menu()->actions().at(15)->text(), QStringLiteral("Rapporto di valutazione…"));
        QCOMPARE(menus[2]->menu()->actions().at(16)->text(), QStringLiteral("Stima MCA…"));
        QCOMPARE(menus[2]->menu()->actions().at(6)->text(), QStringLiteral("Caratterist. di Localizzazione"));
        QCOMPARE(menus[2]->menu()->actions().at(6)->statusTip(),
                 QStringLiteral("Visualizza la pagina Caratteristiche di localizzazione."));
        QCOMPARE(itemTexts(menus[3]->menu()), (QStringList{"&Guida di Brevan\tF1", "&About...\t"}));
        QCOMPARE(f.window->pageButtons[6]->toolTip(), QStringLiteral("Caratteristiche di localizzazione"));
        QCOMPARE(f.window->pageButtons[6]->statusTip(),
                 QStringLiteral("Visualizza la pagina Caratteristiche di localizzazione."));
        QCOMPARE(f.window->cutAction->statusTip(), QStringLiteral("Taglia la selezione e la inserisce negli appunti."));
    }

    // F1 and "Guida di Brevan" show the HTML guide that the installation puts
    // under share/doc/brevan beside bin/ (and the build tree likewise); a
    // guide missing, or a desktop that cannot show it, gives a warning.
    void guideFromTheHelpMenu_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("browser");
        QTest::addColumn<QString>("warning"); // %1: the guide's path
        QTest::newRow("installed") << true << true << "";
        QTest::newRow("not installed") << false << true
                                       << "La guida di Brevan non è installata: manca il file \"%1\".";
        QTest::newRow("no browser") << true << false
                                    << "Impossibile aprire la guida di Brevan \"%1\" nel programma per le pagine web.";
    }
    void guideFromTheHelpMenu()
    {
        QFETCH(bool, installed);
        QFETCH(bool, browser);
        QFETCH(QString, warning);
        QTemporaryDir root;
        QVERIFY(QDir().mkpath(root.filePath("bin")));
        const QString guide = root.filePath("share/doc/brevan/guida.html");
        if (installed) {
            QVERIFY(QDir().mkpath(root.filePath("share/doc/brevan")));
            QFile file(guide);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("<html></html>");
        }
        QList<QUrl> opened;
        app::setUrlOpenerForTests([&](const QUrl &url) {
            opened << url;
            return browser;
        });
        app::setProgramDirForTests(root.filePath("bin"));
        AppFixture f;
        f.window->show();
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QTest::keyClick(f.window.get(), Qt::Key_F1);
        app::setUrlOpenerForTests({});
        app::setProgramDirForTests({});

        QCOMPARE(opened, installed ? QList<QUrl>{QUrl::fromLocalFile(guide)} : QList<QUrl>{});
        if (warning.isEmpty()) {
            QVERIFY(ui::Messages::shown().isEmpty());
        } else {
            QCOMPARE(ui::Messages::shown().size(), 1);
            QCOMPARE(ui::Messages::shown().first().kind, ui::Messages::Shown::Warning);
            QCOMPARE(ui::Messages::shown().first().text, warning.arg(guide));
        }
    }

    // The build puts the guide where the program in the build tree finds it.
    void guideBesideTheBuiltProgram()
    {
#ifndef BREVAN_PROGRAM_DIR
        QSKIP("the build makes no HTML guide without cmark");
#else
        const QString program = QStringLiteral(BREVAN_PROGRAM_DIR);
        const QString guide = app::guideFile(program);
        QVERIFY2(!guide.isEmpty(), qPrintable(program));
        QVERIFY(QFileInfo::exists(QFileInfo(guide).absolutePath() + QStringLiteral("/img/00-avvio.png")));
#endif
    }

    void toolbarOrder()
    {
        AppFixture f;
        auto *bar = f.window->findChild<QToolBar *>("ToolBar1");
        QVERIFY(bar);
        QStringList order;
        for (QAction *a : bar->actions()) {
            if (a->isSeparator()) {
                order << "|";
            } else if (QWidget *b = bar->widgetForAction(a)) {
                order << b->objectName();
            }
        }
        QStringList expected{"SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton54", "SpeedButton56", "|",
                             "SpeedButton4", "SpeedButton5", "SpeedButton6", "|"};
        for (int n = 1; n <= 12; ++n)
            expected << QStringLiteral("PageButton%1").arg(n);
        expected << "|" << "SpeedButton38" << "SpeedButton39";
        QCOMPARE(order, expected);
    }

    // Tree, menu and buttons stay in step whichever of them is used.
    void navigation_data()
    {
        QTest::addColumn<QString>("via");
        QTest::addColumn<int>("node");
        for (const char *via : {"tree", "menu", "button"})
            for (int n : {1, 6, 7, 11})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(via).arg(n))) << via << n;
    }
    void navigation()
    {
        QFETCH(QString, via);
        QFETCH(int, node);
        AppFixture f;
        MainWindow *w = f.window.get();
        if (via == "tree")
            w->selectNode(node);
        else if (via == "menu")
            w->viewActions[node - 1]->trigger();
        else
            w->pageButtons[node - 1]->click();
        QCOMPARE(w->selectedNode(), node);
        QCOMPARE(w->shownPage(), node);
        QVERIFY(w->node(0)->isExpanded());
        for (int n = 1; n <= MainWindow::kPageNodes; ++n) {
            QCOMPARE(w->viewActions[n - 1]->isChecked(), n == node);
            QCOMPARE(w->pageButtons[n - 1]->isChecked(), n == node);
        }
        // Back to the root: start page, no item checked, no visible button down.
        w->selectNode(0);
        QCOMPARE(w->shownPage(), 0);
        for (int n = 1; n <= MainWindow::kPageNodes; ++n) {
            QVERIFY(!w->viewActions[n - 1]->isChecked());
            QVERIFY(!w->pageButtons[n - 1]->isChecked());
        }
        QVERIFY(w->pageButtons.last()->isChecked());
    }

    void keyboardInTreeShowsPages()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->selectNode(11);
        w->tree->setFocus();
        QTest::keyClick(w->tree, Qt::Key_Down);
        QCOMPARE(w->selectedNode(), 12);
        QCOMPARE(w->shownPage(), 12);
        QVERIFY(w->viewActions[11]->isChecked());
    }

    void selectedNodeShowsArrow()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        w->setNodeLight(3, art::NodeImage::Green);
        const QIcon icon = w->node(3)->icon(0);
        const QImage normal = icon.pixmap(16, QIcon::Normal).toImage();
        const QImage selected = icon.pixmap(16, QIcon::Selected).toImage();
        QCOMPARE(normal, art::nodeImage(art::NodeImage::Green).toImage());
        QCOMPARE(selected, art::nodeImage(art::NodeImage::Arrow).toImage());
    }

    void closeDeletesWorkingTables()
    {
        AppFixture f;
        const QString surfaces = f.dataFolder() + "/DescrSup.db";
        const QString comparables = f.dataFolder() + "/ImmConfr.db";
        QVERIFY(Table::exists(surfaces));
        QVERIFY(f.window->close());
        QVERIFY(!Table::exists(surfaces));
        QVERIFY(!Table::exists(comparables));
        QVERIFY(Table::exists(f.dataFolder() + "/ZonaUrbana.db"));
        QVERIFY(ui::Messages::shown().isEmpty());
    }

    void startUpFailureShowsErrorBoxAndOpens()
    {
        QTemporaryDir dir;
        const QString cwd = QDir::currentPath();
        AliasRegistry::setConfigFile(dir.filePath("tablestore.ini"));
        AliasRegistry::add(kAliasBrevan, "/proc/brevan-cannot-exist/Dati");
        ui::Messages::resetForTests();
        ui::Messages::setAnswers([](const ui::Messages::Shown &) { return true; });
        {
            // Said once; the working tables are kept elsewhere for this run.
            MainWindow w;
            QCOMPARE(ui::Messages::shown().size(), 1);
            QCOMPARE(ui::Messages::shown().first().kind, ui::Messages::Shown::Error);
            QVERIFY(ui::Messages::shown().first().text.startsWith(
                "La cartella dei dati \"/proc/brevan-cannot-exist/Dati\" non è utilizzabile:\n"));
            QCOMPARE(w.windowTitle(), QStringLiteral("Brevan 2.0"));
            QCOMPARE(w.surfacesPage->model()->rowCount(), 36);
        }
        ui::Messages::setAnswers({});
        AliasRegistry::setConfigFile({});
        QDir::setCurrent(cwd);
    }

    void centring_data()
    {
        QTest::addColumn<QSize>("page");
        QTest::addColumn<QPoint>("offset");
        QTest::newRow("roomy") << QSize(435, 395) << QPoint(10, 11);
        QTest::newRow("odd spare truncates") << QSize(600, 521) << QPoint(92, 74);
        QTest::newRow("exact") << QSize(415, 372) << QPoint(0, 0);
        QTest::newRow("smaller truncates toward zero") << QSize(400, 361) << QPoint(-7, -5);
    }
    void centring()
    {
        QFETCH(QSize, page);
        QFETCH(QPoint, offset);
        QCOMPARE(ui::centredPanelOffset(page), offset);
        ui::CentredPage p;
        p.resize(page);
        p.show();
        QCOMPARE(p.panel()->pos(), offset);
    }

    // The page tree in Liberation Sans (Arial's metric twin) 8 pt, 205
    // pixels wide at the start, shows every node name whole.
    void pageTreeNamesFit()
    {
        AppFixture f;
        MainWindow *w = f.window.get();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTreeWidget *tree = w->tree;
        const QFontInfo font(tree->font());
        QCOMPARE(font.family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(font.pointSize(), 8);
        QCOMPARE(tree->width(), 205);
        QCOMPARE(tree->indentation(), 19);
        w->node(0)->setExpanded(true);
        QCoreApplication::processEvents();
        // The column fits its widest node, indentation included: it fits the tree.
        QVERIFY2(tree->columnWidth(0) <= tree->viewport()->width(),
                 qPrintable(QStringLiteral("%1 > %2").arg(tree->columnWidth(0)).arg(tree->viewport()->width())));
        QVERIFY(!tree->horizontalScrollBar()->isVisible());
    }

    void italianDialogButtons()
    {
        QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Open | QDialogButtonBox::Save);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Annulla"));
        QCOMPARE(box.button(QDialogButtonBox::Open)->text(), QStringLiteral("Apri"));
        QCOMPARE(box.button(QDialogButtonBox::Save)->text(), QStringLiteral("Salva"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
