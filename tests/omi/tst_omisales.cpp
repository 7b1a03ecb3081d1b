// SPDX-License-Identifier: GPL-2.0-or-later
// The OMI sale ranges kept by the import: read from a VALORI file of the
// published shape with its ZONE file, the ranges that cannot be used left out
// and counted, merged with the semesters a municipality's table already has,
// and written into the data folder beside the zone and unit-rent tables.
#include "../support/omifixtures.h"
#include "omi/omisales.h"
#include "omi/omitables.h"
#include "store/datafolder.h"

#include <QTemporaryDir>
#include <QTest>

using namespace brevan;
using namespace brevan::omi;
using namespace omifixtures;

namespace {

// Sale rows as "semester|band|zone|description|microzone|type|state|prevalent|min|max|L/N".
QStringList saleTexts(const QVector<QVariantList> &rows)
{
    QStringList out;
    for (const QVariantList &r : rows) {
        out << QStringList{r.value(SSemester).toString(), r.value(SBand).toString(), r.value(SZone).toString(),
                           r.value(SZoneDescription).toString(), r.value(SMicrozone).toString(),
                           r.value(SType).toString(), r.value(SState).toString(),
                           r.value(SPrevalent).toBool() ? "P" : "", r.value(SMin).toString(),
                           r.value(SMax).toString(), r.value(SSaleSurface).toString()}
                   .join(u'|');
    }
    return out;
}

QVector<QVariantList> valuesOf(const QVector<PlannedSale> &sales)
{
    QVector<QVariantList> out;
    for (const PlannedSale &s : sales)
        out << s.values();
    return out;
}

// A VALORI row as the published files write it, with its own Sup_NL_compr.
QString saleRow(const QString &band, const QString &zone, const QString &type, const QString &state,
                const QString &prev, const QString &min, const QString &max, const QString &nl)
{
    return QStringList{"NORD-EST", "VENETO", "PD", "5028001", "A001", "", "A001", "ABANO TERME", band, zone,
                       "PD00000001", type, typeName(type), state, prev, min, max, nl, "5,9", "7,4", "L", ""}
        .join(u';');
}

// The ZONE file's rows carry the microzone in their last named column.
QString zoneRowWithMicrozone(const QString &band, const QString &zone, const QString &description,
                             const QString &microzone)
{
    return QStringList{"NORD-EST", "VENETO", "PD", "5028001", "A001", "", "A001", "ABANO TERME", band,
                       u'\'' + description + u'\'', zone, "PD00000001", "20", "Abitazioni civili", "NORMALE",
                       microzone, ""}
        .join(u';');
}

Quotations abano(const QString &semester, const QStringList &values)
{
    Quotations q;
    q.add(parseQuotations(valuesFile(semester, values).toUtf8(), "QI_1_1_20242_VALORI.csv"));
    q.add(parseQuotations(zonesFile(semester, {zoneRowWithMicrozone("B", "B1", "CENTRO URBANO", "1"),
                                               zoneRowWithMicrozone("C", "C1", "SEMICENTRO", "2")})
                              .toUtf8(),
                          "QI_1_1_20242_ZONE.csv"));
    return q;
}

// Two good ranges, a net one, and the three kinds of range the import leaves out.
const QStringList kValues{
    saleRow("B", "B1", "20", "NORMALE", "P", "1.800", "2.400", "L"),
    saleRow("B", "B1", "20", "OTTIMO", "", "2.350", "2.900", "L"),
    saleRow("C", "C1", "21", "NORMALE", "P", "1.150,5", "1.500", "N"),
    saleRow("C", "C1", "20", "NORMALE", "P", "1.700", "1.600", "L"),  // min above max
    saleRow("C", "C1", "1", "NORMALE", "P", "0", "1.600", "L"),       // zero
    saleRow("C", "C1", "5", "NORMALE", "P", "", "", "L"),             // empty
};

} // namespace

class TestOmiSales : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keepsRangesAndCountsBadOnes();
    void usableRange_data();
    void usableRange();
    void mergeReplacesTheSemestersImported();
    void mergeDropsOldestSemestersBeyondTheLimit();
    void importWritesTheSaleTable();
};

void TestOmiSales::keepsRangesAndCountsBadOnes()
{
    const SalePlan plan = abano("2024/2", kValues).salesOf("A001");
    QCOMPARE(plan.badRanges, 3);
    QCOMPARE(saleTexts(valuesOf(plan.rows)),
             (QStringList{"2024/2|B|B1|CENTRO URBANO|1|20|NORMALE|P|1800|2400|L",
                          "2024/2|B|B1|CENTRO URBANO|1|20|OTTIMO||2350|2900|L",
                          "2024/2|C|C1|SEMICENTRO|2|21|NORMALE|P|1150,5|1500|N"}));
    QCOMPARE(plan.rows.at(0).typeName, QStringLiteral("Abitazioni civili"));
    QCOMPARE(plan.rows.at(2).rentSurface, QChar(u'L'));
}

