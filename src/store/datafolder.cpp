// SPDX-License-Identifier: GPL-2.0-or-later
#include "datafolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace brevan {

namespace {

Column text(const char *name, int size)
{
    return {QString::fromLatin1(name), ColumnType::Text, size};
}

QString &configOverride()
{
    static QString path;
    return path;
}

const QString kAliasGroup = QStringLiteral("Alias");

QString &workingOverride()
{
    static QString folder;
    return folder;
}

bool isWorkingTableName(const QString &fileName)
{
    for (const QString &working : {kDescrSup, kImmConfr, kZonaUrbana, kCanoniLocazUnitari}) {
        if (fileName == working)
            return true;
    }
    return false;
}

} // namespace

const Layout &surfacesLayout()
{
    static const Layout l{text("DescrizioneSuperficie", 50), {QStringLiteral("MqSuperficie"), ColumnType::Real, 0}};
    return l;
}

const Layout &comparablesLayout()
{
    static const Layout l{
        text("IndirizzoImmob", 50),      text("NumCivicoImmob", 10),      text("PianoImmob", 2),
        text("InternoImmob", 10),        text("SupCommercImmob", 10),     text("CdCarattLocalizzaz", 20),
        text("CdCarattPosizione", 20),   text("CdCarattTipologiche", 20), text("CdCarattProduttive", 20),
        text("CostoUnitario", 15),       text("CostoComplessivo", 15),    text("Servizio1", 15),
        text("Servizio2", 15),
    };
    return l;
}

const Layout &zonesLayout()
{
    static const Layout l{
        text("Comune", 30),          text("Provincia", 30),       text("ZonaUrbana", 30),
        text("CentralitaZona", 15),  text("SaggioMedioCapitalizzaz", 6), text("QualificazAmbienteExt", 15),
        text("IdoneitaInsediativa", 15), text("PrevisMiglioramAmbientali", 15),
    };
    return l;
}

const Layout &unitRentsLayout()
{
    static const Layout l{text("Anno", 4), text("CanoneLocazMin", 15), text("CanoneLocazMax", 15), text("Zona", 15)};
    return l;
}

QString AliasRegistry::configFile()
{
    if (!configOverride().isEmpty())
        return configOverride();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Brevan/tablestore.ini");
}

void AliasRegistry::setConfigFile(const QString &path)
{
    configOverride() = path;
}

QString AliasRegistry::folder(const QString &alias)
{
    QSettings s(configFile(), QSettings::IniFormat);
    s.beginGroup(kAliasGroup);
    const QStringList keys = s.childGroups();
    for (const QString &key : keys) {
        s.beginGroup(key);
        const QString name = s.value(QStringLiteral("name")).toString();
        const QString path = s.value(QStringLiteral("path")).toString();
        s.endGroup();
        if (name.compare(alias, Qt::CaseInsensitive) == 0)
            return path;
    }
    return {};
}

