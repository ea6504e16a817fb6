#include "maintenancetest.h"

#include "maintenance/entrydeletion.h"
#include "support/testmp3.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

using namespace MaintenanceTest;
using Confirmation = EntryDeletion::Confirmation;
using FileAction = EntryDeletion::FileAction;
using Outcome = EntryDeletion::Outcome;
using Counter = CollectionCounters::Counter;

namespace {

constexpr Counter kAllCounters[] = {Counter::Found,   Counter::WithTag,  Counter::WithoutTag,
                                    Counter::Corrupt, Counter::ReadOnly, Counter::CdRom};

} // namespace

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
    void recordDeletedMeanwhileStillTakesTheRow();
    void lastRecordLeavesAnEmptyGrid();
    void rowWithoutKeyNeedsNoCatalogue();
    void outsideTheGridNothingHappens();

private:
    Outcome deleteRow(int row, Confirmation confirmation, FileAction fileAction);
    QList<int> counterValues() const;
    int recordCount();
};

Outcome TestEntryDeletion::deleteRow(int row, Confirmation confirmation, FileAction fileAction)
{
    EntryDeletion deletion(*m_store, *m_model, *m_counters, m_dialogs);
    return deletion.deleteRow(row, confirmation, fileAction);
}

QList<int> TestEntryDeletion::counterValues() const
{
    QList<int> values;
    for (Counter counter : kAllCounters)
        values << m_counters->value(counter);
    return values;
}

int TestEntryDeletion::recordCount()
{
    const auto records = m_store->allRecords();
    return records ? static_cast<int>(records->size()) : -1;
}

void TestEntryDeletion::refusalsOnlyWithTheFileBox_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("withFile");
    QTest::addColumn<QString>("refusal"); // empty: the entry is deleted
    const QString readOnly =
        QStringLiteral("Il File è di Solo Lettura Cambiare gli Attributi per poter Cancellarlo "
                       "dal Disco!");
    const QString cd = QStringLiteral("Il File è su CDROM non puoi cancellarlo");
    const QString removable = QStringLiteral("Il File è su un Disco Esterno");
    QTest::newRow("read-only, with file") << u"Solo Lettura"_s << true << readOnly;
    QTest::newRow("CD, with file") << u"CDROM"_s << true << cd;
    QTest::newRow("removable, with file") << u"Disco Rimovibile"_s << true << removable;
    QTest::newRow("read-only, record only") << u"Solo Lettura"_s << false << u""_s;
    QTest::newRow("OK, with file") << u"OK"_s << true << u""_s;
    QTest::newRow("lower-case state word is no refusal") << u"cdrom"_s << true << u""_s;
}

void TestEntryDeletion::refusalsOnlyWithTheFileBox()
{
    QFETCH(QString, state);
    QFETCH(bool, withFile);
    QFETCH(QString, refusal);
    const QString file = writeMp3(m_music, QStringLiteral("brano.mp3"), mpegFrames(2));
    load({fileRecord(m_music, QStringLiteral("brano"), state),
          fileRecord(m_music, QStringLiteral("altro"))});
    const QList<int> before = counterValues();

    const Outcome outcome =
        deleteRow(0, Confirmation::Skip, withFile ? FileAction::DeleteFile : FileAction::KeepFile);
    if (!refusal.isEmpty()) {
        QCOMPARE(outcome, Outcome::Refused);
        QCOMPARE(m_dialogs.messages.size(), 1);
        QCOMPARE(m_dialogs.messages[0].kind, FakeDialogs::Kind::Critical);
        QCOMPARE(m_dialogs.messages[0].title, QStringLiteral("Info"));
        QCOMPARE(m_dialogs.messages[0].text, refusal);
        QCOMPARE(m_model->recordCount(), 2);
        QCOMPARE(recordCount(), 2);
        QCOMPARE(counterValues(), before);
        QVERIFY(QFileInfo::exists(file));
        return;
    }
    QCOMPARE(outcome, Outcome::Deleted);
    QVERIFY(m_dialogs.messages.isEmpty());
    QCOMPARE(m_model->recordCount(), 1);
    QCOMPARE(m_model->cell(0, FileName), QStringLiteral("altro"));
    QCOMPARE(recordCount(), 1);
    QVERIFY(!m_store->recordById(m_ids[0]));
    QCOMPARE(QFileInfo::exists(file), !withFile);
}

void TestEntryDeletion::confirmation_data()
{
    QTest::addColumn<bool>("ask");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("asked, Yes") << true << true << true;
    QTest::newRow("asked, No") << true << false << false;
    QTest::newRow("Senza Conferma") << false << false << true;
}

