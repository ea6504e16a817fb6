#include "maintenancetest.h"

#include "maintenance/tagcompletion.h"
#include "support/testmp3.h"

#include <QFileInfo>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

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
    void emptyFileBetweenTwoTaglessFiles();
    void shortFilesAreLeftUnchanged_data();
    void shortFilesAreLeftUnchanged();
    void taggedFilesNeedNoCompaction();
    void statesThatAreNeverOpened_data();
    void statesThatAreNeverOpened();
    void readOnlyFilesAreMadeWritable_data();
    void readOnlyFilesAreMadeWritable();
    void failedFileIsSkippedAndThePassGoesOn();
    void recordGoneLeavesItsFileAlone();

private:
    CompletionResult complete();
};

CompletionResult TestTagCompletion::complete()
{
    return CompleteMissingTags(*m_store, *m_model, m_dialogs, busy());
}

void TestTagCompletion::genreByte_data()
{
    QTest::addColumn<QString>("genre");
    QTest::addColumn<int>("byte");
    // Which names the table holds is GenreTable's rule, the bytes of a character Windows1252's.
    QTest::newRow("a name of the table") << "Blues" << 0;
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
    const QString file = writeMp3(m_music, QStringLiteral("song.mp3"), audio);
    CatalogueRecord r =
        fileRecord(m_music, QStringLiteral("song"), QStringLiteral("Nessun TAG ID3"));
    r.titolo = QStringLiteral("Song");
    r.autore = QStringLiteral("");
    r.album = QStringLiteral("Greatest");
    r.anno = QStringLiteral("1975");
    r.commento = QStringLiteral("vinile");
    r.genere = QStringLiteral("Rock");
    load({r});
    const std::vector<GridRow> before = {m_model->row(0)};

    const CompletionResult result = complete();
    QCOMPARE(result.completed, 1);
    QVERIFY(result.failures.isEmpty());
    QVERIFY(result.compacted);
    QCOMPARE(m_compactions, 1);
    const QByteArray bytes = fileBytes(file);
    QCOMPARE(bytes.size(), audio.size() + 128);
    QCOMPARE(bytes.left(audio.size()), audio);
    QCOMPARE(bytes.right(128), tagBlock("Song", "", "Greatest", "1975", "vinile", 17));
    // The grid keeps its state word; the record is the row's values.
    QCOMPARE(m_model->row(0), before[0]);
    const auto stored = m_store->recordById(m_ids[0]);
    QVERIFY(stored);
    QCOMPARE(stored->titolo, QStringLiteral("Song"));
    QCOMPARE(stored->info, QStringLiteral("Nessun TAG ID3"));
    QCOMPARE(stored->supporto, r.supporto);
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestTagCompletion::emptyFileBetweenTwoTaglessFiles()
{
    const QString first = writeMp3(m_music, QStringLiteral("primo.mp3"), mpegFrames(2));
    const QString empty = writeMp3(m_music, QStringLiteral("vuoto.mp3"), QByteArray());
    // The file is looked for as every record's file is; one spelling shows that search is used.
    const QString last = writeMp3(m_music, QStringLiteral("ultimo.MP3"), mpegFrames(2));
    load({fileRecord(m_music, QStringLiteral("primo"), QStringLiteral("Nessun TAG ID3")),
          fileRecord(m_music, QStringLiteral("vuoto"), QStringLiteral("File Corrotto!")),
          fileRecord(m_music, QStringLiteral("ultimo"), QStringLiteral("Nessun TAG ID3"))});

    const CompletionResult result = complete();
    QCOMPARE(result.completed, 2);
    QVERIFY(result.failures.isEmpty());
    QCOMPARE(m_compactions, 1);
    QCOMPARE(QFileInfo(empty).size(), 0);
    QVERIFY(fileBytes(first).right(128).startsWith("TAG"));
    QVERIFY(fileBytes(last).right(128).startsWith("TAG"));
    QCOMPARE(QFileInfo(first).size(), 2 * 417 + 128);
    QCOMPARE(QFileInfo(last).size(), 2 * 417 + 128);
}

void TestTagCompletion::shortFilesAreLeftUnchanged_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("completed");
    QTest::newRow("127 bytes") << 127 << false;
    QTest::newRow("128 bytes without a tag") << 128 << true;
}

void TestTagCompletion::shortFilesAreLeftUnchanged()
{
    QFETCH(int, size);
    QFETCH(bool, completed);
    const QByteArray bytes = mpegFrames(1).left(size);
    const QString file = writeMp3(m_music, QStringLiteral("corto.mp3"), bytes);
    load({fileRecord(m_music, QStringLiteral("corto"), QStringLiteral("File Corrotto!"))});
    const QByteArray catalogue = fileDigest(m_temp->path());

    const CompletionResult result = complete();
    QCOMPARE(result.completed, completed ? 1 : 0);
    QVERIFY(result.failures.isEmpty());
    QCOMPARE(m_compactions, completed ? 1 : 0);
    if (completed) {
        QCOMPARE(fileBytes(file).size(), size + 128);
        QCOMPARE(fileBytes(file).left(size), bytes);
    } else {
        QCOMPARE(fileBytes(file), bytes);
        QCOMPARE(fileDigest(m_temp->path()), catalogue);
    }
}

