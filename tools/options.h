#pragma once
// The command line of gen-collection.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tools {

struct Options {
    std::string booksFolder;                       // native; where PDFs and thumbnails go
    std::string dataFile;                          // native path of data.txt
    std::optional<std::string> bookListFile;       // native path of the book list
    std::optional<std::string> booksFolderText;    // line 0 of data.txt (UTF-8)
    std::optional<std::string> bookListFolderText; // line 0 of the book list (UTF-8)
    std::optional<int> count;                      // generated books instead of the sample
    bool writeBookFiles = true;
    bool listBooks = false;
    std::uint64_t seed = 1;
};

struct ParsedOptions {
    std::optional<Options> options; // nothing when help was asked for or on an error
    std::string error;              // empty for help
};

// arguments without the program name.
ParsedOptions parseOptions(const std::vector<std::string> &arguments);

std::string usageText();

// The largest --count: beyond what the browser holds (40000), to try its limit.
inline constexpr int kMaxCount = 1000000;

} // namespace tools
