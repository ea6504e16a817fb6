#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/gridloader.h"
#include "inspection/collectioncounters.h"
#include "inspection/recordfile.h"
#include "support/fakedialogs.h"
#include "support/filestate.h"
#include "support/sqlscene.h"
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

QString pad30(const QString &text)
{
    return text.leftJustified(30, u' ', true);
}

const QByteArray kAudio = mpegFrames(4);
const QByteArray kOldTag = tagBlock("Old title", "Old artist", "Old album", "1980", "Old", 9);

} // namespace

class TestTagSaver : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void writesTheEditedTag_data();
    void writesTheEditedTag();
    void genreByteIsRememberedForTheWindow();
    void folderWidePassWithTags();
    void folderWidePassWithoutTags();
    void stateWordAfterSaving_data();
    void stateWordAfterSaving();
    void keyOfNoRecordIsReportedOnce();
    void findsTheRecordAfterTheGridChanged_data();
    void findsTheRecordAfterTheGridChanged();
    void failedCatalogueWriteRollsBack_data();
    void failedCatalogueWriteRollsBack();

private:
    /// A folder under the temporary folder, with its closing "/".
    QString folder(const QString &name) const;
    /// A record of the file `name` in `folder`, in the given state.
    static CatalogueRecord record(const QString &name, const QString &folder,
                                  const QString &state = QStringLiteral("OK"));
    /// Stores the records, opens the catalogue and loads the grid; the keys in order.
    QList<qint64> load(const QList<CatalogueRecord> &records);
    int rowOf(qint64 key) const;
    /// What the editor holds for a row right after opening it.
    EditorFields opened(qint64 key) const;
    CatalogueRecord stored(qint64 key) const { return *m_store->recordById(key); }

    std::unique_ptr<TempCatalogue> m_temp;
    std::unique_ptr<CatalogueStore> m_store;
    std::unique_ptr<CatalogueModel> m_grid;
    std::unique_ptr<CollectionCounters> m_counters;
    FakeDialogs m_dialogs;
};

void TestTagSaver::init()
{
    m_temp = std::make_unique<TempCatalogue>();
    m_dialogs = FakeDialogs();
    m_grid = std::make_unique<CatalogueModel>();
    m_counters = std::make_unique<CollectionCounters>();
}

void TestTagSaver::cleanup()
{
    m_store.reset();
    m_temp.reset();
}

QString TestTagSaver::folder(const QString &name) const
{
    QDir(m_temp->folder()).mkpath(name);
    return m_temp->folder() + u'/' + name + u'/';
}

CatalogueRecord TestTagSaver::record(const QString &name, const QString &folder,
                                     const QString &state)
{
    CatalogueRecord r = sampleRecord(name);
    r.percorso = folder;
    r.info = state;
    return r;
}

QList<qint64> TestTagSaver::load(const QList<CatalogueRecord> &records)
{
    const QList<qint64> keys = m_temp->add(records);
    m_store = std::make_unique<CatalogueStore>(m_temp->path());
    if (!m_store->open() || !caricaDB(*m_store, *m_grid, *m_counters))
        qFatal("cannot load the test catalogue");
    return keys;
}

int TestTagSaver::rowOf(qint64 key) const
{
    for (int r = 0; r < m_grid->recordCount(); ++r) {
        if (m_grid->cell(r, Key) == QString::number(key))
            return r;
    }
    return -1;
}

EditorFields TestTagSaver::opened(qint64 key) const
{
    EditorFields fields;
    fields.row = rowOf(key);
    for (int c = Title; c <= Comment; ++c)
        fields.texts[c] = m_grid->cell(fields.row, static_cast<Column>(c));
    fields.genre = m_grid->cell(fields.row, Genre);
    fields.key = key;
    fields.filePath = m_grid->cell(fields.row, Folder) + m_grid->cell(fields.row, FileName) +
                      QStringLiteral(".mp3");
    return fields;
}

