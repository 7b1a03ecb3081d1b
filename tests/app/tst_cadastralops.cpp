// SPDX-License-Identifier: GPL-2.0-or-later
// The cadastral surface in the running program: its two ways in, the classes
// proposed and changed, the window following the surfaces table and the
// category, the choices saved, reopened and cleared with the appraisal (an
// appraisal without them writing nothing new, a damaged companion named),
// the recovery copy, and the MCA subject proposed from the cadastral surface.
#include "../support/savedprogram.h"
#include "../support/fixtures.h"
#include "app/application.h"
#include "app/cadastralops.h"
#include "app/fileops.h"
#include "app/mcaops.h"
#include "app/unsavedwork.h"
#include "files/appraisalfiles.h"
#include "files/cadastraltable.h"
#include "files/mcatable.h"
#include "pages/cadastralwindow.h"
#include "pages/descriptionpage.h"
#include "pages/mcadatatable.h"
#include "pages/mcawindow.h"
#include "pages/navigatorbar.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace brevan;
using brevan::mca::Row;
using brevan::ui::CadastralWindow;
using brevan::ui::Messages;

namespace {

struct Room {
    const char *name;
    const char *area;
};
// 85 m² of rooms, a balcony of 8 and a cellar of 10, walls of 11.
constexpr Room kUnit[] = {{"Soggiorno", "28"}, {"Cucina", "12,5"}, {"Camera", "16"},   {"Camera", "12"},
                          {"Bagno", "6"},      {"Ingresso", "6,5"}, {"Disimpegno", "4"}, {"Balcone", "8"},
                          {"Cantina", "10"},   {"Tramezzi e tamponature", "11"}};
// 96 + 8 × 0,30 + 10 × 0,25 = 100,9.
constexpr int kUnitSurface = 101;

struct Program : SavedProgram {
    app::CadastralOps *ops() const { return w()->cadastralOps; }
    ui::TableModel *surfaces() const { return w()->surfacesPage->model(); }
    void setRoom(int row, const QString &name, const QString &area) const
    {
        surfaces()->setData(surfaces()->index(row, 0), name);
        surfaces()->setData(surfaces()->index(row, 1), area);
    }
    void fillUnit() const
    {
        int row = 0;
        for (const Room &r : kUnit)
            setRoom(row++, QString::fromUtf8(r.name), QString::fromUtf8(r.area));
    }
    CadastralWindow *window()
    {
        QTest::mouseClick(w()->surfacesPage->cadastralButton, Qt::LeftButton);
        return ops()->window();
    }
    // The user picks a class in the row's pick list.
    void pick(int surfacesRow, CadastralClass cls)
    {
        QComboBox *combo = window()->classCombo(surfacesRow);
        QVERIFY(combo);
        QCOMPARE(combo->objectName(), QStringLiteral("ClasseCatastale%1").arg(surfacesRow + 1));
        combo->setCurrentIndex(combo->findText(cadastralClassLabel(cls)));
        Q_EMIT combo->activated(combo->currentIndex());
    }
    void type(int surfacesRow, int column, const QString &text)
    {
        CadastralWindow *cw = window();
        QTableWidgetItem *item = cw->table->item(cw->lineOf(surfacesRow), column);
        QVERIFY(item && (item->flags() & Qt::ItemIsEditable));
        item->setText(text);
    }
    QString surfaceText() { return window()->findChild<QLabel *>(QStringLiteral("SuperficieCatastale"))->text(); }
};

QString total(int squareMetres)
{
    return QStringLiteral("Superficie catastale: %1 m²").arg(squareMetres);
}

QStringList columnsOf(const QString &path)
{
    QStringList names;
    for (const Column &c : Table::layoutOf(path, Trust::Foreign))
        names << c.name;
    return names;
}

} // namespace

