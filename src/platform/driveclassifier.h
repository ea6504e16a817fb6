#pragma once

#include "blockdevice.h"
#include "volumes.h"

#include <QString>

#include <optional>

/// Which kind of drive a mount lies on, and which mounts are worth offering as drives.
namespace DriveClassifier {

/// The type of a mount from its file system type and, when it sits on a block device, what
/// sysfs says about the disk. RAM file systems and zram give RamDisk; network file systems
/// Network; CD file systems, "sr" disks and SCSI type 5 CdRom; a removable disk, a disk on
/// USB or an SD card Removable; any other disk, and overlay, zfs and btrfs, Fixed; the rest
/// Unknown.
DriveType classify(const QString &fileSystemType, const std::optional<BlockDevice> &disk);

/// True for network file system types (nfs, cifs, sshfs …).
bool isNetworkFileSystem(const QString &fileSystemType);

/// True for the kernel's pseudo file systems (proc, sysfs, cgroup …), never offered as drives.
bool isPseudoFileSystem(const QString &fileSystemType);

/// True for mount points under /proc, /sys, /dev, /run (except /run/media) and /snap, which
/// belong to the system rather than to the user.
bool isSystemMountPoint(const QString &mountPoint);

} // namespace DriveClassifier
