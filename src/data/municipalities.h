#pragma once
#include <QStringList>

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

// Parsed once, on first use, from the list compiled in from data/comuni.tsv.
const MunicipalityList &municipalities();

// The row of the municipality with that cadastral code ("A182"), -1 when none.
// The index behind it is built at the first call, not at start-up.
int municipalityByCadastralCode(const QString &code);

// Parses TSV text as above (used by the loader and tests); throws std::runtime_error on a malformed row.
MunicipalityList parseMunicipalities(const QString &tsv);

}
