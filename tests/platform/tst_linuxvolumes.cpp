#include "platform/linuxvolumes.h"
#include "support/printers.h"
#include "support/systemtools.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kSata = QStringLiteral("/sys/devices/pci0000:00/0000:00:17.0/ata1/host0/"
                                     "target0:0:0/0:0:0:0/block/sda");
const QString kOptical = QStringLiteral("/sys/devices/pci0000:00/0000:00:17.0/ata2/host1/"
                                        "target1:0:0/1:0:0:0/block/sr0");
const QString kStick = QStringLiteral("/sys/devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/"
                                      "host6/target6:0:0/6:0:0:0/block/sdb");
const QString kLoop = QStringLiteral("/sys/devices/virtual/block/loop0");

// A machine with a SATA disk, a USB stick, a CD, an NFS share, tmpfs and the usual system mounts;
// the mounts of a USB hard disk and an SD card are listed with no disk behind them.
const QByteArray kMountInfo =
    "22 27 0:21 / /proc rw,nosuid - proc proc rw\n"
    "23 27 0:22 / /sys rw,nosuid - sysfs sysfs rw\n"
    "24 27 0:5 / /dev rw,nosuid - devtmpfs udev rw\n"
    "25 24 0:23 / /dev/shm rw - tmpfs tmpfs rw\n"
    "27 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw,errors=remount-ro\n"
    "28 23 0:26 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
    "30 27 0:30 / /tmp rw shared:5 - tmpfs tmpfs rw\n"
    "31 27 0:31 / /run/user/1000 rw - tmpfs tmpfs rw\n"
    "32 27 7:0 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
    "40 27 8:17 / /media/usb rw,nosuid shared:9 - vfat /dev/sdb1 rw,fmask=0022\n"
    "41 27 8:33 / /media/hdd rw shared:10 - fuseblk /dev/sdc1 rw,user_id=0\n"
    "42 27 0:45 / /media/My\\040Stick rw - btrfs /dev/sdc2 rw,space_cache\n"
    "43 27 179:1 / /media/sd rw - vfat /dev/mmcblk0p1 rw\n"
    "44 27 11:0 / /media/cdrom ro - iso9660 /dev/sr0 ro\n"
    "45 27 0:50 / /mnt/nas rw - nfs4 nas:/export/music rw,vers=4.2\n"
    "46 27 0:51 / /mnt/stack rw - tmpfs tmpfs rw\n"
    "47 46 0:52 / /mnt/stack rw - nfs4 nas:/export/music rw\n"
    "48 27 0:53 / /run/media/me/STICK rw - tmpfs tmpfs rw\n";

class Fixture
{
public:
    Fixture() { QVERIFY(m_dir.isValid()); }

    QString root() const { return m_dir.path(); }
    QString path(const QString &absolute) const { return m_dir.path() + absolute; }

    bool write(const QString &absolute, const QByteArray &content) const
    {
        QDir().mkpath(QFileInfo(path(absolute)).path());
        QFile file(path(absolute));
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
    }
    bool folder(const QString &absolute) const { return QDir().mkpath(path(absolute)); }
    bool link(const QString &absolute, const QString &target) const
    {
        QDir().mkpath(QFileInfo(path(absolute)).path());
        return QFile::link(target, path(absolute));
    }
    bool unlink(const QString &absolute) const { return QFile::remove(path(absolute)); }

    // A disk folder in sysfs with its attributes, and the /sys/dev/block link to it.
    bool disk(const QString &sysPath, const QString &number, const QByteArray &removable,
              const QByteArray &type) const
    {
        return write(sysPath + "/removable", removable + '\n') &&
               write(sysPath + "/device/type", type + '\n') &&
               link("/sys/dev/block/" + number, "../../.." + sysPath);
    }
    bool partition(const QString &diskPath, const QString &name, const QString &number) const
    {
        const QString sysPath = diskPath + u'/' + name;
        return write(sysPath + "/partition", "1\n") &&
               link("/sys/dev/block/" + number, "../../.." + sysPath) &&
               link("/sys/class/block/" + name, "../../.." + sysPath) && write("/dev/" + name, {});
    }

private:
    QTemporaryDir m_dir;
};

