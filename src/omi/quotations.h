// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The quotation files of the Osservatorio del Mercato Immobiliare (OMI) of the
// Agenzia delle Entrate, as published every semester: "QI_…_VALORI.csv" (sale
// and rent ranges per zone, building type and state) and "QI_…_ZONE.csv" (the
// zones and their descriptions). Line 1 is a caption naming the semester,
// line 2 the header; ";" separates the columns and ends every row; numbers
// have a decimal comma and may carry thousands dots; the encoding is not
// declared (UTF-8, else Windows-1252).
#include <QByteArray>
#include <QSet>
#include <QString>
#include <QVector>

#include <stdexcept>

namespace brevan::omi {

// A file that cannot be used at all: unreadable, not text, not OMI data.
// what() is an Italian message naming the file (and the line where it helps).
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString &message);
    QString message() const { return QString::fromUtf8(what()); }
};

// A non-negative decimal number held exactly: units / 10^scale.
struct Decimal {
    qint64 units = 0;
    int scale = 0;
    bool given = false; // false for an empty field

    bool isPositive() const { return given && units > 0; }
    double toDouble() const;
    // Plain number text with a decimal comma, no thousands dots, no trailing zeros ("8713,215").
    QString text() const;
    // The same amount times 1936,27 (Euro to Lire), exactly.
    Decimal toLire() const;
    // Orders two given values by amount.
    static int compare(const Decimal &a, const Decimal &b);
};

// Reads an OMI number: digits, thousands dots between groups of three, at most
// one decimal comma ("1.150", "4,5", ",5"). Empty text gives a Decimal that is
// not given. Returns false for anything else (letters, a sign, "4.5").
bool parseDecimal(QStringView text, Decimal *out);

struct Semester {
    int year = 0;
    int half = 0; // 1 or 2; 0 when unknown

    bool isKnown() const { return year > 0 && half > 0; }
    QString text() const; // "2024/2"
    bool operator==(const Semester &) const = default;
    bool operator<(const Semester &o) const { return year != o.year ? year < o.year : half < o.half; }
};

enum class FileKind { Values, Zones };

// One row of a VALORI file, with the columns the import uses.
struct ValueRow {
    QString code;         // Comune_amm, the cadastral code
    QString province;     // Prov
    QString municipality; // Comune_descrizione, abbreviated capitals
    QChar band;           // Fascia: B, C, D, E or R
    QString zone;         // Zona: "B1"
    int type = 0;         // Cod_Tip: 20 "Abitazioni civili", 21 economic, 1 villas, ...
    QString typeName;     // Descr_Tipologia
    QString state;        // Stato: OTTIMO, NORMALE, SCADENTE
    bool prevalent = false; // Stato_prev is "P"
    Decimal saleMin;      // Compr_min, € per m²
    Decimal saleMax;      // Compr_max
    QChar saleSurface;    // Sup_NL_compr: 'L' gross, 'N' net; null when not given
    QChar rentSurface;    // Sup_NL_loc
    Decimal rentMin;      // Loc_min, € per m² per month
    Decimal rentMax;      // Loc_max
    int line = 0;
};

// One row of a ZONE file.
struct ZoneRow {
    QString code;
    QString province;
    QString municipality;
    QChar band;
    QString zone;        // Zona: "B1"
    QString description; // Zona_Descr without its quotes: "CENTRO URBANO"
    QString microzone;   // Microzona, the cadastral microzone the OMI zone lies in
    int line = 0;
};

// A damaged row: the file, its line and what is wrong with it.
struct Problem {
    QString file; // the file's name as given
    int line = 0;
    QString message;
    // The municipalities (cadastral codes) the row is held against: its own,
    // or, when it names none that can be read, those of the rows around it.
    QStringList codes;
    QString text() const; // "QI_…_VALORI.csv, riga 12: …"
};

struct QuotationFile {
    QString path;
    FileKind kind = FileKind::Values;
    Semester semester; // from the caption, else from the file name
    QVector<ValueRow> values; // VALORI files
    QVector<ZoneRow> zones;   // ZONE files
    QVector<Problem> problems;
    // Cadastral codes of the municipalities with a damaged row: nothing is
    // taken from their rows.
    QSet<QString> damaged;
    int dataRows = 0; // rows after the header, damaged ones included, blank lines not
};

// Reads and parses a file. Throws FileError when the file cannot be used at
// all; damaged rows are listed in problems instead.
QuotationFile readQuotationFile(const QString &path);
// The same on bytes already read; name stands for the file in messages and
// gives the semester when the caption does not.
QuotationFile parseQuotations(const QByteArray &bytes, const QString &name);

// Decodes the bytes as UTF-8 when they are valid UTF-8, else as Windows-1252.
QString decodeText(const QByteArray &bytes);

// The semester in a caption ("… Semestre 2024/2 …") or a file name
// ("QI_1234_1_20242_VALORI.csv"); unknown when neither names one.
Semester semesterOfCaption(QStringView caption);
Semester semesterOfFileName(const QString &fileName);

// The file published beside this one for the same semester: VALORI for ZONE
// and the other way round ("…_20242_VALORI.csv" and "…_20242_ZONE.csv").
// Empty when the name does not follow the pattern.
QString companionFileName(const QString &path);

} // namespace brevan::omi
