#include "catalogue/cataloguepath.h"
#include "catalogue/cataloguestore.h"
#include "support/filestate.h"
#include "support/sqlscene.h"
#include "support/tempcatalogue.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The bytes of a real catalogue of 2,000 records.
QByteArray catalogueBytes()
{
    TempCatalogue temp;
    QList<CatalogueRecord> records;
    for (int i = 0; i < 2000; ++i)
        records << sampleRecord(QStringLiteral("record %1").arg(i));
    temp.add(records);
    return fileBytes(temp.path());
}

} // namespace

class TestCatalogueStore : public QObject
{
    Q_OBJECT

private slots:
    void cataloguePathJoinsFolderAndName_data();
    void cataloguePathJoinsFolderAndName();
    void refusesForeignFile_data();
    void refusesForeignFile();
    void roundTripsQuotedValues_data();
    void roundTripsQuotedValues();
    void keysAreNeverReused();
    void lookups();
    void generatedLabelsInTextOrder();
    void update_data();
    void update();
    void transactionRollsBackUnlessCommitted();
    void failsCleanlyWhenClosed();
};

void TestCatalogueStore::cataloguePathJoinsFolderAndName_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("folder") << u"/home/ada/musica"_s << u"/home/ada/musica/Mp3Db.mdb"_s;
    QTest::newRow("trailing slash") << u"/home/ada/"_s << u"/home/ada/Mp3Db.mdb"_s;
    QTest::newRow("root has no doubled separator") << u"/"_s << u"/Mp3Db.mdb"_s;
}

void TestCatalogueStore::cataloguePathJoinsFolderAndName()
{
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    QCOMPARE(cataloguePath(folder), expected);
}

void TestCatalogueStore::refusesForeignFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("statement"); // makes an SQLite file instead of the bytes
    QTest::addColumn<QString>("reason");

    QByteArray jet(2048, '\0');
    jet.replace(0, 19, QByteArray("\x00\x01\x00\x00Standard Jet DB", 19));
    QTest::newRow("jet database") << jet << u""_s << u"non è un database SQLite"_s;
    QTest::newRow("empty file") << QByteArray() << u""_s << u"non è un database SQLite"_s;
    QByteArray damaged("SQLite format 3");
    damaged.append('\0');
    damaged.append(QByteArray(200, '\x7f'));
    QTest::newRow("damaged sqlite header") << damaged << u""_s << u"non è un database SQLite"_s;
    QTest::newRow("sqlite without Mp3")
        << QByteArray() << u"CREATE TABLE other (x TEXT)"_s << u"manca la tabella Mp3"_s;
    QTest::newRow("Mp3 without supporto")
        << QByteArray()
        << u"CREATE TABLE Mp3 (id INTEGER PRIMARY KEY, titolo TEXT, autore TEXT, album TEXT, "_s
           "anno TEXT, genere TEXT, commento TEXT, nome TEXT, percorso TEXT, dimenzione TEXT, "
           "info TEXT, labelD TEXT)"
        << u"manca il campo supporto"_s;
    // SQLite reads both as catalogues, with phantom rows or rows cut short: its check does not.
    const QByteArray whole = catalogueBytes();
    QTest::newRow("catalogue cut short")
        << whole.chopped(1234) << u""_s << u"il file è danneggiato"_s;
    QByteArray overwritten = whole;
    overwritten.replace(4096 * 20, 4096, QByteArray(4096, '\x5a'));
    QTest::newRow("catalogue with a page overwritten")
        << overwritten << u""_s << u"il file è danneggiato"_s;
}

void TestCatalogueStore::refusesForeignFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, statement);
    QFETCH(QString, reason);
    TempCatalogue temp;
    if (statement.isEmpty())
        writeBytes(temp.path(), bytes);
    else
        QVERIFY(execOn(temp.path(), statement));
    const QByteArray before = fileDigest(temp.path());
    const qint64 sizeBefore = QFileInfo(temp.path()).size();

    CatalogueStore store(temp.path());
    QVERIFY(!store.open());
    QVERIFY(!store.isOpen());
    QVERIFY2(store.lastError().contains(temp.path()), qPrintable(store.lastError()));
    QVERIFY2(store.lastError().contains(reason), qPrintable(store.lastError()));
    QVERIFY(!store.allRecords().has_value());

    QCOMPARE(QFileInfo(temp.path()).size(), sizeBefore);
    QCOMPARE(fileDigest(temp.path()), before);
}

