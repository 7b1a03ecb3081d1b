// SPDX-License-Identifier: GPL-2.0-or-later
// Opening reads the whole appraisal before the pages change: a market
// comparison that cannot be read is named and left empty while the rest
// loads (in the window and in brevan-export), and a file that fails leaves
// every page of the appraisal shown before exactly as it was, not changed.
#include "../support/filesession.h"
#include "../support/fixtures.h"
#include "../support/mcafixtures.h"
#include "app/exportcommand.h"
#include "app/mcaops.h"
#include "app/unsavedwork.h"
#include "files/mcatable.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/mcadatatable.h"
#include "pages/mcawindow.h"

#include <QAction>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <QToolButton>

using namespace brevan;
using namespace filesession;
using brevan::files::RecordValues;
using brevan::mca::Row;

namespace {

// The running program with every operation wired, its dialogs answered.
struct Wired {
    AppFixture app{app::Operations::Wired};
    QStringList files; // next answers of the file dialogs

    Wired()
    {
        Messages::setFileAnswers([this](const FileDialogRequest &) { return files.isEmpty() ? QString() : files.takeFirst(); });
        Messages::setQuestionAnswers([](const Messages::Shown &) { return ui::Answer::No; });
        QDir().mkpath(folder());
    }
    MainWindow *w() const { return app.window.get(); }
    FileOps *ops() const { return w()->fileOps; }
    QString folder() const { return app.path("stime"); }
    QString inFolder(const QString &name) const { return folder() + QLatin1Char('/') + name; }
    void save(const QString &name)
    {
        files << inFolder(name);
        w()->saveAction->trigger();
    }
    void open(const QString &name)
    {
        files << inFolder(name);
        w()->openAction->trigger();
    }
    void giveComparison(const mca::Sheet &sheet)
    {
        if (!w()->mcaOps->window())
            w()->mcaOps->StimaMCA1Click();
        w()->mcaOps->window()->setSheet(sheet);
    }
    QStringList warnings() const
    {
        QStringList out;
        for (const Messages::Shown &s : Messages::shown()) {
            if (s.kind == Messages::Shown::Warning || s.kind == Messages::Shown::Error)
                out << s.text;
        }
        return out;
    }
};

// A comparison of ten comparables with long sources: a table of several
// pages, so that damaging its pages past the first leaves its header whole.
mca::Sheet bigComparison()
{
    mca::Sheet big = fixtures::mcaExampleSheet();
    for (int j = 0; j < 7; ++j) {
        big.comparables.append(big.comparables[j % 3]);
        big.comparables.last().setText(Row::Source, QString(60, QLatin1Char('s')));
    }
    return big;
}

// The stored record rewritten with one field changed, or dropped.
void rewriteRecord(const QString &table, const QString &field, const QString &value, bool drop)
{
    const TableData data = readTableFile(table);
    files::RecordValues values;
    for (int i = 0; i < data.layout.size(); ++i)
        values.insert(data.layout[i].name, data.rows.first().at(i));
    Layout layout = data.layout;
    if (drop)
        layout.removeIf([&](const Column &c) { return c.name == field; });
    else
        values.insert(field, value);
    QFile::remove(table);
    files::writeOneRowTable(table, layout, files::rowFor(layout, values));
}

// Appraisal "Stima - x.db": internal number 7, a rent, a photograph, a room,
// a comparable and a market comparison, saved in Euro.
void saveAppraisalX(Wired &p)
{
    MainWindow *w = p.w();
    w->euroButton->click();
    typeInto(w->descriptionPage->internalNumberEdit, QStringLiteral("7"));
    w->incomePage->unitRentEdit->setText(QStringLiteral("12.500"));
    setPicture(w->photoPage, picture({6, 6}, qRgb(5, 6, 7)));
    setSurfaceRow(w, 0, QStringLiteral("Soggiorno"), 20);
    addComparable(w, kCompleteComparable);
    p.giveComparison(bigComparison());
    p.save(QStringLiteral("Stima - x.db"));
    QCOMPARE(p.warnings(), QStringList());
}

} // namespace

