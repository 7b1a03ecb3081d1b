// SPDX-License-Identifier: GPL-2.0-or-later
// The market comparison in the running program: its two ways in, the window
// built at first use, the subject proposed from the pages, the companion
// table saved, reopened and emptied with the appraisal, the report page
// offered only with a comparison, and brevan-export carrying it.
#include "../support/mcafixtures.h"
#include "../support/appfixture.h"
#include "../support/fixtures.h"
#include "app/application.h"
#include "app/exportcommand.h"
#include "app/fileops.h"
#include "app/mcaops.h"
#include "app/reportops.h"
#include "app/surfacesops.h"
#include "pages/comparablespage.h"
#include "store/datafolder.h"
#include "files/mcatable.h"
#include "model/numbertext.h"
#include "pages/appraiserpage.h"
#include "pages/descriptionpage.h"
#include "pages/mcadatatable.h"
#include "pages/mcawindow.h"
#include "pages/pagekit.h"
#include "pages/reportpagesdialog.h"
#include "pages/resultspage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "pages/typologypage.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>

using namespace brevan;
using brevan::mca::Row;
using brevan::ui::Messages;

namespace {

const QDate kValuation(2024, 1, 20);

mca::Sheet exampleSheet()
{
    mca::Sheet s = fixtures::mcaExampleSheet();
    s.subjectEdited = true;
    s.comparables[1].setText(Row::Address, QStringLiteral("Via Manin 11"));
    return s;
}

// The running program, its file dialogs answered from a list.
struct Program {
    AppFixture app{app::Operations::Wired};
    QStringList files;
    QString appraisals; // the folder the appraisals are saved in

    explicit Program(const QString &where = {}) : appraisals(where.isEmpty() ? app.path(QStringLiteral("stime")) : where)
    {
        Messages::setFileAnswers([this](const ui::FileDialogRequest &) { return files.isEmpty() ? QString() : files.takeFirst(); });
        // An appraisal opened over a comparison typed in lets the typing go.
        Messages::setQuestionAnswers([](const Messages::Shown &) { return ui::Answer::No; });
        const QSignalBlocker block(w()->descriptionPage->dateEdit);
        w()->descriptionPage->dateEdit->setDate(kValuation);
        QDir().mkpath(folder());
    }
    app::MainWindow *w() const { return app.window.get(); }
    app::McaOps *ops() const { return w()->mcaOps; }
    QString folder() const { return appraisals; }
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
    void newAppraisal()
    {
        app.answer = true;
        w()->newAction->trigger();
    }
    // The comparison typed in: the window's sheet replaced as a whole.
    void giveComparison(const mca::Sheet &s)
    {
        if (!ops()->window())
            ops()->StimaMCA1Click();
        ops()->window()->setSheet(s);
    }
    QStringList warnings() const
    {
        QStringList out;
        for (const Messages::Shown &s : Messages::shown()) {
            if (s.kind != Messages::Shown::Confirm && s.kind != Messages::Shown::Question)
                out << s.text;
        }
        return out;
    }
};

QString pdfText(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path,
                                           QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestMcaOps : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }
    void twoWaysIn();
    void buttonMovesNoControlOfTheResultsPage();
    void subjectFollowsThePages();
    void directComparisonExplained();
    void directComparisonWithoutACompleteComparable();
    void proposalNeverEmptiesWhatTheUserWrote();
    void headingNamesTheAppraisal();
    void savedOpenedAndEmptied();
    void appraisalWithoutAComparison();
    void damagedCompanion();
    void reportPageOfferedOnlyWithAComparison();
    void exportCarriesTheComparison();
};

void TestMcaOps::twoWaysIn()
{
    Program p;
    app::MainWindow *w = p.w();
    QVERIFY(!p.ops()->window()); // built at first use
    w->show();
    w->showPageCommand(12);
    QTest::mouseClick(w->resultsPage->mcaButton, Qt::LeftButton);
    ui::McaWindow *mca = p.ops()->window();
    QVERIFY(mca);
    QVERIFY(mca->isVisible());
    QVERIFY(!mca->isModal());
    QCOMPARE(mca->parentWidget(), w);
    // The same window through "&Visualizza", after the pages.
    mca->hide();
    QMenu *view = w->menuBar()->actions().at(2)->menu();
    QCOMPARE(view->actions().last(), w->mcaAction);
    QCOMPARE(w->mcaAction->text(), QStringLiteral("Stima MCA…"));
    w->mcaAction->trigger();
    QCOMPARE(p.ops()->window(), mca);
    QVERIFY(mca->isVisible());
    // The main window stays usable beside it.
    w->showPageCommand(2);
    QCOMPARE(w->shownPage(), 2);
    QVERIFY(mca->isVisible());
}

