#include "integrator/foldertree.h"

#include <gtest/gtest.h>

using integrator::currentRowOf;
using integrator::FolderRow;
using integrator::folderTreeRows;

TEST(FolderTree, RootChainAndSubFolders)
{
    const std::vector<FolderRow> expected = {
        {"/", "/", 0, true},
        {"home", "/home", 1, true},
        {"u", "/home/u", 2, true},
        {"a", "/home/u/a", 3, false},
        {"b b", "/home/u/b b", 3, false},
    };
    EXPECT_EQ(folderTreeRows("/home/u", {"a", "b b"}), expected);
    EXPECT_EQ(folderTreeRows("//home///u/", {"a", "b b"}), expected) << "separators count once";
    EXPECT_EQ(currentRowOf(expected), 2u);
}

TEST(FolderTree, AtTheRoot)
{
    const auto withSubs = folderTreeRows("/", {"x", "y"});
    const std::vector<FolderRow> expected = {{"/", "/", 0, true}, {"x", "/x", 1, false}, {"y", "/y", 1, false}};
    EXPECT_EQ(withSubs, expected);
    EXPECT_EQ(currentRowOf(withSubs), 0u);

    const auto alone = folderTreeRows("/", {});
    EXPECT_EQ(alone.size(), 1u);
    EXPECT_EQ(currentRowOf(alone), 0u);
}
