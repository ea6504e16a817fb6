#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/gridloader.h"
#include "inspection/collectioncounters.h"
#include "inspection/recordfile.h"
#include "support/fakedialogs.h"
#include "support/filestate.h"
#include "support/sqlscene.h"
#include "support/storedrecords.h"
#include "support/tempcatalogue.h"
#include "support/testmp3.h"
#include "tag_editor/tagsaver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kAudio = mpegFrames(4);
const QByteArray kOldTag = tagBlock("Old title", "Old artist", "Old album", "1980", "Old", 9);

} // namespace

class TestTagSaver : public QObject
{
    Q_OBJECT

    /// A folder under the temporary folder, with its closing "/".
    QString folder(const QString &name) const
    {
        QDir(m_temp->folder()).mkpath(name);
        return m_temp->folder() + u'/' + name + u'/';
    }
    static CatalogueRecord record(const QString &name, const QString &folder,
                                  const QString &state = u"OK"_s)
    {
        CatalogueRecord r = sampleRecord(name);
        r.percorso = folder;
        r.info = state;
        return r;
    }
    /// Stores the records, opens the catalogue and loads the grid; the keys in order.
    QList<qint64> load(const QList<CatalogueRecord> &records)
    {
        const QList<qint64> keys = m_temp->add(records);
        m_store = std::make_unique<CatalogueStore>(m_temp->path());
        if (!m_store->open() || !caricaDB(*m_store, *m_grid, *m_counters))
            qFatal("cannot load the test catalogue");
        return keys;
    }
    /// A record of a new file `name`.mp3 in the folder "music", loaded alone.
    QList<qint64> loadSong(const QString &name, const QByteArray &tag = {})
    {
        const QString music = folder(u"music"_s);
        writeMp3(music, name + u".mp3"_s, kAudio, tag);
        return load({record(name, music)});
    }
    /// What the editor holds for a row right after opening it.
    EditorFields opened(qint64 key) const
    {
        EditorFields fields;
        fields.row = m_grid->rowOfKey(key);
        for (int c = Title; c <= Comment; ++c)
            fields.texts[c] = m_grid->cell(fields.row, static_cast<Column>(c));
        fields.genre = m_grid->cell(fields.row, Genre);
        fields.key = key;
        fields.filePath =
            m_grid->cell(fields.row, Folder) + m_grid->cell(fields.row, FileName) + u".mp3"_s;
        return fields;
    }
    CatalogueRecord stored(qint64 key) const { return *m_store->recordById(key); }
    SaveReport save(const EditorFields &fields, TagWriting tags)
    {
        return TagSaver(*m_grid, *m_store, m_dialogs).save(fields, tags);
    }

    std::unique_ptr<TempCatalogue> m_temp;
    std::unique_ptr<CatalogueStore> m_store;
    std::unique_ptr<CatalogueModel> m_grid;
    std::unique_ptr<CollectionCounters> m_counters;
    FakeDialogs m_dialogs;

private slots:
    void init()
    {
        m_temp = std::make_unique<TempCatalogue>();
        m_dialogs = FakeDialogs();
        m_grid = std::make_unique<CatalogueModel>();
        m_counters = std::make_unique<CollectionCounters>();
    }
    void cleanup()
    {
        m_store.reset();
        m_temp.reset();
    }

    // Tagless and tagged files, and the genre byte, are the folder-wide pass's and the next
    // test's; here the cuts, and the question answered No.
    void writesTheEditedTag()
    {
        const QString music = folder(u"music"_s);
        writeMp3(music, u"song.mp3"_s, kAudio);
        const QString other = writeMp3(music, u"other.mp3"_s, kAudio, kOldTag);
        const QList<qint64> keys = load({record(u"song"_s, music), record(u"other"_s, music)});
        const CatalogueRecord otherBefore = stored(keys[1]);
        EditorFields fields = opened(keys[0]);
        fields.texts = {u"12345678901234567890123456789012345"_s,
                        u"New artist"_s,
                        {},
                        u"99"_s,
                        u"ignored"_s,
                        {}};
        QCOMPARE(save(fields, TagWriting::On).tagsWritten, 1);
        // The title cut to 30 in the tag and the record, the year padded in the tag only.
        QCOMPARE(fileBytes(fields.filePath), kAudio + tagBlock("123456789012345678901234567890",
                                                               "New artist", "", "99  ", "", 17));
        QCOMPARE(stored(keys[0]).titolo, u"123456789012345678901234567890"_s);
        QCOMPARE(stored(keys[0]).anno, u"99"_s);
        // The grid shows what the record keeps.
        QCOMPARE(m_grid->cell(0, Title), stored(keys[0]).titolo);
        QCOMPARE(m_dialogs.messages.size(), 1);
        QCOMPARE(fileBytes(other), kAudio + kOldTag);
        QCOMPARE(stored(keys[1]), otherBefore);
    }

