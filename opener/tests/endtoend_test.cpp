// The real programs in a temporary kit folder, with their own drive table and a
// recording xdg-open first on PATH.
#include "platform/codec.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

std::string w(std::string_view utf8) { return platform::utf8ToWin1255(utf8); }

const std::string openerName = "K הפעלה.exe";
const std::string listName = "K נתונים.txt";

struct Outcome {
    int exitCode = -1;
    std::string standardOutput;
    std::string standardError;
};

class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() / ("kelidor-opener-e2e-" + std::to_string(::getpid()));
        fs::remove_all(m_root);
        m_kit = m_root / "my kit ספרים";
        m_books = m_root / "media" / "PDFS";
        for (const auto &folder : {m_kit, m_books / "תורה" / "1", m_root / "wine" / "dosdevices", m_root / "bin",
                                   m_root / "elsewhere"})
            fs::create_directories(folder);
        fs::create_directory_symlink(m_root / "media", m_root / "wine" / "dosdevices" / "f:");
        fs::copy_file(BOOK_PROGRAM, m_kit / openerName);
        fs::copy_file(TESSUM_PROGRAM, m_kit / "K בראשית.exe");
        writeFile(m_kit / listName, w("G:\\PDFS\\\r\nבראשית\t101\tתורה\\1\r\nשמות\t102\tתורה\\2\r\n"));

        const fs::path standIn = m_root / "bin" / "xdg-open";
        writeFile(standIn, "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + opened().string() + "'\n");
        fs::permissions(standIn, fs::perms::owner_all);

        m_environment = {"WINEPREFIX=" + (m_root / "wine").string(), "HOME=" + m_root.string(),
                         "PATH=" + (m_root / "bin").string() + ":/usr/bin:/bin", "LANG=C.UTF-8"};
    }
    void TearDown() override { fs::remove_all(m_root); }

    static void writeFile(const fs::path &path, const std::string &bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string readFile(const fs::path &path)
    {
        return fs::exists(path) ? platform::readWholeFile(path.string()) : std::string();
    }
    fs::path opened() const { return m_root / "opened"; }

    // Waits for the detached opener to hand something to xdg-open.
    std::string waitForOpened() const
    {
        for (int i = 0; i < 500 && readFile(opened()).empty(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return readFile(opened());
    }

    Outcome run(const fs::path &program, const std::vector<std::string> &arguments,
                const std::vector<std::string> &extraEnvironment = {}) const
    {
        std::vector<std::string> environment = m_environment;
        for (const auto &entry : extraEnvironment) { // replaces an entry of the same name
            const auto name = entry.substr(0, entry.find('=') + 1);
            std::erase_if(environment, [&](const std::string &old) { return old.starts_with(name); });
            environment.push_back(entry);
        }
        std::vector<char *> argv{const_cast<char *>(program.c_str())};
        for (const auto &argument : arguments)
            argv.push_back(const_cast<char *>(argument.c_str()));
        argv.push_back(nullptr);
        std::vector<char *> envp;
        for (auto &entry : environment)
            envp.push_back(entry.data());
        envp.push_back(nullptr);

        const fs::path outPath = m_root / "stdout", errPath = m_root / "stderr";
        const pid_t child = ::fork();
        if (child == 0) {
            const rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            if (::chdir((m_root / "elsewhere").c_str()) != 0)
                ::_exit(126);
            ::dup2(::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
            ::dup2(::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        Outcome outcome;
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        outcome.standardOutput = readFile(outPath);
        outcome.standardError = readFile(errPath);
        return outcome;
    }

    fs::path m_root, m_kit, m_books;
    std::vector<std::string> m_environment;
};

} // namespace

TEST_F(EndToEndTest, StubFromAnotherFolderOpensItsBookOnTheMovedDrive)
{
    const Outcome stub = run(m_kit / "K בראשית.exe", {});
    EXPECT_EQ(stub.exitCode, 0);
    EXPECT_EQ(waitForOpened(), (m_books / "תורה" / "1" / "101.pdf").string() + "\n");
    // The list now names drive F, written back once and whole.
    EXPECT_EQ(readFile(m_kit / listName), w("F:\\PDFS\\\r\nבראשית\t101\tתורה\\1\r\nשמות\t102\tתורה\\2\r\n"));
}

TEST_F(EndToEndTest, TailInPiecesIsJoinedByBlanks)
{
    const std::string stubPath = (m_kit / "K שמות.exe").string();
    const auto blank = stubPath.find(' ');
    const Outcome opener = run(m_kit / openerName, {stubPath.substr(0, blank), stubPath.substr(blank + 1)});
    EXPECT_EQ(opener.exitCode, 0) << opener.standardError;
    EXPECT_EQ(waitForOpened(), (m_books / "תורה" / "2" / "102.pdf").string() + "\n");
}

TEST_F(EndToEndTest, OwnMessagesGoToStandardErrorWithExitCodeOne)
{
    const Outcome missingBook = run(m_kit / openerName, {(m_kit / "K ויקרא.exe").string()});
    EXPECT_EQ(missingBook.exitCode, 1);
    EXPECT_EQ(missingBook.standardError, "שגיאה: הספר לא נמצא!\nשם הספר: ויקרא\n");

    // A display that cannot be opened leaves standard error and the same exit code.
    const Outcome noDisplay = run(m_kit / openerName, {(m_kit / "K ויקרא.exe").string()}, {"DISPLAY=:97"});
    EXPECT_EQ(noDisplay.exitCode, 1);
    EXPECT_EQ(noDisplay.standardError.substr(0, missingBook.standardError.size()), missingBook.standardError);

    fs::remove(m_root / "wine" / "dosdevices" / "f:");
    const std::string listBefore = readFile(m_kit / listName);
    const Outcome noBooks = run(m_kit / openerName, {(m_kit / "K בראשית.exe").string()});
    EXPECT_EQ(noBooks.exitCode, 1);
    EXPECT_EQ(noBooks.standardError, "שגיאה: הספרים לא נמצאו\n");
    EXPECT_EQ(readFile(m_kit / listName), listBefore);
    EXPECT_TRUE(readFile(opened()).empty());
}

TEST_F(EndToEndTest, SystemFailuresAreReportedWithExitCodeZero)
{
    // No xdg-open anywhere on PATH: the book was found but cannot be handed over.
    fs::remove(m_root / "bin" / "xdg-open");
    const Outcome noViewer = run(m_kit / openerName, {(m_kit / "K בראשית.exe").string()}, {"PATH=/nonexistent"});
    EXPECT_EQ(noViewer.exitCode, 0);
    EXPECT_NE(noViewer.standardError.find("xdg-open"), std::string::npos) << noViewer.standardError;
    EXPECT_EQ(noViewer.standardError.rfind("K הפעלה: ", 0), 0u) << noViewer.standardError; // captioned with the title

    fs::remove(m_kit / listName);
    const Outcome noList = run(m_kit / openerName, {(m_kit / "K בראשית.exe").string()});
    EXPECT_EQ(noList.exitCode, 0);
    EXPECT_NE(noList.standardError.find((m_kit / listName).string()), std::string::npos) << noList.standardError;
}

TEST_F(EndToEndTest, StubWithoutOpenerEndsSilentlyWithZero)
{
    const fs::path alone = m_root / "alone";
    fs::create_directories(alone);
    fs::copy_file(TESSUM_PROGRAM, alone / "K בראשית.exe");
    const Outcome stub = run(alone / "K בראשית.exe", {});
    EXPECT_EQ(stub.exitCode, 0);
    EXPECT_EQ(stub.standardOutput, "");
    EXPECT_EQ(stub.standardError, "");
}

TEST_F(EndToEndTest, StubLooksBesideItselfThenInTheCurrentFolderThenAlongPath)
{
    // Each place gets an opener whose list sends the book to a subfolder of its own.
    const auto placeOpener = [&](const fs::path &folder, const std::string &subfolder) {
        fs::copy_file(BOOK_PROGRAM, folder / openerName, fs::copy_options::overwrite_existing);
        writeFile(folder / listName, w("F:\\PDFS\\\r\nבראשית\t101\t" + subfolder + "\r\n"));
    };
    const fs::path alone = m_root / "alone";
    fs::create_directories(alone);
    fs::copy_file(TESSUM_PROGRAM, alone / "K בראשית.exe");
    placeOpener(alone, "beside");
    placeOpener(m_root / "elsewhere", "current");
    placeOpener(m_root / "bin", "path");

    for (const std::string expected : {"beside", "current", "path"}) {
        fs::remove(opened());
        EXPECT_EQ(run(alone / "K בראשית.exe", {}).exitCode, 0);
        EXPECT_EQ(waitForOpened(), (m_books / expected / "101.pdf").string() + "\n");
        // Next time the place just tried has no opener.
        fs::remove((expected == "beside" ? alone : expected == "current" ? m_root / "elsewhere" : m_root / "bin") / openerName);
    }
}

TEST_F(EndToEndTest, OpenersStartedTogetherNeverLeaveATornList)
{
    // A list long enough that writing it takes a while.
    std::string bookLines;
    for (int i = 0; i < 20000; ++i)
        bookLines += "b" + std::to_string(100000 + i) + "\t" + std::to_string(i) + "\t" + w("תורה\\1") + "\r\n";
    writeFile(m_kit / listName, "G:\\PDFS\\\r\n" + bookLines);

    std::vector<std::thread> openers;
    std::vector<int> exitCodes(8, -1);
    for (size_t i = 0; i < exitCodes.size(); ++i)
        openers.emplace_back([&, i] {
            // Each with its own output files: run() in a copy of the fixture's folder names.
            std::vector<char *> argv;
            const std::string program = (m_kit / openerName).string();
            const std::string stubPath = (m_kit / ("K b" + std::to_string(100000 + 7 * i) + ".exe")).string();
            argv = {const_cast<char *>(program.c_str()), const_cast<char *>(stubPath.c_str()), nullptr};
            std::vector<std::string> environment = m_environment;
            std::vector<char *> envp;
            for (auto &entry : environment)
                envp.push_back(entry.data());
            envp.push_back(nullptr);
            const pid_t child = ::fork();
            if (child == 0) {
                ::execve(argv[0], argv.data(), envp.data());
                ::_exit(127);
            }
            int status = 0;
            ::waitpid(child, &status, 0);
            exitCodes[i] = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        });
    for (auto &opener : openers)
        opener.join();

    EXPECT_EQ(exitCodes, std::vector<int>(8, 0));
    EXPECT_EQ(readFile(m_kit / listName), "F:\\PDFS\\\r\n" + bookLines);
    for (const auto &entry : fs::directory_iterator(m_kit))
        EXPECT_EQ(entry.path().filename().string().front(), 'K') << "left behind: " << entry.path();
}
