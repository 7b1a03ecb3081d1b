// SPDX-License-Identifier: GPL-2.0-or-later
#include "quotations.h"
#include "store/oserror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QVarLengthArray>

#include <optional>

namespace brevan::omi {

namespace {

// The largest file taken: a national VALORI file is about 25 MB.
constexpr qint64 kMaxFileSize = 256LL * 1024 * 1024;
// Digits a number may carry: a rent or a price has far fewer, and the exact
// product with the Lire rate must stay inside 64 bits.
constexpr int kMaxDigits = 12;
// The unit-rent table keeps rents as text of at most 15 characters.
constexpr int kMaxRentText = 15;

// Windows-1252 at 0x80..0x9F; the five unassigned bytes keep their Latin-1 value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString displayName(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A column the import reads, by its header name, and whether a file of that
// kind must have it.
struct ColumnSpec {
    const char *header;
    bool required;
};

enum ValueColumn {
    VCode, VProvince, VMunicipality, VBand, VZone, VType, VTypeName, VState, VPrevalent,
    VSaleMin, VSaleMax, VRentMin, VRentMax, VSaleSurface, VRentSurface, ValueColumnCount
};
const ColumnSpec kValueColumns[ValueColumnCount] = {
    {"Comune_amm", true},      {"Prov", false},     {"Comune_descrizione", false}, {"Fascia", true},
    {"Zona", true},            {"Cod_Tip", true},   {"Descr_Tipologia", false},    {"Stato", true},
    {"Stato_prev", false},     {"Compr_min", false}, {"Compr_max", false},         {"Loc_min", true},
    {"Loc_max", true},         {"Sup_NL_compr", false}, {"Sup_NL_loc", false},
};

enum ZoneColumn { ZCode, ZProvince, ZMunicipality, ZBand, ZZone, ZDescription, ZMicrozone, ZoneColumnCount };
const ColumnSpec kZoneColumns[ZoneColumnCount] = {
    {"Comune_amm", true}, {"Prov", false}, {"Comune_descrizione", false}, {"Fascia", true},
    {"Zona", true},       {"Zona_Descr", true}, {"Microzona", false},
};


// The bands of the OMI zones: B centrale, C semicentrale, D periferica,
// E suburbana, R rurale.
bool isBand(QChar c)
{
    return c == u'B' || c == u'C' || c == u'D' || c == u'E' || c == u'R';
}

bool isCadastralCode(QStringView s)
{
    if (s.size() != 4 || s[0] < u'A' || s[0] > u'Z')
        return false;
    for (QChar c : s.mid(1)) {
        if (!c.isDigit() || c.unicode() > 0x7f)
            return false;
    }
    return true;
}

// The header name or a value without blanks and without the quotes some
// exports put around it.
QStringView unquoted(QStringView s, QChar quote)
{
    s = s.trimmed();
    if (s.size() >= 2 && s.front() == quote && s.back() == quote)
        s = s.sliced(1, s.size() - 2).trimmed();
    return s;
}

// Sup_NL_compr and Sup_NL_loc: "L" for gross surface, "N" for net; anything
// else is taken as not given, which the band treats as gross.
QChar surfaceKind(QStringView text)
{
    const QStringView t = unquoted(text, u'"');
    if (t.size() == 1 && (t[0] == u'L' || t[0] == u'N' || t[0] == u'l' || t[0] == u'n'))
        return t[0].toUpper();
    return {};
}

// A zone description without the quotes the files put around it: single
// quotes, sometimes inside double ones. A quote left open (the closing one
// lost) goes too, since no description begins with a quote; a single quote
// at the end stays, being the accent of "CITTA'" as the files write it.
QString descriptionText(QStringView s)
{
    s = unquoted(unquoted(s, u'"'), u'\'');
    if (!s.isEmpty() && (s.front() == u'"' || s.front() == u'\''))
        s = s.sliced(1).trimmed();
    if (!s.isEmpty() && s.back() == u'"')
        s = s.chopped(1).trimmed();
    return s.toString();
}

using Fields = QVarLengthArray<QStringView, 32>;

void splitFields(QStringView line, Fields *fields)
{
    fields->clear();
    qsizetype start = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u';') {
            fields->append(line.sliced(start, i - start));
            start = i + 1;
        }
    }
    fields->append(line.sliced(start));
}

