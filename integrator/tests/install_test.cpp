// Copy runs on real files: a kit folder, a drive table whose C: is a temporary folder,
// and the host library folder C:\OTZAR\pdf on it.
#include "fakefiles.h"

#include "integrator/copyrun.h"
#include "integrator/nativefiles.h"

#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include <sys/stat.h>
#include <unistd.h>

using namespace integrator;
using integrator::testing::RecordingObserver;
namespace fs = std::filesystem;

namespace {

const std::string kList = "K \xF0\xFA\xE5\xF0\xE9\xED.txt";      // "K נתונים.txt"
const std::string kOpener = "K \xE4\xF4\xF2\xEC\xE4.exe";        // "K הפעלה.exe"
const std::string kListNative = "K נתונים.txt";
const std::string kOpenerNative = "K הפעלה.exe";

// Every file below a folder with its bytes, by path relative to it.
std::map<std::string, std::string> contentsOf(const fs::path &folder)
{
    std::map<std::string, std::string> contents;
    for (const auto &entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            contents[fs::relative(entry.path(), folder).string()] = platform::readWholeFile(entry.path().string());
    return contents;
}

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() / ("kelidor-install-" + std::to_string(::getpid()));
        fs::remove_all(m_root);
        fs::create_directories(m_root / "kit");
        fs::create_directories(m_root / "wine/dosdevices");
        fs::create_directories(m_root / "drive_c/OTZAR/pdf");
        fs::create_directory_symlink("../../drive_c", m_root / "wine/dosdevices/c:");

        for (int i = 0; i < 5000; ++i)
            m_stubBytes += static_cast<char>(i * 31 + 7);
        writeKit("G:\\\r\nA\t1\tx\r\nB\t2\ty\\z\r\n", "opener\x7F" "ELF bytes", m_stubBytes);
    }
    void TearDown() override { fs::remove_all(m_root); }

    void writeKit(const std::string &list, const std::string &opener, const std::string &stub)
    {
        platform::writeFileAtomically(kit(kListNative), list);
        platform::writeFileAtomically(kit(kOpenerNative), opener);
        platform::writeFileAtomically(kit("tessum.exe"), stub);
        ::chmod(kit("tessum.exe").c_str(), 0755);
        ::chmod(kit(kOpenerNative).c_str(), 0755);
    }
    std::string kit(const std::string &name) const { return (m_root / "kit" / name).string(); }
    fs::path host() const { return m_root / "drive_c/OTZAR/pdf"; }

    void run(const std::string &chosen = "C:\\OTZAR\\pdf", bool prefix = true, bool subFolder = true,
             const std::string &drive = "G:\\")
    {
        CopyRunSettings settings;
        settings.ownExecutable = platform::toWindowsPath(kit("parvolin"));
        settings.chosenFolder = chosen;
        settings.addStubPrefix = prefix;
        settings.intoSubFolder = subFolder;
        settings.collectionDrive = drive;
        m_run.run(settings);
    }

    fs::path m_root;
    std::string m_stubBytes;
    NativeCopyRunFiles m_files{platform::DriveTable(fs::temp_directory_path() / ("kelidor-install-" + std::to_string(::getpid())) / "wine/dosdevices")};
    RecordingObserver m_observer;
    CopyRun m_run{m_files, m_observer};
};

} // namespace

TEST_F(InstallTest, ExampleRunFileByFileAndByteByByte)
{
    run();
    const std::map<std::string, std::string> expected = {
        {"kelidor/" + kOpenerNative, "opener\x7F" "ELF bytes"},
        {"kelidor/" + kListNative, "G:\\kdapp\\WebApp\\WebApp\\App_Data\\PDFS\\\r\nA\t1\tx\r\nB\t2\ty\\z\r\n"},
        {"kelidor/K A.exe", m_stubBytes},
        {"kelidor/K B.exe", m_stubBytes},
    };
    EXPECT_EQ(contentsOf(host()), expected);
    EXPECT_TRUE(m_observer.messages.empty());
    for (const char *stub : {"kelidor/K A.exe", "kelidor/K B.exe"}) {
        struct stat info{};
        ASSERT_EQ(::lstat((host() / stub).c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode) && (info.st_mode & S_IXUSR)) << stub;
        EXPECT_EQ(info.st_nlink, 1u) << "an independent copy";
    }
    // The tool's own files are only read.
    EXPECT_EQ(platform::readWholeFile(kit(kListNative)), "G:\\\r\nA\t1\tx\r\nB\t2\ty\\z\r\n");
}

TEST_F(InstallTest, RunningTwiceLeavesTheSameFiles)
{
    writeKit("G:\\\r\n\xE1\xF8\xE0\xF9\xE9\xFA\t1\tx\r\n\xF9\xEE\xE5\xFA\t2\ty\r\n", "opener", m_stubBytes);
    run();
    const auto once = contentsOf(host());
    run();
    EXPECT_EQ(contentsOf(host()), once);
    EXPECT_EQ(once.count("kelidor/K בראשית.exe"), 1u) << "Hebrew names become UTF-8 file names";
    EXPECT_EQ(once.count("kelidor/K שמות.exe"), 1u);
}

