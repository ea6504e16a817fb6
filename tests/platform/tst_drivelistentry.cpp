#include "platform/drivelistentry.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestDriveListEntry : public QObject
{
    Q_OBJECT

private slots:
    void text_data()
    {
        QTest::addColumn<QString>("mountPoint");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("entry");
        QTest::newRow("labelled") << u"/media/usb"_s << u"MUSICA"_s << u"/media/usb [MUSICA]"_s;
        QTest::newRow("unlabelled root") << u"/"_s << u""_s << u"/"_s;
        QTest::newRow("brackets in mount point")
            << u"/media/a [b]"_s << u"C"_s << u"/media/a [b] [C]"_s;
    }

    void text()
    {
        QFETCH(QString, mountPoint);
        QFETCH(QString, label);
        QFETCH(QString, entry);
        QCOMPARE(DriveListEntry::text({mountPoint, DriveType::Fixed, label, {}, {}, {}}), entry);
    }
};

QTEST_GUILESS_MAIN(TestDriveListEntry)
#include "tst_drivelistentry.moc"
