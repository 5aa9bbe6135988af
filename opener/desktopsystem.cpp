#include "desktopsystem.h"

#include "booklist.h"
#include "messagebox.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "platform/process.h"

#include <cerrno>

namespace opener {

DesktopSystem::DesktopSystem(platform::DriveTable drives, std::string title)
    : m_drives(std::move(drives)), m_title(std::move(title))
{
}

std::string DesktopSystem::readFile(const std::string &nativePath)
{
    return platform::readWholeFile(nativePath);
}

void DesktopSystem::replaceFile(const std::string &nativePath, std::string_view bytes)
{
    platform::writeFileAtomically(nativePath, bytes);
}

bool DesktopSystem::folderExists(std::string_view windowsPath)
{
    return platform::windowsFolderExists(windowsPath, m_drives);
}

void DesktopSystem::openDocument(std::string_view windowsPath)
{
    const auto nativePath = platform::toNativePath(windowsPath, m_drives);
    if (!nativePath) // the drive went away since its folder was found
        platform::throwFileError("לא ניתן לפתוח את הקובץ", platform::win1255ToUtf8(windowsPath), ENODEV);
    if (!platform::openWithShell(*nativePath))
        throw platform::FileError("לא ניתן לפתוח את הקובץ: " + *nativePath
                                  + "\nלא נמצאה תוכנית לפתיחת קבצים (xdg-open)");
}

void DesktopSystem::showMessage(std::string_view caption, std::string_view text)
{
    showMessageBox(platform::win1255ToUtf8(caption), platform::win1255ToUtf8(text), BoxIcon::None);
}

void DesktopSystem::reportError(std::string_view text)
{
    showMessageBox(m_title, text, BoxIcon::Stop);
}

std::string applicationTitle(std::string_view ownNativePath)
{
    std::string_view name = ownNativePath.substr(ownNativePath.find_last_of('/') + 1);
    if (const auto dot = name.find_last_of('.'); dot != std::string_view::npos && dot > 0)
        name = name.substr(0, dot);
    return std::string(name);
}

std::string bookListPathBeside(std::string_view ownNativePath)
{
    const auto slash = ownNativePath.find_last_of('/');
    std::string folder(slash == std::string_view::npos ? std::string_view(".") : ownNativePath.substr(0, slash));
    return folder + "/" + platform::win1255ToUtf8(bookListFileName);
}

} // namespace opener
