#include "nativefiles.h"

#include "platform/codec.h"
#include "platform/copysource.h"
#include "platform/files.h"

#include <cstdlib>
#include <optional>

namespace integrator {
namespace {

// A native path's real form, symbolic links resolved; nothing when it does not exist.
std::optional<std::string> realPathOf(const std::string &nativePath)
{
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(nativePath.c_str(), nullptr), &std::free);
    if (!resolved)
        return std::nullopt;
    return std::string(resolved.get());
}

bool isInside(const std::string &realPath, const std::string &realFolder)
{
    if (realFolder == "/")
        return true;
    return realPath == realFolder
        || (realPath.size() > realFolder.size() && realPath.compare(0, realFolder.size(), realFolder) == 0
            && realPath[realFolder.size()] == '/');
}

// "\" becomes "/"; the bytes become UTF-8.
std::string nativeTail(std::string_view windowsTail)
{
    std::string tail = platform::win1255ToUtf8(windowsTail);
    for (char &c : tail)
        if (c == '\\')
            c = '/';
    return tail;
}

class NativeStubWriter final : public StubWriter {
public:
    NativeStubWriter(const std::string &sourceNative, std::optional<std::string> targetFolderNative,
                     std::string targetFolderShown)
        : m_source(sourceNative)
        , m_targetFolder(std::move(targetFolderNative))
        , m_targetFolderShown(std::move(targetFolderShown))
    {
    }

    void writeStub(const std::string &relativePath) override
    {
        if (!m_targetFolder)
            throw platform::FileError("הכונן של התיקיה אינו קיים: " + m_targetFolderShown);
        const std::string target = *m_targetFolder + nativeTail(relativePath);
        if (relativePath.find_first_of("\\/") != std::string::npos)
            checkFolderOf(target);
        m_source.copyTo(target);
    }

private:
    // A stub in a sub-folder must not reach outside the target through a link. A
    // folder that does not exist is left to the copy, which tells that it is missing.
    void checkFolderOf(const std::string &target)
    {
        if (!m_realTargetFolder) {
            m_realTargetFolder = realPathOf(*m_targetFolder);
            if (!m_realTargetFolder)
                return;
        }
        const auto realFolder = realPathOf(target.substr(0, target.find_last_of('/')));
        if (realFolder && !isInside(*realFolder, *m_realTargetFolder))
            throw platform::FileError("התיקיה " + *realFolder + " נמצאת מחוץ לתיקיה " + m_targetFolderShown);
    }

    platform::CopySource m_source;
    std::optional<std::string> m_targetFolder;
    std::string m_targetFolderShown;
    std::optional<std::string> m_realTargetFolder;
};

} // namespace

NativeCopyRunFiles::NativeCopyRunFiles(platform::DriveTable drives) : m_drives(std::move(drives)) {}

std::string NativeCopyRunFiles::native(const std::string &path) const
{
    if (auto nativePath = platform::toNativePath(path, m_drives))
        return std::move(*nativePath);
    throw platform::FileError("הכונן אינו קיים: " + platform::win1255ToUtf8(path));
}

platform::LineText NativeCopyRunFiles::readLines(const std::string &path)
{
    return platform::readLineFile(native(path));
}

void NativeCopyRunFiles::writeLines(const std::string &path, const platform::LineText &text)
{
    platform::writeLineFile(native(path), text);
}

bool NativeCopyRunFiles::forceDirectories(const std::string &folder)
{
    try {
        const std::string nativeFolder = native(folder);
        platform::forceDirectories(nativeFolder);
        return platform::folderExists(nativeFolder);
    } catch (const platform::FileError &) {
        return false;
    }
}

void NativeCopyRunFiles::copyFile(const std::string &source, const std::string &target)
{
    platform::copyFile(native(source), native(target), platform::CopyMode::Atomically);
}

std::unique_ptr<StubWriter> NativeCopyRunFiles::openStubSource(const std::string &source, const std::string &targetFolder)
{
    return std::make_unique<NativeStubWriter>(native(source), platform::toNativePath(targetFolder, m_drives),
                                              shownPath(targetFolder));
}

std::string NativeCopyRunFiles::shownPath(const std::string &path)
{
    if (auto nativePath = platform::toNativePath(path, m_drives))
        return std::move(*nativePath);
    return platform::win1255ToUtf8(path);
}

} // namespace integrator
