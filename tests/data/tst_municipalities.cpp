// SPDX-License-Identifier: GPL-2.0-or-later
// Tests of the municipality list: the compiled-in data (rows, provinces,
// postal codes, order) and the TSV parser behind it.

#include "data/municipalities.h"

#include <QHash>
#include <QSet>
#include <QtTest>

#include <algorithm>
#include <stdexcept>

using brevan::MunicipalityList;
using namespace Qt::StringLiterals;

namespace {

struct Province {
    const char16_t *name;
    const char16_t *code;
};

// The 103 provinces every municipality must belong to.
const Province Provinces[] = {
    {u"Agrigento", u"AG"}, {u"Alessandria", u"AL"}, {u"Ancona", u"AN"}, {u"Aosta", u"AO"},
    {u"Arezzo", u"AR"}, {u"Ascoli Piceno", u"AP"}, {u"Asti", u"AT"}, {u"Avellino", u"AV"},
    {u"Bari", u"BA"}, {u"Belluno", u"BL"}, {u"Benevento", u"BN"}, {u"Bergamo", u"BG"},
    {u"Biella", u"BI"}, {u"Bologna", u"BO"}, {u"Bolzano", u"BZ"}, {u"Brescia", u"BS"},
    {u"Brindisi", u"BR"}, {u"Cagliari", u"CA"}, {u"Caltanissetta", u"CL"}, {u"Campobasso", u"CB"},
    {u"Caserta", u"CE"}, {u"Catania", u"CT"}, {u"Catanzaro", u"CZ"}, {u"Chieti", u"CH"},
    {u"Como", u"CO"}, {u"Cosenza", u"CS"}, {u"Cremona", u"CR"}, {u"Crotone", u"KR"},
    {u"Cuneo", u"CN"}, {u"Enna", u"EN"}, {u"Ferrara", u"FE"}, {u"Firenze", u"FI"},
    {u"Foggia", u"FG"}, {u"Forlì", u"FO"}, {u"Frosinone", u"FR"}, {u"Genova", u"GE"},
    {u"Gorizia", u"GO"}, {u"Grosseto", u"GR"}, {u"Imperia", u"IM"}, {u"Isernia", u"IS"},
    {u"La Spezia", u"SP"}, {u"L'Aquila", u"AQ"}, {u"Latina", u"LT"}, {u"Lecce", u"LE"},
    {u"Lecco", u"LC"}, {u"Livorno", u"LI"}, {u"Lodi", u"LO"}, {u"Lucca", u"LU"},
    {u"Macerata", u"MC"}, {u"Mantova", u"MN"}, {u"Massa Carrara", u"MS"}, {u"Matera", u"MT"},
    {u"Messina", u"ME"}, {u"Milano", u"MI"}, {u"Modena", u"MO"}, {u"Napoli", u"NA"},
    {u"Novara", u"NO"}, {u"Nuoro", u"NU"}, {u"Oristano", u"OR"}, {u"Padova", u"PD"},
    {u"Palermo", u"PA"}, {u"Parma", u"PR"}, {u"Pavia", u"PV"}, {u"Perugia", u"PG"},
    {u"Pesaro", u"PS"}, {u"Pescara", u"PE"}, {u"Piacenza", u"PC"}, {u"Pisa", u"PI"},
    {u"Pistoia", u"PT"}, {u"Pordenone", u"PN"}, {u"Potenza", u"PZ"}, {u"Prato", u"PO"},
    {u"Ragusa", u"RG"}, {u"Ravenna", u"RA"}, {u"Reggio Calabria", u"RC"}, {u"Reggio Emilia", u"RE"},
    {u"Rieti", u"RI"}, {u"Rimini", u"RN"}, {u"Roma", u"RM"}, {u"Rovigo", u"RO"},
    {u"Salerno", u"SA"}, {u"Sassari", u"SS"}, {u"Savona", u"SV"}, {u"Siena", u"SI"},
    {u"Siracusa", u"SR"}, {u"Sondrio", u"SO"}, {u"Taranto", u"TA"}, {u"Teramo", u"TE"},
    {u"Terni", u"TR"}, {u"Torino", u"TO"}, {u"Trapani", u"TP"}, {u"Trento", u"TN"},
    {u"Treviso", u"TV"}, {u"Trieste", u"TS"}, {u"Udine", u"UD"}, {u"Varese", u"VA"},
    {u"Venezia", u"VE"}, {u"Verbania", u"VB"}, {u"Vercelli", u"VC"}, {u"Verona", u"VR"},
    {u"Vibo Valentia", u"VV"}, {u"Vicenza", u"VI"}, {u"Viterbo", u"VT"},
};
constexpr qsizetype ProvinceCount = 103;

// The municipalities in force since 22 January 2024 (ISTAT's count), the
// newest change the list holds; one row each, none dropped or merged.
constexpr int SourceMunicipalityCount = 7896;

// Collation of the list, the same as the generator's: case-insensitive,
// accented letters as their base letter, a blank before any letter, apostrophe
// and hyphen after all letters (apostrophe first).
constexpr char32_t WeightBlank = 0;
constexpr char32_t WeightApostrophe = 0x110001;
constexpr char32_t WeightHyphen = 0x110002;

QList<char32_t> collationKey(const QString &text)
{
    QList<char32_t> key;
    const QList<uint> decomposed = text.normalized(QString::NormalizationForm_D).toUcs4();
    key.reserve(decomposed.size());
    for (uint u : decomposed) {
        const char32_t c = QChar::toLower(char32_t(u));
        if (QChar::isMark(c))
            continue;
        if (c == U' ')
            key.append(WeightBlank);
        else if (c == U'\'')
            key.append(WeightApostrophe);
        else if (c == U'-')
            key.append(WeightHyphen);
        else
            key.append(c);
    }
    return key;
}

template <typename List>
int compareSequences(const List &a, const List &b)
{
    const auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    if (ia != a.end() && ib != b.end())
        return *ia < *ib ? -1 : 1;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int compareText(const QString &a, const QString &b)
{
    return compareSequences(collationKey(a), collationKey(b));
}

// Order of two rows: by name, ties by province name, then exact code points.
int compareRows(const QString &nameA, const QString &provinceA, const QString &nameB, const QString &provinceB)
{
    if (int c = compareText(nameA, nameB))
        return c;
    if (int c = compareText(provinceA, provinceB))
        return c;
    if (int c = compareSequences(nameA.toUcs4(), nameB.toUcs4()))
        return c;
    return compareSequences(provinceA.toUcs4(), provinceB.toUcs4());
}

// Rows whose name is `name` and whose province code is `code`.
QList<int> rowsOf(const MunicipalityList &list, const QString &name, const QString &code)
{
    QList<int> rows;
    for (int i = 0; i < list.size(); ++i) {
        if (list.names[i] == name && (code.isEmpty() || list.provinceCodes[i] == code))
            rows.append(i);
    }
    return rows;
}

QString describeRow(const MunicipalityList &list, int i)
{
    return QStringLiteral("row %1: %2 | %3 | %4 | %5 | %6")
        .arg(i)
        .arg(list.names[i], list.provinces[i], list.provinceCodes[i], list.postalCodes[i], list.cadastralCodes[i]);
}

} // namespace

class TestMunicipalities : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void columnsAndCount();
    void knownRows_data();
    void knownRows();
    void lastRow();
    void cadastralCodesAreUnique();
    void provinceNamesMatchCodes();
    void everyProvinceHasRows_data();
    void everyProvinceHasRows();
    void wholeListIsSorted();
    void orderedPairs_data();
    void orderedPairs();
    void sharedNamesStayApart_data();
    void sharedNamesStayApart();
    void loadedOnce();
    void changesSinceTwentyTwenty_data();
    void changesSinceTwentyTwenty();
    void offeredOnDate_data();
    void offeredOnDate();
    void listOfADateIsKept();
    void formerByCadastralCode_data();
    void formerByCadastralCode();

