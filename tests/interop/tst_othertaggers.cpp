// The catalogue against the tag programs people use: files tagged by id3lib's id3v2, eyeD3,
// mutagen, id3tool and mp3info are catalogued as those programs' readers read them, and the tags
// this program writes (start-up completion, editor, folder-wide save) read back in mutagen and
// eyeD3 as intended. The programs are run by taggers.py with the system Python.
//
// Where the readers disagree among themselves:
// - mutagen and eyeD3 decode Latin-1, this program Windows-1252: bytes 0x80-0x9F differ, so the
//   texts here stay outside them;
// - both strip leading blanks, which an ID3v1 field keeps here ("  99");
// - mutagen reads 29 comment bytes and takes byte 30 as a track number even without the NUL
//   before it; eyeD3 reads 30 bytes and the track only after a NUL, as this program does;
// - eyeD3 keeps the blanks mp3info pads a comment with (it strips only NULs from a comment);
// - eyeD3 reads the year "0000" as none.
// So the title, artist, album, year and genre are compared with mutagen's reading, and the
// comment with eyeD3's without trailing blanks.

#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/gridloader.h"
#include "import/fileimport.h"
#include "inspection/collectioncounters.h"
#include "inspection/drivetable.h"
#include "maintenance/filelook.h"
#include "maintenance/startupcheck.h"
#include "support/fakedialogs.h"
#include "support/fakevolumes.h"
#include "support/filestate.h"
#include "support/storedrecords.h"
#include "support/tempcatalogue.h"
#include "support/testmp3.h"
#include "tag_editor/tagsaver.h"
#include "tags/genretable.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kAudio = mpegFrames(6);

// Runs taggers.py; its JSON answer, or a null document (and a warning) when it failed.
QJsonDocument taggers(const QStringList &arguments)
{
    QProcess python;
    python.start(u"/usr/bin/python3"_s,
                 QStringList{QStringLiteral(TRACKLODGE_TAGGERS)} + arguments);
    if (!python.waitForFinished(120000) || python.exitStatus() != QProcess::NormalExit ||
        python.exitCode() != 0) {
        qWarning().noquote() << "taggers.py failed:" << python.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput());
}

// The ID3v1 tag of each file as mutagen and eyeD3 read it.
QJsonObject readBack(const QStringList &files)
{
    return taggers(QStringList{u"read"_s} + files).object();
}

// The values a record should hold for a file whose tag the readers read as `read`.
TagValues expectedValues(const QJsonObject &read, const QString &baseName)
{
    const QJsonObject mutagen = read[u"mutagen"].toObject();
    const QJsonObject eyed3 = read[u"eyed3"].toObject();
    TagValues v;
    v.title = mutagen[u"title"].toString();
    if (v.title.isEmpty())
        v.title = baseName;
    v.artist = mutagen[u"artist"].toString();
    v.album = mutagen[u"album"].toString();
    v.year = mutagen[u"year"].toString();
    QString comment = eyed3[u"comment"].toString();
    while (comment.endsWith(u' '))
        comment.chop(1);
    v.comment = comment;
    v.genre = genreName(mutagen[u"genre"].toInt());
    return v;
}

TagValues valuesOf(const CatalogueRecord &r)
{
    return {r.titolo, r.autore, r.album, r.anno, r.commento, r.genere};
}

// "title|artist|album|year|comment|genre|track" as one reader read a tag back.
QString readerLine(const QJsonObject &read, const char *reader)
{
    const QJsonObject tag = read[QLatin1String(reader)].toObject();
    QStringList fields;
    for (const char *key : {"title", "artist", "album", "year", "comment"})
        fields << tag[QLatin1String(key)].toString();
    // eyeD3 keeps the blanks a comment without track number is padded with.
    while (fields.last().endsWith(u' '))
        fields.last().chop(1);
    fields << QString::number(tag[u"genre"].toInt()) << tag[u"track"].toString();
    return fields.join(u'|');
}

} // namespace

