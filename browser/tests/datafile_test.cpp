// data.txt on disk, against a temporary drive table.
#include "browser/datafile.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

using namespace browser;
namespace fs = std::filesystem;

class DataFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() / ("kelidor-datafile-" + std::to_string(::getpid()));
        fs::remove_all(m_root);
        fs::create_directories(m_root / "dosdevices");
        ::setenv("WINEPREFIX", m_root.c_str(), 1);
        m_data = (m_root / "data.txt").string();
    }
    void TearDown() override
    {
        ::unsetenv("WINEPREFIX");
        fs::remove_all(m_root);
    }
    // Drive `letter` holds a folder "books".
    void addDrive(char letter)
    {
        const fs::path target = m_root / (std::string("drive_") + letter);
        fs::create_directories(target / "books");
        fs::create_directory_symlink(target, m_root / "dosdevices" / std::string{static_cast<char>(letter - 'A' + 'a'), ':'});
    }

    fs::path m_root;
    std::string m_data;
};

TEST_F(DataFileTest, FolderFoundOnAnotherDriveIsWrittenBackOnlyForEFG)
{
    const std::string original = "X:\\books\\\n1\tt\ts\ta\n";
    struct Case { char drive; std::string result; bool written; };
    const Case cases[] = {
        {'F', "F:\\books\\", true},
        {'G', "G:\\books\\", true},
        {'H', "H:\\books\\", false},
        {'I', "I:\\books\\", false},
        {0, "I:\\books\\", false}, // no candidate exists
    };
    for (const auto &c : cases) {
        fs::remove_all(m_root / "dosdevices");
        fs::create_directories(m_root / "dosdevices");
        if (c.drive)
            addDrive(c.drive);
        platform::writeFileAtomically(m_data, original);
        DataFile data(m_data);
        EXPECT_EQ(data.resolveBooksFolder(data.line0()), c.result);
        EXPECT_EQ(platform::readWholeFile(m_data),
                  c.written ? c.result + "\r\n1\tt\ts\ta\r\n" : original) << c.drive;
    }
}

TEST_F(DataFileTest, ExistingFolderIsNotWritten)
{
    addDrive('E');
    const std::string original = "E:\\books\\\n";
    platform::writeFileAtomically(m_data, original);
    DataFile data(m_data);
    EXPECT_EQ(data.resolveBooksFolder(data.line0()), "E:\\books\\");
    EXPECT_EQ(platform::readWholeFile(m_data), original);
}

TEST_F(DataFileTest, MissingAndEmptyFilesAreErrorsNamingTheFile)
{
    for (const bool exists : {false, true}) {
        if (exists)
            platform::writeFileAtomically(m_data, "");
        try {
            DataFile data(m_data);
            FAIL() << "no error";
        } catch (const platform::FileError &error) {
            EXPECT_NE(std::string(error.what()).find(m_data), std::string::npos) << error.what();
        }
    }
}

TEST_F(DataFileTest, AFailedWriteBackIsIgnoredAndTheFolderStillUsed)
{
    addDrive('F');
    platform::writeFileAtomically(m_data, "X:\\books\\\n");
    DataFile data(m_data);
    fs::remove(m_data);
    fs::create_directory(m_data); // the rename over it cannot succeed
    EXPECT_EQ(data.resolveBooksFolder(data.line0()), "F:\\books\\");
    EXPECT_EQ(data.line0(), "F:\\books\\");
}