void TestTagSaver::writesTheEditedTag_data()
{
    QTest::addColumn<bool>("tagged");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("genre");
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QString>("storedTitle");

    const auto row = [](const char *name, bool tagged, const char *title, const char *year,
                        const char *genre, const QByteArray &tagTitle, const QByteArray &tagYear,
                        quint8 genreByte) {
        QTest::newRow(name) << tagged << QString::fromLatin1(title) << QString::fromLatin1(year)
                            << QString::fromLatin1(genre)
                            << tagBlock(tagTitle, "New artist", "New album", tagYear, "New comment",
                                        genreByte)
                            << QString::fromLatin1(tagTitle);
    };
    row("tagless file grows by 128 bytes", false, "New title", "2024", "Rock", "New title", "2024",
        17);
    row("tagged file keeps its size, Jazz is 8", true, "T", "2024", "Jazz", "T", "2024", 8);
    row("title of 35 characters, year 99 padded in the tag only", true,
        "12345678901234567890123456789012345", "99", "Rock", "123456789012345678901234567890",
        "99  ", 17);
    row("unknown genre text on the first save", false, "T", "2024", "Rock and more", "T", "2024",
        0);
}

void TestTagSaver::writesTheEditedTag()
{
    QFETCH(bool, tagged);
    QFETCH(QString, title);
    QFETCH(QString, year);
    QFETCH(QString, genre);
    QFETCH(QByteArray, block);
    QFETCH(QString, storedTitle);

    const QString music = folder(QStringLiteral("music"));
    const QString path =
        writeMp3(music, QStringLiteral("song.mp3"), kAudio, tagged ? kOldTag : QByteArray());
    const QString other = writeMp3(music, QStringLiteral("other.mp3"), kAudio, kOldTag);
    const QList<qint64> keys =
        load({record(QStringLiteral("song"), music), record(QStringLiteral("other"), music)});
    const CatalogueRecord otherBefore = stored(keys[1]);
    const GridRow otherRow = m_grid->row(1);
    EditorFields fields = opened(keys[0]);
    fields.texts = {title, "New artist", "New album", year, "ignored", "New comment"};
    fields.genre = genre;

    TagSaver saver(*m_grid, *m_store, m_dialogs);
    const SaveReport report = saver.save(fields, TagWriting::On);

    const QByteArray bytes = fileBytes(path);
    QCOMPARE(bytes.size(), kAudio.size() + 128);
    QCOMPARE(bytes.first(kAudio.size()), kAudio);
    QCOMPARE(bytes.last(128), block);
    QCOMPARE(report.tagsWritten, 1);
    QVERIFY(report.tagFailures.isEmpty());

    CatalogueRecord expected = record(QStringLiteral("song"), music);
    expected.id = keys[0];
    expected.titolo = storedTitle;
    expected.anno = year;
    expected.autore = QStringLiteral("New artist");
    expected.album = QStringLiteral("New album");
    expected.commento = QStringLiteral("New comment");
    expected.genere = genre;
    QCOMPARE(stored(keys[0]), expected);
    QCOMPARE(m_grid->cell(0, Genre), genre);
    QCOMPARE(m_grid->cell(0, Title), title);
    // One question, answered No: the other file of the folder is left as it was.
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(stored(keys[1]), otherBefore);
    QCOMPARE(m_grid->row(1), otherRow);
    QCOMPARE(fileBytes(other), kAudio + kOldTag);
}

