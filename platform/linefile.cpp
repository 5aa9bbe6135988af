#include "linefile.h"

#include "files.h"

#include <cstring>

namespace platform {

LineViews splitLineViews(std::string_view bytes)
{
    LineViews text;
    if (const void *nul = std::memchr(bytes.data(), '\0', bytes.size())) {
        const auto end = static_cast<size_t>(static_cast<const char *>(nul) - bytes.data());
        text.afterEnd = bytes.substr(end);
        bytes = bytes.substr(0, end);
    }
    // The next CR and the next LF are each found with memchr and looked for again only
    // once passed: one fast pass over the text whatever its line ends.
    text.lines.reserve(bytes.size() / 48 + 1); // about one line per 48 bytes; grows if not
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    auto next = [end](const char *from, char c) {
        const void *found = std::memchr(from, c, static_cast<size_t>(end - from));
        return found ? static_cast<const char *>(found) : end;
    };
    const char *nextCr = next(p, '\r');
    const char *nextLf = next(p, '\n');
    while (p < end) {
        if (nextCr < p)
            nextCr = next(p, '\r');
        if (nextLf < p)
            nextLf = next(p, '\n');
        const char *lineEnd = nextCr < nextLf ? nextCr : nextLf;
        text.lines.emplace_back(p, static_cast<size_t>(lineEnd - p));
        p = lineEnd;
        if (p < end && *p++ == '\r' && p < end && *p == '\n')
            ++p; // CR LF is one line break
    }
    return text;
}

LineText splitLines(std::string_view bytes)
{
    const LineViews views = splitLineViews(bytes);
    LineText text;
    text.lines.assign(views.lines.begin(), views.lines.end());
    text.afterEnd.assign(views.afterEnd);
    return text;
}

std::string joinLines(const std::vector<std::string_view> &lines, std::string_view afterEnd)
{
    size_t size = afterEnd.size();
    for (const auto line : lines)
        size += line.size() + 2;
    std::string bytes;
    bytes.reserve(size);
    for (const auto line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    bytes += afterEnd;
    return bytes;
}

std::string joinLines(const LineText &text)
{
    return joinLines(std::vector<std::string_view>(text.lines.begin(), text.lines.end()), text.afterEnd);
}

LineText readLineFile(const std::string &nativePath)
{
    return splitLines(readWholeFile(nativePath));
}

void writeLineFile(const std::string &nativePath, const LineText &text)
{
    writeFileAtomically(nativePath, joinLines(text));
}

} // namespace platform
