#pragma once

#include "catalogue/compattadb.h"

#include <QStringList>

class CatalogueModel;
class CatalogueStore;
class CollectionCounters;
class Dialogs;

/// What changeReadOnlyFiles did.
struct ReadOnlyChangeResult
{
    int changed = 0;        ///< rows that left the state "Solo Lettura"
    QStringList failures;   ///< one line per row left as it was: the file and why
    bool compacted = false; ///< the catalogue was compacted (once) at the end
};

/// The read-only change ("Cambia Attributi"): for every grid row in the state "Solo Lettura",
/// in grid order, the file (found whatever the letter case of its extension) is made writable by
/// its owner (the owner-write permission bit added, the other bits kept) and its tag marker
/// read: the new state word is "OK" for a tag, "Nessun TAG ID3" for none and "File Corrotto!"
/// for a file that cannot be read (a missing file included, which is never created). The
/// record is rewritten with ModificaDB from the row's values and the new state word.
///
/// The rewrites form one catalogue transaction; after it is committed the rows show their new
/// state words, the counters move from "MP3 solo Lettura" to the new states, and the catalogue
/// is compacted once (CompattaDB). A row whose file cannot be made writable or whose record
/// cannot be rewritten keeps its state and is left out; the run goes on, and every row left out
/// is reported in one critical message at the end. Rows in any other state are not touched.
ReadOnlyChangeResult changeReadOnlyFiles(CatalogueStore &store, CatalogueModel &model,
                                         CollectionCounters &counters, Dialogs &dialogs,
                                         const BusyPointer &busy = {});
