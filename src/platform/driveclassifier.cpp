#include "driveclassifier.h"

#include "mounttable.h"

#include <QStringList>

namespace {

bool isOneOf(const QString &value, std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        if (value == QLatin1String(name))
            return true;
    }
    return false;
}

bool isRamFileSystem(const QString &type)
{
    return isOneOf(type, {"tmpfs", "ramfs"});
}

bool isCdFileSystem(const QString &type)
{
    return isOneOf(type, {"iso9660", "udf"});
}

bool isRamDisk(const BlockDevice &disk)
{
    // zram, and the "ram" disks of the brd driver.
    return disk.diskName.startsWith(QLatin1String("zram")) ||
           (disk.diskName.startsWith(QLatin1String("ram")) && disk.diskName.size() > 3 &&
            disk.diskName.at(3).isDigit());
}

bool isCdDrive(const BlockDevice &disk)
{
    return (disk.diskName.startsWith(QLatin1String("sr")) && disk.diskName.size() > 2 &&
            disk.diskName.at(2).isDigit()) ||
           disk.deviceType == QLatin1String("5");
}

bool isRemovableDisk(const BlockDevice &disk)
{
    if (disk.removable || disk.isOnUsb())
        return true;
    // A card in an SD/MMC slot; "MMC" is soldered-on eMMC storage, which stays fixed.
    return disk.diskName.startsWith(QLatin1String("mmcblk")) &&
           disk.deviceType != QLatin1String("MMC");
}

} // namespace

namespace DriveClassifier {

DriveType classify(const QString &fileSystemType, const std::optional<BlockDevice> &disk)
{
    if (isRamFileSystem(fileSystemType) || (disk && isRamDisk(*disk)))
        return DriveType::RamDisk;
    if (isNetworkFileSystem(fileSystemType))
        return DriveType::Network;
    if (isCdFileSystem(fileSystemType) || (disk && isCdDrive(*disk)))
        return DriveType::CdRom;
    if (disk)
        return isRemovableDisk(*disk) ? DriveType::Removable : DriveType::Fixed;
    if (isOneOf(fileSystemType, {"overlay", "zfs", "btrfs"}))
        return DriveType::Fixed;
    return DriveType::Unknown;
}

bool isNetworkFileSystem(const QString &fileSystemType)
{
    return isOneOf(fileSystemType, {"nfs", "nfs4", "cifs", "smb3", "smbfs", "9p", "ceph",
                                    "glusterfs", "davfs", "fuse.sshfs", "fuse.rclone"});
}

bool isPseudoFileSystem(const QString &fileSystemType)
{
    return isOneOf(fileSystemType,
                   {"proc",      "sysfs",       "devtmpfs",        "devpts",      "cgroup",
                    "cgroup2",   "securityfs",  "debugfs",         "tracefs",     "pstore",
                    "bpf",       "mqueue",      "hugetlbfs",       "configfs",    "fusectl",
                    "autofs",    "binfmt_misc", "efivarfs",        "rpc_pipefs",  "nsfs",
                    "selinuxfs", "nfsd",        "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs"});
}

bool isSystemMountPoint(const QString &mountPoint)
{
    if (MountTable::holds(QStringLiteral("/run/media"), mountPoint))
        return false;
    for (const char *folder : {"/proc", "/sys", "/dev", "/run", "/snap"}) {
        if (MountTable::holds(QLatin1String(folder), mountPoint))
            return true;
    }
    return false;
}

} // namespace DriveClassifier
