#pragma once
// The book list file "K נתונים.txt": line 0 is the books folder (ending with a
// backslash), every further line is one book, TAB-separated:
//
//   book name <TAB> id <TAB> subfolder
//
// The book lines are sorted by book name as unsigned bytes (so Latin before Hebrew,
// and each Hebrew final letter just before its base form). The PDF of a book lies at
// books folder + subfolder + "\" + id + ".pdf".
//
// Splitting a line, by its TABs (positions count bytes):
//
//   "abc\t123\tx\\y"   -> name "abc", id "123", subfolder "x\y"
//   "abc\t123\tx\ty"   -> name "abc", id "123", subfolder "x\ty"  (further TABs stay)
//   "abc\t123"         -> name "abc", id "",    subfolder "123"
//   "abc"              -> name "",    id "",    subfolder "abc"
//   "\t123\tx"         -> name "",    id "123", subfolder "x"
#include <compare>
#include <string>
#include <string_view>
#include <vector>

namespace opener {

inline constexpr std::string_view bookListFileName = "K \xF0\xFA\xE5\xF0\xE9\xED.txt"; // "K נתונים.txt"

struct BookLine {
    std::string name;
    std::string id;
    std::string subfolder;

    friend bool operator==(const BookLine &, const BookLine &) = default;
};

// The list's lines are cut by the platform's line-file rule (platform/linefile.h).

BookLine splitBookLine(std::string_view line);

// Only the name of a book line: the text before its first TAB, empty without a TAB.
std::string_view bookNameOf(std::string_view line);

// The order of the list: the first differing byte decides, by its unsigned value; a
// name that is the beginning of another sorts first.
std::strong_ordering compareNames(std::string_view left, std::string_view right);

// books folder + subfolder + "\" + id + ".pdf", by plain concatenation.
std::string pdfPath(std::string_view booksFolder, const BookLine &book);

} // namespace opener
