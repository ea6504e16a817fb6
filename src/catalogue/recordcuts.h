#pragma once

#include "tags/tagblock.h"

#include <QString>

/// How many characters of each tag text a record keeps: the widths of the ID3v1 fields. The
/// import, the record update and the tag editor's text boxes all cut to these.
namespace RecordCuts {
inline constexpr qsizetype kTitle = TagLayout::kTitleWidth;
inline constexpr qsizetype kArtist = TagLayout::kArtistWidth;
inline constexpr qsizetype kAlbum = TagLayout::kAlbumWidth;
inline constexpr qsizetype kYear = TagLayout::kYearWidth;
inline constexpr qsizetype kComment = TagLayout::kCommentWidth;
} // namespace RecordCuts

/// The first `count` characters of `text` (a character outside the basic plane counts as one
/// and is never split); the whole text when it is shorter. Never pads.
QString firstCharacters(const QString &text, qsizetype count);

/// A tag text as a record keeps it: its first `width` characters (firstCharacters), without
/// trailing blanks, which no tag can carry back (a tag reader drops them). Leading blanks stay.
QString recordText(const QString &text, qsizetype width);
