// Every hostile file against every reader that takes it, each reading in a child process
// of its own so that a crash, a hang or a memory blow-up shows in the table as what it
// is. The table is printed (run the program alone to see it) and compared with the
// answers each reader must give.
#include "hostilefiles.h"
#include "isolated.h"

#include "browser/datafile.h"
#include "browser/locate.h"
#include "browser/savename.h"
#include "browser/saverun.h"
#include "browser/search.h"
#include "browser/thumbnail.h"
#include "integrator/copyrun.h"
#include "integrator/nativefiles.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/linefile.h"
#include "platform/winpath.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <tuple>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace reliability;

namespace {

const std::string listName = "K נתונים.txt";
const std::string openerName = "K הפעלה.exe";

std::string replaced(std::string text, const std::string &what, const std::string &with)
{
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

// A message on one line, cut short.
std::string shortened(std::string text)
{
    if (const auto colon = text.find(": \u2066"); colon != std::string::npos) // a path set apart follows
        text.resize(colon);
    if (const auto cut = text.find('\n'); cut != std::string::npos)
        text = text.substr(0, cut) + " / " + shortened(text.substr(cut + 1));
    if (text.size() > 120) {
        size_t cut = 120;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut; // not inside a character
        text = text.substr(0, cut) + "...";
    }
    return text;
}

void writeFile(const fs::path &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The bytes of a regular file; nothing for anything else.
std::string readFile(const fs::path &path)
{
    return fs::is_regular_file(path) ? platform::readWholeFile(path.string()) : std::string();
}

// Puts the file where a reader looks for it: a regular file as a hard link (a 3 GB
// sparse file costs nothing), a FIFO as a new FIFO, a symbolic link as the same link.
void putInPlace(const fs::path &file, const fs::path &place)
{
    fs::remove(place);
    const auto status = fs::symlink_status(file);
    if (fs::is_symlink(status))
        fs::create_symlink(fs::read_symlink(file), place);
    else if (fs::is_fifo(status))
        ::mkfifo(place.c_str(), 0600);
    else
        fs::create_hard_link(file, place);
}

// What became of a line file after a reader may have written it back.
std::string fileFate(const std::string &before, const std::string &after, const std::string &expectedLine0)
{
    if (after == before)
        return "file untouched";
    const platform::LineText old = platform::splitLines(before), now = platform::splitLines(after);
    if (now.lines.size() != old.lines.size() || now.afterEnd != old.afterEnd)
        return "FILE DAMAGED";
    if (now.lines[0] != expectedLine0)
        return "line 0 WRONG";
    for (size_t i = 1; i < old.lines.size(); ++i)
        if (now.lines[i] != old.lines[i])
            return "FILE DAMAGED";
    return "line 0 written back, the rest kept";
}

class HostileTable : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_root = fs::temp_directory_path() / ("kelidor-hostile-" + std::to_string(::getpid()));
        fs::remove_all(s_root);
        for (const char *folder : {"files", "wine/dosdevices", "fdrive/books/s/thumbs", "app", "kit", "tool", "target",
                                   "save", "bin", "elsewhere"})
            fs::create_directories(s_root / folder);
        fs::create_directory_symlink(s_root / "fdrive", s_root / "wine/dosdevices/f:");
        writeFile(s_root / "fdrive/books/s/7.pdf", "%PDF-1.4 the book\n");
        fs::copy_file(BOOK_PROGRAM, s_root / "kit" / openerName);
        const fs::path standIn = s_root / "bin/xdg-open";
        writeFile(standIn, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + (s_root / "opened").string() + "'\n");
        fs::permissions(standIn, fs::perms::owner_all);
        // The files are written once and dropped from memory: each child reads them from disk.
        for (const HostileFile &file : allHostileFiles()) {
            const fs::path path = s_root / "files" / (std::to_string(s_files.size()) + ".bin");
            writeFile(path, file.bytes);
            s_files.push_back({file.name, path, file.isText});
        }
        ::setenv("WINEPREFIX", (s_root / "wine").c_str(), 1);
    }
    static void TearDownTestSuite() { fs::remove_all(s_root); }

    struct FileOnDisk {
        std::string name;
        fs::path path;
        bool isText;
    };

    // A message on one line, cut short, the temporary folder shown as <tmp>.
    static std::string gist(const std::string &text) { return shortened(replaced(text, s_root.string(), "<tmp>")); }

    static platform::DriveTable drives() { return platform::DriveTable(s_root / "wine/dosdevices"); }

    // kelidor reading data.txt: the catalogue, the books folder with its write-back,
    // and a search and a locate over whatever came out.
    static std::string dataFileReader(const fs::path &file)
    {
        const fs::path data = s_root / "app/data.txt";
        putInPlace(file, data);
        const std::string before = readFile(data);
        try {
            browser::DataFile dataFile(data.string());
            const std::string folder = dataFile.resolveBooksFolder(dataFile.line0());
            const browser::Catalogue &catalogue = dataFile.catalogue();
            browser::findEntries(catalogue, "a b", browser::SearchField::Titles);
            browser::findEntries(catalogue, knownBookName(), browser::SearchField::Authors);
            browser::locateTitle(catalogue, "b1");
            std::string answer = std::to_string(catalogue.entryCount()) + " entries";
            if (catalogue.leftOut() > 0)
                answer += " (" + std::to_string(catalogue.leftOut()) + " more lines left out)";
            answer += "; books folder ";
            answer += platform::windowsFolderExists(folder, drives()) ? folder : std::string("not found");
            return answer + "; " + fileFate(before, readFile(data), "F:\\books\\");
        } catch (const platform::FileError &error) {
            return "error box: " + gist(error.what()) + "; " + fileFate(before, readFile(data), "");
        }
    }

    // book started by the stub of the book "אבגד", with the file as its book list.
    static std::string openerReader(const fs::path &listFile)
    {
        const fs::path list = s_root / "kit" / listName;
        putInPlace(listFile, list);
        fs::remove(s_root / "opened");
        const std::string before = readFile(list);
        const std::string stub = (s_root / "kit" / ("K " + platform::win1255ToUtf8(knownBookName()) + ".exe")).string();
        const std::string program = (s_root / "kit" / openerName).string();

        const fs::path errors = s_root / "opener-stderr";
        const pid_t child = ::fork();
        if (child == 0) {
            std::string wine = "WINEPREFIX=" + (s_root / "wine").string(), home = "HOME=" + s_root.string(),
                        path = "PATH=" + (s_root / "bin").string() + ":/usr/bin:/bin";
            char lang[] = "LANG=C.UTF-8";
            char *envp[] = {wine.data(), home.data(), path.data(), lang, nullptr};
            char *argv[] = {const_cast<char *>(program.c_str()), const_cast<char *>(stub.c_str()), nullptr};
            if (std::freopen(errors.c_str(), "w", stderr) == nullptr || ::chdir((s_root / "elsewhere").c_str()) != 0)
                ::_exit(126);
            ::execve(argv[0], argv, envp);
            ::_exit(127);
        }
        // A program still running after 15 seconds is stopped: it hangs.
        int status = 0;
        for (int waited = 0; ::waitpid(child, &status, WNOHANG) == 0; ++waited) {
            if (waited == 1500) {
                ::kill(child, SIGKILL);
                ::waitpid(child, &status, 0);
                return "HANG (book stopped after 15 s)";
            }
            ::usleep(10000);
        }
        // The stand-in xdg-open runs detached: give it a moment to write down what it got.
        for (int i = 0; i < 200 && readFile(errors).empty() && readFile(s_root / "opened").empty(); ++i)
            ::usleep(10000);
        std::string answer = "exit " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
        if (const std::string said = readFile(errors); !said.empty())
            answer += ", says \"" + gist(said.substr(0, said.size() - 1)) + "\"";
        if (std::string opened = readFile(s_root / "opened"); !opened.empty())
            answer += ", opens " + fs::path(opened.substr(0, opened.size() - 1)).lexically_relative(s_root).string();
        return answer + "; " + fileFate(before, readFile(list), "F:\\books\\");
    }

    // parvolin reading the book list beside it and writing the installed copy.
    static std::string integratorReader(const fs::path &listFile)
    {
        const fs::path list = s_root / "tool" / listName, installed = s_root / "target" / listName;
        putInPlace(listFile, list);
        fs::remove(installed);
        const std::string before = readFile(list);

        struct Observer final : integrator::CopyRunObserver {
            void showMessage(const std::string &) override {}
            void stubsStarting(std::size_t) override {}
            void stubWritten(std::string_view, std::size_t, std::size_t) override {}
        } observer;
        integrator::NativeCopyRunFiles files(drives());
        integrator::CopyRun run(files, observer);
        try {
            run.LoadBookNames(platform::toWindowsPath(list.string()));
            run.WriteBookList(platform::toWindowsPath(list.string()), platform::toWindowsPath(installed.string()), "G:\\");
        } catch (const std::exception &error) {
            return "error box: " + gist(error.what());
        }
        std::string answer = std::to_string(run.bookNames().size()) + " stub names; installed list: ";
        answer += fileFate(before, readFile(installed), "G:\\kdapp\\WebApp\\WebApp\\App_Data\\PDFS\\");
        return answer + (readFile(list) == before ? "" : "; SOURCE LIST CHANGED");
    }

    // kelidor's preview decoding the file as a book's thumbnail.
    static std::string thumbnailReader(const fs::path &file)
    {
        const fs::path thumbnail = s_root / "fdrive/books/s/thumbs/7.jpg";
        putInPlace(file, thumbnail);
        const browser::JpegPicture picture = browser::readJpegFile(thumbnail.string(), QSize(327, 425));
        if (picture.image.isNull())
            return "notice (" + gist(picture.failure) + ")";
        return "picture " + std::to_string(picture.image.width()) + " x " + std::to_string(picture.image.height());
    }

    // kelidor saving a copy of the book whose PDF the file is.
    static std::string saveReader(const fs::path &file)
    {
        const fs::path pdf = s_root / "fdrive/books/s/7.pdf";
        putInPlace(file, pdf);
        const std::string title = "Vol.2 No.3";
        const browser::SaveResult result = browser::runSave(
            {{"F:\\books\\s\\7.pdf", platform::toWindowsPath((s_root / "save").string()) + "\\"
                                        + browser::MakeSaveName(title) + ".pdf"}},
            drives());
        if (!result.error.empty())
            return "error box: " + gist(result.error);
        const fs::path copy = s_root / "save" / platform::win1255ToUtf8(browser::MakeSaveName(title) + ".pdf");
        const std::string copied = readFile(copy);
        fs::remove(copy);
        return std::string(copied == readFile(file) ? "copied, identical" : "copied, DIFFERENT") + " ("
            + std::to_string(copied.size()) + " bytes)";
    }

    static inline fs::path s_root;
    static inline std::vector<FileOnDisk> s_files;
};

struct Cell {
    std::string file, reader, answer;
    long peakMemoryKb;
    double seconds;
};

} // namespace

