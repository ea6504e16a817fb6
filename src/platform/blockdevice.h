#pragma once

#include <QString>

#include <optional>

/// What sysfs tells about the disk under a block device: a partition is resolved to the disk it
/// belongs to. Paths are read below a root folder, "/" on a running system.
struct BlockDevice
{
    QString name;           ///< the device's own kernel name, e.g. "sdb1"
    QString diskName;       ///< the whole disk, e.g. "sdb"; equal to name for a disk
    QString sysPath;        ///< the disk's folder under /sys/devices, relative to the root
    bool removable = false; ///< the disk's "removable" attribute is 1
    QString deviceType;  ///< the disk's "device/type": "5" for a SCSI CD-ROM, "SD" for an SD card
    QString backingFile; ///< for a loop device, the file behind it; empty otherwise

    /// The device with number major:minor, through `<root>/sys/dev/block/MAJ:MIN`; nullopt when
    /// sysfs has no such block device.
    static std::optional<BlockDevice> fromNumber(const QString &root, quint32 major, quint32 minor);

    /// The block device a device file such as "/dev/sdb1" or "/dev/mapper/x" stands for: the
    /// number of the device node when it is one, else the kernel name the path resolves to,
    /// looked up in `<root>/sys/class/block`. nullopt when neither works.
    static std::optional<BlockDevice> fromDeviceFile(const QString &root, const QString &path);

    /// True when the disk hangs from a USB bus, whatever its "removable" flag says.
    bool isOnUsb() const;
};

/// The part of a canonical path below the canonical form of `root`, as an absolute path ("/"
/// for the root itself); empty when the path lies outside the root.
QString belowRoot(const QString &root, const QString &canonical);
