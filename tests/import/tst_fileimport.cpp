#include "catalogue/cataloguestore.h"
#include "import/fileimport.h"
#include "inspection/drivetable.h"

#include "support/fakedialogs.h"
#include "support/fakevolumes.h"
#include "support/printers.h"
#include "support/sqlscene.h"
#include "support/storedrecords.h"
#include "support/tempcatalogue.h"
#include "support/testmp3.h"
#include "tags/id3v2reader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kBlank16 = QString(16, u' ');
const QString kOneKb = kBlank16 + QStringLiteral("1 KB");
const QString kZeroKb = kBlank16 + QStringLiteral("0 KB");

// Three frames and a tag: 1,379 bytes, "1 KB".
QByteArray taggedBytes(const QByteArray &title, const QByteArray &comment = "Commento")
{
    return mpegFrames(3) + tagBlock(title, "Artista", "Album", "1999", comment, 17);
}

/// An ID3v2 reader that finds the same tag in every file, or none.
class FixedId3v2Reader : public Id3v2Reader
{
public:
    std::optional<Id3v2Fields> read(const QString &) const override { return fields; }
    std::optional<Id3v2Fields> fields;
};

/// Dialogs that run a piece of test code when a notice is shown, before recording it.
class HookedDialogs : public FakeDialogs
{
public:
    void information(const QString &title, const QString &text) override
    {
        if (onInformation)
            onInformation();
        FakeDialogs::information(title, text);
    }
    std::function<void()> onInformation;
};

} // namespace

class TestFileImport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readFile_data();
    void readFile();
    void recordOfAFile_data();
    void recordOfAFile();
    void filesAlreadyCatalogued_data();
    void filesAlreadyCatalogued();
    void unlabelledMediaAreNamedOnceAndSavedFirst();
    void mediaNamedByWhatIsKnown_data();
    void mediaNamedByWhatIsKnown();
    void unreadableFilesAreRecordedAsCorrupt();
    void fileWithoutMediumSerialIsLeftOut();
    void catalogueFailureStopsAndKeepsWhatWasCommitted();

private:
    QString music(const QString &relative) const { return m_music->path() + u'/' + relative; }
    QString song(const QString &relative, const QByteArray &bytes)
    {
        const QFileInfo path(music(relative));
        QDir().mkpath(path.path());
        return writeMp3(path.path(), path.fileName(), bytes);
    }
    // The root drive as chosen in the drive list, with its label.
    static VolumeInfo rootDrive(const QString &label = {})
    {
        return {u"/"_s, DriveType::Fixed, label, {}, {}, {}};
    }
    FileImport::Result import(const QStringList &paths, const QString &driveLabel = {})
    {
        return FileImport(*m_store, m_dialogs, m_volumes, buildDriveTable(m_volumes.list),
                          rootDrive(driveLabel))
            .riempi(paths);
    }
    QList<CatalogueRecord> records()
    {
        return storedRecords(*m_store).value_or(QList<CatalogueRecord>());
    }

    std::unique_ptr<QTemporaryDir> m_music;
    std::unique_ptr<TempCatalogue> m_temp;
    std::unique_ptr<CatalogueStore> m_store;
    HookedDialogs m_dialogs;
    FakeVolumes m_volumes;
};

void TestFileImport::init()
{
    m_store.reset();
    m_music = std::make_unique<QTemporaryDir>();
    m_temp = std::make_unique<TempCatalogue>();
    m_temp->add({});
    m_store = std::make_unique<CatalogueStore>(m_temp->path());
    QVERIFY(m_store->open());
    m_dialogs = HookedDialogs();
    m_volumes.list = {{"/", DriveType::Fixed, {}, "1000", {}, {}},
                      {music("data"), DriveType::Fixed, "DATI", "2000", {}, {}},
                      {music("cd"), DriveType::CdRom, {}, "3000", {}, {}},
                      {music("usb"), DriveType::Removable, "CHIAVETTA", "4000", {}, {}},
                      {music("cd3"), DriveType::CdRom, {}, "6000", {}, {}}};
}

