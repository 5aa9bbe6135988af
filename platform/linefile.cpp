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
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    while (p < end) {
        const char *lineEnd = p;
        while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n')
            ++lineEnd;
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
