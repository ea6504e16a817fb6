#include "support/printers.h"
#include "support/testmp3.h"
#include "tags/tagblock.h"

#include <QTest>

namespace {

const QString kBaseName = QStringLiteral("brano");

QString withNuls(const char *text, int nuls)
{
    return QString::fromLatin1(text) + QString(nuls, QChar(0));
}

QByteArray withMarker(QByteArray block, const char *marker)
{
    block.replace(0, 3, marker);
    return block;
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
    void encodeRefusesGenreOutOfRange_data();
    void encodeRefusesGenreOutOfRange();
    void roundTrip_data();
    void roundTrip();
};

void TestTagBlock::decode_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<TagOutcome>("outcome");
    QTest::addColumn<TagValues>("values");

    const QByteArray plain = tagBlock("Song", "Artist", "Album", "1999", "Comment", 17);
    const TagValues song{"Song", "Artist", "Album", "1999", "Comment", "Rock"};
    // The plain tag's values with one field changed.
    const auto with = [&song](QString TagValues::*field, const QString &value) {
        TagValues v = song;
        v.*field = value;
        return v;
    };
    const auto title = [](const QByteArray &bytes) {
        return tagBlock(bytes, "Artist", "Album", "1999", "Comment", 17);
    };
    const auto genre = [](quint8 byte) {
        return tagBlock("Song", "Artist", "Album", "1999", "Comment", byte);
    };
    const TagValues none{kBaseName, {}, {}, {}, {}, {}};

    QTest::newRow("plain tag") << plain << TagOutcome::Present << song;
    QTest::newRow("lower-case marker is no tag")
        << withMarker(plain, "tag") << TagOutcome::Absent << none;
    QTest::newRow("block of 127 bytes") << plain.left(127) << TagOutcome::Unreadable << TagValues{};
    QTest::newRow("block of 129 bytes") << plain + 'x' << TagOutcome::Unreadable << TagValues{};

    QTest::newRow("title of 30 NULs gives the base name")
        << title(QByteArray(30, '\0')) << TagOutcome::Present << with(&TagValues::title, kBaseName);
    QTest::newRow("four letters and 26 NULs keep the NULs")
        << title("Song" + QByteArray(26, '\0')) << TagOutcome::Present
        << with(&TagValues::title, withNuls("Song", 26));
    QTest::newRow("four letters and 26 blanks are trimmed")
        << title("Song" + QByteArray(26, ' ')) << TagOutcome::Present << song;
    QTest::newRow("all-blank title gives the base name")
        << title(QByteArray(30, ' ')) << TagOutcome::Present << with(&TagValues::title, kBaseName);
    QTest::newRow("title starting with NUL and no trailing blank gives the base name")
        << title('\0' + QByteArray(29, 'x')) << TagOutcome::Present
        << with(&TagValues::title, kBaseName);
    QTest::newRow("title of one NUL and blanks keeps the NUL")
        << title(QByteArray(1, '\0')) << TagOutcome::Present
        << with(&TagValues::title, withNuls("", 1));
    QTest::newRow("NULs then letters keep the NULs")
        << tagBlock("Song", "Artist", QByteArray(2, '\0') + "Al", "1999", "Comment", 17)
        << TagOutcome::Present << with(&TagValues::album, withNuls("", 2) + QStringLiteral("Al"));
    QTest::newRow("leading blanks of the title stay")
        << title("  Song") << TagOutcome::Present
        << with(&TagValues::title, QStringLiteral("  Song"));
    QTest::newRow("all-NUL artist has no fallback")
        << tagBlock("Song", QByteArray(30, '\0'), "Album", "1999", "Comment", 17)
        << TagOutcome::Present << with(&TagValues::artist, withNuls("", 30));
    QTest::newRow("empty fields") << tagBlock("Song", "", "", "", "", 17) << TagOutcome::Present
                                  << TagValues{"Song", {}, {}, {}, {}, "Rock"};
    QTest::newRow("year with two leading blanks")
        << tagBlock("Song", "Artist", "Album", "  99", "Comment", 17) << TagOutcome::Present
        << with(&TagValues::year, QStringLiteral("  99"));
    QTest::newRow("comment keeps all 30 bytes")
        << tagBlock("Song", "Artist", "Album", "1999",
                    QByteArray("Comment") + QByteArray(21, ' ') + '\0' + '\x05', 17)
        << TagOutcome::Present
        << with(&TagValues::comment,
                QStringLiteral("Comment") + QString(21, u' ') + QChar(0) + QChar(5));
    QTest::newRow("Windows-1252 bytes")
        << tagBlock("\x80 \xE8 \x9C \x9F", "\x8A\x89", "Album", "1999", "Comment", 17)
        << TagOutcome::Present
        << TagValues{QStringLiteral("\u20AC \u00E8 \u0153 \u0178"),
                     QStringLiteral("\u0160\u2030"),
                     "Album",
                     "1999",
                     "Comment",
                     "Rock"};

