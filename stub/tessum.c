/* tessum, the per-book stub, installed once per book as "K <book name>.exe" beside the
 * book opener "K הפעלה.exe". It starts the opener with its own full path as the one
 * argument and ends at once with exit code 0: it shows nothing, waits for nothing, and
 * fails silently when the opener cannot be started.
 *
 * The opener is looked for beside the stub, then in the current folder, then along
 * PATH. Plain C on libc alone, so that each of the many copies stays a few kilobytes. */
#include <errno.h>
#include <limits.h>
#include <spawn.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

extern char **environ;

/* "K הפעלה.exe" as a UTF-8 file name. */
static const char openerName[] = "K \xD7\x94\xD7\xA4\xD7\xA2\xD7\x9C\xD7\x94.exe";

/* Starts program (a path, or a bare name looked up along PATH) without waiting. The
 * opener outlives the stub and is adopted by init, so no zombie is left. */
static int startOpener(const char *program, char *ownPath, int searchPath)
{
    char *argv[] = {(char *)program, ownPath, NULL};
    pid_t child;
    int error = searchPath ? posix_spawnp(&child, program, NULL, NULL, argv, environ)
                           : posix_spawn(&child, program, NULL, NULL, argv, environ);
    return error == 0;
}

int main(void)
{
    static char ownPath[PATH_MAX];
    static char besideStub[PATH_MAX + sizeof openerName];
    ssize_t length = readlink("/proc/self/exe", ownPath, sizeof ownPath - 1);
    if (length <= 0 || (size_t)length >= sizeof ownPath - 1)
        return 0;
    ownPath[length] = '\0';

    /* Beside the stub. */
    const char *slash = strrchr(ownPath, '/');
    size_t folderLength = slash ? (size_t)(slash - ownPath) + 1 : 0;
    memcpy(besideStub, ownPath, folderLength);
    memcpy(besideStub + folderLength, openerName, sizeof openerName);
    if (access(besideStub, X_OK) == 0 && startOpener(besideStub, ownPath, 0))
        return 0;

    /* In the current folder. */
    static const char inCurrentFolder[] = "./K \xD7\x94\xD7\xA4\xD7\xA2\xD7\x9C\xD7\x94.exe";
    if (access(inCurrentFolder, X_OK) == 0 && startOpener(inCurrentFolder, ownPath, 0))
        return 0;

    /* Along PATH. */
    startOpener(openerName, ownPath, 1);
    return 0;
}