void TestMcaOps::buttonMovesNoControlOfTheResultsPage()
{
    ui::ResultsPage withButton;
    QCOMPARE(withButton.mcaButton->text(), QStringLiteral("Stima MCA…"));
    QCOMPARE(withButton.mcaButton->parentWidget(), withButton.exportButton->parentWidget());
    const QList<QWidget *> controls{withButton.exportButton, withButton.reportPagesButton, withButton.printButton,
                                    withButton.previewButton, withButton.computeButton,  withButton.summaryEdit,
                                    withButton.resultsGroup};
    const int xs[] = {4, 28, 52, 76, 100}; // the tool row, one pixel apart
    for (int i = 0; i < 5; ++i)
        QCOMPARE(controls[i]->x(), xs[i]);
    for (const QSize size : {QSize(420, 380), QSize(603, 540)}) {
        withButton.resize(size);
        for (QWidget *c : controls) {
            if (c->parentWidget() == withButton.mcaButton->parentWidget())
                QVERIFY2(!c->geometry().intersects(withButton.mcaButton->geometry()), qPrintable(c->objectName()));
        }
        // Inside the tool row, above the summary.
        QVERIFY(withButton.mcaButton->geometry().bottom() < withButton.summaryEdit->y());
    }
}

void TestMcaOps::subjectFollowsThePages()
{
    Program p;
    app::MainWindow *w = p.w();
    ui::TableModel *m = w->surfacesPage->model();
    const QList<QPair<QString, QString>> rooms{{QStringLiteral("Camera"), QStringLiteral("16")},
                                               {QStringLiteral("Soggiorno"), QStringLiteral("28")},
                                               {QStringLiteral("Bagno"), QStringLiteral("6")},
                                               {QStringLiteral("Balcone"), QStringLiteral("8")},
                                               {QStringLiteral("Cantina"), QStringLiteral("10")}};
    for (int i = 0; i < rooms.size(); ++i) {
        m->setData(m->index(i, 0), rooms[i].first);
        m->setData(m->index(i, 1), rooms[i].second);
    }
    ui::setComboText(w->descriptionPage->floorCombo, QStringLiteral("2"));
    w->typologyPage->liftCheck->setChecked(true);
    ui::setComboText(w->typologyPage->repairInsideCombo, QStringLiteral("Sufficiente"));

    p.ops()->StimaMCA1Click();
    ui::McaWindow *mca = p.ops()->window();
    ui::McaDataTable *t = mca->dataTable;
    QCOMPARE(t->cell(0, Row::MainSurface)->text(), QStringLiteral("50,00"));
    QCOMPARE(t->cell(0, Row::Balconies)->text(), QStringLiteral("8,00"));
    QCOMPARE(t->cell(0, Row::Cellar)->text(), QStringLiteral("10,00"));
    QCOMPARE(t->cell(0, Row::Floor)->text(), QStringLiteral("2"));
    QCOMPARE(t->cell(0, Row::Lift)->checkState(), Qt::Checked);
    QCOMPARE(t->cell(0, Row::Maintenance)->text(), QStringLiteral("3"));
    QCOMPARE(t->cell(0, Row::Bathrooms)->text(), QStringLiteral("1"));
    QCOMPARE(t->cell(0, Row::SaleDate)->text(), QStringLiteral("01/2024")); // the appraisal date
    QVERIFY(!p.ops()->hasData()); // proposed, not given

    // The pages change: the proposal follows at the next opening.
    m->setData(m->index(5, 0), QStringLiteral("Studio"));
    m->setData(m->index(5, 1), QStringLiteral("12"));
    p.ops()->StimaMCA1Click();
    QCOMPARE(t->cell(0, Row::MainSurface)->text(), QStringLiteral("62,00"));

    // Once the user writes in the subject's column, the pages no longer do.
    t->cell(0, Row::MainSurface)->setText(QStringLiteral("65"));
    QVERIFY(p.ops()->sheet().subjectEdited);
    QVERIFY(p.ops()->hasData());
    m->setData(m->index(6, 0), QStringLiteral("Camera"));
    m->setData(m->index(6, 1), QStringLiteral("14"));
    p.ops()->StimaMCA1Click();
    QCOMPARE(t->cell(0, Row::MainSurface)->text(), QStringLiteral("65"));
    // Until they ask for the pages' values again, and agree to lose theirs.
    QStringList asked;
    Messages::setQuestionAnswers([&asked](const Messages::Shown &shown) {
        asked << shown.text;
        return ui::Answer::Yes;
    });
    QTest::mouseClick(mca->proposeButton, Qt::LeftButton);
    QCOMPARE(asked, QStringList{QStringLiteral("Sostituire con i dati delle pagine i valori scritti nella colonna del "
                                               "soggetto?\nCambierebbero: Superficie principale S₁ (m²).")});
    QCOMPARE(t->cell(0, Row::MainSurface)->text(), QStringLiteral("76,00"));
    QVERIFY(!p.ops()->sheet().subjectEdited);
}