    // The names of the genre bytes are GenreTable's; the bytes of the characters Windows1252's.
    QTest::newRow("genre 148") << genre(148) << TagOutcome::Present
                               << with(&TagValues::genre, QString());
    QTest::newRow("genre byte 32, a blank, is Classical")
        << genre(' ') << TagOutcome::Present
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

void TestTagBlock::encode_data()
{
    QTest::addColumn<TagValues>("values");
    QTest::addColumn<int>("genreByte");
    QTest::addColumn<QByteArray>("block");

    const auto values = [](const QString &title, const QString &artist, const QString &year) {
        return TagValues{title,
                         artist,
                         QStringLiteral("Album"),
                         year,
                         QStringLiteral("Comment"),
                         QStringLiteral("ignored")};
    };
    const QString song = QStringLiteral("Song");
    const QString artist = QStringLiteral("Artist");
    const QString year = QStringLiteral("1999");

    QTest::newRow("fields padded with blanks")
        << values(song, artist, year) << 17
        << tagBlock("Song", "Artist", "Album", "1999", "Comment", 17);
    QTest::newRow("31-character title stores the first 30")
        << values(QStringLiteral("abcdefghijklmnopqrstuvwxyz01234"), artist, year) << 17
        << tagBlock("abcdefghijklmnopqrstuvwxyz0123", "Artist", "Album", "1999", "Comment", 17);
    QTest::newRow("30-character title is whole")
        << values(QStringLiteral("abcdefghijklmnopqrstuvwxyz0123"), artist, year) << 17
        << tagBlock("abcdefghijklmnopqrstuvwxyz0123", "Artist", "Album", "1999", "Comment", 17);
    QTest::newRow("empty artist is 30 blanks")
        << values(song, QString(), year) << 17
        << tagBlock("Song", QByteArray(30, ' '), "Album", "1999", "Comment", 17);
    QTest::newRow("short year padded to 4")
        << values(song, artist, QStringLiteral("99")) << 17
        << tagBlock("Song", "Artist", "Album", "99  ", "Comment", 17);
    QTest::newRow("long year cut to 4")
        << values(song, artist, QStringLiteral("19999")) << 17
        << tagBlock("Song", "Artist", "Album", "1999", "Comment", 17);
    QTest::newRow("Windows-1252 characters")
        << values(QStringLiteral("\u20AC \u00E8 \u0153 \u0178"), artist, year) << 17
        << tagBlock("\x80 \xE8 \x9C \x9F", "Artist", "Album", "1999", "Comment", 17);
    QTest::newRow("character beyond 16 bits counts as one")
        << values(QStringLiteral("\U0001F3B5abcdefghijklmnopqrstuvwxyz0123"), artist, year) << 17
        << tagBlock("?abcdefghijklmnopqrstuvwxyz012", "Artist", "Album", "1999", "Comment", 17);
    QTest::newRow("genre 255") << values(song, artist, year) << 255
                               << tagBlock("Song", "Artist", "Album", "1999", "Comment", 255);
}

void TestTagBlock::encode()
{
    QFETCH(TagValues, values);
    QFETCH(int, genreByte);
    QFETCH(QByteArray, block);
    QCOMPARE(encodeTagBlock(values, genreByte), block);
}

void TestTagBlock::encodeRefusesGenreOutOfRange_data()
{
    QTest::addColumn<int>("genreByte");
    QTest::newRow("-1, the index of an unknown name") << -1;
    QTest::newRow("256") << 256;
}

void TestTagBlock::encodeRefusesGenreOutOfRange()
{
    QFETCH(int, genreByte);
    QVERIFY(encodeTagBlock(TagValues{}, genreByte).isEmpty());
}

void TestTagBlock::roundTrip_data()
{
    QTest::addColumn<TagValues>("values");
    QTest::addColumn<int>("genreByte");

    QTest::newRow("Windows-1252 punctuation")
        << TagValues{QStringLiteral("\u201CQuoted\u201D \u2026 \u2122"),
                     QStringLiteral("\u0160tef\u00E1n \u017Di\u017Eek"),
                     QStringLiteral("\u0152uvres \u00E0 l\u2019\u0153il"),
                     QStringLiteral("  99"),
                     QStringLiteral("\u20AC 5 \u2013 \u00FF\u0178"),
                     QStringLiteral("Blues")}
        << 0;
    QTest::newRow("full width fields")
        << TagValues{QString(30, u'\u00E9'), QString(30, u'\u20AC'), QString(30, u'a'),
                     QStringLiteral("2024"), QString(30, u'\u0153'), QStringLiteral("Synth Pop")}
        << 147;
}

void TestTagBlock::roundTrip()
{
    QFETCH(TagValues, values);
    QFETCH(int, genreByte);
    const TagReadResult result = decodeTagBlock(encodeTagBlock(values, genreByte), kBaseName);
    QCOMPARE(result.outcome, TagOutcome::Present);
    QCOMPARE(result.values, values);
}

QTEST_GUILESS_MAIN(TestTagBlock)
#include "tst_tagblock.moc"
