#pragma once

#include <QString>
#include <QStringList>

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

/// The list entry of a missing file: its full name, "(***", the key and "***)", without blanks.
QString entryText(const QString &fullName, const QString &key);

/// The key read back from a list entry by a scan from its first character to its last: a
/// "(***" switches the reading on and skips the marker, a "***)" met while reading switches it
/// off and skips the marker, and while reading every character is taken. For an entry made by
/// entryText() from a name without these marks this is the key; without any "(***" it is empty.
QString keyOfEntry(const QString &entry);

/// The entries of every grid row whose file is missing (isMissing), in grid order. Rows in the
/// state "CDROM" or "Disco Rimovibile" and rows without a key are not checked. The full name is
/// folder + name + ".mp3".
QStringList findMissing(const CatalogueModel &model);

/// What deleteEntries did.
struct PurgeResult
{
    int deleted = 0;      ///< records deleted
    QStringList failures; ///< one line per entry that was not deleted: the entry and why
};

/// Deletes the record of every entry, by the key read back with keyOfEntry(), in one catalogue
/// transaction. An entry is deleted only while the record of its key is still the file the
/// entry names; an entry that fails (no key, no record, another file, a catalogue error) is
/// listed with its reason and the others go on. When the transaction cannot be committed
/// nothing is deleted and every entry is listed. No file is touched.
PurgeResult deleteEntries(CatalogueStore &store, const QStringList &entries);

} // namespace MissingFileCheck