TEST_F(HostileTable, EveryReaderAnswersEveryHostileFileAsDefined)
{
    using Reader = std::string (*)(const fs::path &);
    const std::vector<std::pair<std::string, Reader>> textReaders = {
        {"kelidor: data.txt", &dataFileReader},
        {"book: book list", &openerReader},
        {"parvolin: book list", &integratorReader},
    };
    const std::vector<std::pair<std::string, Reader>> anyFileReaders = {
        {"kelidor: thumbnail", &thumbnailReader},
        {"kelidor: saved copy", &saveReader},
    };

    std::vector<Cell> cells;
    for (const FileOnDisk &file : s_files) {
        std::vector<std::pair<std::string, Reader>> readers = anyFileReaders;
        if (file.isText)
            readers.insert(readers.begin(), textReaders.begin(), textReaders.end());
        for (const auto &[readerName, reader] : readers) {
            const IsolatedResult result = runIsolated([&] { return reader(file.path); });
            cells.push_back({file.name, readerName, describe(result), result.peakMemoryKb, result.seconds});
        }
    }

    std::cout << "\n| file | reader | answer | peak memory | time |\n|---|---|---|---|---|\n";
    for (const Cell &cell : cells)
        std::printf("| %s | %s | %s | %ld MB | %.2f s |\n", cell.file.c_str(), cell.reader.c_str(), cell.answer.c_str(),
                    cell.peakMemoryKb / 1024, cell.seconds);
    std::fflush(stdout);

    // What each reader must answer, up to the wording of messages and of the decoder's
    // reasons. (The memory figures hold the pages shared with the parent too.)
    const std::map<std::pair<std::string, std::string>, std::string> expected = {
        {{"empty file", "kelidor: data.txt"}, "error box: קובץ הנתונים ריק"},
        {{"empty file", "book: book list"}, "exit 0, says \"K הפעלה: "},
        {{"empty file", "parvolin: book list"}, "error box: קובץ רשימת הספרים ריק"},
        {{"empty file", "kelidor: thumbnail"}, "notice ("},
        {{"empty file", "kelidor: saved copy"}, "copied, identical"},
        {{"only line breaks", "kelidor: data.txt"}, "40000 entries (19999 more lines left out); books folder not found; file untouched"},
        {{"only line breaks", "book: book list"}, "exit 1, says \"שגיאה: הספרים לא נמצאו\"; file untouched"},
        {{"only line breaks", "parvolin: book list"}, "59999 stub names; installed list: line 0 written back, the rest kept"},
        {{"only line breaks", "kelidor: thumbnail"}, "notice ("},
        {{"only line breaks", "kelidor: saved copy"}, "copied, identical"},
        {{"50 MB single line", "kelidor: data.txt"}, "0 entries; books folder not found; file untouched"},
        {{"50 MB single line", "book: book list"}, "exit 1, says \"שגיאה: הספרים לא נמצאו\"; file untouched"},
        {{"50 MB single line", "parvolin: book list"}, "0 stub names; installed list: line 0 written back, the rest kept"},
        {{"50 MB single line", "kelidor: thumbnail"}, "notice ("},
        {{"50 MB single line", "kelidor: saved copy"}, "copied, identical"},
        {{"200000 entry lines", "kelidor: data.txt"}, "40000 entries (160001 more lines left out); books folder F:\\books\\; line 0 written back, the rest kept"},
        {{"200000 entry lines", "book: book list"}, "exit 0, opens fdrive/books/s/7.pdf; line 0 written back, the rest kept"},
        {{"200000 entry lines", "parvolin: book list"}, "200001 stub names; installed list: line 0 written back, the rest kept"},
        {{"200000 entry lines", "kelidor: thumbnail"}, "notice ("},
        {{"200000 entry lines", "kelidor: saved copy"}, "copied, identical"},
        {{"NUL bytes in the middle", "kelidor: data.txt"}, "2 entries; books folder F:\\books\\; line 0 written back, the rest kept"},
        {{"NUL bytes in the middle", "book: book list"}, "exit 1, says \"שגיאה: הספר לא נמצא! / שם הספר: אבגד\"; line 0 written back, the rest kept"},
        {{"NUL bytes in the middle", "parvolin: book list"}, "2 stub names; installed list: line 0 written back, the rest kept"},
        {{"NUL bytes in the middle", "kelidor: thumbnail"}, "notice ("},
        {{"NUL bytes in the middle", "kelidor: saved copy"}, "copied, identical"},
        {{"bytes undefined in Windows-1255", "kelidor: data.txt"}, "4 entries; books folder F:\\books\\; line 0 written back, the rest kept"},
        {{"bytes undefined in Windows-1255", "book: book list"}, "exit 0, opens fdrive/books/s/7.pdf; line 0 written back, the rest kept"},
        {{"bytes undefined in Windows-1255", "parvolin: book list"}, "4 stub names; installed list: line 0 written back, the rest kept"},
        {{"bytes undefined in Windows-1255", "kelidor: thumbnail"}, "notice ("},
        {{"bytes undefined in Windows-1255", "kelidor: saved copy"}, "copied, identical"},
        {{"JPEG announcing 65535 x 65535", "kelidor: thumbnail"}, "notice ("},
        {{"JPEG announcing 65535 x 65535", "kelidor: saved copy"}, "copied, identical"},
        {{"JPEG announcing 60000 x 60000", "kelidor: thumbnail"}, "notice ("},
        {{"JPEG announcing 60000 x 60000", "kelidor: saved copy"}, "copied, identical"},
        {{"progressive JPEG 7000 x 7000, data cut short", "kelidor: thumbnail"}, "notice ("},
        {{"progressive JPEG 7000 x 7000, data cut short", "kelidor: saved copy"}, "copied, identical"},
        {{"JPEG cut after its header", "kelidor: thumbnail"}, "notice ("},
        {{"JPEG cut after its header", "kelidor: saved copy"}, "copied, identical"},
        {{"PNG renamed .jpg", "kelidor: thumbnail"}, "notice ("},
        {{"PNG renamed .jpg", "kelidor: saved copy"}, "copied, identical"},
        {{"zero-byte PDF", "kelidor: thumbnail"}, "notice ("},
        {{"zero-byte PDF", "kelidor: saved copy"}, "copied, identical"},
    };
    for (const Cell &cell : cells) {
        const auto wanted = expected.find({cell.file, cell.reader});
        ASSERT_NE(wanted, expected.end()) << cell.file << " / " << cell.reader;
        EXPECT_TRUE(cell.answer.starts_with(wanted->second))
            << cell.file << " / " << cell.reader << ": " << cell.answer << "\nwanted: " << wanted->second;
        EXPECT_LT(cell.peakMemoryKb, 1024 * 1024) << cell.file << " / " << cell.reader; // sanitizers included
    }
}

