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
    void rowOfRecord_data();
    void rowOfRecord();
    void loadsEveryRecordInStoredOrder();
};

void TestGridLoader::rowOfRecord_data()
{
    QTest::addColumn<CatalogueRecord>("record");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("expected");

    CatalogueRecord r = sampleRecord(QStringLiteral("s"));
    r.id = 4711;
    r.titolo = QStringLiteral("Thirty characters ending in   ");
    r.autore = QStringLiteral("  Leading blanks stay  ");
    r.anno = QStringLiteral("99  ");
    r.commento = QString();
    r.genere = QStringLiteral("Trip  Hop");
    r.nome = QStringLiteral("brano ");
    r.dimenzione = QStringLiteral("                2 KB");
    r.labelD = QString();
    QTest::newRow("title without trailing blanks")
        << r << int(Title) << "Thirty characters ending in";
    QTest::newRow("artist keeps leading blanks") << r << int(Artist) << "  Leading blanks stay";
    QTest::newRow("year trimmed") << r << int(Year) << "99";
    QTest::newRow("null comment is one blank") << r << int(Comment) << " ";
    QTest::newRow("file name not trimmed") << r << int(FileName) << "brano ";
    QTest::newRow("size keeps its alignment") << r << int(Size) << "                2 KB";
    QTest::newRow("null label is one blank") << r << int(MediumLabel) << " ";
    QTest::newRow("key as decimal text") << r << int(Key) << "4711";

    CatalogueRecord blanks;
    blanks.titolo = QStringLiteral("     ");
    blanks.album = QStringLiteral("");
    QTest::newRow("all-blank title becomes empty") << blanks << int(Title) << "";
    QTest::newRow("null state is one blank") << blanks << int(State) << " ";
}

void TestGridLoader::rowOfRecord()
{
    QFETCH(CatalogueRecord, record);
    QFETCH(int, column);
    QFETCH(QString, expected);
    QCOMPARE(MettiDati(record)[static_cast<size_t>(column)], expected);
    // The grid loaded from the catalogue file shows the same text.
    TempCatalogue temp;
    const qint64 id = temp.add({record}).constFirst();
    CatalogueStore store(temp.path());
    QVERIFY(store.open());
    CatalogueModel model;
    CollectionCounters counters;
    QVERIFY(caricaDB(store, model, counters));
    QCOMPARE(model.cell(0, Column(column)), column == Key ? QString::number(id) : expected);
}

// Records in stored order, the narrow header widened again, the counters counted once; a
// reload gives the same grid.
void TestGridLoader::loadsEveryRecordInStoredOrder()
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
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    CollectionCounters counters;
    model.setHeader(GridHeader::Kind::Narrow);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changed(&counters, &CollectionCounters::changed);
    QVERIFY(caricaDB(store, model, counters));
    QCOMPARE(resets.count(), 1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(model.headerCell(Folder), QStringLiteral("Percoso File") + QString(95, u' '));
    std::vector<GridRow> first;
    for (int r = 0; r < model.recordCount(); ++r) {
        QCOMPARE(model.key(r), ids[r]);
        first.push_back(model.row(r));
    }
    using C = CollectionCounters::Counter;
    QCOMPARE(counters.value(C::WithTag), 2);
    QCOMPARE(counters.value(C::WithoutTag), 1);

    QVERIFY(caricaDB(store, model, counters));
    for (int r = 0; r < model.recordCount(); ++r)
        QCOMPARE(model.row(r), first[static_cast<size_t>(r)]);
    QCOMPARE(counters.value(C::Found), 3);

    QVERIFY(store.remove(ids[0]) == CatalogueStore::WriteResult::Done);
    QVERIFY(store.remove(ids[1]) == CatalogueStore::WriteResult::Done);
    QVERIFY(store.remove(ids[2]) == CatalogueStore::WriteResult::Done);
    QVERIFY(caricaDB(store, model, counters));
    QCOMPARE(model.recordCount(), 0);
    QCOMPARE(counters.value(C::WithTag), 0);
}

QTEST_GUILESS_MAIN(TestGridLoader)
#include "tst_gridloader.moc"
