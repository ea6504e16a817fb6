#pragma once

#include "drivetable.h"
#include "platform/volumes.h"
#include "tags/tagvalues.h"

#include <QString>

#include <optional>

/// The state word of a file about to be catalogued, chosen in three steps, each later step
/// replacing the word of an earlier one:
/// 1. from the tag read: Unreadable gives "File Corrotto!", Absent "Nessun TAG ID3", Present
///    "OK";
/// 2. unless "File Corrotto!": a file whose owner-write permission bit is cleared gives
///    "Solo Lettura" (the mode bits, not whether the current user may write: root may write
///    anything);
/// 3. unless "File Corrotto!": when the volume holding the file (`volumes.volumeOf(path)`) has
///    exactly the mount point of a drive table entry of type Removable or CdRom (a
///    case-sensitive comparison), the entry's type name ("Disco Rimovibile" or "CDROM"); with
///    several such entries the last one wins. Entries of fixed drives change nothing, so files on
///    hard disks keep their word.
///
/// The file is only looked at for its permission bits; a file that does not exist keeps the
/// word of step 1. `volumes` is asked only when the table holds a removable or CD entry and the
/// file is readable. Never fails.
QString classifyFile(const QString &path, TagOutcome outcome, const DriveTable &driveTable,
                     Volumes &volumes);

// The steps of classifyFile one by one, for a caller that has already looked at the file.

/// Steps 1 and 2: the word of the tag read, "Solo Lettura" instead when the file exists and its
/// owner-write bit is cleared (`ownerWritable` false; nullopt for a file that does not exist).
QString tagAndModeWord(TagOutcome outcome, std::optional<bool> ownerWritable);
/// True when the table holds an entry of type "Disco Rimovibile" or "CDROM": only then can
/// step 3 change a word.
bool hasMediumEntry(const DriveTable &driveTable);
/// Step 3: `word`, or the type name of the last removable or CD entry of the table whose mount
/// point is `mountPoint`.
QString mediumWord(const QString &word, const DriveTable &driveTable, const QString &mountPoint);
