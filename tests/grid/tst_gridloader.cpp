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
    void loadsAnEmptyCatalogue();
    void reloadGivesTheSameGrid();
    void countsStatesOfTheLoad();
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
    QTest::newRow("genre as stored") << r << int(Genre) << "Trip  Hop";
    QTest::newRow("file name not trimmed") << r << int(FileName) << "brano ";
    QTest::newRow("size keeps its alignment") << r << int(Size) << "                2 KB";
    QTest::newRow("null label is one blank") << r << int(MediumLabel) << " ";
    QTest::newRow("key as decimal text") << r << int(Key) << "4711";

    CatalogueRecord blanks;
    blanks.titolo = QStringLiteral("     ");
    blanks.album = QStringLiteral("");
    QTest::newRow("all-blank title becomes empty") << blanks << int(Title) << "";
    QTest::newRow("null state is one blank") << blanks << int(State) << " ";
    QTest::newRow("null folder is one blank") << blanks << int(Folder) << " ";
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

void TestGridLoader::loadsEveryRecordInStoredOrder()
{
    TempCatalogue temp;
    const QList<qint64> ids =
        temp.add({sampleRecord(QStringLiteral("c")), sampleRecord(QStringLiteral("a")),
                  sampleRecord(QStringLiteral("b"))});
    CatalogueStore store(temp.path());
    QVERIFY(store.open());
    CatalogueModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    CollectionCounters counters;
    model.setHeader(GridHeader::Kind::Narrow);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QVERIFY(caricaDB(store, model, counters));
    QCOMPARE(resets.count(), 1);
    QCOMPARE(model.recordCount(), 3);
    QCOMPARE(model.cell(0, FileName), QStringLiteral("c"));
    QCOMPARE(model.cell(2, FileName), QStringLiteral("b"));
    QCOMPARE(model.cell(1, Key), QString::number(ids[1]));
    QCOMPARE(model.headerCell(Folder), QStringLiteral("Percoso File") + QString(95, u' '));
}

void TestGridLoader::loadsAnEmptyCatalogue()
{
    TempCatalogue temp;
    CatalogueStore store(temp.path());
    QVERIFY(store.open());
    CatalogueModel model;
    CollectionCounters counters;
    counters.count(QStringLiteral("OK"));
    QVERIFY(caricaDB(store, model, counters));
    QCOMPARE(model.recordCount(), 0);
    QCOMPARE(counters.value(CollectionCounters::Counter::Found), 0);
    QCOMPARE(counters.value(CollectionCounters::Counter::WithTag), 0);
}

void TestGridLoader::reloadGivesTheSameGrid()
{
    TempCatalogue temp;
    temp.add({sampleRecord(QStringLiteral("a")), sampleRecord(QStringLiteral("b"))});
    CatalogueStore store(temp.path());
    QVERIFY(store.open());
    CatalogueModel model;
    CollectionCounters counters;
    QVERIFY(caricaDB(store, model, counters));
    std::vector<GridRow> first;
    for (int r = 0; r < model.recordCount(); ++r)
        first.push_back(model.row(r));
    QVERIFY(caricaDB(store, model, counters));
    QCOMPARE(model.recordCount(), 2);
    for (int r = 0; r < model.recordCount(); ++r)
        QCOMPARE(model.row(r), first[static_cast<size_t>(r)]);
    QCOMPARE(counters.value(CollectionCounters::Counter::Found), 2);
}

void TestGridLoader::countsStatesOfTheLoad()
{
    TempCatalogue temp;
    QList<CatalogueRecord> records;
    // Which counter a state word counts in is CollectionCounters' rule.
    for (const char *state : {"OK", "OK", "Nessun TAG ID3"}) {
        CatalogueRecord r = sampleRecord(QString::fromLatin1(state));
        r.info = QString::fromLatin1(state);
        records << r;
    }
    temp.add(records);
    CatalogueStore store(temp.path());
    QVERIFY(store.open());
    CatalogueModel model;
    CollectionCounters counters;
    QSignalSpy changed(&counters, &CollectionCounters::changed);
    QVERIFY(caricaDB(store, model, counters));
    QCOMPARE(changed.count(), 1);
    using C = CollectionCounters::Counter;
    QCOMPARE(counters.value(C::Found), 3);
    QCOMPARE(counters.value(C::WithTag), 2);
    QCOMPARE(counters.value(C::WithoutTag), 1);
}

QTEST_GUILESS_MAIN(TestGridLoader)
#include "tst_gridloader.moc"
