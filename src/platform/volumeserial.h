#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

/// What probing a file system found: its type, UUID and label as the prober reports them, and
/// for ISO 9660 the volume descriptor its serial number is computed from.
struct ProbeResult
{
    QByteArray type;          ///< "vfat", "exfat", "ntfs", "iso9660", "ext4" …
    QByteArray uuid;          ///< as text: "ABCD-1234", "0123456789ABCDEF", a 128-bit UUID …
    QByteArray label;         ///< raw label bytes, not decoded
    QByteArray isoDescriptor; ///< the 2048 bytes the ISO 9660 serial is summed over

    friend bool operator==(const ProbeResult &, const ProbeResult &) = default;
};

/// The 32-bit volume serial numbers stored in catalogues to identify a medium. They must never
/// change for a given medium, so every rule here is frozen by the tests.
namespace VolumeSerial {

/// The serial of a probed file system, or nullopt when the probe gives nothing to compute it
/// from (no UUID, and no ISO descriptor).
std::optional<qint32> fromProbe(const ProbeResult &probe);

/// A FAT or exFAT volume id written "ABCD-1234", read as one hexadecimal number.
std::optional<qint32> fromVolumeId(QByteArrayView uuid);

/// The low 32 bits of a 64-bit NTFS serial written as 16 hexadecimal digits.
std::optional<qint32> fromNtfsSerial(QByteArrayView uuid);

/// A 128-bit UUID ("7daeb3de-f0f6-4bd1-b269-e0cd6fca9fe9"): the XOR of its four 32-bit
/// little-endian words. For ext2/3/4 this equals the XOR of the two halves of statfs' f_fsid.
std::optional<qint32> fromUuid128(QByteArrayView uuid);

/// The serial of a CD: each byte i of the descriptor is added, modulo 256, into byte 3-(i%4)
/// of a little-endian 32-bit number, with no carry between the bytes.
qint32 fromIsoDescriptor(QByteArrayView descriptor);

/// The descriptor an ISO 9660 serial is summed over, from the volume descriptor set (the
/// 2048-byte sectors from sector 16 on): the Joliet supplementary descriptor when there is
/// one, else the primary one; empty when neither is found.
QByteArray isoDescriptorOf(QByteArrayView descriptorSet);

/// The serial of statfs' f_fsid, for an ext file system whose device cannot be read.
qint32 fromFsid(quint32 val0, quint32 val1);

/// A serial for a mount with no UUID at all (tmpfs, overlay, network shares): a hash of what
/// identifies it.
qint32 fromMountIdentity(const QString &fileSystemType, const QString &source,
                         const QString &mountPoint);

/// 32-bit FNV-1a of some bytes.
quint32 fnv1a32(QByteArrayView bytes);

/// The text stored in the catalogue: the decimal form of the signed number.
QString text(qint32 serial);

} // namespace VolumeSerial
