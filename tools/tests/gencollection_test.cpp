// Runs gen-collection itself and reads what it wrote the way the programs will.
#include "jpegprobe.h"

#include "tools/collection.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "platform/linefile.h"
#include "platform/winpath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace fs = std::filesystem;
using tools::testsupport::probeJpeg;

namespace {

struct GeneratorRun {
    int exitCode = -1;
    std::string out, err;
};

// Runs gen-collection with the arguments, its output and errors caught in files.
GeneratorRun generate(const std::vector<std::string> &arguments, const fs::path &scratch)
{
    const std::string outPath = (scratch / "stdout").string(), errPath = (scratch / "stderr").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> all = {GEN_COLLECTION};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (auto &argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    GeneratorRun run;
    pid_t child = 0;
    if (posix_spawn(&child, GEN_COLLECTION, &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = platform::readWholeFile(outPath);
    run.err = platform::readWholeFile(errPath);
    return run;
}

std::vector<std::string> splitFields(const std::string &line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

// Every line break is CR LF, the last line's too.
void expectCrLfOnly(const std::string &bytes)
{
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "lone CR at " << i;
        }
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "lone LF at " << i;
        }
    }
    EXPECT_EQ(bytes.find('\0'), std::string::npos);
}

std::map<fs::path, std::string> filesUnder(const fs::path &folder)
{
    std::map<fs::path, std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder)] = platform::readWholeFile(entry.path().string());
    return files;
}

} // namespace

// The bundled sample, written once for all the tests that read it.
class SampleCollection : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_root = fs::temp_directory_path() / ("kelidor-gen-" + std::to_string(::getpid()));
        fs::remove_all(s_root);
        fs::create_directories(s_root);
        s_run = generate({"--books", (s_root / "PDFS").string(), "--data", (s_root / "app" / "data.txt").string(),
                          "--book-list", (s_root / "kit" / "K נתונים.txt").string()},
                         s_root);
    }
    static void TearDownTestSuite() { fs::remove_all(s_root); }

    void SetUp() override { ASSERT_EQ(s_run.exitCode, 0) << s_run.err; }

    static std::string booksFolder() { return (s_root / "PDFS").string(); }
    static std::string dataBytes() { return platform::readWholeFile((s_root / "app" / "data.txt").string()); }
    static std::string bookListBytes() { return platform::readWholeFile((s_root / "kit" / "K נתונים.txt").string()); }

    // A book's file below the books folder, from the Windows-form subfolder of the files.
    static std::string bookFile(const std::string &subfolder, const std::string &rest)
    {
        return booksFolder() + '/' + *platform::toNativePath(subfolder) + '/' + rest;
    }

    static inline fs::path s_root;
    static inline GeneratorRun s_run;
};

TEST_F(SampleCollection, CatalogueHasItsFormatAndTheSampleBooks)
{
    const std::string bytes = dataBytes();
    expectCrLfOnly(bytes);
    const auto lines = platform::splitLines(bytes).lines;
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], platform::toWindowsPath(booksFolder()) + "\\");

    std::map<int, tools::Book> written;
    for (size_t i = 1; i < lines.size(); ++i) {
        const auto fields = splitFields(lines[i]);
        ASSERT_EQ(fields.size(), 4u) << "line " << i;
        ASSERT_FALSE(fields[0].empty());
        ASSERT_TRUE(std::all_of(fields[0].begin(), fields[0].end(), [](char c) { return c >= '0' && c <= '9'; }));
        if (i > 1) {
            EXPECT_FALSE(tools::byteLess(fields[1], splitFields(lines[i - 1])[1])) << "line " << i;
        }
        written[std::stoi(fields[0])] = {std::stoi(fields[0]), fields[1], fields[2], fields[3], {}};
    }
    const auto sample = tools::sampleBooks(1);
    ASSERT_EQ(written.size(), sample.size());
    for (const tools::Book &book : sample) {
        ASSERT_TRUE(written.count(book.id)) << book.id;
        EXPECT_EQ(written[book.id].title, book.title);
        EXPECT_EQ(written[book.id].subfolder, book.subfolder);
        EXPECT_EQ(written[book.id].author, book.author);
    }
    // Windows-1255 on disk, not UTF-8: "בראשית" is six bytes.
    EXPECT_NE(bytes.find("\t\xE1\xF8\xE0\xF9\xE9\xFA\t"), std::string::npos);
}

TEST_F(SampleCollection, BookListIsSortedByNameAndLeadsToTheCatalogueBooks)
{
    std::map<std::string, std::string> subfolderOfId;
    const auto catalogue = platform::splitLines(dataBytes()).lines;
    for (size_t i = 1; i < catalogue.size(); ++i) {
        const auto fields = splitFields(catalogue[i]);
        subfolderOfId[fields[0]] = fields[2];
    }

    const std::string bytes = bookListBytes();
    expectCrLfOnly(bytes);
    const auto lines = platform::splitLines(bytes).lines;
    ASSERT_EQ(lines.size(), subfolderOfId.size() + 1);
    EXPECT_EQ(lines[0], "G:\\kdapp\\WebApp\\WebApp\\App_Data\\PDFS\\");
    std::set<std::string> ids;
    for (size_t i = 1; i < lines.size(); ++i) {
        const auto fields = splitFields(lines[i]);
        ASSERT_EQ(fields.size(), 3u) << "line " << i;
        const std::string &name = fields[0];
        EXPECT_EQ(name.find_first_of("\\/:*?\"<>|"), std::string::npos) << name;
        if (i > 1) {
            EXPECT_TRUE(tools::byteLess(splitFields(lines[i - 1])[0], name)) << "line " << i << " out of order or repeated";
        }
        ASSERT_TRUE(subfolderOfId.count(fields[1])) << "id " << fields[1] << " is not in the catalogue";
        EXPECT_EQ(fields[2], subfolderOfId[fields[1]]);
        ids.insert(fields[1]);
    }
    EXPECT_EQ(ids.size(), subfolderOfId.size());
}

