// SPDX-License-Identifier: GPL-2.0-or-later
// Tables written by other programs, met where the program takes tables in:
// "Apri tabella" on the surfaces page, loading a comparables file, opening an
// appraisal whose companions come from elsewhere, ticking an earlier
// appraisal as a comparable, and the export command. A schema that is not
// ours (WITHOUT ROWID, CHECK, NOT NULL, a trigger) and a table beyond the
// most rows the program handles end in the command's warning, and the
// working tables stay as they were and keep taking edits.
#include "../support/appfixture.h"
#include "../support/fixtures.h"
#include "app/application.h"
#include "app/comparablesops.h"
#include "app/exportcommand.h"
#include "files/appraisalfiles.h"
#include "pages/comparablespage.h"
#include "pages/descriptionpage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTextStream>
#include <QToolButton>

using namespace brevan;
using brevan::app::MainWindow;
using brevan::ui::FileDialogRequest;
using brevan::ui::Messages;

namespace {

// The statement that makes a table of this layout in a foreign form, with
// these rows.
QByteArray foreignTable(const Layout &layout, const QVector<QVariantList> &rows, const QString &form)
{
    QStringList columns;
    for (int i = 0; i < layout.size(); ++i) {
        QString c = QLatin1Char('"') + layout[i].name + QStringLiteral("\" ") + declaredType(layout[i]);
        if (form == QLatin1String("WITHOUT ROWID") && i == 0)
            c += QStringLiteral(" PRIMARY KEY");
        if (form == QLatin1String("NOT NULL"))
            c += QStringLiteral(" NOT NULL");
        if (form == QLatin1String("CHECK") && i == layout.size() - 1)
            c += QStringLiteral(" CHECK(length(\"%1\") < 4)").arg(layout[i].name);
        columns << c;
    }
    QString sql = QStringLiteral("CREATE TABLE tabella(%1)").arg(columns.join(QStringLiteral(", ")));
    if (form == QLatin1String("WITHOUT ROWID"))
        sql += QStringLiteral(" WITHOUT ROWID");
    sql += QStringLiteral(";");
    for (const QVariantList &row : rows) {
        QStringList values;
        for (int i = 0; i < layout.size(); ++i) {
            const QVariant v = row.value(i);
            values << (v.typeId() == QMetaType::Double ? QString::number(v.toDouble())
                                                      : QStringLiteral("'%1'").arg(v.toString()));
        }
        sql += QStringLiteral("INSERT INTO tabella VALUES(%1);").arg(values.join(QLatin1Char(',')));
    }
    if (form == QLatin1String("trigger"))
        sql += QStringLiteral("CREATE TRIGGER t AFTER UPDATE ON tabella BEGIN DELETE FROM tabella; END;");
    return sql.toUtf8();
}

void addForms()
{
    QTest::addColumn<QString>("form");
    for (const char *form : {"WITHOUT ROWID", "CHECK", "NOT NULL", "trigger"})
        QTest::newRow(form) << QString::fromLatin1(form);
}

const QVariantList kComparable{"Via Verdi", "3", "2", "4", "80", "10,5", "-2", "3", "1", "1.500.000", "120.000.000",
                               "", ""};

QVector<QVariantList> rowsOf(const QString &path)
{
    return Table::open(path).rows();
}

// A table of more rows than the program takes in, in our own form.
void writeLargeTable(const QString &path, const Layout &layout, const QVariantList &row)
{
    TableData data{layout, {}};
    data.rows.fill(row, kMaxTableRows + 1);
    Table::write(path, data);
}

QString tooLarge(const QString &path)
{
    return QStringLiteral("La tabella \"%1\" è più grande di quanto il programma possa gestire (al massimo 10.000 "
                          "righe).")
        .arg(QDir::toNativeSeparators(path));
}

} // namespace