    void parseValid_data();
    void parseValid();
    void parseMalformed_data();
    void parseMalformed();
    void parseFormer();

private:
    const MunicipalityList *m_list = nullptr;
};

void TestMunicipalities::initTestCase()
{
    m_list = &brevan::municipalities();
    QVERIFY(m_list->size() > 0);

    // The province table itself: 103 distinct names and codes.
    QCOMPARE(std::size(Provinces), size_t(ProvinceCount));
    QSet<QString> names, codes;
    for (const Province &p : Provinces) {
        names.insert(QString::fromUtf16(p.name));
        codes.insert(QString::fromUtf16(p.code));
    }
    QCOMPARE(names.size(), ProvinceCount);
    QCOMPARE(codes.size(), ProvinceCount);
}

void TestMunicipalities::columnsAndCount()
{
    const MunicipalityList &list = *m_list;
    QCOMPARE(list.size(), SourceMunicipalityCount);
    QCOMPARE(list.provinces.size(), list.size());
    QCOMPARE(list.provinceCodes.size(), list.size());
    QCOMPARE(list.postalCodes.size(), list.size());
    QCOMPARE(list.cadastralCodes.size(), list.size());
}

void TestMunicipalities::knownRows_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("province");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("postalCode");
    QTest::addColumn<QString>("cadastralCode");

    auto row = [](const char *tag, const char16_t *name, const char16_t *province, const char16_t *code,
                  const char16_t *postal, const char16_t *cadastral) {
        QTest::newRow(tag) << QString::fromUtf16(name) << QString::fromUtf16(province)
                           << QString::fromUtf16(code) << QString::fromUtf16(postal) << QString::fromUtf16(cadastral);
    };
    row("Abano Terme", u"Abano Terme", u"Padova", u"PD", u"35031", u"A001");
    row("Calliano Monferrato AT", u"Calliano Monferrato", u"Asti", u"AT", u"14031", u"B418");
    row("Calliano TN", u"Calliano", u"Trento", u"TN", u"38060", u"B419");
    row("Zungri", u"Zungri", u"Vibo Valentia", u"VV", u"89867", u"M204");
    // Accents and apostrophes kept as written.
    row("Agliè", u"Agliè", u"Torino", u"TO", u"10011", u"A074");
    row("Vo'", u"Vo'", u"Padova", u"PD", u"35030", u"M103");
    // Multi-code provincial capitals: their generic NN100 code.
    row("Milano", u"Milano", u"Milano", u"MI", u"20100", u"F205");
    row("Roma", u"Roma", u"Roma", u"RM", u"00100", u"H501");
    row("Cagliari", u"Cagliari", u"Cagliari", u"CA", u"09100", u"B354");
    row("Trento", u"Trento", u"Trento", u"TN", u"38100", u"L378");
    row("Forlì", u"Forlì", u"Forlì", u"FO", u"47100", u"D704");
    // Several codes outside the NN1xx street ranges: the first one.
    row("Rimini", u"Rimini", u"Rimini", u"RN", u"47921", u"H294");
    row("Cesena", u"Cesena", u"Forlì", u"FO", u"47521", u"C573");
    row("Novella", u"Novella", u"Trento", u"TN", u"38021", u"M430");
    // Provinces named differently by the source.
    row("Aosta", u"Aosta", u"Aosta", u"AO", u"11100", u"A326");
    row("Bolzano", u"Bolzano", u"Bolzano", u"BZ", u"39100", u"A952");
    row("Massa", u"Massa", u"Massa Carrara", u"MS", u"54100", u"F023");
    row("Reggio nell'Emilia", u"Reggio nell'Emilia", u"Reggio Emilia", u"RE", u"42100", u"H223");
    row("Reggio di Calabria", u"Reggio di Calabria", u"Reggio Calabria", u"RC", u"89100", u"H224");
    row("Verbania", u"Verbania", u"Verbania", u"VB", u"28921", u"L746");
    // Provinces created after 2005, folded back.
    row("Monza (MB)", u"Monza", u"Milano", u"MI", u"20900", u"F704");
    row("Fermo (FM)", u"Fermo", u"Ascoli Piceno", u"AP", u"63900", u"D542");
    row("Urbino (PU)", u"Urbino", u"Pesaro", u"PS", u"61029", u"L500");
    row("Andria (BT from BA)", u"Andria", u"Bari", u"BA", u"76123", u"A285");
    row("Trani (BT from BA)", u"Trani", u"Bari", u"BA", u"76125", u"L328");
    row("Trinitapoli (BT from FG)", u"Trinitapoli", u"Foggia", u"FG", u"76015", u"B915");
    row("Margherita di Savoia (BT from FG)", u"Margherita di Savoia", u"Foggia", u"FG", u"76016", u"E946");
    row("Carbonia (SU from CA)", u"Carbonia", u"Cagliari", u"CA", u"09013", u"B745");
    row("Seui (SU from NU)", u"Seui", u"Nuoro", u"NU", u"09064", u"I706");
    row("Tortolì (Ogliastra)", u"Tortolì", u"Nuoro", u"NU", u"08048", u"A355");
    row("Olbia (Olbia-Tempio)", u"Olbia", u"Sassari", u"SS", u"07026", u"G015");
}

