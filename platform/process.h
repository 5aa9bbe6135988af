#pragma once
// Starting other programs: no shell in between, no waiting, no zombie left behind.
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The first executable file named `name` in the folders of PATH (a name holding "/"
// is taken as it is).
std::optional<std::string> findOnPath(const std::string &name);

// Starts program (a native path) with the arguments, detached: the program is not
// waited for and is never left as a zombie of this process. Returns whether the
// program could be started.
bool startDetached(const std::string &programNative, const std::vector<std::string> &arguments);

// The shell's "open": xdg-open, found along PATH, with the native path or web address
// as its one argument. The result is not examined.
bool openWithShell(const std::string &nativePathOrAddress);

} // namespace platform
