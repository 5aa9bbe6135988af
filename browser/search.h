#pragma once
// Searching the catalogue: every piece of the search text must occur in the chosen field
// as an exact run of bytes. There are no word boundaries and no folding of letter case
// or of final letters.
//
// The text is cut at spaces from the left, at most six times, so the seventh piece keeps
// the rest, spaces included. A final empty piece is dropped; other empty pieces stay and
// match anything:
//   "ab cd"            -> "ab", "cd"
//   "ab  cd"           -> "ab", "", "cd"
//   " ab"              -> "", "ab"
//   "ab "              -> "ab"
//   " "                -> ""            (every entry matches)
//   "a b c d e f g h"  -> "a", "b", "c", "d", "e", "f", "g h"
#include "catalogue.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace browser {

inline constexpr int MaxSearchPieces = 7;

enum class SearchField { Titles, Authors };

// The pieces of a search text, as views into it.
std::vector<std::string_view> cutSearchText(std::string_view text);

// Whether every piece occurs in field (tested in order, stopping at the first that fails).
bool matchesAllPieces(std::string_view field, const std::vector<std::string_view> &pieces);

// The entries whose field holds every piece of text, in catalogue order: row i of the
// result list shows entry result[i].
std::vector<std::int32_t> findEntries(const Catalogue &catalogue, std::string_view text, SearchField field);

} // namespace browser
