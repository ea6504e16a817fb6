#pragma once

#include "platform/volumes.h"

#include <QList>
#include <QString>
#include <QStringList>

// The drive table: one text entry "<mount point>=<type name>" per removable, fixed or CD drive,
// built once at start-up and read by every file classification.

/// The name of a drive type ("Sconosciuta", "Disco Rimovibile", "Fissa", "Rete", "CDROM",
/// "Disco RAM"). A value outside the six codes gives "Sconosciuta".
QString driveTypeName(DriveType type);

/// The drive table of the given volumes, in their order (the order of the drive list): an entry
/// mount point + "=" + type name for each volume of type Removable, Fixed or CdRom; volumes of
/// the other types are left out.
QStringList buildDriveTable(const QList<VolumeInfo> &volumesInDriveListOrder);

/// The type name of a drive table entry: its text after the last "=". A mount point may itself
/// contain "=", a type name never does, so the last one is the separator. Empty when the entry
/// has no "=".
QString driveTableEntryTypeName(const QString &entry);

/// The mount point of a drive table entry: its text before the last "=". The whole entry when it
/// has no "=".
QString driveTableEntryMountPoint(const QString &entry);
