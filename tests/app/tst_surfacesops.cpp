// SPDX-License-Identifier: GPL-2.0-or-later
// The surfaces page's commands on the real main window: the three surfaces
// and the accessory-spaces judgment from rows entered through the grid's
// model, the enabling of the buttons and the events that run it, the row
// buffer, and opening, saving and clearing surfaces tables with real files.
#include "../support/appfixture.h"
#include "../support/fixtures.h"
#include "app/application.h"
#include "app/surfacesops.h"
#include "pages/navigatorbar.h"
#include "pages/pagekit.h"
#include "pages/positionpage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"

#include <QFileInfo>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace brevan;
using brevan::app::MainWindow;
using brevan::app::SurfacesOps;
using brevan::ui::Messages;

namespace {

using Rows = QList<QPair<QString, double>>;

// What the working surfaces table holds, row by row.
Rows tableRows(const QString &path)
{
    Table t = Table::open(path);
    Rows out;
    for (qint64 id : t.rowIds())
        out << qMakePair(t.text(id, "DescrizioneSuperficie"), t.real(id, "MqSuperficie"));
    return out;
}

// A surfaces file of the user's, written directly.
void makeSurfacesFile(const QString &path, const Rows &rows)
{
    Table::create(path, surfacesLayout());
    Table t = Table::open(path);
    for (const auto &r : rows)
        t.append({r.first, r.second});
}

} // namespace

