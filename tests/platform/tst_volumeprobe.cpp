#include "platform/volumelabel.h"
#include "platform/volumeprobe.h"
#include "platform/volumeserial.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

bool setTime(const QString &path, qint64 seconds)
{
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

} // namespace

class TestVolumeProbe : public QObject
{
    Q_OBJECT

private slots:
    void image_data();
    void image();
    void notAFileSystem();

private:
    QTemporaryDir m_dir;
};

// One image of each family of file systems whose serial is made another way: a FAT volume id,
// the low half of an NTFS serial, the words of an ext UUID, the sum over a CD's descriptor.
void TestVolumeProbe::image_data()
{
    QTest::addColumn<QString>("command"); // run by sh with IMAGE and FOLDER in its environment
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("label");

    // The serials are stored in catalogues; these values must never change.
    QTest::newRow("fat16") << u"truncate -s 16M \"$IMAGE\" && mkfs.vfat -F 16 -i DEADBEEF "
                              "-n MUSICA \"$IMAGE\""_s
                           << QByteArray("vfat") << u"-559038737"_s << u"MUSICA"_s;
    QTest::newRow("ntfs")
        << u"truncate -s 16M \"$IMAGE\" && mkntfs -F -Q -q -L Archivio \"$IMAGE\" && "
           "ntfslabel --new-serial=0123456789ABCDEF \"$IMAGE\""_s
        << QByteArray("ntfs") << u"-1985229329"_s << u"Archivio"_s;
    QTest::newRow("ext4") << u"truncate -s 8M \"$IMAGE\" && mkfs.ext4 -q -F -U "
                             "7daeb3de-f0f6-4bd1-b269-e0cd6fca9fe9 -L dischi \"$IMAGE\""_s
                          << QByteArray("ext4") << u"730331984"_s << u"dischi"_s;
    QTest::newRow("iso9660 joliet")
        << u"xorriso -as mkisofs -quiet -V CDMUSICA -p TRACKLODGE -A TRACKLODGE -publisher "
           "TRACKLODGE -sysid LINUX -o \"$IMAGE\" -J \"$FOLDER\""_s
        << QByteArray("iso9660") << u"-1699191535"_s << u"CDMUSICA"_s;
}

void TestVolumeProbe::image()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, type);
    QFETCH(QString, serial);
    QFETCH(QString, label);

    const QString image = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".img");
    const QString folder = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".d");
    QVERIFY(QDir().mkpath(folder));
    QFile content(folder + "/brano.txt");
    QVERIFY(content.open(QIODevice::WriteOnly) && content.write("brano\n") == 6);
    content.close();
    QVERIFY(setTime(content.fileName(), 1600000000) && setTime(folder, 1600000000));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The file-system tools live in sbin; fixed dates make the CD images the same on every run.
    environment.insert("PATH", environment.value("PATH") + ":/usr/sbin:/sbin");
    environment.insert("SOURCE_DATE_EPOCH", "1700000000");
    environment.insert("TZ", "UTC");
    environment.insert("LC_ALL", "C");
    environment.insert("IMAGE", image);
    environment.insert("FOLDER", folder);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start("sh", {"-c", command});
    QVERIFY(process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit);
    if (process.exitCode() == 127)
        QSKIP(qPrintable(QString::fromLocal8Bit(process.readAllStandardError())));
    QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());

    const auto probe = VolumeProbe::probe(image);
    QVERIFY(probe);
    QCOMPARE(probe->type, type);
    const auto value = VolumeSerial::fromProbe(*probe);
    QVERIFY(value);
    QCOMPARE(VolumeSerial::text(*value), serial);
    QCOMPARE(VolumeLabel::decode(probe->type, probe->label), label);
}

void TestVolumeProbe::notAFileSystem()
{
    QFile zeros(m_dir.filePath("zeros.img"));
    QVERIFY(zeros.open(QIODevice::WriteOnly) && zeros.resize(1024 * 1024));
    zeros.close();
    QVERIFY(!VolumeProbe::probe(zeros.fileName()));
    QVERIFY(!VolumeProbe::probe(m_dir.filePath("missing/nothing.img")));
}

QTEST_GUILESS_MAIN(TestVolumeProbe)
#include "tst_volumeprobe.moc"
