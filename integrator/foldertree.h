#pragma once
// The rows of the folder tree list: the root, the chain of folders from the root down
// to the current folder, and the current folder's sub-folders one step further in.
//
//   "/home/u", {"a", "b"} ->  "/"    "/"          depth 0  open
//                             "home" "/home"      depth 1  open
//                             "u"    "/home/u"    depth 2  open   (the current row)
//                             "a"    "/home/u/a"  depth 3
//                             "b"    "/home/u/b"  depth 3
//   "/", {"x"}            ->  "/" (open, current), "x" "/x" depth 1
//
// Paths are native; the current folder is absolute, and repeated or trailing
// separators count once.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace integrator {

struct FolderRow {
    std::string name;
    std::string path;
    int depth = 0;
    bool open = false; // on the way from the root to the current folder

    friend bool operator==(const FolderRow &, const FolderRow &) = default;
};

std::vector<FolderRow> folderTreeRows(std::string_view currentFolder, const std::vector<std::string> &subfolders);

// The row of the current folder: the last open one.
std::size_t currentRowOf(const std::vector<FolderRow> &rows);

} // namespace integrator