void TestEntryDeletion::confirmation()
{
    QFETCH(bool, ask);
    QFETCH(bool, answer);
    QFETCH(bool, deleted);
    const QString file = writeMp3(m_music, QStringLiteral("brano.mp3"), mpegFrames(2));
    load({fileRecord(m_music, QStringLiteral("brano"))});
    m_dialogs.answers = {answer};
    const QList<int> before = counterValues();

    const Outcome outcome =
        deleteRow(0, ask ? Confirmation::Ask : Confirmation::Skip, FileAction::DeleteFile);
    QCOMPARE(outcome, deleted ? Outcome::Deleted : Outcome::Declined);
    if (ask) {
        QCOMPARE(m_dialogs.messages.size(), 1);
        QCOMPARE(m_dialogs.messages[0].kind, FakeDialogs::Kind::Question);
        QCOMPARE(m_dialogs.messages[0].title, QStringLiteral("Cancellazione MP3"));
        QCOMPARE(m_dialogs.messages[0].text, QStringLiteral("Sei sicuro di voler cancellare?"));
    } else {
        QVERIFY(m_dialogs.messages.isEmpty());
    }
    QCOMPARE(m_model->recordCount(), deleted ? 0 : 1);
    QCOMPARE(recordCount(), deleted ? 0 : 1);
    QCOMPARE(QFileInfo::exists(file), !deleted);
    if (!deleted)
        QCOMPARE(counterValues(), before);
}

void TestEntryDeletion::countersGoDownByState()
{
    const QString state = QStringLiteral("Nessun TAG ID3");
    const int lowered = 2; // index into kAllCounters besides "MP3 Presenti:"
    QList<CatalogueRecord> records;
    for (const char *other : {"OK", "Nessun TAG ID3", "File Corrotto!", "Solo Lettura", "CDROM"})
        records << fileRecord(m_music, QString::fromLatin1(other), QString::fromLatin1(other));
    records << fileRecord(m_music, QStringLiteral("target"), state);
    load(records);
    QList<int> expected = counterValues();
    expected[0] -= 1;
    expected[lowered] -= 1;

    QCOMPARE(deleteRow(5, Confirmation::Skip, FileAction::KeepFile), Outcome::Deleted);
    QCOMPARE(counterValues(), expected);
}

void TestEntryDeletion::findsAndDeletesTheFile()
{
    const QString file = writeMp3(m_music, QStringLiteral("Brano.MP3"), mpegFrames(2));
    const QString longer = writeMp3(m_music, QStringLiteral("Brano 2.mp3"), mpegFrames(1));
    load({fileRecord(m_music, QStringLiteral("Brano"))});

    QCOMPARE(deleteRow(0, Confirmation::Skip, FileAction::DeleteFile), Outcome::Deleted);
    QVERIFY(m_dialogs.messages.isEmpty());
    QVERIFY(!QFileInfo::exists(file));
    QVERIFY(QFileInfo::exists(longer));
    QVERIFY(QFileInfo::exists(m_temp->path()));
    QCOMPARE(recordCount(), 0);
}

void TestEntryDeletion::fileThatCannotBeDeletedKeepsItsRecord()
{
    // Root may delete any file, but no one can delete a folder as a file.
    const QString blocker = makeFolder(m_music, QStringLiteral("brano.mp3"));
    load({fileRecord(m_music, QStringLiteral("brano")),
          fileRecord(m_music, QStringLiteral("altro"), QStringLiteral("Nessun TAG ID3"))});
    const QList<int> before = counterValues();

    QCOMPARE(deleteRow(0, Confirmation::Skip, FileAction::DeleteFile), Outcome::Failed);
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(m_dialogs.messages[0].kind, FakeDialogs::Kind::Critical);
    QVERIFY2(m_dialogs.messages[0].text.contains(m_music + QStringLiteral("brano.mp3")),
             qPrintable(m_dialogs.messages[0].text));
    QCOMPARE(m_model->recordCount(), 2);
    QCOMPARE(m_model->cell(0, FileName), QStringLiteral("brano"));
    QCOMPARE(recordCount(), 2);
    QCOMPARE(counterValues(), before);
    QVERIFY(QFileInfo(blocker).isDir());
}

void TestEntryDeletion::fileAlreadyGoneDoesNotHoldTheRecordBack()
{
    load({fileRecord(m_music, QStringLiteral("sparito")),
          fileRecord(m_temp->folder() + QStringLiteral("/cartella sparita/"),
                     QStringLiteral("anche"))});
    QCOMPARE(deleteRow(1, Confirmation::Skip, FileAction::DeleteFile), Outcome::Deleted);
    QCOMPARE(deleteRow(0, Confirmation::Skip, FileAction::DeleteFile), Outcome::Deleted);
    QVERIFY(m_dialogs.messages.isEmpty());
    QCOMPARE(recordCount(), 0);
    QCOMPARE(m_model->recordCount(), 0);
    QCOMPARE(m_counters->value(Counter::Found), 0);
}

