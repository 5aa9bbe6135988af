#include "messagebox.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

// The box module's bytes, linked into the executable (embeddedbox.cpp).
extern "C" const unsigned char kelidorBoxModule[];
extern "C" const unsigned char kelidorBoxModuleEnd[];

namespace opener {
namespace {

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    ~Fd() { if (m_fd >= 0) ::close(m_fd); }
    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }

private:
    int m_fd;
};

bool writeAll(int fd, const unsigned char *bytes, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

size_t moduleSize()
{
    return static_cast<size_t>(kelidorBoxModuleEnd - kelidorBoxModule);
}

void *openModuleFile(const std::string &path)
{
    return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

// The module from an anonymous memory file; nothing is left on disk.
void *loadFromMemory()
{
    Fd file(::memfd_create("kelidor-box", MFD_CLOEXEC));
    if (!file || !writeAll(file.get(), kelidorBoxModule, moduleSize()))
        return nullptr;
    return openModuleFile("/proc/self/fd/" + std::to_string(file.get()));
}

// Where memory files may not be mapped executable: a temporary file, removed at once.
void *loadFromTemporaryFile()
{
    const char *folder = std::getenv("TMPDIR");
    std::string pattern = std::string(folder && *folder ? folder : "/tmp") + "/kelidor-box-XXXXXX";
    Fd file(::mkostemp(pattern.data(), O_CLOEXEC));
    if (!file)
        return nullptr;
    void *module = writeAll(file.get(), kelidorBoxModule, moduleSize()) ? openModuleFile(pattern) : nullptr;
    ::unlink(pattern.c_str());
    return module;
}

void echoToStandardError(std::string_view caption, std::string_view text)
{
    std::string line;
    line.reserve(caption.size() + text.size() + 3);
    line.append(caption).append(": ").append(text).append("\n");
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

bool environmentNames(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

} // namespace

bool displayNamed()
{
    if (const char *platform = std::getenv("QT_QPA_PLATFORM");
        platform && (std::strcmp(platform, "offscreen") == 0 || std::strcmp(platform, "minimal") == 0))
        return false;
    return environmentNames("DISPLAY") || environmentNames("WAYLAND_DISPLAY");
}

void showMessageBox(std::string_view captionUtf8, std::string_view textUtf8, BoxIcon icon)
{
    echoToStandardError(captionUtf8, textUtf8);
    if (!displayNamed())
        return;
    const std::string caption(captionUtf8);
    const std::string text(textUtf8);
    // Qt lives in a child: a display that cannot be opened ends the child, not the opener.
    const pid_t child = ::fork();
    if (child < 0)
        return;
    if (child == 0) {
        // A display that cannot be opened falls back to drawing nowhere, which the
        // module sees and shows nothing, instead of ending in an abort.
        if (!environmentNames("QT_QPA_PLATFORM"))
            ::setenv("QT_QPA_PLATFORM", environmentNames("DISPLAY") ? "xcb;wayland;offscreen" : "wayland;xcb;offscreen", 1);
        void *module = loadFromMemory();
        if (!module)
            module = loadFromTemporaryFile();
        if (!module)
            ::_exit(2);
        const auto showBox = reinterpret_cast<ShowBoxEntry>(::dlsym(module, showBoxEntryName));
        ::_exit(showBox && showBox(caption.c_str(), text.c_str(), static_cast<int>(icon)) ? 0 : 2);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace opener
