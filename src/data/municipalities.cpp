#include "municipalities.h"

#include <QHash>
#include <QString>

#include <array>
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

// Parses the rows of text. With Storage::Borrow every string refers to the
// text's own characters, which must then outlive the list (the compiled-in
// text does); with Storage::Copy each string owns a copy.
enum class Storage { Borrow, Copy };

MunicipalityList parseRows(QStringView text, Storage storage)
{
    MunicipalityList list;
    if (text.startsWith(QChar(0xFEFF)))
        text = text.mid(1);

    const qsizetype rows = text.count(u'\n') + 1;
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

    // One pass over the characters: the list is read at every start-up.
    const QChar *at = text.data();
    const QChar *const end = at + text.size();
    qsizetype lineNumber = 0;
    while (at < end) {
        ++lineNumber;
        std::array<QStringView, 5> fields;
        qsizetype count = 0;
        const QChar *fieldStart = at;
        for (; at < end && *at != u'\n'; ++at) {
            if (*at != u'\t')
                continue;
            if (count == qsizetype(fields.size()) - 1)
                malformed(lineNumber, "expected 5 tab-separated fields");
            fields[count++] = QStringView(fieldStart, at);
            fieldStart = at + 1;
        }
        QStringView last(fieldStart, at);
        ++at; // past the newline
        if (last.endsWith(u'\r'))
            last.chop(1);
        if (count == 0 && last.isEmpty())
            continue; // the final newline, or a blank line
        if (count != qsizetype(fields.size()) - 1)
            malformed(lineNumber, "expected 5 tab-separated fields");
        fields[count] = last;
        const auto [name, province, code, postal, cadastral] = fields;

        if (name.trimmed().isEmpty())
            malformed(lineNumber, "empty municipality name");
        if (name.size() > MaxNameLength)
            malformed(lineNumber, "municipality name too long");
        if (province.trimmed().isEmpty())
            malformed(lineNumber, "empty province name");
        if (province.size() > MaxProvinceLength)
            malformed(lineNumber, "province name too long");
        if (!isProvinceCode(code))
            malformed(lineNumber, "province code is not two capital letters");
        if (!isPostalCode(postal))
            malformed(lineNumber, "postal code is not up to 5 digits");
        if (!isCadastralCode(cadastral))
            malformed(lineNumber, "cadastral code is not a letter and three digits");

        list.names.append(make(name));
        list.provinces.append(interned(province));
        list.provinceCodes.append(interned(code));
        list.postalCodes.append(make(postal));
        list.cadastralCodes.append(make(cadastral));
    }
    return list;
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

} // namespace brevan
