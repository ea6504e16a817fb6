#include "platform/fileattributes.h"
#include "support/filestate.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

class TestFileAttributes : public QObject
{
    Q_OBJECT

private slots:
    void makeOwnerWritable_data()
    {
        // What lies at the path: file, link, dir, none, or a link to that target (a kernel file
        // refuses any change).
        QTest::addColumn<QString>("scene");
        QTest::addColumn<int>("mode"); // of what is made
        QTest::addColumn<OwnerWrite>("result");
        QTest::addColumn<int>("modeAfter"); // -1 when there is nothing
        QTest::newRow("read-only for all") << "file" << 0444 << OwnerWrite::Added << 0644;
        QTest::newRow("set-group-ID bit kept") << "file" << 02555 << OwnerWrite::Added << 02755;
        QTest::newRow("already writable") << "file" << 0640 << OwnerWrite::AlreadySet << 0640;
        QTest::newRow("link to a read-only file") << "link" << 0444 << OwnerWrite::Added << 0644;
        QTest::newRow("missing file") << "none" << 0 << OwnerWrite::NoFile << -1;
        QTest::newRow("dangling link") << "nowhere" << 0 << OwnerWrite::NoFile << -1;
        QTest::newRow("folder") << "dir" << 0555 << OwnerWrite::NoFile << 0555;
        QTest::newRow("refused by the kernel")
            << "/proc/self/status" << 0444 << OwnerWrite::Failed << 0444;
    }

    void makeOwnerWritable()
    {
        QFETCH(QString, scene);
        QFETCH(int, mode);
        QFETCH(OwnerWrite, result);
        QFETCH(int, modeAfter);
        QTemporaryDir dir;
        const QString path = dir.filePath("brano.mp3");
        const QString made = scene == u"link" ? dir.filePath("target.mp3") : path;
        if (scene == u"dir")
            QVERIFY(QDir().mkdir(made));
        else if (scene == u"file" || scene == u"link")
            QVERIFY(QFile(made).open(QIODevice::WriteOnly));
        if (scene != u"file" && scene != u"dir" && scene != u"none")
            QCOMPARE(::symlink(QFile::encodeName(scene == u"link" ? made : scene).constData(),
                               QFile::encodeName(path).constData()),
                     0);
        if (scene == u"file" || scene == u"link" || scene == u"dir")
            QCOMPARE(::chmod(QFile::encodeName(made).constData(), mode_t(mode)), 0);
        QString reason;
        QCOMPARE(::makeOwnerWritable(path, &reason), result);
        QCOMPARE(reason.isEmpty(), result != OwnerWrite::Failed);
        QCOMPARE(permissionBits(made), modeAfter);
    }
};

QTEST_GUILESS_MAIN(TestFileAttributes)
#include "tst_fileattributes.moc"
