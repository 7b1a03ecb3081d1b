// SPDX-License-Identifier: GPL-2.0-or-later
#include "pages/comparablespage.h"
#include "pages/navigatorbar.h"
#include "pages/pagekit.h"
#include "pages/tablemodel.h"
#include "store/datafolder.h"

#include <QApplication>
#include <QDataWidgetMapper>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace brevan;
using brevan::ui::ComparablesPage;
using brevan::ui::NavigatorBar;

namespace {

const QVariantList kViaRoma = {"Via Roma", "12", "3", "5", "85,00", "10,00", "5,00", "-2,00", "0,00",
                               "2.500.000,00", "212.500.000,00"};
const QVariantList kViaVerdi = {"Via Verdi", "7", "1", "", "70,00", "0,00", "0,00", "0,00", "0,00",
                                "2.000.000,00", "140.000.000,00"};

QStringList shown(const ComparablesPage &page)
{
    QStringList out;
    for (QLineEdit *e : page.editors())
        out << e->text();
    return out;
}

QStringList asTexts(const QVariantList &values)
{
    QStringList out;
    for (const QVariant &v : values)
        out << v.toString();
    return out;
}

// Fields 1 to 11 of every stored comparable.
QList<QStringList> storedComparables()
{
    QList<QStringList> out;
    for (const QVariantList &r : Table::open(dataPath(kImmConfr)).rows())
        out << asTexts(r.mid(0, 11));
    return out;
}

} // namespace

