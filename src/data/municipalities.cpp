#include "municipalities.h"

#include <QFile>
#include <QHash>
#include <QString>

#include <stdexcept>
#include <string>

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

MunicipalityList loadResource()
{
    QFile file(QStringLiteral(":/data/comuni.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("municipality list resource :/data/comuni.tsv is missing");
    return parseMunicipalities(QString::fromUtf8(file.readAll()));
}

} // namespace

MunicipalityList parseMunicipalities(const QString &tsv)
{
    MunicipalityList list;
    QStringView text(tsv);
    if (text.startsWith(QChar(0xFEFF)))
        text = text.mid(1);

    const auto lines = text.split(u'\n');
    list.names.reserve(lines.size());
    list.provinces.reserve(lines.size());
    list.provinceCodes.reserve(lines.size());
    list.postalCodes.reserve(lines.size());

    QHash<QStringView, QString> provinceNames;
    QHash<QStringView, QString> provinceCodes;
    auto interned = [](QHash<QStringView, QString> &pool, QStringView value) {
        auto it = pool.constFind(value);
        if (it == pool.cend())
            it = pool.insert(value, value.toString());
        return it.value();
    };
    qsizetype lineNumber = 0;
    for (QStringView line : lines) {
        ++lineNumber;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty())
            continue; // the final newline, or a blank line

        const auto fields = line.split(u'\t');
        if (fields.size() != 4)
            malformed(lineNumber, "expected 4 tab-separated fields");
        const QStringView name = fields[0];
        const QStringView province = fields[1];
        const QStringView code = fields[2];
        const QStringView postal = fields[3];

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

        list.names.append(name.toString());
        // About a hundred provinces repeat over thousands of rows: share one
        // string per province instead of allocating each row's copy.
        list.provinces.append(interned(provinceNames, province));
        list.provinceCodes.append(interned(provinceCodes, code));
        list.postalCodes.append(postal.toString());
    }
    return list;
}

const MunicipalityList &municipalities()
{
    static const MunicipalityList list = loadResource();
    return list;
}

} // namespace brevan