bool buildMachine(const Fixture &f)
{
    bool ok = f.write("/proc/self/mountinfo", kMountInfo);
    ok = ok && f.disk(kSata, "8:0", "0", "0") && f.partition(kSata, "sda1", "8:1");
    ok = ok && f.disk(kStick, "8:16", "1", "0") && f.partition(kStick, "sdb1", "8:17");
    ok = ok && f.disk(kOptical, "11:0", "1", "5") && f.write("/dev/sr0", {});
    for (const char *folder :
         {"/tmp", "/mnt/nas", "/mnt/stack", "/media/usb", "/media/usb2", "/media/hdd",
          "/media/My Stick", "/media/sd", "/media/cdrom", "/run/media/me/STICK", "/home/me"})
        ok = ok && f.folder(folder);
    ok = ok && f.link("/media/link", "usb") && f.link("/home/me/Musica", "../../media/hdd/musica");
    const QList<std::pair<QString, QString>> uuids = {
        {"7daeb3de-f0f6-4bd1-b269-e0cd6fca9fe9", "sda1"},
        {"DEAD-BEEF", "sdb1"},
        {"2023-11-14-22-13-20-00", "sr0"}};
    for (const auto &[uuid, device] : uuids)
        ok = ok && f.link("/dev/disk/by-uuid/" + uuid, "../../" + device);
    const QList<std::pair<QString, QString>> labels = {{"MUSICA", "sdb1"}, {"CDMUSICA", "sr0"}};
    for (const auto &[label, device] : labels)
        ok = ok && f.link("/dev/disk/by-label/" + label, "../../" + device);
    return ok;
}

} // namespace

class TestLinuxVolumes : public QObject
{
    Q_OBJECT

private slots:
    void volumeOf_data();
    void volumeOf();
    void volumes();
    void loopDeviceProbedThroughItsBackingFile();
    void refreshedWhenTheMountTableChanges();
    void missingMountTable();
};

void TestLinuxVolumes::volumeOf_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<VolumeInfo>("volume");

    const VolumeInfo system{"/", DriveType::Fixed, "", "730331984", "ext4", "/dev/sda1"};
    const VolumeInfo stick{"/media/usb", DriveType::Removable, "MUSICA", "-559038737",
                           "vfat",       "/dev/sdb1"};

    QTest::newRow("usb stick, file not there") << u"/media/usb/album/01.mp3"_s << stick;
    // One volume of each drive type: the kind of a disk, the decoding of its label and its
    // serial are the rules of DriveClassifier, VolumeLabel and VolumeSerial.
    QTest::newRow("link into the stick") << u"/media/link/a.mp3"_s << stick;
    QTest::newRow("dangling link taken by its folder") << u"/home/me/Musica/a.mp3"_s << system;
    QTest::newRow("optical drive")
        << u"/media/cdrom/01.mp3"_s << VolumeInfo{"/media/cdrom", DriveType::CdRom, "CDMUSICA",
                                                  "2016349000",   "iso9660",        "/dev/sr0"};
    QTest::newRow("stacked mount: the top one, a network share")
        << u"/mnt/stack/a.mp3"_s << VolumeInfo{"/mnt/stack", DriveType::Network, "", "-472052334",
                                               "nfs4",       "nas:/export/music"};
    QTest::newRow("relative parts cleaned") << u"/media/sd/../usb/./a.mp3"_s << stick;
}

void TestLinuxVolumes::volumeOf()
{
    QFETCH(QString, path);
    QFETCH(VolumeInfo, volume);
    Fixture fixture;
    QVERIFY(buildMachine(fixture));
    LinuxVolumes volumes(fixture.root());
    const auto found = volumes.volumeOf(path);
    QVERIFY(found);
    QCOMPARE(*found, volume);
    // Asked again, the cached answer is the same.
    QCOMPARE(volumes.volumeOf(path), found);
}

