// Crash-safety of the data files: the real programs are killed (SIGKILL) at random
// moments while they correct the drive letter of their data file and write it back, many
// times over, and after every kill the file must be either wholly the old one or wholly
// the new one. The same for two openers correcting the same book list at once.
//
// The number of runs can be raised for a long session: KELIDOR_KILL_RUNS=1000.
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/linefile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

const std::string listName = "K נתונים.txt";
const std::string openerName = "K הפעלה.exe";

int runsFor(int usual)
{
    const char *wanted = std::getenv("KELIDOR_KILL_RUNS");
    return wanted && std::atoi(wanted) > 0 ? std::atoi(wanted) : usual;
}

// The data file before (line 0 on a drive that does not exist, LF line ends) and after
// the correction (line 0 on drive F, CR LF after every line): two files that differ in
// nearly every byte, so a mix of them is seen at once.
struct Versions {
    std::string oldBytes, newBytes;
};

Versions makeVersions(int lines, const char *format)
{
    Versions versions;
    std::string body;
    char line[128];
    for (int i = 0; i < lines; ++i) {
        std::snprintf(line, sizeof line, format, i, i + 1, i);
        body += line;
        body += '\n';
    }
    versions.oldBytes = "X:\\books\\\n" + body;
    platform::LineText text = platform::splitLines(versions.oldBytes);
    text.lines[0] = "F:\\books\\";
    versions.newBytes = platform::joinLines(text);
    return versions;
}

struct Tally {
    int runs = 0, oldFiles = 0, newFiles = 0, torn = 0, killedWhileWriting = 0;
    std::string report(const char *what) const
    {
        return std::string(what) + ": " + std::to_string(runs) + " runs, " + std::to_string(oldFiles) + " old, "
            + std::to_string(newFiles) + " new, " + std::to_string(torn) + " torn; killed while writing (a temporary"
            + " file left beside the data file) " + std::to_string(killedWhileWriting);
    }
};

class KillTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() / ("kelidor-kill-" + std::to_string(::getpid()));
        fs::remove_all(m_root);
        for (const char *folder : {"wine/dosdevices", "fdrive/books/s", "kit", "app", "bin", "home"})
            fs::create_directories(m_root / folder);
        fs::create_directory_symlink(m_root / "fdrive", m_root / "wine/dosdevices/f:");
        fs::copy_file(BOOK_PROGRAM, m_root / "kit" / openerName);
        fs::copy_file(KELIDOR_PROGRAM, m_root / "app/kelidor");
        const fs::path standIn = m_root / "bin/xdg-open";
        std::ofstream(standIn) << "#!/bin/sh\nexit 0\n";
        fs::permissions(standIn, fs::perms::owner_all);
        m_environment = {"WINEPREFIX=" + (m_root / "wine").string(), "HOME=" + (m_root / "home").string(),
                         "PATH=" + (m_root / "bin").string() + ":/usr/bin:/bin", "LANG=C.UTF-8",
                         "QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + (m_root / "home").string()};
    }
    void TearDown() override { fs::remove_all(m_root); }

    pid_t start(const fs::path &program, const std::vector<std::string> &arguments) const
    {
        std::vector<std::string> environment = m_environment;
        if (const char *asan = std::getenv("ASAN_OPTIONS"))
            environment.push_back(std::string("ASAN_OPTIONS=") + asan);
        const pid_t child = ::fork();
        if (child == 0) {
            std::vector<char *> argv{const_cast<char *>(program.c_str())};
            for (const auto &argument : arguments)
                argv.push_back(const_cast<char *>(argument.c_str()));
            argv.push_back(nullptr);
            std::vector<char *> envp;
            for (auto &entry : environment)
                envp.push_back(entry.data());
            envp.push_back(nullptr);
            const int quiet = ::open("/dev/null", O_RDWR);
            ::dup2(quiet, 1);
            ::dup2(quiet, 2);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        return child;
    }

    static int finish(pid_t child)
    {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        return status;
    }

    // Puts the old file in place (nobody else is running now).
    static void reset(const fs::path &file, const std::string &bytes)
    {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    }

    // Sorts what a killed run left: the data file, and any temporary file beside it.
    static void tally(Tally &counts, const fs::path &file, const Versions &versions)
    {
        ++counts.runs;
        const std::string now = platform::readWholeFile(file.string());
        if (now == versions.oldBytes)
            ++counts.oldFiles;
        else if (now == versions.newBytes)
            ++counts.newFiles;
        else
            ++counts.torn;
        bool leftover = false;
        for (const auto &entry : fs::directory_iterator(file.parent_path()))
            if (entry.path().filename().string().starts_with(".")) {
                leftover = true;
                fs::remove(entry.path());
            }
        counts.killedWhileWriting += leftover ? 1 : 0;
    }

    // When, after its start, a program begins to write the file (its temporary file
    // appears beside it) and when it has replaced it (the file's inode changes with the
    // rename), measured on one undisturbed run; the program is then stopped.
    struct WriteWindow {
        std::chrono::microseconds begins{0}, replaced{0};
    };
    WriteWindow writeWindow(const fs::path &program, const std::vector<std::string> &arguments,
                            const fs::path &file) const
    {
        struct stat before{};
        ::stat(file.c_str(), &before);
        const auto started = Clock::now();
        const pid_t child = start(program, arguments);
        WriteWindow window;
        struct stat now{};
        while (Clock::now() - started < std::chrono::seconds(30)) {
            const auto at = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started);
            if (window.begins.count() == 0)
                for (const auto &entry : fs::directory_iterator(file.parent_path()))
                    if (entry.path().filename().string().starts_with("."))
                        window.begins = at;
            if (::stat(file.c_str(), &now) == 0 && now.st_ino != before.st_ino) {
                window.replaced = at;
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        if (window.begins.count() == 0)
            window.begins = window.replaced;
        ::kill(child, SIGKILL);
        finish(child);
        return window;
    }

    // A kill moment: half of them anywhere from the start to a little after the rename,
    // half while the file is being written.
    std::chrono::microseconds killMoment(const WriteWindow &window)
    {
        const long until = window.replaced.count() * 11 / 10;
        std::uniform_int_distribution<long> anywhere(0, until), writing(window.begins.count() * 9 / 10, until);
        return std::chrono::microseconds(m_random() % 2 ? anywhere(m_random) : writing(m_random));
    }

    fs::path m_root;
    std::vector<std::string> m_environment;
    std::mt19937 m_random{20261211};
};

} // namespace

