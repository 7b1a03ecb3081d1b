// SPDX-License-Identifier: GPL-2.0-or-later
// An archive of Paradox tables met through the program's own commands:
// "Apri stima..." with its companions, then a save that keeps the originals;
// the surfaces and comparables loads and saves; the folder of earlier
// appraisals ticked in; the appraiser's particulars; the municipality zone
// and unit-rent tables of the data folder; brevan-export. Damaged tables end
// in each command's own warning with nothing changed.
#include "../support/appfixture.h"
#include "../support/paradoxwriter.h"
#include "app/application.h"
#include "app/comparablesops.h"
#include "app/descriptionops.h"
#include "app/exportcommand.h"
#include "app/fileops.h"
#include "app/surfacesops.h"
#include "files/appraisalfiles.h"
#include "legacy/keeporiginal.h"
#include "legacy/paradoxtable.h"
#include "model/numbertext.h"
#include "model/record.h"
#include "pages/comparablespage.h"
#include "pages/descriptionpage.h"
#include "pages/folderdialog.h"
#include "pages/pagekit.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"
#include "pages/zoneseditor.h"
#include "store/datafolder.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <QTest>
#include <QTextStream>
#include <QToolButton>

using namespace brevan;
using namespace fixtures;
using brevan::app::MainWindow;
using brevan::ui::FileDialogRequest;
using brevan::ui::Messages;

namespace {

const QString kStem = QStringLiteral("Via Né 12, Città - PD - Piano 2 di 4, Interno 7");
const QString kAppraisal = QStringLiteral("Stima - ") + kStem + QStringLiteral(".db");
const QString kSurfaces = QStringLiteral("Superfici - ") + kStem + QStringLiteral(".db");
const QString kComparables = QStringLiteral("ImmobConfr - ") + kStem + QStringLiteral(".db");

const QString kCannotLoadTable =
    QStringLiteral("La tabella %1 potrebbe essere:\ngià in uso, inesistente o in un formato non valido.");

// A value for every field of the record that its control can hold, with
// accented text wherever text goes.
QVariant sampleValue(const FieldDef &f)
{
    if (f.type == FieldType::Logical)
        return f.number == 45 || f.number == 48 || (f.number > 49 && f.number % 2 == 1);
    if (f.type == FieldType::Real)
        return f.number * 0.5;
    const QString name = QString::fromLatin1(f.name);
    if (name == QLatin1String("DataStimaImmob"))
        return QStringLiteral("24/02/1999");
    if (name == QLatin1String("NumCauzioni"))
        return QStringLiteral("2");
    if (name == QLatin1String("SuperficiImmob"))
        return kSurfaces;
    if (name == QLatin1String("TableNameImmobConfr"))
        return kComparables;
    if (f.open == OpenRole::Companion)
        return QString();
    const QStringList items = choiceItems(f.choice);
    if (!items.isEmpty())
        return items.at(std::min<qsizetype>(3, items.size() - 1));
    if (f.filter == KeyFilter::Integers)
        return QString::number(f.number * 7).left(f.size);
    if (f.filter == KeyFilter::Decimals)
        return QStringLiteral("%1,5").arg(f.number).left(f.size);
    return (QStringLiteral("T%1 ").arg(f.number) + QStringLiteral("àèéìòù").repeated(30)).left(f.size);
}

files::RecordValues sampleRecord()
{
    files::RecordValues v;
    for (const FieldDef &f : recordFields())
        v.insert(QString::fromLatin1(f.name), sampleValue(f));
    return v;
}

const QVector<QVariantList> kSurfaceRows = {
    {QStringLiteral("Soggiorno"), 25.5}, {QStringLiteral("Camera"), 14.0}, {QString(), 0.0}, {QStringLiteral("Balcone"), 4.75}};
const QStringList kComparable = {"Via Sù", "9", "2", "4", "85,33", "10,00", "5,00", "-2,50", "0,00", "1.500.000,00",
                                 "127.995.000,00", "", ""};

QVector<QVariantList> comparableRows()
{
    QVariantList r;
    for (const QString &s : kComparable)
        r << s;
    QVariantList partial{QStringLiteral("Piazza Libertà"), QStringLiteral("1")};
    while (partial.size() < 13)
        partial << QString();
    return {r, partial};
}

// An appraisal, its surfaces and its comparables as Paradox tables.
void writeParadoxAppraisal(const QString &folder, int codePage)
{
    const Layout layout = files::recordLayout();
    writeParadox(folder + "/" + kAppraisal,
                 paradoxFrom(layout, {files::rowFor(layout, sampleRecord())}, codePage));
    writeParadox(folder + "/" + kSurfaces, paradoxFrom(surfacesLayout(), kSurfaceRows, codePage));
    writeParadox(folder + "/" + kComparables, paradoxFrom(comparablesLayout(), comparableRows(), codePage));
}

QVector<QVariantList> rowsOf(const QString &path)
{
    return Table::open(path).rows();
}

QStringList texts(const QList<Messages::Shown> &shown)
{
    QStringList out;
    for (const Messages::Shown &s : shown)
        out << s.text;
    return out;
}

// A chain of data blocks that loops: a Paradox table pxlib alone would read
// for ever.
void loopChain(const QString &path)
{
    QByteArray b = readAll(path);
    pxPut16(b, pxBlockAt(b, pxU16(b, kPxFirstBlock)), pxU16(b, kPxFirstBlock));
    writeAll(path, b);
}

} // namespace

