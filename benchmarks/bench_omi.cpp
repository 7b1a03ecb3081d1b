// SPDX-License-Identifier: GPL-2.0-or-later
// A national OMI import: a VALORI file of about 160,000 rows and its ZONE file,
// generated for every municipality of the list (and a few codes the list does
// not have), read, then written by brevan-omi's own code into an empty data
// folder; then the next semester's files over the tables written, and that
// semester once more (nothing left to change). Then the band, the valore
// normale and the placement of three values, as the comparison window
// computes them.
#include "data/municipalities.h"
#include "omi/omicommand.h"
#include "omi/quotations.h"
#include "valuation/omicomparison.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

const char *const kValuesHeader =
    "Area_territoriale;Regione;Prov;Comune_ISTAT;Comune_cat;Sez;Comune_amm;Comune_descrizione;Fascia;Zona;LinkZona;"
    "Cod_Tip;Descr_Tipologia;Stato;Stato_prev;Compr_min;Compr_max;Sup_NL_compr;Loc_min;Loc_max;Sup_NL_loc;";
const char *const kZonesHeader =
    "Area_territoriale;Regione;Prov;Comune_ISTAT;Comune_cat;Sez;Comune_amm;Comune_descrizione;Fascia;Zona_Descr;"
    "Zona;LinkZona;Cod_tip_prev;Descr_tip_prev;Stato_prev;Microzona;";

struct Type {
    const char *code;
    const char *name;
};
// Dwellings and the other types a national file quotes.
const Type kTypes[] = {{"20", "Abitazioni civili"}, {"21", "Abitazioni di tipo economico"}, {"1", "Ville e Villini"},
                       {"13", "Box"},               {"5", "Negozi"},                         {"6", "Uffici"}};
const char kBands[] = {'B', 'C', 'D', 'E', 'R'};

// Deterministic pseudo-random numbers, so every run writes the same files.
struct Random {
    quint32 state = 12345;
    quint32 next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    int below(int n) { return int(next() % quint32(n)); }
};

QString euro(int cents)
{
    QString s = QString::number(cents / 100);
    if (cents % 100)
        s += u',' + QString::number(cents % 100).rightJustified(2, u'0');
    return s;
}

// Writes the two files of a semester ("2024/2"); returns the VALORI rows written.
int generate(const QString &values, const QString &zones, const QString &semester, quint32 seed)
{
    const brevan::MunicipalityList &list = brevan::municipalities();
    QFile v(values), z(zones);
    if (!v.open(QIODevice::WriteOnly) || !z.open(QIODevice::WriteOnly))
        qFatal("cannot write the generated files");
    QTextStream vs(&v), zs(&z);
    vs << "Quotazioni Immobiliari : Valori di Mercato - Semestre " << semester << " - elaborazione del 18-MAR-25\r\n"
       << kValuesHeader << "\r\n";
    zs << "Quotazioni Immobiliari : Informazioni di Zona OMI - Semestre " << semester
       << " - elaborazione del 18-MAR-25\r\n"
       << kZonesHeader << "\r\n";
    // The zones stay from one semester to the next; the rents change.
    Random random;
    Random rents;
    rents.state = seed;
    int rows = 0;
    const int municipalities = list.size() + 40; // 40 codes the list does not have
    for (int m = 0; m < municipalities; ++m) {
        const bool known = m < list.size();
        const QString code = known ? list.cadastralCodes.at(m) : QStringLiteral("Z%1").arg(900 + m - list.size());
        const QString name = known ? list.names.at(m).toUpper() : QStringLiteral("COMUNE NUOVO %1").arg(m);
        const QString prov = known ? list.provinceCodes.at(m) : QStringLiteral("XX");
        const int zoneCount = 2 + random.below(3);
        for (int zi = 0; zi < zoneCount; ++zi) {
            const char band = kBands[std::min(zi, 4)];
            const QString zone = QStringLiteral("%1%2").arg(QChar::fromLatin1(band)).arg(zi + 1);
            const QString prefix = QStringList{QStringLiteral("NORD"), QStringLiteral("REGIONE"), prov,
                                               QString::number(100000 + m), code, QString(), code, name,
                                               QString(QChar::fromLatin1(band)), QString()}
                                       .join(u';');
            zs << prefix << "'ZONA " << zone << " DI " << name << "';" << zone << ";" << prov << zi << ";20;"
               << "Abitazioni civili;NORMALE;1;\r\n";
            for (const Type &t : kTypes) {
                const int states = random.below(6) == 0 ? 2 : 1;
                for (int s = 0; s < states; ++s) {
                    const int base = 300 + rents.below(900); // cents per m² a month
                    // About one row in ten gives no rent.
                    const int emptiness = rents.below(10);
                    const QString locMin = emptiness == 0 ? QString() : emptiness == 1 ? QStringLiteral("0") : euro(base);
                    const QString locMax = emptiness == 0 ? QString() : euro(base + 50 + rents.below(400));
                    const int sale = 600 + rents.below(3000);
                    vs << prefix << zone << ';' << prov << zi << ';' << t.code << ';' << t.name << ';'
                       << (s == 0 ? "NORMALE;P;" : "OTTIMO;;") << QString::number(sale / 1000) << '.'
                       << QString::number(sale % 1000).rightJustified(3, u'0') << ';' << sale + 400 << ";L;" << locMin
                       << ';' << locMax << ";L;\r\n";
                    ++rows;
                }
            }
        }
    }
    return rows;
}

