#include "platform/mounttable.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestMountTable : public QObject
{
    Q_OBJECT

private slots:
    // A whole machine's table is LinuxVolumes' test; here the lines and stacks it does not hold.
    void parseLine_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<MountEntry>("expected"); // a default entry: the line is refused

        // Octal escapes of three digits up to \377 are decoded, others kept as written; UTF-8 is
        // text.
        QTest::newRow("escaped mount point and source")
            << QByteArray("80 27 8:17 / /media/m\xc3\xa8/MY\\040STICK rw - vfat "
                          "/dev/disk\\134x\\089\\777\\04\\ rw,fmask=0022")
            << MountEntry{80,     27,
                          8,      17,
                          "/",    QStringLiteral("/media/m\u00e8/MY STICK"),
                          "vfat", "/dev/disk\\x\\089\\777\\04\\"};
        QTest::newRow("carriage return")
            << QByteArray("91 27 0:56 / /tmp rw - tmpfs tmpfs rw\r")
            << MountEntry{91, 27, 0, 56, "/", "/tmp", "tmpfs", "tmpfs"};
        QTest::newRow("missing separator")
            << QByteArray("36 35 98:0 /mnt1 /mnt2 rw,noatime ext3 /dev/root rw") << MountEntry{};
        QTest::newRow("relative mount point")
            << QByteArray("36 35 98:0 / mnt rw - ext3 /dev/root rw") << MountEntry{};
    }

    void parseLine()
    {
        QFETCH(QByteArray, line);
        QFETCH(MountEntry, expected);
        // The line between two good ones, so a bad line cannot take its neighbours with it.
        const QList<MountEntry> entries =
            MountTable::parse("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n" + line +
                              "\n2 1 8:2 / /home rw - ext4 /dev/sda2 rw")
                .entries();
        QCOMPARE(entries.size(), expected.id ? 3 : 2);
        QCOMPARE(entries.last().mountPoint, u"/home"_s);
        if (expected.id)
            QCOMPARE(entries.at(1), expected);
    }

    void mountOf_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("source"); // of the mount holding the path, empty for none
        QTest::addColumn<QStringList>("visibleSources");

        const QByteArray root = "27 1 8:2 / / rw - ext4 /dev/sda2 rw\n";
        const QByteArray desktop = root +
                                   "30 27 8:3 / /home rw - ext4 /dev/sda3 rw\n"
                                   "41 27 8:33 / /media/usb2 rw - vfat /dev/sdc1 rw\n"
                                   "42 30 0:40 / /home/me/My\\040Music rw - nfs4 nas:/m rw\n";
        const QStringList all{"/dev/sda2", "/dev/sda3", "/dev/sdc1", "nas:/m"};
        QTest::newRow("not fooled by a shared prefix")
            << desktop << u"/media/usb"_s << "/dev/sda2" << all;
        QTest::newRow("beside the nested mount")
            << desktop << u"/home/me/My Musicals"_s << "/dev/sda3" << all;
        QTest::newRow("relative path") << desktop << u"media/usb2"_s << "" << all;
        QTest::newRow("hidden by a mount on the folder above")
            << root + "40 27 8:17 / /media/usb rw - vfat /dev/sdb1 rw\n"
                      "41 27 0:50 / /media rw - tmpfs tmpfs rw\n"
            << u"/media/usb/a.mp3"_s << "tmpfs" << QStringList{"/dev/sda2", "tmpfs"};
        QTest::newRow("mounted on top of a later parent stays visible")
            << root + "41 27 0:50 / /media rw - tmpfs tmpfs rw\n"
                      "40 41 8:17 / /media/usb rw - vfat /dev/sdb1 rw\n"
            << u"/media/usb/a.mp3"_s << "/dev/sdb1"
            << QStringList{"/dev/sda2", "tmpfs", "/dev/sdb1"};
        QTest::newRow("a parent cycle does not hang")
            << QByteArray("40 41 8:17 / /a rw - vfat /dev/sdb1 rw\n"
                          "41 40 8:33 / / rw - vfat /dev/sdc1 rw\n")
            << u"/a"_s << "/dev/sdb1" << QStringList{"/dev/sdb1", "/dev/sdc1"};
    }

    void mountOf()
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
        QCOMPARE(entry ? entry->source : QString(), source);
    }
};

QTEST_GUILESS_MAIN(TestMountTable)
#include "tst_mounttable.moc"
