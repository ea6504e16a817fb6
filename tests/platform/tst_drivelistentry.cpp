#include "platform/drivelistentry.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestDriveListEntry : public QObject
{
    Q_OBJECT

private slots:
    void text_data();
    void text();
    void parse_data();
    void parse();
};

void TestDriveListEntry::text_data()
{
    QTest::addColumn<QString>("mountPoint");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("entry");

    QTest::newRow("labelled stick") << u"/media/usb"_s << u"MUSICA"_s << u"/media/usb [MUSICA]"_s;
    QTest::newRow("no label") << u"/"_s << u""_s << u"/"_s;
    QTest::newRow("blank in mount point")
        << u"/media/My Stick"_s << u"X"_s << u"/media/My Stick [X]"_s;
}

void TestDriveListEntry::text()
{
    QFETCH(QString, mountPoint);
    QFETCH(QString, label);
    QFETCH(QString, entry);
    VolumeInfo volume;
    volume.mountPoint = mountPoint;
    volume.label = label;
    QCOMPARE(DriveListEntry::text(volume), entry);
}

void TestDriveListEntry::parse_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("mountPoint");

    QTest::newRow("labelled") << u"/media/usb [MUSICA]"_s << u"MUSICA"_s << u"/media/usb"_s;
    QTest::newRow("unlabelled") << u"/home"_s << u""_s << u"/home"_s;
    QTest::newRow("blank in label") << u"/media/cd [MY CD]"_s << u"MY CD"_s << u"/media/cd"_s;
    QTest::newRow("brackets in mount point")
        << u"/media/a [b]/c [LABEL]"_s << u"LABEL"_s << u"/media/a [b]/c"_s;
    QTest::newRow("last opening wins") << u"/m [A [B]]"_s << u"B]"_s << u"/m [A"_s;
    QTest::newRow("closing bracket inside label") << u"/m [A]B]"_s << u"A]B"_s << u"/m"_s;
    QTest::newRow("bracket without blank") << u"/m[X]"_s << u""_s << u"/m[X]"_s;
    QTest::newRow("not closed at the end") << u"/m [X] "_s << u""_s << u"/m [X] "_s;
    QTest::newRow("empty brackets") << u"/m []"_s << u""_s << u"/m"_s;
    QTest::newRow("only brackets") << u" []"_s << u""_s << u""_s;
    QTest::newRow("empty entry") << u""_s << u""_s << u""_s;
}

void TestDriveListEntry::parse()
{
    QFETCH(QString, entry);
    QFETCH(QString, label);
    QFETCH(QString, mountPoint);
    QCOMPARE(DriveListEntry::label(entry), label);
    QCOMPARE(DriveListEntry::mountPoint(entry), mountPoint);
}

QTEST_GUILESS_MAIN(TestDriveListEntry)
#include "tst_drivelistentry.moc"
