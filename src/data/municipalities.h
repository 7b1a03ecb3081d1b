// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

namespace brevan {

// The municipality list as five parallel columns; row i of each describes one municipality.
struct MunicipalityList {
    QStringList names;
    QStringList provinces;      // province name, one of the 103 of the province list
    QStringList provinceCodes;  // its two-letter code
    QStringList postalCodes;    // digit text, may be empty
    QStringList cadastralCodes; // the cadastral (Belfiore) code, a letter and three digits: "A001"
    int size() const { return names.size(); }
};

// The municipalities in force, parsed once, on first use, from the list
// compiled in from data/comuni.tsv. This is the list the pages offer.
const MunicipalityList &municipalities();

// The municipalities in force on date, in the list's order: today's list
// (the same object as municipalities()) for an invalid date or one since the
// list's last change; for an earlier date, the rows in force that day, with
// their names and provinces of today (the sources date the municipalities
// made and ceased, not the renames). Each list is built at its first use and
// kept.
const MunicipalityList &municipalitiesAt(const QDate &date);

// The row of the municipality in force with that cadastral code ("A182"), -1
// when none. The index behind it is built at the first call, not at start-up.
int municipalityByCadastralCode(const QString &code);

// The row of the municipality in force with that name in the province of that
// code (any province when the code is empty), -1 when none or when the name
// is empty. Names repeat across provinces ("Livo"), and a former name may be
// another province's name in force ("Calliano").
int municipalityRow(const QString &name, const QString &provinceCode, Qt::CaseSensitivity cs = Qt::CaseSensitive);
// The same in another list (one of municipalitiesAt()).
int municipalityRow(const MunicipalityList &list, const QString &name, const QString &provinceCode,
                    Qt::CaseSensitivity cs = Qt::CaseSensitive);

// The row of list with that cadastral code, -1 when none.
int rowWithCadastralCode(const MunicipalityList &list, const QString &code);

// Parses TSV text as above (used by the loader and tests), keeping the rows in
// force; throws std::runtime_error on a malformed row.
MunicipalityList parseMunicipalities(const QString &tsv);
// The same, keeping the rows in force on date (tests; see municipalitiesAt()).
MunicipalityList parseMunicipalitiesAt(const QString &tsv, const QDate &date);

// A name the list held once and offers no more: a municipality that ceased
// (merged into another, or absorbed), or the former name of one renamed.
struct FormerMunicipality {
    QString name;
    QString province;
    QString provinceCode;
    QString postalCode;
    QString cadastralCode;
    QDate ceased;          // the first day it was no longer in force; null for a former name
    QString successorCode; // where it went: the municipality it merged into, or its own code once renamed
    bool renamed() const { return ceased.isNull(); }
};

// The former municipality an appraisal names: name (case ignored) and province
// code as stored; an empty province code matches any. Nothing when a
// municipality in force has that name and province, or when the list never
// held it. Parses the former rows at the first call, not at start-up.
std::optional<FormerMunicipality> formerMunicipality(const QString &name, const QString &provinceCode);

// The municipality that ceased with that cadastral code; nothing when the code
// is in force or unknown.
std::optional<FormerMunicipality> formerMunicipalityByCadastralCode(const QString &code);

// The row of the municipality in force that took the former one's place,
// following one merger after another; -1 when the list does not know it.
int successorInForce(const FormerMunicipality &former);

// What the status bar says of a former municipality: "Comune soppresso il
// 01/01/2023: ora Moransengo-Tonengo", "Comune rinominato in Calliano
// Monferrato"; a ceased one with no known successor gives only its date.
QString formerMunicipalityNote(const FormerMunicipality &former);

// Parses the former rows of TSV text (tests; the program uses the compiled-in list).
QList<FormerMunicipality> parseFormerMunicipalities(const QString &tsv);

}
