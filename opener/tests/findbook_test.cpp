#include "opener/findbook.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using opener::findBook;

namespace {

// A sorted list of count books with three-letter Hebrew names; line 0 is the folder.
struct List {
    std::vector<std::string> storage;
    std::vector<std::string_view> lines;
};

std::string hebrewName(int index)
{
    std::string name(3, '\0');
    for (int digit = 2; digit >= 0; --digit) {
        name[static_cast<size_t>(digit)] = static_cast<char>(0xE0 + index % 27);
        index /= 27;
    }
    return name;
}

List makeList(int count)
{
    List list;
    list.storage.push_back("G:\\PDFS\\");
    for (int i = 0; i < count; ++i)
        list.storage.push_back(hebrewName(i) + "\t" + std::to_string(i) + "\tsub");
    list.lines.assign(list.storage.begin(), list.storage.end());
    return list;
}

} // namespace

TEST(FindBook, ProbePositionsOfTheHalvingStep)
{
    const List ten = makeList(10);
    std::vector<int> probes;
    EXPECT_EQ(findBook(ten.lines, hebrewName(9), &probes), 9);
    EXPECT_EQ(probes, (std::vector<int>{5, 8, 9})); // steps 5, 3, 2; the last move clamped from 10

    probes.clear();
    EXPECT_EQ(findBook(ten.lines, hebrewName(5), &probes), 5);
    EXPECT_EQ(probes, (std::vector<int>{5}));

    const List three = makeList(3);
    for (int target = 1; target < 3; ++target) {
        probes.clear();
        EXPECT_EQ(findBook(three.lines, hebrewName(target), &probes), target);
        EXPECT_EQ(probes.front(), 2);
    }
}

TEST(FindBook, FirstBookIsFoundWhereTheHalvingMissesIt)
{
    for (int count : {1, 2, 3, 4, 7, 8, 15, 16}) {
        const List list = makeList(count);
        std::vector<int> probes;
        EXPECT_EQ(findBook(list.lines, hebrewName(0), &probes), 0) << count << " books";
        ASSERT_FALSE(probes.empty()) << count << " books";
        EXPECT_EQ(probes.back(), 0) << count << " books";
        // the added probe comes after the whole halving sequence
        EXPECT_EQ(std::count(probes.begin(), probes.end(), 0), 1) << count << " books";
    }
}

TEST(FindBook, NothingIsProbedInAnEmptyList)
{
    std::vector<int> probes;
    const std::vector<std::string_view> onlyFolder = {"G:\\PDFS\\"};
    EXPECT_EQ(findBook(onlyFolder, "x", &probes), -1);
    EXPECT_EQ(findBook({}, "x", &probes), -1);
    EXPECT_TRUE(probes.empty());
}

TEST(FindBook, EveryBookFoundAndNoAbsentNameForEveryListSizeUpTo3000)
{
    for (int count = 0; count <= 3000; ++count) {
        const List list = makeList(count);
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(findBook(list.lines, hebrewName(i)), i) << "book " << i << " of " << count;
            // just after this name and before the next one
            ASSERT_EQ(findBook(list.lines, hebrewName(i) + "!"), -1) << "after book " << i << " of " << count;
            // a proper beginning of the name
            ASSERT_EQ(findBook(list.lines, hebrewName(i).substr(0, 2)), -1) << "before book " << i << " of " << count;
        }
        ASSERT_EQ(findBook(list.lines, "abc"), -1) << count;  // Latin: before every Hebrew name
        ASSERT_EQ(findBook(list.lines, "\xFF"), -1) << count; // after every name
        ASSERT_EQ(findBook(list.lines, ""), -1) << count;
    }
}

TEST(FindBook, EmptyNameMatchesOnlyABookWithAnEmptyName)
{
    const std::vector<std::string_view> lines = {"G:\\", "\t1\ta", "b\t2\tb", "c\t3\tc"};
    EXPECT_EQ(findBook(lines, ""), 0);
    EXPECT_EQ(findBook(lines, "c"), 2);
}
