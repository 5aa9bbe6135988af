#include "jpegprobe.h"

#include "tools/collection.h"
#include "tools/cover.h"
#include "tools/jpegencode.h"
#include "tools/options.h"

#include "platform/codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace tools;
using Lines = std::vector<std::string>;

namespace {

std::string w(const char *utf8) { return platform::utf8ToWin1255(utf8); }

bool holdsLineOrFieldBreak(const std::string &text)
{
    return text.find_first_of(std::string("\t\r\n\0", 4)) != std::string::npos;
}

// Every field of every book is plain Windows-1255 text: no byte that the code page
// leaves undefined, nothing that would break a line or a field.
void expectCleanTexts(const std::vector<Book> &books)
{
    for (const Book &book : books)
        for (const std::string *text : {&book.title, &book.subfolder, &book.author}) {
            EXPECT_FALSE(holdsLineOrFieldBreak(*text)) << testing::PrintToString(*text);
            EXPECT_EQ(platform::utf8ToWin1255(platform::win1255ToUtf8(*text)), *text);
            EXPECT_EQ(platform::win1255ToUtf8(*text).find("\xEF\x9C"), std::string::npos) // U+F7xx
                << "undefined code page byte in " << testing::PrintToString(*text);
        }
}

} // namespace

TEST(BookName, ReplacesWhatAFileNameCannotHold)
{
    struct Case { std::string title, name; };
    const Case cases[] = {
        {"a/b\\c", "a,b,c"},
        {"x<y>z", "x(y)z"},
        {w("שו\"ת חתם סופר"), w("שו''ת חתם סופר")},
        {"a:b*c?d|e", "a b c d e"},
        {"a\tb", "a_b"},
        {"Vol.2 No.3", "Vol.2 No.3"}, // only the save name turns these into Hebrew
        {w("ארץ"), w("ארץ")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(bookNameForTitle(c.title), c.name) << testing::PrintToString(c.title);
}

TEST(ByteOrder, ComparesUnsignedBytes)
{
    struct Case { std::string less, greater; };
    const Case cases[] = {
        {"", "a"},
        {"ab", "abc"},
        {"Z", "a"},
        {"zzz", "\xE0"},      // every Latin text before every Hebrew one
        {"\xEA", "\xEB"},     // final kaf before kaf
        {"\xF5\xE0", "\xF6"}, // final tsadi before tsadi, whatever follows
        {"\x7F", "\x80"},
    };
    for (const auto &c : cases) {
        EXPECT_TRUE(byteLess(c.less, c.greater)) << testing::PrintToString(c.less) << " < " << testing::PrintToString(c.greater);
        EXPECT_FALSE(byteLess(c.greater, c.less));
    }
}

TEST(CatalogueLines, FolderThenBooksByTitleInByteOrder)
{
    const std::vector<Book> books = {
        {7, "\xE3\xF8\xEB", "12", "\xEE", {}},        // darkh-i: after the final kaf form
        {3, "\xE3\xF8\xEA", "12", "", {}},            // final kaf
        {9, "beta", "17\\04", "Ann", {}},
        {2, "Beta", "1", "Bob", {}},
        {8, "beta", "3", "Cy", {}},                   // same title: the smaller id first
    };
    EXPECT_EQ(catalogueLines(books, "F:\\PDFS\\"), (Lines{
        "F:\\PDFS\\",
        "2\tBeta\t1\tBob",
        "8\tbeta\t3\tCy",
        "9\tbeta\t17\\04\tAnn",
        "3\t\xE3\xF8\xEA\t12\t",
        "7\t\xE3\xF8\xEB\t12\t\xEE",
    }));
    EXPECT_EQ(catalogueLines({}, "\\x\\"), (Lines{"\\x\\"}));
}

TEST(BookListLines, SortedByBookNameWithEveryNameUnique)
{
    // The title order ("a0" < "a<b") is the reverse of the name order ("a(b" < "a0");
    // "x:y" and "x?y" give the same name, the later one in title order gets " (2)".
    const std::vector<Book> books = {
        {1, "a0", "1", "", {}},
        {2, "a<b", "2", "", {}},
        {3, "x?y", "3", "", {}},
        {4, "x:y", "4\\5", "", {}},
    };
    EXPECT_EQ(bookListLines(books, kShippedBookListFolder), (Lines{
        "G:\\kdapp\\WebApp\\WebApp\\App_Data\\PDFS\\",
        "a(b\t2\t2",
        "a0\t1\t1",
        "x y\t4\t4\\5",
        "x y (2)\t3\t3",
    }));
}

TEST(SampleBooks, HoldEveryKindOfThumbnailAndCleanTexts)
{
    const std::vector<Book> books = sampleBooks(1);
    ASSERT_GE(books.size(), 25u);
    expectCleanTexts(books);

    std::set<int> ids;
    for (const Book &book : books)
        ids.insert(book.id);
    EXPECT_EQ(ids.size(), books.size()) << "ids must be unique";

    const auto count = [&](auto predicate) { return std::count_if(books.begin(), books.end(), predicate); };
    EXPECT_EQ(count([](const Book &b) { return b.thumb.state == ThumbState::Missing; }), 1);
    EXPECT_EQ(count([](const Book &b) { return b.thumb.state == ThumbState::Corrupt; }), 1);
    const auto present = [](const Book &b) { return b.thumb.state == ThumbState::Present; };
    EXPECT_GE(count([&](const Book &b) { return present(b) && b.thumb.width >= 3000; }), 1);
    EXPECT_GE(count([&](const Book &b) { return present(b) && b.thumb.greyscale && !b.thumb.progressive; }), 1);
    EXPECT_GE(count([&](const Book &b) { return present(b) && b.thumb.progressive && !b.thumb.greyscale; }), 1);
    EXPECT_GE(count([&](const Book &b) { return present(b) && b.thumb.progressive && b.thumb.greyscale; }), 1);
    EXPECT_GE(count([&](const Book &b) { return present(b) && b.thumb.width > b.thumb.height; }), 1);

    // The book of the opener's worked example is there, under its own name.
    EXPECT_EQ(count([](const Book &b) { return b.title == w("בראשית"); }), 1);
    // Other seeds choose other ids for the same books.
    EXPECT_NE(sampleBooks(2).front().id, books.front().id);
    EXPECT_EQ(sampleBooks(2).front().title, books.front().title);
}

TEST(GeneratedBooks, RealisticUniqueAndTheSameForTheSameSeed)
{
    const int count = 5000;
    const std::vector<Book> books = generatedBooks(count, 7);
    ASSERT_EQ(books.size(), static_cast<size_t>(count));
    expectCleanTexts(books);

    std::set<int> ids;
    std::set<std::string> titles;
    size_t titleBytes = 0, longest = 0, hebrew = 0, latinOnly = 0;
    for (const Book &book : books) {
        ids.insert(book.id);
        titles.insert(book.title);
        titleBytes += book.title.size();
        longest = std::max(longest, book.title.size());
        const bool hasHebrew = std::any_of(book.title.begin(), book.title.end(),
                                           [](char c) { return static_cast<unsigned char>(c) >= 0xE0; });
        hebrew += hasHebrew;
        latinOnly += !hasHebrew;
        EXPECT_FALSE(book.subfolder.empty());
    }
    EXPECT_EQ(ids.size(), books.size());
    EXPECT_EQ(titles.size(), books.size());
    EXPECT_GT(hebrew, books.size() * 9 / 10);
    EXPECT_GT(latinOnly, 0u);
    const size_t average = titleBytes / books.size();
    EXPECT_GE(average, 15u);
    EXPECT_LE(average, 60u);
    EXPECT_GE(longest, 80u); // a few long titles

    const std::vector<Book> again = generatedBooks(count, 7);
    EXPECT_EQ(catalogueLines(again, "x"), catalogueLines(books, "x"));
    EXPECT_NE(catalogueLines(generatedBooks(count, 8), "x"), catalogueLines(books, "x"));
}

TEST(CoverJpeg, EncodesTheKindAskedForAndTheCutOneIsRejected)
{
    struct Case { JpegKind kind; int width, height; };
    const Case cases[] = {
        {{false, false}, 120, 160},
        {{true, false}, 300, 400},
        {{false, true}, 327, 425},
        {{true, true}, 400, 300},
        {{false, false}, 1, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " progressive " << c.kind.progressive
                                        << " greyscale " << c.kind.greyscale);
        const std::string jpeg = encodeCoverJpeg(Cover(12345, c.width, c.height, 1), c.kind);
        const auto probe = tools::testsupport::probeJpeg(jpeg);
        ASSERT_TRUE(probe.decoded) << probe.error;
        EXPECT_EQ(probe.warnings, 0);
        EXPECT_EQ(probe.width, c.width);
        EXPECT_EQ(probe.height, c.height);
        EXPECT_EQ(probe.progressive, c.kind.progressive);
        EXPECT_EQ(probe.components, c.kind.greyscale ? 1 : 3);

        const std::string cut = cutInsideHeaders(jpeg);
        EXPECT_LT(cut.size(), jpeg.size() / 2);
        EXPECT_FALSE(tools::testsupport::probeJpeg(cut).decoded);
    }
}

TEST(CoverJpeg, TheIdAndTheSeedMakeThePicture)
{
    const auto jpeg = [](int id, std::uint64_t seed) { return encodeCoverJpeg(Cover(id, 120, 160, seed), {}); };
    EXPECT_EQ(jpeg(41, 1), jpeg(41, 1));
    EXPECT_NE(jpeg(41, 1), jpeg(42, 1));
}

TEST(Options, ReadsTheCommandLine)
{
    const ParsedOptions full = parseOptions({"--books", "b", "--data", "d.txt", "--book-list", "l.txt",
                                             "--books-folder-text", "X:\\b\\", "--count", "40000", "--seed", "9",
                                             "--no-files", "--list"});
    ASSERT_TRUE(full.options) << full.error;
    EXPECT_EQ(full.options->booksFolder, "b");
    EXPECT_EQ(full.options->dataFile, "d.txt");
    EXPECT_EQ(full.options->bookListFile, "l.txt");
    EXPECT_EQ(full.options->booksFolderText, "X:\\b\\");
    EXPECT_EQ(full.options->count, 40000);
    EXPECT_EQ(full.options->seed, 9u);
    EXPECT_FALSE(full.options->writeBookFiles);
    EXPECT_TRUE(full.options->listBooks);

    const ParsedOptions help = parseOptions({"--data", "d", "--help"});
    EXPECT_FALSE(help.options);
    EXPECT_TRUE(help.error.empty());

    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"--books", "b"},                                         // no data file
        {"--data", "d"},                                          // no books folder
        {"--data", "d", "--no-files"},                            // nothing for line 0
        {"--books", "b", "--data"},                               // value missing
        {"--books", "b", "--data", "d", "--count", "12x"},
        {"--books", "b", "--data", "d", "--count", "-1"},
        {"--books", "b", "--data", "d", "--count", "1000001"},
        {"--books", "b", "--data", "d", "--seed", "-3"},
        {"--books", "b", "--data", "d", "--colour", "red"},
        {"--books", "b", "--data", "d", "--colour"},
        {"--books", "b", "--data", "d", "stray"},
        {"--books", "b", "--data", "d", "--books-folder-text", "X:\\\r\nY"},
    };
    for (const auto &arguments : wrong) {
        const ParsedOptions parsed = parseOptions(arguments);
        EXPECT_FALSE(parsed.options) << testing::PrintToString(arguments);
        EXPECT_FALSE(parsed.error.empty()) << testing::PrintToString(arguments);
    }
    EXPECT_EQ(parseOptions({"--data", "d", "--colour"}).error, "unknown option: --colour");
    EXPECT_TRUE(parseOptions({"--data", "d", "--no-files", "--books-folder-text", "X:\\"}).options);
}
