#include "platform/fileattributes.h"
#include "support/filestate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

class TestFileAttributes : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void makeOwnerWritable_data();
    void makeOwnerWritable();
    void refusedChangeIsAFailure();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFileAttributes::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestFileAttributes::makeOwnerWritable_data()
{
    QTest::addColumn<QString>("scene"); // what lies at the path
    QTest::addColumn<int>("mode");      // of the file made for the scene
    QTest::addColumn<OwnerWrite>("result");
    QTest::addColumn<int>("modeAfter"); // of the file, -1 when there is none
    QTest::newRow("read-only for all") << "file" << 0444 << OwnerWrite::Added << 0644;
    QTest::newRow("set-group-ID bit kept") << "file" << 02555 << OwnerWrite::Added << 02755;
    QTest::newRow("already writable") << "file" << 0640 << OwnerWrite::AlreadySet << 0640;
    QTest::newRow("link to a read-only file") << "link" << 0444 << OwnerWrite::Added << 0644;
    QTest::newRow("missing file") << "none" << 0 << OwnerWrite::NoFile << -1;
    QTest::newRow("dangling link") << "dangling" << 0 << OwnerWrite::NoFile << -1;
    QTest::newRow("folder") << "folder" << 0555 << OwnerWrite::NoFile << 0555;
}

void TestFileAttributes::makeOwnerWritable()
{
    QFETCH(QString, scene);
    QFETCH(int, mode);
    QFETCH(OwnerWrite, result);
    QFETCH(int, modeAfter);
    const QString target = m_dir->filePath(QStringLiteral("target.mp3"));
    const QString path = m_dir->filePath(QStringLiteral("brano.mp3"));
    const QString made = scene == QLatin1String("link") ? target : path;
    if (scene == QLatin1String("file") || scene == QLatin1String("link")) {
        QFile file(made);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("audio");
    } else if (scene == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(made));
    }
    if (scene == QLatin1String("link") || scene == QLatin1String("dangling"))
        QCOMPARE(
            ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()),
            0);
    if (scene == QLatin1String("file") || scene == QLatin1String("link") ||
        scene == QLatin1String("folder"))
        QCOMPARE(::chmod(QFile::encodeName(made).constData(), static_cast<mode_t>(mode)), 0);

    QCOMPARE(::makeOwnerWritable(path), result);
    QCOMPARE(permissionBits(made), modeAfter);
    if (scene == QLatin1String("none"))
        QVERIFY2(!QFileInfo::exists(path), "no file is created");
}

void TestFileAttributes::refusedChangeIsAFailure()
{
    // The kernel's own files refuse a change of mode, even to root.
    const QString link = m_dir->filePath(QStringLiteral("stato.mp3"));
    QCOMPARE(::symlink("/proc/self/status", QFile::encodeName(link).constData()), 0);
    QString reason;
    QCOMPARE(::makeOwnerWritable(link, &reason), OwnerWrite::Failed);
    QVERIFY(!reason.isEmpty());
    QCOMPARE(permissionBits(link), 0444);
}

QTEST_GUILESS_MAIN(TestFileAttributes)
#include "tst_fileattributes.moc"
