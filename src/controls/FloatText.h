#pragma once
// Number to text in the classic float formats the plot's labels use:
// general (shortest of fixed and scientific), exponent, fixed, number (with
// thousands separators) and currency.
#include <QString>

namespace qireq {

enum class TStringFloatFormat { sffGeneral, sffExponent, sffFixed, sffNumber, sffCurrency };

// precision: significant digits (held to 1..18); digits: for general and
// exponent the least number of exponent digits (0..4), for the others the
// number of decimals (0..18).
QString FloatToTextF(double value, TStringFloatFormat format, int precision, int digits);

}  // namespace qireq
