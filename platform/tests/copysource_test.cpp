#include "platform/copysource.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

using namespace platform;
namespace fs = std::filesystem;

class CopySourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("kelidor-copysource-" + std::to_string(::getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        for (int i = 0; i < 70000; ++i)
            m_bytes += static_cast<char>(i * 13 + i / 256);
        writeFileAtomically(at("source"), m_bytes);
        ::chmod(at("source").c_str(), 0755);
    }
    void TearDown() override { fs::remove_all(m_folder); }
    std::string at(const std::string &name) const { return (m_folder / name).string(); }

    static struct stat statOf(const std::string &path)
    {
        struct stat info{};
        EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
        return info;
    }

    fs::path m_folder;
    std::string m_bytes;
};

TEST_F(CopySourceTest, EveryTargetIsAFullIndependentExecutableCopy)
{
    CopySource source(at("source"));
    writeFileAtomically(at("b"), "an older and longer file that must not leave a tail behind" + m_bytes);
    for (const char *name : {"a", "b", "c", "a"})
        source.copyTo(at(name));
    for (const char *name : {"a", "b", "c"}) {
        EXPECT_EQ(readWholeFile(at(name)), m_bytes) << name;
        const auto info = statOf(at(name));
        EXPECT_TRUE(S_ISREG(info.st_mode));
        EXPECT_EQ(info.st_nlink, 1u) << "a copy, never a link";
        EXPECT_TRUE(info.st_mode & S_IXUSR);
    }
    EXPECT_EQ(readWholeFile(at("source")), m_bytes);
}

TEST_F(CopySourceTest, LinksAtATargetNameAreReplacedNotWrittenThrough)
{
    writeFileAtomically(at("outside"), "precious");
    fs::create_symlink(at("outside"), at("symlinked"));
    fs::create_hard_link(at("outside"), at("hardlinked"));
    fs::create_hard_link(at("source"), at("source-twin"));

    CopySource source(at("source"));
    for (const char *name : {"symlinked", "hardlinked", "source-twin"})
        source.copyTo(at(name));

    EXPECT_EQ(readWholeFile(at("outside")), "precious");
    EXPECT_EQ(readWholeFile(at("source")), m_bytes);
    for (const char *name : {"symlinked", "hardlinked", "source-twin"}) {
        EXPECT_TRUE(S_ISREG(statOf(at(name)).st_mode)) << name;
        EXPECT_EQ(readWholeFile(at(name)), m_bytes) << name;
    }
}

TEST_F(CopySourceTest, CopyingOntoTheSourceItselfKeepsEveryLaterCopyWhole)
{
    CopySource source(at("source"));
    source.copyTo(at("source"));
    source.copyTo(at("after"));
    EXPECT_EQ(readWholeFile(at("source")), m_bytes);
    EXPECT_EQ(readWholeFile(at("after")), m_bytes);
}

TEST_F(CopySourceTest, FailuresNameTheFileAndLeaveNoTarget)
{
    EXPECT_THROW(CopySource(at("missing")), FileError);
    EXPECT_THROW(CopySource(m_folder.string()), FileError);

    CopySource source(at("source"));
    try {
        source.copyTo(at("no-folder/x"));
        FAIL() << "a copy into a missing folder succeeded";
    } catch (const FileError &error) {
        EXPECT_NE(std::string(error.what()).find(at("no-folder/x")), std::string::npos) << error.what();
    }
    fs::create_directory(at("folder"));
    EXPECT_THROW(source.copyTo(at("folder")), FileError);
    EXPECT_TRUE(fs::is_directory(at("folder")));
    source.copyTo(at("still-works"));
    EXPECT_EQ(readWholeFile(at("still-works")), m_bytes);
}

TEST_F(CopySourceTest, EmptySourceAndOtherFileSystems)
{
    writeFileAtomically(at("empty"), "");
    CopySource empty(at("empty"));
    empty.copyTo(at("empty-copy"));
    EXPECT_EQ(readWholeFile(at("empty-copy")), "");

    // Across file systems the kernel may refuse its copy; the buffered way serves then.
    const fs::path shm = "/dev/shm";
    if (!fs::is_directory(shm) || ::access(shm.c_str(), W_OK) != 0)
        GTEST_SKIP() << "no second file system to copy to";
    const std::string target = (shm / ("kelidor-copysource-" + std::to_string(::getpid()))).string();
    CopySource source(at("source"));
    source.copyTo(target);
    source.copyTo(target);
    EXPECT_EQ(readWholeFile(target), m_bytes);
    ::unlink(target.c_str());
}