double seconds(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    QTemporaryDir dir;
    const QString values = dir.filePath("QI_000000_1_20242_VALORI.csv");
    const QString zones = dir.filePath("QI_000000_1_20242_ZONE.csv");
    const QString nextValues = dir.filePath("QI_000000_1_20251_VALORI.csv");
    const QString nextZones = dir.filePath("QI_000000_1_20251_ZONE.csv");
    const int rows = generate(values, zones, QStringLiteral("2024/2"), 777);
    generate(nextValues, nextZones, QStringLiteral("2025/1"), 4242);
    std::printf("national VALORI file: %d rows, %.1f MB; ZONE file %.1f MB\n", rows,
                double(QFileInfo(values).size()) / 1e6, double(QFileInfo(zones).size()) / 1e6);

    QElapsedTimer t;
    t.start();
    const brevan::omi::QuotationFile parsed = brevan::omi::readQuotationFile(values);
    std::printf("reading the VALORI file: %.2f s (%lld rows kept, %lld damaged)\n", seconds(t),
                qlonglong(parsed.values.size()), qlonglong(parsed.problems.size()));

    const QString data = dir.filePath("Dati");
    QDir().mkpath(data);
    const struct {
        const char *what;
        QStringList files;
    } runs[] = {
        {"2024/2 into an empty data folder", {values, zones}},
        {"2025/1 over the tables of 2024/2", {nextValues, nextZones}},
        {"2025/1 again, nothing to change", {nextValues, nextZones}},
    };
    for (const auto &run : runs) {
        QString out, err;
        QTextStream os(&out), es(&err);
        t.restart();
        const int status = brevan::omi::runOmiCommand(QStringList{"--data", data} + run.files, os, es, false);
        os.flush();
        const double s = seconds(t);
        std::printf("import %s: %.2f s, exit status %d\n", run.what, s, status);
        for (const QString &line : out.split(u'\n', Qt::SkipEmptyParts)) {
            if (line.startsWith(QLatin1String("Comuni")) || line.startsWith(QLatin1String("Zone"))
                || line.startsWith(QLatin1String("Righe")) || line.startsWith(QLatin1String("Quotazioni")))
                std::printf("  %s\n", qPrintable(line.left(100)));
        }
    }
    std::printf("tables in the data folder: %lld\n", qlonglong(QDir(data).entryList(QDir::Files).size()));

    // One comparison: the quotation looked up among a municipality's 60, the
    // band, K1, K2, K, the valore normale and three values placed.
    QVector<brevan::omiband::Quote> quotes;
    for (int z = 0; z < 5; ++z) {
        for (const char *type : {"20", "21", "1", "13", "5", "6"}) {
            for (const char *state : {"NORMALE", "OTTIMO"}) {
                brevan::omiband::Quote q;
                q.semester = QStringLiteral("2024/2");
                q.zone = QStringLiteral("B%1").arg(z + 1);
                q.type = QString::fromLatin1(type);
                q.state = QString::fromLatin1(state);
                q.min = 1150 + 10 * z;
                q.max = 1650 + 10 * z;
                quotes << q;
            }
        }
    }
    brevan::omiband::Inputs in;
    in.choice.zone = QStringLiteral("B4");
    in.choice.type = QStringLiteral("20");
    in.choice.state = QStringLiteral("NORMALE");
    in.choice.floor = QStringLiteral("Piano intermedio");
    in.grossSurface = 85;
    in.valuationDate = QDate(2025, 3, 1);
    in.values = {{QStringLiteral("a"), 120000.0}, {QStringLiteral("b"), 150000.0}, {QStringLiteral("c"), 90000.0}};
    constexpr int kRounds = 20000;
    double sink = 0;
    t.restart();
    for (int i = 0; i < kRounds; ++i) {
        in.lookup = brevan::omiband::findQuote(quotes, in.choice);
        const brevan::omiband::Outcome o = brevan::omiband::compare(in);
        sink += o.valoreNormale.value_or(0);
    }
    std::printf("band, valore normale and placement: %.2f us each (%d rounds, %.0f)\n",
                seconds(t) * 1e6 / kRounds, kRounds, sink / kRounds);
    return 0;
}
