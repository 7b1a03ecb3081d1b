// SPDX-License-Identifier: GPL-2.0-or-later
// An appraisal saved and opened as a whole set: a picture that cannot be
// read, another unit's appraisal of the same shortened name, tables whose
// names give the same companions, and what an interrupted save left in the
// folder.
#include "../support/filesession.h"
#include "../support/fixtures.h"
#include "../support/mcafixtures.h"
#include "app/application.h"
#include "app/mcaops.h"
#include "files/appraisalfiles.h"
#include "files/mcatable.h"
#include "pages/descriptionpage.h"
#include "pages/incomepage.h"
#include "pages/mcawindow.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QToolButton>

using namespace filesession;

class TestAppraisalSet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }

    // A picture that cannot be read is left out like a missing one: the
    // user is told which, everything else is loaded, its page stays empty,
    // and saving the appraisal again keeps all the rest.
    void unreadablePictureLeavesItsPageEmpty_data()
    {
        QTest::addColumn<QStringList>("damaged");
        QTest::addColumn<QString>("warning");
        QTest::newRow("photo") << QStringList{"Foto - x.bmp"}
                               << "Impossibile leggere l'immagine \"Foto - x.bmp\" (Illustrazione fotografica):\n"
                                  "la pagina resta vuota; il resto della stima è stato caricato.";
        QTest::newRow("unit plan, not a picture at all")
            << QStringList{"Planim - x.bmp"}
            << "Impossibile leggere l'immagine \"Planim - x.bmp\" (Planimetria dell'immobile):\n"
               "la pagina resta vuota; il resto della stima è stato caricato.";
        QTest::newRow("both plans") << QStringList{"PlanimZona - x.bmp", "Planim - x.bmp"}
                                    << "Impossibile leggere le immagini \"PlanimZona - x.bmp\" (Planimetria di zona), "
                                       "\"Planim - x.bmp\" (Planimetria dell'immobile):\n"
                                       "le pagine restano vuote; il resto della stima è stato caricato.";
    }
    void unreadablePictureLeavesItsPageEmpty()
    {
        QFETCH(QStringList, damaged);
        QFETCH(QString, warning);
        Session s;
        MainWindow *w = s.w();
        typeInto(w->descriptionPage->internalNumberEdit, QStringLiteral("7"));
        w->incomePage->unitRentEdit->setText(QStringLiteral("12.500"));
        w->incomePage->taxesEdit->setText(QStringLiteral("300.000"));
        setPicture(w->photoPage, picture({6, 6}, qRgb(5, 6, 7)));
        setPicture(w->areaPlanPage, picture({7, 7}, qRgb(8, 9, 10)));
        setPicture(w->unitPlanPage, picture({8, 8}, qRgb(11, 12, 13)));
        setSurfaceRow(w, 0, QStringLiteral("Soggiorno"), 20);
        addComparable(w, kCompleteComparable);
        const QString table = s.inFolder("Stima - x.db");
        s.files << table;
        w->saveAction->trigger();
        const QVector<QVariantList> surfaces = tableRows(s.inFolder("Superfici - x.db"));
        const QVector<QVariantList> comparables = tableRows(s.inFolder("ImmobConfr - x.db"));
        for (const QString &name : damaged)
            fixtures::writeBytes(s.inFolder(name), name.startsWith("Planim -") ? "testo" : "BM rovinato");

        s.app.answer = true;
        w->newAction->trigger();
        Messages::resetForTests();
        s.files << table;
        w->openAction->trigger();

        QCOMPARE(s.warnings(), QStringList{warning});
        QCOMPARE(w->descriptionPage->internalNumberEdit->text(), QStringLiteral("7"));
        QCOMPARE(w->incomePage->unitRentEdit->text(), QStringLiteral("12.500"));
        QCOMPARE(w->incomePage->taxesEdit->text(), QStringLiteral("300.000"));
        QCOMPARE(tableRows(dataPath(kDescrSup)).first(), surfaces.first());
        QCOMPARE(w->comparablesPage->model()->rowCount(), 1);
        const struct {
            ui::PicturePage *page;
            const char *file;
            QRgb colour;
        } pages[] = {{w->photoPage, "Foto - x.bmp", qRgb(5, 6, 7)},
                     {w->areaPlanPage, "PlanimZona - x.bmp", qRgb(8, 9, 10)},
                     {w->unitPlanPage, "Planim - x.bmp", qRgb(11, 12, 13)}};
        for (const auto &p : pages) {
            const bool lost = damaged.contains(QLatin1String(p.file));
            QCOMPARE(p.page->hasPicture(), !lost);
            QCOMPARE(p.page->saveButton->isEnabled(), !lost);
            if (!lost)
                QCOMPARE(p.page->sourceImage().pixel(0, 0), p.colour);
        }

        // Saving it again under its own name keeps the rooms and comparables.
        Messages::resetForTests();
        s.files << table;
        w->saveAction->trigger();
        QCOMPARE(s.warnings(), QStringList());
        QCOMPARE(tableRows(s.inFolder("Superfici - x.db")), surfaces);
        QCOMPARE(tableRows(s.inFolder("ImmobConfr - x.db")), comparables);
        QCOMPARE(storedText(table, "FotoImmob").isEmpty(), damaged.contains("Foto - x.bmp"));
    }

    // Two units whose names differ only past the length the file names keep:
    // the second is offered a name of its own; the same unit keeps its name.
    void collidingShortenedNamesAreNumbered()
    {
        Session s;
        MainWindow *w = s.w();
        QDir::setCurrent(s.folder());
        // Every address field full: the internal number comes past the 133
        // characters a companion's stem keeps.
        ui::DescriptionPage *d = w->descriptionPage;
        d->addressEdit->setText(QString(50, QLatin1Char('V')));
        d->houseNumberEdit->setText(QStringLiteral("12"));
        ui::setComboText(d->municipalityCombo, QString(50, QLatin1Char('C')));
        ui::setComboText(d->provinceCodeCombo, QStringLiteral("PD"));
        ui::setComboText(d->floorCombo, QStringLiteral("3"));
        ui::setComboText(d->totalFloorsCombo, QStringLiteral("5"));
        typeInto(d->internalNumberEdit, QStringLiteral("1"));
        setSurfaceRow(w, 0, QStringLiteral("Camera 11"), 11);
        const QString first = files::suggestedTableName(files::appraisalName(s.ops.currentRecord()));
        s.files << s.inFolder(first);
        w->saveAction->trigger();
        QCOMPARE(Messages::fileRequests().last().suggested, first);

        // Again the same unit: the same name, replacing its own files.
        s.files << QString();
        w->saveAction->trigger();
        QCOMPARE(Messages::fileRequests().last().suggested, first);

        // Another unit, the same shortened name.
        w->descriptionPage->internalNumberEdit->clear();
        typeInto(w->descriptionPage->internalNumberEdit, QStringLiteral("2"));
        setSurfaceRow(w, 0, QStringLiteral("Camera 22"), 22);
        QCOMPARE(files::suggestedTableName(files::appraisalName(s.ops.currentRecord())), first);
        s.files << QString();
        w->saveAction->trigger();
        const QString second = Messages::fileRequests().last().suggested;
        QVERIFY2(second.endsWith(" (2).db"), qPrintable(second));
        QVERIFY(second.startsWith("Stima - "));
        QVERIFY(files::companionName(files::Companion::Surfaces, files::stemForTable(second)).size() <= 150);
        s.files << s.inFolder(second);
        w->saveAction->trigger();
        QCOMPARE(s.warnings(), QStringList());
        QCOMPARE(storedText(s.inFolder(first), "InternoImmob"), QStringLiteral("1"));
        QCOMPARE(tableRows(s.inFolder("Superfici - " + files::stemForTable(first) + ".db")).first().first().toString(),
                 QStringLiteral("Camera 11"));
        QCOMPARE(storedText(s.inFolder(second), "InternoImmob"), QStringLiteral("2"));
        QCOMPARE(tableRows(s.inFolder("Superfici - " + files::stemForTable(second) + ".db")).first().first().toString(),
                 QStringLiteral("Camera 22"));

        // A third unit gets " (3)"; the second, saved again, keeps " (2)".
        w->descriptionPage->internalNumberEdit->clear();
        typeInto(w->descriptionPage->internalNumberEdit, QStringLiteral("3"));
        s.files << QString();
        w->saveAction->trigger();
        QVERIFY(Messages::fileRequests().last().suggested.endsWith(" (3).db"));
        w->descriptionPage->internalNumberEdit->clear();
        typeInto(w->descriptionPage->internalNumberEdit, QStringLiteral("2"));
        s.files << QString();
        w->saveAction->trigger();
        QCOMPARE(Messages::fileRequests().last().suggested, second);
    }

    // Two tables whose names give the same companion names ("Casa.db" and
    // "Stima - Casa.db"; names equal up to the cut): the second save gives
    // its companions names of their own, which its record keeps, and leaves
    // the first's alone; each opens with its own photograph, rooms,
    // comparables and market comparison, and saving either again keeps them
    // apart.
    void tablesOfOneStemKeepTheirCompanions_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("firstStem");
        QTest::addColumn<QString>("secondStem");
        QTest::newRow("a stem inside another table's name") << "Casa.db" << "Stima - Casa.db" << "Casa" << "Casa (2)";
        const QString common = QString(120, QLatin1Char('L')) + QStringLiteral("0123456789abc");
        QCOMPARE(common.size(), 133);
        QTest::newRow("names equal up to the cut")
            << "Stima - " + common + "-prima.db" << "Stima - " + common + "-seconda.db" << common
            << common.left(129) + " (2)";
    }
    void tablesOfOneStemKeepTheirCompanions()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, firstStem);
        QFETCH(QString, secondStem);
        AppFixture app{app::Operations::Wired};
        QStringList files;
        Messages::setFileAnswers([&](const FileDialogRequest &) { return files.isEmpty() ? QString() : files.takeFirst(); });
        Messages::setQuestionAnswers([](const Messages::Shown &) { return ui::Answer::No; });
        const QString folder = app.path("stime");
        QDir().mkpath(folder);
        auto in = [&](const QString &name) { return folder + QLatin1Char('/') + name; };
        MainWindow *w = app.window.get();
        w->mcaOps->StimaMCA1Click();
        auto unit = [&](const QString &number, QRgb colour, const QString &room, const QString &street,
                        const QString &price) {
            w->descriptionPage->internalNumberEdit->setText(number);
            setPicture(w->photoPage, picture({6, 6}, colour));
            setSurfaceRow(w, 0, room, 20);
            QStringList comparable = kCompleteComparable;
            comparable[0] = street;
            addComparable(w, comparable);
            mca::Sheet sheet = fixtures::mcaExampleSheet();
            sheet.comparables[0].setText(mca::Row::Price, price);
            w->mcaOps->window()->setSheet(sheet);
        };
        auto warnings = [] {
            QStringList out;
            for (const Messages::Shown &shown : Messages::shown()) {
                if (shown.kind != Messages::Shown::Confirm && shown.kind != Messages::Shown::Question)
                    out << shown.text;
            }
            return out;
        };
        auto save = [&](const QString &name) {
            files << in(name);
            w->saveAction->trigger();
        };
        auto open = [&](const QString &name) {
            files << in(name);
            w->openAction->trigger();
        };
        auto shows = [&](const QString &number, QRgb colour, const QString &room, const QString &street,
                         const QString &price) {
            QCOMPARE(w->descriptionPage->internalNumberEdit->text(), number);
            QCOMPARE(w->photoPage->sourceImage().pixel(0, 0), colour);
            QCOMPARE(tableRows(dataPath(kDescrSup)).first().first().toString(), room);
            QCOMPARE(w->comparablesPage->model()->rowCount(), 1);
            QCOMPARE(tableRows(dataPath(kImmConfr)).first().first().toString(), street);
            QCOMPARE(w->mcaOps->sheet().comparables[0].text(mca::Row::Price), price);
        };

        unit("1", qRgb(200, 0, 0), "Camera 11", "Via Prima", "111.000,00");
        save(first);
        app.answer = true;
        w->newAction->trigger();
        unit("2", qRgb(0, 0, 200), "Camera 22", "Via Seconda", "222.000,00");
        save(second);
        QCOMPARE(warnings(), QStringList());

        // Each record names its own companions; the second's are numbered.
        const struct {
            const char *field;
            files::Companion companion;
        } named[] = {{"FotoImmob", files::Companion::Photo},
                     {"SuperficiImmob", files::Companion::Surfaces},
                     {"TableNameImmobConfr", files::Companion::Comparables}};
        for (const auto &n : named) {
            QCOMPARE(storedText(in(first), n.field), files::companionName(n.companion, firstStem));
            QCOMPARE(storedText(in(second), n.field), files::companionName(n.companion, secondStem));
        }
        QCOMPARE(storedText(in(second), "TabellaMCA"), files::companionName(files::Companion::Mca, secondStem));
        QCOMPARE(files::readPicture(in("Foto - " + firstStem + ".bmp")).pixel(0, 0), qRgb(200, 0, 0));
        QCOMPARE(files::readPicture(in("Foto - " + secondStem + ".bmp")).pixel(0, 0), qRgb(0, 0, 200));
        QCOMPARE(files::readMcaTable(in("MCA - " + firstStem + ".db")).comparables[0].text(mca::Row::Price),
                 QStringLiteral("111.000,00"));

        open(first);
        shows("1", qRgb(200, 0, 0), "Camera 11", "Via Prima", "111.000,00");
        open(second);
        shows("2", qRgb(0, 0, 200), "Camera 22", "Via Seconda", "222.000,00");

        // Saved again, each keeps its companions' names and its own files.
        save(second);
        open(first);
        save(first);
        QCOMPARE(warnings(), QStringList());
        QCOMPARE(storedText(in(first), "FotoImmob"), files::companionName(files::Companion::Photo, firstStem));
        QCOMPARE(storedText(in(second), "FotoImmob"), files::companionName(files::Companion::Photo, secondStem));
        open(second);
        shows("2", qRgb(0, 0, 200), "Camera 22", "Via Seconda", "222.000,00");
        open(first);
        shows("1", qRgb(200, 0, 0), "Camera 11", "Via Prima", "111.000,00");
    }

    // Whatever an interrupted save left in a folder is gone once the folder
    // is saved into or opened from, and never listed as an appraisal.
    void leftoversOfInterruptedSavesAreRemoved()
    {
        Session s;
        MainWindow *w = s.w();
        const QStringList leftovers{".brevan-a1B2c3.db", ".brevan-a1B2c3.db-journal", ".Superfici - x.db.Zz9Yy8",
                                    ".Superfici - x.db.Zz9Yy8-journal"};
        for (const QString &name : leftovers)
            fixtures::writeBytes(s.inFolder(name), "avanzo");
        QDir().mkpath(s.inFolder(".brevan-salvataggio-Qq1Ww2"));
        fixtures::writeBytes(s.inFolder(".brevan-salvataggio-Qq1Ww2/Stima - x.db"), "a metà");
        setSurfaceRow(w, 0, QStringLiteral("Soggiorno"), 20);
        s.files << s.inFolder("Stima - x.db");
        w->saveAction->trigger();
        QCOMPARE(s.folderFiles(), (QStringList{"Stima - x.db", "Superfici - x.db"}));
        QVERIFY(!QFileInfo::exists(s.inFolder(".brevan-salvataggio-Qq1Ww2")));

        for (const QString &name : leftovers)
            fixtures::writeBytes(s.inFolder(name), "avanzo");
        s.files << s.inFolder("Stima - x.db");
        w->openAction->trigger();
        QCOMPARE(s.warnings(), QStringList());
        QCOMPARE(s.folderFiles(), (QStringList{"Stima - x.db", "Superfici - x.db"}));
    }
};

QTEST_MAIN(TestAppraisalSet)
#include "tst_appraisalset.moc"
