#pragma once

#include "catalogue/compattadb.h"

#include <QString>
#include <QStringList>

#include <array>

class CatalogueModel;
struct CatalogueRecord;
class CatalogueStore;
class Dialogs;

/// What the tag editor holds when "Modifica" is clicked.
struct EditorFields
{
    int row = -1; ///< grid row of the edited record
    /// The six text boxes by grid column, Title to Comment: title, artist, album, year, genre
    /// text, comment.
    std::array<QString, 6> texts;
    QString genre;    ///< the genre chooser's text
    qint64 key = 0;   ///< the record key
    QString filePath; ///< the record's file
};

/// Whether a save writes the tag into the MP3 files ("Salva il TAG nel File MP3").
enum class TagWriting { Off, On };

/// What one save did.
struct SaveReport
{
    int recordsUpdated = 0;  ///< records rewritten in the catalogue
    int tagsWritten = 0;     ///< tags written into files
    QStringList tagFailures; ///< why each tag that should have been written was not
    QStringList recordsGone; ///< keys that matched no record
    bool databaseFailed = false;
    int compactions = 0; ///< compactions run (at most one per save)
};

/// The save of the tag editor ("Modifica"), without the window: it writes the edited values into
/// the grid row, the MP3 file's tag (when asked) and the catalogue, then offers to give the same
/// artist, album and genre to every other row of the grid in the same folder.
class TagSaver
{
public:
    /// A saver working on the grid and the catalogue; all three outlive it.
    TagSaver(CatalogueModel &grid, CatalogueStore &store, Dialogs &dialogs);

    /// The hourglass pointer shown while the catalogue is compacted.
    void setBusyPointer(const BusyPointer &busy) { m_busy = busy; }

    /// Saves the edited record of grid row `fields.row` (or of the row that now shows
    /// `fields.key`, when the grid changed meanwhile; with none, nothing is saved and a message
    /// says so), then, when the user answers Yes to the question
    /// ("Modifica TAG Generale" with tags, "Modifica DB Generale" without), every other grid row
    /// whose folder is exactly the edited one and whose file name differs from the edited one:
    /// - grid: the edited row takes the six texts; other rows take the carried artist and album;
    ///   every treated row takes the genre text and, unless its state is "Disco Rimovibile",
    ///   "File Corrotto!", "Solo Lettura" or "CDROM", the state "OK" ("Nessun TAG ID3" when all
    ///   its values are empty);
    /// - tags (TagWriting::On): written with writeTag; the genre byte is the chooser's text in
    ///   the genre table, or 255 ("no genre") for any other text. A
    ///   file that is missing, not a regular file, read-only (owner write bit clear) or fails to
    ///   be written is never created and never stops the pass; its record is still updated;
    /// - catalogue: every treated row through ModificaDB with the state word the grid shows, in
    ///   one transaction, then one compaction.
    /// After the action one message lists the tags not written, one the keys that matched no
    /// record; a failed catalogue write rolls the catalogue and the grid rows back and is
    /// reported once; a failed compaction is reported by CompattaDB.
    SaveReport save(const EditorFields &fields, TagWriting tags);

private:
    struct Pass;
    void saveRow(Pass &pass, int row, SaveReport &report);
    void writeTagOf(const CatalogueRecord &record, const QString &filePath, SaveReport &report);
    void askFolderWide(Pass &pass, const CatalogueRecord &record);
    void writeRecord(Pass &pass, const CatalogueRecord &record, SaveReport &report);
    void reportProblems(const SaveReport &report, const QString &databaseError);

    CatalogueModel &m_grid;
    CatalogueStore &m_store;
    Dialogs &m_dialogs;
    BusyPointer m_busy;
};