void TestEntryDeletion::catalogueFailureKeepsFileRowAndCounters()
{
    const QString file = writeMp3(m_music, QStringLiteral("brano.mp3"), mpegFrames(2));
    load({fileRecord(m_music, QStringLiteral("brano"))});
    QVERIFY(
        execOn(m_temp->path(), QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON Mp3 "
                                              "BEGIN SELECT RAISE(ABORT, 'record locked'); END")));
    const QList<int> before = counterValues();

    QCOMPARE(deleteRow(0, Confirmation::Skip, FileAction::DeleteFile), Outcome::Failed);
    QCOMPARE(m_dialogs.messages.size(), 1);
    QVERIFY2(m_dialogs.messages[0].text.contains(QStringLiteral("record locked")),
             qPrintable(m_dialogs.messages[0].text));
    QVERIFY2(QFileInfo::exists(file), "the file is not deleted when its record cannot go");
    QCOMPARE(m_model->recordCount(), 1);
    QCOMPARE(counterValues(), before);
    QCOMPARE(recordCount(), 1);
}

void TestEntryDeletion::recordDeletedMeanwhileStillTakesTheRow()
{
    load({fileRecord(m_music, QStringLiteral("brano"))});
    QCOMPARE(m_store->remove(m_ids[0]), CatalogueStore::WriteResult::Done);
    QCOMPARE(deleteRow(0, Confirmation::Skip, FileAction::KeepFile), Outcome::Deleted);
    QCOMPARE(m_model->recordCount(), 0);
    QVERIFY(m_dialogs.messages.isEmpty());
}

// Regression: no empty row is kept under the header once the last record goes, so nothing is
// counted, checked or "deleted" in its place.
void TestEntryDeletion::lastRecordLeavesAnEmptyGrid()
{
    load({fileRecord(m_music, QStringLiteral("unico"))});
    QCOMPARE(deleteRow(0, Confirmation::Skip, FileAction::DeleteFile), Outcome::Deleted);
    QCOMPARE(m_model->recordCount(), 0);
    QCOMPARE(counterValues(), (QList<int>{0, 0, 0, 0, 0, 0}));

    m_dialogs.answers = {true};
    QCOMPARE(deleteRow(0, Confirmation::Ask, FileAction::DeleteFile), Outcome::NoRow);
    QVERIFY2(m_dialogs.messages.isEmpty(), "no question for a row that is not there");
    QCOMPARE(counterValues(), (QList<int>{0, 0, 0, 0, 0, 0}));
}

void TestEntryDeletion::rowWithoutKeyNeedsNoCatalogue()
{
    load({fileRecord(m_music, QStringLiteral("brano"))});
    GridRow loose;
    loose.fill(QString());
    loose[FileName] = QStringLiteral("sciolto");
    loose[Folder] = m_music;
    loose[State] = QStringLiteral("OK");
    m_model->appendRow(loose);
    m_counters->count(loose[State]);
    const QString file = writeMp3(m_music, QStringLiteral("sciolto.mp3"), mpegFrames(1));

    QCOMPARE(deleteRow(1, Confirmation::Skip, FileAction::DeleteFile), Outcome::Deleted);
    QCOMPARE(m_model->recordCount(), 1);
    QCOMPARE(recordCount(), 1);
    QVERIFY(!QFileInfo::exists(file));
    QCOMPARE(m_counters->value(Counter::Found), 1);
    QCOMPARE(m_counters->value(Counter::WithTag), 1);
}

void TestEntryDeletion::outsideTheGridNothingHappens()
{
    load({fileRecord(m_music, QStringLiteral("a")), fileRecord(m_music, QStringLiteral("b"))});
    m_dialogs.answers = {true, true};
    QCOMPARE(deleteRow(-1, Confirmation::Ask, FileAction::KeepFile), Outcome::NoRow);
    QCOMPARE(deleteRow(2, Confirmation::Ask, FileAction::KeepFile), Outcome::NoRow);
    QVERIFY(m_dialogs.messages.isEmpty());
    QCOMPARE(m_model->recordCount(), 2);
    QCOMPARE(recordCount(), 2);
}

QTEST_GUILESS_MAIN(TestEntryDeletion)
#include "tst_entrydeletion.moc"
