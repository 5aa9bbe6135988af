#include "platform/codec.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Codec, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToWin1255(win1255ToUtf8(all)), all);
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(utf8ToWin1255(win1255ToUtf8(one)), one) << "byte " << b;
    }
}

TEST(Codec, KnownCharacters)
{
    struct Case { std::string win1255; std::string utf8; };
    const Case cases[] = {
        {"\xE0\xE1\xFA", "\u05D0\u05D1\u05EA"},  // alef, bet, tav
        {"\xA4", "\u20AA"},                      // new sheqel sign
        {"\x80", "\u20AC"},                      // euro sign
        {"\xC0", "\u05B0"},                      // sheva
        {"\xFD\xFE", "\u200E\u200F"},            // direction marks
        {"\x81", "\uF781"},                      // undefined: private use
        {"abc 123\t\\", "abc 123\t\\"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(win1255ToUtf8(c.win1255), c.utf8);
        EXPECT_EQ(utf8ToWin1255(c.utf8), c.win1255);
    }
}

TEST(Codec, WhatTheCodePageCannotHoldBecomesQuestionMark)
{
    EXPECT_EQ(utf8ToWin1255("a\u4E2Db"), "a?b");          // not in the code page
    EXPECT_EQ(utf8ToWin1255("a\xFF" "b"), "a?b");         // not UTF-8
    EXPECT_EQ(utf8ToWin1255("a\xD7"), "a?");              // cut short
    EXPECT_EQ(utf8ToWin1255("\xC0\xAF"), "?");            // overlong "/"
    EXPECT_EQ(utf8ToWin1255("\xF0\x9F\x98\x80"), "?");    // beyond the BMP
}
