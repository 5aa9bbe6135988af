#include "copyrun.h"

#include "opener/booklist.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/winpath.h"

namespace integrator {
namespace {

std::string quotedBook(std::string_view bookName)
{
    return "\"" + platform::win1255ToUtf8(bookName) + "\"";
}

std::string stubFailure(std::string_view bookName, const std::string &reason)
{
    return "אין אפשרות ליצור את הקובץ של הספר " + quotedBook(bookName) + "\n" + reason;
}

} // namespace

std::string targetFolderOf(std::string_view chosenFolder, bool intoSubFolder)
{
    std::string folder(chosenFolder);
    folder += '\\';
    if (intoSubFolder)
        folder += kSubFolderName;
    return folder;
}

std::string booksFolderLine(std::string_view driveText)
{
    std::string line(driveText);
    line += kBooksFolderTail;
    return line;
}

std::string stubPathOf(std::string_view stubPrefix, std::string_view bookName)
{
    std::string path;
    path.reserve(stubPrefix.size() + bookName.size() + 4);
    path.append(stubPrefix).append(bookName).append(".exe");
    return path;
}

bool staysInsideFolder(std::string_view relativePath)
{
    while (true) {
        const auto cut = relativePath.find_first_of("\\/");
        if (relativePath.substr(0, cut) == "..")
            return false;
        if (cut == std::string_view::npos)
            return true;
        relativePath.remove_prefix(cut + 1);
    }
}

void CopyRun::run(const CopyRunSettings &settings)
{
    const std::string toolFolder(platform::extractFilePath(settings.ownExecutable));
    const std::string bookList = toolFolder + std::string(opener::bookListFileName);
    LoadBookNames(bookList);

    const std::string targetFolder = targetFolderOf(settings.chosenFolder, settings.intoSubFolder);
    if (settings.intoSubFolder && !m_files.forceDirectories(targetFolder))
        m_observer.showMessage(std::string(kCannotCreateFolder));

    for (const auto name : kSupportFiles)
        CopySupportFile(toolFolder + std::string(name), targetFolder + std::string(name));

    WriteBookList(bookList, targetFolder + std::string(opener::bookListFileName), settings.collectionDrive);

    m_observer.stubsStarting(m_bookNames.size());
    CopyBookStubs(toolFolder + std::string(kStubSourceName), targetFolder,
                  settings.addStubPrefix ? kStubPrefix : std::string_view());
}

void CopyRun::LoadBookNames(const std::string &bookListPath)
{
    const platform::LineText list = m_files.readLines(bookListPath);
    if (list.lines.empty())
        throw CopyRunError("קובץ רשימת הספרים ריק: " + m_files.shownPath(bookListPath));
    m_bookNames.clear();
    m_bookNames.reserve(list.lines.size() - 1);
    for (size_t i = 1; i < list.lines.size(); ++i)
        m_bookNames.emplace_back(opener::bookNameOf(list.lines[i]));
}

void CopyRun::CopySupportFile(const std::string &source, const std::string &target)
{
    try {
        m_files.copyFile(source, target);
    } catch (const platform::FileError &) {
        m_observer.showMessage("אין אפשרות להעתיק את " + m_files.shownPath(source) + "\nהעתק אותו ידנית");
    }
}

void CopyRun::WriteBookList(const std::string &source, const std::string &target, std::string_view collectionDrive)
{
    platform::LineText list = m_files.readLines(source);
    if (list.lines.empty())
        throw CopyRunError("קובץ רשימת הספרים ריק: " + m_files.shownPath(source));
    list.lines[0] = booksFolderLine(collectionDrive);
    m_files.writeLines(target, list);
}

void CopyRun::CopyBookStubs(const std::string &stubSource, const std::string &targetFolder, std::string_view stubPrefix)
{
    const auto writer = m_files.openStubSource(stubSource, targetFolder);
    const size_t count = m_bookNames.size();
    for (size_t i = 0; i < count; ++i) {
        const std::string &bookName = m_bookNames[i];
        const std::string relativePath = stubPathOf(stubPrefix, bookName);
        if (!staysInsideFolder(relativePath))
            throw CopyRunError(stubFailure(bookName, "השם מוביל אל מחוץ לתיקיה " + m_files.shownPath(targetFolder)));
        try {
            writer->writeStub(relativePath);
        } catch (const platform::FileError &error) {
            throw CopyRunError(stubFailure(bookName, error.what()));
        }
        m_observer.stubWritten(platform::extractFileName(bookName), i + 1, count);
    }
}

} // namespace integrator
