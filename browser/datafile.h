#pragma once
// data.txt on disk: loaded once at start, written back only to correct the drive
// letter of its first line.
#include "catalogue.h"

#include <string>
#include <string_view>

namespace browser {

class DataFile {
public:
    // Reads the file (platform::FileError when it is missing or unreadable, or has no
    // line at all).
    explicit DataFile(std::string nativePath);

    const std::string &path() const { return m_path; }
    const Catalogue &catalogue() const { return m_catalogue; }
    std::string_view line0() const { return m_catalogue.line0(); }

    // The books folder to use for folder (a Windows-form text). When it was found only
    // with drive letter E, F or G, line 0 becomes it and the file is written back; a
    // failed write is ignored (the medium may be read-only) and line 0 stays replaced.
    std::string resolveBooksFolder(std::string_view folder);

private:
    std::string m_path;
    Catalogue m_catalogue;
};

} // namespace browser
