#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/gridloader.h"
#include "inspection/collectioncounters.h"
#include "support/tempcatalogue.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(CatalogueRecord)

class TestGridLoader : public QObject
{
    Q_OBJECT

private slots:
    void rowOfRecord_data()
    {
        QTest::addColumn<CatalogueRecord>("record");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("expected");

        CatalogueRecord r = sampleRecord(QStringLiteral("s"));
        r.titolo = QStringLiteral("Thirty characters ending in   ");
        r.autore = QStringLiteral("  Leading blanks stay  ");
        r.commento = QString();
        r.nome = QStringLiteral("brano ");
        r.dimenzione = QStringLiteral("                2 KB");
        QTest::newRow("title without trailing blanks")
            << r << int(Title) << "Thirty characters ending in";
        QTest::newRow("artist keeps leading blanks") << r << int(Artist) << "  Leading blanks stay";
        QTest::newRow("null comment is one blank") << r << int(Comment) << " ";
        QTest::newRow("file name not trimmed") << r << int(FileName) << "brano ";
        QTest::newRow("size keeps its alignment") << r << int(Size) << "                2 KB";

        CatalogueRecord blanks;
        blanks.titolo = QStringLiteral("     ");
        QTest::newRow("all-blank title becomes empty") << blanks << int(Title) << "";
    }

    void rowOfRecord()
    {
        QFETCH(CatalogueRecord, record);
        QFETCH(int, column);
        QFETCH(QString, expected);
        QCOMPARE(MettiDati(record)[static_cast<size_t>(column)], expected);
        // The grid loaded from the catalogue file shows the same text.
        TempCatalogue temp;
        temp.add({record});
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        CatalogueModel model;
        CollectionCounters counters;
        QVERIFY(caricaDB(store, model, counters));
        QCOMPARE(model.cell(0, Column(column)), expected);
    }

    void loadsEveryRecordInStoredOrder()
    {
        TempCatalogue temp;
        QList<CatalogueRecord> records;
        for (const char *state : {"OK", "OK", "Nessun TAG ID3"}) {
            records << sampleRecord(QString::fromLatin1(state).left(3));
            records.last().info = QString::fromLatin1(state);
        }
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
        QCOMPARE(counters.value(CollectionCounters::Counter::WithoutTag), 1);
        // A reload replaces the rows.
        QVERIFY(store.remove(ids[0]) == CatalogueStore::WriteResult::Done);
        QVERIFY(caricaDB(store, model, counters));
        QCOMPARE(model.recordCount(), 2);
        QCOMPARE(counters.value(CollectionCounters::Counter::WithTag), 1);
    }
};

// Records in stored order, the narrow header widened again, the counters counted once.

QTEST_GUILESS_MAIN(TestGridLoader)
#include "tst_gridloader.moc"
