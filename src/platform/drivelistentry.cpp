#include "drivelistentry.h"

namespace DriveListEntry {

QString text(const VolumeInfo &volume)
{
    if (volume.label.isEmpty())
        return volume.mountPoint;
    return volume.mountPoint + QStringLiteral(" [") + volume.label + u']';
}

} // namespace DriveListEntry
