#include "desktopsystem.h"

#include "booklist.h"
#include "messagebox.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "platform/process.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace opener {

DesktopSystem::DesktopSystem(platform::DriveTable drives, std::string title)
    : m_drives(std::move(drives)), m_title(std::move(title))
{
}

namespace {

// A file mapped read-only: its pages come straight from the page cache, without
// copying or clearing a buffer of the file's size on every start. The programs
// replace the list by renaming a new file over it, never by cutting it in place, so
// the mapped bytes stay as they were read.
class MappedFile final : public FileBytes {
public:
    MappedFile(void *address, size_t size) : m_address(address), m_size(size) {}
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;
    ~MappedFile() override { ::munmap(m_address, m_size); }
    std::string_view bytes() const override { return {static_cast<const char *>(m_address), m_size}; }

private:
    void *m_address;
    size_t m_size;
};

class FdCloser {
public:
    explicit FdCloser(int fd) : m_fd(fd) {}
    FdCloser(const FdCloser &) = delete;
    FdCloser &operator=(const FdCloser &) = delete;
    ~FdCloser() { ::close(m_fd); }

private:
    int m_fd;
};

} // namespace

std::unique_ptr<FileBytes> DesktopSystem::readFile(const std::string &nativePath)
{
    int fd;
    do
        fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK); // a FIFO must not block
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        platform::throwFileError("לא ניתן לפתוח את הקובץ", nativePath, errno);
    const FdCloser closer(fd);
    struct stat info{};
    if (::fstat(fd, &info) != 0)
        platform::throwFileError("לא ניתן לקרוא את הקובץ", nativePath, errno);
    if (!S_ISREG(info.st_mode))
        platform::throwFileError("לא ניתן לקרוא את הקובץ", nativePath, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    if (info.st_size > 0) {
        const auto size = static_cast<size_t>(info.st_size);
        void *address = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (address != MAP_FAILED)
            return std::make_unique<MappedFile>(address, size);
    }
    // Empty, or a file system that cannot map it: read it.
    return std::make_unique<StringBytes>(platform::readWholeFile(nativePath));
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
