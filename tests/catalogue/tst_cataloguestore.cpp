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
    void createsMissingCatalogue();
    void refusesForeignFile_data();
    void refusesForeignFile();
    void roundTripsQuotedValues_data();
    void roundTripsQuotedValues();
    void keepsNullFields();
    void keysAreNeverReused();
    void findsByNameAndFolder();
    void labelOfSerial();
    void generatedLabelsInTextOrder();
    void update_data();
    void update();
    void writesByMissingKeyChangeNothing();
    void recordsByIdsKeepsOrder();
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

void TestCatalogueStore::createsMissingCatalogue()
{
    TempCatalogue temp;
    QVERIFY(!QFile::exists(temp.path()));
    {
        CatalogueStore store(temp.path());
        QVERIFY2(store.open(), qPrintable(store.lastError()));
        QVERIFY(store.created());
        QCOMPARE(store.allRecords().value().size(), 0);
    }
    // Opened again, the file is a valid catalogue and not created a second time.
    CatalogueStore again(temp.path());
    QVERIFY2(again.open(), qPrintable(again.lastError()));
    QVERIFY(!again.created());
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

void TestCatalogueStore::keepsNullFields()
{
    TempCatalogue temp;
    CatalogueStore store(temp.path());
    QVERIFY(store.open());
    CatalogueRecord r;
    r.nome = QStringLiteral("only a name");
    r.commento = QStringLiteral("");
    const auto id = store.add(r);
    QVERIFY(id);
    const CatalogueRecord back = store.recordById(*id).value();
    QVERIFY(back.titolo.isNull());
    QVERIFY(back.supporto.isNull());
    QVERIFY(back.labelD.isNull());
    QVERIFY2(!back.commento.isNull() && back.commento.isEmpty(), "an empty text is not NULL");
    QCOMPARE(back.nome, r.nome);

    // The whole-catalogue read keeps the difference too.
    const CatalogueRecord all = store.allRecords().value().constFirst();
    QVERIFY(all.titolo.isNull());
    QVERIFY(!all.commento.isNull());
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

void TestCatalogueStore::findsByNameAndFolder()
{
    TempCatalogue temp;
    CatalogueRecord a = sampleRecord(QStringLiteral("brano"));
    CatalogueRecord b = a;
    b.percorso = QStringLiteral("/altro/");
    CatalogueRecord c = a;
    c.nome = QStringLiteral("Brano");
    const QList<qint64> ids = temp.add({a, b, c});
    CatalogueStore store(temp.path());
    QVERIFY(store.open());
    QCOMPARE(store.findByNameAndFolder(a.nome, a.percorso)->id, ids[0]);
    QCOMPARE(store.findByNameAndFolder(b.nome, b.percorso)->id, ids[1]);
    QCOMPARE(store.findByNameAndFolder(c.nome, c.percorso)->id, ids[2]);
    QVERIFY(!store.findByNameAndFolder(a.nome, QStringLiteral("/music/")).has_value());
}

void TestCatalogueStore::labelOfSerial()
{
    TempCatalogue temp;
    CatalogueRecord a = sampleRecord(QStringLiteral("a"));
    a.supporto = QStringLiteral("-1975837651");
    a.labelD = QStringLiteral("ROCK");
    CatalogueRecord b = a;
    b.labelD = QStringLiteral("LATER");
    CatalogueRecord unnamed = sampleRecord(QStringLiteral("c"));
    unnamed.supporto = QStringLiteral("42");
    unnamed.labelD = QString();
    temp.add({a, b, unnamed});
    CatalogueStore store(temp.path());
    QVERIFY(store.open());
    QCOMPARE(store.labelOfSerial(a.supporto).value(), QStringLiteral("ROCK"));
    const auto nullLabel = store.labelOfSerial(QStringLiteral("42"));
    QVERIFY(nullLabel.has_value());
    QVERIFY(nullLabel->isNull());
    QVERIFY(!store.labelOfSerial(QStringLiteral("-19758376")).has_value());
    QVERIFY(store.lastError().isEmpty());
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

void TestCatalogueStore::update()
{
    QFETCH(bool, withMedium);
    TempCatalogue temp;
    const qint64 id = temp.add({sampleRecord(QStringLiteral("old"))}).constFirst();
    CatalogueStore store(temp.path());
    QVERIFY(store.open());
    CatalogueRecord changed = sampleRecord(QStringLiteral("new"));
    changed.id = id;
    changed.genere = QStringLiteral("");
    changed.supporto = QStringLiteral("999");
    QCOMPARE(withMedium ? store.updateWithMedium(changed) : store.update(changed),
             CatalogueStore::WriteResult::Done);
    CatalogueRecord expected = changed;
    if (!withMedium)
        expected.supporto = sampleRecord(QStringLiteral("old")).supporto;
    QCOMPARE(store.recordById(id).value(), expected);
}

void TestCatalogueStore::writesByMissingKeyChangeNothing()
{
    TempCatalogue temp;
    const QList<qint64> ids =
        temp.add({sampleRecord(QStringLiteral("a")), sampleRecord(QStringLiteral("b"))});
    const QByteArray before = fileDigest(temp.path());
    CatalogueStore store(temp.path());
    QVERIFY(store.open());
    CatalogueRecord ghost = sampleRecord(QStringLiteral("ghost"));
    ghost.id = ids.last() + 100;
    QCOMPARE(store.update(ghost), CatalogueStore::WriteResult::NoSuchRecord);
    QCOMPARE(store.updateWithMedium(ghost), CatalogueStore::WriteResult::NoSuchRecord);
    QCOMPARE(store.remove(ghost.id), CatalogueStore::WriteResult::NoSuchRecord);
    QCOMPARE(store.allRecords()->size(), 2);
    store.close();
    QCOMPARE(fileDigest(temp.path()), before);
}

void TestCatalogueStore::recordsByIdsKeepsOrder()
{
    TempCatalogue temp;
    const QList<qint64> ids =
        temp.add({sampleRecord(QStringLiteral("a")), sampleRecord(QStringLiteral("b")),
                  sampleRecord(QStringLiteral("c"))});
    CatalogueStore store(temp.path());
    QVERIFY(store.open());
    const auto records = store.recordsByIds({ids[2], ids[0] + 1000, ids[0], ids[2]});
    QVERIFY(records);
    QCOMPARE(records->size(), 3);
    QCOMPARE(records->at(0).nome, QStringLiteral("c"));
    QCOMPARE(records->at(1).nome, QStringLiteral("a"));
    QCOMPARE(records->at(2).nome, QStringLiteral("c"));
}

void TestCatalogueStore::transactionRollsBackUnlessCommitted()
{
    TempCatalogue temp;
    CatalogueStore store(temp.path());
    QVERIFY(store.open());
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
    QVERIFY(!store.lastError().isEmpty());
    QVERIFY(!store.findByNameAndFolder(r.nome, r.percorso).has_value());
    QVERIFY(!store.lastError().isEmpty());
    QVERIFY(!store.labelOfSerial(r.supporto).has_value());
    QCOMPARE(store.updateWithMedium(r), CatalogueStore::WriteResult::Failed);
    QVERIFY(store.open());
    QCOMPARE(store.findByNameAndFolder(r.nome, r.percorso).value(), r);
    QVERIFY(store.add(sampleRecord(QStringLiteral("b"))).has_value());
    QCOMPARE(store.allRecords()->size(), 2);
}

QTEST_GUILESS_MAIN(TestCatalogueStore)
#include "tst_cataloguestore.moc"
