#pragma once
// The file name a saved copy of a book gets: its title, with the characters that file
// names may not hold replaced and the abbreviations "Vol." and "No." turned into their
// Hebrew forms. Windows-1255 bytes in and out, one byte per character; nothing is
// trimmed and the length is not limited:
//   Vol.2 No.3   ->  כרך2 מס'3
//   vol.1        ->  vol-1          ("Vol." is matched case-sensitively)
//   a/b: c?      ->  "a,b  c "
//   x<y>z        ->  x(y)z
//   "A" 1.5      ->  ''A'' 1-5
//   TAB          ->  _              \ or /  ->  ,       : | ? *  ->  blank
// "Vol" or "No" cut short by the end of the title stays as it is.
#include <string>
#include <string_view>

namespace browser {

std::string MakeSaveName(std::string_view title);

// Where the copy of a book with this title goes: folder (ending in "\" or ":") + the
// name made from the title + ".pdf".
std::string savePath(std::string_view folder, std::string_view title);

} // namespace browser
