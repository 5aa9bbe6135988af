// Loading the catalogue: data.txt read and cut into the tables, the list filled, set
// against the floor of the same work: one read of the file and one memchr pass over it.
//
//   load_bench [data.txt]     (without a file, a 40000-book catalogue is made up)
#include "browser/bench/benchtimer.h"
#include "browser/booklistmodel.h"
#include "browser/datafile.h"
#include "platform/files.h"

#include <QApplication>
#include <QListView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <vector>

namespace {

using browser::bench::medianMicroseconds;

std::string madeUpCatalogue(int books)
{
    std::string bytes = "\\tmp\\books\\\r\n";
    const char *words[] = {"\xF1\xF4\xF8", "\xE1\xF8\xE0\xF9\xE9\xFA", "\xF9\xE5\xEC\xE7\xEF", "Vol.2",
                           "\xF2\xF8\xE5\xEA", "\xEE\xF9\xF0\xE4", "No.3", "\xE4\xEC\xEB\xE5\xFA"};
    for (int k = 0; k < books; ++k) {
        bytes += std::to_string(100000 + k) + '\t';
        for (int w = 0; w < 4; ++w)
            bytes += std::string(words[(k / (w + 1) + w) % 8]) + ' ';
        bytes += std::to_string(k) + '\t' + std::to_string(k % 97) + '\t';
        bytes += std::string(words[k % 8]) + ' ' + words[(k / 8) % 8] + "\r\n";
    }
    return bytes;
}

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication application(qtArgc, argv);

    std::string path;
    if (argc > 1) {
        path = argv[1];
    } else {
        path = (std::filesystem::temp_directory_path() / "kelidor-load-bench-data.txt").string();
        platform::writeFileAtomically(path, madeUpCatalogue(40000));
    }
    const auto bytes = platform::readWholeFile(path);
    std::printf("file: %s, %zu bytes\n", path.c_str(), bytes.size());

    volatile size_t sink = 0;
    const double floor = medianMicroseconds(31, [&] {
        const std::string text = platform::readWholeFile(path);
        size_t lines = 0;
        for (const char *p = text.data(), *end = p + text.size();
             (p = static_cast<const char *>(std::memchr(p, '\n', static_cast<size_t>(end - p)))); ++p)
            ++lines;
        sink = sink + lines;
    });

    int entries = 0;
    const double load = medianMicroseconds(31, [&] {
        browser::DataFile data(path);
        browser::BookListModel model(data.catalogue());
        QListView list;
        list.setUniformItemSizes(true);
        list.setModel(&model);
        model.showAllEntries();
        entries = model.rowCount();
    });

    const double loadOnly = medianMicroseconds(31, [&] {
        browser::DataFile data(path);
        sink = sink + static_cast<size_t>(data.catalogue().entryCount());
    });

    std::printf("entries listed:                         %d\n", entries);
    std::printf("floor (read + one memchr pass):         %8.0f us\n", floor);
    std::printf("load: read + cut into tables:           %8.0f us  (%.2fx the floor)\n", loadOnly, loadOnly / floor);
    std::printf("load + list model filled (one reset):   %8.0f us  (%.2fx the floor, goal 4x)\n", load, load / floor);
    return 0;
}
