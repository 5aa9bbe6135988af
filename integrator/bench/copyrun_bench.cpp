// The copy run of a 40000-book list into an empty folder, side by side with its floor:
// a bare loop that copies the stub source to the same 40000 names with the same
// system calls (unlink, exclusive create, copy_file_range from offset 0, close).
//
//   copyrun_bench [--books N] [--rounds R] [--folder DIR]
//
// Three ways, each round into fresh empty folders, in turn:
//   floor   the bare loop over precomputed native names
//   engine  CopyRun with the native files and an observer that does nothing
//    stubs  the engine's per-book part alone (after the opener and the book list file)
//   window  the copy button of the real window (offscreen), labels and progress included
// The order of the three turns with every round.
#include "integrator/copyrun.h"
#include "integrator/directorylistbox.h"
#include "integrator/mainwindow.h"
#include "integrator/nativefiles.h"

#include "platform/application.h"
#include "platform/codec.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/winpath.h"
#include "tools/collection.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Notes when the stubs begin, to tell the run's fixed part from its per-book part.
class SilentObserver final : public integrator::CopyRunObserver {
public:
    void showMessage(const std::string &text) override { std::fprintf(stderr, "message: %s\n", text.c_str()); }
    void stubsStarting(std::size_t) override { stubsStart = Clock::now(); }
    void stubWritten(std::string_view, std::size_t, std::size_t) override {}
    Clock::time_point stubsStart;
};

