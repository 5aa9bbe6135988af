#include "opener/bookname.h"

#include "platform/codec.h"

#include <gtest/gtest.h>

using opener::bookNameFromPath;

namespace {
std::string w(std::string_view utf8) { return platform::utf8ToWin1255(utf8); }
} // namespace

TEST(BookName, FromStubPath)
{
    struct Case { std::string path, name; };
    const Case cases[] = {
        {w("C:\\OTZAR\\pdf\\kelidor\\K בראשית.exe"), w("בראשית")},
        {w("C:\\OTZAR\\pdf\\kelidor\\בראשית.exe"), w("בראשית")},    // no prefix
        {w("\\opt\\my kit\\K שמות רבה.exe"), w("שמות רבה")},         // blanks stay
        {"C:\\kit\\K K 2.exe", "K 2"},                              // only one prefix goes
        {"C:\\kit\\K 2.exe", "2"},                                  // the book "K 2" without prefix loses it
        {"C:\\kit\\Kx.exe", "Kx"},                                  // "K" without the blank is no prefix
        {"C:\\kit\\k x.exe", "k x"},
        {w("\"C:\\kit\\K בראשית.exe\""), w("בראשית.")},            // the closing quote is one of the four
        {"C:\\kit\\K a.exe", "a"},
        {"C:\\kit\\K .exe", ""},                                    // four bytes after the prefix
        {"C:\\kit\\abcd", ""},
        {"C:\\kit\\abcde", "a"},
        {"C:\\kit\\", ""},                                          // no file part
        {"", ""},
        {"D:K x.exe", "x"},                                         // a colon ends the folder part too
        {w("K הפעלה.exe"), w("הפעלה")},                             // the opener's own name
    };
    for (const auto &c : cases)
        EXPECT_EQ(bookNameFromPath(c.path), c.name) << testing::PrintToString(c.path);
}
