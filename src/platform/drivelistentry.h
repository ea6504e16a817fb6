#pragma once

#include "volumes.h"

#include <QString>

/// The text of a volume in the drive list, and what can be read back from it.
namespace DriveListEntry {

/// The mount point, followed by " [" + label + "]" when the volume has a label:
/// "/media/usb [MUSICA]", or "/" alone.
QString text(const VolumeInfo &volume);

/// The label of an entry: the text between its last " [" and the "]" that ends it; empty when
/// the entry does not end that way.
QString label(const QString &entry);

/// The mount point of an entry: the text before its last " [" when the entry ends with a
/// bracketed label, else the whole entry.
QString mountPoint(const QString &entry);

} // namespace DriveListEntry