void TestFileImport::readFile_data()
{
    QTest::addColumn<QString>("relative");
    // "tagged" or "untagged", and with an ID3v2 tag ("id3v2" an untagged file, "both" a tagged
    // one) read by the fallback when followed by " on"
    QTest::addColumn<QString>("make");
    QTest::addColumn<ImportValues>("values"); // without the base name and folder
    const auto tagged = [](const QString &comment, const QString &state) {
        return ImportValues{"Titolo", "Artista", "Album", "1999", comment,
                            "Rock",   state,     {},      {},     kOneKb};
    };
    const ImportValues untagged{"brano", "", "", "", "", "", "Nessun TAG ID3", {}, {}, kOneKb};
    QTest::newRow("tagged") << u"a/brano.mp3"_s << u"tagged"_s << tagged("Commento", "OK");
    QTest::newRow("untagged") << u"a/brano.mp3"_s << u"untagged"_s << untagged;
    QTest::newRow("removable disk")
        << u"usb/brano.mp3"_s << u"tagged"_s << tagged("CHIAVETTA", "Disco Rimovibile");
    // A file without an ID3v1 tag takes the ID3v2 values; how they are cut is Id3v2Reader's.
    QTest::newRow("ID3v2 tag with no title, fallback on: the base name stands in")
        << u"a/brano.mp3"_s << u"id3v2 untitled on"_s
        << ImportValues{"brano", "Artista v2", "", "", "", "Pop", "Nessun TAG ID3", {}, {}, kOneKb};
    QTest::newRow("both tags, fallback on: the ID3v1 tag wins")
        << u"a/brano.mp3"_s << u"both on"_s << tagged("Commento", "OK");
}

void TestFileImport::readFile()
{
    QFETCH(QString, relative);
    QFETCH(QString, make);
    QFETCH(ImportValues, values);
    const QString path = music(relative);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    const bool tagged = make == u"tagged" || make.startsWith(u"both");
    QVERIFY(!song(relative, tagged ? taggedBytes("Titolo") : mpegFrames(3) + QByteArray(128, 'x'))
                 .isEmpty());
    FileImport fileImport(*m_store, m_dialogs, m_volumes, buildDriveTable(m_volumes.list),
                          rootDrive());
    FixedId3v2Reader id3v2Reader;
    id3v2Reader.fields = Id3v2Fields{make.contains(u"untitled") ? u""_s : u"Titolo v2"_s,
                                     u"Artista v2"_s,
                                     {},
                                     {},
                                     {},
                                     {u"(13)"_s}};
    if (make.endsWith(u" on"))
        fileImport.setId3v2Reader(&id3v2Reader);
    const ImportValues v = fileImport.readFile(path);
    values.baseName = QFileInfo(relative).completeBaseName();
    values.folder = QFileInfo(path).path() + u'/';
    QCOMPARE(v, values);
    // Every text is a text, never NULL in the catalogue.
    for (const QString *field : {&v.artist, &v.album, &v.year, &v.comment, &v.genre})
        QVERIFY(!field->isNull());
}

// The title of an untagged file is its name cut to 30 characters, the name is kept whole.
void TestFileImport::recordOfAFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("titolo");
    const QString forty = QStringLiteral("Una canzone con un nome davvero lungo!");
    QTest::newRow("title cut to 30 characters") << forty + u".mp3"_s << forty.left(30);
    // A character outside the Basic Multilingual Plane counts as one, as in the record update.
    const QString note = QString::fromUtf8("\xF0\x9F\x8E\xB5");
    QTest::newRow("character outside the basic plane counts as one")
        << QString(29, u'a') + note + u"b.mp3"_s << QString(29, u'a') + note;
}

void TestFileImport::recordOfAFile()
{
    QFETCH(QString, name);
    QFETCH(QString, titolo);
    QCOMPARE(import({song(u"data/Album/"_s + name, mpegFrames(3))}).added, 1);
    const CatalogueRecord r = records().value(0);
    QCOMPARE(QStringList({r.titolo, r.nome, r.percorso, r.info, r.labelD, r.supporto}),
             QStringList({titolo, QFileInfo(name).completeBaseName(), music("data/Album/"),
                          "Nessun TAG ID3", "DATI", "2000"}));
}

// A catalogue may hold two records of one name and folder (the same file catalogued twice): the
// import rewrites the one with the lower key and leaves the other as it was. Names are compared
// exactly, and a file listed again finds the record its first listing wrote. A catalogue no
// larger than the work list is looked up at once, a larger one file by file: the outcome is the
// same.
void TestFileImport::filesAlreadyCatalogued_data()
{
    QTest::addColumn<int>("others"); // records of other files
    QTest::newRow("catalogue larger than the list: looked up file by file") << 2;
    QTest::newRow("catalogue no larger than the list: looked up at once") << 0;
}

