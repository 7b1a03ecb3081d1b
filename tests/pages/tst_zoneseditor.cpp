// SPDX-License-Identifier: GPL-2.0-or-later
// The urban zones editor: its layout, the municipality it takes over and
// changes, the grid's cells, OK writing the municipality's zone table and
// refreshing the localisation page, Annulla, and the failures a user can meet.
#include "../support/appfixture.h"
#include "../support/fixtures.h"
#include "../support/pagedriving.h"
#include "../support/writelock.h"
#include "app/application.h"
#include "app/characteristicsops.h"
#include "data/municipalities.h"
#include "pages/descriptionpage.h"
#include "pages/localisationpage.h"
#include "pages/navigatorbar.h"
#include "pages/pagekit.h"
#include "pages/tablemodel.h"
#include "pages/zoneseditor.h"
#include "store/datafolder.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>


using namespace brevan;
using brevan::app::CharacteristicsOps;
using brevan::ui::ZonesEditor;

namespace {

// The pointer comes over a widget and leaves it (Qt's own hover events).
void hover(QWidget *w)
{
    const QPointF centre = QRectF(w->rect()).center();
    QEnterEvent enter(centre, centre, w->mapToGlobal(centre));
    QApplication::sendEvent(w, &enter);
}
void leave(QWidget *w)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(w, &event);
}

// Columns of the zone layout.
enum ZoneColumn { Name = 2, Centrality = 3, Rate = 4, Quality = 5, Settlement = 6, Improvements = 7 };

const QString kAbano = QStringLiteral("ZonaUrbanaAbano Terme35031PD.db");

// The description page as the location cascade leaves it for the
// municipality at position i, with the working zone table loaded for it.
void chooseOnDescription(brevan::app::MainWindow *w, int i)
{
    const MunicipalityList &list = municipalities();
    setMunicipalityWithoutCascade(w, i);
    w->localisationPage->zonesEditorButton->show();
    reloadForMunicipality(MunicipalityTable::Zones, list.names.at(i), list.postalCodes.at(i),
                          list.provinceCodes.at(i));
}

// The description page showing the municipality at position i without its
// cascade, as opening an appraisal or pasting leaves it: the working zone
// table keeps the rows it had.
void setDescriptionWithoutCascade(brevan::app::MainWindow *w, int i)
{
    setMunicipalityWithoutCascade(w, i);
}

int positionOf(const QString &name, int occurrence = 0)
{
    const QStringList &names = municipalities().names;
    int from = 0;
    for (int n = 0;; ++n) {
        const int i = int(names.indexOf(name, from));
        if (i < 0 || n == occurrence)
            return i;
        from = i + 1;
    }
}

void writeZoneTable(const QString &path, const QList<QStringList> &rows)
{
    rebuildTable(path, zonesLayout(), 0);
    Table t = Table::open(path);
    for (const QStringList &r : rows) {
        QVariantList values{QString(), QString()};
        for (const QString &v : r)
            values << v;
        t.append(values);
    }
}

QStringList column(const QString &path, const char *field)
{
    QStringList out;
    const Table t = Table::open(path);
    for (qint64 id : t.rowIds())
        out << t.text(id, QString::fromLatin1(field));
    return out;
}

QStringList itemsOf(const QComboBox *c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

void showEditor(ZonesEditor *e)
{
    e->show();
    e->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(e));
}

// Types text into a grid cell as a user does: the first key opens the cell's
// editor, the rest goes to the editor that has the focus. Tab posts it.
void typeInCell(QTableView *grid, int row, int col, const QString &text, bool post = true)
{
    grid->setFocus(Qt::TabFocusReason);
    grid->setCurrentIndex(grid->model()->index(row, col));
    QTest::keyClick(grid, text.at(0).toLatin1());
    QWidget *editor = QApplication::focusWidget();
    QVERIFY(editor && editor != grid);
    QTest::keyClicks(editor, text.mid(1));
    if (post)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}

} // namespace

class TestZonesEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }

    void layout()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ZonesEditor *e = ops.zonesEditor();
        QCOMPARE(e->objectName(), QStringLiteral("TAddZonaUrbanaForm"));
        QCOMPARE(e->windowTitle(), QStringLiteral("Imposta zone urbane per il Comune selezionato"));
        QCOMPARE(e->size(), QSize(632, 352));
        QCOMPARE(e->minimumSize(), QSize(632, 352));
        QCOMPARE(e->maximumSize(), QSize(632, 352));
        QVERIFY(!(e->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
        QCOMPARE(e->okButton->text(), QStringLiteral("&OK"));
        QCOMPARE(e->cancelButton->text(), QStringLiteral("&Annulla"));
        // Captions of the location fields.
        QStringList captions;
        for (QWidget *field : {static_cast<QWidget *>(e->municipalityCombo), static_cast<QWidget *>(e->postalCodeCombo),
                               static_cast<QWidget *>(e->provinceCombo),
                               static_cast<QWidget *>(e->provinceCodeCombo)})
            for (QLabel *l : e->findChildren<QLabel *>())
                if (l->buddy() == field)
                    captions << l->text();
        QCOMPARE(captions, (QStringList{"Comune:", "C.A.P.", "Provincia:", "Sigla:"}));
        QCOMPARE(e->municipalityCombo->count(), municipalities().size());
        QVERIFY(e->municipalityCombo->isEditable());

        // The navigator's buttons in order, with their hints.
        const QList<std::pair<ui::NavigatorBar::Button, QString>> buttons{
            {ui::NavigatorBar::First, "Seleziona la prima riga della tabella."},
            {ui::NavigatorBar::Prior, "Seleziona la riga precedente della tabella."},
            {ui::NavigatorBar::Next, "Seleziona la riga successiva della tabella."},
            {ui::NavigatorBar::Last, "Seleziona l'ultima riga della tabella."},
            {ui::NavigatorBar::Insert, "Aggiungi una nuova riga alla tabella."},
            {ui::NavigatorBar::Delete, "Elimina la riga selezionata dalla tabella."},
            {ui::NavigatorBar::Post, "Applica la modifica alla casella selezionata."}};
        int x = -1;
        for (const auto &[button, hint] : buttons) {
            QToolButton *b = e->navigator->button(button);
            QVERIFY(b);
            QCOMPARE(b->statusTip(), hint);
            QVERIFY(b->x() > x);
            x = b->x();
        }

        // The grid's visible columns, titles and alignment, on the open table.
        chooseOnDescription(f.window.get(), positionOf("Abano Terme"));
        showEditor(e);
        const QStringList titles{"Zona urbana",      "Centralità",           "Saggio medio %",
                                 "Qualif. ambiente", "Idoneità insediativa", "Miglior. ambientali"};
        QStringList shown;
        for (int c = 0; c < e->model()->columnCount(); ++c) {
            if (e->grid->isColumnHidden(c))
                continue;
            shown << e->model()->headerData(c, Qt::Horizontal).toString();
            const QVariant alignment = e->model()->data(e->model()->index(0, c), Qt::TextAlignmentRole);
            if (c == Name)
                QVERIFY(!alignment.isValid() || alignment.value<Qt::Alignment>() != Qt::AlignCenter);
            else
                QCOMPARE(alignment.value<Qt::Alignment>(), Qt::Alignment(Qt::AlignCenter));
        }
        QCOMPARE(shown, titles);
        QVERIFY(e->grid->geometry().right() < e->width());
        QVERIFY(e->okButton->geometry().bottom() < e->height());
        QVERIFY(!e->grid->geometry().intersects(e->okButton->geometry()));
        e->reject();
    }

    void takesOverDescriptionSelection_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("occurrence");
        QTest::addColumn<QString>("postal");
        QTest::addColumn<QString>("province");
        QTest::addColumn<QString>("code");
        QTest::newRow("Abano Terme") << "Abano Terme" << 0 << "35031" << "Padova" << "PD";
        QTest::newRow("Livo, Como") << "Livo" << 0 << "22010" << "Como" << "CO";
        QTest::newRow("Livo, Trento") << "Livo" << 1 << "38020" << "Trento" << "TN";
    }
    void takesOverDescriptionSelection()
    {
        QFETCH(QString, name);
        QFETCH(int, occurrence);
        QFETCH(QString, postal);
        QFETCH(QString, province);
        QFETCH(QString, code);
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ZonesEditor *e = ops.zonesEditor();
        const int i = positionOf(name, occurrence);
        QVERIFY(i >= 0);
        chooseOnDescription(f.window.get(), i);
        showEditor(e);
        QCOMPARE(e->municipalityCombo->currentText(), name);
        QCOMPARE(e->municipalityCombo->currentIndex(), i);
        QCOMPARE(e->postalCodeCombo->currentText(), postal);
        QCOMPARE(e->provinceCombo->currentText(), province);
        QCOMPARE(e->provinceCodeCombo->currentText(), code);
        // A municipality without saved zones: 11 empty rows, the first current.
        QCOMPARE(e->model()->rowCount(), 11);
        QCOMPARE(e->grid->currentIndex().row(), 0);
        e->reject();
        // The two pages never share a selection.
        QCOMPARE(f.window->descriptionPage->municipalityCombo->currentIndex(), i);
    }

    // An opened appraisal whose municipality has since merged away has no
    // position in the list: the dialog keeps the page's texts, so its tables
    // are the ones named as before ("ZonaUrbanaTonengo14023AT.db").
    void municipalityNoLongerInForce()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ZonesEditor *e = ops.zonesEditor();
        ui::DescriptionPage *d = f.window->descriptionPage;
        {
            const QSignalBlocker block(d->municipalityCombo);
            const QSignalBlocker blockEdit(d->municipalityCombo->lineEdit());
            d->municipalityCombo->setCurrentIndex(-1);
            d->municipalityCombo->lineEdit()->setText(QStringLiteral("Tonengo"));
        }
        ui::setComboText(d->postalCodeCombo, QStringLiteral("14023"));
        ui::setComboText(d->provinceCombo, QStringLiteral("Asti"));
        ui::setComboText(d->provinceCodeCombo, QStringLiteral("AT"));
        reloadForMunicipality(MunicipalityTable::Zones, QStringLiteral("Tonengo"), QStringLiteral("14023"),
                              QStringLiteral("AT"));
        showEditor(e);
        QCOMPARE(e->municipalityCombo->currentText(), QStringLiteral("Tonengo"));
        QCOMPARE(e->municipalityCombo->currentIndex(), -1);
        QCOMPARE(e->postalCodeCombo->currentText(), QStringLiteral("14023"));
        QCOMPARE(e->provinceCombo->currentText(), QStringLiteral("Asti"));
        QCOMPARE(e->provinceCodeCombo->currentText(), QStringLiteral("AT"));
        e->okButton->click();
        QVERIFY(QFileInfo::exists(dataPath(QStringLiteral("ZonaUrbanaTonengo14023AT.db"))));
    }

    void roundTripThroughTheButton()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ZonesEditor *e = ops.zonesEditor();
        ui::LocalisationPage *page = f.window->localisationPage;
        chooseOnDescription(f.window.get(), positionOf("Abano Terme"));
        f.window->show();
        f.window->selectNode(7);
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        // Something of an earlier zone on the page, cleared by OK.
        page->averageRateEdit->setText(QStringLiteral("9,99"));
        page->intermediateZoneRadio->setChecked(true);

        bool ran = false;
        QTimer::singleShot(0, e, [&] {
            ran = true;
            QVERIFY(e->isModal() && e->isVisible());
            // The offscreen platform has no window manager to activate the
            // modal dialog over the main window.
            QApplication::setActiveWindow(e);
            QVERIFY(QTest::qWaitForWindowActive(e));
            typeInCell(e->grid, 0, Name, QStringLiteral("Centro storico"));
            typeInCell(e->grid, 0, Centrality, QStringLiteral("Zona centrale"));
            typeInCell(e->grid, 0, Rate, QStringLiteral("3,50"));
            typeInCell(e->grid, 4, Name, QStringLiteral("Lido"));
            typeInCell(e->grid, 4, Quality, QStringLiteral("Buono"));
            QTest::mouseClick(e->okButton, Qt::LeftButton);
        });
        QTest::mouseClick(page->zonesEditorButton, Qt::LeftButton);
        QVERIFY(ran);
        QVERIFY(!e->isVisible());
        QVERIFY(ui::Messages::shown().isEmpty());

        const QString saved = dataPath(kAbano);
        QCOMPARE(column(saved, "ZonaUrbana"),
                 (QStringList{"Centro storico", "", "", "", "Lido", "", "", "", "", "", ""}));
        QCOMPARE(column(saved, "CentralitaZona").first(), QStringLiteral("Zona centrale"));
        QCOMPARE(column(saved, "SaggioMedioCapitalizzaz").first(), QStringLiteral("3,50"));
        QCOMPARE(column(saved, "QualificazAmbienteExt").at(4), QStringLiteral("Buono"));
        // The page offers exactly the two zones, with the zone fields cleared.
        QCOMPARE(itemsOf(page->urbanZoneCombo), (QStringList{"Centro storico", "Lido"}));
        QCOMPARE(page->urbanZoneCombo->currentText(), QString());
        QCOMPARE(page->averageRateEdit->text(), QString());
        QVERIFY(!page->intermediateZoneRadio->isChecked());
    }

    void otherMunicipalityChosenInTheDialog()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ZonesEditor *e = ops.zonesEditor();
        writeZoneTable(dataPath("ZonaUrbanaMilano20100MI.db"),
                       {{"Brera", "Zona centrale", "2,50", "Ottimo", "Ottimo", "Buono"},
                        {"Bovisa", "Zona periferica", "4,00", "Sufficiente", "Buono", "Ottimo"}});
        chooseOnDescription(f.window.get(), positionOf("Abano Terme"));
        showEditor(e);
        QCOMPARE(e->model()->rowCount(), 11);

        // Typing completes the name and counts as choosing it.
        e->municipalityCombo->setFocus(Qt::TabFocusReason);
        QTest::keyClick(e->municipalityCombo, Qt::Key_End);
        QTest::keyClick(e->municipalityCombo, Qt::Key_Home, Qt::ShiftModifier);
        QTest::keyClicks(e->municipalityCombo, "Milano");
        QCOMPARE(e->municipalityCombo->currentText(), QStringLiteral("Milano"));
        QCOMPARE(e->postalCodeCombo->currentText(), QStringLiteral("20100"));
        QCOMPARE(e->provinceCombo->currentText(), QStringLiteral("Milano"));
        QCOMPARE(e->provinceCodeCombo->currentText(), QStringLiteral("MI"));
        QCOMPARE(e->model()->rowCount(), 2);
        QCOMPARE(column(dataPath(kZonaUrbana), "ZonaUrbana"), (QStringList{"Brera", "Bovisa"}));

        typeInCell(e->grid, 1, Rate, QStringLiteral("4,25"));
        QTest::mouseClick(e->okButton, Qt::LeftButton);
        QVERIFY(!e->isVisible());
        QCOMPARE(column(dataPath("ZonaUrbanaMilano20100MI.db"), "SaggioMedioCapitalizzaz"),
                 (QStringList{"2,50", "4,25"}));
        QVERIFY(!QFile::exists(dataPath(kAbano)));
        QCOMPARE(itemsOf(f.window->localisationPage->urbanZoneCombo), (QStringList{"Brera", "Bovisa"}));
    }

    // The rows shown, and written by OK, are those of the municipality in the
    // header, whatever the working table held when the dialog opened.
    void rowsFollowTheHeader_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("zone");
        QTest::newRow("description changed without its cascade (appraisal opened)")
            << "opened" << "Milano" << "Brera";
        QTest::newRow("other municipality chosen in the dialog, then Annulla") << "cancelled" << "Roma" << "Colosseo";
        QTest::newRow("same municipality, edits cancelled: kept") << "edited" << "Roma" << "Palatino";
    }
    void rowsFollowTheHeader()
    {
        QFETCH(QString, before);
        QFETCH(QString, header);
        QFETCH(QString, zone);
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ZonesEditor *e = ops.zonesEditor();
        const QString roma = dataPath("ZonaUrbanaRoma00100RM.db");
        const QString milano = dataPath("ZonaUrbanaMilano20100MI.db");
        writeZoneTable(roma, {{"Colosseo", "Zona centrale", "3,00", "Buono", "Buono", "Buono"}});
        writeZoneTable(milano, {{"Brera", "Zona centrale", "2,50", "Ottimo", "Ottimo", "Buono"}});
        chooseOnDescription(f.window.get(), positionOf("Roma"));
        if (before == "opened") {
            setDescriptionWithoutCascade(f.window.get(), positionOf("Milano"));
        } else {
            showEditor(e);
            if (before == "cancelled") {
                e->municipalityCombo->setFocus(Qt::TabFocusReason);
                e->municipalityCombo->lineEdit()->selectAll();
                QTest::keyClicks(e->municipalityCombo, "Milano");
                QCOMPARE(column(dataPath(kZonaUrbana), "ZonaUrbana"), QStringList{"Brera"});
            } else {
                typeInCell(e->grid, 0, Name, QStringLiteral("Palatino"));
            }
            QTest::mouseClick(e->cancelButton, Qt::LeftButton);
            QVERIFY(!e->isVisible());
        }
        const QString own = header == "Roma" ? roma : milano;
        const QString other = header == "Roma" ? milano : roma;
        const QByteArray otherBytes = fixtures::readBytes(other);

        showEditor(e);
        QCOMPARE(e->municipalityCombo->currentText(), header);
        QCOMPARE(e->targetTableName(), QFileInfo(own).fileName());
        QCOMPARE(e->model()->rowCount(), 1);
        QCOMPARE(e->model()->data(e->model()->index(0, Name)).toString(), zone);
        typeInCell(e->grid, 0, Rate, QStringLiteral("4,75"));
        QTest::mouseClick(e->okButton, Qt::LeftButton);
        QVERIFY(!e->isVisible());
        QVERIFY(ui::Messages::shown().isEmpty());
        QCOMPARE(column(own, "ZonaUrbana"), QStringList{zone});
        QCOMPARE(column(own, "SaggioMedioCapitalizzaz"), QStringList{"4,75"});
        QCOMPARE(fixtures::readBytes(other), otherBytes);
        QCOMPARE(itemsOf(f.window->localisationPage->urbanZoneCombo), QStringList{zone});
    }

    // A zone name the column cuts short shows whole as a tip; one that fits
    // has none.
    void cutNamesShowWholeAsTips()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ZonesEditor *e = ops.zonesEditor();
        const QString whole = QStringLiteral("D1 PERIFERIA E FRAZIONI VARIE");
        writeZoneTable(dataPath(kAbano), {{whole, "Zona periferica", "3,00", "Buono", "Buono", "Buono"},
                                          {"B1", "Zona centrale", "3,00", "Buono", "Buono", "Buono"}});
        chooseOnDescription(f.window.get(), positionOf("Abano Terme"));
        showEditor(e);
        const auto tipAt = [e](int row) {
            QToolTip::hideText(); // the tip goes after a short delay
            if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
                return QStringLiteral("(the tip stays)");
            const QPoint at = e->grid->visualRect(e->model()->index(row, Name)).center();
            QHelpEvent help(QEvent::ToolTip, at, e->grid->viewport()->mapToGlobal(at));
            QApplication::sendEvent(e->grid->viewport(), &help);
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        // The column fits its names; the user narrows it.
        e->grid->setColumnWidth(Name, 80);
        QVERIFY(e->grid->columnWidth(Name) < e->grid->fontMetrics().horizontalAdvance(whole));
        QCOMPARE(tipAt(0), whole);
        QCOMPARE(tipAt(1), QString());
        e->reject();
    }

    // The zone names show whole, up to their 30 characters, those read from
    // the table and those typed; the other columns keep their titles' width.
    void namesShowWhole_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("short") << "B1 CENTRO URBANO";
        QTest::newRow("an OMI zone cut to 30") << "B2 VIALE DELLE TERME, PIAZZA D";
        QTest::newRow("30 wide letters") << QString(30, u'W');
    }
    void namesShowWhole()
    {
        QFETCH(QString, name);
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ZonesEditor *e = ops.zonesEditor();
        writeZoneTable(dataPath(kAbano), {{"B1", "Zona centrale", "3,00", "Buono", "Buono", "Buono"},
                                          {name, "Zona centrale", "3,00", "Buono", "Buono", "Buono"}});
        chooseOnDescription(f.window.get(), positionOf("Abano Terme"));
        showEditor(e);
        const int margin = 2 * (e->grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, e->grid) + 1);
        const auto fits = [e, margin](const QString &text) {
            return e->grid->fontMetrics().horizontalAdvance(text) + margin <= e->grid->columnWidth(Name);
        };
        QVERIFY2(fits(name), qPrintable(QString::number(e->grid->columnWidth(Name))));
        const QHeaderView *header = e->grid->horizontalHeader();
        for (int c : {Centrality, Rate, Quality, Settlement, Improvements}) {
            const QString title = e->model()->headerData(c, Qt::Horizontal).toString();
            QVERIFY2(header->fontMetrics().horizontalAdvance(title) < e->grid->columnWidth(c), qPrintable(title));
        }

        // A longer name typed into a cell widens the column to it.
        const QString typed = QString(30, u'M');
        typeInCell(e->grid, 0, Name, typed);
        QCOMPARE(e->model()->index(0, Name).data().toString(), typed);
        QVERIFY(fits(typed));
        e->reject();
    }

    void cancelKeepsSavedTableButNotWorkingTable()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ZonesEditor *e = ops.zonesEditor();
        ui::LocalisationPage *page = f.window->localisationPage;
        writeZoneTable(dataPath(kAbano), {{"Centro", "Zona centrale", "3,00", "Buono", "Buono", "Buono"}});
        chooseOnDescription(f.window.get(), positionOf("Abano Terme"));
        ops.rebuildZoneList();
        showEditor(e);
        typeInCell(e->grid, 0, Rate, QStringLiteral("4,00"));
        QTest::mouseClick(e->cancelButton, Qt::LeftButton);
        QVERIFY(!e->isVisible());

        QCOMPARE(column(dataPath(kAbano), "SaggioMedioCapitalizzaz"), QStringList{"3,00"});
        QCOMPARE(column(dataPath(kZonaUrbana), "SaggioMedioCapitalizzaz"), QStringList{"4,00"});
        // The list is not rebuilt; choosing the zone reads the working table.
        QCOMPARE(itemsOf(page->urbanZoneCombo), QStringList{"Centro"});
        f.window->show();
        f.window->selectNode(7);
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        page->urbanZoneCombo->setFocus(Qt::TabFocusReason);
        QTest::keyClick(page->urbanZoneCombo, Qt::Key_Down);
        QCOMPARE(page->urbanZoneCombo->currentText(), QStringLiteral("Centro"));
        QCOMPARE(page->averageRateEdit->text(), QStringLiteral("4,00"));
    }

    // Annulla keeps only what the grid has posted: a cell still being edited
    // is dropped, however Annulla is pressed.
    void cancelDropsUnpostedEdit_data()
    {
        QTest::addColumn<QString>("press");
        QTest::newRow("mouse click") << "click";
        QTest::newRow("Alt+A") << "mnemonic";
    }
    void cancelDropsUnpostedEdit()
    {
        QFETCH(QString, press);
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ZonesEditor *e = ops.zonesEditor();
        chooseOnDescription(f.window.get(), positionOf("Abano Terme"));
        showEditor(e);
        typeInCell(e->grid, 0, Name, QStringLiteral("Centro"));
        typeInCell(e->grid, 0, Rate, QStringLiteral("3,75"), false);
        QVERIFY(e->grid->indexWidget(e->grid->currentIndex()));
        if (press == "click")
            QTest::mouseClick(e->cancelButton, Qt::LeftButton);
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
        QTRY_VERIFY(!e->isVisible());
        QCOMPARE(column(dataPath(kZonaUrbana), "ZonaUrbana").first(), QStringLiteral("Centro"));
        QCOMPARE(column(dataPath(kZonaUrbana), "SaggioMedioCapitalizzaz").first(), QString());
        QVERIFY(!QFile::exists(dataPath(kAbano)));
    }

    // The navigator's long hints reach the main window's status bar.
    void navigatorHintsInTheStatusBar_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("hint");
        const QList<std::pair<ui::NavigatorBar::Button, const char *>> buttons{
            {ui::NavigatorBar::First, "Seleziona la prima riga della tabella."},
            {ui::NavigatorBar::Next, "Seleziona la riga successiva della tabella."},
            {ui::NavigatorBar::Insert, "Aggiungi una nuova riga alla tabella."},
            {ui::NavigatorBar::Post, "Applica la modifica alla casella selezionata."}};
        for (const auto &[button, hint] : buttons)
            QTest::newRow(hint) << int(button) << QString::fromUtf8(hint);
    }
    void navigatorHintsInTheStatusBar()
    {
        QFETCH(int, button);
        QFETCH(QString, hint);
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ZonesEditor *e = ops.zonesEditor();
        chooseOnDescription(f.window.get(), positionOf("Abano Terme"));
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        showEditor(e);
        QToolButton *b = e->navigator->button(ui::NavigatorBar::Button(button));
        hover(b);
        QCOMPARE(f.window->statusBar()->currentMessage(), hint);
        // Leaving the button takes the hint away again.
        leave(b);
        QCOMPARE(f.window->statusBar()->currentMessage(), QString());
        e->reject();
    }

    void cellsAcceptTheirFieldWidth_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("zone name, 30") << int(Name) << QString(40, QLatin1Char('z')) << QString(30, QLatin1Char('z'));
        QTest::newRow("rate, 6") << int(Rate) << "3,5000001" << "3,5000";
        // The rate takes decimal keys as the page's rate field does.
        QTest::newRow("rate: a point becomes a comma") << int(Rate) << "3.5" << "3,5";
        QTest::newRow("rate: letters dropped") << int(Rate) << "x3,a5%" << "3,5";
        QTest::newRow("zone name: a point stays") << int(Name) << "S.Anna" << "S.Anna";
        // The pick lists are suggestions: other text is taken as typed.
        QTest::newRow("centrality not in list") << int(Centrality) << "Zona mista" << "Zona mista";
        QTest::newRow("judgment not in list") << int(Settlement) << "Discreto" << "Discreto";
        QTest::newRow("judgment, 15") << int(Improvements) << "Molto molto buono" << "Molto molto buo";
    }
    void cellsAcceptTheirFieldWidth()
    {
        QFETCH(int, col);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ZonesEditor *e = ops.zonesEditor();
        chooseOnDescription(f.window.get(), positionOf("Abano Terme"));
        showEditor(e);
        typeInCell(e->grid, 2, col, typed);
        const Table t = Table::open(dataPath(kZonaUrbana));
        QCOMPARE(t.text(t.rowIds().at(2), t.layout().at(col).name), stored);
        e->reject();
    }

    void pendingEditIsPostedBeforeOk()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ZonesEditor *e = ops.zonesEditor();
        chooseOnDescription(f.window.get(), positionOf("Abano Terme"));
        showEditor(e);
        typeInCell(e->grid, 3, Name, QStringLiteral("Marina"), false);
        QVERIFY(e->grid->indexWidget(e->grid->currentIndex())); // still being edited
        // Alt+O presses OK without taking the focus from the cell.
        // A mnemonic presses its button with a short animation.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::AltModifier);
        QTRY_VERIFY(!e->isVisible());
        QCOMPARE(column(dataPath(kAbano), "ZonaUrbana").at(3), QStringLiteral("Marina"));
        QCOMPARE(itemsOf(f.window->localisationPage->urbanZoneCombo), QStringList{"Marina"});
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("rows");
        QTest::newRow("OK") << true << 10;
        QTest::newRow("Cancel") << false << 11;
    }
    void deleteAsksFirst()
    {
        QFETCH(bool, answer);
        QFETCH(int, rows);
        AppFixture f;
        f.answer = answer;
        CharacteristicsOps ops(f.window.get());
        ZonesEditor *e = ops.zonesEditor();
        chooseOnDescription(f.window.get(), positionOf("Abano Terme"));
        showEditor(e);
        QTest::mouseClick(e->navigator->button(ui::NavigatorBar::Delete), Qt::LeftButton);
        QCOMPARE(ui::Messages::shown().size(), 1);
        QCOMPARE(ui::Messages::shown().first().kind, ui::Messages::Shown::Confirm);
        QCOMPARE(ui::Messages::shown().first().text, QStringLiteral("Delete record?"));
        QCOMPARE(Table::open(dataPath(kZonaUrbana)).rowCount(), rows);
        e->reject();
    }

    void nothingWrittenWithoutMunicipality()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ZonesEditor *e = ops.zonesEditor();
        reloadForMunicipality(MunicipalityTable::Zones, {}, {}, {});
        const QStringList before = QDir(f.dataFolder()).entryList(QDir::Files);
        showEditor(e);
        QCOMPARE(e->targetTableName(), kZonaUrbana);
        typeInCell(e->grid, 0, Name, QStringLiteral("Centro"));
        QTest::mouseClick(e->okButton, Qt::LeftButton);
        QVERIFY(!e->isVisible());
        QVERIFY(ui::Messages::shown().isEmpty());
        QCOMPARE(QDir(f.dataFolder()).entryList(QDir::Files), before);
        // The list is refreshed all the same.
        QCOMPARE(itemsOf(f.window->localisationPage->urbanZoneCombo), QStringList{"Centro"});
    }

    // ---- Bad input -------------------------------------------------------

    void badMunicipalityTable_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("damaged") << "damaged";
        QTest::newRow("unit-rent layout") << "foreign layout";
        QTest::newRow("other database") << "other database";
        QTest::newRow("not a table") << "text";
    }
    void badMunicipalityTable()
    {
        QFETCH(QString, kind);
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ZonesEditor *e = ops.zonesEditor();
        const QString milano = dataPath("ZonaUrbanaMilano20100MI.db");
        if (kind == "damaged") {
            QList<QStringList> rows;
            for (int i = 0; i < 400; ++i)
                rows << QStringList{QStringLiteral("Zona %1").arg(i), "Zona centrale", "3,00", "Buono", "", ""};
            writeZoneTable(milano, rows);
            fixtures::damage(milano);
        } else if (kind == "foreign layout") {
            rebuildTable(milano, unitRentsLayout(), 3);
        } else if (kind == "other database") {
            fixtures::foreignDatabase(milano, "CREATE TABLE t(x); INSERT INTO t VALUES (1);");
        } else {
            fixtures::writeBytes(milano, "Comune;Zona\nMilano;Brera\n");
        }
        const QByteArray bytes = fixtures::readBytes(milano);
        chooseOnDescription(f.window.get(), positionOf("Abano Terme"));
        showEditor(e);
        e->municipalityCombo->setFocus(Qt::TabFocusReason);
        QTest::keyClick(e->municipalityCombo, Qt::Key_End);
        QTest::keyClick(e->municipalityCombo, Qt::Key_Home, Qt::ShiftModifier);
        QTest::keyClicks(e->municipalityCombo, "Milano");

        // Each keystroke that completes to Milano chooses it again, and each
        // choice meets the bad table: only error boxes, all with a text.
        const qsizetype errors = ui::Messages::shown().size();
        QVERIFY(errors >= 1);
        for (const ui::Messages::Shown &m : ui::Messages::shown()) {
            QCOMPARE(m.kind, ui::Messages::Shown::Error);
            QVERIFY(!m.text.isEmpty());
        }
        QVERIFY(e->isVisible());
        QCOMPARE(e->model()->rowCount(), 11);
        QCOMPARE(column(dataPath(kZonaUrbana), "ZonaUrbana"), QStringList(11, QString()));
        QCOMPARE(fixtures::readBytes(milano), bytes);

        // Still usable: a zone entered now is saved over the bad table.
        typeInCell(e->grid, 0, Name, QStringLiteral("Brera"));
        QTest::mouseClick(e->okButton, Qt::LeftButton);
        QVERIFY(!e->isVisible());
        QCOMPARE(ui::Messages::shown().size(), errors);
        QCOMPARE(column(milano, "ZonaUrbana").first(), QStringLiteral("Brera"));
    }

    void readOnlyDataFolderKeepsDialogOpen()
    {
        AppFixture f;
        CharacteristicsOps ops(f.window.get());
        ZonesEditor *e = ops.zonesEditor();
        writeZoneTable(dataPath(kAbano), {{"Centro", "Zona centrale", "3,00", "Buono", "Buono", "Buono"}});
        const QByteArray saved = fixtures::readBytes(dataPath(kAbano));
        chooseOnDescription(f.window.get(), positionOf("Abano Terme"));
        showEditor(e);
        typeInCell(e->grid, 0, Rate, QStringLiteral("5,00"));
        const QStringList before = QDir(f.dataFolder()).entryList(QDir::Files | QDir::Hidden);
        {
            fixtures::WriteLock lock(f.dataFolder());
            if (!lock.locked())
                QSKIP("this file system cannot make the data folder read-only");
            QTest::mouseClick(e->okButton, Qt::LeftButton);
            QCOMPARE(ui::Messages::shown().size(), 1);
            QCOMPARE(ui::Messages::shown().first().kind, ui::Messages::Shown::Error);
            QVERIFY(e->isVisible());
            QCOMPARE(QDir(f.dataFolder()).entryList(QDir::Files | QDir::Hidden), before);
            QCOMPARE(fixtures::readBytes(dataPath(kAbano)), saved);
            // The working table is open again with what was entered.
            QCOMPARE(e->model()->rowCount(), 1);
            QCOMPARE(e->model()->data(e->model()->index(0, Rate)).toString(), QStringLiteral("5,00"));
        }
        // Once the folder can be written, OK goes through.
        QTest::mouseClick(e->okButton, Qt::LeftButton);
        QVERIFY(!e->isVisible());
        QCOMPARE(ui::Messages::shown().size(), 1);
        QCOMPARE(column(dataPath(kAbano), "SaggioMedioCapitalizzaz"), QStringList{"5,00"});
    }
};

QTEST_MAIN(TestZonesEditor)
#include "tst_zoneseditor.moc"
