#pragma once
// The books of a generated collection and the two line files that describe them.
//
// Every text here is Windows-1255 bytes, as the files hold it. A collection lies under
// one books folder: <subfolder>\<id>.pdf and <subfolder>\thumbs\<id>.jpg.
//
//   catalogue (data.txt):   line 0 the books folder, then  id TAB title TAB subfolder TAB author
//                           sorted by title
//   book list:              line 0 the books folder, then  book name TAB id TAB subfolder
//                           sorted by book name
//
// Both orders compare unsigned bytes: "ab" < "abc", "Z" < "a", every Latin text before
// every Hebrew one, and a final letter just before its base form ("\xEA" < "\xEB").
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tools {

// What lies at <subfolder>\thumbs\<id>.jpg.
enum class ThumbState {
    Present,
    Missing, // no file at all
    Corrupt, // a JPEG cut off inside its headers, which no decoder accepts
};

struct ThumbSpec {
    ThumbState state = ThumbState::Present;
    int width = 300;
    int height = 400;
    bool progressive = false;
    bool greyscale = false;
};

struct Book {
    int id = 0;
    std::string title;
    std::string subfolder; // relative to the books folder, "\" between levels, none at the ends
    std::string author;
    ThumbSpec thumb;
};

// The first line of the book list as the collection ships it.
inline constexpr std::string_view kShippedBookListFolder = "G:\\kdapp\\WebApp\\WebApp\\App_Data\\PDFS\\";

// The bundled sample: about thirty books whose titles show what the programs must cope
// with (shared prefixes, final letters, "Vol." and "No.", characters a file name cannot
// hold, Latin and mixed titles, a very long one, a duplicate), with thumbnails of every
// kind. The seed chooses the ids; titles, subfolders and thumbnail kinds stay put.
std::vector<Book> sampleBooks(std::uint64_t seed);

// count books with generated Hebrew titles and authors of realistic lengths, unique
// titles and unique ids; the same seed gives the same books.
std::vector<Book> generatedBooks(int count, std::uint64_t seed);

// A title made fit for a file name, the book list's key:
//   a/b\c      -> a,b,c
//   x<y>z      -> x(y)z
//   שו"ת       -> שו''ת
//   מה זה ספר? -> "מה זה ספר " (each of : * ? | becomes a blank)
// A TAB or another control byte becomes "_"; everything else stays, "." included.
std::string bookNameForTitle(std::string_view title);

// Unsigned byte order, the order of both files.
bool byteLess(std::string_view a, std::string_view b);

std::vector<std::string> catalogueLines(const std::vector<Book> &books, std::string_view booksFolder);

// Titles that give the same book name are told apart by " (2)", " (3)", … on the later
// ones (in catalogue order), so that every book keeps a stub of its own.
std::vector<std::string> bookListLines(const std::vector<Book> &books, std::string_view booksFolder);

} // namespace tools
