// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A sample appraisal written with the program's own file code: an apartment
// in Abano Terme with its appraiser, rooms, judgments, rent and expenses,
// four comparables, a photograph and two plans. The guide's screenshots and
// the package check open it as a user would.
#include "files/appraisalfiles.h"
#include "model/record.h"
#include "store/datafolder.h"
#include "store/tablestore.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <tuple>

namespace sample {

using brevan::files::RecordValues;

// The appraisal's texts and ticks by persisted name.
inline RecordValues record()
{
    RecordValues v;
    const std::pair<const char *, const char *> texts[] = {
        {"CognomeProfess", "Rossi"}, {"NomeProfess", "Mario"}, {"CodiceFiscaleProfess", "RSSMRA70A01G224X"},
        {"ProfessioneProfess", "Ingegnere"}, {"NumIscrizAlboProfess", "PD-3412"}, {"SocietaProfess", "Studio Rossi"},
        {"PartitaIvaProfess", "01234567890"}, {"ComuneProfess", "Padova"}, {"CAPProfess", "35121"},
        {"ProvinciaProfess", "Padova"}, {"SiglaProvinciaProfess", "PD"}, {"IndirizzoProfess", "Via Roma"},
        {"NumCivicoProfess", "5"}, {"TelefonoProfess", "049 8765432"}, {"CellulareProfess", "333 1234567"},
        {"EMailProfess", "mario.rossi@studiorossi.it"},
        {"ComuneImmob", "Abano Terme"}, {"CAPImmob", "35031"}, {"ProvinciaImmob", "Padova"},
        {"SiglaProvinciaImmob", "PD"}, {"IndirizzoImmob", "Via dei Colli"}, {"NumCivicoImmob", "12"},
        {"TotPianiImmob", "4"}, {"PianoImmob", "2"}, {"InternoImmob", "5"}, {"DataStimaImmob", "04/03/2024"},
        {"AnnoCostruzImmob", "1985"}, {"FoglioCatastImmob", "12"}, {"MappaleCatastImmob", "345"},
        {"SubCatastImmob", "7"}, {"CategCatastImmob", "A/2"}, {"ClasseCatastImmob", "3"},
        {"ConsistCatastImmob", "5,5"}, {"CanoneLocazUnit", "12.000"}, {"NumCauzioni", "3"},
        {"SaggioCommerciale", "5"}, {"SaggioLegale", "2,5"}, {"SaggioMedioImmob", "3,5"}, {"EtaEdificioImmob", "39 anni"},
        {"SpeseManutenzione", "781.200"}, {"SpeseAmministraz", "468.720"}, {"AleeSfitti", "312.480"},
        {"SpeseAssicurazioni", "78.120"}, {"AliquoteAmmortam", "156.240"}, {"AliquoteTasse", "1.562.400"},
    };
    for (const auto &[name, value] : texts)
        v.insert(QString::fromLatin1(name), QString::fromUtf8(value));
    // The judgments: a middle choice of each list, as a careful appraiser
    // would give for an ordinary unit.
    for (const brevan::FieldDef &f : brevan::recordFields()) {
        const QString name = QString::fromLatin1(f.name);
        if (f.choice == brevan::Choice::None || v.contains(name))
            continue;
        switch (f.choice) {
        case brevan::Choice::CategorieCatastali:
        case brevan::Choice::Province:
        case brevan::Choice::SigleProvince:
        case brevan::Choice::Comuni:
        case brevan::Choice::CAP:
        case brevan::Choice::ZoneUrbane:
            break;
        default: {
            const QStringList items = brevan::choiceItems(f.choice);
            if (!items.isEmpty())
                v.insert(name, items.value(items.size() / 2));
        }
        }
    }
    for (const char *tick : {"MedieDimensImmob", "ZonaIntermImmob", "ScuoleObbligo", "Supermercati", "ParcheggiPubblici",
                             "UfficiPostali", "StruttureSanitarie", "Ascensore", "Riscaldamento", "ImpElettrANorma",
                             "AntennaCentralizz"})
        v.insert(QString::fromLatin1(tick), true);
    return v;
}

inline QVector<QPair<QString, double>> rooms()
{
    return {{QStringLiteral("Ingresso"), 6.5},  {QStringLiteral("Soggiorno"), 28},   {QStringLiteral("Cucina"), 12.5},
            {QStringLiteral("Camera"), 16},     {QStringLiteral("Camera"), 12},      {QStringLiteral("Bagno"), 6},
            {QStringLiteral("Disimpegno"), 4},  {QStringLiteral("Balcone"), 8},      {QStringLiteral("Cantina"), 10},
            {QStringLiteral("Tramezzi e tamponature"), 11}};
}

// Address, number, floor, internal, commercial surface, the four comparison
// coefficients, unit and total cost, as the comparables table holds them.
inline QVector<QVariantList> comparables()
{
    const auto row = [](const char *street, const char *number, const char *floor, const char *internal,
                        const char *surface, const char *unit, const char *total) {
        return QVariantList{QString::fromUtf8(street), QString::fromUtf8(number), QString::fromUtf8(floor),
                            QString::fromUtf8(internal), QString::fromUtf8(surface), QStringLiteral("20,00"),
                            QStringLiteral("15,00"), QStringLiteral("22,00"), QStringLiteral("18,00"),
                            QString::fromUtf8(unit), QString::fromUtf8(total)};
    };
    return {row("Via Roma", "20", "1", "2", "95", "2.350.000", "223.250.000"),
            row("Via Montegrotto", "4", "3", "9", "110", "2.200.000", "242.000.000"),
            row("Viale delle Terme", "31", "2", "4", "88", "2.500.000", "220.000.000"),
            row("Via Previtali", "7", "1", "1", "120", "2.100.000", "252.000.000")};
}

// A drawn photograph of a small block of flats.
inline QImage photograph()
{
    QImage image(1200, 900, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 900);
    sky.setColorAt(0, QColor(120, 170, 230));
    sky.setColorAt(0.7, QColor(220, 230, 240));
    sky.setColorAt(0.71, QColor(110, 150, 80));
    sky.setColorAt(1, QColor(80, 120, 60));
    p.fillRect(image.rect(), sky);
    p.fillRect(QRect(300, 200, 600, 460), QColor(232, 200, 160));
    QPainterPath roof;
    roof.moveTo(270, 210);
    roof.lineTo(600, 90);
    roof.lineTo(930, 210);
    roof.closeSubpath();
    p.fillPath(roof, QColor(170, 70, 50));
    for (int floor = 0; floor < 4; ++floor)
        for (int col = 0; col < 5; ++col)
            p.fillRect(QRect(340 + col * 112, 240 + floor * 105, 60, 70), QColor(70, 90, 120));
    p.fillRect(QRect(570, 580, 60, 80), QColor(90, 60, 40));
    return image;
}

// A drawn plan: rooms as rectangles with their names.
inline QImage plan(bool area)
{
    QImage image(1000, 800, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, area ? 3 : 6));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(28);
    p.setFont(font);
    if (area) {
        p.fillRect(image.rect(), QColor(245, 240, 225));
        for (int i = 0; i < 6; ++i)
            p.drawRect(QRect(60 + (i % 3) * 300, 80 + (i / 3) * 340, 240, 260));
        p.setPen(QPen(QColor(200, 40, 40), 6));
        p.drawEllipse(QPoint(480, 390), 40, 40);
        p.drawText(QRect(0, 740, 1000, 50), Qt::AlignCenter, QStringLiteral("Via dei Colli"));
    } else {
        const std::pair<QRect, const char *> roomsDrawn[] = {
            {QRect(60, 60, 420, 340), "Soggiorno"}, {QRect(480, 60, 240, 340), "Cucina"},
            {QRect(720, 60, 220, 340), "Camera"},    {QRect(60, 400, 300, 340), "Camera"},
            {QRect(360, 400, 200, 340), "Bagno"},    {QRect(560, 400, 380, 340), "Ingresso"}};
        for (const auto &[r, name] : roomsDrawn) {
            p.drawRect(r);
            p.drawText(r, Qt::AlignCenter, QString::fromUtf8(name));
        }
    }
    return image;
}

