#include "isolated.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <exception>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace reliability {

IsolatedResult runIsolated(const std::function<std::string()> &piece, unsigned timeLimitSeconds)
{
    IsolatedResult result;
    int channel[2];
    // Close-on-exec: a program the piece starts must not hold the channel open.
    if (::pipe2(channel, O_CLOEXEC) != 0)
        return {"pipe failed", false, 0, 0, 0};
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        ::alarm(timeLimitSeconds);
        std::string answer;
        try {
            answer = piece();
        } catch (const std::exception &error) {
            answer = std::string("exception: ") + error.what();
        }
        const char *p = answer.data();
        size_t left = answer.size();
        while (left > 0) {
            const ssize_t n = ::write(channel[1], p, left);
            if (n <= 0)
                break;
            p += n;
            left -= static_cast<size_t>(n);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(channel[0], buffer, sizeof buffer)) > 0)
        result.answer.append(buffer, static_cast<size_t>(n));
    ::close(channel[0]);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.peakMemoryKb = usage.ru_maxrss;
    result.finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return result;
}

std::string describe(const IsolatedResult &result)
{
    if (result.signal == SIGALRM)
        return "HANG (stopped after its time limit)";
    if (result.signal != 0)
        return std::string("CRASH (") + ::strsignal(result.signal) + ")";
    if (!result.finished)
        return "ended abnormally";
    return result.answer;
}

} // namespace reliability
