// SPDX-License-Identifier: GPL-2.0-or-later
// Screenshots taken by the program itself.
//
//   shootpages OUTPUT_FOLDER [--filled]   every page at the window's smallest
//                                         and largest size, for layout review
//   shootpages OUTPUT_FOLDER --guide      the pictures of docs/guida.md: the
//                                         sample appraisal (sampleunit.h)
//                                         opened as a user opens it, one
//                                         picture per page and window, and
//                                         report.pdf for the report's pages
//
// The guide's pictures are a table (guideShots): one more window is one more
// row, a file name and the steps that bring it on screen.
#include "sampleunit.h"

#include "app/application.h"
#include "app/mainwindow.h"
#include "app/cadastralops.h"
#include "app/characteristicsops.h"
#include "app/mcaops.h"
#include "app/omiops.h"
#include "app/reportops.h"
#include "app/surfacesops.h"
#include "app/undoops.h"
#include "pages/cadastralwindow.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/comparablespage.h"
#include "pages/localisationpage.h"
#include "pages/mcawindow.h"
#include "pages/omiwindow.h"
#include "pages/messages.h"
#include "pages/omiimportdialog.h"
#include "pages/omiimporter.h"
#include "pages/reportpagesdialog.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "pages/zoneseditor.h"
#include "omi/omitables.h"
#include "store/datafolder.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>

using brevan::app::MainWindow;

