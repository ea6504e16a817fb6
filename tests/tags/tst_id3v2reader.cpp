#include "tags/taglibid3v2reader.h"

#include "support/testid3v2.h"
#include "support/testmp3.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A version 2.2 tag made byte by byte (TagLib writes 2.3 and 2.4 only): three-letter frame
// names, three-byte sizes, Latin-1 text.
QByteArray id3v22Tag()
{
    QByteArray frames;
    const auto frame = [&frames](const char *id, const QByteArray &text) {
        const qsizetype size = text.size() + 1;
        frames += QByteArray(id) + char(0) + char(size >> 8) + char(size & 0xFF) + char(0) + text;
    };
    frame("TT2", "Vecchio brano");
    frame("TP1", "Artista \xE8");
    frame("TYE", "1998");
    frame("TCO", "(9)");
    return QByteArray("ID3\x02\x00\x00", 6) + char(0) + char(0) + char(frames.size() >> 7) +
           char(frames.size() & 0x7F) + frames;
}

} // namespace

Q_DECLARE_METATYPE(Id3v2Fields)
Q_DECLARE_METATYPE(Id3v2Encoding)
Q_DECLARE_METATYPE(TagValues)

class TestId3v2Reader : public QObject
{
    Q_OBJECT

private slots:
    void readsTheTagAsTheCatalogueKeepsIt_data();
    void readsTheTagAsTheCatalogueKeepsIt();

private:
    QTemporaryDir m_dir;
};

void TestId3v2Reader::readsTheTagAsTheCatalogueKeepsIt_data()
{
    QTest::addColumn<int>("version"); // 2: made by hand; 0: no ID3v2 tag at all
    QTest::addColumn<Id3v2Encoding>("encoding");
    QTest::addColumn<Id3v2Fields>("written");
    QTest::addColumn<bool>("found");
    QTest::addColumn<TagValues>("values");

    const auto fields = [](const QString &title, const QStringList &genres,
                           const QString &year = u"1999"_s) {
        return Id3v2Fields{title, u"Artista"_s, u"Album"_s, year, u"Commento"_s, genres};
    };
    const auto values = [](const QString &title, const QString &genre,
                           const QString &year = u"1999"_s) {
        return TagValues{title, u"Artista"_s, u"Album"_s, year, u"Commento"_s, genre};
    };
    QTest::newRow("2.3 Latin-1, accented text, numeric genre (17)")
        << 3 << Id3v2Encoding::Latin1 << fields(u"Perché è così"_s, {u"(17)"_s}) << true
        << values(u"Perché è così"_s, u"Rock"_s);
    QTest::newRow("2.3 UTF-16, title longer than 30 characters is cut, genre in lower case")
        << 3 << Id3v2Encoding::Utf16
        << fields(u"Un titolo decisamente troppo lungo per il tag"_s, {u"trance"_s}) << true
        << values(u"Un titolo decisamente troppo l"_s, u"Trance"_s);
    QTest::newRow("2.4 UTF-8, text outside Windows-1252 becomes ?, unknown genre then a known one")
        << 4 << Id3v2Encoding::Utf8 << fields(u"Дом – 5 € 😀"_s, {u"Vaporwave"_s, u"Techno"_s})
        << true << values(u"??? – 5 € ?"_s, u"Techno"_s);
    QTest::newRow("2.4 date as year keeps its first 4 characters, bare genre number")
        << 4 << Id3v2Encoding::Utf8 << fields(u"Brano"_s, {u"8"_s}, u"2004-05-12"_s) << true
        << values(u"Brano"_s, u"Jazz"_s, u"2004"_s);
    QTest::newRow("genre refinement after a number: the number counts")
        << 3 << Id3v2Encoding::Latin1 << fields(u"Brano"_s, {u"(17)Indie Rock"_s}) << true
        << values(u"Brano"_s, u"Rock"_s);
    QTest::newRow("unknown genre name, a name starting with digits, a number past the table")
        << 4 << Id3v2Encoding::Utf8 << fields(u"Brano"_s, {u"Vaporwave"_s, u"80s Pop"_s, u"200"_s})
        << true << values(u"Brano"_s, QString());
    QTest::newRow("2.2 made by hand")
        << 2 << Id3v2Encoding::Latin1 << Id3v2Fields{} << true
        << TagValues{u"Vecchio brano"_s, u"Artista è"_s, {}, u"1998"_s, {}, u"Metal"_s};
    QTest::newRow("no ID3v2 tag") << 0 << Id3v2Encoding::Latin1 << Id3v2Fields{} << false
                                  << TagValues{};
}

void TestId3v2Reader::readsTheTagAsTheCatalogueKeepsIt()
{
    QFETCH(int, version);
    QFETCH(Id3v2Encoding, encoding);
    QFETCH(Id3v2Fields, written);
    QFETCH(bool, found);
    QFETCH(TagValues, values);

    const QByteArray head = version == 2 ? id3v22Tag() : QByteArray();
    const QString path = writeMp3(m_dir.path(), u"brano.mp3"_s, head + mpegFrames(3));
    QVERIFY(!path.isEmpty());
    if (version >= 3)
        QVERIFY(writeId3v2(path, version, encoding, written));

    const std::optional<Id3v2Fields> read = TagLibId3v2Reader().read(path);
    QCOMPARE(read.has_value(), found);
    if (!found)
        return;
    const TagValues catalogued = catalogueValues(*read);
    QCOMPARE(catalogued, values);
    for (const QString *field : {&catalogued.artist, &catalogued.album, &catalogued.year,
                                 &catalogued.comment, &catalogued.genre})
        QVERIFY(!field->isNull());
}

QTEST_GUILESS_MAIN(TestId3v2Reader)
#include "tst_id3v2reader.moc"
