#include "grid/statusline.h"
#include "support/fakevolumes.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestStatusLine : public QObject
{
    Q_OBJECT

private slots:
    void text_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("expected");
        QTest::newRow("OK is a hard disk") << u"OK"_s << u"/home/ada/Musica/"_s << u"TRACKLODGE_1"_s
                                           << u"brano - HARD DISK (/) - TRACKLODGE_1"_s;
        QTest::newRow("CD on its mount point") << u"CDROM"_s << u"/media/cdrom/Rock/"_s << u"Rock"_s
                                               << u"brano - CDROM (/media/cdrom) - ROCK"_s;
        QTest::newRow("removable nested mount")
            << u"Disco Rimovibile"_s << u"/media/cdrom2/x/"_s << u"usb"_s
            << u"brano - DISCO RIMOVIBILE (/) - USB"_s;
    }

    void text()
    {
        QFETCH(QString, state);
        QFETCH(QString, folder);
        QFETCH(QString, label);
        QFETCH(QString, expected);
        FakeVolumes volumes;
        VolumeInfo root;
        root.mountPoint = QStringLiteral("/");
        VolumeInfo cd;
        cd.mountPoint = QStringLiteral("/media/cdrom");
        volumes.list = {root, cd};
        GridRow row;
        row[FileName] = QStringLiteral("brano");
        row[State] = state;
        row[Folder] = folder;
        row[MediumLabel] = label;
        QCOMPARE(statusLineText(row, volumes), expected);
    }
};

QTEST_GUILESS_MAIN(TestStatusLine)
#include "tst_statusline.moc"
