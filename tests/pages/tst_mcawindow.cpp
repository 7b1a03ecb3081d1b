// SPDX-License-Identifier: GPL-2.0-or-later
// The market comparison window on its own, driven as a user drives it: typed
// cells and parameters compute at once; bad input is marked at its field with
// its message and no value is shown; comparables are added and removed; the
// estimation system and the divergence show beside the value; and the window
// prints and exports through the message seam.
#include "../support/mcafixtures.h"
#include "files/mcatable.h"
#include "model/currency.h"
#include "model/numbertext.h"
#include "pages/mcadatatable.h"
#include "pages/mcaparameters.h"
#include "pages/mcawindow.h"
#include "pages/messages.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace brevan;
using brevan::mca::Row;
using brevan::ui::McaDataTable;
using brevan::ui::McaWindow;

namespace {

// The Stimatrix example (see tst_mca), valued in 01/2024.
mca::Sheet exampleSheet()
{
    return fixtures::mcaExampleSheet();
}

report::McaContext context(bool lire = false)
{
    report::McaContext c;
    c.valuationDate = QDate(2024, 1, 20);
    c.lire = lire;
    return c;
}

void showActive(QWidget &w)
{
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

// Types into a cell as a user does: the editor opens, the text is typed over
// what was there and Enter writes it.
void typeInto(McaDataTable *t, Row row, int column, const QString &text)
{
    const QModelIndex cell = t->model()->index(McaDataTable::tableRow(row), column);
    t->setCurrentIndex(cell);
    t->edit(cell);
    auto *editor = qobject_cast<QLineEdit *>(t->indexWidget(cell));
    QVERIFY(editor);
    editor->selectAll();
    if (text.isEmpty())
        QTest::keyClick(editor, Qt::Key_Delete);
    else
        QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the delegate commits on a queued call
}

void typeParam(McaWindow &w, mca::Param p, const QString &text)
{
    QLineEdit *field = w.parameters->fields[std::size_t(p)];
    field->setFocus();
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        QTest::keyClicks(field, text);
}

QString viewText(QTableWidget *v, int row, int column)
{
    const QTableWidgetItem *it = v->item(row, column);
    return it ? it->text() : QString();
}

// pdfinfo's field, its blanks of alignment left out.
QString pdfInfo(const QString &path, const QString &field)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path});
    p.waitForFinished(60000);
    for (const QString &line : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (line.startsWith(field + QLatin1Char(':')))
            return line.mid(field.size() + 1).trimmed();
    }
    return {};
}

QString pdfText(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path,
                                           QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestMcaWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { ui::Messages::resetForTests(); }
    void cleanup()
    {
        ui::Messages::setAnswers({});
        ui::Messages::setFileAnswers({});
    }
    void itsParts();
    void typingComputes();
    void badCell_data();
    void badCell();
    void badParameter();
    void lireBesideTheValue();
    void addingAndRemovingComparables();
    void subjectEditedByTheUser();
    void estimationSystemAndDivergence();
    void issueTakesTheUserToItsField();
    void exports();
    void prints();
    void longMessageShownWhole_data();
    void longMessageShownWhole();
    void numbersShownAsNumberText_data();
    void numbersShownAsNumberText();
    void removingAColumnWithDataAsks_data();
    void removingAColumnWithDataAsks();
    void proposalKeepsWhatTheUserWrote_data();
    void proposalKeepsWhatTheUserWrote();
    void columnsFitAgainAfterRemoving();
    void outputsNameTheAppraisal();
};

