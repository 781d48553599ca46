#include "controls/FloatText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qireq {

namespace {

// The value rounded to `precision` significant digits: the digits without a
// decimal point and the decimal exponent of the first one.
struct Significand {
    std::string Digits;
    int Exponent = 0;
    bool Negative = false;
};

Significand Decompose(double value, int precision)
{
    Significand s;
    s.Negative = std::signbit(value) && value != 0.0;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", precision - 1, std::fabs(value));
    const std::string text(buffer);
    const std::size_t e = text.find('e');
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] != '.')
            s.Digits += text[i];
    }
    s.Exponent = std::atoi(text.c_str() + e + 1);
    if (value == 0.0)
        s.Exponent = 0;
    return s;
}

std::string TrimTrailingZeros(std::string digits)
{
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    return digits;
}

std::string ExponentText(int exponent, int minDigits, bool plusSign)
{
    std::string number = std::to_string(std::abs(exponent));
    if (static_cast<int>(number.size()) < minDigits)
        number.insert(0, static_cast<std::size_t>(minDigits) - number.size(), '0');
    if (exponent < 0)
        return "E-" + number;
    return (plusSign ? "E+" : "E") + number;
}

std::string Scientific(const Significand& s, const std::string& digits, int expDigits, bool plusSign)
{
    std::string out = s.Negative ? "-" : "";
    out += digits[0];
    if (digits.size() > 1)
        out += "." + digits.substr(1);
    return out + ExponentText(s.Exponent, expDigits, plusSign);
}

// Fixed notation of the rounded significand with `decimals` decimals
// (negative: as many as the significand has).
std::string Fixed(const Significand& s, int decimals, bool thousands)
{
    std::string intPart;
    std::string fracPart;
    if (s.Exponent >= 0) {
        const std::size_t intLen = static_cast<std::size_t>(s.Exponent) + 1;
        intPart = s.Digits.substr(0, std::min(intLen, s.Digits.size()));
        if (intPart.size() < intLen)
            intPart.append(intLen - intPart.size(), '0');
        if (s.Digits.size() > intLen)
            fracPart = s.Digits.substr(intLen);
    } else {
        intPart = "0";
        fracPart = std::string(static_cast<std::size_t>(-s.Exponent - 1), '0') + s.Digits;
    }
    if (decimals < 0) {
        fracPart = TrimTrailingZeros(fracPart);
        if (fracPart == "0")
            fracPart.clear();
    } else if (static_cast<int>(fracPart.size()) > decimals) {
        // Fewer decimals than significant digits: round once more, in text.
        const bool roundUp = fracPart[static_cast<std::size_t>(decimals)] >= '5';
        fracPart.resize(static_cast<std::size_t>(decimals));
        if (roundUp) {
            std::string all = intPart + fracPart;
            int i = static_cast<int>(all.size()) - 1;
            for (; i >= 0; --i) {
                auto& c = all[static_cast<std::size_t>(i)];
                if (c == '9') {
                    c = '0';
                } else {
                    ++c;
                    break;
                }
            }
            if (i < 0)
                all.insert(0, "1");
            intPart = all.substr(0, all.size() - fracPart.size());
            fracPart = all.substr(intPart.size());
        }
    } else {
        fracPart.append(static_cast<std::size_t>(decimals) - fracPart.size(), '0');
    }
    if (thousands) {
        for (int i = static_cast<int>(intPart.size()) - 3; i > 0; i -= 3)
            intPart.insert(static_cast<std::size_t>(i), ",");
    }
    const bool allZero = intPart.find_first_not_of("0,") == std::string::npos &&
                         fracPart.find_first_not_of('0') == std::string::npos;
    std::string out = (s.Negative && !allZero) ? "-" : "";
    out += intPart;
    if (!fracPart.empty())
        out += "." + fracPart;
    return out;
}

}  // namespace

QString FloatToTextF(double value, TStringFloatFormat format, int precision, int digits)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    precision = std::clamp(precision, 1, 18);
    const Significand s = Decompose(value, precision);

    switch (format) {
    case TStringFloatFormat::sffExponent:
        return QString::fromStdString(Scientific(s, s.Digits, std::clamp(digits, 0, 4), true));
    case TStringFloatFormat::sffGeneral:
        break;
    case TStringFloatFormat::sffFixed:
    case TStringFloatFormat::sffNumber:
    case TStringFloatFormat::sffCurrency: {
        if (s.Exponent >= precision)
            break;  // too many integer digits: general notation instead
        const int decimals = std::clamp(digits, 0, 18);
        const bool thousands = format != TStringFloatFormat::sffFixed;
        std::string text = Fixed(s, decimals, thousands);
        if (format == TStringFloatFormat::sffCurrency) {
            if (!text.empty() && text[0] == '-')
                text = "-$" + text.substr(1);
            else
                text = "$" + text;
        }
        return QString::fromStdString(text);
    }
    }

    // General: the shorter of fixed and scientific, without trailing zeros.
    const std::string trimmed = TrimTrailingZeros(s.Digits);
    if (s.Exponent >= precision || s.Exponent < -5)
        return QString::fromStdString(Scientific(s, trimmed, std::clamp(digits, 0, 4), false));
    Significand t = s;
    t.Digits = trimmed;
    return QString::fromStdString(Fixed(t, -1, false));
}

}  // namespace qireq
