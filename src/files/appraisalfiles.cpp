// SPDX-License-Identifier: GPL-2.0-or-later
#include "appraisalfiles.h"

#include "cadastraltable.h"
#include "mcatable.h"
#include "omitable.h"
#include "periziatable.h"
#include "setsave.h"

#include "store/datafolder.h"
#include "store/foldersync.h"
#include "valuation/comparison.h"
#include "valuation/surfaces.h"
#include "store/oserror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace brevan::files {

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A surfaces copy is written when a row has a description and an area.
bool surfacesWorthSaving(const TableRows &rows)
{
    QVector<SurfaceRow> surfaces;
    surfaces.reserve(rows.size());
    for (const QVariantList &r : rows)
        surfaces.append({r.value(0).toString(), r.value(1).toDouble()});
    return countSurfaceRows(surfaces).complete >= 1;
}

// A comparables copy is written when a comparable is complete.
const Layout &mcaTableLayout()
{
    static const Layout layout = mcaLayout();
    return layout;
}

// A market comparison is saved when it holds its subject's row.
bool mcaWorthSaving(const TableRows &rows)
{
    return !rows.isEmpty();
}

const Layout &omiTableLayout()
{
    static const Layout layout = omiLayout();
    return layout;
}

// The OMI comparison is saved when the appraiser chose something.
bool omiWorthSaving(const TableRows &rows)
{
    return !rows.isEmpty();
}

const Layout &periziaTableLayout()
{
    static const Layout layout = periziaLayout();
    return layout;
}

// The report for a purpose is saved when the appraiser gave something.
bool periziaWorthSaving(const TableRows &rows)
{
    return !rows.isEmpty();
}

const Layout &cadastralTableLayout()
{
    static const Layout layout = cadastralLayout();
    return layout;
}

// The cadastral surface is saved when the appraiser changed a proposal.
bool cadastralWorthSaving(const TableRows &rows)
{
    return !rows.isEmpty();
}

bool comparablesWorthSaving(const TableRows &rows)
{
    for (const QVariantList &r : rows) {
        QStringList columns;
        for (const QVariant &v : r)
            columns << v.toString();
        if (isCompleteComparable(ComparableRow::fromColumns(columns)))
            return true;
    }
    return false;
}

struct CompanionDef {
    Companion kind;
    const char *prefix;
    const char *extension;
    const char *field;
    CompanionForm form;
    const Layout &(*layout)();                     // tables only
    bool (*worthSaving)(const TableRows &rows);    // tables only
    // Companions found by their name: the record column that names them
    // after a numbered stem, and whether it is written with every such save.
    const char *column = "";
    bool columnAlways = false;
    // The stem is cut to fit this companion's name; a companion added later
    // with a longer frame cuts it further for itself, so the names of the
    // companions saved before stay what they were.
    bool framesStem = true;
    // The layout of the rows written, where it depends on them.
    Layout (*layoutFor)(const TableRows &rows) = nullptr;
};

// One row per companion, in the order a save writes them.
const CompanionDef kCompanionDefs[] = {
    {Companion::Photo, "Foto - ", ".bmp", "FotoImmob", CompanionForm::Picture, nullptr, nullptr},
    {Companion::AreaPlan, "PlanimZona - ", ".bmp", "PlanimZonaImmob", CompanionForm::Picture, nullptr, nullptr},
    {Companion::UnitPlan, "Planim - ", ".bmp", "PlanimImmob", CompanionForm::Picture, nullptr, nullptr},
    {Companion::Surfaces, "Superfici - ", ".db", "SuperficiImmob", CompanionForm::Table, surfacesLayout,
     surfacesWorthSaving},
    {Companion::Comparables, "ImmobConfr - ", ".db", "TableNameImmobConfr", CompanionForm::Table,
     comparablesLayout, comparablesWorthSaving},
    // Found by its name beside the appraisal table: no field of the record.
    {Companion::Mca, "MCA - ", ".db", "", CompanionForm::Table, mcaTableLayout, mcaWorthSaving, "TabellaMCA", true, true,
     mcaLayoutFor},
    {Companion::Cadastral, "Superficie catastale - ", ".db", "", CompanionForm::Table, cadastralTableLayout,
     cadastralWorthSaving, "TabellaSupCatastale", false, false},
    {Companion::Omi, "OMI - ", ".db", "", CompanionForm::Table, omiTableLayout, omiWorthSaving, "TabellaOMI", false,
     true},
    {Companion::Perizia, "Perizia - ", ".db", "", CompanionForm::Table, periziaTableLayout, periziaWorthSaving,
     "TabellaPerizia", false, false},
};

