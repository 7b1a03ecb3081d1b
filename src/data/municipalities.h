#pragma once
#include <QStringList>

namespace brevan {

// The municipality list as four parallel columns; row i of each describes one municipality.
struct MunicipalityList {
    QStringList names;
    QStringList provinces;      // province name, one of the 103 of the province list
    QStringList provinceCodes;  // its two-letter code
    QStringList postalCodes;    // digit text, may be empty
    int size() const { return names.size(); }
};

// Parsed once, on first use, from the list compiled in from data/comuni.tsv.
const MunicipalityList &municipalities();

// Parses TSV text as above (used by the loader and tests); throws std::runtime_error on a malformed row.
MunicipalityList parseMunicipalities(const QString &tsv);

}