class TestCadastralOps : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }

    void twoWaysIn()
    {
        Program p;
        app::MainWindow *w = p.w();
        QVERIFY(!p.ops()->window()); // built at first use
        w->show();
        w->showPageCommand(6);
        QToolButton *button = w->surfacesPage->findChild<QToolButton *>(QStringLiteral("SpeedButtonSuperficieCatastale"));
        QVERIFY(button);
        QCOMPARE(button->toolTip(), QStringLiteral("Superficie catastale (DPR 138/98)…"));
        QTest::mouseClick(button, Qt::LeftButton);
        CadastralWindow *cw = p.ops()->window();
        QVERIFY(cw && cw->isVisible() && !cw->isModal());
        QCOMPARE(cw->parentWidget(), w);
        QCOMPARE(cw->windowTitle(), QStringLiteral("Superficie catastale (DPR 138/98)"));
        QVERIFY(cw->sourceLabel->text().contains(QStringLiteral("DPR 23 marzo 1998 n. 138, allegato C")));

        // The same window from "&Visualizza", after the pages and before the MCA.
        cw->hide();
        QMenu *view = w->menuBar()->actions().at(2)->menu();
        const QList<QAction *> items = view->actions();
        const qsizetype at = items.indexOf(w->cadastralAction);
        QVERIFY(at > 12);
        QVERIFY(at < items.indexOf(w->mcaAction));
        QCOMPARE(w->cadastralAction->text(), QStringLiteral("Superficie catastale (DPR 138/98)…"));
        w->cadastralAction->trigger();
        QCOMPARE(p.ops()->window(), cw);
        QVERIFY(cw->isVisible());
        // The main window stays usable beside it.
        w->showPageCommand(2);
        QCOMPARE(w->shownPage(), 2);
        QVERIFY(cw->isVisible());
    }

    // The button stands after the navigators: no control of the page moves,
    // at the smallest page and the largest.
    void buttonMovesNoControlOfTheSurfacesPage()
    {
        ui::SurfacesPage page;
        page.show();
        QList<QWidget *> row;
        for (QToolButton *b : {page.openTableButton, page.saveTableButton, page.clearTableButton, page.copyRowButton,
                               page.cutRowButton, page.pasteRowButton, page.computeButton})
            row << b;
        row << page.navigator;
        QList<QPoint> before;
        for (QWidget *c : row)
            before << c->pos();
        const QList<QWidget *> all = row + QList<QWidget *>{page.grid, page.surfacesGroup};
        for (const QSize size : {QSize(420, 380), QSize(793, 520), QSize(420, 380)}) {
            page.resize(size);
            QCoreApplication::processEvents();
            for (qsizetype i = 0; i < row.size(); ++i)
                QCOMPARE(row[i]->pos(), before[i]);
            for (QWidget *c : all)
                QVERIFY2(!c->geometry().intersects(page.cadastralButton->geometry()), qPrintable(c->objectName()));
            QVERIFY(page.cadastralButton->x() > page.navigator->geometry().right());
            QVERIFY(page.cadastralButton->geometry().right() < page.width());
            QVERIFY(page.cadastralButton->geometry().bottom() < page.grid->y());
            // Its text where the row holds it, the icon alone where it does not.
            QCOMPARE(page.cadastralButton->toolButtonStyle() == Qt::ToolButtonTextBesideIcon, size.width() > 600);
        }
    }

    void classesProposedAndChanged()
    {
        Program p;
        p.fillUnit();
        CadastralWindow *cw = p.window();
        QCOMPARE(cw->table->rowCount(), int(std::size(kUnit)));
        // Each class proposed from the room name.
        const QList<QPair<int, CadastralClass>> proposed{{0, CadastralClass::Main},
                                                         {7, CadastralClass::BalconyLinked},
                                                         {8, CadastralClass::IndirectApart},
                                                         {9, CadastralClass::Walls}};
        for (const auto &[row, cls] : proposed)
            QCOMPARE(cw->classCombo(row)->currentText(), cadastralClassLabel(cls));
        QCOMPARE(cw->table->item(cw->lineOf(8), CadastralWindow::ContributionColumn)->text(), QStringLiteral("2,50"));
        QCOMPARE(p.surfaceText(), total(kUnitSurface));
        QVERIFY(p.ops()->choices().isEmpty());

        // The cellar communicates with the rooms: 50 % instead of 25 %.
        p.pick(8, CadastralClass::IndirectLinked);
        QCOMPARE(cw->table->item(cw->lineOf(8), CadastralWindow::ContributionColumn)->text(), QStringLiteral("5,00"));
        QCOMPARE(p.surfaceText(), total(103)); // 103,4
        QVERIFY(!p.ops()->choices().isEmpty());

        // 8 m² of the living room lower than 1,50 m.
        p.type(0, CadastralWindow::LowAreaColumn, QStringLiteral("8"));
        QCOMPARE(p.surfaceText(), total(95)); // 95,4
        // Text that is no measure stops the total and says where.
        p.type(0, CadastralWindow::LowAreaColumn, QStringLiteral("otto"));
        QCOMPARE(p.surfaceText(), QStringLiteral("Superficie catastale: —"));
        QVERIFY(cw->issuesLabel->text().contains(QStringLiteral("Riga 1 (Soggiorno)")));
        QVERIFY(!p.ops()->surface());
        p.type(0, CadastralWindow::LowAreaColumn, QString());
        // Walls 60 cm thick count to 50 cm.
        p.type(9, CadastralWindow::WallColumn, QStringLiteral("60"));
        QCOMPARE(cw->table->item(cw->lineOf(9), CadastralWindow::ContributionColumn)->text(), QStringLiteral("9,17"));
        // The low part is not asked of a balcony, nor a thickness of a room.
        QVERIFY(!(cw->table->item(cw->lineOf(7), CadastralWindow::LowAreaColumn)->flags() & Qt::ItemIsEditable));
        QVERIFY(!(cw->table->item(cw->lineOf(0), CadastralWindow::WallColumn)->flags() & Qt::ItemIsEditable));

        // Picking the proposed class again leaves no choice behind.
        p.type(9, CadastralWindow::WallColumn, QString());
        p.pick(8, CadastralClass::IndirectApart);
        QVERIFY(p.ops()->choices().isEmpty());
        QCOMPARE(p.surfaceText(), total(kUnitSurface));
    }

    void followsTheSurfacesTable()
    {
        Program p;
        p.fillUnit();
        CadastralWindow *cw = p.window();
        p.pick(8, CadastralClass::IndirectLinked); // the cellar
        // A row added on the page shows at once.
        p.setRoom(10, QStringLiteral("Studio"), QStringLiteral("9"));
        QCOMPARE(cw->table->rowCount(), 11);
        QCOMPARE(cw->table->item(10, CadastralWindow::DescriptionColumn)->text(), QStringLiteral("Studio"));
        QCOMPARE(p.surfaceText(), total(112)); // 103,4 + 9
        // A changed area likewise.
        p.setRoom(10, QStringLiteral("Studio"), QStringLiteral("12"));
        QCOMPARE(p.surfaceText(), total(115));

        // A row removed above the cellar: its class goes with it.
        w(p)->surfacesPage->grid->setCurrentIndex(p.surfaces()->index(0, 0));
        p.app.answer = true;
        QVERIFY(w(p)->surfacesPage->navigator->deleteCurrent());
        QCOMPARE(cw->table->rowCount(), 10);
        QCOMPARE(cw->classCombo(7)->currentText(), cadastralClassLabel(CadastralClass::IndirectLinked));
        QCOMPARE(p.surfaceText(), total(87)); // 115,4 - 28

        // Another description on the row: the proposal again.
        p.setRoom(7, QStringLiteral("Ripostiglio"), QStringLiteral("10"));
        QCOMPARE(cw->classCombo(7)->currentText(), cadastralClassLabel(CadastralClass::Main));
        p.setRoom(7, QStringLiteral("Cantina"), QStringLiteral("10"));
        QCOMPARE(cw->classCombo(7)->currentText(), cadastralClassLabel(CadastralClass::IndirectApart));
        QVERIFY(p.ops()->choices().isEmpty());
    }

    void villaRuleFromTheCategory_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<int>("surface");
        // 80 m² of rooms and a garden of 500: a villa counts it beyond 400 m².
        QTest::newRow("A/7") << "A/7" << 88;  // 80 + 80 × 0,10 + 20 × 0,02
        QTest::newRow("A/8") << "A/8" << 88;
        QTest::newRow("A/2") << "A/2" << 96;  // 80 + 8 + 420 × 0,02
        QTest::newRow("none") << "" << 96;
    }
    void villaRuleFromTheCategory()
    {
        QFETCH(QString, category);
        QFETCH(int, surface);
        Program p;
        p.setRoom(0, QStringLiteral("Soggiorno"), QStringLiteral("80"));
        p.setRoom(1, QStringLiteral("Posto auto singolo"), QStringLiteral("500"));
        p.pick(1, CadastralClass::Garden);
        // The user picks the category on the description page.
        QComboBox *combo = p.w()->descriptionPage->categoryCombo;
        combo->setCurrentIndex(combo->findText(category));
        QCOMPARE(p.ops()->window()->sheet().villa, !category.isEmpty() && category != QStringLiteral("A/2"));
        QCOMPARE(p.surfaceText(), total(surface));
        QVERIFY(p.ops()->window()->villaLabel->text().contains(category));
    }

    void savedOpenedAndEmptied()
    {
        Program p;
        p.fillUnit();
        p.pick(8, CadastralClass::IndirectLinked);
        p.type(9, CadastralWindow::WallColumn, QStringLiteral("60"));
        const CadastralChoices given = p.ops()->choices();
        p.save(QStringLiteral("Stima - Via Roma 1.db"));
        QVERIFY(p.warnings().isEmpty());
        const QString companion = p.inFolder(QStringLiteral("Superficie catastale - Via Roma 1.db"));
        QVERIFY(QFile::exists(companion));
        QCOMPARE(files::readCadastralTable(companion), given);
        // Found by its name: the record has no column for it.
        QVERIFY(!columnsOf(p.inFolder(QStringLiteral("Stima - Via Roma 1.db"))).contains(files::kCadastralColumn));

        // A new appraisal goes back to the proposals, window included.
        p.newAppraisal();
        QVERIFY(p.ops()->choices().isEmpty());
        QCOMPARE(p.ops()->window()->table->rowCount(), 0);

        p.open(QStringLiteral("Stima - Via Roma 1.db"));
        QVERIFY(p.warnings().isEmpty());
        QCOMPARE(p.ops()->choices(), given);
        QCOMPARE(p.ops()->window()->classCombo(8)->currentText(), cadastralClassLabel(CadastralClass::IndirectLinked));
        QCOMPARE(p.surfaceText(), total(102)); // 94,17 + 2,4 + 5

        // Saved again with the proposals only: the earlier choices do not
        // come back with this appraisal.
        p.pick(8, CadastralClass::IndirectApart);
        p.type(9, CadastralWindow::WallColumn, QString());
        p.save(QStringLiteral("Stima - Via Roma 1.db"));
        QVERIFY(files::readCadastralTable(companion).isEmpty());
        p.pick(8, CadastralClass::IndirectLinked);
        p.open(QStringLiteral("Stima - Via Roma 1.db"));
        QVERIFY(p.ops()->choices().isEmpty());
    }

    // An appraisal without choices saves the files it saved before: no
    // companion, the record's columns as they were; numbered or not.
    void appraisalWithoutChoices()
    {
        Program p;
        p.fillUnit();
        p.save(QStringLiteral("Stima - Via Po 2.db"));
        QDir folder(p.folder());
        QVERIFY(folder.entryList({QStringLiteral("Superficie catastale*")}, QDir::Files).isEmpty());
        Layout plain = files::recordLayout();
        QCOMPARE(Table::layoutOf(p.inFolder(QStringLiteral("Stima - Via Po 2.db")), Trust::Foreign), plain);

        // "Via Po 2.db" takes the numbered stem beside the first appraisal.
        p.save(QStringLiteral("Via Po 2.db"));
        QStringList numbered = columnsOf(p.inFolder(QStringLiteral("Via Po 2.db")));
        QVERIFY(numbered.contains(files::kMcaColumn));
        QVERIFY(!numbered.contains(files::kCadastralColumn));

        // With choices the numbered record names its own companion, and the
        // first appraisal's choices never come back with the other one.
        p.pick(8, CadastralClass::IndirectLinked);
        p.save(QStringLiteral("Stima - Via Po 2.db"));
        p.newAppraisal();
        p.fillUnit();
        p.save(QStringLiteral("Via Po 2.db"));
        p.open(QStringLiteral("Via Po 2.db"));
        QVERIFY(p.warnings().isEmpty());
        QVERIFY(p.ops()->choices().isEmpty());
        p.pick(9, CadastralClass::SharedWalls);
        const CadastralChoices second = p.ops()->choices();
        p.save(QStringLiteral("Via Po 2.db"));
        numbered = columnsOf(p.inFolder(QStringLiteral("Via Po 2.db")));
        QVERIFY(numbered.contains(files::kCadastralColumn));
        p.open(QStringLiteral("Stima - Via Po 2.db"));
        QCOMPARE(p.ops()->window()->classCombo(8)->currentText(), cadastralClassLabel(CadastralClass::IndirectLinked));
        p.open(QStringLiteral("Via Po 2.db"));
        QCOMPARE(p.ops()->choices(), second);
    }

    void damagedCompanion()
    {
        Program p;
        p.fillUnit();
        p.pick(8, CadastralClass::IndirectLinked);
        p.save(QStringLiteral("Stima - Via Po 3.db"));
        fixtures::damage(p.inFolder(QStringLiteral("Superficie catastale - Via Po 3.db")));
        p.newAppraisal();
        p.setRoom(0, QStringLiteral("Cantina"), QStringLiteral("3"));
        p.pick(0, CadastralClass::NotCounted);
        p.open(QStringLiteral("Stima - Via Po 3.db"));
        // Named by its own message; the rest of the appraisal loads.
        QCOMPARE(p.warnings(),
                 QStringList{app::FileOps::unreadableCadastralText(QStringLiteral("Superficie catastale - Via Po 3.db"))});
        QCOMPARE(p.surfaces()->index(8, 0).data().toString(), QStringLiteral("Cantina"));
        QVERIFY(p.ops()->choices().isEmpty());
        QCOMPARE(p.surfaceText(), total(kUnitSurface));
    }

    void recoveryCopyKeepsTheChoices()
    {
        Program p;
        // The start-up's own steps (the offer of an earlier copy) run first.
        QCoreApplication::processEvents();
        p.fillUnit();
        p.pick(8, CadastralClass::IndirectLinked);
        app::UnsavedWork *work = p.w()->unsavedWork;
        work->writeCopy();
        work->waitForCopy();
        const QString stem = files::stemForTable(app::UnsavedWork::recoveryTableName());
        const QString copy =
            work->recoveryFolder() + QLatin1Char('/') + files::companionName(files::Companion::Cadastral, stem);
        QVERIFY2(QFile::exists(copy), qPrintable(copy));
        QCOMPARE(files::readCadastralTable(copy), p.ops()->choices());
    }

    // The MCA window's subject takes the cadastral surface when asked to;
    // otherwise the rooms of the surfaces table, as before.
    void mcaSubjectFromTheCadastralSurface()
    {
        Program p;
        p.fillUnit();
        app::McaOps *mca = p.w()->mcaOps;
        mca->StimaMCA1Click();
        ui::McaWindow *mw = mca->window();
        QComboBox *source = mw->findChild<QComboBox *>(QStringLiteral("SuperficiSoggetto"));
        QVERIFY(source);
        QCOMPARE(source->currentIndex(), 0);
        ui::McaDataTable *t = mw->dataTable;
        QCOMPARE(t->cell(0, Row::MainSurface)->text(), QStringLiteral("85,00"));
        QCOMPARE(t->cell(0, Row::Cellar)->text(), QStringLiteral("10,00"));
        QVERIFY(!mca->hasData());

        source->setCurrentIndex(1);
        Q_EMIT source->activated(1);
        QCOMPARE(t->cell(0, Row::MainSurface)->text(), QStringLiteral("101,00"));
        for (Row r : {Row::Balconies, Row::Cellar, Row::Garage, Row::Garden})
            QCOMPARE(t->cell(0, r)->text(), QStringLiteral("0,00"));
        QCOMPARE(t->cell(0, Row::Bathrooms)->text(), QStringLiteral("1"));
        QVERIFY(mca->sheet().cadastralSubject);
        QVERIFY(mca->hasData()); // saved with the appraisal

        // The choices of the cadastral window reach the subject.
        p.pick(8, CadastralClass::IndirectLinked);
        mca->StimaMCA1Click();
        QCOMPARE(t->cell(0, Row::MainSurface)->text(), QStringLiteral("103,00"));

        p.save(QStringLiteral("Stima - Via Roma 9.db"));
        const QString companion = p.inFolder(QStringLiteral("MCA - Via Roma 9.db"));
        QVERIFY(files::readMcaTable(companion).cadastralSubject);
        p.newAppraisal();
        QCOMPARE(source->currentIndex(), 0);
        p.open(QStringLiteral("Stima - Via Roma 9.db"));
        QVERIFY(p.warnings().isEmpty());
        QCOMPARE(source->currentIndex(), 1);
        QCOMPARE(t->cell(0, Row::MainSurface)->text(), QStringLiteral("103,00"));

        // Back to the rooms of the table.
        source->setCurrentIndex(0);
        Q_EMIT source->activated(0);
        QCOMPARE(t->cell(0, Row::MainSurface)->text(), QStringLiteral("85,00"));
        QCOMPARE(t->cell(0, Row::Cellar)->text(), QStringLiteral("10,00"));
        QVERIFY(!mca->sheet().cadastralSubject);
    }

private:
    static app::MainWindow *w(const Program &p) { return p.w(); }
};

QTEST_MAIN(TestCadastralOps)
#include "tst_cadastralops.moc"
