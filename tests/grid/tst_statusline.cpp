#include "grid/statusline.h"
#include "support/fakevolumes.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestStatusLine : public QObject
{
    Q_OBJECT

private slots:
    // The state in capitals, the mount point the folder lies on, the label in capitals.
    void text()
    {
        FakeVolumes volumes;
        volumes.list.resize(2);
        volumes.list[0].mountPoint = u"/"_s;
        volumes.list[1].mountPoint = u"/media/cdrom"_s;
        GridRow row;
        row[FileName] = u"brano"_s;
        row[State] = u"CDROM"_s;
        row[Folder] = u"/media/cdrom/Rock/"_s;
        row[MediumLabel] = u"Rock"_s;
        QCOMPARE(statusLineText(row, volumes), u"brano - CDROM (/media/cdrom) - ROCK"_s);
        // A mount point is a whole folder of the path, not a prefix of its text.
        row[Folder] = u"/media/cdrom2/x/"_s;
        QCOMPARE(statusLineText(row, volumes), u"brano - CDROM (/) - ROCK"_s);
    }
};

QTEST_GUILESS_MAIN(TestStatusLine)
#include "tst_statusline.moc"