void TestMunicipalities::knownRows()
{
    QFETCH(QString, name);
    QFETCH(QString, province);
    QFETCH(QString, code);
    QFETCH(QString, postalCode);
    QFETCH(QString, cadastralCode);

    const MunicipalityList &list = *m_list;
    const QList<int> rows = rowsOf(list, name, code);
    QCOMPARE(rows.size(), 1);
    const int i = rows.first();
    QCOMPARE(list.provinces[i], province);
    QCOMPARE(list.postalCodes[i], postalCode);
    QCOMPARE(list.cadastralCodes[i], cadastralCode);
    // The code finds the row again, whatever the case it is written in.
    QCOMPARE(brevan::municipalityByCadastralCode(cadastralCode), i);
    QCOMPARE(brevan::municipalityByCadastralCode(cadastralCode.toLower()), i);
}

void TestMunicipalities::cadastralCodesAreUnique()
{
    const MunicipalityList &list = *m_list;
    QSet<QString> seen;
    for (int i = 0; i < list.size(); ++i) {
        if (seen.contains(list.cadastralCodes[i]))
            QFAIL(qPrintable(QStringLiteral("cadastral code repeated, ") + describeRow(list, i)));
        seen.insert(list.cadastralCodes[i]);
    }
    QCOMPARE(brevan::municipalityByCadastralCode(QStringLiteral("Z999")), -1);
    QCOMPARE(brevan::municipalityByCadastralCode(QString()), -1);
}

void TestMunicipalities::lastRow()
{
    const MunicipalityList &list = *m_list;
    QVERIFY(list.size() > 0);
    const int last = list.size() - 1;
    QCOMPARE(list.names[last], QStringLiteral("Zungri"));
    QCOMPARE(list.provinces[last], QStringLiteral("Vibo Valentia"));
    QCOMPARE(list.provinceCodes[last], QStringLiteral("VV"));
    QCOMPARE(list.postalCodes[last], QStringLiteral("89867"));
    QCOMPARE(list.cadastralCodes[last], QStringLiteral("M204"));
}

void TestMunicipalities::provinceNamesMatchCodes()
{
    QHash<QString, QString> codeOf;
    for (const Province &p : Provinces)
        codeOf.insert(QString::fromUtf16(p.name), QString::fromUtf16(p.code));

    const MunicipalityList &list = *m_list;
    for (int i = 0; i < list.size(); ++i) {
        const auto it = codeOf.constFind(list.provinces[i]);
        if (it == codeOf.constEnd())
            QFAIL(qPrintable(QStringLiteral("unknown province, ") + describeRow(list, i)));
        if (*it != list.provinceCodes[i])
            QFAIL(qPrintable(QStringLiteral("province code should be %1, ").arg(*it) + describeRow(list, i)));
    }
}

void TestMunicipalities::everyProvinceHasRows_data()
{
    QTest::addColumn<QString>("province");
    QTest::addColumn<QString>("code");
    for (const Province &p : Provinces) {
        const QString code = QString::fromUtf16(p.code);
        QTest::newRow(qPrintable(code)) << QString::fromUtf16(p.name) << code;
    }
}

