#include "appraisalfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QRegularExpression>
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

struct CompanionDef {
    Companion kind;
    const char *prefix;
    const char *extension;
    const char *field;
};

const CompanionDef kCompanionDefs[] = {
    {Companion::Photo, "Foto - ", ".bmp", "FotoImmob"},
    {Companion::AreaPlan, "PlanimZona - ", ".bmp", "PlanimZonaImmob"},
    {Companion::UnitPlan, "Planim - ", ".bmp", "PlanimImmob"},
    {Companion::Surfaces, "Superfici - ", ".db", "SuperficiImmob"},
    {Companion::Comparables, "ImmobConfr - ", ".db", "TableNameImmobConfr"},
    {Companion::Mca, "MCA - ", ".db", ""},
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
    for (const CompanionDef &d : kCompanionDefs)
        longest = std::max<qsizetype>(longest, qstrlen(d.prefix) + qstrlen(d.extension));
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

QString companionStem(const QString &text)
{
    const qsizetype frame = longestFrame();
    QString stem = fileNameSafe(text);
    const qsizetype maxChars = kCompanionFieldSize - frame;
    const qsizetype maxBytes = kFileNameBytes - frame;
    auto tooLong = [&] { return stem.size() > maxChars || stem.toUtf8().size() > maxBytes; };
    while (tooLong()) {
        qsizetype cut = stem.size() - 1;
        // Never leave half of a surrogate pair behind.
        if (cut > 0 && stem.at(cut).isLowSurrogate())
            --cut;
        stem.truncate(cut);
    }
    return stem;
}

QString suggestedTableName(const QString &name)
{
    return kTablePrefix + companionStem(name) + kDb;
}

QString stemForTable(const QString &tableFileName)
{
    QString name = QFileInfo(tableFileName).fileName();
    if (name.endsWith(kDb, Qt::CaseInsensitive))
        name.chop(kDb.size());
    if (name.startsWith(kTablePrefix, Qt::CaseInsensitive))
        name.remove(0, kTablePrefix.size());
    return companionStem(name);
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
    return QString::fromUtf8(d.prefix) + stem + QString::fromUtf8(d.extension);
}

QString companionField(Companion c)
{
    return QString::fromLatin1(def(c).field);
}

Layout recordLayout()
{
    Layout l;
    for (const FieldDef &f : recordFields())
        l << Column{QString::fromLatin1(f.name), columnType(f.type), f.size};
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
        table.append(row);
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
                             .arg(native(path), QString::fromLocal8Bit(std::strerror(err))));
    }
}

void writeBitmap(const QString &path, const QImage &picture)
{
    QImage bitmap;
    if (picture.hasAlphaChannel()) {
        bitmap = QImage(picture.size(), QImage::Format_RGB32);
        if (bitmap.isNull())
            throw StoreError(QStringLiteral("Memoria insufficiente per l'immagine \"%1\".").arg(native(path)));
        bitmap.fill(Qt::white);
        QPainter painter(&bitmap);
        painter.drawImage(0, 0, picture);
    } else {
        bitmap = picture;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw StoreError(QStringLiteral("Impossibile scrivere \"%1\": %2").arg(native(path), file.errorString()));
    QImageWriter writer(&file, "bmp");
    if (!writer.write(bitmap)) {
        const QString why = writer.errorString();
        file.cancelWriting();
        throw StoreError(QStringLiteral("Impossibile scrivere \"%1\": %2").arg(native(path), why));
    }
    if (!file.commit())
        throw StoreError(QStringLiteral("Impossibile scrivere \"%1\": %2").arg(native(path), file.errorString()));
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

StoredRecord::StoredRecord(const QString &path) : m_table(Table::open(path, Trust::Foreign, false))
{
    const QVector<qint64> ids = m_table.rowIds();
    if (ids.isEmpty())
        throw StoreError(QStringLiteral("La tabella \"%1\" non contiene alcun record.").arg(native(path)));
    m_row = ids.constFirst();
}

bool StoredRecord::has(const QString &field) const
{
    return m_table.columnIndex(field) >= 0;
}

QString StoredRecord::text(const QString &field) const
{
    return m_table.text(m_row, field);
}

bool StoredRecord::logical(const QString &field) const
{
    return m_table.logical(m_row, field);
}

QString companionPath(const QString &folder, const QString &storedName)
{
    if (storedName.isEmpty() || !isPlainFileName(storedName))
        return {};
    const QString path = QDir(folder).filePath(storedName);
    return QFileInfo(path).isFile() ? path : QString();
}

} // namespace brevan::files
