#include "tagblock.h"

#include "genretable.h"
#include "windows1252.h"

using namespace TagLayout;

namespace {

constexpr char kBlank = ' ';

// Only trailing blanks are dropped: writers that pad with NULs leave them in the text, and
// leading blanks (a year such as "  99") are part of the value.
QString decodeField(QByteArrayView block, qsizetype offset, qsizetype width)
{
    QByteArrayView field = block.sliced(offset, width);
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
    // A blank genre byte trims to nothing but still stands for genre 32, so the byte is used
    // as it is.
    values.genre = genreName(static_cast<unsigned char>(block[kGenreOffset]));

    // A title that begins with NUL and has no trailing blanks is a field nobody filled in. An
    // all-blank title is one too; it gets the file's name as well, since a record without a
    // title cannot be saved from the tag editor.
    const bool unfilled = values.title.isEmpty() ||
                          (values.title.size() == kTitleWidth && values.title.front() == QChar(0));
    if (unfilled)
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