void TestMunicipalities::everyProvinceHasRows()
{
    QFETCH(QString, province);
    QFETCH(QString, code);
    const MunicipalityList &list = *m_list;
    QVERIFY2(list.provinces.contains(province), qPrintable(province));
    QVERIFY2(list.provinceCodes.contains(code), qPrintable(code));
}

void TestMunicipalities::wholeListIsSorted()
{
    const MunicipalityList &list = *m_list;
    for (int i = 1; i < list.size(); ++i) {
        if (compareRows(list.names[i - 1], list.provinces[i - 1], list.names[i], list.provinces[i]) >= 0) {
            QFAIL(qPrintable(QStringLiteral("out of order: ") + describeRow(list, i - 1) + QStringLiteral(" / ")
                             + describeRow(list, i)));
        }
    }
}

void TestMunicipalities::orderedPairs_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("firstCode");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("secondCode");

    auto row = [](const char *tag, const char16_t *a, const char16_t *aCode, const char16_t *b,
                  const char16_t *bCode) {
        QTest::newRow(tag) << QString::fromUtf16(a) << QString::fromUtf16(aCode) << QString::fromUtf16(b)
                           << QString::fromUtf16(bCode);
    };
    row("apostrophe after letters", u"Acquaviva delle Fonti", u"BA", u"Acquaviva d'Isernia", u"IS");
    row("apostrophe after every letter", u"Luzzi", u"CS", u"L'Aquila", u"AQ");
    row("apostrophe at the end", u"Vottignasco", u"CN", u"Vo'", u"PD");
    row("hyphen after letters", u"Lavenone", u"BS", u"Laveno-Mombello", u"VA");
    row("hyphen after letters 2", u"Nazzano", u"RM", u"Naz-Sciaves", u"BZ");
    row("blank before letters", u"Castel San Pietro Terme", u"BO", u"Castelbuono", u"PA");
    row("case ignored", u"Acquaviva delle Fonti", u"BA", u"Acquaviva Picena", u"AP");
    row("accent as base letter", u"Agliè", u"TO", u"Aglientu", u"SS");
    row("circumflex as base letter", u"Châtillon", u"AO", u"Cherasco", u"CN");
    row("accented end before longer name", u"Cantoira", u"TO", u"Cantù", u"CO");
    row("same name by province", u"Livo", u"CO", u"Livo", u"TN");
    row("same letters by province", u"Paternò", u"CT", u"Paterno", u"PZ");
}

void TestMunicipalities::orderedPairs()
{
    QFETCH(QString, first);
    QFETCH(QString, firstCode);
    QFETCH(QString, second);
    QFETCH(QString, secondCode);

    const MunicipalityList &list = *m_list;
    const QList<int> a = rowsOf(list, first, firstCode);
    const QList<int> b = rowsOf(list, second, secondCode);
    QCOMPARE(a.size(), 1);
    QCOMPARE(b.size(), 1);
    QVERIFY2(a.first() < b.first(), qPrintable(describeRow(list, a.first()) + QStringLiteral(" / ")
                                               + describeRow(list, b.first())));

    // The comparator agrees both ways round.
    const QString &pa = list.provinces[a.first()];
    const QString &pb = list.provinces[b.first()];
    QVERIFY(compareRows(first, pa, second, pb) < 0);
    QVERIFY(compareRows(second, pb, first, pa) > 0);
}

void TestMunicipalities::sharedNamesStayApart_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("codes"); // in list order

    QTest::newRow("Castro") << QStringLiteral("Castro") << QStringList{u"BG"_s, u"LE"_s};
    QTest::newRow("Livo") << QStringLiteral("Livo") << QStringList{u"CO"_s, u"TN"_s};
    QTest::newRow("Peglio") << QStringLiteral("Peglio") << QStringList{u"CO"_s, u"PS"_s};
    QTest::newRow("Samone") << QStringLiteral("Samone") << QStringList{u"TO"_s, u"TN"_s};
    QTest::newRow("San Teodoro") << QStringLiteral("San Teodoro") << QStringList{u"ME"_s, u"SS"_s};
}

void TestMunicipalities::sharedNamesStayApart()
{
    QFETCH(QString, name);
    QFETCH(QStringList, codes);

    const MunicipalityList &list = *m_list;
    const QList<int> rows = rowsOf(list, name, QString());
    QCOMPARE(rows.size(), codes.size());
    QStringList found;
    for (int i : rows)
        found.append(list.provinceCodes[i]);
    QCOMPARE(found, codes);
    // Adjacent, with distinct postal codes of their own.
    QCOMPARE(rows.last() - rows.first(), rows.size() - 1);
    QVERIFY(list.postalCodes[rows.first()] != list.postalCodes[rows.last()]);
}

void TestMunicipalities::loadedOnce()
{
    QCOMPARE(&brevan::municipalities(), m_list);
}