QString userDataFolder()
{
    if (!configOverride().isEmpty())
        return QFileInfo(configOverride()).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

bool AliasRegistry::exists(const QString &alias)
{
    return !folder(alias).isEmpty();
}

void AliasRegistry::add(const QString &alias, const QString &folderPath)
{
    QSettings s(configFile(), QSettings::IniFormat);
    s.beginGroup(kAliasGroup);
    // Group keys are the lower-case name, so names differing only in case share one entry.
    QString key = alias.toLower();
    key.replace(QLatin1Char(' '), QLatin1Char('_'));
    s.beginGroup(key);
    s.setValue(QStringLiteral("name"), alias);
    s.setValue(QStringLiteral("driver"), QStringLiteral("PARADOX"));
    s.setValue(QStringLiteral("path"), folderPath);
    s.endGroup();
    s.endGroup();
    s.sync();
    if (s.status() != QSettings::NoError)
        throw StoreError(QStringLiteral("Impossibile salvare la configurazione in \"%1\".")
                             .arg(QDir::toNativeSeparators(configFile())));
}

namespace {

QString cannotCreate(const QString &folder)
{
    return QStringLiteral("Impossibile creare la cartella dei dati \"%1\".").arg(QDir::toNativeSeparators(folder));
}

// A folder the program can work in: it exists (made when missing) and may be
// written.
bool usableFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

} // namespace

void CreaAlias(const QString &alias)
{
    QString folder = AliasRegistry::folder(alias);
    if (folder.isEmpty()) {
        // The folder is registered only once it can be worked in: a name
        // registered before that would be used by every later start. A start
        // from a folder the user cannot write (the root, a system folder)
        // takes the user's home, as a start from the desktop menu does.
        const QString here = QDir(QDir::currentPath()).filePath(QStringLiteral("Dati"));
        const QString home = QDir(QDir::homePath()).filePath(QStringLiteral("Dati"));
        if (usableFolder(here))
            folder = here;
        else if (usableFolder(home))
            folder = home;
        else
            throw StoreError(cannotCreate(here));
        AliasRegistry::add(alias, folder);
        return;
    }
    if (!QDir().mkpath(folder))
        throw StoreError(cannotCreate(folder));
}

QString dataFolder()
{
    const QString folder = AliasRegistry::folder(kAliasBrevan);
    if (folder.isEmpty())
        throw StoreError(QStringLiteral("Alias \"%1\" non registrato.").arg(kAliasBrevan));
    return folder;
}

QString dataPath(const QString &fileName)
{
    if (!isWorkingTableName(fileName))
        return pathInFolder(dataFolder(), fileName);
    const QString path = pathInFolder(workingFolder(), fileName);
    // The four working tables are the program's scratch space.
    Table::setScratch(path);
    return path;
}

void setWorkingFolder(const QString &folder)
{
    workingOverride() = folder;
}

bool isWorkingFolderPrivate()
{
    return !workingOverride().isEmpty();
}

QString workingFolder()
{
    return isWorkingFolderPrivate() ? workingOverride() : dataFolder();
}

void rebuildTable(const QString &path, const Layout &layout, int emptyRows)
{
    Table::remove(path);
    Table::create(path, layout);
    if (emptyRows > 0)
        Table::open(path).appendEmptyRows(emptyRows);
}

QString municipalityTableName(MunicipalityTable kind, const QString &municipality, const QString &postalCode,
                              const QString &provinceCode)
{
    const QString prefix = kind == MunicipalityTable::Zones ? QStringLiteral("ZonaUrbana")
                                                            : QStringLiteral("CanoniLocazUnitari");
    return prefix + municipality + postalCode + provinceCode + QStringLiteral(".db");
}

namespace {

QString &reloadedPath(MunicipalityTable kind)
{
    static QString zones;
    static QString unitRents;
    return kind == MunicipalityTable::Zones ? zones : unitRents;
}

} // namespace

void reloadForMunicipality(MunicipalityTable kind, const QString &municipality, const QString &postalCode,
                           const QString &provinceCode)
{
    const bool zones = kind == MunicipalityTable::Zones;
    const Layout &layout = zones ? zonesLayout() : unitRentsLayout();
    const QString working = dataPath(zones ? kZonaUrbana : kCanoniLocazUnitari);
    QString &reloaded = reloadedPath(kind);
    reloaded.clear();
    rebuildTable(working, layout, 11);
    const QString name = municipalityTableName(kind, municipality, postalCode, provinceCode);
    // A name that is not a plain file name cannot be a table of the data
    // folder; without a data folder there are no municipality tables.
    if (!isPlainFileName(name))
        return;
    if (AliasRegistry::exists(kAliasBrevan)) {
        const QString own = dataPath(name);
        if (QFileInfo(own).absoluteFilePath() != QFileInfo(working).absoluteFilePath() && Table::exists(own))
            Table::copy(own, working, layout);
    }
    // Only now are the rows the municipality's: after a failed copy the next
    // look at them reloads again. The path, not the name: other working
    // tables hold other rows.
    reloaded = pathInFolder(workingFolder(), name);
}

bool holdsMunicipalityRows(MunicipalityTable kind, const QString &tableName)
{
    const QString &reloaded = reloadedPath(kind);
    try {
        return !reloaded.isEmpty() && reloaded == pathInFolder(workingFolder(), tableName);
    } catch (const std::exception &) {
        return false; // no working folder, or a name that is no file of it
    }
}

void startupTables()
{
    CreaAlias(kAliasBrevan);
    rebuildWorkingTables();
}

void rebuildWorkingTables()
{
    rebuildTable(dataPath(kDescrSup), surfacesLayout(), 36);
    rebuildTable(dataPath(kImmConfr), comparablesLayout(), 0);
    rebuildTable(dataPath(kZonaUrbana), zonesLayout(), 0);
    reloadedPath(MunicipalityTable::Zones).clear();
}

void closeTables()
{
    const QString folder = isWorkingFolderPrivate() ? workingOverride() : AliasRegistry::folder(kAliasBrevan);
    if (folder.isEmpty())
        return;
    Table::remove(pathInFolder(folder, kDescrSup));
    Table::remove(pathInFolder(folder, kImmConfr));
}

} // namespace brevan
