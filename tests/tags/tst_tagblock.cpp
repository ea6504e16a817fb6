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
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QString>("album");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("genre");

    const QByteArray plain = tagBlock("Song", "Artist", "Album", "1999", "Comment", 17);
    const QString song = QStringLiteral("Song");
    const QString artist = QStringLiteral("Artist");
    const QString album = QStringLiteral("Album");
    const QString comment = QStringLiteral("Comment");
    const QString rock = QStringLiteral("Rock");
    const QString year = QStringLiteral("1999");
    const auto row = [&](const char *name, const QByteArray &block) -> QTestData & {
        return QTest::newRow(name) << block;
    };

    row("plain tag", plain) << TagOutcome::Present << song << artist << album << year << comment
                            << rock;
    row("lower-case marker is no tag", withMarker(plain, "tag"))
        << TagOutcome::Absent << kBaseName << QString() << QString() << QString() << QString()
        << QString();
    row("mixed-case marker is no tag", withMarker(plain, "Tag"))
        << TagOutcome::Absent << kBaseName << QString() << QString() << QString() << QString()
        << QString();
    row("block of 127 bytes", plain.left(127)) << TagOutcome::Unreadable << QString() << QString()
                                               << QString() << QString() << QString() << QString();
    row("block of 129 bytes", plain + 'x') << TagOutcome::Unreadable << QString() << QString()
                                           << QString() << QString() << QString() << QString();
    row("empty block", QByteArray()) << TagOutcome::Unreadable << QString() << QString()
                                     << QString() << QString() << QString() << QString();

    row("title of 30 NULs gives the base name",
        tagBlock(QByteArray(30, '\0'), "Artist", "Album", "1999", "Comment", 17))
        << TagOutcome::Present << kBaseName << artist << album << year << comment << rock;
    row("four letters and 26 NULs keep the NULs",
        tagBlock("Song" + QByteArray(26, '\0'), "Artist", "Album", "1999", "Comment", 17))
        << TagOutcome::Present << withNuls("Song", 26) << artist << album << year << comment
        << rock;
    row("four letters and 26 blanks are trimmed",
        tagBlock("Song" + QByteArray(26, ' '), "Artist", "Album", "1999", "Comment", 17))
        << TagOutcome::Present << song << artist << album << year << comment << rock;
    row("all-blank title gives the base name",
        tagBlock(QByteArray(30, ' '), "Artist", "Album", "1999", "Comment", 17))
        << TagOutcome::Present << kBaseName << artist << album << year << comment << rock;
    row("title starting with NUL and no trailing blank gives the base name",
        tagBlock('\0' + QByteArray(29, 'x'), "Artist", "Album", "1999", "Comment", 17))
        << TagOutcome::Present << kBaseName << artist << album << year << comment << rock;
    row("title of one NUL and blanks keeps the NUL",
        tagBlock(QByteArray(1, '\0'), "Artist", "Album", "1999", "Comment", 17))
        << TagOutcome::Present << withNuls("", 1) << artist << album << year << comment << rock;
    row("NULs then letters keep the NULs",
        tagBlock("Song", "Artist", QByteArray(2, '\0') + "Al", "1999", "Comment", 17))
        << TagOutcome::Present << song << artist << withNuls("", 2) + QStringLiteral("Al") << year
        << comment << rock;
    row("leading blanks of the title stay",
        tagBlock("  Song", "Artist", "Album", "1999", "Comment", 17))
        << TagOutcome::Present << QStringLiteral("  Song") << artist << album << year << comment
        << rock;
    row("all-NUL artist has no fallback",
        tagBlock("Song", QByteArray(30, '\0'), "Album", "1999", "Comment", 17))
        << TagOutcome::Present << song << withNuls("", 30) << album << year << comment << rock;
    row("empty fields", tagBlock("Song", "", "", "", "", 17))
        << TagOutcome::Present << song << QString() << QString() << QString() << QString() << rock;
    row("year with two leading blanks", tagBlock("Song", "Artist", "Album", "  99", "Comment", 17))
        << TagOutcome::Present << song << artist << album << QStringLiteral("  99") << comment
        << rock;
    row("comment keeps all 30 bytes",
        tagBlock("Song", "Artist", "Album", "1999",
                 QByteArray("Comment") + QByteArray(21, ' ') + '\0' + '\x05', 17))
        << TagOutcome::Present << song << artist << album << year
        << QStringLiteral("Comment") + QString(21, u' ') + QChar(0) + QChar(5) << rock;
    row("Windows-1252 bytes",
        tagBlock("\x80 \xE8 \x9C \x9F", "\x8A\x89", "Album", "1999", "Comment", 17))
        << TagOutcome::Present << QStringLiteral("\u20AC \u00E8 \u0153 \u0178")
        << QStringLiteral("\u0160\u2030") << album << year << comment << rock;

    row("genre 0", tagBlock("Song", "Artist", "Album", "1999", "Comment", 0))
        << TagOutcome::Present << song << artist << album << year << comment
        << QStringLiteral("Blues");
    row("genre 147", tagBlock("Song", "Artist", "Album", "1999", "Comment", 147))
        << TagOutcome::Present << song << artist << album << year << comment
        << QStringLiteral("Synth Pop");
    row("genre 148", tagBlock("Song", "Artist", "Album", "1999", "Comment", 148))
        << TagOutcome::Present << song << artist << album << year << comment << QString();
    row("genre 255", tagBlock("Song", "Artist", "Album", "1999", "Comment", 255))
        << TagOutcome::Present << song << artist << album << year << comment << QString();
    row("genre byte 32, a blank, is Classical",
        tagBlock("Song", "Artist", "Album", "1999", "Comment", ' '))
        << TagOutcome::Present << song << artist << album << year << comment
        << QStringLiteral("Classical");
}

