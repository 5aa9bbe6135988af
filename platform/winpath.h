#pragma once
// Windows-form path text and its native counterpart.
//
// The programs keep paths the way the data holds them: Windows-1255 bytes, "\" as
// separator, an optional drive prefix "X:". Only when a path touches the file system
// or another program does it become native:
//
//   F:\PDFS\12\345.pdf  ->  <drive table entry f:>/PDFS/12/345.pdf
//   G:\PDFS\            ->  nothing, when the drive table has no g:
//   \home\u\x\all.pdf   ->  /home/u/x/all.pdf
//
// The drive table is the folder $WINEPREFIX/dosdevices (WINEPREFIX defaults to
// $HOME/.wine): an entry "f:" there, a link or a folder, is drive F.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The path part up to and including the last "\" or ":"; empty when neither occurs.
std::string_view extractFilePath(std::string_view path);
// The text after the last "\" or ":"; the whole path when neither occurs.
std::string_view extractFileName(std::string_view path);

class DriveTable {
public:
    explicit DriveTable(std::filesystem::path dosdevices);
    // $WINEPREFIX/dosdevices, read from the environment at the moment of the call.
    static DriveTable fromEnvironment();

    // Native folder of a drive letter (either case); nothing when there is no entry
    // or the entry leads nowhere.
    std::optional<std::filesystem::path> driveRoot(char letter) const;
    const std::filesystem::path &folder() const { return m_dosdevices; }

private:
    std::filesystem::path m_dosdevices;
};

// Windows form -> native (UTF-8). Nothing when the path names a drive that does not exist.
std::optional<std::string> toNativePath(std::string_view windowsPath, const DriveTable &drives);
std::optional<std::string> toNativePath(std::string_view windowsPath);

// Native (UTF-8) -> Windows form: Windows-1255 bytes with "\" separators.
std::string toWindowsPath(std::string_view nativePath);

// A folder exists at a Windows-form path (a trailing "\" is fine; a file does not count).
bool windowsFolderExists(std::string_view windowsPath, const DriveTable &drives);
bool windowsFolderExists(std::string_view windowsPath);

} // namespace platform
