#pragma once

#include "platform/volumes.h"

#include <QList>
#include <QString>

// The drive table: one entry per removable, fixed or CD drive, built once at start-up and read
// by every file classification.

/// The name of a drive type ("Sconosciuta", "Disco Rimovibile", "Fissa", "Rete", "CDROM",
/// "Disco RAM"). A value outside the six codes gives "Sconosciuta".
QString driveTypeName(DriveType type);

/// One drive of the drive table.
struct DriveTableEntry
{
    QString mountPoint;
    DriveType type = DriveType::Unknown;

    /// The entry as the hidden drive list shows it: mount point + "=" + type name.
    QString text() const;

    friend bool operator==(const DriveTableEntry &, const DriveTableEntry &) = default;
};

using DriveTable = QList<DriveTableEntry>;

/// The drive table of the given volumes, in their order (the order of the drive list): an entry
/// for each volume of type Removable, Fixed or CdRom; volumes of the other types are left out.
DriveTable buildDriveTable(const QList<VolumeInfo> &volumesInDriveListOrder);
