// SPDX-License-Identifier: GPL-2.0-or-later
// Tables replaced in a batch: nothing is touched before the commit, every
// table is whole after it, temporaries never outlive the batch, and a table
// that cannot be replaced is reported while the others are.
#include "store/tablebatch.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace brevan;

namespace {

const Layout kLayout{{QStringLiteral("Nome"), ColumnType::Text, 10}, {QStringLiteral("Valore"), ColumnType::Real, 0}};

QStringList names(const QString &path)
{
    QStringList out;
    const Table t = Table::open(path);
    for (const QVariantList &r : t.rows())
        out << r.at(0).toString();
    return out;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class TestTableBatch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nothingChangesBeforeTheCommit()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath("A.db"), b = dir.filePath("B.db");
        Table::write(a, kLayout, {{"vecchio", 1.0}});
        {
            TableBatch batch;
            batch.write(a, kLayout, {{"nuovo", 2.0}, {"altro", 3.0}});
            batch.write(b, kLayout, {{"bi", 4.0}});
            QCOMPARE(batch.pending(), 2);
            QCOMPARE(names(a), QStringList{"vecchio"});
            QVERIFY(!QFileInfo::exists(b));
            QCOMPARE(filesIn(dir.path()).size(), 3); // A.db and two temporaries
            QVERIFY(batch.commit().isEmpty());
            QCOMPARE(batch.pending(), 0);
        }
        QCOMPARE(names(a), (QStringList{"nuovo", "altro"}));
        QCOMPARE(names(b), QStringList{"bi"});
        QCOMPARE(filesIn(dir.path()), (QStringList{"A.db", "B.db"}));
    }

    void anUncommittedBatchLeavesNoTrace()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath("A.db");
        Table::write(a, kLayout, {{"vecchio", 1.0}});
        {
            TableBatch batch;
            batch.write(a, kLayout, {{"nuovo", 2.0}});
            batch.write(dir.filePath("B.db"), kLayout, {});
            batch.write(dir.filePath("C.db"), kLayout, {});
            batch.truncate(1);
            QCOMPARE(batch.pending(), 1);
            QCOMPARE(filesIn(dir.path()).size(), 2);
        }
        QCOMPARE(filesIn(dir.path()), QStringList{"A.db"});
        QCOMPARE(names(a), QStringList{"vecchio"});
    }

    void aTableThatCannotBeReplacedIsReported()
    {
        QTemporaryDir dir;
        const QString blocked = dir.filePath("Cartella.db");
        QDir().mkpath(blocked + "/dentro");
        TableBatch batch;
        batch.write(blocked, kLayout, {{"x", 1.0}});
        batch.write(dir.filePath("B.db"), kLayout, {{"bi", 4.0}});
        const QStringList failed = batch.commit();
        QCOMPARE(failed.size(), 1);
        QVERIFY2(failed.first().startsWith(blocked + "\tImpossibile scrivere \"" + blocked + "\": "),
                 qPrintable(failed.first()));
        QCOMPARE(names(dir.filePath("B.db")), QStringList{"bi"});
        QCOMPARE(filesIn(dir.path()), QStringList{"B.db"});
    }
};

QTEST_GUILESS_MAIN(TestTableBatch)
#include "tst_tablebatch.moc"
