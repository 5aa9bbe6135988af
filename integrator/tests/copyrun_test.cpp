#include "fakefiles.h"

#include "integrator/copyrun.h"

#include <gtest/gtest.h>

using namespace integrator;
using integrator::testing::FakeFiles;
using integrator::testing::RecordingObserver;

namespace {

const std::string kKit = "C:\\KIT\\";
const std::string kList = "K \xF0\xFA\xE5\xF0\xE9\xED.txt";  // "K נתונים.txt"
const std::string kOpener = "K \xE4\xF4\xF2\xEC\xE4.exe";    // "K הפעלה.exe"
const std::string kBooksTail = "kdapp\\WebApp\\WebApp\\App_Data\\PDFS\\";
const std::string kCannotCopyTail = "\n\xD7\x94\xD7\xA2\xD7\xAA\xD7\xA7 \xD7\x90\xD7\x95\xD7\xAA\xD7\x95 "
                                    "\xD7\x99\xD7\x93\xD7\xA0\xD7\x99\xD7\xAA"; // "\nהעתק אותו ידנית"

class CopyRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        givenList("F:\\old\\\r\nA\t1\tx\r\nB\t2\ty\r\n");
        files.files[kKit + kOpener] = "opener bytes";
        files.files[kKit + "tessum.exe"] = "stub bytes";
    }
    void givenList(const std::string &bytes) { files.files[kKit + kList] = bytes; }

    void runWith(const std::string &chosen = "C:\\OTZAR\\pdf", bool prefix = true, bool subFolder = true,
                 const std::string &drive = "G:\\")
    {
        CopyRunSettings settings;
        settings.ownExecutable = kKit + "parvolin";
        settings.chosenFolder = chosen;
        settings.addStubPrefix = prefix;
        settings.intoSubFolder = subFolder;
        settings.collectionDrive = drive;
        run.run(settings);
    }

    FakeFiles files;
    RecordingObserver observer;
    CopyRun run{files, observer};
};

} // namespace

