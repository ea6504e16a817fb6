#include "inspection/collectioncounters.h"

#include <QSignalSpy>
#include <QTest>

using Counter = CollectionCounters::Counter;

class TestCollectionCounters : public QObject
{
    Q_OBJECT

private slots:
    void countsOneState_data();
    void countsOneState();
};

void TestCollectionCounters::countsOneState_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("counter"); // -1: only "MP3 Presenti:"
    // A recount over a whole grid is the grid loader's test.
    QTest::newRow("CD") << "CDROM" << int(Counter::CdRom);
    QTest::newRow("removable counts only as present") << "Disco Rimovibile" << -1;
    QTest::newRow("case matters") << "ok" << -1;
}

void TestCollectionCounters::countsOneState()
{
    QFETCH(QString, state);
    QFETCH(int, counter);
    CollectionCounters counters;
    QSignalSpy changed(&counters, &CollectionCounters::changed);
    counters.count(state);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(counters.value(Counter::Found), 1);
    for (int c = int(Counter::WithTag); c <= int(Counter::CdRom); ++c)
        QCOMPARE(counters.value(Counter(c)), c == counter ? 1 : 0);
    // Uncounted twice: never below zero.
    counters.uncount(state);
    counters.uncount(state);
    for (int c = int(Counter::Found); c <= int(Counter::CdRom); ++c)
        QCOMPARE(counters.value(Counter(c)), 0);
}

QTEST_GUILESS_MAIN(TestCollectionCounters)
#include "tst_collectioncounters.moc"
