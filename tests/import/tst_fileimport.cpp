#include "catalogue/cataloguestore.h"
#include "import/fileimport.h"
#include "inspection/drivetable.h"

#include "support/fakedialogs.h"
#include "support/fakevolumes.h"
#include "support/printers.h"
#include "support/sqlscene.h"
#include "support/tempcatalogue.h"
#include "support/testid3v2.h"
#include "support/testmp3.h"
#include "tags/taglibid3v2reader.h"

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
const QString kLabelTitle = QStringLiteral("ETICHETTA SUPPORTO");

QString labelMessage(const QString &label)
{
    return QStringLiteral("Il supporto si chiamerà: ") + label + QStringLiteral("   ");
}

// Three frames and a tag: 1,379 bytes, "1 KB".
QByteArray taggedBytes(const QByteArray &title, const QByteArray &comment = "Commento",
                       quint8 genre = 17)
{
    return mpegFrames(3) + tagBlock(title, "Artista", "Album", "1999", comment, genre);
}

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

VolumeInfo volume(const QString &mountPoint, DriveType type, const QString &serial,
                  const QString &label = {})
{
    VolumeInfo v;
    v.mountPoint = mountPoint;
    v.type = type;
    v.serial = serial;
    v.label = label;
    return v;
}

} // namespace

class TestFileImport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void readFile_data();
    void readFile();
    void recordOfAFile_data();
    void recordOfAFile();
    void twoRecordsOfOneFileTheFirstIsRewritten();
    void unlabelledMediaAreNamedOnceAndSavedFirst();
    void mediaNamedByWhatIsKnown_data();
    void mediaNamedByWhatIsKnown();
    void unreadableFilesAreRecordedAsCorrupt();
    void fileWithoutMediumSerialIsLeftOut_data();
    void fileWithoutMediumSerialIsLeftOut();
    void catalogueFailureStopsAndKeepsWhatWasCommitted();

private:
    QString music(const QString &relative) const { return m_music->path() + u'/' + relative; }
    QString song(const QString &relative, const QByteArray &bytes);
    FileImport::Result import(const QStringList &paths, const QString &driveEntry = "/");
    QList<CatalogueRecord> records();

    std::unique_ptr<TempCatalogue> m_temp;
    std::unique_ptr<CatalogueStore> m_store;
    HookedDialogs m_dialogs;
    FakeVolumes m_volumes;
    std::unique_ptr<QTemporaryDir> m_music;
    bool m_stopExpected = false;
};

void TestFileImport::init()
{
    m_music = std::make_unique<QTemporaryDir>();
    m_temp = std::make_unique<TempCatalogue>();
    m_temp->add({});
    m_store = std::make_unique<CatalogueStore>(m_temp->path());
    QVERIFY2(m_store->open(), qPrintable(m_store->lastError()));
    m_dialogs.messages.clear();
    m_dialogs.onInformation = nullptr;
    m_stopExpected = false;
    m_volumes.list = {
        volume("/", DriveType::Fixed, "1000"),
        volume(music("data"), DriveType::Fixed, "2000", "DATI"),
        volume(music("cd"), DriveType::CdRom, "3000"),
        volume(music("usb"), DriveType::Removable, "4000", "CHIAVETTA"),
        volume(music("cd2"), DriveType::CdRom, "5000", "ESTATE 2003"),
        volume(music("cd3"), DriveType::CdRom, "6000"),
    };
    for (const char *folder : {"data", "cd", "usb", "cd2", "cd3"})
        QVERIFY(QDir(m_music->path()).mkpath(QString::fromLatin1(folder)));
}

void TestFileImport::cleanup()
{
    m_store.reset();
    m_temp.reset();
    m_music.reset();
}

QString TestFileImport::song(const QString &relative, const QByteArray &bytes)
{
    const QString path = music(relative);
    QDir().mkpath(QFileInfo(path).path());
    return writeMp3(QFileInfo(path).path(), QFileInfo(path).fileName(), bytes);
}

FileImport::Result TestFileImport::import(const QStringList &paths, const QString &driveEntry)
{
    FileImport fileImport(*m_store, m_dialogs, m_volumes, buildDriveTable(m_volumes.list),
                          driveEntry);
    const FileImport::Result result = fileImport.riempi(paths);
    // Every import here runs to its end, but the one whose catalogue is taken away.
    if (result.stopped && !m_stopExpected)
        QTest::qFail(qPrintable(result.report()), __FILE__, __LINE__);
    return result;
}

QList<CatalogueRecord> TestFileImport::records()
{
    const auto all = m_store->allRecords();
    if (!all)
        qWarning() << m_store->lastError();
    return all.value_or(QList<CatalogueRecord>());
}

