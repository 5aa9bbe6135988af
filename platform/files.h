#pragma once
// Files and folders, by native (UTF-8) path. Every failure is a FileError whose text
// names the file and the system's reason, ready to be shown to the user.
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A path set apart so that it reads left to right inside a right-to-left message.
std::string pathForMessage(std::string_view nativePath);

// "<what, in Hebrew>: <path>\n<the system's reason>"
[[noreturn]] void throwFileError(std::string_view what, std::string_view nativePath, int errorNumber);

bool folderExists(const std::string &nativePath);
bool fileExists(const std::string &nativePath); // a regular file, links followed

// The whole file as bytes. Only a regular file is read: a device or a FIFO in its place
// is a FileError at once (it could block or never end).
std::string readWholeFile(const std::string &nativePath);
// The same for a file that may hold at most maxBytes; a larger one is a FileError
// before its bytes are read.
std::string readWholeFileUpTo(const std::string &nativePath, size_t maxBytes);

// Replaces the file at nativePath with bytes, never leaving it half-written: the
// bytes go to a temporary file in the same folder, are flushed to disk, and the
// temporary file is renamed over the old one. On failure the old file is untouched
// and no temporary file stays behind. A new file gets the old file's permissions.
void writeFileAtomically(const std::string &nativePath, std::string_view bytes);

// Copies a regular file's bytes to target (created or replaced), streamed through the
// kernel (copy_file_range where the file systems allow it). The source is opened
// before the target is touched. With atomically, the copy is written to a temporary
// name beside the target and renamed, so a failed copy never leaves a partial target.
enum class CopyMode { Direct, Atomically };
void copyFile(const std::string &sourceNative, const std::string &targetNative,
              CopyMode mode = CopyMode::Direct);

// Creates the folder and every missing folder above it.
void forceDirectories(const std::string &nativePath);

// Native path of the running executable (/proc/self/exe).
std::string ownExecutablePath();

// Native path of the folder the process runs in.
std::string currentFolder();

} // namespace platform
