#pragma once

#include "platform/volumes.h"

/// Volumes for tests: a fixed list; a path belongs to the volume with the longest mount point
/// that is a whole-component prefix of it.
class FakeVolumes : public Volumes
{
public:
    QList<VolumeInfo> volumes() override { return list; }
    std::optional<VolumeInfo> volumeOf(const QString &path) override;

    QList<VolumeInfo> list;
};
