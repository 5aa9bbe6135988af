// The catalogue: data.txt bytes cut into entries, the id read like atol, line 0 replaced
// and written back, and locate-as-you-type over the titles.
#include "check.h"

#include "browser/catalogue.h"
#include "browser/locate.h"
#include "platform/linefile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// atol through the C library, saturated at 32 bits. strtoll already saturates at 64 bits.
std::int32_t referenceId(std::string_view field)
{
    const std::string text(field); // a NUL-terminated copy; fields hold no NUL
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<std::int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

// The split rule read literally: three cuts at the first TAB of the rest.
browser::EntryFields referenceSplit(std::string_view rest)
{
    std::string_view fields[3];
    for (auto &field : fields) {
        const auto tab = rest.find('\t');
        if (tab != std::string_view::npos) {
            field = rest.substr(0, tab);
            rest = rest.substr(tab + 1);
        }
    }
    return {fields[0], fields[1], fields[2], rest};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    browser::Catalogue catalogue(bytes);
    const auto lines = platform::splitLines(bytes).lines;

    FUZZ_CHECK(catalogue.lines().size() == lines.size());
    const int entryLines = lines.empty() ? 0 : static_cast<int>(lines.size()) - 1;
    FUZZ_CHECK(catalogue.entryCount() == std::min(entryLines, browser::MaxEntries));
    FUZZ_CHECK(catalogue.leftOut() == entryLines - catalogue.entryCount());

    std::vector<std::string_view> titles;
    for (int k = 0; k < catalogue.entryCount(); ++k) {
        const std::string_view line = lines[static_cast<size_t>(k) + 1];
        const browser::EntryFields expected = referenceSplit(line);
        FUZZ_CHECK(catalogue.title(k) == expected.title);
        FUZZ_CHECK(catalogue.subfolder(k) == expected.subfolder);
        FUZZ_CHECK(catalogue.author(k) == expected.author);
        FUZZ_CHECK(catalogue.id(k) == referenceId(expected.id));
        titles.push_back(catalogue.title(k));
    }

    // Locate: always a row of the catalogue; on sorted titles the first not less than
    // the text (or the last row). The text is a title or the whole input.
    const std::string_view text = titles.empty() ? std::string_view(bytes) : titles[titles.size() / 2];
    const auto located = browser::locateTitle(catalogue, text);
    FUZZ_CHECK(located.has_value() == !titles.empty());
    if (!titles.empty()) {
        FUZZ_CHECK(*located >= 0 && *located < catalogue.entryCount());
        std::vector<std::string_view> sorted = titles;
        std::sort(sorted.begin(), sorted.end());
        const auto at = [&sorted](int k) { return sorted[static_cast<size_t>(k)]; };
        const auto onSorted = browser::locateTitle(static_cast<int>(sorted.size()), at, text);
        const auto first = std::lower_bound(sorted.begin(), sorted.end(), text) - sorted.begin();
        FUZZ_CHECK(*onSorted == std::min<long>(first, static_cast<long>(sorted.size()) - 1));
    }

    // The write-back replaces line 0 and keeps every other byte of every line.
    if (catalogue.hasLine0()) {
        browser::Catalogue copy(bytes);
        copy.replaceLine0("F:\\books\\");
        const platform::LineText written = platform::splitLines(copy.fileText());
        FUZZ_CHECK(written.lines.size() == lines.size());
        FUZZ_CHECK(written.lines[0] == "F:\\books\\");
        FUZZ_CHECK(std::equal(lines.begin() + 1, lines.end(), written.lines.begin() + 1));
        FUZZ_CHECK(written.afterEnd == platform::splitLines(bytes).afterEnd);
    }
    return 0;
}