void TestFileImport::readFile_data()
{
    QTest::addColumn<QString>("relative");
    // "tagged", "untagged", "folder"; "id3v2" (ID3v2 tag only) or "both" (ID3v2 and ID3v1),
    // each read with the ID3v2 fallback when followed by " on"
    QTest::addColumn<QString>("make");
    QTest::addColumn<ImportValues>("values"); // without the base name and folder
    const auto tagged = [](const QString &comment, const QString &state) {
        return ImportValues{"Titolo", "Artista", "Album", "1999", comment,
                            "Rock",   state,     {},      {},     kOneKb};
    };
    const auto untagged = [](const QString &title, const QString &comment, const QString &state,
                             const QString &size) {
        return ImportValues{title, "", "", "", comment, "", state, {}, {}, size};
    };
    QTest::newRow("tagged") << u"a/brano.mp3"_s << u"tagged"_s << tagged("Commento", "OK");
    QTest::newRow("untagged") << u"a/brano.mp3"_s << u"untagged"_s
                              << untagged("brano", "", "Nessun TAG ID3", kOneKb);
    QTest::newRow("folder named x.mp3")
        << u"a/x.mp3"_s << u"folder"_s << untagged("x", "", "File Corrotto!", kZeroKb);
    QTest::newRow("removable disk")
        << u"usb/brano.mp3"_s << u"tagged"_s << tagged("CHIAVETTA", "Disco Rimovibile");
    const QString id3v2Size = kBlank16 + QStringLiteral("2 KB");
    QTest::newRow("ID3v2 tag only, fallback off")
        << u"a/brano.mp3"_s << u"id3v2"_s << untagged("brano", "", "Nessun TAG ID3", id3v2Size);
    QTest::newRow("ID3v2 tag only, fallback on: values from it, still without an ID3v1 tag")
        << u"a/brano.mp3"_s << u"id3v2 on"_s
        << ImportValues{"Titolo v2", "Artista v2",     "Album v2", "2001", "Commento v2",
                        "Pop",       "Nessun TAG ID3", {},         {},     id3v2Size};
    QTest::newRow("ID3v2 tag with no title, fallback on: the base name stands in")
        << u"a/brano.mp3"_s << u"id3v2 untitled on"_s
        << ImportValues{"brano", "Artista v2",     "Album v2", "2001", "Commento v2",
                        "Pop",   "Nessun TAG ID3", {},         {},     id3v2Size};
    QTest::newRow("both tags, fallback on: the ID3v1 tag wins")
        << u"a/brano.mp3"_s << u"both on"_s
        << ImportValues{"Titolo", "Artista", "Album", "1999", "Commento",
                        "Rock",   "OK",      {},      {},     kBlank16 + u"3 KB"_s};
}

void TestFileImport::readFile()
{
    QFETCH(QString, relative);
    QFETCH(QString, make);
    QFETCH(ImportValues, values);
    const QString path = music(relative);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    if (make == "tagged") {
        QVERIFY(!song(relative, taggedBytes("Titolo")).isEmpty());
    } else if (make == "untagged") {
        QVERIFY(!song(relative, mpegFrames(3) + QByteArray(128, 'x')).isEmpty());
    } else if (make == "folder") {
        QVERIFY(QDir().mkpath(path + QStringLiteral("/inner")));
    } else {
        const QByteArray id3v1 = make.startsWith(u"both") ? taggedBytes("Titolo").right(128) : "";
        QVERIFY(!song(relative, mpegFrames(3) + id3v1).isEmpty());
        const Id3v2Fields id3v2{make.contains(u"untitled") ? QString() : u"Titolo v2"_s,
                                u"Artista v2"_s,
                                u"Album v2"_s,
                                u"2001"_s,
                                u"Commento v2"_s,
                                {u"(13)"_s}};
        QVERIFY(writeId3v2(path, 4, Id3v2Encoding::Utf16, id3v2));
    }
    FileImport fileImport(*m_store, m_dialogs, m_volumes, buildDriveTable(m_volumes.list),
                          QStringLiteral("/"));
    const TagLibId3v2Reader id3v2Reader;
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

void TestFileImport::recordOfAFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("titolo");
    const QString forty = QStringLiteral("Una canzone con un nome davvero lungo!");
    QTest::newRow("short name") << u"brano.mp3"_s << u"brano"_s;
    QTest::newRow("title cut to 30 characters, name kept whole")
        << forty + QStringLiteral(".mp3") << forty.left(30);
    // A character outside the Basic Multilingual Plane counts as one, as in the record update.
    const QString note = QString::fromUtf8("\xF0\x9F\x8E\xB5");
    QTest::newRow("character outside the basic plane counts as one")
        << QString(29, u'a') + note + u"b.mp3"_s << QString(29, u'a') + note;
}

