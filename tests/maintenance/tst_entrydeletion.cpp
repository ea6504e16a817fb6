#include "maintenancetest.h"

#include "maintenance/entrydeletion.h"
#include "support/testmp3.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

using namespace MaintenanceTest;
using Confirmation = EntryDeletion::Confirmation;
using FileAction = EntryDeletion::FileAction;
using Outcome = EntryDeletion::Outcome;
using Kind = FakeDialogs::Kind;

class TestEntryDeletion : public QObject, private Scene
{
    Q_OBJECT

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }
    void refusalsOnlyWithTheFileBox_data();
    void refusalsOnlyWithTheFileBox();
    void confirmation_data();
    void confirmation();
    void countersGoDownByState();
    void findsAndDeletesTheFile();
    void fileThatCannotBeDeletedKeepsItsRecord();
    void fileAlreadyGoneDoesNotHoldTheRecordBack();
    void catalogueFailureKeepsFileRowAndCounters();
    void lastRecordLeavesAnEmptyGrid();
    void rowWithoutKeyNeedsNoCatalogue();

private:
    Outcome deleteRow(int row, FileAction fileAction = FileAction::DeleteFile,
                      Confirmation confirmation = Confirmation::Skip)
    {
        return EntryDeletion(*m_store, *m_model, *m_counters, m_dialogs)
            .deleteRow(row, confirmation, fileAction);
    }
};

void TestEntryDeletion::refusalsOnlyWithTheFileBox_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("withFile");
    QTest::addColumn<QString>("refusal"); // empty: the entry is deleted
    QTest::newRow("read-only, with file")
        << u"Solo Lettura"_s << true
        << u"Info|Il File è di Solo Lettura Cambiare gli Attributi per poter Cancellarlo dal "
           "Disco!"_s;
    QTest::newRow("CD, with file")
        << u"CDROM"_s << true << u"Info|Il File è su CDROM non puoi cancellarlo"_s;
    QTest::newRow("removable, with file")
        << u"Disco Rimovibile"_s << true << u"Info|Il File è su un Disco Esterno"_s;
    QTest::newRow("read-only, record only") << u"Solo Lettura"_s << false << u""_s;
    QTest::newRow("lower-case state word is no refusal") << u"cdrom"_s << true << u""_s;
}

void TestEntryDeletion::refusalsOnlyWithTheFileBox()
{
    QFETCH(QString, word);
    QFETCH(bool, withFile);
    QFETCH(QString, refusal);
    const QString file = writeMp3(m_music, u"brano.mp3"_s, mpegFrames(2));
    load({fileRecord(m_music, u"brano"_s, word), fileRecord(m_music, u"altro"_s)});
    const QList<int> before = state();

    const Outcome outcome = deleteRow(0, withFile ? FileAction::DeleteFile : FileAction::KeepFile);
    if (!refusal.isEmpty()) {
        QCOMPARE(outcome, Outcome::Refused);
        QCOMPARE(onlyMessage(Kind::Critical), refusal);
        QCOMPARE(state(), before);
        QVERIFY(QFileInfo::exists(file));
        return;
    }
    QCOMPARE(outcome, Outcome::Deleted);
    QVERIFY(m_dialogs.messages.isEmpty());
    QCOMPARE(m_model->cell(0, FileName), u"altro"_s);
    QCOMPARE(state().mid(0, 2), (QList<int>{1, 1}));
    QVERIFY(!m_store->recordById(m_ids[0]));
    QCOMPARE(QFileInfo::exists(file), !withFile);
}

void TestEntryDeletion::confirmation_data()
{
    QTest::addColumn<bool>("ask");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("asked, No") << true << false << false;
    QTest::newRow("Senza Conferma") << false << false << true;
}

void TestEntryDeletion::confirmation()
{
    QFETCH(bool, ask);
    QFETCH(bool, answer);
    QFETCH(bool, deleted);
    const QString file = writeMp3(m_music, u"brano.mp3"_s, mpegFrames(2));
    load({fileRecord(m_music, u"brano"_s)});
    m_dialogs.answers = {answer};
    const QList<int> before = state();

    QCOMPARE(deleteRow(0, FileAction::DeleteFile, ask ? Confirmation::Ask : Confirmation::Skip),
             deleted ? Outcome::Deleted : Outcome::Declined);
    QCOMPARE(onlyMessage(Kind::Question),
             ask ? u"Cancellazione MP3|Sei sicuro di voler cancellare?"_s : QString());
    QCOMPARE(QFileInfo::exists(file), !deleted);
    QCOMPARE(state(), deleted ? QList<int>(8, 0) : before);
}

void TestEntryDeletion::countersGoDownByState()
{
    QList<CatalogueRecord> records;
    for (const char *other : {"OK", "Nessun TAG ID3", "File Corrotto!", "Solo Lettura", "CDROM"})
        records << fileRecord(m_music, QString::fromLatin1(other), QString::fromLatin1(other));
    records << fileRecord(m_music, u"target"_s, u"Nessun TAG ID3"_s);
    load(records);
    QCOMPARE(state(), (QList<int>{6, 6, 6, 1, 2, 1, 1, 1}));

    QCOMPARE(deleteRow(5, FileAction::KeepFile), Outcome::Deleted);
    QCOMPARE(state(), (QList<int>{5, 5, 5, 1, 1, 1, 1, 1}));
}

