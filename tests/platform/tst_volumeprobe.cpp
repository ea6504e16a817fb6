#include "platform/volumelabel.h"
#include "platform/volumeprobe.h"
#include "platform/volumeserial.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestVolumeProbe : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    // One image of each family of file systems whose serial is made another way: a FAT volume id,
    // the low half of an NTFS serial, the words of an ext UUID, the sum over a CD's descriptor. The
    // serials are stored in catalogues; these values must never change.
    void image_data()
    {
        QTest::addColumn<QString>("command"); // run by sh in a folder holding "d/brano.txt"
        QTest::addColumn<QString>("probed");  // type, serial and label; empty: nothing is found
        QTest::newRow("fat16") << u"truncate -s 16M i && mkfs.vfat -F 16 -i DEADBEEF -n MUSICA i"_s
                               << u"vfat -559038737 MUSICA"_s;
        QTest::newRow("ntfs") << u"truncate -s 16M i && mkntfs -F -Q -q -L Archivio i && "
                                 "ntfslabel --new-serial=0123456789ABCDEF i"_s
                              << u"ntfs -1985229329 Archivio"_s;
        QTest::newRow("ext4") << u"truncate -s 8M i && mkfs.ext4 -q -F -U "
                                 "7daeb3de-f0f6-4bd1-b269-e0cd6fca9fe9 -L dischi i"_s
                              << u"ext4 730331984 dischi"_s;
        QTest::newRow("iso9660 joliet")
            << u"touch -d @1600000000 d/brano.txt d && xorriso -as mkisofs "
               "-quiet -V CDMUSICA -p TRACKLODGE -A TRACKLODGE -publisher "
               "TRACKLODGE -sysid LINUX -o i -J d"_s
            << u"iso9660 -1699191535 CDMUSICA"_s;
        QTest::newRow("not a file system") << u"truncate -s 1M i"_s << QString();
    }

    void image()
    {
        QFETCH(QString, command);
        QFETCH(QString, probed);
        const QString folder = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(folder));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // The file-system tools live in sbin; fixed dates make the CD images the same on every run.
        environment.insert("PATH", environment.value("PATH") + ":/usr/sbin:/sbin");
        environment.insert("SOURCE_DATE_EPOCH", "1700000000");
        environment.insert("TZ", "UTC");
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(folder);
        process.start("sh", {"-c", "mkdir d && echo brano > d/brano.txt && " + command});
        QVERIFY(process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit);
        if (process.exitCode() == 127)
            QSKIP(qPrintable(QString::fromLocal8Bit(process.readAllStandardError())));
        QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());

        const auto probe = VolumeProbe::probe(folder + "/i");
        QCOMPARE(probe.has_value(), !probed.isEmpty());
        if (probe) {
            const auto serial = VolumeSerial::fromProbe(*probe);
            QVERIFY(serial);
            QCOMPARE(QStringList({QString::fromLatin1(probe->type), VolumeSerial::text(*serial),
                                  VolumeLabel::decode(probe->type, probe->label)})
                         .join(u' '),
                     probed);
        }
        QVERIFY(!VolumeProbe::probe(folder + "/missing/i"));
    }
};

QTEST_GUILESS_MAIN(TestVolumeProbe)
#include "tst_volumeprobe.moc"