void TestTagSaver::genreByteIsRememberedForTheWindow()
{
    const QString music = folder(QStringLiteral("music"));
    const QString path = writeMp3(music, QStringLiteral("song.mp3"), kAudio, kOldTag);
    const QList<qint64> keys = load({record(QStringLiteral("song"), music)});
    TagSaver saver(*m_grid, *m_store, m_dialogs);
    QCOMPARE(saver.rememberedGenre(), 0);

    EditorFields fields = opened(keys[0]);
    fields.genre = QStringLiteral("Jazz");
    saver.save(fields, TagWriting::On);
    QCOMPARE(fileBytes(path).back(), char(8));
    // Saved without the tag, a known name does not replace the remembered byte.
    fields.genre = QStringLiteral("Rock");
    saver.save(fields, TagWriting::Off);
    QCOMPARE(saver.rememberedGenre(), 8);
    fields.genre = QStringLiteral("not a genre");
    saver.save(fields, TagWriting::On);
    QCOMPARE(fileBytes(path).back(), char(8));
    QCOMPARE(stored(keys[0]).genere, QStringLiteral("not a genre"));
    // A new window starts from 0.
    TagSaver another(*m_grid, *m_store, m_dialogs);
    another.save(fields, TagWriting::On);
    QCOMPARE(fileBytes(path).back(), char(0));
}

void TestTagSaver::folderWidePassWithTags()
{
    const QString music = folder(QStringLiteral("music"));
    const QString upperMusic = folder(QStringLiteral("Music"));
    const QString edited = writeMp3(music, QStringLiteral("edited.mp3"), kAudio);
    const QString tagless = writeMp3(music, QStringLiteral("tagless.mp3"), kAudio);
    const QString tagged = writeMp3(music, QStringLiteral("tagged.mp3"), kAudio, kOldTag);
    const QString upperExt = writeMp3(music, QStringLiteral("upper.MP3"), kAudio);
    const QString readOnly = writeMp3(music, QStringLiteral("readonly.mp3"), kAudio, kOldTag);
    QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup));
    QVERIFY(QDir(music).mkdir(QStringLiteral("folder.mp3")));
    const QString caseFolder = writeMp3(upperMusic, QStringLiteral("tagless.mp3"), kAudio);

    CatalogueRecord taggedRecord = record(QStringLiteral("tagged"), music);
    taggedRecord.titolo = QStringLiteral("Own title");
    taggedRecord.anno = QStringLiteral("1977");
    taggedRecord.commento = QStringLiteral("Own comment");
    const QList<qint64> keys = load({
        record(QStringLiteral("tagless"), music, QStringLiteral("Nessun TAG ID3")), // 0
        record(QStringLiteral("edited"), music),                                    // 1
        taggedRecord,                                                               // 2
        record(QStringLiteral("upper"), music),                                     // 3
        record(QStringLiteral("missing"), music),                                   // 4
        record(QStringLiteral("readonly"), music, QStringLiteral("Solo Lettura")),  // 5
        record(QStringLiteral("folder"), music),                                    // 6
        record(QStringLiteral("tagless"), upperMusic),                              // 7
        record(QStringLiteral("edited"), music),                                    // 8
    });
    const CatalogueRecord caseBefore = stored(keys[7]);
    const CatalogueRecord duplicateBefore = stored(keys[8]);
    const GridRow duplicateRow = m_grid->row(rowOf(keys[8]));

    EditorFields fields = opened(keys[1]);
    fields.texts = {"Edited", "Artista", "Disco", "2001", "", "Edited comment"};
    fields.genre = QStringLiteral("Jazz");
    m_dialogs.answers = {true};
    TagSaver saver(*m_grid, *m_store, m_dialogs);
    int compactions = 0; // the hourglass is shown once per compaction
    saver.setBusyPointer({[&compactions] { ++compactions; },
                          [] {
                          }});
    const SaveReport report = saver.save(fields, TagWriting::On);

    // The edited file, the tagless and tagged ones and the one with ".MP3" get their tags: own
    // title, year and comment, the carried artist and album, the chosen genre.
    QCOMPARE(fileBytes(edited),
             kAudio + tagBlock("Edited", "Artista", "Disco", "2001", "Edited comment", 8));
    QCOMPARE(fileBytes(tagless),
             kAudio + tagBlock("tagless title", "Artista", "Disco", "1999", "tagless comment", 8));
    QCOMPARE(fileBytes(tagged),
             kAudio + tagBlock("Own title", "Artista", "Disco", "1977", "Own comment", 8));
    QCOMPARE(fileBytes(upperExt),
             kAudio + tagBlock("upper title", "Artista", "Disco", "1999", "upper comment", 8));
    // Missing, read-only and not-a-file rows: no tag, no file made, the record still updated.
    QVERIFY(!QFile::exists(recordFilePath(music, QStringLiteral("missing"))));
    QCOMPARE(fileBytes(readOnly), kAudio + kOldTag);
    QVERIFY(QFileInfo(music + QStringLiteral("folder.mp3")).isDir());
    QCOMPARE(report.tagsWritten, 4);
    QCOMPARE(report.tagFailures.size(), 3);
    QCOMPARE(report.recordsUpdated, 7);
    QCOMPARE(compactions, 1);
    for (int i : {4, 5, 6})
        QCOMPARE(stored(keys[i]).autore, pad30(QStringLiteral("Artista")));
    QCOMPARE(m_dialogs.messages.size(), 2);
    QCOMPARE(m_dialogs.messages[0].title, u"Modifica TAG Generale"_s);
    QCOMPARE(m_dialogs.messages[0].text,
             u"AUTORE: "_s + pad30(u"Artista"_s) + u"\nALBUM   : "_s + pad30(u"Disco"_s) +
                 u"\n\nAssegno le Modifiche a tutti i file, del DB ed i TAG, che si trovano "
                 "nella cartella:\n"_s +
                 music);
    const QString failures = m_dialogs.messages[1].text;
    QVERIFY(failures.startsWith(QStringLiteral("Il TAG non è stato scritto")));
    for (const char *name : {"missing.mp3", "readonly.mp3", "folder.mp3"})
        QVERIFY2(failures.contains(QLatin1String(name)), name);

    // Catalogue and grid: the edited record as typed, the others with the carried artist and
    // album as the tag holds them, their own title, year and comment, and the state they show.
    QCOMPARE(stored(keys[1]).autore, QStringLiteral("Artista"));
    CatalogueRecord taglessAfter = record(QStringLiteral("tagless"), music);
    taglessAfter.id = keys[0];
    taglessAfter.autore = pad30(QStringLiteral("Artista"));
    taglessAfter.album = pad30(QStringLiteral("Disco"));
    taglessAfter.genere = QStringLiteral("Jazz");
    QCOMPARE(stored(keys[0]), taglessAfter);
    QCOMPARE(m_grid->cell(rowOf(keys[0]), Artist), taglessAfter.autore);
    QCOMPARE(m_grid->cell(rowOf(keys[0]), State), QStringLiteral("OK"));
    QCOMPARE(stored(keys[5]).info, QStringLiteral("Solo Lettura"));
    // A folder differing only in letter case, and a second entry of the edited file: untouched.
    QCOMPARE(stored(keys[7]), caseBefore);
    QCOMPARE(fileBytes(caseFolder), kAudio);
    QCOMPARE(stored(keys[8]), duplicateBefore);
    QCOMPARE(m_grid->row(rowOf(keys[8])), duplicateRow);
}

