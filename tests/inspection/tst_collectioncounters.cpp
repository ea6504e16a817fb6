#include "inspection/collectioncounters.h"

#include <QSignalSpy>
#include <QTest>

using Counter = CollectionCounters::Counter;

class TestCollectionCounters : public QObject
{
    Q_OBJECT

private slots:
    // A recount over a whole grid is the grid loader's test; here one state each way, and counts
    // that never go below zero.
    void countsOneState()
    {
        for (const auto &[state, counter] : {std::pair{"CDROM", int(Counter::CdRom)},
                                             {"Disco Rimovibile", -1}, // only "MP3 Presenti:"
                                             {"ok", -1}}) {            // case matters
            CollectionCounters counters;
            QSignalSpy changed(&counters, &CollectionCounters::changed);
            counters.count(QString::fromLatin1(state));
            QCOMPARE(changed.count(), 1);
            for (int c = int(Counter::Found); c <= int(Counter::CdRom); ++c)
                QCOMPARE(counters.value(Counter(c)), c == 0 || c == counter ? 1 : 0);
            counters.uncount(QString::fromLatin1(state));
            counters.uncount(QString::fromLatin1(state));
            for (int c = int(Counter::Found); c <= int(Counter::CdRom); ++c)
                QCOMPARE(counters.value(Counter(c)), 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestCollectionCounters)
#include "tst_collectioncounters.moc"
