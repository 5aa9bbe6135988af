// gen-collection: writes a collection of books (PDFs and thumbnails), its catalogue
// data.txt and its book list, either the bundled sample or a generated one of any size.
#include "collection.h"
#include "cover.h"
#include "jpegencode.h"
#include "options.h"
#include "pdfpage.h"

#include "platform/codec.h"
#include "platform/files.h"
#include "platform/linefile.h"
#include "platform/winpath.h"

#include <QGuiApplication>
#include <QHashSeed>

#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>

namespace {

namespace fs = std::filesystem;

constexpr const char *kProgram = "gen-collection";

// A Windows-form relative path ("17\04") as a native one ("17/04").
std::string nativeRelative(const std::string &windowsForm)
{
    std::string native = platform::win1255ToUtf8(windowsForm);
    for (char &c : native)
        if (c == '\\')
            c = '/';
    return native;
}

std::string parentFolder(const std::string &nativePath)
{
    return fs::absolute(fs::path(nativePath)).parent_path().string();
}

std::string thumbDescription(const tools::ThumbSpec &thumb)
{
    switch (thumb.state) {
    case tools::ThumbState::Missing: return "none";
    case tools::ThumbState::Corrupt: return "corrupt";
    case tools::ThumbState::Present: break;
    }
    std::string text = std::to_string(thumb.width) + 'x' + std::to_string(thumb.height);
    text += thumb.progressive ? " progressive" : " baseline";
    if (thumb.greyscale)
        text += " greyscale";
    return text;
}

void writeBookFiles(const std::vector<tools::Book> &books, const std::string &booksFolder, std::uint64_t seed)
{
    for (const tools::Book &book : books) {
        const std::string folder = booksFolder + '/' + nativeRelative(book.subfolder);
        const std::string stem = std::to_string(book.id);
        platform::forceDirectories(folder + "/thumbs");
        platform::writeFileAtomically(folder + '/' + stem + ".pdf", tools::renderBookPdf(book));

        const tools::ThumbSpec &thumb = book.thumb;
        if (thumb.state == tools::ThumbState::Missing)
            continue;
        const tools::Cover cover(book.id, thumb.width, thumb.height, seed);
        std::string jpeg = tools::encodeCoverJpeg(cover, {thumb.progressive, thumb.greyscale});
        if (thumb.state == tools::ThumbState::Corrupt)
            jpeg = tools::cutInsideHeaders(jpeg);
        platform::writeFileAtomically(folder + "/thumbs/" + stem + ".jpg", jpeg);
    }
}

int run(const tools::Options &options)
{
    const std::vector<tools::Book> books =
        options.count ? tools::generatedBooks(*options.count, options.seed) : tools::sampleBooks(options.seed);

    std::string booksFolder;
    if (!options.booksFolder.empty())
        booksFolder = fs::absolute(fs::path(options.booksFolder)).lexically_normal().string();
    while (booksFolder.size() > 1 && booksFolder.back() == '/')
        booksFolder.pop_back();

    if (options.writeBookFiles) {
        // The PDF writer needs a GUI application for its fonts, never a display.
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
        // The PDF writer emits its fonts in hash order; a fixed seed keeps the bytes the same.
        QHashSeed::setDeterministicGlobalSeed();
        int argc = 1;
        char name[] = "gen-collection";
        char *argv[] = {name, nullptr};
        const QGuiApplication application(argc, argv);
        platform::forceDirectories(booksFolder);
        writeBookFiles(books, booksFolder, options.seed);
    }

    std::string catalogueFolder;
    if (options.booksFolderText) {
        catalogueFolder = platform::utf8ToWin1255(*options.booksFolderText);
    } else {
        catalogueFolder = platform::toWindowsPath(booksFolder);
        if (catalogueFolder.empty() || catalogueFolder.back() != '\\')
            catalogueFolder += '\\';
    }
    platform::forceDirectories(parentFolder(options.dataFile));
    platform::writeLineFile(options.dataFile, {tools::catalogueLines(books, catalogueFolder), {}});

    if (options.bookListFile) {
        const std::string listFolder = options.bookListFolderText ? platform::utf8ToWin1255(*options.bookListFolderText)
                                                                  : std::string(tools::kShippedBookListFolder);
        platform::forceDirectories(parentFolder(*options.bookListFile));
        platform::writeLineFile(*options.bookListFile, {tools::bookListLines(books, listFolder), {}});
    }

    if (options.listBooks)
        for (const tools::Book &book : books)
            std::cout << book.id << '\t' << platform::win1255ToUtf8(book.subfolder) << '\t'
                      << thumbDescription(book.thumb) << '\t' << platform::win1255ToUtf8(book.title) << '\n';
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const tools::ParsedOptions parsed = tools::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        if (parsed.error.empty()) {
            std::cout << tools::usageText();
            return 0;
        }
        std::cerr << kProgram << ": " << parsed.error << "\n\n" << tools::usageText();
        return 2;
    }
    try {
        return run(*parsed.options);
    } catch (const std::exception &error) {
        std::cerr << kProgram << ": " << error.what() << '\n';
        return 1;
    }
}
