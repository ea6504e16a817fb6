#include "volumeprobe.h"

#include <QFile>
#include <QLoggingCategory>

#include <blkid/blkid.h>

#include <memory>

Q_LOGGING_CATEGORY(lcVolumeProbe, "tracklodge.platform.probe")

namespace {

struct ProbeDeleter
{
    void operator()(blkid_struct_probe *probe) const { blkid_free_probe(probe); }
};
using ProbePointer = std::unique_ptr<blkid_struct_probe, ProbeDeleter>;

QByteArray lookup(blkid_probe probe, const char *name)
{
    const char *data = nullptr;
    size_t length = 0;
    if (blkid_probe_lookup_value(probe, name, &data, &length) != 0 || !data)
        return {};
    // Values are NUL-terminated and the length counts the terminator.
    QByteArray value(data, qsizetype(length));
    while (value.endsWith('\0'))
        value.chop(1);
    return value;
}

// The volume descriptor set of an ISO 9660 image starts at sector 16; a handful of sectors
// holds the primary, the supplementary (Joliet) and the terminator.
QByteArray readIsoDescriptorSet(const QString &path)
{
    constexpr qint64 kSector = 2048;
    constexpr qint64 kSectors = 16;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(16 * kSector))
        return {};
    return file.read(kSectors * kSector);
}

} // namespace

namespace VolumeProbe {

std::optional<ProbeResult> probe(const QString &path)
{
    ProbePointer probe(blkid_new_probe_from_filename(QFile::encodeName(path).constData()));
    if (!probe)
        return std::nullopt;
    blkid_probe_enable_superblocks(probe.get(), 1);
    blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_TYPE | BLKID_SUBLKS_UUID |
                                                       BLKID_SUBLKS_LABEL | BLKID_SUBLKS_LABELRAW);
    blkid_probe_enable_partitions(probe.get(), 0);
    const int outcome = blkid_do_safeprobe(probe.get());
    if (outcome != 0) {
        if (outcome < 0)
            qCWarning(lcVolumeProbe) << "cannot probe" << path;
        return std::nullopt;
    }

    ProbeResult result;
    result.type = lookup(probe.get(), "TYPE");
    result.uuid = lookup(probe.get(), "UUID");
    if (result.type.isEmpty())
        return std::nullopt;
    // FAT labels are kept as the bytes on disk, so that their code page can be guessed later;
    // the other file systems store Unicode and libblkid gives it as UTF-8.
    if (result.type == "vfat" || result.type == "msdos")
        result.label = lookup(probe.get(), "LABEL_RAW");
    if (result.label.isEmpty())
        result.label = lookup(probe.get(), "LABEL");
    if (result.type == "iso9660")
        result.isoDescriptor = VolumeSerial::isoDescriptorOf(readIsoDescriptorSet(path));
    return result;
}

} // namespace VolumeProbe
