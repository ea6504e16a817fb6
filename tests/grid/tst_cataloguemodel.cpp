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

    // Each cell reads back as written, after its neighbours changed: blanks, text outside the
    // basic plane, a long file name.
    void cellKeptExactly()
    {
        CatalogueModel model;
        GridRow row = rowOf(u"a"_s);
        row[Comment] = u"  a  "_s;
        row[Artist] = u"Bj\u00f6rk \U0001F3B5"_s;
        row[FileName] = QString(300, u'\u00e8');
        model.setRows({row, rowOf(u"b"_s)});
        for (const Column c : {Title, Album, Year, Genre, Folder, Size, State, MediumLabel})
            model.setCell(0, c, QString(int(c), u'x'));
        for (const Column c : {Comment, Artist, FileName})
            QCOMPARE(model.cell(0, c), row[c]);
        QCOMPARE(model.row(1), rowOf(u"b"_s));
    }
};

QTEST_GUILESS_MAIN(TestCatalogueModel)
#include "tst_cataloguemodel.moc"
