#pragma once
// A book's PDF: one A5 page that shows its title, author and id. Needs a
// QGuiApplication (the offscreen platform serves) for the fonts.
#include <string>

namespace tools {

struct Book;

// The PDF bytes. The same book gives the same bytes on every run: the creation date
// that the PDF writer stamps is replaced by a fixed one.
std::string renderBookPdf(const Book &book);

} // namespace tools