class TestForeignTables : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<AppFixture> f;
    QStringList files; // the answers of the next file dialogs
    MainWindow *w() { return f->window.get(); }
    QStringList warnings() const
    {
        QStringList out;
        for (const Messages::Shown &s : Messages::shown())
            out << s.text;
        return out;
    }
    // The working tables take edits: a room typed into the grid, a comparable added.
    void workingTablesTakeEdits()
    {
        ui::TableModel *surfaces = w()->surfacesPage->model();
        QVERIFY(surfaces->isOpen());
        QVERIFY(surfaces->setData(surfaces->index(2, 0), QStringLiteral("Cucina")));
        QVERIFY(surfaces->setData(surfaces->index(2, 1), 9.5));
        QCOMPARE(rowsOf(dataPath(kDescrSup)).at(2), (QVariantList{"Cucina", 9.5}));
        ui::TableModel *comparables = w()->comparablesPage->model();
        QVERIFY(comparables->isOpen());
        const int before = comparables->rowCount();
        QVERIFY(comparables->appendRow(kComparable) >= 0);
        QCOMPARE(rowsOf(dataPath(kImmConfr)).size(), before + 1);
    }
    // A saved appraisal with one room and one complete comparable.
    QString saveAppraisal()
    {
        ui::TableModel *surfaces = w()->surfacesPage->model();
        surfaces->setData(surfaces->index(0, 0), QStringLiteral("Soggiorno"));
        surfaces->setData(surfaces->index(0, 1), 20.0);
        w()->comparablesPage->model()->appendRow(kComparable);
        w()->descriptionPage->internalNumberEdit->setText(QStringLiteral("7"));
        const QString folder = f->path(QStringLiteral("stime"));
        QDir().mkpath(folder);
        const QString table = folder + QStringLiteral("/Stima - x.db");
        files << table;
        w()->saveAction->trigger();
        if (!warnings().isEmpty())
            qWarning("saving: %s", qPrintable(warnings().join(QLatin1Char('|'))));
        return table;
    }