TEST_F(SampleCollection, EveryBookHasAOnePagePdf)
{
    for (const tools::Book &book : tools::sampleBooks(1)) {
        const std::string path = bookFile(book.subfolder, std::to_string(book.id) + ".pdf");
        ASSERT_TRUE(platform::fileExists(path)) << path;
        std::string pdf = platform::readWholeFile(path);
        EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u) << path;
        while (!pdf.empty() && std::isspace(static_cast<unsigned char>(pdf.back())))
            pdf.pop_back();
        EXPECT_TRUE(pdf.ends_with("%%EOF")) << path;
        EXPECT_NE(pdf.find("/Count 1\n"), std::string::npos) << path;
        EXPECT_LT(pdf.size(), 100'000u) << path;
    }
}

TEST_F(SampleCollection, ThumbnailsAreOfTheKindClaimed)
{
    for (const tools::Book &book : tools::sampleBooks(1)) {
        const std::string path = bookFile(book.subfolder, "thumbs/" + std::to_string(book.id) + ".jpg");
        SCOPED_TRACE(path);
        switch (book.thumb.state) {
        case tools::ThumbState::Missing:
            EXPECT_FALSE(fs::exists(path));
            break;
        case tools::ThumbState::Corrupt: {
            const auto probe = probeJpeg(platform::readWholeFile(path));
            EXPECT_FALSE(probe.decoded);
            break;
        }
        case tools::ThumbState::Present: {
            const auto probe = probeJpeg(platform::readWholeFile(path));
            ASSERT_TRUE(probe.decoded) << probe.error;
            EXPECT_EQ(probe.warnings, 0);
            EXPECT_EQ(probe.width, book.thumb.width);
            EXPECT_EQ(probe.height, book.thumb.height);
            EXPECT_EQ(probe.progressive, book.thumb.progressive);
            EXPECT_EQ(probe.components, book.thumb.greyscale ? 1 : 3);
            break;
        }
        }
    }
}

TEST_F(SampleCollection, TheSameSeedWritesTheSameBytes)
{
    const fs::path again = s_root / "again";
    fs::create_directories(again);
    const std::string folderText = platform::toWindowsPath(booksFolder()) + "\\";
    const GeneratorRun run = generate({"--books", (again / "PDFS").string(), "--data", (again / "data.txt").string(),
                              "--book-list", (again / "list.txt").string(), "--books-folder-text",
                              platform::win1255ToUtf8(folderText)},
                             again);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(platform::readWholeFile((again / "data.txt").string()), dataBytes());
    EXPECT_EQ(platform::readWholeFile((again / "list.txt").string()), bookListBytes());
    const auto first = filesUnder(booksFolder()), second = filesUnder(again / "PDFS");
    ASSERT_EQ(first.size(), second.size());
    for (const auto &[path, bytes] : first)
        EXPECT_TRUE(second.count(path) && second.at(path) == bytes) << path << " differs";

    const GeneratorRun otherSeed = generate({"--books", (again / "PDFS2").string(), "--data", (again / "data2.txt").string(),
                                    "--books-folder-text", platform::win1255ToUtf8(folderText), "--seed", "2"},
                                   again);
    ASSERT_EQ(otherSeed.exitCode, 0) << otherSeed.err;
    EXPECT_NE(platform::readWholeFile((again / "data2.txt").string()), dataBytes());
}

class GenCollection : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() / ("kelidor-gen-run-" + std::to_string(::getpid()));
        fs::remove_all(m_root);
        fs::create_directories(m_root);
    }
    void TearDown() override { fs::remove_all(m_root); }

    fs::path m_root;
};

TEST_F(GenCollection, CountModeWritesOnlyTheTwoFiles)
{
    const GeneratorRun run = generate({"--count", "500", "--no-files", "--books", (m_root / "PDFS").string(),
                              "--books-folder-text", "X:\\ספרים\\", "--data", (m_root / "data.txt").string(),
                              "--book-list", (m_root / "list.txt").string(), "--book-list-folder-text", "H:\\b\\"},
                             m_root);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(fs::exists(m_root / "PDFS"));
    const auto data = platform::readLineFile((m_root / "data.txt").string()).lines;
    ASSERT_EQ(data.size(), 501u);
    EXPECT_EQ(data[0], "X:\\\xF1\xF4\xF8\xE9\xED\\");
    const auto list = platform::readLineFile((m_root / "list.txt").string()).lines;
    ASSERT_EQ(list.size(), 501u);
    EXPECT_EQ(list[0], "H:\\b\\");
}

TEST_F(GenCollection, FailuresEndWithAMessageAndAnExitCode)
{
    const GeneratorRun badOption = generate({"--books", "b", "--data", "d", "--colour", "red"}, m_root);
    EXPECT_EQ(badOption.exitCode, 2);
    EXPECT_NE(badOption.err.find("--colour"), std::string::npos) << badOption.err;
    EXPECT_NE(badOption.err.find("usage:"), std::string::npos) << badOption.err;

    // The catalogue's folder cannot be made: a file stands where it should be.
    platform::writeFileAtomically((m_root / "blocker").string(), "x");
    const std::string data = (m_root / "blocker" / "data.txt").string();
    const GeneratorRun unwritable = generate({"--count", "3", "--no-files", "--books-folder-text", "X:\\", "--data", data}, m_root);
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.err.find((m_root / "blocker").string()), std::string::npos) << unwritable.err;
}