// The file is found as every record's file is (another spelling of the extension), and a
// longer name that starts the same is left alone.
void TestEntryDeletion::findsAndDeletesTheFile()
{
    const QString file = writeMp3(m_music, u"Brano.MP3"_s, mpegFrames(2));
    const QString longer = writeMp3(m_music, u"Brano 2.mp3"_s, mpegFrames(1));
    load({fileRecord(m_music, u"Brano"_s)});

    QCOMPARE(deleteRow(0), Outcome::Deleted);
    QVERIFY(m_dialogs.messages.isEmpty());
    QVERIFY(!QFileInfo::exists(file));
    QVERIFY(QFileInfo::exists(longer));
    QCOMPARE(state().mid(0, 2), (QList<int>{0, 0}));
}

void TestEntryDeletion::fileThatCannotBeDeletedKeepsItsRecord()
{
    // Root may delete any file, but no one can delete a folder as a file.
    const QString blocker = makeFolder(m_music, u"brano.mp3"_s);
    load({fileRecord(m_music, u"brano"_s), fileRecord(m_music, u"altro"_s, u"Nessun TAG ID3"_s)});
    const QList<int> before = state();

    QCOMPARE(deleteRow(0), Outcome::Failed);
    QVERIFY2(onlyMessage(Kind::Critical).contains(m_music + u"brano.mp3"_s),
             qPrintable(onlyMessage(Kind::Critical)));
    QCOMPARE(m_model->cell(0, FileName), u"brano"_s);
    QCOMPARE(state(), before);
    QVERIFY(QFileInfo(blocker).isDir());
}

void TestEntryDeletion::fileAlreadyGoneDoesNotHoldTheRecordBack()
{
    load({fileRecord(m_music, u"sparito"_s),
          fileRecord(m_temp->folder() + u"/cartella sparita/"_s, u"anche"_s)});
    QCOMPARE(deleteRow(1), Outcome::Deleted);
    QCOMPARE(deleteRow(0), Outcome::Deleted);
    QVERIFY(m_dialogs.messages.isEmpty());
    QCOMPARE(state(), QList<int>(8, 0));
}

void TestEntryDeletion::catalogueFailureKeepsFileRowAndCounters()
{
    const QString file = writeMp3(m_music, u"brano.mp3"_s, mpegFrames(2));
    load({fileRecord(m_music, u"brano"_s)});
    QVERIFY(execOn(m_temp->path(), u"CREATE TRIGGER keep BEFORE DELETE ON Mp3 "
                                   "BEGIN SELECT RAISE(ABORT, 'record locked'); END"_s));
    const QList<int> before = state();

    QCOMPARE(deleteRow(0), Outcome::Failed);
    QVERIFY2(onlyMessage(Kind::Critical).contains(u"record locked"_s),
             qPrintable(onlyMessage(Kind::Critical)));
    QVERIFY2(QFileInfo::exists(file), "the file is not deleted when its record cannot go");
    QCOMPARE(state(), before);
}

// Regression: no empty row is kept under the header once the last record goes, so nothing is
// counted, checked or "deleted" in its place.
void TestEntryDeletion::lastRecordLeavesAnEmptyGrid()
{
    load({fileRecord(m_music, u"unico"_s)});
    QCOMPARE(deleteRow(0), Outcome::Deleted);
    QCOMPARE(state(), QList<int>(8, 0));

    m_dialogs.answers = {true};
    QCOMPARE(deleteRow(0, FileAction::DeleteFile, Confirmation::Ask), Outcome::NoRow);
    QCOMPARE(deleteRow(-1, FileAction::DeleteFile, Confirmation::Ask), Outcome::NoRow);
    QVERIFY2(m_dialogs.messages.isEmpty(), "no question for a row that is not there");
    QCOMPARE(state(), QList<int>(8, 0));
}

void TestEntryDeletion::rowWithoutKeyNeedsNoCatalogue()
{
    load({fileRecord(m_music, u"brano"_s)});
    GridRow loose;
    loose.fill(QString());
    loose[FileName] = u"sciolto"_s;
    loose[Folder] = m_music;
    loose[State] = u"OK"_s;
    m_model->appendRow(loose);
    m_counters->count(loose[State]);
    const QString file = writeMp3(m_music, u"sciolto.mp3"_s, mpegFrames(1));

    QCOMPARE(deleteRow(1), Outcome::Deleted);
    QVERIFY(!QFileInfo::exists(file));
    QCOMPARE(state(), (QList<int>{1, 1, 1, 1, 0, 0, 0, 0}));
}

QTEST_GUILESS_MAIN(TestEntryDeletion)
#include "tst_entrydeletion.moc"