const CompanionDef &def(Companion c)
{
    for (const CompanionDef &d : kCompanionDefs) {
        if (d.kind == c)
            return d;
    }
    return kCompanionDefs[0];
}

// The longest prefix and extension around a stem ("PlanimZona - " … ".bmp").
qsizetype longestFrame()
{
    qsizetype longest = 0;
    for (const CompanionDef &d : kCompanionDefs) {
        if (d.framesStem)
            longest = std::max<qsizetype>(longest, qstrlen(d.prefix) + qstrlen(d.extension));
    }
    return longest;
}

// The record keeps a companion's name in a text of 150 characters; a longer
// name would be stored cut and the file could not be found again.
constexpr qsizetype kCompanionFieldSize = 150;
// File systems hold names of up to 255 bytes. A table is written first under
// "." + name + ".XXXXXX" beside its target, and SQLite adds "-journal" to
// that name while it writes.
constexpr qsizetype kFileNameBytes = 255 - 16;

const QString kTablePrefix = QStringLiteral("Stima - ");
const QString kDb = QStringLiteral(".db");

ColumnType columnType(FieldType t)
{
    switch (t) {
    case FieldType::Text: return ColumnType::Text;
    case FieldType::Logical: return ColumnType::Logical;
    case FieldType::Real: return ColumnType::Real;
    }
    return ColumnType::Text;
}

QString text(const RecordValues &values, const char *name)
{
    return values.value(QLatin1String(name)).toString();
}

} // namespace

QString appraisalName(const RecordValues &v)
{
    return text(v, "IndirizzoImmob") + QStringLiteral(" ") + text(v, "NumCivicoImmob") + QStringLiteral(", ")
           + text(v, "ComuneImmob") + QStringLiteral(" - ") + text(v, "SiglaProvinciaImmob")
           + QStringLiteral(" - Piano ") + text(v, "PianoImmob") + QStringLiteral(" di ") + text(v, "TotPianiImmob")
           + QStringLiteral(", Interno ") + text(v, "InternoImmob");
}

QString fileNameSafe(const QString &text)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    QString out = text;
    for (QChar &c : out) {
        if (c.unicode() < 0x20 || forbidden.contains(c))
            c = QLatin1Char('_');
    }
    return out;
}

namespace {

// The stem cut so that a name of frame more ASCII characters, with the tail
// kept whole after it, fits the record's fields and a file system's names.
QString cutToFit(QString stem, const QString &tail, qsizetype frame)
{
    const qsizetype maxChars = kCompanionFieldSize - frame - tail.size();
    const qsizetype maxBytes = kFileNameBytes - frame - tail.toUtf8().size();
    auto tooLong = [&] { return stem.size() > maxChars || stem.toUtf8().size() > maxBytes; };
    while (!stem.isEmpty() && tooLong()) {
        qsizetype cut = stem.size() - 1;
        // Never leave half of a surrogate pair behind.
        if (cut > 0 && stem.at(cut).isLowSurrogate())
            --cut;
        stem.truncate(cut);
    }
    return stem + tail;
}

} // namespace

QString companionStem(const QString &text, const QString &suffix)
{
    return cutToFit(fileNameSafe(text), fileNameSafe(suffix), longestFrame());
}

QString suggestedTableName(const QString &name)
{
    return kTablePrefix + companionStem(name) + kDb;
}

QString numberedTableName(const QString &name, int n)
{
    if (n < 2)
        return suggestedTableName(name);
    return kTablePrefix + companionStem(name, QStringLiteral(" (%1)").arg(n)) + kDb;
}

namespace {

// The fields the appraisal name is made of.
const char *const kAddressFields[] = {"IndirizzoImmob", "NumCivicoImmob", "ComuneImmob", "SiglaProvinciaImmob",
                                      "PianoImmob",     "TotPianiImmob",  "InternoImmob"};

// The appraisal name of the address fields as the record stores them (each
// cut to its size), which tells one unit from another.
QString storedAppraisalName(const RecordValues &values)
{
    RecordValues cut;
    const Layout layout = recordLayout();
    for (const char *field : kAddressFields) {
        const QString name = QLatin1String(field);
        for (const Column &c : layout) {
            if (c.name == name)
                cut.insert(name, Table::coerce(c, values.value(name).toString()).toString());
        }
    }
    return appraisalName(cut);
}

} // namespace

