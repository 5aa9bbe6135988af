// The save run on real files, against a temporary drive table.
#include "browser/saverun.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include <unistd.h>

using namespace browser;
namespace fs = std::filesystem;

class SaveRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() / ("kelidor-saverun-" + std::to_string(::getpid()));
        fs::remove_all(m_root);
        fs::create_directories(m_root / "dosdevices");
        fs::create_directories(m_root / "books" / "12");
        fs::create_directories(m_root / "out");
        fs::create_directory_symlink(m_root / "books", m_root / "dosdevices" / "f:");
        fs::create_directory_symlink(m_root / "out", m_root / "dosdevices" / "d:");
    }
    void TearDown() override { fs::remove_all(m_root); }

    // A book F:\12\<id>.pdf holding bytes.
    std::string addBook(int id, const std::string &bytes)
    {
        platform::writeFileAtomically((m_root / "books" / "12" / (std::to_string(id) + ".pdf")).string(), bytes);
        return "F:\\12\\" + std::to_string(id) + ".pdf";
    }
    std::string out(const std::string &name) const { return (m_root / "out" / name).string(); }
    std::vector<std::string> outFiles() const
    {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(m_root / "out"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    SaveResult run(const std::vector<SaveCopy> &copies) const
    {
        return runSave(copies, platform::DriveTable(m_root / "dosdevices"));
    }

    fs::path m_root;
};

TEST_F(SaveRunTest, CopiesAreByteExactAndReplaceFilesOfTheSameName)
{
    // Larger than any copy buffer, and every byte value.
    std::string big(5 * 1024 * 1024 + 7, '\0');
    std::mt19937 random(7);
    for (char &byte : big)
        byte = static_cast<char>(random());
    const std::string first = addBook(1, big);
    const std::string second = addBook(2, std::string("%PDF\0\r\n\x1A\xFF", 9));
    platform::writeFileAtomically(out("b.pdf"), "an older, longer file of that name");

    const SaveResult result = run({{first, "D:\\a.pdf"}, {second, "D:\\b.pdf"}});
    EXPECT_EQ(result.saved, 2);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(platform::readWholeFile(out("a.pdf")), big);
    EXPECT_EQ(platform::readWholeFile(out("b.pdf")), std::string("%PDF\0\r\n\x1A\xFF", 9));
    EXPECT_EQ(outFiles(), (std::vector<std::string>{"a.pdf", "b.pdf"}));
}

TEST_F(SaveRunTest, TwoBooksUnderOneNameLeaveTheOneSavedLast)
{
    const std::string first = addBook(1, "first");
    const std::string second = addBook(2, "second");
    EXPECT_EQ(run({{first, "D:\\same.pdf"}, {second, "D:\\same.pdf"}}).saved, 2);
    EXPECT_EQ(platform::readWholeFile(out("same.pdf")), "second");
    EXPECT_EQ(outFiles(), (std::vector<std::string>{"same.pdf"}));
}

TEST_F(SaveRunTest, HebrewNamesBecomeUtf8FileNames)
{
    const std::string book = addBook(1, "x");
    EXPECT_EQ(run({{book, "D:\\\xEB\xF8\xEA" "2 \xEE\xF1'3.pdf"}}).saved, 1);
    EXPECT_EQ(outFiles(), (std::vector<std::string>{"כרך2 מס'3.pdf"}));
}

TEST_F(SaveRunTest, AFailureStopsTheRunNamesTheFileAndLeavesNoPartialCopy)
{
    const std::string first = addBook(1, "first");
    const std::string third = addBook(3, "third");
    fs::create_directory(m_root / "out" / "taken.pdf"); // a folder where the copy should go

    struct Case {
        const char *what;
        SaveCopy failing;
        std::string named; // the path the message names
    };
    const Case cases[] = {
        {"missing PDF", {"F:\\12\\2.pdf", "D:\\two.pdf"}, (m_root / "books" / "12" / "2.pdf").string()},
        {"PDF on a drive that does not exist", {"Q:\\12\\2.pdf", "D:\\two.pdf"}, "Q:\\12\\2.pdf"},
        {"target folder missing", {first, "D:\\nowhere\\two.pdf"}, out("nowhere/two.pdf")},
        {"target on a drive that does not exist", {first, "Q:\\two.pdf"}, "Q:\\two.pdf"},
        // Opens, then fails to read: the target was already begun.
        {"PDF that cannot be read", {"\\proc\\self\\mem", "D:\\two.pdf"}, "/proc/self/mem"},
        // The bytes are written, only the last step fails: the temporary copy goes again.
        {"target name held by a folder", {first, "D:\\taken.pdf"}, out("taken.pdf")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(out("one.pdf"));
        const SaveResult result = run({{first, "D:\\one.pdf"}, c.failing, {third, "D:\\three.pdf"}});
        EXPECT_EQ(result.saved, 1);
        EXPECT_NE(result.error.find(c.named), std::string::npos) << result.error;
        EXPECT_EQ(platform::readWholeFile(out("one.pdf")), "first");
        // Neither the failed copy nor the one after it, nor any temporary file.
        EXPECT_EQ(outFiles(), (std::vector<std::string>{"one.pdf", "taken.pdf"}));
        EXPECT_TRUE(fs::is_empty(m_root / "out" / "taken.pdf"));
    }
}

TEST_F(SaveRunTest, AFailedReplacementKeepsTheOldFile)
{
    platform::writeFileAtomically(out("kept.pdf"), "old");
    // The source opens but cannot be read.
    const SaveResult result = run({{"\\proc\\self\\mem", "D:\\kept.pdf"}});
    EXPECT_EQ(result.saved, 0);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(platform::readWholeFile(out("kept.pdf")), "old");
}

TEST_F(SaveRunTest, NothingToSaveIsNoError)
{
    const SaveResult result = run({});
    EXPECT_EQ(result.saved, 0);
    EXPECT_EQ(result.error, "");
}
