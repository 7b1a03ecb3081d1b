// SPDX-License-Identifier: GPL-2.0-or-later
// The appraiser's choices of the cadastral surface beside the surfaces table:
// they move with their rows, go when a row's description changes, and are
// read into the computation with a message for every measure that cannot be
// used.
#include "valuation/cadastralsheet.h"

#include <QTest>

using namespace brevan;
using C = CadastralClass;

namespace {

CadastralChoice choice(const char *description, std::optional<C> cls, const QString &low = {},
                       const QString &wall = {})
{
    return CadastralChoice{QString::fromUtf8(description), cls, low, wall};
}

} // namespace

class TestCadastralSheet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void choicesMoveWithTheirRows_data()
    {
        QTest::addColumn<bool>("insert");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("rows"); // where the choices of rows 2 and 5 end, -1 gone
        QTest::newRow("rows added at the end") << true << 6 << 3 << QList<int>{2, 5};
        QTest::newRow("rows added between") << true << 3 << 2 << QList<int>{2, 7};
        QTest::newRow("row removed above both") << false << 0 << 1 << QList<int>{1, 4};
        QTest::newRow("row with a choice removed") << false << 2 << 1 << QList<int>{-1, 4};
        QTest::newRow("rows removed below both") << false << 6 << 4 << QList<int>{2, 5};
        QTest::newRow("both removed") << false << 1 << 5 << QList<int>{-1, -1};
    }
    void choicesMoveWithTheirRows()
    {
        QFETCH(bool, insert);
        QFETCH(int, first);
        QFETCH(int, count);
        QFETCH(QList<int>, rows);
        CadastralChoices choices;
        choices.set(2, choice("Cantina", C::IndirectLinked));
        choices.set(5, choice("Tramezzi e tamponature", std::nullopt, {}, QStringLiteral("30")));
        if (insert)
            choices.rowsInserted(first, count);
        else
            choices.rowsRemoved(first, count);
        const QStringList descriptions{QStringLiteral("Cantina"), QStringLiteral("Tramezzi e tamponature")};
        int held = 0;
        for (int i = 0; i < 2; ++i) {
            if (rows[i] < 0)
                continue;
            ++held;
            QCOMPARE(choices.byRow().value(rows[i]).description, descriptions[i]);
        }
        QCOMPARE(choices.byRow().size(), held);
    }

    void choiceStaysWhileTheDescriptionDoes()
    {
        CadastralChoices choices;
        choices.set(1, choice("Cantina", C::IndirectLinked));
        choices.set(3, choice("Camera", std::nullopt, QStringLiteral("4")));
        QVector<SurfaceRow> rows{{QStringLiteral("Camera"), 10}, {QStringLiteral("Cantina"), 8},
                                 {QString(), 0}, {QStringLiteral("Camera"), 14}};
        QVERIFY(!choices.prune(rows));
        QCOMPARE(choices.at(1, QStringLiteral("Cantina")).cls, std::optional<C>(C::IndirectLinked));
        // Asked for another description, the row has no choice.
        QVERIFY(choices.at(1, QStringLiteral("Soffitta")).isEmpty());
        // A new description drops it for good; a table grown shorter too.
        rows[1].description = QStringLiteral("Soffitta");
        rows.removeLast();
        QVERIFY(choices.prune(rows));
        QVERIFY(choices.isEmpty());
        // An empty choice is no choice.
        choices.set(0, choice("Camera", std::nullopt, QStringLiteral("  ")));
        QVERIFY(choices.isEmpty());
    }

    void sheetOfTheRows()
    {
        const QVector<SurfaceRow> rows{{QStringLiteral("Camera"), 20},
                                       {QString(), 12}, // no description: not counted, as on the page
                                       {QStringLiteral("Cantina"), 10},
                                       {QStringLiteral("Tramezzi e tamponature"), 6}};
        CadastralChoices choices;
        choices.set(2, choice("Cantina", C::IndirectLinked));
        choices.set(0, choice("Camera", std::nullopt, QStringLiteral("2,5")));
        const CadastralSheet s = buildCadastralSheet(rows, choices, false);
        QCOMPARE(s.lines.size(), 3);
        QCOMPARE(s.lines[1].row, 2);
        QCOMPARE(s.lines[1].cls, C::IndirectLinked);
        QVERIFY(!s.lines[1].proposed);
        QCOMPARE(s.lines[2].cls, C::Walls);
        QVERIFY(s.lines[2].proposed);
        QCOMPARE(s.lines[0].contribution, 17.5);
        QCOMPARE(s.lines[1].contribution, 5.0);
        QCOMPARE(s.result.mainSurface, 23.5);
        QCOMPARE(s.result.surface, 29.0); // 28,5
        QVERIFY(s.hasSurface());
    }

    void measuresThatCannotBeUsed_data()
    {
        QTest::addColumn<int>("cls");
        QTest::addColumn<QString>("low");
        QTest::addColumn<QString>("wall");
        QTest::addColumn<QString>("issue"); // empty: none
        QTest::newRow("low part with decimals") << int(C::Main) << "1,5" << "" << "";
        QTest::newRow("low part with its unit") << int(C::Main) << "3 mq" << "" << "";
        QTest::newRow("low part not a number")
            << int(C::Main) << "tre" << ""
            << "Riga 1 (Camera): la parte più bassa di 1,50 m \"tre\" non è un numero.";
        QTest::newRow("point taken for decimals refused")
            << int(C::Main) << "2.5" << "" << "Riga 1 (Camera): la parte più bassa di 1,50 m \"2.5\" non è un numero.";
        QTest::newRow("low part negative")
            << int(C::IndirectApart) << "-2" << "" << "Riga 1 (Camera): la parte più bassa di 1,50 m non può essere negativo.";
        QTest::newRow("low part above the area")
            << int(C::Main) << "25" << ""
            << "Riga 1 (Camera): la parte più bassa di 1,50 m supera la superficie della riga.";
        QTest::newRow("low part equal to the area") << int(C::Main) << "20" << "" << "";
        QTest::newRow("measure the class does not take") << int(C::BalconyLinked) << "tre" << "x" << "";
        QTest::newRow("wall thickness not a number")
            << int(C::Walls) << "" << "50cm" << "Riga 1 (Camera): lo spessore del muro \"50cm\" non è un numero.";
        QTest::newRow("wall thickness negative")
            << int(C::SharedWalls) << "" << "-30" << "Riga 1 (Camera): lo spessore del muro non può essere negativo.";
    }
    void measuresThatCannotBeUsed()
    {
        QFETCH(int, cls);
        QFETCH(QString, low);
        QFETCH(QString, wall);
        QFETCH(QString, issue);
        CadastralChoices choices;
        choices.set(0, CadastralChoice{QStringLiteral("Camera"), C(cls), low, wall});
        const CadastralSheet s = buildCadastralSheet({{QStringLiteral("Camera"), 20}}, choices, false);
        QCOMPARE(s.issues, issue.isEmpty() ? QStringList{} : QStringList{issue});
        QCOMPARE(s.hasSurface(), issue.isEmpty() && s.result.surface > 0);
    }

    void whereTheClassesTakeMeasures()
    {
        for (const CadastralClassInfo &info : cadastralClasses()) {
            const bool room = info.cls == C::Main || info.cls == C::IndirectLinked || info.cls == C::IndirectApart;
            const bool wall = info.cls == C::Walls || info.cls == C::SharedWalls;
            QCOMPARE(cadastralClassTakesLowArea(info.cls), room);
            QCOMPARE(cadastralClassTakesWallThickness(info.cls), wall);
        }
    }
};

QTEST_APPLESS_MAIN(TestCadastralSheet)
#include "tst_cadastralsheet.moc"
