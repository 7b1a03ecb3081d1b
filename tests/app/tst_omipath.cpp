// SPDX-License-Identifier: GPL-2.0-or-later
// From the OMI quotation files to the rent proposed on the income page, as a
// user goes: the municipality typed on the description page, the zones and
// then the rents imported through the two editors' "Importa OMI…" buttons and
// saved with OK, and an imported zone chosen on the localisation page.
#include "../support/appfixture.h"
#include "../support/omifixtures.h"
#include "app/application.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/omiimportdialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace brevan;
using namespace omifixtures;
using brevan::ui::OmiImportDialog;

namespace {

// While the editor opened by the button is on screen: "Importa OMI…", then OK.
void importThrough(QAbstractButton *opener, bool *ran)
{
    QTimer::singleShot(0, [ran] {
        QWidget *editor = QApplication::activeModalWidget();
        QVERIFY(editor);
        auto *import = editor->findChild<QPushButton *>(QStringLiteral("BitBtnImportaOMI"));
        QVERIFY(import);
        import->click();
        for (QPushButton *b : editor->findChildren<QPushButton *>()) {
            if (b->text() == QLatin1String("&OK") && b->parent() == editor) {
                *ran = true;
                b->click();
                return;
            }
        }
    });
    QTest::mouseClick(opener, Qt::LeftButton);
}

void choose(QComboBox *combo, const QString &text)
{
    const int target = combo->findText(text, Qt::MatchExactly);
    QVERIFY2(target >= 0, qPrintable(text));
    combo->setFocus(Qt::TabFocusReason);
    for (int guard = 0; combo->currentIndex() != target && guard < 50; ++guard)
        QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(combo->currentText(), text);
}

} // namespace

class TestOmiPath : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }
    void cleanup() { OmiImportDialog::setTestHandler({}); }

    void fromTheFilesToTheProposedRent()
    {
        QTemporaryDir files;
        const QString values = files.filePath("QI_118633_1_20242_VALORI.csv");
        write(values, encode(valuesFile("2024/2", abanoValues()), Encoding::Windows1252));
        write(files.filePath("QI_118633_1_20242_ZONE.csv"), encode(zonesFile("2024/2", abanoZones()), Encoding::Utf8));

        AppFixture f(app::Operations::Wired);
        app::MainWindow *w = f.window.get();
        w->show();
        w->selectNode(2);
        ui::DescriptionPage *d = w->descriptionPage;
        d->setAppraisalDate(QDate(2024, 11, 5));
        d->municipalityCombo->setFocus();
        QTest::keyClicks(d->municipalityCombo, "Abano Terme");
        QCOMPARE(d->provinceCodeCombo->currentText(), QStringLiteral("PD"));

        ui::Messages::setFileAnswers([&values](const ui::FileDialogRequest &) { return values; });
        int asked = 0;
        OmiImportDialog::setTestHandler([&asked](OmiImportDialog &dialog) {
            ++asked;
            // The semester's year is the valuation's: the only one offered.
            [&] { QCOMPARE(dialog.yearCombo->count(), 1); }();
            return true;
        });

        bool zonesDone = false;
        importThrough(w->localisationPage->zonesEditorButton, &zonesDone);
        QVERIFY(zonesDone);
        bool rentsDone = false;
        importThrough(w->incomePage->unitRentTableButton, &rentsDone);
        QVERIFY(rentsDone);
        QCOMPARE(asked, 2);
        QVERIFY(ui::Messages::shown().isEmpty());
        QVERIFY(Table::exists(f.dataFolder() + "/ZonaUrbanaAbano Terme35031PD.db"));
        QVERIFY(Table::exists(f.dataFolder() + "/CanoniLocazUnitariAbano Terme35031PD.db"));

        // The semicentral zone selects "Zona intermedia", whose rents run from
        // 4,50 to 6,10 €/m²: 8713,215 and 11811,247 Lire, halfway 10262.
        ui::LocalisationPage *l = w->localisationPage;
        QCOMPARE(l->urbanZoneCombo->count(), 6);
        choose(l->urbanZoneCombo, "C1 SEMICENTRO");
        QVERIFY(l->intermediateZoneRadio->isChecked());
        QCOMPARE(w->incomePage->unitRentEdit->text(), QStringLiteral("10.262,00"));
        QCOMPARE(w->incomePage->unitRentEdit->statusTip(),
                 QStringLiteral("Canone mensile di locazione unitario variabile fra un minimo di 8.713,22 Lire e un "
                                "massimo di 11.811,25 Lire."));

        // And the central zone, over B1 and B2: 5,90 to 8,20 €/m².
        choose(l->urbanZoneCombo, "B2 VIALE DELLE TERME, PIAZZA D");
        QVERIFY(l->centralZoneRadio->isChecked());
        QCOMPARE(w->incomePage->unitRentEdit->text(), QStringLiteral("13.650,00"));
    }
};

QTEST_MAIN(TestOmiPath)
#include "tst_omipath.moc"
