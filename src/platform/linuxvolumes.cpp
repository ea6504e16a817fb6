#include "linuxvolumes.h"

#include "driveclassifier.h"
#include "volumelabel.h"
#include "volumeprobe.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

constexpr long kProcSuperMagic = 0x9fa0;

QString mountKey(const MountEntry &entry)
{
    return QStringLiteral("%1|%2:%3|%4|%5|%6|%7")
        .arg(entry.id)
        .arg(entry.major)
        .arg(entry.minor)
        .arg(entry.source, entry.fileSystemType, entry.mountPoint, entry.root);
}

QString deviceKey(const MountEntry &entry)
{
    return QStringLiteral("%1:%2|%3|%4")
        .arg(entry.major)
        .arg(entry.minor)
        .arg(entry.source, entry.fileSystemType);
}

bool hasDeviceFile(const MountEntry &entry)
{
    return entry.source.startsWith(u'/');
}

bool isExtFileSystem(const QString &type)
{
    return type == QLatin1String("ext2") || type == QLatin1String("ext3") ||
           type == QLatin1String("ext4");
}

bool readAll(int fd, QByteArray &text)
{
    if (::lseek(fd, 0, SEEK_SET) < 0)
        return false;
    text.clear();
    char buffer[16384];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0)
            return false;
        if (count == 0)
            return true;
        text.append(buffer, qsizetype(count));
    }
}

} // namespace

LinuxVolumes::LinuxVolumes(const QString &root)
    : m_root(QDir::cleanPath(root.isEmpty() ? QStringLiteral("/") : root))
{}

LinuxVolumes::~LinuxVolumes()
{
    if (m_mountFd >= 0)
        ::close(m_mountFd);
}

QList<VolumeInfo> LinuxVolumes::volumes()
{
    refresh();
    QList<VolumeInfo> result;
    for (const MountEntry &entry : m_table.visibleEntries()) {
        if (DriveClassifier::isPseudoFileSystem(entry.fileSystemType) ||
            DriveClassifier::isSystemMountPoint(entry.mountPoint))
            continue;
        result << infoOf(entry);
    }
    std::sort(result.begin(), result.end(),
              [](const VolumeInfo &a, const VolumeInfo &b) { return a.mountPoint < b.mountPoint; });
    return result;
}

std::optional<VolumeInfo> LinuxVolumes::volumeOf(const QString &path)
{
    refresh();
    if (const MountEntry *entry = liveMountOf(path))
        return infoOf(*entry);
    const QString canonical = existingCanonicalPath(path);
    if (canonical.isEmpty())
        return std::nullopt;
    const auto entry = m_table.mountOf(canonical);
    if (!entry)
        return std::nullopt;
    return infoOf(*entry);
}

// On the running system the kernel names the mount of an existing path by its id, which the
// mount table lists: one system call instead of a look at every part of the path, which an
// import pays for each folder. Only for a clean absolute path (at most a closing "/" more),
// which the kernel resolves as existingCanonicalPath does; nullptr for anything else, or when
// the table does not show that mount.
const MountEntry *LinuxVolumes::liveMountOf(const QString &path) const
{
    if (m_root != QLatin1String("/") || !path.startsWith(u'/'))
        return nullptr;
    const QString clean = QDir::cleanPath(path);
    if (clean != path && (clean + u'/') != path)
        return nullptr;
    struct statx status = {};
    if (::statx(AT_FDCWD, QFile::encodeName(path).constData(), 0, STATX_MNT_ID, &status) != 0 ||
        !(status.stx_mask & STATX_MNT_ID))
        return nullptr;
    for (const MountEntry &entry : m_table.visibleEntries()) {
        if (static_cast<quint64>(entry.id) == status.stx_mnt_id)
            return &entry;
    }
    return nullptr;
}

