#pragma once

#include "volumes.h"

/// Volumes as Qt's storage information sees them: mount points, labels and file system types,
/// with a type guessed from the file system.
class StorageInfoVolumes : public Volumes
{
public:
    QList<VolumeInfo> volumes() override;
    std::optional<VolumeInfo> volumeOf(const QString &path) override;
};