void TestFileImport::recordOfAFile()
{
    QFETCH(QString, name);
    QFETCH(QString, titolo);
    const QString path = song(QStringLiteral("data/Album/") + name, mpegFrames(3));
    QVERIFY(!path.isEmpty());
    const FileImport::Result result = import({path});
    QCOMPARE(result.added, 1);
    QVERIFY(result.failures.isEmpty());
    const QList<CatalogueRecord> all = records();
    QCOMPARE(all.size(), 1);
    CatalogueRecord expected;
    expected.id = all.first().id;
    expected.titolo = titolo;
    expected.autore = expected.album = expected.anno = expected.genere = expected.commento = "";
    expected.nome = QFileInfo(name).completeBaseName();
    expected.percorso = music("data/Album/");
    expected.dimenzione = kOneKb;
    expected.info = QStringLiteral("Nessun TAG ID3");
    expected.labelD = QStringLiteral("DATI");
    expected.supporto = QStringLiteral("2000");
    QCOMPARE(all.first(), expected);
    QVERIFY(m_dialogs.messages.isEmpty());
}

// A catalogue may hold two records of one name and folder (the same file catalogued twice): the
// import rewrites the one with the lower key and leaves the other as it was.
void TestFileImport::twoRecordsOfOneFileTheFirstIsRewritten()
{
    const QString path = song("data/a.mp3", taggedBytes("Nuovo"));
    QList<CatalogueRecord> twins;
    for (const QString &stem : {u"primo"_s, u"secondo"_s, u"altro"_s}) {
        twins << sampleRecord(stem);
        twins.last().nome = stem == u"altro" ? stem : u"a"_s;
        twins.last().percorso = music("data/");
    }
    const QList<qint64> ids = m_temp->add(twins);
    const FileImport::Result result = import({path});
    QCOMPARE(result.added, 0);
    QCOMPARE(result.updated, 1);
    QCOMPARE(m_store->recordById(ids[0])->titolo, u"Nuovo"_s);
    for (int i : {1, 2}) {
        twins[i].id = ids[i];
        QCOMPARE(m_store->recordById(ids[i]), std::optional(twins[i]));
    }
}

void TestFileImport::unlabelledMediaAreNamedOnceAndSavedFirst()
{
    // Two media named before: the numbering rules are MediumLabel's, here the catalogue's labels
    // reach it.
    QList<CatalogueRecord> old;
    for (const QString &label : {u"TRACKLODGE_9"_s, u"TRACKLODGE_10"_s}) {
        old << sampleRecord(label);
        old.last().labelD = label;
        old.last().supporto = QStringLiteral("serial of ") + label;
    }
    m_temp->add(old);
    // Another connection, as a second program would have, sees the record with the new label
    // while the message waits, and nothing written after it until the next commit.
    const auto committedRecords = [this] {
        CatalogueStore other(m_temp->path());
        if (!other.open())
            return qsizetype(-1);
        return other.allRecords().value_or(QList<CatalogueRecord>()).size();
    };
    QList<qsizetype> seenAtMessages;
    m_dialogs.onInformation = [&] {
        seenAtMessages << committedRecords();
    };
    QList<qsizetype> seenAfterFiles;
    FileImport fileImport(*m_store, m_dialogs, m_volumes, buildDriveTable(m_volumes.list),
                          QStringLiteral("/"));
    const FileImport::Result result =
        fileImport.riempi({song("data/a.mp3", taggedBytes("A")), song("cd/b.mp3", taggedBytes("B")),
                           song("cd/sub/c.mp3", mpegFrames(3)), song("cd3/d.mp3", taggedBytes("D")),
                           song("data/e.mp3", taggedBytes("E"))},
                          [&](qsizetype, qsizetype) { seenAfterFiles << committedRecords(); });
    QVERIFY(!result.stopped);
    QVERIFY(result.failures.isEmpty());
    QCOMPARE(result.added, 5);
    QCOMPARE(seenAtMessages, (QList<qsizetype>{4, 6}));
    QCOMPARE(seenAfterFiles, (QList<qsizetype>{2, 4, 4, 6, 6}));
    QCOMPARE(committedRecords(), 7);
    const QList<CatalogueRecord> all = records().mid(2);
    for (int i = 1; i < 3; ++i)
        QCOMPARE(all.at(i).labelD + all.at(i).supporto, QStringLiteral("TRACKLODGE_113000"));
    QCOMPARE(all.at(3).labelD, QStringLiteral("TRACKLODGE_12"));
    QCOMPARE(m_dialogs.messages.size(), 2);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(m_dialogs.messages.at(i).title, kLabelTitle);
        QCOMPARE(m_dialogs.messages.at(i).text, labelMessage(all.at(2 * i + 1).labelD));
    }
}