class TestSurfacesOps : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<AppFixture> f;
    std::unique_ptr<SurfacesOps> ops;
    QStringList requests;
    QString accessoryAtIncome; // the accessory judgment when the gross income was asked for

    ui::SurfacesPage *page() const { return f->window->surfacesPage; }
    ui::TableModel *model() const { return f->window->surfacesPage->model(); }
    QString working() const { return f->dataFolder() + "/" + kDescrSup; }
    QComboBox *accessory() const { return f->window->positionPage->accessorySpacesCombo; }

    // Enters rows from the first one through the grid's model, as cell edits.
    void enter(const Rows &rows)
    {
        for (int r = 0; r < rows.size(); ++r) {
            QVERIFY(model()->setData(model()->index(r, 0), rows.at(r).first));
            QVERIFY(model()->setData(model()->index(r, 1), rows.at(r).second));
        }
    }
    // A click on a cell of the grid, released over it.
    void clickCell(int row, int column = 0)
    {
        const QModelIndex index = model()->index(row, column);
        page()->grid->scrollTo(index);
        const QRect r = page()->grid->visualRect(index);
        QVERIFY(r.isValid());
        QTest::mouseClick(page()->grid->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(page()->grid->currentIndex().row(), row);
    }
    void click(QToolButton *b)
    {
        QVERIFY(b->isEnabled());
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QStringList shownTexts() const
    {
        return {page()->usefulEdit->text(), page()->conventionalEdit->text(), page()->commercialEdit->text()};
    }
    QStringList values() const { return {ops->usefulValue(), ops->conventionalValue(), ops->commercialValue()}; }

private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }
    void init()
    {
        f = std::make_unique<AppFixture>();
        ops = std::make_unique<SurfacesOps>(f->window.get());
        requests.clear();
        connect(ops.get(), &SurfacesOps::CalcolaRedditoLordoAnnuoRequested, this, [this] {
            requests << "CalcolaRedditoLordoAnnuo";
            accessoryAtIncome = accessory()->currentText();
        });
        connect(ops.get(), &SurfacesOps::ImpostaSemaforiTreeViewRequested, this,
                [this] { requests << "ImpostaSemaforiTreeView"; });
        f->window->show();
        f->window->selectNode(6);
        QVERIFY(QTest::qWaitForWindowExposed(f->window.get()));
        QCOMPARE(model()->rowCount(), 36);
    }
    void cleanup()
    {
        ops.reset();
        f.reset();
    }

    // The three surfaces, as values and as shown, from a click on the grid
    // (the enabling rule computes at once) and again from "Calcola superfici".
    void surfaces_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("Camera 20 + Soggiorno 25")
            << Rows{{"Camera", 20}, {"Soggiorno", 25}} << QStringList{"45", "54", "45"}
            << QStringList{"45,00  mq", "54,00  mq", "45,00  mq"};
        QTest::newRow("U = 70: k 1.1") << Rows{{"Salone", 70}} << QStringList{"70", "77", "70"}
                                       << QStringList{"70,00  mq", "77,00  mq", "70,00  mq"};
        QTest::newRow("U = 70.5: k 1.0") << Rows{{"Salone", 70.5}} << QStringList{"70,5", "70,5", "70,5"}
                                         << QStringList{"70,50  mq", "70,50  mq", "70,50  mq"};
        QTest::newRow("U = 46: k 1.1") << Rows{{"Studio", 46}} << QStringList{"46", "50,6", "46"}
                                       << QStringList{"46,00  mq", "50,60  mq", "46,00  mq"};
        QTest::newRow("U = 45.5: k 1.2") << Rows{{"Studio", 45.5}} << QStringList{"45,5", "54,6", "45,5"}
                                         << QStringList{"45,50  mq", "54,60  mq", "45,50  mq"};
        QTest::newRow("Balcone 10 at U 25: weight 0.50")
            << Rows{{"Camera", 25}, {"Balcone", 10}} << QStringList{"25", "32,5", "30"}
            << QStringList{"25,00  mq", "32,50  mq", "30,00  mq"};
        QTest::newRow("Balcone 10 at U 24.9: weight 0.25")
            << Rows{{"Camera", 24.9}, {"Balcone", 10}} << QStringList{"24,9", "32,38", "27,4"}
            << QStringList{"24,90  mq", "32,38  mq", "27,40  mq"};
        QTest::newRow("Tramezzi only in the commercial")
            << Rows{{"Camera", 50}, {"Tramezzi e tamponature", 10}} << QStringList{"50", "55", "60"}
            << QStringList{"50,00  mq", "55,00  mq", "60,00  mq"};
        QTest::newRow("green areas and parking only in the conventional")
            << Rows{{"Camera", 50}, {"Aree verdi (quota millesimale)", 100}, {"Posto auto comune", 10},
                    {"Posto auto singolo", 10}}
            << QStringList{"50", "72", "50"} << QStringList{"50,00  mq", "72,00  mq", "50,00  mq"};
        QTest::newRow("Cantina and Lastrico solare")
            << Rows{{"Camera", 80}, {"Cantina", 10}, {"Lastrico solare", 20}} << QStringList{"80", "87,5", "87"}
            << QStringList{"80,00  mq", "87,50  mq", "87,00  mq"};
        // Exact names only; empty and unknown rows count nothing.
        QTest::newRow("case and unknown names count nothing")
            << Rows{{"camera", 30}, {"Camera ", 30}, {"Garage", 30}, {"", 12}, {"Bagno", 6}}
            << QStringList{"6", "7,2", "6"} << QStringList{"6,00  mq", "7,20  mq", "6,00  mq"};
        QTest::newRow("thousands") << Rows{{"Salone", 1234.5}} << QStringList{"1234,5", "1234,5", "1234,5"}
                                   << QStringList{"1.234,50  mq", "1.234,50  mq", "1.234,50  mq"};
    }
    void surfaces()
    {
        QFETCH(Rows, rows);
        QFETCH(QStringList, values);
        QFETCH(QStringList, shown);
        enter(rows);
        clickCell(0);
        QCOMPARE(this->values(), values);
        QCOMPARE(shownTexts(), shown);
        QCOMPARE(requests, QStringList{"CalcolaRedditoLordoAnnuo"});
        // The hidden fields are the record's fields 41 to 43.
        QCOMPARE(f->window->findChild<QLineEdit *>("SupCommercImmob")->text(), values.at(2));
        QVERIFY(page()->usefulValueEdit->isHidden());

        // The button gives the same, from scratch.
        ops->setUsefulValue({});
        ops->setConventionalValue({});
        ops->setCommercialValue({});
        click(page()->computeButton);
        QCOMPARE(this->values(), values);
        QCOMPARE(shownTexts(), shown);
        QCOMPARE(requests.size(), 2);
    }

    // The accessory-spaces judgment is written before the gross income is
    // asked for.
    void accessorySpaces_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QString>("judgment");
        QTest::newRow("no accessory row") << Rows{{"Camera", 100}} << "Scarso";
        QTest::newRow("single small Cantina") << Rows{{"Camera", 100}, {"Cantina", 5}} << "Buono";
        QTest::newRow("single Cantina of 20") << Rows{{"Camera", 100}, {"Cantina", 20}} << "Ottimo";
        QTest::newRow("Ripostiglio 20 of 120") << Rows{{"Camera", 100}, {"Ripostiglio", 20}} << "Ottimo";
        QTest::newRow("Stenditoio 10 of 110") << Rows{{"Camera", 100}, {"Stenditoio", 10}} << "Sufficiente";
        QTest::newRow("Stenditoio 10 of 30") << Rows{{"Camera", 20}, {"Stenditoio", 10}} << "Scarso";
        QTest::newRow("two Cantine of 3") << Rows{{"Camera", 100}, {"Cantina", 3}, {"Cantina", 3}} << "Sufficiente";
    }
    void accessorySpaces()
    {
        QFETCH(Rows, rows);
        QFETCH(QString, judgment);
        ui::setComboText(accessory(), "Mediocre");
        enter(rows);
        clickCell(1);
        QCOMPARE(accessory()->currentText(), judgment);
        QCOMPARE(accessoryAtIncome, judgment);
    }

    // The enabling rule: compute with a complete row, save and clear with a
    // used one; without a complete row the surfaces stay as they were.
    void enablingRule_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<bool>("compute");
        QTest::addColumn<bool>("saveAndClear");
        QTest::newRow("all empty") << Rows{} << false << false;
        QTest::newRow("areas of 0 with descriptions") << Rows{{"Camera", 0}, {"Bagno", 0}} << false << true;
        QTest::newRow("an area without description") << Rows{{"", 12.5}} << false << true;
        QTest::newRow("one complete row") << Rows{{"", 3}, {"Garage", 12}} << true << true;
    }
    void enablingRule()
    {
        QFETCH(Rows, rows);
        QFETCH(bool, compute);
        QFETCH(bool, saveAndClear);
        ops->setUsefulValue("99");
        ops->setConventionalValue("98");
        ops->setCommercialValue("97");
        enter(rows);
        clickCell(2);
        QCOMPARE(page()->computeButton->isEnabled(), compute);
        QCOMPARE(page()->saveTableButton->isEnabled(), saveAndClear);
        QCOMPARE(page()->clearTableButton->isEnabled(), saveAndClear);
        if (compute) {
            // "Garage" is no room name: everything computes to 0.
            QCOMPARE(values(), (QStringList{"0", "0", "0"}));
            QCOMPARE(shownTexts(), (QStringList{"0,00  mq", "0,00  mq", "0,00  mq"}));
        } else {
            QCOMPARE(values(), (QStringList{"99", "98", "97"}));
            QCOMPARE(shownTexts(), (QStringList{"99,00  mq", "98,00  mq", "97,00  mq"}));
            QVERIFY(requests.isEmpty());
        }
    }

    // The rule runs on a mouse release over the grid, on leaving a column and
    // on a click in a shown surface field.
    void enablingEvents_data()
    {
        QTest::addColumn<int>("event");
        QTest::newRow("mouse released over the grid") << 0;
        QTest::newRow("current column left") << 1;
        QTest::newRow("shown field clicked") << 2;
    }
    void enablingEvents()
    {
        QFETCH(int, event);
        page()->grid->setCurrentIndex(model()->index(0, 0));
        enter({{"Camera", 20}});
        QVERIFY(!page()->computeButton->isEnabled());
        switch (event) {
        case 0: clickCell(3); break;
        case 1: page()->grid->setCurrentIndex(model()->index(0, 1)); break;
        default: QTest::mouseClick(page()->conventionalEdit, Qt::LeftButton); break;
        }
        QVERIFY(page()->computeButton->isEnabled());
        QCOMPARE(ops->usefulValue(), QStringLiteral("20"));
        // Moving along one column is not leaving it.
        ops->setUsefulValue({});
        if (event == 1) {
            page()->grid->setCurrentIndex(model()->index(1, 1));
            QCOMPARE(ops->usefulValue(), QString());
        }
    }

    // Copy and cut follow the row released on; the buffer survives pastes.
    void rowBuffer()
    {
        enter({{"Camera", 12.5}, {"", 7}, {"Bagno", 3}, {"", 0}});
        QVERIFY(!page()->pasteRowButton->isEnabled());
        clickCell(3);
        QVERIFY(!page()->copyRowButton->isEnabled());
        QVERIFY(!page()->cutRowButton->isEnabled());
        clickCell(0);
        QVERIFY(page()->copyRowButton->isEnabled());
        QVERIFY(page()->cutRowButton->isEnabled());

        click(page()->copyRowButton);
        QCOMPARE(ops->bufferDescription(), QStringLiteral("Camera"));
        QCOMPARE(ops->bufferArea(), QStringLiteral("12,5"));
        QVERIFY(page()->pasteRowButton->isEnabled());
        clickCell(3);
        click(page()->pasteRowButton);
        clickCell(5);
        click(page()->pasteRowButton);
        QCOMPARE(tableRows(working()).mid(0, 6),
                 (Rows{{"Camera", 12.5}, {"", 7}, {"Bagno", 3}, {"Camera", 12.5}, {"", 0}, {"Camera", 12.5}}));

        // Cut a row with an area and no description: only the area pastes.
        clickCell(1);
        click(page()->cutRowButton);
        QCOMPARE(ops->bufferDescription(), QString());
        QCOMPARE(ops->bufferArea(), QStringLiteral("7"));
        QCOMPARE(model()->data(model()->index(1, 0)).toString(), QString());
        // The cut row's area is 0, and shows so; rows never written stay blank.
        QCOMPARE(model()->data(model()->index(1, 1)).toString(), QStringLiteral("0"));
        QCOMPARE(model()->data(model()->index(model()->rowCount() - 1, 1)).toString(), QString());
        clickCell(2);
        click(page()->pasteRowButton);
        QCOMPARE(tableRows(working()).mid(0, 3), (Rows{{"Camera", 12.5}, {"", 0}, {"Bagno", 7}}));
        QVERIFY(page()->pasteRowButton->isEnabled());
        // Pasting computes nothing; the next release over the grid does.
        QCOMPARE(ops->usefulValue(), QStringLiteral("40,5"));
        clickCell(0);
        QCOMPARE(ops->usefulValue(), QStringLiteral("44,5"));
    }

    // An area being typed when a command runs is counted.
    void openEditorIsCommitted()
    {
        enter({{"Camera", 20}});
        clickCell(0);
        QCOMPARE(ops->usefulValue(), QStringLiteral("20"));
        const QModelIndex area = model()->index(0, 1);
        page()->grid->setCurrentIndex(area);
        page()->grid->edit(area);
        QWidget *editor = page()->grid->indexWidget(area);
        QVERIFY(editor);
        auto *edit = qobject_cast<QLineEdit *>(editor);
        QVERIFY(edit);
        edit->selectAll();
        QTest::keyClicks(edit, "30");
        click(page()->computeButton);
        QCOMPARE(ops->usefulValue(), QStringLiteral("30"));
    }

    // Save, clear, open: the dialogs as the user sees them, the rows through
    // real files, the lights after open and clear.
    void saveClearOpenRoundTrip()
    {
        enter({{"Camera", 20}, {"Soggiorno", 25}, {"Cantina", 4}});
        clickCell(0);
        const QString chosen = f->path("Superfici casa"); // no extension typed
        Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return chosen; });

        click(page()->saveTableButton);
        QCOMPARE(Messages::fileRequests().size(), 1);
        const ui::FileDialogRequest save = Messages::fileRequests().at(0);
        QCOMPARE(save.title, QStringLiteral("Salva tabella descrizione superfici"));
        QCOMPARE(save.filter, QStringLiteral("Descrizione superfici (*.db) (Superfici*.db)"));
        QCOMPARE(save.suggested, QStringLiteral("Superfici 01.db"));
        QVERIFY(save.save);
        QCOMPARE(save.directory, QDir::currentPath());
        const Rows saved = tableRows(chosen + ".db");
        QCOMPARE(saved.mid(0, 3), (Rows{{"Camera", 20}, {"Soggiorno", 25}, {"Cantina", 4}}));
        QCOMPARE(saved.size(), 36);
        QCOMPARE(model()->rowCount(), 36);
        QVERIFY(Messages::shown().isEmpty());
        QVERIFY(!requests.contains("ImpostaSemaforiTreeView"));

        // Clear, confirmed.
        ui::setComboText(accessory(), "Buono");
        f->answer = true;
        click(page()->clearTableButton);
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().at(0).kind, Messages::Shown::Confirm);
        QCOMPARE(Messages::shown().at(0).text, QStringLiteral("Si conferma l'eliminazione del contenuto della tabella?"));
        QCOMPARE(tableRows(working()), Rows(25, qMakePair(QString(), 0.0)));
        QCOMPARE(model()->rowCount(), 25);
        for (QToolButton *b : {page()->saveTableButton, page()->clearTableButton, page()->copyRowButton,
                               page()->cutRowButton, page()->computeButton})
            QVERIFY(!b->isEnabled());
        QVERIFY(page()->openTableButton->isEnabled());
        QCOMPARE(values(), (QStringList{"", "", ""}));
        QCOMPARE(shownTexts(), (QStringList{"", "", ""}));
        QCOMPARE(accessory()->currentText(), QString());
        QCOMPARE(requests.last(), QStringLiteral("ImpostaSemaforiTreeView"));

        // Open the saved table (the user types the name without extension).
        requests.clear();
        click(page()->openTableButton);
        QCOMPARE(Messages::fileRequests().size(), 2);
        const ui::FileDialogRequest open = Messages::fileRequests().at(1);
        QCOMPARE(open.title, QStringLiteral("Carica tabella descrizione superfici"));
        QCOMPARE(open.filter, QStringLiteral("Descrizione superfici (*.db) (Superfici*.db)"));
        QVERIFY(!open.save);
        QCOMPARE(tableRows(working()), saved);
        QCOMPARE(model()->rowCount(), 36);
        QCOMPARE(model()->tableFile(), working());
        QCOMPARE(values(), (QStringList{"45", "55", "47"}));
        QVERIFY(page()->computeButton->isEnabled());
        QVERIFY(page()->saveTableButton->isEnabled());
        QCOMPARE(requests, (QStringList{"CalcolaRedditoLordoAnnuo", "ImpostaSemaforiTreeView"}));
        QCOMPARE(Messages::shown().size(), 1);
    }

    // Cancelling the clear changes nothing.
    void clearCancelled()
    {
        enter({{"Camera", 20}});
        clickCell(0);
        const Rows before = tableRows(working());
        const QStringList valuesBefore = values();
        ui::setComboText(accessory(), "Buono");
        requests.clear();
        f->answer = false;
        click(page()->clearTableButton);
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(tableRows(working()), before);
        QCOMPARE(model()->rowCount(), 36);
        QCOMPARE(values(), valuesBefore);
        QCOMPARE(accessory()->currentText(), QStringLiteral("Buono"));
        QVERIFY(page()->clearTableButton->isEnabled());
        QVERIFY(page()->computeButton->isEnabled());
        QVERIFY(requests.isEmpty());
    }

    // A file that is not a surfaces table: the message with its path, the
    // working table keeps its name and rows; the rule and the lights run.
    void openFailure_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("not a database") << 0;
        QTest::newRow("a zone table") << 1;
        QTest::newRow("damaged pages") << 2;
        QTest::newRow("missing file") << 3;
        QTest::newRow("another database") << 4;
    }
    void openFailure()
    {
        QFETCH(int, kind);
        const QString chosen = f->path("Superfici altro.db");
        switch (kind) {
        case 0: fixtures::writeBytes(chosen, QByteArray(8192, 'x')); break;
        case 1: {
            Table::create(chosen, zonesLayout());
            Table::open(chosen).append({"Trento", "Trento", "Centro"});
            break;
        }
        case 2: {
            Rows many;
            for (int i = 0; i < 500; ++i)
                many << qMakePair(QStringLiteral("Camera numero %1 del piano alto").arg(i), double(i));
            makeSurfacesFile(chosen, many);
            fixtures::damage(chosen);
            break;
        }
        case 3: break;
        default:
            fixtures::foreignDatabase(chosen, "CREATE TABLE t(a, b); INSERT INTO t VALUES('Camera', 20);");
            break;
        }
        enter({{"Bagno", 6}});
        const Rows before = tableRows(working());
        Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return chosen; });
        click(page()->openTableButton);
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().at(0).kind, Messages::Shown::Warning);
        QCOMPARE(Messages::shown().at(0).text,
                 QStringLiteral("La tabella %1 potrebbe essere:\ngià in uso, inesistente o in un formato non valido.")
                     .arg(QDir::toNativeSeparators(chosen)));
        QCOMPARE(tableRows(working()), before);
        QCOMPARE(model()->tableFile(), working());
        QCOMPARE(model()->rowCount(), 36);
        // The enabling rule ran on what the table holds.
        QCOMPARE(ops->usefulValue(), QStringLiteral("6"));
        QCOMPARE(requests.last(), QStringLiteral("ImpostaSemaforiTreeView"));
    }

    // A cancelled open dialog still reopens the table, runs the rule and the lights.
    void openCancelled()
    {
        enter({{"Bagno", 6}});
        Messages::setFileAnswers([](const ui::FileDialogRequest &) { return QString(); });
        click(page()->openTableButton);
        QCOMPARE(model()->rowCount(), 36);
        QCOMPARE(ops->usefulValue(), QStringLiteral("6"));
        QCOMPARE(requests, (QStringList{"CalcolaRedditoLordoAnnuo", "ImpostaSemaforiTreeView"}));
        QVERIFY(Messages::shown().isEmpty());
    }

    // Saving where nothing can be written: the message, no file, the table as it was.
    void saveFailure_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("read-only folder") << 0;
        QTest::newRow("missing folder") << 1;
    }
    void saveFailure()
    {
        QFETCH(int, kind);
        const QString folder = kind == 0 ? fixtures::readOnlyFolder(f->path("scratch")) : f->path("nowhere/deeper");
        const QString chosen = folder + "/Superfici 01.db";
        enter({{"Bagno", 6}});
        clickCell(0);
        const Rows before = tableRows(working());
        Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return chosen; });
        click(page()->saveTableButton);
        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().at(0).text,
                 QStringLiteral("La tabella %1 è già in uso. \nSalvare la tabella con un altro nome.")
                     .arg(QDir::toNativeSeparators(chosen)));
        QVERIFY(!QFileInfo::exists(chosen));
        if (kind == 0 && folder != QStringLiteral("/proc"))
            QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(tableRows(working()), before);
        QCOMPARE(model()->rowCount(), 36);
        QCOMPARE(model()->tableFile(), working());
    }

    // Saving over an existing table replaces it without a question, and the
    // temporary files an interrupted write left in that folder go.
    void saveReplaces()
    {
        const QString chosen = f->path("Superfici 01.db");
        makeSurfacesFile(chosen, {{"Salone", 90}});
        for (const char *left : {".Superfici 01.db.x1Y2z3", ".Superfici 01.db.x1Y2z3-journal"})
            fixtures::writeBytes(f->path(left), "avanzo");
        enter({{"Bagno", 6}});
        clickCell(0);
        Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return chosen; });
        click(page()->saveTableButton);
        QVERIFY(Messages::shown().isEmpty());
        QCOMPARE(tableRows(chosen).first(), qMakePair(QStringLiteral("Bagno"), 6.0));
        QCOMPARE(tableRows(chosen).size(), 36);
        QVERIFY(!QFileInfo::exists(f->path(".Superfici 01.db.x1Y2z3")));
        QVERIFY(!QFileInfo::exists(f->path(".Superfici 01.db.x1Y2z3-journal")));
    }

    // Values restored from elsewhere show formatted; emptied values show nothing.
    void valueSetters_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("85,5") << "85,5" << "85,50  mq";
        QTest::newRow("0") << "0" << "0,00  mq";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("not a number is shown as it is") << "abc" << "abc";
    }
    void valueSetters()
    {
        QFETCH(QString, value);
        QFETCH(QString, shown);
        ops->setCommercialValue(value);
        QCOMPARE(ops->commercialValue(), value);
        QCOMPARE(page()->commercialEdit->text(), shown);
    }
};

QTEST_MAIN(TestSurfacesOps)
#include "tst_surfacesops.moc"
