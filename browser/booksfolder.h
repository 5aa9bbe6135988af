#pragma once
// The books folder with its drive-letter fallback.
//
// The candidates are the folder as written, then the same text with its first byte
// replaced by E, F, G, H and I; the first that exists is used. Only a folder found
// with E, F or G is written back to data.txt. When none exists the result is the last
// candidate (drive I), not written:
//   X:\books\ with only F:\books\ existing -> F:\books\, written back
//   X:\books\ with only H:\books\ existing -> H:\books\, not written
//   X:\books\ with nothing existing        -> I:\books\, not written
#include <functional>
#include <string>
#include <string_view>

namespace browser {

struct BooksFolder {
    std::string folder;
    bool writeBack = false;
};

BooksFolder resolveBooksFolder(std::string_view folder,
                               const std::function<bool(std::string_view)> &folderExists);

} // namespace browser
