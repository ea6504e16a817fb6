#include "catalogue/cataloguestore.h"
#include "catalogue/modificadb.h"
#include "support/tempcatalogue.h"

#include <QTest>

#include <functional>
#include <memory>

namespace {

const QString k30 = QStringLiteral("123456789012345678901234567890");

using Change = std::function<void(CatalogueRecord &)>;

} // namespace

Q_DECLARE_METATYPE(Change)

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
    void writesNothingWithoutARecord();

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
    QTest::newRow("exact") << "abcd" << 4 << "abcd";
    QTest::newRow("longer") << "20045" << 4 << "2004";
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
    // How the passed record is changed, and how the stored one differs from what was passed.
    QTest::addColumn<Change>("passed");
    QTest::addColumn<Change>("stored");
    const Change none = [](CatalogueRecord &) {
    };
    QTest::newRow("as passed, nothing padded") << none << none;
    QTest::newRow("texts cut to 30, year to 4") << Change([](CatalogueRecord &r) {
        r.titolo = k30 + "X";
        r.autore = k30 + "artist";
        r.album = k30 + k30;
        r.commento = k30 + "  ";
        r.anno = "20045";
    }) << Change([](CatalogueRecord &r) {
        r.titolo = r.autore = r.album = r.commento = k30;
        r.anno = "2004";
    });
    QTest::newRow("null stored as empty text")
        << Change([](CatalogueRecord &r) { r.commento = r.labelD = r.info = QString(); })
        << Change([](CatalogueRecord &r) { r.commento = r.labelD = r.info = ""; });
    QTest::newRow("other fields never cut") << Change([](CatalogueRecord &r) {
        r.genere = "Comteporary Christian and more";
        r.nome = k30 + k30;
        r.percorso = "/" + k30 + "/" + k30 + "/";
        r.labelD = "TRACKLODGE_" + k30;
    }) << none;
}

void TestModificaDB::writesTheRecordWithTheCuts()
{
    QFETCH(Change, passed);
    QFETCH(Change, stored);
    const CatalogueRecord other = *m_store->recordById(m_ids[0]);
    CatalogueRecord record = sampleRecord(QStringLiteral("new"));
    record.id = m_ids[1];
    record.supporto = QStringLiteral("999"); // the medium is never rewritten
    passed(record);

    QCOMPARE(ModificaDB(*m_store, record), CatalogueStore::WriteResult::Done);

    CatalogueRecord expected = record;
    stored(expected);
    expected.supporto = sampleRecord(QStringLiteral("b")).supporto;
    const CatalogueRecord after = *m_store->recordById(m_ids[1]);
    QCOMPARE(after, expected);
    QVERIFY2(!after.commento.isNull() && !after.labelD.isNull(), "never stored as NULL");
    QCOMPARE(*m_store->recordById(m_ids[0]), other);
}

void TestModificaDB::writesNothingWithoutARecord()
{
    const auto before = m_store->allRecords();
    CatalogueRecord record = sampleRecord(QStringLiteral("new"));
    record.id = 999;
    QCOMPARE(ModificaDB(*m_store, record), CatalogueStore::WriteResult::NoSuchRecord);
    QCOMPARE(m_store->allRecords(), before);

    m_store->close();
    record.id = m_ids[0];
    QCOMPARE(ModificaDB(*m_store, record), CatalogueStore::WriteResult::Failed);
    QVERIFY(!m_store->lastError().isEmpty());
}

QTEST_GUILESS_MAIN(TestModificaDB)
#include "tst_modificadb.moc"