void TestCatalogueStore::roundTripsQuotedValues_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("both quotes and semicolon") << u"'; DROP TABLE Mp3; --\""_s;
    QTest::newRow("jet wildcard") << u"Rock*"_s;
    QTest::newRow("sql wildcards") << u"100%_live"_s;
    QTest::newRow("non latin") << u"Кино – Группа крови"_s;
    QTest::newRow("empty") << u""_s;
}

void TestCatalogueStore::roundTripsQuotedValues()
{
    QFETCH(QString, value);
    TempCatalogue temp;
    CatalogueStore store(temp.path());
    QVERIFY(store.open());
    CatalogueRecord r = sampleRecord(QStringLiteral("x"));
    r.titolo = r.autore = r.nome = value;
    r.percorso = QStringLiteral("/musica/") + value + u'/';
    r.supporto = value;
    const auto id = store.add(r);
    QVERIFY2(id, qPrintable(store.lastError()));
    r.id = *id;

    QCOMPARE(store.recordById(*id).value(), r);
    QCOMPARE(store.findByNameAndFolder(value, r.percorso).value(), r);
    QCOMPARE(store.labelOfSerial(value).value(), r.labelD);
    QCOMPARE(store.allRecords().value(), QList<CatalogueRecord>{r});
    QVERIFY(!store.findByNameAndFolder(value + u'x', r.percorso).has_value());
    QVERIFY(store.lastError().isEmpty());
}

void TestCatalogueStore::keysAreNeverReused()
{
    TempCatalogue temp;
    CatalogueStore store(temp.path());
    QVERIFY(store.open());
    const qint64 first = store.add(sampleRecord(QStringLiteral("a"))).value();
    const qint64 second = store.add(sampleRecord(QStringLiteral("b"))).value();
    QVERIFY(second > first);
    QCOMPARE(store.remove(second), CatalogueStore::WriteResult::Done);
    store.close();
    QVERIFY(store.open());
    const qint64 third = store.add(sampleRecord(QStringLiteral("c"))).value();
    QVERIFY2(third > second, "the key of a deleted last record is given again");
}

// Name and folder match exactly (letter case counts); a medium's label is its first record's;
// records by keys keep the order asked for, repeats included, and leave out missing keys.
void TestCatalogueStore::lookups()
{
    TempCatalogue temp;
    CatalogueRecord a = sampleRecord(QStringLiteral("brano"));
    a.supporto = QStringLiteral("-1975837651");
    CatalogueRecord b = a;
    b.percorso = QStringLiteral("/altro/");
    b.labelD = QStringLiteral("LATER");
    CatalogueRecord c = sampleRecord(QStringLiteral("Brano"));
    c.percorso = a.percorso;
    c.supporto = QStringLiteral("42");
    c.labelD = QString();
    const QList<qint64> ids = temp.add({a, b, c});
    CatalogueStore store(temp.path());
    QVERIFY(store.open());
    QCOMPARE(store.findByNameAndFolder(a.nome, a.percorso)->id, ids[0]);
    QCOMPARE(store.findByNameAndFolder(b.nome, b.percorso)->id, ids[1]);
    QCOMPARE(store.findByNameAndFolder(c.nome, c.percorso)->id, ids[2]);
    QVERIFY(!store.findByNameAndFolder(a.nome, QStringLiteral("/music/")).has_value());
    QCOMPARE(store.labelOfSerial(a.supporto).value(), a.labelD);
    QVERIFY(store.labelOfSerial(QStringLiteral("42")).value().isNull());
    QVERIFY(!store.labelOfSerial(QStringLiteral("-19758376")).has_value());
    QVERIFY(store.lastError().isEmpty());
    const auto records = store.recordsByIds({ids[2], ids[0] + 1000, ids[0], ids[2]});
    QCOMPARE(records.value(),
             (QList<CatalogueRecord>{*store.recordById(ids[2]), *store.recordById(ids[0]),
                                     *store.recordById(ids[2])}));
}

void TestCatalogueStore::generatedLabelsInTextOrder()
{
    TempCatalogue temp;
    QList<CatalogueRecord> records;
    for (const char *label : {"TRACKLODGE_9", "TRACKLODGE_10", "ROCK", "TRACKLODGE_2",
                              "TRACKLODGEX3", "tracklodge_4", "MY TRACKLODGE_5"}) {
        CatalogueRecord r = sampleRecord(QString::fromLatin1(label));
        r.labelD = QString::fromLatin1(label);
        records << r;
    }
    temp.add(records);
    CatalogueStore store(temp.path());
    QVERIFY(store.open());
    // The underscore is literal; the match ignores case as the old engine's did.
    QCOMPARE(store.generatedLabels().value(),
             (QStringList{"TRACKLODGE_10", "TRACKLODGE_2", "TRACKLODGE_9", "tracklodge_4"}));
}

