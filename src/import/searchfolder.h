#pragma once

#include <QString>
#include <QStringList>

#include <functional>

/// How a disk search ended.
enum class SearchEnd {
    Completed, ///< every folder was searched
    Cancelled, ///< the search was stopped at a folder it entered
    ListFull,  ///< a file was found when the found list already held its limit
};

/// The most entries the found list of the disk search holds.
inline constexpr qsizetype kFoundListLimit = 1'000'000;

/// What a disk search looks at.
struct SearchOptions
{
    bool includeSubfolders = false; ///< search every folder below the starting one too
    qsizetype limit = kFoundListLimit;
};

/// Called at every folder the search enters, before the folder is read, with its path; the
/// search goes on while it returns true. The disk search window lets pending events through
/// here, which is how its cancel button reaches the search.
using FolderEntered = std::function<bool(const QString &folder)>;

/// The disk search (SearchFolder): appends to `found` the full names (see entryPath) of the MP3
/// files in `folder` and, with `includeSubfolders`, in every folder below it, in this order:
/// depth first; the subfolders of a folder visited from the last of its sorted listing to the
/// first; a folder's own files after those of all its subfolders, in listing order (see
/// listFolder).
///
/// A folder that cannot be read is skipped and the search goes on. Symbolic links to folders
/// are not followed. MP3 files and folders whose names are not valid UTF-8 are left out (a
/// record could not lead back to them): when `leftOut` is given, each is appended to it, as
/// listFolder shows it, folders with a closing "/" (and only when subfolders are searched).
/// When `folderEntered` returns false, or a file is found while `found` already holds `limit`
/// entries, the search stops at once: the folder being entered and the folders above it list
/// nothing more, and what was found before stays in `found`.
SearchEnd SearchFolder(const QString &folder, const SearchOptions &options, QStringList &found,
                       const FolderEntered &folderEntered = {}, QStringList *leftOut = nullptr);

/// The Italian message that lists the names a search left out (see SearchFolder) and says why,
/// so that the user can rename them; empty when there are none.
QString leftOutReport(const QStringList &leftOut);
