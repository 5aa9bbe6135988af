#include "files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// Owns a file descriptor.
class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    Fd(Fd &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Fd &operator=(Fd &&other) noexcept
    {
        if (this != &other) {
            reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    ~Fd() { reset(); }
    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    void reset() { if (m_fd >= 0) ::close(std::exchange(m_fd, -1)); }
    // Closes and reports the error of the close (write-back errors of NFS and the like).
    int closeChecked() { const int rc = ::close(std::exchange(m_fd, -1)); return rc == 0 ? 0 : errno; }

private:
    int m_fd;
};

Fd openFile(const std::string &path, int flags, mode_t mode = 0)
{
    int fd;
    do
        fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    return Fd(fd);
}

void writeAll(int fd, std::string_view bytes, const std::string &pathForErrors)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throwFileError("לא ניתן לכתוב את הקובץ", pathForErrors, errno);
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
}

std::string folderOf(const std::string &path)
{
    const auto cut = path.find_last_of('/');
    if (cut == std::string::npos)
        return ".";
    return cut == 0 ? "/" : path.substr(0, cut);
}

void syncFolder(const std::string &folder)
{
    // Makes the rename itself durable; a folder that cannot be opened only loses that.
    if (Fd dir = openFile(folder, O_RDONLY | O_DIRECTORY))
        ::fsync(dir.get());
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// A temporary file beside target, removed again unless it is committed by a rename.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string &target) : m_target(target)
    {
        // A short name of its own: a target name near the length limit still has room.
        std::string pattern = folderOf(target) + "/.kelidor-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        m_fd = Fd(::mkostemp(buffer.data(), O_CLOEXEC));
        if (!m_fd)
            throwFileError("לא ניתן ליצור את הקובץ", target, errno);
        m_path.assign(buffer.data());
        // Keep the permissions of the file being replaced.
        struct stat old{};
        if (::stat(target.c_str(), &old) == 0)
            ::fchmod(m_fd.get(), old.st_mode & 07777);
        else
            ::fchmod(m_fd.get(), 0666 & ~currentUmask());
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;
    ~TemporaryFile()
    {
        if (!m_committed) {
            m_fd.reset();
            ::unlink(m_path.c_str());
        }
    }
    int fd() const { return m_fd.get(); }
    void setMode(mode_t mode) { ::fchmod(m_fd.get(), mode); }

    void commit()
    {
        if (::fsync(m_fd.get()) != 0)
            throwFileError("לא ניתן לכתוב את הקובץ", m_target, errno);
        if (const int closeError = m_fd.closeChecked())
            throwFileError("לא ניתן לכתוב את הקובץ", m_target, closeError);
        if (::rename(m_path.c_str(), m_target.c_str()) != 0)
            throwFileError("לא ניתן לכתוב את הקובץ", m_target, errno);
        m_committed = true;
        syncFolder(folderOf(m_target));
    }

private:
    std::string m_target;
    std::string m_path;
    Fd m_fd;
    bool m_committed = false;
};

void copyBytes(int from, int to, const std::string &source, const std::string &target)
{
    bool kernelCopy = true;
    for (;;) {
        if (kernelCopy) {
            const ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, size_t{1} << 30, 0);
            if (n > 0)
                continue;
            if (n == 0)
                return;
            if (errno == EINTR)
                continue;
            if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
                throwFileError("לא ניתן להעתיק אל הקובץ", target, errno);
            kernelCopy = false; // these file systems need the plain loop
        }
        std::vector<char> buffer(1 << 20);
        for (;;) {
            const ssize_t n = ::read(from, buffer.data(), buffer.size());
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                throwFileError("לא ניתן לקרוא את הקובץ", source, errno);
            }
            if (n == 0)
                return;
            writeAll(to, std::string_view(buffer.data(), static_cast<size_t>(n)), target);
        }
    }
}

} // namespace

std::string pathForMessage(std::string_view nativePath)
{
    // Left-to-right isolate ... pop directional isolate.
    return "\u2066" + std::string(nativePath) + "\u2069";
}

void throwFileError(std::string_view what, std::string_view nativePath, int errorNumber)
{
    std::string text(what);
    text += ": ";
    text += pathForMessage(nativePath);
    text += "\n";
    text += std::strerror(errorNumber);
    throw FileError(text);
}

