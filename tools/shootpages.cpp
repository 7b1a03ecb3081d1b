// Development aid: starts the main window with a scratch data folder, shows
// every page in turn at the window's smallest and largest size and saves a
// PNG of each, so the layouts can be looked at without clicking through.
//   shootpages OUTPUT_FOLDER [--filled]
// With --filled it first describes a sample unit, as a user would type it.
#include "app/application.h"
#include "app/mainwindow.h"
#include "app/mcaops.h"
#include "app/surfacesops.h"
#include "pages/comparablespage.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/mcawindow.h"
#include "pages/messages.h"
#include "pages/reportpagesdialog.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "store/datafolder.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        qWarning("usage: shootpages OUTPUT_FOLDER");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    brevan::app::setUpApplication(app);
    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    brevan::AliasRegistry::setConfigFile(scratch.filePath(QStringLiteral("tablestore.ini")));
    brevan::app::MainWindow w;
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return 1;
    if (argc > 2 && QByteArray(argv[2]) == "--filled") {
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
            brevan::Table t = brevan::Table::open(brevan::dataPath(brevan::kImmConfr));
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
        w.node(0)->setExpanded(true);
        w.selectNode(12);
        QTest::mouseClick(w.tree->viewport(), Qt::LeftButton, {}, w.tree->visualItemRect(w.node(12)).center());
    }
    const QList<QSize> sizes{{640, 480}, {808, 600}};
    for (const QSize &size : sizes) {
        w.resize(size);
        for (int n = 0; n <= brevan::app::MainWindow::kPageNodes; ++n) {
            w.selectNode(n);
            QTest::qWait(50);
            w.grab().save(QStringLiteral("%1/page%2-%3x%4.png").arg(out).arg(n, 2, 10, QLatin1Char('0'))
                              .arg(size.width()).arg(size.height()));
        }
    }
    // The market comparison window, with three sales typed in when filled.
    w.mcaOps->StimaMCA1Click();
    brevan::ui::McaWindow *mca = w.mcaOps->window();
    if (argc > 2 && QByteArray(argv[2]) == "--filled") {
        using brevan::mca::Row;
        brevan::mca::Sheet s = w.mcaOps->sheet();
        const char *rows[][8] = {{"Via Dante 4", "09/2023", "260.000,00", "atto di compravendita", "120,40", "12,00", "4", "1"},
                                 {"Via Manin 11", "11/2023", "295.000,00", "atto di compravendita", "131,00", "11,30", "2", "2"},
                                 {"Corso Italia 7", "09/2023", "310.000,00", "offerta", "138,50", "13,00", "4", "2"}};
        for (int j = 0; j < 3; ++j) {
            brevan::mca::SheetColumn &c = s.comparables[j];
            const Row order[] = {Row::Address, Row::SaleDate, Row::Price, Row::Source, Row::MainSurface, Row::Balconies,
                                 Row::Floor, Row::Maintenance};
            for (int k = 0; k < 8; ++k)
                c.setText(order[k], QString::fromUtf8(rows[j][k]));
            c.setText(Row::Bathrooms, QString::number(1 + j / 2 + (j == 1)));
        }
        s.subject.setText(Row::Floor, QStringLiteral("3"));
        s.subject.setText(Row::Maintenance, QStringLiteral("2"));
        s.subjectEdited = true;
        s.setParam(brevan::mca::Param::AnnualChange, QStringLiteral("-2"));
        s.setParam(brevan::mca::Param::MaintenanceStep, QStringLiteral("12.000"));
        mca->setSheet(s);
    }
    for (int tab = 0; tab < mca->tabs->count(); ++tab) {
        mca->tabs->setCurrentIndex(tab);
        for (const QSize &size : {mca->minimumSize(), QSize(1020, 740)}) {
            mca->resize(size);
            QTest::qWait(50);
            mca->grab().save(QStringLiteral("%1/mca-tab%2-%3x%4.png").arg(out).arg(tab).arg(size.width()).arg(size.height()));
        }
    }
    // The report's page choice, offering "Stima MCA" when there is a comparison.
    brevan::ui::ReportPagesDialog choice;
    choice.setMcaOffered(w.mcaOps->hasData());
    choice.show();
    QTest::qWait(50);
    choice.grab().save(QStringLiteral("%1/report-pages.png").arg(out));
    choice.hide();
    // And its printed form, as "Esporta PDF…" writes it.
    brevan::ui::Messages::setFileAnswers([&out](const brevan::ui::FileDialogRequest &) { return out + QStringLiteral("/mca.pdf"); });
    mca->EsportaPdfClick();
    brevan::ui::Messages::setFileAnswers({});
    return 0;
}
