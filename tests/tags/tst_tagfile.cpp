#include "support/filestate.h"
#include "support/printers.h"
#include "support/testmp3.h"
#include "tags/tagfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

int openDescriptorCount()
{
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files).size());
}

const QRegularExpression kWriteWarning(QStringLiteral("^tag write failed"));

const QByteArray kSongBlock = tagBlock("Song", "Artist", "Album", "1999", "Comment", 17);
const TagValues kNewValues{"New title", "New artist", "New album", "2024", "New comment", {}};
const QByteArray kNewBlock =
    tagBlock("New title", "New artist", "New album", "2024", "New comment", 42);

} // namespace

class TestTagFile : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void readAndWrite_data();
    void readAndWrite();
    void noFileIsNeitherReadNorWritten_data();
    void noFileIsNeitherReadNorWritten();
    void writeThenRead_data();
    void writeThenRead();
    void refusedGenreLeavesTheFileAsItWas();
    void failedAppendLeavesTheFileAsItWas_data();
    void failedAppendLeavesTheFileAsItWas();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString folder() const { return m_dir->path(); }
};

void TestTagFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

// Reads the file, then writes a new tag into it: over an old tag, or appended.
void TestTagFile::readAndWrite_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TagOutcome>("outcome");
    QTest::addColumn<TagValues>("values");
    QTest::addColumn<QByteArray>("written");

    const QByteArray audio = mpegFrames(3);
    const TagValues song{"Song", "Artist", "Album", "1999", "Comment", "Rock"};
    // The title of a file without a tag is its name up to the last dot.
    const TagValues none{"my.brano", {}, {}, {}, {}, {}};
    QTest::newRow("audio and tag")
        << audio + kSongBlock << TagOutcome::Present << song << audio + kNewBlock;
    QTest::newRow("tag-less audio") << audio << TagOutcome::Absent << none << audio + kNewBlock;
    QTest::newRow("127 bytes of a tag") << kSongBlock.left(127) << TagOutcome::Unreadable
                                        << TagValues{} << kSongBlock.left(127) + kNewBlock;
    QTest::newRow("128 bytes that are a tag")
        << kSongBlock << TagOutcome::Present << song << kNewBlock;
    QTest::newRow("128 bytes without tag")
        << audio.left(128) << TagOutcome::Absent << none << audio.left(128) + kNewBlock;
    QTest::newRow("129 bytes starting with a tag")
        << kSongBlock + 'x' << TagOutcome::Absent << none << kSongBlock + 'x' + kNewBlock;
}

void TestTagFile::readAndWrite()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TagOutcome, outcome);
    QFETCH(TagValues, values);
    QFETCH(QByteArray, written);
    const QString path = writeMp3(folder(), QStringLiteral("my.brano.mp3"), bytes);
    QVERIFY(!path.isEmpty());
    const int descriptors = openDescriptorCount();
    const TagReadResult result = ::readTag(path);
    QCOMPARE(openDescriptorCount(), descriptors);
    QCOMPARE(result.outcome, outcome);
    QCOMPARE(result.values, values);

    const TagWriteResult write = ::writeTag(path, kNewValues, 42);
    QVERIFY2(write.ok(), qPrintable(write.errorText));
    QCOMPARE(fileBytes(path), written);
}

void TestTagFile::noFileIsNeitherReadNorWritten_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing file") << QStringLiteral("missing");
    QTest::newRow("directory") << QStringLiteral("directory");
    QTest::newRow("dangling symlink") << QStringLiteral("symlink");
    QTest::newRow("FIFO") << QStringLiteral("fifo");
}

// Open failures: the tests run as root, so a file without permissions would still open; paths
// that are not regular files, or lead nowhere, are used instead.
static QString makeNonFile(const QString &folder, const QString &kind)
{
    const QString path = folder + QStringLiteral("/brano.mp3");
    if (kind == u"directory" && !QDir(folder).mkdir(QStringLiteral("brano.mp3")))
        return {};
    if (kind == u"symlink" && !QFile::link(folder + QStringLiteral("/nowhere.mp3"), path))
        return {};
    if (kind == u"fifo" && ::mkfifo(QFile::encodeName(path).constData(), 0644) != 0)
        return {};
    return path;
}

