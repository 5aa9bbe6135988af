// Search, piece cutting, locate-as-you-type and book paths over small catalogues.
#include "browser/bookpaths.h"
#include "browser/locate.h"
#include "browser/search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

using namespace browser;

namespace {

// A catalogue of (title, author) pairs; entry k has id 100 + k.
std::string dataText(const std::vector<std::pair<std::string, std::string>> &books)
{
    std::string bytes = "\\books\\\r\n";
    for (size_t k = 0; k < books.size(); ++k)
        bytes += std::to_string(100 + k) + '\t' + books[k].first + "\tsub\t" + books[k].second + "\r\n";
    return bytes;
}

} // namespace

TEST(CutSearchText, CutsAtSpacesAtMostSixTimes)
{
    struct Case {
        std::string text;
        std::vector<std::string_view> pieces;
    };
    const Case cases[] = {
        {"ab", {"ab"}},
        {"ab cd", {"ab", "cd"}},
        {"ab  cd", {"ab", "", "cd"}},
        {" ab", {"", "ab"}},
        {"ab ", {"ab"}},
        {"ab  ", {"ab", ""}},
        {" ", {""}},
        {"a b c d e f g", {"a", "b", "c", "d", "e", "f", "g"}},
        {"a b c d e f g h", {"a", "b", "c", "d", "e", "f", "g h"}},
        {"a b c d e f ", {"a", "b", "c", "d", "e", "f"}},
        {"a b c d e f g ", {"a", "b", "c", "d", "e", "f", "g "}},
        {"\xF1\xF4\xF8\t\xE0 x", {"\xF1\xF4\xF8\t\xE0", "x"}}, // only 0x20 cuts
    };
    for (const Case &c : cases)
        EXPECT_EQ(cutSearchText(c.text), c.pieces) << '"' << c.text << '"';
}