QString suggestedTableNameIn(const QString &folder, const RecordValues &values)
{
    const QString name = appraisalName(values);
    const QString unit = storedAppraisalName(values);
    // Far more than any folder holds of one unit; past it the plain
    // suggestion is offered and the dialog lets the user choose.
    constexpr int kMostNumbers = 1000;
    for (int n = 1; n <= kMostNumbers; ++n) {
        const QString candidate = numberedTableName(name, n);
        const QString path = QDir(folder).filePath(candidate);
        if (!QFileInfo::exists(path))
            return candidate;
        try {
            StoredRecord stored(path);
            RecordValues address;
            for (const char *field : kAddressFields) {
                const QString f = QLatin1String(field);
                address.insert(f, stored.has(f) ? stored.text(f) : QString());
            }
            if (storedAppraisalName(address) == unit)
                return candidate;
        } catch (const std::exception &) {
            // A file that cannot be read is not known to be this unit's.
        }
    }
    return suggestedTableName(name);
}

namespace {

// The table's bare name without ".db" and a leading "Stima - ", uncut.
QString tableStemText(const QString &tableFileName)
{
    QString name = QFileInfo(tableFileName).fileName();
    if (name.endsWith(kDb, Qt::CaseInsensitive))
        name.chop(kDb.size());
    if (name.startsWith(kTablePrefix, Qt::CaseInsensitive))
        name.remove(0, kTablePrefix.size());
    return name;
}

// Whether two paths name one file (the second need not exist yet).
bool sameFile(const QFileInfo &a, const QFileInfo &b)
{
    if (a.absoluteFilePath() == b.absoluteFilePath())
        return true;
    return a.exists() && b.exists() && a.canonicalFilePath() == b.canonicalFilePath();
}

// The companion names that the appraisal records of the folder other than
// the table itself keep, in lower case: a folder on a file system that
// ignores case holds "Foto - casa.bmp" and "Foto - Casa.bmp" as one file.
QSet<QString> companionNamesOfOthers(const QString &folder, const QString &tableFileName)
{
    QSet<QString> used;
    const QFileInfo self(QDir(folder).filePath(QFileInfo(tableFileName).fileName()));
    const QString photoField = companionField(Companion::Photo);
    const QStringList candidates = QDir(folder).entryList({QStringLiteral("*.db")}, QDir::Files | QDir::Hidden);
    for (const QString &name : candidates) {
        const QFileInfo other(QDir(folder).filePath(name));
        if (isTemporaryName(name) || sameFile(other, self))
            continue;
        try {
            // Only the schema of tables that are no appraisal: companions and
            // working tables may hold thousands of rows.
            bool isRecord = false;
            for (const Column &c : Table::layoutOf(other.filePath(), Trust::Foreign))
                isRecord = isRecord || c.name.compare(photoField, Qt::CaseInsensitive) == 0;
            if (!isRecord)
                continue;
            const StoredRecord record(other.filePath());
            for (const Companion c : kCompanions) {
                const QString stored = companionField(c).isEmpty() ? namedCompanionName(c, record, name)
                                                                   : record.text(companionField(c));
                if (!stored.isEmpty())
                    used.insert(stored.toLower());
            }
        } catch (const std::exception &) {
            // A file that cannot be read names no companion that can be found.
        }
    }
    return used;
}

} // namespace

QString stemForTable(const QString &tableFileName)
{
    return companionStem(tableStemText(tableFileName));
}

QString companionStemIn(const QString &folder, const QString &tableFileName)
{
    const QString text = tableStemText(tableFileName);
    const QSet<QString> used = companionNamesOfOthers(folder, tableFileName);
    auto free = [&](const QString &stem) {
        for (const Companion c : kCompanions) {
            if (used.contains(companionName(c, stem).toLower()))
                return false;
        }
        return true;
    };
    // Far more than any folder holds of one name.
    constexpr int kMostNumbers = 1000;
    for (int n = 1; n <= kMostNumbers; ++n) {
        const QString stem = n == 1 ? companionStem(text) : companionStem(text, QStringLiteral(" (%1)").arg(n));
        if (free(stem))
            return stem;
    }
    throw StoreError(QStringLiteral("Troppe stime con lo stesso nome nella cartella \"%1\".").arg(native(folder)));
}

QString mcaCompanionName(const StoredRecord &record, const QString &tableFileName)
{
    return namedCompanionName(Companion::Mca, record, tableFileName);
}