bool folderExists(const std::string &nativePath)
{
    struct stat info{};
    return !nativePath.empty() && ::stat(nativePath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool fileExists(const std::string &nativePath)
{
    struct stat info{};
    return !nativePath.empty() && ::stat(nativePath.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string readWholeFile(const std::string &nativePath)
{
    return readWholeFileUpTo(nativePath, std::numeric_limits<size_t>::max());
}

std::string readWholeFileUpTo(const std::string &nativePath, size_t maxBytes)
{
    // Without blocking: a FIFO in the file's place must not hold the program up in open().
    Fd file = openFile(nativePath, O_RDONLY | O_NONBLOCK);
    if (!file)
        throwFileError("לא ניתן לפתוח את הקובץ", nativePath, errno);
    struct stat info{};
    if (::fstat(file.get(), &info) != 0)
        throwFileError("לא ניתן לקרוא את הקובץ", nativePath, errno);
    // A device or a FIFO is no data file, and one like /dev/zero never ends.
    if (!S_ISREG(info.st_mode))
        throwFileError("לא ניתן לקרוא את הקובץ", nativePath, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    if (info.st_size > 0 && static_cast<size_t>(info.st_size) > maxBytes)
        throwFileError("לא ניתן לקרוא את הקובץ", nativePath, EFBIG);
    // One byte more than the reported size, so that the end of the file is seen
    // without growing the buffer.
    std::string bytes;
    bytes.resize((info.st_size > 0 ? static_cast<size_t>(info.st_size) : 0) + 1);
    size_t filled = 0;
    for (;;) {
        if (filled > maxBytes)
            throwFileError("לא ניתן לקרוא את הקובץ", nativePath, EFBIG);
        if (filled == bytes.size())
            bytes.resize(bytes.size() + 65536); // the file grew, or reports no size
        const ssize_t n = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throwFileError("לא ניתן לקרוא את הקובץ", nativePath, errno);
        }
        if (n == 0)
            break;
        filled += static_cast<size_t>(n);
    }
    bytes.resize(filled);
    return bytes;
}

void writeFileAtomically(const std::string &nativePath, std::string_view bytes)
{
    // A data file reached through a link is replaced where it really lies, and the
    // link stays.
    std::error_code error;
    std::string target = nativePath;
    if (std::filesystem::is_symlink(target, error)) {
        const auto resolved = std::filesystem::weakly_canonical(target, error);
        if (!error)
            target = resolved.string();
    }
    TemporaryFile temporary(target);
    writeAll(temporary.fd(), bytes, target);
    temporary.commit();
}

void copyFile(const std::string &sourceNative, const std::string &targetNative, CopyMode mode)
{
    // Without blocking: a FIFO in the source's place is refused below, not waited for.
    Fd source = openFile(sourceNative, O_RDONLY | O_NONBLOCK);
    if (!source)
        throwFileError("לא ניתן לפתוח את הקובץ", sourceNative, errno);
    struct stat info{};
    if (::fstat(source.get(), &info) != 0)
        throwFileError("לא ניתן לקרוא את הקובץ", sourceNative, errno);
    if (!S_ISREG(info.st_mode))
        throwFileError("לא ניתן לקרוא את הקובץ", sourceNative, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);

    // Like cp: the source's permission bits (a stub stays executable), writable by
    // its owner so that the next run can replace it, less the umask.
    const mode_t copyMode = ((info.st_mode & 0777) | 0200) & ~currentUmask();
    if (mode == CopyMode::Atomically) {
        TemporaryFile temporary(targetNative);
        temporary.setMode(copyMode);
        copyBytes(source.get(), temporary.fd(), sourceNative, targetNative);
        temporary.commit();
        return;
    }
    Fd target = openFile(targetNative, O_WRONLY | O_CREAT | O_TRUNC, copyMode);
    if (!target)
        throwFileError("לא ניתן ליצור את הקובץ", targetNative, errno);
    ::fchmod(target.get(), copyMode);
    copyBytes(source.get(), target.get(), sourceNative, targetNative);
    if (const int closeError = target.closeChecked())
        throwFileError("לא ניתן לכתוב את הקובץ", targetNative, closeError);
}

void forceDirectories(const std::string &nativePath)
{
    std::error_code error;
    std::filesystem::create_directories(nativePath, error);
    if (error && !folderExists(nativePath))
        throwFileError("לא ניתן ליצור את התיקיה", nativePath, error.value());
}

std::string ownExecutablePath()
{
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        throwFileError("לא נמצא קובץ התוכנית עצמה", "/proc/self/exe", error.value());
    return path.string();
}

std::string currentFolder()
{
    std::error_code error;
    auto path = std::filesystem::current_path(error);
    return error ? std::string(".") : path.string();
}

} // namespace platform
