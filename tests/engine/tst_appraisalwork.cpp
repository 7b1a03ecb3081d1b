// SPDX-License-Identifier: GPL-2.0-or-later
// An appraisal worked on with no window and no GUI at all: the engine links
// without widgets and runs under a bare QCoreApplication, with the figures
// of the worked example of the income page.
#include "engine/appraisalwork.h"
#include "engine/incomework.h"
#include "engine/lightswork.h"
#include "engine/resultswork.h"
#include "engine/valuework.h"
#include "model/currency.h"
#include "store/datafolder.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace brevan;

namespace {

class Recorded final : public engine::Notices {
public:
    QStringList shown;
    void warning(const QString &text) override { shown << text; }
    void error(const QString &text) override { shown << text; }
    void note(const QString &text) override { shown << text; }
};

} // namespace

class TestAppraisalWork : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_cwd = QDir::currentPath();
        QDir().mkpath(m_dir.filePath(QStringLiteral("program")));
        QDir::setCurrent(m_dir.filePath(QStringLiteral("program")));
        AliasRegistry::setConfigFile(m_dir.filePath(QStringLiteral("config/tablestore.ini")));
        // The data folder, as the program names it at start-up.
        CreaAlias(kAliasBrevan);
        // The working tables, empty, as the program's start-up leaves them.
        rebuildTable(dataPath(kDescrSup), surfacesLayout(), 0);
        rebuildTable(dataPath(kImmConfr), comparablesLayout(), 0);
        currency().reset();
    }
    void cleanup()
    {
        AliasRegistry::setConfigFile({});
        QDir::setCurrent(m_cwd);
        currency().reset();
    }

    // Rent 10.000 Lire/m² a month on 100 m², three months' deposit at 5%
    // and a legal rate of 2,5%: 12.400.000 a year gross, then the proposed
    // expenses and the net income, and the Euro switch of them all.
    void incomeChainWithoutGui()
    {
        QVERIFY(!qobject_cast<QGuiApplication *>(QCoreApplication::instance()));
        Recorded notices;
        engine::AppraisalWork work(notices);
        engine::FieldStore &f = work.fields();
        f.setText(QStringLiteral("SupCommercImmob"), QStringLiteral("100"));
        f.setText(QStringLiteral("StatoConservExt"), QStringLiteral("Buono"));
        f.setText(QStringLiteral("CategCatastImmob"), QStringLiteral("A/3"));
        f.setText(QStringLiteral("ClasseCatastImmob"), QStringLiteral("2"));
        f.setText(QStringLiteral("CanoneLocazUnit"), QStringLiteral("10000"));
        f.setText(QStringLiteral("NumCauzioni"), QStringLiteral("3"));
        f.setText(QStringLiteral("SaggioCommerciale"), QStringLiteral("5"));
        f.setText(QStringLiteral("SaggioLegale"), QStringLiteral("2,5")); // as the key filter writes "2.5" typed

        QCOMPARE(f.text(QStringLiteral("CanoneLocazUnit")), QStringLiteral("10.000,00"));
        QCOMPARE(f.text(QStringLiteral("RedditoLordoAnnuo")), QStringLiteral("12.400.000,00"));
        // 12.400.000 × 0,035; × 0,005 (neither lift nor heating); × 0,26.
        const QStringList expenses{"434.000,00", "62.000,00", "0,00", "0,00", "0,00", "3.224.000,00"};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(f.text(engine::expenseField(i)), expenses.at(i));
        QCOMPARE(f.text(QStringLiteral("RedditoNettoAnnuo")), QStringLiteral("8.680.000,00"));

        // The switch converts the expense through its hidden amount and the
        // rent through the middle reference rent.
        work.works().value->switchCurrency(true);
        QCOMPARE(currency().ValutaCorrente, kEuro);
        QCOMPARE(f.text(QStringLiteral("SpeseManutenzione")), QStringLiteral("224,14"));
        QCOMPARE(f.text(QStringLiteral("CanoneLocazUnit")), QStringLiteral("5,16"));
        QVERIFY2(notices.shown.isEmpty(), qPrintable(notices.shown.join(QLatin1Char(10))));

        // The summary is written without a window; its lights say which
        // sections are shown.
        work.works().lights->ImpostaSemaforiTreeView();
        const QString summary = engine::ResultsWork::plainText(
            report::buildSummary(work.works().results->summaryInput(), report::SummaryForm::Screen));
        QVERIFY2(summary.contains(QStringLiteral("Euro")), qPrintable(summary.left(400)));
    }

private:
    QTemporaryDir m_dir;
    QString m_cwd;
};

QTEST_GUILESS_MAIN(TestAppraisalWork)
#include "tst_appraisalwork.moc"
