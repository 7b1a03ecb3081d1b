// SPDX-License-Identifier: GPL-2.0-or-later
#include "../support/fixtures.h"
#include "store/datafolder.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace brevan;

class TestDataFolder : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_scratch;
    QString m_savedCwd;
    int m_case = 0;
    QString m_root;

private Q_SLOTS:
    void init()
    {
        // Each case: its own configuration file and its own working folder.
        m_root = m_scratch.filePath(QString::number(++m_case));
        QDir().mkpath(m_root + "/program");
        AliasRegistry::setConfigFile(m_root + "/config/tablestore.ini");
        m_savedCwd = QDir::currentPath();
        QDir::setCurrent(m_root + "/program");
    }
    void cleanup()
    {
        QDir::setCurrent(m_savedCwd);
        AliasRegistry::setConfigFile({});
    }

    void aliasRegisteredOnceAndOutlivesTheRun()
    {
        QVERIFY(!AliasRegistry::exists(kAliasBrevan));
        CreaAlias(kAliasBrevan);
        const QString first = m_root + "/program/Dati";
        QCOMPARE(AliasRegistry::folder(kAliasBrevan), first);
        QVERIFY(QDir(first).exists());
        // A later run from elsewhere keeps the registered folder.
        QDir().mkpath(m_root + "/elsewhere");
        QDir::setCurrent(m_root + "/elsewhere");
        CreaAlias(kAliasBrevan);
        QCOMPARE(dataFolder(), first);
        QVERIFY(!QDir(m_root + "/elsewhere/Dati").exists());
        // The dialogs spell it differently; names match without regard to case.
        QCOMPARE(AliasRegistry::folder("Database Brevan"), first);
        QVERIFY(QFile::exists(AliasRegistry::configFile()));
    }

    // A first start from a folder the user cannot write takes "Dati" in the
    // home folder; the folder is registered only once it exists, so a start
    // where neither can be made registers nothing and the next one chooses
    // again.
    void firstStartFromAnUnusableFolder_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("homeUsable");
        QTest::newRow("current folder read-only") << "readonly" << true;
        QTest::newRow("\"Dati\" in the current folder is a file") << "file" << true;
        QTest::newRow("current folder and home read-only") << "readonly" << false;
    }
    void firstStartFromAnUnusableFolder()
    {
        QFETCH(QString, current);
        QFETCH(bool, homeUsable);
        const QByteArray savedHome = qgetenv("HOME");
        const auto restoreHome = qScopeGuard([&] { qputenv("HOME", savedHome); });
        const QString home = m_root + "/home";
        QDir().mkpath(home);
        const QString readOnly = fixtures::readOnlyFolder(m_root);
        qputenv("HOME", QFile::encodeName(homeUsable ? home : readOnly));
        if (current == "readonly") {
            QVERIFY(QDir::setCurrent(readOnly));
        } else {
            fixtures::writeBytes(m_root + "/program/Dati", "un file");
        }

        if (!homeUsable) {
            QVERIFY_THROWS_EXCEPTION(StoreError, CreaAlias(kAliasBrevan));
            QVERIFY(!AliasRegistry::exists(kAliasBrevan));
            QVERIFY_THROWS_EXCEPTION(StoreError, dataFolder());
            // The next start, with a home that can be written, chooses again.
            qputenv("HOME", QFile::encodeName(home));
        }
        CreaAlias(kAliasBrevan);
        QCOMPARE(dataFolder(), home + "/Dati");
        QVERIFY(QFileInfo(home + "/Dati").isDir());
        QVERIFY(QFileInfo(home + "/Dati").isWritable());
        startupTables();
        QVERIFY(Table::exists(home + "/Dati/" + kDescrSup));
        // A later start from a folder that can be written keeps it.
        QVERIFY(QDir::setCurrent(m_root));
        CreaAlias(kAliasBrevan);
        QCOMPARE(dataFolder(), home + "/Dati");
    }

    void startupBuildsWorkingTables()
    {
        startupTables();
        Table surfaces = Table::open(dataPath(kDescrSup));
        QCOMPARE(surfaces.layout(), surfacesLayout());
        QCOMPARE(surfaces.rowCount(), 36);
        for (const QVariantList &r : surfaces.rows())
            QCOMPARE(r, (QVariantList{QString(), 0.0}));
        QCOMPARE(Table::open(dataPath(kImmConfr)).rowCount(), 0);
        QCOMPARE(Table::open(dataPath(kImmConfr)).layout().size(), 13);
        QCOMPARE(Table::open(dataPath(kZonaUrbana)).rowCount(), 0);
        QVERIFY(!Table::exists(dataPath(kCanoniLocazUnitari)));
        // Working tables are scratch; a user's appraisal is a document.
        QVERIFY(Table::isScratch(dataPath(kZonaUrbana)));
        QVERIFY(!Table::isScratch(dataPath("Stima - via Roma 1.db")));
        QVERIFY(!Table::isScratch(m_root + "/program/DescrSup.db"));
    }

    void startupReplacesLeftovers()
    {
        CreaAlias(kAliasBrevan);
        // An earlier run that did not end normally left filled tables behind.
        Table::create(dataPath(kDescrSup), surfacesLayout());
        Table::open(dataPath(kDescrSup)).append({"Camera", 20.0});
        Table::create(dataPath(kImmConfr), comparablesLayout());
        Table::open(dataPath(kImmConfr)).append({"via Roma"});
        Table::create(dataPath(kCanoniLocazUnitari), unitRentsLayout());
        Table::open(dataPath(kCanoniLocazUnitari)).append({"2002", "8000", "9001", "Zona centrale"});
        startupTables();
        QCOMPARE(Table::open(dataPath(kDescrSup)).rowCount(), 36);
        QCOMPARE(Table::open(dataPath(kDescrSup)).rows().first().first().toString(), QString());
        QCOMPARE(Table::open(dataPath(kImmConfr)).rowCount(), 0);
        // The unit-rent table is what the last run left.
        QCOMPARE(Table::open(dataPath(kCanoniLocazUnitari)).rowCount(), 1);
    }

    void closeDeletesOnlySurfacesAndComparables()
    {
        startupTables();
        reloadForMunicipality(MunicipalityTable::UnitRents, "Abano Terme", "35031", "PD");
        closeTables();
        QVERIFY(!Table::exists(dataPath(kDescrSup)));
        QVERIFY(!Table::exists(dataPath(kImmConfr)));
        QVERIFY(Table::exists(dataPath(kZonaUrbana)));
        QVERIFY(Table::exists(dataPath(kCanoniLocazUnitari)));
        QVERIFY(AliasRegistry::exists(kAliasBrevan));
    }

    void startupFailsOnUnwritableFolder()
    {
        AliasRegistry::add(kAliasBrevan, fixtures::readOnlyFolder(m_root) + "/Dati");
        QVERIFY_THROWS_EXCEPTION(StoreError, startupTables());
    }

    void municipalityNames_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("comune");
        QTest::addColumn<QString>("cap");
        QTest::addColumn<QString>("sigla");
        QTest::addColumn<QString>("name");
        QTest::newRow("zones") << int(MunicipalityTable::Zones) << "Abano Terme" << "35031" << "PD"
                               << "ZonaUrbanaAbano Terme35031PD.db";
        QTest::newRow("rents") << int(MunicipalityTable::UnitRents) << "Abano Terme" << "35031" << "PD"
                               << "CanoniLocazUnitariAbano Terme35031PD.db";
        QTest::newRow("apostrophe") << int(MunicipalityTable::Zones) << "Aci Sant'Antonio" << "95025" << "CT"
                                    << "ZonaUrbanaAci Sant'Antonio95025CT.db";
        QTest::newRow("typed name only") << int(MunicipalityTable::Zones) << "Atlantide" << "" << ""
                                         << "ZonaUrbanaAtlantide.db";
        QTest::newRow("all empty is the working zone table") << int(MunicipalityTable::Zones) << "" << "" << ""
                                                            << "ZonaUrbana.db";
        QTest::newRow("all empty is the working rent table") << int(MunicipalityTable::UnitRents) << "" << "" << ""
                                                            << "CanoniLocazUnitari.db";
    }
    void municipalityNames()
    {
        QFETCH(int, kind);
        QFETCH(QString, comune);
        QFETCH(QString, cap);
        QFETCH(QString, sigla);
        QFETCH(QString, name);
        QCOMPARE(municipalityTableName(MunicipalityTable(kind), comune, cap, sigla), name);
    }

    void reloadWithoutOwnTableGivesElevenEmptyRows()
    {
        startupTables();
        reloadForMunicipality(MunicipalityTable::Zones, "Abano Terme", "35031", "PD");
        Table zones = Table::open(dataPath(kZonaUrbana));
        QCOMPARE(zones.layout(), zonesLayout());
        QCOMPARE(zones.rowCount(), 11);
        reloadForMunicipality(MunicipalityTable::UnitRents, "Abano Terme", "35031", "PD");
        QCOMPARE(Table::open(dataPath(kCanoniLocazUnitari)).rowCount(), 11);
    }

    void reloadTakesOverTheMunicipalityRows()
    {
        startupTables();
        const QString own = dataPath(QString::fromUtf8("ZonaUrbanaForlì47121FO.db"));
        Table::create(own, zonesLayout());
        {
            Table t = Table::open(own);
            t.append({"", "", "Centro storico", "Zona centrale", "3,50", "Ottimo", "Buono", "Sufficiente"});
            t.append({"", "", "Ronco", "Zona periferica", "4,25", "Buono", "Buono", "Buono"});
        }
        reloadForMunicipality(MunicipalityTable::Zones, QString::fromUtf8("Forlì"), "47121", "FO");
        Table zones = Table::open(dataPath(kZonaUrbana));
        QCOMPARE(zones.rowCount(), 2);
        QCOMPARE(zones.rows().at(1).at(2).toString(), QStringLiteral("Ronco"));
        // The municipality's own table is unchanged.
        QCOMPARE(Table::open(own).rowCount(), 2);
    }

    void reloadFromDamagedTableLeavesElevenRows_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not a table") << "text";
        QTest::newRow("other layout") << "layout";
    }
    void reloadFromDamagedTableLeavesElevenRows()
    {
        QFETCH(QString, kind);
        startupTables();
        const QString own = dataPath("CanoniLocazUnitariRoma00100RM.db");
        if (kind == "text")
            fixtures::writeBytes(own, "non una tabella");
        else
            Table::create(own, zonesLayout());
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 reloadForMunicipality(MunicipalityTable::UnitRents, "Roma", "00100", "RM"));
        Table rents = Table::open(dataPath(kCanoniLocazUnitari));
        QCOMPARE(rents.layout(), unitRentsLayout());
        QCOMPARE(rents.rowCount(), 11);
    }

    void separatorInMunicipalityNeverLeavesTheFolder()
    {
        startupTables();
        // A table outside the data folder that a crafted name would point at.
        const QString outside = m_root + "/ZonaUrbanax.db";
        Table::create(outside, zonesLayout());
        Table::open(outside).append({"", "", "Fuori"});
        reloadForMunicipality(MunicipalityTable::Zones, "../../x", "", "");
        QCOMPARE(Table::open(dataPath(kZonaUrbana)).rowCount(), 11);
        QVERIFY_THROWS_EXCEPTION(StoreError, dataPath("../ZonaUrbanax.db"));
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
