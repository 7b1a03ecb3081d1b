// SPDX-License-Identifier: GPL-2.0-or-later
#include "pages/navigatorbar.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "store/datafolder.h"
#include "valuation/roomnames.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace brevan;
using brevan::ui::NavigatorBar;
using brevan::ui::SurfacesPage;

class TestSurfacesPage : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_scratch;
    QString m_savedCwd;
    int m_case = 0;

    // The page on the working surfaces table, shown and active so it takes keys.
    static void showActive(SurfacesPage &page)
    {
        page.setTableFile(dataPath(kDescrSup));
        page.resize(420, 380);
        page.show();
        QApplication::setActiveWindow(&page);
        QVERIFY(QTest::qWaitForWindowActive(&page));
    }

private Q_SLOTS:
    void init()
    {
        const QString root = m_scratch.filePath(QString::number(++m_case));
        QDir().mkpath(root + "/program");
        AliasRegistry::setConfigFile(root + "/config/tablestore.ini");
        m_savedCwd = QDir::currentPath();
        QDir::setCurrent(root + "/program");
        startupTables();
    }
    void cleanup()
    {
        QDir::setCurrent(m_savedCwd);
        AliasRegistry::setConfigFile({});
    }

    void commandHintsAndInitialStates_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("open") << "SpeedButtonApriTabella" << "Apri tabella" << "Apri una tabella esistente." << true;
        QTest::newRow("save") << "SpeedButtonSalvaTabella" << "Salva tabella"
                              << "Salva la tabella su disco come nuovo file." << false;
        QTest::newRow("clear") << "SpeedButtonEliminaContenutoTabella" << "Elimina contenuto tabella"
                               << "Elimina il contenuto della tabella." << false;
        QTest::newRow("copy") << "SpeedButtonCopiaElemento" << "Copia elemento"
                              << "Copia l'elemento selezionato e lo inserisce negli appunti." << false;
        QTest::newRow("cut") << "SpeedButtonTagliaElemento" << "Taglia elemento"
                             << "Taglia l'elemento selezionato e lo inserisce negli appunti." << false;
        QTest::newRow("paste") << "SpeedButtonIncollaElemento" << "Incolla elemento"
                               << "Incolla il contenuto degli appunti nell'elemento selezionato." << false;
        QTest::newRow("compute") << "SpeedButtonCalcolaSuperfici" << "Calcola superfici"
                                 << "Calcola le superfici utile, convenzionale e commerciale." << false;
    }
    void commandHintsAndInitialStates()
    {
        QFETCH(QString, name);
        QFETCH(QString, tooltip);
        QFETCH(QString, status);
        QFETCH(bool, enabled);
        SurfacesPage page;
        page.setTableFile(dataPath(kDescrSup));
        auto *b = page.findChild<QToolButton *>(name);
        QVERIFY(b);
        QCOMPARE(b->toolTip(), tooltip);
        QCOMPARE(b->statusTip(), status);
        QCOMPARE(b->isEnabled(), enabled);
        QVERIFY(!b->icon().isNull());
        // Commands before the navigators, in the order of the tool row.
        QVERIFY(b->x() < page.navigator->x());
    }

    void navigatorHints_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("hint");
        QTest::newRow("first") << int(NavigatorBar::First) << "Seleziona la prima riga della tabella.";
        QTest::newRow("prior") << int(NavigatorBar::Prior) << "Seleziona la riga precedente della tabella.";
        QTest::newRow("next") << int(NavigatorBar::Next) << "Seleziona la riga successiva della tabella.";
        QTest::newRow("last") << int(NavigatorBar::Last) << "Seleziona l'ultima riga della tabella.";
        QTest::newRow("delete") << int(NavigatorBar::Delete) << "Elimina la riga selezionata dalla tabella.";
        QTest::newRow("insert") << int(NavigatorBar::Insert) << "Aggiungi una nuova riga alla tabella.";
    }
    void navigatorHints()
    {
        QFETCH(int, button);
        QFETCH(QString, hint);
        SurfacesPage page;
        QToolButton *b = page.navigator->button(NavigatorBar::Button(button));
        QVERIFY(b);
        QCOMPARE(b->toolTip(), hint);
        QCOMPARE(b->statusTip(), hint);
        // Six navigators: no post button on this page.
        QVERIFY(!page.navigator->button(NavigatorBar::Post));
    }

    void gridAndSurfaceFields()
    {
        SurfacesPage page;
        QCOMPARE(page.objectName(), QString("TabSheet6"));
        QVERIFY(page.setTableFile(dataPath(kDescrSup)));
        QCOMPARE(page.grid->model(), page.model());
        QCOMPARE(page.model()->rowCount(), 36);
        QCOMPARE(page.model()->headerData(0, Qt::Horizontal).toString(), QString("Descrizione Superficie"));
        QCOMPARE(page.model()->headerData(1, Qt::Horizontal).toString(), QString("MQ"));
        QCOMPARE(page.model()->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::Alignment(Qt::AlignCenter));
        QCOMPARE(page.surfacesGroup->title(), QString("Calcolo delle superfici"));
        const QList<std::pair<QLineEdit *, QLabel *>> fields = {{page.usefulEdit, page.usefulLabel},
                                                                {page.conventionalEdit, page.conventionalLabel},
                                                                {page.commercialEdit, page.commercialLabel}};
        const QStringList names = {"Edit25", "Edit26", "Edit27"};
        const QStringList captions = {"Sup. utile:", "Sup. convenzionale:", "Sup. commerciale:"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(fields[i].first->objectName(), names[i]);
            QVERIFY(fields[i].first->isReadOnly());
            QCOMPARE(fields[i].second->text(), captions[i]);
            QCOMPARE(fields[i].second->x(), fields[i].first->x());
            QVERIFY(fields[i].second->parent() == page.surfacesGroup);
        }
        // At start-up the grid stands on the first row.
        QCOMPARE(page.navigator->currentRow(), 0);
    }

    void columnsKeepTheirWidthsWhenTheTableIsReopened()
    {
        SurfacesPage page;
        QVERIFY(page.setTableFile(dataPath(kDescrSup)));
        page.resize(600, 450);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        // The user widens the area column.
        page.grid->setColumnWidth(1, page.grid->columnWidth(1) + 30);
        const int area = page.grid->columnWidth(1);
        for (int round = 0; round < 2; ++round) {
            // Closed and opened again, as the table commands do.
            page.model()->close();
            QVERIFY(page.setTableFile(dataPath(kDescrSup)));
            QCoreApplication::processEvents();
            QCOMPARE(page.grid->columnWidth(1), area);
            QCOMPARE(page.grid->columnWidth(0), SurfacesPage::descriptionColumnWidth(page.grid->width(), area));
        }
        // No horizontal scrolling at the rule's widths.
        QVERIFY(!page.grid->horizontalScrollBar()->isVisible());
    }

    void descriptionCellOffersTheRoomNames()
    {
        SurfacesPage page;
        showActive(page);
        const QModelIndex cell = page.model()->index(2, 0);
        page.grid->setCurrentIndex(cell);
        page.grid->edit(cell);
        auto *combo = qobject_cast<QComboBox *>(page.grid->indexWidget(cell));
        QVERIFY(combo);
        QStringList offered;
        for (int i = 0; i < combo->count(); ++i)
            offered << combo->itemText(i);
        QCOMPARE(offered, roomNames());
        QCOMPARE(offered.size(), 31);
        QCOMPARE(offered.first(), QString("Aree verdi (quota millesimale)"));
        QCOMPARE(offered.last(), QString("Veranda chiusa"));
        // Picking a name writes it to the table at once.
        combo->setCurrentIndex(roomNames().indexOf("Soggiorno"));
        Q_EMIT combo->activated(combo->currentIndex());
        Table t = Table::open(dataPath(kDescrSup));
        QCOMPARE(t.rows().at(2).at(0).toString(), QString("Soggiorno"));
    }

    void gridKeyFilter_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("area with a point") << 1 << "12.5" << QVariant(12.5);
        QTest::newRow("area with a comma") << 1 << "7,25" << QVariant(7.25);
        QTest::newRow("letters dropped from the area") << 1 << "1a2b" << QVariant(12.0);
        QTest::newRow("letter alone opens nothing") << 1 << "x" << QVariant(0.0);
        QTest::newRow("no letters in the description") << 0 << "Camera" << QVariant(QString());
        QTest::newRow("digits reach the description") << 0 << "C3." << QVariant(QString("3,"));
    }
    void gridKeyFilter()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QVariant, stored);
        SurfacesPage page;
        showActive(page);
        page.grid->setFocus();
        page.grid->setCurrentIndex(page.model()->index(4, column));
        for (QChar c : typed) {
            QWidget *target = QApplication::focusWidget();
            QVERIFY(target);
            QTest::keyClick(target, c.toLatin1());
        }
        QWidget *target = QApplication::focusWidget();
        QTest::keyClick(target, Qt::Key_Return);
        page.navigator->post();
        Table t = Table::open(dataPath(kDescrSup));
        QCOMPARE(t.rows().at(4).at(column), stored);
    }

    void ctrlDeleteAsksBeforeDeleting_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("rows");
        QTest::newRow("cancel") << false << 36;
        QTest::newRow("ok") << true << 35;
    }
    void ctrlDeleteAsksBeforeDeleting()
    {
        QFETCH(bool, answer);
        QFETCH(int, rows);
        SurfacesPage page;
        showActive(page);
        QStringList asked;
        page.navigator->confirm = [&](const QString &q) {
            asked << q;
            return answer;
        };
        page.grid->setFocus();
        page.grid->setCurrentIndex(page.model()->index(3, 0));
        QTest::keyClick(page.grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(asked, QStringList({"Delete record?"}));
        QCOMPARE(Table::open(dataPath(kDescrSup)).rowCount(), rows);
    }

    void insertedRowGoesWhenTheGridIsLeft()
    {
        SurfacesPage page;
        showActive(page);
        page.grid->setFocus();
        QTest::mouseClick(page.navigator->button(NavigatorBar::Insert), Qt::LeftButton);
        QCOMPARE(page.model()->rowCount(), 37);
        QCOMPARE(page.navigator->currentRow(), 36);
        page.usefulEdit->setFocus();
        QTRY_COMPARE(page.model()->rowCount(), 36);
        QCOMPARE(Table::open(dataPath(kDescrSup)).rowCount(), 36);
    }

    void surfaceFieldWidth_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("expected");
        // w + (G - 22 - 3w) / 3, truncated toward zero.
        QTest::newRow("design size") << 127 << 405 << 127;
        QTest::newRow("wider") << 127 << 585 << 187;         // 127 + 182/3
        QTest::newRow("back from wider") << 187 << 405 << 128; // 187 + (-178/3 = -59)
        QTest::newRow("not floor") << 130 << 401 << 127;       // 130 + (-11/3 = -3)
        QTest::newRow("truncated down") << 100 << 401 << 126;  // 100 + 79/3
        QTest::newRow("negative truncated up") << 200 << 401 << 127; // 200 + (-221/3 = -73)
    }
    void surfaceFieldWidth()
    {
        QFETCH(int, current);
        QFETCH(int, group);
        QFETCH(int, expected);
        QCOMPARE(SurfacesPage::surfaceFieldWidth(current, group), expected);
    }

    void descriptionColumnWidth_data()
    {
        QTest::addColumn<int>("grid");
        QTest::addColumn<int>("area");
        QTest::addColumn<int>("expected");
        QTest::newRow("smallest page") << 405 << 70 << 313;
        QTest::newRow("wider area column") << 405 << 100 << 283;
        QTest::newRow("largest page") << 778 << 70 << 686;
    }
    void descriptionColumnWidth()
    {
        QFETCH(int, grid);
        QFETCH(int, area);
        QFETCH(int, expected);
        QCOMPARE(SurfacesPage::descriptionColumnWidth(grid, area), expected);
    }

    void resizeLaysOutGridAndFields_data()
    {
        QTest::addColumn<QList<int>>("widths"); // page widths, in turn
        QTest::addColumn<int>("field");       // surface field width after the last
        QTest::newRow("smallest") << QList<int>{420} << 127;
        QTest::newRow("wider") << QList<int>{420, 600} << 187;
        QTest::newRow("wider and back") << QList<int>{420, 600, 420} << 128;
        QTest::newRow("largest window") << QList<int>{420, 793} << 252; // 127 + (778 - 22 - 381)/3
    }
    void resizeLaysOutGridAndFields()
    {
        QFETCH(QList<int>, widths);
        QFETCH(int, field);
        SurfacesPage page;
        page.setTableFile(dataPath(kDescrSup));
        page.show();
        for (int w : widths) {
            page.resize(w, 400);
            QCoreApplication::processEvents();
        }
        const int last = widths.last();
        QCOMPARE(page.surfacesGroup->width(), last - 15);
        QCOMPARE(page.usefulEdit->width(), field);
        QCOMPARE(page.conventionalEdit->width(), field);
        QCOMPARE(page.commercialEdit->width(), field);
        QCOMPARE(page.conventionalEdit->x(), field + 11);
        QCOMPARE(page.commercialEdit->x(), 2 * field + 13);
        QCOMPARE(page.conventionalLabel->x(), field + 11);
        QCOMPARE(page.commercialLabel->x(), 2 * field + 13);
        QCOMPARE(page.grid->columnWidth(0), page.grid->width() - page.grid->columnWidth(1) - 22);
        // Everything stays inside the page.
        QVERIFY(page.surfacesGroup->geometry().bottom() < page.height());
        QVERIFY(page.commercialEdit->geometry().right() < page.surfacesGroup->width());
        QVERIFY(page.grid->geometry().bottom() < page.surfacesGroup->y());
    }
};

QTEST_MAIN(TestSurfacesPage)
#include "tst_surfacespage.moc"
