#pragma once

#include "tagvalues.h"

#include <QString>

/// The base name of a file: the part of `path` after its last "/", up to (not including) the
/// last "." of that part; the whole part when it has no ".".
QString fileBaseName(const QString &path);

/// Reads the ID3v1 tag at the end of the file at `path`.
/// - Unreadable, with all values empty: the file cannot be opened or read, is not a regular file,
///   or is shorter than 128 bytes (an empty file included).
/// - Absent: the last 128 bytes do not begin with "TAG"; the title is the file's base name and
///   every other value is empty.
/// - Present: the values decoded as `decodeTagBlock` describes (a file of exactly 128 bytes is
///   all tag).
/// The file is closed before the function returns, whatever the outcome.
TagReadResult readTag(const QString &path);

/// What readTag saw of the file through the descriptor it read from, so that a caller needs no
/// second look at the file.
struct FileFacts
{
    bool known = false; ///< the file was opened and its status read; nothing below holds else
    bool regular = false;
    qint64 size = 0;
    bool ownerWritable = false; ///< the owner-write permission bit is set
};

/// readTag, telling also what the file's status said (a link is followed, as readTag follows
/// it).
TagReadResult readTag(const QString &path, FileFacts &facts);

/// readTag(path, facts) for a caller that has the file's base name (see fileBaseName) at hand.
TagReadResult readTag(const QString &path, const QString &baseName, FileFacts &facts);

/// The result of writing a tag: success, or an Italian text saying what went wrong.
struct TagWriteResult
{
    QString errorText; ///< empty on success
    bool ok() const { return errorText.isEmpty(); }
};

/// Writes the tag block of `values` (see `encodeTagBlock`) with genre byte `genreByte` (0 to
/// 255) into the existing regular file at `path`: over the last 128 bytes when they begin with
/// "TAG", otherwise appended, so the file grows by 128 bytes. A block written over an ID3v1.1
/// tag (comment byte 29 NUL, byte 30 not) keeps its track number when the new comment takes at
/// most 28 bytes. No other byte of the file is
/// touched and no file is ever created. On failure the file is left as it was: a failed append
/// is cut back to the original length and a failed write over an old tag puts the old tag back;
/// only when that repair fails too is the tag left damaged, and the error text says so.
TagWriteResult writeTag(const QString &path, const TagValues &values, int genreByte);
