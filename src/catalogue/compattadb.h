#pragma once

#include <QString>

#include <functional>

class CatalogueStore;
class Dialogs;

/// File name of the work file a compaction writes beside the catalogue.
inline constexpr char kCompactionWorkFile[] = "Temp.mdb";

/// The result of a compaction: success, or an Italian text saying why it failed.
struct CompactionResult
{
    QString errorText; ///< empty on success
    bool ok() const { return errorText.isEmpty(); }
};

/// Puts the finished work file in place of the catalogue: `from` and `to` are full paths in the
/// same folder. True on success; on failure false with the system's reason in `reason`, and
/// `to` untouched. The default is rename(2); tests pass one that fails.
using ReplaceFile = std::function<bool(const QString &from, const QString &to, QString &reason)>;

/// The hourglass pointer around a compaction: the window layer fills both; an empty one does
/// nothing.
struct BusyPointer
{
    std::function<void()> show;
    std::function<void()> restore;
};

/// Compacts the catalogue of the open `store` (outside any Transaction):
/// 1. removes a work file "Temp.mdb" left beside the catalogue by an interrupted compaction;
/// 2. writes a compacted copy of the catalogue to that work file and flushes it to disk;
/// 3. closes the store's connection, renames the work file over the catalogue, flushes the
///    folder, and opens the store again.
/// At every instant the catalogue file is either the old one or the complete compacted one. On
/// failure the catalogue is left as it was, no work file is left behind, the store is open
/// again on the catalogue whenever that is possible, and the result says why.
CompactionResult compactCatalogue(CatalogueStore &store, const ReplaceFile &replace = {});

/// CompattaDB: compactCatalogue with the busy pointer shown while it works. A failure is shown
/// with a critical message titled "Service": "Errore durante il tentativo di compattazione del
/// database: ", the reason and ".". True on success.
bool CompattaDB(CatalogueStore &store, Dialogs &dialogs, const BusyPointer &busy = {},
                const ReplaceFile &replace = {});
