// SPDX-License-Identifier: GPL-2.0-or-later
#include "openedappraisal.h"

#include "files/periziatable.h"

#include "files/cadastraltable.h"
#include "files/mcatable.h"
#include "pages/pictureloader.h"
#include "store/datafolder.h"
#include "store/oserror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <utility>

namespace brevan::app {

using files::Companion;

StagedTable::StagedTable(const QString &target, const Layout &layout, const QVector<QVariantList> &rows)
    : m_target(target), m_staged(Table::writeBeside(target, layout, rows))
{
}

StagedTable::StagedTable(StagedTable &&other) noexcept
    : m_target(std::move(other.m_target)), m_staged(std::exchange(other.m_staged, QString()))
{
}

StagedTable &StagedTable::operator=(StagedTable &&other) noexcept
{
    drop();
    m_target = std::move(other.m_target);
    m_staged = std::exchange(other.m_staged, QString());
    return *this;
}

StagedTable::~StagedTable()
{
    drop();
}

void StagedTable::putInPlace()
{
    // A journal left by a crash would be rolled back into the new file.
    QFile::remove(m_target + QStringLiteral("-journal"));
    if (std::rename(QFile::encodeName(m_staged).constData(), QFile::encodeName(m_target).constData()) != 0)
        throw StoreError(QStringLiteral("Impossibile scrivere \"%1\": %2")
                             .arg(QDir::toNativeSeparators(m_target), systemErrorText(errno)));
    m_staged.clear();
}

void StagedTable::drop()
{
    if (!m_staged.isEmpty())
        QFile::remove(m_staged);
    m_staged.clear();
}

namespace {

// The working table's rows from the stored companion, or emptyRows blank
// rows when there is none; throws for a companion that cannot be used.
StagedTable stageWorkingTable(const QString &working, const Layout &layout, const QString &companion, int emptyRows)
{
    if (companion.isEmpty())
        return StagedTable(working, layout, QVector<QVariantList>(emptyRows));
    const TableData data = readTableFile(companion);
    requireLayout(data, layout, companion);
    return StagedTable(working, layout, data.rows);
}

constexpr Companion kPictures[] = {Companion::Photo, Companion::AreaPlan, Companion::UnitPlan};

} // namespace

OpenedAppraisal readOpenedAppraisal(const QString &tablePath, const std::function<bool(const FieldDef &)> &isDate,
                                    bool pixels)
{
    const QString folder = QFileInfo(tablePath).absolutePath();
    const files::StoredRecord record(tablePath);
    OpenedAppraisal opened;
    opened.euro = record.inEuro();
    for (const int n : openingOrder()) {
        const FieldDef &f = recordFields()[static_cast<size_t>(n - 1)];
        const QString name = QString::fromLatin1(f.name);
        OpenedAppraisal::Value v{n, {}, false, {}};
        if (f.type == FieldType::Logical) {
            v.tick = record.logical(name);
        } else {
            v.text = record.text(name);
            if (isDate(f)) {
                v.date = files::appraisalDateFrom(v.text);
                if (!v.date.isValid())
                    throw StoreError(QStringLiteral("Data della stima non valida: \"%1\".").arg(v.text));
            }
        }
        opened.values << v;
    }

    for (const Companion c : kPictures) {
        const QString stored = record.text(files::companionField(c));
        const QString path = files::companionPath(folder, stored);
        if (path.isEmpty())
            continue;
        try {
            opened.pictures.insert(c, pixels ? ui::pictures::load(path) : ui::pictures::loadPresence(path));
        } catch (const std::exception &e) {
            qWarning("FileOpen1Execute: %s", e.what());
            opened.unreadablePictures.append({c, stored});
        }
    }

    opened.surfaces =
        stageWorkingTable(dataPath(kDescrSup), surfacesLayout(),
                          files::companionPath(folder, record.text(files::companionField(Companion::Surfaces))), 36);
    opened.comparables =
        stageWorkingTable(dataPath(kImmConfr), comparablesLayout(),
                          files::companionPath(folder, record.text(files::companionField(Companion::Comparables))), 0);

    // The market comparison is read as a picture is: one that cannot be read
    // leaves the comparison empty, and is named.
    const QString mcaName = files::mcaCompanionName(record, QFileInfo(tablePath).fileName());
    const QString mcaPath = files::companionPath(folder, mcaName);
    if (!mcaPath.isEmpty()) {
        try {
            opened.mca = files::readMcaTable(mcaPath);
        } catch (const std::exception &e) {
            qWarning("FileOpen1Execute: %s", e.what());
            opened.unreadableMca = mcaName;
        }
    }
    // The cadastral surface likewise: the proposals stand in for choices
    // that cannot be read.
    const QString cadastralName =
        files::namedCompanionName(Companion::Cadastral, record, QFileInfo(tablePath).fileName());
    const QString cadastralPath = files::companionPath(folder, cadastralName);
    if (!cadastralPath.isEmpty()) {
        try {
            opened.cadastral = files::readCadastralTable(cadastralPath);
        } catch (const std::exception &e) {
            qWarning("FileOpen1Execute: %s", e.what());
            opened.unreadableCadastral = cadastralName;
        }
    }
    // The OMI comparison likewise.
    const QString omiName = files::omiCompanionName(record, QFileInfo(tablePath).fileName());
    const QString omiPath = files::companionPath(folder, omiName);
    if (!omiPath.isEmpty()) {
        try {
            opened.omi = files::readOmiTable(omiPath);
        } catch (const std::exception &e) {
            qWarning("FileOpen1Execute: %s", e.what());
            opened.unreadableOmi = omiName;
        }
    }
    // The report for a purpose likewise: an empty one stands in for one
    // that cannot be read.
    const QString periziaName =
        files::namedCompanionName(Companion::Perizia, record, QFileInfo(tablePath).fileName());
    const QString periziaPath = files::companionPath(folder, periziaName);
    if (!periziaPath.isEmpty()) {
        try {
            opened.perizia = files::readPeriziaTable(periziaPath);
        } catch (const std::exception &e) {
            qWarning("FileOpen1Execute: %s", e.what());
            opened.unreadablePerizia = periziaName;
        }
    }
    return opened;
}

} // namespace brevan::app