TEST(FindEntries, EveryPieceIsAnExactByteSubstringOfTheChosenField)
{
    const std::string bytes = dataText({
        {"\xF1\xF4\xF8 \xE1\xF8\xE0\xF9\xE9\xFA", "\xEE\xF9\xE4"}, // 0: ספר בראשית / משה
        {"\xE1\xF8\xE0\xF9\xE9\xFA \xF8\xE1\xE4", "\xE0\xE1\xF8\xE4\xED"}, // 1: בראשית רבה / אברהם
        {"Vol.2 History", "Smith"},                                       // 2
        {"history of vol.2", "\xEE\xF9\xE4 \xF1\xF4\xF8"},                   // 3: author משה ספר
        {"", ""},                                                          // 4: an empty line's entry
        {"\xF1\xF4\xF8\xE9\xED", "Vol"},                                   // 5: ספרים
        {"a b c d e f g h", "x"},                                          // 6
        {"a b c d e f gh", "x"},                                           // 7
    });
    const Catalogue catalogue(bytes);
    struct Case {
        const char *name;
        std::string text;
        SearchField field;
        std::vector<std::int32_t> rows;
    };
    const Case cases[] = {
        {"part of a longer word", "\xF8\xE0\xF9", SearchField::Titles, {0, 1}},
        {"word inside a word", "\xF1\xF4\xF8", SearchField::Titles, {0, 5}},
        {"both words, either order", "\xF8\xE1\xE4 \xE1\xF8\xE0", SearchField::Titles, {1}},
        {"both words, other order", "\xE1\xF8\xE0 \xF8\xE1\xE4", SearchField::Titles, {1}},
        {"one word missing", "\xF1\xF4\xF8 \xF8\xE1\xE4", SearchField::Titles, {}},
        {"Latin letters keep their case", "History", SearchField::Titles, {2}},
        {"lower case", "history", SearchField::Titles, {3}},
        {"a single space lists every entry", " ", SearchField::Titles, {0, 1, 2, 3, 4, 5, 6, 7}},
        {"trailing space ignored", "Vol.2 ", SearchField::Titles, {2}},
        {"doubled space like one", "vol.2  history", SearchField::Titles, {3}},
        {"eight words: the last two are one piece", "a b c d e f g h", SearchField::Titles, {6}},
        {"seven words match both", "a b c d e f g", SearchField::Titles, {6, 7}},
        {"authors searched, not titles", "\xEE\xF9\xE4", SearchField::Authors, {0, 3}},
        {"a word only in authors is not in titles", "Smith", SearchField::Titles, {}},
        {"a word only in titles is not in authors", "History", SearchField::Authors, {}},
        {"author with two words", "\xF1\xF4\xF8 \xEE\xF9\xE4", SearchField::Authors, {3}},
        {"longer than every field", "Vol.2 History and more", SearchField::Titles, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(findEntries(catalogue, c.text, c.field), c.rows) << c.name;
}

TEST(FindEntries, ResultRowsNameEntriesInCatalogueOrder)
{
    // Row i of the result shows entry result[i]: the entry's title and id belong together.
    const Catalogue catalogue(dataText({{"zz", "a"}, {"match 1", "b"}, {"yy", "c"}, {"match 2", "d"}}));
    const auto rows = findEntries(catalogue, "match", SearchField::Titles);
    ASSERT_EQ(rows, (std::vector<std::int32_t>{1, 3}));
    EXPECT_EQ(catalogue.title(rows[1]), "match 2");
    EXPECT_EQ(catalogue.id(rows[1]), 103);
    EXPECT_EQ(catalogue.author(rows[0]), "b");
}

namespace {

// The plain answer on a sorted catalogue: the first title not less than text, or the
// last entry when every title is less.
int lowerBoundRow(const std::vector<std::string> &titles, std::string_view text)
{
    const auto first = std::lower_bound(titles.begin(), titles.end(), text,
                                        [](const std::string &title, std::string_view t) { return std::string_view(title) < t; });
    return std::min(static_cast<int>(first - titles.begin()), static_cast<int>(titles.size()) - 1);
}

} // namespace

TEST(LocateTitle, EqualsALowerBoundOnSortedCataloguesOfEverySize)
{
    // Titles of bytes that sort differently signed and unsigned, with prefixes and repeats.
    std::mt19937 random(7);
    const std::string alphabet = "ab\xE0\xF9";
    auto randomText = [&](size_t maxLength) {
        std::string text(random() % (maxLength + 1), ' ');
        for (char &c : text)
            c = alphabet[random() % alphabet.size()];
        return text;
    };
    for (int n = 1; n <= 300; ++n) {
        std::vector<std::string> titles(static_cast<size_t>(n));
        for (auto &title : titles)
            title = randomText(3);
        std::sort(titles.begin(), titles.end());
        std::vector<std::string> texts = {"", "\xFF\xFF\xFF\xFF", "\x01"};
        for (const auto &title : titles) {
            texts.push_back(title);
            texts.push_back(title + '\x01');
            texts.push_back(title.substr(0, title.size() / 2));
        }
        for (int i = 0; i < 20; ++i)
            texts.push_back(randomText(4));
        for (const auto &text : texts) {
            int reads = 0;
            const auto row = locateTitle(
                n,
                [&](int k) {
                    ++reads;
                    EXPECT_TRUE(k >= 0 && k < n) << "read title " << k << " of " << n;
                    return std::string_view(titles[static_cast<size_t>(k)]);
                },
                text);
            ASSERT_TRUE(row.has_value());
            ASSERT_EQ(*row, lowerBoundRow(titles, text)) << "n = " << n << ", text = \"" << text << '"';
            // About log2(n) probes: it can run on every key release.
            EXPECT_LE(reads, 2 + static_cast<int>(std::ceil(std::log2(n))));
        }
    }
}

TEST(LocateTitle, FollowsItsStepsOnAnUnsortedCatalogue)
{
    struct Case {
        std::vector<std::string_view> titles;
        std::string_view text;
        int row;
    };
    // Worked through by hand, e.g. m a z b y c x / "n": step 4 -> 4, step 2 -> 2, step 1 -> 1,
    // then one forward because "a" < "n": 2 (a sorted list would give 4).
    const Case cases[] = {
        {{"m", "a", "z", "b", "y", "c", "x"}, "n", 2},
        {{"d", "a", "c", "b"}, "b", 0},
        {{"z", "y", "x", "w", "v"}, "w", 0},
        {{"c", "b", "a"}, "c", 0},
        {{"b", "a"}, "b", 0},
        {{"a", "c", "b"}, "bb", 2},
    };
    for (const Case &c : cases) {
        const int n = static_cast<int>(c.titles.size());
        EXPECT_EQ(locateTitle(n, [&](int k) { return c.titles[static_cast<size_t>(k)]; }, c.text), c.row)
            << c.text;
    }
}

TEST(LocateTitle, AnEmptyCatalogueReadsNoTitle)
{
    int reads = 0;
    EXPECT_EQ(locateTitle(0, [&](int) { ++reads; return std::string_view(); }, "a"), std::nullopt);
    EXPECT_EQ(reads, 0);
    const Catalogue onlyLine0("\\books\\\r\n");
    EXPECT_EQ(locateTitle(onlyLine0, ""), std::nullopt);
}

TEST(BookPaths, PiecesAreJoinedAsTheyAre)
{
    EXPECT_EQ(pdfPath("X:\\dir\\", "12", 345), "X:\\dir\\12\\345.pdf");
    EXPECT_EQ(thumbnailPath("X:\\dir\\", "12", 345), "X:\\dir\\12\\thumbs\\345.jpg");
    EXPECT_EQ(pdfPath("X:\\dir\\", "", 345), "X:\\dir\\\\345.pdf");
    EXPECT_EQ(pdfPath("X:\\dir\\", "12", 0), "X:\\dir\\12\\0.pdf");
    EXPECT_EQ(pdfPath("X:\\dir\\", "12", -7), "X:\\dir\\12\\-7.pdf");
    EXPECT_EQ(pdfPath("X:\\dir", "\xF1\xF4\xF8", 2147483647), "X:\\dir\xF1\xF4\xF8\\2147483647.pdf");
    EXPECT_EQ(thumbnailPath("", "", -2147483647 - 1), "\\thumbs\\-2147483648.jpg");
}
