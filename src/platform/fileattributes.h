#pragma once

#include <QString>

/// What makeOwnerWritable found and did.
enum class OwnerWrite {
    AlreadySet, ///< the file's owner-write permission bit was already set; nothing changed
    Added,      ///< the owner-write bit was added, every other permission bit kept
    NoFile,     ///< nothing at `path` is a regular file (or a link to one); nothing changed
    Failed,     ///< the bit was missing and could not be added
};

/// Makes the regular file at `path` (links followed) writable by its owner: the owner-write
/// permission bit is added and the other permission bits are kept. The mode bits are what
/// counts, not whether the current user could write (root can write anything). Never creates a
/// file. On Failed the system's reason is put into `reason` when it is given.
OwnerWrite makeOwnerWritable(const QString &path, QString *reason = nullptr);
