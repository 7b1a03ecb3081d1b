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
#include "app/reportops.h"
#include "app/surfacesops.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/messages.h"
#include "pages/reportpagesdialog.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "store/datafolder.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
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
    w.resize(808, 600);
    clickNode(w, 0);
    save(&w, out + QStringLiteral("/00-avvio.png"));

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
        if (shown && shown != &w)
            shown->hide();
    }
    if (w.reportOps) {
        QString why;
        if (!w.reportOps->writePdf(out + QStringLiteral("/report.pdf"), report::ReportSelection(), &why))
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
    clickNode(w, 12);
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
    return 0;
}
