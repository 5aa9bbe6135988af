#include "saverun.h"

#include "platform/codec.h"
#include "platform/files.h"

#include <cerrno>

namespace browser {
namespace {

// A path on a drive that does not exist here: nothing can be opened or created there.
std::string nativeOrFail(const std::string &windowsPath, const platform::DriveTable &drives, std::string_view what)
{
    if (auto native = platform::toNativePath(windowsPath, drives))
        return *native;
    platform::throwFileError(what, platform::win1255ToUtf8(windowsPath), ENOENT);
}

} // namespace

SaveResult runSave(const std::vector<SaveCopy> &copies, const platform::DriveTable &drives)
{
    SaveResult result;
    try {
        for (const SaveCopy &copy : copies) {
            const std::string source = nativeOrFail(copy.source, drives, "לא ניתן לפתוח את הקובץ");
            const std::string target = nativeOrFail(copy.target, drives, "לא ניתן ליצור את הקובץ");
            platform::copyFile(source, target, platform::CopyMode::Atomically);
            ++result.saved;
        }
    } catch (const platform::FileError &error) {
        result.error = error.what();
    }
    return result;
}

} // namespace browser
