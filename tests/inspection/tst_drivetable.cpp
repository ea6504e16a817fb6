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
    void typeNameOutsideTheTable();
    void buildDriveTable_data();
    void buildDriveTable();
    void entryParts_data();
    void entryParts();
};

void TestDriveTable::typeNameOutsideTheTable()
{
    QCOMPARE(::driveTypeName(static_cast<DriveType>(6)), u"Sconosciuta"_s);
    QCOMPARE(::driveTypeName(static_cast<DriveType>(-1)), u"Sconosciuta"_s);
}

void TestDriveTable::buildDriveTable_data()
{
    QTest::addColumn<QList<VolumeInfo>>("volumes");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("every type, only 1, 2 and 4 listed")
        << QList<VolumeInfo>{volume(u"/mnt/unknown"_s, DriveType::Unknown),
                             volume(u"/media/usb"_s, DriveType::Removable),
                             volume(u"/"_s, DriveType::Fixed),
                             volume(u"/mnt/share"_s, DriveType::Network),
                             volume(u"/media/cdrom"_s, DriveType::CdRom),
                             volume(u"/dev/shm"_s, DriveType::RamDisk)}
        << QStringList{u"/media/usb=Disco Rimovibile"_s, u"/=Fissa"_s, u"/media/cdrom=CDROM"_s};
    QTest::newRow("drive-list order kept, not sorted")
        << QList<VolumeInfo>{volume(u"/media/cdrom"_s, DriveType::CdRom),
                             volume(u"/home"_s, DriveType::Fixed), volume(u"/"_s, DriveType::Fixed),
                             volume(u"/media/a"_s, DriveType::Removable)}
        << QStringList{u"/media/cdrom=CDROM"_s, u"/home=Fissa"_s, u"/=Fissa"_s,
                       u"/media/a=Disco Rimovibile"_s};
    QTest::newRow("mount point containing = and blanks")
        << QList<VolumeInfo>{volume(u"/media/a=b c"_s, DriveType::CdRom)}
        << QStringList{u"/media/a=b c=CDROM"_s};
}

void TestDriveTable::buildDriveTable()
{
    QFETCH(QList<VolumeInfo>, volumes);
    QFETCH(QStringList, expected);
    QCOMPARE(::buildDriveTable(volumes), expected);
}

void TestDriveTable::entryParts_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("mountPoint");
    QTest::addColumn<QString>("typeName");

    QTest::newRow("mount point containing =: split at the last")
        << u"/media/a=b=CDROM"_s << u"/media/a=b"_s << u"CDROM"_s;
    QTest::newRow("mount point ending in =")
        << u"/media/x==Fissa"_s << u"/media/x="_s << u"Fissa"_s;
    QTest::newRow("no separator: no type") << u"/media/cdrom"_s << u"/media/cdrom"_s << QString();
    QTest::newRow("separator only") << u"="_s << QString() << QString();
}

void TestDriveTable::entryParts()
{
    QFETCH(QString, entry);
    QFETCH(QString, mountPoint);
    QFETCH(QString, typeName);
    QCOMPARE(driveTableEntryMountPoint(entry), mountPoint);
    QCOMPARE(driveTableEntryTypeName(entry), typeName);
}

QTEST_GUILESS_MAIN(TestDriveTable)
#include "tst_drivetable.moc"
