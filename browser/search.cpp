#include "search.h"

#include <cstring>

namespace browser {

std::vector<std::string_view> cutSearchText(std::string_view text)
{
    std::vector<std::string_view> pieces;
    std::string_view rest = text;
    while (static_cast<int>(pieces.size()) < MaxSearchPieces - 1) {
        const size_t space = rest.find(' ');
        if (space == std::string_view::npos)
            break;
        pieces.push_back(rest.substr(0, space));
        rest.remove_prefix(space + 1);
    }
    // The text after the last cut; nothing after a final space adds no piece.
    if (pieces.empty() || !rest.empty())
        pieces.push_back(rest);
    return pieces;
}

bool matchesAllPieces(std::string_view field, const std::vector<std::string_view> &pieces)
{
    for (const std::string_view piece : pieces) {
        if (piece.empty())
            continue;
        if (piece.size() > field.size()
            || !memmem(field.data(), field.size(), piece.data(), piece.size()))
            return false;
    }
    return true;
}

std::vector<std::int32_t> findEntries(const Catalogue &catalogue, std::string_view text, SearchField field)
{
    const std::vector<std::string_view> pieces = cutSearchText(text);
    std::vector<std::int32_t> found;
    const int count = catalogue.entryCount();
    for (int k = 0; k < count; ++k) {
        const std::string_view searched = field == SearchField::Titles ? catalogue.title(k) : catalogue.author(k);
        if (matchesAllPieces(searched, pieces))
            found.push_back(k);
    }
    return found;
}

} // namespace browser
