#include "maintenancetest.h"

#include "maintenance/tagcompletion.h"
#include "support/testmp3.h"

#include <QFileInfo>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace MaintenanceTest;

class TestTagCompletion : public QObject, private Scene
{
    Q_OBJECT

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }
    void genreByte_data();
    void genreByte();
    void songRockExampleByteForByte();
    void whichFilesGetATag();
    void oneFileOfTwoRecordsGetsOneTag();
    void statesAndPermissions_data();
    void statesAndPermissions();
    void failedFileIsSkippedAndThePassGoesOn();
    void recordGoneLeavesItsFileAlone();

private:
    CompletionResult complete()
    {
        return CompleteMissingTags(*m_store, *m_model, m_dialogs, busy());
    }
};

void TestTagCompletion::genreByte_data()
{
    QTest::addColumn<QString>("genre");
    QTest::addColumn<int>("byte");
    QTest::newRow("the first name of the table") << "Blues" << 0;
    QTest::newRow("not a name: first character") << "rock" << int('r');
    QTest::newRow("empty") << "" << 32;
    QTest::newRow("euro sign") << "€uro" << 0x80;
    QTest::newRow("outside the basic plane") << "🎵 mix" << int('?');
}

void TestTagCompletion::genreByte()
{
    QFETCH(QString, genre);
    QFETCH(int, byte);
    QCOMPARE(completionGenreByte(genre), byte);
}

void TestTagCompletion::songRockExampleByteForByte()
{
    const QByteArray audio = mpegFrames(3);
    const QString file = writeMp3(m_music, u"song.mp3"_s, audio);
    CatalogueRecord r = fileRecord(m_music, u"song"_s, u"Nessun TAG ID3"_s);
    r.titolo = u"Song"_s;
    r.autore = u""_s;
    r.album = u"Greatest"_s;
    r.anno = u"1975"_s;
    r.commento = u"vinile"_s;
    r.genere = u"Rock"_s;
    load({r});
    const GridRow before = m_model->row(0);

    const CompletionResult result = complete();
    QCOMPARE(result.completed, 1);
    QVERIFY(result.failures.isEmpty() && result.compacted && m_dialogs.messages.isEmpty());
    QCOMPARE(m_compactions, 1);
    QCOMPARE(fileBytes(file), audio + tagBlock("Song", "", "Greatest", "1975", "vinile", 17));
    // The grid keeps its state word; the record is the row's values.
    QCOMPARE(m_model->row(0), before);
    const auto stored = m_store->recordById(m_ids[0]);
    QVERIFY(stored);
    QCOMPARE(stored->titolo, u"Song"_s);
    QCOMPARE(stored->info, u"Nessun TAG ID3"_s);
    QCOMPARE(stored->supporto, r.supporto);
}

// Files shorter than a tag block, empty ones included, and tagged ones are left as they are;
// every other file gets a block, and a second pass finds nothing to do.
void TestTagCompletion::whichFilesGetATag()
{
    const QByteArray tagged = mpegFrames(1) + tagBlock("T", "A", "B", "2000", "C", 255);
    const QList<std::pair<QString, QByteArray>> files = {
        {u"con tag.mp3"_s, tagged},
        {u"primo.mp3"_s, mpegFrames(2)},
        {u"vuoto.mp3"_s, QByteArray()},
        {u"corto.mp3"_s, mpegFrames(1).left(127)},
        {u"giusto.mp3"_s, mpegFrames(1).left(128)},
        // Found as every record's file is, whatever the case of its extension.
        {u"ultimo.MP3"_s, mpegFrames(2)}};
    QList<CatalogueRecord> records;
    for (const auto &[name, bytes] : files) {
        QVERIFY(!writeMp3(m_music, name, bytes).isEmpty());
        records << fileRecord(m_music, name.chopped(4), u"File Corrotto!"_s);
    }
    load(records);

    const CompletionResult result = complete();
    QCOMPARE(result.completed, 3);
    QVERIFY(result.failures.isEmpty());
    QCOMPARE(m_compactions, 1);
    for (const auto &[name, bytes] : files) {
        const QByteArray now = fileBytes(m_music + name);
        const bool grows = name == u"primo.mp3" || name == u"giusto.mp3" || name == u"ultimo.MP3";
        QCOMPARE(now.left(bytes.size()), bytes);
        QCOMPARE(now.size(), bytes.size() + (grows ? 128 : 0));
    }

    const QByteArray catalogue = fileDigest(m_temp->path());
    const CompletionResult again = complete();
    QCOMPARE(again.completed, 0);
    QVERIFY(again.failures.isEmpty());
    QCOMPARE(m_compactions, 1);
    QCOMPARE(fileDigest(m_temp->path()), catalogue);
}

