// Reading and copying what is not a regular file, and reading with a size bound.
#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class SpecialFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() / ("kelidor-special-" + std::to_string(::getpid()));
        fs::remove_all(m_root);
        fs::create_directories(m_root);
        ASSERT_EQ(::mkfifo((m_root / "fifo").c_str(), 0600), 0);
        fs::create_symlink("/dev/zero", m_root / "zero");
        std::ofstream(m_root / "ten", std::ios::binary) << "0123456789";
    }
    void TearDown() override { fs::remove_all(m_root); }
    std::string path(const char *name) const { return (m_root / name).string(); }

    fs::path m_root;
};

} // namespace

// A FIFO nobody writes to would block the open forever; /dev/zero never ends.
TEST_F(SpecialFiles, ReadingRefusesWhatIsNotARegularFileAtOnce)
{
    for (const char *name : {"fifo", "zero"}) {
        EXPECT_THROW(platform::readWholeFile(path(name)), platform::FileError) << name;
        EXPECT_THROW(platform::readWholeFileUpTo(path(name), 100), platform::FileError) << name;
    }
}

TEST_F(SpecialFiles, CopyingRefusesWhatIsNotARegularFileAtOnce)
{
    for (const char *name : {"fifo", "zero"}) {
        EXPECT_THROW(platform::copyFile(path(name), path("copy")), platform::FileError) << name;
        EXPECT_FALSE(fs::exists(m_root / "copy")) << name;
    }
}

TEST_F(SpecialFiles, BoundedReadTakesUpToTheBoundAndRefusesMore)
{
    EXPECT_EQ(platform::readWholeFileUpTo(path("ten"), 10), "0123456789");
    EXPECT_EQ(platform::readWholeFileUpTo(path("ten"), 11), "0123456789");
    EXPECT_THROW(platform::readWholeFileUpTo(path("ten"), 9), platform::FileError);
    EXPECT_EQ(platform::readWholeFile(path("ten")), "0123456789");
}