void TestMunicipalities::changesSinceTwentyTwenty_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("code");       // province code as an appraisal stores it
    QTest::addColumn<QString>("province");   // in force: its province name and postal code
    QTest::addColumn<QString>("postalCode");
    QTest::addColumn<QString>("cadastralCode");
    QTest::addColumn<QString>("note");       // not in force: the status bar's note

    auto inForce = [](const char *tag, const char16_t *name, const char16_t *code, const char16_t *province,
                      const char16_t *postal, const char16_t *cadastral) {
        QTest::newRow(tag) << QString::fromUtf16(name) << QString::fromUtf16(code) << QString::fromUtf16(province)
                           << QString::fromUtf16(postal) << QString::fromUtf16(cadastral) << QString();
    };
    auto former = [](const char *tag, const char16_t *name, const char16_t *code, const char16_t *cadastral,
                     const char16_t *note) {
        QTest::newRow(tag) << QString::fromUtf16(name) << QString::fromUtf16(code) << QString() << QString()
                           << QString::fromUtf16(cadastral) << QString::fromUtf16(note);
    };
    // Made since 2020: offered, with the postal code of those they were made from.
    inForce("Misiliscemi", u"Misiliscemi", u"TP", u"Trapani", u"91100", u"M432");
    inForce("Moransengo-Tonengo", u"Moransengo-Tonengo", u"AT", u"Asti", u"14023", u"M434");
    inForce("Bardello con Malgesso e Bregano", u"Bardello con Malgesso e Bregano", u"VA", u"Varese", u"21020", u"M433");
    inForce("Uggiate con Ronago", u"Uggiate con Ronago", u"CO", u"Como", u"22029", u"M435");
    inForce("Setteville", u"Setteville", u"BL", u"Belluno", u"32031", u"M437");
    inForce("Santa Caterina d'Este", u"Santa Caterina d'Este", u"PD", u"Padova", u"35040", u"M438");
    inForce("the new Sovizzo, under its own code", u"Sovizzo", u"VI", u"Vicenza", u"36050", u"M436");
    // Moved to Rimini in 2021.
    inForce("Montecopiolo", u"Montecopiolo", u"RN", u"Rimini", u"61014", u"F478");
    inForce("Sassofeltrio", u"Sassofeltrio", u"RN", u"Rimini", u"61013", u"I460");
    // Renamed: the new name is offered.
    inForce("Calliano Monferrato", u"Calliano Monferrato", u"AT", u"Asti", u"14031", u"B418");
    inForce("Popoli Terme", u"Popoli Terme", u"PE", u"Pescara", u"65026", u"G878");
    inForce("Montemagno Monferrato", u"Montemagno Monferrato", u"AT", u"Asti", u"14030", u"F556");
    inForce("Montagna sulla Strada del Vino", u"Montagna sulla Strada del Vino", u"BZ", u"Bolzano", u"39040", u"F392");
    // Merged away: not offered; an appraisal naming one is told where it went.
    former("Moransengo", u"Moransengo", u"AT", u"F709", u"Comune soppresso il 01/01/2023: ora Moransengo-Tonengo");
    former("Tonengo", u"Tonengo", u"AT", u"L204", u"Comune soppresso il 01/01/2023: ora Moransengo-Tonengo");
    former("Tonengo, no province stored", u"Tonengo", u"", u"L204",
           u"Comune soppresso il 01/01/2023: ora Moransengo-Tonengo");
    former("Uggiate-Trevano", u"Uggiate-Trevano", u"CO", u"L487", u"Comune soppresso il 01/01/2024: ora Uggiate con Ronago");
    former("Gambugliano", u"Gambugliano", u"VI", u"D902", u"Comune soppresso il 22/01/2024: ora Sovizzo");
    former("Quero Vas", u"Quero Vas", u"BL", u"M332", u"Comune soppresso il 22/01/2024: ora Setteville");
    former("Carceri", u"Carceri", u"PD", u"B749", u"Comune soppresso il 22/01/2024: ora Santa Caterina d'Este");
    former("Vighizzolo d'Este", u"Vighizzolo d'Este", u"PD", u"L878",
           u"Comune soppresso il 22/01/2024: ora Santa Caterina d'Este");
    // Absorbed by one that stayed, and renamed with it.
    former("Albaredo Arnaboldi", u"Albaredo Arnaboldi", u"PV", u"A134",
           u"Comune soppresso il 18/11/2023: ora Campospinoso Albaredo");
    former("Monteciccardo", u"Monteciccardo", u"PS", u"F474", u"Comune soppresso il 01/07/2020: ora Pesaro");
    // Two mergers one after the other: the one in force now.
    former("Quero, then Quero Vas", u"Quero", u"BL", u"H124", u"Comune soppresso il 28/12/2013: ora Setteville");
    // Former names.
    former("Calliano, Asti", u"Calliano", u"AT", u"B418", u"Comune rinominato in Calliano Monferrato");
    former("Popoli", u"Popoli", u"PE", u"G878", u"Comune rinominato in Popoli Terme");
    former("Montemagno", u"Montemagno", u"AT", u"F556", u"Comune rinominato in Montemagno Monferrato");
    former("Montagna", u"Montagna", u"BZ", u"F392", u"Comune rinominato in Montagna sulla Strada del Vino");
    former("case of the stored name ignored", u"TONENGO", u"AT", u"L204",
           u"Comune soppresso il 01/01/2023: ora Moransengo-Tonengo");
}

