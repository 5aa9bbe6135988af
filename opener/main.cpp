// book, installed as "K הפעלה.exe": opens the PDF of the book that a per-book stub
// stands for. Started as: K הפעלה.exe <path of the stub>.
#include "desktopsystem.h"
#include "messagebox.h"
#include "opener.h"

#include "platform/files.h"
#include "platform/winpath.h"

#include <exception>
#include <string>

#include <fcntl.h>

namespace {

// A program started without standard handles (as a windowless program may start us)
// would otherwise hand its first opened files those numbers, and a message meant for
// standard error could land in the book list.
void ensureStandardHandles()
{
    for (int fd = 0; fd <= 2; ++fd)
        if (::fcntl(fd, F_GETFD) < 0 && ::open("/dev/null", O_RDWR) < 0)
            return;
}

} // namespace

int main(int argc, char **argv)
{
    ensureStandardHandles();

    // The tail: the arguments after the program name, joined by single blanks.
    std::string tail;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            tail += ' ';
        tail += argv[i];
    }

    std::string ownPath;
    try {
        ownPath = platform::ownExecutablePath();
    } catch (const std::exception &error) {
        opener::showMessageBox("book", error.what(), opener::BoxIcon::Stop);
        return 0;
    }

    opener::DesktopSystem system(platform::DriveTable::fromEnvironment(), opener::applicationTitle(ownPath));
    opener::BookOpener bookOpener(system, opener::bookListPathBeside(ownPath));
    return bookOpener.run(platform::toWindowsPath(ownPath), platform::toWindowsPath(tail));
}