void TestMcaWindow::itsParts()
{
    McaWindow w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Stima per confronto di mercato (MCA)"));
    QVERIFY(w.isWindow());
    QVERIFY(!w.isModal());
    QStringList tabs;
    for (int i = 0; i < w.tabs->count(); ++i)
        tabs << w.tabs->tabText(i);
    QCOMPARE(tabs, (QStringList{QStringLiteral("Dati"), QStringLiteral("Parametri"), QStringLiteral("Prezzi marginali"),
                                QStringLiteral("Valutazione"), QStringLiteral("Comparazione diretta")}));
    // A blank comparison: the subject and three empty comparables.
    QCOMPARE(w.dataTable->columnCount(), 4);
    QCOMPARE(w.dataTable->rowCount(), mca::kRowCount + 1);
    QCOMPARE(w.dataTable->horizontalHeaderItem(2)->text(), QStringLiteral("Comparabile 2"));
    QCOMPARE(w.dataTable->verticalHeaderItem(McaDataTable::tableRow(Row::MainSurface))->text(),
             QStringLiteral("Superficie principale S₁ (m²)"));
    // The subject has no price, source or address of its own; its date is the appraisal's.
    for (Row r : {Row::Address, Row::Price, Row::Source, Row::SaleDate})
        QVERIFY(!(w.dataTable->cell(0, r)->flags() & Qt::ItemIsEditable));
    QVERIFY(w.dataTable->cell(1, Row::Price)->flags() & Qt::ItemIsEditable);
    QVERIFY(w.dataTable->cell(1, Row::Lift)->flags() & Qt::ItemIsUserCheckable);
    // Parameters at their defaults, named by their stored names.
    QCOMPARE(w.parameters->fields[std::size_t(mca::Param::RatioGarage)]->text(), QStringLiteral("0,50"));
    QCOMPARE(w.parameters->fields[std::size_t(mca::Param::Threshold)]->objectName(), QStringLiteral("SogliaDivergenza"));
    QCOMPARE(w.valueLabel->text(), QStringLiteral("—"));
}

void TestMcaWindow::typingComputes()
{
    McaWindow w;
    w.setContext(context());
    mca::Sheet s = exampleSheet();
    s.comparables[2].setText(Row::Price, QString());
    w.setSheet(s);
    showActive(w);
    QCOMPARE(w.valueLabel->text(), QStringLiteral("—"));
    QVERIFY(w.issuesList->isVisibleTo(&w));

    typeInto(w.dataTable, Row::Price, 3, QStringLiteral("310000"));
    QCOMPARE(w.sheet().comparables[2].text(Row::Price), QStringLiteral("310000"));
    QCOMPARE(w.valueLabel->text(), QStringLiteral("261.282,00 €"));
    QVERIFY(w.detailLabel->text().startsWith(QStringLiteral("2.170,12 €/m² su 120,40 m² commerciali · divergenza 2,28 % "
                                                           "(soglia 10,00 %)")));
    QVERIFY(!w.issuesList->isVisibleTo(&w));
    QVERIFY(!w.warningLabel->isVisibleTo(&w));
    // The commercial surfaces under the data.
    QCOMPARE(w.dataTable->item(McaDataTable::kCommercialRow, 0)->text(), QStringLiteral("120,40"));
    QCOMPARE(w.dataTable->item(McaDataTable::kCommercialRow, 2)->text(), QStringLiteral("134,39"));
    // The two result tables, corrected prices in bold.
    QCOMPARE(viewText(w.marginalView, 0, 0), QStringLiteral("-433,33"));
    QCOMPARE(viewText(w.marginalView, 6, 2), QStringLiteral("1.542,29")); // floor of comparable 3
    const int last = w.valuationView->rowCount() - 1;
    QCOMPARE(w.valuationView->verticalHeaderItem(last)->text(), QStringLiteral("Prezzo corretto (€)"));
    QCOMPARE(viewText(w.valuationView, last, 0), QStringLiteral("261.424,75"));
    QVERIFY(w.valuationView->item(last, 0)->font().bold());
    QVERIFY(w.valuationView->item(last, 0)->textAlignment() & Qt::AlignRight);
}

void TestMcaWindow::badCell_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("price zero") << int(Row::Price) << 2 << "0" << "Il prezzo deve essere maggiore di zero.";
    QTest::newRow("price text") << int(Row::Price) << 1 << "tanto" << "«tanto» non è un numero";
    QTest::newRow("main surface negative") << int(Row::MainSurface) << 3 << "-80"
                                           << "La superficie principale deve essere maggiore di zero.";
    QTest::newRow("negative garage") << int(Row::Garage) << 0 << "-5" << "Una superficie non può essere negativa.";
    QTest::newRow("sale after the valuation") << int(Row::SaleDate) << 1 << "02/2024"
                                              << "La vendita (02/2024) è successiva alla data della stima (01/2024).";
    QTest::newRow("decimal point") << int(Row::Balconies) << 2 << "11.3" << "non è un numero";
}