void TestMunicipalities::changesSinceTwentyTwenty()
{
    QFETCH(QString, name);
    QFETCH(QString, code);
    QFETCH(QString, province);
    QFETCH(QString, postalCode);
    QFETCH(QString, cadastralCode);
    QFETCH(QString, note);

    const MunicipalityList &list = *m_list;
    const std::optional<brevan::FormerMunicipality> former = brevan::formerMunicipality(name, code);
    if (note.isEmpty()) {
        const QList<int> rows = rowsOf(list, name, code);
        QCOMPARE(rows.size(), 1);
        const int i = rows.first();
        QCOMPARE(list.provinces[i], province);
        QCOMPARE(list.postalCodes[i], postalCode);
        QCOMPARE(list.cadastralCodes[i], cadastralCode);
        QCOMPARE(brevan::municipalityByCadastralCode(cadastralCode), i);
        QVERIFY(!former);
        return;
    }
    // Not offered, under any province.
    for (int i = 0; i < list.size(); ++i) {
        if (QString::compare(list.names[i], name, Qt::CaseInsensitive) == 0 && list.provinceCodes[i] == code)
            QFAIL(qPrintable(QStringLiteral("offered: ") + describeRow(list, i)));
    }
    QVERIFY(former);
    QCOMPARE(former->cadastralCode, cadastralCode);
    QCOMPARE(brevan::formerMunicipalityNote(*former), note);
    // A renamed municipality keeps its code; a ceased one's code is no longer in force.
    QCOMPARE(brevan::municipalityByCadastralCode(cadastralCode) >= 0, former->renamed());
}

void TestMunicipalities::offeredOnDate_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("code");          // province code
    QTest::addColumn<QString>("cadastralCode"); // of the row offered; empty: none offered

    const QDate today(2026, 12, 11);
    auto row = [](const char *tag, QDate date, const char16_t *name, const char16_t *code, const char16_t *cadastral) {
        QTest::newRow(tag) << date << QString::fromUtf16(name) << QString::fromUtf16(code)
                           << QString::fromUtf16(cadastral);
    };
    // Merged on 1 January 2023: the two until the day before, the new one from that day.
    row("Tonengo, 31/12/2022", QDate(2022, 12, 31), u"Tonengo", u"AT", u"L204");
    row("Tonengo, 01/01/2023", QDate(2023, 1, 1), u"Tonengo", u"AT", u"");
    row("Moransengo, 2020", QDate(2020, 6, 1), u"Moransengo", u"AT", u"F709");
    row("Moransengo-Tonengo, 31/12/2022", QDate(2022, 12, 31), u"Moransengo-Tonengo", u"AT", u"");
    row("Moransengo-Tonengo, 01/01/2023", QDate(2023, 1, 1), u"Moransengo-Tonengo", u"AT", u"M434");
    row("Tonengo, today", today, u"Tonengo", u"AT", u"");
    // Made on 20 February 2021.
    row("Misiliscemi, 19/02/2021", QDate(2021, 2, 19), u"Misiliscemi", u"TP", u"");
    row("Misiliscemi, 20/02/2021", QDate(2021, 2, 20), u"Misiliscemi", u"TP", u"M432");
    // One name, two municipalities: the old Sovizzo until 21 January 2024, the new one after.
    row("old Sovizzo", QDate(2024, 1, 21), u"Sovizzo", u"VI", u"I879");
    row("new Sovizzo", QDate(2024, 1, 22), u"Sovizzo", u"VI", u"M436");
    row("Gambugliano, 2023", QDate(2023, 9, 30), u"Gambugliano", u"VI", u"D902");
    row("Uggiate-Trevano, 31/12/2023", QDate(2023, 12, 31), u"Uggiate-Trevano", u"CO", u"L487");
    row("Uggiate con Ronago, 2025", QDate(2025, 3, 1), u"Uggiate con Ronago", u"CO", u"M435");
    // Renames carry no date in the sources: today's name at every date.
    row("Calliano Monferrato, 2015", QDate(2015, 5, 4), u"Calliano Monferrato", u"AT", u"B418");
    row("Calliano of Asti, 2015", QDate(2015, 5, 4), u"Calliano", u"AT", u"");
    row("Calliano of Trento, 2015", QDate(2015, 5, 4), u"Calliano", u"TN", u"B419");
    // Province moves too: Montecopiolo under Rimini.
    row("Montecopiolo, 2015", QDate(2015, 5, 4), u"Montecopiolo", u"RN", u"F478");
    row("Montecopiolo under Pesaro, 2015", QDate(2015, 5, 4), u"Montecopiolo", u"PS", u"");
    // Quero and Vas merged into Quero Vas on 28/12/2013, itself merged in 2024.
    row("Quero, 2010", QDate(2010, 1, 1), u"Quero", u"BL", u"H124");
    row("Quero Vas, 2020", QDate(2020, 1, 1), u"Quero Vas", u"BL", u"M332");
    row("Setteville, 2020", QDate(2020, 1, 1), u"Setteville", u"BL", u"");
}

void TestMunicipalities::offeredOnDate()
{
    QFETCH(QDate, date);
    QFETCH(QString, name);
    QFETCH(QString, code);
    QFETCH(QString, cadastralCode);

    const MunicipalityList &list = brevan::municipalitiesAt(date);
    const QList<int> rows = rowsOf(list, name, code);
    if (cadastralCode.isEmpty()) {
        QVERIFY2(rows.isEmpty(), qPrintable(QStringLiteral("offered: ") + describeRow(list, rows.value(0))));
        QCOMPARE(brevan::municipalityRow(list, name, code), -1);
        return;
    }
    QCOMPARE(rows.size(), 1);
    const int i = rows.first();
    QCOMPARE(list.cadastralCodes[i], cadastralCode);
    QCOMPARE(brevan::municipalityRow(list, name, code), i);
    QCOMPARE(brevan::rowWithCadastralCode(list, cadastralCode), i);
    // Cadastral codes stay unique in the list of any date.
    QCOMPARE(QSet<QString>(list.cadastralCodes.cbegin(), list.cadastralCodes.cend()).size(), list.size());
}

