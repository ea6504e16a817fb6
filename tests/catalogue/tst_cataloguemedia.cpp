#include "catalogue/cataloguestore.h"
#include "catalogue/duplicategroups.h"
#include "support/sqlscene.h"
#include "support/storedrecords.h"
#include "support/tempcatalogue.h"

#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A record of medium `supporto` (a null QString for none) labelled `labelD`, in state `info`.
CatalogueRecord onMedium(const QString &stem, const QString &supporto, const QString &labelD,
                         const QString &info = u"OK"_s, const QString &size = u"1 KB"_s)
{
    CatalogueRecord r = sampleRecord(stem);
    r.supporto = supporto;
    r.labelD = labelD;
    r.info = info;
    r.dimenzione = size;
    return r;
}

QList<Medium> bySerial(QList<Medium> media)
{
    std::sort(media.begin(), media.end(),
              [](const Medium &a, const Medium &b) { return a.supporto < b.supporto; });
    return media;
}

} // namespace

// The store's queries over whole media, on real catalogue files.
class TestCatalogueMedia : public QObject
{
    Q_OBJECT

private slots:
    void media_data()
    {
        QTest::addColumn<QList<CatalogueRecord>>("records");
        QTest::addColumn<QList<Medium>>("expected"); // in serial order
        QTest::newRow("empty catalogue") << QList<CatalogueRecord>{} << QList<Medium>{};
        // Sizes as catalogues of several locales write them, padded or not.
        QTest::newRow("one hard disk, sizes summed")
            << QList<CatalogueRecord>{onMedium(u"a"_s, u"77"_s, u"Musica"_s, u"OK"_s,
                                               u"            1,024 KB"_s),
                                      onMedium(u"b"_s, u"77"_s, u"Musica"_s, u"Nessun TAG ID3"_s,
                                               u"1.024 KB"_s),
                                      onMedium(u"c"_s, u"77"_s, u"Musica"_s, u"OK"_s, u"   2 KB"_s)}
            << QList<Medium>{{u"77"_s, u"Musica"_s, QString(), 3, 2050}};
        QTest::newRow("the label of the lowest key, the type most records carry")
            << QList<CatalogueRecord>{onMedium(u"a"_s, u"5"_s, u"Primo"_s, u"CDROM"_s),
                                      onMedium(u"b"_s, u"5"_s, u"Secondo"_s, u"Fissa"_s),
                                      onMedium(u"c"_s, u"5"_s, u"Secondo"_s, u"Fissa"_s),
                                      onMedium(u"d"_s, u"6"_s, u"Chiavetta"_s,
                                               u"Disco Rimovibile"_s)}
            << QList<Medium>{{u"5"_s, u"Primo"_s, u"Fissa"_s, 3, 3},
                             {u"6"_s, u"Chiavetta"_s, u"Disco Rimovibile"_s, 1, 1}};
        QTest::newRow("records without serial or size are one medium")
            << QList<CatalogueRecord>{onMedium(u"a"_s, QString(), u"X"_s, u"OK"_s, QString()),
                                      onMedium(u"b"_s, QString(), u"X"_s)}
            << QList<Medium>{{QString(), u"X"_s, QString(), 2, 1}};
    }

    void media()
    {
        QFETCH(QList<CatalogueRecord>, records);
        QFETCH(QList<Medium>, expected);
        TempCatalogue temp;
        temp.add(records);
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        const auto media = store.media();
        QVERIFY2(media, qPrintable(store.lastError()));
        QCOMPARE(bySerial(*media), expected);
    }

    void labelsOfOtherMedia_data()
    {
        QTest::addColumn<QString>("supporto");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("a medium with a serial") << u"1"_s << QStringList{u"Due"_s, u"Nessuno"_s};
        QTest::newRow("the records without serial") << QString() << QStringList{u"Uno"_s, u"Due"_s};
        QTest::newRow("a serial no record has")
            << u"9"_s << QStringList{u"Uno"_s, u"Due"_s, u"Nessuno"_s};
    }