class TestOtherTaggers : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_music;
    std::unique_ptr<TempCatalogue> m_temp;
    std::unique_ptr<CatalogueStore> m_store;
    std::unique_ptr<CatalogueModel> m_grid;
    std::unique_ptr<CollectionCounters> m_counters;
    FakeDialogs m_dialogs;
    FakeVolumes m_volumes;

    QString music() const { return m_music->path() + u'/'; }
    void importFiles(const QStringList &files)
    {
        const FileImport::Result result =
            FileImport(*m_store, m_dialogs, m_volumes, buildDriveTable(m_volumes.list),
                       m_volumes.volumeOf(u"/"_s))
                .riempi(files);
        QVERIFY2(result.failures.isEmpty(), qPrintable(result.report()));
        QVERIFY(caricaDB(*m_store, *m_grid, *m_counters));
    }
    CatalogueRecord recordOf(const QString &file) const
    {
        const QFileInfo info(file);
        for (const CatalogueRecord &r :
             storedRecords(*m_store).value_or(QList<CatalogueRecord>())) {
            if (r.nome == info.completeBaseName())
                return r;
        }
        return {};
    }

private slots:
    void init()
    {
        m_store.reset();
        m_music = std::make_unique<QTemporaryDir>();
        m_temp = std::make_unique<TempCatalogue>();
        m_temp->add({});
        m_store = std::make_unique<CatalogueStore>(m_temp->path());
        QVERIFY(m_store->open());
        m_grid = std::make_unique<CatalogueModel>();
        m_counters = std::make_unique<CollectionCounters>();
        m_dialogs = FakeDialogs();
        m_volumes.list = {{u"/"_s, DriveType::Fixed, {}, u"1000"_s, {}, {}}};
    }

    // Five cases by each of the five writers: accented text, fields of full width, an ID3v1.1
    // comment with a track number, year "0000", genres 0, 8, 17, 147 and none, empty fields.
    void importsWhatTheToolsWrote()
    {
        const QString audio = writeMp3(music(), u"audio.raw"_s, kAudio);
        const QJsonArray made = taggers({u"make"_s, audio, music()}).array();
        QCOMPARE(made.size(), 25);
        QStringList files;
        for (const QJsonValue &file : made)
            files << file[u"file"].toString();
        importFiles(files);
        const QJsonObject read = readBack(files);
        for (const QJsonValue &entry : made) {
            const QString file = entry[u"file"].toString();
            const QString name = QFileInfo(file).completeBaseName();
            const CatalogueRecord record = recordOf(file);
            QCOMPARE(record.nome, name);
            const TagValues expected = expectedValues(read[file].toObject(), name);
            QVERIFY2(valuesOf(record) == expected,
                     qPrintable(u"%1: catalogued %2, expected %3"_s.arg(
                         name,
                         QStringList{record.titolo, record.autore, record.album, record.anno,
                                     record.commento, record.genere}
                             .join(u'|'),
                         QStringList{expected.title, expected.artist, expected.album, expected.year,
                                     expected.comment, expected.genre}
                             .join(u'|'))));
            QCOMPARE(record.info, u"OK"_s);
            for (const QString &text : {record.titolo, record.autore, record.album, record.anno,
                                        record.commento, record.genere, record.labelD})
                QVERIFY2(!text.contains(QChar(0)), qPrintable(name));
        }
    }

    // A catalogued file without a tag gets one at the start: every reader reads the record's
    // values, the genre byte is 255 ("no genre") for a genre that is not one of the names, and
    // the audio is as it was.
    void completedTagsReadBack_data()
    {
        QTest::addColumn<QString>("genre");
        QTest::addColumn<int>("byte");
        QTest::newRow("a name") << u"Synth Pop"_s << 147;
        QTest::newRow("no genre") << u""_s << 255;
        QTest::newRow("an unknown name") << u"Synthpop"_s << 255;
    }

    void completedTagsReadBack()
    {
        QFETCH(QString, genre);
        QFETCH(int, byte);
        const QString file = writeMp3(music(), u"senza tag.mp3"_s, kAudio);
        importFiles({file});
        CatalogueRecord record = recordOf(file);
        record.titolo = u"Perché sì"_s;
        record.autore = u"Città"_s;
        record.album = u"Un album di trenta caratteri.."_s;
        record.anno = u"0000"_s;
        record.commento = u"Però"_s;
        record.genere = genre;
        QCOMPARE(m_store->update(record), CatalogueStore::WriteResult::Done);
        QVERIFY(caricaDB(*m_store, *m_grid, *m_counters));

        const StartupCheckResult result = checkFilesAtStartup(*m_store, *m_grid, m_dialogs, {},
                                                              lookAtRows(*m_grid, LookFor::Both));
        QVERIFY(result.completion && result.completion->completed == 1);
        QCOMPARE(fileBytes(file).first(kAudio.size()), kAudio);
        const QJsonObject read = readBack({file})[file].toObject();
        const QString want =
            u"Perché sì|Città|Un album di trenta caratteri..|0000|Però|%1|"_s.arg(byte);
        QCOMPARE(readerLine(read, "mutagen"), want);
        // eyeD3 reads the year 0000 as none.
        QCOMPARE(readerLine(read, "eyed3"), QString(want).replace(u"|0000|"_s, u"||"_s));
        // The record and the tag agree, but for a genre the tag cannot name, which the record
        // keeps as typed.
        TagValues stored = valuesOf(recordOf(file));
        QCOMPARE(stored.genre, genre);
        stored.genre = genreName(byte);
        QCOMPARE(stored, expectedValues(read, u"senza tag"_s));
    }

    // The editor's save over files tagged by other programs: the fields as typed, the genre byte
    // of the name, and an ID3v1.1 track number kept; then the folder-wide save gives the artist,
    // album and genre to the other files of the folder, which keep their own titles and tracks.
    void editorSavesReadBack()
    {
        const QString audio = writeMp3(music(), u"audio.raw"_s, kAudio);
        const QJsonArray made = taggers({u"make"_s, audio, music()}).array();
        QStringList files;
        for (const QJsonValue &file : made) {
            if (file[u"case"].toString() == u"accents")
                files << file[u"file"].toString();
            else
                QVERIFY(QFile::remove(file[u"file"].toString()));
        }
        QCOMPARE(files.size(), 5);
        importFiles(files);
        const QJsonObject before = readBack(files);

        const QString edited = files.first();
        const qint64 key = recordOf(edited).id;
        EditorFields fields;
        fields.row = m_grid->rowOfKey(key);
        fields.texts = {u"Nuovo titolo è"_s, u"Nuovo autore"_s, u"Nuovo album"_s, u"2024"_s, {},
                        u"Commento nuovo"_s};
        fields.genre = u"Jazz"_s;
        fields.key = key;
        fields.filePath = edited;
        m_dialogs.answers = {true};
        const SaveReport report =
            TagSaver(*m_grid, *m_store, m_dialogs).save(fields, TagWriting::On);
        QCOMPARE(report.tagsWritten, 5);
        QVERIFY(report.tagFailures.isEmpty());

        const QJsonObject after = readBack(files);
        for (const QString &file : files) {
            QCOMPARE(fileBytes(file).first(kAudio.size()), kAudio);
            const QJsonObject was = before[file].toObject()[u"eyed3"].toObject();
            const QString track = was[u"track"].toString();
            const QString want =
                file == edited
                    ? u"Nuovo titolo è|Nuovo autore|Nuovo album|2024|Commento nuovo|8|%1"_s.arg(
                          track)
                    : u"%1|Nuovo autore|Nuovo album|%2|%3|8|%4"_s.arg(
                          was[u"title"].toString(), was[u"year"].toString(),
                          expectedValues(before[file].toObject(), {}).comment, track);
            QCOMPARE(readerLine(after[file].toObject(), "eyed3"), want);
            QCOMPARE(readerLine(after[file].toObject(), "mutagen"), want);
            QCOMPARE(valuesOf(recordOf(file)),
                     expectedValues(after[file].toObject(), QFileInfo(file).completeBaseName()));
        }
        // Every writer here wrote track 5, and every file keeps it.
        QCOMPARE(after[edited].toObject()[u"mutagen"].toObject()[u"track"].toString(), u"5"_s);
    }
};

QTEST_GUILESS_MAIN(TestOtherTaggers)
#include "tst_othertaggers.moc"