void TestTagSaver::folderWidePassWithoutTags()
{
    const QString music = folder(QStringLiteral("music"));
    const QString edited = writeMp3(music, QStringLiteral("edited.mp3"), kAudio);
    const QString tagged = writeMp3(music, QStringLiteral("tagged.mp3"), kAudio, kOldTag);
    const QList<qint64> keys =
        load({record(QStringLiteral("edited"), music), record(QStringLiteral("tagged"), music),
              record(QStringLiteral("missing"), music),
              record(QStringLiteral("elsewhere"), folder("other"))});
    const CatalogueRecord elsewhere = stored(keys[3]);
    EditorFields fields = opened(keys[0]);
    fields.texts[Artist] = QStringLiteral("Artista");
    fields.texts[Album] = QStringLiteral("Disco");
    fields.genre = QStringLiteral("Blues");
    m_dialogs.answers = {true};
    const SaveReport report = TagSaver(*m_grid, *m_store, m_dialogs).save(fields, TagWriting::Off);

    QCOMPARE(fileBytes(edited), kAudio);
    QCOMPARE(fileBytes(tagged), kAudio + kOldTag);
    QVERIFY(!QFile::exists(recordFilePath(music, QStringLiteral("missing"))));
    QCOMPARE(report.recordsUpdated, 3);
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(m_dialogs.messages[0].title, u"Modifica DB Generale"_s);
    QCOMPARE(m_dialogs.messages[0].text,
             u"AUTORE: Artista\nALBUM   : Disco\n\nAssegno le Modifiche a tutti i file, del DB, "
             "che si trovano nella cartella:\n"_s +
                 music + u"\n\nI <TAG> NON VERRANNO MODIFICATI!!!"_s);
    for (int i : {1, 2}) {
        CatalogueRecord after = record(i == 1 ? u"tagged"_s : u"missing"_s, music);
        after.id = keys[i];
        after.autore = u"Artista"_s;
        after.album = u"Disco"_s;
        after.genere = u"Blues"_s;
        QCOMPARE(stored(keys[i]), after);
        QCOMPARE(m_grid->row(rowOf(keys[i])), MettiDati(after));
    }
    QCOMPARE(stored(keys[3]), elsewhere);
}