void TestMcaWindow::badCell()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    McaWindow w;
    w.setContext(context());
    w.setSheet(exampleSheet());
    showActive(w);
    const QString before = w.dataTable->cell(column, Row(row))->text();
    typeInto(w.dataTable, Row(row), column, typed);
    QTableWidgetItem *cell = w.dataTable->cell(column, Row(row));
    QVERIFY2(cell->toolTip().contains(message), qPrintable(cell->toolTip()));
    QCOMPARE(cell->background().color(), QColor(255, 218, 218));
    // No value shown as if it were current, nor tables of prices.
    QCOMPARE(w.valueLabel->text(), QStringLiteral("—"));
    QCOMPARE(w.detailLabel->text(), QStringLiteral("Nessun valore: correggere i dati segnalati."));
    QCOMPARE(w.valuationView->rowCount(), 0);
    QCOMPARE(w.issuesList->count(), 1);
    QVERIFY(w.issuesList->item(0)->text().startsWith(mca::columnTitle(column)));
    QVERIFY(w.issuesList->item(0)->text().contains(message));
    // Put right, the value is back and the cell plain again.
    typeInto(w.dataTable, Row(row), column, before);
    QCOMPARE(w.valueLabel->text(), QStringLiteral("261.282,00 €"));
    QCOMPARE(w.dataTable->cell(column, Row(row))->background().style(), Qt::NoBrush);
}

void TestMcaWindow::badParameter()
{
    McaWindow w;
    w.setContext(context());
    w.setSheet(exampleSheet());
    showActive(w);
    QLineEdit *ratio = w.parameters->fields[std::size_t(mca::Param::RatioBalconies)];
    typeParam(w, mca::Param::RatioBalconies, QStringLiteral("-0,3"));
    QCOMPARE(ratio->toolTip(), QStringLiteral("Il rapporto mercantile non può essere negativo."));
    QCOMPARE(ratio->palette().color(QPalette::Base), QColor(255, 218, 218));
    QCOMPARE(w.valueLabel->text(), QStringLiteral("—"));
    typeParam(w, mca::Param::RatioBalconies, QStringLiteral("0,3"));
    QCOMPARE(w.valueLabel->text(), QStringLiteral("261.282,00 €"));
    QVERIFY(ratio->palette().color(QPalette::Base) != QColor(255, 218, 218));
    QCOMPARE(w.sheet().param(mca::Param::RatioBalconies), QStringLiteral("0,3"));
}

void TestMcaWindow::lireBesideTheValue()
{
    McaWindow w;
    report::McaContext c = context(true);
    c.incomeTotal = QStringLiteral("200.000.000,00");
    c.incomeUnit = QStringLiteral("2.000.000,00");
    w.setContext(c);
    w.setSheet(exampleSheet());
    QVERIFY(w.detailLabel->text().contains(QStringLiteral("In Lire: %1 Lire").arg(FormattaImporto(261282 * kFattoreLire))));
    QVERIFY(w.othersLabel->text().contains(QStringLiteral("103.291,38 €")));
    QVERIFY(w.othersLabel->text().contains(QStringLiteral("1.032,91 €/m²")));
    QVERIFY(w.othersLabel->text().contains(QStringLiteral("in euro")));
    // In Euro: no Lire, amounts as the page shows them.
    c.lire = false;
    c.incomeTotal = QStringLiteral("103.291,38");
    w.setContext(c);
    QVERIFY(!w.detailLabel->text().contains(QStringLiteral("Lire")));
    QVERIFY(w.othersLabel->text().contains(QStringLiteral("103.291,38 €")));
}

void TestMcaWindow::addingAndRemovingComparables()
{
    // Columns with data go once the user agrees.
    ui::Messages::setAnswers([](const ui::Messages::Shown &) { return true; });
    McaWindow w;
    w.setContext(context());
    w.setSheet(exampleSheet());
    showActive(w);
    for (int i = 0; i < 7; ++i)
        QTest::mouseClick(w.addButton, Qt::LeftButton);
    QCOMPARE(w.dataTable->comparableCount(), 10);
    QCOMPARE(w.sheet().comparables.size(), 10);
    QVERIFY(!w.addButton->isEnabled());
    QCOMPARE(w.dataTable->horizontalHeaderItem(10)->text(), QStringLiteral("Comparabile 10"));
    // Empty new columns: their cells are marked, no value.
    QCOMPARE(w.valueLabel->text(), QStringLiteral("—"));
    // Removing the current column.
    w.dataTable->setCurrentCell(0, 2);
    QTest::mouseClick(w.removeButton, Qt::LeftButton);
    QCOMPARE(w.sheet().comparables.size(), 9);
    QCOMPARE(w.sheet().comparables[1].text(Row::Price), QStringLiteral("310.000,00"));
    QVERIFY(w.addButton->isEnabled());
    // The empty ones go, then one more: two sales are not enough.
    while (w.dataTable->comparableCount() > 2) {
        w.dataTable->setCurrentCell(0, w.dataTable->columnCount() - 1);
        QTest::mouseClick(w.removeButton, Qt::LeftButton);
    }
    QCOMPARE(w.sheet().comparables[0].text(Row::Price), QStringLiteral("260.000,00"));
    QCOMPARE(w.issuesList->count(), 1);
    QCOMPARE(w.issuesList->item(0)->text(), QStringLiteral("Comparabili: Servono almeno 3 comparabili: ne sono indicati 2."));
}

