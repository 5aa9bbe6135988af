#include "codec.h"

#include <array>
#include <unordered_map>

namespace platform {
namespace {

constexpr char32_t kPrivateUseBase = 0xF700;
constexpr char32_t U = 0; // undefined in the code page

// Code points of bytes 0x80..0xFF.
constexpr std::array<char32_t, 128> kHighHalf = {
    0x20AC, U,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x02C6, 0x2030, U,      0x2039, U,      U,      U,      U,      // 88
    U,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x02DC, 0x2122, U,      0x203A, U,      U,      U,      U,      // 98
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x20AA, 0x00A5, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x00D7, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x00B9, 0x00F7, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF, // B8
    0x05B0, 0x05B1, 0x05B2, 0x05B3, 0x05B4, 0x05B5, 0x05B6, 0x05B7, // C0
    0x05B8, 0x05B9, 0x05BA, 0x05BB, 0x05BC, 0x05BD, 0x05BE, 0x05BF, // C8
    0x05C0, 0x05C1, 0x05C2, 0x05C3, 0x05F0, 0x05F1, 0x05F2, 0x05F3, // D0
    0x05F4, U,      U,      U,      U,      U,      U,      U,      // D8
    0x05D0, 0x05D1, 0x05D2, 0x05D3, 0x05D4, 0x05D5, 0x05D6, 0x05D7, // E0
    0x05D8, 0x05D9, 0x05DA, 0x05DB, 0x05DC, 0x05DD, 0x05DE, 0x05DF, // E8
    0x05E0, 0x05E1, 0x05E2, 0x05E3, 0x05E4, 0x05E5, 0x05E6, 0x05E7, // F0
    0x05E8, 0x05E9, 0x05EA, U,      U,      0x200E, 0x200F, U,      // F8
};

void appendUtf8(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

const std::unordered_map<char32_t, char> &reverseTable()
{
    static const auto table = [] {
        std::unordered_map<char32_t, char> map;
        for (unsigned b = 0x80; b <= 0xFF; ++b)
            map.emplace(win1255ToCodePoint(static_cast<unsigned char>(b)), static_cast<char>(b));
        return map;
    }();
    return table;
}

// Decodes one UTF-8 sequence at s[i]; returns the code point or nothing when malformed.
// Always advances i by at least one byte.
bool nextCodePoint(std::string_view s, size_t &i, char32_t &cp)
{
    const auto lead = static_cast<unsigned char>(s[i]);
    int extra;
    if (lead < 0x80) { cp = lead; ++i; return true; }
    if ((lead & 0xE0) == 0xC0) { extra = 1; cp = lead & 0x1F; }
    else if ((lead & 0xF0) == 0xE0) { extra = 2; cp = lead & 0x0F; }
    else if ((lead & 0xF8) == 0xF0) { extra = 3; cp = lead & 0x07; }
    else { ++i; return false; }
    if (i + static_cast<size_t>(extra) >= s.size()) {
        ++i;
        return false;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto c = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
        if ((c & 0xC0) != 0x80) { ++i; return false; }
        cp = (cp << 6) | (c & 0x3F);
    }
    static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    i += static_cast<size_t>(extra) + 1;
    return cp >= kMinimum[extra] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

} // namespace

char32_t win1255ToCodePoint(unsigned char byte)
{
    if (byte < 0x80)
        return byte;
    const char32_t cp = kHighHalf[byte - 0x80];
    return cp == U ? kPrivateUseBase + byte : cp;
}

std::string win1255ToUtf8(std::string_view win1255)
{
    std::string out;
    out.reserve(win1255.size() * 2);
    for (const char c : win1255) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            out += c;
        else
            appendUtf8(out, win1255ToCodePoint(byte));
    }
    return out;
}

std::string utf8ToWin1255(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        if (!nextCodePoint(utf8, i, cp)) {
            out += '?';
            continue;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
            continue;
        }
        const auto &table = reverseTable();
        const auto found = table.find(cp);
        out += found != table.end() ? found->second : '?';
    }
    return out;
}

} // namespace platform
