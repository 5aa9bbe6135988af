#include "findbook.h"

#include "booklist.h"

#include <algorithm>
#include <limits>

namespace opener {

int findBook(const std::vector<std::string_view> &listLines, std::string_view name, std::vector<int> *probes)
{
    const size_t lineCount = std::min<size_t>(listLines.size(), std::numeric_limits<int>::max());
    const int bookCount = lineCount == 0 ? 0 : static_cast<int>(lineCount - 1);
    const auto probe = [&](int index) {
        if (probes)
            probes->push_back(index);
        return bookNameOf(listLines[static_cast<size_t>(index) + 1]);
    };

    bool firstProbed = false;
    if (bookCount > 1) {
        int step = bookCount;
        int pos = 0;
        std::string_view last;
        do {
            step = step / 2 + step % 2; // the half, raised to the next whole number
            pos += compareNames(name, last) > 0 ? step : -step;
            pos = std::clamp(pos, 0, bookCount - 1);
            last = probe(pos);
            firstProbed = firstProbed || pos == 0;
            if (name == last)
                return pos;
        } while (step > 1);
    }
    if (bookCount > 0 && !firstProbed && probe(0) == name)
        return 0;
    return -1;
}

} // namespace opener
