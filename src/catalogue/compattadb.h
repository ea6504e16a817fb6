#pragma once

#include <QString>

#include <functional>

class CatalogueStore;
class Dialogs;

/// File name of the work file a compaction writes beside the catalogue (beside a link's target
/// of another name, that name, ".", and this).
inline constexpr char kCompactionWorkFile[] = "Temp.mdb";

/// The result of a compaction: success, or an Italian text saying why it failed.
struct CompactionResult
{
    QString errorText; ///< empty on success
    bool ok() const { return errorText.isEmpty(); }
};

/// Puts the finished work file in place of the catalogue: `from` and `to` are full paths in the
/// same folder. True on success; on failure false with the system's reason in `reason`, and
/// `to` untouched.
using ReplaceFile = std::function<bool(const QString &from, const QString &to, QString &reason)>;
/// Flushes a file, or a folder, to disk; 0 on success, else the error number.
using FlushFile = std::function<int(const QString &path)>;

/// rename(2): the default ReplaceFile.
bool renameIntoPlace(const QString &from, const QString &to, QString &reason);
/// fsync(2) of a file or a folder opened read-only: the default FlushFile.
int flushToDisk(const QString &path);

/// The steps of a compaction that reach the disk. An empty member does the default; tests fill
/// them to watch the order of the steps or to make one fail.
struct CompactionFiles
{
    ReplaceFile replace;
    FlushFile flush;
};

/// The hourglass pointer around a compaction: the window layer fills both; an empty one does
/// nothing.
struct BusyPointer
{
    std::function<void()> show;
    std::function<void()> restore;
};

/// Compacts the catalogue of the open `store` (outside any Transaction). When the catalogue is a
/// symbolic link, its final target is compacted and the link stays as it is. Steps:
/// 1. removes a work file "Temp.mdb" (see kCompactionWorkFile) left beside the catalogue by an
///    interrupted compaction;
/// 2. writes a compacted copy of the catalogue to that work file, gives it the catalogue's
///    owner, group and permission bits, flushes it to disk, and checks it as open() checks a
///    catalogue;
/// 3. closes the store's connection, renames the work file over the catalogue, flushes the
///    folder, and opens the store again.
/// At every instant the catalogue file is either the old one or the complete compacted one. On
/// failure (a copy that fails its check or cannot take the owner included) the catalogue is
/// left as it was, no work file is left behind, the store is open again on the catalogue
/// whenever that is possible, and the result says why.
CompactionResult compactCatalogue(CatalogueStore &store, const CompactionFiles &files = {});

/// CompattaDB: compactCatalogue with the busy pointer shown while it works. A failure is shown
/// with a critical message titled "Service": "Errore durante il tentativo di compattazione del
/// database: ", the reason and ".". True on success.
bool CompattaDB(CatalogueStore &store, Dialogs &dialogs, const BusyPointer &busy = {},
                const CompactionFiles &files = {});