void TestFileImport::filesAlreadyCatalogued()
{
    QFETCH(int, others);
    const QString lower = song("data/a.mp3", taggedBytes("Nuovo"));
    const QString upper = song("data/A.mp3", taggedBytes("Maiuscolo"));
    QList<CatalogueRecord> twins;
    for (const QString &stem : {u"primo"_s, u"secondo"_s, u"altro"_s}) {
        twins << sampleRecord(stem);
        twins.last().nome = stem == u"altro" ? stem : u"a"_s;
        twins.last().percorso = music("data/");
    }
    const QList<qint64> ids = m_temp->add(twins);
    m_temp->add(QList<CatalogueRecord>(others, sampleRecord(u"altrove"_s)));
    const FileImport::Result result = import({lower, upper, upper, lower});
    QCOMPARE(result.added, 1);
    QCOMPARE(result.updated, 3);
    QCOMPARE(m_store->recordById(ids[0])->titolo, u"Nuovo"_s);
    for (int i : {1, 2}) {
        twins[i].id = ids[i];
        QCOMPARE(m_store->recordById(ids[i]), Lookup<CatalogueRecord>::found(twins[i]));
    }
    const CatalogueRecord added = records().value(3 + others);
    QCOMPARE(added.nome + u' ' + added.titolo, u"A Maiuscolo"_s);
}

// An unnamed medium is named once, after the catalogue's own "TRACKLODGE_n" labels (their
// numbering is MediumLabel's), and its first record is committed before the name is shown: another
// connection, as a second program would have, sees it while the message waits.
void TestFileImport::unlabelledMediaAreNamedOnceAndSavedFirst()
{
    CatalogueRecord old = sampleRecord(u"vecchio"_s);
    old.labelD = u"TRACKLODGE_10"_s;
    m_temp->add({old});
    QList<qsizetype> seenAtMessages;
    m_dialogs.onInformation = [&] {
        CatalogueStore other(m_temp->path());
        seenAtMessages << (other.open() ? storedRecords(other)->size() : -1);
    };
    const FileImport::Result result =
        import({song("cd/b.mp3", taggedBytes("B")), song("cd/sub/c.mp3", mpegFrames(3)),
                song("cd3/d.mp3", taggedBytes("D"))});
    QCOMPARE(result.added, 3);
    QCOMPARE(seenAtMessages, (QList<qsizetype>{2, 4}));
    QStringList media;
    for (const CatalogueRecord &r : records().mid(1))
        media << r.labelD + u' ' + r.supporto;
    QCOMPARE(media,
             (QStringList{"TRACKLODGE_11 3000", "TRACKLODGE_11 3000", "TRACKLODGE_12 6000"}));
    QCOMPARE(m_dialogs.messages.size(), 2);
    QCOMPARE(m_dialogs.messages.at(1).title + m_dialogs.messages.at(1).text,
             u"ETICHETTA SUPPORTOIl supporto si chiamerà: TRACKLODGE_12   "_s);
}

void TestFileImport::mediaNamedByWhatIsKnown_data()
{
    QTest::addColumn<QString>("driveLabel");
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("oldLabel"); // of a record already on the file's medium
    QTest::addColumn<QString>("label");
    QTest::newRow("label of the medium's records first")
        << u""_s << u"data/a.mp3"_s << u"Commento"_s << u"MIA RACCOLTA"_s << u"MIA RACCOLTA"_s;
    QTest::newRow("label of the chosen drive")
        << u"RADICE"_s << u"root/a.mp3"_s << u"Commento"_s << u""_s << u"RADICE"_s;
    // The chosen folder may hold other volumes mounted below it: their files lie on media of
    // their own, named by their own labels.
    QTest::newRow("volume mounted below the chosen drive")
        << u"RADICE"_s << u"data/a.mp3"_s << u"Commento"_s << u""_s << u"DATI"_s;
    QTest::newRow("unlabelled fixed disk takes the comment")
        << u""_s << u"root/a.mp3"_s << u"Collezione Rock"_s << u""_s << u"Collezione Rock"_s;
}

