// SPDX-License-Identifier: GPL-2.0-or-later
#include "../support/fixtures.h"
#include "pages/messages.h"
#include "pages/navigatorbar.h"
#include "pages/tablemodel.h"
#include "store/datafolder.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace brevan;
using brevan::ui::NavigatorBar;
using brevan::ui::TableModel;

namespace {

QList<NavigatorBar::Entry> allButtons()
{
    return {{NavigatorBar::First, "first"}, {NavigatorBar::Prior, "prior"}, {NavigatorBar::Next, "next"},
            {NavigatorBar::Last, "last"},   {NavigatorBar::Delete, "delete"}, {NavigatorBar::Insert, "insert"},
            {NavigatorBar::Post, "post"}};
}

// A surfaces table holding the given descriptions, one row each, area = position + 1.
QString surfacesWith(const QStringList &names)
{
    const QString path = dataPath("Superfici prova.db");
    Table::create(path, surfacesLayout());
    Table t = Table::open(path);
    for (int i = 0; i < names.size(); ++i)
        t.append({names.at(i), double(i + 1)});
    return path;
}

QStringList storedDescriptions(const QString &path)
{
    QStringList out;
    for (const QVariantList &r : Table::open(path).rows())
        out << r.at(0).toString();
    return out;
}

} // namespace

class TestTableModel : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_scratch;
    QString m_savedCwd;
    int m_case = 0;
    QString m_root;

