#include "platform/mounttable.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestMountTable : public QObject
{
    Q_OBJECT

private slots:
    void parseLine_data();
    void parseLine();
    void mountOf_data();
    void mountOf();
    void visibleEntries_data();
    void visibleEntries();
};

void TestMountTable::parseLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<MountEntry>("expected");

    QTest::newRow("no optional fields")
        << QByteArray("36 35 98:0 /mnt1 /mnt2 rw,noatime - ext3 /dev/root rw,errors=continue")
        << true << MountEntry{36, 35, 98, 0, "/mnt1", "/mnt2", "ext3", "/dev/root"};
    QTest::newRow("two optional fields")
        << QByteArray("27 1 254:0 / / rw,relatime shared:1 master:2 - ext4 /dev/vda rw") << true
        << MountEntry{27, 1, 254, 0, "/", "/", "ext4", "/dev/vda"};
    // Octal escapes of three digits up to \377 are decoded, others kept as written; UTF-8 is text.
    QTest::newRow("escaped mount point and source")
        << QByteArray("80 27 8:17 / /media/m\xc3\xa8/MY\\040STICK rw shared:9 - vfat "
                      "/dev/disk\\134x\\089\\777\\04\\ rw,fmask=0022")
        << true << MountEntry{80,     27,
                              8,      17,
                              "/",    QStringLiteral("/media/m\u00e8/MY STICK"),
                              "vfat", "/dev/disk\\x\\089\\777\\04\\"};
    QTest::newRow("no super options") << QByteArray("91 27 0:56 / /tmp rw - tmpfs tmpfs") << true
                                      << MountEntry{91, 27, 0, 56, "/", "/tmp", "tmpfs", "tmpfs"};
    QTest::newRow("carriage return")
        << QByteArray("91 27 0:56 / /tmp rw - tmpfs tmpfs rw\r") << true
        << MountEntry{91, 27, 0, 56, "/", "/tmp", "tmpfs", "tmpfs"};
    QTest::newRow("missing separator")
        << QByteArray("36 35 98:0 /mnt1 /mnt2 rw,noatime ext3 /dev/root rw") << false
        << MountEntry{};
    QTest::newRow("relative mount point")
        << QByteArray("36 35 98:0 / mnt rw - ext3 /dev/root rw") << false << MountEntry{};
}

void TestMountTable::parseLine()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, valid);
    QFETCH(MountEntry, expected);
    // The line between two good ones, so a bad line cannot take its neighbours with it.
    const QByteArray text =
        "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n" + line + "\n2 1 8:2 / /home rw - ext4 /dev/sda2 rw";
    const MountTable table = MountTable::parse(text);
    QCOMPARE(table.entries().size(), valid ? 3 : 2);
    QCOMPARE(table.entries().first().mountPoint, QStringLiteral("/"));
    QCOMPARE(table.entries().last().mountPoint, QStringLiteral("/home"));
    if (valid)
        QCOMPARE(table.entries().at(1), expected);
}

namespace {

const QByteArray kDesktop = "22 27 0:21 / /proc rw - proc proc rw\n"
                            "27 1 8:2 / / rw shared:1 - ext4 /dev/sda2 rw\n"
                            "30 27 8:3 / /home rw shared:2 - ext4 /dev/sda3 rw\n"
                            "40 27 8:17 / /media/usb rw - vfat /dev/sdb1 rw\n"
                            "41 27 8:33 / /media/usb2 rw - vfat /dev/sdc1 rw\n"
                            "42 30 0:40 / /home/me/My\\040Music rw - nfs4 nas:/music rw\n";

} // namespace

void TestMountTable::mountOf_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("mountPoint");

    QTest::newRow("file on the stick") << u"/media/usb/album/01.mp3"_s << u"/media/usb"_s;
    QTest::newRow("not fooled by a shared prefix") << u"/media/usb2/x"_s << u"/media/usb2"_s;
    QTest::newRow("longest wins over its parent")
        << u"/home/me/My Music/a.mp3"_s << u"/home/me/My Music"_s;
    QTest::newRow("beside the nested mount") << u"/home/me/My Musicals"_s << u"/home"_s;
    QTest::newRow("relative path") << u"media/usb"_s << u""_s;
}

void TestMountTable::mountOf()
{
    QFETCH(QString, path);
    QFETCH(QString, mountPoint);
    const auto entry = MountTable::parse(kDesktop).mountOf(path);
    QCOMPARE(entry ? entry->mountPoint : QString(), mountPoint);
}

void TestMountTable::visibleEntries_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QStringList>("visibleSources");

    QTest::newRow("children listed before the root")
        << QByteArray("22 27 0:21 / /proc rw - proc proc rw\n"
                      "27 1 8:2 / / rw - ext4 /dev/sda2 rw\n")
        << u"/proc/x"_s << u"proc"_s << QStringList{"proc", "/dev/sda2"};
    QTest::newRow("stacked on the same point: the last one counts")
        << QByteArray("27 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
                      "40 27 8:17 / /mnt rw - vfat /dev/sdb1 rw\n"
                      "41 40 8:33 / /mnt rw - vfat /dev/sdc1 rw\n")
        << u"/mnt/a.mp3"_s << u"/dev/sdc1"_s << QStringList{"/dev/sda2", "/dev/sdc1"};
    QTest::newRow("hidden by a mount on the folder above")
        << QByteArray("27 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
                      "40 27 8:17 / /media/usb rw - vfat /dev/sdb1 rw\n"
                      "41 27 0:50 / /media rw - tmpfs tmpfs rw\n")
        << u"/media/usb/a.mp3"_s << u"tmpfs"_s << QStringList{"/dev/sda2", "tmpfs"};
    QTest::newRow("mounted on top of a later parent stays visible")
        << QByteArray("27 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
                      "41 27 0:50 / /media rw - tmpfs tmpfs rw\n"
                      "40 41 8:17 / /media/usb rw - vfat /dev/sdb1 rw\n")
        << u"/media/usb/a.mp3"_s << u"/dev/sdb1"_s
        << QStringList{"/dev/sda2", "tmpfs", "/dev/sdb1"};
    QTest::newRow("root overmounted") << QByteArray("27 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
                                                    "30 27 8:3 / /home rw - ext4 /dev/sda3 rw\n"
                                                    "50 27 0:60 / / rw - overlay overlay rw\n")
                                      << u"/home/me"_s << u"overlay"_s << QStringList{"overlay"};
    QTest::newRow("a parent cycle does not hang")
        << QByteArray("40 41 8:17 / /a rw - vfat /dev/sdb1 rw\n"
                      "41 40 8:33 / / rw - vfat /dev/sdc1 rw\n")
        << u"/a"_s << u"/dev/sdb1"_s << QStringList{"/dev/sdb1", "/dev/sdc1"};
}

void TestMountTable::visibleEntries()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, path);
    QFETCH(QString, source);
    QFETCH(QStringList, visibleSources);

    const MountTable table = MountTable::parse(text);
    QStringList sources;
    for (const MountEntry &entry : table.visibleEntries())
        sources << entry.source;
    QCOMPARE(sources, visibleSources);
    const auto entry = table.mountOf(path);
    QVERIFY(entry);
    QCOMPARE(entry->source, source);
}

QTEST_GUILESS_MAIN(TestMountTable)
#include "tst_mounttable.moc"