// Files that are not files: a FIFO nobody writes to, an endless device, and a thumbnail
// bigger than any picture the decoder accepts. Each reader refuses them at once instead
// of waiting forever or reading without end.
TEST_F(HostileTable, EveryReaderRefusesFilesThatAreNotFiles)
{
    const fs::path fifo = s_root / "files/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path zero = s_root / "files/zero";
    fs::create_symlink("/dev/zero", zero);
    const fs::path huge = s_root / "files/huge";
    {
        std::ofstream out(huge, std::ios::binary);
        const std::string start = smallJpeg(8, 8);
        out << start.substr(0, start.size() - 2); // no end marker: the rest is "data"
    }
    fs::resize_file(huge, std::uintmax_t{3} << 30); // 3 GB, sparse: takes no disk

    using Reader = std::string (*)(const fs::path &);
    const std::vector<std::tuple<std::string, fs::path, std::vector<std::pair<std::string, Reader>>>> rows = {
        {"FIFO", fifo,
         {{"kelidor: data.txt", &dataFileReader},
          {"book: book list", &openerReader},
          {"parvolin: book list", &integratorReader},
          {"kelidor: thumbnail", &thumbnailReader},
          {"kelidor: saved copy", &saveReader}}},
        {"link to /dev/zero", zero,
         {{"kelidor: data.txt", &dataFileReader},
          {"book: book list", &openerReader},
          {"parvolin: book list", &integratorReader},
          {"kelidor: thumbnail", &thumbnailReader},
          {"kelidor: saved copy", &saveReader}}},
        {"3 GB thumbnail", huge, {{"kelidor: thumbnail", &thumbnailReader}}},
    };
    std::cout << "\n| file | reader | answer | peak memory | time |\n|---|---|---|---|---|\n";
    for (const auto &[fileName, path, readers] : rows) {
        for (const auto &[readerName, reader] : readers) {
            // The readers copy the file into place: here it is put there as it is.
            const IsolatedResult result = runIsolated([&, reader = reader] { return reader(path); }, 20);
            const std::string answer = describe(result);
            std::printf("| %s | %s | %s | %ld MB | %.2f s |\n", fileName.c_str(), readerName.c_str(), answer.c_str(),
                        result.peakMemoryKb / 1024, result.seconds);
            std::fflush(stdout);
            EXPECT_TRUE(result.finished) << fileName << " / " << readerName << ": " << answer;
            EXPECT_LT(result.peakMemoryKb, 256 * 1024) << fileName << " / " << readerName;
        }
    }
}
