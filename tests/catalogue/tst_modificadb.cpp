#include "catalogue/cataloguestore.h"
#include "catalogue/modificadb.h"
#include "support/tempcatalogue.h"

#include <QTest>

#include <memory>

namespace {

// The twelve values in ModificaDB's order, without the key.
struct Values
{
    QString title, artist, album, year, comment, genre, state, name, folder, size, label;
    bool operator==(const Values &) const = default;
};

Values valuesOf(const CatalogueRecord &r)
{
    return {r.titolo, r.autore, r.album,    r.anno,       r.commento, r.genere,
            r.info,   r.nome,   r.percorso, r.dimenzione, r.labelD};
}

char *toString(const Values &v)
{
    return QTest::toString(QStringList{v.title, v.artist, v.album, v.year, v.comment, v.genre,
                                       v.state, v.name, v.folder, v.size, v.label}
                               .join(u'|'));
}

CatalogueStore::WriteResult modifica(CatalogueStore &store, const Values &v, const QString &id)
{
    return ModificaDB(store, v.title, v.artist, v.album, v.year, v.comment, v.genre, v.state,
                      v.name, v.folder, v.size, v.label, id);
}

const QString k30 = QStringLiteral("123456789012345678901234567890");

} // namespace

Q_DECLARE_METATYPE(Values)

class TestModificaDB : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstCharacters_data();
    void firstCharacters();
    void writesTheRecordWithTheCuts_data();
    void writesTheRecordWithTheCuts();
    void keyOfNoRecordWritesNothing_data();
    void keyOfNoRecordWritesNothing();
    void failsOnAClosedCatalogue();

private:
    std::unique_ptr<TempCatalogue> m_temp;
    std::unique_ptr<CatalogueStore> m_store;
    QList<qint64> m_ids;
};

void TestModificaDB::init()
{
    m_temp = std::make_unique<TempCatalogue>();
    m_ids = m_temp->add({sampleRecord(QStringLiteral("a")), sampleRecord(QStringLiteral("b"))});
    m_store = std::make_unique<CatalogueStore>(m_temp->path());
    QVERIFY(m_store->open());
}

void TestModificaDB::cleanup()
{
    m_store.reset();
    m_temp.reset();
}

void TestModificaDB::firstCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    QTest::newRow("shorter") << "abc" << 4 << "abc";
    QTest::newRow("exact") << "abcd" << 4 << "abcd";
    QTest::newRow("longer") << "20045" << 4 << "2004";
    QTest::newRow("empty") << "" << 30 << "";
    QTest::newRow("trailing blanks count") << "ab  " << 3 << "ab ";
    QTest::newRow("pair never split") << QString::fromUtf8("abc\xF0\x9F\x8E\xB5") << 4
                                      << QString::fromUtf8("abc\xF0\x9F\x8E\xB5");
    QTest::newRow("pair counts as one")
        << QString::fromUtf8("\xF0\x9F\x8E\xB5xyz") << 2 << QString::fromUtf8("\xF0\x9F\x8E\xB5x");
}

void TestModificaDB::firstCharacters()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(QString, expected);
    QCOMPARE(::firstCharacters(text, count), expected);
}

void TestModificaDB::writesTheRecordWithTheCuts_data()
{
    QTest::addColumn<Values>("passed");
    QTest::addColumn<Values>("stored");
    const Values plain{"Titolo", "Autore", "Album", "1999",      "Commento",
                       "Rock",   "OK",     "brano", "/music/x/", "            4,321 KB",
                       "DISCO"};
    QTest::newRow("short values as passed, nothing padded") << plain << plain;

    Values longTexts = plain;
    longTexts.title = k30 + "X";
    longTexts.artist = k30 + "artist";
    longTexts.album = k30 + k30;
    longTexts.comment = k30 + "  ";
    Values cut = plain;
    cut.title = cut.artist = cut.album = cut.comment = k30;
    QTest::newRow("texts cut to 30") << longTexts << cut;

    Values year = plain;
    year.year = "20045";
    Values year4 = plain;
    year4.year = "2004";
    QTest::newRow("year cut to 4") << year << year4;

    // How a text is cut (pairs, blanks, short texts) is firstCharacters' rule, above.
    Values null = plain;
    null.comment = QString();
    null.label = QString();
    Values nullStored = plain;
    nullStored.comment = "";
    nullStored.label = "";
    QTest::newRow("null values stored as empty text") << null << nullStored;

    Values uncut = plain;
    uncut.genre = "Comteporary Christian and more";
    uncut.state = "Nessun TAG ID3";
    uncut.name = k30 + k30;
    uncut.folder = "/" + k30 + "/" + k30 + "/";
    uncut.label = "TRACKLODGE_" + k30;
    QTest::newRow("other fields never cut") << uncut << uncut;
}

void TestModificaDB::writesTheRecordWithTheCuts()
{
    QFETCH(Values, passed);
    QFETCH(Values, stored);
    const CatalogueRecord before = *m_store->recordById(m_ids[1]);
    const CatalogueRecord other = *m_store->recordById(m_ids[0]);

    QCOMPARE(modifica(*m_store, passed, QString::number(m_ids[1])),
             CatalogueStore::WriteResult::Done);

    const CatalogueRecord after = *m_store->recordById(m_ids[1]);
    QCOMPARE(after.id, before.id);
    QCOMPARE(after.supporto, before.supporto);
    QCOMPARE(valuesOf(after), stored);
    for (const QString *field :
         {&after.titolo, &after.autore, &after.album, &after.anno, &after.commento, &after.genere,
          &after.info, &after.nome, &after.percorso, &after.dimenzione, &after.labelD})
        QVERIFY2(!field->isNull(), "never stored as NULL");
    QCOMPARE(*m_store->recordById(m_ids[0]), other);
}

void TestModificaDB::keyOfNoRecordWritesNothing_data()
{
    QTest::addColumn<QString>("id");
    QTest::newRow("key of no record") << "999";
    QTest::newRow("not a number") << "12a";
    QTest::newRow("empty") << "";
    QTest::newRow("blank") << " ";
}

void TestModificaDB::keyOfNoRecordWritesNothing()
{
    QFETCH(QString, id);
    const auto before = m_store->allRecords();
    QCOMPARE(
        modifica(*m_store, Values{"T", "A", "B", "1", "C", "", "OK", "n", "/f/", "s", "l"}, id),
        CatalogueStore::WriteResult::NoSuchRecord);
    QCOMPARE(m_store->allRecords(), before);
}

void TestModificaDB::failsOnAClosedCatalogue()
{
    m_store->close();
    QCOMPARE(modifica(*m_store, Values{"T", "A", "B", "1", "C", "", "OK", "n", "/f/", "s", "l"},
                      QString::number(m_ids[0])),
             CatalogueStore::WriteResult::Failed);
    QVERIFY(!m_store->lastError().isEmpty());
}

QTEST_GUILESS_MAIN(TestModificaDB)
#include "tst_modificadb.moc"
