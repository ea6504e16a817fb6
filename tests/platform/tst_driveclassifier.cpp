#include "platform/driveclassifier.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

std::optional<BlockDevice> disk(const QString &name, const QString &sysPath, bool removable = false,
                                const QString &deviceType = {})
{
    BlockDevice device;
    device.name = device.diskName = name;
    device.sysPath = sysPath + u"/block/"_s + name;
    device.removable = removable;
    device.deviceType = deviceType;
    return device;
}

const QString kSata = u"/sys/devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0"_s;
const QString kUsb = u"/sys/devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0"_s;

} // namespace

class TestDriveClassifier : public QObject
{
    Q_OBJECT

private slots:
    // The drive-type rule; the system mounts a whole machine leaves out are LinuxVolumes' test,
    // here the near misses of the names.
    void classify_data()
    {
        QTest::addColumn<int>("got");
        QTest::addColumn<int>("want");
        const auto row = [](const char *name, const char *type, const std::optional<BlockDevice> &d,
                            DriveType want) {
            QTest::newRow(name) << int(DriveClassifier::classify(type, d)) << int(want);
        };
        const std::optional<BlockDevice> none;
        const QString virt = u"/sys/devices/virtual"_s, mmc = u"/sys/devices/platform/mmc0"_s;
        row("tmpfs", "tmpfs", none, DriveType::RamDisk);
        row("ext4 on zram", "ext4", disk("zram0", virt), DriveType::RamDisk);
        row("disk named like ram but not one", "ext4", disk("ramdrive", virt), DriveType::Fixed);
        row("cifs", "cifs", none, DriveType::Network);
        row("sshfs", "fuse.sshfs", none, DriveType::Network);
        row("fuse of unknown kind", "fuse.foo", none, DriveType::Unknown);
        row("iso9660 on a usb stick", "iso9660", disk("sdb", kUsb, true), DriveType::CdRom);
        row("sr0 disk", "vfat", disk("sr0", u"/sys/devices/x"_s), DriveType::CdRom);
        row("scsi type 5", "ext4", disk("sdd", kSata, false, u"5"_s), DriveType::CdRom);
        row("sr without digit is not a cd", "ext4", disk("srv", virt), DriveType::Fixed);
        row("removable flag", "vfat", disk("sdb", kSata, true), DriveType::Removable);
        row("usb hard disk", "ntfs", disk("sdb", kUsb, false, u"0"_s), DriveType::Removable);
        row("sd card", "vfat", disk("mmcblk0", mmc, false, u"SD"_s), DriveType::Removable);
        row("mmc card of unknown kind", "vfat", disk("mmcblk1", mmc), DriveType::Removable);
        row("soldered emmc", "ext4", disk("mmcblk0", mmc, false, u"MMC"_s), DriveType::Fixed);
        row("a folder named xusb is not usb", "ext4", disk("sda", u"/sys/devices/platform/xusb"_s),
            DriveType::Fixed);
        using namespace DriveClassifier;
        QTest::newRow("/run/mediator is a system mount")
            << int(isSystemMountPoint("/run/mediator")) << 1;
        QTest::newRow("/snapshots is not") << int(isSystemMountPoint("/snapshots")) << 0;
        QTest::newRow("gvfs is a pseudo file system")
            << int(isPseudoFileSystem("fuse.gvfsd-fuse")) << 1;
    }

    void classify()
    {
        QFETCH(int, got);
        QFETCH(int, want);
        QCOMPARE(got, want);
    }
};

QTEST_GUILESS_MAIN(TestDriveClassifier)
#include "tst_driveclassifier.moc"