void TestFileImport::mediaNamedByWhatIsKnown_data()
{
    QTest::addColumn<QString>("driveEntry");
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("oldLabel"); // of a record already on the file's medium
    QTest::addColumn<QString>("label");
    QTest::newRow("label of the medium's records first")
        << u"/"_s << u"data/a.mp3"_s << u"Commento"_s << u"MIA RACCOLTA"_s << u"MIA RACCOLTA"_s;
    QTest::newRow("label of the chosen drive's entry")
        << u"/ [RADICE]"_s << u"root/a.mp3"_s << u"Commento"_s << u""_s << u"RADICE"_s;
    // The chosen folder may hold other volumes mounted below it: their files lie on media of
    // their own, named by their own labels.
    QTest::newRow("volume mounted below the chosen drive")
        << u"/ [RADICE]"_s << u"data/a.mp3"_s << u"Commento"_s << u""_s << u"DATI"_s;
    QTest::newRow("unlabelled fixed disk takes the comment")
        << u"/"_s << u"root/a.mp3"_s << u"Collezione Rock"_s << u""_s << u"Collezione Rock"_s;
}

void TestFileImport::mediaNamedByWhatIsKnown()
{
    QFETCH(QString, driveEntry);
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
    QCOMPARE(import({song(relative, taggedBytes("A", comment.toUtf8()))}, driveEntry).added, 1);
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
    QList<QPair<qsizetype, qsizetype>> calls;
    FileImport fileImport(*m_store, m_dialogs, m_volumes, buildDriveTable(m_volumes.list), "/");
    const FileImport::Result result =
        fileImport.riempi({vanished, song("data/empty.mp3", QByteArray()), QString()},
                          [&](qsizetype done, qsizetype total) {
                              calls.append({done, total});
                          });
    QCOMPARE(result.added, 2);
    QVERIFY(result.failures.isEmpty());
    QCOMPARE(calls, (QList<QPair<qsizetype, qsizetype>>{{1, 3}, {2, 3}, {3, 3}}));
    const QList<CatalogueRecord> all = records();
    QCOMPARE(all.size(), 2);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(all.at(i).info, QStringLiteral("File Corrotto!"));
        QCOMPARE(all.at(i).titolo, (QStringList{"gone", "empty"}.at(i)));
        QCOMPARE(all.at(i).dimenzione, kZeroKb);
        QCOMPARE(all.at(i).labelD, QStringLiteral("DATI"));
    }
}

void TestFileImport::fileWithoutMediumSerialIsLeftOut_data()
{
    QTest::addColumn<bool>("volumeKnown");
    QTest::newRow("no volume") << false;
    QTest::newRow("volume without a serial") << true;
}

void TestFileImport::fileWithoutMediumSerialIsLeftOut()
{
    QFETCH(bool, volumeKnown);
    m_volumes.list.removeFirst();
    if (volumeKnown)
        m_volumes.list << volume(music("nas"), DriveType::Fixed, QString());
    const QString lost = song("nas/a.mp3", taggedBytes("A"));
    const QStringList paths = {lost, song("data/b.mp3", taggedBytes("B"))};
    const FileImport::Result result = import(paths);
    QCOMPARE(result.added, 1);
    QVERIFY(!result.stopped);
    QCOMPARE(result.failures.size(), 1);
    QCOMPARE(result.failures.first().path, lost);
    QCOMPARE(result.failures.first().reason,
             QStringLiteral("impossibile leggere il numero di serie del supporto"));
    QVERIFY(result.report().startsWith(QStringLiteral("1 file non sono stati importati:\n")));
    QCOMPARE(records().size(), 1);
}

void TestFileImport::catalogueFailureStopsAndKeepsWhatWasCommitted()
{
    // While the label message waits, another program takes the table away: the next write
    // fails, the import stops, and what was saved before the message stays.
    m_dialogs.onInformation = [&] {
        QVERIFY(execOn(m_temp->path(), QStringLiteral("ALTER TABLE Mp3 RENAME TO Mp3_altrove")));
    };
    m_stopExpected = true;
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
    const QList<CatalogueRecord> all = records();
    QCOMPARE(all.size(), 2);
    QCOMPARE(all.at(1).labelD, QStringLiteral("TRACKLODGE_1"));
}

QTEST_GUILESS_MAIN(TestFileImport)
#include "tst_fileimport.moc"
