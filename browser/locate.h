#pragma once
// Locate-as-you-type: the row of the title nearest to the typed text, for a catalogue
// sorted by title in ascending byte order.
//
// A bisection whose step halves, rounded up, from the entry count down to 1 (10 entries:
// 5, 3, 2, 1; 40000 entries: 16 steps). Each probe moves back when the probed title is not
// less than the text and forward otherwise, clamped to the catalogue; a last step forward
// when the title found is still less. On a sorted catalogue the result is the first title
// not less than the text, or the last entry when every title is less; an empty text gives
// 0. On an unsorted catalogue it is simply where the steps lead. Titles compare as
// unsigned bytes, a proper beginning sorting first.
#include "catalogue.h"

#include <optional>
#include <string_view>

namespace browser {

// titleAt(k) gives the title of entry k; only 0 <= k < entryCount is ever asked for.
// Nothing for an empty catalogue.
template <typename TitleAt>
std::optional<int> locateTitle(int entryCount, const TitleAt &titleAt, std::string_view text)
{
    if (entryCount <= 0)
        return std::nullopt;
    int pos = 0;
    int step = entryCount;
    while (step > 1) {
        step = (step + 1) / 2; // the integer part of step * 0.5 + 0.6
        pos += std::string_view(titleAt(pos)) >= text ? -step : step;
        if (pos < 0)
            pos = 0;
        else if (pos >= entryCount)
            pos = entryCount - 1;
    }
    if (std::string_view(titleAt(pos)) < text && pos != entryCount - 1)
        ++pos;
    return pos;
}

inline std::optional<int> locateTitle(const Catalogue &catalogue, std::string_view text)
{
    return locateTitle(catalogue.entryCount(), [&](int k) { return catalogue.title(k); }, text);
}

} // namespace browser
