#pragma once

#include <QString>
#include <QStringList>

/// What the disk search sees in one folder.
struct FolderListing
{
    bool readable = false;  ///< false when the folder could not be opened or read to its end
    QStringList subfolders; ///< names of the real subfolders (never symbolic links)
    QStringList mp3Files;   ///< names of the MP3 files: regular files and symbolic links that
                            ///< do not lead to a folder (a dangling link included)
    /// Subfolders and MP3 files whose names are not valid UTF-8, left out of the lists above:
    /// as text they would not lead back to their file. Each is written as it can be shown,
    /// every byte that cannot be shown as "\xNN" (two lower-case hexadecimal digits).
    QStringList undecodableSubfolders;
    QStringList undecodableMp3Files;
};

/// Lists a folder: its subfolders and its MP3 files by name, each list sorted by name ignoring
/// case (names equal but for case in exact text order). Hidden entries, whose names start with
/// ".", are left out, and so are devices, pipes and sockets; names that are not valid UTF-8 go
/// to the lists of undecodable names instead. An unreadable folder gives `readable` false and
/// empty lists.
FolderListing listFolder(const QString &folder);

/// The full name of an entry of a folder: folder + "/" + name, with no doubled "/" when the
/// folder already ends with one (the root "/").
QString entryPath(const QString &folder, const QString &name);