void TestTagBlock::decode()
{
    QFETCH(QByteArray, block);
    QFETCH(TagOutcome, outcome);
    QFETCH(QString, title);
    QFETCH(QString, artist);
    QFETCH(QString, album);
    QFETCH(QString, year);
    QFETCH(QString, comment);
    QFETCH(QString, genre);

    const TagReadResult result = decodeTagBlock(block, kBaseName);
    QCOMPARE(result.outcome, outcome);
    QCOMPARE(result.values.title, title);
    QCOMPARE(result.values.artist, artist);
    QCOMPARE(result.values.album, album);
    QCOMPARE(result.values.year, year);
    QCOMPARE(result.values.comment, comment);
    QCOMPARE(result.values.genre, genre);
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
    QTest::newRow("characters outside Windows-1252 become ?")
        << values(QStringLiteral("\u0142\u00F3d\u017A \u4E2D"), artist, year) << 17
        << tagBlock("?\xF3"
                    "d? ?",
                    "Artist", "Album", "1999", "Comment", 17);
    QTest::newRow("character beyond 16 bits counts as one")
        << values(QStringLiteral("\U0001F3B5abcdefghijklmnopqrstuvwxyz0123"), artist, year) << 17
        << tagBlock("?abcdefghijklmnopqrstuvwxyz012", "Artist", "Album", "1999", "Comment", 17);
    QTest::newRow("genre 0") << values(song, artist, year) << 0
                             << tagBlock("Song", "Artist", "Album", "1999", "Comment", 0);
    QTest::newRow("genre 147") << values(song, artist, year) << 147
                               << tagBlock("Song", "Artist", "Album", "1999", "Comment", 147);
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

    QTest::newRow("plain") << TagValues{"Song", "Artist", "Album", "1999", "Comment", "Rock"} << 17;
    QTest::newRow("Windows-1252 punctuation")
        << TagValues{QStringLiteral("\u201CQuoted\u201D \u2026 \u2122"),
                     QStringLiteral("\u0160tef\u00E1n \u017Di\u017Eek"),
                     QStringLiteral("\u0152uvres \u00E0 l\u2019\u0153il"),
                     QStringLiteral("  99"),
                     QStringLiteral("\u20AC 5 \u2013 \u00FF\u0178"),
                     QStringLiteral("Blues")}
        << 0;
    QTest::newRow("undefined bytes as controls")
        << TagValues{QStringLiteral("\u0081\u008D\u008F\u0090\u009D"), {}, {}, {}, {}, {}} << 255;
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
