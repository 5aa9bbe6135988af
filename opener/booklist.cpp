#include "booklist.h"

#include <algorithm>

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
