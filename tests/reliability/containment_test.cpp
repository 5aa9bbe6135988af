// Where the paths the programs build from data can lead. What is written (a saved copy,
// a per-book stub) never leaves the folder it belongs to, whatever the title or the book
// name holds. What is read or opened (a book's PDF, its thumbnail) stays below the books
// folder for an absolute path or a drive prefix in the subfolder or the id; a ".." step
// in a subfolder is followed as written, a subfolder being a relative path by design.
#include "browser/bookpaths.h"
#include "browser/catalogue.h"
#include "browser/savename.h"
#include "browser/saverun.h"
#include "integrator/copyrun.h"
#include "integrator/nativefiles.h"
#include "opener/booklist.h"
#include "opener/bookname.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/winpath.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Whether path lies in folder or below it, by their text once "." and ".." are resolved.
bool inside(const fs::path &path, const fs::path &folder)
{
    const fs::path normalPath = path.lexically_normal(), normalFolder = folder.lexically_normal();
    auto p = normalPath.begin();
    for (auto f = normalFolder.begin(); f != normalFolder.end(); ++f, ++p) {
        if (f->empty())
            continue; // the empty last element of a folder with a trailing separator
        if (p == normalPath.end() || *p != *f)
            return false;
    }
    return true;
}

std::set<fs::path> filesBelow(const fs::path &folder)
{
    std::set<fs::path> files;
    for (const auto &entry : fs::recursive_directory_iterator(folder))
        if (!entry.is_directory())
            files.insert(entry.path());
    return files;
}

// Titles and names that try every way out of a folder.
const std::vector<std::string> hostileNames = {
    "..\\..\\escaped", "../../escaped", "..", ".", "", "\\absolute", "/absolute", "C:\\Windows\\escaped",
    "C:escaped", "\\\\server\\share\\escaped", "a\\..\\..\\escaped", "a/../../escaped", "K ..\\escaped",
    "...\\escaped", platform::utf8ToWin1255("ספר\\..\\..\\נמלט"),
};

class Containment : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() / ("kelidor-containment-" + std::to_string(::getpid()));
        fs::remove_all(m_root);
        for (const char *folder : {"wine/dosdevices", "c/host/pdf", "c/save/chosen", "c/books/s", "kit"})
            fs::create_directories(m_root / folder);
        fs::create_directory_symlink(m_root / "c", m_root / "wine/dosdevices/c:");
        std::ofstream(m_root / "c/books/s/7.pdf") << "%PDF the book";
    }
    void TearDown() override { fs::remove_all(m_root); }

    platform::DriveTable drives() const { return platform::DriveTable(m_root / "wine/dosdevices"); }

    fs::path m_root;
};

} // namespace

// The copy of a book goes to the chosen folder under a name made from its title, and the
// name can hold no separator, no drive colon and no period: no title leads elsewhere.
TEST_F(Containment, SavedCopyStaysInTheChosenFolder)
{
    const std::string chosen = "C:\\save\\chosen\\";
    const fs::path chosenNative = m_root / "c/save/chosen";
    const std::set<fs::path> before = filesBelow(m_root);
    std::vector<browser::SaveCopy> copies;
    for (const std::string &title : hostileNames) {
        const std::string target = browser::savePath(chosen, title);
        EXPECT_EQ(platform::extractFilePath(target), chosen) << title;
        const auto native = platform::toNativePath(target, drives());
        ASSERT_TRUE(native) << title;
        EXPECT_EQ(fs::path(*native).lexically_normal().parent_path(), chosenNative) << title;
        copies.push_back({"C:\\books\\s\\7.pdf", target});
    }
    const browser::SaveResult result = browser::runSave(copies, drives());
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.saved, static_cast<int>(hostileNames.size()));
    for (const fs::path &file : filesBelow(m_root)) {
        if (!before.contains(file)) {
            EXPECT_EQ(file.parent_path(), chosenNative) << file;
        }
    }
}

