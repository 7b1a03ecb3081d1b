// SPDX-License-Identifier: GPL-2.0-or-later
#include "appraisalset.h"

#include "setsave.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFileInfo>

namespace brevan::files {

namespace {

// A table of the layout holding the rows, at a path nobody reads yet (inside
// the staging folder of a save). SQLite need not sync it: the save syncs
// every staged file once, before its manifest.
void writeRows(const QString &path, const Layout &layout, const TableRows &rows)
{
    Table::setScratch(path);
    try {
        Table::create(path, layout);
        Table table = Table::open(path);
        table.transaction([&] {
            for (const QVariantList &row : rows)
                table.append(row);
        });
        table.close();
    } catch (...) {
        Table::setScratch(path, false);
        throw;
    }
    Table::setScratch(path, false);
}

} // namespace

QHash<QString, QString> saveAppraisalSet(const QString &tablePath, const AppraisalContent &content,
                                         const QString &givenStem)
{
    const QFileInfo table(tablePath);
    SetSave set(table.absolutePath());
    const QString stem = givenStem.isEmpty() ? companionStemIn(set.folder(), table.fileName()) : givenStem;
    // The companions without a field (the comparison, the cadastral surface)
    // are found by the name the table's name gives, unless the record says
    // otherwise.
    const bool mcaByName = stem == stemForTable(table.fileName());
    QMap<Companion, QString> namedCompanions;
    QHash<QString, QString> names;
    for (const Companion c : kCompanions) {
        const QString name = companionName(c, stem);
        if (companionForm(c) == CompanionForm::Picture) {
            const QImage picture = content.pictures.value(c);
            if (picture.isNull())
                continue;
            writeStagedBitmap(set.stage(name), picture);
        } else {
            const TableRows rows = content.tables.value(c);
            if (!companionWorthSaving(c, rows)) {
                // A companion found by its name alone would be found again
                // after this save: an earlier one is superseded by an empty
                // table, in the same set.
                if (companionField(c).isEmpty() && mcaByName
                    && QFileInfo::exists(set.folder() + QLatin1Char('/') + name))
                    writeRows(set.stage(name), companionLayout(c), {});
                continue;
            }
            writeRows(set.stage(name), companionLayoutFor(c, rows), rows);
        }
        if (!companionField(c).isEmpty())
            names.insert(companionField(c), name);
        else
            namedCompanions.insert(c, name);
    }
    // The record last: the set is put in place in the order it was staged.
    RecordValues record = content.record;
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        record.insert(it.key(), it.value());
    for (const Companion c : kCompanions) {
        if (!companionField(c).isEmpty() && !names.contains(companionField(c)))
            record.insert(companionField(c), QString());
    }
    Layout layout = recordLayout();
    if (!mcaByName) {
        layout << Column{kMcaColumn, ColumnType::Text, kMcaColumnSize};
        record.insert(kMcaColumn, namedCompanions.value(Companion::Mca));
        // Only with its companion: an appraisal without one saves the
        // record it saved before.
        if (namedCompanions.contains(Companion::Cadastral)) {
            layout << Column{kCadastralColumn, ColumnType::Text, kCadastralColumnSize};
            record.insert(kCadastralColumn, namedCompanions.value(Companion::Cadastral));
        }
        // The OMI comparison's likewise.
        if (namedCompanions.contains(Companion::Omi)) {
            layout << Column{kOmiColumn, ColumnType::Text, kMcaColumnSize};
            record.insert(kOmiColumn, namedCompanions.value(Companion::Omi));
        }
        // The report for a purpose's likewise.
        if (namedCompanions.contains(Companion::Perizia)) {
            layout << Column{kPeriziaColumn, ColumnType::Text, kMcaColumnSize};
            record.insert(kPeriziaColumn, namedCompanions.value(Companion::Perizia));
        }
    }
    writeRows(set.stage(table.fileName()), layout, {rowFor(layout, record)});
    set.commit();
    return names;
}

QByteArray fingerprint(const AppraisalContent &content)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    // Every column of the appraisal table, as the save would store it.
    for (const Column &c : recordLayout())
        out << content.record.value(c.name);
    for (const Companion c : kCompanions) {
        out << int(c);
        if (companionForm(c) == CompanionForm::Picture) {
            const QImage picture = content.pictures.value(c);
            out << (picture.isNull() ? qint64(0) : picture.cacheKey());
        } else {
            const TableRows rows = content.tables.value(c);
            out << qint64(rows.size());
            for (const QVariantList &row : rows)
                out << row;
        }
    }
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

} // namespace brevan::files
