// SPDX-License-Identifier: GPL-2.0-or-later
// The report commands on the real main window: the selection dialog keeps
// its ticks, the report is filled from what the pages show, the preview
// opens with the selected pages and saves them as PDF, and failures end in
// a message rather than a wrong file.
#include "../support/appfixture.h"
#include "app/application.h"
#include "app/reportops.h"
#include "model/currency.h"
#include "pages/appraiserpage.h"
#include "pages/descriptionpage.h"
#include "pages/picturepage.h"
#include "pages/reportpagesdialog.h"
#include "pages/resultspage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "pages/comparablespage.h"
#include "store/datafolder.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace brevan;
using brevan::app::ReportOps;

namespace {

// The text of each printed page, runs of blanks made single, blank lines dropped.
QVector<QStringList> pdfPages(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                          path, QStringLiteral("-")});
    p.waitForFinished(60000);
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    QVector<QStringList> out;
    for (const QString &page : pages) {
        QStringList lines;
        for (const QString &l : page.split(QLatin1Char('\n')))
            if (!l.simplified().isEmpty())
                lines << l.simplified();
        out << lines;
    }
    return out;
}

bool has(const QStringList &lines, const QString &text)
{
    return std::any_of(lines.begin(), lines.end(), [&](const QString &l) { return l.contains(text); });
}

// The window's own report commands when it has them (the wired program),
// otherwise a set made for the test: never two on the same buttons.
struct Ops {
    explicit Ops(app::MainWindow *window)
    {
        ops = window->findChild<ReportOps *>();
        if (!ops) {
            own = std::make_unique<ReportOps>(window);
            ops = own.get();
        }
    }
    ReportOps *operator->() const { return ops; }
    ReportOps *ops = nullptr;
    std::unique_ptr<ReportOps> own;
};

void typeInto(QWidget *w, const QString &text)
{
    w->setFocus();
    QTest::keyClicks(w, text);
}

} // namespace

class TestReportOps : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }
    void selectionDialogKeepsItsTicks();
    void reportIsFilledFromThePages();
    void previewShowsAndSavesTheSelectedPages();
    void previewWithNoPageSelected();
    void savingToAFolderThatDoesNotExist();
    void previewingTwiceGivesTheSamePages();
};

void TestReportOps::selectionDialogKeepsItsTicks()
{
    AppFixture f;
    Ops ops(f.window.get());
    ui::ReportPagesDialog *d = ops->selectionDialog();
    bool ran = false;
    QTimer::singleShot(0, this, [&] {
        ran = d->isVisible() && d->isModal();
        QCheckBox *parameters = d->boxes[8];
        QTest::mouseClick(parameters, Qt::LeftButton, {}, QPoint(6, parameters->height() / 2));
        QTest::mouseClick(d->closeButton, Qt::LeftButton);
    });
    // Through the results page's button, as the user presses it.
    f.window->resultsPage->reportPagesButton->click();
    QVERIFY(ran);
    QVERIFY(!ops->selection()[report::Choice::ParametriConfronto]);
    QVERIFY(ops->selection()[report::Choice::Copertina]);

    bool stillCleared = false;
    QTimer::singleShot(0, this, [&] {
        stillCleared = !d->boxes[8]->isChecked() && d->boxes[9]->isChecked();
        d->closeButton->click();
    });
    ops->SpeedButton65Click();
    QVERIFY(stillCleared);
}

