// SPDX-License-Identifier: GPL-2.0-or-later
#include "numbertext.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace brevan {

ConversionError::ConversionError(const QString &text)
    : std::runtime_error(QStringLiteral("'%1' non è un valore numerico valido.").arg(text).toStdString())
    , m_text(text)
{
}

namespace {

// The value as 15 significant decimal digits (no leading zero unless the value
// is zero) and the decimal exponent of the first digit: value ≈ 0.d1d2…d15 × 10^(exp10+1).
struct Decimal15 {
    bool negative = false;
    std::string digits; // exactly 15 digits
    int exp10 = 0;      // exponent of the first digit
};

Decimal15 toDecimal15(double value)
{
    Decimal15 d;
    d.negative = std::signbit(value) && value != 0.0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    // buf: "d.ddddddddddddddde±XX"
    const std::string s(buf);
    const auto e = s.find('e');
    d.digits = s.substr(0, 1) + s.substr(2, e - 2);
    d.exp10 = std::atoi(s.c_str() + e + 1);
    if (value == 0.0)
        d.exp10 = 0;
    return d;
}

QString groupThousands(const QString &intPart)
{
    QString out;
    const int n = intPart.size();
    out.reserve(n + n / 3);
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += kThousandsSeparator;
        out += intPart.at(i);
    }
    return out;
}

} // namespace

double EstraiNumero(const QString &text)
{
    std::string kept;
    kept.reserve(static_cast<size_t>(text.size()));
    bool seenSeparator = false;
    bool seenDigit = false;
    for (const QChar c : text) {
        if (c == kDecimalSeparator) {
            if (!seenSeparator) {
                kept += '.';
                seenSeparator = true;
            }
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            kept += static_cast<char>(c.unicode());
            seenDigit = true;
        }
    }
    if (!seenDigit)
        throw ConversionError(text);
    return std::strtod(kept.c_str(), nullptr);
}

QString FormattaImporto(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    const Decimal15 d = toDecimal15(value);
    // Place the 15 digits on a fixed-point grid and round half away from zero
    // at the second decimal.
    std::string intDigits;
    std::string fracDigits;
    if (d.exp10 >= 0) {
        const size_t nInt = static_cast<size_t>(d.exp10) + 1;
        if (nInt >= d.digits.size()) {
            intDigits = d.digits + std::string(nInt - d.digits.size(), '0');
        } else {
            intDigits = d.digits.substr(0, nInt);
            fracDigits = d.digits.substr(nInt);
        }
    } else {
        intDigits = "0";
        fracDigits = std::string(static_cast<size_t>(-d.exp10 - 1), '0') + d.digits;
    }
    fracDigits.resize(std::max<size_t>(fracDigits.size(), 3), '0');
    const bool roundUp = fracDigits[2] >= '5';
    std::string kept = intDigits + fracDigits.substr(0, 2);
    if (roundUp) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[static_cast<size_t>(i)] == '9') {
            kept[static_cast<size_t>(i)] = '0';
            --i;
        }
        if (i < 0)
            kept.insert(kept.begin(), '1');
        else
            ++kept[static_cast<size_t>(i)];
    }
    std::string intPart = kept.substr(0, kept.size() - 2);
    const std::string frac = kept.substr(kept.size() - 2);
    const size_t firstNonZero = intPart.find_first_not_of('0');
    intPart = firstNonZero == std::string::npos ? "0" : intPart.substr(firstNonZero);
    const bool isZero = intPart == "0" && frac == "00";
    QString out;
    if (d.negative && !isZero)
        out += QLatin1Char('-');
    out += groupThousands(QString::fromLatin1(intPart.c_str()));
    out += kDecimalSeparator;
    out += QString::fromLatin1(frac.c_str());
    return out;
}

QString FloatToText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0.0)
        return QStringLiteral("0");
    Decimal15 d = toDecimal15(value);
    // Round away digits beyond 15 already done by printf; drop trailing zeros.
    std::string digits = d.digits;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    QString out;
    if (d.negative)
        out += QLatin1Char('-');
    const int n = static_cast<int>(digits.size());
    if (d.exp10 >= 15 || d.exp10 < -4) {
        out += QLatin1Char(digits[0]);
        if (n > 1) {
            out += kDecimalSeparator;
            out += QString::fromLatin1(digits.c_str() + 1);
        }
        out += QLatin1Char('E');
        out += QString::number(d.exp10);
        return out;
    }
    if (d.exp10 >= 0) {
        if (n <= d.exp10 + 1) {
            out += QString::fromLatin1(digits.c_str());
            out += QString(d.exp10 + 1 - n, QLatin1Char('0'));
        } else {
            out += QString::fromLatin1(digits.c_str(), d.exp10 + 1);
            out += kDecimalSeparator;
            out += QString::fromLatin1(digits.c_str() + d.exp10 + 1);
        }
    } else {
        out += QLatin1Char('0');
        out += kDecimalSeparator;
        out += QString(-d.exp10 - 1, QLatin1Char('0'));
        out += QString::fromLatin1(digits.c_str());
    }
    return out;
}

bool TryTextToFloat(const QString &text, double *value)
{
    const QString t = text.trimmed();
    std::string s;
    s.reserve(static_cast<size_t>(t.size()));
    int i = 0;
    const int n = t.size();
    auto isDigit = [&](int k) { return k < n && t.at(k) >= QLatin1Char('0') && t.at(k) <= QLatin1Char('9'); };
    if (i < n && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
        s += static_cast<char>(t.at(i++).unicode());
    int mantissaDigits = 0;
    while (isDigit(i)) {
        s += static_cast<char>(t.at(i++).unicode());
        ++mantissaDigits;
    }
    if (i < n && t.at(i) == kDecimalSeparator) {
        s += '.';
        ++i;
        while (isDigit(i)) {
            s += static_cast<char>(t.at(i++).unicode());
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < n && (t.at(i) == QLatin1Char('e') || t.at(i) == QLatin1Char('E'))) {
        s += 'e';
        ++i;
        if (i < n && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
            s += static_cast<char>(t.at(i++).unicode());
        if (!isDigit(i))
            return false;
        while (isDigit(i))
            s += static_cast<char>(t.at(i++).unicode());
    }
    if (i != n)
        return false;
    const double v = std::strtod(s.c_str(), nullptr);
    if (!std::isfinite(v))
        return false;
    if (value)
        *value = v;
    return true;
}

QString withDecimalComma(const QString &text)
{
    QString out = text;
    out.replace(kThousandsSeparator, kDecimalSeparator);
    return out;
}

double TextToFloat(const QString &text)
{
    double v = 0;
    if (!TryTextToFloat(text, &v))
        throw ConversionError(text);
    return v;
}

} // namespace brevan
