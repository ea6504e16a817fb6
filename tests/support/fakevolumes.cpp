#include "fakevolumes.h"

std::optional<VolumeInfo> FakeVolumes::volumeOf(const QString &path)
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