private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }
    void init()
    {
        f = std::make_unique<AppFixture>(app::Operations::Wired);
        files.clear();
        Messages::setFileAnswers([this](const FileDialogRequest &) { return files.isEmpty() ? QString() : files.takeFirst(); });
        Messages::resetForTests();
    }
    void cleanup() { f.reset(); }

    void surfacesOpenRefusesForeignSchema_data() { addForms(); }
    void surfacesOpenRefusesForeignSchema()
    {
        QFETCH(QString, form);
        const QString chosen = f->path(QStringLiteral("Superfici altrui.db"));
        fixtures::foreignDatabase(chosen,
                                  foreignTable(surfacesLayout(), {{"Camera", 20.0}, {"Bagno", 6.0}}, form).constData());
        ui::TableModel *m = w()->surfacesPage->model();
        QVERIFY(m->setData(m->index(0, 0), QStringLiteral("Salone")));
        const QVector<QVariantList> before = rowsOf(dataPath(kDescrSup));
        files << chosen;
        w()->surfacesPage->openTableButton->click();
        QCOMPARE(warnings(),
                 QStringList{QStringLiteral("La tabella %1 potrebbe essere:\ngià in uso, inesistente o in un formato "
                                            "non valido.")
                                 .arg(QDir::toNativeSeparators(chosen))});
        QCOMPARE(rowsOf(dataPath(kDescrSup)), before);
        workingTablesTakeEdits();
    }

    void comparablesLoadRefusesForeignSchema_data() { addForms(); }
    void comparablesLoadRefusesForeignSchema()
    {
        QFETCH(QString, form);
        const QString chosen = f->path(QStringLiteral("ImmobConfr altrui.db"));
        QVariantList other = kComparable;
        other[0] = QStringLiteral("Via Bianchi");
        fixtures::foreignDatabase(chosen, foreignTable(comparablesLayout(), {other}, form).constData());
        w()->comparablesPage->model()->appendRow(kComparable);
        const QVector<QVariantList> before = rowsOf(dataPath(kImmConfr));
        files << chosen;
        w()->comparablesPage->loadButton->click();
        QCOMPARE(warnings(),
                 QStringList{QStringLiteral("La tabella %1 potrebbe essere:\ngià in uso, inesistente o in un formato "
                                            "non valido.")
                                 .arg(QDir::toNativeSeparators(chosen))});
        QCOMPARE(rowsOf(dataPath(kImmConfr)), before);
        workingTablesTakeEdits();
    }

    // An appraisal whose surfaces or comparables copy was rewritten by another
    // program: the open warning; the working table that copy would have
    // replaced keeps the rows it had.
    void openRefusesForeignCompanion_data()
    {
        QTest::addColumn<QString>("companion");
        QTest::addColumn<QString>("form");
        for (const char *companion : {"Superfici", "ImmobConfr"}) {
            for (const char *form : {"WITHOUT ROWID", "CHECK", "NOT NULL", "trigger"})
                QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(companion), QLatin1String(form))))
                    << QString::fromLatin1(companion) << QString::fromLatin1(form);
        }
    }
    void openRefusesForeignCompanion()
    {
        QFETCH(QString, companion);
        QFETCH(QString, form);
        const QString table = saveAppraisal();
        const bool surfaces = companion == QLatin1String("Superfici");
        const QString copy = QFileInfo(table).absolutePath() + QLatin1Char('/') + companion + QStringLiteral(" - x.db");
        QVERIFY(QFileInfo::exists(copy));
        const QVector<QVariantList> stored = rowsOf(copy);
        QFile::remove(copy);
        fixtures::foreignDatabase(copy, foreignTable(surfaces ? surfacesLayout() : comparablesLayout(), stored, form)
                                            .constData());
        const QString working = dataPath(surfaces ? kDescrSup : kImmConfr);
        const QVector<QVariantList> before = rowsOf(working);
        Messages::resetForTests();
        files << table;
        w()->openAction->trigger();
        QCOMPARE(warnings(), QStringList{app::kOpenAppraisalFailed});
        QCOMPARE(rowsOf(working), before);
        workingTablesTakeEdits();
    }

    // An earlier appraisal whose record was rewritten WITHOUT ROWID: ticking it
    // reads nothing and adds nothing.
    void previousAppraisalOfForeignSchema()
    {
        const QString table = saveAppraisal();
        const QVector<QVariantList> record = rowsOf(table);
        QVERIFY(!app::ComparablesOps::contributionOf(table).isEmpty());
        QFile::remove(table);
        fixtures::foreignDatabase(table, foreignTable(brevan::files::recordLayout(), record, QStringLiteral("WITHOUT ROWID"))
                                             .constData());
        QVERIFY_THROWS_EXCEPTION(StoreError, app::ComparablesOps::contributionOf(table));
    }

    // A table beyond the most rows the program takes in: the command's
    // warning followed by the reason, and the working table as it was.
    void tablesTooLarge()
    {
        const QString surfaces = f->path(QStringLiteral("Superfici grande.db"));
        writeLargeTable(surfaces, surfacesLayout(), {"Camera", 1.0});
        const QVector<QVariantList> before = rowsOf(dataPath(kDescrSup));
        files << surfaces;
        w()->surfacesPage->openTableButton->click();
        QCOMPARE(warnings(),
                 QStringList{QStringLiteral("La tabella %1 potrebbe essere:\ngià in uso, inesistente o in un formato "
                                            "non valido.\n\n")
                                     .arg(QDir::toNativeSeparators(surfaces))
                             + tooLarge(surfaces)});
        QCOMPARE(rowsOf(dataPath(kDescrSup)), before);

        Messages::resetForTests();
        const QString table = saveAppraisal();
        const QString copy = QFileInfo(table).absolutePath() + QStringLiteral("/ImmobConfr - x.db");
        writeLargeTable(copy, comparablesLayout(), kComparable);
        Messages::resetForTests();
        files << table;
        w()->openAction->trigger();
        QCOMPARE(warnings(), QStringList{app::kOpenAppraisalFailed + QStringLiteral("\n\n") + tooLarge(copy)});
        workingTablesTakeEdits();
    }

    // The export command meets the same refusal and ends with status 2 and the
    // open warning alone, not a database error.
    void exportRefusesForeignCompanion_data()
    {
        QTest::addColumn<bool>("large");
        QTest::newRow("WITHOUT ROWID") << false;
        QTest::newRow("too many rows") << true;
    }
    void exportRefusesForeignCompanion()
    {
        QFETCH(bool, large);
        const QString table = saveAppraisal();
        const QString copy = QFileInfo(table).absolutePath() + QStringLiteral("/Superfici - x.db");
        const QVector<QVariantList> stored = rowsOf(copy);
        QFile::remove(copy);
        if (large)
            writeLargeTable(copy, surfacesLayout(), {"Camera", 1.0});
        else
            fixtures::foreignDatabase(copy, foreignTable(surfacesLayout(), stored, QStringLiteral("WITHOUT ROWID"))
                                                .constData());
        QString out, err;
        QTextStream o(&out), e(&err);
        const int status = app::runExportCommand({table, QStringLiteral("--json")}, o, e);
        o.flush();
        e.flush();
        QCOMPARE(status, int(app::ExportCannotOpen));
        QVERIFY(out.isEmpty());
        const QString expected =
            large ? app::kOpenAppraisalFailed + QStringLiteral("\n\n") + tooLarge(copy) : app::kOpenAppraisalFailed;
        QCOMPARE(err, expected + QLatin1Char('\n'));
    }
};

QTEST_MAIN(TestForeignTables)
#include "tst_foreigntables.moc"