    // Each tag write takes the byte of the chooser's name, or 255 ("no genre") for any other
    // text, whatever an earlier save of the same window wrote.
    void genreByteOfASave_data()
    {
        QTest::addColumn<QString>("genre");
        QTest::addColumn<int>("byte");
        QTest::newRow("a name") << u"Jazz"_s << 8;
        QTest::newRow("the first name") << u"Blues"_s << 0;
        QTest::newRow("no name") << u""_s << 255;
        QTest::newRow("typed text") << u"not a genre"_s << 255;
        QTest::newRow("other letter case") << u"jazz"_s << 255;
    }

    void genreByteOfASave()
    {
        QFETCH(QString, genre);
        QFETCH(int, byte);
        const QList<qint64> keys = loadSong(u"song"_s, kOldTag);
        TagSaver saver(*m_grid, *m_store, m_dialogs);
        EditorFields fields = opened(keys[0]);
        fields.genre = u"Rock"_s;
        saver.save(fields, TagWriting::On);
        QCOMPARE(int(quint8(fileBytes(fields.filePath).back())), 17);
        fields.genre = genre;
        saver.save(fields, TagWriting::On);
        QCOMPARE(int(quint8(fileBytes(fields.filePath).back())), byte);
        QCOMPARE(stored(keys[0]).genere, genre);
    }

