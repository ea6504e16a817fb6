#pragma once

#include <QList>
#include <QString>

#include <optional>

/// Kind of the medium a volume lies on; the numbers are the drive-type codes.
enum class DriveType {
    Unknown = 0,   ///< "Sconosciuta"
    Removable = 1, ///< "Disco Rimovibile"
    Fixed = 2,     ///< "Fissa"
    Network = 3,   ///< "Rete"
    CdRom = 4,     ///< "CDROM"
    RamDisk = 5,   ///< "Disco RAM"
};

/// One mounted volume: the mount point stands in for a drive letter.
struct VolumeInfo
{
    QString mountPoint; ///< absolute path, "/" for the root
    DriveType type = DriveType::Unknown;
    QString label;  ///< volume name, may be empty
    QString serial; ///< volume serial number as the decimal text of a signed 32-bit number
    QString fileSystemType;
    QString device;

    friend bool operator==(const VolumeInfo &, const VolumeInfo &) = default;
};

/// Drives and volumes of the machine. Tests use a fake.
class Volumes
{
public:
    virtual ~Volumes() = default;
    /// The mounted volumes the user can pick, in the order of the drive list.
    virtual QList<VolumeInfo> volumes() = 0;
    /// The volume holding a path; a path that does not exist is taken by its nearest existing
    /// ancestor. nullopt when no volume can be found.
    virtual std::optional<VolumeInfo> volumeOf(const QString &path) = 0;
};