private Q_SLOTS:
    void init()
    {
        m_root = m_scratch.filePath(QString::number(++m_case));
        QDir().mkpath(m_root + "/program");
        AliasRegistry::setConfigFile(m_root + "/config/tablestore.ini");
        m_savedCwd = QDir::currentPath();
        QDir::setCurrent(m_root + "/program");
        startupTables();
    }
    void cleanup()
    {
        QDir::setCurrent(m_savedCwd);
        AliasRegistry::setConfigFile({});
    }

    // --- the model over the store -------------------------------------------

    void showsTheRowsOfTheFile()
    {
        TableModel model;
        QVERIFY(!model.isOpen());
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(model.setTableFile(dataPath(kDescrSup)));
        QCOMPARE(model.rowCount(), 36);
        QCOMPARE(model.columnCount(), 2);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("DescrizioneSuperficie"));
        model.setColumnTitles({"Descrizione Superficie", "MQ"});
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString("MQ"));

        const QString path = surfacesWith({"Camera", "Bagno", "Camera"});
        QVERIFY(model.setTableFile(path));
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.index(2, 0).data().toString(), QString("Camera"));
        QCOMPARE(model.index(1, 1).data().toString(), QString("2"));
        // A real never written shows as a blank cell, not as 0.
        QVERIFY(model.setTableFile(dataPath(kDescrSup)));
        QCOMPARE(model.index(0, 1).data().toString(), QString());
    }

    void editIsWrittenAtOnce_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("typed");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("shown");
        const QString fifty = QString("Terrazza scoperta lato giardino con pergolato e fio");
        QTest::newRow("description") << kDescrSup << "DescrizioneSuperficie" << QVariant("Camera") << QVariant("Camera")
                                     << "Camera";
        QTest::newRow("description cut to 50") << kDescrSup << "DescrizioneSuperficie"
                                               << QVariant(fifty + "ri sul retro") << QVariant(fifty.left(50))
                                               << fifty.left(50);
        QTest::newRow("area as number text") << kDescrSup << "MqSuperficie" << QVariant("85,25") << QVariant(85.25)
                                             << "85,25";
        QTest::newRow("area many digits") << kDescrSup << "MqSuperficie" << QVariant("12,3456789")
                                          << QVariant(12.3456789) << "12,3456789";
        QTest::newRow("area emptied reads 0") << kDescrSup << "MqSuperficie" << QVariant("") << QVariant(0.0) << "";
        QTest::newRow("area typed 0 shows 0") << kDescrSup << "MqSuperficie" << QVariant("0") << QVariant(0.0) << "0";
        QTest::newRow("area 0 written by the program shows 0") << kDescrSup << "MqSuperficie" << QVariant(0.0)
                                                               << QVariant(0.0) << "0";
        QTest::newRow("area written by the program") << kDescrSup << "MqSuperficie" << QVariant(12.5) << QVariant(12.5)
                                                     << "12,5";
        QTest::newRow("floor cut to 2") << kImmConfr << "PianoImmob" << QVariant("123") << QVariant("12") << "12";
        QTest::newRow("unit cost") << kImmConfr << "CostoUnitario" << QVariant("2.500.000,00")
                                   << QVariant("2.500.000,00") << "2.500.000,00";
    }
    void editIsWrittenAtOnce()
    {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QVariant, typed);
        QFETCH(QVariant, stored);
        QFETCH(QString, shown);
        const QString path = dataPath(table);
        if (table == kImmConfr)
            Table::open(path).appendEmptyRows(2);
        TableModel model;
        QVERIFY(model.setTableFile(path));
        const int column = model.fieldIndex(field);
        QVERIFY(column >= 0);
        // Something else in the cell first, so that every row writes.
        const bool area = table == kDescrSup && column == 1;
        QVERIFY(model.setData(model.index(1, column), area ? QVariant("7") : QVariant("x")));
        QSignalSpy changed(&model, &TableModel::dataChanged);
        QVERIFY(model.setData(model.index(1, column), typed));
        QCOMPARE(changed.count(), 1);
        // Another connection reads the file: the value is there already.
        Table check = Table::open(path);
        QCOMPARE(check.value(check.rowIds().at(1), column), stored);
        QCOMPARE(model.index(1, column).data(Qt::DisplayRole).toString(), shown);
        QCOMPARE(model.index(1, column).data(Qt::EditRole).toString(), shown);
        // The neighbours are untouched.
        QCOMPARE(check.value(check.rowIds().at(0), column), area ? QVariant(0.0) : QVariant(QString()));
    }

    void sameValueWritesNothing()
    {
        TableModel model;
        QVERIFY(model.setTableFile(surfacesWith({"Camera"})));
        QSignalSpy changed(&model, &TableModel::dataChanged);
        QVERIFY(model.setData(model.index(0, 0), "Camera"));
        QVERIFY(model.setData(model.index(0, 1), "1,0"));
        QCOMPARE(changed.count(), 0);
    }

    void textThatIsNoNumberIsRefused()
    {
        TableModel model;
        const QString path = surfacesWith({"Camera"});
        QVERIFY(model.setTableFile(path));
        QSignalSpy failed(&model, &TableModel::failed);
        QVERIFY(!model.setData(model.index(0, 1), "12,5,3"));
        QCOMPARE(failed.count(), 1);
        QVERIFY(failed.first().first().toString().contains("12,5,3"));
        QCOMPARE(Table::open(path).rows().first().at(1).toDouble(), 1.0);
        QCOMPARE(model.index(0, 1).data().toString(), QString("1"));
    }

    void insertAppendsAndRemoveDeletes()
    {
        const QString path = surfacesWith({"Camera", "Bagno", "Cucina"});
        TableModel model;
        QVERIFY(model.setTableFile(path));
        // Rows only go at the end: the store keeps the order of insertion.
        QVERIFY(!model.insertRows(1, 1));
        QVERIFY(model.insertRows(3, 2));
        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(Table::open(path).rowCount(), 5);
        QVERIFY(model.setData(model.index(4, 0), "Studio"));
        QCOMPARE(storedDescriptions(path), QStringList({"Camera", "Bagno", "Cucina", "", "Studio"}));

        QVERIFY(model.removeRows(1, 2));
        QCOMPARE(storedDescriptions(path), QStringList({"Camera", "", "Studio"}));
        QCOMPARE(model.index(2, 0).data().toString(), QString("Studio"));
        QVERIFY(!model.removeRows(2, 2));
        // Edits after a removal still reach the right record.
        QVERIFY(model.setData(model.index(2, 1), "9,5"));
        QCOMPARE(Table::open(path).rows().at(2).at(1).toDouble(), 9.5);
    }

    void untouchedNewRow()
    {
        TableModel model;
        QVERIFY(model.setTableFile(surfacesWith({"Camera"})));
        QCOMPARE(model.untouchedNewRow(), -1);
        const int row = model.appendRow();
        QCOMPARE(row, 1);
        QCOMPARE(model.untouchedNewRow(), 1);
        // Writing what it already holds does not touch it.
        QVERIFY(model.setData(model.index(1, 0), ""));
        QCOMPARE(model.untouchedNewRow(), 1);
        QVERIFY(model.discardUntouchedNewRow());
        QCOMPARE(model.rowCount(), 1);

        QCOMPARE(model.appendRow(), 1);
        QVERIFY(model.setData(model.index(1, 1), "3"));
        QCOMPARE(model.untouchedNewRow(), -1);
        QVERIFY(!model.discardUntouchedNewRow());
        QCOMPARE(model.rowCount(), 2);
    }

    void reloadAfterTheFileWasReplaced()
    {
        TableModel model;
        QVERIFY(model.setTableFile(dataPath(kDescrSup)));
        QSignalSpy reset(&model, &TableModel::modelReset);
        // Opening a surfaces table copies it over the working one.
        Table::copy(surfacesWith({"Camera", "Soggiorno"}), dataPath(kDescrSup), surfacesLayout());
        QVERIFY(model.reload());
        QCOMPARE(reset.count(), 1);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.index(1, 0).data().toString(), QString("Soggiorno"));
        // Edits go to the new file, not to the one it replaced.
        QVERIFY(model.setData(model.index(0, 1), "20"));
        QCOMPARE(Table::open(dataPath(kDescrSup)).rows().first().at(1).toDouble(), 20.0);

        // Rebuilt with 25 empty rows, as "Elimina contenuto tabella" does.
        rebuildTable(dataPath(kDescrSup), surfacesLayout(), 25);
        QVERIFY(model.reload());
        QCOMPARE(model.rowCount(), 25);
    }

    void closeLetsGoOfTheFile()
    {
        TableModel model;
        QVERIFY(model.setTableFile(dataPath(kDescrSup)));
        model.close();
        QVERIFY(!model.isOpen());
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(!model.insertRows(0, 1));
        QVERIFY(model.reload());
        QCOMPARE(model.rowCount(), 36);
    }

    void storeFailureIsReportedNotFatal_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("edit") << "edit";
        QTest::newRow("insert") << "insert";
        QTest::newRow("remove") << "remove";
    }
    void storeFailureIsReportedNotFatal()
    {
        QFETCH(QString, action);
        TableModel model;
        QVERIFY(model.setTableFile(dataPath(kDescrSup)));
        QSignalSpy failed(&model, &TableModel::failed);
        QSignalSpy reset(&model, &TableModel::modelReset);
        // The data folder disappears under the open table.
        QVERIFY(QDir(dataFolder()).removeRecursively());
        bool ok = true;
        if (action == "edit")
            ok = model.setData(model.index(3, 0), "Camera");
        else if (action == "insert")
            ok = model.appendRow() >= 0;
        else
            ok = model.removeRows(0, 1);
        QVERIFY(!ok);
        QCOMPARE(failed.count(), 1);
        QVERIFY(!failed.first().first().toString().isEmpty());
        // The model re-read what is there: nothing.
        QCOMPARE(reset.count(), 1);
        QVERIFY(!model.isOpen());
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(!model.setData(model.index(0, 0), "Bagno"));
    }

    void damagedFileGivesAnEmptyModel()
    {
        TableModel model;
        QVERIFY(model.setTableFile(dataPath(kDescrSup)));
        model.close();
        fixtures::writeBytes(dataPath(kDescrSup), "non una tabella");
        QSignalSpy failed(&model, &TableModel::failed);
        QVERIFY(!model.reload());
        QCOMPARE(failed.count(), 1);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 0);
    }

    // --- the navigators ------------------------------------------------------

    void navigatorMoves_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("expected");
        QTest::newRow("first from the middle") << 2 << int(NavigatorBar::First) << 0;
        QTest::newRow("prior") << 2 << int(NavigatorBar::Prior) << 1;
        QTest::newRow("next") << 2 << int(NavigatorBar::Next) << 3;
        QTest::newRow("last") << 1 << int(NavigatorBar::Last) << 4;
        QTest::newRow("prior at the first row") << 0 << int(NavigatorBar::Prior) << 0;
        QTest::newRow("next at the last row") << 4 << int(NavigatorBar::Next) << 4;
    }
    void navigatorMoves()
    {
        QFETCH(int, start);
        QFETCH(int, button);
        QFETCH(int, expected);
        TableModel model;
        QVERIFY(model.setTableFile(surfacesWith({"a", "b", "c", "d", "e"})));
        QTableView view;
        view.setModel(&model);
        NavigatorBar nav(allButtons());
        nav.setView(&view);
        view.setCurrentIndex(model.index(start, 1));
        QToolButton *b = nav.button(NavigatorBar::Button(button));
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(nav.currentRow(), expected);
        QCOMPARE(view.currentIndex().row(), expected);
        // The column stays where the user was.
        QCOMPARE(view.currentIndex().column(), 1);
    }

    void navigatorEnabledStates_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("enabled"); // first prior next last delete insert
        QTest::newRow("first of three") << 3 << 0 << "001111";
        QTest::newRow("middle of three") << 3 << 1 << "111111";
        QTest::newRow("last of three") << 3 << 2 << "110011";
        QTest::newRow("only row") << 1 << 0 << "000011";
        QTest::newRow("empty table") << 0 << -1 << "000001";
        QTest::newRow("no table") << -1 << -1 << "000000";
    }
    void navigatorEnabledStates()
    {
        QFETCH(int, rows);
        QFETCH(int, current);
        QFETCH(QString, enabled);
        TableModel model;
        if (rows >= 0) {
            QStringList names;
            for (int i = 0; i < rows; ++i)
                names << QString::number(i);
            QVERIFY(model.setTableFile(surfacesWith(names)));
        }
        QTableView view;
        view.setModel(&model);
        NavigatorBar nav(allButtons());
        nav.setView(&view);
        // A table with rows always has a current row, the first to begin with.
        QCOMPARE(nav.currentRow(), rows > 0 ? 0 : -1);
        if (current >= 0)
            view.setCurrentIndex(model.index(current, 0));
        const NavigatorBar::Button order[] = {NavigatorBar::First, NavigatorBar::Prior, NavigatorBar::Next,
                                              NavigatorBar::Last,  NavigatorBar::Delete, NavigatorBar::Insert};
        QString actual;
        for (NavigatorBar::Button b : order)
            actual += nav.button(b)->isEnabled() ? '1' : '0';
        QCOMPARE(actual, enabled);
        QVERIFY(!nav.button(NavigatorBar::Post)->isEnabled());
    }

    void navigatorHintsAndNames()
    {
        NavigatorBar nav({{NavigatorBar::Next, "Avanti|Seleziona la riga successiva."},
                          {NavigatorBar::Delete, "Seleziona la riga."}});
        QVERIFY(!nav.button(NavigatorBar::First));
        QCOMPARE(nav.button(NavigatorBar::Next)->objectName(), QString("navNext"));
        QCOMPARE(nav.button(NavigatorBar::Next)->toolTip(), QString("Avanti"));
        QCOMPARE(nav.button(NavigatorBar::Next)->statusTip(), QString("Seleziona la riga successiva."));
        // A hint without "|" is tooltip and status text alike.
        QCOMPARE(nav.button(NavigatorBar::Delete)->toolTip(), QString("Seleziona la riga."));
        QCOMPARE(nav.button(NavigatorBar::Delete)->statusTip(), QString("Seleziona la riga."));
        QVERIFY(nav.button(NavigatorBar::Next)->x() < nav.button(NavigatorBar::Delete)->x());
    }

    void deleteAsksAndHonoursTheAnswer_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("remaining");
        QTest::addColumn<int>("currentAfter");
        QTest::newRow("cancel") << false << QStringList({"a", "b", "c"}) << 1;
        QTest::newRow("ok") << true << QStringList({"a", "c"}) << 1;
    }
    void deleteAsksAndHonoursTheAnswer()
    {
        QFETCH(bool, answer);
        QFETCH(QStringList, remaining);
        QFETCH(int, currentAfter);
        const QString path = surfacesWith({"a", "b", "c"});
        TableModel model;
        QVERIFY(model.setTableFile(path));
        QTableView view;
        view.setModel(&model);
        NavigatorBar nav(allButtons());
        nav.setView(&view);
        QStringList questions;
        nav.confirm = [&](const QString &q) {
            questions << q;
            return answer;
        };
        view.setCurrentIndex(model.index(1, 0));
        QTest::mouseClick(nav.button(NavigatorBar::Delete), Qt::LeftButton);
        QCOMPARE(questions, QStringList({"Delete record?"}));
        QCOMPARE(storedDescriptions(path), remaining);
        QCOMPARE(model.rowCount(), remaining.size());
        QCOMPARE(nav.currentRow(), currentAfter);
        QCOMPARE(model.index(nav.currentRow(), 0).data().toString(), remaining.at(currentAfter));
    }

    void deleteAsksThroughTheApplicationsBox_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("rows");
        QTest::newRow("cancel") << false << 2;
        QTest::newRow("ok") << true << 1;
    }
    void deleteAsksThroughTheApplicationsBox()
    {
        QFETCH(bool, answer);
        QFETCH(int, rows);
        const QString path = surfacesWith({"a", "b"});
        TableModel model;
        QVERIFY(model.setTableFile(path));
        QTableView view;
        view.setModel(&model);
        NavigatorBar nav(allButtons());
        nav.setView(&view);
        ui::Messages::setAnswers([answer](const ui::Messages::Shown &) { return answer; });
        nav.deleteCurrent();
        const QList<ui::Messages::Shown> shown = ui::Messages::shown();
        ui::Messages::resetForTests();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().kind, ui::Messages::Shown::Confirm);
        QCOMPARE(shown.first().text, QString("Delete record?"));
        QCOMPARE(Table::open(path).rowCount(), rows);
    }

    void deletingTheLastRowMovesBack()
    {
        const QString path = surfacesWith({"a", "b"});
        TableModel model;
        QVERIFY(model.setTableFile(path));
        QTableView view;
        view.setModel(&model);
        NavigatorBar nav(allButtons());
        nav.setView(&view);
        nav.confirm = [](const QString &) { return true; };
        nav.last();
        QVERIFY(nav.deleteCurrent());
        QCOMPARE(nav.currentRow(), 0);
        QVERIFY(nav.deleteCurrent());
        QCOMPARE(nav.currentRow(), -1);
        QCOMPARE(Table::open(path).rowCount(), 0);
        QVERIFY(!nav.button(NavigatorBar::Delete)->isEnabled());
        QVERIFY(!nav.deleteCurrent());
    }

    void insertedRowLeftUntouchedIsDropped_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<int>("rowsAfter");
        QTest::newRow("left alone") << false << 2;
        QTest::newRow("edited") << true << 3;
    }
    void insertedRowLeftUntouchedIsDropped()
    {
        QFETCH(bool, edit);
        QFETCH(int, rowsAfter);
        const QString path = surfacesWith({"a", "b"});
        TableModel model;
        QVERIFY(model.setTableFile(path));
        QTableView view;
        view.setModel(&model);
        NavigatorBar nav(allButtons());
        nav.setView(&view);
        QTest::mouseClick(nav.button(NavigatorBar::Insert), Qt::LeftButton);
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(nav.currentRow(), 2);
        if (edit)
            QVERIFY(model.setData(model.index(2, 0), "Cantina"));
        nav.first();
        QTRY_COMPARE(model.rowCount(), rowsAfter);
        QCOMPARE(Table::open(path).rowCount(), rowsAfter);
        QCOMPARE(nav.currentRow(), 0);
    }

    void moveAndPostCommitTheOpenCellEditor()
    {
        const QString path = surfacesWith({"a", "b"});
        TableModel model;
        QVERIFY(model.setTableFile(path));
        QTableView view;
        view.setModel(&model);
        NavigatorBar nav(allButtons());
        nav.setView(&view);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        view.setCurrentIndex(model.index(0, 1));
        view.edit(model.index(0, 1));
        auto *editor = qobject_cast<QLineEdit *>(view.indexWidget(model.index(0, 1)));
        QVERIFY(editor);
        QTRY_VERIFY(nav.button(NavigatorBar::Post)->isEnabled());
        editor->setText("33,5");
        QTest::mouseClick(nav.button(NavigatorBar::Post), Qt::LeftButton);
        QCOMPARE(Table::open(path).rows().at(0).at(1).toDouble(), 33.5);
        QVERIFY(!view.indexWidget(model.index(0, 1)));
        QTRY_VERIFY(!nav.button(NavigatorBar::Post)->isEnabled());

        view.edit(model.index(0, 1));
        editor = qobject_cast<QLineEdit *>(view.indexWidget(model.index(0, 1)));
        QVERIFY(editor);
        editor->setText("40");
        QTest::mouseClick(nav.button(NavigatorBar::Next), Qt::LeftButton);
        QCOMPARE(Table::open(path).rows().at(0).at(1).toDouble(), 40.0);
        QCOMPARE(nav.currentRow(), 1);
    }

    void failedCommitFromAViewDoesNotCrash()
    {
        TableModel model;
        QVERIFY(model.setTableFile(dataPath(kDescrSup)));
        QTableView view;
        view.setModel(&model);
        NavigatorBar nav(allButtons());
        nav.setView(&view);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QSignalSpy failed(&model, &TableModel::failed);
        view.setCurrentIndex(model.index(2, 0));
        view.edit(model.index(2, 0));
        auto *editor = qobject_cast<QLineEdit *>(view.indexWidget(model.index(2, 0)));
        QVERIFY(editor);
        editor->setText("Camera");
        QVERIFY(QDir(dataFolder()).removeRecursively());
        nav.post();
        QCOMPARE(failed.count(), 1);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(nav.currentRow(), -1);
        QVERIFY(!nav.button(NavigatorBar::Insert)->isEnabled());
        QCoreApplication::processEvents();
    }
};

QTEST_MAIN(TestTableModel)
#include "tst_tablemodel.moc"
