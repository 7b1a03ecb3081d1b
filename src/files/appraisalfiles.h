// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The file set of a saved appraisal without widgets: the appraisal name, the
// names of the table and its companion files, the record's row built from a
// value map, the whole-or-nothing writers, and the reading of a stored record.
#include "model/record.h"
#include "store/tablestore.h"

#include <QDate>
#include <QHash>
#include <QImage>
#include <QString>
#include <QVariant>

namespace brevan::files {

// Values of the record by persisted name: QString for text, bool for
// logicals, double for reals. A missing name stands for "", false or 0.
using RecordValues = QHash<QString, QVariant>;

// IndirizzoImmob + " " + NumCivicoImmob + ", " + ComuneImmob + " - " + …,
// the seven texts exactly as they stand (empty ones included).
QString appraisalName(const RecordValues &values);

// Replaces every character that a file name cannot hold on Linux or on
// Windows (path separators, : * ? " < > | and control characters) by "_".
QString fileNameSafe(const QString &text);

// The part of a companion file's name between its prefix and its extension,
// cut so that the longest companion name fits the record's 150-character
// fields and a file system's 255-byte names (with room for the temporary
// name it is written under first). Safe for a file name. A suffix is kept
// whole after the cut text.
QString companionStem(const QString &text, const QString &suffix = {});

// "Stima - " + stem + ".db", the name the save dialog proposes.
QString suggestedTableName(const QString &appraisalName);
// The same with " (n)" after the stem, for n of 2 or more.
QString numberedTableName(const QString &appraisalName, int n);
// The name proposed for saving in a folder: the suggested name, unless a
// table of that name holds the appraisal of another unit (or cannot be
// read); then the first numbered name that is free or holds this unit.
QString suggestedTableNameIn(const QString &folder, const RecordValues &values);

// The stem of the companions of a chosen table file: its bare name without
// ".db" and without a leading "Stima - ". Keeping the suggested name gives
// back the appraisal name's stem; another name gives companions of its own.
QString stemForTable(const QString &tableFileName);
// The stem of the companions of the table tableFileName when it is saved in
// folder: stemForTable's, unless one of its companion names is already named
// by another appraisal's record there ("Casa.db" beside "Stima - Casa.db",
// or two long names that differ only past the cut); then the first
// numbered stem (" (2)", " (3)", …) whose names no other record uses.
QString companionStemIn(const QString &folder, const QString &tableFileName);

// Appends ".db" to a chosen file name that does not end in it.
QString withDbExtension(const QString &path);

enum class Companion { Photo, AreaPlan, UnitPlan, Surfaces, Comparables, Mca, Cadastral, Omi, Perizia };
inline constexpr Companion kCompanions[] = {Companion::Photo,    Companion::AreaPlan,    Companion::UnitPlan,
                                            Companion::Surfaces, Companion::Comparables, Companion::Mca,
                                            Companion::Cadastral, Companion::Omi, Companion::Perizia};
// "Foto - " + stem + ".bmp", "PlanimZona - …", "Planim - …", "Superfici - … .db",
// "ImmobConfr - … .db", "MCA - … .db", "Superficie catastale - … .db", "OMI - …
// .db", "Perizia - … .db". The stem is cut (companionStem) to fit the names of the first six
// (the OMI's frame is as long as the MCA's); the cadastral surface's longer
// prefix (and the report's) cuts it a little more where it must, keeping a
// numbered stem's " (n)".
QString companionName(Companion c, const QString &stem);
// The record field that stores the companion's bare name (fields 37 to 40,
// 145). The market comparison has none: the record's 149 fields are fixed, so
// its table is found by its name beside the appraisal table.
QString companionField(Companion c);

// The currency of the amounts stored in an appraisal table: one more column
// after the 149 fields, "Lire" or "Euro". A table without it holds Lire.
inline const QString kCurrencyColumn = QStringLiteral("Valuta");
inline constexpr int kCurrencyColumnSize = 4;
QString currencyText(bool euro);
// Whether a stored currency text is "Euro" (true) or "Lire" or empty (false);
// throws StoreError for any other text.
bool currencyIsEuro(const QString &text);

// The market comparison's companion has no field among the 149: it is found
// by the name its table's name gives ("MCA - " + stemForTable). A record
// whose companions took a numbered stem stores it in one more column after
// the currency (empty when there is none).
inline const QString kMcaColumn = QStringLiteral("TabellaMCA");
inline constexpr int kMcaColumnSize = 150;
// The cadastral surface's companion is found the same way. Its column is
// written only with a numbered stem and a companion written: a numbered
// record without it (it has the comparison's column) has none.
inline const QString kCadastralColumn = QStringLiteral("TabellaSupCatastale");
inline constexpr int kCadastralColumnSize = 150;
// The record column of a companion found by its name (empty for the others).
QString companionColumn(Companion c);
// The OMI comparison's companion likewise; its column is written only when
// the companion is, so that a record saved without it stays as it was.
inline const QString kOmiColumn = QStringLiteral("TabellaOMI");
// The report for a purpose's companion likewise.
inline const QString kPeriziaColumn = QStringLiteral("TabellaPerizia");

// A companion is a picture saved as a bitmap or a copy of a working table.
enum class CompanionForm { Picture, Table };
CompanionForm companionForm(Companion c);
// The rows of a table, in column order.
using TableRows = QVector<QVariantList>;
// A table companion's layout (empty for pictures).
const Layout &companionLayout(Companion c);
// The layout a table companion is written with for these rows.
Layout companionLayoutFor(Companion c, const TableRows &rows);
// Whether a table companion is written for these rows: a surfaces copy when
// a row has a description and an area, a comparables copy when a comparable
// is complete.
bool companionWorthSaving(Companion c, const TableRows &rows);

// The table layouts of the appraisal table (the 149 fields of the record,
// then the currency) and of the appraiser's particulars (fields 1 to 17).
Layout recordLayout();
Layout appraiserLayout();

// The values of a layout's one row, in column order, typed for the store.
QVariantList rowFor(const Layout &layout, const RecordValues &values);

// Writes a table with the rows under a short temporary name in the
// destination's folder and renames it over the destination at the end: a
// failure leaves the earlier file of that name as it was.
void writeTableFile(const QString &path, const Layout &layout, const QVector<QVariantList> &rows);
// The same for a table of one row.
void writeOneRowTable(const QString &path, const Layout &layout, const QVariantList &row);

// Writes a picture as a bitmap of its own size (drawn on white, so a
// transparent picture saves as it looks), whole or not at all.
void writeBitmap(const QString &path, const QImage &picture);
// The same straight into a file that nobody reads before a set save syncs
// and commits it (its staging folder).
void writeStagedBitmap(const QString &path, const QImage &picture);
// Reads a picture file; throws StoreError when it cannot be read.
QImage readPicture(const QString &path);

// The appraisal date as stored: "dd/MM/yyyy".
QString appraisalDateText(const QDate &date);
// The stored text as a date: null when it does not convert or lies outside
// the date picker's range (1 January 1800 to 31 December 2100).
QDate appraisalDateFrom(const QString &text);
inline const QDate kFirstDate{1800, 1, 1};
inline const QDate kLastDate{2100, 12, 31};

// The first record of a stored table, read field by field by name. The file
// is read whole as one that came from elsewhere (readTableFile): damaged and
// foreign files fail before a value is used, and nothing stays open.
class StoredRecord {
public:
    // Throws StoreError when the file is not a table or holds no record.
    explicit StoredRecord(const QString &path);
    bool has(const QString &field) const;
    // Throw StoreError when the field is missing.
    QString text(const QString &field) const;
    double real(const QString &field) const;
    bool logical(const QString &field) const;
    // Whether the amounts are stored in Euro; throws StoreError for a
    // currency that is neither.
    bool inEuro() const { return currencyIsEuro(has(kCurrencyColumn) ? text(kCurrencyColumn) : QString()); }
    void close() {}

private:
    int column(const QString &field) const;

    QString m_path;
    Layout m_layout;
    QVariantList m_values;
};

// The name of the market comparison's companion of the record stored as
// tableFileName: the one the record keeps, else the one the table's name
// gives. Empty when the record keeps none.
QString mcaCompanionName(const StoredRecord &record, const QString &tableFileName);
// The same for the OMI comparison.
QString omiCompanionName(const StoredRecord &record, const QString &tableFileName);
// The same for any companion found by its name (the comparison, the cadastral
// surface); empty when the record keeps none.
QString namedCompanionName(Companion c, const StoredRecord &record, const QString &tableFileName);

// A stored companion name that can be looked up in the appraisal's folder:
// a bare file name that exists there. Names with a folder part are refused,
// so a record cannot point outside its folder.
QString companionPath(const QString &folder, const QString &storedName);

} // namespace brevan::files
