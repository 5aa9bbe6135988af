// The book list: lines split into name, id and subfolder; the probe lookup FindBook on a
// sorted list must find every name in it and nothing else, and on any list must answer
// only with a line of that name; the book name from a stub's path; and the whole opener
// run over a list and a tail, with the drive-letter write-back.
#include "check.h"

#include "opener/booklist.h"
#include "opener/bookname.h"
#include "opener/findbook.h"
#include "opener/opener.h"
#include "platform/linefile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

void checkSplit(std::string_view line)
{
    const opener::BookLine book = opener::splitBookLine(line);
    const auto tabs = std::count(line.begin(), line.end(), '\t');
    if (tabs >= 2)
        FUZZ_CHECK(book.name + '\t' + book.id + '\t' + book.subfolder == line);
    else if (tabs == 1)
        FUZZ_CHECK(book.id.empty() && book.name + '\t' + book.subfolder == line);
    else
        FUZZ_CHECK(book.name.empty() && book.id.empty() && book.subfolder == line);
    FUZZ_CHECK(opener::bookNameOf(line) == book.name);
    FUZZ_CHECK(book.name.find('\t') == std::string::npos && book.id.find('\t') == std::string::npos);
}

void checkBookName(std::string_view path)
{
    const std::string name = opener::bookNameFromPath(path);
    const auto cut = path.find_last_of("\\:");
    std::string_view file = cut == std::string_view::npos ? path : path.substr(cut + 1);
    if (file.starts_with("K "))
        file.remove_prefix(2);
    FUZZ_CHECK(file.size() <= 4 ? name.empty() : name == file.substr(0, file.size() - 4));
}

// Looks every name up; a name of the list must be found (on a sorted list) at a line of
// that name, any other name must not.
void checkLookup(const std::vector<std::string_view> &lines, bool sorted, std::string_view extraName)
{
    const int bookCount = static_cast<int>(lines.size()) - 1;
    int ceilLog2 = 0;
    while ((1L << ceilLog2) < bookCount)
        ++ceilLog2;
    std::vector<std::string_view> names;
    for (size_t i = 1; i < lines.size(); ++i)
        names.push_back(opener::bookNameOf(lines[i]));
    std::vector<std::string_view> asked = names;
    asked.push_back(extraName);
    for (const std::string_view name : asked) {
        std::vector<int> probes;
        const int found = opener::findBook(lines, name, &probes);
        FUZZ_CHECK(probes.size() <= static_cast<size_t>(ceilLog2) + 1);
        for (const int probe : probes)
            FUZZ_CHECK(probe >= 0 && probe < bookCount);
        const bool listed = std::find(names.begin(), names.end(), name) != names.end();
        if (found >= 0)
            FUZZ_CHECK(found < bookCount && names[static_cast<size_t>(found)] == name);
        else if (sorted)
            FUZZ_CHECK(!listed);
    }
}

// The system of one opener run, in memory.
class FuzzSystem final : public opener::OpenerSystem {
public:
    FuzzSystem(std::string list, char existingDrive) : m_list(std::move(list)), m_existingDrive(existingDrive) {}

    std::unique_ptr<opener::FileBytes> readFile(const std::string &) override
    {
        return std::make_unique<opener::StringBytes>(m_list);
    }
    void replaceFile(const std::string &, std::string_view bytes) override
    {
        FUZZ_CHECK(!written);
        written = std::string(bytes);
    }
    bool folderExists(std::string_view windowsPath) override
    {
        ++folderChecks;
        return !windowsPath.empty() && windowsPath.front() == m_existingDrive;
    }
    void openDocument(std::string_view windowsPath) override { opened = std::string(windowsPath); }
    void showMessage(std::string_view, std::string_view) override { ++messages; }
    void reportError(std::string_view) override { ++errors; }

    std::optional<std::string> written, opened;
    int folderChecks = 0, messages = 0, errors = 0;

private:
    std::string m_list;
    char m_existingDrive;
};

void checkRun(const std::string &list, char existingDrive, std::string_view tail)
{
    FuzzSystem system(list, existingDrive);
    opener::BookOpener bookOpener(system, "/kit/list.txt");
    const int exitCode = bookOpener.run("\\kit\\K book.exe", tail);
    FUZZ_CHECK(exitCode == 0 || exitCode == 1);
    FUZZ_CHECK(system.folderChecks <= 5);
    FUZZ_CHECK(system.messages + system.errors + (system.opened ? 1 : 0) == 1);
    const platform::LineText original = platform::splitLines(list);
    if (system.written) {
        // Only line 0 changed, to the drive that exists; every other byte kept.
        const platform::LineText written = platform::splitLines(*system.written);
        FUZZ_CHECK(written.lines.size() == original.lines.size());
        FUZZ_CHECK(!written.lines[0].empty() && written.lines[0][0] == existingDrive);
        FUZZ_CHECK(written.lines[0].substr(1) == original.lines[0].substr(1));
        FUZZ_CHECK(std::equal(original.lines.begin() + 1, original.lines.end(), written.lines.begin() + 1));
        FUZZ_CHECK(written.afterEnd == original.afterEnd);
    }
    if (system.opened)
        FUZZ_CHECK(exitCode == 0 && system.opened->ends_with(".pdf"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Options: the drive letter on which the books folder exists (C to J). First text: the tail.
    const FuzzInput input = cutFuzzInput(data, size);
    const char existingDrive = static_cast<char>('C' + input.options % 8);
    const std::string_view tail = input.first;
    const std::string list(input.rest);

    checkBookName(tail);
    const platform::LineViews text = platform::splitLineViews(list);
    for (const std::string_view line : text.lines)
        checkSplit(line);

    if (!text.lines.empty()) {
        checkLookup(text.lines, false, opener::bookNameFromPath(tail));
        // The same lines sorted by name, as the collection supplies them.
        std::vector<std::string_view> sorted = text.lines;
        std::stable_sort(sorted.begin() + 1, sorted.end(), [](std::string_view a, std::string_view b) {
            return opener::compareNames(opener::bookNameOf(a), opener::bookNameOf(b)) < 0;
        });
        checkLookup(sorted, true, opener::bookNameFromPath(tail));
    }
    checkRun(list, existingDrive, tail);
    return 0;
}
