#pragma once

#include <QString>
#include <QStringList>

namespace Bench {

/// What the MP3 files of a generated collection carry at their end.
enum class Tagging {
    Mixed,      ///< 16 % without a tag, 2 % empty or shorter than a tag, the rest an ID3v1 tag
    MixedId3v2, ///< as Mixed, with every fourth file carrying only an ID3v2 tag instead
    AllId3v1,   ///< every file with an ID3v1 tag
};

/// A generated music collection, shaped like one on a real disk.
struct Collection
{
    QStringList mp3Files; ///< every MP3 file written, in writing order
    qsizetype folders = 0;
    qsizetype id3v1Tagged = 0; ///< files whose last 128 bytes begin with "TAG"
    qsizetype id3v2Only = 0;   ///< files with an ID3v2 tag and no ID3v1 tag
};

/// Writes `files` MP3 files below `root` in artist/album folders of about twelve tracks (842
/// folders for 10,000 files), with ".mp3", ".MP3" and ".Mp3" extensions, accented, quoted and
/// apostrophed names, some read-only files, and companions (cover.jpg, a playlist, notes) that
/// are no MP3 files. Always the same for the same arguments.
Collection writeCollection(const QString &root, qsizetype files, Tagging tagging);

/// Splits a file path into the folder with its closing "/" and the name without extension.
void splitFilePath(const QString &path, QString &folder, QString &baseName);

} // namespace Bench