void TestMcaWindow::subjectEditedByTheUser()
{
    McaWindow w;
    w.setContext(context());
    w.setSheet(exampleSheet());
    showActive(w);
    mca::SheetColumn proposed = exampleSheet().subject;
    proposed.setText(Row::MainSurface, QStringLiteral("90,00"));
    w.proposeSubject(proposed);
    QCOMPARE(w.dataTable->cell(0, Row::MainSurface)->text(), QStringLiteral("90,00"));
    QVERIFY(!w.sheet().subjectEdited);
    QSignalSpy edited(&w, &McaWindow::sheetEdited);
    typeInto(w.dataTable, Row::MainSurface, 0, QStringLiteral("117,10"));
    QCOMPARE(edited.count(), 1);
    QVERIFY(w.sheet().subjectEdited);
    // A comparable's cell is not the subject.
    w.proposeSubject(proposed);
    typeInto(w.dataTable, Row::Address, 1, QStringLiteral("Via Po 3"));
    QVERIFY(!w.sheet().subjectEdited);
    // The lift is a tick.
    QTableWidgetItem *lift = w.dataTable->cell(2, Row::Lift);
    const QRect box = w.dataTable->visualItemRect(lift);
    QTest::mouseClick(w.dataTable->viewport(), Qt::LeftButton, {}, box.topLeft() + QPoint(10, box.height() / 2));
    if (lift->checkState() != Qt::Checked)
        lift->setCheckState(Qt::Checked); // a style that puts the box elsewhere
    QVERIFY(w.sheet().comparables[1].lift);
    QCOMPARE(lift->text(), QStringLiteral("sì"));
}

void TestMcaWindow::estimationSystemAndDivergence()
{
    McaWindow w;
    w.setContext(context());
    w.setSheet(exampleSheet());
    showActive(w);
    // The floor's price left to the market: three comparables, two unknowns.
    QCheckBox *floor = w.parameters->unknown[std::size_t(mca::index(mca::Feature::Floor))];
    QTest::mouseClick(floor, Qt::LeftButton, {}, QPoint(6, floor->height() / 2));
    QVERIFY(w.sheet().unknown[std::size_t(mca::index(mca::Feature::Floor))]);
    QVERIFY(w.detailLabel->text().contains(QStringLiteral("Sistema di stima: soluzione ai minimi quadrati")));
    QCOMPARE(w.marginalView->verticalHeaderItem(6)->text(), QStringLiteral("Piano (€/piano) - stimato"));
    QCOMPARE(w.valuationView->verticalHeaderItem(w.valuationView->rowCount() - 1)->text(),
             QStringLiteral("Scarto dal valore del sistema (€)"));
    // Maintenance and bathrooms too: four unknowns, three equations.
    for (mca::Feature f : {mca::Feature::Maintenance, mca::Feature::Bathrooms})
        w.parameters->unknown[std::size_t(mca::index(f))]->click();
    QCOMPARE(w.valueLabel->text(), QStringLiteral("—"));
    QVERIFY(w.issuesList->item(0)->text().startsWith(QStringLiteral("Sistema di stima: Il sistema di stima ha 4 incognite")));
    for (mca::Feature f : {mca::Feature::Floor, mca::Feature::Maintenance, mca::Feature::Bathrooms})
        w.parameters->unknown[std::size_t(mca::index(f))]->click();
    // The divergence beyond a threshold of 2 %: the value stays, the warning beside it.
    typeParam(w, mca::Param::Threshold, QStringLiteral("2"));
    QCOMPARE(w.valueLabel->text(), QStringLiteral("261.282,00 €"));
    QVERIFY(w.warningLabel->isVisibleTo(&w));
    QCOMPARE(w.warningLabel->text(), QStringLiteral("Attenzione: divergenza oltre la soglia: rivedere i comparabili"));
}