void TestReportOps::reportIsFilledFromThePages()
{
    AppFixture f;
    Ops ops(f.window.get());
    ops->today = [] { return QDate(2024, 3, 4); };
    app::MainWindow &w = *f.window;
    typeInto(w.appraiserPage->surnameEdit, QStringLiteral("Rossi"));
    typeInto(w.appraiserPage->firstNameEdit, QStringLiteral("Mario"));
    typeInto(w.descriptionPage->addressEdit, QStringLiteral("Via Roma"));
    typeInto(w.descriptionPage->houseNumberEdit, QStringLiteral("10"));
    w.descriptionPage->dateEdit->setDate(QDate(2023, 11, 5));
    w.setNodeLight(1, art::NodeImage::Yellow);
    w.setNodeLight(2, art::NodeImage::Yellow);
    w.setNodeLight(6, art::NodeImage::Green);
    w.setNodeLight(11, art::NodeImage::Yellow);
    w.photoPage->setPicture(QImage(QSize(40, 30), QImage::Format_RGB32));
    w.coefficients[Coef::CDCarattLocalizzaz] = 12.5;
    {
        Table surfaces = Table::open(dataPath(kDescrSup));
        const qint64 first = surfaces.rowIds().first();
        surfaces.setText(first, QStringLiteral("DescrizioneSuperficie"), QStringLiteral("Soggiorno"));
        surfaces.setReal(first, QStringLiteral("MqSuperficie"), 25.5);
        Table comparables = Table::open(dataPath(kImmConfr));
        comparables.append({QStringLiteral("Via Dante"), QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("2"),
                            QStringLiteral("80"), QStringLiteral("20")});
    }
    w.surfacesPage->model()->reload();
    w.comparablesPage->model()->reload();
    w.surfacesPage->usefulEdit->setText(QStringLiteral("25,50  mq"));

    const report::ReportInput in = ops->collectInput();
    QCOMPARE(in.text(QStringLiteral("CognomeProfess")), QStringLiteral("Rossi"));
    QCOMPARE(in.appraisalDate, QDate(2023, 11, 5));
    QCOMPARE(in.lights[0], Light::Yellow);
    QCOMPARE(in.lights[2], Light::Red);
    QCOMPARE(in.comparables.size(), 1);
    QCOMPARE(in.currency, QStringLiteral(" Lire"));
    QVERIFY(!in.photo.isNull());

    const QString path = f.path(QStringLiteral("report.pdf"));
    QString error;
    QVERIFY2(ops->writePdf(path, report::ReportSelection(), &error), qPrintable(error));
    const QVector<QStringList> pages = pdfPages(path);
    QCOMPARE(pages.size(), 11);
    QVERIFY(has(pages[0], QStringLiteral("lunedì 4 marzo 2024")));
    QVERIFY(has(pages[0], QStringLiteral("Stima dell'immobile sito in Via Roma 10")));
    QVERIFY(has(pages[0], QStringLiteral("Mario Rossi")));
    QVERIFY(has(pages[1], QStringLiteral("Cognome e Nome: Rossi Mario")));
    QVERIFY(has(pages[2], QStringLiteral("Data stima: 5 novembre 2023")));
    QVERIFY(has(pages[3], QStringLiteral("Soggiorno 25,50 mq")));
    QVERIFY(has(pages[3], QStringLiteral("Superficie utile: 25,50 mq")));
    QVERIFY(has(pages[7], QStringLiteral("Via Dante 3, Piano 1, Interno 2:")));
    QVERIFY(has(pages[7], QStringLiteral("- Superficie commerciale: 80 mq")));
    QVERIFY(has(pages[8], QStringLiteral("Caratteristiche di localizzazione: 10,00 % 30,00 % 12,50 %")));
    // The productive page's light is red: its values are not printed.
    QVERIFY(!has(pages[6], QStringLiteral("Lire")));
}

void TestReportOps::previewShowsAndSavesTheSelectedPages()
{
    AppFixture f;
    Ops ops(f.window.get());
    report::ReportSelection s = report::ReportSelection::none();
    s[report::Choice::Copertina] = true;
    s[report::Choice::ParametriConfronto] = true;
    ops->selectionDialog()->setSelection(s);

    const QString path = f.path(QStringLiteral("Anteprima"));
    ui::Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return path; });
    bool savedFromToolbar = false;
    connect(ops.ops, &ReportOps::previewOpened, this, [&](QPrintPreviewDialog *preview) {
        QTimer::singleShot(0, preview, [&, preview] {
            QAction *save = nullptr;
            for (QToolBar *bar : preview->findChildren<QToolBar *>())
                for (QAction *a : bar->actions())
                    if (a->text() == QLatin1String("Salva PDF"))
                        save = a;
            savedFromToolbar = save != nullptr;
            if (save)
                save->trigger();
            preview->reject();
        });
    });
    f.window->resultsPage->previewButton->click();
    QVERIFY(ops->preview() == nullptr);
    QVERIFY(savedFromToolbar);
    QCOMPARE(ui::Messages::fileRequests().size(), 1);
    QVERIFY(ui::Messages::fileRequests().first().save);
    // No extension given: ".pdf" is added.
    const QVector<QStringList> pages = pdfPages(path + QStringLiteral(".pdf"));
    QCOMPARE(pages.size(), 3);
    QCOMPARE(pages[0].first(), QStringLiteral("Brevan 2.0"));
    QCOMPARE(pages[1].first(), QStringLiteral("Parametri di confronto"));
    QCOMPARE(pages[2].first(), QStringLiteral("Parametri di confronto"));
    QVERIFY(ui::Messages::shown().isEmpty());
}

