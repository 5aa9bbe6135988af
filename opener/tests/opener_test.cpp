#include "opener/opener.h"

#include "platform/codec.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

using namespace opener;
using namespace std::string_literals;

namespace {

std::string w(std::string_view utf8) { return platform::utf8ToWin1255(utf8); }

const std::string listPath = "/kit/K list.txt";
const std::string shippedFolder = "G:\\kdapp\\WebApp\\WebApp\\App_Data\\PDFS\\";

// A system of files and folders in memory that records what the opener asks of it.
class FakeSystem final : public OpenerSystem {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    bool writable = true;

    std::vector<std::string> folderChecks;
    std::vector<std::string> writes;
    std::vector<std::string> opened;
    std::vector<std::pair<std::string, std::string>> messages;
    std::vector<std::string> errors;

    std::unique_ptr<FileBytes> readFile(const std::string &nativePath) override
    {
        const auto file = files.find(nativePath);
        if (file == files.end())
            platform::throwFileError("לא ניתן לפתוח את הקובץ", nativePath, ENOENT);
        return std::make_unique<StringBytes>(file->second);
    }
    void replaceFile(const std::string &nativePath, std::string_view bytes) override
    {
        if (!writable)
            platform::throwFileError("לא ניתן לכתוב את הקובץ", nativePath, EACCES);
        writes.push_back(nativePath);
        files[nativePath] = std::string(bytes);
    }
    bool folderExists(std::string_view windowsPath) override
    {
        folderChecks.emplace_back(windowsPath);
        return folders.count(std::string(windowsPath)) > 0;
    }
    void openDocument(std::string_view windowsPath) override { opened.emplace_back(windowsPath); }
    void showMessage(std::string_view caption, std::string_view text) override
    {
        messages.emplace_back(caption, text);
    }
    void reportError(std::string_view text) override { errors.emplace_back(text); }
};

// The first letter of each folder checked.
std::string driveLetters(const std::vector<std::string> &checks)
{
    std::string letters;
    for (const auto &check : checks)
        letters += check.empty() ? '-' : check.front();
    return letters;
}

std::string bookList(const std::string &folder)
{
    return folder + "\r\n" + w("בראשית\t101\tתורה\\1\r\nשמות\t102\tתורה\\2\r\n");
}

int runOpener(FakeSystem &system, std::string_view tail, std::string_view ownPath = w("\\kit\\K הפעלה.exe"))
{
    BookOpener bookOpener(system, listPath);
    return bookOpener.run(ownPath, tail);
}

} // namespace

TEST(Opener, OpensThePdfOfTheStubsBook)
{
    FakeSystem system;
    system.files[listPath] = bookList(shippedFolder);
    system.folders.insert(shippedFolder);

    EXPECT_EQ(runOpener(system, w("C:\\OTZAR\\pdf\\kelidor\\K שמות.exe")), 0);
    EXPECT_EQ(system.opened, std::vector<std::string>{shippedFolder + w("תורה\\2\\102.pdf")});
    EXPECT_EQ(driveLetters(system.folderChecks), "G");
    EXPECT_TRUE(system.writes.empty());
    EXPECT_TRUE(system.messages.empty());
    EXPECT_TRUE(system.errors.empty());
}

TEST(Opener, DriveLetterFallbackWritesTheCorrectedFolderBackOnce)
{
    FakeSystem system;
    // Mixed line ends and bytes after a NUL: the write-back keeps the books and the tail.
    system.files[listPath] = shippedFolder + "\n" + w("בראשית\t101\tתורה\\1\rשמות\t102\tתורה\\2") + "\0rest\r"s;
    const std::string onF = "F" + shippedFolder.substr(1);
    system.folders.insert(onF);

    EXPECT_EQ(runOpener(system, w("\\x\\K בראשית.exe")), 0);
    EXPECT_EQ(driveLetters(system.folderChecks), "GEF");
    EXPECT_EQ(system.opened, std::vector<std::string>{onF + w("תורה\\1\\101.pdf")});
    ASSERT_EQ(system.writes, std::vector<std::string>{listPath});
    EXPECT_EQ(system.files[listPath],
              onF + "\r\n" + w("בראשית\t101\tתורה\\1\r\nשמות\t102\tתורה\\2\r\n") + "\0rest\r"s);

    // The next run checks F first and writes nothing.
    system.folderChecks.clear();
    system.writes.clear();
    EXPECT_EQ(runOpener(system, w("\\x\\K שמות.exe")), 0);
    EXPECT_EQ(driveLetters(system.folderChecks), "F");
    EXPECT_TRUE(system.writes.empty());
}

