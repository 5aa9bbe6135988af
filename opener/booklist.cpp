#include "booklist.h"

#include <algorithm>
#include <cstring>

namespace opener {

namespace {

// The text before the first TAB and the text after it; no TAB gives an empty first part.
std::pair<std::string_view, std::string_view> splitAtTab(std::string_view text)
{
    const auto tab = text.find('\t');
    if (tab == std::string_view::npos)
        return {std::string_view(), text};
    return {text.substr(0, tab), text.substr(tab + 1)};
}

} // namespace

ListLines splitListLines(std::string_view bytes)
{
    ListLines text;
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos) {
        text.afterEnd = bytes.substr(nul);
        bytes = bytes.substr(0, nul);
    }
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    const auto find = [](const char *from, const char *to, char byte) {
        const void *found = std::memchr(from, byte, static_cast<size_t>(to - from));
        return found ? static_cast<const char *>(found) : to;
    };

    size_t lineFeeds = 0;
    for (const char *lf = find(p, end, '\n'); lf != end; lf = find(lf + 1, end, '\n'))
        ++lineFeeds;
    text.lines.reserve(lineFeeds + 1); // lone CRs, rare, grow it further

    // Piece by piece between LFs; inside a piece a CR ends a line too, and a CR right
    // before the LF makes the two one line break.
    while (p < end) {
        const char *const lf = find(p, end, '\n');
        const char *lineStart = p;
        bool endsAtLf = true;
        for (const char *cr = find(lineStart, lf, '\r'); cr != lf; cr = find(lineStart, lf, '\r')) {
            text.lines.emplace_back(lineStart, static_cast<size_t>(cr - lineStart));
            lineStart = cr + 1;
            if (lineStart == lf) {
                endsAtLf = false; // CR LF, or a CR at the very end
                break;
            }
        }
        if (endsAtLf && (lf != end || lineStart != end))
            text.lines.emplace_back(lineStart, static_cast<size_t>(lf - lineStart));
        p = lf == end ? end : lf + 1;
    }
    return text;
}

BookLine splitBookLine(std::string_view line)
{
    const auto [name, rest] = splitAtTab(line);
    const auto [id, subfolder] = splitAtTab(rest);
    return BookLine{std::string(name), std::string(id), std::string(subfolder)};
}

std::string_view bookNameOf(std::string_view line)
{
    return splitAtTab(line).first;
}

std::strong_ordering compareNames(std::string_view left, std::string_view right)
{
    const auto common = std::min(left.size(), right.size());
    for (size_t i = 0; i < common; ++i) {
        const auto l = static_cast<unsigned char>(left[i]);
        const auto r = static_cast<unsigned char>(right[i]);
        if (l != r)
            return l <=> r;
    }
    return left.size() <=> right.size();
}

std::string pdfPath(std::string_view booksFolder, const BookLine &book)
{
    std::string path;
    path.reserve(booksFolder.size() + book.subfolder.size() + book.id.size() + 5);
    path.append(booksFolder).append(book.subfolder).append("\\").append(book.id).append(".pdf");
    return path;
}

} // namespace opener
