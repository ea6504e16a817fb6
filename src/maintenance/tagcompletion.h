#pragma once

#include "filelook.h"

#include "catalogue/compattadb.h"

#include <QString>
#include <QStringList>

#include <vector>

class CatalogueModel;
class CatalogueStore;
class Dialogs;

/// What CompleteMissingTags did.
struct CompletionResult
{
    int completed = 0;      ///< files that received a tag block
    QStringList failures;   ///< one line per file left out by a failure: the file and why
    bool compacted = false; ///< the catalogue was compacted (once) at the end
};

/// The start-up tag completion: gives every catalogued file without a tag block a block made
/// from its grid row. For every row not in the state "Solo Lettura", "CDROM" or
/// "Disco Rimovibile", in grid order:
/// 1. the file (found whatever the letter case of its extension) is made writable by its owner
///    when its owner-write permission bit is cleared, whether it has a tag or not;
/// 2. a file of fewer than 128 bytes (an empty one included) is left as it is, and so is one
///    whose last 128 bytes begin with "TAG";
/// 3. otherwise its record is rewritten with ModificaDB from the row's values, then the block of
///    the row's title, artist, album, year and comment with genreByteOf() its genre (255,
///    "no genre", for an empty or unknown one) is appended to the file.
/// A file that fails at any step is listed and left, and the pass goes on with the next row.
/// The rewrites form one catalogue transaction, followed by one compaction (CompattaDB, which
/// reports its own failure through `dialogs`) when at least one record was rewritten. The grid
/// is not changed, state words included. Nothing else is shown.
/// `looks` holds one look per grid row, in grid order (lookAtRows with LookFor::Tag or
/// LookFor::Both), taken before any file was written; a file behind two records is looked at
/// again after its first write.
CompletionResult CompleteMissingTags(CatalogueStore &store, const CatalogueModel &model,
                                     Dialogs &dialogs, const BusyPointer &busy,
                                     std::vector<FileLook> looks);
