#include "catalogue/cataloguestore.h"
#include "catalogue/modificadb.h"
#include "support/tempcatalogue.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestModificaDB : public QObject
{
    Q_OBJECT

private slots:
    void firstCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("expected");
        QTest::newRow("trailing blanks count") << u"ab  "_s << 3 << u"ab "_s;
        QTest::newRow("pair never split") << u"abc\U0001F3B5"_s << 4 << u"abc\U0001F3B5"_s;
        QTest::newRow("pair counts as one") << u"\U0001F3B5xyz"_s << 2 << u"\U0001F3B5x"_s;
    }
    void firstCharacters()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        QFETCH(QString, expected);
        QCOMPARE(::firstCharacters(text, count), expected);
    }

    // Title, artist, album and comment cut to 30 characters, the year to 4, then without trailing
    // blanks; NULL stored as an empty text; the other fields never cut, the medium never rewritten,
    // other records untouched.
    void writesTheRecordWithTheCuts()
    {
        const QString k30 = u"123456789012345678901234567890"_s;
        TempCatalogue temp;
        const QList<qint64> ids = temp.add({sampleRecord(u"a"_s), sampleRecord(u"b"_s)});
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        const CatalogueRecord other = *store.recordById(ids[0]);
        CatalogueRecord record = sampleRecord(u"new"_s);
        record.id = ids[1];
        record.titolo = k30 + u'X';
        record.autore = k30 + k30;
        record.commento = k30 + u"  "_s;
        // Trailing blanks go after the cut: no tag can carry them back.
        record.album = u"12345678901234567890123456789 tail"_s;
        record.anno = u"20045"_s;
        record.labelD = record.info = QString();
        record.genere = u"Comteporary Christian and more"_s;
        record.nome = record.percorso = k30 + k30;
        record.supporto = u"999"_s;
        QCOMPARE(ModificaDB(store, record), CatalogueStore::WriteResult::Done);

        CatalogueRecord expected = record;
        expected.titolo = expected.autore = expected.commento = k30;
        expected.anno = u"2004"_s;
        expected.album = u"12345678901234567890123456789"_s;
        expected.labelD = expected.info = u""_s;
        expected.supporto = sampleRecord(u"b"_s).supporto;
        const CatalogueRecord after = *store.recordById(ids[1]);
        QCOMPARE(after, expected);
        QVERIFY2(!after.labelD.isNull() && !after.info.isNull(), "never stored as NULL");
        QCOMPARE(*store.recordById(ids[0]), other);

        record.id = 999;
        QCOMPARE(ModificaDB(store, record), CatalogueStore::WriteResult::NoSuchRecord);
        store.close();
        QCOMPARE(ModificaDB(store, expected), CatalogueStore::WriteResult::Failed);
    }
};

QTEST_GUILESS_MAIN(TestModificaDB)
#include "tst_modificadb.moc"
