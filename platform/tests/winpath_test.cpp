#include "platform/files.h"
#include "platform/winpath.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace platform;
namespace fs = std::filesystem;

TEST(WinPath, ExtractFilePathAndName)
{
    struct Case { std::string path, folder, name; };
    const Case cases[] = {
        {"C:\\OTZAR\\pdf\\K x.exe", "C:\\OTZAR\\pdf\\", "K x.exe"},
        {"C:name.exe", "C:", "name.exe"},
        {"name.exe", "", "name.exe"},
        {"\\a\\b\\", "\\a\\b\\", ""},
        {"", "", ""},
        {"a:b\\c:d", "a:b\\c:", "d"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(extractFilePath(c.path), c.folder) << c.path;
        EXPECT_EQ(extractFileName(c.path), c.name) << c.path;
    }
}

class DriveTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() / ("kelidor-drives-" + std::to_string(::getpid()));
        fs::remove_all(m_root);
        fs::create_directories(m_root / "dosdevices");
        fs::create_directories(m_root / "media" / "books" / "PDFS");
        fs::create_directories(m_root / "drive_c");
        fs::create_directory_symlink(m_root / "media" / "books", m_root / "dosdevices" / "f:");
        fs::create_directory_symlink("../drive_c", m_root / "dosdevices" / "c:");
        fs::create_directory_symlink(m_root / "nowhere", m_root / "dosdevices" / "h:");
    }
    void TearDown() override { fs::remove_all(m_root); }

    fs::path m_root;
};

TEST_F(DriveTableTest, WindowsFormToNative)
{
    const DriveTable drives(m_root / "dosdevices");
    const std::string books = (m_root / "media" / "books").string();
    EXPECT_EQ(toNativePath("F:\\PDFS\\12\\345.pdf", drives), books + "/PDFS/12/345.pdf");
    EXPECT_EQ(toNativePath("f:\\PDFS\\", drives), books + "/PDFS/");
    EXPECT_EQ(toNativePath("F:", drives), books + "/");
    EXPECT_EQ(toNativePath("C:\\x", drives), (m_root / "drive_c").string() + "/x");
    EXPECT_EQ(toNativePath("G:\\PDFS\\", drives), std::nullopt);   // no entry
    EXPECT_EQ(toNativePath("H:\\PDFS\\", drives), std::nullopt);   // entry leads nowhere
    EXPECT_EQ(toNativePath("\\home\\u\\x\\all.pdf", drives), "/home/u/x/all.pdf");
    EXPECT_EQ(toNativePath("\\opt\\\xE0\xE1.txt", drives), "/opt/\u05D0\u05D1.txt");
    EXPECT_EQ(toNativePath("", drives), "");
}

TEST_F(DriveTableTest, FolderExistsThroughTheTable)
{
    const DriveTable drives(m_root / "dosdevices");
    EXPECT_TRUE(windowsFolderExists("F:\\PDFS\\", drives));
    EXPECT_TRUE(windowsFolderExists("F:\\PDFS", drives));
    EXPECT_FALSE(windowsFolderExists("F:\\PDFX\\", drives));
    EXPECT_FALSE(windowsFolderExists("G:\\PDFS\\", drives));
    EXPECT_FALSE(windowsFolderExists("", drives));
    const std::string file = (m_root / "media" / "books" / "file").string();
    writeFileAtomically(file, "x");
    EXPECT_FALSE(windowsFolderExists("F:\\file", drives)); // a file is no folder
}

TEST_F(DriveTableTest, EnvironmentNamesTheTable)
{
    ::setenv("WINEPREFIX", m_root.c_str(), 1);
    EXPECT_TRUE(windowsFolderExists("F:\\PDFS\\"));
    ::unsetenv("WINEPREFIX");
    ::setenv("HOME", m_root.c_str(), 1);
    EXPECT_EQ(DriveTable::fromEnvironment().folder(), m_root / ".wine" / "dosdevices");
}

TEST(WinPath, NativeToWindowsForm)
{
    EXPECT_EQ(toWindowsPath("/opt/kit/K \u05D4\u05E4\u05E2\u05DC\u05D4.exe"),
              "\\opt\\kit\\K \xE4\xF4\xF2\xEC\xE4.exe");
    const std::string back = *toNativePath(toWindowsPath("/opt/kit/K \u05D4.exe"));
    EXPECT_EQ(back, "/opt/kit/K \u05D4.exe");
}
