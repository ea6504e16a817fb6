#include "fileclassifier.h"

#include "statewords.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace {

QString tagStateWord(TagOutcome outcome)
{
    switch (outcome) {
    case TagOutcome::Present:
        return QString::fromLatin1(StateWords::kOk);
    case TagOutcome::Absent:
        return QString::fromLatin1(StateWords::kNoTag);
    case TagOutcome::Unreadable:
        break;
    }
    return QString::fromLatin1(StateWords::kCorrupt);
}

bool isRemovableOrCdRom(const DriveTableEntry &entry)
{
    return entry.type == DriveType::Removable || entry.type == DriveType::CdRom;
}

} // namespace

QString classifyFile(const QString &path, TagOutcome outcome, const DriveTable &driveTable,
                     Volumes &volumes)
{
    QString word = tagStateWord(outcome);
    if (outcome == TagOutcome::Unreadable)
        return word;

    const QFileInfo info(path);
    if (info.exists() && !info.permission(QFile::WriteOwner))
        word = QString::fromLatin1(StateWords::kReadOnly);

    // Most machines have only fixed drives in the table; looking up the volume of a path reads
    // the mount table, so it is skipped when no entry could change the word.
    const bool anyMediumEntry =
        std::any_of(driveTable.cbegin(), driveTable.cend(), isRemovableOrCdRom);
    if (!anyMediumEntry)
        return word;

    const std::optional<VolumeInfo> volume = volumes.volumeOf(path);
    if (!volume)
        return word;
    for (const DriveTableEntry &entry : driveTable) {
        if (isRemovableOrCdRom(entry) && entry.mountPoint == volume->mountPoint)
            word = driveTypeName(entry.type);
    }
    return word;
}
