// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The data folder reached through the alias "DataBase Brevan", the four
// working tables and the per-municipality zone and unit-rent tables.
#include "tablestore.h"

#include <QString>

namespace brevan {

inline const QString kAliasBrevan = QStringLiteral("DataBase Brevan");

inline const QString kDescrSup = QStringLiteral("DescrSup.db");
inline const QString kImmConfr = QStringLiteral("ImmConfr.db");
inline const QString kZonaUrbana = QStringLiteral("ZonaUrbana.db");
inline const QString kCanoniLocazUnitari = QStringLiteral("CanoniLocazUnitari.db");

const Layout &surfacesLayout();
const Layout &comparablesLayout();
const Layout &zonesLayout();
const Layout &unitRentsLayout();

// The table store's configuration: where aliases are registered. It outlives
// the program; tests point it at a temporary file.
class AliasRegistry {
public:
    // The INI file that holds the aliases (in the user's configuration folder
    // unless overridden).
    static QString configFile();
    static void setConfigFile(const QString &path); // empty restores the default

    static bool exists(const QString &alias);
    // The folder of an alias; empty when unknown. Names match without regard to case.
    static QString folder(const QString &alias);
    static void add(const QString &alias, const QString &folder);
};

// The user's own folder for what the program keeps outside any data folder
// (the recovery copy of a run that works on private working tables): the
// application's data location, or, while the configuration is pointed
// elsewhere (tests, the export command), the folder of that configuration.
QString userDataFolder();

// Makes sure the alias exists; at its first registration its folder is the
// current folder + "/Dati", or the home folder + "/Dati" when the current
// folder cannot be written, registered only once it exists and may be
// written. Creates the registered folder when missing.
void CreaAlias(const QString &alias);

// The data folder: the folder of "DataBase Brevan". Throws when unregistered.
QString dataFolder();
// A file in the data folder; the four working tables are in the working
// folder.
QString dataPath(const QString &fileName);

// Where the working tables live for this run: the data folder, unless a
// private folder is set (the data folder cannot be used, or another program
// works in it). Empty restores the data folder.
void setWorkingFolder(const QString &folder);
bool isWorkingFolderPrivate();
// The working folder: the private one when set, else the data folder.
QString workingFolder();

// Deletes the table when present, creates it anew with the layout and appends
// n empty rows.
void rebuildTable(const QString &path, const Layout &layout, int emptyRows);

enum class MunicipalityTable { Zones, UnitRents };

// "ZonaUrbana" / "CanoniLocazUnitari" + municipality + postal code + province
// code + ".db", the parts taken as they stand.
QString municipalityTableName(MunicipalityTable kind, const QString &municipality, const QString &postalCode,
                              const QString &provinceCode);

// Rebuilds the working zone or unit-rent table with 11 empty rows and, when
// the municipality has a table of its own, copies it over the working table.
// A failed copy leaves the 11 empty rows and is rethrown.
void reloadForMunicipality(MunicipalityTable kind, const QString &municipality, const QString &postalCode,
                           const QString &provinceCode);
// Whether the working zone or unit-rent table holds the rows of the
// municipality table of that name (as municipalityTableName() forms it) since
// its last reload in this run. False before any reload, after the start-up
// rebuild and after a failed copy: the rows are then no known municipality's.
bool holdsMunicipalityRows(MunicipalityTable kind, const QString &tableName);

// Start-up: the alias, then the working surfaces table with 36 empty rows, the
// working comparables and zone tables empty. The unit-rent table is left as
// the last run left it. Throws on the first failure.
void startupTables();
// The same without the alias: the three working tables rebuilt in the
// working folder.
void rebuildWorkingTables();
// Close: deletes the working surfaces and comparables tables.
void closeTables();

} // namespace brevan
