#include "support/printers.h"
#include "support/testmp3.h"
#include "tags/tagblock.h"

#include <QTest>

namespace {

const QString kBaseName = QStringLiteral("brano");
const TagValues kSong{"Song", "Artist", "Album", "1999", "Comment", "Rock"};

QByteArray withTitle(const QByteArray &title, quint8 genreByte = 17)
{
    return tagBlock(title, "Artist", "Album", "1999", "Comment", genreByte);
}

// The plain song's values with one field changed.
TagValues with(QString TagValues::*field, const QString &value)
{
    TagValues v = kSong;
    v.*field = value;
    return v;
}

} // namespace

class TestTagBlock : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void encode_data();
    void encode();
};

void TestTagBlock::decode_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<TagOutcome>("outcome");
    QTest::addColumn<TagValues>("values");

    const QByteArray plain = withTitle("Song");
    const auto title = &TagValues::title;
    const auto nuls = [](const char *text, int count) {
        return QString::fromLatin1(text) + QString(count, QChar(0));
    };

    QTest::newRow("plain tag") << plain << TagOutcome::Present << kSong;
    QTest::newRow("lower-case marker is no tag")
        << QByteArray("tag" + plain.mid(3)) << TagOutcome::Absent
        << TagValues{kBaseName, {}, {}, {}, {}, {}};
    QTest::newRow("block of 127 bytes") << plain.left(127) << TagOutcome::Unreadable << TagValues{};
    QTest::newRow("block of 129 bytes") << plain + 'x' << TagOutcome::Unreadable << TagValues{};
    QTest::newRow("title of 30 NULs gives the base name")
        << withTitle(QByteArray(30, '\0')) << TagOutcome::Present << with(title, kBaseName);
    QTest::newRow("four letters and 26 NULs keep the NULs")
        << withTitle("Song" + QByteArray(26, '\0')) << TagOutcome::Present
        << with(title, nuls("Song", 26));
    QTest::newRow("all-blank title gives the base name")
        << withTitle(QByteArray(30, ' ')) << TagOutcome::Present << with(title, kBaseName);
    QTest::newRow("title starting with NUL and no trailing blank gives the base name")
        << withTitle('\0' + QByteArray(29, 'x')) << TagOutcome::Present << with(title, kBaseName);
    QTest::newRow("title of one NUL and blanks keeps the NUL")
        << withTitle(QByteArray(1, '\0')) << TagOutcome::Present << with(title, nuls("", 1));
    QTest::newRow("leading blanks of the title stay")
        << withTitle("  Song") << TagOutcome::Present << with(title, QStringLiteral("  Song"));
    QTest::newRow("all-NUL artist has no fallback")
        << tagBlock("Song", QByteArray(30, '\0'), "Album", "1999", "Comment", 17)
        << TagOutcome::Present << with(&TagValues::artist, nuls("", 30));
    QTest::newRow("genre 0 is Blues") << withTitle("Song", 0) << TagOutcome::Present
                                      << with(&TagValues::genre, QStringLiteral("Blues"));
    QTest::newRow("genre 148 has no name")
        << withTitle("Song", 148) << TagOutcome::Present << with(&TagValues::genre, QString());
    QTest::newRow("genre byte 32, a blank, is Classical")
        << withTitle("Song", ' ') << TagOutcome::Present
        << with(&TagValues::genre, QStringLiteral("Classical"));
}

void TestTagBlock::decode()
{
    QFETCH(QByteArray, block);
    QFETCH(TagOutcome, outcome);
    QFETCH(TagValues, values);
    const TagReadResult result = decodeTagBlock(block, kBaseName);
    QCOMPARE(result.outcome, outcome);
    QCOMPARE(result.values, values);
}

// An empty expected block means the genre byte is refused.
void TestTagBlock::encode_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("year");
    QTest::addColumn<int>("genreByte");
    QTest::addColumn<QByteArray>("block");

    const QString song = QStringLiteral("Song");
    const QString year = QStringLiteral("1999");
    const auto block = [](const QByteArray &title, const QByteArray &y, quint8 genreByte) {
        return tagBlock(title, "Artist", "Album", y, "Comment", genreByte);
    };

    QTest::newRow("fields padded with blanks") << song << year << 17 << block("Song", "1999", 17);
    QTest::newRow("31-character title stores the first 30")
        << QStringLiteral("abcdefghijklmnopqrstuvwxyz01234") << year << 17
        << block("abcdefghijklmnopqrstuvwxyz0123", "1999", 17);
    QTest::newRow("character beyond 16 bits counts as one")
        << QStringLiteral("\U0001F3B5abcdefghijklmnopqrstuvwxyz0123") << year << 17
        << block("?abcdefghijklmnopqrstuvwxyz012", "1999", 17);
    QTest::newRow("short year padded to 4")
        << song << QStringLiteral("99") << 17 << block("Song", "99  ", 17);
    QTest::newRow("long year cut to 4")
        << song << QStringLiteral("19999") << 17 << block("Song", "1999", 17);
    QTest::newRow("genre 0, Blues") << song << year << 0 << block("Song", "1999", 0);
    QTest::newRow("genre 255") << song << year << 255 << block("Song", "1999", 255);
    QTest::newRow("-1, the index of an unknown name, refused")
        << song << year << -1 << QByteArray();
    QTest::newRow("256 refused") << song << year << 256 << QByteArray();
}

void TestTagBlock::encode()
{
    QFETCH(QString, title);
    QFETCH(QString, year);
    QFETCH(int, genreByte);
    QFETCH(QByteArray, block);
    const TagValues values{title, "Artist", "Album", year, "Comment", "ignored"};
    QCOMPARE(encodeTagBlock(values, genreByte), block);
}

QTEST_GUILESS_MAIN(TestTagBlock)
#include "tst_tagblock.moc"
