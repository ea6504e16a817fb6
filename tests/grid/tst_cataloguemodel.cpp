#include "grid/cataloguemodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

GridRow rowOf(const QString &stem)
{
    GridRow row;
    for (int c = 0; c < kColumnCount; ++c)
        row[static_cast<size_t>(c)] = stem + QString::number(c);
    // A key is a number: the code of the stem's first letter.
    row[Key] = QString::number(stem.at(0).unicode());
    return row;
}

} // namespace

class TestCatalogueModel : public QObject
{
    Q_OBJECT

private slots:
    void rowsThroughTheTester()
    {
        CatalogueModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setRows({rowOf(u"a"_s), rowOf(u"b"_s), rowOf(u"c"_s)});
        QCOMPARE(model.key(1), 98);
        QCOMPARE(model.rowOfKey(99), 2);
        QVERIFY(model.removeRow(1));
        QCOMPARE(model.cell(1, Title), u"c0"_s);
        model.appendRow(rowOf(u"d"_s));
        QCOMPARE(model.row(2), rowOf(u"d"_s));
        // Nothing happens outside the grid.
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(!model.removeRows(2, 2) && !model.removeRows(-1, 1));
        model.setCell(3, Title, u"nowhere"_s);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(model.recordCount(), 3);
    }

    void cellKeptExactly_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::newRow("blanks kept") << int(Comment) << u"  a  "_s;
        QTest::newRow("outside the basic plane") << int(Artist) << u"Bj\u00f6rk \U0001F3B5"_s;
        QTest::newRow("long file name") << int(FileName) << QString(300, u'\u00e8');
    }
    // Each cell reads back as written, alone and after its neighbours changed.
    void cellKeptExactly()
    {
        QFETCH(int, column);
        QFETCH(QString, text);
        CatalogueModel model;
        GridRow row = rowOf(u"a"_s);
        row[static_cast<size_t>(column)] = text;
        model.setRows({row, rowOf(u"b"_s)});
        for (int other = 0; other < Key; ++other) {
            if (other != column)
                model.setCell(0, Column(other), QString(other, u'x'));
        }
        QCOMPARE(model.cell(0, Column(column)), text);
        QCOMPARE(model.row(1), rowOf(u"b"_s));
    }
};

QTEST_GUILESS_MAIN(TestCatalogueModel)
#include "tst_cataloguemodel.moc"
