#include "id3v2reader.h"

#include "genretable.h"
#include "tagblock.h"
#include "windows1252.h"

#include <QRegularExpression>

namespace {

// The text as an ID3v1 field keeps it and reads it back: characters outside the 8-bit set
// become "?" (a character outside the Basic Multilingual Plane becomes one "?"), the text ends at
// a NUL, the field's width is the limit, and trailing blanks go after the cut, since a cut can
// end on a blank ("Live at the Royal Albert Hall 1971").
QString asId3v1Field(const QString &text, qsizetype width)
{
    QString field = fromWindows1252(toWindows1252(text));
    if (const qsizetype nul = field.indexOf(QChar(0)); nul >= 0)
        field.truncate(nul);
    field.truncate(qMin(field.size(), width));
    qsizetype end = field.size();
    while (end > 0 && field.at(end - 1) == u' ')
        --end;
    field.truncate(end);
    return field;
}

} // namespace

QString genreOfContentType(const QString &contentType)
{
    // "(17)" may be followed by a refinement of the genre, which the number wins over; a bare
    // number must be the whole text ("80s Pop" is a name).
    static const QRegularExpression number(QStringLiteral(R"(^\((\d{1,3})\)|^(\d{1,3})$)"));
    const QString text = contentType.trimmed();
    if (text.isEmpty())
        return QString();
    if (const QRegularExpressionMatch match = number.match(text); match.hasMatch())
        return genreName((match.captured(1) + match.captured(2)).toInt());
    if (const int exact = genreIndex(text); exact >= 0)
        return genreName(exact);
    for (int i = 0; i < kGenreCount; ++i) {
        if (text.compare(QLatin1String(kGenreNames[i]), Qt::CaseInsensitive) == 0)
            return genreName(i);
    }
    return QString();
}

TagValues catalogueValues(const Id3v2Fields &fields)
{
    TagValues values;
    values.title = asId3v1Field(fields.title, TagLayout::kTitleWidth);
    values.artist = asId3v1Field(fields.artist, TagLayout::kArtistWidth);
    values.album = asId3v1Field(fields.album, TagLayout::kAlbumWidth);
    values.year = asId3v1Field(fields.year, TagLayout::kYearWidth);
    values.comment = asId3v1Field(fields.comment, TagLayout::kCommentWidth);
    values.genre = QLatin1String("");
    for (const QString &contentType : fields.contentTypes) {
        if (const QString name = genreOfContentType(contentType); !name.isEmpty()) {
            values.genre = name;
            break;
        }
    }
    return values;
}