class StderrMessenger final : public platform::Messenger {
public:
    void show(const QString &, const QString &text, platform::MessageIcon) override
    {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
    }
};

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The floor: the same system calls per stub as the run, nothing else.
void floorLoop(const std::string &sourcePath, const std::vector<std::string> &targets)
{
    const int source = ::open(sourcePath.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info{};
    if (source < 0 || ::fstat(source, &info) != 0) {
        std::perror("stub source");
        std::exit(1);
    }
    const auto size = static_cast<size_t>(info.st_size);
    const mode_t mode = (info.st_mode & 0777) | 0200;
    for (const auto &target : targets) {
        ::unlink(target.c_str());
        const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (out < 0) {
            std::perror(target.c_str());
            std::exit(1);
        }
        loff_t offset = 0;
        while (static_cast<size_t>(offset) < size)
            if (::copy_file_range(source, &offset, out, nullptr, size - static_cast<size_t>(offset), 0) <= 0) {
                std::perror("copy_file_range");
                std::exit(1);
            }
        ::close(out);
    }
    ::close(source);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    int books = 40000;
    int rounds = 3;
    int only = -1; // all three ways
    fs::path folder = fs::temp_directory_path() / ("kelidor-copyrun-bench-" + std::to_string(::getpid()));
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--books") == 0)
            books = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--rounds") == 0)
            rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--only") == 0)
            only = std::strcmp(argv[i + 1], "floor") == 0 ? 0 : std::strcmp(argv[i + 1], "engine") == 0 ? 1 : 2;
        else if (std::strcmp(argv[i], "--folder") == 0)
            folder = fs::path(argv[i + 1]) / ("kelidor-copyrun-bench-" + std::to_string(::getpid()));
    }

    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::Application application(argc, argv);

    // The kit: a generated book list, an opener, and the stub.
    const fs::path kit = folder / "kit";
    fs::create_directories(kit);
    const auto lines = tools::bookListLines(tools::generatedBooks(books, 1), tools::kShippedBookListFolder);
    platform::writeLineFile((kit / "K נתונים.txt").string(), platform::LineText{lines, {}});
    platform::writeFileAtomically((kit / "K הפעלה.exe").string(), std::string(100000, 'o'));
#ifdef KELIDOR_STUB_SOURCE
    platform::copyFile(KELIDOR_STUB_SOURCE, (kit / "tessum.exe").string());
    const char *stubKind = "the built tessum";
#else
    platform::writeFileAtomically((kit / "tessum.exe").string(), std::string(6300, 's'));
    const char *stubKind = "a stand-in file";
#endif
    const std::string stubPath = (kit / "tessum.exe").string();
    const auto stubSize = static_cast<unsigned long long>(fs::file_size(stubPath));
    const std::string ownExecutable = (kit / "parvolin").string();

    std::vector<double> floorTimes, engineTimes, engineStubTimes, windowTimes;
    for (int round = 0; round < rounds; ++round) {
        const fs::path base = folder / ("round" + std::to_string(round));
        const fs::path floorTarget = base / "floor/kelidor";
        const fs::path engineHost = base / "engine";
        const fs::path windowHost = base / "window";
        fs::create_directories(floorTarget);
        fs::create_directories(engineHost);
        fs::create_directories(windowHost);

        std::vector<std::string> targets;
        targets.reserve(lines.size());
        for (size_t i = 1; i < lines.size(); ++i) {
            const std::string name(lines[i].substr(0, lines[i].find('\t')));
            targets.push_back(floorTarget.string() + "/K " + platform::win1255ToUtf8(name) + ".exe");
        }
        integrator::NativeCopyRunFiles files;
        SilentObserver observer;
        integrator::CopyRun run(files, observer);
        const integrator::CopyRunSettings settings{platform::toWindowsPath(ownExecutable),
                                                   platform::toWindowsPath(engineHost.string()), true, true, "G:\\"};

        StderrMessenger messenger;
        integrator::TmainServices services;
        services.ownExecutable = ownExecutable;
        services.messenger = &messenger;
        integrator::Tmain window(std::move(services));
        window.findChild<integrator::DirectoryListBox *>(QStringLiteral("DirectoryListBox1"))
            ->setCurrentFolder(windowHost.string());
        window.show();
        QCoreApplication::processEvents();

        // Each round starts with another of the three, so that none always runs on the
        // file system's freshest (or most crowded) state.
        for (int turn = 0; turn < 3; ++turn) {
            const int way = (round + turn) % 3;
            if (only >= 0 && way != only)
                continue;
            ::sync();
            const auto start = Clock::now();
            switch (way) {
            case 0:
                floorLoop(stubPath, targets);
                floorTimes.push_back(secondsSince(start));
                break;
            case 1:
                run.run(settings);
                engineTimes.push_back(secondsSince(start));
                engineStubTimes.push_back(secondsSince(observer.stubsStart));
                break;
            default:
                window.Button1Click();
                windowTimes.push_back(secondsSince(start));
                break;
            }
        }

        const fs::path hosts[] = {floorTarget, engineHost / "kelidor", windowHost / "kelidor"};
        for (int way = 0; way < 3; ++way) {
            if (only >= 0 && way != only)
                continue;
            size_t count = 0;
            for ([[maybe_unused]] const auto &entry : fs::directory_iterator(hosts[way]))
                ++count;
            if (count != lines.size() - 1 + (way == 0 ? 0 : 2)) { // the run adds the opener and the list
                std::fprintf(stderr, "%s holds %zu files\n", hosts[way].c_str(), count);
                return 1;
            }
        }
        fs::remove_all(base);
    }
    fs::remove_all(folder);

    const double floorMedian = floorTimes.empty() ? std::nan("") : median(floorTimes);
    std::printf("copy run of %d books, stub %s of %llu bytes, %d rounds (median, best):\n", books, stubKind,
                stubSize, rounds);
    const auto report = [&](const char *what, const std::vector<double> &times) {
        if (times.empty())
            return;
        std::printf("  %-7s %8.3f s  %8.3f s  %5.2fx floor  (%.1f us per stub)  rounds:", what, median(times),
                    *std::min_element(times.begin(), times.end()), median(times) / floorMedian,
                    median(times) / books * 1e6);
        for (const double time : times)
            std::printf(" %.2f", time);
        std::printf("\n");
    };
    report("floor", floorTimes);
    report("engine", engineTimes);
    report(" stubs", engineStubTimes);
    report("window", windowTimes);
    return 0;
}
