#include "platform/volumelabel.h"
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
    sector.replace(1, 6, "CD001\x01");
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

} // namespace

class TestVolumeSerial : public QObject
{
    Q_OBJECT

private slots:
    // Serials are stored in catalogues to know a medium again, and labels name it: every value here
    // is frozen. A whole image of each file system is VolumeProbe's test.
    void serial_data()
    {
        QTest::addColumn<QString>("got");
        QTest::addColumn<QString>("want");
        const auto row = [](const char *name, const QString &got, const QString &want) {
            QTest::newRow(name) << got << want;
        };
        const auto n = [](qint64 value) {
            return QString::number(value);
        };
        using namespace VolumeSerial;
        row("fat lower-case digits", ofProbe("vfat", "8a3b-1c2d"), u"-1975837651"_s);
        row("malformed fat id hashed", ofProbe("vfat", "DEADBEEF"),
            n(qint32(fnv1a32("U:DEADBEEF"))));
        row("no uuid", ofProbe("vfat", ""), u"none"_s);
        row("CD: lanes repeat every four bytes",
            n(fromIsoDescriptor({"\x01\x02\x03\x04\x10\x20\x30\x40", 8})), n(0x11223344));
        // 256 ones in lane 3 wrap to zero and carry nothing into lane 2.
        row("CD: no carry between lanes", n(fromIsoDescriptor(QByteArray(1024, '\x01'))), "0");
        const QByteArray primary = descriptor(1, {}, 'p');
        const QByteArray end = descriptor(255);
        row("descriptor: joliet level 1", chosen(primary + descriptor(2, "%/@", 'k') + end), "k");
        row("descriptor: boot record skipped, non-joliet ignored",
            chosen(descriptor(0, {}, 'b') + primary + descriptor(2, "xyz", 's') + end), "p");
        row("descriptor: nothing after the terminator",
            chosen(primary + end + descriptor(2, "%/E", 'j')), "p");
        row("descriptor: no iso signature", chosen(QByteArray(kSector * 2, 'x')), u"none"_s);
        // How ext4 builds f_fsid: each half is the XOR of two little-endian words of the UUID.
        row("ext fsid", n(fromFsid(0xdeb3ae7d ^ 0xcde069b2, 0xd14bf6f0 ^ 0xe99fca6f)),
            u"730331984"_s);
        row("tmpfs", text(fromMountIdentity(u"tmpfs"_s, u"tmpfs"_s, u"/tmp"_s)), u"-377915041"_s);
        row("unicode mount point",
            text(fromMountIdentity(u"cifs"_s, u"//nas/musica"_s, u"/mnt/perché"_s)),
            u"-761709202"_s);

        using VolumeLabel::decode;
        row("label: fat padded", decode("vfat", "MUSICA     "), u"MUSICA"_s);
        row("label: fat utf-8 kept", decode("vfat", "CANZONI \xc3\x80"), u"CANZONI À"_s);
        row("label: fat cp850", decode("vfat", "PERCH\x8a\x80\xd5"), u"PERCHèÇı"_s);
        row("label: msdos is fat too", decode("msdos", "\x85"), u"à"_s);
        row("label: ext4 invalid utf-8 not cp850", decode("ext4", "A\x8a"), u"A\uFFFD"_s);
        // Names under /dev/disk/by-label escape some bytes as \xNN; the bytes are the raw label.
        const auto link = [](const char *escaped) {
            return QString::fromLatin1(VolumeLabel::fromLinkName(escaped));
        };
        row("link name: blank and raw byte", link("MY\\x20PERCH\\x8a"), u"MY PERCH\x8a"_s);
        row("link name: bad escapes kept", link("A\\xzz\\x2"), u"A\\xzz\\x2"_s);
    }

    void serial()
    {
        QFETCH(QString, got);
        QFETCH(QString, want);
        QCOMPARE(got, want);
    }
};

QTEST_GUILESS_MAIN(TestVolumeSerial)
#include "tst_volumeserial.moc"
