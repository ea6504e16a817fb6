#include "platform/drivelistentry.h"

#include <QTest>

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

    QTest::newRow("labelled stick") << "/media/usb"
                                    << "MUSICA"
                                    << "/media/usb [MUSICA]";
    QTest::newRow("no label") << "/"
                              << ""
                              << "/";
    QTest::newRow("blank in mount point") << "/media/My Stick"
                                          << "X"
                                          << "/media/My Stick [X]";
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

    QTest::newRow("labelled") << "/media/usb [MUSICA]"
                              << "MUSICA"
                              << "/media/usb";
    QTest::newRow("unlabelled") << "/home"
                                << ""
                                << "/home";
    QTest::newRow("blank in label") << "/media/cd [MY CD]"
                                    << "MY CD"
                                    << "/media/cd";
    QTest::newRow("brackets in mount point") << "/media/a [b]/c [LABEL]"
                                             << "LABEL"
                                             << "/media/a [b]/c";
    QTest::newRow("last opening wins") << "/m [A [B]]"
                                       << "B]"
                                       << "/m [A";
    QTest::newRow("closing bracket inside label") << "/m [A]B]"
                                                  << "A]B"
                                                  << "/m";
    QTest::newRow("bracket without blank") << "/m[X]"
                                           << ""
                                           << "/m[X]";
    QTest::newRow("not closed at the end") << "/m [X] "
                                           << ""
                                           << "/m [X] ";
    QTest::newRow("empty brackets") << "/m []"
                                    << ""
                                    << "/m";
    QTest::newRow("only brackets") << " []"
                                   << ""
                                   << "";
    QTest::newRow("empty entry") << ""
                                 << ""
                                 << "";
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
