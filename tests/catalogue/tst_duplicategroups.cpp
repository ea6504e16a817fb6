#include "catalogue/cataloguestore.h"
#include "catalogue/duplicategroups.h"
#include "support/tempcatalogue.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A record of a song: title, artist, file name (in `folder`) and size text.
struct Song
{
    QString titolo;
    QString autore;
    QString nome;
    QString dimenzione = u"4,000 KB"_s;
    QString percorso = u"/musica/"_s;
};

} // namespace

Q_DECLARE_METATYPE(Song)

// The grouping of the duplicates view, read from a real catalogue file. Groups are given by the
// places of their records in the list of songs.
class TestDuplicateGroups : public QObject
{
    Q_OBJECT

private slots:
    void groups_data()
    {
        QTest::addColumn<QList<Song>>("songs");
        QTest::addColumn<QList<QList<int>>>("expected");
        QTest::newRow("nothing alike") << QList<Song>{{u"Yesterday"_s, u"Beatles"_s, u"a"_s},
                                                      {u"Help"_s, u"Beatles"_s, u"b"_s}}
                                       << QList<QList<int>>{};
        QTest::newRow("case and surrounding blanks do not count")
            << QList<Song>{{u"Yesterday"_s, u"Beatles"_s, u"a"_s},
                           {u"  yesterday "_s, u"BEATLES\t"_s, u"b"_s},
                           {u"Yesterday"_s, u"The Beatles"_s, u"c"_s}}
            << QList<QList<int>>{{0, 1}};
        QTest::newRow("accents count, accented capitals fold")
            << QList<Song>{{u"Perché"_s, u"Lucio"_s, u"a"_s},
                           {u"Perche"_s, u"Lucio"_s, u"b"_s},
                           {u"PERCHÉ"_s, u"lucio"_s, u"c"_s},
                           {u"Caffè"_s, u"Pino"_s, u"d"_s},
                           {u"Caffe"_s, u"Pino"_s, u"e"_s}}
            << QList<QList<int>>{{0, 2}};
        QTest::newRow("blank titles are not alike")
            << QList<Song>{{u""_s, u"Ignoto"_s, u"a"_s}, {u"  "_s, u"Ignoto"_s, u"b"_s}}
            << QList<QList<int>>{};
        QTest::newRow("same name and size in other folders")
            << QList<Song>{{u"Uno"_s, u"A"_s, u"brano"_s, u"   4,000 KB"_s, u"/cd1/"_s},
                           {u"Due"_s, u"B"_s, u"brano"_s, u"4.000 KB"_s, u"/cd2/"_s},
                           {u"Tre"_s, u"C"_s, u"brano"_s, u"4,001 KB"_s, u"/cd3/"_s},
                           {u"Quattro"_s, u"D"_s, u"Brano"_s, u"4,000 KB"_s, u"/cd4/"_s}}
            << QList<QList<int>>{{0, 1}};
        QTest::newRow("likeness passes on through a group")
            << QList<Song>{{u"Angie"_s, u"Stones"_s, u"x"_s},
                           {u"Other"_s, u"Z"_s, u"y"_s},
                           {u"angie"_s, u"stones"_s, u"y"_s, u"4,000 KB"_s, u"/b/"_s},
                           {u"Alone"_s, u"Q"_s, u"w"_s}}
            << QList<QList<int>>{{0, 1, 2}};
        QTest::newRow("groups in title order, rows of a group together")
            << QList<Song>{{u"zebra"_s, u"A"_s, u"1"_s}, {u"Mela"_s, u"B"_s, u"2"_s},
                           {u"Zebra"_s, u"a"_s, u"3"_s}, {u"mela"_s, u"b"_s, u"4"_s},
                           {u"Ape"_s, u"C"_s, u"5"_s},   {u"ape"_s, u"c"_s, u"6"_s}}
            << QList<QList<int>>{{4, 5}, {1, 3}, {0, 2}};
    }

    void groups()
    {
        QFETCH(QList<Song>, songs);
        QFETCH(QList<QList<int>>, expected);
        QList<CatalogueRecord> records;
        for (const Song &song : songs) {
            CatalogueRecord r = sampleRecord(song.nome);
            r.titolo = song.titolo;
            r.autore = song.autore;
            r.dimenzione = song.dimenzione;
            r.percorso = song.percorso;
            records << r;
        }
        TempCatalogue temp;
        const QList<qint64> ids = temp.add(records);
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        QList<QList<qint64>> keys;
        for (const QList<int> &group : expected) {
            keys.append(QList<qint64>());
            for (const int place : group)
                keys.last() << ids[place];
        }
        QCOMPARE(findDuplicates(store), std::optional(keys));
    }
};

QTEST_GUILESS_MAIN(TestDuplicateGroups)
#include "tst_duplicategroups.moc"
