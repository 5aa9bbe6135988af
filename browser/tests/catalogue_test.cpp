#include "browser/booksfolder.h"
#include "browser/catalogue.h"

#include <gtest/gtest.h>

#include <set>

using namespace browser;

TEST(Catalogue, SplittingAnEntryLine)
{
    struct Case { std::string line; std::string id, title, subfolder, author; };
    const Case cases[] = {
        {"123\tTitle\tsub\tAuthor", "123", "Title", "sub", "Author"},
        {"123\tTitle", "123", "", "", "Title"},          // one TAB: the rest is the author
        {"no tab at all", "", "", "", "no tab at all"},
        {"1\ta\tb\tc\td\te", "1", "a", "b", "c\td\te"},   // the author keeps further TABs
        {"", "", "", "", ""},
        {"\t\t\t", "", "", "", ""},
        {"7\t\xE1\xF8\xE0\xF9\xE9\xFA\t12\\3\t", "7", "\xE1\xF8\xE0\xF9\xE9\xFA", "12\\3", ""},
    };
    for (const auto &c : cases) {
        const EntryFields fields = splitEntryLine(c.line);
        EXPECT_EQ(fields.id, c.id) << c.line;
        EXPECT_EQ(fields.title, c.title) << c.line;
        EXPECT_EQ(fields.subfolder, c.subfolder) << c.line;
        EXPECT_EQ(fields.author, c.author) << c.line;
    }
}

TEST(Catalogue, ReadingAnIdLikeAtol)
{
    struct Case { std::string text; std::int32_t id; };
    const Case cases[] = {
        {"123", 123}, {" 42abc", 42}, {"-7", -7}, {"+8", 8}, {"\t\n 9", 9}, {"abc", 0}, {"", 0},
        {"-", 0}, {"- 5", 0}, {"1 2", 1}, {"007", 7},
        {"2147483647", 2147483647}, {"2147483648", 2147483647}, {"99999999999999999999999", 2147483647},
        {"-2147483648", -2147483647 - 1}, {"-2147483649", -2147483647 - 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(readId(c.text), c.id) << c.text;
}

TEST(Catalogue, LinesAndEntries)
{
    // LF-only, CR-only and CR LF files give the same catalogue; a blank line is an entry.
    for (const std::string breakBytes : {"\r\n", "\n", "\r"}) {
        const Catalogue catalogue("F:\\books\\" + breakBytes + "1\tA\ts\tX" + breakBytes + breakBytes
                                  + "3\tC\tt\tZ" + breakBytes);
        ASSERT_EQ(catalogue.entryCount(), 3);
        EXPECT_EQ(catalogue.line0(), "F:\\books\\");
        EXPECT_EQ(catalogue.id(0), 1);
        EXPECT_EQ(catalogue.title(0), "A");
        EXPECT_EQ(catalogue.subfolder(0), "s");
        EXPECT_EQ(catalogue.author(0), "X");
        EXPECT_EQ(catalogue.id(1), 0);
        EXPECT_EQ(catalogue.title(1), "");
        EXPECT_EQ(catalogue.author(2), "Z");
    }
    EXPECT_EQ(Catalogue("only line 0").entryCount(), 0);
    EXPECT_FALSE(Catalogue("").hasLine0());
}

TEST(Catalogue, KeepsTheFirst40000EntriesAndEveryLineForTheWriteBack)
{
    std::string bytes = "F:\\x\\\r\n";
    for (int k = 0; k < MaxEntries + 5; ++k)
        bytes += std::to_string(k) + "\tt\ts\ta\r\n";
    Catalogue catalogue(bytes);
    EXPECT_EQ(catalogue.entryCount(), MaxEntries);
    EXPECT_EQ(catalogue.leftOut(), 5);
    EXPECT_EQ(catalogue.id(MaxEntries - 1), MaxEntries - 1);
    catalogue.replaceLine0("E:\\x\\");
    EXPECT_EQ(catalogue.fileText(), "E" + bytes.substr(1));
}

TEST(Catalogue, WriteBackKeepsWhatFollowsANulByte)
{
    using namespace std::string_literals;
    Catalogue catalogue("X:\\b\\\n1\tt\ts\ta\0hidden\r\nbytes"s);
    EXPECT_EQ(catalogue.entryCount(), 1);
    catalogue.replaceLine0("F:\\b\\");
    EXPECT_EQ(catalogue.fileText(), "F:\\b\\\r\n1\tt\ts\ta\r\n\0hidden\r\nbytes"s);
}

TEST(BooksFolder, DriveLetterFallback)
{
    struct Case {
        std::string folder;
        std::set<std::string> existing;
        std::string result;
        bool writeBack;
    };
    const Case cases[] = {
        {"X:\\books\\", {"X:\\books\\"}, "X:\\books\\", false},
        {"E:\\books\\", {"E:\\books\\"}, "E:\\books\\", false},   // found as written: nothing written
        {"X:\\books\\", {"E:\\books\\"}, "E:\\books\\", true},
        {"X:\\books\\", {"F:\\books\\", "G:\\books\\"}, "F:\\books\\", true},
        {"X:\\books\\", {"G:\\books\\"}, "G:\\books\\", true},
        {"X:\\books\\", {"H:\\books\\"}, "H:\\books\\", false},
        {"X:\\books\\", {"I:\\books\\"}, "I:\\books\\", false},
        {"X:\\books\\", {}, "I:\\books\\", false},                // none: the last candidate
        {"", {}, "I", false},                                    // empty becomes the letter alone
        {"", {"F"}, "F", true},
    };
    for (const auto &c : cases) {
        std::vector<std::string> asked;
        const BooksFolder found = resolveBooksFolder(c.folder, [&](std::string_view candidate) {
            asked.emplace_back(candidate);
            return c.existing.count(std::string(candidate)) > 0;
        });
        EXPECT_EQ(found.folder, c.result) << c.folder;
        EXPECT_EQ(found.writeBack, c.writeBack) << c.folder;
        EXPECT_LE(asked.size(), 6u);
    }
}
