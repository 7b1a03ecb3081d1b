// SPDX-License-Identifier: GPL-2.0-or-later
// The window "Rapporto di valutazione" driven by its fields' names: the
// purpose hides what it does not use, every field reaches the report and back,
// the lights and "Mancano:" follow the edits and lead to the field, what
// cannot be is said and keeps the court's figures from showing, and the
// exports write through the message seam.
#include "files/periziatable.h"
#include "pages/messages.h"
#include "pages/periziaform.h"
#include "pages/periziawindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace brevan;
using namespace brevan::perizia;
using brevan::ui::PeriziaWindow;
using brevan::ui::perizia::ListEditor;

namespace {

AppraisalFacts facts()
{
    AppraisalFacts f;
    f.incomeValue = 190000;
    f.comparisonValue = 200000;
    f.surface = 100;
    f.appraiser = QStringLiteral("Ing. Anna Periti");
    f.pagesDescription = QStringLiteral("Appartamento");
    return f;
}

// Every field given, lists included.
Report sample()
{
    Report r;
    r.purpose = Purpose::Court;
    r.client = QStringLiteral("Banca");
    r.court = QStringLiteral("Tribunale di Forlì");
    r.procedureNumber = QStringLiteral("12/2026");
    r.judge = QStringLiteral("Dott. Giudici");
    r.debtors = {QStringLiteral("Mario Esposito")};
    r.professionalRegister = QStringLiteral("Ordine degli Ingegneri");
    r.registerNumber = QStringLiteral("A1");
    r.engagementDate = QDate(2026, 3, 1);
    r.inspectionDate = QDate(2026, 3, 10);
    r.reportDate = QDate(2026, 4, 1);
    r.independence = true;
    r.documents567Complete = true;
    r.description = QStringLiteral("Descrizione \"mia\" <b>");
    r.cadastral = {CadastralEntry{"Fabbricati", "Forlì", "", "12", "345", "6", "A/2", "3", "5,5 vani", 98, 610.71}};
    r.boundaries = QStringLiteral("via Roma");
    r.matchesCadastralPlan = true;
    r.right = QStringLiteral("piena proprietà");
    r.owners = {Owner{QStringLiteral("Mario Esposito"), true, 1, 2, true}, Owner{QStringLiteral("Srl"), false, 1, 2, false}};
    r.deed = Deed{QStringLiteral("compravendita"), QStringLiteral("Notaio Neri"), QDate(2001, 7, 4), QStringLiteral("9876")};
    r.occupation = Occupation::ThirdPartyWithTitle;
    r.leases = {Lease{QStringLiteral("Carlo"), true, QDate(2019, 1, 10), QDate(2027, 1, 9), 7200, true}};
    r.encumbrances = {Encumbrance{EncumbranceKind::Mortgage, QStringLiteral("ipoteca"), QDate(2001, 7, 5),
                                  QStringLiteral("RG 1"), false, kNotGiven}};
    r.permits = {Permit{QStringLiteral("licenza"), QStringLiteral("45"), QDate(1968, 3, 2)}};
    r.amnesties = {Amnesty{QStringLiteral("Mario Esposito"), QStringLiteral("L. 47/1985"), QStringLiteral("chiusa"), 500, kNotGiven}};
    r.fitForUse = true;
    r.conformsToPermits = true;
    r.censoLivelloUsoCivico = false;
    r.yearlyExpenses = 1200.5;
    r.unpaidLastTwoYears = 0;
    r.extraordinaryResolved = 0;
    r.lawsuits = QStringLiteral("nessuno");
    r.energyClass = QStringLiteral("E");
    r.epgl = 120.25;
    r.documentsExamined = QStringLiteral("visure");
    r.assumptions = QStringLiteral("nessuna");
    r.annexes = {QStringLiteral("foto.jpg")};
    r.stated = StatedValue::Comparison;
    r.adjustments = {Adjustment{AdjustmentKind::Regularisation, QString(), 3500, kNotGiven},
                     Adjustment{AdjustmentKind::NoWarranty, QString(), kNotGiven, 15}};
    r.roundingStep = 500;
    return r;
}

template <typename W>
W *field(PeriziaWindow &w, const char *name)
{
    W *found = w.findChild<W *>(QString::fromLatin1(name));
    Q_ASSERT(found);
    return found;
}

// The field and its label are shown on their section's page.
bool rowShown(PeriziaWindow &w, const char *name)
{
    QWidget *f = w.findChild<QWidget *>(QString::fromLatin1(name));
    QWidget *page = f->parentWidget();
    auto *form = qobject_cast<QFormLayout *>(page->layout());
    QWidget *label = form->labelForField(f);
    return f->isVisibleTo(page) && label && label->isVisibleTo(page);
}

void type(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    else
        QTest::keyClicks(edit, text);
}

} // namespace

class TestPeriziaWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { ui::Messages::resetForTests(); }
    void cleanup()
    {
        ui::Messages::setAnswers({});
        ui::Messages::setFileAnswers({});
    }

    void purposeHidesWhatItDoesNotUse()
    {
        PeriziaWindow w;
        w.show();
        QComboBox *purpose = field<QComboBox>(w, "purpose");
        QCOMPARE(purpose->count(), 3);
        QCOMPARE(purpose->itemText(1), QStringLiteral("Esecuzione immobiliare (art. 173-bis disp. att. c.p.c.)"));
        purpose->setCurrentIndex(int(Purpose::Court));
        QVERIFY(rowShown(w, "court"));
        QVERIFY(rowShown(w, "adjustments"));
        QVERIFY(!rowShown(w, "loanApplicant"));
        QVERIFY(w.privacyButton->isVisibleTo(&w));
        type(field<QLineEdit>(w, "court"), QStringLiteral("Tribunale di Asti"));
        purpose->setCurrentIndex(int(Purpose::Bank));
        QVERIFY(!rowShown(w, "court"));
        QVERIFY(rowShown(w, "loanApplicant"));
        QVERIFY(rowShown(w, "propertyValue"));
        QVERIFY(!w.privacyButton->isVisibleTo(&w));
        // Hidden, never lost.
        QCOMPARE(w.report().court, QStringLiteral("Tribunale di Asti"));
        QCOMPARE(w.report().purpose, Purpose::Bank);
    }

    // A report shown and taken back from the fields is the same report.
    void everyFieldBothWays()
    {
        PeriziaWindow w;
        const Report r = sample();
        w.setReport(r);
        QCOMPARE(field<QLineEdit>(w, "inspectionDate")->text(), QStringLiteral("10/03/2026"));
        QCOMPARE(field<QLineEdit>(w, "yearlyExpenses")->text(), QStringLiteral("1.200,50"));
        QCOMPARE(field<QComboBox>(w, "matchesCadastralPlan")->currentText(), QStringLiteral("sì"));
        QCOMPARE(field<QTableWidget>(w, "ownersTable")->rowCount(), 2);
        // An edit makes the window read all its fields again.
        QSignalSpy edited(&w, &PeriziaWindow::reportEdited);
        type(field<QLineEdit>(w, "judge"), QStringLiteral("Dott. Giudici"));
        QVERIFY(edited.count() > 0);
        const auto text = [](const QVector<QVariantList> &rows) {
            QStringList out;
            for (const QVariantList &row : rows)
                out << row.at(0).toString() + QLatin1Char('#') + row.at(1).toString() + QLatin1Char('=') + row.at(2).toString();
            return out;
        };
        const QStringList back = text(files::periziaRows(w.report()));
        const QStringList sent = text(files::periziaRows(r));
        QStringList lost;
        for (const QString &row : sent) {
            if (!back.contains(row))
                lost << row;
        }
        QVERIFY2(lost.isEmpty(), qPrintable(QStringLiteral("lost: ") + lost.join(QStringLiteral("; "))));
        QCOMPARE(back, sent);
    }

    void lightsAndMissingFollowTheEdits()
    {
        PeriziaWindow w;
        w.show();
        w.setFacts(facts());
        field<QComboBox>(w, "purpose")->setCurrentIndex(int(Purpose::Market));
        QVERIFY(w.missingShown().contains(QStringLiteral("Incarico – Committente (UNI 11612:2015)")));
        type(field<QLineEdit>(w, "client"), QStringLiteral("Famiglia Rossi"));
        QVERIFY(!w.missingShown().join('\n').contains(QStringLiteral("Committente")));

        // "Mancano:" leads to the field.
        QListWidgetItem *item = nullptr;
        for (int i = 0; i < w.missingList->count(); ++i) {
            if (w.missingList->item(i)->text().contains(QStringLiteral("Assunzioni")))
                item = w.missingList->item(i);
        }
        QVERIFY(item);
        w.missingList->itemClicked(item);
        QCOMPARE(w.sectionList->currentRow(), int(Section::Documents));
        QCOMPARE(w.sectionPages->currentIndex(), int(Section::Documents));
        QTRY_COMPARE(QApplication::focusWidget(), field<QWidget>(w, "assumptions"));

        // Filling the engagement's items turns its light on.
        type(field<QLineEdit>(w, "inspectionDate"), QStringLiteral("01/03/2026"));
        type(field<QLineEdit>(w, "reportDate"), QStringLiteral("02/03/2026"));
        field<QCheckBox>(w, "independence")->setChecked(true);
        field<QCheckBox>(w, "followsUni11612")->setChecked(true);
        QVERIFY(!w.missingShown().join('\n').contains(QStringLiteral("Incarico –")));
    }

    void problemsAreSaid_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("inspection after the report")
            << "inspectionDate" << "05/04/2026" << "La data del sopralluogo non può essere successiva a quella del rapporto.";
        QTest::newRow("a date that is none") << "reportDate" << "31/02/2026" << "Data del rapporto: valore non valido.";
        QTest::newRow("an amount that is none") << "yearlyExpenses" << "mille" << "Spese ordinarie annue (€): valore non valido.";
        QTest::newRow("a negative amount") << "unpaidLastTwoYears" << "-5" << "L'importo non può essere negativo.";
    }
    void problemsAreSaid()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        PeriziaWindow w;
        w.show();
        w.setFacts(facts());
        w.setReport(sample());
        QVERIFY(w.problemsLabel->isHidden());
        QVERIFY(w.courtLabel->text().contains(QStringLiteral("Prezzo base proposto")));
        type(field<QLineEdit>(w, qPrintable(name)), typed);
        QVERIFY(w.problemsLabel->isVisibleTo(&w));
        QVERIFY2(w.problemsLabel->text().contains(message), qPrintable(w.problemsLabel->text()));
    }

    // The court's figures as the arithmetic gives them, and none while an
    // adjustment cannot be read.
    void courtFigures()
    {
        PeriziaWindow w;
        w.show();
        w.setFacts(facts());
        w.setReport(sample());
        // 200.000 less 3.500 and 30.000 is 166.500; half of it 83.250; to 500: 83.500.
        QVERIFY(w.courtLabel->text().contains(QStringLiteral("83.250,00 €")));
        QVERIFY(w.courtLabel->text().contains(QStringLiteral("Prezzo base proposto: 83.500,00 €")));
        QTableWidget *table = field<QTableWidget>(w, "adjustmentsTable");
        table->item(0, 2)->setText(QStringLiteral("tremila"));
        QCOMPARE(w.courtLabel->text(), QString());
        QVERIFY(w.problemsLabel->text().contains(QStringLiteral("Adeguamenti (art. 568 c.p.c.), riga 1, Importo €: valore non valido.")));
        table->item(0, 2)->setText(QStringLiteral("3.000"));
        QVERIFY(w.courtLabel->text().contains(QStringLiteral("Valore al netto degli adeguamenti: 167.000,00 €")));
        // The regularisation and the unpaid expenses proposed from their sections.
        type(field<QLineEdit>(w, "planFixCost"), QStringLiteral("1.000"));
        type(field<QLineEdit>(w, "unpaidLastTwoYears"), QStringLiteral("2.000"));
        field<QPushButton>(w, "proposeAdjustments")->click();
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(table->item(0, 2)->text(), QStringLiteral("1.000"));
        QCOMPARE(table->item(1, 2)->text(), QStringLiteral("2.000"));
        // 200.000 less 1.000, 2.000 and 30.000.
        QVERIFY(w.courtLabel->text().contains(QStringLiteral("Valore al netto degli adeguamenti: 167.000,00 €")));
        table->item(1, 2)->setText(QString());
        QCOMPARE(w.report().adjustments.size(), 3);
        // A row added and removed.
        field<QPushButton>(w, "adjustmentsAdd")->click();
        QCOMPARE(table->rowCount(), 4);
        table->setCurrentCell(3, 1);
        field<QPushButton>(w, "adjustmentsRemove")->click();
        QCOMPARE(w.report().adjustments.size(), 3);
    }

    void exports()
    {
        QTemporaryDir dir;
        PeriziaWindow w;
        w.setFacts(facts());
        w.setReport(sample());
        ui::Messages::setAnswers([](const ui::Messages::Shown &) { return true; });
        QStringList asked;
        QString answer;
        ui::Messages::setFileAnswers([&](const ui::FileDialogRequest &r) {
            asked << r.title;
            return answer;
        });
        answer = dir.filePath(QStringLiteral("rapporto.pdf"));
        w.pdfButton->click();
        QVERIFY(QFileInfo::exists(answer));
        answer = dir.filePath(QStringLiteral("rapporto.odt"));
        w.odtButton->click();
        QVERIFY(QFileInfo::exists(answer));
        answer = dir.filePath(QStringLiteral("rapporto privacy.pdf"));
        w.privacyButton->click();
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), answer, QStringLiteral("-")});
        QVERIFY(p.waitForFinished(20000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY(text.contains(QStringLiteral("omissis")));
        QVERIFY(!text.contains(QStringLiteral("Esposito")));
        QCOMPARE(asked, (QStringList{"Esporta PDF", "Esporta ODT", "Esporta copia privacy"}));
        // Cancelled: nothing written, nothing said.
        answer.clear();
        w.pdfButton->click();
        QVERIFY(ui::Messages::shown().isEmpty());
        // A folder that cannot be written: the error box.
        answer = dir.filePath(QStringLiteral("manca/rapporto.pdf"));
        w.pdfButton->click();
        QCOMPARE(ui::Messages::shown().size(), 1);
        QCOMPARE(ui::Messages::shown().at(0).kind, ui::Messages::Shown::Error);
    }
};

QTEST_MAIN(TestPeriziaWindow)
#include "tst_periziawindow.moc"
