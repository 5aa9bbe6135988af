#pragma once
// The book opener: turns the path of a per-book stub into an opened PDF.
//
//   1. Load the book list file beside the opener. Its line 0 is the books folder; when
//      no folder exists there, the drive letter is tried as E, F, G and H in turn, and
//      a letter that works is written back into the file so the next run finds it at
//      once. No folder at all: "הספרים לא נמצאו", exit code 1.
//   2. The book name comes from the command-line tail (the stub's path), or from the
//      opener's own path when the tail is empty.
//   3. A name not in the list: "הספר לא נמצא!" with the name on a second line, exit
//      code 1. Otherwise the PDF books folder + subfolder + "\" + id + ".pdf" is handed
//      to the shell, exit code 0.
//
// A failure that the system raises (the list file missing, unreadable or empty, the
// corrected list not writable, the PDF impossible to hand over) is shown in the error
// report and ends the run with exit code 0.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace opener {

// The bytes of a file as read, valid while the object lives.
class FileBytes {
public:
    virtual ~FileBytes() = default;
    virtual std::string_view bytes() const = 0;
};

// File bytes held in a string.
class StringBytes final : public FileBytes {
public:
    explicit StringBytes(std::string bytes) : m_bytes(std::move(bytes)) {}
    std::string_view bytes() const override { return m_bytes; }

private:
    std::string m_bytes;
};

// What the opener needs of the system. Texts of the program are Windows-1255 bytes;
// paths of the book list are Windows form.
class OpenerSystem {
public:
    virtual ~OpenerSystem() = default;

    // The whole file; a platform::FileError when it cannot be read.
    virtual std::unique_ptr<FileBytes> readFile(const std::string &nativePath) = 0;
    // Replaces the whole file safely (never torn, never half-empty); FileError on failure.
    virtual void replaceFile(const std::string &nativePath, std::string_view bytes) = 0;
    // A folder exists at a Windows-form path (a trailing backslash is fine).
    virtual bool folderExists(std::string_view windowsPath) = 0;
    // The shell's "open" for a Windows-form file path; FileError when it cannot even be tried.
    virtual void openDocument(std::string_view windowsPath) = 0;
    // A message box with caption, text (Windows-1255) and one OK button; returns when closed.
    virtual void showMessage(std::string_view caption, std::string_view text) = 0;
    // The error report for a failure's text (UTF-8).
    virtual void reportError(std::string_view text) = 0;
};

// The texts of the opener's own messages (Windows-1255).
std::string errorCaption();           // "שגיאה"
std::string booksNotFoundText();      // "הספרים לא נמצאו"
std::string bookNotFoundText(std::string_view bookName); // "הספר לא נמצא!\nשם הספר: " + name

class BookOpener {
public:
    // listPath: the native path of the book list file beside the opener's executable.
    BookOpener(OpenerSystem &system, std::string listPath);

    // The whole run. ownPath and tail are in Windows form; returns the exit code.
    int run(std::string_view ownPath, std::string_view tail);

    // Loads the list and finds the books folder, correcting its drive letter; false
    // (after the message) when no books folder can be found.
    bool loadBookList();
    // The book index of the name in the loaded list, -1 when it is not there.
    int findBook(std::string_view bookName) const;
    // Hands the PDF of the book at the index to the shell.
    void openBook(int bookIndex);

    const std::string &booksFolder() const { return m_booksFolder; }
    int bookCount() const { return m_bookCount; }

private:
    OpenerSystem &m_system;
    std::string m_listPath;
    std::unique_ptr<FileBytes> m_listFile; // the file as read; the lines point into it
    std::vector<std::string_view> m_lines; // line 0 is the books folder as written
    std::string_view m_afterEnd;           // a NUL byte and what follows, kept on write-back
    std::string m_booksFolder;
    int m_bookCount = 0;
};

} // namespace opener
