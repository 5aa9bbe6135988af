#include "platform/files.h"
#include "platform/linefile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

TEST(LineText, Reading)
{
    using namespace std::string_literals;
    struct Case { std::string bytes; Lines lines; std::string afterEnd; };
    const Case cases[] = {
        {"a\r\nb", {"a", "b"}, ""},
        {"a\nb", {"a", "b"}, ""},
        {"a\rb", {"a", "b"}, ""},
        {"a\r\nb\r\n", {"a", "b"}, ""},
        {"a\r\n\r\n", {"a", ""}, ""},
        {"a\n\rb", {"a", "", "b"}, ""},          // LF then CR: two line ends
        {"a\r\rb", {"a", "", "b"}, ""},
        {"\n", {""}, ""},
        {"", {}, ""},
        {"a\n\n\nb", {"a", "", "", "b"}, ""},
        {"a\r\nb\0c\r\nd"s, {"a", "b"}, "\0c\r\nd"s},  // a NUL byte ends the text
        {"\0abc"s, {}, "\0abc"s},
        {"x\t\xE0\xE1 \r", {"x\t\xE0\xE1 "}, ""},  // bytes pass through, blanks stay
    };
    for (const auto &c : cases) {
        const LineText text = splitLines(c.bytes);
        EXPECT_EQ(text.lines, c.lines) << testing::PrintToString(c.bytes);
        EXPECT_EQ(text.afterEnd, c.afterEnd) << testing::PrintToString(c.bytes);
    }
}

TEST(LineText, WritingEndsEveryLineWithCrLfAndKeepsWhatFollowedTheNul)
{
    using namespace std::string_literals;
    EXPECT_EQ(joinLines({{"a", "b"}, ""}), "a\r\nb\r\n");
    EXPECT_EQ(joinLines({{"", ""}, ""}), "\r\n\r\n");
    EXPECT_EQ(joinLines({{}, ""}), "");
    const std::string withNul = "x\ny\0tail\n"s;
    EXPECT_EQ(joinLines(splitLines(withNul)), "x\r\ny\r\n\0tail\n"s);
}

class LineFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("kelidor-lines-" + std::to_string(::getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_file = (m_folder / "data.txt").string();
    }
    void TearDown() override { fs::remove_all(m_folder); }
    size_t entriesInFolder() const
    {
        return static_cast<size_t>(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()));
    }

    fs::path m_folder;
    std::string m_file;
};

TEST_F(LineFileTest, WriteThenReadGivesTheSameLines)
{
    writeLineFile(m_file, {{"F:\\books\\", "1\t\xE0\tsub\tauthor", ""}, ""});
    EXPECT_EQ(readWholeFile(m_file), "F:\\books\\\r\n1\t\xE0\tsub\tauthor\r\n\r\n");
    EXPECT_EQ(readLineFile(m_file).lines, (Lines{"F:\\books\\", "1\t\xE0\tsub\tauthor", ""}));
    EXPECT_EQ(entriesInFolder(), 1u); // no temporary file left behind
}

TEST_F(LineFileTest, MissingFileIsAnErrorNamingIt)
{
    try {
        readLineFile(m_file);
        FAIL() << "no error";
    } catch (const FileError &error) {
        EXPECT_NE(std::string(error.what()).find(m_file), std::string::npos);
    }
}

TEST_F(LineFileTest, AFullDiskLeavesTheOldFileAsItWas)
{
    writeLineFile(m_file, {{"old", "lines"}, ""});
    // A file size limit makes every write past 16 bytes fail, as a full disk would.
    struct rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedHandler = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tiny = saved;
    tiny.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    EXPECT_THROW(writeLineFile(m_file, {{std::string(100, 'n')}, ""}), FileError);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, savedHandler);
    EXPECT_EQ(readWholeFile(m_file), "old\r\nlines\r\n");
    EXPECT_EQ(entriesInFolder(), 1u);
}

TEST_F(LineFileTest, AFileReachedThroughALinkIsReplacedWhereItLies)
{
    const std::string real = (m_folder / "real.txt").string();
    writeLineFile(real, {{"old"}, ""});
    fs::create_symlink("real.txt", m_file);
    writeLineFile(m_file, {{"new"}, ""});
    EXPECT_TRUE(fs::is_symlink(m_file));
    EXPECT_EQ(readWholeFile(real), "new\r\n");
}

TEST_F(LineFileTest, ReplacingKeepsThePermissions)
{
    writeLineFile(m_file, {{"old"}, ""});
    ::chmod(m_file.c_str(), 0640);
    writeLineFile(m_file, {{"new"}, ""});
    struct stat info{};
    ASSERT_EQ(::stat(m_file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}
