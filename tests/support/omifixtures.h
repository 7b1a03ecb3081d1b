// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// OMI quotation files written on the spot, to the published format: a caption
// line, a header, ";" after every column, decimal commas, quoted zone names,
// in the encoding asked for.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

namespace omifixtures {

inline const QString kValuesHeader = QStringLiteral(
    "Area_territoriale;Regione;Prov;Comune_ISTAT;Comune_cat;Sez;Comune_amm;Comune_descrizione;Fascia;Zona;"
    "LinkZona;Cod_Tip;Descr_Tipologia;Stato;Stato_prev;Compr_min;Compr_max;Sup_NL_compr;Loc_min;Loc_max;"
    "Sup_NL_loc;");
inline const QString kZonesHeader = QStringLiteral(
    "Area_territoriale;Regione;Prov;Comune_ISTAT;Comune_cat;Sez;Comune_amm;Comune_descrizione;Fascia;"
    "Zona_Descr;Zona;LinkZona;Cod_tip_prev;Descr_tip_prev;Stato_prev;Microzona;");

inline QString valuesCaption(const QString &semester)
{
    return QStringLiteral("Quotazioni Immobiliari : Valori di Mercato - Semestre %1 - elaborazione del 18-MAR-25")
        .arg(semester);
}

inline QString zonesCaption(const QString &semester)
{
    return QStringLiteral("Quotazioni Immobiliari : Informazioni di Zona OMI - Semestre %1 - elaborazione del "
                          "18-MAR-25")
        .arg(semester);
}

// One VALORI row; numbers are written as given ("4,5", ",5", "1.150", "").
struct Value {
    QString code;   // Comune_amm
    QString prov;
    QString name;   // Comune_descrizione
    QString band;   // Fascia
    QString zone;   // Zona
    QString type;   // Cod_Tip
    QString state;  // Stato
    QString prev;   // Stato_prev
    QString locMin;
    QString locMax;
    QString comprMin = QStringLiteral("1.150");
    QString comprMax = QStringLiteral("1.650");
};

inline QString typeName(const QString &type)
{
    if (type == QLatin1String("20"))
        return QStringLiteral("Abitazioni civili");
    if (type == QLatin1String("21"))
        return QStringLiteral("Abitazioni di tipo economico");
    if (type == QLatin1String("1"))
        return QStringLiteral("Ville e Villini");
    return QStringLiteral("Negozi");
}

inline QString valueRow(const Value &v)
{
    return QStringList{QStringLiteral("NORD-EST"), QStringLiteral("VENETO"), v.prov, QStringLiteral("5028001"),
                       v.code, QString(), v.code, v.name, v.band, v.zone, v.prov + QStringLiteral("00000001"), v.type,
                       typeName(v.type), v.state, v.prev, v.comprMin, v.comprMax, QStringLiteral("L"), v.locMin,
                       v.locMax, QStringLiteral("L"), QString()}
        .join(u';');
}

// One ZONE row; the description is written between single quotes.
inline QString zoneRow(const QString &code, const QString &prov, const QString &name, const QString &band,
                       const QString &zone, const QString &description)
{
    return QStringList{QStringLiteral("NORD-EST"), QStringLiteral("VENETO"), prov, QStringLiteral("5028001"), code,
                       QString(), code, name, band, u'\'' + description + u'\'', zone,
                       prov + QStringLiteral("00000001"), QStringLiteral("20"), QStringLiteral("Abitazioni civili"),
                       QStringLiteral("NORMALE"), QStringLiteral("1"), QString()}
        .join(u';');
}

enum class Encoding { Utf8, Utf8Bom, Windows1252 };

inline QByteArray encode(const QString &text, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8: return text.toUtf8();
    case Encoding::Utf8Bom: return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case Encoding::Windows1252: {
        QByteArray out;
        for (QChar c : text) {
            if (c == QChar(0x20AC))
                out += char(0x80);
            else if (c == QChar(0x2019))
                out += char(0x92);
            else
                out += char(c.unicode() < 256 ? c.unicode() : '?');
        }
        return out;
    }
    }
    return {};
}

// Lines joined by CRLF, as the published files are, with a final line end.
inline QString lines(const QStringList &l)
{
    return l.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

inline void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write fixture %s", qPrintable(path));
    f.write(bytes);
}

// Abano Terme (A001): two central zones, one intermediate, one suburban with
// a rural one; civil dwellings in two states, and an economic type.
inline QStringList abanoValues()
{
    const QString a = QStringLiteral("A001"), pd = QStringLiteral("PD"), n = QStringLiteral("ABANO TERME");
    return {
        valueRow({a, pd, n, "B", "B1", "20", "NORMALE", "P", "6,5", "8,2"}),
        valueRow({a, pd, n, "B", "B1", "20", "OTTIMO", "", "8,3", "10"}),
        valueRow({a, pd, n, "B", "B2", "20", "NORMALE", "P", "5,9", "7,4"}),
        valueRow({a, pd, n, "B", "B2", "21", "NORMALE", "P", "4,8", "6"}),
        valueRow({a, pd, n, "C", "C1", "20", "NORMALE", "P", "4,5", "6,1"}),
        valueRow({a, pd, n, "D", "D1", "20", "NORMALE", "P", ",5", "5"}),
        valueRow({a, pd, n, "E", "E1", "20", "SCADENTE", "P", "3,2", "4,1"}),
        valueRow({a, pd, n, "R", "R1", "20", "NORMALE", "P", "0", ""}),
        valueRow({a, pd, n, "B", "B1", "5", "NORMALE", "P", "9", "14"}),
    };
}

inline QStringList abanoZones()
{
    const QString a = QStringLiteral("A001"), pd = QStringLiteral("PD"), n = QStringLiteral("ABANO TERME");
    return {
        zoneRow(a, pd, n, "B", "B1", "CENTRO URBANO"),
        zoneRow(a, pd, n, "B", "B2", "VIALE DELLE TERME, PIAZZA DEL SOLE E DELLA LUNA"),
        zoneRow(a, pd, n, "C", "C1", "SEMICENTRO"),
        zoneRow(a, pd, n, "D", "D1", "PERIFERIA"),
        zoneRow(a, pd, n, "E", "E1", "MONTEORTONE"),
        zoneRow(a, pd, n, "R", "R1", "ZONA AGRICOLA"),
    };
}

// A VALORI file: caption, header and rows.
inline QString valuesFile(const QString &semester, const QStringList &rows)
{
    return lines(QStringList{valuesCaption(semester), kValuesHeader} + rows);
}

inline QString zonesFile(const QString &semester, const QStringList &rows)
{
    return lines(QStringList{zonesCaption(semester), kZonesHeader} + rows);
}

} // namespace omifixtures