void TestTagSaver::stateWordAfterSaving_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("allEmpty");
    QTest::addColumn<QString>("after");
    QTest::newRow("Nessun TAG ID3 becomes OK") << "Nessun TAG ID3" << false << "OK";
    QTest::newRow("Fissa becomes OK") << "Fissa" << false << "OK";
    QTest::newRow("all values empty") << "OK" << true << "Nessun TAG ID3";
    QTest::newRow("CDROM kept") << "CDROM" << false << "CDROM";
    QTest::newRow("Solo Lettura kept") << "Solo Lettura" << true << "Solo Lettura";
    QTest::newRow("Disco Rimovibile kept") << "Disco Rimovibile" << false << "Disco Rimovibile";
    QTest::newRow("File Corrotto! kept") << "File Corrotto!" << false << "File Corrotto!";
    QTest::newRow("case counts") << "cdrom" << false << "OK";
}

void TestTagSaver::stateWordAfterSaving()
{
    QFETCH(QString, before);
    QFETCH(bool, allEmpty);
    QFETCH(QString, after);
    const QString music = folder(QStringLiteral("music"));
    writeMp3(music, QStringLiteral("song.mp3"), kAudio);
    const QList<qint64> keys = load({record(QStringLiteral("song"), music, before)});
    EditorFields fields = opened(keys[0]);
    if (allEmpty) {
        fields.texts = {};
        fields.texts[Genre] = QStringLiteral("ignored: the genre text box is not looked at");
        fields.genre.clear();
    }
    TagSaver(*m_grid, *m_store, m_dialogs).save(fields, TagWriting::Off);
    QCOMPARE(m_grid->cell(0, State), after);
    // The catalogue takes the word the grid shows.
    QCOMPARE(stored(keys[0]).info, after);
}

void TestTagSaver::keyOfNoRecordIsReportedOnce()
{
    const QString music = folder(QStringLiteral("music"));
    writeMp3(music, QStringLiteral("song.mp3"), kAudio);
    const QList<qint64> keys = load({record(QStringLiteral("song"), music)});
    const auto before = m_store->allRecords();
    // The record went from the catalogue while its row was still in the grid.
    m_grid->setCell(0, Key, QStringLiteral("4711"));
    EditorFields fields = opened(4711);
    const SaveReport report = TagSaver(*m_grid, *m_store, m_dialogs).save(fields, TagWriting::Off);
    QCOMPARE(report.recordsGone, QStringList{"4711"});
    QCOMPARE(report.compactions, 0);
    QCOMPARE(m_store->allRecords(), before);
    QCOMPARE(m_dialogs.messages.size(), 2);
    QVERIFY(m_dialogs.messages[1].text.contains(QLatin1String("4711")));
}