TEST_F(CopyRunTest, ExampleRunWritesEverythingInOrder)
{
    runWith();
    const std::string target = "C:\\OTZAR\\pdf\\kelidor\\";
    const std::vector<std::string> expected = {
        "folder " + target,
        "copy " + kKit + kOpener + " > " + target + kOpener,
        "write " + target + kList,
        "stub " + target + "K A.exe",
        "stub " + target + "K B.exe",
    };
    EXPECT_EQ(files.log, expected);
    EXPECT_EQ(files.files[target + kList], "G:\\" + kBooksTail + "\r\nA\t1\tx\r\nB\t2\ty\r\n");
    EXPECT_EQ(files.files[target + kOpener], "opener bytes");
    EXPECT_EQ(files.files[target + "K A.exe"], "stub bytes");
    EXPECT_TRUE(observer.messages.empty());
    EXPECT_EQ(observer.starts, std::vector<std::size_t>{2});
    EXPECT_EQ(observer.shownNames, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(observer.writtenCounts, (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(observer.lastCount, 2u);
    // The tool's own list is only read.
    EXPECT_EQ(files.files[kKit + kList], "F:\\old\\\r\nA\t1\tx\r\nB\t2\ty\r\n");
}

TEST_F(CopyRunTest, OptionsShapeTheTargetNamesAndFirstLine)
{
    const struct {
        const char *chosen;
        bool prefix;
        bool subFolder;
        const char *drive;
        const char *target;
        const char *firstStub;
        std::string firstLine;
    } cases[] = {
        {"C:\\OTZAR\\pdf", true, false, "G:\\", "C:\\OTZAR\\pdf\\", "K A.exe", "G:\\" + kBooksTail},
        {"C:\\OTZAR\\pdf", false, true, "G:\\", "C:\\OTZAR\\pdf\\kelidor\\", "A.exe", "G:\\" + kBooksTail},
        {"C:\\", true, true, "G:\\", "C:\\\\kelidor\\", "K A.exe", "G:\\" + kBooksTail},
        {"C:\\", false, false, "G:\\", "C:\\\\", "A.exe", "G:\\" + kBooksTail},
        {"D:\\x", true, true, "G:", "D:\\x\\kelidor\\", "K A.exe", "G:" + kBooksTail},
        {"D:\\x", true, true, "", "D:\\x\\kelidor\\", "K A.exe", kBooksTail},
        {"D:\\x", true, true, " H:\\ ", "D:\\x\\kelidor\\", "K A.exe", " H:\\ " + kBooksTail},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.chosen) + (c.prefix ? " prefix" : "") + (c.subFolder ? " sub" : "") + " [" + c.drive + "]");
        FakeFiles fresh;
        fresh.files = files.files;
        RecordingObserver seen;
        CopyRun freshRun(fresh, seen);
        CopyRunSettings settings{kKit + "parvolin", c.chosen, c.prefix, c.subFolder, c.drive};
        freshRun.run(settings);
        const std::string target = c.target;
        EXPECT_EQ(fresh.folders, c.subFolder ? std::set<std::string>{target} : std::set<std::string>{});
        EXPECT_EQ(fresh.files[target + kOpener], "opener bytes");
        EXPECT_EQ(fresh.files[target + kList].substr(0, c.firstLine.size() + 2), c.firstLine + "\r\n");
        EXPECT_EQ(fresh.files[target + c.firstStub], "stub bytes");
    }
}

TEST_F(CopyRunTest, BookListFailuresEndTheRunBeforeAnythingIsWritten)
{
    files.files.erase(kKit + kList);
    EXPECT_THROW(runWith(), platform::FileError);
    EXPECT_TRUE(files.log.empty());

    givenList("");
    try {
        runWith();
        FAIL() << "an empty book list was accepted";
    } catch (const CopyRunError &error) {
        EXPECT_NE(std::string(error.what()).find(kKit), std::string::npos) << error.what();
    }
    EXPECT_TRUE(files.log.empty());
    EXPECT_TRUE(observer.starts.empty());
}

TEST_F(CopyRunTest, FolderAndSupportFileFailuresAreToldAndTheRunGoesOn)
{
    files.uncreatableFolders.insert("C:\\OTZAR\\pdf\\kelidor\\");
    files.files.erase(kKit + kOpener);
    runWith();
    const std::vector<std::string> messages = {
        std::string(kCannotCreateFolder),
        "\xD7\x90\xD7\x99\xD7\x9F \xD7\x90\xD7\xA4\xD7\xA9\xD7\xA8\xD7\x95\xD7\xAA \xD7\x9C\xD7\x94\xD7\xA2\xD7\xAA\xD7\x99\xD7\xA7 "
        "\xD7\x90\xD7\xAA " // "אין אפשרות להעתיק את "
            + platform::win1255ToUtf8(kKit + kOpener) + kCannotCopyTail,
    };
    EXPECT_EQ(observer.messages, messages);
    EXPECT_EQ(files.files.count("C:\\OTZAR\\pdf\\kelidor\\" + kList), 1u);
    EXPECT_EQ(files.files.count("C:\\OTZAR\\pdf\\kelidor\\K B.exe"), 1u);
}

TEST_F(CopyRunTest, UnwritableListOrMissingStubSourceWritesNoStub)
{
    files.unwritable.insert("C:\\OTZAR\\pdf\\kelidor\\" + kList);
    EXPECT_THROW(runWith(), platform::FileError);
    EXPECT_TRUE(observer.starts.empty());

    FakeFiles noStub;
    noStub.files = files.files;
    noStub.files.erase(kKit + "tessum.exe");
    RecordingObserver seen;
    CopyRun noStubRun(noStub, seen);
    EXPECT_THROW(noStubRun.run({kKit + "parvolin", "C:\\OTZAR\\pdf", true, true, "G:\\"}), platform::FileError);
    const std::string target = "C:\\OTZAR\\pdf\\kelidor\\";
    EXPECT_EQ(noStub.log.back(), "write " + target + kList);
    EXPECT_EQ(noStub.files.count(target + kOpener), 1u);
    EXPECT_TRUE(seen.shownNames.empty());
}

TEST_F(CopyRunTest, AStubThatCannotBeWrittenEndsTheRunAtItsBook)
{
    givenList("G:\\\r\nA\r\n\xE1\xF8\xE0\xF9\xE9\xFA\t1\tx\r\nC\t3\tz\r\n"); // A, בראשית, C
    files.unwritable.insert("C:\\OTZAR\\pdf\\kelidor\\K \xE1\xF8\xE0\xF9\xE9\xFA.exe");
    try {
        runWith();
        FAIL() << "the failing stub went unreported";
    } catch (const CopyRunError &error) {
        const std::string text = error.what();
        EXPECT_NE(text.find("\"\xD7\x91\xD7\xA8\xD7\x90\xD7\xA9\xD7\x99\xD7\xAA\""), std::string::npos) << text; // "בראשית"
        EXPECT_NE(text.find("cannot write"), std::string::npos) << "the reason is kept: " << text;
    }
    EXPECT_EQ(observer.shownNames, std::vector<std::string>{""});
    EXPECT_EQ(files.files.count("C:\\OTZAR\\pdf\\kelidor\\K .exe"), 1u);
    EXPECT_EQ(files.files.count("C:\\OTZAR\\pdf\\kelidor\\K C.exe"), 0u);
}

TEST_F(CopyRunTest, BookNamesMakeTheStubNames)
{
    // Only the first line: no stubs, and the labels are still shown.
    givenList("G:\\\r\n");
    runWith();
    EXPECT_EQ(observer.starts, std::vector<std::size_t>{0});
    EXPECT_TRUE(observer.shownNames.empty());
    EXPECT_EQ(files.log.back(), "write C:\\OTZAR\\pdf\\kelidor\\" + kList);

    // No tab or a leading tab: an empty name. The same name twice: one file, written twice.
    // A "\" writes into a sub-folder and shows the part after it; so does ":".
    givenList("G:\\\r\nno tab\r\n\tleading\r\nsame\t1\r\nsame\t2\r\nsub\\deep\t3\r\nvol:2\t4\r\n");
    files.log.clear();
    observer.shownNames.clear();
    runWith("C:\\T", false, false);
    const std::vector<std::string> stubs = {"stub C:\\T\\.exe", "stub C:\\T\\.exe", "stub C:\\T\\same.exe",
                                            "stub C:\\T\\same.exe", "stub C:\\T\\sub\\deep.exe", "stub C:\\T\\vol:2.exe"};
    EXPECT_EQ(std::vector<std::string>(files.log.end() - 6, files.log.end()), stubs);
    EXPECT_EQ(observer.shownNames, (std::vector<std::string>{"", "", "same", "same", "deep", "2"}));

    files.log.clear();
    runWith("C:\\T", true, false);
    EXPECT_EQ(files.log[2], "stub C:\\T\\K .exe");
}

TEST_F(CopyRunTest, NamesThatStepOutOfTheTargetAreRefused)
{
    givenList("G:\\\r\nA\r\n..\\..\\evil\t1\r\nC\t2\r\n");
    try {
        runWith("C:\\T", false, false);
        FAIL() << "a name leaving the target folder was written";
    } catch (const CopyRunError &error) {
        EXPECT_NE(std::string(error.what()).find("\"..\\..\\evil\""), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("C:\\T\\"), std::string::npos) << error.what();
    }
    for (const auto &[path, bytes] : files.files)
        EXPECT_EQ(path.find(".."), std::string::npos) << path;
    EXPECT_EQ(files.files.count("C:\\T\\C.exe"), 0u);

    // With the prefix the first step is a folder named "K ..", which is inside.
    files.log.clear();
    givenList("G:\\\r\n..\\x\t1\r\n");
    runWith("C:\\T", true, false);
    EXPECT_EQ(files.log.back(), "stub C:\\T\\K ..\\x.exe");
}

TEST(StaysInsideFolder, RefusesEveryStepUp)
{
    for (const char *inside : {"K abc.exe", "abc.exe", "K sub\\abc.exe", "K ..\\abc.exe", "...exe", "a\\.\\b.exe",
                               "\\a.exe", "K ...\\x.exe", "..a\\b.exe"})
        EXPECT_TRUE(staysInsideFolder(inside)) << inside;
    for (const char *outside : {"..\\abc.exe", "sub\\..\\..\\abc.exe", "a\\..\\b.exe", "a/../b.exe", "../x.exe",
                                "a\\..", "\\..\\x.exe"})
        EXPECT_FALSE(staysInsideFolder(outside)) << outside;
}

TEST_F(CopyRunTest, EachRunReplacesTheBookNames)
{
    runWith();
    givenList("G:\\\r\nZ\t9\tq\r\n");
    runWith();
    EXPECT_EQ(run.bookNames(), std::vector<std::string>{"Z"});
}
