// How long the opener takes from its start to the moment it starts xdg-open, with a
// 40000-book list, side by side with a baseline that only reads the same file and
// starts the same stand-in:  sh -c 'cat LIST >/dev/null; exec STANDIN PATH'.
//
//   opener_bench [runs]        (default 200 runs of each, interleaved)
#include "opener/booklist.h"

#include "platform/codec.h"
#include "tools/collection.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

long long monotonicNow()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs a program with the environment and waits for it; the stand-in's record gives
// the moment xdg-open started. Returns that moment less the moment of the start.
long long timeToStandIn(const std::vector<std::string> &command, const std::vector<std::string> &environment,
                        const fs::path &record)
{
    fs::remove(record);
    std::vector<char *> argv;
    for (const auto &part : command)
        argv.push_back(const_cast<char *>(part.c_str()));
    argv.push_back(nullptr);
    std::vector<char *> envp;
    for (const auto &entry : environment)
        envp.push_back(const_cast<char *>(entry.c_str()));
    envp.push_back(nullptr);

    const long long start = monotonicNow();
    const pid_t child = fork();
    if (child == 0) {
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    std::string line;
    for (int i = 0; i < 5000 && (line = readFile(record)).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    if (line.empty()) {
        std::fprintf(stderr, "no record from %s\n", command[0].c_str());
        std::exit(1);
    }
    return std::atoll(line.c_str()) - start;
}

struct Figures {
    double median, mean, p10, p90;
};

Figures summarize(std::vector<long long> samples)
{
    std::sort(samples.begin(), samples.end());
    double sum = 0;
    for (auto sample : samples)
        sum += static_cast<double>(sample);
    const auto at = [&](double fraction) {
        return static_cast<double>(samples[static_cast<size_t>(fraction * static_cast<double>(samples.size() - 1))]) / 1e6;
    };
    return {at(0.5), sum / static_cast<double>(samples.size()) / 1e6, at(0.1), at(0.9)};
}

void print(const char *what, const Figures &figures)
{
    std::printf("%-40s median %7.2f ms   mean %7.2f ms   p10 %7.2f ms   p90 %7.2f ms\n", what, figures.median,
                figures.mean, figures.p10, figures.p90);
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const fs::path root = fs::temp_directory_path() / ("kelidor-opener-bench-" + std::to_string(getpid()));
    const fs::path kit = root / "kit", books = root / "media" / "PDFS", bin = root / "bin";
    const fs::path record = root / "record";
    fs::create_directories(kit);
    fs::create_directories(bin);
    fs::create_directories(root / "wine" / "dosdevices");
    fs::create_directories(books);
    fs::create_directory_symlink(root / "media", root / "wine" / "dosdevices" / "g:");
    fs::copy_file(BOOK_PROGRAM, kit / "K הפעלה.exe");
    fs::copy_file(TESSUM_PROGRAM, kit / "tessum.exe");
    fs::copy_file(STANDIN_PROGRAM, bin / "xdg-open");

    // A generated collection's list: realistic Hebrew titles as book names, sorted.
    const auto listLines = tools::bookListLines(tools::generatedBooks(40000, 1255), "G:\\PDFS\\");
    std::string list;
    std::vector<std::string> names;
    for (const auto &line : listLines) {
        list += line + "\r\n";
        if (&line != &listLines.front())
            names.emplace_back(opener::bookNameOf(line));
    }
    const fs::path listPath = kit / "K נתונים.txt";
    std::ofstream(listPath, std::ios::binary) << list;

    const std::vector<std::string> environment = {
        "PATH=" + bin.string() + ":/usr/bin:/bin", "HOME=" + root.string(),
        "WINEPREFIX=" + (root / "wine").string(), "KELIDOR_STANDIN_RECORD=" + record.string(), "LANG=C.UTF-8"};

    // One stub, for the whole road from the host library's start of a stub.
    const auto &stubBook = names[names.size() / 3];
    const fs::path stubCopy = kit / ("K " + platform::win1255ToUtf8(stubBook) + ".exe");
    fs::copy_file(TESSUM_PROGRAM, stubCopy);

    std::vector<long long> baseline, opener, stubToViewer;
    std::string lastOpened;
    for (int run = 0; run < runs; ++run) {
        const auto &name = names[(static_cast<size_t>(run) * 7919) % names.size()];
        const fs::path stub = kit / ("K " + platform::win1255ToUtf8(name) + ".exe");
        const std::string pdf = (books / std::to_string(run)).string() + ".pdf";
        baseline.push_back(timeToStandIn(
            {"/bin/sh", "-c", "cat '" + listPath.string() + "' >/dev/null; exec '" + (bin / "xdg-open").string() + "' '" + pdf + "'"},
            environment, record));
        opener.push_back(timeToStandIn({(kit / "K הפעלה.exe").string(), stub.string()}, environment, record));
        lastOpened = readFile(record);
        stubToViewer.push_back(timeToStandIn({stubCopy.string()}, environment, record));
    }

    std::printf("book list: %zu books, %zu bytes; %d runs of each, interleaved\n", names.size(), list.size(), runs);
    std::printf("last opened: %s", lastOpened.substr(lastOpened.find(' ') + 1).c_str());
    const Figures base = summarize(baseline), own = summarize(opener);
    print("baseline (sh, cat, exec stand-in)", base);
    print("book (start to xdg-open)", own);
    std::printf("ratio of medians: %.2f (goal: at most 2)\n", own.median / base.median);
    print("tessum + book (stub start to xdg-open)", summarize(stubToViewer));
    std::printf("sizes: book %ju bytes, tessum %ju bytes (stripped)\n",
                static_cast<std::uintmax_t>(fs::file_size(BOOK_PROGRAM)),
                static_cast<std::uintmax_t>(fs::file_size(TESSUM_PROGRAM)));
    fs::remove_all(root);
    return 0;
}
