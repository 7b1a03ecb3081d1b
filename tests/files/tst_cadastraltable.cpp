// SPDX-License-Identifier: GPL-2.0-or-later
// The cadastral surface's companion table: what is written reads back the
// same; a foreign, damaged or tampered file is refused before use; its name
// fits beside the other companions' without changing theirs; a record finds
// it by name, by its column, or knows it has none; and the MCA table holds
// the subject's choice of the cadastral surface only when it is made.
#include "../support/fixtures.h"
#include "files/appraisalfiles.h"
#include "files/appraisalset.h"
#include "files/cadastraltable.h"
#include "files/mcatable.h"

#include <QTemporaryDir>
#include <QTest>

using namespace brevan;
using namespace brevan::files;
using C = CadastralClass;

namespace {

CadastralChoices sampleChoices()
{
    CadastralChoices c;
    c.set(0, CadastralChoice{QStringLiteral("Camera"), std::nullopt, QStringLiteral("2,5"), {}});
    c.set(8, CadastralChoice{QStringLiteral("Cantina"), C::IndirectLinked, {}, {}});
    c.set(9, CadastralChoice{QStringLiteral("Tramezzi e tamponature"), C::SharedWalls, {}, QStringLiteral("non so")});
    return c;
}

} // namespace

class TestCadastralTable : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Superficie catastale - S.db"));
        writeTableFile(path, cadastralLayout(), cadastralRows(sampleChoices()));
        QCOMPARE(Table::layoutOf(path), cadastralLayout());
        QCOMPARE(readCadastralTable(path), sampleChoices());
        // Stored by row from 1, in the table's order, the class by its code.
        const QVector<QVariantList> rows = cadastralRows(sampleChoices());
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[1].value(0).toDouble(), 9.0);
        QCOMPARE(rows[1].value(2).toString(), QStringLiteral("AccessorioComunicante"));
        QCOMPARE(rows[0].value(2).toString(), QString());
        // A table without rows holds no choice.
        writeTableFile(path, cadastralLayout(), {});
        QVERIFY(readCadastralTable(path).isEmpty());
    }

    void everyClassHasACode()
    {
        QSet<QString> codes;
        for (const CadastralClassInfo &info : cadastralClasses()) {
            const QString code = cadastralClassCode(info.cls);
            QVERIFY(!code.isEmpty() && code.size() <= 30);
            QCOMPARE(cadastralClassOfCode(code), std::optional<C>(info.cls));
            codes << code;
        }
        QCOMPARE(codes.size(), cadastralClasses().size());
        // The labels are not codes.
        QCOMPARE(cadastralClassOfCode(cadastralClassLabel(C::Main)), std::nullopt);
    }

    void refused_data()
    {
        QTest::addColumn<QVariantList>("row"); // one row of the companion
        QTest::newRow("row 0") << QVariantList{0.0, "Camera", "", "", ""};
        QTest::newRow("row never written") << QVariantList{QVariant(), "Camera", "", "", ""};
        QTest::newRow("row not whole") << QVariantList{2.5, "Camera", "", "", ""};
        QTest::newRow("row beyond any table") << QVariantList{1e9, "Camera", "", "", ""};
        QTest::newRow("unknown class") << QVariantList{1.0, "Camera", "Villa", "", ""};
        QTest::newRow("class by its label")
            << QVariantList{1.0, "Camera", "Non computata", "", ""};
    }
    void refused()
    {
        QFETCH(QVariantList, row);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("c.db"));
        writeTableFile(path, cadastralLayout(), {row});
        QVERIFY_THROWS_EXCEPTION(StoreError, readCadastralTable(path));
    }

    void refusedFiles()
    {
        QTemporaryDir dir;
        const QString repeated = dir.filePath(QStringLiteral("repeated.db"));
        writeTableFile(repeated, cadastralLayout(),
                       {QVariantList{3.0, "Camera", "", "1", ""}, QVariantList{3.0, "Camera", "", "2", ""}});
        QVERIFY_THROWS_EXCEPTION(StoreError, readCadastralTable(repeated));
        // Another table of the program.
        const QString other = dir.filePath(QStringLiteral("other.db"));
        writeTableFile(other, mcaLayout(), mcaRows(mca::Sheet::blank()));
        QVERIFY_THROWS_EXCEPTION(StoreError, readCadastralTable(other));
        // Damaged past its first page.
        const QString damaged = dir.filePath(QStringLiteral("damaged.db"));
        QVector<QVariantList> many;
        for (int i = 1; i <= 300; ++i)
            many << QVariantList{double(i), QStringLiteral("Camera"), QStringLiteral("Principale"), QStringLiteral("1"),
                                 QString()};
        writeTableFile(damaged, cadastralLayout(), many);
        fixtures::damage(damaged);
        QVERIFY_THROWS_EXCEPTION(StoreError, readCadastralTable(damaged));
    }

    // The cadastral name fits the record's 150 characters and a file name's
    // 255 bytes by cutting only its own stem, keeping a numbered stem's number;
    // the other companions' names stay what they were.
    void companionNameFits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("short") << QStringLiteral("Via Roma 1") << QString();
        QTest::newRow("long") << QString(200, QLatin1Char('a')) << QString();
        QTest::newRow("long numbered") << QString(200, QLatin1Char('a')) << QStringLiteral(" (12)");
        QTest::newRow("accented") << QString(200, QChar(0x00E8)) << QStringLiteral(" (2)");
        QTest::newRow("pairs") << QString::fromUtf8("😀").repeated(100) << QStringLiteral(" (3)");
    }
    void companionNameFits()
    {
        QFETCH(QString, text);
        QFETCH(QString, suffix);
        const QString stem = companionStem(text, suffix);
        QCOMPARE(companionName(Companion::Mca, stem), QStringLiteral("MCA - ") + stem + QStringLiteral(".db"));
        const QString name = companionName(Companion::Cadastral, stem);
        QVERIFY(name.startsWith(QStringLiteral("Superficie catastale - ")));
        QVERIFY(name.endsWith(suffix + QStringLiteral(".db")));
        QVERIFY2(name.size() <= 150, qPrintable(name));
        QVERIFY(name.toUtf8().size() + 16 <= 255);
        QVERIFY(!name.chopped(3 + suffix.size()).back().isHighSurrogate());
        if (text.size() < 100)
            QCOMPARE(name, QStringLiteral("Superficie catastale - ") + stem + QStringLiteral(".db"));
    }

    // Found by the table's name; by the record's column after a numbered
    // stem; and not at all from a numbered record without that column.
    void foundByTheRecord()
    {
        QTemporaryDir dir;
        AppraisalContent content;
        content.record.insert(QStringLiteral("IndirizzoImmob"), QStringLiteral("Via Po"));
        content.tables.insert(Companion::Cadastral, cadastralRows(sampleChoices()));
        const QString plain = dir.filePath(QStringLiteral("Stima - Via Po.db"));
        saveAppraisalSet(plain, content);
        QCOMPARE(namedCompanionName(Companion::Cadastral, StoredRecord(plain), QStringLiteral("Stima - Via Po.db")),
                 QStringLiteral("Superficie catastale - Via Po.db"));
        QVERIFY(!StoredRecord(plain).has(kCadastralColumn));

        const QString numbered = dir.filePath(QStringLiteral("Via Po.db"));
        saveAppraisalSet(numbered, content, QStringLiteral("Via Po (2)"));
        QCOMPARE(StoredRecord(numbered).text(kCadastralColumn), QStringLiteral("Superficie catastale - Via Po (2).db"));
        QCOMPARE(namedCompanionName(Companion::Cadastral, StoredRecord(numbered), QStringLiteral("Via Po.db")),
                 QStringLiteral("Superficie catastale - Via Po (2).db"));

        content.tables.remove(Companion::Cadastral);
        saveAppraisalSet(numbered, content, QStringLiteral("Via Po (2)"));
        const StoredRecord without(numbered);
        QVERIFY(without.has(kMcaColumn));
        QVERIFY(!without.has(kCadastralColumn));
        QCOMPARE(namedCompanionName(Companion::Cadastral, without, QStringLiteral("Via Po.db")), QString());
    }

    // The MCA table has the subject's choice of the cadastral surface as one
    // more column only when it is made: a comparison without it is stored
    // as before.
    void mcaSubjectChoice()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("MCA - S.db"));
        mca::Sheet s = mca::Sheet::blank();
        QVERIFY(!s.hasData());
        s.comparables[0].setText(mca::Row::Price, QStringLiteral("100.000"));
        writeMcaTable(path, s);
        QCOMPARE(Table::layoutOf(path), mcaLayout());
        QVERIFY(!readMcaTable(path).cadastralSubject);

        s.cadastralSubject = true;
        writeMcaTable(path, s);
        const Layout layout = Table::layoutOf(path);
        QCOMPARE(layout.size(), mcaLayout().size() + 1);
        QCOMPARE(layout.last().name, QStringLiteral("SuperficieCatastale"));
        QCOMPARE(readMcaTable(path), s);
        // The choice alone is worth saving.
        QVERIFY(mca::Sheet{mca::Sheet::blank()}.hasData() == false);
        mca::Sheet onlyChoice = mca::Sheet::blank();
        onlyChoice.cadastralSubject = true;
        QVERIFY(onlyChoice.hasData());
    }
};

QTEST_MAIN(TestCadastralTable)
#include "tst_cadastraltable.moc"
