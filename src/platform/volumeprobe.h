#pragma once

#include "volumeserial.h"

#include <QString>

#include <optional>

/// Reads the file system signature of a block device or an image file with libblkid.
namespace VolumeProbe {

/// Probes a device or image file for a file system: its type, UUID and raw label, and for
/// ISO 9660 the volume descriptor its serial is computed from. nullopt when the file cannot be
/// opened (no permission, gone) or holds no recognisable file system.
std::optional<ProbeResult> probe(const QString &path);

} // namespace VolumeProbe
