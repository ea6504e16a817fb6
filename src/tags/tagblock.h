#pragma once

#include "tagvalues.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

/// Layout of the ID3v1 tag block, the last 128 bytes of a tagged MP3 file: fixed-width fields of
/// one byte per character, no terminators.
namespace TagLayout {
inline constexpr qsizetype kBlockSize = 128;
inline constexpr qsizetype kMarkerOffset = 0;
inline constexpr qsizetype kMarkerWidth = 3;
inline constexpr qsizetype kTitleOffset = 3;
inline constexpr qsizetype kTitleWidth = 30;
inline constexpr qsizetype kArtistOffset = 33;
inline constexpr qsizetype kArtistWidth = 30;
inline constexpr qsizetype kAlbumOffset = 63;
inline constexpr qsizetype kAlbumWidth = 30;
inline constexpr qsizetype kYearOffset = 93;
inline constexpr qsizetype kYearWidth = 4;
inline constexpr qsizetype kCommentOffset = 97;
inline constexpr qsizetype kCommentWidth = 30;
inline constexpr qsizetype kGenreOffset = 127;
/// The marker that opens a tag block, compared case-sensitively.
inline constexpr char kMarker[] = "TAG";

static_assert(kTitleOffset == kMarkerOffset + kMarkerWidth);
static_assert(kArtistOffset == kTitleOffset + kTitleWidth);
static_assert(kAlbumOffset == kArtistOffset + kArtistWidth);
static_assert(kYearOffset == kAlbumOffset + kAlbumWidth);
static_assert(kCommentOffset == kYearOffset + kYearWidth);
static_assert(kGenreOffset == kCommentOffset + kCommentWidth);
static_assert(kBlockSize == kGenreOffset + 1);
} // namespace TagLayout

/// True when `block` begins with the marker "TAG" (exactly, upper case).
bool hasTagMarker(QByteArrayView block);

/// Decodes the last 128 bytes of a file. `block` must be exactly 128 bytes, otherwise the outcome
/// is Unreadable with all values empty. Without the "TAG" marker the outcome is Absent, the title
/// is `baseName` and every other value is empty. Otherwise the outcome is Present and:
/// - each text field is decoded from Windows-1252 and only its trailing blanks are removed (NUL
///   bytes and leading blanks stay);
/// - a title that starts with NUL and is still 30 characters long after trimming (an all-NUL
///   title), or that trims to nothing (an all-blank title), is replaced by `baseName`;
/// - the genre is `genreName` of the genre byte (a blank byte is genre 32, "Classical"; 148 to
///   255 give an empty genre).
TagReadResult decodeTagBlock(QByteArrayView block, const QString &baseName);

/// Encodes a tag block: "TAG", then title, artist, album and comment each cut to 30 characters
/// and padded with blanks to 30, the year cut or padded with blanks to 4, all in Windows-1252
/// (a character outside it becomes "?"), and the genre byte `genreByte`. `values.genre` is not
/// used. Returns the 128 bytes, or an empty array when `genreByte` is outside 0 to 255.
QByteArray encodeTagBlock(const TagValues &values, int genreByte);
