#include "platform/driveclassifier.h"

#include <QTest>

namespace {

std::optional<BlockDevice> disk(const QString &name, const QString &sysPath, bool removable = false,
                                const QString &deviceType = {})
{
    BlockDevice device;
    device.name = name;
    device.diskName = name;
    device.sysPath = sysPath;
    device.removable = removable;
    device.deviceType = deviceType;
    return device;
}

const QString kSata = QStringLiteral("/sys/devices/pci0000:00/0000:00:17.0/ata1/host0/"
                                     "target0:0:0/0:0:0:0/block/sda");
const QString kUsb = QStringLiteral("/sys/devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/"
                                    "host6/target6:0:0/6:0:0:0/block/sdb");

} // namespace

class TestDriveClassifier : public QObject
{
    Q_OBJECT

private slots:
    void classify_data();
    void classify();
    void leftOut_data();
    void leftOut();
};

void TestDriveClassifier::classify_data()
{
    QTest::addColumn<QString>("fileSystemType");
    QTest::addColumn<std::optional<BlockDevice>>("device");
    QTest::addColumn<DriveType>("type");

    const std::optional<BlockDevice> none;
    QTest::newRow("tmpfs") << "tmpfs" << none << DriveType::RamDisk;
    QTest::newRow("ext4 on zram") << "ext4" << disk("zram0", "/sys/devices/virtual/block/zram0")
                                  << DriveType::RamDisk;
    QTest::newRow("disk named like ram but not one")
        << "ext4" << disk("ramdrive", "/sys/devices/virtual/block/ramdrive") << DriveType::Fixed;
    for (const char *type : {"nfs4", "cifs", "fuse.sshfs"})
        QTest::addRow("network %s", type) << type << none << DriveType::Network;
    QTest::newRow("iso9660 on a usb stick")
        << "iso9660" << disk("sdb", kUsb, true) << DriveType::CdRom;
    QTest::newRow("sr0 disk") << "vfat" << disk("sr0", "/sys/devices/x/block/sr0")
                              << DriveType::CdRom;
    QTest::newRow("scsi type 5") << "ext4" << disk("sdd", kSata, false, "5") << DriveType::CdRom;
    QTest::newRow("sr without digit is not a cd")
        << "ext4" << disk("srv", "/sys/devices/virtual/block/srv") << DriveType::Fixed;
    QTest::newRow("removable flag") << "vfat" << disk("sdb", kSata, true) << DriveType::Removable;
    QTest::newRow("usb hard disk without removable flag")
        << "ntfs" << disk("sdb", kUsb, false, "0") << DriveType::Removable;
    QTest::newRow("sd card") << "vfat"
                             << disk("mmcblk0", "/sys/devices/platform/mmc0/block/mmcblk0", false,
                                     "SD")
                             << DriveType::Removable;
    QTest::newRow("mmc card of unknown kind")
        << "vfat" << disk("mmcblk1", "/sys/devices/platform/mmc1/block/mmcblk1")
        << DriveType::Removable;
    QTest::newRow("soldered emmc")
        << "ext4" << disk("mmcblk0", "/sys/devices/platform/mmc0/block/mmcblk0", false, "MMC")
        << DriveType::Fixed;
    QTest::newRow("a folder named usb-something is not usb")
        << "ext4" << disk("sda", "/sys/devices/platform/xusb/block/sda") << DriveType::Fixed;
    QTest::newRow("fuse of unknown kind") << "fuse.foo" << none << DriveType::Unknown;
    QTest::newRow("empty type") << "" << none << DriveType::Unknown;
}

void TestDriveClassifier::classify()
{
    QFETCH(QString, fileSystemType);
    QFETCH(std::optional<BlockDevice>, device);
    QFETCH(DriveType, type);
    QCOMPARE(DriveClassifier::classify(fileSystemType, device), type);
}

// What the volume list leaves out: system mount points and pseudo file systems.
void TestDriveClassifier::leftOut_data()
{
    QTest::addColumn<bool>("got");
    QTest::addColumn<bool>("want");
    using DriveClassifier::isPseudoFileSystem;
    using DriveClassifier::isSystemMountPoint;
    // The system mounts of a whole machine are LinuxVolumes' test; here the near misses.
    QTest::newRow("run mediator") << isSystemMountPoint("/run/mediator") << true;
    QTest::newRow("snapshots folder") << isSystemMountPoint("/snapshots") << false;
    QTest::newRow("gvfs") << isPseudoFileSystem("fuse.gvfsd-fuse") << true;
    QTest::newRow("tmpfs is a ram disk") << isPseudoFileSystem("tmpfs") << false;
}

void TestDriveClassifier::leftOut()
{
    QFETCH(bool, got);
    QFETCH(bool, want);
    QCOMPARE(got, want);
}

QTEST_GUILESS_MAIN(TestDriveClassifier)
#include "tst_driveclassifier.moc"
