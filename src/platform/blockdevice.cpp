#include "blockdevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

QString readAttribute(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(4096)).trimmed();
}

QString joined(const QString &root, const QString &absolute)
{
    if (root == QLatin1String("/"))
        return absolute;
    return QDir::cleanPath(root + u'/' + absolute);
}

std::optional<BlockDevice> fromSysLink(const QString &root, const QString &link)
{
    const QString target = QFileInfo(link).canonicalFilePath();
    if (target.isEmpty())
        return std::nullopt;
    BlockDevice device;
    device.name = QFileInfo(target).fileName();
    QString diskDir = target;
    // A partition's folder sits inside its disk's folder and has a "partition" attribute.
    if (QFileInfo::exists(target + QStringLiteral("/partition")))
        diskDir = QFileInfo(target).absolutePath();
    device.diskName = QFileInfo(diskDir).fileName();
    device.sysPath = belowRoot(root, diskDir);
    device.removable = readAttribute(diskDir + QStringLiteral("/removable")) == u'1';
    device.deviceType = readAttribute(diskDir + QStringLiteral("/device/type"));
    const QString backing = readAttribute(target + QStringLiteral("/loop/backing_file"));
    // The kernel appends " (deleted)" when the backing file was removed after the set-up.
    if (!backing.isEmpty() && !backing.endsWith(QLatin1String(" (deleted)")))
        device.backingFile = backing;
    return device;
}

} // namespace

QString belowRoot(const QString &root, const QString &canonical)
{
    const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
    if (canonicalRoot.isEmpty() || canonicalRoot == QLatin1String("/"))
        return canonical;
    if (canonical == canonicalRoot)
        return QStringLiteral("/");
    if (canonical.startsWith(canonicalRoot + u'/'))
        return canonical.mid(canonicalRoot.size());
    return {};
}

std::optional<BlockDevice> BlockDevice::fromNumber(const QString &root, quint32 major,
                                                   quint32 minor)
{
    return fromSysLink(root,
                       joined(root, QStringLiteral("/sys/dev/block/%1:%2").arg(major).arg(minor)));
}

std::optional<BlockDevice> BlockDevice::fromDeviceFile(const QString &root, const QString &path)
{
    if (!path.startsWith(u'/'))
        return std::nullopt;
    const QString file = joined(root, path);
    struct stat info = {};
    if (::stat(QFile::encodeName(file).constData(), &info) == 0 && S_ISBLK(info.st_mode))
        return fromNumber(root, major(info.st_rdev), minor(info.st_rdev));
    // Not a device node (a fixture, or a node we may not stat): follow the name, so that
    // "/dev/mapper/x" → "../dm-0" gives "dm-0".
    QString name = QFileInfo(file).canonicalFilePath();
    name = QFileInfo(name.isEmpty() ? file : name).fileName();
    if (name.isEmpty())
        return std::nullopt;
    return fromSysLink(root, joined(root, QStringLiteral("/sys/class/block/") + name));
}

bool BlockDevice::isOnUsb() const
{
    const QStringList parts = sysPath.split(u'/', Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        if (part.startsWith(QLatin1String("usb")))
            return true;
    }
    return false;
}
