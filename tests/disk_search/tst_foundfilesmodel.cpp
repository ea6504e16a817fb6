#include "disk_search/foundfilesmodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

class TestFoundFilesModel : public QObject
{
    Q_OBJECT

private slots:
    void newEntriesAreShownInBatches_data();
    void newEntriesAreShownInBatches();
    void clearEmptiesTheList();
};

void TestFoundFilesModel::newEntriesAreShownInBatches_data()
{
    QTest::addColumn<QList<int>>("batches");
    QTest::newRow("one batch") << QList<int>{3};
    QTest::newRow("several batches") << QList<int>{2, 1, 4};
    QTest::newRow("empty batches change nothing") << QList<int>{0, 2, 0, 0, 1};
}

void TestFoundFilesModel::newEntriesAreShownInBatches()
{
    QFETCH(QList<int>, batches);
    FoundFilesModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    int total = 0;
    int notices = 0;
    for (int batch : batches) {
        for (int i = 0; i < batch; ++i)
            model.list().append(QStringLiteral("/musica/%1.mp3").arg(total + i));
        // Appended entries stay out of sight until they are shown.
        QCOMPARE(model.rowCount(), total);
        model.showNew();
        total += batch;
        notices += batch > 0 ? 1 : 0;
        QCOMPARE(model.rowCount(), total);
        QCOMPARE(inserted.size(), notices);
    }
    for (int row = 0; row < total; ++row)
        QCOMPARE(model.index(row).data().toString(), QStringLiteral("/musica/%1.mp3").arg(row));
    QVERIFY(!model.index(total).data().isValid());
}

void TestFoundFilesModel::clearEmptiesTheList()
{
    FoundFilesModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.list() << QStringLiteral("/a.mp3") << QStringLiteral("/b.mp3");
    model.showNew();
    model.clear();
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(model.list().isEmpty());
    model.list() << QStringLiteral("/c.mp3");
    model.showNew();
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.index(0).data().toString(), QStringLiteral("/c.mp3"));
}

QTEST_MAIN(TestFoundFilesModel)
#include "tst_foundfilesmodel.moc"