void TestOmiSales::usableRange_data()
{
    QTest::addColumn<QString>("min");
    QTest::addColumn<QString>("max");
    QTest::addColumn<bool>("usable");
    QTest::newRow("ordinary") << "1.150" << "1.650" << true;
    QTest::newRow("one figure") << "1.200" << "1.200" << true;
    QTest::newRow("a cent above") << "1.200,01" << "1.200" << false;
    QTest::newRow("min zero") << "0" << "1.650" << false;
    QTest::newRow("max zero") << "1.150" << "0" << false;
    QTest::newRow("min empty") << "" << "1.650" << false;
    QTest::newRow("both empty") << "" << "" << false;
}

void TestOmiSales::usableRange()
{
    QFETCH(QString, min);
    QFETCH(QString, max);
    QFETCH(bool, usable);
    Decimal a, b;
    QVERIFY(parseDecimal(min, &a));
    QVERIFY(parseDecimal(max, &b));
    QCOMPARE(isUsableSaleRange(a, b), usable);
}

void TestOmiSales::mergeReplacesTheSemestersImported()
{
    const SalePlan older = abano("2024/1", kValues.mid(0, 1)).salesOf("A001");
    const SalePlan sameSemester = abano("2024/2", kValues.mid(0, 2)).salesOf("A001");
    const SaleMerge first = mergeSales({}, older.rows);
    const SaleMerge second = mergeSales(first.rows, sameSemester.rows);
    // 2024/1 stays, 2024/2 is added; importing 2024/2 again replaces it.
    const SaleMerge third = mergeSales(second.rows, abano("2024/2", kValues.mid(2, 1)).salesOf("A001").rows);
    QCOMPARE(saleTexts(third.rows),
             (QStringList{"2024/1|B|B1|CENTRO URBANO|1|20|NORMALE|P|1800|2400|L",
                          "2024/2|C|C1|SEMICENTRO|2|21|NORMALE|P|1150,5|1500|N"}));
    QCOMPARE(third.dropped, 0);
}

void TestOmiSales::mergeDropsOldestSemestersBeyondTheLimit()
{
    // Three semesters of 4.000 rows each: the table the program reads holds
    // 10.000, so the oldest semester goes whole.
    auto semester = [](int year, int half, int rows) {
        QVector<PlannedSale> out;
        for (int i = 0; i < rows; ++i) {
            PlannedSale s;
            s.semester = {year, half};
            s.zone = QStringLiteral("B%1").arg(i);
            s.type = 20;
            s.state = "NORMALE";
            parseDecimal(u"1000", &s.min);
            parseDecimal(u"1200", &s.max);
            out << s;
        }
        return out;
    };
    SaleMerge m = mergeSales({}, semester(2023, 2, 4000));
    m = mergeSales(m.rows, semester(2024, 1, 4000));
    QCOMPARE(m.dropped, 0);
    m = mergeSales(m.rows, semester(2024, 2, 4000));
    QCOMPARE(m.dropped, 4000);
    QCOMPARE(m.rows.size(), 8000);
    QCOMPARE(m.rows.first().value(SSemester).toString(), QStringLiteral("2024/1"));
    QCOMPARE(m.rows.last().value(SSemester).toString(), QStringLiteral("2024/2"));
}

void TestOmiSales::importWritesTheSaleTable()
{
    QTemporaryDir dir;
    const Quotations q = abano("2024/2", kValues);
    const ImportSummary s = importQuotations(q, dir.path(), {});
    QCOMPARE(s.municipalities, 1);
    QCOMPARE(s.saleRows, 3);
    QCOMPARE(s.badSales, 3);
    const QString table = dir.filePath("QuotazioniOMIAbano Terme35031PD.db");
    QCOMPARE(salesTableName("Abano Terme", "35031", "PD"), QStringLiteral("QuotazioniOMIAbano Terme35031PD.db"));
    QCOMPARE(saleTexts(readSalesRows(table)).size(), 3);
    QCOMPARE(saleTexts(readSalesRows(table)).last(), QStringLiteral("2024/2|C|C1|SEMICENTRO|2|21|NORMALE|P|1150,5|1500|N"));
    // The same files again: the tables hold these rows already.
    const ImportSummary again = importQuotations(q, dir.path(), {});
    QCOMPARE(again.municipalities, 0);
    QCOMPARE(again.unchanged, 1);
    // A sale table of another layout leaves the municipality as it was.
    QTemporaryDir other;
    Table::write(other.filePath("QuotazioniOMIAbano Terme35031PD.db"), zonesLayout(), {});
    const ImportSummary refused = importQuotations(q, other.path(), {});
    QCOMPARE(refused.municipalities, 0);
    QCOMPARE(refused.failures.size(), 1);
    QVERIFY(!QFileInfo::exists(other.filePath("ZonaUrbanaAbano Terme35031PD.db")));
}

QTEST_GUILESS_MAIN(TestOmiSales)
#include "tst_omisales.moc"