void TestMcaWindow::issueTakesTheUserToItsField()
{
    McaWindow w;
    w.setContext(context());
    mca::Sheet s = exampleSheet();
    s.comparables[1].setText(Row::Floor, QString());
    s.setParam(mca::Param::BathroomLife, QStringLiteral("x"));
    w.setSheet(s);
    showActive(w);
    w.tabs->setCurrentIndex(3);
    QCOMPARE(w.issuesList->count(), 2);
    QTest::mouseClick(w.issuesList->viewport(), Qt::LeftButton, {},
                      w.issuesList->visualItemRect(w.issuesList->item(0)).center());
    QCOMPARE(w.tabs->currentIndex(), 0);
    QCOMPARE(w.dataTable->currentRow(), McaDataTable::tableRow(Row::Floor));
    QCOMPARE(w.dataTable->currentColumn(), 2);
    QTest::mouseClick(w.issuesList->viewport(), Qt::LeftButton, {},
                      w.issuesList->visualItemRect(w.issuesList->item(1)).center());
    QCOMPARE(w.tabs->currentIndex(), 1);
    QCOMPARE(QApplication::focusWidget(), w.parameters->fields[std::size_t(mca::Param::BathroomLife)]);
}

void TestMcaWindow::exports()
{
    QTemporaryDir dir;
    McaWindow w;
    w.setContext(context());
    w.setSheet(exampleSheet());
    QList<ui::FileDialogRequest> asked;
    QString answer;
    ui::Messages::setFileAnswers([&](const ui::FileDialogRequest &r) {
        asked << r;
        return answer;
    });
    ui::Messages::setAnswers([](const ui::Messages::Shown &) { return true; });

    answer = dir.filePath(QStringLiteral("Stima MCA.rtf"));
    QTest::mouseClick(w.rtfButton, Qt::LeftButton);
    QCOMPARE(asked.last().title, QStringLiteral("Esporta stima MCA in formato Word compatibile"));
    QCOMPARE(asked.last().suggested, QStringLiteral("Stima MCA.rtf"));
    QVERIFY(asked.last().save);
    QFile rtf(answer);
    QVERIFY(rtf.open(QIODevice::ReadOnly));
    const QByteArray bytes = rtf.readAll();
    QVERIFY(bytes.startsWith("{\\rtf1"));
    QVERIFY(bytes.contains("261.424,75"));

    answer = dir.filePath(QStringLiteral("Stima MCA.pdf"));
    QTest::mouseClick(w.pdfButton, Qt::LeftButton);
    QCOMPARE(asked.last().suggested, QStringLiteral("Stima MCA.pdf"));
    const QString text = pdfText(answer);
    QVERIFY(text.contains(QStringLiteral("Tabella di valutazione")));
    QVERIFY(text.contains(QStringLiteral("261.282,00")));

    // Cancelled: nothing written, nothing shown.
    answer.clear();
    QTest::mouseClick(w.pdfButton, Qt::LeftButton);
    QVERIFY(ui::Messages::shown().isEmpty());

    // A folder that is not there: the error box names the file.
    answer = dir.filePath(QStringLiteral("manca/Stima MCA.rtf"));
    QTest::mouseClick(w.rtfButton, Qt::LeftButton);
    QCOMPARE(ui::Messages::shown().size(), 1);
    QCOMPARE(ui::Messages::shown().first().kind, ui::Messages::Shown::Error);
    QVERIFY(ui::Messages::shown().first().text.contains(QStringLiteral("manca")));
    QVERIFY(!QFile::exists(answer));
}

void TestMcaWindow::prints()
{
    QTemporaryDir dir;
    McaWindow w;
    w.setContext(context());
    w.setSheet(exampleSheet());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("stampa.pdf")));
    w.setPrinterForTests(&printer);
    QTest::mouseClick(w.printButton, Qt::LeftButton);
    QCOMPARE(printer.docName(), QStringLiteral("Stima MCA"));
    const QString text = pdfText(dir.filePath(QStringLiteral("stampa.pdf")));
    QVERIFY(text.contains(QStringLiteral("Stima per confronto di mercato (MCA)")));
    QVERIFY(text.contains(QStringLiteral("Tabella dei prezzi marginali")));
}

void TestMcaWindow::longMessageShownWhole_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("1600×1000") << QSize(1600, 1000);
    QTest::newRow("1024×768") << QSize(1024, 768);
    QTest::newRow("smallest window") << QSize(800, 600);
}

