// SPDX-License-Identifier: GPL-2.0-or-later
#include "../support/filesession.h"
#include "../support/fixtures.h"
#include "app/application.h"
#include "app/fileops.h"
#include "pages/comparablespage.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/localisationpage.h"
#include "pages/pagekit.h"
#include "pages/picturepage.h"
#include "pages/resultspage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "store/datafolder.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

using namespace brevan;
using brevan::app::FileOps;
using brevan::app::MainWindow;
using brevan::files::RecordValues;
using brevan::ui::FileDialogRequest;
using brevan::ui::Messages;

using namespace filesession;

class TestFileOps : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }

    void everyFieldHasItsControl()
    {
        Session s;
        for (const FieldDef &f : recordFields()) {
            if (*f.control)
                QVERIFY2(s.ops.control(QString::fromLatin1(f.name)), f.name);
        }
        for (const int n : openingOrder())
            QVERIFY2(s.ops.control(QString::fromLatin1(recordFields()[n - 1].name)), recordFields()[n - 1].name);
    }

    // Fill every page, save, clear with a new appraisal, open: the fields, the
    // pictures and both tables come back as saved.
    void roundTrip()
    {
        Session s;
        MainWindow *w = s.w();
        fillEveryPage(s);
        w->coefficients[Coef::SaggioCapitalizzaz] = 2.75;
        w->coefficients[Coef::CDEsposizione] = -0.5;
        const QImage photo = picture({40, 30}, qRgb(200, 30, 40));
        const QImage areaPlan = picture({16, 12}, qRgb(10, 200, 40));
        setPicture(w->photoPage, photo);
        setPicture(w->areaPlanPage, areaPlan);
        w->unitPlanPage->clearPicture();
        setSurfaceRow(w, 0, QStringLiteral("Soggiorno"), 25.5);
        setSurfaceRow(w, 3, QStringLiteral("Cucina"), 12.25);
        addComparable(w, kCompleteComparable);
        addComparable(w, {"Via Rossi", "9"});
        const QVector<QVariantList> surfaces = tableRows(dataPath(kDescrSup));
        const QVector<QVariantList> comparables = tableRows(dataPath(kImmConfr));
        const RecordValues saved = s.ops.currentRecord();

        // Long accented texts in the address: the file names are cut so that
        // the record's 150-character fields hold them whole.
        const QString name = files::companionStem(files::appraisalName(saved));
        QVERIFY(name.size() < files::appraisalName(saved).size());
        const QString table = s.inFolder(QStringLiteral("Stima - ") + name + QStringLiteral(".db"));
        s.files << table;
        w->saveAction->trigger();

        QCOMPARE(Messages::fileRequests().size(), 1);
        const FileDialogRequest save = Messages::fileRequests().at(0);
        QCOMPARE(save.title, QStringLiteral("Salva stima corrente"));
        QCOMPARE(save.filter, QStringLiteral("Stima Brevan (*.db) (Stima*.db)"));
        QCOMPARE(save.suggested, QStringLiteral("Stima - ") + name + QStringLiteral(".db"));
        QCOMPARE(save.directory, s.app.path("program"));
        QVERIFY(save.save);
        QCOMPARE(QDir::currentPath(), s.folder());
        QCOMPARE(s.warnings(), QStringList());
        QCOMPARE(s.requests, QStringList());

        QStringList expectedFiles{QStringLiteral("Foto - ") + name + ".bmp", QStringLiteral("ImmobConfr - ") + name + ".db",
                                  QStringLiteral("PlanimZona - ") + name + ".bmp", QStringLiteral("Stima - ") + name + ".db",
                                  QStringLiteral("Superfici - ") + name + ".db"};
        QCOMPARE(s.folderFiles(), expectedFiles);
        QCOMPARE(openRecord(table).layout(), files::recordLayout());
        QCOMPARE(openRecord(table).rowCount(), 1);
        QCOMPARE(storedText(table, "FotoImmob"), QStringLiteral("Foto - ") + name + ".bmp");
        QVERIFY(storedText(table, "PlanimZonaImmob").size() <= 150);
        QVERIFY(storedText(table, "PlanimZonaImmob").toUtf8().size() <= 255 - 16);
        QCOMPARE(storedText(table, "PlanimZonaImmob"), QStringLiteral("PlanimZona - ") + name + ".bmp");
        QCOMPARE(storedText(table, "PlanimImmob"), QString());
        QCOMPARE(storedText(table, "SuperficiImmob"), QStringLiteral("Superfici - ") + name + ".db");
        QCOMPARE(storedText(table, "TableNameImmobConfr"), QStringLiteral("ImmobConfr - ") + name + ".db");
        QCOMPARE(storedText(table, "DataStimaImmob"), QStringLiteral("24/02/1999"));
        QCOMPARE(storedText(table, "ConsistCatastImmob"), QStringLiteral("5,5 "));
        QCOMPARE(storedText(table, "SupUtileImmob"), QStringLiteral("45,5"));
        QCOMPARE(storedText(table, "SupCommercImmob"), QStringLiteral("52,1234567"));
        {
            const Table t = openRecord(table);
            const qint64 id = t.rowIds().first();
            QCOMPARE(t.real(id, QStringLiteral("SaggioCapitalizzaz")), 2.75);
            QCOMPARE(t.real(id, QStringLiteral("CDEsposizione")), -0.5);
            QCOMPARE(t.real(id, QStringLiteral("CICentrRispCentrUrb")), 0.0);
            QVERIFY(t.logical(id, QStringLiteral("MedieDimensImmob")));
            QVERIFY(!t.logical(id, QStringLiteral("PiccoleDimensImmob")));
        }
        QCOMPARE(tableRows(s.inFolder(QStringLiteral("Superfici - ") + name + ".db")), surfaces);
        QCOMPARE(tableRows(s.inFolder(QStringLiteral("ImmobConfr - ") + name + ".db")), comparables);
        // The working tables are open again after the save.
        QVERIFY(w->surfacesPage->model()->isOpen());
        QVERIFY(w->comparablesPage->model()->isOpen());
        QCOMPARE(w->comparablesPage->model()->rowCount(), 2);

        s.app.answer = true;
        w->newAction->trigger();
        QCOMPARE(w->photoPage->hasPicture(), false);
        QCOMPARE(w->surfacesPage->model()->rowCount(), 25);
        QCOMPARE(w->comparablesPage->model()->rowCount(), 0);
        s.requests.clear();

        s.files << table;
        QDir::setCurrent(s.app.path("program"));
        w->openAction->trigger();
        QCOMPARE(s.warnings().filter(QStringLiteral("Impossibile")), QStringList());
        const FileDialogRequest open = Messages::fileRequests().last();
        QCOMPARE(open.title, QStringLiteral("Apri stima"));
        QCOMPARE(open.filter, QStringLiteral("Stima Brevan (*.db) (Stima*.db)"));
        QCOMPARE(open.directory, s.app.path("program"));
        QVERIFY(!open.save);
        QCOMPARE(QDir::currentPath(), s.folder());
        QCOMPARE(w->selectedNode(), 0);
        QCOMPARE(s.requests, (QStringList{"AttivaSpeedButtonCalcolaSuperfici", "ImpostaSemaforiTreeView"}));

        const RecordValues back = s.ops.currentRecord();
        for (const int n : openingOrder()) {
            const FieldDef &f = recordFields()[n - 1];
            const QString field = QString::fromLatin1(f.name);
            QVariant expected = saved.value(field);
            if (f.type == FieldType::Text)
                expected = expected.toString().left(f.size);
            QVERIFY2(back.value(field) == expected,
                     qPrintable(field + ": " + back.value(field).toString() + " != " + expected.toString()));
        }
        QCOMPARE(back.value("ConsistCatastImmob").toString(), QStringLiteral("5,5 "));
        QCOMPARE(w->descriptionPage->dateEdit->date(), QDate(1999, 2, 24));
        // Coefficients are not read back: the new appraisal's zeros stay.
        QCOMPARE(w->coefficients, Coefficients());
        QCOMPARE(w->photoPage->sourceImage().convertToFormat(QImage::Format_RGB32), photo);
        QCOMPARE(w->areaPlanPage->sourceImage().convertToFormat(QImage::Format_RGB32), areaPlan);
        QVERIFY(!w->unitPlanPage->hasPicture());
        for (QWidget *c : w->photoPage->pictureControls())
            QVERIFY(c->isEnabled());
        QVERIFY(!w->photoPage->stretchCheck->isChecked());
        QVERIFY(!w->unitPlanPage->saveButton->isEnabled());
        QCOMPARE(tableRows(dataPath(kDescrSup)), surfaces);
        QCOMPARE(tableRows(dataPath(kImmConfr)), comparables);
        QCOMPARE(w->surfacesPage->model()->rowCount(), 36);
        QCOMPARE(w->comparablesPage->model()->rowCount(), 2);
    }

    // With every subsystem's reactions running, the reading order lets the
    // stored values win over what the reactions propose on the way (rate
    // after the city size, rent after the zone, expenses after the income).
    void wiredRoundTripKeepsStoredValues()
    {
        AppFixture f(app::Operations::Wired);
        MainWindow *w = f.window.get();
        QVERIFY(w->fileOps);
        QDir().mkpath(f.path("appraisals"));
        QStringList answers;
        Messages::setFileAnswers([&](const FileDialogRequest &) { return answers.isEmpty() ? QString() : answers.takeFirst(); });

        w->localisationPage->mediumTownRadio->setChecked(true);
        w->localisationPage->averageRateEdit->setText(QStringLiteral("4,25"));
        w->localisationPage->intermediateZoneRadio->setChecked(true);
        w->incomePage->unitRentEdit->setText(QStringLiteral("12.500"));
        w->incomePage->depositMonthsEdit->setText(QStringLiteral("3"));
        w->incomePage->commercialRateEdit->setText(QStringLiteral("5"));
        w->incomePage->legalRateEdit->setText(QStringLiteral("2,5"));
        const QStringList expenses{"1.000", "2.000", "3.000", "4.000", "5.000", "6.000"};
        for (int i = 0; i < 6; ++i)
            w->incomePage->expenseEdit(i)->setText(expenses.at(i));
        const RecordValues saved = w->fileOps->currentRecord();
        // The reactions may have formatted what was typed; they must not have emptied it.
        for (const char *field : {"SaggioMedioImmob", "CanoneLocazUnit", "SpeseManutenzione", "AliquoteTasse"})
            QVERIFY2(!saved.value(field).toString().isEmpty(), field);

        const QString table = f.path("appraisals/Stima - wired.db");
        answers << table;
        w->saveAction->trigger();
        f.answer = true;
        w->newAction->trigger();
        QCOMPARE(w->localisationPage->averageRateEdit->text(), QString());
        answers << table;
        w->openAction->trigger();

        QCOMPARE(Messages::shown().size(), 1); // the new appraisal's question
        const RecordValues back = w->fileOps->currentRecord();
        for (const int n : openingOrder()) {
            const QString field = QString::fromLatin1(recordFields()[n - 1].name);
            QVERIFY2(back.value(field) == saved.value(field),
                     qPrintable(field + ": " + back.value(field).toString() + " != " + saved.value(field).toString()));
        }
        QVERIFY(w->localisationPage->mediumTownRadio->isChecked());
        QVERIFY(w->localisationPage->intermediateZoneRadio->isChecked());
    }

    // Each trio of options comes back with no option selected when none was.
    void openClearsOptionsStoredClear()
    {
        Session s;
        MainWindow *w = s.w();
        const QString table = s.inFolder("Stima - a.db");
        s.files << table;
        w->saveAction->trigger();
        w->localisationPage->largeTownRadio->setChecked(true);
        w->localisationPage->centralZoneRadio->setChecked(true);
        s.files << table;
        w->openAction->trigger();
        QCOMPARE(s.warnings(), QStringList());
        QVERIFY(!w->localisationPage->largeTownRadio->isChecked());
        QVERIFY(!w->localisationPage->centralZoneRadio->isChecked());
    }

    void newAppraisal()
    {
        Session s;
        MainWindow *w = s.w();
        fillEveryPage(s);
        w->coefficients[Coef::CILuminosita] = 1.5;
        setPicture(w->unitPlanPage, picture({8, 8}, qRgb(1, 1, 1)));
        w->unitPlanPage->stretchCheck->setChecked(true);
        addComparable(w, kCompleteComparable);
        w->resultsPage->summaryEdit->setPlainText(QStringLiteral("Riepilogo"));
        w->localisationPage->urbanZoneCombo->addItems({"Centro", "Borgo"});
        w->localisationPage->zonesEditorButton->show();
        w->incomePage->unitRentTableButton->show();
        w->surfacesPage->computeButton->setEnabled(true);
        w->surfacesPage->usefulEdit->setText(QStringLiteral("45,50"));
        w->selectNode(5);

        s.app.answer = true;
        w->newAction->trigger();

        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(Messages::shown().at(0).kind, Messages::Shown::Confirm);
        QCOMPARE(Messages::shown().at(0).text,
                 QStringLiteral("Tutti i dati precedentemente inseriti\nverranno eliminati. Continuare?"));
        QCOMPARE(s.requests, (QStringList{"clearPreviousAppraisals", "surfacesCleared", "ImpostaSemaforiTreeView"}));
        QCOMPARE(w->selectedNode(), 0);
        const RecordValues now = s.ops.currentRecord();
        for (const FieldDef &f : recordFields()) {
            const QString field = QString::fromLatin1(f.name);
            if (field == QLatin1String("DataStimaImmob"))
                QCOMPARE(now.value(field).toString(), QStringLiteral("15/06/2031"));
            else if (f.type == FieldType::Text && f.open != OpenRole::Companion && *f.control)
                QVERIFY2(now.value(field).toString().isEmpty(), f.name);
            else if (f.type == FieldType::Logical)
                QVERIFY2(!now.value(field).toBool(), f.name);
        }
        QCOMPARE(w->coefficients, Coefficients());
        for (QLineEdit *rent : {w->incomePage->midRentEdit, w->incomePage->minRentEdit, w->incomePage->maxRentEdit})
            QCOMPARE(rent->text(), QStringLiteral("0"));
        QCOMPARE(w->resultsPage->summaryEdit->toPlainText(), QString());
        QVERIFY(!w->resultsPage->summaryEdit->isEnabled());
        QCOMPARE(w->localisationPage->urbanZoneCombo->count(), 0);
        QVERIFY(w->localisationPage->zonesEditorButton->isHidden());
        QVERIFY(w->incomePage->unitRentTableButton->isHidden());
        QVERIFY(!w->unitPlanPage->hasPicture());
        QVERIFY(!w->unitPlanPage->stretchCheck->isChecked());
        for (QWidget *c : w->unitPlanPage->pictureControls())
            QVERIFY(!c->isEnabled());
        QCOMPARE(w->surfacesPage->model()->rowCount(), 25);
        QCOMPARE(Table::open(dataPath(kDescrSup)).rowCount(), 25);
        QCOMPARE(w->comparablesPage->model()->rowCount(), 0);
        QVERIFY(!w->surfacesPage->computeButton->isEnabled());
        QCOMPARE(w->surfacesPage->usefulEdit->text(), QString());
    }

    void newCancelledChangesNothing()
    {
        Session s;
        MainWindow *w = s.w();
        fillEveryPage(s);
        w->coefficients[Coef::CILuminosita] = 1.5;
        setPicture(w->photoPage, picture({8, 8}, qRgb(1, 1, 1)));
        setSurfaceRow(w, 0, QStringLiteral("Bagno"), 6);
        addComparable(w, kCompleteComparable);
        const RecordValues before = s.ops.currentRecord();
        const QVector<QVariantList> surfaces = tableRows(dataPath(kDescrSup));

        s.app.answer = false;
        w->newAction->trigger();

        QCOMPARE(Messages::shown().size(), 1);
        QCOMPARE(s.ops.currentRecord(), before);
        QCOMPARE(w->coefficients[Coef::CILuminosita], 1.5);
        QVERIFY(w->photoPage->hasPicture());
        QCOMPARE(tableRows(dataPath(kDescrSup)), surfaces);
        QCOMPARE(w->comparablesPage->model()->rowCount(), 1);
        QCOMPARE(s.requests, QStringList());
    }

    // Saving a second appraisal of the same unit under another table name
    // leaves the first one's companion files alone.
    void renamedTableKeepsCompanionsApart()
    {
        Session s;
        MainWindow *w = s.w();
        typeInto(w->descriptionPage->addressEdit, QStringLiteral("Via Roma"));
        setPicture(w->photoPage, picture({10, 10}, qRgb(255, 0, 0)));
        setSurfaceRow(w, 0, QStringLiteral("Soggiorno"), 20);
        addComparable(w, kCompleteComparable);
        const QString name = files::appraisalName(s.ops.currentRecord());
        const QString first = s.inFolder("Stima - " + name + ".db");
        s.files << first;
        w->saveAction->trigger();
        const QByteArray firstPhoto = fixtures::readBytes(s.inFolder("Foto - " + name + ".bmp"));
        const QByteArray firstSurfaces = fixtures::readBytes(s.inFolder("Superfici - " + name + ".db"));
        QVERIFY(!firstPhoto.isEmpty());

        setPicture(w->photoPage, picture({12, 12}, qRgb(0, 0, 255)));
        setSurfaceRow(w, 0, QStringLiteral("Cucina"), 9);
        s.files << s.inFolder("Stima - seconda");
        w->saveAction->trigger();

        QCOMPARE(s.warnings(), QStringList());
        QCOMPARE(fixtures::readBytes(s.inFolder("Foto - " + name + ".bmp")), firstPhoto);
        QCOMPARE(fixtures::readBytes(s.inFolder("Superfici - " + name + ".db")), firstSurfaces);
        const QString second = s.inFolder("Stima - seconda.db");
        QVERIFY(QFileInfo::exists(second));
        QCOMPARE(storedText(second, "FotoImmob"), QStringLiteral("Foto - seconda.bmp"));
        QCOMPARE(storedText(second, "SuperficiImmob"), QStringLiteral("Superfici - seconda.db"));
        QCOMPARE(storedText(second, "TableNameImmobConfr"), QStringLiteral("ImmobConfr - seconda.db"));
        QCOMPARE(storedText(first, "FotoImmob"), "Foto - " + name + ".bmp");
        QCOMPARE(files::readPicture(s.inFolder("Foto - seconda.bmp")).pixel(5, 5), qRgb(0, 0, 255));
        QCOMPARE(files::readPicture(s.inFolder("Foto - " + name + ".bmp")).pixel(5, 5), qRgb(255, 0, 0));

        // Saving twice under the same name replaces without a question.
        s.files << second;
        w->saveAction->trigger();
        QCOMPARE(Messages::shown().size(), 0);
        QCOMPARE(openRecord(second).rowCount(), 1);
    }

    // "12/A" stays in the record; the file names hold "12_A", inside the folder.
    void houseNumberWithSlash()
    {
        Session s;
        MainWindow *w = s.w();
        typeInto(w->descriptionPage->addressEdit, QStringLiteral("Via Po"));
        typeInto(w->descriptionPage->houseNumberEdit, QStringLiteral("12/A"));
        typeInto(w->descriptionPage->internalNumberEdit, QStringLiteral("3\\B"));
        setPicture(w->photoPage, picture({4, 4}, qRgb(9, 9, 9)));
        w->saveAction->trigger(); // cancelled: nothing written
        QCOMPARE(s.folderFiles(), QStringList());
        const QString suggested = Messages::fileRequests().last().suggested;
        QCOMPARE(suggested, QStringLiteral("Stima - Via Po 12_A,  -  - Piano  di , Interno 3_B.db"));

        s.files << s.inFolder(suggested);
        w->saveAction->trigger();
        QCOMPARE(s.warnings(), QStringList());
        QCOMPARE(s.folderFiles(), (QStringList{"Foto - Via Po 12_A,  -  - Piano  di , Interno 3_B.bmp", suggested}));
        QCOMPARE(QDir(s.folder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
        QCOMPARE(storedText(s.inFolder(suggested), "NumCivicoImmob"), QStringLiteral("12/A"));
        QCOMPARE(storedText(s.inFolder(suggested), "InternoImmob"), QStringLiteral("3\\B"));
    }

    void emptyAddressNames()
    {
        Session s;
        MainWindow *w = s.w();
        setPicture(w->areaPlanPage, picture({4, 4}, qRgb(9, 9, 9)));
        const QString stem = QStringLiteral(" ,  -  - Piano  di , Interno ");
        s.files << s.inFolder("Stima - " + stem + ".db");
        w->saveAction->trigger();
        QCOMPARE(Messages::fileRequests().last().suggested, "Stima - " + stem + ".db");
        QCOMPARE(s.folderFiles(), (QStringList{"PlanimZona - " + stem + ".bmp", "Stima - " + stem + ".db"}));
    }

    // Without a complete row no copy is written and the record names none.
    void copiesOnlyWithCompleteRows_data()
    {
        QTest::addColumn<QString>("surfaceDescription");
        QTest::addColumn<double>("surfaceArea");
        QTest::addColumn<QStringList>("comparable");
        QTest::newRow("blank rows only") << QString() << 0.0 << QStringList();
        QTest::newRow("description without area") << "Soggiorno" << 0.0 << QStringList();
        QTest::newRow("area without description") << "" << 30.0 << QStringList();
        QTest::newRow("comparable without unit cost")
            << QString() << 0.0 << QStringList{"Via Verdi", "3", "2", "4", "80", "10", "-2", "3", "1", "", "9"};
        QTest::newRow("comparable without a coefficient")
            << QString() << 0.0 << QStringList{"Via Verdi", "3", "2", "4", "80", "10", "", "3", "1", "1.000", "9"};
    }
    void copiesOnlyWithCompleteRows()
    {
        QFETCH(QString, surfaceDescription);
        QFETCH(double, surfaceArea);
        QFETCH(QStringList, comparable);
        Session s;
        MainWindow *w = s.w();
        setSurfaceRow(w, 2, surfaceDescription, surfaceArea);
        if (!comparable.isEmpty())
            addComparable(w, comparable);
        s.files << s.inFolder("Stima - x.db");
        w->saveAction->trigger();
        QCOMPARE(s.folderFiles(), QStringList{"Stima - x.db"});
        QCOMPARE(storedText(s.inFolder("Stima - x.db"), "SuperficiImmob"), QString());
        QCOMPARE(storedText(s.inFolder("Stima - x.db"), "TableNameImmobConfr"), QString());
        QCOMPARE(w->comparablesPage->model()->rowCount(), comparable.isEmpty() ? 0 : 1);
    }

    // What was typed into a comparable's editors is part of the saved copy.
    void pendingComparableEditIsSaved()
    {
        Session s;
        MainWindow *w = s.w();
        ui::ComparablesPage *page = w->comparablesPage;
        const QVector<QLineEdit *> editors = page->editors();
        for (int i = 0; i < editors.size(); ++i)
            editors[i]->setText(kCompleteComparable.at(i));
        s.files << s.inFolder("Stima - x.db");
        w->saveAction->trigger();
        QCOMPARE(storedText(s.inFolder("Stima - x.db"), "TableNameImmobConfr"), QStringLiteral("ImmobConfr - x.db"));
        QCOMPARE(Table::open(s.inFolder("ImmobConfr - x.db")).rowCount(), 1);
    }

    void saveFailure_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("missing folder") << "missing";
        QTest::newRow("table name taken by a folder") << "folder";
        QTest::newRow("a working table") << "working";
    }
    void saveFailure()
    {
        QFETCH(QString, where);
        Session s;
        MainWindow *w = s.w();
        setPicture(w->photoPage, picture({4, 4}, qRgb(9, 9, 9)));
        setSurfaceRow(w, 4, QStringLiteral("Soggiorno"), 20);
        addComparable(w, kCompleteComparable);
        w->comparablesPage->selection()->setCurrentIndex(w->comparablesPage->model()->index(0, 0),
                                                         QItemSelectionModel::ClearAndSelect);
        QString target;
        if (where == QLatin1String("missing")) {
            target = s.app.path("nowhere/Stima - x.db");
        } else if (where == QLatin1String("folder")) {
            target = s.inFolder("Stima - x.db");
            QDir().mkpath(target);
        } else {
            target = dataPath(kDescrSup);
        }
        const QVector<QVariantList> surfaces = tableRows(dataPath(kDescrSup));
        s.files << target;
        w->saveAction->trigger();
        QCOMPARE(s.warnings(), QStringList{QStringLiteral("Impossibile salvare su disco la stima corrente:\n"
                                                          "verificare che il disco non sia pieno o protetto.")});
        QVERIFY(w->surfacesPage->model()->isOpen());
        QVERIFY(w->comparablesPage->model()->isOpen());
        QCOMPARE(tableRows(dataPath(kDescrSup)), surfaces);
        QCOMPARE(w->surfacesPage->model()->rowCount(), 36);
        QCOMPARE(w->comparablesPage->currentRow(), 0);
        if (where == QLatin1String("folder")) {
            // The set is saved whole or not at all: no companion without its
            // record, and nothing half-written left behind.
            QCOMPARE(s.folderFiles(), QStringList());
            QCOMPARE(QDir(s.folder()).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot),
                     QStringList{"Stima - x.db"});
        }
    }

    // Damaged and foreign files: the warning, every page as it was (nothing
    // is shown before the whole file has been read), the lights refreshed.
    void openBadFiles_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("warned");
        QTest::addColumn<bool>("unitRead");      // field 27, before the date
        QTest::addColumn<bool>("cadastralRead"); // field 31, after the date
        QTest::addColumn<bool>("laterRead");     // field 96, after the companion files
        QTest::newRow("not a table") << "text" << true << false << false << false;
        QTest::newRow("foreign database") << "foreign" << true << false << false << false;
        QTest::newRow("damaged table") << "damaged" << true << false << false << false;
        QTest::newRow("no record") << "norecord" << true << false << false << false;
        QTest::newRow("date field missing") << "nodate" << true << false << false << false;
        QTest::newRow("date in another format") << "dateformat" << true << false << false << false;
        QTest::newRow("date before 1800") << "early" << true << false << false << false;
        QTest::newRow("date after 2100") << "late" << true << false << false << false;
        QTest::newRow("last expense missing") << "noexpense" << true << false << false << false;
        QTest::newRow("companions moved away") << "moved" << false << true << true << true;
        QTest::newRow("damaged surfaces copy") << "badsurfaces" << true << false << false << false;
        QTest::newRow("surfaces copy of another layout") << "wrongsurfaces" << true << false << false << false;
        QTest::newRow("companion outside the folder") << "outside" << false << true << true << true;
    }
    void openBadFiles()
    {
        QFETCH(QString, damage);
        QFETCH(bool, warned);
        QFETCH(bool, unitRead);
        QFETCH(bool, cadastralRead);
        QFETCH(bool, laterRead);
        Session s;
        MainWindow *w = s.w();
        // The file: an appraisal saved with a picture, surfaces and comparables.
        typeInto(w->descriptionPage->internalNumberEdit, QStringLiteral("7"));
        w->incomePage->unitRentEdit->setText(QStringLiteral("12.500"));
        w->incomePage->taxesEdit->setText(QStringLiteral("300.000"));
        setPicture(w->photoPage, picture({6, 6}, qRgb(5, 6, 7)));
        setSurfaceRow(w, 0, QStringLiteral("Soggiorno"), 20);
        addComparable(w, kCompleteComparable);
        const QString table = s.inFolder("Stima - x.db");
        s.files << table;
        w->saveAction->trigger();
        QCOMPARE(s.warnings(), QStringList());

        const Layout layout = files::recordLayout();
        auto rewrite = [&](const QString &field, const QString &value, bool drop) {
            files::RecordValues values;
            {
                const Table t = Table::open(table);
                const QVariantList row = t.row(t.rowIds().first());
                for (int i = 0; i < layout.size(); ++i)
                    values.insert(layout[i].name, row.at(i));
            }
            Layout l = layout;
            if (drop)
                l.removeIf([&](const Column &c) { return c.name == field; });
            else
                values.insert(field, value);
            QFile::remove(table);
            files::writeOneRowTable(table, l, files::rowFor(l, values));
        };
        if (damage == "text")
            fixtures::writeBytes(table, "non una tabella");
        else if (damage == "foreign")
            fixtures::foreignDatabase(table, "CREATE TABLE t(a); CREATE VIEW v AS SELECT * FROM t;");
        else if (damage == "damaged") {
            rewrite("EMailProfess", QString(100, 'e'), false);
            fixtures::damage(table);
        } else if (damage == "norecord")
            Table::create(table, layout);
        else if (damage == "nodate")
            rewrite("DataStimaImmob", {}, true);
        else if (damage == "dateformat")
            rewrite("DataStimaImmob", "2031-06-15", false);
        else if (damage == "early")
            rewrite("DataStimaImmob", "31/12/1799", false);
        else if (damage == "late")
            rewrite("DataStimaImmob", "01/01/2101", false);
        else if (damage == "noexpense")
            rewrite("AliquoteTasse", {}, true);
        else if (damage == "moved") {
            for (const QString &f : QDir(s.folder()).entryList({"Foto*", "Superfici*", "ImmobConfr*"}))
                QFile::remove(s.inFolder(f));
        } else if (damage == "badsurfaces")
            fixtures::writeBytes(s.inFolder("Superfici - x.db"), "rovinato");
        else if (damage == "wrongsurfaces") {
            QFile::remove(s.inFolder("Superfici - x.db"));
            QFile::copy(s.inFolder("ImmobConfr - x.db"), s.inFolder("Superfici - x.db"));
        } else if (damage == "outside") {
            QFile::copy(s.inFolder("Foto - x.bmp"), s.app.path("Foto - x.bmp"));
            rewrite("FotoImmob", "../Foto - x.bmp", false);
            rewrite("SuperficiImmob", "../Superfici - x.db", false);
        }

        // The window before opening: other texts, another picture, other rows.
        s.app.answer = true;
        w->newAction->trigger();
        w->descriptionPage->internalNumberEdit->setText(QStringLiteral("prima"));
        w->descriptionPage->sheetEdit->setText(QStringLiteral("11"));
        w->incomePage->unitRentEdit->setText(QStringLiteral("1"));
        const QImage before = picture({3, 3}, qRgb(100, 100, 100));
        setPicture(w->photoPage, before);
        setSurfaceRow(w, 1, QStringLiteral("Cantina"), 5);
        const QVector<QVariantList> surfacesBefore = tableRows(dataPath(kDescrSup));
        Messages::resetForTests();
        s.requests.clear();

        s.files << table;
        w->openAction->trigger();

        const QString warning = QStringLiteral("Impossibile caricare da disco la stima selezionata:\n"
                                               "il file è danneggiato o non è un formato valido.");
        QCOMPARE(s.warnings(), warned ? QStringList{warning} : QStringList());
        QCOMPARE(s.requests.last(), QStringLiteral("ImpostaSemaforiTreeView"));
        QCOMPARE(w->descriptionPage->internalNumberEdit->text(), unitRead ? QStringLiteral("7") : QStringLiteral("prima"));
        QCOMPARE(w->descriptionPage->sheetEdit->text(), cadastralRead ? QString() : QStringLiteral("11"));
        QCOMPARE(w->incomePage->unitRentEdit->text(), laterRead ? QStringLiteral("12.500") : QStringLiteral("1"));
        QVERIFY(w->surfacesPage->model()->isOpen());
        QVERIFY(w->comparablesPage->model()->isOpen());

        if (damage == "moved" || damage == "outside") {
            QVERIFY(!w->photoPage->hasPicture());
            QCOMPARE(w->surfacesPage->model()->rowCount(), 36);
            for (const QVariantList &row : tableRows(dataPath(kDescrSup)))
                QCOMPARE(row, (QVariantList{QString(), 0.0}));
            QCOMPARE(w->comparablesPage->model()->rowCount(), damage == "moved" ? 0 : 1);
        }
        if (damage == "badsurfaces" || damage == "wrongsurfaces") {
            // Neither the picture nor the working table changed.
            QCOMPARE(w->photoPage->sourceImage(), before);
            QCOMPARE(tableRows(dataPath(kDescrSup)), surfacesBefore);
            QVERIFY(!s.requests.contains("AttivaSpeedButtonCalcolaSuperfici"));
        }
        if (damage == "noexpense") {
            // A field missing at the end keeps everything before it out too.
            QCOMPARE(w->photoPage->sourceImage(), before);
            QCOMPARE(tableRows(dataPath(kDescrSup)), surfacesBefore);
            QCOMPARE(w->comparablesPage->model()->rowCount(), 0);
        }
    }

    void openCancelledRefreshesLights()
    {
        Session s;
        MainWindow *w = s.w();
        w->descriptionPage->sheetEdit->setText(QStringLiteral("11"));
        const RecordValues before = s.ops.currentRecord();
        w->openAction->trigger();
        QCOMPARE(s.requests, QStringList{"ImpostaSemaforiTreeView"});
        QCOMPARE(s.ops.currentRecord(), before);
        QCOMPARE(w->selectedNode(), -1);
        QCOMPARE(s.warnings(), QStringList());
    }

    void appraiserRoundTrip()
    {
        Session s;
        MainWindow *w = s.w();
        fillEveryPage(s);
        const RecordValues filled = s.ops.currentRecord();
        const QString file = s.inFolder("Professionista 01.db");
        s.files << s.inFolder("Professionista 01");
        w->saveAppraiserAction->trigger();
        const FileDialogRequest save = Messages::fileRequests().last();
        QCOMPARE(save.title, QStringLiteral("Salva generalità del professionista"));
        QCOMPARE(save.filter, QStringLiteral("Generalità professionista (*.db) (Professionista*.db)"));
        QCOMPARE(save.suggested, QStringLiteral("Professionista 01.db"));
        QVERIFY(save.save);
        QCOMPARE(s.warnings(), QStringList());
        QCOMPARE(Table::layoutOf(file), files::appraiserLayout());
        QCOMPARE(s.folderFiles(), QStringList{"Professionista 01.db"});

        for (const FieldDef &f : appraiserFields()) {
            if (auto *c = qobject_cast<QComboBox *>(s.ops.control(QString::fromLatin1(f.name))))
                ui::setComboText(c, QString());
            else
                qobject_cast<QLineEdit *>(s.ops.control(QString::fromLatin1(f.name)))->clear();
        }
        w->descriptionPage->sheetEdit->setText(QStringLiteral("altro"));
        s.files << file;
        w->loadAppraiserAction->trigger();
        const FileDialogRequest load = Messages::fileRequests().last();
        QCOMPARE(load.title, QStringLiteral("Carica generalità del professionista"));
        QCOMPARE(load.filter, QStringLiteral("Generalità professionista (*.db) (Professionista*.db)"));
        QVERIFY(!load.save);
        // The next dialog opens where the last one chose.
        QCOMPARE(load.directory, s.app.path("program"));
        QCOMPARE(s.requests, QStringList{"ImpostaSemaforiTreeView"});
        const RecordValues back = s.ops.currentRecord();
        for (const FieldDef &f : appraiserFields())
            QCOMPARE(back.value(f.name), filled.value(f.name));
        // Loading the particulars leaves the other pages alone.
        QCOMPARE(w->descriptionPage->sheetEdit->text(), QStringLiteral("altro"));

        s.files << file;
        w->loadAppraiserAction->trigger();
        QCOMPARE(Messages::fileRequests().last().directory, s.folder());
    }

    void appraiserFromSavedAppraisal()
    {
        Session s;
        MainWindow *w = s.w();
        typeInto(w->findChild<QLineEdit *>("CognomeProfess"), QStringLiteral("Bianchi"));
        ui::setComboText(w->findChild<QComboBox *>("ComuneProfess"), QStringLiteral("Abano Terme"));
        s.files << s.inFolder("Stima - y.db");
        w->saveAction->trigger();
        w->findChild<QLineEdit *>("CognomeProfess")->clear();
        ui::setComboText(w->findChild<QComboBox *>("ComuneProfess"), QString());
        w->descriptionPage->sheetEdit->setText(QStringLiteral("22"));
        s.files << s.inFolder("Stima - y.db");
        w->loadAppraiserAction->trigger();
        QCOMPARE(s.warnings(), QStringList());
        QCOMPARE(w->findChild<QLineEdit *>("CognomeProfess")->text(), QStringLiteral("Bianchi"));
        QCOMPARE(w->findChild<QComboBox *>("ComuneProfess")->currentText(), QStringLiteral("Abano Terme"));
        QCOMPARE(w->descriptionPage->sheetEdit->text(), QStringLiteral("22"));
    }

    void appraiserBadFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("fieldsRead");
        QTest::newRow("not a table") << "text" << 0;
        QTest::newRow("damaged") << "damaged" << 0;
        QTest::newRow("no record") << "empty" << 0;
        QTest::newRow("first five fields only") << "five" << 5;
        QTest::newRow("missing file") << "missing" << 0;
    }
    void appraiserBadFiles()
    {
        QFETCH(QString, kind);
        QFETCH(int, fieldsRead);
        Session s;
        MainWindow *w = s.w();
        const QString file = s.inFolder("Professionista 02.db");
        const Layout full = files::appraiserLayout();
        files::RecordValues values;
        for (const Column &c : full)
            values.insert(c.name, QStringLiteral("9"));
        if (kind == "text") {
            fixtures::writeBytes(file, "testo");
        } else if (kind == "damaged") {
            for (const Column &c : full)
                values.insert(c.name, QString(c.size, QLatin1Char('9')));
            Layout wide = full;
            for (int i = 0; i < 40; ++i)
                wide << Column{QStringLiteral("Extra%1").arg(i), ColumnType::Text, 200};
            for (int i = 0; i < 40; ++i)
                values.insert(QStringLiteral("Extra%1").arg(i), QString(200, 'x'));
            files::writeOneRowTable(file, wide, files::rowFor(wide, values));
            fixtures::damage(file);
        } else if (kind == "empty") {
            Table::create(file, full);
        } else if (kind == "five") {
            const Layout five = full.mid(0, 5);
            files::writeOneRowTable(file, five, files::rowFor(five, values));
        }
        const QList<QWidget *> fields = [&] {
            QList<QWidget *> out;
            for (const FieldDef &f : appraiserFields())
                out << s.ops.control(QString::fromLatin1(f.name));
            return out;
        }();
        auto textOf = [](QWidget *c) {
            if (auto *combo = qobject_cast<QComboBox *>(c))
                return combo->currentText();
            return qobject_cast<QLineEdit *>(c)->text();
        };
        for (QWidget *c : fields) {
            if (auto *combo = qobject_cast<QComboBox *>(c))
                ui::setComboText(combo, QStringLiteral("1"));
            else
                qobject_cast<QLineEdit *>(c)->setText(QStringLiteral("1"));
        }
        s.files << file;
        w->loadAppraiserAction->trigger();
        QCOMPARE(s.warnings(), QStringList{QStringLiteral(
                                   "Impossibile caricare da disco le generalità del professionista:\n"
                                   "il file specificato è danneggiato o non è un formato valido.")});
        QCOMPARE(s.requests, QStringList{"ImpostaSemaforiTreeView"});
        for (int i = 0; i < fields.size(); ++i)
            QCOMPARE(textOf(fields[i]), i < fieldsRead ? QStringLiteral("9") : QStringLiteral("1"));
    }

    void appraiserCancelledAndSaveFailure()
    {
        Session s;
        MainWindow *w = s.w();
        w->loadAppraiserAction->trigger();
        QCOMPARE(s.requests, QStringList{"ImpostaSemaforiTreeView"});
        w->saveAppraiserAction->trigger();
        QCOMPARE(s.folderFiles(), QStringList());
        QCOMPARE(s.warnings(), QStringList());

        s.files << s.app.path("nowhere/Professionista 01.db");
        w->saveAppraiserAction->trigger();
        QCOMPARE(s.warnings(), QStringList{QStringLiteral(
                                   "Impossibile salvare su disco le generalità del professionista:\n"
                                   "verificare che il disco non sia pieno o protetto.")});
        QCOMPARE(s.requests, QStringList{"ImpostaSemaforiTreeView"});
    }
};

QTEST_MAIN(TestFileOps)
#include "tst_fileops.moc"
