#pragma once
// The catalogue: data.txt read into four parallel tables.
//
// data.txt, Windows-1255, one line per book after line 0 (the books folder):
//   id TAB title TAB subfolder TAB author
// Three cuts at TAB; the author keeps the rest, further TABs included:
//   "123\tTitle\tsub\tAuthor"   -> 123, "Title", "sub", "Author"
//   "123\tTitle"                -> 123, "",      "",    "Title"
//   "no tab at all"             -> 0,   "",      "",    "no tab at all"
//   "1\ta\tb\tc\td\te"          -> 1,   "a",     "b",   "c\td\te"
//
// The tables view the file's bytes, which the catalogue owns: one read, one pass, and
// no allocation per entry.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace browser {

// The tables hold at most this many entries.
inline constexpr int MaxEntries = 40000;

struct EntryFields {
    std::string_view id, title, subfolder, author;
};
EntryFields splitEntryLine(std::string_view line);

// Reads a number the way the C library's atol does: leading white space, an optional
// sign, decimal digits up to the first other byte; no digits give 0. A number beyond
// 32 bits gives the nearest 32-bit value (2147483647 or -2147483648).
std::int32_t readId(std::string_view text);

class Catalogue {
public:
    // Cuts the file's bytes into lines and entries. Entry lines past MaxEntries are
    // kept as lines (a write-back keeps them) but not as entries.
    explicit Catalogue(std::string fileBytes);
    Catalogue(const Catalogue &) = delete;
    Catalogue &operator=(const Catalogue &) = delete;

    // The lines of the file as read (dataLines); line 0 may have been replaced.
    const std::vector<std::string_view> &lines() const { return m_lines; }
    bool hasLine0() const { return !m_lines.empty(); }
    std::string_view line0() const { return m_lines.front(); }
    void replaceLine0(std::string folder);
    // The file's text as it is to be written back: every line with CR LF, then
    // whatever followed a NUL byte, unchanged.
    std::string fileText() const;

    int entryCount() const { return static_cast<int>(m_entries.size()); }
    // Entry lines that did not fit into the tables.
    int leftOut() const { return m_leftOut; }

    std::int32_t id(int k) const { return entry(k).id; }
    std::string_view title(int k) const { return entry(k).title; }
    std::string_view author(int k) const { return entry(k).author; }
    std::string_view subfolder(int k) const { return entry(k).subfolder; }

private:
    std::string m_bytes;
    std::string m_line0;
    std::vector<std::string_view> m_lines;
    std::string_view m_afterEnd;
    // The four tables side by side: one allocation, and an entry's fields together.
    struct Entry {
        std::int32_t id;
        std::string_view title, author, subfolder;
    };
    const Entry &entry(int k) const { return m_entries[static_cast<size_t>(k)]; }
    std::vector<Entry> m_entries;
    int m_leftOut = 0;
};

} // namespace browser