void TestMunicipalities::listOfADateIsKept()
{
    // Today's list, and that of any day since the last change, is the list itself.
    QCOMPARE(&brevan::municipalitiesAt(QDate(2026, 12, 11)), m_list);
    QCOMPARE(&brevan::municipalitiesAt(QDate(2024, 1, 22)), m_list);
    QCOMPARE(&brevan::municipalitiesAt(QDate()), m_list);
    // Days with the same municipalities share one list, built once.
    const MunicipalityList &june = brevan::municipalitiesAt(QDate(2022, 6, 1));
    QCOMPARE(&brevan::municipalitiesAt(QDate(2022, 6, 2)), &june);
    QVERIFY(&june != m_list);
    // 2022 counted 7,904 municipalities, as ISTAT did (the list of 2020 less
    // Monteciccardo, plus Misiliscemi; the mergers of 2023 and 2024 later).
    QCOMPARE(june.size(), 7904);
    QCOMPARE(june.names.size(), june.postalCodes.size());
    QCOMPARE(june.names.size(), june.cadastralCodes.size());
}

void TestMunicipalities::formerByCadastralCode_data()
{
    QTest::addColumn<QString>("cadastralCode");
    QTest::addColumn<QString>("name"); // of the ceased municipality; empty: none
    QTest::addColumn<QString>("successor");

    QTest::newRow("Tonengo") << "L204" << "Tonengo" << "Moransengo-Tonengo";
    QTest::newRow("lower case") << "l487" << "Uggiate-Trevano" << "Uggiate con Ronago";
    QTest::newRow("the old Sovizzo") << "I879" << "Sovizzo" << "Sovizzo";
    QTest::newRow("in force") << "M434" << "" << "";
    QTest::newRow("renamed, still in force") << "B418" << "" << "";
    QTest::newRow("unknown") << "Z999" << "" << "";
}

void TestMunicipalities::formerByCadastralCode()
{
    QFETCH(QString, cadastralCode);
    QFETCH(QString, name);
    QFETCH(QString, successor);
    const std::optional<brevan::FormerMunicipality> former = brevan::formerMunicipalityByCadastralCode(cadastralCode);
    QCOMPARE(bool(former), !name.isEmpty());
    if (!former)
        return;
    QCOMPARE(former->name, name);
    QVERIFY(!former->renamed());
    const int at = brevan::successorInForce(*former);
    QVERIFY(at >= 0);
    QCOMPARE(m_list->names[at], successor);
}

void TestMunicipalities::parseValid_data()
{
    QTest::addColumn<QString>("tsv");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("lastRow");

    const QStringList abano{u"Abano Terme"_s, u"Padova"_s, u"PD"_s, u"35031"_s, u"A001"_s};
    QTest::newRow("one row") << u"Abano Terme\tPadova\tPD\t35031\tA001\n"_s << 1 << abano;
    QTest::newRow("no final newline") << u"Abano Terme\tPadova\tPD\t35031\tA001"_s << 1 << abano;
    QTest::newRow("CRLF") << u"Agliè\tTorino\tTO\t10011\tA074\r\nAbano Terme\tPadova\tPD\t35031\tA001\r\n"_s << 2
                          << abano;
    QTest::newRow("byte order mark") << u"\uFEFFAbano Terme\tPadova\tPD\t35031\tA001\n"_s << 1 << abano;
    QTest::newRow("empty postal code") << u"Vo'\tPadova\tPD\t\tM103\n"_s << 1
                                       << QStringList{u"Vo'"_s, u"Padova"_s, u"PD"_s, QString(), u"M103"_s};
    QTest::newRow("short postal code") << u"Roma\tRoma\tRM\t00\tH501\n"_s << 1
                                       << QStringList{u"Roma"_s, u"Roma"_s, u"RM"_s, u"00"_s, u"H501"_s};
    QTest::newRow("empty text") << QString() << 0 << QStringList();
    QTest::newRow("eight fields, in force") << u"Abano Terme\tPadova\tPD\t35031\tA001\t1866-11-19\t\t\n"_s << 1 << abano;
    QTest::newRow("ceased and former rows are not offered")
        << u"Abano Terme\tPadova\tPD\t35031\tA001\t1866-11-19\t\t\n"
           u"Calliano\tAsti\tAT\t14031\tB418\t1861-03-17\t\tB418\n"
           u"Tonengo\tAsti\tAT\t14023\tL204\t1861-03-17\t2023-01-01\tM434\n"
           u"Zuri\tCagliari\tCA\t\tM206\t1861-03-17\t1927-07-28\t\n"_s
        << 1 << abano;
}

