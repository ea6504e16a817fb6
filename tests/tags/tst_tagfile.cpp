#include "support/filestate.h"
#include "support/printers.h"
#include "support/testmp3.h"
#include "tags/tagfile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kSongBlock = tagBlock("Song", "Artist", "Album", "1999", "Comment", 17);
const TagValues kNewValues{"New title", "New artist", "New album", "2024", "New comment", {}};
const QByteArray kNewBlock =
    tagBlock("New title", "New artist", "New album", "2024", "New comment", 42);

QByteArray toWindows1252Padded(const QString &text, int width)
{
    QByteArray bytes = text.toLatin1();
    bytes.append(width - bytes.size(), ' ');
    return bytes;
}

} // namespace

class TestTagFile : public QObject
{
    Q_OBJECT

private slots:
    // Reads the file, then writes a new tag into it: over an old tag, or appended. How the block's
    // fields read is TagBlock's test.
    void readAndWrite_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TagOutcome>("outcome");
        QTest::addColumn<QByteArray>("written");
        const QByteArray audio = mpegFrames(3);
        QTest::newRow("audio and tag")
            << audio + kSongBlock << TagOutcome::Present << audio + kNewBlock;
        QTest::newRow("tag-less audio") << audio << TagOutcome::Absent << audio + kNewBlock;
        // A file of exactly one block is all tag: written over, never appended to.
        QTest::newRow("128 bytes, a tag alone") << kSongBlock << TagOutcome::Present << kNewBlock;
        QTest::newRow("127 bytes of a tag")
            << kSongBlock.left(127) << TagOutcome::Unreadable << kSongBlock.left(127) + kNewBlock;
        QTest::newRow("129 bytes starting with a tag")
            << kSongBlock + 'x' << TagOutcome::Absent << kSongBlock + 'x' + kNewBlock;
    }

    void readAndWrite()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(TagOutcome, outcome);
        QFETCH(QByteArray, written);
        QTemporaryDir dir;
        const QString path = writeMp3(dir.path(), u"my.brano.mp3"_s, bytes);
        const auto descriptors = QDir(u"/proc/self/fd"_s).entryList(QDir::Files).size();
        const TagReadResult result = ::readTag(path);
        QCOMPARE(QDir(u"/proc/self/fd"_s).entryList(QDir::Files).size(), descriptors);
        QCOMPARE(result.outcome, outcome);
        // The title of a file without a tag is its name up to the last dot.
        if (outcome != TagOutcome::Unreadable)
            QCOMPARE(result.values.title,
                     outcome == TagOutcome::Present ? u"Song"_s : u"my.brano"_s);
        const TagWriteResult write = ::writeTag(path, kNewValues, 42);
        QVERIFY2(write.ok(), qPrintable(write.errorText));
        QCOMPARE(fileBytes(path), written);
    }

    // A block written over an ID3v1.1 tag keeps its track number when the new comment leaves
    // room for it (28 bytes); otherwise the comment takes all 30 bytes.
    void writeOverTrackNumber_data()
    {
        QTest::addColumn<QByteArray>("oldComment");
        QTest::addColumn<QString>("newComment");
        QTest::addColumn<QByteArray>("writtenComment");
        const QByteArray track7 = QByteArray(1, '\0') + QByteArray(1, 7);
        const auto blanks = [](int n) {
            return QByteArray(n, ' ');
        };
        QTest::newRow("short comment keeps track 7")
            << "Old" + QByteArray(25, '\0') + track7 << u"Nuovo"_s << "Nuovo" + blanks(23) + track7;
        QTest::newRow("28 characters keep it") << "Old" + QByteArray(25, '\0') + track7
                                               << QString(28, u'c') << QByteArray(28, 'c') + track7;
        QTest::newRow("28 accented characters keep it")
            << "Old" + QByteArray(25, '\0') + track7 << QString(28, u'è')
            << QByteArray(28, '\xe8') + track7;
        QTest::newRow("29 characters take its place")
            << "Old" + QByteArray(25, '\0') + track7 << QString(29, u'c')
            << QByteArray(29, 'c') + blanks(1);
        QTest::newRow("empty comment keeps it")
            << QByteArray(28, '\0') + track7 << QString() << blanks(28) + track7;
        QTest::newRow("track byte 0 is no track")
            << QByteArray(30, '\0') << u"Nuovo"_s << "Nuovo" + blanks(25);
        QTest::newRow("ID3v1.0 comment of 30 characters")
            << QByteArray(30, 'x') << u"Nuovo"_s << "Nuovo" + blanks(25);
        QTest::newRow("blank before the last byte is no marker")
            << QByteArray(29, ' ') + QByteArray(1, 7) << u"Nuovo"_s << "Nuovo" + blanks(25);
    }

    void writeOverTrackNumber()
    {
        QFETCH(QByteArray, oldComment);
        QFETCH(QString, newComment);
        QFETCH(QByteArray, writtenComment);
        QTemporaryDir dir;
        const QByteArray audio = mpegFrames(2);
        const QString path = writeMp3(dir.path(), u"brano.mp3"_s, audio,
                                      tagBlock("Song", "Artist", "Album", "1999", oldComment, 17));
        TagValues values = kNewValues;
        values.comment = newComment;
        QVERIFY(::writeTag(path, values, 42).ok());
        QCOMPARE(fileBytes(path), audio + tagBlock("New title", "New artist", "New album", "2024",
                                                   writtenComment, 42));
        // Appended to a file without a tag, a block has no track number.
        const QString untagged = writeMp3(dir.path(), u"nuovo.mp3"_s, audio);
        QVERIFY(::writeTag(untagged, values, 42).ok());
        QCOMPARE(fileBytes(untagged).mid(audio.size() + 97, 30),
                 toWindows1252Padded(newComment, 30));
    }

    // Paths that are not regular files, or lead nowhere (root opens any file whatever its mode); a
    // genre byte TagBlock refuses; a file-size limit that stops the append at once or after part of
    // the block. Nothing is created and the file ends up exactly as it was.
    void failedWriteLeavesEverythingAsItWas_data()
    {
        QTest::addColumn<QString>("scene");
        QTest::addColumn<int>("genre");
        QTest::addColumn<int>("room"); // bytes the size limit leaves after the audio, -1 no limit
        QTest::newRow("missing file") << u"missing"_s << 42 << -1;
        QTest::newRow("directory") << u"directory"_s << 42 << -1;
        QTest::newRow("dangling symlink") << u"symlink"_s << 42 << -1;
        QTest::newRow("FIFO") << u"fifo"_s << 42 << -1;
        QTest::newRow("genre 256") << u"file"_s << 256 << -1;
        QTest::newRow("no room after the audio") << u"file"_s << 42 << 0;
        QTest::newRow("room for part of the tag") << u"file"_s << 42 << 100;
    }

    void failedWriteLeavesEverythingAsItWas()
    {
        QFETCH(QString, scene);
        QFETCH(int, genre);
        QFETCH(int, room);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"brano.mp3"_s);
        const QByteArray before = mpegFrames(2);
        if (scene == u"file")
            writeMp3(dir.path(), u"brano.mp3"_s, before);
        else if (scene == u"directory")
            QVERIFY(QDir(dir.path()).mkdir(u"brano.mp3"_s));
        else if (scene == u"symlink")
            QVERIFY(QFile::link(dir.filePath(u"nowhere.mp3"_s), path));
        else if (scene == u"fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        if (scene != u"file")
            QCOMPARE(::readTag(path).outcome, TagOutcome::Unreadable);
        const QStringList entries = QDir(dir.path()).entryList(QDir::AllEntries | QDir::System);

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^tag write failed"_s));
        const TagWriteResult result = withFileSizeLimit(room < 0 ? -1 : before.size() + room, [&] {
            return ::writeTag(path, kNewValues, genre);
        });

        QVERIFY(!result.ok());
        QVERIFY2(result.errorText.contains(path) || scene == u"file", qPrintable(result.errorText));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System), entries);
        if (scene == u"file")
            QCOMPARE(fileBytes(path), before);
    }
};

QTEST_GUILESS_MAIN(TestTagFile)
#include "tst_tagfile.moc"