void TestMcaWindow::longMessageShownWhole()
{
    QFETCH(QSize, size);
    McaWindow w;
    w.setContext(context());
    mca::Sheet s = exampleSheet();
    for (mca::Feature f : {mca::Feature::MainSurface, mca::Feature::Floor, mca::Feature::Maintenance, mca::Feature::Bathrooms})
        s.unknown[std::size_t(mca::index(f))] = true;
    w.setSheet(s);
    w.resize(size);
    showActive(w);
    QCoreApplication::processEvents();
    QCOMPARE(w.issuesList->count(), 1);
    const QString message = w.issuesList->item(0)->text();
    QVERIFY(message.contains(QStringLiteral("Il sistema di stima ha 5 incognite")));
    // The message does not fit one line: it wraps, and every line is in view.
    const QWidget *viewport = w.issuesList->viewport();
    const QFontMetrics fm(w.issuesList->font());
    const int needed = fm.boundingRect(QRect(0, 0, viewport->width() - 8, 100000), Qt::TextWordWrap, message).height();
    QVERIFY(fm.horizontalAdvance(message) > viewport->width() || size.width() > 1200);
    QVERIFY(!w.issuesList->horizontalScrollBar()->isVisible());
    QVERIFY(!w.issuesList->verticalScrollBar()->isVisible());
    const QRect item = w.issuesList->visualItemRect(w.issuesList->item(0));
    QVERIFY2(item.height() >= needed, qPrintable(QStringLiteral("%1 < %2").arg(item.height()).arg(needed)));
    QVERIFY2(viewport->rect().contains(item), qPrintable(QStringLiteral("%1 in %2").arg(item.bottom()).arg(viewport->height())));
    // Put right, the list goes.
    for (mca::Feature f : {mca::Feature::MainSurface, mca::Feature::Floor, mca::Feature::Maintenance, mca::Feature::Bathrooms})
        w.parameters->unknown[std::size_t(mca::index(f))]->click();
    QCOMPARE(w.valueLabel->text(), QStringLiteral("261.282,00 €"));
    QVERIFY(!w.issuesList->isVisibleTo(&w));
}

void TestMcaWindow::numbersShownAsNumberText_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("price") << int(Row::Price) << "165000" << "165.000,00";
    QTest::newRow("price with decimals") << int(Row::Price) << "165000,5" << "165.000,50";
    QTest::newRow("surface") << int(Row::MainSurface) << "80" << "80,00";
    QTest::newRow("secondary surface") << int(Row::Balconies) << "12,5" << "12,50";
    QTest::newRow("floor stays whole") << int(Row::Floor) << "3" << "3";
    QTest::newRow("state written with a decimal") << int(Row::Maintenance) << "4,0" << "4";
    QTest::newRow("bathrooms") << int(Row::Bathrooms) << "2" << "2";
    // What number text would change is shown as typed.
    QTest::newRow("price in tenths of a cent") << int(Row::Price) << "165000,125" << "165000,125";
    QTest::newRow("not a number") << int(Row::Price) << "tanto" << "tanto";
    QTest::newRow("address") << int(Row::Address) << "Via Po 3" << "Via Po 3";
}

void TestMcaWindow::numbersShownAsNumberText()
{
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    McaWindow w;
    w.setContext(context());
    w.setSheet(exampleSheet());
    showActive(w);
    typeInto(w.dataTable, Row(row), 2, typed);
    // The cell keeps the text typed, to be typed on; it shows number text.
    QCOMPARE(w.sheet().comparables[1].text(Row(row)), typed);
    auto *delegate = qobject_cast<ui::McaCellDelegate *>(w.dataTable->itemDelegate());
    QVERIFY(delegate);
    QCOMPARE(delegate->shownText(w.dataTable->model()->index(McaDataTable::tableRow(Row(row)), 2)), shown);
    // The print, RTF and PDF show it so too.
    const report::McaDocument d = w.document(report::kPrintedColumns);
    QCOMPARE(d.tables.first().rows[int(Row(row))].value(3), shown); // after the labels and the subject
}

void TestMcaWindow::removingAColumnWithDataAsks_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<int>("left");
    QTest::newRow("with data, kept") << 2 << false << "Rimuovere il comparabile 2 con i suoi dati?" << 4;
    QTest::newRow("with data, removed") << 2 << true << "Rimuovere il comparabile 2 con i suoi dati?" << 3;
    QTest::newRow("empty: removed without asking") << 4 << false << "" << 3;
}

