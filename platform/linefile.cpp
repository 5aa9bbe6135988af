#include "linefile.h"

#include "files.h"

#include <cstring>

namespace platform {

LineText splitLines(std::string_view bytes)
{
    LineText text;
    if (const void *nul = std::memchr(bytes.data(), '\0', bytes.size())) {
        const auto end = static_cast<size_t>(static_cast<const char *>(nul) - bytes.data());
        text.afterEnd.assign(bytes.substr(end));
        bytes = bytes.substr(0, end);
    }
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    while (p < end) {
        const char *lineEnd = p;
        while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n')
            ++lineEnd;
        text.lines.emplace_back(p, lineEnd);
        p = lineEnd;
        if (p < end && *p++ == '\r' && p < end && *p == '\n')
            ++p; // CR LF is one line break
    }
    return text;
}

std::string joinLines(const LineText &text)
{
    size_t size = text.afterEnd.size();
    for (const auto &line : text.lines)
        size += line.size() + 2;
    std::string bytes;
    bytes.reserve(size);
    for (const auto &line : text.lines) {
        bytes += line;
        bytes += "\r\n";
    }
    bytes += text.afterEnd;
    return bytes;
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
