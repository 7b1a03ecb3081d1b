// SPDX-License-Identifier: GPL-2.0-or-later
// The most telling inputs of the open path's fuzzing (fuzz/), kept as a
// table: each is an appraisal file set opened as "Apri stima..." opens it and
// carried through to the results. None may crash; each ends opened or with
// the open warning as its row says; afterwards the working tables are open
// and a sound appraisal still opens whole.
#include "appraisalinput.h"

#include "app/application.h"
#include "app/mainwindow.h"
#include "pages/comparablespage.h"
#include "pages/surfacespage.h"
#include "pages/tablemodel.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace brevan;
using brevan::fuzz::Opener;

namespace {

QByteArray fixture(const QString &name)
{
    QFile f(QStringLiteral(BREVAN_FUZZ_FIXTURES "/") + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fuzz fixture %s", qPrintable(name));
    return f.readAll();
}

enum class Expect { Opens, Refused, Either };

} // namespace

Q_DECLARE_METATYPE(Expect)

class TestFuzzRegression : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { app::setUpApplication(*qApp); }

    void inputs_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Expect>("expect");
        // The seeds, as make_corpus writes them.
        QTest::newRow("a full appraisal") << "seed-full" << Expect::Opens;
        QTest::newRow("a record without companions") << "seed-bare" << Expect::Opens;
        QTest::newRow("awkward texts in the record") << "seed-odd" << Expect::Either;
        QTest::newRow("progressive JPEG, 8-bit bitmap") << "seed-progressive" << Expect::Opens;
        QTest::newRow("surfaces copy as a Paradox table") << "seed-paradox-surfaces" << Expect::Opens;
        QTest::newRow("Paradox surfaces copy cut short") << "refused-paradox-truncated" << Expect::Refused;
        // Found by a 40-minute run (56,151 inputs), one of each kind of end.
        QTest::newRow("record that is not a table") << "refused-not-a-table" << Expect::Refused;
        QTest::newRow("schema format SQLite does not know") << "refused-unknown-schema-format" << Expect::Refused;
        QTest::newRow("field names with bytes that are not UTF-8") << "refused-field-name-garbled" << Expect::Refused;
        QTest::newRow("date that does not convert") << "refused-bad-date" << Expect::Refused;
        QTest::newRow("value its column does not allow") << "refused-value-not-allowed" << Expect::Refused;
        QTest::newRow("surfaces copy of another layout") << "refused-surfaces-of-another-layout" << Expect::Refused;
        QTest::newRow("deposit beyond three months") << "opens-deposit-out-of-range" << Expect::Opens;
        QTest::newRow("companion names changed") << "opens-companion-names-changed" << Expect::Opens;
        // A picture that cannot be read: whether the rest still opens is the
        // opening's choice; the program must simply come through sound.
        QTest::newRow("damaged bitmap") << "damaged-bitmap" << Expect::Either;
        QTest::newRow("damaged JPEG") << "damaged-jpeg" << Expect::Either;
    }
    void inputs()
    {
        QFETCH(QString, name);
        QFETCH(Expect, expect);
        Opener opener;
        const Opener::Outcome outcome = opener.open(fixture(name));
        if (expect != Expect::Either)
            QVERIFY2(outcome.warned == (expect == Expect::Refused), qPrintable(outcome.messages.join(QLatin1Char('|'))));
        app::MainWindow *w = opener.window();
        QVERIFY(w->surfacesPage->model()->isOpen());
        QVERIFY(w->comparablesPage->model()->isOpen());

        // The window is still sound: a good appraisal opens whole.
        const Opener::Outcome after = opener.open(fixture(QStringLiteral("seed-full")));
        QVERIFY2(!after.warned, qPrintable(after.messages.join(QLatin1Char('|'))));
        QCOMPARE(w->surfacesPage->model()->rowCount(), 36);
        QCOMPARE(w->comparablesPage->model()->rowCount(), 5);
    }
};

QTEST_MAIN(TestFuzzRegression)
#include "tst_fuzzregression.moc"