void TestTagFile::noFileIsNeitherReadNorWritten()
{
    QFETCH(QString, kind);
    const QString path = makeNonFile(folder(), kind);
    QVERIFY(!path.isEmpty());
    const TagReadResult read = ::readTag(path);
    QCOMPARE(read.outcome, TagOutcome::Unreadable);
    QCOMPARE(read.values, TagValues{});
    const QStringList entriesBefore = QDir(folder()).entryList(QDir::AllEntries | QDir::System);

    QTest::ignoreMessage(QtWarningMsg, kWriteWarning);
    const TagWriteResult result = ::writeTag(path, kNewValues, 42);
    QVERIFY(!result.ok());
    QVERIFY2(result.errorText.contains(path), qPrintable(result.errorText));
    // Nothing was created: not the file, not the target of the link.
    QCOMPARE(QDir(folder()).entryList(QDir::AllEntries | QDir::System), entriesBefore);
    QVERIFY(!QFileInfo::exists(folder() + QStringLiteral("/nowhere.mp3")));
    if (kind == u"missing")
        QVERIFY(!QFileInfo::exists(path));
}

void TestTagFile::writeThenRead_data()
{
    QTest::addColumn<TagValues>("written");
    QTest::addColumn<int>("genreByte");
    QTest::addColumn<TagValues>("read");

    QTest::newRow("trailing blanks are lost, leading ones kept")
        << TagValues{"  Song  ", "A ", "B", "99", "C", {}} << 147
        << TagValues{"  Song", "A", "B", "99", "C", "Synth Pop"};
    QTest::newRow("genre 0, Blues, is written")
        << TagValues{"Song", "A", "B", "1999", "C", {}} << 0
        << TagValues{"Song", "A", "B", "1999", "C", "Blues"};
    QTest::newRow("empty title reads back as the base name")
        << TagValues{"", "A", "B", "1999", "C", {}} << 148
        << TagValues{"brano", "A", "B", "1999", "C", ""};
}

void TestTagFile::writeThenRead()
{
    QFETCH(TagValues, written);
    QFETCH(int, genreByte);
    QFETCH(TagValues, read);
    const QString path = writeMp3(folder(), QStringLiteral("brano.mp3"), mpegFrames(2));
    QVERIFY(!path.isEmpty());
    const TagWriteResult result = ::writeTag(path, written, genreByte);
    QVERIFY2(result.ok(), qPrintable(result.errorText));
    const TagReadResult back = ::readTag(path);
    QCOMPARE(back.outcome, TagOutcome::Present);
    QCOMPARE(back.values, read);
}

// Which genre bytes are refused is TagBlock's rule; the file is left as it was.
void TestTagFile::refusedGenreLeavesTheFileAsItWas()
{
    const QByteArray before = mpegFrames(2) + kSongBlock;
    const QString path = writeMp3(folder(), QStringLiteral("brano.mp3"), before);
    QVERIFY(!path.isEmpty());
    QTest::ignoreMessage(QtWarningMsg, kWriteWarning);
    QVERIFY(!::writeTag(path, kNewValues, 256).ok());
    QCOMPARE(fileBytes(path), before);
}

void TestTagFile::failedAppendLeavesTheFileAsItWas_data()
{
    QTest::addColumn<int>("room");
    QTest::newRow("no room after the audio") << 0;
    QTest::newRow("room for part of the tag") << 100;
}

// A file size limit makes the append fail, either at once or after part of the block: the file
// must end up exactly as it was.
void TestTagFile::failedAppendLeavesTheFileAsItWas()
{
    QFETCH(int, room);
    const QByteArray before = mpegFrames(2);
    const QString path = writeMp3(folder(), QStringLiteral("brano.mp3"), before);
    QVERIFY(!path.isEmpty());

    rlimit original{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &original), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = original;
    limited.rlim_cur = static_cast<rlim_t>(before.size() + room);
    QTest::ignoreMessage(QtWarningMsg, kWriteWarning);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const TagWriteResult result = ::writeTag(path, kNewValues, 42);
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &original), 0);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!result.ok());
    QCOMPARE(fileBytes(path), before);
}

QTEST_GUILESS_MAIN(TestTagFile)
#include "tst_tagfile.moc"
