#pragma once

#include <QString>

/// The decoded values of an ID3v1 tag: the five texts and the genre as a name.
struct TagValues
{
    QString title;
    QString artist;
    QString album;
    QString year;
    QString comment;
    QString genre; ///< genre name, empty for an unknown genre number

    friend bool operator==(const TagValues &, const TagValues &) = default;
};

/// What reading a file's tag found.
enum class TagOutcome {
    Present,    ///< the file ends in a tag block
    Absent,     ///< the file is readable but has no tag block
    Unreadable, ///< the file cannot be opened or read, or is shorter than a tag block
};

/// The result of reading a file's tag.
struct TagReadResult
{
    TagOutcome outcome = TagOutcome::Unreadable;
    TagValues values;
};
