#include "platform/volumelabel.h"

#include <QTest>

class TestVolumeLabel : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void fromLinkName_data();
    void fromLinkName();
};

void TestVolumeLabel::decode_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("label");

    QTest::newRow("fat padded") << QByteArray("vfat") << QByteArray("MUSICA     ") << "MUSICA";
    QTest::newRow("fat utf-8 kept")
        << QByteArray("vfat") << QByteArray("CANZONI \xc3\x80") << QStringLiteral("CANZONI À");
    QTest::newRow("fat cp850 e grave")
        << QByteArray("vfat") << QByteArray("PERCH\x8a") << QStringLiteral("PERCHè");
    QTest::newRow("fat cp850 C cedilla and dotless i")
        << QByteArray("vfat") << QByteArray("\x80\xd5") << QStringLiteral("Çı");
    QTest::newRow("msdos is fat too")
        << QByteArray("msdos") << QByteArray("\x85") << QStringLiteral("à");
    QTest::newRow("exfat is unicode")
        << QByteArray("exfat") << QByteArray("M\xc3\xbasica") << QStringLiteral("Música");
    QTest::newRow("ext4 invalid utf-8 not cp850")
        << QByteArray("ext4") << QByteArray("A\x8a") << QStringLiteral("A\uFFFD");
}

void TestVolumeLabel::decode()
{
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, raw);
    QFETCH(QString, label);
    QCOMPARE(VolumeLabel::decode(type, raw), label);
}

void TestVolumeLabel::fromLinkName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("blank") << "MY\\x20MUSIC" << QByteArray("MY MUSIC");
    QTest::newRow("raw cp850 byte") << "PERCH\\x8a" << QByteArray("PERCH\x8a");
    QTest::newRow("not hex kept") << "A\\xzz" << QByteArray("A\\xzz");
    QTest::newRow("truncated escape kept") << "A\\x2" << QByteArray("A\\x2");
}

void TestVolumeLabel::fromLinkName()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QCOMPARE(VolumeLabel::fromLinkName(name), bytes);
}

QTEST_GUILESS_MAIN(TestVolumeLabel)
#include "tst_volumelabel.moc"
