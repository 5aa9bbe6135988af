#pragma once
// Looking a book up by name in the lines of a sorted book list (line 0 is the books
// folder, book index k is line k + 1).
//
// The lookup probes with a halving step: the step starts at the book count and becomes
// its half, raised to the next whole number, before every probe; each probe moves
// forward when the name sorts after the last probed name (the empty name before the
// first probe), backward otherwise, clamped to the list. It stops at an equal name or
// after the probe made with step 1. With 10 books the probes for the last one are at
// 5, 8 and 9.
//
// That sequence never reaches the first book for some list sizes (1, 2, 3, 4, 7, 8,
// 15, 16, ... books), so when it ends without a match and has not probed the first
// book, the first book is probed too: every book of a sorted list is found.
#include <string>
#include <string_view>
#include <vector>

namespace opener {

// The book index of the name, -1 when it is not in the list. The indexes probed are
// appended to probes when given.
int findBook(const std::vector<std::string_view> &listLines, std::string_view name,
             std::vector<int> *probes = nullptr);

} // namespace opener
