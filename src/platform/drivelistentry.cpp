#include "drivelistentry.h"

namespace {

const QString kOpen = QStringLiteral(" [");

// Where the bracketed label starts, or -1 when the entry has none.
qsizetype labelStart(const QString &entry)
{
    if (!entry.endsWith(u']'))
        return -1;
    return entry.lastIndexOf(kOpen, entry.size() - 1);
}

} // namespace

namespace DriveListEntry {

QString text(const VolumeInfo &volume)
{
    if (volume.label.isEmpty())
        return volume.mountPoint;
    return volume.mountPoint + kOpen + volume.label + u']';
}

QString label(const QString &entry)
{
    const qsizetype start = labelStart(entry);
    if (start < 0)
        return {};
    const qsizetype first = start + kOpen.size();
    return entry.mid(first, entry.size() - 1 - first);
}

QString mountPoint(const QString &entry)
{
    const qsizetype start = labelStart(entry);
    return start < 0 ? entry : entry.left(start);
}

} // namespace DriveListEntry