void TestCatalogueStore::update_data()
{
    QTest::addColumn<bool>("withMedium");
    QTest::newRow("eleven fields, serial kept") << false;
    QTest::newRow("with the medium, serial written") << true;
}

// An update writes the record of its key; a key of no record changes nothing in the file.
void TestCatalogueStore::update()
{
    QFETCH(bool, withMedium);
    TempCatalogue temp;
    const qint64 id = temp.add({sampleRecord(QStringLiteral("old"))}).constFirst();
    const QByteArray before = fileDigest(temp.path());
    CatalogueStore store(temp.path());
    QVERIFY(store.open());
    CatalogueRecord changed = sampleRecord(QStringLiteral("new"));
    changed.supporto = QStringLiteral("999");
    changed.titolo = QString(); // NULL stays NULL, an empty text stays empty
    changed.genere = QStringLiteral("");
    const auto write = [&] {
        return withMedium ? store.updateWithMedium(changed) : store.update(changed);
    };
    changed.id = id + 100;
    QCOMPARE(write(), CatalogueStore::WriteResult::NoSuchRecord);
    QCOMPARE(store.remove(changed.id), CatalogueStore::WriteResult::NoSuchRecord);
    store.close();
    QCOMPARE(fileDigest(temp.path()), before);
    QVERIFY(store.open());
    changed.id = id;
    QCOMPARE(write(), CatalogueStore::WriteResult::Done);
    CatalogueRecord expected = changed;
    if (!withMedium)
        expected.supporto = sampleRecord(QStringLiteral("old")).supporto;
    const CatalogueRecord back = store.allRecords().value().constFirst();
    QCOMPARE(back, expected);
    QVERIFY(back.titolo.isNull() && !back.genere.isNull());
}

void TestCatalogueStore::transactionRollsBackUnlessCommitted()
{
    TempCatalogue temp;
    CatalogueStore store(temp.path());
    QVERIFY(store.open());
    QVERIFY(store.created());
    {
        CatalogueStore::Transaction transaction(store);
        QVERIFY(transaction.isActive());
        QVERIFY(store.add(sampleRecord(QStringLiteral("dropped"))));
    }
    QCOMPARE(store.allRecords()->size(), 0);
    {
        CatalogueStore::Transaction transaction(store);
        QVERIFY(store.add(sampleRecord(QStringLiteral("kept"))));
        QVERIFY(transaction.commit());
    }
    store.close();
    QVERIFY(store.open());
    QVERIFY(!store.created());
    QCOMPARE(store.allRecords()->size(), 1);
}

void TestCatalogueStore::failsCleanlyWhenClosed()
{
    TempCatalogue temp;
    CatalogueStore store(temp.path());
    QVERIFY(!store.allRecords().has_value());
    QVERIFY(!store.lastError().isEmpty());
    QVERIFY(!store.add(sampleRecord(QStringLiteral("a"))).has_value());
    QCOMPARE(store.remove(1), CatalogueStore::WriteResult::Failed);
    QVERIFY(!QFile::exists(temp.path()));
    // The statements used once are kept prepared; closing must let go of them.
    QVERIFY(store.open());
    CatalogueRecord r = sampleRecord(QStringLiteral("a"));
    r.id = store.add(r).value();
    QVERIFY(store.findByNameAndFolder(r.nome, r.percorso).has_value());
    QVERIFY(store.labelOfSerial(r.supporto).has_value());
    QCOMPARE(store.updateWithMedium(r), CatalogueStore::WriteResult::Done);
    store.close();
    QVERIFY(!store.add(r).has_value());
    QVERIFY(!store.findByNameAndFolder(r.nome, r.percorso).has_value());
    QVERIFY(!store.labelOfSerial(r.supporto).has_value());
    QCOMPARE(store.updateWithMedium(r), CatalogueStore::WriteResult::Failed);
    QVERIFY(!store.lastError().isEmpty());
    QVERIFY(store.open());
    QCOMPARE(store.findByNameAndFolder(r.nome, r.percorso).value(), r);
    QVERIFY(store.add(sampleRecord(QStringLiteral("b"))).has_value());
    QCOMPARE(store.allRecords()->size(), 2);
}

QTEST_GUILESS_MAIN(TestCatalogueStore)
#include "tst_cataloguestore.moc"
