#include "platform/linuxvolumes.h"
#include "support/printers.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kSata = u"/sys/devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/"
                      "block/sda"_s;
const QString kOptical = u"/sys/devices/pci0000:00/0000:00:17.0/ata2/host1/target1:0:0/1:0:0:0/"
                         "block/sr0"_s;
const QString kStick = u"/sys/devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/"
                       "target6:0:0/6:0:0:0/block/sdb"_s;

// A SATA disk, a USB stick, a CD, an NFS share stacked on tmpfs and the usual system mounts;
// the mounts of a USB hard disk and an SD card are listed with no disk behind them.
const QByteArray kMountInfo = "22 27 0:21 / /proc rw,nosuid - proc proc rw\n"
                              "27 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                              "30 27 0:30 / /tmp rw shared:5 - tmpfs tmpfs rw\n"
                              "31 27 0:31 / /run/user/1000 rw - tmpfs tmpfs rw\n"
                              "32 27 7:0 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
                              "40 27 8:17 / /media/usb rw shared:9 - vfat /dev/sdb1 rw\n"
                              "41 27 8:33 / /media/hdd rw - fuseblk /dev/sdc1 rw,user_id=0\n"
                              "43 27 179:1 / /media/sd rw - vfat /dev/mmcblk0p1 rw\n"
                              "44 27 11:0 / /media/cdrom ro - iso9660 /dev/sr0 ro\n"
                              "46 27 0:51 / /mnt/stack rw - tmpfs tmpfs rw\n"
                              "47 46 0:52 / /mnt/stack rw - nfs4 nas:/export/music rw\n";

// A machine below a temporary folder: /proc, /sys and /dev as the volume list reads them.
struct Machine
{
    QString root() const { return m_dir.path(); }
    bool write(const QString &at, const QByteArray &content) const
    {
        QDir().mkpath(QFileInfo(root() + at).path());
        QFile file(root() + at);
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    }
    bool link(const QString &at, const QString &target) const
    {
        QDir().mkpath(QFileInfo(root() + at).path());
        return QFile::link(target, root() + at);
    }
    // A block device in sysfs, "removable" then "device/type" in `attributes`, and its links.
    bool device(const QString &sys, const QString &number, const QByteArray &attributes = {}) const
    {
        const QString name = sys.section(u'/', -1);
        return (attributes.isEmpty() ? write(sys + "/partition", "1")
                                     : write(sys + "/removable", attributes.left(1)) &&
                                           write(sys + "/device/type", attributes.mid(1))) &&
               link("/sys/dev/block/" + number, "../../.." + sys) &&
               link("/sys/class/block/" + name, "../../.." + sys) && write("/dev/" + name, {});
    }
    bool build() const
    {
        bool ok = write("/proc/self/mountinfo", kMountInfo) && device(kSata, "8:0", "00") &&
                  device(kSata + "/sda1", "8:1") && device(kStick, "8:16", "10") &&
                  device(kStick + "/sdb1", "8:17") && device(kOptical, "11:0", "15") &&
                  link("/media/link", "usb") && link("/home/me/Musica", "../../media/hdd/musica");
        for (const char *folder :
             {"/tmp", "/mnt/stack", "/media/usb", "/media/hdd", "/media/sd", "/media/cdrom"})
            ok = ok && QDir().mkpath(root() + folder);
        for (const auto &[name, device] :
             {std::pair{"by-uuid/7daeb3de-f0f6-4bd1-b269-e0cd6fca9fe9", "sda1"},
              {"by-uuid/DEAD-BEEF", "sdb1"},
              {"by-uuid/2023-11-14-22-13-20-00", "sr0"},
              {"by-label/MUSICA", "sdb1"},
              {"by-label/CDMUSICA", "sr0"}})
            ok = ok && link(u"/dev/disk/"_s + name, u"../../"_s + device);
        return ok;
    }

    QTemporaryDir m_dir;
};

} // namespace

