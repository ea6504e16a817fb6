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

QString tagAndModeWord(TagOutcome outcome, std::optional<bool> ownerWritable)
{
    if (outcome != TagOutcome::Unreadable && ownerWritable == false)
        return QString::fromLatin1(StateWords::kReadOnly);
    return tagStateWord(outcome);
}

bool hasMediumEntry(const DriveTable &driveTable)
{
    return std::any_of(driveTable.cbegin(), driveTable.cend(), isRemovableOrCdRom);
}

QString mediumWord(const QString &word, const DriveTable &driveTable, const QString &mountPoint)
{
    QString result = word;
    for (const DriveTableEntry &entry : driveTable) {
        if (isRemovableOrCdRom(entry) && entry.mountPoint == mountPoint)
            result = driveTypeName(entry.type);
    }
    return result;
}

QString classifyFile(const QString &path, TagOutcome outcome, const DriveTable &driveTable,
                     Volumes &volumes)
{
    if (outcome == TagOutcome::Unreadable)
        return tagStateWord(outcome);

    const QFileInfo info(path);
    const QString word = tagAndModeWord(
        outcome, info.exists() ? std::optional(info.permission(QFile::WriteOwner)) : std::nullopt);

    // Most machines have only fixed drives in the table; looking up the volume of a path reads
    // the mount table, so it is skipped when no entry could change the word.
    if (!hasMediumEntry(driveTable))
        return word;
    const std::optional<VolumeInfo> volume = volumes.volumeOf(path);
    return volume ? mediumWord(word, driveTable, volume->mountPoint) : word;
}
