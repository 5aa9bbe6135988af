#pragma once
// The copy run's file operations on this machine: Windows-form paths become native
// through the drive table, and everything goes through the platform layer.
//
// - The opener is copied through a temporary file and a rename, so a failed copy
//   leaves the old file (or none), never a torn one.
// - The book list file is written the same way.
// - Each stub is a fresh, independent full copy of the stub source, which is opened
//   once per run. A stub whose folder (through a symbolic link inside the target)
//   lies outside the target folder is refused.
#include "copyrun.h"

#include "platform/winpath.h"

namespace integrator {

class NativeCopyRunFiles final : public CopyRunFiles {
public:
    explicit NativeCopyRunFiles(platform::DriveTable drives = platform::DriveTable::fromEnvironment());

    platform::LineText readLines(const std::string &path) override;
    void writeLines(const std::string &path, const platform::LineText &text) override;
    bool forceDirectories(const std::string &folder) override;
    void copyFile(const std::string &source, const std::string &target) override;
    std::unique_ptr<StubWriter> openStubSource(const std::string &source, const std::string &targetFolder) override;
    std::string shownPath(const std::string &path) override;

private:
    std::string native(const std::string &path) const;

    platform::DriveTable m_drives;
};

} // namespace integrator