// Writes the appraisal and its companions into folder; returns the path of
// its "Stima - ….db".
inline QString writeAppraisal(const QString &folder)
{
    using namespace brevan;
    QDir().mkpath(folder);
    RecordValues values = record();
    const QString name = files::appraisalName(values);
    const QString stem = files::stemForTable(files::suggestedTableName(name));
    const auto companion = [&](files::Companion c) {
        const QString file = files::companionName(c, stem);
        values.insert(files::companionField(c), file);
        return QDir(folder).filePath(file);
    };
    photograph().save(companion(files::Companion::Photo), "BMP");
    plan(true).save(companion(files::Companion::AreaPlan), "BMP");
    plan(false).save(companion(files::Companion::UnitPlan), "BMP");

    const QString surfaces = companion(files::Companion::Surfaces);
    QFile::remove(surfaces);
    Table::create(surfaces, surfacesLayout());
    {
        Table t = Table::open(surfaces);
        for (const auto &[room, area] : rooms())
            t.append({room, area});
    }
    const QString comparablesFile = companion(files::Companion::Comparables);
    QFile::remove(comparablesFile);
    Table::create(comparablesFile, comparablesLayout());
    {
        Table t = Table::open(comparablesFile);
        for (const QVariantList &r : comparables())
            t.append(r);
    }
    const QString path = QDir(folder).filePath(files::suggestedTableName(name));
    const Layout layout = files::recordLayout();
    files::writeOneRowTable(path, layout, files::rowFor(layout, values));
    return path;
}

