#include "support/printers.h"
#include "support/testmp3.h"
#include "tags/tagblock.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

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
    void decode_data()
    {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<TagOutcome>("outcome");
        QTest::addColumn<TagValues>("values");
        const auto row = [](const char *name, const QByteArray &block, const TagValues &values,
                            TagOutcome outcome = TagOutcome::Present) {
            QTest::newRow(name) << block << outcome << values;
        };
        const auto title = [](const QString &value) {
            return with(&TagValues::title, value);
        };
        const QString nul(1, QChar(0));
        row("plain tag", withTitle("Song"), kSong);
        row("lower-case marker is no tag", "tag" + withTitle("Song").mid(3),
            {u"brano"_s, {}, {}, {}, {}, {}}, TagOutcome::Absent);
        row("block of 127 bytes", withTitle("Song").left(127), {}, TagOutcome::Unreadable);
        // A field ends at its first NUL, as in every other tag reader, then loses its trailing
        // blanks; a title left empty takes the base name.
        row("title of 30 NULs", withTitle(QByteArray(30, '\0')), title(u"brano"_s));
        row("all-blank title", withTitle(QByteArray(30, ' ')), title(u"brano"_s));
        row("title starting with NUL", withTitle('\0' + QByteArray(29, 'x')), title(u"brano"_s));
        row("four letters and 26 NULs", withTitle("Song" + QByteArray(26, '\0')), kSong);
        row("blanks before the NULs go too", withTitle("Song  " + QByteArray(24, '\0')), kSong);
        row("bytes after the first NUL are not text",
            withTitle("Song" + QByteArray(1, '\0') + "garbage" + QByteArray(18, '\0')), kSong);
        row("one NUL and blanks", withTitle(QByteArray(1, '\0')), title(u"brano"_s));
        row("leading blanks of the title stay", withTitle("  Song"), title(u"  Song"_s));
        row("all-NUL artist is empty",
            tagBlock("Song", QByteArray(30, '\0'), "Album", "1999", "Comment", 17),
            with(&TagValues::artist, u""_s));
        row("accented text padded with NULs",
            tagBlock("Perch\xe9" + QByteArray(24, '\0'), "Artist", "Album", "1999", "Comment", 17),
            title(u"Perché"_s));
        // ID3v1.1: the comment's 29th byte is NUL and its 30th the track number.
        row("comment of an ID3v1.1 tag leaves the track out",
            tagBlock("Song", "Artist", "Album", "1999",
                     "Comment" + QByteArray(21, '\0') + QByteArray(1, '\0') + QByteArray(1, 7), 17),
            kSong);
        row("28 comment characters and a track",
            tagBlock("Song", "Artist", "Album", "1999",
                     QByteArray(28, 'c') + QByteArray(1, '\0') + QByteArray(1, 12), 17),
            with(&TagValues::comment, QString(28, u'c')));
        row("year 0000 is a text", tagBlock("Song", "Artist", "Album", "0000", "Comment", 17),
            with(&TagValues::year, u"0000"_s));
        row("year of NULs is empty",
            tagBlock("Song", "Artist", "Album", QByteArray(4, '\0'), "Comment", 17),
            with(&TagValues::year, u""_s));
        row("genre 0 is Blues", withTitle("Song", 0), with(&TagValues::genre, u"Blues"_s));
        row("genre byte 32, a blank, is Classical", withTitle("Song", ' '),
            with(&TagValues::genre, u"Classical"_s));
        row("genre 147 is Synth Pop", withTitle("Song", 147),
            with(&TagValues::genre, u"Synth Pop"_s));
        row("genre 148 is none", withTitle("Song", 148), with(&TagValues::genre, u""_s));
        row("genre 255 is none", withTitle("Song", 255), with(&TagValues::genre, u""_s));
    }

    void decode()
    {
        QFETCH(QByteArray, block);
        QFETCH(TagOutcome, outcome);
        QFETCH(TagValues, values);
        const TagReadResult result = decodeTagBlock(block, u"brano"_s);
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(result.values, values);
        // "No genre" has one form, the empty text, whatever the byte: a null one would be stored
        // as NULL.
        if (outcome == TagOutcome::Present)
            QVERIFY(!result.values.genre.isNull());
    }

    // The block as bytes; an empty one means the genre byte is refused.
    void encode_data()
    {
        QTest::addColumn<QByteArray>("got");
        QTest::addColumn<QByteArray>("want");
        const auto row = [](const char *name, const QString &title, const QString &year, int genre,
                            const QByteArray &wantTitle, const QByteArray &wantYear) {
            const TagValues values{title, "Artist", "Album", year, "Comment", "ignored"};
            QTest::newRow(name) << encodeTagBlock(values, genre)
                                << (wantTitle.isEmpty()
                                        ? QByteArray()
                                        : tagBlock(wantTitle, "Artist", "Album", wantYear,
                                                   "Comment", quint8(genre)));
        };
        row("31-character title stores the first 30", u"abcdefghijklmnopqrstuvwxyz01234"_s,
            u"1999"_s, 17, "abcdefghijklmnopqrstuvwxyz0123", "1999");
        row("character beyond 16 bits counts as one", u"\U0001F3B5abcdefghijklmnopqrstuvwxyz0123"_s,
            u"1999"_s, 17, "?abcdefghijklmnopqrstuvwxyz012", "1999");
        row("short year padded to 4", u"Song"_s, u"99"_s, 17, "Song", "99  ");
        row("long year cut to 4", u"Song"_s, u"19999"_s, 17, "Song", "1999");
        row("genre 0, Blues", u"Song"_s, u"1999"_s, 0, "Song", "1999");
        row("-1, the index of an unknown name, refused", u"Song"_s, u"1999"_s, -1, "", "");
        row("256 refused", u"Song"_s, u"1999"_s, 256, "", "");
    }

    void encode()
    {
        QFETCH(QByteArray, got);
        QFETCH(QByteArray, want);
        QCOMPARE(got, want);
    }
};

QTEST_GUILESS_MAIN(TestTagBlock)
#include "tst_tagblock.moc"
