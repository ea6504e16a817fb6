#include "maintenancetest.h"

#include "maintenance/startupcheck.h"

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace MaintenanceTest;

// What the tag holds is checked byte for byte by the journeys (an imported file completed at
// the next start); here the byte of the genre, which files qualify, and the failures.
class TestTagCompletion : public QObject, private Scene
{
    Q_OBJECT

    // The start-up's look and completion over the grid as it is.
    StartupCheckResult startUp()
    {
        return checkFilesAtStartup(*m_store, *m_model, m_dialogs, busy(),
                                   lookAtRows(*m_model, LookFor::Both));
    }

    // The completion as the start-up runs it: every file is there.
    CompletionResult complete()
    {
        const StartupCheckResult result = startUp();
        if (!result.missing.isEmpty() || !result.completion)
            qFatal("a file of the scene is missing");
        return *result.completion;
    }

private slots:
    void init() { setUp(); }
    // The genre byte written is the name's index, or 255 ("no genre") for anything else, a NULL
    // genre (shown as a blank) included: never a letter's code, nor 32 ("Classical"). "No genre"
    // is stored as an empty text.
    void genreByte_data()
    {
        QTest::addColumn<QString>("genre");
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("stored");
        QTest::newRow("Rock") << u"Rock"_s << 17 << u"Rock"_s;
        QTest::newRow("the first name") << u"Blues"_s << 0 << u"Blues"_s;
        QTest::newRow("the last name") << u"Synth Pop"_s << 147 << u"Synth Pop"_s;
        QTest::newRow("empty") << u""_s << 255 << u""_s;
        QTest::newRow("NULL") << QString() << 255 << u""_s;
        QTest::newRow("blanks") << u"  "_s << 255 << u""_s;
        QTest::newRow("not a name") << u"Synthpop"_s << 255 << u"Synthpop"_s;
        QTest::newRow("other letter case") << u"rock"_s << 255 << u"rock"_s;
    }

    void genreByte()
    {
        QFETCH(QString, genre);
        QFETCH(int, byte);
        QFETCH(QString, stored);
        const QString file = writeMp3(m_music, u"a.mp3"_s, mpegFrames(1));
        CatalogueRecord record = fileRecord(m_music, u"a"_s, u"Nessun TAG ID3"_s);
        record.genere = genre;
        load({record});
        QCOMPARE(complete().completed, 1);
        QCOMPARE(int(quint8(fileBytes(file).back())), byte);
        const Lookup<CatalogueRecord> after = m_store->recordById(m_ids[0]);
        QVERIFY(after.isFound());
        QCOMPARE(after->genere, stored);
        QVERIFY(!after->genere.isNull());
    }

    // Files shorter than a tag block, tagged ones, and rows of the states "Solo Lettura" and
    // "CDROM" are left as they are (not even made writable); others are made writable and get a
    // block.
    void whichFilesGetATag_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("completed");
        QTest::addColumn<int>("modeAfter");
        const QByteArray tagged = mpegFrames(1) + tagBlock("T", "A", "B", "2000", "C", 255);
        QTest::newRow("tagged, read-only") << tagged << "OK" << 0444 << false << 0644;
        QTest::newRow("untagged, read-only") << mpegFrames(1) << "OK" << 0444 << true << 0644;
        QTest::newRow("empty") << QByteArray() << "OK" << 0644 << false << 0644;
        QTest::newRow("128 bytes") << mpegFrames(1).left(128) << "OK" << 0644 << true << 0644;
        QTest::newRow("read-only state")
            << mpegFrames(1) << "Solo Lettura" << 0444 << false << 0444;
        QTest::newRow("CD") << mpegFrames(1) << "CDROM" << 0444 << false << 0444;
    }

    void whichFilesGetATag()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, word);
        QFETCH(int, mode);
        QFETCH(bool, completed);
        QFETCH(int, modeAfter);
        const QString file = writeMp3(m_music, u"a.mp3"_s, bytes);
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), mode_t(mode)), 0);
        load({fileRecord(m_music, u"a"_s, word)});
        QCOMPARE(complete().completed, completed ? 1 : 0);
        QCOMPARE(fileBytes(file).left(bytes.size()), bytes);
        QCOMPARE(QFileInfo(file).size(), bytes.size() + (completed ? 128 : 0));
        QCOMPARE(permissionBits(file), modeAfter);
        QCOMPARE(m_compactions, completed ? 1 : 0);
        // A second pass finds nothing to do and leaves the catalogue alone.
        const QByteArray catalogue = fileDigest(m_temp->path());
        QCOMPARE(complete().completed, 0);
        QCOMPARE(fileDigest(m_temp->path()), catalogue);
    }

    // The files are looked at before any is written; a file behind two records is still given the
    // tag of the first record only, as when each file is looked at just before its own write.
    void oneFileOfTwoRecordsGetsOneTag()
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

    void failedFileIsSkippedAndThePassGoesOn()
    {
        // A file-size limit makes the append to the large file fail, even for root; the catalogue
        // and the small file stay below it.
        const QString large = writeMp3(m_music, u"grande.mp3"_s, mpegFrames(200));
        const QString small = writeMp3(m_music, u"piccolo.mp3"_s, mpegFrames(1));
        const QByteArray largeBytes = fileBytes(large);
        load({fileRecord(m_music, u"grande"_s, u"Nessun TAG ID3"_s),
              fileRecord(m_music, u"piccolo"_s, u"Nessun TAG ID3"_s)});
        QVERIFY(QFileInfo(m_temp->path()).size() < largeBytes.size());
        const auto result = withFileSizeLimit(largeBytes.size(), [this] { return complete(); });
        QCOMPARE(result.completed, 1);
        QCOMPARE(result.failures.size(), 1);
        QVERIFY2(result.failures[0].startsWith(m_music + u"grande.mp3: "_s),
                 qPrintable(result.failures[0]));
        QCOMPARE(fileBytes(large), largeBytes);
        QCOMPARE(QFileInfo(small).size(), 417 + 128);
        QCOMPARE(m_compactions, 1);
    }

    // While a file is missing the start-up changes no file: the untagged, read-only one keeps
    // its bytes and its mode.
    void missingFileStopsTheCompletion()
    {
        const QString file = writeMp3(m_music, u"senza tag.mp3"_s, mpegFrames(1));
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0444), 0);
        load({fileRecord(m_music, u"senza tag"_s), fileRecord(m_music, u"sparito"_s)});
        const StartupCheckResult result = startUp();
        QCOMPARE(result.missing.size(), 1);
        QCOMPARE(result.missing[0].key, m_ids[1]);
        QVERIFY(!result.completion);
        QCOMPARE(QFileInfo(file).size(), 417);
        QCOMPARE(permissionBits(file), 0444);
        QCOMPARE(m_compactions, 0);
    }

    void recordGoneLeavesItsFileAlone()
    {
        const QString file = writeMp3(m_music, u"brano.mp3"_s, mpegFrames(1));
        load({fileRecord(m_music, u"brano"_s, u"Nessun TAG ID3"_s)});
        QCOMPARE(m_store->remove(m_ids[0]), CatalogueStore::WriteResult::Done);
        const CompletionResult result = complete();
        QCOMPARE(result.completed + m_compactions, 0);
        QCOMPARE(result.failures.size(), 1);
        QCOMPARE(QFileInfo(file).size(), 417);
    }
};

QTEST_GUILESS_MAIN(TestTagCompletion)
#include "tst_tagcompletion.moc"
