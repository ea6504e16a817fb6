#include "grid/cataloguemodel.h"
#include "grid/gridsort.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace GridSort;

class TestGridSort : public QObject
{
    Q_OBJECT

private slots:
    void compareCells_data();
    void compareCells();
    void sortMovesWholeRowsAndIsStable();
};

void TestGridSort::compareCells_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("sign");
    QTest::newRow("numbers as numbers") << u"99"_s << u"2001"_s << -1;
    QTest::newRow("leading blanks still a number") << u"  7"_s << u"10"_s << -1;
    QTest::newRow("equal numbers") << u"07"_s << u"7"_s << 0;
    QTest::newRow("negative") << u"-3"_s << u"2"_s << -1;
    QTest::newRow("number against text is text") << u"10"_s << u"9a"_s << -1;
    QTest::newRow("text ignores case") << u"abba"_s << u"ABBA"_s << 0;
    QTest::newRow("text order") << u"beta"_s << u"Alpha"_s << 1;
    QTest::newRow("blank cell is text") << u" "_s << u"1"_s << -1;
    QTest::newRow("size text is text") << u"             2 KB"_s << u"            10 KB"_s << -1;
}

void TestGridSort::compareCells()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, sign);
    const int result = GridSort::compareCells(a, b);
    QCOMPARE((result > 0) - (result < 0), sign);
    const int reverse = GridSort::compareCells(b, a);
    QCOMPARE((reverse > 0) - (reverse < 0), -sign);
}

// Forty rows, three artists in two letter cases, the keys rising in grid order: a stable sort
// keeps the keys rising within each artist. An unstable sort of this many rows does not.
void TestGridSort::sortMovesWholeRowsAndIsStable()
{
    CatalogueModel model;
    const QStringList artists = {"c", "B", "a", "C", "b", "A"};
    for (int i = 0; i < 40; ++i) {
        GridRow row;
        row[Artist] = artists[i % artists.size()];
        row[Key] = QString::number(i);
        model.appendRow(row);
    }
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    GridSort::sortRows(model, Artist);
    QCOMPARE(resets.count(), 1);
    QStringList sorted;
    for (int r = 0; r < model.recordCount(); ++r)
        sorted << model.cell(r, Artist) + model.cell(r, Key);
    QStringList expected;
    for (const char *artist : {"a", "b", "c"}) {
        for (int i = 0; i < 40; ++i) {
            if (artists[i % artists.size()].compare(QLatin1String(artist), Qt::CaseInsensitive) ==
                0)
                expected << artists[i % artists.size()] + QString::number(i);
        }
    }
    QCOMPARE(sorted, expected);
}

QTEST_GUILESS_MAIN(TestGridSort)
#include "tst_gridsort.moc"