QString namedCompanionName(Companion c, const StoredRecord &record, const QString &tableFileName)
{
    const CompanionDef &d = def(c);
    const QString column = QString::fromLatin1(d.column);
    if (column.isEmpty())
        return {};
    if (record.has(column))
        return record.text(column);
    // A numbered save writes the comparison's column always, this one only
    // with its companion: the name the table gives is another appraisal's.
    if (!d.columnAlways && record.has(kMcaColumn))
        return {};
    return companionName(c, stemForTable(tableFileName));
}

QString companionColumn(Companion c)
{
    return QString::fromLatin1(def(c).column);
}

QString omiCompanionName(const StoredRecord &record, const QString &tableFileName)
{
    return namedCompanionName(Companion::Omi, record, tableFileName);
}

QString withDbExtension(const QString &path)
{
    if (path.isEmpty() || path.endsWith(kDb, Qt::CaseInsensitive))
        return path;
    return path + kDb;
}

QString companionName(Companion c, const QString &stem)
{
    const CompanionDef &d = def(c);
    QString fitted = stem;
    if (!d.framesStem) {
        // A numbered stem keeps its number: the cut must not make two
        // appraisals' names one.
        static const QRegularExpression numbered(QStringLiteral("^(.*)( \\(\\d+\\))$"));
        const QRegularExpressionMatch m = numbered.match(stem);
        const qsizetype frame = qstrlen(d.prefix) + qstrlen(d.extension);
        fitted = m.hasMatch() ? cutToFit(m.captured(1), m.captured(2), frame) : cutToFit(stem, {}, frame);
    }
    return QString::fromUtf8(d.prefix) + fitted + QString::fromUtf8(d.extension);
}

QString companionField(Companion c)
{
    return QString::fromLatin1(def(c).field);
}

QString currencyText(bool euro)
{
    return euro ? QStringLiteral("Euro") : QStringLiteral("Lire");
}

bool currencyIsEuro(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.compare(currencyText(false), Qt::CaseInsensitive) == 0)
        return false;
    if (t.compare(currencyText(true), Qt::CaseInsensitive) == 0)
        return true;
    throw StoreError(QStringLiteral("Valuta sconosciuta: \"%1\".").arg(text));
}

CompanionForm companionForm(Companion c)
{
    return def(c).form;
}

const Layout &companionLayout(Companion c)
{
    static const Layout none;
    return def(c).layout ? def(c).layout() : none;
}

Layout companionLayoutFor(Companion c, const TableRows &rows)
{
    return def(c).layoutFor ? def(c).layoutFor(rows) : companionLayout(c);
}

bool companionWorthSaving(Companion c, const TableRows &rows)
{
    return def(c).worthSaving && def(c).worthSaving(rows);
}

Layout recordLayout()
{
    Layout l;
    for (const FieldDef &f : recordFields())
        l << Column{QString::fromLatin1(f.name), columnType(f.type), f.size};
    l << Column{kCurrencyColumn, ColumnType::Text, kCurrencyColumnSize};
    return l;
}

Layout appraiserLayout()
{
    Layout l;
    for (const FieldDef &f : appraiserFields())
        l << Column{QString::fromLatin1(f.name), columnType(f.type), f.size};
    return l;
}

QVariantList rowFor(const Layout &layout, const RecordValues &values)
{
    QVariantList row;
    row.reserve(layout.size());
    for (const Column &c : layout) {
        const QVariant v = values.value(c.name);
        switch (c.type) {
        case ColumnType::Text: row << v.toString(); break;
        case ColumnType::Logical: row << v.toBool(); break;
        case ColumnType::Real: row << v.toDouble(); break;
        }
    }
    return row;
}

void writeOneRowTable(const QString &path, const Layout &layout, const QVariantList &row)
{
    writeTableFile(path, layout, {row});
}

void writeTableFile(const QString &path, const Layout &layout, const QVector<QVariantList> &rows)
{
    const QFileInfo info(path);
    // A short temporary name: the chosen name may already be near the
    // longest a file system holds.
    QTemporaryFile reserve(info.absolutePath() + QStringLiteral("/.brevan-XXXXXX.db"));
    reserve.setAutoRemove(false);
    if (!reserve.open())
        throw StoreError(QStringLiteral("Impossibile scrivere nella cartella \"%1\".").arg(native(info.absolutePath())));
    const QString temporary = reserve.fileName();
    reserve.close();
    auto discard = [&] {
        QFile::remove(temporary);
        QFile::remove(temporary + QStringLiteral("-journal"));
    };
    try {
        Table::create(temporary, layout);
        Table table = Table::open(temporary);
        table.transaction([&] {
            for (const QVariantList &row : rows)
                table.append(row);
        });
        table.close();
    } catch (...) {
        discard();
        throw;
    }
    // A journal left beside the old file by a crash would be rolled back
    // into the new one.
    QFile::remove(path + QStringLiteral("-journal"));
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) {
        const int err = errno;
        discard();
        throw StoreError(QStringLiteral("Impossibile scrivere \"%1\": %2")
                             .arg(native(path), systemErrorText(err)));
    }
    syncFolderEntries(info.absolutePath());
}

