#include "fileclassifier.h"

#include "drivetable.h"
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

bool isRemovableOrCdRom(const QString &typeName)
{
    return typeName == QLatin1String(StateWords::kRemovable) ||
           typeName == QLatin1String(StateWords::kCdRom);
}

} // namespace

QString tagAndModeWord(TagOutcome outcome, std::optional<bool> ownerWritable)
{
    if (outcome != TagOutcome::Unreadable && ownerWritable == false)
        return QString::fromLatin1(StateWords::kReadOnly);
    return tagStateWord(outcome);
}

bool hasMediumEntry(const QStringList &driveTable)
{
    return std::any_of(driveTable.cbegin(), driveTable.cend(), [](const QString &entry) {
        return isRemovableOrCdRom(driveTableEntryTypeName(entry));
    });
}

QString mediumWord(const QString &word, const QStringList &driveTable, const QString &mountPoint)
{
    QString result = word;
    for (const QString &entry : driveTable) {
        const QString typeName = driveTableEntryTypeName(entry);
        if (isRemovableOrCdRom(typeName) && driveTableEntryMountPoint(entry) == mountPoint)
            result = typeName;
    }
    return result;
}

QString classifyFile(const QString &path, TagOutcome outcome, const QStringList &driveTable,
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
