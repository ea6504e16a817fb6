#include "platform/volumeserial.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kSector = 2048;

QByteArray descriptor(quint8 kind, QByteArrayView escapes = {}, char fill = '\0')
{
    QByteArray sector(kSector, fill);
    sector[0] = char(kind);
    sector.replace(1, 5, "CD001");
    sector[6] = 1;
    if (!escapes.isEmpty())
        sector.replace(88, escapes.size(), escapes.toByteArray());
    return sector;
}

} // namespace

class TestVolumeSerial : public QObject
{
    Q_OBJECT

private slots:
    void fromProbe_data();
    void fromProbe();
    void fromIsoDescriptor_data();
    void fromIsoDescriptor();
    void isoDescriptorOf_data();
    void isoDescriptorOf();
    void fromFsidMatchesUuid();
    void fnv1a32_data();
    void fnv1a32();
    void fromMountIdentity_data();
    void fromMountIdentity();
};

void TestVolumeSerial::fromProbe_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("uuid");
    QTest::addColumn<bool>("found");
    QTest::addColumn<qint32>("serial");

    QTest::newRow("fat positive id")
        << QByteArray("vfat") << QByteArray("1234-ABCD") << true << qint32(0x1234ABCD);
    QTest::newRow("fat lower-case digits")
        << QByteArray("vfat") << QByteArray("8a3b-1c2d") << true << qint32(-1975837651);
    QTest::newRow("upper-case uuid, words xored")
        << QByteArray("ext4") << QByteArray("7DAEB3DE-F0F6-4BD1-B269-E0CD6FCA9FE9") << true
        << qint32(730331984);
    QTest::newRow("ntfs high half ignored")
        << QByteArray("ntfs") << QByteArray("FFFFFFFF00000001") << true << qint32(1);
    QTest::newRow("little-endian words")
        << QByteArray("xfs") << QByteArray("01000000-0000-0000-0000-000000000000") << true
        << qint32(1);
    // Text UUIDs of any other shape are hashed, so they still give a stable serial.
    QTest::newRow("iso date uuid hashed")
        << QByteArray("iso9660") << QByteArray("2023-11-14-22-13-20-00") << true
        << qint32(VolumeSerial::fnv1a32("U:2023-11-14-22-13-20-00"));
    QTest::newRow("malformed fat id hashed") << QByteArray("vfat") << QByteArray("DEADBEEF") << true
                                             << qint32(VolumeSerial::fnv1a32("U:DEADBEEF"));
    QTest::newRow("no uuid") << QByteArray("vfat") << QByteArray() << false << qint32(0);
}

void TestVolumeSerial::fromProbe()
{
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, uuid);
    QFETCH(bool, found);
    QFETCH(qint32, serial);
    const auto result = VolumeSerial::fromProbe(ProbeResult{type, uuid, {}, {}});
    QCOMPARE(result.has_value(), found);
    if (found)
        QCOMPARE(*result, serial);
}

void TestVolumeSerial::fromIsoDescriptor_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint32>("serial");

    QTest::newRow("byte 0 goes to the top") << QByteArray("\x01\0\0\0", 4) << qint32(0x01000000);
    QTest::newRow("lanes repeat every four bytes")
        << QByteArray("\x01\x02\x03\x04\x10\x20\x30\x40", 8) << qint32(0x11223344);
    // 256 ones in lane 3 wrap to zero and carry nothing into lane 2.
    QTest::newRow("no carry between lanes") << QByteArray(1024, '\x01') << qint32(0);
    QTest::newRow("negative result") << QByteArray("\x80\0\0\0", 4) << qint32(-2147483647 - 1);
}

void TestVolumeSerial::fromIsoDescriptor()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint32, serial);
    QCOMPARE(VolumeSerial::fromIsoDescriptor(bytes), serial);
}

void TestVolumeSerial::isoDescriptorOf_data()
{
    QTest::addColumn<QByteArray>("set");
    QTest::addColumn<QByteArray>("chosen");

    const QByteArray primary = descriptor(1, {}, 'p');
    const QByteArray joliet = descriptor(2, "%/E", 'j');
    const QByteArray jolietLevel1 = descriptor(2, "%/@", 'k');
    const QByteArray otherSupplementary = descriptor(2, "xyz", 's');
    const QByteArray boot = descriptor(0, {}, 'b');
    const QByteArray terminator = descriptor(255);

    QTest::newRow("primary only") << primary + terminator << primary;
    QTest::newRow("joliet preferred") << primary + joliet + terminator << joliet;
    QTest::newRow("joliet level 1") << primary + jolietLevel1 + terminator << jolietLevel1;
    QTest::newRow("boot record skipped") << boot + primary + joliet + terminator << joliet;
    QTest::newRow("non-joliet supplementary ignored")
        << primary + otherSupplementary + terminator << primary;
    QTest::newRow("nothing after the terminator") << primary + terminator + joliet << primary;
    QTest::newRow("no iso signature") << QByteArray(kSector * 2, 'x') << QByteArray();
}

void TestVolumeSerial::isoDescriptorOf()
{
    QFETCH(QByteArray, set);
    QFETCH(QByteArray, chosen);
    QCOMPARE(VolumeSerial::isoDescriptorOf(set), chosen);
}

void TestVolumeSerial::fromFsidMatchesUuid()
{
    // How ext4 builds f_fsid: each half is the XOR of two little-endian words of the UUID.
    const quint32 words[4] = {0xdeb3ae7d, 0xd14bf6f0, 0xcde069b2, 0xe99fca6f};
    const qint32 serial = VolumeSerial::fromFsid(words[0] ^ words[2], words[1] ^ words[3]);
    QCOMPARE(serial, qint32(730331984));
    QCOMPARE(VolumeSerial::fromUuid128("7daeb3de-f0f6-4bd1-b269-e0cd6fca9fe9"), serial);
}

void TestVolumeSerial::fnv1a32_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<quint32>("hash");

    // Reference values of 32-bit FNV-1a.
    QTest::newRow("empty") << QByteArray() << quint32(0x811c9dc5);
    QTest::newRow("foobar") << QByteArray("foobar") << quint32(0xbf9cf968);
    QTest::newRow("high byte") << QByteArray("\xff") << quint32(0x7a0b824e);
}

void TestVolumeSerial::fnv1a32()
{
    QFETCH(QByteArray, bytes);
    QFETCH(quint32, hash);
    QCOMPARE(VolumeSerial::fnv1a32(bytes), hash);
}

void TestVolumeSerial::fromMountIdentity_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("mountPoint");
    QTest::addColumn<QString>("serial");

    // Stored in catalogues: these values must never change.
    QTest::newRow("tmpfs") << u"tmpfs"_s << u"tmpfs"_s << u"/tmp"_s << u"-377915041"_s;
    QTest::newRow("nfs share") << u"nfs4"_s << u"nas:/export/music"_s << u"/mnt/nas"_s
                               << u"-1492962460"_s;
    QTest::newRow("overlay") << u"overlay"_s << u"overlay"_s << u"/"_s << u"-838178922"_s;
    QTest::newRow("unicode mount point")
        << u"cifs"_s << u"//nas/musica"_s << u"/mnt/perché"_s << u"-761709202"_s;
}

void TestVolumeSerial::fromMountIdentity()
{
    QFETCH(QString, type);
    QFETCH(QString, source);
    QFETCH(QString, mountPoint);
    QFETCH(QString, serial);
    QCOMPARE(VolumeSerial::text(VolumeSerial::fromMountIdentity(type, source, mountPoint)), serial);
}

QTEST_GUILESS_MAIN(TestVolumeSerial)
#include "tst_volumeserial.moc"
