#pragma once
// The text form of the line files (the catalogue and the book list):
//
//   reading: a line ends at CR LF, a lone CR or a lone LF; a line break at the very
//            end adds no further line; an empty text has no lines; a NUL byte ends
//            the text ("a\r\nb" / "a\nb" / "a\rb" / "a\r\nb\r\n" -> a, b;
//            "a\n\r" -> a, "" ; "a\r\n\r\n" -> a, "").
//   writing: every line is followed by CR LF, the last one included.
//
// What follows a NUL byte is kept aside unread, so that writing the file back can
// keep it (it is data too, even if the programs do not look at it).
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct LineText {
    std::vector<std::string> lines;
    // The NUL byte that ended the text and every byte after it; empty when there was none.
    std::string afterEnd;
};

LineText splitLines(std::string_view bytes);

// The same cut without copying: the views point into bytes.
struct LineViews {
    std::vector<std::string_view> lines;
    std::string_view afterEnd;
};
LineViews splitLineViews(std::string_view bytes);
std::string joinLines(const std::vector<std::string_view> &lines, std::string_view afterEnd);
// The lines each followed by CR LF, then afterEnd unchanged.
std::string joinLines(const LineText &text);

// Reads a whole file by native path (FileError when it cannot be opened or read).
LineText readLineFile(const std::string &nativePath);
// Replaces the file by native path through a temporary file and a rename: a crash or
// a full disk leaves either the old file or the new one, never a torn one.
void writeLineFile(const std::string &nativePath, const LineText &text);

} // namespace platform
