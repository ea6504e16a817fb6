#include "storageinfovolumes.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

DriveType guessType(const QByteArray &fs)
{
    if (fs == "iso9660" || fs == "udf")
        return DriveType::CdRom;
    if (fs == "tmpfs" || fs == "ramfs")
        return DriveType::RamDisk;
    if (fs.startsWith("nfs") || fs == "cifs" || fs == "smb3" || fs.startsWith("fuse.sshfs"))
        return DriveType::Network;
    if (fs == "vfat" || fs == "exfat")
        return DriveType::Removable;
    return DriveType::Fixed;
}

VolumeInfo infoOf(const QStorageInfo &storage)
{
    VolumeInfo v;
    v.mountPoint = storage.rootPath();
    v.label = storage.name();
    v.fileSystemType = QString::fromLatin1(storage.fileSystemType());
    v.device = QString::fromLocal8Bit(storage.device());
    v.type = guessType(storage.fileSystemType());
    v.serial = QString::number(qHash(v.device + u'|' + v.mountPoint) & 0x7fffffff);
    return v;
}

} // namespace

QList<VolumeInfo> StorageInfoVolumes::volumes()
{
    QList<VolumeInfo> result;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        if (storage.isValid() && storage.isReady())
            result << infoOf(storage);
    }
    return result;
}

std::optional<VolumeInfo> StorageInfoVolumes::volumeOf(const QString &path)
{
    QFileInfo info(path);
    while (!info.exists() && !info.absoluteFilePath().isEmpty() && !info.isRoot())
        info = QFileInfo(info.absolutePath());
    const QStorageInfo storage(info.absoluteFilePath());
    if (!storage.isValid())
        return std::nullopt;
    return infoOf(storage);
}
