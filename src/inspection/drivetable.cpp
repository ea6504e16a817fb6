#include "drivetable.h"

#include "inspectiontexts.h"

QString driveTypeName(DriveType type)
{
    const int code = static_cast<int>(type);
    if (code < 0 || code >= InspectionTexts::kDriveTypeCount)
        return QString::fromLatin1(InspectionTexts::kDriveTypeNames[0]);
    return QString::fromLatin1(InspectionTexts::kDriveTypeNames[code]);
}

QString DriveTableEntry::text() const
{
    return mountPoint + QLatin1Char(InspectionTexts::kDriveTableSeparator) + driveTypeName(type);
}

DriveTable buildDriveTable(const QList<VolumeInfo> &volumesInDriveListOrder)
{
    DriveTable table;
    for (const VolumeInfo &volume : volumesInDriveListOrder) {
        switch (volume.type) {
        case DriveType::Removable:
        case DriveType::Fixed:
        case DriveType::CdRom:
            table << DriveTableEntry{volume.mountPoint, volume.type};
            break;
        default:
            break;
        }
    }
    return table;
}