TEST(Opener, BooksFolderNowhereShowsTheMessageAndEndsWithOne)
{
    FakeSystem system;
    const std::string listBytes = bookList("H" + shippedFolder.substr(1));
    system.files[listPath] = listBytes;

    EXPECT_EQ(runOpener(system, w("\\x\\K בראשית.exe")), 1);
    EXPECT_EQ(driveLetters(system.folderChecks), "HEFGH");
    ASSERT_EQ(system.messages.size(), 1u);
    EXPECT_EQ(system.messages[0].first, w("שגיאה"));
    EXPECT_EQ(system.messages[0].second, w("הספרים לא נמצאו"));
    EXPECT_TRUE(system.writes.empty());
    EXPECT_EQ(system.files[listPath], listBytes);
    EXPECT_TRUE(system.opened.empty());
}

TEST(Opener, EmptyFolderLineIsAFolderNotFound)
{
    FakeSystem system;
    system.files[listPath] = bookList("");
    system.folders.insert("E");

    EXPECT_EQ(runOpener(system, w("\\x\\K בראשית.exe")), 1);
    EXPECT_EQ(system.folderChecks.size(), 5u);
    ASSERT_EQ(system.messages.size(), 1u);
    EXPECT_EQ(system.messages[0].second, w("הספרים לא נמצאו"));
}

TEST(Opener, NameNotInTheListShowsItOnTheSecondLine)
{
    FakeSystem system;
    system.files[listPath] = bookList(shippedFolder);
    system.folders.insert(shippedFolder);

    EXPECT_EQ(runOpener(system, w("\\x\\K ויקרא.exe")), 1);
    ASSERT_EQ(system.messages.size(), 1u);
    EXPECT_EQ(system.messages[0].first, w("שגיאה"));
    EXPECT_EQ(system.messages[0].second, w("הספר לא נמצא!\nשם הספר: ויקרא"));
    EXPECT_TRUE(system.opened.empty());
}

TEST(Opener, WithoutATailTheOpenersOwnNameIsLookedUp)
{
    FakeSystem system;
    system.files[listPath] = shippedFolder + "\r\n" + w("הפעלה\t7\ta\r\n");
    system.folders.insert(shippedFolder);

    EXPECT_EQ(runOpener(system, ""), 0);
    EXPECT_EQ(system.opened, std::vector<std::string>{shippedFolder + "a\\7.pdf"});

    system.opened.clear();
    EXPECT_EQ(runOpener(system, "", "\\kit\\book"), 1); // four bytes or fewer: the empty name
    EXPECT_EQ(system.messages.back().second, w("הספר לא נמצא!\nשם הספר: "));
}

TEST(Opener, ListWithOnlyTheFolderFindsNothing)
{
    FakeSystem system;
    system.files[listPath] = shippedFolder + "\r\n";
    system.folders.insert(shippedFolder);

    EXPECT_EQ(runOpener(system, w("\\x\\K בראשית.exe")), 1);
    EXPECT_EQ(system.messages.size(), 1u);
}

TEST(Opener, SystemFailuresAreReportedAndEndWithZero)
{
    struct Case { const char *what; std::string listBytes; bool writable; };
    const Case cases[] = {
        {"list missing", "", true},
        {"list empty", "", true},
        {"list holds only a NUL", "\0abc"s, true},
        {"correction not writable", bookList("H" + shippedFolder.substr(1)), false},
    };
    for (const auto &c : cases) {
        FakeSystem system;
        if (std::string_view(c.what) != "list missing")
            system.files[listPath] = c.listBytes;
        system.writable = c.writable;
        system.folders.insert("E" + shippedFolder.substr(1));

        EXPECT_EQ(runOpener(system, w("\\x\\K בראשית.exe")), 0) << c.what;
        ASSERT_EQ(system.errors.size(), 1u) << c.what;
        EXPECT_NE(system.errors[0].find(listPath), std::string::npos) << c.what << ": " << system.errors[0];
        EXPECT_TRUE(system.opened.empty()) << c.what;
        EXPECT_TRUE(system.messages.empty()) << c.what;
    }
}
