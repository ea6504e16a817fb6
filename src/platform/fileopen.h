#pragma once

/// open(2) of `path` (encoded as the system expects) with `flags`, tried again for as long as a
/// signal interrupts it (EINTR): the new descriptor, or -1 with errno set by the last try.
/// `flags` must not create a file (no O_CREAT or O_TMPFILE): no permission bits are passed.
int openUninterrupted(const char *path, int flags);
