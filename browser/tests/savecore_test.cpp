// The pure parts of saving and layout: the name rule, the order of the copies, and the
// window geometry.
#include "browser/layout.h"
#include "browser/savename.h"
#include "browser/saveorder.h"

#include <gtest/gtest.h>

using namespace browser;

namespace {

struct NameCase {
    const char *title; // Windows-1255
    const char *name;
};

TEST(MakeSaveName, EveryRuleAndTheExamples)
{
    const NameCase cases[] = {
        {"Vol.2 No.3", "\xEB\xF8\xEA" "2 \xEE\xF1'3"},
        {"vol.1", "vol-1"},
        {"no.1 NO.2", "no-1 NO-2"},
        {"a/b: c?", "a,b  c "},
        {"x<y>z", "x(y)z"},
        {"\"A\" 1.5", "''A'' 1-5"},
        {"a\tb", "a_b"},
        {"a\\b|c*d", "a,b c d"},
        // Cut short by the end of the title: the word stays as it is.
        {"Vol", "Vol"},
        {"a Vo", "a Vo"},
        {"No", "No"},
        {"Vol.", "\xEB\xF8\xEA"},
        {"No.", "\xEE\xF1'"},
        {"x No", "x No"},
        // The longer rule wins where both could start; the word's period is consumed once.
        {"Vol..", "\xEB\xF8\xEA" "-"},
        {"VNo.", "V\xEE\xF1'"},
        {"No.Vol.", "\xEE\xF1'\xEB\xF8\xEA"},
        {"Vol.No.", "\xEB\xF8\xEA\xEE\xF1'"},
        // Hebrew letters, digits, spaces and apostrophes pass; nothing is trimmed.
        {"  \xE1\xF8\xE0\xF9\xE9\xFA 'a' 12  ", "  \xE1\xF8\xE0\xF9\xE9\xFA 'a' 12  "},
        {"..", "--"},
        {"", ""},
        {"\x80\xFF", "\x80\xFF"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MakeSaveName(c.title), c.name) << "title: " << c.title;
}

TEST(MakeSaveName, SavePathJoinsFolderNameAndExtension)
{
    EXPECT_EQ(savePath("D:\\x\\", "Vol.2 No.3"), "D:\\x\\\xEB\xF8\xEA" "2 \xEE\xF1'3.pdf");
    EXPECT_EQ(savePath("D:", "a/b"), "D:a,b.pdf");
    // A title can never climb out of the chosen folder.
    EXPECT_EQ(savePath("\\home\\u\\", "../../etc/x"), "\\home\\u\\--,--,etc,x.pdf");
}

struct OrderCase {
    const char *what;
    int current;
    std::vector<int> selected;
    int rowCount;
    std::vector<int> order;
};

TEST(SaveOrder, FromTheCurrentRowThroughExactlyTheSelectedRows)
{
    const OrderCase cases[] = {
        {"one row", 4, {4}, 10, {4}},
        {"block above the current row", 7, {5, 6, 7}, 10, {7, 6, 5}},
        {"block below the current row", 5, {5, 6, 7}, 10, {5, 6, 7}},
        {"block from the first row upwards", 2, {0, 1, 2}, 3, {2, 1, 0}},
        {"block to the last row", 7, {7, 8, 9}, 10, {7, 8, 9}},
        {"nothing selected", 3, {}, 10, {}},
        {"selected in any order", 5, {7, 5, 6}, 10, {5, 6, 7}},
        {"two blocks, walking down first", 7, {2, 3, 7, 8}, 10, {7, 8, 3, 2}},
        {"two blocks, walking up first", 8, {2, 3, 7, 8}, 10, {8, 7, 3, 2}},
        {"current row not selected, above it selected", 7, {5, 6}, 10, {6, 5}},
        {"current row not selected, nothing above", 0, {4, 2}, 10, {2, 4}},
        {"current row in the middle of a block", 5, {3, 4, 5, 6, 7}, 10, {5, 4, 3, 6, 7}},
        {"rows outside the list are never returned", 2, {-1, 1, 2, 10, 11}, 10, {2, 1}},
        {"no current row", -1, {3, 1}, 10, {1, 3}},
        {"current row past the end", 12, {8, 9}, 10, {8, 9}},
        {"empty list", 0, {0, 1}, 0, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(saveOrder(c.current, c.selected, c.rowCount), c.order) << c.what;
}

struct LayoutCase {
    int width, height;
    int panelLeft, panelTop, listWidth, listHeight, titleLeft, authorLeft, tabUnits, buttonTop;
};

TEST(WindowLayout, PositionsForClientSizes)
{
    const LayoutCase cases[] = {
        // The layout's own client area.
        {1238, 562, 829, 36, 669, 383, 581, 247, 167, 492},
        // Odd halves and quarters truncate.
        {1239, 563, 830, 37, 670, 384, 582, 247, 167, 493},
        {1241, 561, 832, 36, 672, 382, 584, 248, 168, 491},
        // The smallest width with a list: no width left, nothing negative.
        {569, 400, 160, -44, 0, 221, 80, 80, 0, 330},
        {570, 400, 161, -44, 1, 221, 80, 80, 0, 330},
        // A panel taller than the client area is cut off at the top, rounding towards zero.
        {1000, 488, 591, 0, 431, 309, 403, 187, 107, 418},
        {1000, 486, 591, -1, 431, 307, 403, 187, 107, 416},
        // Very small windows never give the list a negative size.
        {300, 100, -109, -194, 0, 0, 80, 80, 0, 30},
        {0, 0, -409, -244, 0, 0, 80, 80, 0, -70},
        // A maximised window on a large screen.
        {1920, 1017, 1511, 264, 1351, 838, 1093, 417, 337, 947},
    };
    for (const auto &c : cases) {
        const WindowLayout l = layoutForClientSize(c.width, c.height);
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        EXPECT_EQ(l.panelLeft, c.panelLeft);
        EXPECT_EQ(l.panelTop, c.panelTop);
        EXPECT_EQ(l.listWidth, c.listWidth);
        EXPECT_EQ(l.listHeight, c.listHeight);
        EXPECT_EQ(l.titleHeadingLeft, c.titleLeft);
        EXPECT_EQ(l.authorHeadingLeft, c.authorLeft);
        EXPECT_EQ(l.tabUnits, c.tabUnits);
        EXPECT_EQ(l.saveButtonTop, c.buttonTop);
    }
}

TEST(WindowLayout, PanelAndListFollowAnyWidthOfAtLeast569)
{
    for (int width = 569; width <= 4000; ++width) {
        const WindowLayout l = layoutForClientSize(width, 562);
        ASSERT_EQ(l.panelLeft, width - 409) << width;
        ASSERT_EQ(l.listWidth, width - 569) << width;
        // Margins of 80 left of the list, between list and panel, and right of the panel.
        ASSERT_EQ(l.panelLeft - (80 + l.listWidth), 80) << width;
        ASSERT_EQ(width - (l.panelLeft + 329), 80) << width;
    }
}

TEST(WindowLayout, FixedValuesComeFromTheCaller)
{
    FixedLayout fixed;
    fixed.listLeft = 10;
    fixed.listTop = 50;
    fixed.panelWidth = 100;
    fixed.panelHeight = 200;
    fixed.saveButtonHeight = 20;
    fixed.saveButtonBottomGap = 30;
    const WindowLayout l = layoutForClientSize(500, 400, fixed);
    EXPECT_EQ(l.panelLeft, 390);
    EXPECT_EQ(l.listWidth, 370);
    EXPECT_EQ(l.listHeight, 290);
    EXPECT_EQ(l.panelTop, 100);
    EXPECT_EQ(l.titleHeadingLeft, 10 + 277);
    EXPECT_EQ(l.authorHeadingLeft, 10 + 92);
    EXPECT_EQ(l.tabUnits, 92);
    EXPECT_EQ(l.saveButtonTop, 370);
}

} // namespace