QString LinuxVolumes::existingCanonicalPath(const QString &path) const
{
    QString current =
        QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path));
    // "/.." is "/": a path cannot climb out of the root.
    while (current.startsWith(QLatin1String("/../")))
        current.remove(0, 3);
    if (current == QLatin1String("/.."))
        current = QStringLiteral("/");
    if (QFileInfo(m_root).canonicalFilePath().isEmpty())
        return {};
    for (;;) {
        const QString canonical = QFileInfo(underRoot(current)).canonicalFilePath();
        // A link leading out of the fixture tree says nothing about its mounts.
        if (!canonical.isEmpty())
            return belowRoot(m_root, canonical);
        if (current == QLatin1String("/"))
            return {};
        current = QFileInfo(current).path();
    }
}

void LinuxVolumes::refresh()
{
    QByteArray text;
    if (!readMountText(text))
        return;
    if (text != m_mountText || m_mountText.isEmpty())
        replaceTable(text);
}

// The kernel flags a change of the mount table as an exceptional condition on an open
// mountinfo file, so an unchanged table costs one poll() instead of a read and a parse. A
// fixture's ordinary file is simply read again and compared.
bool LinuxVolumes::readMountText(QByteArray &text)
{
    const QString path = underRoot(QStringLiteral("/proc/self/mountinfo"));
    if (m_mountFd < 0) {
        m_mountFd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (m_mountFd < 0)
            return false;
        struct statfs info = {};
        m_mountFdPollable = ::fstatfs(m_mountFd, &info) == 0 && info.f_type == kProcSuperMagic;
        return readAll(m_mountFd, text);
    }
    if (m_mountFdPollable) {
        pollfd watch = {m_mountFd, POLLPRI, 0};
        if (::poll(&watch, 1, 0) <= 0 || !(watch.revents & (POLLPRI | POLLERR))) {
            text = m_mountText;
            return true;
        }
        return readAll(m_mountFd, text);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    text = file.readAll();
    return true;
}

void LinuxVolumes::replaceTable(const QByteArray &text)
{
    m_mountText = text;
    m_table = MountTable::parse(text);
    m_volumeOfMount.clear();

    QSet<QString> mounts;
    QHash<QString, QSet<int>> idsOfDevice;
    for (const MountEntry &entry : m_table.visibleEntries()) {
        mounts.insert(mountKey(entry));
        idsOfDevice[deviceKey(entry)].insert(entry.id);
    }
    m_volumes.removeIf([&mounts](const auto &item) { return !mounts.contains(item.key()); });
    // A device keeps its probe while one of the mounts it was probed for is still there; a
    // medium swapped in the same drive is mounted afresh and probed again.
    m_devices.removeIf([&idsOfDevice](const auto &item) {
        return !idsOfDevice.value(item.key()).intersects(item.value().mountIds);
    });
    for (auto it = m_devices.begin(); it != m_devices.end(); ++it)
        it->mountIds = idsOfDevice.value(it.key());
}

const VolumeInfo &LinuxVolumes::infoOf(const MountEntry &entry)
{
    // The same mount is asked for again and again (once per folder of an import): its id finds
    // it without the key being written out.
    const auto known = m_volumeOfMount.constFind(entry.id);
    if (known != m_volumeOfMount.cend() && known->first == entry)
        return known->second;
    const QString key = mountKey(entry);
    auto it = m_volumes.find(key);
    if (it == m_volumes.end())
        it = m_volumes.insert(key, computeInfo(entry));
    return m_volumeOfMount.insert(entry.id, {entry, *it})->second;
}

VolumeInfo LinuxVolumes::computeInfo(const MountEntry &entry)
{
    std::optional<BlockDevice> disk;
    if (entry.major != 0)
        disk = BlockDevice::fromNumber(m_root, entry.major, entry.minor);
    else if (entry.source.startsWith(QLatin1String("/dev/")))
        disk = BlockDevice::fromDeviceFile(m_root, entry.source); // btrfs: an anonymous number

    VolumeInfo info;
    info.mountPoint = entry.mountPoint;
    info.fileSystemType = entry.fileSystemType;
    info.device = entry.source;
    info.type = DriveClassifier::classify(entry.fileSystemType, disk);
    const DeviceData &device = deviceData(entry, disk);
    info.serial = serialOf(entry, device);
    info.label = labelOf(entry, device);
    return info;
}

const LinuxVolumes::DeviceData &LinuxVolumes::deviceData(const MountEntry &entry,
                                                         const std::optional<BlockDevice> &disk)
{
    const QString key = deviceKey(entry);
    auto it = m_devices.find(key);
    if (it != m_devices.end()) {
        it->mountIds.insert(entry.id);
        return *it;
    }
    DeviceData data;
    data.mountIds.insert(entry.id);
    if (!DriveClassifier::isNetworkFileSystem(entry.fileSystemType)) {
        if (disk && !disk->backingFile.isEmpty())
            data.probe = VolumeProbe::probe(underRoot(disk->backingFile));
        else if (hasDeviceFile(entry))
            data.probe = VolumeProbe::probe(underRoot(entry.source));
    }
    if (hasDeviceFile(entry)) {
        data.uuidLinkName = linkTo(QStringLiteral("/dev/disk/by-uuid"), entry.source);
        data.labelLinkName = linkTo(QStringLiteral("/dev/disk/by-label"), entry.source);
    }
    return *m_devices.insert(key, data);
}

QString LinuxVolumes::serialOf(const MountEntry &entry, const DeviceData &device) const
{
    if (device.probe) {
        if (const auto serial = VolumeSerial::fromProbe(*device.probe))
            return VolumeSerial::text(*serial);
    }
    // The device cannot be read (it usually needs root): udev's link names carry the UUID.
    if (!device.uuidLinkName.isEmpty()) {
        ProbeResult fromLink;
        fromLink.uuid = VolumeLabel::fromLinkName(device.uuidLinkName);
        fromLink.type = entry.fileSystemType.toUtf8();
        if (fromLink.type == "ntfs3" || fromLink.type == "fuseblk")
            fromLink.type = "ntfs";
        if (const auto serial = VolumeSerial::fromProbe(fromLink))
            return VolumeSerial::text(*serial);
    }
    if (isExtFileSystem(entry.fileSystemType)) {
        // statfs derives an ext file system's f_fsid from its UUID; make sure the folder
        // really is that mount before trusting it.
        const QByteArray folder = QFile::encodeName(underRoot(entry.mountPoint));
        struct stat status = {};
        struct statfs info = {};
        if (::stat(folder.constData(), &status) == 0 &&
            status.st_dev == makedev(entry.major, entry.minor) &&
            ::statfs(folder.constData(), &info) == 0) {
            return VolumeSerial::text(VolumeSerial::fromFsid(quint32(info.f_fsid.__val[0]),
                                                             quint32(info.f_fsid.__val[1])));
        }
    }
    return VolumeSerial::text(
        VolumeSerial::fromMountIdentity(entry.fileSystemType, entry.source, entry.mountPoint));
}

QString LinuxVolumes::labelOf(const MountEntry &entry, const DeviceData &device) const
{
    if (device.probe && !device.probe->label.isEmpty())
        return VolumeLabel::decode(device.probe->type, device.probe->label);
    if (!device.labelLinkName.isEmpty()) {
        const QByteArray type = device.probe ? device.probe->type : entry.fileSystemType.toUtf8();
        return VolumeLabel::decode(type, VolumeLabel::fromLinkName(device.labelLinkName));
    }
    return {};
}

// The name of the link in `folder` that points at the device file, or empty.
QString LinuxVolumes::linkTo(const QString &folder, const QString &device) const
{
    const QString deviceFile = underRoot(device);
    const QString canonicalDevice = QFileInfo(deviceFile).canonicalFilePath();
    QDirIterator links(underRoot(folder), QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    while (links.hasNext()) {
        const QFileInfo link(links.next());
        if (!link.isSymLink())
            continue;
        if (QDir::cleanPath(link.symLinkTarget()) == deviceFile ||
            (!canonicalDevice.isEmpty() && link.canonicalFilePath() == canonicalDevice))
            return link.fileName();
    }
    return {};
}

QString LinuxVolumes::underRoot(const QString &absolute) const
{
    if (m_root == QLatin1String("/"))
        return absolute;
    return QDir::cleanPath(m_root + u'/' + absolute);
}
