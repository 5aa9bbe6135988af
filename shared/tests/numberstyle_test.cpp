#include "shared/numberstyle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using about::numberStyle;
using about::NumberSeparators;

TEST(NumberStyle, TwoDecimalsGroupedByThousands)
{
    const NumberSeparators english{".", ","};
    const struct {
        double value;
        const char *text;
    } cases[] = {
        {1.0, "1.00"},
        {0.0, "0.00"},
        {-0.0, "0.00"},
        {1234.5, "1,234.50"},
        {999.0, "999.00"},
        {1000.0, "1,000.00"},
        {-1234567.891, "-1,234,567.89"},
        {0.125, "0.13"},          // a half rounds away from zero
        {-0.375, "-0.38"},
        {0.004, "0.00"},
        {-0.004, "0.00"},         // rounded to zero: no sign
        {0.005, "0.01"},          // just above the half in binary
        {999.999, "1,000.00"},    // the carry runs through every digit
        {2.0 / 3.0, "0.67"},
        {123456789012345.6, "123,456,789,012,346.00"}, // 15 significant digits at most
        {12345678901234.56, "12,345,678,901,234.60"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(numberStyle(c.value, english), c.text) << c.value;
}

TEST(NumberStyle, MoreThanFifteenIntegerDigitsGiveTheExponentForm)
{
    const NumberSeparators english{".", ","};
    EXPECT_EQ(numberStyle(1234567890123456.0, english), "1.23456789012346E15");
    EXPECT_EQ(numberStyle(1e20, english), "1E20");
    EXPECT_EQ(numberStyle(-2.5e300, english), "-2.5E300");
    // Rounding to 15 digits can itself add the sixteenth.
    EXPECT_EQ(numberStyle(999999999999999.9, english), "1E15");
    EXPECT_EQ(numberStyle(std::numeric_limits<double>::quiet_NaN(), english), "NAN");
    EXPECT_EQ(numberStyle(-std::numeric_limits<double>::infinity(), english), "-INF");
}

TEST(NumberStyle, UsesTheLocaleSeparators)
{
    EXPECT_EQ(numberStyle(1234.5, {",", "."}), "1.234,50");
    EXPECT_EQ(numberStyle(1234567.5, {",", "\u202F"}), "1\u202F234\u202F567,50");
    EXPECT_EQ(numberStyle(1234567890123456.0, {",", "."}), "1,23456789012346E15");
}