void TestMcaOps::directComparisonExplained()
{
    Program p;
    app::MainWindow *w = p.w();
    p.ops()->StimaMCA1Click();
    // Nothing on the results page yet: nothing to explain.
    QCOMPARE(p.ops()->window()->fitView->rowCount(), 0);

    ui::TableModel *m = w->surfacesPage->model();
    m->setData(m->index(0, 0), QStringLiteral("Camera"));
    m->setData(m->index(0, 1), QStringLiteral("80"));
    w->surfacesOps->AttivaSpeedButtonCalcolaSuperfici();
    {
        Table t = Table::open(dataPath(kImmConfr));
        t.append({QStringLiteral("Via Verdi"), QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("2"),
                  QStringLiteral("80"), QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"),
                  QStringLiteral("20"), QStringLiteral("1.000.000,00")});
        t.append({QStringLiteral("Via Rossi"), QStringLiteral("5"), QStringLiteral("1"), QStringLiteral("2"),
                  QStringLiteral("80"), QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"),
                  QStringLiteral("30"), QStringLiteral("1.200.000,00")});
    }
    w->comparablesPage->model()->reload();
    w->showPageCommand(12);
    QVERIFY(!w->resultsPage->comparisonUnitEdit->text().isEmpty());
    p.ops()->StimaMCA1Click();
    ui::McaWindow *mca = p.ops()->window();
    QCOMPARE(mca->fitView->rowCount(), 2);
    QCOMPARE(mca->fitView->verticalHeaderItem(1)->text(), QStringLiteral("Via Rossi 5"));
    QCOMPARE(mca->fitView->item(1, 0)->text(), QStringLiteral("60,00"));
    QCOMPARE(mca->fitView->item(0, 4)->text(), QStringLiteral("1.200.000,00")); // the value without Via Verdi
    QVERIFY(mca->fitSummary->text().startsWith(QStringLiteral("R² = 1,0000")));
    // The unit value read there is the results page's.
    QVERIFY(mca->fitSummary->text().contains(w->resultsPage->comparisonUnitEdit->text().section(QLatin1Char(','), 0, 0)));
}

void TestMcaOps::directComparisonWithoutACompleteComparable()
{
    Program p;
    app::MainWindow *w = p.w();
    p.giveComparison(exampleSheet());
    ui::TableModel *m = w->surfacesPage->model();
    m->setData(m->index(0, 0), QStringLiteral("Camera"));
    m->setData(m->index(0, 1), QStringLiteral("80"));
    w->surfacesOps->AttivaSpeedButtonCalcolaSuperfici();
    {
        // No unit cost: not complete.
        Table t = Table::open(dataPath(kImmConfr));
        t.append({QStringLiteral("Via Verdi"), QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("2"),
                  QStringLiteral("80"), QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("10"),
                  QStringLiteral("20"), QString()});
    }
    w->comparablesPage->model()->reload();
    w->showPageCommand(12);
    QCOMPARE(w->resultsPage->comparisonUnitEdit->text(), QStringLiteral("0,00")); // the page's own rule
    p.ops()->StimaMCA1Click();
    ui::McaWindow *mca = p.ops()->window();
    const QString others = mca->othersLabel->text();
    QVERIFY2(others.contains(QStringLiteral("Comparazione diretta:</td><td align=right><i>non calcolato</i>")),
             qPrintable(others));
    QVERIFY(!others.contains(QStringLiteral("0,00 €")));
    const std::optional<report::McaDocument> d = p.ops()->reportDocument();
    QVERIFY(d);
    QVERIFY(d->results.contains(QStringLiteral("Comparazione diretta: non calcolato")));
    QVERIFY(!d->results.join(QLatin1Char('\n')).contains(QStringLiteral("Comparazione diretta: 0,00")));
}