    void folderWidePassWithTags()
    {
        const QString music = folder(u"music"_s);
        const QString upperMusic = folder(u"Music"_s);
        const QString edited = writeMp3(music, u"edited.mp3"_s, kAudio);
        const QString tagless = writeMp3(music, u"tagless.mp3"_s, kAudio);
        const QString tagged = writeMp3(music, u"tagged.mp3"_s, kAudio, kOldTag);
        const QString upperExt = writeMp3(music, u"upper.MP3"_s, kAudio);
        const QString readOnly = writeMp3(music, u"readonly.mp3"_s, kAudio, kOldTag);
        QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup));
        QVERIFY(QDir(music).mkdir(u"folder.mp3"_s));
        const QString caseFolder = writeMp3(upperMusic, u"tagless.mp3"_s, kAudio);
        CatalogueRecord taggedRecord = record(u"tagged"_s, music);
        taggedRecord.titolo = u"Own title"_s;
        const QList<qint64> keys = load({
            record(u"tagless"_s, music, u"Nessun TAG ID3"_s), // 0
            record(u"edited"_s, music),                       // 1
            taggedRecord,                                     // 2
            record(u"upper"_s, music),                        // 3
            record(u"missing"_s, music),                      // 4
            record(u"readonly"_s, music, u"Solo Lettura"_s),  // 5
            record(u"folder"_s, music),                       // 6
            record(u"tagless"_s, upperMusic),                 // 7
            record(u"edited"_s, music),                       // 8
        });
        const auto before = storedRecords(*m_store);

        EditorFields fields = opened(keys[1]);
        fields.texts = {"Edited", "Artista", "Disco", "2001", "", "Edited comment"};
        fields.genre = u"Jazz"_s;
        m_dialogs.answers = {true};
        const SaveReport report = save(fields, TagWriting::On);

        // The edited file, the tagless and tagged ones and the one with ".MP3" get their tags:
        // own title, year and comment, the carried artist and album, the chosen genre.
        QCOMPARE(fileBytes(edited),
                 kAudio + tagBlock("Edited", "Artista", "Disco", "2001", "Edited comment", 8));
        QCOMPARE(fileBytes(tagless), kAudio + tagBlock("tagless title", "Artista", "Disco", "1999",
                                                       "tagless comment", 8));
        QCOMPARE(fileBytes(tagged).last(128),
                 tagBlock("Own title", "Artista", "Disco", "1999", "tagged comment", 8));
        QCOMPARE(fileBytes(upperExt).size(), kAudio.size() + 128);
        // Missing, read-only and not-a-file rows: no tag, no file made, the record still updated.
        QVERIFY(!QFile::exists(recordFilePath(music, u"missing"_s)));
        QCOMPARE(fileBytes(readOnly), kAudio + kOldTag);
        QVERIFY(QFileInfo(music + u"folder.mp3"_s).isDir());
        QCOMPARE(report.tagsWritten, 4);
        QCOMPARE(report.tagFailures.size(), 3);
        QCOMPARE(report.recordsUpdated, 7);
        QCOMPARE(report.compactions, 1);
        QCOMPARE(m_dialogs.messages.size(), 2);
        for (const char *name : {"missing.mp3", "readonly.mp3", "folder.mp3"})
            QVERIFY2(m_dialogs.messages[1].text.contains(QLatin1String(name)), name);

        // The others take the carried artist and album as the tag reads them back (no padding
        // blanks), in the grid and the catalogue, and the state they show.
        QCOMPARE(stored(keys[1]).autore, u"Artista"_s);
        QCOMPARE(stored(keys[4]).autore, u"Artista"_s);
        QCOMPARE(m_grid->cell(m_grid->rowOfKey(keys[4]), Artist), u"Artista"_s);
        QCOMPARE(m_grid->cell(m_grid->rowOfKey(keys[4]), Album), u"Disco"_s);
        QCOMPARE(m_grid->cell(m_grid->rowOfKey(keys[0]), State), u"OK"_s);
        QCOMPARE(stored(keys[0]).info, u"OK"_s);
        QCOMPARE(stored(keys[5]).info, u"Solo Lettura"_s);
        // A folder differing only in letter case, and a second entry of the edited file: untouched.
        QCOMPARE(stored(keys[7]), before->at(7));
        QCOMPARE(fileBytes(caseFolder), kAudio);
        QCOMPARE(stored(keys[8]), before->at(8));
        QCOMPARE(m_grid->cell(m_grid->rowOfKey(keys[8]), Artist), before->at(8).autore);
    }

    void folderWidePassWithoutTags()
    {
        const QString music = folder(u"music"_s);
        const QString tagged = writeMp3(music, u"tagged.mp3"_s, kAudio, kOldTag);
        const QList<qint64> keys = load({record(u"edited"_s, music), record(u"tagged"_s, music),
                                         record(u"elsewhere"_s, folder(u"other"_s))});
        const CatalogueRecord elsewhere = stored(keys[2]);
        EditorFields fields = opened(keys[0]);
        fields.texts[Artist] = u"Artista"_s;
        fields.genre = u"Blues"_s;
        m_dialogs.answers = {true};
        QCOMPARE(save(fields, TagWriting::Off).recordsUpdated, 2);
        QCOMPARE(fileBytes(tagged), kAudio + kOldTag);
        // Without tags the carried values are stored as typed, unpadded.
        CatalogueRecord after = record(u"tagged"_s, music);
        after.id = keys[1];
        after.autore = u"Artista"_s;
        after.album = u"edited album"_s;
        after.genere = u"Blues"_s;
        QCOMPARE(stored(keys[1]), after);
        QCOMPARE(m_grid->record(m_grid->rowOfKey(keys[1])), after);
        QCOMPARE(stored(keys[2]), elsewhere);
    }

    void stateWordAfterSaving_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("allEmpty");
        QTest::addColumn<QString>("after");
        QTest::newRow("Nessun TAG ID3 becomes OK") << "Nessun TAG ID3" << false << "OK";
        QTest::newRow("all values empty") << "OK" << true << "Nessun TAG ID3";
        QTest::newRow("CDROM kept") << "CDROM" << false << "CDROM";
        QTest::newRow("Disco Rimovibile kept") << "Disco Rimovibile" << false << "Disco Rimovibile";
        QTest::newRow("File Corrotto! kept") << "File Corrotto!" << false << "File Corrotto!";
        QTest::newRow("Solo Lettura kept") << "Solo Lettura" << true << "Solo Lettura";
        QTest::newRow("case counts") << "cdrom" << false << "OK";
    }
    void stateWordAfterSaving()
    {
        QFETCH(QString, before);
        QFETCH(bool, allEmpty);
        QFETCH(QString, after);
        const QList<qint64> keys = load({record(u"song"_s, folder(u"music"_s), before)});
        EditorFields fields = opened(keys[0]);
        if (allEmpty) {
            fields.texts = {};
            fields.texts[Genre] = u"ignored: the genre text box is not looked at"_s;
            fields.genre.clear();
        }
        save(fields, TagWriting::Off);
        QCOMPARE(m_grid->cell(0, State), after);
        QCOMPARE(stored(keys[0]).info, after);
    }

    // The fields the editor does not show are saved as the record holds them, not as the grid
    // shows them (a NULL shows as a blank), and the grid then shows what the catalogue holds.
    void fieldsNotEditedKeepTheirValues_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("storedLabel");
        QTest::addColumn<QString>("storedSize");
        QTest::newRow("NULL label and size are stored as empty texts")
            << QString() << QString() << u""_s << u""_s;
        QTest::newRow("blank label and padded size stay")
            << u" "_s << u"                4 KB"_s << u" "_s << u"                4 KB"_s;
        QTest::newRow("label ending in a blank stays")
            << u"DISCO "_s << u"4 KB"_s << u"DISCO "_s << u"4 KB"_s;
    }
    void fieldsNotEditedKeepTheirValues()
    {
        QFETCH(QString, label);
        QFETCH(QString, size);
        QFETCH(QString, storedLabel);
        QFETCH(QString, storedSize);
        CatalogueRecord song = record(u"song"_s, folder(u"music"_s));
        song.labelD = label;
        song.dimenzione = size;
        const QList<qint64> keys = load({song});
        QCOMPARE(save(opened(keys[0]), TagWriting::Off).recordsUpdated, 1);
        const CatalogueRecord after = stored(keys[0]);
        QCOMPARE(after.labelD, storedLabel);
        QVERIFY(!after.labelD.isNull());
        QCOMPARE(after.dimenzione, storedSize);
        QCOMPARE(after.supporto, song.supporto);
        QCOMPARE(m_grid->record(0), after);
    }

    void keyOfNoRecordIsReportedOnce()
    {
        loadSong(u"song"_s);
        const auto before = storedRecords(*m_store);
        // The record went from the catalogue while its row was still in the grid.
        CatalogueRecord gone = m_grid->record(0);
        gone.id = 4711;
        m_grid->setRecord(0, gone);
        const SaveReport report = save(opened(4711), TagWriting::Off);
        QCOMPARE(report.recordsGone, QStringList{"4711"});
        QCOMPARE(report.compactions, 0);
        QCOMPARE(storedRecords(*m_store), before);
        QCOMPARE(m_dialogs.messages.size(), 2);
    }

    void findsTheRecordAfterTheGridChanged_data()
    {
        QTest::addColumn<bool>("stillShown");
        QTest::newRow("rows reordered") << true;
        QTest::newRow("row gone from the grid") << false;
    }
    void findsTheRecordAfterTheGridChanged()
    {
        QFETCH(bool, stillShown);
        const QString music = folder(u"music"_s);
        const QList<qint64> keys = load({record(u"a"_s, music), record(u"b"_s, music)});
        const auto before = storedRecords(*m_store);
        EditorFields fields = opened(keys[0]);
        fields.texts[Title] = u"Changed"_s;
        // Another window rebuilt the grid while the editor was open.
        const CatalogueRecord first = m_grid->record(0), second = m_grid->record(1);
        GridRows rows;
        rows.append(second);
        if (stillShown)
            rows.append(first);
        m_grid->setRows(std::move(rows));
        QCOMPARE(save(fields, TagWriting::Off).recordsUpdated, stillShown ? 1 : 0);
        QCOMPARE(m_grid->record(0), second);
        QCOMPARE(stored(keys[1]), before->at(1));
        QCOMPARE(stored(keys[0]).titolo, stillShown ? u"Changed"_s : before->at(0).titolo);
        if (stillShown)
            QCOMPARE(m_grid->cell(1, Title), u"Changed"_s);
    }

    void failedCatalogueWriteRollsBack_data()
    {
        QTest::addColumn<bool>("closed");
        QTest::newRow("catalogue closed") << true;
        QTest::newRow("write refused part way") << false;
    }
    void failedCatalogueWriteRollsBack()
    {
        QFETCH(bool, closed);
        const QString music = folder(u"music"_s);
        const QList<qint64> keys =
            load({record(u"a"_s, music), record(u"b"_s, music), record(u"c"_s, music)});
        const auto before = storedRecords(*m_store);
        const std::vector<GridRow> rows{m_grid->row(0), m_grid->row(1), m_grid->row(2)};
        if (closed) {
            m_store->close();
        } else {
            // The catalogue refuses the update of the second row of the folder, after the edited
            // record was written in the same transaction.
            QVERIFY(refuseOn(m_temp->path(), "UPDATE", u"old.nome = 'b'"_s));
        }
        EditorFields fields = opened(keys[0]);
        fields.texts[Title] = u"Changed"_s;
        m_dialogs.answers = {true};
        const SaveReport report = save(fields, TagWriting::Off);
        QVERIFY(report.databaseFailed);
        QCOMPARE(report.compactions, 0);
        for (int r = 0; r < 3; ++r)
            QCOMPARE(m_grid->row(r), rows[r]);
        QCOMPARE(m_dialogs.messages.size(), 2);
        QVERIFY(!QFile::exists(m_temp->folder() + u"/Temp.mdb"_s));
        QVERIFY(closed ? m_store->open() : m_store->isOpen());
        QCOMPARE(storedRecords(*m_store), before);
    }
};

QTEST_GUILESS_MAIN(TestTagSaver)
#include "tst_tagsaver.moc"
