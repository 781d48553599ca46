#include "filters/FilterNumbers.h"

#include <QString>

#include <cmath>

namespace qireq {

namespace {

bool IsSeparator(QChar c)
{
    return c == QLatin1Char('.') || c == QLatin1Char(',');
}

bool IsDigitSpace(QChar c)
{
    return c == QChar(0x00A0) || c == QChar(0x202F) || c == QChar(0x2009);
}

// Splits "12,5e-3" into sign, mantissa ("12,5") and exponent ("e-3"), and
// checks that nothing else is there. Digit spaces are dropped here: they only
// ever group thousands.
struct NumberParts {
    QString sign;
    QString mantissa;  // digits and separators
    QString exponent;  // empty or "e" with sign and digits
};

std::optional<NumberParts> SplitNumber(QStringView text)
{
    const QStringView t = text.trimmed();
    NumberParts parts;
    qsizetype i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        parts.sign = t[i++];
    bool digits = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c.isDigit() && c.unicode() < 128) {
            parts.mantissa += c;
            digits = true;
        } else if (IsSeparator(c)) {
            parts.mantissa += c;
        } else if (IsDigitSpace(c) && digits && i + 1 < t.size() && t[i + 1].isDigit()) {
            continue;
        } else {
            break;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < t.size() && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        parts.exponent = QStringLiteral("e");
        ++i;
        if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            parts.exponent += t[i++];
        const qsizetype start = i;
        while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128)
            parts.exponent += t[i++];
        if (i == start)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    return parts;
}

// The mantissa with "." as its only separator, the decimal mark; thousands
// separators removed. `frequency` turns on the thousands rule for lone marks.
std::optional<QString> NormalisedMantissa(const QString& mantissa, bool frequency)
{
    const qsizetype dots = mantissa.count(QLatin1Char('.'));
    const qsizetype commas = mantissa.count(QLatin1Char(','));
    QString digits = mantissa;
    if (dots > 0 && commas > 0) {
        // Both marks: the last one is the decimal mark, the other groups.
        const qsizetype lastDot = mantissa.lastIndexOf(QLatin1Char('.'));
        const qsizetype lastComma = mantissa.lastIndexOf(QLatin1Char(','));
        const QChar decimal = lastDot > lastComma ? QLatin1Char('.') : QLatin1Char(',');
        const QChar group = lastDot > lastComma ? QLatin1Char(',') : QLatin1Char('.');
        if (mantissa.count(decimal) != 1)
            return std::nullopt;
        digits.remove(group);
        digits.replace(decimal, QLatin1Char('.'));
        return digits;
    }
    const qsizetype marks = dots + commas;
    if (marks == 0)
        return digits;
    const QChar mark = dots > 0 ? QLatin1Char('.') : QLatin1Char(',');
    if (marks > 1) {
        if (!frequency)
            return std::nullopt;
        digits.remove(mark);  // "1,234,567"
        return digits;
    }
    const qsizetype at = mantissa.indexOf(mark);
    if (frequency && mantissa.size() >= 5 && at == mantissa.size() - 4) {
        digits.remove(mark);  // "1,549": REW's thousands separator
        return digits;
    }
    digits.replace(mark, QLatin1Char('.'));
    return digits;
}

std::optional<double> Parse(QStringView text, bool frequency)
{
    const std::optional<NumberParts> parts = SplitNumber(text);
    if (!parts)
        return std::nullopt;
    // An exponent makes the thousands rule meaningless: "1.549e3" is 1549.
    const std::optional<QString> mantissa =
        NormalisedMantissa(parts->mantissa, frequency && parts->exponent.isEmpty());
    if (!mantissa)
        return std::nullopt;
    bool ok = false;
    // QString::toDouble always reads the C locale's form, "." as the mark.
    const double value = (parts->sign + *mantissa + parts->exponent).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<double> ParseFilterNumber(QStringView text)
{
    return Parse(text, false);
}

std::optional<double> ParseFrequency(QStringView text)
{
    return Parse(text, true);
}

}  // namespace qireq