// Where each wanted column is in a header; -1 when absent.
template <std::size_t N>
std::optional<std::array<int, N>> findColumns(const Fields &header, const ColumnSpec (&specs)[N])
{
    std::array<int, N> at;
    at.fill(-1);
    for (std::size_t c = 0; c < N; ++c) {
        for (int i = 0; i < header.size(); ++i) {
            if (unquoted(header[i], u'"').compare(QLatin1String(specs[c].header), Qt::CaseInsensitive) == 0) {
                at[c] = i;
                break;
            }
        }
        if (at[c] < 0 && specs[c].required)
            return std::nullopt;
    }
    return at;
}

bool headerHas(const Fields &header, const char *name)
{
    for (QStringView f : header) {
        if (unquoted(f, u'"').compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// One string per distinct value: a national file repeats a few thousand
// names over 160,000 rows.
class Interner {
public:
    QString operator()(QStringView s)
    {
        const auto it = m_pool.constFind(s);
        if (it != m_pool.cend())
            return it.value();
        // The key views the characters of the stored copy, which live as long
        // as the entry: s itself may be a temporary.
        const QString copy = s.toString();
        m_pool.insert(QStringView(copy), copy);
        return copy;
    }

private:
    QHash<QStringView, QString> m_pool;
};

// Reads the rows of one file after its header.
class RowReader {
public:
    RowReader(QuotationFile *file, const QString &name) : m_file(file), m_name(name) {}

    // A damaged row: noted, and its municipality is taken out of the import.
    // A row whose municipality cannot be told may belong to the municipality
    // of the rows before or after it (the files are in municipality order):
    // both are taken out.
    void damaged(int line, const QString &message, QStringView code)
    {
        Problem p{m_name, line, message, {}};
        if (isCadastralCode(code)) {
            p.codes << code.toString();
        } else {
            if (!m_lastCode.isEmpty())
                p.codes << m_lastCode;
            m_waiting.append(int(m_file->problems.size()));
        }
        for (const QString &c : std::as_const(p.codes))
            m_file->damaged.insert(c);
        m_file->problems.append(p);
    }

    void good(const QString &code)
    {
        for (int i : std::as_const(m_waiting)) {
            QStringList &codes = m_file->problems[i].codes;
            if (!codes.contains(code))
                codes << code;
            m_file->damaged.insert(code);
        }
        m_waiting.clear();
        m_lastCode = code;
    }

    // Checks the count of columns: a row has as many as the header (the
    // empty one after the last ";" included), and nothing beyond the named
    // ones. False (and noted) otherwise. The messages count the columns as
    // the header names them, without the empty field after the final ";".
    bool checkWidth(int line, const Fields &fields, QStringView code)
    {
        const int count = int(fields.size());
        if (count < m_width) {
            // A row that ends with ";" has an empty field after it, which is
            // no column.
            const bool ended = fields.back().trimmed().isEmpty();
            const int columns = ended ? count - 1 : count;
            // Every named column is there but not the ";" after the last one:
            // the row may have been cut inside its last value.
            if (!ended && columns >= m_named)
                damaged(line, QStringLiteral("riga incompleta, manca il \";\" dopo l'ultima colonna"), code);
            else
                damaged(line, QStringLiteral("riga incompleta, %1 colonne invece di %2").arg(columns).arg(m_named),
                        code);
            return false;
        }
        for (int i = count - 1; i >= m_named; --i) {
            if (!fields[i].trimmed().isEmpty()) {
                damaged(line, QStringLiteral("riga con più colonne dell'intestazione (%1 invece di %2)")
                                  .arg(i + 1)
                                  .arg(m_named),
                        code);
                return false;
            }
        }
        return true;
    }

    void setHeader(const Fields &header)
    {
        m_width = int(header.size());
        m_named = m_width;
        while (m_named > 0 && header[m_named - 1].trimmed().isEmpty())
            --m_named;
    }

    Interner intern;

private:
    QuotationFile *m_file;
    QString m_name;
    QString m_lastCode;
    QVector<int> m_waiting; // problems still waiting for the next row's municipality
    int m_width = 0;        // columns of the header
    int m_named = 0;        // of which named
};

QStringView field(const Fields &fields, int column)
{
    return column >= 0 && column < fields.size() ? fields[column].trimmed() : QStringView();
}

QString columnName(const ColumnSpec &spec)
{
    return QString::fromLatin1(spec.header);
}

// Reads one VALORI row; false when it is damaged (already noted).
bool readValueRow(RowReader &reader, int line, const Fields &fields,
                  const std::array<int, ValueColumnCount> &at, ValueRow *row)
{
    const QStringView codeText = unquoted(field(fields, at[VCode]), u'"');
    if (!reader.checkWidth(line, fields, codeText))
        return false;
    if (!isCadastralCode(codeText)) {
        reader.damaged(line, QStringLiteral("codice catastale del Comune \"%1\" non valido").arg(codeText), {});
        return false;
    }
    const QStringView band = field(fields, at[VBand]);
    if (band.size() != 1 || !isBand(band[0])) {
        reader.damaged(line, QStringLiteral("fascia \"%1\" sconosciuta (attese B, C, D, E, R)").arg(band), codeText);
        return false;
    }
    const QStringView zone = unquoted(field(fields, at[VZone]), u'"');
    if (zone.isEmpty()) {
        reader.damaged(line, QStringLiteral("codice della zona mancante"), codeText);
        return false;
    }
    bool typeOk = false;
    const int type = field(fields, at[VType]).toInt(&typeOk);
    if (!typeOk || type < 0) {
        reader.damaged(line, QStringLiteral("codice di tipologia \"%1\" non valido").arg(field(fields, at[VType])),
                       codeText);
        return false;
    }
    Decimal numbers[4];
    const ValueColumn numberColumns[4] = {VSaleMin, VSaleMax, VRentMin, VRentMax};
    for (int n = 0; n < 4; ++n) {
        const QStringView text = field(fields, at[numberColumns[n]]);
        if (!parseDecimal(text, &numbers[n])) {
            reader.damaged(line, QStringLiteral("valore \"%1\" non numerico nella colonna %2")
                                     .arg(text, columnName(kValueColumns[numberColumns[n]])),
                           codeText);
            return false;
        }
        if (n >= 2 && numbers[n].toLire().text().size() > kMaxRentText) {
            reader.damaged(line, QStringLiteral("valore \"%1\" fuori misura nella colonna %2")
                                     .arg(text, columnName(kValueColumns[numberColumns[n]])),
                           codeText);
            return false;
        }
    }
    row->code = reader.intern(codeText);
    row->province = reader.intern(field(fields, at[VProvince]));
    row->municipality = reader.intern(unquoted(field(fields, at[VMunicipality]), u'"'));
    row->band = band[0];
    row->zone = reader.intern(zone);
    row->type = type;
    row->typeName = reader.intern(unquoted(field(fields, at[VTypeName]), u'"'));
    const QString state = field(fields, at[VState]).toString().toUpper();
    row->state = reader.intern(state);
    row->prevalent = field(fields, at[VPrevalent]).compare(u"P", Qt::CaseInsensitive) == 0;
    row->saleMin = numbers[0];
    row->saleMax = numbers[1];
    row->saleSurface = surfaceKind(field(fields, at[VSaleSurface]));
    row->rentSurface = surfaceKind(field(fields, at[VRentSurface]));
    row->rentMin = numbers[2];
    row->rentMax = numbers[3];
    row->line = line;
    reader.good(row->code);
    return true;
}

bool readZoneRow(RowReader &reader, int line, const Fields &fields,
                 const std::array<int, ZoneColumnCount> &at, ZoneRow *row)
{
    const QStringView codeText = unquoted(field(fields, at[ZCode]), u'"');
    if (!reader.checkWidth(line, fields, codeText))
        return false;
    if (!isCadastralCode(codeText)) {
        reader.damaged(line, QStringLiteral("codice catastale del Comune \"%1\" non valido").arg(codeText), {});
        return false;
    }
    const QStringView band = field(fields, at[ZBand]);
    if (band.size() != 1 || !isBand(band[0])) {
        reader.damaged(line, QStringLiteral("fascia \"%1\" sconosciuta (attese B, C, D, E, R)").arg(band), codeText);
        return false;
    }
    const QStringView zone = unquoted(field(fields, at[ZZone]), u'"');
    if (zone.isEmpty()) {
        reader.damaged(line, QStringLiteral("codice della zona mancante"), codeText);
        return false;
    }
    row->code = reader.intern(codeText);
    row->province = reader.intern(field(fields, at[ZProvince]));
    row->municipality = reader.intern(unquoted(field(fields, at[ZMunicipality]), u'"'));
    row->band = band[0];
    row->zone = zone.toString();
    row->description = descriptionText(field(fields, at[ZDescription]));
    row->microzone = reader.intern(unquoted(field(fields, at[ZMicrozone]), u'"'));
    row->line = line;
    reader.good(row->code);
    return true;
}

} // namespace

FileError::FileError(const QString &message) : std::runtime_error(message.toStdString()) {}

double Decimal::toDouble() const
{
    double v = double(units);
    for (int i = 0; i < scale; ++i)
        v /= 10;
    return v;
}

QString Decimal::text() const
{
    QString digits = QString::number(units);
    if (scale == 0)
        return digits;
    if (digits.size() <= scale)
        digits.prepend(QString(scale - digits.size() + 1, u'0'));
    QString whole = digits.left(digits.size() - scale);
    QString fraction = digits.right(scale);
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    return fraction.isEmpty() ? whole : whole + u',' + fraction;
}

Decimal Decimal::toLire() const
{
    // 1936,27 Lire to the Euro: 193627 hundredths.
    Decimal d;
    d.given = given;
    d.units = units * 193627;
    d.scale = scale + 2;
    while (d.scale > 0 && d.units % 10 == 0) {
        d.units /= 10;
        --d.scale;
    }
    return d;
}

int Decimal::compare(const Decimal &a, const Decimal &b)
{
    __int128 x = a.units;
    __int128 y = b.units;
    for (int s = a.scale; s < b.scale; ++s)
        x *= 10;
    for (int s = b.scale; s < a.scale; ++s)
        y *= 10;
    return x < y ? -1 : (x > y ? 1 : 0);
}

bool parseDecimal(QStringView text, Decimal *out)
{
    *out = Decimal();
    text = text.trimmed();
    if (text.isEmpty())
        return true;
    const qsizetype comma = text.indexOf(u',');
    const QStringView whole = comma < 0 ? text : text.first(comma);
    const QStringView fraction = comma < 0 ? QStringView() : text.sliced(comma + 1);
    if (comma >= 0 && fraction.isEmpty())
        return false;
    if (whole.isEmpty() && fraction.isEmpty())
        return false;
    auto allDigits = [](QStringView s) {
        for (QChar c : s) {
            if (c < u'0' || c > u'9')
                return false;
        }
        return true;
    };
    if (!allDigits(fraction))
        return false;
    // Thousands dots: a first group of one to three digits, then groups of three.
    QString digits;
    const QList<QStringView> groups = whole.split(u'.');
    for (int g = 0; g < groups.size(); ++g) {
        const QStringView group = groups.at(g);
        if (!allDigits(group))
            return false;
        if (groups.size() > 1 && (g == 0 ? group.isEmpty() || group.size() > 3 : group.size() != 3))
            return false;
        digits += group;
    }
    digits += fraction;
    qsizetype lead = 0;
    while (lead < digits.size() - 1 && digits.at(lead) == u'0')
        ++lead;
    if (digits.size() - lead > kMaxDigits)
        return false;
    out->units = digits.mid(lead).toLongLong();
    out->scale = int(fraction.size());
    out->given = true;
    while (out->scale > 0 && out->units % 10 == 0) {
        out->units /= 10;
        --out->scale;
    }
    return true;
}

QString Semester::text() const
{
    return isKnown() ? QStringLiteral("%1/%2").arg(year).arg(half) : QString();
}

QString Problem::text() const
{
    return line > 0 ? QStringLiteral("%1, riga %2: %3").arg(displayName(file)).arg(line).arg(message)
                    : QStringLiteral("%1: %2").arg(displayName(file), message);
}

QString decodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    text.resize(bytes.size());
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = b >= 0x80 && b < 0xA0 ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

Semester semesterOfCaption(QStringView caption)
{
    static const QRegularExpression re(QStringLiteral("Semestre\\s+(\\d{4})\\s*/\\s*([12])\\b"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(caption.toString());
    if (!m.hasMatch())
        return {};
    return {m.capturedView(1).toInt(), m.capturedView(2).toInt()};
}

Semester semesterOfFileName(const QString &fileName)
{
    static const QRegularExpression re(QStringLiteral("(?:^|_)(\\d{4})([12])_(?:VALORI|ZONE)\\.csv$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(QFileInfo(fileName).fileName());
    if (!m.hasMatch())
        return {};
    return {m.capturedView(1).toInt(), m.capturedView(2).toInt()};
}

QString companionFileName(const QString &path)
{
    static const QRegularExpression re(QStringLiteral("_(VALORI|ZONE)(\\.csv)$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QFileInfo info(path);
    const QString name = info.fileName();
    const QRegularExpressionMatch m = re.match(name);
    if (!m.hasMatch())
        return {};
    const QString kind = m.captured(1);
    const bool lower = kind.at(0).isLower();
    QString other = kind.compare(QLatin1String("VALORI"), Qt::CaseInsensitive) == 0 ? QStringLiteral("ZONE")
                                                                                      : QStringLiteral("VALORI");
    if (lower)
        other = other.toLower();
    const QString companion = name.left(m.capturedStart(1)) + other + m.captured(2);
    return info.path() == QLatin1String(".") && !path.startsWith(QLatin1String("./"))
               ? companion
               : info.path() + u'/' + companion;
}

QuotationFile readQuotationFile(const QString &path)
{
    QFile file(path);
    const QFileInfo info(path);
    if (!info.exists())
        throw FileError(QStringLiteral("Il file \"%1\" non esiste.").arg(displayName(path)));
    if (!info.isFile())
        throw FileError(QStringLiteral("\"%1\" non è un file.").arg(displayName(path)));
    if (info.size() > kMaxFileSize)
        throw FileError(QStringLiteral("Il file \"%1\" è troppo grande per un file di quotazioni OMI.")
                            .arg(displayName(path)));
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Impossibile leggere il file \"%1\": %2")
                            .arg(displayName(path), fileErrorText(file)));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("Impossibile leggere il file \"%1\": %2")
                            .arg(displayName(path), fileErrorText(file)));
    QuotationFile q = parseQuotations(bytes, path);
    q.path = path;
    return q;
}

QuotationFile parseQuotations(const QByteArray &bytes, const QString &name)
{
    const QString shown = displayName(name);
    const auto notOmi = [&shown](const QString &why) {
        return FileError(QStringLiteral("Il file \"%1\" non contiene quotazioni OMI: %2.").arg(shown, why));
    };
    if (bytes.isEmpty())
        throw notOmi(QStringLiteral("il file è vuoto"));
    if (bytes.contains('\0'))
        throw notOmi(QStringLiteral("non è un file di testo"));

    const QString text = decodeText(bytes);
    QuotationFile q;
    q.path = name;

    // Lines as views into the text, numbered from 1.
    qsizetype pos = 0;
    int lineNumber = 0;
    auto nextLine = [&](QStringView *line) {
        if (pos >= text.size())
            return false;
        qsizetype end = text.indexOf(u'\n', pos);
        if (end < 0)
            end = text.size();
        QStringView l = QStringView(text).sliced(pos, end - pos);
        if (l.endsWith(u'\r'))
            l.chop(1);
        *line = l;
        pos = end + 1;
        ++lineNumber;
        return true;
    };

    // Line 1 is the caption, line 2 the header; a file whose caption was taken
    // off starts with its header.
    QStringView line;
    Fields header;
    nextLine(&line);
    splitFields(line, &header);
    QStringView caption;
    if (!headerHas(header, "Comune_amm")) {
        if (line.contains(u"Comune_amm", Qt::CaseInsensitive))
            throw notOmi(QStringLiteral("intestazione non riconosciuta alla riga 1 (colonne separate da \";\" attese)"));
        caption = line;
        if (!nextLine(&line))
            throw notOmi(QStringLiteral("manca l'intestazione delle colonne (riga 2)"));
        splitFields(line, &header);
    }
    const int headerLine = lineNumber;
    if (!headerHas(header, "Comune_amm"))
        throw notOmi(QStringLiteral("intestazione non riconosciuta alla riga %1 (colonne separate da \";\" attese)")
                         .arg(headerLine));
    q.semester = semesterOfCaption(caption);
    if (!q.semester.isKnown())
        q.semester = semesterOfFileName(name);

    const auto missingColumn = [&](const auto &specs, const Fields &h) {
        for (const ColumnSpec &s : specs) {
            if (s.required && !headerHas(h, s.header))
                return notOmi(QStringLiteral("manca la colonna \"%1\" nell'intestazione (riga %2)")
                                  .arg(QLatin1String(s.header))
                                  .arg(headerLine));
        }
        return notOmi(QStringLiteral("intestazione non riconosciuta alla riga %1").arg(headerLine));
    };

    RowReader reader(&q, name);
    reader.setHeader(header);
    Fields fields;
    const auto isBlank = [](QStringView l) {
        for (QChar c : l) {
            if (c != u';' && !c.isSpace())
                return false;
        }
        return true;
    };

    if (headerHas(header, "Loc_min") || headerHas(header, "Loc_max") || headerHas(header, "Cod_Tip")) {
        q.kind = FileKind::Values;
        const auto at = findColumns(header, kValueColumns);
        if (!at)
            throw missingColumn(kValueColumns, header);
        q.values.reserve(int(text.size() / 120));
        while (nextLine(&line)) {
            if (isBlank(line))
                continue;
            ++q.dataRows;
            splitFields(line, &fields);
            ValueRow row;
            if (readValueRow(reader, lineNumber, fields, *at, &row))
                q.values.append(std::move(row));
        }
    } else if (headerHas(header, "Zona_Descr")) {
        q.kind = FileKind::Zones;
        const auto at = findColumns(header, kZoneColumns);
        if (!at)
            throw missingColumn(kZoneColumns, header);
        while (nextLine(&line)) {
            if (isBlank(line))
                continue;
            ++q.dataRows;
            splitFields(line, &fields);
            ZoneRow row;
            if (readZoneRow(reader, lineNumber, fields, *at, &row))
                q.zones.append(std::move(row));
        }
    } else {
        throw notOmi(QStringLiteral("l'intestazione alla riga %1 non è né dei valori né delle zone").arg(headerLine));
    }
    return q;
}

} // namespace brevan::omi