void TestMcaWindow::removingAColumnWithDataAsks()
{
    QFETCH(int, column);
    QFETCH(bool, answer);
    QFETCH(QString, asked);
    QFETCH(int, left);
    McaWindow w;
    w.setContext(context());
    w.setSheet(exampleSheet());
    showActive(w);
    QTest::mouseClick(w.addButton, Qt::LeftButton); // an empty fourth comparable
    ui::Messages::setAnswers([answer](const ui::Messages::Shown &) { return answer; });
    const QString price2 = w.sheet().comparables[1].text(Row::Price);
    w.dataTable->setCurrentCell(McaDataTable::tableRow(Row::Price), column);
    QTest::mouseClick(w.removeButton, Qt::LeftButton);
    QStringList questions;
    for (const ui::Messages::Shown &m : ui::Messages::shown()) {
        QCOMPARE(m.kind, ui::Messages::Shown::Question);
        questions << m.text;
    }
    QCOMPARE(questions, asked.isEmpty() ? QStringList() : QStringList{asked});
    QCOMPARE(w.dataTable->comparableCount(), left);
    QCOMPARE(w.sheet().comparables.size(), left);
    // Kept, the comparable keeps its data.
    if (left == 4)
        QCOMPARE(w.sheet().comparables[1].text(Row::Price), price2);
    else if (column == 2)
        QCOMPARE(w.sheet().comparables[1].text(Row::Price), exampleSheet().comparables[2].text(Row::Price));
}

void TestMcaWindow::proposalKeepsWhatTheUserWrote_data()
{
    QTest::addColumn<QString>("proposedSurface");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("surface");
    QTest::addColumn<bool>("stillEdited");
    // The user wrote 117,10 m² and the state 2; the pages know no state.
    QTest::newRow("a written value would change: kept") << "90,00" << false << true << "117,10" << true;
    QTest::newRow("a written value would change: replaced") << "90,00" << true << true << "90,00" << true;
    QTest::newRow("the same value: nothing to ask") << "117,1" << false << false << "117,1" << true;
}

void TestMcaWindow::proposalKeepsWhatTheUserWrote()
{
    QFETCH(QString, proposedSurface);
    QFETCH(bool, answer);
    QFETCH(bool, asked);
    QFETCH(QString, surface);
    QFETCH(bool, stillEdited);
    McaWindow w;
    w.setContext(context());
    mca::Sheet s = exampleSheet();
    s.subjectEdited = true;
    w.setSheet(s);
    showActive(w);
    mca::SheetColumn proposed = s.subject;
    proposed.setText(Row::MainSurface, proposedSurface);
    proposed.setText(Row::Maintenance, QString());
    ui::Messages::setAnswers([answer](const ui::Messages::Shown &) { return answer; });
    w.offerSubject(proposed);
    if (asked) {
        QCOMPARE(ui::Messages::shown().size(), 1);
        QCOMPARE(ui::Messages::shown().first().text,
                 QStringLiteral("Sostituire con i dati delle pagine i valori scritti nella colonna del soggetto?\n"
                                "Cambierebbero: Superficie principale S₁ (m²)."));
    } else {
        QVERIFY(ui::Messages::shown().isEmpty());
    }
    QCOMPARE(w.dataTable->cell(0, Row::MainSurface)->text(), surface);
    QCOMPARE(w.sheet().subject.text(Row::MainSurface), surface);
    // Never emptied by the pages.
    QCOMPARE(w.dataTable->cell(0, Row::Maintenance)->text(), QStringLiteral("2"));
    QCOMPARE(w.sheet().subject.text(Row::Maintenance), QStringLiteral("2"));
    QCOMPARE(w.sheet().subjectEdited, stillEdited);
    // With the state given by the pages too, the column is the pages' again.
    ui::Messages::setAnswers([](const ui::Messages::Shown &) { return true; });
    proposed.setText(Row::Maintenance, QStringLiteral("2"));
    w.offerSubject(proposed);
    QCOMPARE(w.sheet().subject, proposed);
    QVERIFY(!w.sheet().subjectEdited);
}

