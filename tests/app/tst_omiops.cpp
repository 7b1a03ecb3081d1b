// SPDX-License-Identifier: GPL-2.0-or-later
// The OMI comparison in the running program: its two ways in, the window
// driven by its controls' names with the proposals from the pages, what it
// says when a quotation is missing, the companion saved, reopened and emptied
// with the appraisal, a damaged companion named, the report page offered only
// with a band, and brevan-export's "omi".
#include "../support/savedprogram.h"
#include "../support/fixtures.h"
#include "../support/omifixtures.h"
#include "app/exportcommand.h"
#include "app/fileops.h"
#include "app/mcaops.h"
#include "app/omiops.h"
#include "app/reportops.h"
#include "files/omitable.h"
#include "omi/omitables.h"
#include "pages/descriptionpage.h"
#include "pages/mcawindow.h"
#include "pages/omiwindow.h"
#include "pages/pagekit.h"
#include "pages/positionpage.h"
#include "pages/reportpagesdialog.h"
#include "pages/resultspage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "pages/typologypage.h"
#include "data/municipalities.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QJsonDocument>
#include <QJsonArray>
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
using brevan::ui::Messages;

namespace {

struct Program : SavedProgram {
    explicit Program(const QString &where = {}) : SavedProgram(where)
    {
        const QSignalBlocker block(w()->descriptionPage->dateEdit);
        w()->descriptionPage->dateEdit->setDate(QDate(2025, 3, 1));
    }
    app::OmiOps *ops() const { return w()->omiOps; }
    // Abano Terme with its quotations imported, four rooms of 73 m², a civil
    // dwelling in good repair on an intermediate floor.
    void describeAbano()
    {
        ui::DescriptionPage *d = w()->descriptionPage;
        const int i = int(municipalities().names.indexOf(QStringLiteral("Abano Terme")));
        {
            const QSignalBlocker block(d->municipalityCombo);
            const QSignalBlocker blockEdit(d->municipalityCombo->lineEdit());
            d->municipalityCombo->setCurrentIndex(i);
            d->municipalityCombo->lineEdit()->setText(QStringLiteral("Abano Terme"));
        }
        ui::setComboText(d->postalCodeCombo, QStringLiteral("35031"));
        ui::setComboText(d->provinceCombo, QStringLiteral("Padova"));
        ui::setComboText(d->provinceCodeCombo, QStringLiteral("PD"));
        ui::setComboText(d->categoryCombo, QStringLiteral("A/2"));
        ui::setComboText(w()->typologyPage->repairInsideCombo, QStringLiteral("Buono"));
        ui::setComboText(w()->positionPage->streetLevelCombo, QStringLiteral("Piano intermedio"));
        omi::Quotations q;
        q.add(omi::parseQuotations(omifixtures::valuesFile("2024/2", omifixtures::abanoValues()).toUtf8(),
                                   "QI_1_1_20242_VALORI.csv"));
        q.add(omi::parseQuotations(omifixtures::zonesFile("2024/2", omifixtures::abanoZones()).toUtf8(),
                                   "QI_1_1_20242_ZONE.csv"));
        omi::importQuotations(q, dataFolder(), {});
        ui::TableModel *model = w()->surfacesPage->model();
        model->close();
        Table::write(dataPath(kDescrSup), surfacesLayout(),
                     {{QStringLiteral("Soggiorno"), 30.0}, {QStringLiteral("Camera"), 20.0},
                      {QStringLiteral("Cucina"), 15.0}, {QStringLiteral("Bagno"), 8.0}});
        model->reload();
    }
    ui::OmiWindow *window()
    {
        w()->omiAction->trigger();
        return ops()->window();
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

// Chooses an item of one of the window's combos, by its data, as a user does.
void choose(ui::OmiWindow *window, const char *name, const QString &data)
{
    auto *combo = window->findChild<QComboBox *>(QLatin1String(name));
    QVERIFY2(combo, name);
    const int at = combo->findData(data);
    QVERIFY2(at >= 0, qPrintable(data));
    combo->setCurrentIndex(at);
    Q_EMIT combo->activated(at);
}

QString detail(ui::OmiWindow *window)
{
    return window->findChild<QLabel *>(QStringLiteral("OmiDettaglio"))->text();
}

QString pdfText(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                           path, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestOmiOps : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }
    void twoWaysIn();
    void windowProposesAndComputes();
    void missingQuotationSaysWhich();
    void savedOpenedAndEmptied();
    void damagedCompanion();
    void reportPageOnlyWithABand();
    void exportCarriesTheBand();
};

void TestOmiOps::twoWaysIn()
{
    Program p;
    app::MainWindow *w = p.w();
    QVERIFY(!p.ops()->window()); // built at first use
    ui::ResultsPage *results = w->resultsPage;
    const QRect mcaBefore = results->mcaButton->geometry();
    w->show();
    w->showPageCommand(12);
    // The button sits after "Stima MCA…", which stays where it was.
    QCOMPARE(results->mcaButton->geometry(), mcaBefore);
    QCOMPARE(results->omiButton->text(), QStringLiteral("Confronto con le quotazioni OMI…"));
    QVERIFY(results->omiButton->x() >= mcaBefore.right());
    QTest::mouseClick(results->omiButton, Qt::LeftButton);
    ui::OmiWindow *window = p.ops()->window();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(!window->isModal());
    QCOMPARE(window->windowTitle(), QStringLiteral("Confronto con le quotazioni OMI"));
    window->hide();
    QMenu *view = w->menuBar()->actions().at(2)->menu();
    QVERIFY(view->actions().contains(w->omiAction));
    QCOMPARE(w->omiAction->text(), QStringLiteral("Confronto con le quotazioni OMI…"));
    w->omiAction->trigger();
    QCOMPARE(p.ops()->window(), window);
    QVERIFY(window->isVisible());
    // Without a municipality there is nothing to choose from, and nothing is chosen.
    QCOMPARE(window->findChild<QLabel *>(QStringLiteral("OmiProvenienza"))->text(),
             QStringLiteral("Scegliere il Comune nella pagina della descrizione."));
    QVERIFY(!p.ops()->hasChoice());
}

void TestOmiOps::windowProposesAndComputes()
{
    Program p;
    p.describeAbano();
    // 193.627.000 Lire are 100.000 €: inside a band of 73 m² × 1.150 … 1.650 €/m².
    p.w()->resultsPage->incomeTotalEdit->setText(QStringLiteral("193.627.000"));
    ui::OmiWindow *window = p.window();
    QCOMPARE(window->findChild<QComboBox *>(QStringLiteral("OmiTipologia"))->currentData().toString(),
             QStringLiteral("20"));
    QCOMPARE(window->findChild<QComboBox *>(QStringLiteral("OmiStato"))->currentData().toString(),
             QStringLiteral("NORMALE"));
    QCOMPARE(window->findChild<QComboBox *>(QStringLiteral("OmiPiano"))->currentData().toString(),
             QStringLiteral("Piano intermedio"));
    QCOMPARE(window->findChild<QComboBox *>(QStringLiteral("OmiSemestre"))->count(), 2); // latest, 2024/2
    QVERIFY(detail(window).contains(QStringLiteral("Nessuna quotazione OMI senza una zona OMI scelta.")));
    QVERIFY(!p.ops()->hasChoice()); // proposals are no choice

    choose(window, "OmiZona", QStringLiteral("B1"));
    QVERIFY(p.ops()->hasChoice());
    const QString text = detail(window);
    QVERIFY2(text.contains(QStringLiteral("Semestre 2024/2, zona B1 CENTRO URBANO, Abitazioni civili, stato NORMALE")),
             qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Agenzia Entrate - OMI")));
    QVERIFY(text.contains(QStringLiteral("73,00 m² (superficie catastale, DPR 138/98)")));
    QVERIFY(text.contains(QStringLiteral("83.950,00 € – 120.450,00 €")));
    // 73 m²: K1 0,5; intermediate floor K2 0,5; K 0,5: 73 × 1.400 = 102.200 €.
    QVERIFY(text.contains(QStringLiteral("102.200,00 €")));
    QVERIFY(text.contains(QStringLiteral("comunemente riportati")));
    QVERIFY2(text.contains(QStringLiteral("<b>Capitalizzazione dei redditi:</b></td><td>100.000,00 €: "
                                          "all'interno della fascia")),
             qPrintable(text.right(600)));
    QVERIFY(text.contains(QStringLiteral("<b>Comparazione diretta:</b></td><td>non calcolato")));
    QCOMPARE(window->findChild<QLabel *>(QStringLiteral("OmiFonte"))->text(),
             QStringLiteral("Fonte: Agenzia Entrate - OMI"));
    QVERIFY(window->findChild<ui::OmiBandView *>(QStringLiteral("OmiDisegno")));
    // The MCA window's other values carry the band too.
    const QStringList lines = p.ops()->bandLines();
    QCOMPARE(lines.value(0), QStringLiteral("Fascia OMI (2024/2): 83.950,00 € – 120.450,00 €"));
    QCOMPARE(lines.last(), QStringLiteral("Fonte: Agenzia Entrate - OMI"));
    p.w()->mcaAction->trigger();
    const QString others = p.w()->mcaOps->window()->othersLabel->text();
    QVERIFY2(others.contains(QStringLiteral("Fascia OMI (2024/2): 83.950,00 € – 120.450,00 €")), qPrintable(others));
    QVERIFY(others.contains(QStringLiteral("Valore normale OMI: 102.200,00 €")));
    QVERIFY(others.contains(QStringLiteral("Fonte: Agenzia Entrate - OMI")));

    // A floor not given: no K2, no valore normale, the band stays.
    choose(window, "OmiPiano", QString());
    QVERIFY(detail(window).contains(QStringLiteral("piano non indicato")));
    QVERIFY(!p.ops()->outcome()->valoreNormale);
    QVERIFY(p.ops()->outcome()->hasBand());
}

void TestOmiOps::missingQuotationSaysWhich()
{
    Program p;
    p.describeAbano();
    ui::OmiWindow *window = p.window();
    choose(window, "OmiZona", QStringLiteral("B1"));
    choose(window, "OmiStato", QStringLiteral("SCADENTE"));
    QVERIFY(detail(window).contains(
        QStringLiteral("Nessuna quotazione OMI per lo stato SCADENTE della tipologia 20 nella zona B1.")));
    QVERIFY(!p.ops()->outcome()->hasBand());
    QVERIFY(p.ops()->bandLines().isEmpty());
    // A surface of zero: the quotation is found, no band.
    choose(window, "OmiStato", QStringLiteral("NORMALE"));
    QVERIFY(p.ops()->outcome()->hasBand());
    ui::TableModel *model = p.w()->surfacesPage->model();
    model->close();
    rebuildTable(dataPath(kDescrSup), surfacesLayout(), 25);
    model->reload();
    QVERIFY(!p.ops()->outcome()->hasBand());
    QCOMPARE(p.ops()->outcome()->noBand, QStringLiteral("Superficie catastale pari a zero: nessuna fascia."));
}

void TestOmiOps::savedOpenedAndEmptied()
{
    Program p;
    p.describeAbano();
    p.save(QStringLiteral("Stima - Senza.db"));
    QVERIFY(!QFileInfo::exists(p.inFolder(QStringLiteral("OMI - Senza.db"))));
    choose(p.window(), "OmiZona", QStringLiteral("C1"));
    const omiband::Choice chosen = p.ops()->stored().choice;
    p.save(QStringLiteral("Stima - Via Roma 1.db"));
    QVERIFY(QFileInfo::exists(p.inFolder(QStringLiteral("OMI - Via Roma 1.db"))));
    const files::StoredOmi stored = files::readOmiTable(p.inFolder(QStringLiteral("OMI - Via Roma 1.db")));
    QVERIFY(stored.choice == chosen);
    QVERIFY(stored.quote);
    QCOMPARE(stored.quote->min, 1150.0);

    p.newAppraisal();
    QVERIFY(!p.ops()->hasChoice());
    QCOMPARE(p.ops()->window()->choice().zone, QString());
    p.open(QStringLiteral("Stima - Via Roma 1.db"));
    QVERIFY(p.warnings().isEmpty());
    QVERIFY(p.ops()->stored().choice == chosen);
    QCOMPARE(p.ops()->window()->choice().zone, QStringLiteral("C1"));
    p.open(QStringLiteral("Stima - Senza.db"));
    QVERIFY(!p.ops()->hasChoice());
}

void TestOmiOps::damagedCompanion()
{
    Program p;
    p.describeAbano();
    choose(p.window(), "OmiZona", QStringLiteral("B1"));
    p.save(QStringLiteral("Stima - Via Po 3.db"));
    fixtures::damage(p.inFolder(QStringLiteral("OMI - Via Po 3.db")));
    p.newAppraisal();
    p.describeAbano();
    choose(p.window(), "OmiZona", QStringLiteral("C1"));
    p.open(QStringLiteral("Stima - Via Po 3.db"));
    QCOMPARE(p.warnings(), QStringList{app::FileOps::unreadableOmiText(QStringLiteral("OMI - Via Po 3.db"))});
    // Nothing of the other appraisal stays behind.
    QVERIFY(!p.ops()->hasChoice());
}

void TestOmiOps::reportPageOnlyWithABand()
{
    Program p;
    p.describeAbano();
    app::ReportOps *report = p.w()->reportOps;
    ui::ReportPagesDialog *dialog = report->selectionDialog();
    const auto offered = [&] {
        bool shown = false;
        QTimer::singleShot(0, this, [&] {
            shown = dialog->omiBox->isVisible();
            dialog->closeButton->click();
        });
        report->SpeedButton65Click();
        return shown;
    };
    QVERIFY(!offered());
    choose(p.window(), "OmiZona", QStringLiteral("B1"));
    choose(p.window(), "OmiStato", QStringLiteral("SCADENTE"));
    QVERIFY(!offered()); // a choice without a band
    choose(p.window(), "OmiStato", QStringLiteral("NORMALE"));
    QVERIFY(offered());
    QCOMPARE(dialog->omiBox->text(), QStringLiteral("Quotazioni OMI"));

    QTemporaryDir dir;
    report::ReportSelection only = report::ReportSelection::none();
    only.omi = true;
    QString error;
    QVERIFY2(report->writePdf(dir.filePath("r.pdf"), only, &error), qPrintable(error));
    const QString text = pdfText(dir.filePath("r.pdf"));
    QVERIFY2(text.contains(QStringLiteral("Quotazioni OMI")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Agenzia Entrate - OMI")));
    QVERIFY(text.contains(QStringLiteral("83.950,00 €")));
    QVERIFY(text.contains(QStringLiteral("Valore normale")));
}

void TestOmiOps::exportCarriesTheBand()
{
    QTemporaryDir dir;
    {
        Program p(dir.path());
        p.describeAbano();
        choose(p.window(), "OmiZona", QStringLiteral("B1"));
        p.save(QStringLiteral("Stima - Con.db"));
        p.newAppraisal();
        p.save(QStringLiteral("Stima - Senza.db"));
    }
    const auto run = [](const QStringList &args) {
        QString out, err;
        QTextStream o(&out), e(&err);
        const int status = app::runExportCommand(args, o, e);
        o.flush();
        e.flush();
        return std::make_tuple(status, out, err);
    };
    // The export's data folder has no quotations: the band comes from the
    // quotation saved with the appraisal.
    auto [status, out, err] = run({dir.filePath("Stima - Con.db"), QStringLiteral("--json")});
    QVERIFY2(status == app::ExportOk, qPrintable(err));
    const QJsonObject omi = QJsonDocument::fromJson(out.toUtf8()).object().value(QStringLiteral("omi")).toObject();
    QCOMPARE(omi.value(QStringLiteral("fonte")).toString(), QStringLiteral("Agenzia Entrate - OMI"));
    QCOMPARE(omi.value(QStringLiteral("zona")).toString(), QStringLiteral("B1"));
    QCOMPARE(omi.value(QStringLiteral("semestre")).toString(), QStringLiteral("2024/2"));
    QCOMPARE(omi.value(QStringLiteral("superficie")).toDouble(), 73.0);
    QCOMPARE(omi.value(QStringLiteral("fasciaMin")).toDouble(), 83950.0);
    QCOMPARE(omi.value(QStringLiteral("fasciaMax")).toDouble(), 120450.0);
    QCOMPARE(omi.value(QStringLiteral("K")).toDouble(), 0.5);
    QCOMPARE(omi.value(QStringLiteral("valoreNormale")).toDouble(), 102200.0);
    QCOMPARE(omi.value(QStringLiteral("valori")).toArray().size(), 3);

    std::tie(status, out, err) = run({dir.filePath("Stima - Senza.db"), QStringLiteral("--json")});
    QCOMPARE(status, int(app::ExportOk));
    const QJsonObject root = QJsonDocument::fromJson(out.toUtf8()).object();
    QVERIFY(root.contains(QStringLiteral("omi")));
    QVERIFY(root.value(QStringLiteral("omi")).isNull());
}

QTEST_MAIN(TestOmiOps)
#include "tst_omiops.moc"