class TestComparablesPage : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_scratch;
    QString m_savedCwd;
    int m_case = 0;

    static void fill(const QList<QVariantList> &rows)
    {
        Table t = Table::open(dataPath(kImmConfr));
        for (const QVariantList &r : rows)
            t.append(r);
    }
    static void showActive(ComparablesPage &page)
    {
        page.setTableFile(dataPath(kImmConfr));
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

    void toolRowHintsAndInitialStates_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("browse") << "SpeedButton60" << "Carica immobili di confronto da stime precedenti"
                                << "Carica immobili di confronto da stime precedenti." << true;
        QTest::newRow("load") << "SpeedButton57" << "Carica immobili di confronto"
                              << "Carica immobili di confronto." << true;
        QTest::newRow("save") << "SpeedButton58" << "Salva immobili di confronto" << "Salva immobili di confronto."
                              << false;
        QTest::newRow("empty") << "SpeedButton59" << "Elimina immobili di confronto"
                               << "Elimina immobili di confronto." << false;
    }
    void toolRowHintsAndInitialStates()
    {
        QFETCH(QString, name);
        QFETCH(QString, tooltip);
        QFETCH(QString, status);
        QFETCH(bool, enabled);
        ComparablesPage page;
        page.setTableFile(dataPath(kImmConfr));
        auto *b = page.findChild<QToolButton *>(name);
        QVERIFY(b);
        QCOMPARE(b->toolTip(), tooltip);
        QCOMPARE(b->statusTip(), status);
        QCOMPARE(b->isEnabled(), enabled);
        QVERIFY(b->x() < page.navigator->x());
    }

    void toolRowOrder()
    {
        ComparablesPage page;
        QCOMPARE(page.browseButton->text(), QString("&Sfoglia..."));
        QVERIFY(page.browseButton->x() < page.loadButton->x());
        QVERIFY(page.loadButton->x() < page.saveButton->x());
        QVERIFY(page.saveButton->x() < page.emptyButton->x());
        QVERIFY(page.emptyButton->x() < page.navigator->x());
        // The text of the browse button fits.
        QVERIFY(page.browseButton->sizeHint().width() <= page.browseButton->width());
    }

    void navigatorHints_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("hint");
        QTest::newRow("first") << int(NavigatorBar::First) << "Seleziona il primo immobile di confronto.";
        QTest::newRow("prior") << int(NavigatorBar::Prior) << "Seleziona il precedente immobile di confronto.";
        QTest::newRow("next") << int(NavigatorBar::Next) << "Seleziona il successivo immobile di confronto.";
        QTest::newRow("last") << int(NavigatorBar::Last) << "Seleziona l'ultimo immobile di confronto.";
        QTest::newRow("delete") << int(NavigatorBar::Delete) << "Elimina l'immobile di confronto corrente.";
        QTest::newRow("insert") << int(NavigatorBar::Insert) << "Aggiungi un nuovo immobile di confronto.";
        QTest::newRow("post") << int(NavigatorBar::Post) << "Applica modifica all'immobile di confronto corrente.";
    }
    void navigatorHints()
    {
        QFETCH(int, button);
        QFETCH(QString, hint);
        ComparablesPage page;
        QToolButton *b = page.navigator->button(NavigatorBar::Button(button));
        QVERIFY(b);
        QCOMPARE(b->toolTip(), hint);
        QCOMPARE(b->statusTip(), hint);
    }

    void previousAppraisalsList()
    {
        ComparablesPage page;
        QCOMPARE(page.previousAppraisalsList->objectName(), QString("CheckListBox1"));
        QCOMPARE(page.previousAppraisalsList->count(), 0);
        QCOMPARE(page.previousAppraisalsList->toolTip(), QString());
        QCOMPARE(page.previousAppraisalsList->statusTip(), QString("Lista stime precedenti."));
        QCOMPARE(page.comparablesGroup->title(), QString("Immobili di confronto"));
        QVERIFY(page.previousAppraisalsList->geometry().bottom() < page.comparablesGroup->y());
        QVERIFY(page.previousAppraisalsList->y() >= page.navigator->geometry().bottom());
    }

    void editors_data()
    {
        QTest::addColumn<int>("field"); // position in the comparables table
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("typed");
        QTest::addColumn<bool>("decimals");
        QTest::addColumn<QString>("hint");
        QTest::newRow("address") << 0 << "DBEdit1" << "Indirizzo:" << 50 << false
                                 << "Indirizzo dell'immobile di confronto corrente.";
        QTest::newRow("house number") << 1 << "DBEdit2" << "Num civico:" << 10 << false
                                      << "Numero civico dell'immobile di confronto corrente.";
        QTest::newRow("floor") << 2 << "DBEdit3" << "Piano:" << 2 << false
                               << "Piano dell'immobile di confronto corrente.";
        QTest::newRow("internal") << 3 << "DBEdit4" << "Interno:" << 10 << false
                                  << "Interno dell'immobile di confronto corrente.";
        QTest::newRow("surface") << 4 << "DBEdit9" << "Sup. commerciale:" << 10 << true
                                 << "Superficie commerciale dell'immobile di confronto corrente in mq.";
        QTest::newRow("localisation") << 5 << "DBEdit5" << "Localizzaz." << 10 << true
                                      << "Coefficiente d'influenza % delle caratteristiche di localizzazione "
                                         "dell'immobile di confronto corrente.";
        QTest::newRow("position") << 6 << "DBEdit6" << "Posizione" << 10 << true
                                  << "Coefficiente d'influenza % delle caratteristiche di posizione "
                                     "dell'immobile di confronto corrente.";
        QTest::newRow("typology") << 7 << "DBEdit7" << "Tipologiche" << 10 << true
                                  << "Coefficiente d'influenza % delle caratteristiche tipologiche "
                                     "dell'immobile di confronto corrente.";
        QTest::newRow("productive") << 8 << "DBEdit8" << "Produttive" << 10 << true
                                    << "Coefficiente d'influenza % delle caratteristiche produttive "
                                       "dell'immobile di confronto corrente.";
        QTest::newRow("unit cost") << 9 << "DBEdit10" << "Costo unitario:" << 15 << true
                                   << "Costo unitario dell'immobile di confronto corrente in Lire/mq.";
        QTest::newRow("total cost") << 10 << "DBEdit11" << "Costo complessivo:" << 15 << true
                                    << "Costo complessivo dell'immobile di confronto corrente in Lire.";
    }
    void editors()
    {
        QFETCH(int, field);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(int, typed);
        QFETCH(bool, decimals);
        QFETCH(QString, hint);
        ComparablesPage page;
        auto *e = page.findChild<QLineEdit *>(name);
        QVERIFY(e);
        QCOMPARE(page.editors().at(field), e);
        QCOMPARE(page.mapper->mappedSection(e), field);
        QCOMPARE(e->parent(), page.comparablesGroup);
        QCOMPARE(e->toolTip(), QString());
        QCOMPARE(e->statusTip(), hint);
        QCOMPARE(ui::keyFilterOf(e), decimals ? KeyFilter::Decimals : KeyFilter::None);
        // The caption sits right above its editor.
        QLabel *label = nullptr;
        for (QLabel *l : page.comparablesGroup->findChildren<QLabel *>()) {
            if (l->text() == caption)
                label = l;
        }
        QVERIFY(label);
        QCOMPARE(label->x(), e->x());
        QVERIFY(label->geometry().bottom() < e->y());

        // Typing stops at the typed length.
        page.show();
        QApplication::setActiveWindow(&page);
        QVERIFY(QTest::qWaitForWindowActive(&page));
        e->setFocus();
        QTest::keyClicks(e, QString(typed + 3, QChar('7')));
        QCOMPARE(e->text(), QString(typed, QChar('7')));
    }

    void decimalsFilterInTheNumericEditors_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("point becomes comma") << "DBEdit10" << "1234.5" << "1234,5";
        QTest::newRow("letters dropped") << "DBEdit5" << "1a0b" << "10";
        QTest::newRow("minus dropped") << "DBEdit8" << "-2" << "2";
        QTest::newRow("address takes letters") << "DBEdit1" << "Via Po 3.b" << "Via Po 3.b";
    }
    void decimalsFilterInTheNumericEditors()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        ComparablesPage page;
        showActive(page);
        auto *e = page.findChild<QLineEdit *>(name);
        e->setFocus();
        QTest::keyClicks(e, typed);
        QCOMPARE(e->text(), expected);
    }

    void editorsFollowTheCurrentComparable()
    {
        fill({kViaRoma, kViaVerdi});
        ComparablesPage page;
        QVERIFY(page.setTableFile(dataPath(kImmConfr)));
        QCOMPARE(page.currentRow(), 0);
        QCOMPARE(shown(page), asTexts(kViaRoma));
        QTest::mouseClick(page.navigator->button(NavigatorBar::Next), Qt::LeftButton);
        QCOMPARE(page.currentRow(), 1);
        QCOMPARE(shown(page), asTexts(kViaVerdi));
        QTest::mouseClick(page.navigator->button(NavigatorBar::First), Qt::LeftButton);
        QCOMPARE(shown(page), asTexts(kViaRoma));
        QVERIFY(!page.navigator->button(NavigatorBar::Prior)->isEnabled());
        QVERIFY(page.navigator->button(NavigatorBar::Last)->isEnabled());
    }

    void typedTextIsWrittenBeforeMoving_data()
    {
        QTest::addColumn<int>("button");
        QTest::newRow("next") << int(NavigatorBar::Next);
        QTest::newRow("post") << int(NavigatorBar::Post);
        QTest::newRow("insert") << int(NavigatorBar::Insert);
    }
    void typedTextIsWrittenBeforeMoving()
    {
        QFETCH(int, button);
        fill({kViaRoma, kViaVerdi});
        ComparablesPage page;
        showActive(page);
        QVERIFY(!page.navigator->button(NavigatorBar::Post)->isEnabled());
        page.unitCostEdit->setFocus();
        page.unitCostEdit->selectAll();
        QTest::keyClicks(page.unitCostEdit, "3000000");
        QVERIFY(page.hasPendingEdit());
        QVERIFY(page.navigator->button(NavigatorBar::Post)->isEnabled());
        // The navigators take no focus, so the editor never loses it.
        QTest::mouseClick(page.navigator->button(NavigatorBar::Button(button)), Qt::LeftButton);
        QCOMPARE(storedComparables().at(0).at(9), QString("3000000"));
        QCOMPARE(storedComparables().at(1), asTexts(kViaVerdi));
        QVERIFY(!page.hasPendingEdit());
        QVERIFY(!page.navigator->button(NavigatorBar::Post)->isEnabled());
    }

    void typingIntoAnEmptyTableAddsTheComparable()
    {
        ComparablesPage page;
        showActive(page);
        QCOMPARE(page.currentRow(), -1);
        page.addressEdit->setFocus();
        QTest::keyClicks(page.addressEdit, "Via Garibaldi");
        page.floorEdit->setFocus();
        QTest::keyClicks(page.floorEdit, "2");
        QTest::mouseClick(page.navigator->button(NavigatorBar::Post), Qt::LeftButton);
        const QList<QStringList> stored = storedComparables();
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored.first().at(0), QString("Via Garibaldi"));
        QCOMPARE(stored.first().at(2), QString("2"));
        QCOMPARE(page.currentRow(), 0);
        QCOMPARE(page.addressEdit->text(), QString("Via Garibaldi"));
    }

    void deleteAsksAndHonoursTheAnswer_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("remaining");
        QTest::addColumn<QString>("shownAddress");
        QTest::newRow("cancel") << false << 2 << "Via Roma";
        QTest::newRow("ok") << true << 1 << "Via Verdi";
    }
    void deleteAsksAndHonoursTheAnswer()
    {
        QFETCH(bool, answer);
        QFETCH(int, remaining);
        QFETCH(QString, shownAddress);
        fill({kViaRoma, kViaVerdi});
        ComparablesPage page;
        QVERIFY(page.setTableFile(dataPath(kImmConfr)));
        QStringList asked;
        page.navigator->confirm = [&](const QString &q) {
            asked << q;
            return answer;
        };
        QTest::mouseClick(page.navigator->button(NavigatorBar::Delete), Qt::LeftButton);
        QCOMPARE(asked, QStringList({"Delete record?"}));
        QCOMPARE(storedComparables().size(), remaining);
        QCOMPARE(page.addressEdit->text(), shownAddress);
    }

    void deletingTheOnlyComparableEmptiesTheEditors()
    {
        fill({kViaRoma});
        ComparablesPage page;
        QVERIFY(page.setTableFile(dataPath(kImmConfr)));
        page.navigator->confirm = [](const QString &) { return true; };
        QVERIFY(page.navigator->deleteCurrent());
        QCOMPARE(page.currentRow(), -1);
        QCOMPARE(shown(page), QStringList(11, QString()));
        QVERIFY(!page.navigator->button(NavigatorBar::Delete)->isEnabled());
        QVERIFY(page.navigator->button(NavigatorBar::Insert)->isEnabled());
    }

    void replacedTableIsShownAfterReload()
    {
        fill({kViaRoma});
        ComparablesPage page;
        QVERIFY(page.setTableFile(dataPath(kImmConfr)));
        const QString other = dataPath("ImmobConfr 01.db");
        Table::create(other, comparablesLayout());
        Table::open(other).append(kViaVerdi);
        Table::copy(other, dataPath(kImmConfr), comparablesLayout());
        QVERIFY(page.model()->reload());
        QCOMPARE(page.currentRow(), 0);
        QCOMPARE(shown(page), asTexts(kViaVerdi));
    }

    void shareSpareWidth_data()
    {
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("fixed");
        QTest::addColumn<QList<int>>("expected");
        // spare = G - sum - fixed, spare / n added to each, truncated toward zero.
        QTest::newRow("address row at design size") << QList<int>{222, 60, 40, 60} << 405 << 23
                                                    << QList<int>{222, 60, 40, 60};
        QTest::newRow("address row wider") << QList<int>{222, 60, 40, 60} << 585 << 23
                                           << QList<int>{267, 105, 85, 105};
        QTest::newRow("address row, remainder dropped") << QList<int>{222, 60, 40, 60} << 408 << 23
                                                        << QList<int>{222, 60, 40, 60};
        QTest::newRow("address row narrower, toward zero") << QList<int>{267, 105, 85, 105} << 400 << 23
                                                           << QList<int>{221, 59, 39, 59}; // -185/4 = -46
        QTest::newRow("coefficient row wider") << QList<int>{61, 61, 61, 62} << 585 << 160
                                               << QList<int>{106, 106, 106, 107};
        QTest::newRow("coefficient row narrower") << QList<int>{61, 61, 61, 62} << 402 << 160
                                                  << QList<int>{61, 61, 61, 62}; // -3/4 = 0
        QTest::newRow("cost row wider") << QList<int>{128, 128, 128} << 586 << 21
                                        << QList<int>{188, 188, 188}; // 181/3 = 60
        QTest::newRow("cost row narrower") << QList<int>{188, 188, 188} << 404 << 21
                                           << QList<int>{128, 128, 128}; // -181/3 = -60
    }
    void shareSpareWidth()
    {
        QFETCH(QList<int>, widths);
        QFETCH(int, group);
        QFETCH(int, fixed);
        QFETCH(QList<int>, expected);
        QCOMPARE(ComparablesPage::shareSpareWidth(widths, group, fixed), expected);
    }

    void resizeSharesTheSpareWidth_data()
    {
        QTest::addColumn<QList<int>>("pages");    // page widths, in turn
        QTest::addColumn<QList<int>>("address");  // the four widths of row 1
        QTest::addColumn<QList<int>>("coefficients");
        QTest::addColumn<QList<int>>("costs");
        QTest::newRow("smallest") << QList<int>{420} << QList<int>{222, 60, 40, 60} << QList<int>{61, 61, 61, 62}
                                  << QList<int>{128, 128, 128};
        QTest::newRow("wider") << QList<int>{420, 600} << QList<int>{267, 105, 85, 105}
                               << QList<int>{106, 106, 106, 107} << QList<int>{188, 188, 188};
        QTest::newRow("wider and back") << QList<int>{420, 601, 415} << QList<int>{221, 59, 39, 59}
                                        << QList<int>{60, 60, 60, 61} << QList<int>{127, 127, 127};
    }
    void resizeSharesTheSpareWidth()
    {
        QFETCH(QList<int>, pages);
        QFETCH(QList<int>, address);
        QFETCH(QList<int>, coefficients);
        QFETCH(QList<int>, costs);
        ComparablesPage page;
        page.show();
        for (int w : pages) {
            page.resize(w, 400);
            QCoreApplication::processEvents();
        }
        QCOMPARE(page.comparablesGroup->width(), pages.last() - 15);
        auto widths = [](const QList<QLineEdit *> &edits) {
            QList<int> out;
            for (QLineEdit *e : edits)
                out << e->width();
            return out;
        };
        QCOMPARE(widths({page.addressEdit, page.houseNumberEdit, page.floorEdit, page.internalEdit}), address);
        QCOMPARE(widths({page.localisationEdit, page.positionEdit, page.typologyEdit, page.productiveEdit}),
                 coefficients);
        QCOMPARE(widths({page.surfaceEdit, page.unitCostEdit, page.totalCostEdit}), costs);
        // Each row runs left to right without overlapping and stays in the group.
        const QList<QList<QLineEdit *>> rows = {
            {page.addressEdit, page.houseNumberEdit, page.floorEdit, page.internalEdit},
            {page.localisationEdit, page.positionEdit, page.typologyEdit, page.productiveEdit},
            {page.surfaceEdit, page.unitCostEdit, page.totalCostEdit}};
        for (const auto &row : rows) {
            for (int i = 1; i < row.size(); ++i)
                QVERIFY(row[i - 1]->geometry().right() < row[i]->x());
            QVERIFY(row.last()->geometry().right() < page.comparablesGroup->width());
        }
    }
};

QTEST_MAIN(TestComparablesPage)
#include "tst_comparablespage.moc"
