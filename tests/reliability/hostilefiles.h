#pragma once
// The hostile files every reader is checked against: empty, only line breaks, huge,
// binary, badly encoded, lying about their size, cut short or of another kind.
#include <string>
#include <vector>

namespace reliability {

struct HostileFile {
    std::string name;  // how the table calls it
    std::string bytes;
    bool isText;       // offered to the readers of data.txt and of the book list
};

// The books folder line the text files start with, where they have one.
inline const std::string hostileBooksFolder = "X:\\books\\";

// Catalogue (data.txt) and book list files. Each holds, where the kind allows it, the
// book line "אבגד" (Windows-1255) with id 7 in the subfolder "s", so that a reader that
// survives can also be asked for a book.
HostileFile emptyFile();
HostileFile onlyLineBreaks();          // 60000 line breaks of all three kinds, nothing else
HostileFile fiftyMegabyteLine();       // one line of 50 MB, TABs and high bytes in it, no break
HostileFile twoHundredThousandLines(); // line 0, then 200000 sorted book and entry lines
HostileFile nulInTheMiddle();          // a NUL byte inside the second entry line
HostileFile undefinedWin1255Bytes();   // names made of bytes Windows-1255 leaves undefined

// Thumbnails and PDFs.
HostileFile jpegAnnouncingHugeSize();  // a valid JPEG whose header says 65535 x 65535
HostileFile jpegAnnouncingTooManyPixels(); // says 60000 x 60000: libjpeg takes it, the bound does not
HostileFile progressiveJpegAtTheBound(); // a progressive JPEG of 7000 x 7000 whose data stops early
HostileFile jpegCutAfterHeader();      // a JPEG that ends right after its scan header
HostileFile pngNamedJpeg();            // a PNG picture
HostileFile zeroBytePdf();

std::vector<HostileFile> allHostileFiles();

// A small, valid JPEG picture (baseline, colour) of the given size.
std::string smallJpeg(int width, int height);

// The book line every text file that has book lines holds, and its name.
std::string knownBookName();           // "אבגד" in Windows-1255

} // namespace reliability
