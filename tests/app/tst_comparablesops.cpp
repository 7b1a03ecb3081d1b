// SPDX-License-Identifier: GPL-2.0-or-later
#include "../support/appfixture.h"
#include "../support/fixtures.h"
#include "app/application.h"
#include "app/comparablesops.h"
#include "model/currency.h"
#include "model/record.h"
#include "pages/comparablespage.h"
#include "pages/folderdialog.h"
#include "pages/navigatorbar.h"
#include "pages/tablemodel.h"

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

using namespace brevan;
using brevan::app::ComparablesOps;
using brevan::ui::ComparablesPage;
using brevan::ui::FolderDialog;
using brevan::ui::Messages;
using brevan::ui::NavigatorBar;

namespace {

// Comparables rows (fields 1 to 11).
const QStringList kViaVerdi = {"Via Verdi", "7", "1", "", "70,00", "0,00", "0,00", "0,00", "0,00",
                               "2.000.000,00", "140.000.000,00"};
const QStringList kNoUnitCost = {"Via Po", "3", "2", "", "60,00", "1,00", "1,00", "1,00", "1,00", "", ""};

// The appraisal layout: the 149 record fields with their types.
Layout recordLayout()
{
    Layout l;
    for (const FieldDef &f : recordFields()) {
        const ColumnType t = f.type == FieldType::Text      ? ColumnType::Text
                             : f.type == FieldType::Logical ? ColumnType::Logical
                                                            : ColumnType::Real;
        l << Column{QString::fromLatin1(f.name), t, f.size};
    }
    return l;
}

// A one-record appraisal table as saving writes it; fields not given stay as
// never written.
void makeAppraisal(const QString &path, const QVariantHash &values, const Layout &layout = recordLayout())
{
    Table::create(path, layout);
    Table t = Table::open(path);
    QVariantList row;
    for (const Column &c : layout)
        row << values.value(c.name);
    t.append(row);
}

// Via Roma 12: a surface not in normal form, one coefficient never computed.
const QVariantHash kViaRomaAppraisal = {
    {"IndirizzoImmob", "Via Roma"},
    {"NumCivicoImmob", "12"},
    {"PianoImmob", "3"},
    {"InternoImmob", "7"},
    {"SupCommercImmob", "85,3333333"},
    {"CDCarattLocalizzaz", 10.0},
    {"CDCarattPosizione", 5.5},
    {"CDCarattTipologiche", 1234.5},
    {"CostoUnitario", "2.500.000"},
    {"CostoComplessivo", "213.333.333"},
    {"ComuneImmob", "Milano"},
};
const QStringList kViaRomaContribution = {"Via Roma", "12",       "3",          "7",         "85,3333333", "10,00",
                                          "5,50",     "1.234,50", "0,00",       "2.500.000", "213.333.333"};

QStringList asTexts(const QVariantList &values)
{
    QStringList out;
    for (const QVariant &v : values)
        out << v.toString();
    return out;
}

QList<QStringList> storedComparables()
{
    QList<QStringList> out;
    for (const QVariantList &r : Table::open(dataPath(kImmConfr)).rows())
        out << asTexts(r.mid(0, 11));
    return out;
}

QList<QStringList> storedIn(const QString &path)
{
    QList<QStringList> out;
    for (const QVariantList &r : Table::open(path, Trust::Foreign, false).rows())
        out << asTexts(r.mid(0, 11));
    return out;
}

QStringList shown(const ComparablesPage *page)
{
    QStringList out;
    for (QLineEdit *e : page->editors())
        out << e->text();
    return out;
}

QStringList listed(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QList<Messages::Shown> shownOfKind(Messages::Shown::Kind kind)
{
    QList<Messages::Shown> out;
    for (const Messages::Shown &s : Messages::shown()) {
        if (s.kind == kind)
            out << s;
    }
    return out;
}

} // namespace

class TestComparablesOps : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<AppFixture> f;
    std::unique_ptr<ComparablesOps> ops;
    ComparablesPage *page = nullptr;
    QListWidget *list = nullptr;
    QString appraisals; // a folder of earlier appraisals

