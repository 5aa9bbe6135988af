#include "options.h"

#include <algorithm>
#include <charconv>
#include <iterator>

namespace tools {
namespace {

template <typename Number>
bool readNumber(const std::string &text, Number &value)
{
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && !text.empty();
}

bool holdsLineBreak(const std::string &text)
{
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

} // namespace

std::string usageText()
{
    return "usage: gen-collection --books DIR --data FILE [--book-list FILE]\n"
           "                      [--books-folder-text TEXT] [--book-list-folder-text TEXT]\n"
           "                      [--count N] [--no-files] [--seed S] [--list]\n"
           "\n"
           "Writes a collection of books: DIR/<subfolder>/<id>.pdf and DIR/<subfolder>/thumbs/<id>.jpg,\n"
           "the catalogue FILE (data.txt) and, with --book-list, the book list (\"K נתונים.txt\").\n"
           "\n"
           "  --books DIR                  the books folder (created when missing)\n"
           "  --data FILE                  the catalogue to write\n"
           "  --book-list FILE             also write the book list\n"
           "  --books-folder-text TEXT     line 0 of the catalogue, as given (default: DIR in\n"
           "                               Windows form with a trailing backslash)\n"
           "  --book-list-folder-text TEXT line 0 of the book list, as given\n"
           "                               (default: G:\\kdapp\\WebApp\\WebApp\\App_Data\\PDFS\\)\n"
           "  --count N                    N generated books instead of the bundled sample\n"
           "  --no-files                   write only the catalogue and the book list\n"
           "  --seed S                     another collection of the same kind (default 1)\n"
           "  --list                       print id, subfolder, thumbnail and title of every book\n";
}

ParsedOptions parseOptions(const std::vector<std::string> &arguments)
{
    Options options;
    const auto fail = [](std::string message) { return ParsedOptions{std::nullopt, std::move(message)}; };
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string &name = arguments[i];
        if (name == "--help" || name == "-h")
            return {};
        if (name == "--no-files") {
            options.writeBookFiles = false;
            continue;
        }
        if (name == "--list") {
            options.listBooks = true;
            continue;
        }
        static const std::string kWithValue[] = {"--books", "--data", "--book-list", "--books-folder-text",
                                                 "--book-list-folder-text", "--count", "--seed"};
        if (std::find(std::begin(kWithValue), std::end(kWithValue), name) == std::end(kWithValue))
            return fail((name.rfind("-", 0) == 0 ? "unknown option: " : "unexpected argument: ") + name);
        if (i + 1 >= arguments.size())
            return fail(name + " needs a value");
        const std::string &value = arguments[++i];
        if (name == "--books") {
            options.booksFolder = value;
        } else if (name == "--data") {
            options.dataFile = value;
        } else if (name == "--book-list") {
            options.bookListFile = value;
        } else if (name == "--books-folder-text") {
            options.booksFolderText = value;
        } else if (name == "--book-list-folder-text") {
            options.bookListFolderText = value;
        } else if (name == "--count") {
            int count = 0;
            if (!readNumber(value, count) || count < 0 || count > kMaxCount)
                return fail("--count wants a number from 0 to " + std::to_string(kMaxCount) + ", not " + value);
            options.count = count;
        } else { // --seed
            std::uint64_t seed = 0;
            if (!readNumber(value, seed))
                return fail("--seed wants a whole number, not " + value);
            options.seed = seed;
        }
    }
    if (options.dataFile.empty())
        return fail("--data is missing");
    if (options.writeBookFiles && options.booksFolder.empty())
        return fail("--books is missing");
    if (options.booksFolder.empty() && !options.booksFolderText)
        return fail("--books or --books-folder-text is needed for the first line of the catalogue");
    for (const auto *text : {&options.booksFolderText, &options.bookListFolderText})
        if (*text && holdsLineBreak(**text))
            return fail("a folder text must be one line");
    return {std::move(options), {}};
}

} // namespace tools