void TestMcaOps::proposalNeverEmptiesWhatTheUserWrote()
{
    Program p;
    app::MainWindow *w = p.w();
    ui::TableModel *m = w->surfacesPage->model();
    m->setData(m->index(0, 0), QStringLiteral("Camera"));
    m->setData(m->index(0, 1), QStringLiteral("16"));
    ui::setComboText(w->descriptionPage->floorCombo, QStringLiteral("2"));
    p.ops()->StimaMCA1Click();
    ui::McaDataTable *t = p.ops()->window()->dataTable;
    QCOMPARE(t->cell(0, Row::Maintenance)->text(), QString()); // the pages give no state
    t->cell(0, Row::Maintenance)->setText(QStringLiteral("4"));
    QVERIFY(p.ops()->sheet().subjectEdited);
    QStringList asked;
    Messages::setQuestionAnswers([&asked](const Messages::Shown &shown) {
        asked << shown.text;
        return ui::Answer::Yes;
    });
    QTest::mouseClick(p.ops()->window()->proposeButton, Qt::LeftButton);
    QVERIFY(asked.isEmpty()); // nothing written would change
    QCOMPARE(t->cell(0, Row::Maintenance)->text(), QStringLiteral("4"));
    QCOMPARE(p.ops()->sheet().subject.text(Row::Maintenance), QStringLiteral("4"));
    QCOMPARE(t->cell(0, Row::MainSurface)->text(), QStringLiteral("16,00"));
    QVERIFY(p.ops()->sheet().subjectEdited);
}

void TestMcaOps::headingNamesTheAppraisal()
{
    Program p;
    app::MainWindow *w = p.w();
    w->descriptionPage->addressEdit->setText(QStringLiteral("Via Roma"));
    w->descriptionPage->houseNumberEdit->setText(QStringLiteral("10"));
    w->appraiserPage->surnameEdit->setText(QStringLiteral("Rossi"));
    w->appraiserPage->firstNameEdit->setText(QStringLiteral("Mario"));
    p.giveComparison(exampleSheet());
    p.ops()->StimaMCA1Click();
    QCOMPARE(p.ops()->window()->dataTable->cell(0, Row::Address)->text(), QStringLiteral("Via Roma 10"));
    const std::optional<report::McaDocument> d = p.ops()->reportDocument();
    QVERIFY(d);
    QCOMPARE(d->heading, (QStringList{QStringLiteral("Unità immobiliare: Via Roma 10"),
                                      QStringLiteral("Professionista: Mario Rossi")}));
    QCOMPARE(d->fileTitle, QStringLiteral("Stima per confronto di mercato (MCA) - Via Roma 10 - Mario Rossi"));
    QCOMPARE(d->tables.first().rows.first().value(1), QStringLiteral("Via Roma 10"));
    // The pages change: the heading follows.
    w->descriptionPage->houseNumberEdit->setText(QStringLiteral("12"));
    p.ops()->StimaMCA1Click();
    QCOMPARE(p.ops()->window()->dataTable->cell(0, Row::Address)->text(), QStringLiteral("Via Roma 12"));
}

