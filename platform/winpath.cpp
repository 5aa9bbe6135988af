#include "winpath.h"

#include "codec.h"
#include "files.h"

#include <cstdlib>
#include <system_error>

namespace platform {
namespace fs = std::filesystem;

std::string_view extractFilePath(std::string_view path)
{
    const auto cut = path.find_last_of("\\:");
    return cut == std::string_view::npos ? std::string_view{} : path.substr(0, cut + 1);
}

std::string_view extractFileName(std::string_view path)
{
    const auto cut = path.find_last_of("\\:");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

DriveTable::DriveTable(fs::path dosdevices) : m_dosdevices(std::move(dosdevices)) {}

DriveTable DriveTable::fromEnvironment()
{
    if (const char *prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return DriveTable(fs::path(prefix) / "dosdevices");
    const char *home = std::getenv("HOME");
    return DriveTable(fs::path(home && *home ? home : "/") / ".wine" / "dosdevices");
}

std::optional<fs::path> DriveTable::driveRoot(char letter) const
{
    if (letter >= 'A' && letter <= 'Z')
        letter = static_cast<char>(letter - 'A' + 'a');
    if (letter < 'a' || letter > 'z')
        return std::nullopt;
    const fs::path entry = m_dosdevices / std::string{letter, ':'};
    std::error_code error;
    if (!fs::is_directory(entry, error)) // follows the link
        return std::nullopt;
    if (fs::is_symlink(fs::symlink_status(entry, error))) {
        fs::path target = fs::read_symlink(entry, error);
        if (error)
            return std::nullopt;
        if (target.is_relative())
            target = m_dosdevices / target;
        return target.lexically_normal();
    }
    return entry;
}

namespace {
bool hasDrivePrefix(std::string_view path)
{
    return path.size() >= 2 && path[1] == ':'
        && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}
} // namespace

std::optional<std::string> toNativePath(std::string_view windowsPath, const DriveTable &drives)
{
    std::string native;
    if (hasDrivePrefix(windowsPath)) {
        const auto root = drives.driveRoot(windowsPath[0]);
        if (!root)
            return std::nullopt;
        native = root->string();
        windowsPath.remove_prefix(2);
        // "F:" alone and "F:name" both sit directly below the drive's root.
        if (windowsPath.empty() || windowsPath.front() != '\\')
            native += '/';
    }
    std::string rest = win1255ToUtf8(windowsPath);
    for (char &c : rest)
        if (c == '\\')
            c = '/';
    native += rest;
    return native;
}

std::optional<std::string> toNativePath(std::string_view windowsPath)
{
    return toNativePath(windowsPath, DriveTable::fromEnvironment());
}

std::string toWindowsPath(std::string_view nativePath)
{
    std::string windows = utf8ToWin1255(nativePath);
    for (char &c : windows)
        if (c == '/')
            c = '\\';
    return windows;
}

bool windowsFolderExists(std::string_view windowsPath, const DriveTable &drives)
{
    const auto native = toNativePath(windowsPath, drives);
    return native && folderExists(*native);
}

bool windowsFolderExists(std::string_view windowsPath)
{
    return windowsFolderExists(windowsPath, DriveTable::fromEnvironment());
}

} // namespace platform
