// The search: the text cut into at most seven pieces at spaces, each piece matched as a
// run of bytes, over a catalogue made from the rest of the input. Checked against the
// same rule written out plainly.
#include "check.h"

#include "browser/catalogue.h"
#include "browser/search.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool referenceMatch(std::string_view field, const std::vector<std::string_view> &pieces)
{
    for (const std::string_view piece : pieces)
        if (field.find(piece) == std::string_view::npos) // an empty piece is found anywhere
            return false;
    return true;
}

void checkPieces(std::string_view text, const std::vector<std::string_view> &pieces)
{
    FUZZ_CHECK(!pieces.empty() && pieces.size() <= static_cast<size_t>(browser::MaxSearchPieces));
    // Views into the text, in order, one space apart: together they are the text, less a
    // final space that ended the cutting.
    std::string joined;
    const char *expectedStart = text.data();
    for (size_t i = 0; i < pieces.size(); ++i) {
        FUZZ_CHECK(pieces[i].data() == expectedStart || (text.empty() && pieces[i].empty()));
        expectedStart = pieces[i].data() + pieces[i].size() + 1;
        if (i > 0)
            joined += ' ';
        joined += pieces[i];
        // Only the seventh piece keeps its spaces.
        if (i + 1 < static_cast<size_t>(browser::MaxSearchPieces))
            FUZZ_CHECK(pieces[i].find(' ') == std::string_view::npos);
    }
    FUZZ_CHECK(joined == text || joined + ' ' == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Options: bit 0 searches the authors. First text: the search text; the rest: data.txt.
    const FuzzInput input = cutFuzzInput(data, size);
    const bool authors = (input.options & 1) != 0;
    const std::string_view text = input.first;
    const browser::Catalogue catalogue{std::string(input.rest)};

    const std::vector<std::string_view> pieces = browser::cutSearchText(text);
    checkPieces(text, pieces);

    const std::vector<std::int32_t> found = browser::findEntries(
        catalogue, text, authors ? browser::SearchField::Authors : browser::SearchField::Titles);
    size_t next = 0;
    for (int k = 0; k < catalogue.entryCount(); ++k) {
        const std::string_view field = authors ? catalogue.author(k) : catalogue.title(k);
        const bool matches = referenceMatch(field, pieces);
        FUZZ_CHECK(browser::matchesAllPieces(field, pieces) == matches);
        // The results: exactly the matching entries, in catalogue order.
        if (matches) {
            FUZZ_CHECK(next < found.size() && found[next] == k);
            ++next;
        }
    }
    FUZZ_CHECK(next == found.size());
    return 0;
}
