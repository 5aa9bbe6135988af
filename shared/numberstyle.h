#pragma once
// The number style of the about box's version line: exactly two decimals, the integer
// digits grouped by thousands, the separators of the user's locale, and at most 15
// significant digits. A value with more than 15 digits before the decimal point
// comes out in exponent form instead, with as many mantissa digits as it needs.
//
//   1.0           , "." ","  -> "1.00"
//   1234.5        , "." ","  -> "1,234.50"
//   1234.5        , "," "."  -> "1.234,50"
//   0.125         , "." ","  -> "0.13"      (halves round away from zero)
//   -1234567.891  , "." ","  -> "-1,234,567.89"
//   1234567890123456.0       -> "1.23456789012346E15"
//   1e20                     -> "1E20"
#include <string>

namespace about {

struct NumberSeparators {
    std::string decimal = ".";
    std::string group = ",";
};

std::string numberStyle(double value, const NumberSeparators &separators);

} // namespace about
