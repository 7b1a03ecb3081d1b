// SPDX-License-Identifier: GPL-2.0-or-later
// make_corpus FOLDER: writes the seed inputs of the fuzz target, appraisal
// file sets made with the program's own writers: a full appraisal, a record
// without companions, one with awkward texts, and one whose pictures are a
// progressive JPEG and a 8-bit bitmap.
#include "appraisalinput.h"

#include "files/appraisalfiles.h"
#include "store/datafolder.h"
#include "store/tablestore.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>

using namespace brevan;
using namespace brevan::fuzz;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray pictureBytes(const char *format, bool progressive, QImage::Format pixels)
{
    QImage image(48, 32, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, 24, 32, Qt::red);
    p.fillRect(24, 0, 24, 32, Qt::blue);
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image.convertToFormat(pixels));
    return bytes;
}

// A file set written into dir and packed as one input.
QByteArray seed(const QString &dir, const files::RecordValues &values, int rooms, int comparables,
                bool progressive, QImage::Format bitmapPixels)
{
    const auto path = [&](Part p) { return dir + QLatin1Char('/') + fileName(p); };
    TableData surfaces{surfacesLayout(), {}};
    const char *names[] = {"Camera", "Soggiorno", "Cucina", "Bagno", "Balcone", "Cantina", "Tramezzi e tamponature"};
    for (int i = 0; i < rooms; ++i)
        surfaces.rows.append({QString::fromLatin1(names[i % 7]), 4.5 + i});
    Table::write(path(Surfaces), surfaces);
    TableData rows{comparablesLayout(), {}};
    for (int i = 0; i < comparables; ++i)
        rows.rows.append({"Via Verdi", QString::number(i + 1), "2", "4", QStringLiteral("%1,5").arg(70 + i), "10,5",
                          "-2", "3", "1", QStringLiteral("1.%100.000").arg(i + 1), "120.000.000", "", ""});
    Table::write(path(Comparables), rows);
    const Layout layout = files::recordLayout();
    files::writeOneRowTable(path(Record), layout, files::rowFor(layout, values));
    QList<QByteArray> parts{readAll(path(Record)), readAll(path(Surfaces)), readAll(path(Comparables)),
                            pictureBytes("BMP", false, bitmapPixels), pictureBytes("JPEG", progressive, QImage::Format_RGB32),
                            pictureBytes("BMP", false, QImage::Format_RGB32)};
    if (rooms == 0)
        parts[Surfaces].clear();
    if (comparables == 0)
        parts[Comparables].clear();
    return pack(parts);
}

files::RecordValues fullRecord()
{
    files::RecordValues v;
    const QList<QPair<const char *, QString>> texts{
        {"CognomeProfess", "Rossi"},           {"NomeProfess", "Mario"},
        {"IndirizzoImmob", "Via Roma"},        {"NumCivicoImmob", "12"},
        {"ComuneImmob", "Abano Terme"},        {"CAPImmob", "35031"},
        {"SiglaProvinciaImmob", "PD"},         {"PianoImmob", "3"},
        {"TotPianiImmob", "5"},                {"InternoImmob", "7"},
        {"DataStimaImmob", "05/11/2023"},      {"AnnoCostruzImmob", "1975"},
        {"EtaEdificioImmob", "48"},            {"CategCatastImmob", "A/2"},
        {"SaggioMedioImmob", "3,50"},   {"CanoneLocazUnit", "12.500"},
        {"NumCauzioni", "3"},          {"SaggioCommerciale", "5"},
        {"SaggioLegale", "2,5"},      {"AliquoteTasse", "300.000"},
        {"FotoImmob", fileName(Photo)},        {"PlanimZonaImmob", fileName(AreaPlan)},
        {"PlanimImmob", fileName(UnitPlan)},   {"SuperficiImmob", fileName(Surfaces)},
        {"TableNameImmobConfr", fileName(Comparables)},
    };
    for (const auto &t : texts)
        v.insert(QString::fromLatin1(t.first), t.second);
    v.insert(QStringLiteral("Ascensore"), true);
    v.insert(QStringLiteral("ZonaIntermImmob"), true);
    v.insert(QStringLiteral("MedieDimensImmob"), true);
    return v;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: make_corpus CARTELLA\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir work;
    files::RecordValues odd = fullRecord();
    odd.insert(QStringLiteral("CanoneLocazUnit"), QStringLiteral("n.d."));
    odd.insert(QStringLiteral("SaggioMedioImmob"), QStringLiteral("1e308"));
    odd.insert(QStringLiteral("EtaEdificioImmob"), QStringLiteral("-99999999999999"));
    odd.insert(QStringLiteral("DataStimaImmob"), QStringLiteral("31/12/2100"));
    files::RecordValues bare;
    bare.insert(QStringLiteral("DataStimaImmob"), QStringLiteral("01/01/1800"));
    const struct {
        const char *name;
        files::RecordValues values;
        int rooms;
        int comparables;
        bool progressive;
        QImage::Format bitmapPixels;
    } seeds[] = {
        {"full", fullRecord(), 36, 5, false, QImage::Format_RGB32},
        {"bare", bare, 0, 0, false, QImage::Format_RGB32},
        {"odd", odd, 3, 2, false, QImage::Format_RGB32},
        {"progressive", fullRecord(), 7, 1, true, QImage::Format_Indexed8},
    };
    const auto writeSeed = [&out](const char *name, const QByteArray &input) {
        QFile f(out + QStringLiteral("/seed-") + QLatin1String(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(input) != input.size()) {
            std::fprintf(stderr, "make_corpus: impossibile scrivere %s\n", qPrintable(f.fileName()));
            return false;
        }
        return true;
    };
    QByteArray full;
    for (const auto &s : seeds) {
        const QByteArray input = seed(work.path(), s.values, s.rooms, s.comparables, s.progressive, s.bitmapPixels);
        if (!writeSeed(s.name, input))
            return 1;
        if (full.isEmpty())
            full = input;
    }
    // The full appraisal with its surfaces copy as a Paradox table, so that
    // the open path also reaches the Paradox reader.
    QFile paradox(QStringLiteral(BREVAN_PARADOX_SEEDS "/superfici.db"));
    if (!paradox.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_corpus: impossibile leggere %s\n", qPrintable(paradox.fileName()));
        return 1;
    }
    QList<QByteArray> parts = unpack(full);
    parts[Surfaces] = paradox.readAll();
    if (!writeSeed("paradox-surfaces", pack(parts)))
        return 1;
    return 0;
}
