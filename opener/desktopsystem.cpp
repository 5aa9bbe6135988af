#include "desktopsystem.h"

#include "booklist.h"
#include "messagebox.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "platform/process.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace opener {

DesktopSystem::DesktopSystem(platform::DriveTable drives, std::string title)
    : m_drives(std::move(drives)), m_title(std::move(title))
{
}

std::string DesktopSystem::readFile(const std::string &nativePath)
{
    // One buffer of the file's size and one byte more, so the end shows without
    // growing it: the list is read on every start.
    const int fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        platform::throwFileError("לא ניתן לפתוח את הקובץ", nativePath, errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info{};
    if (::fstat(fd, &info) != 0)
        platform::throwFileError("לא ניתן לקרוא את הקובץ", nativePath, errno);
    if (!S_ISREG(info.st_mode))
        platform::throwFileError("לא ניתן לקרוא את הקובץ", nativePath, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    std::string bytes(static_cast<size_t>(info.st_size) + 1, '\0');
    size_t filled = 0;
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(bytes.size() * 2); // the file grew while being read
        const ssize_t n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            platform::throwFileError("לא ניתן לקרוא את הקובץ", nativePath, errno);
        }
        if (n == 0)
            break;
        filled += static_cast<size_t>(n);
    }
    bytes.resize(filled);
    return bytes;
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