void TestFileImport::mediaNamedByWhatIsKnown()
{
    QFETCH(QString, driveLabel);
    QFETCH(QString, relative);
    QFETCH(QString, comment);
    QFETCH(QString, oldLabel);
    QFETCH(QString, label);
    if (!oldLabel.isEmpty()) {
        CatalogueRecord old = sampleRecord(QStringLiteral("vecchio"));
        old.supporto = m_volumes.volumeOf(music(relative))->serial;
        old.labelD = oldLabel;
        m_temp->add({old});
    }
    QCOMPARE(import({song(relative, taggedBytes("A", comment.toUtf8()))}, driveLabel).added, 1);
    QCOMPARE(records().last().labelD, label);
    QCOMPARE(records().last().commento, comment);
    QVERIFY(m_dialogs.messages.isEmpty());
}

// A file gone before it is read, or an empty one, is still recorded, as corrupt; the progress
// counts every entry, empty ones included.
void TestFileImport::unreadableFilesAreRecordedAsCorrupt()
{
    const QString vanished = song("data/gone.mp3", taggedBytes("Sparito"));
    QVERIFY(QFile::remove(vanished));
    QList<qsizetype> done;
    FileImport fileImport(*m_store, m_dialogs, m_volumes, buildDriveTable(m_volumes.list),
                          rootDrive());
    const FileImport::Result result =
        fileImport.riempi({vanished, song("data/empty.mp3", QByteArray()), QString()},
                          [&](qsizetype step, qsizetype total) { done << step * 10 + total; });
    QCOMPARE(result.added, 2);
    QCOMPARE(done, (QList<qsizetype>{13, 23, 33}));
    QStringList seen;
    for (const CatalogueRecord &r : records())
        seen << r.titolo + u' ' + r.info + r.dimenzione + u' ' + r.labelD;
    QCOMPARE(seen, (QStringList{u"gone File Corrotto!"_s + kZeroKb + u" DATI"_s,
                                u"empty File Corrotto!"_s + kZeroKb + u" DATI"_s}));
}

// A file on no known volume, or on one without a serial, is left out and reported.
void TestFileImport::fileWithoutMediumSerialIsLeftOut()
{
    m_volumes.list.removeFirst();
    m_volumes.list << VolumeInfo{music("nas"), DriveType::Fixed, {}, {}, {}, {}};
    const QStringList lost{song("nas/a.mp3", taggedBytes("A")),
                           song("altro/b.mp3", taggedBytes("B"))};
    const FileImport::Result result =
        import({lost[0], song("data/c.mp3", taggedBytes("C")), lost[1]});
    QCOMPARE(result.added, 1);
    QCOMPARE(result.failures.size(), 2);
    for (int i = 0; i < 2; ++i)
        QCOMPARE(result.failures[i].path + u": "_s + result.failures[i].reason,
                 lost[i] + u": impossibile leggere il numero di serie del supporto"_s);
    QVERIFY(result.report().startsWith(QStringLiteral("2 file non sono stati importati:\n")));
}

void TestFileImport::catalogueFailureStopsAndKeepsWhatWasCommitted()
{
    // While the label message waits, another program takes the table away: the next write
    // fails, the import stops, and what was saved before the message stays.
    m_dialogs.onInformation = [&] {
        QVERIFY(execOn(m_temp->path(), QStringLiteral("ALTER TABLE Mp3 RENAME TO Mp3_altrove")));
    };
    const FileImport::Result result =
        import({song("data/a.mp3", taggedBytes("A")), song("cd/b.mp3", taggedBytes("B")),
                song("data/c.mp3", taggedBytes("C")), song("data/d.mp3", taggedBytes("D"))});
    QVERIFY(result.stopped);
    QCOMPARE(result.failures.size(), 1);
    QCOMPARE(result.failures.first().path, music("data/c.mp3"));
    QVERIFY(result.report().startsWith(QStringLiteral("Importazione interrotta")));
    QVERIFY(execOn(m_temp->path(), QStringLiteral("ALTER TABLE Mp3_altrove RENAME TO Mp3")));
    m_store->close();
    QVERIFY(m_store->open());
    QCOMPARE(records().size(), 2);
}

QTEST_GUILESS_MAIN(TestFileImport)
#include "tst_fileimport.moc"
