#include "maintenancetest.h"

#include "maintenance/entrydeletion.h"

using namespace Qt::StringLiterals;
using namespace MaintenanceTest;
using Confirmation = EntryDeletion::Confirmation;
using FileAction = EntryDeletion::FileAction;
using Outcome = EntryDeletion::Outcome;
using Kind = FakeDialogs::Kind;

// The DEL key on a row with the boxes as a user sets them is a journey; here the refusals, the
// failures and the counters (a deleted row uncounts its own state).
class TestEntryDeletion : public QObject, private Scene
{
    Q_OBJECT

private slots:
    void init() { setUp(); }

    // Row 0, "brano", is deleted or not; row 1, "altro", stays.
    void deleteRow_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("scene"); // "file", "folder" (no file can be deleted), "gone",
                                            // "trigger" (the catalogue refuses), "asked, No"
        QTest::addColumn<bool>("withFile");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("message"); // title|text, or a part of the text of a failure
        QTest::newRow("read-only, with file")
            << u"Solo Lettura"_s << u"file"_s << true << Outcome::Refused
            << u"Info|Il File è di Solo Lettura Cambiare gli Attributi per poter Cancellarlo dal "
               "Disco!"_s;
        QTest::newRow("CD, with file") << u"CDROM"_s << u"file"_s << true << Outcome::Refused
                                       << u"Info|Il File è su CDROM non puoi cancellarlo"_s;
        QTest::newRow("removable, with file")
            << u"Disco Rimovibile"_s << u"file"_s << true << Outcome::Refused
            << u"Info|Il File è su un Disco Esterno"_s;
        QTest::newRow("read-only, record only")
            << u"Solo Lettura"_s << u"file"_s << false << Outcome::Deleted << u""_s;
        QTest::newRow("asked, No") << u"OK"_s << u"asked, No"_s << true << Outcome::Declined
                                   << u"Cancellazione MP3|Sei sicuro di voler cancellare?"_s;
        QTest::newRow("file already gone")
            << u"OK"_s << u"gone"_s << true << Outcome::Deleted << u""_s;
        QTest::newRow("file that cannot be deleted")
            << u"OK"_s << u"folder"_s << true << Outcome::Failed << u"Musica/brano.mp3"_s;
        QTest::newRow("catalogue refuses")
            << u"OK"_s << u"trigger"_s << true << Outcome::Failed << u"record locked"_s;
    }

    void deleteRow()
    {
        QFETCH(QString, word);
        QFETCH(QString, scene);
        QFETCH(bool, withFile);
        QFETCH(Outcome, outcome);
        QFETCH(QString, message);
        const QString file = m_music + u"brano.mp3"_s;
        if (scene == u"folder")
            QVERIFY(QDir().mkdir(file)); // root may delete any file, but not a folder as a file
        else if (scene != u"gone")
            writeMp3(m_music, u"brano.mp3"_s, mpegFrames(2));
        load({fileRecord(m_music, u"brano"_s, word), fileRecord(m_music, u"altro"_s)});
        if (scene == u"trigger")
            QVERIFY(lockRecord("DELETE", m_ids[0]));
        const QList<int> before = state();

        const bool ask = scene == u"asked, No";
        QCOMPARE(EntryDeletion(*m_store, *m_model, *m_counters, m_dialogs)
                     .deleteRow(0, ask ? Confirmation::Ask : Confirmation::Skip,
                                withFile ? FileAction::DeleteFile : FileAction::KeepFile),
                 outcome);
        const bool deleted = outcome == Outcome::Deleted;
        const Kind kind = outcome == Outcome::Declined ? Kind::Question : Kind::Critical;
        QVERIFY2(message.isEmpty() ? m_dialogs.messages.isEmpty()
                                   : onlyMessage(kind).contains(message),
                 qPrintable(onlyMessage(kind)));
        QCOMPARE(state(), (deleted ? QList<int>{1, 1, 1, 1, 0, 0, 0, 0} : before));
        QCOMPARE(m_model->cell(0, FileName), deleted ? u"altro"_s : u"brano"_s);
        QCOMPARE(m_store->recordById(m_ids[0]).isFound(), !deleted);
        // The file goes only with its record, and only when asked to.
        QCOMPARE(QFileInfo::exists(file), scene != u"gone" && !(deleted && withFile));
    }

    // Regression: no empty row is kept under the header once the last record goes, so nothing is
    // counted, asked or "deleted" in its place.
    void lastRecordLeavesAnEmptyGrid()
    {
        load({fileRecord(m_music, u"unico"_s)});
        EntryDeletion deletion(*m_store, *m_model, *m_counters, m_dialogs);
        QCOMPARE(deletion.deleteRow(0, Confirmation::Skip, FileAction::DeleteFile),
                 Outcome::Deleted);
        m_dialogs.answers = {true};
        for (int row : {0, -1})
            QCOMPARE(deletion.deleteRow(row, Confirmation::Ask, FileAction::DeleteFile),
                     Outcome::NoRow);
        QVERIFY(m_dialogs.messages.isEmpty());
        QCOMPARE(state(), QList<int>(8, 0));
    }
};

QTEST_GUILESS_MAIN(TestEntryDeletion)
#include "tst_entrydeletion.moc"
