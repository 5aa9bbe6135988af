/* A recording stand-in for xdg-open: appends the moment it started (CLOCK_MONOTONIC,
 * nanoseconds) and its argument to the file named by KELIDOR_STANDIN_RECORD, then ends. */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char *record = getenv("KELIDOR_STANDIN_RECORD");
    if (!record)
        return 0;
    char line[8192];
    int length = snprintf(line, sizeof line, "%lld %s\n",
                          (long long)now.tv_sec * 1000000000LL + now.tv_nsec, argc > 1 ? argv[1] : "");
    int fd = open(record, O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (fd >= 0 && length > 0) {
        if (write(fd, line, (size_t)length) < 0)
            perror("stand-in");
        close(fd);
    }
    return 0;
}
