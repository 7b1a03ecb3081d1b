// SPDX-License-Identifier: GPL-2.0-or-later
// The companion table of the report for a purpose: what is written reads back
// the same, long and hostile texts included; a damaged or tampered table is
// refused with a message naming it; the JSON form carries the values, the
// court's arithmetic and what is missing.
#include "files/periziatable.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace brevan;
using namespace brevan::perizia;

Q_DECLARE_METATYPE(brevan::perizia::Report)

namespace {

AppraisalFacts facts()
{
    AppraisalFacts f;
    f.incomeValue = 190000;
    f.comparisonValue = 200000;
    f.surface = 100;
    return f;
}

Report sample()
{
    Report r;
    r.purpose = Purpose::Court;
    r.court = QStringLiteral("Tribunale di Forlì");
    r.procedureNumber = QStringLiteral("12/2026");
    r.debtors = {QStringLiteral("Mario D'Angelo"), QStringLiteral("Anna \"Nina\" Rossi")};
    r.engagementDate = QDate(2026, 3, 1);
    r.inspectionDate = QDate(2026, 3, 20);
    r.independence = true;
    r.documents567Complete = false;
    r.documents567Missing = QStringLiteral("certificato notarile");
    // Longer than a row holds, with the characters of RTF, XML and ODF.
    r.description = QStringLiteral("{\\rtf1 <b>&amp;</b> «àèìòù» \t ") + QString(4500, QLatin1Char('x')) + QStringLiteral(" fine");
    r.cadastral = {CadastralEntry{"Fabbricati", "Forlì", "", "12", "345", "6", "A/2", "3", "5,5 vani", 98, 610.71},
                   CadastralEntry{"Fabbricati", "Forlì", "", "12", "345", "7", "C/6", "1", "14 m²", kNotGiven, 40.5}};
    r.matchesCadastralPlan = false;
    r.planDifferences = QStringLiteral("tramezzo spostato");
    r.planFixCost = 1200.5;
    r.owners = {Owner{QStringLiteral("Mario D'Angelo"), true, 1, 2}, Owner{QStringLiteral("Immobiliare S.r.l."), false, 1, 2, false}};
    r.deed = Deed{QStringLiteral("compravendita"), QStringLiteral("Notaio Neri"), QDate(2001, 7, 4), QStringLiteral("9876")};
    r.occupation = Occupation::ThirdPartyWithTitle;
    r.leases = {Lease{QStringLiteral("Carlo Bassi"), true, QDate(2019, 1, 10), QDate(2027, 1, 9), 7200, true}};
    r.encumbrances = {Encumbrance{EncumbranceKind::Mortgage, QStringLiteral("ipoteca volontaria"), QDate(2001, 7, 5),
                                  QStringLiteral("RG 1234 RP 567"), false, kNotGiven},
                      Encumbrance{EncumbranceKind::CensoLivello, QStringLiteral("livello"), QDate(), QString(), true, 350}};
    r.permits = {Permit{QStringLiteral("concessione edilizia"), QStringLiteral("88/1985"), QDate(1985, 4, 2)}};
    r.fitForUse = false;
    r.conformsToPermits = false;
    r.regularisable = true;
    r.regularisationCost = 3500;
    r.amnesties = {Amnesty{QStringLiteral("Mario D'Angelo"), QStringLiteral("L. 47/1985"), QStringLiteral("in istruttoria"), 500, kNotGiven}};
    r.censoLivelloUsoCivico = true;
    r.yearlyExpenses = 1400;
    r.unpaidLastTwoYears = 2100.25;
    r.energyClass = QStringLiteral("F");
    r.apeDate = QDate(2025, 2, 2);
    r.annexes = {QStringLiteral("foto 1.jpg"), QStringLiteral("visura.pdf")};
    r.stated = StatedValue::Comparison;
    r.adjustments = {Adjustment{AdjustmentKind::Regularisation, QString(), 3500, kNotGiven},
                     Adjustment{AdjustmentKind::NoWarranty, QStringLiteral("vendita senza garanzia"), kNotGiven, 15}};
    r.roundingStep = 500;
    return r;
}

} // namespace

class TestPeriziaTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<Report>("report");
        QTest::newRow("a full court report") << sample();
        Report empty;
        QTest::newRow("an empty market report") << empty;
        Report bank;
        bank.purpose = Purpose::Bank;
        bank.propertyValue = 180000;
        bank.revaluation = true;
        bank.stated = StatedValue::Own;
        bank.ownValue = 0.1 + 0.2; // written exactly, read back the same double
        QTest::newRow("a bank report with its own value") << bank;
    }
    void roundTrip()
    {
        QFETCH(Report, report);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Perizia - Stima.db"));
        files::writePeriziaTable(path, report);
        const Report back = files::readPeriziaTable(path);
        QCOMPARE(files::periziaRows(back), files::periziaRows(report));
        // Values of each kind, read back into their fields.
        QCOMPARE(back.purpose, report.purpose);
        QCOMPARE(back.description, report.description); // several rows of the table, whole again
        QCOMPARE(back.debtors, report.debtors);
        QCOMPARE(back.cadastral.size(), report.cadastral.size());
        QCOMPARE(back.owners.size(), report.owners.size());
        QCOMPARE(back.documents567Complete, report.documents567Complete);
        QCOMPARE(back.matchesCadastralPlan, report.matchesCadastralPlan);
        QCOMPARE(back.inspectionDate, report.inspectionDate);
        QCOMPARE(back.occupation, report.occupation);
        QCOMPARE(back.stated, report.stated);
        QCOMPARE(given(back.ownValue), given(report.ownValue));
        if (given(report.ownValue))
            QCOMPARE(back.ownValue, report.ownValue);
        QCOMPARE(back.roundingStep, report.roundingStep);
        for (int i = 0; i < report.encumbrances.size(); ++i)
            QCOMPARE(back.encumbrances.at(i).kind, report.encumbrances.at(i).kind);
        for (int i = 0; i < report.owners.size(); ++i) {
            QCOMPARE(back.owners.at(i).naturalPerson, report.owners.at(i).naturalPerson);
            QCOMPARE(back.owners.at(i).denominator, report.owners.at(i).denominator);
            QCOMPARE(back.owners.at(i).valued, report.owners.at(i).valued);
        }
    }

    void tamperedTables_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("index");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("why");

        QTest::newRow("unknown field") << "Segreto" << 0.0 << "x" << "il campo Segreto non è noto";
        QTest::newRow("date that cannot be") << "DataRapporto" << 0.0 << "2026-02-30" << "la data di DataRapporto non è valida";
        QTest::newRow("number that is not") << "SpeseAnnue" << 0.0 << "mille" << "il numero di SpeseAnnue non è valido";
        QTest::newRow("tick that is not") << "Indipendenza" << 0.0 << "sì" << "il valore di Indipendenza non è valido";
        QTest::newRow("unknown kind") << "Occupazione" << 0.0 << "abusivo" << "il valore di Occupazione non è valido";
        QTest::newRow("position of a huge list") << "Debitore" << 1e9 << "x" << "la posizione di Debitore non è valida";
        QTest::newRow("negative position") << "Debitore" << -1.0 << "x" << "la posizione di Debitore non è valida";
        QTest::newRow("fractional position") << "Debitore" << 0.5 << "x" << "la posizione di Debitore non è valida";
    }
    void tamperedTables()
    {
        QFETCH(QString, name);
        QFETCH(double, index);
        QFETCH(QString, value);
        QFETCH(QString, why);

        QVector<QVariantList> rows = files::periziaRows(sample());
        rows.append(QVariantList{name, index, value});
        const QString path = QStringLiteral("/tmp/Perizia - X.db");
        try {
            files::periziaFromRows(rows, path);
            QFAIL("accepted");
        } catch (const StoreError &e) {
            QCOMPARE(e.message(), QStringLiteral("La tabella \"%1\" non è un rapporto di valutazione valido: %2.")
                                      .arg(path, why));
        }
    }

    void missingPurposeIsRefused()
    {
        QVector<QVariantList> rows = files::periziaRows(sample());
        rows.removeFirst(); // "Scopo"
        QVERIFY_THROWS_EXCEPTION(StoreError, files::periziaFromRows(rows, QStringLiteral("x.db")));
    }

    void foreignTableIsRefused()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Perizia - Stima.db"));
        Table::write(path, Layout{Column{QStringLiteral("Campo"), ColumnType::Text, 40}}, {{QStringLiteral("Scopo")}});
        QVERIFY_THROWS_EXCEPTION(StoreError, files::readPeriziaTable(path));
        QFile damaged(dir.filePath(QStringLiteral("rotto.db")));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("SQLite format 3\0 not really", 27);
        damaged.close();
        QVERIFY_THROWS_EXCEPTION(StoreError, files::readPeriziaTable(damaged.fileName()));
    }

    void json()
    {
        const QJsonObject o = files::periziaJson(sample(), facts());
        QCOMPARE(o.value("Scopo").toString(), QStringLiteral("tribunale"));
        QCOMPARE(o.value("Tribunale").toString(), QStringLiteral("Tribunale di Forlì"));
        QCOMPARE(o.value("DataSopralluogo").toString(), QStringLiteral("20/03/2026"));
        QCOMPARE(o.value("Debitore").toArray().size(), 2);
        QCOMPARE(o.value("Catasto").toArray().at(1).toObject().value("Categoria").toString(), QStringLiteral("C/6"));
        QCOMPARE(o.value("Vincoli").toArray().at(1).toObject().value("Tipo").toString(), QStringLiteral("Censo o livello"));
        QCOMPARE(o.value("ValoreDiMercato").toDouble(), 200000.0);
        // 200.000 less 3.500 and 15 % (30.000): 166.500; half of it 83.250, to the step of 500: 83.500.
        const QJsonArray adjustments = o.value("Adeguamenti").toArray();
        QCOMPARE(adjustments.at(1).toObject().value("Ammontare").toDouble(), 30000.0);
        QCOMPARE(o.value("ValoreAlNettoDegliAdeguamenti").toDouble(), 166500.0);
        QCOMPARE(o.value("ValoreDellaQuota").toDouble(), 83250.0);
        QCOMPARE(o.value("PrezzoBaseProposto").toDouble(), 83500.0);
        const QJsonObject compliance = o.value("conformita").toObject();
        QCOMPARE(compliance.value("scopo").toString(),
                 QStringLiteral("Esecuzione immobiliare (art. 173-bis disp. att. c.p.c.)"));
        QStringList missing;
        for (const QJsonValue &m : compliance.value("mancano").toArray())
            missing << m.toObject().value("elemento").toString();
        QVERIFY(missing.contains(QStringLiteral("Confini")));
        QVERIFY(missing.contains(QStringLiteral("Adeguamento per lo stato di possesso")));
        QVERIFY(!missing.contains(QStringLiteral("Censo, livello o uso civico")));
        QVERIFY(compliance.value("errori").toArray().isEmpty());
        // A market report carries no court figures.
        Report market;
        const QJsonObject m = files::periziaJson(market, facts());
        QVERIFY(!m.contains("PrezzoBaseProposto"));
        QVERIFY(!m.contains("Adeguamenti"));
    }
};

QTEST_GUILESS_MAIN(TestPeriziaTable)
#include "tst_periziatable.moc"