void TestTagSaver::findsTheRecordAfterTheGridChanged_data()
{
    QTest::addColumn<bool>("stillShown");
    QTest::newRow("rows reordered") << true;
    QTest::newRow("row gone from the grid") << false;
}

void TestTagSaver::findsTheRecordAfterTheGridChanged()
{
    QFETCH(bool, stillShown);
    const QString music = folder(QStringLiteral("music"));
    for (const char *name : {"a.mp3", "b.mp3"})
        writeMp3(music, QString::fromLatin1(name), kAudio);
    const QList<qint64> keys =
        load({record(QStringLiteral("a"), music), record(QStringLiteral("b"), music)});
    const auto before = m_store->allRecords();
    EditorFields fields = opened(keys[0]);
    fields.texts[Title] = QStringLiteral("Changed");
    // Another window rebuilt the grid while the editor was open.
    const GridRow first = m_grid->row(0);
    const GridRow second = m_grid->row(1);
    m_grid->setRows(stillShown ? std::vector<GridRow>{second, first}
                               : std::vector<GridRow>{second});
    const SaveReport report = TagSaver(*m_grid, *m_store, m_dialogs).save(fields, TagWriting::Off);

    QCOMPARE(m_grid->row(0), second);
    if (stillShown) {
        QCOMPARE(report.recordsUpdated, 1);
        QCOMPARE(m_grid->cell(1, Title), QStringLiteral("Changed"));
        QCOMPARE(stored(keys[0]).titolo, QStringLiteral("Changed"));
        QCOMPARE(stored(keys[1]), before->at(1));
    } else {
        QCOMPARE(report.recordsUpdated, 0);
        QCOMPARE(m_store->allRecords(), before);
        QCOMPARE(m_dialogs.messages.size(), 1);
        QCOMPARE(m_dialogs.messages[0].kind, FakeDialogs::Kind::Critical);
    }
}

void TestTagSaver::failedCatalogueWriteRollsBack_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("catalogue closed") << "closed";
    QTest::newRow("write refused part way") << "trigger";
}

void TestTagSaver::failedCatalogueWriteRollsBack()
{
    QFETCH(QString, fault);
    const QString music = folder(QStringLiteral("music"));
    for (const char *name : {"a.mp3", "b.mp3", "c.mp3"})
        writeMp3(music, QString::fromLatin1(name), kAudio);
    const QList<qint64> keys =
        load({record(QStringLiteral("a"), music), record(QStringLiteral("b"), music),
              record(QStringLiteral("c"), music)});
    const auto before = m_store->allRecords();
    const std::vector<GridRow> rows{m_grid->row(0), m_grid->row(1), m_grid->row(2)};
    if (fault == QLatin1String("closed")) {
        m_store->close();
    } else {
        // The catalogue refuses the update of the second row of the folder, after the edited
        // record was written in the same transaction.
        QVERIFY(execOn(m_temp->path(),
                       QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Mp3 WHEN old.nome = "
                                      "'b' BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    }
    EditorFields fields = opened(keys[0]);
    fields.texts[Title] = QStringLiteral("Changed");
    m_dialogs.answers = {true};
    const SaveReport report = TagSaver(*m_grid, *m_store, m_dialogs).save(fields, TagWriting::Off);

    QVERIFY(report.databaseFailed);
    QCOMPARE(report.compactions, 0);
    for (int r = 0; r < 3; ++r)
        QCOMPARE(m_grid->row(r), rows[r]);
    QCOMPARE(m_dialogs.messages.size(), 2);
    QVERIFY(m_dialogs.messages[1].text.startsWith(
        QStringLiteral("Impossibile aggiornare il catalogo")));
    QVERIFY(!QFile::exists(m_temp->folder() + QStringLiteral("/Temp.mdb")));
    if (fault == QLatin1String("closed"))
        QVERIFY(m_store->open());
    QCOMPARE(m_store->allRecords(), before);
}

QTEST_GUILESS_MAIN(TestTagSaver)
#include "tst_tagsaver.moc"
