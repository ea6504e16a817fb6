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
/// ID3v1.1: a comment of at most 28 bytes, a NUL, and the track number in the comment's last byte.
inline constexpr qsizetype kCommentWidthWithTrack = 28;
inline constexpr qsizetype kTrackMarkerOffset = kCommentOffset + kCommentWidthWithTrack;
inline constexpr qsizetype kTrackOffset = kTrackMarkerOffset + 1;
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
/// - each text field ends at its first NUL byte, loses its trailing blanks (leading blanks stay)
///   and is decoded from Windows-1252; so the comment of an ID3v1.1 tag never holds its track
///   number;
/// - a title left empty (all NULs or blanks, or one that begins with NUL) is replaced by
///   `baseName`;
/// - the genre is `genreName` of the genre byte (a blank byte is genre 32, "Classical"); 148 to
///   255 (255 is the byte for "no genre") give an empty, non-null text.
TagReadResult decodeTagBlock(QByteArrayView block, const QString &baseName);

/// Encodes a tag block (ID3v1, without track number): "TAG", then title, artist, album and
/// comment each cut to 30 characters and padded with blanks to 30, the year cut or padded with
/// blanks to 4, all in Windows-1252 (a character outside it becomes "?"), and the genre byte
/// `genreByte`. `values.genre` is not used. Returns the 128 bytes, or an empty array when
/// `genreByte` is outside 0 to 255.
QByteArray encodeTagBlock(const TagValues &values, int genreByte);
