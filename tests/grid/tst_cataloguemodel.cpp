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
    void headerLabelsAndCells_data();
    void headerLabelsAndCells();
    void narrowHeaderDiffersOnlyInFolder();
    void rowsThroughTheTester();
    void setRowsResetsOnce();
    void cellKeptExactly_data();
    void cellKeptExactly();
    void cellsOutsideTheGrid();
    void removeRowsRejectsBadRanges_data();
    void removeRowsRejectsBadRanges();
};

void TestCatalogueModel::headerLabelsAndCells_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("blanks");
    QTest::newRow("title") << int(Title) << "Titolo" << 50;
    QTest::newRow("artist") << int(Artist) << "Artista" << 48;
    QTest::newRow("album") << int(Album) << "Album" << 49;
    QTest::newRow("year") << int(Year) << "Anno" << 1;
    QTest::newRow("genre") << int(Genre) << "Genere" << 20;
    QTest::newRow("comment") << int(Comment) << "Commento" << 46;
    QTest::newRow("file name") << int(FileName) << "Nome File" << 40;
    QTest::newRow("folder, spelled so") << int(Folder) << "Percoso File" << 95;
    QTest::newRow("size") << int(Size) << "Dimensione File" << 7;
    QTest::newRow("state") << int(State) << "Info" << 25;
    QTest::newRow("label") << int(MediumLabel) << "Etichetta Disco" << 10;
    QTest::newRow("key") << int(Key) << "IdKey" << 5;
}

void TestCatalogueModel::headerLabelsAndCells()
{
    QFETCH(int, column);
    QFETCH(QString, label);
    QFETCH(int, blanks);
    CatalogueModel model;
    QCOMPARE(model.columnCount(), kColumnCount);
    QCOMPARE(model.headerData(column, Qt::Horizontal).toString(), label);
    QCOMPARE(model.headerCell(column), label + QString(blanks, u' '));
    const QStringList cells = GridHeader::formatString(GridHeader::Kind::Full).split(u'|');
    QCOMPARE(cells.size(), kColumnCount);
    QCOMPARE(cells.at(column), u'<' + label + QString(blanks, u' '));
}

void TestCatalogueModel::narrowHeaderDiffersOnlyInFolder()
{
    const QStringList full = GridHeader::formatString(GridHeader::Kind::Full).split(u'|');
    const QStringList narrow = GridHeader::formatString(GridHeader::Kind::Narrow).split(u'|');
    QCOMPARE(narrow.size(), full.size());
    for (int c = 0; c < kColumnCount; ++c) {
        if (c == Folder)
            QCOMPARE(narrow.at(c).size(), full.at(c).size() - 1);
        else
            QCOMPARE(narrow.at(c), full.at(c));
    }
    CatalogueModel model;
    QSignalSpy spy(&model, &QAbstractItemModel::headerDataChanged);
    model.setHeader(GridHeader::Kind::Narrow);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(model.headerCell(Folder), QStringLiteral("Percoso File") + QString(94, u' '));
    model.setHeader(GridHeader::Kind::Narrow);
    QCOMPARE(spy.count(), 1);
}

void TestCatalogueModel::rowsThroughTheTester()
{
    CatalogueModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.appendRow(rowOf(QStringLiteral("a")));
    model.appendRow(rowOf(QStringLiteral("b")));
    model.appendRow(rowOf(QStringLiteral("c")));
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.data(model.index(1, Key)).toString(), QStringLiteral("98"));
    QCOMPARE(model.key(1), 98);
    QCOMPARE(model.rowOfKey(99), 2);
    model.setCell(1, Title, QStringLiteral("changed"));
    QCOMPARE(model.cell(1, Title), QStringLiteral("changed"));
    QVERIFY(model.removeRow(1));
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.cell(1, Title), QStringLiteral("c0"));
    QVERIFY(model.removeRows(0, 2));
    QCOMPARE(model.rowCount(), 0);
    model.setRows({rowOf(QStringLiteral("x")), rowOf(QStringLiteral("y"))});
    model.clear();
    QCOMPARE(model.recordCount(), 0);
}

void TestCatalogueModel::setRowsResetsOnce()
{
    CatalogueModel model;
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
    std::vector<GridRow> rows(1000, rowOf(QStringLiteral("r")));
    model.setRows(std::move(rows));
    QCOMPARE(resets.count(), 1);
    QCOMPARE(inserts.count(), 0);
    QCOMPARE(model.recordCount(), 1000);
}

void TestCatalogueModel::cellKeptExactly_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty title") << int(Title) << u""_s;
    QTest::newRow("blanks kept") << int(Comment) << u"  a  "_s;
    QTest::newRow("outside the basic plane") << int(Artist) << u"Bj\u00f6rk \U0001F3B5"_s;
    QTest::newRow("long file name") << int(FileName) << QString(300, u'\u00e8');
    QTest::newRow("shared folder") << int(Folder) << u"/m\u00fasica/"_s;
    QTest::newRow("size text") << int(Size) << u"            1,234 KB"_s;
}

// Each cell reads back as written, alone and after its neighbours changed.
void TestCatalogueModel::cellKeptExactly()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    CatalogueModel model;
    GridRow row = rowOf(QStringLiteral("a"));
    row[static_cast<size_t>(column)] = text;
    model.appendRow(row);
    model.appendRow(rowOf(QStringLiteral("b")));
    QCOMPARE(model.row(0), row);
    for (int other = 0; other < Key; ++other) {
        if (other != column)
            model.setCell(0, Column(other), QString(other, u'x'));
    }
    QCOMPARE(model.cell(0, Column(column)), text);
    QCOMPARE(model.row(1), rowOf(QStringLiteral("b")));
}

void TestCatalogueModel::cellsOutsideTheGrid()
{
    CatalogueModel model;
    model.appendRow(rowOf(QStringLiteral("a")));
    QVERIFY(model.cell(-1, Title).isEmpty());
    QVERIFY(model.cell(1, Title).isEmpty());
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setCell(5, Title, QStringLiteral("nowhere"));
    QCOMPARE(changed.count(), 0);
    QVERIFY(!model.data(model.index(3, 0)).isValid());
}

void TestCatalogueModel::removeRowsRejectsBadRanges_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("count");
    QTest::newRow("negative row") << -1 << 1;
    QTest::newRow("past the end") << 2 << 1;
    QTest::newRow("overlapping the end") << 1 << 2;
    QTest::newRow("zero rows") << 0 << 0;
}

void TestCatalogueModel::removeRowsRejectsBadRanges()
{
    QFETCH(int, row);
    QFETCH(int, count);
    CatalogueModel model;
    model.appendRow(rowOf(QStringLiteral("a")));
    model.appendRow(rowOf(QStringLiteral("b")));
    QVERIFY(!model.removeRows(row, count));
    QCOMPARE(model.recordCount(), 2);
}

QTEST_GUILESS_MAIN(TestCatalogueModel)
#include "tst_cataloguemodel.moc"