void TestReportOps::previewWithNoPageSelected()
{
    AppFixture f;
    Ops ops(f.window.get());
    ops->selectionDialog()->clearAllButton->click();
    bool opened = false;
    connect(ops.ops, &ReportOps::previewOpened, this, [&](QPrintPreviewDialog *p) {
        opened = true;
        QTimer::singleShot(0, p, &QDialog::reject);
    });
    ops->SpeedButton64Click();
    QVERIFY(!opened);
    QCOMPARE(ui::Messages::shown().size(), 1);
    QCOMPARE(ui::Messages::shown().first().kind, ui::Messages::Shown::Warning);
    QCOMPARE(ui::Messages::shown().first().text, report::kNoPagesSelected);
}

void TestReportOps::savingToAFolderThatDoesNotExist()
{
    AppFixture f;
    Ops ops(f.window.get());
    const QString path = f.path(QStringLiteral("nessuna/cartella/Report.pdf"));
    ui::Messages::setFileAnswers([&](const ui::FileDialogRequest &) { return path; });
    connect(ops.ops, &ReportOps::previewOpened, this, [&](QPrintPreviewDialog *preview) {
        QTimer::singleShot(0, preview, [&, preview] {
            ops->SalvaPdfClick();
            preview->reject();
        });
    });
    ops->SpeedButton64Click();
    QVERIFY(!QFile::exists(path));
    QCOMPARE(ui::Messages::shown().size(), 1);
    QCOMPARE(ui::Messages::shown().first().kind, ui::Messages::Shown::Error);
    QVERIFY(ui::Messages::shown().first().text.contains(path));
}

void TestReportOps::previewingTwiceGivesTheSamePages()
{
    AppFixture f;
    Ops ops(f.window.get());
    ops->today = [] { return QDate(2024, 3, 4); };
    typeInto(f.window->appraiserPage->surnameEdit, QStringLiteral("Rossi"));
    typeInto(f.window->appraiserPage->firstNameEdit, QStringLiteral("Mario"));
    f.window->setNodeLight(1, art::NodeImage::Yellow);
    f.window->setNodeLight(11, art::NodeImage::Yellow);
    {
        Table comparables = Table::open(dataPath(kImmConfr));
        comparables.append({QStringLiteral("Via Dante"), QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("2")});
    }
    f.window->comparablesPage->model()->reload();
    const QString a = f.path(QStringLiteral("a.pdf")), b = f.path(QStringLiteral("b.pdf")), c = f.path(QStringLiteral("c.pdf"));
    QVERIFY(ops->writePdf(a, report::ReportSelection()));
    QVERIFY(ops->writePdf(b, report::ReportSelection()));
    QCOMPARE(pdfPages(a), pdfPages(b));
    QVERIFY(has(pdfPages(a)[7], QStringLiteral("Via Dante 3, Piano 1, Interno 2:")));

    // The appraiser's page goes dark: the next report no longer prints the name.
    f.window->setNodeLight(1, art::NodeImage::Red);
    QVERIFY(ops->writePdf(c, report::ReportSelection()));
    const QVector<QStringList> after = pdfPages(c);
    QVERIFY(!has(after[1], QStringLiteral("Rossi")));
    QVERIFY(has(after[0], QStringLiteral("Mario Rossi"))); // the cover is always filled
}

QTEST_MAIN(TestReportOps)
#include "tst_reportops.moc"
