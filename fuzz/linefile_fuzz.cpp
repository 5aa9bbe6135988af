// The line-file reader: bytes in, lines out. Checked against a plain byte-by-byte
// reading of the rule, against the opener's own cutting of the same text, and for a
// write-back that loses nothing.
#include "check.h"

#include "platform/linefile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The rule read literally: CR LF, a lone CR or a lone LF end a line; a break at the very
// end starts no further line; a NUL byte ends the text.
std::vector<std::string> referenceLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    std::string current;
    bool open = false;
    for (size_t i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            open = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            current += c;
            open = true;
        }
    }
    if (open)
        lines.push_back(current);
    return lines;
}

template <typename Views>
bool sameLines(const Views &views, const std::vector<std::string> &lines)
{
    if (views.size() != lines.size())
        return false;
    for (size_t i = 0; i < lines.size(); ++i)
        if (std::string_view(views[i]) != lines[i])
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const std::vector<std::string> expected = referenceLines(bytes);

    const platform::LineText text = platform::splitLines(bytes);
    FUZZ_CHECK(text.lines == expected);
    const auto nul = bytes.find('\0');
    FUZZ_CHECK(text.afterEnd == (nul == std::string_view::npos ? std::string_view() : bytes.substr(nul)));

    const platform::LineViews views = platform::splitLineViews(bytes);
    FUZZ_CHECK(sameLines(views.lines, expected));
    FUZZ_CHECK(views.afterEnd == text.afterEnd);

    // Written back and read again: the same lines and the same bytes after the NUL.
    const std::string written = platform::joinLines(text);
    const platform::LineText reread = platform::splitLines(written);
    FUZZ_CHECK(reread.lines == text.lines);
    FUZZ_CHECK(reread.afterEnd == text.afterEnd);
    FUZZ_CHECK(platform::joinLines(reread) == written);
    return 0;
}
