#include "grid/cataloguemodel.h"
#include "support/printers.h"
#include "support/tempcatalogue.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

CatalogueRecord recordOf(const QString &stem, qint64 key)
{
    CatalogueRecord record = sampleRecord(stem);
    record.id = key;
    return record;
}

GridRows rowsOf(const QList<CatalogueRecord> &records)
{
    GridRows rows;
    for (const CatalogueRecord &record : records)
        rows.append(record);
    return rows;
}

// The twelve text fields of a record in table order.
std::array<QString *, 12> fieldsOf(CatalogueRecord &r)
{
    return {&r.titolo, &r.autore,   &r.album,      &r.anno, &r.genere, &r.commento,
            &r.nome,   &r.percorso, &r.dimenzione, &r.info, &r.labelD, &r.supporto};
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
        model.setRows(rowsOf({recordOf(u"a"_s, 97), recordOf(u"b"_s, 98), recordOf(u"c"_s, 99)}));
        QCOMPARE(model.key(1), 98);
        QCOMPARE(model.rowOfKey(99), 2);
        QVERIFY(model.removeRow(1));
        QCOMPARE(model.cell(1, Title), u"c title"_s);
        QCOMPARE(model.cell(1, Key), u"99"_s);
        // Nothing happens outside the grid.
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(!model.removeRows(2, 2) && !model.removeRows(-1, 1));
        model.setRecord(2, recordOf(u"d"_s, 100));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(model.recordCount(), 2);
        QCOMPARE(model.key(2), std::nullopt);
    }

    // Every field of a row reads back as the record it was given, whether NULL, empty or a text
    // the shown cell trims, after its neighbours and the row itself were given other records;
    // the cell shows it as MettiDati does.
    void recordKeptExactly_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shownTrimmed"); // in Title, Artist, Album, Year, Comment
        QTest::addColumn<QString>("shownAsIs");    // in every other column
        QTest::newRow("NULL") << QString() << u" "_s << u" "_s;
        QTest::newRow("empty") << u""_s << u""_s << u""_s;
        QTest::newRow("blanks around") << u"  a  "_s << u"  a"_s << u"  a  "_s;
        QTest::newRow("blanks only") << u"   "_s << u""_s << u"   "_s;
        QTest::newRow("outside the basic plane")
            << u"Bj\u00f6rk \U0001F3B5"_s << u"Bj\u00f6rk \U0001F3B5"_s
            << u"Bj\u00f6rk \U0001F3B5"_s;
        // A length that takes more than one byte to write down.
        QTest::newRow("300 letters")
            << QString(300, u'\u00e8') << QString(300, u'\u00e8') << QString(300, u'\u00e8');
    }

    void recordKeptExactly()
    {
        QFETCH(QString, value);
        QFETCH(QString, shownTrimmed);
        QFETCH(QString, shownAsIs);
        for (int field = 0; field < 12; ++field) {
            CatalogueModel model;
            model.setRows(rowsOf({recordOf(u"a"_s, 1), recordOf(u"b"_s, 2)}));
            CatalogueRecord record = recordOf(u"x"_s, 7);
            *fieldsOf(record)[static_cast<size_t>(field)] = value;
            model.setRecord(0, recordOf(u"y"_s, 5));
            model.setRecord(0, record);
            model.setRecord(1, recordOf(u"b"_s, 2));
            QCOMPARE(model.record(0), record);
            QCOMPARE(model.record(0).id, 7);
            QCOMPARE(model.record(1), recordOf(u"b"_s, 2));
            if (field == 11)
                continue; // the medium serial has no column
            const bool trimmed = field <= Year || field == Comment;
            QCOMPARE(model.cell(0, Column(field)), trimmed ? shownTrimmed : shownAsIs);
            QCOMPARE(model.cellUtf8(0, Column(field)),
                     (trimmed ? shownTrimmed : shownAsIs).toUtf8());
        }
    }
};

QTEST_GUILESS_MAIN(TestCatalogueModel)
#include "tst_cataloguemodel.moc"
