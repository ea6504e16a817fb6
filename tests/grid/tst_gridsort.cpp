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
    void columnOfOption_data();
    void columnOfOption();
    void compareCells_data();
    void compareCells();
    void sortRows_data();
    void sortRows();
    void sortMovesWholeRowsAndIsStable();
};

void TestGridSort::columnOfOption_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("column");
    const int expected[] = {Title,    Artist, Album, Year,    Genre,
                            FileName, Folder, State, Comment, MediumLabel};
    for (int i = 0; i < 10; ++i)
        QTest::addRow("option %d", i) << i << expected[i];
    QTest::newRow("none is title") << -1 << int(Title);
}

void TestGridSort::columnOfOption()
{
    QFETCH(int, option);
    QFETCH(int, column);
    QCOMPARE(int(GridSort::columnOfOption(option)), column);
}

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

void TestGridSort::sortRows_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("years with two and four digits")
        << QStringList{"2001", "99", "1985", "5"} << QStringList{"5", "99", "1985", "2001"};
    QTest::newRow("empty grid") << QStringList{} << QStringList{};
}

void TestGridSort::sortRows()
{
    QFETCH(QStringList, cells);
    QFETCH(QStringList, sorted);
    CatalogueModel model;
    for (const QString &cell : cells) {
        GridRow row;
        row[Year] = cell;
        model.appendRow(row);
    }
    GridSort::sortRows(model, Year);
    QStringList result;
    for (int r = 0; r < model.recordCount(); ++r)
        result << model.cell(r, Year);
    QCOMPARE(result, sorted);
}

void TestGridSort::sortMovesWholeRowsAndIsStable()
{
    CatalogueModel model;
    const QStringList artists = {"B", "a", "b", "A", "c"};
    for (int i = 0; i < artists.size(); ++i) {
        GridRow row;
        row[Artist] = artists[i];
        row[Key] = QString::number(i + 1);
        model.appendRow(row);
    }
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    GridSort::sortRows(model, Artist);
    QCOMPARE(resets.count(), 1);
    QStringList keys;
    for (int r = 0; r < model.recordCount(); ++r)
        keys << model.cell(r, Artist) + model.cell(r, Key);
    QCOMPARE(keys, (QStringList{"a2", "A4", "B1", "b3", "c5"}));
}

QTEST_GUILESS_MAIN(TestGridSort)
#include "tst_gridsort.moc"