// OMI quotation files of the sample's municipality, as the Agenzia delle
// Entrate publishes them (a caption line, the header, ";" at every row's
// end): three zones of Abano Terme, the rents of "Abitazioni civili" and
// "Abitazioni di tipo economico". Returns the path of the VALORI file; the
// ZONE file lies beside it.
inline QString writeOmiFiles(const QString &folder)
{
    QDir().mkpath(folder);
    const QString base = folder + QStringLiteral("/QI_1234_1_20242_");
    const auto write = [](const QString &path, const QString &text) {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(text.toUtf8());
    };
    const QString place = QStringLiteral("NORD-EST;VENETO;PD;28001;A001;;A001;ABANO TERME;");
    struct Zone {
        const char *band, *code, *description;
        const char *civil[4], *economic[4]; // sale min, max; rent min, max
    };
    const Zone zones[] = {
        {"B", "B1", "CENTRO URBANO", {"1.650", "2.200", "7,2", "9,4"}, {"1.300", "1.700", "5,8", "7,5"}},
        {"C", "C1", "QUARTIERI TERMALI", {"1.450", "1.900", "6,4", "8,5"}, {"1.150", "1.500", "5,1", "6,6"}},
        {"D", "D1", "PERIFERIA E FRAZIONI", {"1.150", "1.500", "5,3", "6,9"}, {"950", "1.250", "4,3", "5,6"}},
    };
    QString values = QStringLiteral(
        "Quotazioni Immobiliari : Valori di Mercato - Semestre 2024/2 - elaborazione del 18-MAR-25\n"
        "Area_territoriale;Regione;Prov;Comune_ISTAT;Comune_cat;Sez;Comune_amm;Comune_descrizione;Fascia;Zona;"
        "LinkZona;Cod_Tip;Descr_Tipologia;Stato;Stato_prev;Compr_min;Compr_max;Sup_NL_compr;Loc_min;Loc_max;"
        "Sup_NL_loc;\n");
    QString zoneFile = QStringLiteral(
        "Quotazioni Immobiliari : Informazioni di Zona OMI - Semestre 2024/2 - elaborazione del 18-MAR-25\n"
        "Area_territoriale;Regione;Prov;Comune_ISTAT;Comune_cat;Sez;Comune_amm;Comune_descrizione;Fascia;"
        "Zona_Descr;Zona;LinkZona;Cod_tip_prev;Descr_tip_prev;Stato_prev;Microzona;\n");
    for (const Zone &z : zones) {
        const QString link = QStringLiteral("PD00000%1").arg(QLatin1String(z.code));
        for (const auto &[type, name, v] : {std::tuple{"20", "Abitazioni civili", z.civil},
                                            std::tuple{"21", "Abitazioni di tipo economico", z.economic}})
            values += place + QStringLiteral("%1;%2;%3;%4;%5;NORMALE;P;%6;%7;L;%8;%9;L;\n")
                                  .arg(QLatin1String(z.band), QLatin1String(z.code), link, QLatin1String(type),
                                       QLatin1String(name), QLatin1String(v[0]), QLatin1String(v[1]),
                                       QLatin1String(v[2]), QLatin1String(v[3]));
        zoneFile += place + QStringLiteral("%1;'%2';%3;%4;20;Abitazioni civili;NORMALE;1;\n")
                                .arg(QLatin1String(z.band), QLatin1String(z.description), QLatin1String(z.code), link);
    }
    write(base + QStringLiteral("VALORI.csv"), values);
    write(base + QStringLiteral("ZONE.csv"), zoneFile);
    return base + QStringLiteral("VALORI.csv");
}

} // namespace sample
