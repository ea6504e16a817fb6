#include "platform/drivelistentry.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestDriveListEntry : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("mountPoint");
        QTest::addColumn<bool>("made"); // the list shows this entry for that mount point and label
        QTest::newRow("labelled") << u"/media/usb [MUSICA]"_s << u"MUSICA"_s << u"/media/usb"_s
                                  << true;
        QTest::newRow("brackets in mount point")
            << u"/media/a [b]/c"_s << u""_s << u"/media/a [b]/c"_s << true;
        QTest::newRow("last opening wins") << u"/m [A [B]]"_s << u"B]"_s << u"/m [A"_s << false;
        QTest::newRow("bracket without blank") << u"/m[X]"_s << u""_s << u"/m[X]"_s << true;
        QTest::newRow("not closed at the end") << u"/m [X] "_s << u""_s << u"/m [X] "_s << true;
        QTest::newRow("empty brackets") << u"/m []"_s << u""_s << u"/m"_s << false;
    }

    void parse()
    {
        QFETCH(QString, entry);
        QFETCH(QString, label);
        QFETCH(QString, mountPoint);
        QFETCH(bool, made);
        QCOMPARE(DriveListEntry::label(entry) + u'|' + DriveListEntry::mountPoint(entry),
                 label + u'|' + mountPoint);
        if (made)
            QCOMPARE(DriveListEntry::text({mountPoint, DriveType::Fixed, label, {}, {}, {}}),
                     entry);
    }
};

QTEST_GUILESS_MAIN(TestDriveListEntry)
#include "tst_drivelistentry.moc"
