// SPDX-License-Identifier: GPL-2.0-or-later
// Appraisals that name a municipality no longer in force, saved and opened
// again through the real main window.
#include "../support/filesession.h"
#include "../support/fixtures.h"
#include "app/application.h"
#include "data/municipalities.h"
#include "pages/descriptionpage.h"
#include "pages/pagekit.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStatusBar>
#include <QTest>

using namespace brevan;
using brevan::app::MainWindow;
using brevan::ui::FileDialogRequest;
using brevan::ui::Messages;

using namespace filesession;

class TestFormerMunicipality : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }

    // An appraisal naming a municipality no longer in force opens as saved:
    // its name, province and postal code stand, the list stands on its row
    // only when the list of the appraisal's date holds it (no namesake of
    // another province is taken), the status bar says what became of it, and
    // the file is not rewritten.
    void reopensMunicipalityNoLongerInForce_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("postal");
        QTest::addColumn<QString>("province");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("note"); // empty: in force, no note
        QTest::addColumn<bool>("listed");  // the list stands on its row

        const QDate today = QDate::currentDate();
        const QDate before = QDate(2022, 6, 1);
        const QString tonengo = QStringLiteral("Comune soppresso il 01/01/2023: ora Moransengo-Tonengo");
        QTest::newRow("Tonengo, merged") << today << "Tonengo" << "14023" << "Asti" << "AT" << tonengo << false;
        QTest::newRow("Tonengo, dated before the merger: listed, and still said")
            << before << "Tonengo" << "14023" << "Asti" << "AT" << tonengo << true;
        QTest::newRow("Calliano of Asti, renamed; the Trento one is not taken")
            << today << "Calliano" << "14031" << "Asti" << "AT" << "Comune rinominato in Calliano Monferrato" << false;
        QTest::newRow("Calliano of Asti, renamed, dated before the rename")
            << before << "Calliano" << "14031" << "Asti" << "AT" << "Comune rinominato in Calliano Monferrato" << false;
        QTest::newRow("Calliano of Trento, in force")
            << today << "Calliano" << "38060" << "Trento" << "TN" << "" << true;
        QTest::newRow("second Livo: its own row") << today << "Livo" << "38020" << "Trento" << "TN" << "" << true;
        QTest::newRow("second Livo in the list of 2022") << before << "Livo" << "38020" << "Trento" << "TN" << ""
                                                        << true;
    }
    void reopensMunicipalityNoLongerInForce()
    {
        QFETCH(QDate, date);
        QFETCH(QString, name);
        QFETCH(QString, postal);
        QFETCH(QString, province);
        QFETCH(QString, code);
        QFETCH(QString, note);
        QFETCH(bool, listed);

        AppFixture f(app::Operations::Wired);
        MainWindow *w = f.window.get();
        QDir().mkpath(f.path("appraisals"));
        QStringList answers;
        Messages::setFileAnswers([&](const FileDialogRequest &) { return answers.isEmpty() ? QString() : answers.takeFirst(); });
        ui::DescriptionPage *d = w->descriptionPage;
        // As a file saved with the list of its day holds them.
        ui::setComboText(d->municipalityCombo, name);
        ui::setComboText(d->postalCodeCombo, postal);
        ui::setComboText(d->provinceCombo, province);
        ui::setComboText(d->provinceCodeCombo, code);
        d->setAppraisalDate(date);
        const QString table = f.path("appraisals/Stima - comune.db");
        answers << table;
        w->saveAction->trigger();
        QCOMPARE(storedText(table, "ComuneImmob"), name);
        const QDateTime written = QFileInfo(table).lastModified();

        f.answer = true;
        w->newAction->trigger();
        QCOMPARE(d->municipalityCombo->currentText(), QString());
        w->statusBar()->clearMessage();
        answers << table;
        w->openAction->trigger();

        QCOMPARE(d->municipalityCombo->currentText(), name);
        QCOMPARE(d->postalCodeCombo->currentText(), postal);
        QCOMPARE(d->provinceCombo->currentText(), province);
        QCOMPARE(d->provinceCodeCombo->currentText(), code);
        const int row = d->municipalityCombo->currentIndex();
        QCOMPARE(d->dateEdit->date(), date);
        if (listed) {
            const MunicipalityList &offered = ui::offeredMunicipalities();
            QCOMPARE(&offered, &municipalitiesAt(date));
            QVERIFY(row >= 0);
            QCOMPARE(offered.names.at(row), name);
            QCOMPARE(offered.provinceCodes.at(row), code);
            QCOMPARE(d->municipalityCombo->itemText(row), name);
        } else {
            QCOMPARE(row, -1);
        }
        QCOMPARE(w->statusBar()->currentMessage(), note);
        // Nothing stored was rewritten by opening.
        QCOMPARE(QFileInfo(table).lastModified(), written);
        QCOMPARE(storedText(table, "ComuneImmob"), name);
        QCOMPARE(storedText(table, "ProvinciaImmob"), province);
    }
};

QTEST_MAIN(TestFormerMunicipality)
#include "tst_formermunicipality.moc"
