#include "opener/booklist.h"
#include "platform/linefile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace opener;

TEST(BookList, SplitLineByItsFirstTwoTabs)
{
    struct Case { std::string line; BookLine book; };
    const Case cases[] = {
        {"abc\t123\tx\\y", {"abc", "123", "x\\y"}},
        {"abc\t123\tx\ty", {"abc", "123", "x\ty"}}, // further TABs stay in the subfolder
        {"abc\t123", {"abc", "", "123"}},
        {"abc", {"", "", "abc"}},
        {"", {"", "", ""}},
        {"\t123\tx", {"", "123", "x"}},
        {"\t\t", {"", "", ""}},
        {"\xE1\xF8\xE0\xF9\xE9\xFA \t7\t\xEB \\ 2 ", {"\xE1\xF8\xE0\xF9\xE9\xFA ", "7", "\xEB \\ 2 "}}, // no trimming
    };
    for (const auto &c : cases) {
        EXPECT_EQ(splitBookLine(c.line), c.book) << testing::PrintToString(c.line);
        EXPECT_EQ(bookNameOf(c.line), c.book.name) << testing::PrintToString(c.line);
    }
}

TEST(BookList, NamesSortAsUnsignedBytes)
{
    // Each name sorts before the next one.
    const std::vector<std::string> ascending = {
        "",            // an empty name first
        " ",
        "Z",           // 0x5A
        "a",           // 0x61
        "ab",          // a name that begins another sorts first
        "abc",
        "\x7F",
        "\xE0",        // alef: every Hebrew letter after every Latin one
        "\xE0\xEA",    // final kaf just before kaf
        "\xE0\xEB",
        "\xED",        // final mem just before mem
        "\xEE",
        "\xF5",        // final tsadi just before tsadi
        "\xF6",
        "\xFA",
    };
    for (size_t i = 0; i + 1 < ascending.size(); ++i) {
        const auto &lower = ascending[i];
        const auto &higher = ascending[i + 1];
        EXPECT_TRUE(compareNames(lower, higher) < 0) << testing::PrintToString(lower) << " < " << testing::PrintToString(higher);
        EXPECT_TRUE(compareNames(higher, lower) > 0);
    }
    EXPECT_TRUE(compareNames("\xE0\xE1", "\xE0\xE1") == 0);
}

TEST(BookList, PdfPathIsPlainConcatenation)
{
    EXPECT_EQ(pdfPath("G:\\kdapp\\WebApp\\WebApp\\App_Data\\PDFS\\", splitBookLine("abc\t123\tx")),
              "G:\\kdapp\\WebApp\\WebApp\\App_Data\\PDFS\\x\\123.pdf");
    // Nothing is added or removed around the separators.
    EXPECT_EQ(pdfPath("F:\\B", splitBookLine("n\t\t")), "F:\\B\\.pdf");
}

TEST(BookList, ReadingLinesOfTheListFile)
{
    using namespace std::string_literals;
    using Lines = std::vector<std::string_view>;
    struct Case { std::string bytes; Lines lines; std::string afterEnd; };
    const Case cases[] = {
        {"a\r\nb", {"a", "b"}, ""},
        {"a\nb", {"a", "b"}, ""},
        {"a\rb", {"a", "b"}, ""},
        {"a\r\nb\r\n", {"a", "b"}, ""},
        {"a\r\n\r\n", {"a", ""}, ""},
        {"a\n\rb", {"a", "", "b"}, ""}, // LF then CR ends one line and then an empty one
        {"", {}, ""},
        {"\r\n", {""}, ""},
        {"G:\\\r\nx\ty\tz\0after\r\nmore"s, {"G:\\", "x\ty\tz"}, "\0after\r\nmore"s}, // a NUL ends the text
        {"\0"s, {}, "\0"s},
    };
    for (const auto &c : cases) {
        const platform::LineViews text = platform::splitLineViews(c.bytes);
        EXPECT_EQ(text.lines, c.lines) << testing::PrintToString(c.bytes);
        EXPECT_EQ(text.afterEnd, c.afterEnd) << testing::PrintToString(c.bytes);
    }
}

