#pragma once

#include <QString>

class CatalogueModel;
class CatalogueStore;
class CollectionCounters;
class Dialogs;

/// The delete command of the grid: removes one catalogue entry (its record, its grid row and its
/// place in the counters) and, on request, its MP3 file.
class EntryDeletion
{
public:
    /// Whether the user is asked before the delete ("Senza Conferma" unticked) or not.
    enum class Confirmation { Ask, Skip };
    /// Whether the file goes too ("Cancella anche il File" ticked) or stays.
    enum class FileAction { KeepFile, DeleteFile };
    /// How a delete ended.
    enum class Outcome {
        NoRow,    ///< the row is not a grid row; nothing happened
        Refused,  ///< the file may not be deleted (read-only, CD, removable); message shown
        Declined, ///< the user answered No
        Deleted,  ///< record, row and (when asked) file are gone; the counters went down
        Failed,   ///< the file or the record could not be deleted; message shown
    };

    /// A delete over the grid and the catalogue shown in it. All of them outlive the object.
    EntryDeletion(CatalogueStore &store, CatalogueModel &model, CollectionCounters &counters,
                  Dialogs &dialogs);

    /// Deletes the entry of grid row `row`:
    /// 1. with DeleteFile, a row in the state "Solo Lettura", "CDROM" or "Disco Rimovibile" is
    ///    refused with its critical message titled "Info";
    /// 2. with Ask, the question "Sei sicuro di voler cancellare?" titled "Cancellazione MP3";
    ///    No ends the delete;
    /// 3. the record of the row's key is deleted and, with DeleteFile, the file (found whatever
    ///    the letter case of its extension); both in one catalogue transaction, so a file that
    ///    cannot be deleted keeps its record. A file that is already gone holds nothing back;
    /// 4. only when that succeeded: the row leaves the grid and the counters go down by the
    ///    row's state word.
    /// A row without a key has no record: only the row (and the file) go. Every failure is
    /// reported with a critical message and leaves grid, counters and catalogue as they were.
    Outcome deleteRow(int row, Confirmation confirmation, FileAction fileAction);

private:
    bool refused(const QString &stateWord);

    CatalogueStore &m_store;
    CatalogueModel &m_model;
    CollectionCounters &m_counters;
    Dialogs &m_dialogs;
};
