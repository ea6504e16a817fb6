#include "inspection/drivetable.h"
#include "inspection/fileclassifier.h"

#include "support/fakevolumes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

/// A volume of a test row; its mount point is relative to the test's temporary folder ("" is
/// the folder itself).
struct RowVolume
{
    QString mount;
    DriveType type;
};

constexpr QFile::Permissions kWritable =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
constexpr QFile::Permissions kReadOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;

} // namespace

Q_DECLARE_METATYPE(RowVolume)
Q_DECLARE_METATYPE(TagOutcome)

class TestFileClassifier : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void classifyFile_data();
    void classifyFile();

private:
    QString absolute(const QString &relative) const;
    QTemporaryDir m_dir;
};

void TestFileClassifier::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

QString TestFileClassifier::absolute(const QString &relative) const
{
    return relative.isEmpty() ? m_dir.path() : m_dir.path() + u'/' + relative;
}

void TestFileClassifier::classifyFile_data()
{
    QTest::addColumn<QList<RowVolume>>("volumes"); // in drive-list order
    // Used instead of the table built from `volumes` when not empty; mount points relative.
    QTest::addColumn<QList<RowVolume>>("tableOverride");
    QTest::addColumn<QString>("file");    // relative to the temporary folder
    QTest::addColumn<bool>("fileExists"); // false: the file is not created
    QTest::addColumn<QFile::Permissions>("permissions");
    QTest::addColumn<TagOutcome>("outcome");
    QTest::addColumn<QString>("expected");

    using V = QList<RowVolume>;
    const V fixedOnly{{u""_s, DriveType::Fixed}};
    const V withCd{{u""_s, DriveType::Fixed}, {u"cd"_s, DriveType::CdRom}};
    const V withUsb{{u""_s, DriveType::Fixed}, {u"usb"_s, DriveType::Removable}};
    const V cdInsideUsbCdFirst{{u"usb/cd"_s, DriveType::CdRom}, {u"usb"_s, DriveType::Removable}};
    const QString ok = u"OK"_s, noTag = u"Nessun TAG ID3"_s, corrupt = u"File Corrotto!"_s,
                  readOnly = u"Solo Lettura"_s, cdRom = u"CDROM"_s,
                  removable = u"Disco Rimovibile"_s;
    const V none;

    // Step 1 alone: files on a fixed disk keep the word of their tag.
    QTest::newRow("fixed: tagged stays OK")
        << fixedOnly << none << u"f1.mp3"_s << true << kWritable << TagOutcome::Present << ok;

    // Step 2: the owner-write bit.
    QTest::newRow("read-only tagged")
        << fixedOnly << none << u"r1.mp3"_s << true << kReadOnly << TagOutcome::Present << readOnly;
    QTest::newRow("read-only unreadable stays corrupt")
        << fixedOnly << none << u"r3.mp3"_s << true << kReadOnly << TagOutcome::Unreadable
        << corrupt;
    QTest::newRow("group and others may write, owner may not: read-only")
        << fixedOnly << none << u"r5.mp3"_s << true
        << (QFile::ReadOwner | QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther |
            QFile::WriteOther)
        << TagOutcome::Present << readOnly;
    QTest::newRow("missing file is not taken for read-only")
        << fixedOnly << none << u"gone2.mp3"_s << false << kWritable << TagOutcome::Present << ok;

    // Step 3: removable and CD drives.
    QTest::newRow("CD: read-only")
        << withCd << none << u"cd/c3.mp3"_s << true << kReadOnly << TagOutcome::Present << cdRom;
    QTest::newRow("CD: missing file in a subfolder")
        << withCd << none << u"cd/album/gone.mp3"_s << false << kWritable << TagOutcome::Present
        << cdRom;
    QTest::newRow("removable: read-only untagged") << withUsb << none << u"usb/u2.mp3"_s << true
                                                   << kReadOnly << TagOutcome::Absent << removable;

    // The drive is the volume holding the path, compared exactly. Which volume holds a path is
    // the Volumes' rule.
    QTest::newRow("mount point differing in case does not match")
        << withCd << V{{u"CD"_s, DriveType::CdRom}} << u"cd/x1.mp3"_s << true << kWritable
        << TagOutcome::Present << ok;
    QTest::newRow("CD inside a removable mount, listed first")
        << cdInsideUsbCdFirst << none << u"usb/cd/n5.mp3"_s << true << kWritable
        << TagOutcome::Present << cdRom;
    QTest::newRow("table entry of a CD but no volume holds the path")
        << V{} << V{{u"cd"_s, DriveType::CdRom}} << u"cd/x3.mp3"_s << true << kWritable
        << TagOutcome::Present << ok;
}

void TestFileClassifier::classifyFile()
{
    QFETCH(QList<RowVolume>, volumes);
    QFETCH(QList<RowVolume>, tableOverride);
    QFETCH(QString, file);
    QFETCH(bool, fileExists);
    QFETCH(QFile::Permissions, permissions);
    QFETCH(TagOutcome, outcome);
    QFETCH(QString, expected);

    FakeVolumes fake;
    for (const RowVolume &row : volumes) {
        VolumeInfo v;
        v.mountPoint = absolute(row.mount);
        v.type = row.type;
        fake.list << v;
    }
    DriveTable table;
    for (const RowVolume &entry : tableOverride)
        table << DriveTableEntry{absolute(entry.mount), entry.type};
    if (tableOverride.isEmpty())
        table = buildDriveTable(fake.list);

    const QString path = absolute(file);
    if (fileExists) {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(f.setPermissions(permissions));
    }

    QCOMPARE(::classifyFile(path, outcome, table, fake), expected);
}

QTEST_GUILESS_MAIN(TestFileClassifier)
#include "tst_fileclassifier.moc"
