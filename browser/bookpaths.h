#pragma once
// Where a book's files lie under the books folder. The pieces are joined as they are,
// nothing added or removed (the books folder ends with a backslash):
//   X:\dir\ + 12 + 345  -> X:\dir\12\345.pdf    X:\dir\12\thumbs\345.jpg
//   X:\dir\ + "" + 345  -> X:\dir\\345.pdf
//   X:\dir\ + 12 + -7   -> X:\dir\12\-7.pdf
#include <cstdint>
#include <string>
#include <string_view>

namespace browser {

std::string pdfPath(std::string_view booksFolder, std::string_view subfolder, std::int32_t id);
std::string thumbnailPath(std::string_view booksFolder, std::string_view subfolder, std::int32_t id);

} // namespace browser
