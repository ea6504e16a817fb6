#pragma once

#include "platform/volumes.h"

/// Volumes for tests: a fixed list; a path belongs to the volume with the longest mount point
/// that is a whole-component prefix of it.
class FakeVolumes : public Volumes
{
public:
    QList<VolumeInfo> volumes() override { return list; }
    std::optional<VolumeInfo> volumeOf(const QString &path) override
    {
        std::optional<VolumeInfo> best;
        for (const VolumeInfo &v : list) {
            const QString &m = v.mountPoint;
            const bool inside = m == QLatin1String("/") || path == m ||
                                path.startsWith(m.endsWith(u'/') ? m : m + u'/');
            if (inside && (!best || m.size() > best->mountPoint.size()))
                best = v;
        }
        return best;
    }

    QList<VolumeInfo> list;
};
