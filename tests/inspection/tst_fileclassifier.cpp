#include "inspection/drivetable.h"
#include "inspection/fileclassifier.h"

#include "support/fakevolumes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TagOutcome)

class TestFileClassifier : public QObject
{
    Q_OBJECT

private slots:
    // Step 1 is the tag's word; step 2 the owner-write bit; step 3 the drive holding the file.
    void classifyFile_data()
    {
        // Mount points relative to the temporary folder, "" for the folder itself: "cd" is a CD,
        // "usb" removable, any other fixed. The table's entries differ from the volumes when given.
        QTest::addColumn<QStringList>("volumes"); // in drive-list order
        QTest::addColumn<QStringList>("table");
        QTest::addColumn<QString>("file"); // "!" before it: the file is not made
        QTest::addColumn<int>("mode");
        QTest::addColumn<TagOutcome>("outcome");
        QTest::addColumn<QString>("expected");
        const QStringList fixed{""}, withCd{"", "cd"};
        QTest::newRow("read-only tagged") << fixed << QStringList() << u"r1.mp3"_s << 0444
                                          << TagOutcome::Present << u"Solo Lettura"_s;
        QTest::newRow("read-only unreadable stays corrupt")
            << fixed << QStringList() << u"r3.mp3"_s << 0444 << TagOutcome::Unreadable
            << u"File Corrotto!"_s;
        QTest::newRow("group and others may write, owner may not: read-only")
            << fixed << QStringList() << u"r5.mp3"_s << 0466 << TagOutcome::Present
            << u"Solo Lettura"_s;
        QTest::newRow("missing file is not taken for read-only")
            << fixed << QStringList() << u"!gone.mp3"_s << 0 << TagOutcome::Present << u"OK"_s;
        QTest::newRow("CD: missing file in a subfolder")
            << withCd << QStringList() << u"!cd/album/gone.mp3"_s << 0 << TagOutcome::Present
            << u"CDROM"_s;
        QTest::newRow("removable: read-only untagged")
            << QStringList{"", "usb"} << QStringList() << u"usb/u2.mp3"_s << 0444
            << TagOutcome::Absent << u"Disco Rimovibile"_s;
        QTest::newRow("mount point differing in case does not match")
            << withCd << QStringList{"CD"} << u"cd/x1.mp3"_s << 0644 << TagOutcome::Present
            << u"OK"_s;
        QTest::newRow("CD inside a removable mount, listed first")
            << QStringList{"usb/cd", "usb"} << QStringList() << u"usb/cd/n5.mp3"_s << 0644
            << TagOutcome::Present << u"CDROM"_s;
        QTest::newRow("table entry of a CD but no volume holds the path")
            << QStringList() << QStringList{"cd"} << u"cd/x3.mp3"_s << 0644 << TagOutcome::Present
            << u"OK"_s;
    }

    void classifyFile()
    {
        QFETCH(QStringList, volumes);
        QFETCH(QStringList, table);
        QFETCH(QString, file);
        QFETCH(int, mode);
        QFETCH(TagOutcome, outcome);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const auto volumeAt = [&](const QString &mount) {
            const QString base = mount.section(u'/', -1);
            return VolumeInfo{mount.isEmpty() ? dir.path() : dir.filePath(mount),
                              base == u"cd" || base == u"CD" ? DriveType::CdRom
                              : base == u"usb"               ? DriveType::Removable
                                                             : DriveType::Fixed,
                              {},
                              {},
                              {},
                              {}};
        };
        FakeVolumes fake;
        for (const QString &mount : volumes)
            fake.list << volumeAt(mount);
        QList<VolumeInfo> tableVolumes;
        for (const QString &mount : table)
            tableVolumes << volumeAt(mount);
        const QString path = dir.filePath(file.mid(file.startsWith(u'!') ? 1 : 0));
        if (!file.startsWith(u'!')) {
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QVERIFY(QFile(path).open(QIODevice::WriteOnly));
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
        }
        QCOMPARE(::classifyFile(path, outcome,
                                buildDriveTable(table.isEmpty() ? fake.list : tableVolumes), fake),
                 expected);
    }
};

QTEST_GUILESS_MAIN(TestFileClassifier)
#include "tst_fileclassifier.moc"
