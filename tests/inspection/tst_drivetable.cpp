#include "inspection/drivetable.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestDriveTable : public QObject
{
    Q_OBJECT

private slots:
    // One entry per removable, fixed or CD drive, in drive-list order (not sorted).
    void driveTable()
    {
        QList<VolumeInfo> volumes;
        for (const auto &[mountPoint, type] : {std::pair{"/mnt/unknown", DriveType::Unknown},
                                               {"/media/usb", DriveType::Removable},
                                               {"/", DriveType::Fixed},
                                               {"/mnt/share", DriveType::Network},
                                               {"/media/cdrom", DriveType::CdRom},
                                               {"/dev/shm", DriveType::RamDisk}})
            volumes << VolumeInfo{QString::fromLatin1(mountPoint), type, {}, {}, {}, {}};
        QStringList texts;
        for (const DriveTableEntry &entry : ::buildDriveTable(volumes))
            texts << entry.text();
        QCOMPARE(texts,
                 (QStringList{"/media/usb=Disco Rimovibile", "/=Fissa", "/media/cdrom=CDROM"}));
        for (int outside : {6, -1})
            QCOMPARE(::driveTypeName(static_cast<DriveType>(outside)), u"Sconosciuta"_s);
    }
};

QTEST_GUILESS_MAIN(TestDriveTable)
#include "tst_drivetable.moc"