void TestMcaOps::savedOpenedAndEmptied()
{
    Program p;
    p.giveComparison(exampleSheet());
    const mca::Sheet given = p.ops()->sheet();
    QVERIFY(p.ops()->hasData());
    p.save(QStringLiteral("Stima - Via Roma 1.db"));
    QVERIFY(p.warnings().isEmpty());
    const QString companion = p.inFolder(QStringLiteral("MCA - Via Roma 1.db"));
    QVERIFY(QFile::exists(companion));
    QCOMPARE(files::readMcaTable(companion), given);

    // A new appraisal empties it, window included.
    p.newAppraisal();
    QVERIFY(!p.ops()->hasData());
    QCOMPARE(p.ops()->window()->dataTable->cell(1, Row::Price)->text(), QString());
    QCOMPARE(p.ops()->window()->valueLabel->text(), QStringLiteral("—"));

    // Opened again with the appraisal.
    p.open(QStringLiteral("Stima - Via Roma 1.db"));
    QVERIFY(p.warnings().isEmpty());
    QCOMPARE(p.ops()->sheet(), given);
    QCOMPARE(p.ops()->window()->dataTable->cell(2, Row::Address)->text(), QStringLiteral("Via Manin 11"));
    QCOMPARE(p.ops()->window()->valueLabel->text(), QStringLiteral("261.282,00 €"));

    // Renamed in the dialog, the appraisal keeps a comparison of its own name.
    p.save(QStringLiteral("Perizia Rossi.db"));
    QVERIFY(QFile::exists(p.inFolder(QStringLiteral("MCA - Perizia Rossi.db"))));
}

void TestMcaOps::appraisalWithoutAComparison()
{
    Program p;
    p.giveComparison(exampleSheet());
    p.save(QStringLiteral("Stima - Via Po 2.db"));
    const QString companion = p.inFolder(QStringLiteral("MCA - Via Po 2.db"));
    QVERIFY(QFile::exists(companion));

    // Saved again without a comparison under the same name: the earlier
    // table does not stay to come back with this appraisal; the same
    // all-or-nothing save replaces it with a table without rows.
    p.newAppraisal();
    {
        const QSignalBlocker block(p.w()->descriptionPage->dateEdit);
        p.w()->descriptionPage->dateEdit->setDate(kValuation);
    }
    p.save(QStringLiteral("Stima - Via Po 2.db"));
    QVERIFY(p.warnings().isEmpty());
    QVERIFY(!files::readMcaTable(companion).hasData());

    // An appraisal saved without one opens as before, with the comparison
    // of the previous appraisal gone.
    p.giveComparison(exampleSheet());
    p.open(QStringLiteral("Stima - Via Po 2.db"));
    QVERIFY(p.warnings().isEmpty());
    QVERIFY(!p.ops()->hasData());
    QCOMPARE(p.ops()->sheet().comparables.size(), 3);
}

void TestMcaOps::damagedCompanion()
{
    Program p;
    mca::Sheet big = exampleSheet();
    for (int j = 0; j < 7; ++j) {
        big.comparables.append(big.comparables[j % 3]);
        big.comparables.last().setText(Row::Source, QString(60, QLatin1Char('s')));
    }
    p.giveComparison(big);
    p.save(QStringLiteral("Stima - Via Po 3.db"));
    fixtures::damage(p.inFolder(QStringLiteral("MCA - Via Po 3.db")));
    p.newAppraisal();
    p.giveComparison(exampleSheet());
    p.open(QStringLiteral("Stima - Via Po 3.db"));
    // Named as a picture that cannot be read is; the rest of it loads.
    QCOMPARE(p.warnings(), QStringList{app::FileOps::unreadableMcaText(QStringLiteral("MCA - Via Po 3.db"))});
    // Nothing of the other appraisal stays behind in the comparison.
    QVERIFY(!p.ops()->hasData());
}