TEST_F(KillTest, OpenerKilledWhileWritingTheBookListLeavesItOldOrNew)
{
    const Versions versions = makeVersions(200000, "b%06d\t%d\ts%d");
    const fs::path list = m_root / "kit" / listName;
    const fs::path opener = m_root / "kit" / openerName;
    const std::vector<std::string> tail{(m_root / "kit/K b000001.exe").string()};

    reset(list, versions.oldBytes);
    const WriteWindow window = writeWindow(opener, tail, list);
    ASSERT_EQ(platform::readWholeFile(list.string()), versions.newBytes) << "an undisturbed run corrects the list";

    Tally counts;
    for (int run = 0; run < runsFor(200); ++run) {
        reset(list, versions.oldBytes);
        const pid_t child = start(opener, tail);
        std::this_thread::sleep_for(killMoment(window));
        ::kill(child, SIGKILL);
        finish(child);
        tally(counts, list, versions);
    }
    std::printf("%s (writing from %.1f ms to %.1f ms after the start)\n", counts.report("opener").c_str(),
                static_cast<double>(window.begins.count()) / 1000, static_cast<double>(window.replaced.count()) / 1000);
    EXPECT_EQ(counts.torn, 0);
    EXPECT_GT(counts.oldFiles, 0);
    EXPECT_GT(counts.newFiles, 0);
}

TEST_F(KillTest, BrowserKilledWhileWritingDataTxtLeavesItOldOrNew)
{
    const Versions versions = makeVersions(150000, "%d\ttitle %06d\ts\tauthor %d");
    const fs::path data = m_root / "app/data.txt";
    const fs::path browser = m_root / "app/kelidor";

    reset(data, versions.oldBytes);
    const WriteWindow window = writeWindow(browser, {}, data);
    ASSERT_EQ(platform::readWholeFile(data.string()), versions.newBytes) << "an undisturbed start corrects data.txt";

    Tally counts;
    for (int run = 0; run < runsFor(60); ++run) {
        reset(data, versions.oldBytes);
        const pid_t child = start(browser, {});
        std::this_thread::sleep_for(killMoment(window));
        ::kill(child, SIGKILL);
        finish(child);
        tally(counts, data, versions);
    }
    std::printf("%s (writing from %.1f ms to %.1f ms after the start)\n", counts.report("browser").c_str(),
                static_cast<double>(window.begins.count()) / 1000, static_cast<double>(window.replaced.count()) / 1000);
    EXPECT_EQ(counts.torn, 0);
    EXPECT_GT(counts.oldFiles, 0);
    EXPECT_GT(counts.newFiles, 0);
}

TEST_F(KillTest, TwoOpenersCorrectingOneListAtOnceLeaveItOldOrNew)
{
    const Versions versions = makeVersions(200000, "b%06d\t%d\ts%d");
    const fs::path list = m_root / "kit" / listName;
    const fs::path opener = m_root / "kit" / openerName;
    const std::vector<std::string> first{(m_root / "kit/K b000001.exe").string()};
    const std::vector<std::string> second{(m_root / "kit/K b150000.exe").string()};

    reset(list, versions.oldBytes);
    const WriteWindow window = writeWindow(opener, first, list);

    // Each run: both started together; none, one or both killed at random moments.
    std::uniform_int_distribution<int> victims(0, 3); // bit 0: the first, bit 1: the second
    Tally counts;
    int completedRuns = 0;
    for (int run = 0; run < runsFor(100); ++run) {
        reset(list, versions.oldBytes);
        const int kill = victims(m_random);
        const pid_t one = start(opener, first);
        const pid_t two = start(opener, second);
        if (kill != 0) {
            std::this_thread::sleep_for(killMoment(window));
            if (kill & 1)
                ::kill(one, SIGKILL);
            if (kill & 2)
                ::kill(two, SIGKILL);
        }
        const int statusOne = finish(one), statusTwo = finish(two);
        const bool oneCompleted = WIFEXITED(statusOne), twoCompleted = WIFEXITED(statusTwo);
        if (kill == 0) {
            EXPECT_TRUE(oneCompleted && WEXITSTATUS(statusOne) == 0 && twoCompleted && WEXITSTATUS(statusTwo) == 0);
            ++completedRuns;
        }
        // An opener that ran to its end has corrected the list, whatever the other did.
        if (oneCompleted || twoCompleted) {
            EXPECT_EQ(platform::readWholeFile(list.string()), versions.newBytes) << "run " << run;
        }
        tally(counts, list, versions);
    }
    std::printf("%s; %d runs with neither killed\n", counts.report("two openers").c_str(), completedRuns);
    EXPECT_EQ(counts.torn, 0);
}
