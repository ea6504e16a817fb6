#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/cataloguesearch.h"
#include "grid/gridloader.h"
#include "inspection/collectioncounters.h"
#include "support/sqlscene.h"
#include "support/tempcatalogue.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace CatalogueSearch;

class TestCatalogueSearch : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempCatalogue> m_temp;
    std::unique_ptr<CatalogueStore> m_store;
    CatalogueModel m_model;
    CollectionCounters m_counters;

    QStringList titlesOfSearch(const Request &request)
    {
        const QList<qint64> keys = matchingKeys(m_model, request);
        if (!rebuild(*m_store, m_model, m_counters, keys))
            return {QStringLiteral("rebuild failed")};
        QStringList titles;
        for (int r = 0; r < m_model.recordCount(); ++r)
            titles << m_model.cell(r, Title);
        return titles;
    }

private slots:
    void init()
    {
        m_temp = std::make_unique<TempCatalogue>();
        QList<CatalogueRecord> records;
        // Title, artist, genre, state.
        const char *rows[][4] = {
            {"Volare", "MODUGNO", "Pop", "OK"},
            {"Nel blu dipinto di blu", "Modugno Domenico", "Pop", "Nessun TAG ID3"},
            {"Caruso", "Lucio Dalla", "", "OK"},
            {"Bella ciao ", "modugno", "Folk", "CDROM"}};
        for (const auto &row : rows) {
            records << sampleRecord(QString::fromUtf8(row[0]));
            records.last().titolo = QString::fromUtf8(row[0]);
            records.last().autore = QString::fromUtf8(row[1]);
            records.last().genere = QString::fromUtf8(row[2]);
            records.last().info = QString::fromUtf8(row[3]);
        }
        m_temp->add(records);
        m_store = std::make_unique<CatalogueStore>(m_temp->path());
        QVERIFY(m_store->open());
        QVERIFY(caricaDB(*m_store, m_model, m_counters));
    }

    void matches_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("words");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("expected");
        QTest::newRow("case ignored")
            << u"MODUGNO"_s << u"modugno"_s << false << int(Artist) << true;
        QTest::newRow("no partial match")
            << u"Modugno Domenico"_s << u"modugno"_s << false << int(Artist) << false;
        QTest::newRow("word search finds a word")
            << u"Modugno Domenico"_s << u"domenico"_s << true << int(Artist) << true;
        QTest::newRow("two words never match a field with blanks")
            << u"Modugno Domenico"_s << u"modugno domenico"_s << true << int(Artist) << false;
        QTest::newRow("trailing blank gives an empty last word")
            << u"Bella "_s << u""_s << true << int(FileName) << true;
        QTest::newRow("no wildcards") << u"Volare"_s << u"Vol*"_s << false << int(Title) << false;
        QTest::newRow("unicode upper case")
            << u"perché"_s << u"PERCHÉ"_s << false << int(Title) << true;
        QTest::newRow("genre compared whole even with word search")
            << u"Trip  Hop"_s << u"hop"_s << true << int(Genre) << false;
        QTest::newRow("sharp s upper-cases to two letters")
            << u"strasse"_s << u"straße"_s << false << int(Title) << true;
        QTest::newRow("accented word among plain ones")
            << u"Perché no"_s << u"PERCHÉ"_s << true << int(Title) << true;
        QTest::newRow("plain word beside an accented one")
            << u"Città vuota"_s << u"vuota"_s << true << int(Title) << true;
        QTest::newRow("accented letter is not its plain one")
            << u"Città"_s << u"citta"_s << false << int(Title) << false;
        QTest::newRow("sharp s in the cell upper-cases to two letters")
            << u"Straße"_s << u"STRASSE"_s << false << int(Title) << true;
        QTest::newRow("sharp s in the cell upper-cases to two letters S")
            << u"Fuß"_s << u"fuse"_s << false << int(Title) << false;
        QTest::newRow("ligature in a word upper-cases to its letters")
            << u"Ultima ﬁne"_s << u"fine"_s << true << int(Title) << true;
    }

    void matches()
    {
        QFETCH(QString, cell);
        QFETCH(QString, text);
        QFETCH(bool, words);
        QFETCH(int, column);
        QFETCH(bool, expected);
        const Request request{Column(column), text, words};
        QCOMPARE(CatalogueSearch::matches(cell, request), expected);
        // A grid search over a row of that cell follows the same rule.
        CatalogueRecord record;
        record.id = 7;
        (column == Title    ? record.titolo
         : column == Genre  ? record.genere
         : column == Artist ? record.autore
                            : record.nome) = cell;
        GridRows rows;
        rows.append(record);
        CatalogueModel model;
        model.setRows(std::move(rows));
        QCOMPARE(matchingKeys(model, request), expected ? QList<qint64>{7} : QList<qint64>{});
    }

    // The genre option reaches its column, where an empty entry finds the empty genres.
    void emptyGenreEntry()
    {
        QCOMPARE(titlesOfSearch({columnOfOption(4), QString(), false}), QStringList{"Caruso"});
    }

    void narrowsTwice()
    {
        QCOMPARE(titlesOfSearch({columnOfOption(1), QStringLiteral("modugno"), true}),
                 (QStringList{"Volare", "Nel blu dipinto di blu", "Bella ciao"}));
        QCOMPARE(titlesOfSearch({Genre, QStringLiteral("POP"), false}),
                 (QStringList{"Volare", "Nel blu dipinto di blu"}));
        using C = CollectionCounters::Counter;
        QCOMPARE(m_counters.value(C::Found), 2);
        QCOMPARE(m_counters.value(C::WithTag), 1);
        QCOMPARE(m_counters.value(C::WithoutTag), 1);
        // A key whose record was deleted meanwhile is left out.
        QVERIFY(rebuild(*m_store, m_model, m_counters, {999, 1}));
        QCOMPARE(m_model.recordCount(), 1);
        QCOMPARE(m_model.cell(0, Title), QStringLiteral("Volare"));
    }

    void manyKeysKeepTheirOrder_data()
    {
        QTest::addColumn<bool>("ascending");
        QTest::addColumn<int>("keyStep");
        QTest::newRow("grid in reverse order") << false << 1;
        QTest::newRow("grid in stored order") << true << 1;
        QTest::newRow("keys too far apart for one pass") << false << 1000003;
    }

    // Enough keys for the rows to be read in one pass over the table, unless they are far apart,
    // in the keys' order; a record deleted meanwhile is left out, one changed meanwhile is read
    // as it is now.
    void manyKeysKeepTheirOrder()
    {
        QFETCH(bool, ascending);
        QFETCH(int, keyStep);
        QList<CatalogueRecord> records;
        for (int i = 0; i < 200; ++i)
            records << sampleRecord(u"Brano %1"_s.arg(i));
        m_temp->add(records);
        QVERIFY(execOn(m_temp->path(), u"UPDATE Mp3 SET id = id * %1"_s.arg(keyStep)));
        QVERIFY(caricaDB(*m_store, m_model, m_counters));
        QList<qint64> keys;
        QStringList expected;
        for (int i = 0; i < m_model.recordCount(); i += 2) {
            const int r = ascending ? i : m_model.recordCount() - 1 - i;
            keys << *m_model.key(r);
            expected << m_model.cell(r, Title);
        }
        CatalogueRecord changed = m_store->recordById(keys[20]).value();
        changed.titolo = u"Cambiato"_s;
        QCOMPARE(m_store->update(changed), CatalogueStore::WriteResult::Done);
        expected[20] = changed.titolo;
        QCOMPARE(m_store->remove(keys[10]), CatalogueStore::WriteResult::Done);
        expected.removeAt(10);
        QVERIFY(rebuild(*m_store, m_model, m_counters, keys));
        QStringList titles;
        for (int r = 0; r < m_model.recordCount(); ++r)
            titles << m_model.cell(r, Title);
        QCOMPARE(titles, expected);
    }
};

QTEST_GUILESS_MAIN(TestCatalogueSearch)
#include "tst_cataloguesearch.moc"
