// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Number text: amounts, rates and measures are held as text with the Italian
// convention ("," decimals, "." thousands), whatever the machine's locale.
#include <QString>
#include <stdexcept>

namespace brevan {

// Raised when a text holds no number. Callers catch it; the application's
// error box shows what() when nobody does.
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString &text);
    const QString &text() const { return m_text; }
private:
    QString m_text;
};

inline constexpr QChar kDecimalSeparator = QLatin1Char(',');
inline constexpr QChar kThousandsSeparator = QLatin1Char('.');

// Keeps the digits and the first decimal comma of the text and reads them as
// a number; everything else (blanks, units, thousands dots, the minus sign)
// is dropped, so the result is never negative. Throws ConversionError when no
// digit is left.
double EstraiNumero(const QString &text);

// "#,##0.00": thousands dots, decimal comma, two decimals rounded half away
// from zero on the 15-digit decimal form of the value.
QString FormattaImporto(double value);

// Plain number text: shortest general form with up to 15 significant digits,
// no thousands separator ("85,25", "1E-5").
QString FloatToText(double value);

// Reads plain number text: optional sign, digits, at most one decimal comma,
// optional exponent; surrounding blanks allowed. Throws ConversionError.
double TextToFloat(const QString &text);

// Like TextToFloat but returns false instead of throwing.
bool TryTextToFloat(const QString &text, double *value);

// Decimal text as the decimal key filter would have let it in: every "."
// becomes ",". For numbers that reach a field from a table written
// elsewhere, which a "." would otherwise make ten or a thousand times larger.
QString withDecimalComma(const QString &text);

} // namespace brevan
