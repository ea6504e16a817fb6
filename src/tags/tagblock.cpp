#include "tagblock.h"

#include "genretable.h"
#include "windows1252.h"

using namespace TagLayout;

namespace {

constexpr char kBlank = ' ';

// Most tag writers pad a field with NULs, others with blanks: a field ends at its first NUL, as
// every other tag reader reads it, and then loses its trailing blanks. Leading blanks (a year such
// as "  99") are part of the value. The comment of an ID3v1.1 tag ends with a NUL and the track
// number, so the track byte never reaches the comment.
QString decodeField(QByteArrayView block, qsizetype offset, qsizetype width)
{
    QByteArrayView field = block.sliced(offset, width);
    if (const qsizetype nul = field.indexOf('\0'); nul >= 0)
        field.truncate(nul);
    while (!field.isEmpty() && field.back() == kBlank)
        field.chop(1);
    return fromWindows1252(field);
}

void appendField(QByteArray &block, const QString &text, qsizetype width)
{
    // One byte per code point, so cutting the bytes cuts the text after `width` characters.
    const QByteArray bytes = toWindows1252(text).left(width);
    block.append(bytes);
    block.append(width - bytes.size(), kBlank);
}

} // namespace

bool hasTagMarker(QByteArrayView block)
{
    return block.size() >= kMarkerWidth &&
           block.sliced(kMarkerOffset, kMarkerWidth) == QByteArrayView(kMarker);
}

TagReadResult decodeTagBlock(QByteArrayView block, const QString &baseName)
{
    TagReadResult result;
    if (block.size() != kBlockSize)
        return result;
    if (!hasTagMarker(block)) {
        result.outcome = TagOutcome::Absent;
        result.values.title = baseName;
        return result;
    }
    result.outcome = TagOutcome::Present;
    TagValues &values = result.values;
    values.title = decodeField(block, kTitleOffset, kTitleWidth);
    values.artist = decodeField(block, kArtistOffset, kArtistWidth);
    values.album = decodeField(block, kAlbumOffset, kAlbumWidth);
    values.year = decodeField(block, kYearOffset, kYearWidth);
    values.comment = decodeField(block, kCommentOffset, kCommentWidth);
    // A blank genre byte stands for genre 32; bytes 148 to 255 (255 is "no genre") give the
    // same empty text as a file without a tag.
    values.genre = genreName(static_cast<unsigned char>(block[kGenreOffset]));
    if (values.genre.isNull())
        values.genre = QLatin1String("");

    // A title of NULs or blanks is a field nobody filled in; it gets the file's name, since a
    // record without a title cannot be saved from the tag editor.
    if (values.title.isEmpty())
        values.title = baseName;
    return result;
}

QByteArray encodeTagBlock(const TagValues &values, int genreByte)
{
    if (genreByte < 0 || genreByte > 255)
        return {};
    QByteArray block;
    block.reserve(kBlockSize);
    block.append(kMarker, kMarkerWidth);
    appendField(block, values.title, kTitleWidth);
    appendField(block, values.artist, kArtistWidth);
    appendField(block, values.album, kAlbumWidth);
    appendField(block, values.year, kYearWidth);
    appendField(block, values.comment, kCommentWidth);
    block.append(static_cast<char>(genreByte));
    return block;
}