// A stub is written at the target folder + ("K ") + book name + ".exe". A name that
// climbs out is refused and ends the run; a name with an absolute path or a drive prefix
// is still below the target (or names a missing folder there); nothing appears outside.
TEST_F(Containment, NoStubLeavesTheTargetFolder)
{
    std::ofstream(m_root / "kit/K הפעלה.exe") << "opener";
    std::ofstream(m_root / "kit/tessum.exe") << "stub";
    const fs::path target = m_root / "c/host/pdf/kelidor";
    integrator::NativeCopyRunFiles files(drives());
    struct Observer final : integrator::CopyRunObserver {
        void showMessage(const std::string &) override {}
        void stubsStarting(std::size_t) override {}
        void stubWritten(std::string_view, std::size_t, std::size_t) override {}
    } observer;

    for (const bool prefix : {true, false}) {
        for (const std::string &name : hostileNames) {
            platform::writeFileAtomically((m_root / "kit/K נתונים.txt").string(), "G:\\\r\n" + name + "\t1\ts\r\n");
            const std::set<fs::path> before = filesBelow(m_root);
            integrator::CopyRun run(files, observer);
            integrator::CopyRunSettings settings;
            settings.ownExecutable = platform::toWindowsPath((m_root / "kit/parvolin").string());
            settings.chosenFolder = "C:\\host\\pdf";
            settings.addStubPrefix = prefix;
            settings.collectionDrive = "G:\\";
            bool refused = false;
            try {
                run.run(settings);
            } catch (const std::exception &) {
                refused = true;
            }
            const std::string stub = integrator::stubPathOf(prefix ? "K " : "", name);
            if (!integrator::staysInsideFolder(stub)) {
                EXPECT_TRUE(refused) << stub;
            }
            for (const fs::path &file : filesBelow(m_root)) {
                if (!before.contains(file)) {
                    EXPECT_TRUE(inside(file, target)) << stub << " wrote " << file;
                }
            }
        }
    }
    // Names that stay inside were written there, a drive prefix in the middle included.
    EXPECT_TRUE(fs::exists(target / "K C:escaped.exe"));
    EXPECT_TRUE(fs::exists(target / "C:escaped.exe"));
    EXPECT_TRUE(fs::exists(target / "K ...exe"));
}

// The browser's and the opener's book files: books folder + subfolder + "\" + id.
TEST(BookPaths, StayBelowTheBooksFolderUnlessTheSubfolderStepsUp)
{
    const platform::DriveTable drives("/nonexistent");
    const std::string books = "\\media\\books\\";
    struct Case {
        std::string subfolder, id;
        bool below;
    };
    const std::vector<Case> cases = {
        {"12", "345", true},
        {"a\\b", "1", true},           // several levels, by design
        {"\\etc", "1", true},          // "books\\\etc": an empty step, still below
        {"/etc", "1", true},
        {"C:\\Windows", "1", true},    // a drive prefix counts only at the start of a path
        {"", "C:passwd", true},
        {"", "\\..x", true},
        {"..\\..", "1", false},        // followed as written: a subfolder is a relative path
        {"s", "..\\..\\..\\x", false}, // the opener's id is text: the same rule
    };
    for (const Case &c : cases) {
        const opener::BookLine line{"name", c.id, c.subfolder};
        for (const std::string &path : {opener::pdfPath(books, line)}) {
            const auto native = platform::toNativePath(path, drives);
            ASSERT_TRUE(native);
            EXPECT_EQ(inside(*native, "/media/books"), c.below) << path;
        }
        // The browser's id is a number: whatever the field holds, the file is a number.
        const std::int32_t id = browser::readId(c.id);
        for (const std::string &path : {browser::pdfPath(books, c.subfolder, id), browser::thumbnailPath(books, c.subfolder, id)}) {
            const auto native = platform::toNativePath(path, drives);
            ASSERT_TRUE(native);
            EXPECT_EQ(inside(*native, "/media/books"), c.subfolder.find("..") == std::string::npos) << path;
            EXPECT_TRUE(native->ends_with("/" + std::to_string(id) + ".pdf") || native->ends_with("/" + std::to_string(id) + ".jpg"));
        }
    }
}

// The stub's path only names the book to look up: whatever the tail holds, the name is
// the text after its last separator, never a path.
TEST(BookName, TailIsOnlyALookupKey)
{
    for (const std::string tail : {"..\\..\\escaped.exe", "C:escaped.exe", "\\\\server\\share\\K x.exe",
                                    "/tmp/K y.exe", "C:\\a\\..\\K ..\\z.exe"}) {
        const std::string name = opener::bookNameFromPath(tail);
        EXPECT_EQ(name.find_first_of("\\:"), std::string::npos) << tail;
    }
}
