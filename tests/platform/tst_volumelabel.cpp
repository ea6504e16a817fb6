#include "platform/volumelabel.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestVolumeLabel : public QObject
{
    Q_OBJECT

private slots:
    void label_data();
    void label();
};

void TestVolumeLabel::label_data()
{
    QTest::addColumn<QString>("got");
    QTest::addColumn<QString>("want");
    const auto row = [](const char *name, const char *type, const char *raw, const QString &want) {
        QTest::newRow(name) << VolumeLabel::decode(type, raw) << want;
    };
    row("fat padded", "vfat", "MUSICA     ", u"MUSICA"_s);
    row("fat utf-8 kept", "vfat", "CANZONI \xc3\x80", u"CANZONI À"_s);
    row("fat cp850 e grave", "vfat", "PERCH\x8a", u"PERCHè"_s);
    row("fat cp850 C cedilla and dotless i", "vfat", "\x80\xd5", u"Çı"_s);
    row("msdos is fat too", "msdos", "\x85", u"à"_s);
    row("exfat is unicode", "exfat", "M\xc3\xbasica", u"Música"_s);
    row("ext4 invalid utf-8 not cp850", "ext4", "A\x8a", u"A\uFFFD"_s);

    // Names under /dev/disk/by-label escape some bytes as \xNN; the bytes are the raw label.
    const auto link = [](const char *name, const char *escaped, const char *raw) {
        QTest::newRow(name) << QString::fromLatin1(VolumeLabel::fromLinkName(escaped))
                            << QString::fromLatin1(raw);
    };
    link("link name: blank", "MY\\x20MUSIC", "MY MUSIC");
    link("link name: raw cp850 byte", "PERCH\\x8a", "PERCH\x8a");
    link("link name: not hex kept", "A\\xzz", "A\\xzz");
    link("link name: truncated escape kept", "A\\x2", "A\\x2");
}

void TestVolumeLabel::label()
{
    QFETCH(QString, got);
    QFETCH(QString, want);
    QCOMPARE(got, want);
}

QTEST_GUILESS_MAIN(TestVolumeLabel)
#include "tst_volumelabel.moc"
