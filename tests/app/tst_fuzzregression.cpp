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