void TestMunicipalities::parseValid()
{
    QFETCH(QString, tsv);
    QFETCH(int, rows);
    QFETCH(QStringList, lastRow);

    const MunicipalityList list = brevan::parseMunicipalities(tsv);
    QCOMPARE(list.size(), rows);
    QCOMPARE(list.provinces.size(), rows);
    QCOMPARE(list.provinceCodes.size(), rows);
    QCOMPARE(list.postalCodes.size(), rows);
    QCOMPARE(list.cadastralCodes.size(), rows);
    if (rows > 0) {
        const int i = rows - 1;
        QCOMPARE((QStringList{list.names[i], list.provinces[i], list.provinceCodes[i], list.postalCodes[i],
                              list.cadastralCodes[i]}),
                 lastRow);
    }
}

void TestMunicipalities::parseMalformed_data()
{
    QTest::addColumn<QString>("tsv");

    const QString good = u"Abano Terme\tPadova\tPD\t35031\tA001\n"_s;
    QTest::newRow("four fields") << u"Abano Terme\tPadova\tPD\t35031\n"_s;
    QTest::newRow("six fields") << u"Abano Terme\tPadova\tPD\t35031\tA001\tx\n"_s;
    QTest::newRow("blanks, not tabs") << u"Abano Terme Padova PD 35031 A001\n"_s;
    QTest::newRow("empty name") << u"\tPadova\tPD\t35031\tA001\n"_s;
    QTest::newRow("name over 50") << QString(QString(51, u'a') + u"\tPadova\tPD\t35031\tA001\n"_s);
    QTest::newRow("empty province") << u"Abano Terme\t\tPD\t35031\tA001\n"_s;
    QTest::newRow("province over 20") << u"Abano Terme\tPadovaPadovaPadovaPad\tPD\t35031\tA001\n"_s;
    QTest::newRow("lower-case code") << u"Abano Terme\tPadova\tpd\t35031\tA001\n"_s;
    QTest::newRow("three-letter code") << u"Abano Terme\tPadova\tPDA\t35031\tA001\n"_s;
    QTest::newRow("empty code") << u"Abano Terme\tPadova\t\t35031\tA001\n"_s;
    QTest::newRow("postal code with letter") << u"Abano Terme\tPadova\tPD\t3503A\tA001\n"_s;
    QTest::newRow("postal code of 6 digits") << u"Abano Terme\tPadova\tPD\t350310\tA001\n"_s;
    QTest::newRow("empty cadastral code") << u"Abano Terme\tPadova\tPD\t35031\t\n"_s;
    QTest::newRow("lower-case cadastral code") << u"Abano Terme\tPadova\tPD\t35031\ta001\n"_s;
    QTest::newRow("cadastral code of 5") << u"Abano Terme\tPadova\tPD\t35031\tA0011\n"_s;
    QTest::newRow("cadastral code, letter last") << u"Abano Terme\tPadova\tPD\t35031\tA00B\n"_s;
    QTest::newRow("seven fields") << u"Abano Terme\tPadova\tPD\t35031\tA001\t1866-11-19\t\n"_s;
    QTest::newRow("nine fields") << u"Abano Terme\tPadova\tPD\t35031\tA001\t1866-11-19\t\t\t\n"_s;
    QTest::newRow("no such month") << u"Tonengo\tAsti\tAT\t14023\tL204\t1861-03-17\t2023-13-01\tM434\n"_s;
    QTest::newRow("date as written in Italy") << u"Tonengo\tAsti\tAT\t14023\tL204\t17/03/1861\t\t\n"_s;
    QTest::newRow("successor not a code") << u"Tonengo\tAsti\tAT\t14023\tL204\t1861-03-17\t2023-01-01\tM43\n"_s;
    QTest::newRow("former name pointing elsewhere") << u"Calliano\tAsti\tAT\t14031\tB418\t1861-03-17\t\tB419\n"_s;
    QTest::newRow("bad row after good ones") << QString(good + good + u"Calliano\tAsti\n"_s + good);
}

void TestMunicipalities::parseMalformed()
{
    QFETCH(QString, tsv);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, brevan::parseMunicipalities(tsv));
}

void TestMunicipalities::parseFormer()
{
    const QList<brevan::FormerMunicipality> former = brevan::parseFormerMunicipalities(
        u"Abano Terme\tPadova\tPD\t35031\tA001\t1866-11-19\t\t\n"
        u"Calliano\tAsti\tAT\t14031\tB418\t1861-03-17\t\tB418\n"
        u"Tonengo\tAsti\tAT\t14023\tL204\t1861-03-17\t2023-01-01\tM434\n"
        u"Zuri\tCagliari\tCA\t\tM206\t1861-03-17\t1927-07-28\t\n"_s);
    QCOMPARE(former.size(), 3);
    QCOMPARE(former[0].name, u"Calliano"_s);
    QVERIFY(former[0].renamed());
    QCOMPARE(former[0].successorCode, u"B418"_s);
    QCOMPARE(former[1].name, u"Tonengo"_s);
    QCOMPARE(former[1].province, u"Asti"_s);
    QCOMPARE(former[1].provinceCode, u"AT"_s);
    QCOMPARE(former[1].postalCode, u"14023"_s);
    QCOMPARE(former[1].ceased, QDate(2023, 1, 1));
    QCOMPARE(former[1].successorCode, u"M434"_s);
    QVERIFY(!former[1].renamed());
    // Ceased with no successor known: only its date.
    QCOMPARE(former[2].ceased, QDate(1927, 7, 28));
    QCOMPARE(brevan::formerMunicipalityNote(former[2]), u"Comune soppresso il 28/07/1927"_s);
}

QTEST_GUILESS_MAIN(TestMunicipalities)
#include "tst_municipalities.moc"
