#pragma once

#include "volumes.h"

#include <QString>

/// The text of a volume in the drive list.
namespace DriveListEntry {

/// The mount point, followed by " [" + label + "]" when the volume has a label:
/// "/media/usb [MUSICA]", or "/" alone.
QString text(const VolumeInfo &volume);

} // namespace DriveListEntry
