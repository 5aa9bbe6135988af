// The name a saved copy gets from a book's title: it never holds a character that a file
// name may not hold, never a period (so never ".."), it is its own name again (the rules
// have nothing left to replace), and the copy's path stays in the chosen folder.
#include "check.h"

#include "browser/savename.h"
#include "platform/winpath.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view title(reinterpret_cast<const char *>(data), size);
    const std::string name = browser::MakeSaveName(title);

    FUZZ_CHECK(name.find_first_of("\t\\/:|?*<>\".") == std::string::npos);
    FUZZ_CHECK(name.size() <= 2 * title.size()); // a double quote, two apostrophes, is the most
    FUZZ_CHECK(browser::MakeSaveName(name) == name);

    const std::string folder = "\\home\\reader\\books\\";
    const std::string path = browser::savePath(folder, title);
    FUZZ_CHECK(platform::extractFilePath(path) == folder);
    FUZZ_CHECK(platform::extractFileName(path) == name + ".pdf");
    const auto native = platform::toNativePath(path, platform::DriveTable("/nonexistent"));
    FUZZ_CHECK(native.has_value());
    FUZZ_CHECK(std::filesystem::path(*native).lexically_normal().parent_path() == "/home/reader/books");
    return 0;
}
