#include "maintenancetest.h"

#include "maintenance/startupcheck.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace MaintenanceTest;

class TestMissingFileCheck : public QObject, private Scene
{
    Q_OBJECT

    // The missing files as the start-up finds them in the grid as it is.
    QList<MissingFileCheck::MissingEntry> findMissing()
    {
        return checkFilesAtStartup(*m_store, *m_model, m_dialogs, busy(),
                                   lookAtRows(*m_model, LookFor::Both))
            .missing;
    }

private slots:
    void init() { setUp(); }

    // Which names are the record's file is findRecordFile's rule; here what counts as there, by
    // itself and in the start-up's look, which also gives the file it finds a tag.
    void isMissing_data()
    {
        QTest::addColumn<QString>("scene"); // what lies at Musica/brano.mp3
        QTest::addColumn<QString>("audio"); // a file of audio beside it, to be given a tag
        QTest::addColumn<bool>("missing");
        QTest::newRow("file") << u""_s << u"brano.mp3"_s << false;
        QTest::newRow("file in capitals") << u""_s << u"brano.MP3"_s << false;
        QTest::newRow("file with another spelling") << u""_s << u"brano.Mp3"_s << false;
        QTest::newRow("folder of that name, file in capitals")
            << u"dir"_s << u"brano.MP3"_s << false;
        QTest::newRow("file without any permission") << u"locked"_s << u""_s << false;
        QTest::newRow("folder of that name") << u"dir"_s << u""_s << false;
        QTest::newRow("link loop") << u"loop"_s << u""_s << false;
        QTest::newRow("file gone") << u""_s << u""_s << true;
        QTest::newRow("a file where the folder should be") << u"filefolder"_s << u""_s << true;
    }

    void isMissing()
    {
        QFETCH(QString, scene);
        QFETCH(QString, audio);
        QFETCH(bool, missing);
        const QByteArray path = QFile::encodeName(m_music + u"brano.mp3"_s);
        if (scene == u"locked")
            QCOMPARE(
                ::chmod(QFile::encodeName(writeMp3(m_music, u"brano.mp3"_s, "x")).constData(), 0),
                0);
        else if (scene == u"dir")
            QVERIFY(QDir().mkdir(m_music + u"brano.mp3"_s));
        else if (scene == u"loop")
            QCOMPARE(::symlink(path.constData(), path.constData()), 0);
        if (scene == u"filefolder")
            writeMp3(m_music, u"Album"_s, "x");
        if (!audio.isEmpty())
            writeMp3(m_music, audio, mpegFrames(1));
        const QString folder = m_music + (scene == u"filefolder" ? u"Album/"_s : QString());
        QCOMPARE(MissingFileCheck::isMissing(folder, u"brano"_s), missing);
        load({fileRecord(folder, u"brano"_s)});
        QCOMPARE(findMissing().size(), missing ? 1 : 0);
        if (!audio.isEmpty())
            QCOMPARE(QFileInfo(m_music + audio).size(), 417 + 128);
    }

    // Files on CDs and removable disks are not looked for.
    void findMissingListsInGridOrder()
    {
        writeMp3(m_music, u"presente.mp3"_s, mpegFrames(1));
        const QString goneFolder = m_temp->folder() + u"/Spostati/"_s;
        load({fileRecord(m_music, u"presente"_s), fileRecord(m_music, u"sparito"_s),
              fileRecord(m_music, u"sul cd"_s, u"CDROM"_s),
              fileRecord(m_music, u"su usb"_s, u"Disco Rimovibile"_s),
              fileRecord(goneFolder, u"spostato"_s, u"Solo Lettura"_s)});
        QStringList listed;
        for (const MissingFileCheck::MissingEntry &entry : findMissing())
            listed << entry.text();
        QCOMPARE(listed, (QStringList{m_music + u"sparito.mp3(***%1***)"_s.arg(m_ids[1]),
                                      goneFolder + u"spostato.mp3(***%1***)"_s.arg(m_ids[4])}));
    }

    // The files of a large grid are looked at in parts on several threads while it loads; the
    // answers still belong to their rows.
    void manyRowsKeepTheirAnswers()
    {
        QList<CatalogueRecord> records;
        QStringList gone;
        for (int i = 0; i < 600; ++i) {
            const QString name = QString::number(i);
            if (i % 7 == 3)
                gone << m_music + name + u".mp3"_s;
            else
                writeMp3(m_music, name + u".mp3"_s, "x");
            records << fileRecord(m_music, name);
        }
        load(records);
        StartupLoad load = loadLookingAtFiles(*m_store, *m_model, *m_counters);
        QVERIFY(load.loaded);
        QStringList listed;
        for (const MissingFileCheck::MissingEntry &entry :
             MissingFileCheck::missingEntries(*m_model, load.looks))
            listed << entry.fullName;
        QCOMPARE(listed, gone);
    }

    void failedDeletionIsListedAndTheOthersGoOn_data()
    {
        QTest::addColumn<QString>("scene");
        QTest::addColumn<QString>("reasonPart");
        QTest::newRow("catalogue refuses one") << u"trigger"_s << u"record locked"_s;
        QTest::newRow("record already gone") << u"gone"_s << u"non è più nel catalogo"_s;
        QTest::newRow("record now of another file") << u"other"_s << u"non è più il file"_s;
    }

    void failedDeletionIsListedAndTheOthersGoOn()
    {
        QFETCH(QString, scene);
        QFETCH(QString, reasonPart);
        load({fileRecord(m_music, u"uno"_s), fileRecord(m_music, u"due"_s),
              fileRecord(m_music, u"tre"_s)});
        QList<MissingFileCheck::MissingEntry> entries = findMissing();
        QCOMPARE(entries.size(), 3);
        if (scene == u"trigger")
            QVERIFY(lockRecord("DELETE", m_ids[1]));
        else if (scene == u"gone")
            QCOMPARE(m_store->remove(m_ids[1]), CatalogueStore::WriteResult::Done);
        else
            entries[1].fullName = m_music + u"altro.mp3"_s;
        const MissingFileCheck::PurgeResult result =
            MissingFileCheck::deleteEntries(*m_store, entries);
        QCOMPARE(result.deleted, 2);
        QCOMPARE(result.failures.size(), 1);
        QVERIFY2(result.failures[0].startsWith(entries[1].text()) &&
                     result.failures[0].contains(reasonPart),
                 qPrintable(result.failures[0]));
        QCOMPARE(storedRecords(*m_store)->size(), scene == u"gone" ? 0 : 1);
    }

    // Regression: the key was once read back from the entry's text, and a file name holding the
    // key marks gave the key of another record (here 12 for key 2).
    void nameHoldingTheMarksNeverDeletesAnotherRecord()
    {
        QList<CatalogueRecord> records;
        for (int i = 1; i <= 12; ++i) {
            const QString name = i == 2 ? u"strano(***1***)"_s : QString::number(i);
            if (i != 2)
                writeMp3(m_music, name + u".mp3"_s, mpegFrames(1));
            records << fileRecord(m_music, name);
        }
        load(records);
        QCOMPARE(m_ids[11], 12);
        const QList<MissingFileCheck::MissingEntry> entries = findMissing();
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries[0].text(), m_music + u"strano(***1***).mp3(***2***)"_s);
        QCOMPARE(MissingFileCheck::deleteEntries(*m_store, entries).deleted, 1);
        QVERIFY(m_store->recordById(2).isNotFound());
        QCOMPARE(storedRecords(*m_store)->size(), 11);
    }
};

QTEST_GUILESS_MAIN(TestMissingFileCheck)
#include "tst_missingfilecheck.moc"
