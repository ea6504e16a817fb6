#include "inspection/drivetable.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

VolumeInfo volume(const QString &mountPoint, DriveType type)
{
    VolumeInfo v;
    v.mountPoint = mountPoint;
    v.type = type;
    return v;
}

} // namespace

class TestDriveTable : public QObject
{
    Q_OBJECT

private slots:
    void driveTable_data();
    void driveTable();
};

// One entry per removable, fixed or CD drive, in drive-list order, shown as "mount point=type".
void TestDriveTable::driveTable_data()
{
    QTest::addColumn<QString>("got");
    QTest::addColumn<QString>("want");
    const auto table = [](const QList<VolumeInfo> &volumes) {
        QStringList texts;
        for (const DriveTableEntry &entry : ::buildDriveTable(volumes))
            texts << entry.text();
        return texts.join(u'|');
    };

    QTest::newRow("every type, only 1, 2 and 4 listed")
        << table({volume(u"/mnt/unknown"_s, DriveType::Unknown),
                  volume(u"/media/usb"_s, DriveType::Removable), volume(u"/"_s, DriveType::Fixed),
                  volume(u"/mnt/share"_s, DriveType::Network),
                  volume(u"/media/cdrom"_s, DriveType::CdRom),
                  volume(u"/dev/shm"_s, DriveType::RamDisk)})
        << u"/media/usb=Disco Rimovibile|/=Fissa|/media/cdrom=CDROM"_s;
    QTest::newRow("drive-list order kept, not sorted")
        << table({volume(u"/media/cdrom"_s, DriveType::CdRom), volume(u"/home"_s, DriveType::Fixed),
                  volume(u"/"_s, DriveType::Fixed), volume(u"/media/a"_s, DriveType::Removable)})
        << u"/media/cdrom=CDROM|/home=Fissa|/=Fissa|/media/a=Disco Rimovibile"_s;
    QTest::newRow("type code past the table")
        << ::driveTypeName(static_cast<DriveType>(6)) << u"Sconosciuta"_s;
    QTest::newRow("negative type code")
        << ::driveTypeName(static_cast<DriveType>(-1)) << u"Sconosciuta"_s;
}

void TestDriveTable::driveTable()
{
    QFETCH(QString, got);
    QFETCH(QString, want);
    QCOMPARE(got, want);
}

QTEST_GUILESS_MAIN(TestDriveTable)
#include "tst_drivetable.moc"