void TestLinuxVolumes::volumes()
{
    Fixture fixture;
    QVERIFY(buildMachine(fixture));
    LinuxVolumes volumes(fixture.root());
    QStringList mountPoints;
    for (const VolumeInfo &volume : volumes.volumes())
        mountPoints << volume.mountPoint;
    const QStringList expected = {
        "/",          "/media/My Stick", "/media/cdrom", "/media/hdd",          "/media/sd",
        "/media/usb", "/mnt/nas",        "/mnt/stack",   "/run/media/me/STICK", "/tmp"};
    QCOMPARE(mountPoints, expected);
}

void TestLinuxVolumes::loopDeviceProbedThroughItsBackingFile()
{
    const QString mkfs = findTool("mkfs.vfat");
    if (mkfs.isEmpty())
        QSKIP("mkfs.vfat is not installed (package dosfstools)");
    Fixture fixture;
    QVERIFY(
        fixture.write("/proc/self/mountinfo", "27 1 7:0 / /media/disco rw - vfat /dev/loop0 rw\n"));
    QVERIFY(fixture.disk(kLoop, "7:0", "0", ""));
    QVERIFY(fixture.write(kLoop + "/loop/backing_file", "/images/disco.img\n"));
    QVERIFY(fixture.folder("/media/disco"));
    QFile image(fixture.path("/images/disco.img"));
    QVERIFY(fixture.folder("/images") && image.open(QIODevice::WriteOnly) &&
            image.resize(40 * 1024 * 1024));
    image.close();
    QCOMPARE(
        QProcess::execute(mkfs, {"-F", "32", "-i", "8A3B1C2D", "-n", "DISCO", image.fileName()}),
        0);

    LinuxVolumes volumes(fixture.root());
    const auto found = volumes.volumeOf("/media/disco/a.mp3");
    QVERIFY(found);
    QCOMPARE(found->type, DriveType::Fixed);
    QCOMPARE(found->serial, QStringLiteral("-1975837651"));
    QCOMPARE(found->label, QStringLiteral("DISCO"));
}

void TestLinuxVolumes::refreshedWhenTheMountTableChanges()
{
    Fixture fixture;
    QVERIFY(buildMachine(fixture));
    LinuxVolumes volumes(fixture.root());
    QCOMPARE(volumes.volumeOf("/media/usb/a.mp3")->label, QStringLiteral("MUSICA"));

    // Another stick in the same port: the old data are kept until it is mounted.
    QVERIFY(fixture.unlink("/dev/disk/by-label/MUSICA"));
    QVERIFY(fixture.link("/dev/disk/by-label/CANZONI", "../../sdb1"));
    QCOMPARE(volumes.volumeOf("/media/usb/a.mp3")->label, QStringLiteral("MUSICA"));

    QByteArray remounted = kMountInfo;
    remounted.replace("40 27 8:17 / /media/usb", "90 27 8:17 / /media/usb");
    remounted += "91 27 8:17 / /media/usb2 rw - vfat /dev/sdb1 rw\n";
    QVERIFY(fixture.write("/proc/self/mountinfo", remounted));
    QCOMPARE(volumes.volumeOf("/media/usb/a.mp3")->label, QStringLiteral("CANZONI"));
    QCOMPARE(volumes.volumeOf("/media/usb2/a.mp3")->mountPoint, QStringLiteral("/media/usb2"));

    QVERIFY(fixture.write("/proc/self/mountinfo", kMountInfo));
    QCOMPARE(volumes.volumeOf("/media/usb2/a.mp3")->mountPoint, QStringLiteral("/"));
}

// No mountinfo file, or a root that does not exist: no volumes, and no answer for a path.
void TestLinuxVolumes::missingMountTable()
{
    Fixture fixture;
    QVERIFY(fixture.folder("/media/usb"));
    for (const QString &below : {u""_s, u"/nowhere"_s}) {
        LinuxVolumes volumes(fixture.root() + below);
        QVERIFY(volumes.volumes().isEmpty());
        QVERIFY(!volumes.volumeOf("/media/usb/a.mp3"));
    }
}

QTEST_GUILESS_MAIN(TestLinuxVolumes)
#include "tst_linuxvolumes.moc"