void TestMcaWindow::columnsFitAgainAfterRemoving()
{
    McaWindow w;
    w.setContext(context());
    w.setSheet(exampleSheet());
    w.resize(1024, 768);
    showActive(w);
    const auto widths = [&w] {
        QList<int> out;
        for (int c = 0; c < w.dataTable->columnCount(); ++c)
            out << w.dataTable->columnWidth(c);
        return out;
    };
    const QList<int> three = widths();
    const int tableWidth = w.dataTable->width();
    for (int i = 0; i < 7; ++i)
        QTest::mouseClick(w.addButton, Qt::LeftButton);
    QCOMPARE(w.dataTable->comparableCount(), 10);
    ui::Messages::setAnswers([](const ui::Messages::Shown &) { return true; });
    while (w.dataTable->comparableCount() > 3) {
        w.dataTable->setCurrentCell(0, w.dataTable->columnCount() - 1);
        QTest::mouseClick(w.removeButton, Qt::LeftButton);
    }
    QCoreApplication::processEvents();
    QCOMPARE(w.dataTable->width(), tableWidth);
    QCOMPARE(widths(), three);
    QVERIFY(!w.dataTable->horizontalScrollBar()->isVisible());
    // A new appraisal's blank comparison after ten comparables.
    for (int i = 0; i < 7; ++i)
        QTest::mouseClick(w.addButton, Qt::LeftButton);
    w.setSheet(mca::Sheet::blank());
    QCoreApplication::processEvents();
    QCOMPARE(w.dataTable->columnCount(), 4);
    QCOMPARE(widths(), three);
}

void TestMcaWindow::outputsNameTheAppraisal()
{
    QTemporaryDir dir;
    McaWindow w;
    report::McaContext c = context();
    c.appraisal = {{QStringLiteral("IndirizzoImmob"), QStringLiteral("Via Roma")},
                   {QStringLiteral("NumCivicoImmob"), QStringLiteral("10")},
                   {QStringLiteral("PianoImmob"), QStringLiteral("2")},
                   {QStringLiteral("InternoImmob"), QStringLiteral("5")},
                   {QStringLiteral("ComuneImmob"), QStringLiteral("Abano Terme")},
                   {QStringLiteral("SiglaProvinciaImmob"), QStringLiteral("PD")},
                   {QStringLiteral("NomeProfess"), QStringLiteral("Mario")},
                   {QStringLiteral("CognomeProfess"), QStringLiteral("Rossi")}};
    w.setContext(c);
    w.setSheet(exampleSheet());
    // The subject's address from the pages, in the window and in the outputs.
    QCOMPARE(w.dataTable->cell(0, Row::Address)->text(), QStringLiteral("Via Roma 10"));
    QVERIFY(!(w.dataTable->cell(0, Row::Address)->flags() & Qt::ItemIsEditable));
    QCOMPARE(w.sheet().subject.text(Row::Address), QString()); // not saved as the user's
    const QString place = QStringLiteral("Via Roma 10, Piano 2°, Interno 5, Abano Terme (PD)");

    QList<ui::FileDialogRequest> asked;
    QString answer;
    ui::Messages::setFileAnswers([&](const ui::FileDialogRequest &r) {
        asked << r;
        return answer;
    });
    answer = dir.filePath(QStringLiteral("Stima MCA.pdf"));
    QTest::mouseClick(w.pdfButton, Qt::LeftButton);
    QCOMPARE(asked.last().filter, QStringLiteral("Documento PDF (*.pdf) (*.pdf)"));
    const QString text = pdfText(answer);
    QVERIFY2(text.contains(QStringLiteral("Unità immobiliare: ") + place), qPrintable(text.left(600)));
    QVERIFY(text.contains(QStringLiteral("Professionista: Mario Rossi")));
    QCOMPARE(pdfInfo(answer, QStringLiteral("Title")),
             QStringLiteral("Stima per confronto di mercato (MCA) - ") + place + QStringLiteral(" - Mario Rossi"));
    QCOMPARE(pdfInfo(answer, QStringLiteral("Author")), QStringLiteral("Mario Rossi"));

    answer = dir.filePath(QStringLiteral("Stima MCA.rtf"));
    QTest::mouseClick(w.rtfButton, Qt::LeftButton);
    QCOMPARE(asked.last().filter, QStringLiteral("Documento RTF (*.rtf) (*.rtf)"));
    QFile rtf(answer);
    QVERIFY(rtf.open(QIODevice::ReadOnly));
    const QByteArray bytes = rtf.readAll();
    QVERIFY(bytes.contains("Professionista: Mario Rossi\\par"));
    QVERIFY(bytes.contains("Via Roma 10, Piano 2\\u176?, Interno 5, Abano Terme (PD)"));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("stampa.pdf")));
    w.setPrinterForTests(&printer);
    QTest::mouseClick(w.printButton, Qt::LeftButton);
    const QString printed = pdfText(dir.filePath(QStringLiteral("stampa.pdf")));
    QVERIFY(printed.contains(QStringLiteral("Unità immobiliare: ") + place));
    QVERIFY(printed.contains(QStringLiteral("Professionista: Mario Rossi")));
}

QTEST_MAIN(TestMcaWindow)
#include "tst_mcawindow.moc"
