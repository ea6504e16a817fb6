#include "drivetable.h"

#include "inspectiontexts.h"

QString driveTypeName(DriveType type)
{
    const int code = static_cast<int>(type);
    if (code < 0 || code >= InspectionTexts::kDriveTypeCount)
        return QString::fromLatin1(InspectionTexts::kDriveTypeNames[0]);
    return QString::fromLatin1(InspectionTexts::kDriveTypeNames[code]);
}

QStringList buildDriveTable(const QList<VolumeInfo> &volumesInDriveListOrder)
{
    QStringList table;
    for (const VolumeInfo &volume : volumesInDriveListOrder) {
        switch (volume.type) {
        case DriveType::Removable:
        case DriveType::Fixed:
        case DriveType::CdRom:
            table << volume.mountPoint + QLatin1Char(InspectionTexts::kDriveTableSeparator) +
                         driveTypeName(volume.type);
            break;
        default:
            break;
        }
    }
    return table;
}

QString driveTableEntryTypeName(const QString &entry)
{
    const qsizetype separator =
        entry.lastIndexOf(QLatin1Char(InspectionTexts::kDriveTableSeparator));
    return separator < 0 ? QString() : entry.mid(separator + 1);
}

QString driveTableEntryMountPoint(const QString &entry)
{
    const qsizetype separator =
        entry.lastIndexOf(QLatin1Char(InspectionTexts::kDriveTableSeparator));
    return separator < 0 ? entry : entry.left(separator);
}
