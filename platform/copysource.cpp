#include "copysource.h"

#include "files.h"

#include <cerrno>
#include <string_view>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr std::string_view kCannotOpen = "לא ניתן לפתוח את הקובץ";
constexpr std::string_view kCannotRead = "לא ניתן לקרוא את הקובץ";
constexpr std::string_view kCannotCreate = "לא ניתן ליצור את הקובץ";
constexpr std::string_view kCannotWrite = "לא ניתן לכתוב את הקובץ";

void writeAll(int fd, std::string_view bytes, const std::string &targetNative)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throwFileError(kCannotWrite, targetNative, errno);
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
}

// The kernel copy is refused by these file system pairings; the buffer then serves.
bool kernelCopyUnsupported(int error)
{
    return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

} // namespace

CopySource::CopySource(const std::string &nativePath) : m_path(nativePath)
{
    do
        m_fd = ::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
    while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0)
        throwFileError(kCannotOpen, nativePath, errno);
    struct stat info{};
    int error = 0;
    if (::fstat(m_fd, &info) != 0)
        error = errno;
    else if (!S_ISREG(info.st_mode))
        error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    if (error) {
        ::close(std::exchange(m_fd, -1));
        throwFileError(kCannotRead, nativePath, error);
    }
    m_size = static_cast<std::uint64_t>(info.st_size);
    // Like cp: the source's permission bits (a stub stays executable), writable by its
    // owner so that the next install can replace it; the umask applies on creation.
    m_mode = static_cast<mode_t>((info.st_mode & 0777) | 0200);
}

CopySource::~CopySource()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void CopySource::copyTo(const std::string &targetNative)
{
    // A name that cannot be unlinked (a folder, a folder without write access) gives
    // the clearer reason of the two.
    int unlinkError = 0;
    if (::unlink(targetNative.c_str()) != 0 && errno != ENOENT)
        unlinkError = errno;
    int target;
    do
        target = ::open(targetNative.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, m_mode);
    while (target < 0 && errno == EINTR);
    if (target < 0)
        throwFileError(kCannotCreate, targetNative, unlinkError ? unlinkError : errno);

    try {
        copyBytes(target, targetNative);
    } catch (...) {
        ::close(target);
        ::unlink(targetNative.c_str());
        throw;
    }
    if (::close(target) != 0) {
        const int error = errno;
        ::unlink(targetNative.c_str());
        throwFileError(kCannotWrite, targetNative, error);
    }
}

void CopySource::copyBytes(int target, const std::string &targetNative)
{
    if (m_kernelCopy) {
        loff_t offset = 0; // the source's own position never moves
        while (static_cast<std::uint64_t>(offset) < m_size) {
            const ssize_t n = ::copy_file_range(m_fd, &offset, target, nullptr,
                                                static_cast<size_t>(m_size - static_cast<std::uint64_t>(offset)), 0);
            if (n > 0)
                continue;
            if (n == 0)
                return; // the source shrank since it was opened
            if (errno == EINTR)
                continue;
            if (offset != 0 || !kernelCopyUnsupported(errno))
                throwFileError(kCannotWrite, targetNative, errno);
            m_kernelCopy = false;
            break;
        }
        if (m_kernelCopy)
            return;
    }
    if (m_bytes.size() != m_size) {
        m_bytes.resize(static_cast<size_t>(m_size));
        size_t filled = 0;
        while (filled < m_bytes.size()) {
            const ssize_t n = ::pread(m_fd, m_bytes.data() + filled, m_bytes.size() - filled,
                                      static_cast<off_t>(filled));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                throwFileError(kCannotRead, m_path, errno);
            if (n == 0)
                break;
            filled += static_cast<size_t>(n);
        }
        m_bytes.resize(filled);
        m_size = filled;
    }
    writeAll(target, m_bytes, targetNative);
}

} // namespace platform
