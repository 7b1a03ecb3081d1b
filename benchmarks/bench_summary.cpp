// SPDX-License-Identifier: GPL-2.0-or-later
// Times the summary of a full appraisal: building each of its three forms,
// and the export form written as an RTF file.
#include "model/record.h"
#include "report/rtfwriter.h"
#include "report/summary.h"
#include "valuation/roomnames.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace brevan;
using namespace brevan::report;

namespace {

template <typename Fn>
double medianMs(int runs, Fn &&fn)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        fn();
        t.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// Every page filled in: every text field holds text with accents, every tick
// set, 36 rooms and 20 comparables.
SummaryInput fullAppraisal()
{
    SummaryInput in;
    for (const FieldDef &f : recordFields()) {
        const QString name = QString::fromLatin1(f.name);
        if (f.type == FieldType::Logical)
            in.ticks.insert(name, true);
        else if (f.type == FieldType::Text)
            in.texts.insert(name, QStringLiteral("Città è più {12}"));
    }
    in.appraisalDate = QDate(2024, 3, 5);
    in.lights.fill(Light::Green);
    for (int i = 0; i < 36; ++i)
        in.surfaceRows.append({QString::fromLatin1(kRoomNames[std::size_t(i) % kRoomNames.size()].name), 10.5 + i});
    in.surfaceValues = {QStringLiteral("85,25  mq"), QStringLiteral("102,3  mq"), QStringLiteral("96  mq")};
    for (int i = 0; i < 20; ++i) {
        in.comparables.append({{QStringLiteral("IndirizzoImmob"), QStringLiteral("Via Po")},
                               {QStringLiteral("NumCivicoImmob"), QString::number(i + 1)},
                               {QStringLiteral("PianoImmob"), QStringLiteral("2")},
                               {QStringLiteral("InternoImmob"), QStringLiteral("4")},
                               {QStringLiteral("SupCommercImmob"), QStringLiteral("95")},
                               {QStringLiteral("CdCarattLocalizzaz"), QStringLiteral("20,00")},
                               {QStringLiteral("CdCarattPosizione"), QStringLiteral("15,00")},
                               {QStringLiteral("CdCarattTipologiche"), QStringLiteral("22,00")},
                               {QStringLiteral("CdCarattProduttive"), QStringLiteral("18,00")},
                               {QStringLiteral("CostoUnitario"), QStringLiteral("1.500.000,00")},
                               {QStringLiteral("CostoComplessivo"), QStringLiteral("142.500.000,00")}});
    }
    for (Coef c : coefficientIds())
        in.coefficients[c] = int(c) / 7.0;
    return in;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const SummaryInput in = fullAppraisal();
    const int runs = 201;

    qsizetype lines = 0;
    const double screen = medianMs(runs, [&] { lines = buildSummary(in, SummaryForm::Screen).size(); });
    const double exportForm = medianMs(runs, [&] { buildSummary(in, SummaryForm::Export); });
    const double print = medianMs(runs, [&] { buildSummary(in, SummaryForm::Print); });

    qsizetype bytes = 0;
    const QString path = dir.filePath(QStringLiteral("Risultati stima.rtf"));
    const double rtf = medianMs(runs, [&] {
        const SummaryFormStyle style = summaryFormStyle(SummaryForm::Export);
        const QByteArray data = writeRtf(buildSummary(in, SummaryForm::Export), style.pointSize, style.leftIndentPt);
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
            std::fprintf(stderr, "write failed\n");
        bytes = data.size();
    });

    std::printf("summary (%lld lines), median of %d runs:\n", static_cast<long long>(lines), runs);
    std::printf("  screen form build   %8.3f ms\n", screen);
    std::printf("  export form build   %8.3f ms\n", exportForm);
    std::printf("  print form build    %8.3f ms\n", print);
    std::printf("  RTF export to file  %8.3f ms (%lld bytes, build + write + rename)\n", rtf,
                static_cast<long long>(bytes));
    return 0;
}
