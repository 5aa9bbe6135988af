#include "process.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace platform {

std::optional<std::string> findOnPath(const std::string &name)
{
    if (name.empty())
        return std::nullopt;
    if (name.find('/') != std::string::npos)
        return access(name.c_str(), X_OK) == 0 ? std::optional(name) : std::nullopt;
    const char *path = std::getenv("PATH");
    std::string_view folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const auto colon = folders.find(':');
        std::string candidate(folders.substr(0, colon));
        if (candidate.empty())
            candidate = ".";
        candidate.append(1, '/').append(name);
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (colon == std::string_view::npos)
            return std::nullopt;
        folders.remove_prefix(colon + 1);
    }
}

bool startDetached(const std::string &programNative, const std::vector<std::string> &arguments)
{
    // Everything the children need is prepared before fork: between fork and exec
    // only async-signal-safe calls are made.
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(programNative.c_str()));
    for (const auto &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);

    int status[2];
    if (::pipe2(status, O_CLOEXEC) != 0)
        return false;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(status[0]);
        ::close(status[1]);
        return false;
    }
    if (child == 0) {
        // The middle child starts the program and ends at once, so the program is
        // adopted by init and never becomes our zombie.
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ::execve(argv[0], argv.data(), environ);
            const int error = errno;
            [[maybe_unused]] auto ignored = ::write(status[1], &error, sizeof error);
            ::_exit(127);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    ::close(status[1]);
    int childStatus = 0;
    while (::waitpid(child, &childStatus, 0) < 0 && errno == EINTR) {
    }
    // The exec succeeded when the pipe closes without a word.
    int execError = 0;
    ssize_t n;
    do
        n = ::read(status[0], &execError, sizeof execError);
    while (n < 0 && errno == EINTR);
    ::close(status[0]);
    return WIFEXITED(childStatus) && WEXITSTATUS(childStatus) == 0 && n == 0;
}

bool openWithShell(const std::string &nativePathOrAddress)
{
    const auto opener = findOnPath("xdg-open");
    return opener && startDetached(*opener, {nativePathOrAddress});
}

} // namespace platform