// The files are looked at before any is written; a file behind two records is still given the
// tag of the first record only, as when each file is looked at just before its own write.
void TestTagCompletion::oneFileOfTwoRecordsGetsOneTag()
{
    const QByteArray audio = mpegFrames(2);
    QVERIFY(!writeMp3(m_music, u"doppio.mp3"_s, audio).isEmpty());
    CatalogueRecord first = fileRecord(m_music, u"doppio"_s);
    first.titolo = u"Primo"_s;
    CatalogueRecord second = fileRecord(m_music, u"doppio"_s);
    second.titolo = u"Secondo"_s;
    load({first, second});

    const CompletionResult result = complete();
    QCOMPARE(result.completed, 1);
    QVERIFY(result.failures.isEmpty());
    const QByteArray now = fileBytes(m_music + u"doppio.mp3"_s);
    QCOMPARE(now.size(), audio.size() + 128);
    QCOMPARE(now.mid(audio.size(), 8), QByteArray("TAGPrimo"));
}

void TestTagCompletion::statesAndPermissions_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("tagged");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("completed");
    QTest::addColumn<int>("modeAfter");
    // A row of these states is not even made writable.
    QTest::newRow("read-only") << "Solo Lettura" << false << 0444 << false << 0444;
    QTest::newRow("CD") << "CDROM" << false << 0444 << false << 0444;
    QTest::newRow("OK though untagged, read-only") << "OK" << false << 0444 << true << 0644;
    QTest::newRow("tagged, read-only") << "OK" << true << 0444 << false << 0644;
    QTest::newRow("untagged, already writable") << "OK" << false << 0640 << true << 0640;
}

void TestTagCompletion::statesAndPermissions()
{
    QFETCH(QString, word);
    QFETCH(bool, tagged);
    QFETCH(int, mode);
    QFETCH(bool, completed);
    QFETCH(int, modeAfter);
    const QByteArray tag = tagged ? tagBlock("T", "A", "B", "2000", "C", 1) : QByteArray();
    const QString file = writeMp3(m_music, u"brano.mp3"_s, mpegFrames(1), tag);
    QCOMPARE(::chmod(QFile::encodeName(file).constData(), static_cast<mode_t>(mode)), 0);
    load({fileRecord(m_music, u"brano"_s, word)});

    QCOMPARE(complete().completed, completed ? 1 : 0);
    QCOMPARE(QFileInfo(file).size(), 417 + (completed || tagged ? 128 : 0));
    QCOMPARE(permissionBits(file), modeAfter);
}

void TestTagCompletion::failedFileIsSkippedAndThePassGoesOn()
{
    // A file-size limit makes the append to the large file fail, even for root; the catalogue
    // and the small file stay below it.
    const QString large = writeMp3(m_music, u"grande.mp3"_s, mpegFrames(200));
    const QString small = writeMp3(m_music, u"piccolo.mp3"_s, mpegFrames(1));
    const QByteArray largeBytes = fileBytes(large);
    load({fileRecord(m_music, u"grande"_s, u"Nessun TAG ID3"_s),
          fileRecord(m_music, u"piccolo"_s, u"Nessun TAG ID3"_s)});
    QVERIFY(QFileInfo(m_temp->path()).size() < largeBytes.size());

    struct rlimit old;
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = old;
    limit.rlim_cur = static_cast<rlim_t>(largeBytes.size());
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const CompletionResult result = complete();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(result.completed, 1);
    QCOMPARE(result.failures.size(), 1);
    QVERIFY2(result.failures[0].startsWith(m_music + u"grande.mp3: "_s),
             qPrintable(result.failures[0]));
    QCOMPARE(fileBytes(large), largeBytes);
    QCOMPARE(QFileInfo(small).size(), 417 + 128);
    QCOMPARE(m_compactions, 1);
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestTagCompletion::recordGoneLeavesItsFileAlone()
{
    const QString file = writeMp3(m_music, u"brano.mp3"_s, mpegFrames(1));
    load({fileRecord(m_music, u"brano"_s, u"Nessun TAG ID3"_s)});
    QCOMPARE(m_store->remove(m_ids[0]), CatalogueStore::WriteResult::Done);

    const CompletionResult result = complete();
    QCOMPARE(result.completed, 0);
    QCOMPARE(result.failures.size(), 1);
    QCOMPARE(QFileInfo(file).size(), 417);
    QCOMPARE(m_compactions, 0);
}

QTEST_GUILESS_MAIN(TestTagCompletion)
#include "tst_tagcompletion.moc"
