#include "datafile.h"

#include "booksfolder.h"
#include "platform/files.h"
#include "platform/winpath.h"

namespace browser {

DataFile::DataFile(std::string nativePath)
    : m_path(std::move(nativePath)), m_catalogue(platform::readWholeFile(m_path))
{
    if (!m_catalogue.hasLine0())
        throw platform::FileError("קובץ הנתונים ריק: " + platform::pathForMessage(m_path));
}

std::string DataFile::resolveBooksFolder(std::string_view folder)
{
    const auto drives = platform::DriveTable::fromEnvironment();
    BooksFolder found = browser::resolveBooksFolder(
        folder, [&drives](std::string_view candidate) { return platform::windowsFolderExists(candidate, drives); });
    if (found.writeBack) {
        m_catalogue.replaceLine0(found.folder);
        try {
            platform::writeFileAtomically(m_path, m_catalogue.fileText());
        } catch (const platform::FileError &) {
            // A read-only collection medium: the corrected folder is still used.
        }
    }
    return found.folder;
}

} // namespace browser