TEST_F(InstallTest, DriveRootAndNoSubFolder)
{
    run("C:\\", false, false, "G:");
    const auto root = contentsOf(m_root / "drive_c");
    EXPECT_EQ(root.at(kOpenerNative), "opener\x7F" "ELF bytes");
    EXPECT_EQ(root.at("A.exe"), m_stubBytes);
    EXPECT_EQ(root.at(kListNative).substr(0, 6), "G:kdap");

    run("C:\\", true, true, "");
    EXPECT_EQ(platform::readWholeFile((m_root / "drive_c/kelidor/K B.exe").string()), m_stubBytes);
    EXPECT_EQ(platform::readWholeFile((m_root / "drive_c/kelidor" / kListNative).string()).substr(0, 6), "kdapp\\");
}

TEST_F(InstallTest, MissingOpenerIsToldWithItsPathAndTheRunGoesOn)
{
    fs::remove(kit(kOpenerNative));
    run();
    ASSERT_EQ(m_observer.messages.size(), 1u);
    EXPECT_EQ(m_observer.messages[0], "אין אפשרות להעתיק את " + kit(kOpenerNative) + "\nהעתק אותו ידנית");
    EXPECT_TRUE(fs::exists(host() / "kelidor/K B.exe"));
    EXPECT_FALSE(fs::exists(host() / "kelidor" / kOpenerNative));
}

TEST_F(InstallTest, MissingStubSourceLeavesOpenerAndListButNoStub)
{
    fs::remove(kit("tessum.exe"));
    try {
        run();
        FAIL() << "a missing tessum.exe went unreported";
    } catch (const platform::FileError &error) {
        EXPECT_NE(std::string(error.what()).find(kit("tessum.exe")), std::string::npos) << error.what();
    }
    const auto installed = contentsOf(host());
    EXPECT_EQ(installed.size(), 2u);
    EXPECT_EQ(installed.count("kelidor/" + kListNative), 1u);
    EXPECT_EQ(installed.count("kelidor/" + kOpenerNative), 1u);
}

TEST_F(InstallTest, UncreatableSubFolderIsToldAndEveryWriteThenFails)
{
    platform::writeFileAtomically((host() / "kelidor").string(), "a file where the folder should be");
    EXPECT_THROW(run(), platform::FileError); // the list cannot be written there
    ASSERT_EQ(m_observer.messages.size(), 2u);
    EXPECT_EQ(m_observer.messages[0], std::string(kCannotCreateFolder));
    EXPECT_EQ(m_observer.messages[1].rfind("אין אפשרות להעתיק את ", 0), 0u);
    EXPECT_EQ(platform::readWholeFile((host() / "kelidor").string()), "a file where the folder should be");
}

TEST_F(InstallTest, StubsStayInsideTheTargetFolder)
{
    fs::create_directories(host() / "kelidor/sub");
    fs::create_directories(m_root / "elsewhere");
    fs::create_directory_symlink(m_root / "elsewhere", host() / "kelidor/link");
    writeKit("G:\\\r\nsub\\in\t1\r\nlink\\out\t2\r\nlast\t3\r\n", "opener", m_stubBytes);
    try {
        run("C:\\OTZAR\\pdf", false, true);
        FAIL() << "a stub through a link out of the target was written";
    } catch (const CopyRunError &error) {
        EXPECT_NE(std::string(error.what()).find("\"link\\out\""), std::string::npos) << error.what();
    }
    EXPECT_EQ(platform::readWholeFile((host() / "kelidor/sub/in.exe").string()), m_stubBytes);
    EXPECT_TRUE(fs::is_empty(m_root / "elsewhere"));
    EXPECT_FALSE(fs::exists(host() / "kelidor/last.exe"));

    writeKit("G:\\\r\nfirst\t1\r\n..\\..\\escaped\t2\r\nlast\t3\r\n", "opener", m_stubBytes);
    EXPECT_THROW(run("C:\\OTZAR\\pdf", false, true), CopyRunError);
    EXPECT_TRUE(fs::exists(host() / "kelidor/first.exe"));
    EXPECT_FALSE(fs::exists(m_root / "drive_c/OTZAR/escaped.exe"));
    EXPECT_FALSE(fs::exists(host() / "kelidor/last.exe"));
}

TEST_F(InstallTest, AStubIntoAMissingSubFolderEndsTheRunThere)
{
    writeKit("G:\\\r\nA\t1\r\nnone\\B\t2\r\nC\t3\r\n", "opener", m_stubBytes);
    try {
        run();
        FAIL() << "a stub into a missing folder went unreported";
    } catch (const CopyRunError &error) {
        const std::string text = error.what();
        EXPECT_NE(text.find("\"none\\B\""), std::string::npos) << text;
        EXPECT_NE(text.find((host() / "kelidor/K none/B.exe").string()), std::string::npos) << text;
    }
    EXPECT_EQ(m_observer.shownNames, std::vector<std::string>{"A"});
    EXPECT_FALSE(fs::exists(host() / "kelidor/K C.exe"));
}

TEST_F(InstallTest, InstallingIntoTheKitItselfKeepsItsFilesWhole)
{
    writeKit("G:\\\r\ntessum\t1\r\nA\t2\r\n", "opener bytes", m_stubBytes);
    CopyRunSettings settings;
    settings.ownExecutable = platform::toWindowsPath(kit("parvolin"));
    settings.chosenFolder = platform::toWindowsPath((m_root / "kit").string());
    settings.addStubPrefix = false;
    settings.intoSubFolder = false;
    settings.collectionDrive = "G:\\";
    m_run.run(settings);
    EXPECT_EQ(platform::readWholeFile(kit(kOpenerNative)), "opener bytes");
    EXPECT_EQ(platform::readWholeFile(kit("tessum.exe")), m_stubBytes);
    EXPECT_EQ(platform::readWholeFile(kit("A.exe")), m_stubBytes);
}
