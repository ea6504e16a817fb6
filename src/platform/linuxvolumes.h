#pragma once

#include "blockdevice.h"
#include "mounttable.h"
#include "volumes.h"
#include "volumeserial.h"

#include <QHash>
#include <QSet>

#include <utility>

/// The volumes of a Linux machine, read from the mount table, sysfs and the file system
/// signatures themselves. Every file is read below a root folder: "/" on a running system, a
/// fixture tree in tests (with proc/self/mountinfo, sys/dev/block, sys/class/block and
/// dev/disk inside it); paths given to and returned by this class are as seen from the root.
///
/// Volume data are cached per mount and the file system probe per device, until the mount
/// table changes, so asking for the volume of many files in a row is cheap.
class LinuxVolumes : public Volumes
{
public:
    explicit LinuxVolumes(const QString &root = QStringLiteral("/"));
    ~LinuxVolumes() override;
    LinuxVolumes(const LinuxVolumes &) = delete;
    LinuxVolumes &operator=(const LinuxVolumes &) = delete;

    /// The user's volumes sorted by mount point, leaving out pseudo file systems and mounts
    /// under /proc, /sys, /dev, /run (except /run/media) and /snap.
    QList<VolumeInfo> volumes() override;

    /// The volume of a path (made absolute against the working folder when relative). The path
    /// is resolved through symbolic links; a path that does not exist is taken by its nearest
    /// existing ancestor. nullopt when the mount table cannot be read.
    std::optional<VolumeInfo> volumeOf(const QString &path) override;

    /// The canonical form, as seen from the root, of the nearest existing path on the way from
    /// `path` up to "/"; empty when not even the root exists.
    QString existingCanonicalPath(const QString &path) const;

private:
    struct DeviceData
    {
        std::optional<ProbeResult> probe;
        QString uuidLinkName;  ///< the name of the /dev/disk/by-uuid link to the device
        QString labelLinkName; ///< the name of the /dev/disk/by-label link to the device
        QSet<int> mountIds;    ///< the mounts it was probed for
    };

    void refresh();
    bool readMountText(QByteArray &text);
    void replaceTable(const QByteArray &text);
    const VolumeInfo &infoOf(const MountEntry &entry);
    const MountEntry *liveMountOf(const QString &path) const;
    VolumeInfo computeInfo(const MountEntry &entry);
    const DeviceData &deviceData(const MountEntry &entry, const std::optional<BlockDevice> &disk);
    QString serialOf(const MountEntry &entry, const DeviceData &device) const;
    QString labelOf(const MountEntry &entry, const DeviceData &device) const;
    QString linkTo(const QString &folder, const QString &device) const;
    QString underRoot(const QString &absolute) const;

    QString m_root;
    int m_mountFd = -1;
    bool m_mountFdPollable = false;
    QByteArray m_mountText;
    MountTable m_table;
    QHash<QString, VolumeInfo> m_volumes; // by mount key
    QHash<QString, DeviceData> m_devices; // by device key
    /// The answers of infoOf for the mounts of the current table, by mount id.
    QHash<int, std::pair<MountEntry, VolumeInfo>> m_volumeOfMount;
};