    void putRows(const QList<QStringList> &rows)
    {
        {
            Table t = Table::open(dataPath(kImmConfr));
            t.clear();
            for (const QStringList &r : rows) {
                QVariantList v;
                for (const QString &s : r)
                    v << s;
                t.append(v);
            }
        }
        QVERIFY(page->setTableFile(dataPath(kImmConfr)));
    }
    // "&Sfoglia..." with the folder dialog confirming a folder.
    void browse(const QString &folder)
    {
        ops->folderDialog()->runModal = [folder](FolderDialog &d) {
            d.setListFolder(folder);
            d.ElaboraPercorsoDati();
            return int(QDialog::Accepted);
        };
        QTest::mouseClick(page->browseButton, Qt::LeftButton);
    }
    // Selects the item as the user does, then toggles its mark with the space bar.
    void toggle(int row)
    {
        list->setFocus();
        list->setCurrentRow(row);
        QTest::keyClick(list, Qt::Key_Space);
    }
    void clickEditor(QLineEdit *e)
    {
        QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(5, 5));
    }

private Q_SLOTS:
    void initTestCase()
    {
        app::setUpApplication(*qApp);
    }
    void init()
    {
        f = std::make_unique<AppFixture>();
        ops = std::make_unique<ComparablesOps>(f->window.get());
        page = f->window->comparablesPage;
        list = page->previousAppraisalsList;
        f->window->show();
        f->window->selectNode(11);
        QApplication::setActiveWindow(f->window.get());
        QVERIFY(QTest::qWaitForWindowActive(f->window.get()));
        appraisals = f->path("stime");
        QDir().mkpath(appraisals);
        makeAppraisal(appraisals + "/Stima - Via Roma 12.db", kViaRomaAppraisal);
        Messages::resetForTests();
    }
    void cleanup()
    {
        ops.reset();
        f.reset();
        currency().reset();
    }

    void browseListsTheAppraisalsOfTheFolder_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("sorted, only Stima - *.db")
            << QStringList{"Stima - b.db", "Stima - A.db", "Altro.db", "Stima - c.txt", "Stima.db"}
            << QStringList{"Stima - A.db", "Stima - b.db"};
        QTest::newRow("no appraisal") << QStringList{"ImmobConfr 01.db"} << QStringList{};
        QTest::newRow("temporary files of interrupted saves")
            << QStringList{"Stima - b.db", ".brevan-a1B2c3.db", ".Stima - c.db.Ab12Cd", ".Stima - c.db.Ab12Cd-journal"}
            << QStringList{"Stima - b.db"};
    }
    void browseListsTheAppraisalsOfTheFolder()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, expected);
        const QString folder = f->path("elenco");
        QDir().mkpath(folder);
        for (const QString &name : files)
            fixtures::writeBytes(folder + "/" + name, "x");
        putRows({kViaVerdi});
        QCOMPARE(shown(page), kViaVerdi);
        browse(folder);
        QCOMPARE(listed(list), expected);
        for (int i = 0; i < list->count(); ++i)
            QCOMPARE(list->item(i)->checkState(), Qt::Unchecked);
        QCOMPARE(list->statusTip(), "Lista stime precedenti in " + QDir::toNativeSeparators(folder));
        QCOMPARE(ops->percorsoDati(), folder);
        // Emptied on screen only.
        QCOMPARE(shown(page), QStringList(11, QString()));
        QCOMPARE(storedComparables(), QList<QStringList>{kViaVerdi});
        QVERIFY(Messages::shown().isEmpty());
    }

    // A save killed after its manifest is finished before the folder is
    // listed, one killed before it is dropped: every appraisal listed is whole.
    void browseFinishesInterruptedSaves()
    {
        const QString folder = f->path("elenco");
        QDir().mkpath(folder + "/.brevan-salvataggio-Ab12Cd");
        QDir().mkpath(folder + "/.brevan-salvataggio-Zz98Yy");
        makeAppraisal(folder + "/.brevan-salvataggio-Ab12Cd/Stima - Via Roma 12.db", kViaRomaAppraisal);
        fixtures::writeBytes(folder + "/.brevan-salvataggio-Ab12Cd/manifest",
                             R"({"formato":"brevan-salvataggio","versione":1,"file":["Stima - Via Roma 12.db"]})");
        makeAppraisal(folder + "/.brevan-salvataggio-Zz98Yy/Stima - a metà.db", kViaRomaAppraisal);
        browse(folder);
        QCOMPARE(listed(list), QStringList{"Stima - Via Roma 12.db"});
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"Stima - Via Roma 12.db"});
        QVERIFY(Messages::shown().isEmpty());
    }

    void browseCancelledChangesNothing()
    {
        browse(appraisals);
        list->item(0)->setCheckState(Qt::Checked);
        ops->folderDialog()->runModal = [this](FolderDialog &d) {
            d.setListFolder(f->path("program"));
            d.ElaboraPercorsoDati();
            return int(QDialog::Rejected);
        };
        QTest::mouseClick(page->browseButton, Qt::LeftButton);
        QCOMPARE(ops->percorsoDati(), appraisals);
        QCOMPARE(listed(list), QStringList{"Stima - Via Roma 12.db"});
        QCOMPARE(list->item(0)->checkState(), Qt::Checked);
        QCOMPARE(list->statusTip(), "Lista stime precedenti in " + QDir::toNativeSeparators(appraisals));
    }

    void previewShowsTheContributionAndWritesNothing()
    {
        putRows({kViaVerdi});
        browse(appraisals);
        list->setFocus();
        list->setCurrentRow(0);
        QCOMPARE(shown(page), kViaRomaContribution);
        // Moving through the editors writes nothing into the current comparable.
        clickEditor(page->addressEdit);
        clickEditor(page->unitCostEdit);
        list->setFocus();
        QCOMPARE(storedComparables(), QList<QStringList>{kViaVerdi});
        QVERIFY(!page->navigator->button(NavigatorBar::Post)->isEnabled());
        // Clicking the selected item again shows it again.
        page->showPreview({});
        const QRect r = list->visualItemRect(list->item(0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(shown(page), kViaRomaContribution);
        // A move of the table's cursor shows the current comparable again.
        QTest::mouseClick(page->navigator->button(NavigatorBar::Insert), Qt::LeftButton);
        QCOMPARE(shown(page), QStringList(11, QString()));
        QTest::mouseClick(page->navigator->button(NavigatorBar::First), Qt::LeftButton);
        QCOMPARE(shown(page), kViaVerdi);
        // The blank comparable left untouched goes once the navigator has settled.
        QTRY_COMPARE(storedComparables(), QList<QStringList>{kViaVerdi});
    }

    void typingDuringAPreviewEditsTheCurrentComparable()
    {
        putRows({kViaVerdi});
        browse(appraisals);
        list->setCurrentRow(0);
        QCOMPARE(page->addressEdit->text(), QString("Via Roma"));
        page->floorEdit->setFocus();
        page->floorEdit->end(false);
        QTest::keyClicks(page->floorEdit, "4");
        QCOMPARE(page->addressEdit->text(), QString("Via Verdi"));
        QCOMPARE(page->floorEdit->text(), QString("14"));
        clickEditor(page->addressEdit);
        QStringList expected = kViaVerdi;
        expected[2] = "14";
        QCOMPARE(storedComparables(), QList<QStringList>{expected});
    }

    void previewOfAnEmptyTableIsNotAddedAsAComparable()
    {
        browse(appraisals);
        list->setCurrentRow(0);
        QCOMPARE(shown(page), kViaRomaContribution);
        clickEditor(page->addressEdit);
        clickEditor(page->houseNumberEdit);
        list->setFocus();
        QVERIFY(storedComparables().isEmpty());
    }

    void tickUntickRetick()
    {
        putRows({kViaVerdi});
        browse(appraisals);
        toggle(0);
        QCOMPARE(list->item(0)->checkState(), Qt::Checked);
        QCOMPARE(storedComparables(), (QList<QStringList>{kViaVerdi, kViaRomaContribution}));
        QCOMPARE(page->currentRow(), 1);
        QCOMPARE(shown(page), kViaRomaContribution);
        // Already there: ticking again after a refill adds nothing.
        browse(appraisals);
        toggle(0);
        QCOMPARE(storedComparables(), (QList<QStringList>{kViaVerdi, kViaRomaContribution}));
        // Unticking takes it out, ticking puts it back once.
        toggle(0);
        QCOMPARE(list->item(0)->checkState(), Qt::Unchecked);
        QCOMPARE(storedComparables(), QList<QStringList>{kViaVerdi});
        toggle(0);
        QCOMPARE(storedComparables(), (QList<QStringList>{kViaVerdi, kViaRomaContribution}));
        toggle(0);
        QCOMPARE(storedComparables(), QList<QStringList>{kViaVerdi});
        QVERIFY(Messages::shown().isEmpty());
    }

    void untickRemovesOnlyOneOfEqualRows()
    {
        putRows({kViaRomaContribution, kViaVerdi, kViaRomaContribution});
        browse(appraisals);
        list->item(0)->setCheckState(Qt::Checked);
        QCOMPARE(storedComparables().size(), 3);
        list->item(0)->setCheckState(Qt::Unchecked);
        QCOMPARE(storedComparables(), (QList<QStringList>{kViaVerdi, kViaRomaContribution}));
        QCOMPARE(list->currentRow(), 0);
    }

    void normalisedRowNoLongerMatches()
    {
        browse(appraisals);
        toggle(0);
        QCOMPARE(storedComparables(), QList<QStringList>{kViaRomaContribution});
        // A click in any editor brings the numbers to normal form.
        clickEditor(page->addressEdit);
        QStringList normal = kViaRomaContribution;
        normal[4] = "85,33";
        normal[9] = "2.500.000,00";
        normal[10] = "213.333.333,00";
        QCOMPARE(storedComparables(), QList<QStringList>{normal});
        QCOMPARE(shown(page), normal);
        toggle(0); // unticked: nothing matches any more
        QCOMPARE(storedComparables(), QList<QStringList>{normal});
        toggle(0); // ticked again: a second row
        QCOMPARE(storedComparables(), (QList<QStringList>{normal, kViaRomaContribution}));
    }

    void editedRowIsNotRemoved()
    {
        browse(appraisals);
        toggle(0);
        page->internalEdit->setFocus();
        page->internalEdit->selectAll();
        QTest::keyClicks(page->internalEdit, "8");
        clickEditor(page->addressEdit);
        toggle(0);
        QCOMPARE(storedComparables().size(), 1);
        QCOMPARE(storedComparables().first().at(3), QString("8"));
    }

    void badAppraisals_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not a table") << "text";
        QTest::newRow("damaged") << "damaged";
        QTest::newRow("lacks CostoUnitario") << "missing";
        QTest::newRow("other database") << "foreign";
        QTest::newRow("no record") << "empty";
        QTest::newRow("coefficient is no number") << "nonumber";
    }
    void badAppraisals()
    {
        QFETCH(QString, kind);
        const QString path = appraisals + "/Stima - Zz.db";
        if (kind == "text") {
            fixtures::writeBytes(path, "Stima in formato testo\n");
        } else if (kind == "damaged") {
            makeAppraisal(path, kViaRomaAppraisal);
            for (int i = 0; i < 40; ++i)
                Table::open(path).append({});
            fixtures::damage(path);
        } else if (kind == "missing") {
            Layout l = recordLayout();
            l.removeAt(145); // CostoUnitario
            makeAppraisal(path, kViaRomaAppraisal, l);
        } else if (kind == "foreign") {
            fixtures::foreignDatabase(path, "CREATE TABLE t(a); INSERT INTO t VALUES(1);");
        } else if (kind == "empty") {
            Table::create(path, recordLayout());
        } else {
            Layout l = recordLayout();
            for (Column &c : l) {
                if (c.name == "CDCarattPosizione") {
                    c.type = ColumnType::Text;
                    c.size = 10;
                }
            }
            QVariantHash v = kViaRomaAppraisal;
            v.insert("CDCarattPosizione", "nessuno");
            makeAppraisal(path, v, l);
        }
        QCOMPARE(recordLayout().at(145).name, QString("CostoUnitario"));
        putRows({kViaVerdi, kViaRomaContribution});
        browse(appraisals);
        QCOMPARE(listed(list), (QStringList{"Stima - Via Roma 12.db", "Stima - Zz.db"}));

        list->setCurrentRow(1); // preview
        QCOMPARE(shownOfKind(Messages::Shown::Error).size(), 1);
        Messages::resetForTests();
        list->item(1)->setCheckState(Qt::Checked);
        QCOMPARE(shownOfKind(Messages::Shown::Error).size(), 1);
        QVERIFY(!shownOfKind(Messages::Shown::Error).first().text.isEmpty());
        QCOMPARE(list->item(1)->checkState(), Qt::Checked);
        QCOMPARE(storedComparables(), (QList<QStringList>{kViaVerdi, kViaRomaContribution}));
        list->item(1)->setCheckState(Qt::Unchecked);
        QCOMPARE(shownOfKind(Messages::Shown::Error).size(), 2);
        QCOMPARE(list->item(1)->checkState(), Qt::Unchecked);
        QCOMPARE(storedComparables(), (QList<QStringList>{kViaVerdi, kViaRomaContribution}));
        // The program goes on: the good appraisal still comes out.
        list->item(0)->setCheckState(Qt::Checked);
        list->item(0)->setCheckState(Qt::Unchecked);
        QCOMPARE(storedComparables(), QList<QStringList>{kViaVerdi});
        QCOMPARE(shownOfKind(Messages::Shown::Error).size(), 2);
    }

    // A file made elsewhere with wider fields: the row it adds is cut to the
    // comparables fields and must still be found when the mark is cleared.
    void widerFieldsStillMatchTheirRow()
    {
        Layout l = recordLayout();
        for (Column &c : l) {
            if (c.name == "PianoImmob" || c.name == "SupCommercImmob")
                c.size = 20;
        }
        QVariantHash v = kViaRomaAppraisal;
        v.insert("PianoImmob", "12A");
        v.insert("SupCommercImmob", "85,33333333333333");
        makeAppraisal(appraisals + "/Stima - Via Roma 12.db", v, l);
        browse(appraisals);
        toggle(0);
        QCOMPARE(storedComparables().size(), 1);
        QCOMPARE(storedComparables().first().at(2), QString("12"));
        QCOMPARE(storedComparables().first().at(4), QString("85,3333333"));
        toggle(0);
        QVERIFY(storedComparables().isEmpty());
    }

    void appraisalRemovedFromTheFolderAfterListing()
    {
        browse(appraisals);
        QVERIFY(QFile::remove(appraisals + "/Stima - Via Roma 12.db"));
        list->item(0)->setCheckState(Qt::Checked);
        QCOMPARE(shownOfKind(Messages::Shown::Error).size(), 1);
        QVERIFY(storedComparables().isEmpty());
    }

    // An earlier appraisal's costs join the table in the currency in force,
    // whatever the one they were saved in; the other figures are no amounts.
    void costsComeInTheCurrencyInForce_data()
    {
        QTest::addColumn<QString>("stored");   // the appraisal's "Valuta"; "-" for a table without it
        QTest::addColumn<bool>("euroInForce");
        QTest::addColumn<QString>("unitCost");
        QTest::addColumn<QString>("totalCost");
        QTest::addColumn<QString>("expectedUnit");
        QTest::addColumn<QString>("expectedTotal");
        QTest::newRow("older table, Lire") << "-" << false << "1.000.000,00" << "70.000.000,00" << "1.000.000,00"
                                           << "70.000.000,00";
        QTest::newRow("older table holds Lire, Euro in force")
            << "-" << true << "1.000.000,00" << "70.000.000,00" << "516,46" << "36.151,98";
        QTest::newRow("Lire into Euro") << "Lire" << true << "1.000.000,00" << "" << "516,46" << "";
        QTest::newRow("Euro into Lire") << "Euro" << false << "516,46" << "36.151,98" << "1.000.006,01"
                                        << "69.999.995,02";
        QTest::newRow("Euro, Euro in force") << "Euro" << true << "516,46" << "36.151,98" << "516,46" << "36.151,98";
        QTest::newRow("no number stays as it is") << "Euro" << false << "n.d." << "" << "n.d." << "";
    }
    void costsComeInTheCurrencyInForce()
    {
        QFETCH(QString, stored);
        QFETCH(bool, euroInForce);
        QFETCH(QString, unitCost);
        QFETCH(QString, totalCost);
        QFETCH(QString, expectedUnit);
        QFETCH(QString, expectedTotal);
        Layout layout = recordLayout();
        QVariantHash values = kViaRomaAppraisal;
        values.insert("CostoUnitario", unitCost);
        values.insert("CostoComplessivo", totalCost);
        if (stored != QLatin1String("-")) {
            layout << Column{QStringLiteral("Valuta"), ColumnType::Text, 4};
            values.insert("Valuta", stored);
        }
        QVERIFY(QFile::remove(appraisals + "/Stima - Via Roma 12.db"));
        makeAppraisal(appraisals + "/Stima - Via Roma 12.db", values, layout);
        if (euroInForce)
            currency().setEuro();
        browse(appraisals);
        toggle(0);
        QStringList expected = kViaRomaContribution;
        expected[9] = expectedUnit;
        expected[10] = expectedTotal;
        QCOMPARE(storedComparables(), QList<QStringList>{expected});
        // The same figures make the duplicate test: unticking takes the row out.
        toggle(0);
        QVERIFY(storedComparables().isEmpty());
        QVERIFY(Messages::shown().isEmpty());
    }

    void neverComputedValuesContribute()
    {
        makeAppraisal(appraisals + "/Stima - Nuda.db", {{"IndirizzoImmob", "Via Nuda"}});
        browse(appraisals);
        QCOMPARE(listed(list).at(0), QString("Stima - Nuda.db"));
        list->item(0)->setCheckState(Qt::Checked);
        const QStringList expected = {"Via Nuda", "", "", "", "", "0,00", "0,00", "0,00", "0,00", "", ""};
        QCOMPARE(storedComparables(), QList<QStringList>{expected});
        // Without a unit cost the comparable is not complete.
        QCOMPARE(ops->TableImmobConfrCompleta(), 2);
    }

    void normalisation_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("unit cost 1234,5") << 9 << "1234,5" << "1.234,50";
        QTest::newRow("coefficient 10") << 5 << "10" << "10,00";
        QTest::newRow("productive 0,125") << 8 << "0,125" << "0,13";
        QTest::newRow("surface 1085,5") << 4 << "1085,5" << "1.085,50";
        QTest::newRow("total cost 1000") << 10 << "1000" << "1.000,00";
        QTest::newRow("position already normal") << 6 << "5,50" << "5,50";
        QTest::newRow("address untouched") << 0 << "12345" << "12345";
        QTest::newRow("floor untouched") << 2 << "3" << "3";
        // Ten digits fit the surface field; their normal form would be cut
        // into another number, so the text stays as typed.
        QTest::newRow("surface too long for normal form") << 4 << "1234567890" << "1234567890";
        // Cut to the field's size, the normal form still reads the same number.
        QTest::newRow("total cost cut keeps its value") << 10 << "2500000000" << "2.500.000.000,0";
    }
    void normalisation()
    {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        putRows({kViaVerdi});
        QLineEdit *e = page->editors().at(field);
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, typed);
        QLineEdit *other = page->editors().at(field == 0 ? 1 : 0);
        clickEditor(other);
        QStringList expected = kViaVerdi;
        expected[field] = stored;
        QCOMPARE(storedComparables(), QList<QStringList>{expected});
        QCOMPARE(e->text(), stored);
        QVERIFY(Messages::shown().isEmpty());
    }

    void normalisationOfTextWithoutDigits()
    {
        putRows({kViaVerdi});
        page->surfaceEdit->setText("mq"); // pasted text passes the key filter
        clickEditor(page->addressEdit);
        QCOMPARE(shownOfKind(Messages::Shown::Error).size(), 1);
        QCOMPARE(storedComparables().first().at(4), QString("mq"));
    }

    void saveAndEmptyFollowTheCurrentRow()
    {
        QVERIFY(!page->saveButton->isEnabled());
        QVERIFY(!page->emptyButton->isEnabled());
        page->addressEdit->setFocus();
        QTest::keyClicks(page->addressEdit, "Via Nuova");
        clickEditor(page->floorEdit);
        QCOMPARE(storedComparables().size(), 1);
        QVERIFY(page->saveButton->isEnabled());
        QVERIFY(page->emptyButton->isEnabled());
        QTest::mouseClick(page->navigator->button(NavigatorBar::Insert), Qt::LeftButton);
        QVERIFY(!page->saveButton->isEnabled());
        QVERIFY(!page->emptyButton->isEnabled());
        QTest::mouseClick(page->navigator->button(NavigatorBar::First), Qt::LeftButton);
        QVERIFY(page->saveButton->isEnabled());
        QVERIFY(page->emptyButton->isEnabled());
    }

    void completeness_data()
    {
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<int>("result");
        QTest::newRow("no rows") << QList<QStringList>{} << 3;
        QTest::newRow("one complete") << QList<QStringList>{kViaVerdi} << 1;
        QTest::newRow("complete and no unit cost") << QList<QStringList>{kViaVerdi, kNoUnitCost} << 2;
        QTest::newRow("only incomplete") << QList<QStringList>{kNoUnitCost} << 2;
        QTest::newRow("a blank coefficient counts") << QList<QStringList>{{"", "", "", "", "", " ", " ", " ", " ", " "}}
                                                    << 1;
    }
    void completeness()
    {
        QFETCH(QList<QStringList>, rows);
        QFETCH(int, result);
        putRows(rows);
        if (!rows.isEmpty())
            QTest::mouseClick(page->navigator->button(NavigatorBar::Last), Qt::LeftButton);
        const int current = page->currentRow();
        const QStringList before = shown(page);
        QCOMPARE(ops->TableImmobConfrCompleta(), result);
        QCOMPARE(page->currentRow(), current);
        QCOMPARE(shown(page), before);
    }

    void saveEmptyLoadRoundTrip()
    {
        putRows({kViaVerdi, kNoUnitCost});
        browse(appraisals);
        const QString file = f->path("ImmobConfr 01.db");
        Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return file; });
        QTest::mouseClick(page->saveButton, Qt::LeftButton);
        QCOMPARE(Messages::fileRequests().size(), 1);
        const ui::FileDialogRequest save = Messages::fileRequests().first();
        QCOMPARE(save.title, QString("Salva tabella Immobili di confronto"));
        QCOMPARE(save.suggested, QString("ImmobConfr 01.db"));
        QVERIFY(save.save);
        QVERIFY(save.filter.endsWith("(ImmobConfr*.db)"));
        QVERIFY(save.filter.startsWith("Immobili di confronto (*.db)"));
        QCOMPARE(storedIn(file), (QList<QStringList>{kViaVerdi, kNoUnitCost}));
        QCOMPARE(Table::layoutOf(file), comparablesLayout());

        f->answer = true;
        QTest::mouseClick(page->emptyButton, Qt::LeftButton);
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().first().kind, Messages::Shown::Confirm);
        QCOMPARE(Messages::shown().first().text, QString("Si conferma l'eliminazione del contenuto della tabella?"));
        QVERIFY(storedComparables().isEmpty());
        QCOMPARE(page->model()->rowCount(), 0);
        QCOMPARE(Table::layoutOf(dataPath(kImmConfr)), comparablesLayout());
        QCOMPARE(list->count(), 0);
        QCOMPARE(list->statusTip(), QString("Lista stime precedenti."));
        QCOMPARE(ops->percorsoDati(), appraisals);
        QVERIFY(!page->saveButton->isEnabled());

        Messages::resetForTests();
        QTest::mouseClick(page->loadButton, Qt::LeftButton);
        const ui::FileDialogRequest open = Messages::fileRequests().first();
        QCOMPARE(open.title, QString("Apri tabella Immobili di confronto"));
        QVERIFY(open.suggested.isEmpty());
        QVERIFY(!open.save);
        QCOMPARE(open.filter, save.filter);
        QCOMPARE(storedComparables(), (QList<QStringList>{kViaVerdi, kNoUnitCost}));
        QCOMPARE(page->model()->rowCount(), 2);
        QCOMPARE(page->currentRow(), 0);
        QCOMPARE(shown(page), kViaVerdi);
        QVERIFY(page->saveButton->isEnabled());
        QVERIFY(Messages::shown().isEmpty());
    }

    void cancelledCommandsChangeNothing_data()
    {
        QTest::addColumn<int>("command"); // 0 load, 1 save, 2 empty
        QTest::newRow("load cancelled") << 0;
        QTest::newRow("save cancelled") << 1;
        QTest::newRow("empty not confirmed") << 2;
    }
    void cancelledCommandsChangeNothing()
    {
        QFETCH(int, command);
        putRows({kViaVerdi, kNoUnitCost});
        browse(appraisals);
        Messages::setFileAnswers([](const ui::FileDialogRequest &) { return QString(); });
        f->answer = false;
        QToolButton *const buttons[] = {page->loadButton, page->saveButton, page->emptyButton};
        QTest::mouseClick(buttons[command], Qt::LeftButton);
        QCOMPARE(storedComparables(), (QList<QStringList>{kViaVerdi, kNoUnitCost}));
        QCOMPARE(page->model()->rowCount(), 2);
        QCOMPARE(listed(list), QStringList{"Stima - Via Roma 12.db"});
        QCOMPARE(QDir(f->path("program")).entryList({"ImmobConfr*"}), QStringList());
    }

    void loadRefusesOtherFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("surfaces table") << "surfaces";
        QTest::newRow("appraisal table") << "appraisal";
        QTest::newRow("not a table") << "text";
        QTest::newRow("missing") << "missing";
    }
    void loadRefusesOtherFiles()
    {
        QFETCH(QString, kind);
        const QString file = f->path("ImmobConfr altro.db");
        if (kind == "surfaces")
            Table::create(file, surfacesLayout());
        else if (kind == "appraisal")
            makeAppraisal(file, kViaRomaAppraisal);
        else if (kind == "text")
            fixtures::writeBytes(file, "IndirizzoImmob;NumCivicoImmob\n");
        putRows({kViaVerdi});
        Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return file; });
        QTest::mouseClick(page->loadButton, Qt::LeftButton);
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().first().kind, Messages::Shown::Warning);
        QCOMPARE(Messages::shown().first().text,
                 "La tabella " + QDir::toNativeSeparators(file)
                     + " potrebbe essere:\ngià in uso, inesistente o in un formato non valido.");
        QCOMPARE(storedComparables(), QList<QStringList>{kViaVerdi});
        QCOMPARE(page->model()->tableFile(), dataPath(kImmConfr));
        QCOMPARE(page->model()->rowCount(), 1);
    }

    void saveFailureLeavesNoFile()
    {
        putRows({kViaVerdi});
        const QString folder = fixtures::readOnlyFolder(f->path("scratch"));
        const QString file = folder + "/ImmobConfr 01.db";
        Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return file; });
        QTest::mouseClick(page->saveButton, Qt::LeftButton);
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().first().kind, Messages::Shown::Warning);
        QCOMPARE(Messages::shown().first().text,
                 "La tabella " + QDir::toNativeSeparators(file) + " è già in uso. \nSalvare la tabella con un altro nome.");
        QVERIFY(!QFile::exists(file));
        QCOMPARE(page->model()->rowCount(), 1);
        QCOMPARE(page->model()->tableFile(), dataPath(kImmConfr));
    }

    void saveWithoutExtensionAddsIt()
    {
        putRows({kViaVerdi});
        const QString file = f->path("ImmobConfr 02");
        Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return file; });
        QTest::mouseClick(page->saveButton, Qt::LeftButton);
        QCOMPARE(storedIn(file + ".db"), QList<QStringList>{kViaVerdi});
    }

    void newAppraisalClearsTheList()
    {
        browse(appraisals);
        list->item(0)->setCheckState(Qt::Checked);
        ops->clearPreviousAppraisals();
        QCOMPARE(list->count(), 0);
        QCOMPARE(list->statusTip(), QString("Lista stime precedenti."));
        QCOMPARE(storedComparables().size(), 1);
    }
};

QTEST_MAIN(TestComparablesOps)
#include "tst_comparablesops.moc"