namespace {

// A page reached as a user reaches it: a click on its node of the tree.
void clickNode(MainWindow &w, int n)
{
    w.node(0)->setExpanded(true);
    w.selectNode(n);
    if (n > 0)
        QTest::mouseClick(w.tree->viewport(), Qt::LeftButton, {}, w.tree->visualItemRect(w.node(n)).center());
    QTest::qWait(50);
}

struct Shot {
    const char *file;
    // Brings the window to the state to show; returns what to photograph
    // (the main window, or a dialog it opened) and leaves it on screen.
    std::function<QWidget *(MainWindow &)> show;
};

QWidget *page(MainWindow &w, int n)
{
    clickNode(w, n);
    return &w;
}

void save(QWidget *widget, const QString &path);
void fillMca(MainWindow &w);

// Where the guide's pictures go and where its sample files are written.
QString g_out;
QString g_scratch;

// The urban zones editor after "Importa OMI…" on the sample's OMI files; the
// import dialog is photographed on the way.
QWidget *omiImport(MainWindow &w)
{
    using namespace brevan;
    ui::ZonesEditor *editor = w.characteristicsOps ? w.characteristicsOps->zonesEditor() : nullptr;
    if (!editor)
        return nullptr;
    editor->show();
    if (!QTest::qWaitForWindowExposed(editor))
        return nullptr;
    ui::OmiImportDialog::setTestHandler([](ui::OmiImportDialog &dialog) {
        dialog.show();
        if (QTest::qWaitForWindowExposed(&dialog))
            save(&dialog, g_out + QStringLiteral("/14-omi-importa.png"));
        dialog.hide();
        return true;
    });
    editor->omiImporter->importFile(sample::writeOmiFiles(g_scratch + QStringLiteral("/omi")));
    ui::OmiImportDialog::setTestHandler({});
    QTest::qWait(50);
    return editor;
}

// The market comparison window on one of its tabs, with three sales typed in.
QWidget *mcaTab(MainWindow &w, int tab)
{
    if (!w.mcaOps)
        return nullptr;
    if (!w.mcaOps->window() || !w.mcaOps->window()->isVisible()) {
        w.mcaOps->StimaMCA1Click();
        fillMca(w);
    }
    brevan::ui::McaWindow *mca = w.mcaOps->window();
    mca->resize(1020, 740);
    mca->tabs->setCurrentIndex(tab);
    QTest::qWait(50);
    return mca;
}

// The "Modifica" menu open after a rent typed on the income page: "Annulla"
// ready to take it back.
QWidget *editMenu(MainWindow &w)
{
    if (!w.undoOps)
        return nullptr;
    w.selectNode(10);
    w.incomePage->unitRentEdit->setText(QStringLiteral("7,50"));
    w.undoOps->recordNow();
    QMenu *edit = w.menuBar()->actions().at(1)->menu();
    edit->popup(w.mapToGlobal(QPoint(60, 20)));
    edit->setActiveAction(w.undoAction);
    QCoreApplication::processEvents();
    return edit;
}

// The cadastral surface's window, the cellar taken as communicating with the
// rooms.
QWidget *cadastralSurface(MainWindow &w)
{
    if (!w.cadastralOps)
        return nullptr;
    w.cadastralOps->SuperficieCatastaleClick();
    brevan::ui::CadastralWindow *window = w.cadastralOps->window();
    window->resize(980, 560);
    for (int row = 0; row < window->table->rowCount(); ++row) {
        QComboBox *combo = qobject_cast<QComboBox *>(window->table->cellWidget(row, 2));
        if (combo && window->table->item(row, 0)->text() == QStringLiteral("Cantina")) {
            combo->setCurrentIndex(1);
            Q_EMIT combo->activated(1);
        }
    }
    if (!QTest::qWaitForWindowExposed(window))
        return nullptr;
    QTest::qWait(50);
    return window;
}

// "Confronto con le quotazioni OMI" on the sample's quotations, imported
// into the data folder as brevan-omi does, with zone B1 chosen.
QWidget *omiComparison(MainWindow &w)
{
    using namespace brevan;
    if (!w.omiOps)
        return nullptr;
    const QString values = sample::writeOmiFiles(g_scratch + QStringLiteral("/omi-confronto"));
    omi::Quotations quotations;
    quotations.add(omi::readQuotationFile(values));
    quotations.add(omi::readQuotationFile(omi::companionFileName(values)));
    omi::importQuotations(quotations, dataFolder(), {});
    w.omiOps->ConfrontoOMIClick();
    ui::OmiWindow *window = w.omiOps->window();
    const int b1 = window->zoneCombo->findData(QStringLiteral("B1"));
    window->zoneCombo->setCurrentIndex(b1);
    Q_EMIT window->zoneCombo->activated(b1);
    window->resize(820, 720);
    if (!QTest::qWaitForWindowExposed(window))
        return nullptr;
    QTest::qWait(50);
    return window;
}

// The guide's pictures, in the guide's order.
const std::vector<Shot> &guideShots()
{
    static const std::vector<Shot> shots{
        {"01-professionista.png", [](MainWindow &w) { return page(w, 1); }},
        {"02-descrizione.png", [](MainWindow &w) { return page(w, 2); }},
        {"03-fotografia.png", [](MainWindow &w) { return page(w, 3); }},
        {"04-planimetria-zona.png", [](MainWindow &w) { return page(w, 4); }},
        {"05-planimetria-immobile.png", [](MainWindow &w) { return page(w, 5); }},
        {"06-superfici.png", [](MainWindow &w) { return page(w, 6); }},
        {"07-localizzazione.png", [](MainWindow &w) { return page(w, 7); }},
        {"08-posizione.png", [](MainWindow &w) { return page(w, 8); }},
        {"09-tipologiche.png", [](MainWindow &w) { return page(w, 9); }},
        {"10-produttive.png", [](MainWindow &w) { return page(w, 10); }},
        {"11-confronto.png", [](MainWindow &w) { return page(w, 11); }},
        {"12-risultati.png", [](MainWindow &w) { return page(w, 12); }},
        {"13-pagine-report.png",
         [](MainWindow &w) -> QWidget * {
             QDialog *dialog = w.reportOps ? w.reportOps->selectionDialog() : nullptr;
             if (!dialog)
                 return nullptr;
             dialog->show();
             if (!QTest::qWaitForWindowExposed(dialog))
                 return nullptr;
             return dialog;
         }},
        {"15-omi-zone.png", omiImport},
        {"16-mca-dati.png", [](MainWindow &w) { return mcaTab(w, 0); }},
        {"17-mca-valutazione.png", [](MainWindow &w) { return mcaTab(w, 3); }},
        {"18-superficie-catastale.png", cadastralSurface},
        {"18-omi-confronto.png", omiComparison},
        {"19-modifica-annulla.png", editMenu},
    };
    return shots;
}

void save(QWidget *widget, const QString &path)
{
    if (widget && !widget->grab().save(path))
        qWarning("cannot write %s", qPrintable(path));
}

int shootGuide(MainWindow &w, const QString &out, const QString &scratch)
{
    using namespace brevan;
    g_out = out;
    g_scratch = scratch;
    // The first start as the user sees it: the window at its first size, the
    // start page shown and the page tree closed.
    save(&w, out + QStringLiteral("/00-avvio.png"));
    w.resize(808, 600);
    clickNode(w, 0);

    const QString appraisal = sample::writeAppraisal(scratch + QStringLiteral("/stime"));
    ui::Messages::setFileAnswers([appraisal](const ui::FileDialogRequest &) { return appraisal; });
    ui::Messages::setAnswers([](const ui::Messages::Shown &shown) {
        qWarning("message: %s", qPrintable(shown.text));
        return true;
    });
    w.openAction->trigger();
    ui::Messages::setFileAnswers({});

    for (const Shot &shot : guideShots()) {
        QWidget *shown = shot.show(w);
        save(shown, out + QLatin1Char('/') + QString::fromLatin1(shot.file));
        // The market comparison stays open from one of its tabs to the next.
        if (shown && shown != &w && !(w.mcaOps && shown == w.mcaOps->window()))
            shown->hide();
    }
    if (w.reportOps) {
        QString why;
        if (!w.reportOps->writePdf(out + QStringLiteral("/report.pdf"), report::ReportSelection(), &why))
            qWarning("report: %s", qPrintable(why));
        // The page "Quotazioni OMI" alone, for its picture.
        report::ReportSelection omiPage = report::ReportSelection::none();
        omiPage.omi = true;
        if (!w.reportOps->writePdf(out + QStringLiteral("/report-omi.pdf"), omiPage, &why))
            qWarning("report: %s", qPrintable(why));
    }
    return 0;
}

void fillByTyping(MainWindow &w)
{
    using namespace brevan;
    w.selectNode(2);
    w.descriptionPage->municipalityCombo->setFocus();
    QTest::keyClicks(w.descriptionPage->municipalityCombo, QStringLiteral("Abano Terme"));
    w.descriptionPage->addressEdit->setText(QStringLiteral("via Roma"));
    w.descriptionPage->houseNumberEdit->setText(QStringLiteral("12/A"));
    ui::TableModel *m = w.surfacesPage->model();
    const QList<QPair<QString, double>> rooms{{QStringLiteral("Camera"), 16}, {QStringLiteral("Soggiorno"), 28},
                                              {QStringLiteral("Cucina"), 12}, {QStringLiteral("Bagno"), 6},
                                              {QStringLiteral("Balcone"), 8}, {QStringLiteral("Cantina"), 10}};
    for (int i = 0; i < rooms.size(); ++i) {
        m->setData(m->index(i, 0), rooms[i].first);
        m->setData(m->index(i, 1), QString::number(rooms[i].second));
    }
    w.surfacesOps->AttivaSpeedButtonCalcolaSuperfici();
    w.localisationPage->mediumTownRadio->click();
    w.localisationPage->centralZoneRadio->click();
    for (auto [edit, text] : {std::pair{w.incomePage->unitRentEdit, "12000"}, {w.incomePage->depositMonthsEdit, "3"},
                              {w.incomePage->commercialRateEdit, "5"}, {w.incomePage->legalRateEdit, "2,5"}}) {
        edit->setFocus();
        QTest::keyClicks(edit, QString::fromLatin1(text));
    }
    {
        // Four comparables for the direct comparison.
        Table t = Table::open(dataPath(kImmConfr));
        const char *rows[][10] = {{"Via Verdi", "3", "1", "2", "80", "6,5", "16", "15", "33"},
                                  {"Via Mazzini", "10", "2", "5", "95", "7", "18", "17", "31,5"},
                                  {"Via Cavour", "21", "4", "9", "70", "6", "15", "16", "33"},
                                  {"Piazza Duomo", "1", "3", "4", "110", "9", "20", "21", "30"}};
        const char *costs[] = {"3.150.000,00", "3.420.000,00", "2.980.000,00", "3.900.000,00"};
        for (int i = 0; i < 4; ++i) {
            QVariantList r;
            for (int k = 0; k < 9; ++k)
                r << QString::fromUtf8(rows[i][k]);
            r << QString::fromLatin1(costs[i]) << QString() << QString() << QString();
            t.append(r);
        }
    }
    w.comparablesPage->model()->reload();
    clickNode(w, 12);
}

// Three sales typed into the market comparison, as a user would.
void fillMca(MainWindow &w)
{
    using brevan::mca::Row;
    brevan::mca::Sheet s = w.mcaOps->sheet();
    const char *rows[][8] = {{"Via Dante 4", "09/2023", "260.000,00", "atto di compravendita", "120,40", "12,00", "4", "1"},
                             {"Via Manin 11", "11/2023", "295.000,00", "atto di compravendita", "131,00", "11,30", "2", "2"},
                             {"Corso Italia 7", "09/2023", "310.000,00", "offerta", "138,50", "13,00", "4", "2"}};
    const Row order[] = {Row::Address, Row::SaleDate, Row::Price, Row::Source,
                         Row::MainSurface, Row::Balconies, Row::Floor, Row::Maintenance};
    for (int j = 0; j < 3; ++j) {
        brevan::mca::SheetColumn &c = s.comparables[j];
        for (int k = 0; k < 8; ++k)
            c.setText(order[k], QString::fromUtf8(rows[j][k]));
        c.setText(Row::Bathrooms, QString::number(1 + j / 2 + (j == 1)));
    }
    s.subject.setText(Row::Floor, QStringLiteral("3"));
    s.subject.setText(Row::Maintenance, QStringLiteral("2"));
    s.subjectEdited = true;
    s.setParam(brevan::mca::Param::AnnualChange, QStringLiteral("-2"));
    s.setParam(brevan::mca::Param::MaintenanceStep, QStringLiteral("12.000"));
    w.mcaOps->window()->setSheet(s);
}

// The market comparison window, every tab at its smallest and a large size,
// the report's page choice and the window's own PDF.
void shootMca(MainWindow &w, const QString &out, bool filled)
{
    using namespace brevan;
    w.mcaOps->StimaMCA1Click();
    ui::McaWindow *mca = w.mcaOps->window();
    if (filled)
        fillMca(w);
    for (int tab = 0; tab < mca->tabs->count(); ++tab) {
        mca->tabs->setCurrentIndex(tab);
        for (const QSize &size : {mca->minimumSize(), QSize(1020, 740)}) {
            mca->resize(size);
            QTest::qWait(50);
            save(mca, QStringLiteral("%1/mca-tab%2-%3x%4.png").arg(out).arg(tab).arg(size.width()).arg(size.height()));
        }
    }
    ui::ReportPagesDialog choice;
    choice.setMcaOffered(w.mcaOps->hasData());
    choice.show();
    QTest::qWait(50);
    save(&choice, out + QStringLiteral("/report-pages.png"));
    choice.hide();
    ui::Messages::setFileAnswers([&out](const ui::FileDialogRequest &) { return out + QStringLiteral("/mca.pdf"); });
    mca->EsportaPdfClick();
    ui::Messages::setFileAnswers({});
    mca->hide();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        qWarning("usage: shootpages OUTPUT_FOLDER [--filled | --guide]");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QByteArray mode = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    QDir().mkpath(out);
    brevan::app::setUpApplication(app);
    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    brevan::AliasRegistry::setConfigFile(scratch.filePath(QStringLiteral("tablestore.ini")));
    MainWindow w;
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return 1;
    if (mode == "--guide")
        return shootGuide(w, out, scratch.path());
    if (mode == "--filled")
        fillByTyping(w);
    const QList<QSize> sizes{{640, 480}, {808, 600}};
    for (const QSize &size : sizes) {
        w.resize(size);
        for (int n = 0; n <= MainWindow::kPageNodes; ++n) {
            w.selectNode(n);
            QTest::qWait(50);
            save(&w, QStringLiteral("%1/page%2-%3x%4.png").arg(out).arg(n, 2, 10, QLatin1Char('0'))
                         .arg(size.width()).arg(size.height()));
        }
    }
    shootMca(w, out, mode == "--filled");
    return 0;
}