namespace {

// The picture as a bitmap draws it: transparent parts on white.
QImage opaqueBitmap(const QString &path, const QImage &picture)
{
    if (!picture.hasAlphaChannel())
        return picture;
    QImage bitmap(picture.size(), QImage::Format_RGB32);
    if (bitmap.isNull())
        throw StoreError(QStringLiteral("Memoria insufficiente per l'immagine \"%1\".").arg(native(path)));
    bitmap.fill(Qt::white);
    QPainter painter(&bitmap);
    painter.drawImage(0, 0, picture);
    return bitmap;
}

template <typename File>
void writeBitmapTo(File &file, const QString &path, const QImage &picture)
{
    const QImage bitmap = opaqueBitmap(path, picture);
    if (!file.open(QIODevice::WriteOnly))
        throw StoreError(QStringLiteral("Impossibile scrivere \"%1\": %2").arg(native(path), fileErrorText(file)));
    QImageWriter writer(&file, "bmp");
    if (!writer.write(bitmap)) {
        const QString why = writer.errorString();
        if constexpr (std::is_same_v<File, QSaveFile>)
            file.cancelWriting();
        throw StoreError(QStringLiteral("Impossibile scrivere \"%1\": %2").arg(native(path), why));
    }
}

} // namespace

void writeBitmap(const QString &path, const QImage &picture)
{
    QSaveFile file(path);
    writeBitmapTo(file, path, picture);
    if (!file.commit())
        throw StoreError(QStringLiteral("Impossibile scrivere \"%1\": %2").arg(native(path), fileErrorText(file)));
}

void writeStagedBitmap(const QString &path, const QImage &picture)
{
    QFile file(path);
    writeBitmapTo(file, path, picture);
    file.close();
    if (file.error() != QFileDevice::NoError)
        throw StoreError(QStringLiteral("Impossibile scrivere \"%1\": %2").arg(native(path), fileErrorText(file)));
}

QImage readPicture(const QString &path)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull())
        throw StoreError(
            QStringLiteral("Impossibile leggere l'immagine \"%1\": %2").arg(native(path), reader.errorString()));
    return image;
}

QString appraisalDateText(const QDate &date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QDate appraisalDateFrom(const QString &text)
{
    static const QRegularExpression shape(QStringLiteral("^\\d{2}/\\d{2}/\\d{4}$"));
    if (!shape.match(text).hasMatch())
        return {};
    const QDate date = QDate::fromString(text, QStringLiteral("dd/MM/yyyy"));
    if (!date.isValid() || date < kFirstDate || date > kLastDate)
        return {};
    return date;
}

StoredRecord::StoredRecord(const QString &path) : m_path(path)
{
    TableData data = readTableFile(path);
    if (data.rows.isEmpty())
        throw StoreError(QStringLiteral("La tabella \"%1\" non contiene alcun record.").arg(native(path)));
    m_layout = std::move(data.layout);
    m_values = data.rows.constFirst();
}

int StoredRecord::column(const QString &field) const
{
    for (int i = 0; i < m_layout.size(); ++i) {
        if (m_layout.at(i).name.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    throw StoreError(QStringLiteral("Campo \"%1\" non trovato nella tabella \"%2\".").arg(field, native(m_path)));
}

bool StoredRecord::has(const QString &field) const
{
    for (const Column &c : m_layout) {
        if (c.name.compare(field, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString StoredRecord::text(const QString &field) const
{
    const int i = column(field);
    return valueText(m_layout.at(i), m_values.value(i));
}

double StoredRecord::real(const QString &field) const
{
    const int i = column(field);
    return valueReal(m_layout.at(i), m_values.value(i));
}

bool StoredRecord::logical(const QString &field) const
{
    const int i = column(field);
    return valueLogical(m_layout.at(i), m_values.value(i));
}

QString companionPath(const QString &folder, const QString &storedName)
{
    if (storedName.isEmpty() || !isPlainFileName(storedName))
        return {};
    const QString path = QDir(folder).filePath(storedName);
    return QFileInfo(path).isFile() ? path : QString();
}

} // namespace brevan::files
