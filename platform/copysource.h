#pragma once
// A file opened once and copied to many targets: the per-book stubs of an install
// are tens of thousands of full copies of one small program.
//
// Every target is a fresh, independent file: whatever stood at its name before (a
// file, a hard link, a symbolic link, a program that is running) is unlinked first
// and a new file is created exclusively. So a copy never writes through a link into
// some other file, and a target that happens to be the source's own name cannot
// empty the source (the source stays open and readable under its old inode).
//
// The bytes go through the kernel (copy_file_range) where the file systems offer
// it, else through a buffer read once from the source.
#include <cstdint>
#include <string>
#include <sys/types.h>

namespace platform {

class CopySource {
public:
    // Opens a regular file for reading (FileError when it cannot be opened).
    explicit CopySource(const std::string &nativePath);
    ~CopySource();
    CopySource(const CopySource &) = delete;
    CopySource &operator=(const CopySource &) = delete;

    // Writes a full copy of the source, from its first byte, to targetNative, with the
    // source's permission bits (writable by the owner, less the umask). On failure the
    // partial target is removed and a FileError names the target and the reason.
    void copyTo(const std::string &targetNative);

    std::uint64_t size() const { return m_size; }

private:
    void copyBytes(int target, const std::string &targetNative);

    std::string m_path;
    int m_fd = -1;
    std::uint64_t m_size = 0;
    mode_t m_mode = 0;
    bool m_kernelCopy = true;
    std::string m_bytes; // the source's content, once the kernel copy is not available
};

} // namespace platform