void TestTagCompletion::taggedFilesNeedNoCompaction()
{
    // Which blocks are tags is TagBlock's rule.
    const QString tagged = writeMp3(m_music, QStringLiteral("con tag.mp3"), mpegFrames(1),
                                    tagBlock("T", "A", "B", "2000", "C", 255));
    const QString untagged = writeMp3(m_music, QStringLiteral("senza tag.mp3"), mpegFrames(1));
    load({fileRecord(m_music, QStringLiteral("con tag")),
          fileRecord(m_music, QStringLiteral("senza tag"))});
    const QByteArray taggedBefore = fileBytes(tagged);

    QCOMPARE(complete().completed, 1);
    QCOMPARE(fileBytes(tagged), taggedBefore);
    QCOMPARE(QFileInfo(untagged).size(), 417 + 128);
    QCOMPARE(m_compactions, 1);

    // At the next start every file is tagged: nothing is written, nothing compacted.
    const QByteArray catalogue = fileDigest(m_temp->path());
    const CompletionResult again = complete();
    QCOMPARE(again.completed, 0);
    QVERIFY(again.failures.isEmpty());
    QCOMPARE(m_compactions, 1);
    QCOMPARE(fileDigest(m_temp->path()), catalogue);
}

void TestTagCompletion::statesThatAreNeverOpened_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("completed");
    QTest::newRow("read-only") << "Solo Lettura" << false;
    QTest::newRow("CD") << "CDROM" << false;
    QTest::newRow("OK though untagged") << "OK" << true;
}

void TestTagCompletion::statesThatAreNeverOpened()
{
    QFETCH(QString, state);
    QFETCH(bool, completed);
    const QString file = writeMp3(m_music, QStringLiteral("brano.mp3"), mpegFrames(2));
    QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0444), 0);
    load({fileRecord(m_music, QStringLiteral("brano"), state)});

    QCOMPARE(complete().completed, completed ? 1 : 0);
    QCOMPARE(QFileInfo(file).size(), 2 * 417 + (completed ? 128 : 0));
    // A row that is skipped is not even made writable.
    QCOMPARE(permissionBits(file), completed ? 0644 : 0444);
}

void TestTagCompletion::readOnlyFilesAreMadeWritable_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("tagged");
    QTest::addColumn<int>("expectedMode");
    QTest::newRow("tagged, read-only") << 0444 << true << 0644;
    QTest::newRow("untagged, already writable") << 0640 << false << 0640;
}

void TestTagCompletion::readOnlyFilesAreMadeWritable()
{
    QFETCH(int, mode);
    QFETCH(bool, tagged);
    QFETCH(int, expectedMode);
    const QByteArray tag = tagged ? tagBlock("T", "A", "B", "2000", "C", 1) : QByteArray();
    const QString file = writeMp3(m_music, QStringLiteral("brano.mp3"), mpegFrames(1), tag);
    QCOMPARE(::chmod(QFile::encodeName(file).constData(), static_cast<mode_t>(mode)), 0);
    load({fileRecord(m_music, QStringLiteral("brano"))});

    QCOMPARE(complete().completed, tagged ? 0 : 1);
    QCOMPARE(permissionBits(file), expectedMode);
    QCOMPARE(QFileInfo(file).size(), 417 + 128);
}

void TestTagCompletion::failedFileIsSkippedAndThePassGoesOn()
{
    // A file-size limit makes the append to the large file fail, even for root; the catalogue
    // and the small file stay below it.
    const QString large = writeMp3(m_music, QStringLiteral("grande.mp3"), mpegFrames(200));
    const QString small = writeMp3(m_music, QStringLiteral("piccolo.mp3"), mpegFrames(1));
    const QByteArray largeBytes = fileBytes(large);
    load({fileRecord(m_music, QStringLiteral("grande"), QStringLiteral("Nessun TAG ID3")),
          fileRecord(m_music, QStringLiteral("piccolo"), QStringLiteral("Nessun TAG ID3"))});
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
    QVERIFY2(result.failures[0].startsWith(m_music + QStringLiteral("grande.mp3: ")),
             qPrintable(result.failures[0]));
    QCOMPARE(fileBytes(large), largeBytes);
    QCOMPARE(QFileInfo(small).size(), 417 + 128);
    QCOMPARE(m_compactions, 1);
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestTagCompletion::recordGoneLeavesItsFileAlone()
{
    const QString file = writeMp3(m_music, QStringLiteral("brano.mp3"), mpegFrames(1));
    load({fileRecord(m_music, QStringLiteral("brano"), QStringLiteral("Nessun TAG ID3"))});
    QCOMPARE(m_store->remove(m_ids[0]), CatalogueStore::WriteResult::Done);

    const CompletionResult result = complete();
    QCOMPARE(result.completed, 0);
    QCOMPARE(result.failures.size(), 1);
    QCOMPARE(QFileInfo(file).size(), 417);
    QCOMPARE(m_compactions, 0);
}

QTEST_GUILESS_MAIN(TestTagCompletion)
#include "tst_tagcompletion.moc"
