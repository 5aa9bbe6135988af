#include "opener.h"

#include "booklist.h"
#include "bookname.h"
#include "findbook.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "platform/linefile.h"

#include <algorithm>
#include <exception>

namespace opener {

namespace {
// The drive letters tried, in this order, when the books folder is not where line 0 says.
constexpr char fallbackDrives[] = {'E', 'F', 'G', 'H'};
} // namespace

std::string errorCaption()
{
    return platform::utf8ToWin1255("שגיאה");
}

std::string booksNotFoundText()
{
    return platform::utf8ToWin1255("הספרים לא נמצאו");
}

std::string bookNotFoundText(std::string_view bookName)
{
    return platform::utf8ToWin1255("הספר לא נמצא!\nשם הספר: ").append(bookName);
}

BookOpener::BookOpener(OpenerSystem &system, std::string listPath)
    : m_system(system), m_listPath(std::move(listPath))
{
}

int BookOpener::run(std::string_view ownPath, std::string_view tail)
{
    try {
        if (!loadBookList())
            return 1;
        const std::string bookName = bookNameFromPath(tail.empty() ? ownPath : tail);
        const int bookIndex = findBook(bookName);
        if (bookIndex < 0) {
            m_system.showMessage(errorCaption(), bookNotFoundText(bookName));
            return 1;
        }
        openBook(bookIndex);
        return 0;
    } catch (const std::exception &error) {
        m_system.reportError(error.what());
        return 0;
    }
}

bool BookOpener::loadBookList()
{
    m_listFile = m_system.readFile(m_listPath);
    auto text = platform::splitLineViews(m_listFile->bytes());
    m_lines = std::move(text.lines);
    m_afterEnd = text.afterEnd;
    if (m_lines.empty())
        throw platform::FileError("לא ניתן לקרוא את רשימת הספרים: " + m_listPath + "\nהקובץ ריק");

    m_booksFolder = std::string(m_lines.front());
    size_t tries = 0;
    while (!m_system.folderExists(m_booksFolder)) {
        if (tries == std::size(fallbackDrives)) {
            m_system.showMessage(errorCaption(), booksNotFoundText());
            return false;
        }
        // An empty line 0 has no letter to replace; it stays a folder that is not found.
        if (!m_booksFolder.empty())
            m_booksFolder.front() = fallbackDrives[tries];
        ++tries;
    }
    if (tries != 0 && m_booksFolder != m_lines.front()) {
        std::vector<std::string_view> corrected = m_lines;
        corrected.front() = m_booksFolder;
        m_system.replaceFile(m_listPath, platform::joinLines(corrected, m_afterEnd));
    }
    m_bookCount = static_cast<int>(std::min<size_t>(m_lines.size() - 1, 0x7FFFFFFF));
    return true;
}

int BookOpener::findBook(std::string_view bookName) const
{
    if (m_bookCount == 0)
        return -1;
    return opener::findBook(m_lines, bookName);
}

void BookOpener::openBook(int bookIndex)
{
    const BookLine book = splitBookLine(m_lines.at(static_cast<size_t>(bookIndex) + 1));
    m_system.openDocument(pdfPath(m_booksFolder, book));
}

} // namespace opener
