#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/gridloader.h"
#include "inspection/collectioncounters.h"
#include "support/tempcatalogue.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestGridLoader : public QObject
{
    Q_OBJECT

private slots:
    // Records in stored order, each shown as the grid shows it, the narrow header widened
    // again, the counters counted once.
    void loadsEveryRecordInStoredOrder()
    {
        TempCatalogue temp;
        QList<CatalogueRecord> records;
        for (const char *state : {"OK", "OK", "Nessun TAG ID3"}) {
            records << sampleRecord(QString::fromLatin1(state).left(3));
            records.last().info = QString::fromLatin1(state);
        }
        // Texts lose their trailing blanks only, a NULL shows as one blank, the file name and
        // the size are shown as stored.
        CatalogueRecord &shown = records.first();
        shown.titolo = u"     "_s;
        shown.autore = u"  Leading blanks stay  "_s;
        shown.commento = QString();
        shown.nome = u"brano "_s;
        shown.dimenzione = u"                2 KB"_s;
        const QList<qint64> ids = temp.add(records);
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        CatalogueModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        CollectionCounters counters;
        model.setHeader(GridHeader::Kind::Narrow);
        QSignalSpy changed(&counters, &CollectionCounters::changed);
        QVERIFY(caricaDB(store, model, counters));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(model.headerCell(Folder), QStringLiteral("Percoso File") + QString(95, u' '));
        for (int r = 0; r < model.recordCount(); ++r)
            QCOMPARE(model.key(r), ids[r]);
        QCOMPARE(model.cell(0, Title), QString());
        QCOMPARE(model.cell(0, Artist), u"  Leading blanks stay"_s);
        QCOMPARE(model.cell(0, Comment), u" "_s);
        QCOMPARE(model.cell(0, FileName), shown.nome);
        QCOMPARE(model.cell(0, Size), shown.dimenzione);
        for (int r = 0; r < model.recordCount(); ++r)
            QCOMPARE(model.record(r), *store.recordById(ids[r]));
        QCOMPARE(counters.value(CollectionCounters::Counter::WithoutTag), 1);
        // A reload replaces the rows.
        QVERIFY(store.remove(ids[0]) == CatalogueStore::WriteResult::Done);
        QVERIFY(caricaDB(store, model, counters));
        QCOMPARE(model.recordCount(), 2);
        QCOMPARE(counters.value(CollectionCounters::Counter::WithTag), 1);
    }

    // The rows keep texts that many records share (folder, state, label, medium) once: a value
    // that comes back after a different one (A, B, A) must read back as itself, in every column.
    void sharedTextsRepeatAfterADifferentValue()
    {
        TempCatalogue temp;
        QList<CatalogueRecord> records;
        const QStringList values{u"A"_s, u"B"_s, u"A"_s, u"A"_s, u"Cè"_s, u"B"_s, u""_s, u"A"_s};
        for (qsizetype i = 0; i < values.size(); ++i) {
            CatalogueRecord r = sampleRecord(u"r%1"_s.arg(i));
            r.percorso = u"/music/"_s + values[i] + u'/';
            r.info = values[i];
            r.labelD = values[i];
            r.genere = values[i];
            r.album = values[i];
            r.dimenzione = values[i];
            records << r;
        }
        const QList<qint64> ids = temp.add(records);
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        CatalogueModel model;
        CollectionCounters counters;
        QVERIFY(caricaDB(store, model, counters));
        QCOMPARE(model.recordCount(), values.size());
        for (int r = 0; r < model.recordCount(); ++r) {
            QCOMPARE(model.record(r), *store.recordById(ids[r]));
            QCOMPARE(model.cell(r, MediumLabel), values[r]);
            QCOMPARE(model.cell(r, Folder), u"/music/"_s + values[r] + u'/');
        }
    }

    // After an import the added records are shown from the rows taken as they were written, the
    // older ones read: the grid and the counters are those of a whole reload. A record rewritten
    // after it was added (a file listed twice) makes the whole catalogue read again.
    void addedRowsShowWhatAReloadShows_data()
    {
        QTest::addColumn<int>("older");
        QTest::addColumn<bool>("rewritten");
        QTest::newRow("into an empty catalogue") << 0 << false;
        QTest::newRow("after older records") << 2 << false;
        QTest::newRow("an added record rewritten: read whole") << 2 << true;
    }

    void addedRowsShowWhatAReloadShows()
    {
        QFETCH(int, older);
        QFETCH(bool, rewritten);
        TempCatalogue temp;
        CatalogueRecord old = sampleRecord(u"vecchio"_s);
        old.genere = u"Jazz"_s;
        old.percorso = u"/vecchi/"_s;
        old.labelD = u"VECCHIO"_s;
        temp.add(QList<CatalogueRecord>(older, old));
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        AddedRows added;
        const auto take = [&added](const RecordView &record) {
            added.take(record);
        };
        CatalogueRecord odd = sampleRecord(u"nuovo"_s);
        odd.titolo = u"Città  "_s;
        odd.commento = QString();
        odd.info = u"Nessun TAG ID3"_s;
        const std::optional<qint64> key = store.add(odd, take);
        QVERIFY(key && store.add(sampleRecord(u"altro"_s), take));
        if (rewritten) {
            odd.id = *key;
            odd.titolo = u"Riscritto"_s;
            QVERIFY(store.updateWithMedium(odd) == CatalogueStore::WriteResult::Done);
        }
        CatalogueModel model;
        CollectionCounters counters;
        QVERIFY(
            added.caricaDB(store, model, counters,
                           rewritten ? AddedRows::Import::Other : AddedRows::Import::OnlyAdded));
        CatalogueModel whole;
        CollectionCounters wholeCounters;
        QVERIFY(caricaDB(store, whole, wholeCounters));
        QCOMPARE(model.recordCount(), older + 2);
        for (int r = 0; r < whole.recordCount(); ++r)
            QCOMPARE(model.row(r), whole.row(r));
        QCOMPARE(model.headerCell(Folder), whole.headerCell(Folder));
        QCOMPARE(counters.value(CollectionCounters::Counter::WithoutTag),
                 wholeCounters.value(CollectionCounters::Counter::WithoutTag));
    }
};

QTEST_GUILESS_MAIN(TestGridLoader)
#include "tst_gridloader.moc"