class TestParadoxFiles : public QObject {
    Q_OBJECT

    struct Session {
        AppFixture app;
        QStringList files; // next answers of the file dialogs
        Session()
        {
            Messages::setFileAnswers([this](const FileDialogRequest &) { return files.isEmpty() ? QString() : files.takeFirst(); });
            QDir().mkpath(folder());
            app.window->show();
        }
        MainWindow *w() const { return app.window.get(); }
        QString folder() const { return app.path("archivio"); }
        QString in(const QString &name) const { return folder() + QLatin1Char('/') + name; }
    };

private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }

    void openAppraisalThenSaveKeepsOriginals_data()
    {
        QTest::addColumn<int>("codePage");
        QTest::newRow("Windows-1252") << 1252;
        QTest::newRow("DOS 850") << 850;
    }
    void openAppraisalThenSaveKeepsOriginals()
    {
        QFETCH(int, codePage);
        Session s;
        app::FileOps ops(s.w());
        ops.surfaceValues = [] { return QStringList{"44,25", "50", "51"}; };
        writeParadoxAppraisal(s.folder(), codePage);
        const QByteArray originalRecord = readAll(s.in(kAppraisal));
        const QByteArray originalSurfaces = readAll(s.in(kSurfaces));

        s.files << s.in(kAppraisal);
        s.w()->openAction->trigger();
        QCOMPARE(texts(Messages::shown()), QStringList());

        const files::RecordValues sample = sampleRecord();
        const files::RecordValues back = ops.currentRecord();
        for (const int n : openingOrder()) {
            const QString field = QString::fromLatin1(recordFields()[n - 1].name);
            QVERIFY2(back.value(field) == sample.value(field),
                     qPrintable(field + ": " + back.value(field).toString() + " != " + sample.value(field).toString()));
        }
        QCOMPARE(s.w()->descriptionPage->dateEdit->date(), QDate(1999, 2, 24));
        QCOMPARE(rowsOf(dataPath(kDescrSup)), kSurfaceRows);
        QCOMPARE(rowsOf(dataPath(kImmConfr)), comparableRows());

        // Saving under the same name writes the program's own format and
        // keeps every Paradox table it replaces.
        s.files << s.in(kAppraisal);
        s.w()->saveAction->trigger();
        QCOMPARE(texts(Messages::shown()), QStringList());
        QCOMPARE(QDir(s.folder()).entryList(QDir::Files, QDir::Name),
                 (QStringList{kComparables, kComparables + ".paradox", kAppraisal, kAppraisal + ".paradox", kSurfaces,
                              kSurfaces + ".paradox"}));
        QCOMPARE(readAll(s.in(kAppraisal + ".paradox")), originalRecord);
        QCOMPARE(readAll(s.in(kSurfaces + ".paradox")), originalSurfaces);
        QCOMPARE(s.w()->statusBar()->currentMessage(),
                 legacy::keptOriginalsNote({kSurfaces + ".paradox", kComparables + ".paradox", kAppraisal + ".paradox"}));
        QCOMPARE(Table::open(s.in(kAppraisal)).layout(), files::recordLayout());
        QCOMPARE(rowsOf(s.in(kSurfaces)), kSurfaceRows);
        QCOMPARE(rowsOf(s.in(kComparables)), comparableRows());

        // A second save has nothing more to keep and says nothing of it.
        s.w()->statusBar()->clearMessage();
        s.files << s.in(kAppraisal);
        s.w()->saveAction->trigger();
        QCOMPARE(s.w()->statusBar()->currentMessage(), QString());
        QCOMPARE(QDir(s.folder()).entryList({"*.paradox"}, QDir::Files).size(), 3);
        QCOMPARE(readAll(s.in(kAppraisal + ".paradox")), originalRecord);
    }

    void damagedAppraisalWarnsAndChangesNothing_data()
    {
        QTest::addColumn<QString>("damaged");
        QTest::newRow("record") << kAppraisal;
        QTest::newRow("surfaces companion") << kSurfaces;
    }
    void damagedAppraisalWarnsAndChangesNothing()
    {
        QFETCH(QString, damaged);
        Session s;
        app::FileOps ops(s.w());
        writeParadoxAppraisal(s.folder(), 1252);
        loopChain(s.in(damaged));
        const QByteArray bytes = readAll(s.in(damaged));
        const QVector<QVariantList> surfacesBefore = rowsOf(dataPath(kDescrSup));

        s.files << s.in(kAppraisal);
        s.w()->openAction->trigger();
        QCOMPARE(texts(Messages::shown()), QStringList{app::FileOps::openFailureText()});
        QCOMPARE(readAll(s.in(damaged)), bytes);
        QCOMPARE(rowsOf(dataPath(kDescrSup)), surfacesBefore);
        QVERIFY(s.w()->surfacesPage->model()->isOpen());
    }

    void surfacesAndComparablesFiles()
    {
        Session s;
        app::SurfacesOps surfaces(s.w());
        app::ComparablesOps comparables(s.w());
        const QString surfacesFile = s.in(QStringLiteral("Superfici 01.db"));
        const QString comparablesFile = s.in(QStringLiteral("ImmobConfr 01.db"));
        writeParadox(surfacesFile, paradoxFrom(surfacesLayout(), kSurfaceRows, 850));
        writeParadox(comparablesFile, paradoxFrom(comparablesLayout(), comparableRows(), 1252));

        s.files << surfacesFile;
        s.w()->surfacesPage->openTableButton->click();
        QCOMPARE(rowsOf(dataPath(kDescrSup)), kSurfaceRows);
        s.files << comparablesFile;
        s.w()->comparablesPage->loadButton->click();
        QCOMPARE(rowsOf(dataPath(kImmConfr)), comparableRows());
        QCOMPARE(texts(Messages::shown()), QStringList());

        // Saved back under the same names: originals kept, the note shown.
        s.files << surfacesFile;
        s.w()->surfacesPage->saveTableButton->click();
        QCOMPARE(s.w()->statusBar()->currentMessage(), legacy::keptOriginalsNote({"Superfici 01.db.paradox"}));
        QCOMPARE(rowsOf(surfacesFile), kSurfaceRows);
        QVERIFY(legacy::isParadoxTable(surfacesFile + ".paradox"));

        // A damaged table: the page's warning, the working table as it was.
        loopChain(comparablesFile);
        s.files << comparablesFile;
        s.w()->comparablesPage->loadButton->click();
        QCOMPARE(texts(Messages::shown()), QStringList{kCannotLoadTable.arg(QDir::toNativeSeparators(comparablesFile))});
        QCOMPARE(rowsOf(dataPath(kImmConfr)), comparableRows());
    }

    void earlierAppraisalsListedAndTickedIn()
    {
        Session s;
        app::ComparablesOps ops(s.w());
        writeParadoxAppraisal(s.folder(), 850);
        ops.folderDialog()->runModal = [&s](ui::FolderDialog &d) {
            d.setListFolder(s.folder());
            d.ElaboraPercorsoDati();
            return int(QDialog::Accepted);
        };
        QTest::mouseClick(s.w()->comparablesPage->browseButton, Qt::LeftButton);
        QListWidget *list = s.w()->comparablesPage->previousAppraisalsList;
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), kAppraisal);

        list->setCurrentRow(0);
        list->item(0)->setCheckState(Qt::Checked);
        const files::RecordValues r = sampleRecord();
        const QStringList expected = {r["IndirizzoImmob"].toString(),
                                      r["NumCivicoImmob"].toString(),
                                      r["PianoImmob"].toString(),
                                      r["InternoImmob"].toString(),
                                      r["SupCommercImmob"].toString(),
                                      FormattaImporto(r["CDCarattLocalizzaz"].toDouble()),
                                      FormattaImporto(r["CDCarattPosizione"].toDouble()),
                                      FormattaImporto(r["CDCarattTipologiche"].toDouble()),
                                      FormattaImporto(r["CDCarattProduttive"].toDouble()),
                                      r["CostoUnitario"].toString(),
                                      r["CostoComplessivo"].toString(),
                                      QString(),
                                      QString()};
        const QVector<QVariantList> rows = rowsOf(dataPath(kImmConfr));
        QCOMPARE(rows.size(), 1);
        QStringList got;
        for (const QVariant &v : rows[0])
            got << v.toString();
        QCOMPARE(got, expected);
        QCOMPARE(texts(Messages::shown()), QStringList());
    }

    void appraiserParticulars()
    {
        Session s;
        app::FileOps ops(s.w());
        const QString file = s.in(QStringLiteral("Professionista 01.db"));
        const Layout layout = files::appraiserLayout();
        writeParadox(file, paradoxFrom(layout, {files::rowFor(layout, sampleRecord())}, 850));

        s.files << file;
        s.w()->loadAppraiserAction->trigger();
        QCOMPARE(texts(Messages::shown()), QStringList());
        const files::RecordValues back = ops.currentRecord();
        for (const Column &c : layout)
            QCOMPARE(back.value(c.name).toString(), sampleRecord().value(c.name).toString());

        s.files << file;
        s.w()->saveAppraiserAction->trigger();
        QCOMPARE(s.w()->statusBar()->currentMessage(), legacy::keptOriginalsNote({"Professionista 01.db.paradox"}));
        QCOMPARE(Table::open(file).layout(), layout);
    }

    void municipalityTablesOfTheDataFolder()
    {
        Session s;
        app::DescriptionOps ops(s.w());
        const QString zones = dataPath(QStringLiteral("ZonaUrbanaAbano Terme35031PD.db"));
        const QString rents = dataPath(QStringLiteral("CanoniLocazUnitariAbano Terme35031PD.db"));
        const QVector<QVariantList> zoneRows = {
            {"Abano Terme", "Padova", "Centro storico", "Zona centrale", "3,50", "Buono", "Ottimo", "Sufficiente"},
            {"Abano Terme", "Padova", "Più in là", "Zona periferica", "4,25", "Scarso", "Mediocre", "Buono"}};
        const QVector<QVariantList> rentRows = {{"1999", "12000", "15500", "Zona centrale"},
                                                {"2000", "12500,5", "16000", "Zona intermedia"}};
        writeParadox(zones, paradoxFrom(zonesLayout(), zoneRows, 850));
        writeParadox(rents, paradoxFrom(unitRentsLayout(), rentRows, 1252));

        QComboBox *combo = s.w()->descriptionPage->municipalityCombo;
        combo->setFocus();
        QTest::keyClicks(combo, QStringLiteral("Abano Terme"));
        QCOMPARE(s.w()->descriptionPage->provinceCodeCombo->currentText(), QStringLiteral("PD"));
        QCOMPARE(rowsOf(dataPath(kZonaUrbana)), zoneRows);
        QCOMPARE(rowsOf(dataPath(kCanoniLocazUnitari)), rentRows);
        QCOMPARE(texts(Messages::shown()), QStringList());

        // The zones editor's OK writes the program's own format over it and
        // keeps the Paradox table beside it.
        ui::ZonesEditor editor(s.w()->descriptionPage, s.w());
        editor.show();
        editor.OKClick();
        QCOMPARE(texts(Messages::shown()), QStringList());
        QCOMPARE(rowsOf(zones), zoneRows);
        QVERIFY(legacy::isParadoxTable(zones + ".paradox"));
        QCOMPARE(s.w()->statusBar()->currentMessage(),
                 legacy::keptOriginalsNote({"ZonaUrbanaAbano Terme35031PD.db.paradox"}));
    }

    void exportCommandReadsParadox()
    {
        QTemporaryDir dir;
        writeParadoxAppraisal(dir.path(), 850);
        QString out, err;
        QTextStream o(&out), e(&err);
        const int status = app::runExportCommand({dir.filePath(kAppraisal), QStringLiteral("--json")}, o, e);
        o.flush();
        e.flush();
        QCOMPARE(err, QString());
        QCOMPARE(status, int(app::ExportOk));
        const QJsonObject fields = QJsonDocument::fromJson(out.toUtf8()).object().value("fields").toObject();
        QCOMPARE(fields.value("SocietaProfess").toString(), sampleRecord().value("SocietaProfess").toString());
        QCOMPARE(fields.value("SuperficiImmob").toString(), kSurfaces);
    }
};

QTEST_MAIN(TestParadoxFiles)
#include "tst_paradoxfiles.moc"
