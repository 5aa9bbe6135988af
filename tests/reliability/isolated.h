#pragma once
// Runs a piece of a test in a child process of its own: a crash, a hang or a memory
// blow-up there becomes a result to look at instead of the end of the test program.
#include <functional>
#include <string>

namespace reliability {

struct IsolatedResult {
    std::string answer;   // what the piece returned (or the text of what it threw)
    bool finished = false; // returned normally, without being killed
    int signal = 0;       // the signal that ended it, if any (SIGALRM: it ran out of time)
    long peakMemoryKb = 0; // the child's peak resident memory
    double seconds = 0;
};

// The child gets timeLimitSeconds of real time (then SIGALRM ends it).
IsolatedResult runIsolated(const std::function<std::string()> &piece, unsigned timeLimitSeconds = 120);

// How a result reads in a table: the answer, or what ended the child.
std::string describe(const IsolatedResult &result);

} // namespace reliability
