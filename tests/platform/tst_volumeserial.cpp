#include "platform/volumeserial.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kSector = 2048;

// A volume descriptor whose bytes after the escapes are all `fill`, so the one chosen shows.
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

QString chosen(const QByteArray &set)
{
    const QByteArray d = VolumeSerial::isoDescriptorOf(set);
    return d.size() == kSector ? QString(QLatin1Char(d.at(100))) : u"none"_s;
}

QString ofProbe(const char *type, const char *uuid)
{
    const auto serial = VolumeSerial::fromProbe(ProbeResult{type, uuid, {}, {}});
    return serial ? QString::number(*serial) : u"none"_s;
}

QString hashed(const char *uuid)
{
    return QString::number(qint32(VolumeSerial::fnv1a32(QByteArray("U:") + uuid)));
}

} // namespace

class TestVolumeSerial : public QObject
{
    Q_OBJECT

private slots:
    void serial_data();
    void serial();
};

// The serials are stored in catalogues to know a medium again: every value here is frozen.
void TestVolumeSerial::serial_data()
{
    QTest::addColumn<QString>("got");
    QTest::addColumn<QString>("want");
    const auto row = [](const char *name, const QString &got, const QString &want) {
        QTest::newRow(name) << got << want;
    };
    const auto number = [](qint64 n) {
        return QString::number(n);
    };

    row("fat positive id", ofProbe("vfat", "1234-ABCD"), number(0x1234ABCD));
    row("fat lower-case digits", ofProbe("vfat", "8a3b-1c2d"), u"-1975837651"_s);
    row("upper-case uuid, words xored", ofProbe("ext4", "7DAEB3DE-F0F6-4BD1-B269-E0CD6FCA9FE9"),
        u"730331984"_s);
    row("ntfs high half ignored", ofProbe("ntfs", "FFFFFFFF00000001"), u"1"_s);
    row("little-endian words", ofProbe("xfs", "01000000-0000-0000-0000-000000000000"), u"1"_s);
    // Text UUIDs of any other shape are hashed, so they still give a stable serial.
    row("iso date uuid hashed", ofProbe("iso9660", "2023-11-14-22-13-20-00"),
        hashed("2023-11-14-22-13-20-00"));
    row("malformed fat id hashed", ofProbe("vfat", "DEADBEEF"), hashed("DEADBEEF"));
    row("no uuid", ofProbe("vfat", ""), u"none"_s);

    using VolumeSerial::fromIsoDescriptor;
    row("CD: byte 0 goes to the top", number(fromIsoDescriptor({"\x01\0\0\0", 4})),
        number(0x01000000));
    row("CD: lanes repeat every four bytes",
        number(fromIsoDescriptor({"\x01\x02\x03\x04\x10\x20\x30\x40", 8})), number(0x11223344));
    // 256 ones in lane 3 wrap to zero and carry nothing into lane 2.
    row("CD: no carry between lanes", number(fromIsoDescriptor(QByteArray(1024, '\x01'))), "0");
    row("CD: negative result", number(fromIsoDescriptor({"\x80\0\0\0", 4})), u"-2147483648"_s);

    const QByteArray primary = descriptor(1, {}, 'p');
    const QByteArray joliet = descriptor(2, "%/E", 'j');
    const QByteArray end = descriptor(255);
    row("descriptor: primary only", chosen(primary + end), "p");
    row("descriptor: joliet preferred", chosen(primary + joliet + end), "j");
    row("descriptor: joliet level 1", chosen(primary + descriptor(2, "%/@", 'k') + end), "k");
    row("descriptor: boot record skipped", chosen(descriptor(0, {}, 'b') + primary + joliet + end),
        "j");
    row("descriptor: non-joliet supplementary ignored",
        chosen(primary + descriptor(2, "xyz", 's') + end), "p");
    row("descriptor: nothing after the terminator", chosen(primary + end + joliet), "p");
    row("descriptor: no iso signature", chosen(QByteArray(kSector * 2, 'x')), u"none"_s);

    // How ext4 builds f_fsid: each half is the XOR of two little-endian words of the UUID.
    row("ext fsid",
        number(VolumeSerial::fromFsid(0xdeb3ae7d ^ 0xcde069b2, 0xd14bf6f0 ^ 0xe99fca6f)),
        u"730331984"_s);
    row("ext uuid", number(*VolumeSerial::fromUuid128("7daeb3de-f0f6-4bd1-b269-e0cd6fca9fe9")),
        u"730331984"_s);

    // Reference values of 32-bit FNV-1a.
    row("fnv empty", number(VolumeSerial::fnv1a32("")), number(0x811c9dc5));
    row("fnv foobar", number(VolumeSerial::fnv1a32("foobar")), number(0xbf9cf968));
    row("fnv high byte", number(VolumeSerial::fnv1a32("\xff")), number(0x7a0b824e));

    const auto mount = [](const QString &type, const QString &source, const QString &point) {
        return VolumeSerial::text(VolumeSerial::fromMountIdentity(type, source, point));
    };
    row("tmpfs", mount(u"tmpfs"_s, u"tmpfs"_s, u"/tmp"_s), u"-377915041"_s);
    row("nfs share", mount(u"nfs4"_s, u"nas:/export/music"_s, u"/mnt/nas"_s), u"-1492962460"_s);
    row("overlay", mount(u"overlay"_s, u"overlay"_s, u"/"_s), u"-838178922"_s);
    row("unicode mount point", mount(u"cifs"_s, u"//nas/musica"_s, u"/mnt/perché"_s),
        u"-761709202"_s);
}

void TestVolumeSerial::serial()
{
    QFETCH(QString, got);
    QFETCH(QString, want);
    QCOMPARE(got, want);
}

QTEST_GUILESS_MAIN(TestVolumeSerial)
#include "tst_volumeserial.moc"
