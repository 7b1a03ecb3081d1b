// SPDX-License-Identifier: GPL-2.0-or-later
#include "municipalities.h"

#include <QDate>
#include <QHash>
#include <QString>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

extern const char16_t kComuniText[];
extern const unsigned long long kComuniTextLength;

namespace brevan {

namespace {

constexpr qsizetype MaxNameLength = 50;
constexpr qsizetype MaxProvinceLength = 20;
constexpr qsizetype MaxPostalCodeLength = 5;

[[noreturn]] void malformed(qsizetype lineNumber, const char *what)
{
    throw std::runtime_error("comuni.tsv line " + std::to_string(lineNumber) + ": " + what);
}

bool isProvinceCode(QStringView s)
{
    if (s.size() != 2)
        return false;
    for (QChar c : s) {
        if (c < u'A' || c > u'Z')
            return false;
    }
    return true;
}

bool isCadastralCode(QStringView s)
{
    if (s.size() != 4 || s[0] < u'A' || s[0] > u'Z')
        return false;
    for (QChar c : s.mid(1)) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

bool isPostalCode(QStringView s)
{
    if (s.size() > MaxPostalCodeLength)
        return false;
    for (QChar c : s) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// Empty, or "yyyy-mm-dd" with a month and a day that can be; checked by hand
// because the list is read at every start-up.
bool isIsoDate(QStringView s)
{
    if (s.isEmpty())
        return true;
    if (s.size() != 10 || s[4] != u'-' || s[7] != u'-')
        return false;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (s[i] < u'0' || s[i] > u'9')
            return false;
    }
    const int month = (s[5].unicode() - u'0') * 10 + (s[6].unicode() - u'0');
    const int day = (s[8].unicode() - u'0') * 10 + (s[9].unicode() - u'0');
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

// One row of the text: five fields (a municipality in force) or eight (with
// the dates it was in force and where it went when it ceased or was renamed).
struct Row {
    QStringView name, province, code, postal, cadastral, from, until, successor;
    bool inForce() const { return until.isEmpty() && successor.isEmpty(); }
};

// Calls take(row) for every row of text, checked; throws on a malformed one.
template <typename Take>
void forEachRow(QStringView text, Take take)
{
    if (text.startsWith(QChar(0xFEFF)))
        text = text.mid(1);

    // One pass over the characters: the list is read at every start-up.
    const QChar *at = text.data();
    const QChar *const end = at + text.size();
    qsizetype lineNumber = 0;
    while (at < end) {
        ++lineNumber;
        std::array<QStringView, 8> fields;
        qsizetype count = 0;
        const QChar *fieldStart = at;
        for (; at < end && *at != u'\n'; ++at) {
            if (*at != u'\t')
                continue;
            if (count == qsizetype(fields.size()) - 1)
                malformed(lineNumber, "expected 5 or 8 tab-separated fields");
            fields[count++] = QStringView(fieldStart, at);
            fieldStart = at + 1;
        }
        QStringView last(fieldStart, at);
        ++at; // past the newline
        if (last.endsWith(u'\r'))
            last.chop(1);
        if (count == 0 && last.isEmpty())
            continue; // the final newline, or a blank line
        if (count != 4 && count != 7)
            malformed(lineNumber, "expected 5 or 8 tab-separated fields");
        fields[count] = last;
        const Row row{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], fields[7]};

        if (row.name.trimmed().isEmpty())
            malformed(lineNumber, "empty municipality name");
        if (row.name.size() > MaxNameLength)
            malformed(lineNumber, "municipality name too long");
        if (row.province.trimmed().isEmpty())
            malformed(lineNumber, "empty province name");
        if (row.province.size() > MaxProvinceLength)
            malformed(lineNumber, "province name too long");
        if (!isProvinceCode(row.code))
            malformed(lineNumber, "province code is not two capital letters");
        if (!isPostalCode(row.postal))
            malformed(lineNumber, "postal code is not up to 5 digits");
        if (!isCadastralCode(row.cadastral))
            malformed(lineNumber, "cadastral code is not a letter and three digits");
        if (!isIsoDate(row.from) || !isIsoDate(row.until))
            malformed(lineNumber, "date is not yyyy-mm-dd");
        if (!row.successor.isEmpty() && !isCadastralCode(row.successor))
            malformed(lineNumber, "successor is not a cadastral code");
        // A former name (no end date) points at the municipality's own code.
        if (row.until.isEmpty() && !row.successor.isEmpty() && row.successor != row.cadastral)
            malformed(lineNumber, "former name pointing at another municipality");
        take(row);
    }
}

// Parses the rows in force. With Storage::Borrow every string refers to the
// text's own characters, which must then outlive the list (the compiled-in
// text does); with Storage::Copy each string owns a copy.
enum class Storage { Borrow, Copy };

// Whether a row was in force on the day written "yyyy-mm-dd" (ISO dates
// compare as text). A former name never is: its municipality's row, under
// today's name, stands for it.
bool inForceOn(const Row &row, QStringView isoDay)
{
    const bool formerName = row.until.isEmpty() && !row.successor.isEmpty();
    return !formerName && row.from <= isoDay && (row.until.isEmpty() || isoDay < row.until);
}

// isoDay empty: the rows in force today.
MunicipalityList parseRows(QStringView text, Storage storage, QStringView isoDay = {})
{
    MunicipalityList list;
    // Rows in force end with their two empty columns; reserving for those
    // alone keeps the former rows from costing memory at every start-up.
    qsizetype rows = text.count(u"\t\t\n");
    if (rows == 0)
        rows = text.count(u'\n') + 1;
    list.names.reserve(rows);
    list.provinces.reserve(rows);
    list.provinceCodes.reserve(rows);
    list.postalCodes.reserve(rows);
    list.cadastralCodes.reserve(rows);

    auto make = [storage](QStringView field) {
        return storage == Storage::Borrow ? QString::fromRawData(field.data(), field.size()) : field.toString();
    };
    // About a hundred provinces repeat over thousands of rows: with copies,
    // share one string per province instead of allocating each row's.
    QHash<QStringView, QString> pool;
    auto interned = [&](QStringView value) {
        if (storage == Storage::Borrow)
            return make(value);
        auto it = pool.constFind(value);
        if (it == pool.cend())
            it = pool.insert(value, value.toString());
        return it.value();
    };

    forEachRow(text, [&](const Row &row) {
        if (isoDay.isEmpty() ? !row.inForce() : !inForceOn(row, isoDay))
            return;
        list.names.append(make(row.name));
        list.provinces.append(interned(row.province));
        list.provinceCodes.append(interned(row.code));
        list.postalCodes.append(make(row.postal));
        list.cadastralCodes.append(make(row.cadastral));
    });
    return list;
}

QList<FormerMunicipality> parseFormerRows(QStringView text)
{
    QList<FormerMunicipality> former;
    forEachRow(text, [&](const Row &row) {
        if (row.inForce())
            return;
        const QDate ceased = QDate::fromString(row.until.toString(), Qt::ISODate);
        if (!row.until.isEmpty() && !ceased.isValid())
            throw std::runtime_error("comuni.tsv: no such day " + row.until.toString().toStdString());
        former.append({row.name.toString(), row.province.toString(), row.code.toString(), row.postal.toString(),
                       row.cadastral.toString(), ceased, row.successor.toString()});
    });
    return former;
}

const QList<FormerMunicipality> &formerMunicipalities()
{
    static const QList<FormerMunicipality> former =
        parseFormerRows(QStringView(kComuniText, qsizetype(kComuniTextLength)));
    return former;
}

} // namespace

MunicipalityList parseMunicipalities(const QString &tsv)
{
    return parseRows(tsv, Storage::Copy);
}

const MunicipalityList &municipalities()
{
    // The compiled-in list is UTF-16 already: its strings are read in place,
    // with no copy of the 8,000 names.
    static const MunicipalityList list =
        parseRows(QStringView(kComuniText, qsizetype(kComuniTextLength)), Storage::Borrow);
    return list;
}

MunicipalityList parseMunicipalitiesAt(const QString &tsv, const QDate &date)
{
    return parseRows(tsv, Storage::Copy, date.toString(Qt::ISODate));
}

const MunicipalityList &municipalitiesAt(const QDate &date)
{
    // A new appraisal is dated today: the list in hand, with no pass over
    // the text at start-up.
    if (!date.isValid() || date >= QDate::currentDate())
        return municipalities();
    const QStringView text(kComuniText, qsizetype(kComuniTextLength));
    // The days the list changed, in order: a municipality made or ceased.
    static const QStringList changes = [text] {
        QStringList days;
        forEachRow(text, [&days](const Row &row) {
            if (!row.from.isEmpty())
                days.append(row.from.toString());
            if (!row.until.isEmpty())
                days.append(row.until.toString());
        });
        days.sort();
        days.removeDuplicates();
        return days;
    }();
    if (changes.isEmpty())
        return municipalities();
    const QString day = date.toString(Qt::ISODate);
    // The last change on or before the day names the list of that day; before
    // the first change, the first list.
    auto last = std::upper_bound(changes.cbegin(), changes.cend(), day);
    const QString epoch = last == changes.cbegin() ? changes.first() : *(last - 1);
    if (epoch == changes.last())
        return municipalities();

    static std::mutex guard;
    static std::map<QString, std::unique_ptr<MunicipalityList>> lists;
    const std::lock_guard<std::mutex> lock(guard);
    std::unique_ptr<MunicipalityList> &list = lists[epoch];
    if (!list)
        list = std::make_unique<MunicipalityList>(parseRows(text, Storage::Borrow, epoch));
    return *list;
}

QList<FormerMunicipality> parseFormerMunicipalities(const QString &tsv)
{
    return parseFormerRows(tsv);
}

int municipalityRow(const QString &name, const QString &provinceCode, Qt::CaseSensitivity cs)
{
    return municipalityRow(municipalities(), name, provinceCode, cs);
}

int rowWithCadastralCode(const MunicipalityList &list, const QString &code)
{
    if (&list == &municipalities())
        return municipalityByCadastralCode(code);
    const QString wanted = code.trimmed().toUpper();
    return wanted.isEmpty() ? -1 : int(list.cadastralCodes.indexOf(wanted));
}

int municipalityRow(const MunicipalityList &list, const QString &name, const QString &provinceCode,
                    Qt::CaseSensitivity cs)
{
    if (name.isEmpty())
        return -1;
    for (int i = 0; i < list.size(); ++i) {
        if (QString::compare(list.names.at(i), name, cs) == 0
            && (provinceCode.isEmpty() || list.provinceCodes.at(i) == provinceCode))
            return i;
    }
    return -1;
}

int municipalityByCadastralCode(const QString &code)
{
    static const QHash<QString, int> index = [] {
        const MunicipalityList &list = municipalities();
        QHash<QString, int> h;
        h.reserve(list.size());
        for (int i = 0; i < list.size(); ++i)
            h.insert(list.cadastralCodes.at(i), i);
        return h;
    }();
    return index.value(code.trimmed().toUpper(), -1);
}

std::optional<FormerMunicipality> formerMunicipality(const QString &name, const QString &provinceCode)
{
    const QString wanted = name.trimmed();
    if (wanted.isEmpty())
        return std::nullopt;
    const auto sameName = [&wanted](const QString &other) {
        return QString::compare(other, wanted, Qt::CaseInsensitive) == 0;
    };
    const auto sameProvince = [&provinceCode](const QString &other) {
        return provinceCode.isEmpty() || other == provinceCode;
    };
    const MunicipalityList &list = municipalities();
    for (int i = 0; i < list.size(); ++i) {
        if (sameName(list.names.at(i)) && sameProvince(list.provinceCodes.at(i)))
            return std::nullopt;
    }
    // A former name first, then the municipality that ceased last.
    const FormerMunicipality *best = nullptr;
    for (const FormerMunicipality &f : formerMunicipalities()) {
        if (!sameName(f.name) || !sameProvince(f.provinceCode))
            continue;
        if (!best || (f.renamed() && !best->renamed())
            || (f.renamed() == best->renamed() && f.ceased > best->ceased))
            best = &f;
    }
    if (!best)
        return std::nullopt;
    return *best;
}

std::optional<FormerMunicipality> formerMunicipalityByCadastralCode(const QString &code)
{
    const QString wanted = code.trimmed().toUpper();
    if (municipalityByCadastralCode(wanted) >= 0)
        return std::nullopt;
    for (const FormerMunicipality &f : formerMunicipalities()) {
        if (!f.renamed() && f.cadastralCode == wanted)
            return f;
    }
    return std::nullopt;
}

int successorInForce(const FormerMunicipality &former)
{
    QString code = former.successorCode;
    // A municipality merged into one that merged in turn: a few steps at
    // most; the bound keeps a malformed list from looping.
    for (int step = 0; step < 16 && !code.isEmpty(); ++step) {
        const int at = municipalityByCadastralCode(code);
        if (at >= 0)
            return at;
        const std::optional<FormerMunicipality> next = formerMunicipalityByCadastralCode(code);
        if (!next)
            return -1;
        code = next->successorCode;
    }
    return -1;
}

QString formerMunicipalityNote(const FormerMunicipality &former)
{
    const int successor = successorInForce(former);
    const QString successorName = successor >= 0 ? municipalities().names.at(successor) : QString();
    if (former.renamed())
        return successorName.isEmpty() ? QStringLiteral("Comune rinominato")
                                       : QStringLiteral("Comune rinominato in %1").arg(successorName);
    QString note = QStringLiteral("Comune soppresso il %1").arg(former.ceased.toString(QStringLiteral("dd/MM/yyyy")));
    if (!successorName.isEmpty())
        note += QStringLiteral(": ora %1").arg(successorName);
    return note;
}

} // namespace brevan
