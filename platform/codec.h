#pragma once
// Windows-1255 <-> UTF-8.
//
// Every text the programs keep is a Windows-1255 byte string; it becomes UTF-8 only
// at the edges (a widget, a native file name, a program argument). The round trip
// Windows-1255 -> UTF-8 -> Windows-1255 gives back every byte string unchanged, also
// for the byte values Windows-1255 leaves undefined: those travel as private-use
// code points U+F700 + byte.
//
//   "\xE0\xE1" (alef, bet)  -> "\u05D0\u05D1"
//   "\x81"     (undefined)  -> "\uF781"
//   "\u4E2D" (not in the code page) -> "?"
#include <string>
#include <string_view>

namespace platform {

std::string win1255ToUtf8(std::string_view win1255);

// Characters that Windows-1255 cannot hold, and malformed UTF-8, become '?'.
std::string utf8ToWin1255(std::string_view utf8);

// The code point that a Windows-1255 byte stands for.
char32_t win1255ToCodePoint(unsigned char byte);

} // namespace platform