class TestLinuxVolumes : public QObject
{
    Q_OBJECT

private slots:
    // One volume of each drive type: the kind of a disk, its label and serial are the rules of
    // DriveClassifier, VolumeLabel and VolumeSerial. "/nowhere" is a root without a mount table.
    void volumeOf_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<VolumeInfo>("volume");
        const VolumeInfo stick{"/media/usb", DriveType::Removable, "MUSICA", "-559038737",
                               "vfat",       "/dev/sdb1"};
        QTest::newRow("usb stick, file not there") << u"/media/usb/album/01.mp3"_s << stick;
        QTest::newRow("link into the stick") << u"/media/link/a.mp3"_s << stick;
        QTest::newRow("relative parts cleaned") << u"/media/sd/../usb/./a.mp3"_s << stick;
        QTest::newRow("dangling link taken by its folder")
            << u"/home/me/Musica/a.mp3"_s
            << VolumeInfo{"/", DriveType::Fixed, "", "730331984", "ext4", "/dev/sda1"};
        QTest::newRow("optical drive")
            << u"/media/cdrom/01.mp3"_s << VolumeInfo{"/media/cdrom", DriveType::CdRom, "CDMUSICA",
                                                      "2016349000",   "iso9660",        "/dev/sr0"};
        QTest::newRow("stacked mount: the top one, a network share")
            << u"/mnt/stack/a.mp3"_s
            << VolumeInfo{"/mnt/stack", DriveType::Network, "", "-472052334",
                          "nfs4",       "nas:/export/music"};
        QTest::newRow("no mount table") << u"/nowhere/media/usb/a.mp3"_s << VolumeInfo{};
    }

    void volumeOf()
    {
        QFETCH(QString, path);
        QFETCH(VolumeInfo, volume);
        Machine machine;
        QVERIFY(machine.build());
        const bool none = path.startsWith(u"/nowhere");
        LinuxVolumes volumes(machine.root() + (none ? u"/nowhere"_s : QString()));
        const auto found = volumes.volumeOf(path.mid(none ? 8 : 0));
        QCOMPARE(found.value_or(VolumeInfo{}), volume);
        QCOMPARE(volumes.volumeOf(path.mid(none ? 8 : 0)), found); // the cached answer
        QStringList mountPoints;
        for (const VolumeInfo &v : volumes.volumes())
            mountPoints << v.mountPoint;
        // System mounts and pseudo file systems are left out.
        const QStringList expected{"/",          "/media/cdrom", "/media/hdd", "/media/sd",
                                   "/media/usb", "/mnt/stack",   "/tmp"};
        QCOMPARE(mountPoints, none ? QStringList() : expected);
    }

    // On the running system a clean path is answered through the kernel's mount id, any other
    // by the path resolved part by part: both give the same volume, through links and on
    // pseudo file systems too.
    void runningSystemByMountIdAsByPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("root") << u"/"_s;
        QTest::newRow("pseudo file system") << u"/proc"_s;
        QTest::newRow("through a link, closing slash") << u"/proc/self/fd/"_s;
        QTest::newRow("device files") << u"/dev"_s;
        QTest::newRow("below a mount point") << u"/sys/kernel"_s;
        QTest::newRow("temporary folder") << QDir::tempPath();
    }

    void runningSystemByMountIdAsByPath()
    {
        QFETCH(QString, path);
        if (!QFileInfo::exists(path))
            QSKIP("not on this machine");
        LinuxVolumes volumes;
        const std::optional<VolumeInfo> byId = volumes.volumeOf(path);
        QVERIFY(byId.has_value());
        // A ".." part is not clean: the path is resolved part by part.
        QCOMPARE(volumes.volumeOf(path + u"/nessuna/.."_s), byId);
    }

    void loopDeviceProbedThroughItsBackingFile()
    {
        const QString loop = u"/sys/devices/virtual/block/loop0"_s;
        Machine machine;
        QVERIFY(machine.write("/proc/self/mountinfo", "27 1 7:0 / /d rw - vfat /dev/loop0 rw\n") &&
                machine.device(loop, "7:0", "0") && QDir().mkpath(machine.root() + "/d") &&
                machine.write(loop + "/loop/backing_file", "/disco.img\n"));
        QFile image(machine.root() + "/disco.img");
        QVERIFY(image.open(QIODevice::WriteOnly) && image.resize(40 * 1024 * 1024));
        image.close();
        const int made = QProcess::execute(
            "/usr/sbin/mkfs.vfat", {"-F", "32", "-i", "8A3B1C2D", "-n", "DISCO", image.fileName()});
        if (made < 0)
            QSKIP("mkfs.vfat is not installed (package dosfstools)");
        QCOMPARE(made, 0);
        const auto found = LinuxVolumes(machine.root()).volumeOf("/d/a.mp3");
        QVERIFY(found);
        QCOMPARE(found->type, DriveType::Fixed);
        QCOMPARE(found->serial + found->label, u"-1975837651DISCO"_s);
    }

    void refreshedWhenTheMountTableChanges()
    {
        Machine machine;
        QVERIFY(machine.build());
        LinuxVolumes volumes(machine.root());
        QCOMPARE(volumes.volumeOf("/media/usb/a.mp3")->label, u"MUSICA"_s);
        // Another stick in the same port: the old data are kept until it is mounted.
        QVERIFY(QFile::remove(machine.root() + "/dev/disk/by-label/MUSICA"));
        QVERIFY(machine.link("/dev/disk/by-label/CANZONI", "../../sdb1"));
        QCOMPARE(volumes.volumeOf("/media/usb/a.mp3")->label, u"MUSICA"_s);
        QByteArray remounted = kMountInfo;
        QVERIFY(
            machine.write("/proc/self/mountinfo",
                          remounted.replace("40 27 8:17 / /media/usb", "90 27 8:17 / /media/usb")));
        QCOMPARE(volumes.volumeOf("/media/usb/a.mp3")->label, u"CANZONI"_s);
    }
};

QTEST_GUILESS_MAIN(TestLinuxVolumes)
#include "tst_linuxvolumes.moc"
