#include "catalogue/cataloguestore.h"
#include "grid/cataloguemodel.h"
#include "grid/cataloguesearch.h"
#include "grid/gridloader.h"
#include "inspection/collectioncounters.h"
#include "support/tempcatalogue.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace CatalogueSearch;

namespace {

struct Row
{
    const char *title;
    const char *artist;
    const char *genre;
    const char *state;
};

// The catalogue every search row runs over; nome is the title's file name.
const Row kRows[] = {
    {"Volare", "MODUGNO", "Pop", "OK"},
    {"Nel blu dipinto di blu", "Modugno Domenico", "Pop", "Nessun TAG ID3"},
    {"Caruso", "Lucio Dalla", "", "OK"},
    {"Azzurro", "Paolo Conte", "Jazz", "Solo Lettura"},
    {"Bella ciao ", "modugno", "Folk", "CDROM"},
    {"", "Anonimo", "Rock", "File Corrotto!"},
    {"Perché", "Èlite", "Trip  Hop", "OK"},
};

} // namespace

class TestCatalogueSearch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void columnOfOption_data();
    void columnOfOption();
    void matches_data();
    void matches();
    void search_data();
    void search();
    void narrowsTwice();
    void noMatchEmptiesGridAndCounters();
    void manyKeysKeepTheirOrder();

private:
    QStringList titlesOfSearch(const Request &request);

    std::unique_ptr<TempCatalogue> m_temp;
    std::unique_ptr<CatalogueStore> m_store;
    CatalogueModel m_model;
    CollectionCounters m_counters;
};

void TestCatalogueSearch::init()
{
    m_temp = std::make_unique<TempCatalogue>();
    QList<CatalogueRecord> records;
    for (const Row &row : kRows) {
        CatalogueRecord r = sampleRecord(QString::fromUtf8(row.title));
        r.titolo = QString::fromUtf8(row.title);
        r.nome = r.titolo.isEmpty() ? QStringLiteral("senza titolo") : r.titolo;
        r.autore = QString::fromUtf8(row.artist);
        r.genere = QString::fromUtf8(row.genre);
        r.info = QString::fromUtf8(row.state);
        records << r;
    }
    m_temp->add(records);
    m_store = std::make_unique<CatalogueStore>(m_temp->path());
    QVERIFY(m_store->open());
    QVERIFY(caricaDB(*m_store, m_model, m_counters));
}

void TestCatalogueSearch::columnOfOption_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("column");
    QTest::newRow("none is title") << -1 << int(Title);
    QTest::newRow("title") << 0 << int(Title);
    QTest::newRow("artist") << 1 << int(Artist);
    QTest::newRow("album") << 2 << int(Album);
    QTest::newRow("file name is column 6") << 3 << int(FileName);
    QTest::newRow("genre") << 4 << int(Genre);
}

void TestCatalogueSearch::columnOfOption()
{
    QFETCH(int, option);
    QFETCH(int, column);
    QCOMPARE(int(CatalogueSearch::columnOfOption(option)), column);
}

void TestCatalogueSearch::matches_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("words");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("expected");
    QTest::newRow("case ignored") << u"MODUGNO"_s << u"modugno"_s << false << int(Artist) << true;
    QTest::newRow("no partial match")
        << u"Modugno Domenico"_s << u"modugno"_s << false << int(Artist) << false;
    QTest::newRow("word search finds a word")
        << u"Modugno Domenico"_s << u"domenico"_s << true << int(Artist) << true;
    QTest::newRow("two words never match a field with blanks")
        << u"Modugno Domenico"_s << u"modugno domenico"_s << true << int(Artist) << false;
    QTest::newRow("two words match whole without word search")
        << u"Modugno Domenico"_s << u"modugno domenico"_s << false << int(Artist) << true;
    QTest::newRow("no trimming") << u"Bella ciao "_s << u"bella ciao"_s << false << int(Title)
                                 << false;
    QTest::newRow("trailing blank gives an empty last word")
        << u"Bella "_s << u""_s << true << int(Title) << true;
    QTest::newRow("consecutive blanks give an empty word")
        << u"a  b"_s << u""_s << true << int(Title) << true;
    QTest::newRow("word search without a blank compares whole")
        << u"Volare"_s << u"vol"_s << true << int(Title) << false;
    QTest::newRow("no wildcards") << u"Volare"_s << u"Vol*"_s << false << int(Title) << false;
    QTest::newRow("unicode upper case")
        << u"perché"_s << u"PERCHÉ"_s << false << int(Title) << true;
    QTest::newRow("empty text matches empty cell") << u""_s << u""_s << false << int(Title) << true;
    QTest::newRow("empty text does not match a blank")
        << u" "_s << u""_s << false << int(Title) << false;
    QTest::newRow("genre compared whole even with word search")
        << u"Trip  Hop"_s << u"hop"_s << true << int(Genre) << false;
    QTest::newRow("genre two blanks")
        << u"Trip  Hop"_s << u"Trip  Hop"_s << true << int(Genre) << true;
    QTest::newRow("sharp s upper-cases to two letters")
        << u"strasse"_s << u"straße"_s << false << int(Title) << true;
    QTest::newRow("accented word among plain ones")
        << u"Perché no"_s << u"PERCHÉ"_s << true << int(Title) << true;
}