class TestOpenWhole : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }

    // A market comparison that cannot be read is treated as a picture that
    // cannot be read: named, left empty, and the rest of the appraisal loads
    // as one that opened (not counted as changed). brevan-export opens it.
    void damagedComparisonLeavesTheRest_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("not a table") << "text";
        QTest::newRow("pages damaged") << "pages";
        QTest::newRow("a table of another layout") << "layout";
        QTest::newRow("no subject in its first row") << "subject";
        QTest::newRow("more comparables than a comparison holds") << "many";
    }
    void damagedComparisonLeavesTheRest()
    {
        QFETCH(QString, damage);
        Wired p;
        saveAppraisalX(p);
        const QString companion = p.inFolder(QStringLiteral("MCA - x.db"));
        QVERIFY(QFileInfo::exists(companion));
        if (damage == "text") {
            fixtures::writeBytes(companion, "rovinato");
        } else if (damage == "pages") {
            QVERIFY(QFileInfo(companion).size() > 4096);
            fixtures::damage(companion);
        } else if (damage == "layout") {
            QFile::remove(companion);
            QVERIFY(QFile::copy(p.inFolder(QStringLiteral("Superfici - x.db")), companion));
        } else {
            QVector<QVariantList> rows = files::mcaRows(bigComparison());
            if (damage == "subject")
                rows.removeFirst();
            else
                rows << rows.last() << rows.last();
            Table::write(companion, files::mcaLayout(), rows);
        }

        // The window before: another appraisal with a comparison of its own.
        p.app.answer = true;
        p.w()->newAction->trigger();
        p.giveComparison(fixtures::mcaExampleSheet());
        Messages::resetForTests();
        p.open(QStringLiteral("Stima - x.db"));

        const QString named = FileOps::unreadableMcaText(QStringLiteral("MCA - x.db"));
        QVERIFY(named.contains(QStringLiteral("\"MCA - x.db\"")));
        QCOMPARE(p.warnings(), QStringList{named});
        MainWindow *w = p.w();
        QCOMPARE(w->descriptionPage->internalNumberEdit->text(), QStringLiteral("7"));
        QCOMPARE(w->incomePage->unitRentEdit->text(), QStringLiteral("12.500"));
        QCOMPARE(w->photoPage->sourceImage().pixel(0, 0), qRgb(5, 6, 7));
        QCOMPARE(tableRows(dataPath(kDescrSup)).first().first().toString(), QStringLiteral("Soggiorno"));
        QCOMPARE(w->comparablesPage->model()->rowCount(), 1);
        // Nothing of the other appraisal's comparison stays behind.
        QVERIFY(!w->mcaOps->hasData());
        QCOMPARE(w->mcaOps->window()->dataTable->cell(1, Row::Price)->text(), QString());
        QVERIFY(!w->unsavedWork->hasChanges());

        QString out, err;
        {
            QTextStream o(&out), e(&err);
            QCOMPARE(app::runExportCommand({p.inFolder(QStringLiteral("Stima - x.db")), QStringLiteral("--json")}, o, e),
                     int(app::ExportOk));
        }
        QCOMPARE(err, QStringLiteral("brevan-export: ") + named + QLatin1Char('\n'));
        const QJsonObject json = QJsonDocument::fromJson(out.toUtf8()).object();
        QVERIFY(json.contains(QStringLiteral("mca")));
        QVERIFY(json.value(QStringLiteral("mca")).isNull());
    }

    // Whatever fails while opening, the appraisal shown before stays as it
    // was in every field, picture, table, comparison and currency, and is
    // not counted as changed.
    void failedOpenLeavesThePagesAsTheyWere_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("not a table") << "text";
        QTest::newRow("damaged table") << "damaged";
        QTest::newRow("date in another format") << "dateformat";
        QTest::newRow("date field missing") << "nodate";
        QTest::newRow("last expense missing") << "noexpense";
        QTest::newRow("unknown currency") << "currency";
        QTest::newRow("damaged surfaces copy") << "badsurfaces";
        QTest::newRow("comparables copy of another layout") << "wrongcomparables";
    }
    void failedOpenLeavesThePagesAsTheyWere()
    {
        QFETCH(QString, damage);
        Wired p;
        saveAppraisalX(p);
        const QString table = p.inFolder(QStringLiteral("Stima - x.db"));
        if (damage == "text") {
            fixtures::writeBytes(table, "non una tabella");
        } else if (damage == "damaged") {
            rewriteRecord(table, QStringLiteral("EMailProfess"), QString(100, 'e'), false);
            fixtures::damage(table);
        } else if (damage == "dateformat") {
            rewriteRecord(table, QStringLiteral("DataStimaImmob"), QStringLiteral("2031-06-15"), false);
        } else if (damage == "nodate") {
            rewriteRecord(table, QStringLiteral("DataStimaImmob"), {}, true);
        } else if (damage == "noexpense") {
            rewriteRecord(table, QStringLiteral("AliquoteTasse"), {}, true);
        } else if (damage == "currency") {
            rewriteRecord(table, files::kCurrencyColumn, QStringLiteral("Yen"), false);
        } else if (damage == "badsurfaces") {
            fixtures::writeBytes(p.inFolder(QStringLiteral("Superfici - x.db")), "rovinato");
        } else if (damage == "wrongcomparables") {
            QFile::remove(p.inFolder(QStringLiteral("ImmobConfr - x.db")));
            QVERIFY(QFile::copy(p.inFolder(QStringLiteral("Superfici - x.db")),
                                p.inFolder(QStringLiteral("ImmobConfr - x.db"))));
        }

        // The appraisal shown before: every page filled, in Lire, saved.
        MainWindow *w = p.w();
        p.app.answer = true;
        w->newAction->trigger();
        w->lireButton->click();
        fillEveryPage(*p.ops());
        const QImage before = picture({3, 3}, qRgb(100, 100, 100));
        setPicture(w->photoPage, before);
        setPicture(w->unitPlanPage, picture({5, 4}, qRgb(40, 50, 60)));
        setSurfaceRow(w, 1, QStringLiteral("Cantina"), 5);
        addComparable(w, {"Via Bianchi", "1", "2", "3", "70", "1", "1", "1", "1", "900.000", "63.000.000"});
        p.giveComparison(fixtures::mcaExampleSheet());
        // What the reactions said about the sample values is not the save's.
        Messages::resetForTests();
        p.save(QStringLiteral("Stima - prima.db"));
        QCOMPARE(p.warnings(), QStringList());
        QVERIFY(!w->unsavedWork->hasChanges());
        const RecordValues record = p.ops()->currentRecord();
        const QVector<QVariantList> surfaces = tableRows(dataPath(kDescrSup));
        const QVector<QVariantList> comparables = tableRows(dataPath(kImmConfr));
        const mca::Sheet comparison = w->mcaOps->sheet();
        const qint64 unitPlan = w->unitPlanPage->sourceImage().cacheKey();

        Messages::resetForTests();
        p.open(QStringLiteral("Stima - x.db"));

        QCOMPARE(p.warnings().size(), 1);
        QVERIFY2(p.warnings().first().startsWith(FileOps::openFailureText()), qPrintable(p.warnings().first()));
        QCOMPARE(p.ops()->currentRecord(), record);
        QCOMPARE(p.ops()->currentRecord().value(files::kCurrencyColumn).toString(), QStringLiteral("Lire"));
        QCOMPARE(w->photoPage->sourceImage(), before);
        QCOMPARE(w->unitPlanPage->sourceImage().cacheKey(), unitPlan);
        QVERIFY(!w->areaPlanPage->hasPicture());
        QCOMPARE(tableRows(dataPath(kDescrSup)), surfaces);
        QCOMPARE(tableRows(dataPath(kImmConfr)), comparables);
        QCOMPARE(w->surfacesPage->model()->rowCount(), surfaces.size());
        QCOMPARE(w->comparablesPage->model()->rowCount(), comparables.size());
        QCOMPARE(w->mcaOps->sheet(), comparison);
        QVERIFY(!w->unsavedWork->hasChanges());
        // Nothing of the failed opening stays behind in the data folder.
        QCOMPARE(QDir(workingFolder()).entryList({QStringLiteral(".*.db.*")}, QDir::Files | QDir::Hidden), QStringList());
    }
};

QTEST_MAIN(TestOpenWhole)
#include "tst_openwhole.moc"