    void labelsOfOtherMedia()
    {
        QFETCH(QString, supporto);
        QFETCH(QStringList, expected);
        TempCatalogue temp;
        temp.add({onMedium(u"a"_s, u"1"_s, u"Uno"_s), onMedium(u"b"_s, u"2"_s, u"Due"_s),
                  onMedium(u"c"_s, QString(), u"Nessuno"_s)});
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        auto labels = store.labelsOfOtherMedia(supporto);
        QVERIFY(labels);
        labels->sort();
        expected.sort();
        QCOMPARE(*labels, expected);
    }

    // Ten thousand records take the new label in one statement; the other medium keeps its own,
    // and a record the catalogue refuses to change leaves every record of the medium as it was.
    void relabelMedium_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::newRow("all relabelled") << false;
        QTest::newRow("last record refused") << true;
    }

    void relabelMedium()
    {
        QFETCH(bool, refused);
        TempCatalogue temp;
        QList<CatalogueRecord> records;
        for (int i = 0; i < 10000; ++i)
            records << onMedium(u"f%1"_s.arg(i), u"42"_s, u"TRACKLODGE_3"_s);
        records << onMedium(u"other"_s, u"43"_s, u"Altro"_s);
        const QList<qint64> ids = temp.add(records);
        if (refused)
            QVERIFY(refuseOn(temp.path(), "UPDATE", u"old.id = %1"_s.arg(ids[9999])));
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        {
            CatalogueStore::Transaction transaction(store);
            const auto changed = store.relabelMedium(u"42"_s, u"Vacanze 2024"_s);
            QCOMPARE(changed.has_value(), !refused);
            QVERIFY(!refused ? transaction.commit() : true);
        }
        if (!refused)
            QCOMPARE(*store.keysOfMedium(u"42"_s), ids.mid(0, 10000));
        const auto stored = storedRecords(store);
        QVERIFY(stored);
        const QString label = refused ? u"TRACKLODGE_3"_s : u"Vacanze 2024"_s;
        QCOMPARE(std::count_if(stored->cbegin(), stored->cend(),
                               [&label](const CatalogueRecord &r) { return r.labelD == label; }),
                 10000);
        QCOMPARE(stored->last().labelD, u"Altro"_s);
    }

    void removeMedium_data()
    {
        QTest::addColumn<QString>("supporto");
        QTest::addColumn<qint64>("removed");
        QTest::addColumn<QStringList>("left"); // file names
        QTest::newRow("one medium") << u"1"_s << qint64(2) << QStringList{u"c"_s, u"d"_s};
        QTest::newRow("no serial") << QString() << qint64(1) << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("unknown serial")
            << u"3"_s << qint64(0) << QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s};
    }

    void removeMedium()
    {
        QFETCH(QString, supporto);
        QFETCH(qint64, removed);
        QFETCH(QStringList, left);
        TempCatalogue temp;
        temp.add({onMedium(u"a"_s, u"1"_s, u"Uno"_s), onMedium(u"b"_s, u"1"_s, u"Uno"_s),
                  onMedium(u"c"_s, u"2"_s, u"Due"_s), onMedium(u"d"_s, QString(), u"X"_s)});
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        QCOMPARE(store.removeMedium(supporto), std::optional<qint64>(removed));
        QStringList names;
        const auto stored = storedRecords(store);
        QVERIFY(stored);
        for (const CatalogueRecord &r : *stored)
            names << r.nome;
        QCOMPARE(names, left);
    }

    void failuresAreReported()
    {
        CatalogueStore store(u"/nonexistent/Mp3Db.mdb"_s);
        QVERIFY(!store.media());
        QVERIFY(!store.lastError().isEmpty());
        QVERIFY(!store.relabelMedium(u"1"_s, u"X"_s));
        QVERIFY(!store.removeMedium(u"1"_s));
        QVERIFY(!findDuplicates(store));
    }
};

QTEST_GUILESS_MAIN(TestCatalogueMedia)
#include "tst_cataloguemedia.moc"
