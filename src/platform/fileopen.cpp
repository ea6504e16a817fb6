#include "fileopen.h"

#include <cerrno>
#include <fcntl.h>

int openUninterrupted(const char *path, int flags)
{
    int fd;
    do {
        fd = ::open(path, flags);
    } while (fd < 0 && errno == EINTR);
    return fd;
}
