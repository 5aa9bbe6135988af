#pragma once
// The copy run: installs the collection into the book folder of the host library.
//
// From the tool's own folder it copies the book opener, writes the book list file with
// its first line pointing at the PDF folder on the collection drive, and writes one
// per-book stub per book line, named after the book, in this order:
//
//   1. the book names are read from "K נתונים.txt" beside the tool (line 0 skipped);
//   2. the target folder is the chosen folder + "\" (+ "kelidor\"), created if asked;
//   3. the opener "K הפעלה.exe" is copied (a failure is told, and the run goes on);
//   4. the book list is written to the target, line 0 replaced by the drive text and
//      "kdapp\WebApp\WebApp\App_Data\PDFS\";
//   5. one full copy of "tessum.exe" per book: target + ("K ") + book name + ".exe".
//
// The Linux opener needs no runtime libraries beside it, so none are copied.
//
// Paths are Windows-form byte strings (Windows-1255, "\" separators); the file
// operations sit behind CopyRunFiles, what the user sees behind CopyRunObserver. A
// failure that ends the run is thrown (platform::FileError or CopyRunError, texts in
// UTF-8) for the window's general error report; nothing written before it is undone.
#include "platform/linefile.h"

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace integrator {

inline constexpr std::string_view kOpenerName = "K \xE4\xF4\xF2\xEC\xE4.exe"; // "K הפעלה.exe"
inline constexpr std::string_view kStubSourceName = "tessum.exe";
inline constexpr std::string_view kSubFolderName = "kelidor\\";
inline constexpr std::string_view kStubPrefix = "K ";
inline constexpr std::string_view kBooksFolderTail = "kdapp\\WebApp\\WebApp\\App_Data\\PDFS\\";

// The files copied as they are, in order (the book list file is written, not copied).
inline constexpr std::string_view kSupportFiles[] = {kOpenerName};

// The folder the run installs into; the separator is added whatever the folder ends with.
//   "C:\OTZAR\pdf", sub-folder   -> "C:\OTZAR\pdf\kelidor\"
//   "C:\OTZAR\pdf", no sub-folder -> "C:\OTZAR\pdf\"
//   "C:\", sub-folder             -> "C:\\kelidor\"
std::string targetFolderOf(std::string_view chosenFolder, bool intoSubFolder);

// Line 0 of the installed book list: the drive text exactly as typed, then the PDF folder.
//   "G:\" -> "G:\kdapp\WebApp\WebApp\App_Data\PDFS\"
//   "G:"  -> "G:kdapp\WebApp\WebApp\App_Data\PDFS\"
//   ""    -> "kdapp\WebApp\WebApp\App_Data\PDFS\"
std::string booksFolderLine(std::string_view driveText);

// A stub's path relative to the target folder: prefix + book name + ".exe".
std::string stubPathOf(std::string_view stubPrefix, std::string_view bookName);

// Whether a stub path relative to the target folder stays inside it. Book names are
// data: a step up ("..") between separators ("\" or "/") is refused wherever it is.
//   "K abc.exe", "K sub\abc.exe", "K ..\abc.exe" (a folder "K ..") -> true
//   "..\abc.exe", "sub\..\..\abc.exe", "a/../b.exe"                -> false
bool staysInsideFolder(std::string_view relativePath);

// A failure that ends the run, in words for the user (UTF-8).
class CopyRunError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes the per-book stubs of one run from a source opened once.
class StubWriter {
public:
    virtual ~StubWriter() = default;
    // Writes a full copy of the source at target folder + relativePath, replacing
    // what stood there (platform::FileError when it cannot).
    virtual void writeStub(const std::string &relativePath) = 0;
};

// The file operations of a run, by Windows-form path; failures are platform::FileError.
class CopyRunFiles {
public:
    virtual ~CopyRunFiles() = default;
    virtual platform::LineText readLines(const std::string &path) = 0;
    virtual void writeLines(const std::string &path, const platform::LineText &text) = 0;
    // Creates the folder and the missing ones above it; whether it exists afterwards.
    virtual bool forceDirectories(const std::string &folder) = 0;
    virtual void copyFile(const std::string &source, const std::string &target) = 0;
    // Opens the stub source for the stubs of the target folder.
    virtual std::unique_ptr<StubWriter> openStubSource(const std::string &source,
                                                       const std::string &targetFolder) = 0;
    // How a path reads in a message to the user (UTF-8).
    virtual std::string shownPath(const std::string &path) = 0;
};

// What the user sees of a run.
class CopyRunObserver {
public:
    virtual ~CopyRunObserver() = default;
    // A modal message (UTF-8); returns when the user has closed it.
    virtual void showMessage(const std::string &text) = 0;
    // The stubs are about to be written.
    virtual void stubsStarting(std::size_t count) = 0;
    // A stub was written: the name part of its book name (after the last "\" or ":"),
    // and the count so far.
    virtual void stubWritten(std::string_view shownName, std::size_t written, std::size_t count) = 0;
};

struct CopyRunSettings {
    std::string ownExecutable;   // the tool's own path; its folder holds the sources
    std::string chosenFolder;    // the folder list's current folder
    bool addStubPrefix = true;   // stub names start with "K "
    bool intoSubFolder = true;   // install into the sub-folder "kelidor\"
    std::string collectionDrive; // the drive text that starts line 0 of the installed list
};

inline constexpr std::string_view kCannotCreateFolder = "אין אפשרות ליצור תיקיה חדשה";

class CopyRun {
public:
    CopyRun(CopyRunFiles &files, CopyRunObserver &observer) : m_files(files), m_observer(observer) {}

    void run(const CopyRunSettings &settings);

    // The steps of a run, each usable on its own.
    void LoadBookNames(const std::string &bookListPath);
    // Tells its own failure and returns normally.
    void CopySupportFile(const std::string &source, const std::string &target);
    void WriteBookList(const std::string &source, const std::string &target, std::string_view collectionDrive);
    void CopyBookStubs(const std::string &stubSource, const std::string &targetFolder, std::string_view stubPrefix);

    // The book names of the last run, in file order; kept until the next run.
    const std::vector<std::string> &bookNames() const { return m_bookNames; }

private:
    CopyRunFiles &m_files;
    CopyRunObserver &m_observer;
    std::vector<std::string> m_bookNames;
};

} // namespace integrator
