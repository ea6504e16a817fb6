#pragma once

#include "tagvalues.h"

#include <QString>
#include <QStringList>

#include <optional>

/// Whether an import reads the ID3v2 tag of a file that has no ID3v1 tag.
enum class Id3v2Fallback {
    Off, ///< ID3v1 tags only
    On,  ///< a file without an ID3v1 tag takes its values from its ID3v2 tag, if it has one
};

/// The texts of an ID3v2 tag's frames, as the tag holds them.
struct Id3v2Fields
{
    QString title;            ///< TIT2 (TT2 in version 2.2)
    QString artist;           ///< TPE1
    QString album;            ///< TALB
    QString year;             ///< TDRC, or TYER in versions 2.2 and 2.3 ("2004", "2004-05-12")
    QString comment;          ///< the first COMM frame, preferably one without a description
    QStringList contentTypes; ///< the values of TCON: names, "17", "(17)" or "(17)Rock"
};

/// Reads the ID3v2 tag at the start of an MP3 file. The import asks it only for files without an
/// ID3v1 tag, and only when the user has asked for it.
class Id3v2Reader
{
public:
    virtual ~Id3v2Reader() = default;
    /// The frame texts of the ID3v2 tag (version 2.2, 2.3 or 2.4) of the file at `path`; nothing
    /// when the file has no ID3v2 tag or cannot be read. Never writes to the file.
    virtual std::optional<Id3v2Fields> read(const QString &path) const = 0;
};

/// The catalogue's values of an ID3v2 tag, as an ID3v1 tag would hold them: title, artist, album
/// and comment cut to 30 characters and the year to 4, each ending at a NUL and without trailing
/// blanks after the cut, every character outside Windows-1252 written as "?", and the genre the
/// first content type that names one of the 148 genres (see `genreOfContentType`), otherwise empty.
TagValues catalogueValues(const Id3v2Fields &fields);

/// The genre name of one ID3v2 content type: a genre number ("17", "(17)", "(17)Rock": the
/// number counts) from 0 to 147 gives its name; a text gives the genre of that name, compared
/// exactly and then without regard to letter case. Anything else gives an empty string.
QString genreOfContentType(const QString &contentType);
