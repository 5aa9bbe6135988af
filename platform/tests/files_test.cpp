#include "platform/files.h"
#include "platform/process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

using namespace platform;
namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("kelidor-files-" + std::to_string(::getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }
    std::string at(const std::string &name) const { return (m_folder / name).string(); }

    fs::path m_folder;
};

TEST_F(FilesTest, FolderAndFileExistence)
{
    writeFileAtomically(at("f"), "x");
    EXPECT_TRUE(folderExists(m_folder.string()));
    EXPECT_TRUE(folderExists(m_folder.string() + "/"));
    EXPECT_FALSE(folderExists(at("f")));
    EXPECT_FALSE(folderExists(at("none")));
    EXPECT_FALSE(folderExists(""));
    EXPECT_TRUE(fileExists(at("f")));
    EXPECT_FALSE(fileExists(m_folder.string()));
}

TEST_F(FilesTest, CopyIsByteExactAndKeepsTheExecutableBit)
{
    std::string bytes;
    for (int i = 0; i < 300000; ++i)
        bytes += static_cast<char>(i * 7);
    writeFileAtomically(at("src"), bytes);
    ::chmod(at("src").c_str(), 0755);
    for (const auto mode : {CopyMode::Direct, CopyMode::Atomically}) {
        writeFileAtomically(at("dst"), "an older, longer file that must be replaced whole" + bytes);
        copyFile(at("src"), at("dst"), mode);
        EXPECT_EQ(readWholeFile(at("dst")), bytes);
        struct stat info{};
        ASSERT_EQ(::stat(at("dst").c_str(), &info), 0);
        EXPECT_TRUE(info.st_mode & S_IXUSR);
    }
}

TEST_F(FilesTest, CopyFromAMissingSourceTouchesNoTarget)
{
    writeFileAtomically(at("dst"), "keep");
    EXPECT_THROW(copyFile(at("missing"), at("dst"), CopyMode::Direct), FileError);
    EXPECT_THROW(copyFile(at("missing"), at("new"), CopyMode::Atomically), FileError);
    EXPECT_EQ(readWholeFile(at("dst")), "keep");
    EXPECT_FALSE(fs::exists(at("new")));
    EXPECT_THROW(copyFile(m_folder.string(), at("new")), FileError); // a folder is no file
}

TEST_F(FilesTest, ForceDirectoriesMakesTheWholeChain)
{
    forceDirectories(at("a/b/c"));
    EXPECT_TRUE(folderExists(at("a/b/c")));
    forceDirectories(at("a/b/c")); // again: nothing to do
    writeFileAtomically(at("file"), "");
    EXPECT_THROW(forceDirectories(at("file/x")), FileError);
}

TEST_F(FilesTest, OwnExecutableIsThisTest)
{
    EXPECT_TRUE(fileExists(ownExecutablePath()));
    EXPECT_NE(ownExecutablePath().find("platform_test"), std::string::npos);
}

TEST_F(FilesTest, StartDetachedRunsTheProgramWithItsArgumentWhole)
{
    const std::string script = at("record");
    const std::string record = at("seen");
    {
        std::ofstream out(script);
        out << "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"" << record << ".tmp\"\nmv \"" << record
            << ".tmp\" \"" << record << "\"\n";
    }
    ::chmod(script.c_str(), 0755);
    const std::string argument = "/a b/\u05D0 \"q\" $x;.pdf";
    EXPECT_TRUE(startDetached(script, {argument}));
    for (int i = 0; i < 500 && !fs::exists(record); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(readWholeFile(record), "1|" + argument);
    EXPECT_FALSE(startDetached(at("no-such-program"), {}));
}

TEST_F(FilesTest, FindOnPath)
{
    const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    writeFileAtomically(at("xdg-open"), "#!/bin/sh\n");
    ::chmod(at("xdg-open").c_str(), 0755);
    ::setenv("PATH", (m_folder.string() + ":/usr/bin").c_str(), 1);
    EXPECT_EQ(findOnPath("xdg-open"), at("xdg-open"));
    EXPECT_EQ(findOnPath("no-such-program-here"), std::nullopt);
    ::setenv("PATH", savedPath.c_str(), 1);
}