void TestCatalogueSearch::matches()
{
    QFETCH(QString, cell);
    QFETCH(QString, text);
    QFETCH(bool, words);
    QFETCH(int, column);
    QFETCH(bool, expected);
    const Request request{Column(column), text, words};
    QCOMPARE(CatalogueSearch::matches(cell, request), expected);
    // A grid search over a row of that cell follows the same rule.
    GridRow row;
    row[Key] = u"7"_s;
    row[Column(column)] = cell;
    CatalogueModel model;
    model.setRows(std::vector<GridRow>{row});
    QCOMPARE(matchingKeys(model, request), expected ? QList<qint64>{7} : QList<qint64>{});
}

QStringList TestCatalogueSearch::titlesOfSearch(const Request &request)
{
    const QList<qint64> keys = matchingKeys(m_model, request);
    if (!rebuild(*m_store, m_model, m_counters, keys))
        return {QStringLiteral("rebuild failed")};
    QStringList titles;
    for (int r = 0; r < m_model.recordCount(); ++r)
        titles << m_model.cell(r, Title);
    return titles;
}

void TestCatalogueSearch::search_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("words");
    QTest::addColumn<QStringList>("titles");
    // What a cell matches is matches()'s rule: here one search over several rows, and the
    // option reaching its column.
    QTest::newRow("artist as a word")
        << 1 << u"modugno"_s << true
        << QStringList{"Volare", "Nel blu dipinto di blu", "Bella ciao"};
    QTest::newRow("empty genre entry") << 4 << u""_s << false << QStringList{"Caruso"};
    QTest::newRow("file name") << 3 << u"CARUSO"_s << false << QStringList{"Caruso"};
}

void TestCatalogueSearch::search()
{
    QFETCH(int, option);
    QFETCH(QString, text);
    QFETCH(bool, words);
    QFETCH(QStringList, titles);
    QCOMPARE(titlesOfSearch({CatalogueSearch::columnOfOption(option), text, words}), titles);
    QCOMPARE(m_counters.value(CollectionCounters::Counter::Found), titles.size());
    QCOMPARE(m_model.headerCell(Folder).size(),
             QStringLiteral("Percoso File").size() + (titles.isEmpty() ? 94 : 95));
}

void TestCatalogueSearch::narrowsTwice()
{
    QCOMPARE(titlesOfSearch({Artist, QStringLiteral("modugno"), true}),
             (QStringList{"Volare", "Nel blu dipinto di blu", "Bella ciao"}));
    QCOMPARE(titlesOfSearch({Genre, QStringLiteral("POP"), false}),
             (QStringList{"Volare", "Nel blu dipinto di blu"}));
    using C = CollectionCounters::Counter;
    QCOMPARE(m_counters.value(C::Found), 2);
    QCOMPARE(m_counters.value(C::WithTag), 1);
    QCOMPARE(m_counters.value(C::WithoutTag), 1);
    QCOMPARE(titlesOfSearch({Title, QStringLiteral("caruso"), false}), QStringList{});
}

void TestCatalogueSearch::noMatchEmptiesGridAndCounters()
{
    QCOMPARE(titlesOfSearch({Title, QStringLiteral("nessuno"), false}), QStringList{});
    QCOMPARE(m_model.recordCount(), 0);
    for (const auto c :
         {CollectionCounters::Counter::Found, CollectionCounters::Counter::WithTag,
          CollectionCounters::Counter::WithoutTag, CollectionCounters::Counter::Corrupt,
          CollectionCounters::Counter::ReadOnly, CollectionCounters::Counter::CdRom})
        QCOMPARE(m_counters.value(c), 0);
    // A key whose record was deleted meanwhile is left out.
    QVERIFY(rebuild(*m_store, m_model, m_counters, {999, 1}));
    QCOMPARE(m_model.recordCount(), 1);
    QCOMPARE(m_model.cell(0, Title), QStringLiteral("Volare"));
}

// Enough keys for the rows to be read in one pass over the table, in the keys' order; a key
// without a record is left out.
void TestCatalogueSearch::manyKeysKeepTheirOrder()
{
    QList<CatalogueRecord> records;
    for (int i = 0; i < 200; ++i)
        records << sampleRecord(u"Brano %1"_s.arg(i));
    m_temp->add(records);
    QVERIFY(caricaDB(*m_store, m_model, m_counters));
    QList<qint64> keys;
    QStringList expected;
    for (int r = m_model.recordCount() - 1; r >= 0; r -= 2) {
        keys << *m_model.key(r);
        expected << m_model.cell(r, Title);
    }
    keys.insert(10, 99999);
    QVERIFY(rebuild(*m_store, m_model, m_counters, keys));
    QStringList titles;
    for (int r = 0; r < m_model.recordCount(); ++r)
        titles << m_model.cell(r, Title);
    QCOMPARE(titles, expected);
}

QTEST_GUILESS_MAIN(TestCatalogueSearch)
#include "tst_cataloguesearch.moc"
