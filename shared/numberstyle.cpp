#include "numberstyle.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace about {
namespace {

constexpr int kPrecision = 15; // significant digits
constexpr int kDecimals = 2;

// A positive value as decimal digits d0 d1 d2 ... with value = 0.d0d1d2... * 10^exponent10.
struct Decimal {
    std::string digits;
    int exponent10 = 0;
};

// The digits of value, exact far beyond the 15 that are kept.
Decimal decimalOf(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.30e", value);
    Decimal decimal;
    const char *p = text;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            decimal.digits += *p;
    decimal.exponent10 = std::atoi(p + 1) + 1;
    return decimal;
}

// Keeps the first `keep` digits, rounding the rest half away from zero; a carry out of
// the first digit raises the exponent. Fewer than one kept digit may round up to one.
void roundTo(Decimal &decimal, int keep)
{
    if (keep < 0) {
        decimal.digits.clear();
        return;
    }
    if (static_cast<size_t>(keep) >= decimal.digits.size())
        return;
    const bool roundUp = decimal.digits[static_cast<size_t>(keep)] >= '5';
    decimal.digits.resize(static_cast<size_t>(keep));
    if (roundUp) {
        int i = keep - 1;
        for (; i >= 0; --i) {
            char &digit = decimal.digits[static_cast<size_t>(i)];
            if (digit != '9') {
                ++digit;
                break;
            }
            digit = '0';
        }
        if (i < 0) {
            decimal.digits.insert(decimal.digits.begin(), '1');
            ++decimal.exponent10;
        }
    }
    while (!decimal.digits.empty() && decimal.digits.back() == '0')
        decimal.digits.pop_back();
}

char digitAt(const Decimal &decimal, int index)
{
    return index >= 0 && static_cast<size_t>(index) < decimal.digits.size()
        ? decimal.digits[static_cast<size_t>(index)] : '0';
}

std::string exponentForm(const Decimal &decimal, const NumberSeparators &separators)
{
    std::string text(1, digitAt(decimal, 0));
    if (decimal.digits.size() > 1)
        text += separators.decimal + decimal.digits.substr(1);
    text += 'E';
    text += std::to_string(decimal.exponent10 - 1);
    return text;
}

std::string groupedForm(const Decimal &decimal, const NumberSeparators &separators)
{
    std::string text;
    const int integerDigits = decimal.exponent10;
    if (integerDigits <= 0) {
        text = "0";
    } else {
        for (int i = 0; i < integerDigits; ++i) {
            if (i > 0 && (integerDigits - i) % 3 == 0)
                text += separators.group;
            text += digitAt(decimal, i);
        }
    }
    text += separators.decimal;
    for (int i = 0; i < kDecimals; ++i)
        text += digitAt(decimal, integerDigits + i);
    return text;
}

} // namespace

std::string numberStyle(double value, const NumberSeparators &separators)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";

    if (value == 0)
        return groupedForm(Decimal{}, separators);
    const bool negative = value < 0;
    Decimal decimal = decimalOf(std::fabs(value));
    roundTo(decimal, std::min(kPrecision, decimal.exponent10 + kDecimals));
    if (decimal.digits.empty())
        return groupedForm(Decimal{}, separators); // rounded to zero: no sign
    const std::string sign = negative ? "-" : "";
    if (decimal.exponent10 > kPrecision)
        return sign + exponentForm(decimal, separators);
    return sign + groupedForm(decimal, separators);
}

} // namespace about