void TestMcaOps::reportPageOfferedOnlyWithAComparison()
{
    Program p;
    app::ReportOps *report = p.w()->reportOps;
    ui::ReportPagesDialog *dialog = report->selectionDialog();
    bool offered = true;
    QTimer::singleShot(0, this, [&] {
        offered = dialog->mcaBox->isVisible();
        dialog->closeButton->click();
    });
    report->SpeedButton65Click();
    QVERIFY(!offered);

    p.giveComparison(exampleSheet());
    QTimer::singleShot(0, this, [&] {
        offered = dialog->mcaBox->isVisible();
        // After the results page's box.
        offered = offered && dialog->mcaBox->y() > dialog->boxes.last()->y();
        dialog->closeButton->click();
    });
    report->SpeedButton65Click();
    QVERIFY(offered);
    QCOMPARE(dialog->mcaBox->text(), QStringLiteral("Stima MCA"));

    const QString pdf = p.app.path(QStringLiteral("report.pdf"));
    QString error;
    QVERIFY2(report->writePdf(pdf, report->selection(), &error), qPrintable(error));
    QStringList pages = pdfText(pdf).split(QLatin1Char('\f'));
    QVERIFY(pages.size() >= 12);
    QVERIFY(pages[10].contains(QStringLiteral("Risultati della stima")));
    QVERIFY(pages[11].contains(QStringLiteral("Stima MCA")));
    QVERIFY(pages.mid(11).join(QString()).contains(QStringLiteral("261.424,75")));

    // Cleared in the choice: the eleven pages only.
    dialog->mcaBox->setChecked(false);
    QVERIFY(report->writePdf(pdf, report->selection(), &error));
    pages = pdfText(pdf).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 11);
}

void TestMcaOps::exportCarriesTheComparison()
{
    // Saved by the program, then read by the command on its own.
    QTemporaryDir dir;
    const QString withMca = dir.filePath(QStringLiteral("Stima - Via Roma 9.db"));
    const QString withoutMca = dir.filePath(QStringLiteral("Stima - Via Roma 10.db"));
    {
        Program p(dir.path());
        p.giveComparison(exampleSheet());
        p.save(QStringLiteral("Stima - Via Roma 9.db"));
        p.newAppraisal();
        p.save(QStringLiteral("Stima - Via Roma 10.db"));
        QVERIFY(p.warnings().isEmpty());
    }
    const auto run = [](const QStringList &args) {
        QString out, err;
        QTextStream o(&out), e(&err);
        const int status = app::runExportCommand(args, o, e);
        o.flush();
        e.flush();
        return std::make_tuple(status, out, err);
    };
    auto [status, out, err] = run({withMca, QStringLiteral("--json")});
    QVERIFY2(status == app::ExportOk, qPrintable(err));
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(out.toUtf8(), &parse);
    QVERIFY2(parse.error == QJsonParseError::NoError, qPrintable(parse.errorString()));
    const QJsonObject mca = doc.object().value(QStringLiteral("mca")).toObject();
    QCOMPARE(mca.value(QStringLiteral("DataStima")).toString(), QStringLiteral("01/2024"));
    QCOMPARE(mca.value(QStringLiteral("Comparabili")).toArray().size(), 3);
    QCOMPARE(mca.value(QStringLiteral("Parametri")).toObject().value(QStringLiteral("SaggioVariazione")).toString(),
             QStringLiteral("-2"));
    const QJsonArray results = mca.value(QStringLiteral("Risultati")).toArray();
    QCOMPARE(results.size(), 3);
    QCOMPARE(FormattaImporto(results[0].toObject().value(QStringLiteral("PrezzoCorretto")).toDouble()),
             QStringLiteral("261.424,75"));
    QCOMPARE(FormattaImporto(results[2].toObject().value(QStringLiteral("PrezziMarginali")).toObject()
                                 .value(QStringLiteral("Piano")).toDouble()),
             QStringLiteral("1.542,29"));
    QCOMPARE(mca.value(QStringLiteral("Valore")).toDouble(), 261282.0);
    QCOMPARE(FormattaImporto(mca.value(QStringLiteral("Divergenza")).toDouble()), QStringLiteral("2,28"));

    std::tie(status, out, err) = run({withoutMca, QStringLiteral("--json")});
    QCOMPARE(status, int(app::ExportOk));
    QVERIFY(QJsonDocument::fromJson(out.toUtf8()).object().value(QStringLiteral("mca")).isNull());

    // The report page alone, by name.
    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    std::tie(status, out, err) = run({withMca, QStringLiteral("--pdf"), pdf, QStringLiteral("--pages"), QStringLiteral("11,mca")});
    QVERIFY2(status == app::ExportOk, qPrintable(err));
    const QStringList pages = pdfText(pdf).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QVERIFY(pages.size() >= 2);
    QVERIFY(pages[0].contains(QStringLiteral("Risultati della stima")));
    QVERIFY(pages[1].contains(QStringLiteral("Stima MCA")));
}

QTEST_MAIN(TestMcaOps)
#include "tst_mcaops.moc"
