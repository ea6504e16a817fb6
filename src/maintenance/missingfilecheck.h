#pragma once

#include "filelook.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

class CatalogueModel;
class CatalogueStore;

/// The start-up check for catalogue entries whose file was deleted or moved outside the
/// program, and the removal of those entries from the catalogue.
namespace MissingFileCheck {

/// True when the record's file is gone: no regular file folder + name + "." + "mp3" in any
/// letter case exists, and the system says that nothing is at folder + name + ".mp3" (or
/// ".MP3") or that the folder is not there. Something that exists but cannot be read as a file
/// (a folder of that name, a FIFO, a file without read permission, a link loop) counts as
/// present, and so does a name the system cannot look up for any other reason.
bool isMissing(const QString &folder, const QString &name);

/// The second half of isMissing, for a record whose findRecordFile found nothing: true when the
/// system says that nothing is at folder + name + ".mp3" nor ".MP3".
bool nothingThere(const QString &folder, const QString &name);

/// One file of the missing-file list: the key of its record and its full name.
struct MissingEntry
{
    qint64 key = 0;
    QString fullName; ///< folder + name + ".mp3"

    /// The text the list shows: the full name, "(***", the key and "***)", without blanks.
    QString text() const;

    friend bool operator==(const MissingEntry &, const MissingEntry &) = default;
};

/// The entries of the rows whose look (one per grid row, in grid order, see lookAtRow) found the
/// file missing (isMissing), in grid order. Rows in the state "CDROM" or "Disco Rimovibile" and
/// rows without a key are not checked.
QList<MissingEntry> missingEntries(const CatalogueModel &model, const std::vector<FileLook> &looks);

/// What deleteEntries did.
struct PurgeResult
{
    int deleted = 0;      ///< records deleted
    QStringList failures; ///< one line per entry that was not deleted: its text and why
};

/// Deletes the record of every entry, by its key, in one catalogue transaction. An entry is
/// deleted only while the record of its key is still the file the entry names; an entry that
/// fails (no record, another file, a catalogue error) is listed with its reason and the others
/// go on. When the transaction cannot be committed
/// nothing is deleted and every entry is listed. No file is touched.
PurgeResult deleteEntries(CatalogueStore &store, const QList<MissingEntry> &entries);

} // namespace MissingFileCheck
