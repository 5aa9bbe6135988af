#pragma once
// The book name that a per-book stub's path stands for: its file name, less one
// leading "K " and less its last four bytes (normally ".exe").
//
//   C:\OTZAR\pdf\kelidor\K בראשית.exe   -> בראשית
//   C:\OTZAR\pdf\kelidor\בראשית.exe     -> בראשית
//   \kit\K K 2.exe                      -> K 2    (only one prefix goes)
//   "C:\kit\K בראשית.exe"               -> בראשית.  (the closing quote counts as a byte)
//   \kit\K a.b                          -> ""     (four bytes or fewer remain)
#include <string>
#include <string_view>

namespace opener {

std::string bookNameFromPath(std::string_view path);

} // namespace opener
