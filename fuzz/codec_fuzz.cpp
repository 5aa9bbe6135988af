// Windows-1255 <-> UTF-8 and path text: every byte string survives the round trip, any
// UTF-8 (valid or not) comes back as Windows-1255 without a crash, and a path splits
// into its folder and name parts without losing a byte.
#include "check.h"

#include "platform/codec.h"
#include "platform/winpath.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool validUtf8(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t extra;
        if (lead < 0x80)
            extra = 0;
        else if ((lead & 0xE0) == 0xC0)
            extra = 1;
        else if ((lead & 0xF0) == 0xE0)
            extra = 2;
        else if ((lead & 0xF8) == 0xF0)
            extra = 3;
        else
            return false;
        if (i + extra >= text.size() && extra > 0)
            return false;
        for (size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += extra + 1;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);

    const std::string utf8 = platform::win1255ToUtf8(bytes);
    FUZZ_CHECK(validUtf8(utf8));
    FUZZ_CHECK(platform::utf8ToWin1255(utf8) == bytes);

    // The input as UTF-8: never longer in Windows-1255, and stable from then on.
    const std::string win1255 = platform::utf8ToWin1255(bytes);
    FUZZ_CHECK(win1255.size() <= bytes.size());
    FUZZ_CHECK(platform::utf8ToWin1255(platform::win1255ToUtf8(win1255)) == win1255);

    const std::string_view folder = platform::extractFilePath(bytes);
    const std::string_view name = platform::extractFileName(bytes);
    FUZZ_CHECK(std::string(folder) + std::string(name) == bytes);
    FUZZ_CHECK(name.find_first_of("\\:") == std::string_view::npos);

    // Without a drive prefix a path only changes its separators (and its encoding).
    if (bytes.size() < 2 || bytes[1] != ':') {
        const auto native = platform::toNativePath(bytes, platform::DriveTable("/nonexistent"));
        FUZZ_CHECK(native.has_value());
        std::string expected = utf8;
        for (char &c : expected)
            if (c == '\\')
                c = '/';
        FUZZ_CHECK(*native == expected);
        std::string windows(bytes);
        for (char &c : windows)
            if (c == '/')
                c = '\\';
        FUZZ_CHECK(platform::toWindowsPath(*native) == windows);
    }
    return 0;
}
