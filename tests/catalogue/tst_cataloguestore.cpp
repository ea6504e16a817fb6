#include "catalogue/cataloguepath.h"
#include "catalogue/cataloguestore.h"
#include "support/filestate.h"
#include "support/sqlscene.h"
#include "support/storedrecords.h"
#include "support/tempcatalogue.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCatalogueStore : public QObject
{
    Q_OBJECT

private slots:
    void cataloguePathAtTheRoot() { QCOMPARE(cataloguePath(u"/"_s), u"/Mp3Db.mdb"_s); }

    void refusesForeignFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("statement"); // makes an SQLite file instead of the bytes
        QTest::addColumn<QString>("reason");

        QByteArray jet(2048, '\0');
        jet.replace(0, 19, QByteArray("\x00\x01\x00\x00Standard Jet DB", 19));
        QTest::newRow("jet database") << jet << u""_s << u"non è un database SQLite"_s;
        QTest::newRow("empty file") << QByteArray() << u""_s << u"non è un database SQLite"_s;
        QTest::newRow("Mp3 without supporto")
            << QByteArray()
            << u"CREATE TABLE Mp3 (id INTEGER PRIMARY KEY, titolo TEXT, autore TEXT, album TEXT, "_s
               "anno TEXT, genere TEXT, commento TEXT, nome TEXT, percorso TEXT, dimenzione TEXT, "
               "info TEXT, labelD TEXT)"
            << u"manca il campo supporto"_s;
        // SQLite reads both as catalogues, with phantom rows or rows cut short: its check does not.
        TempCatalogue whole;
        QList<CatalogueRecord> records;
        for (int i = 0; i < 2000; ++i)
            records << sampleRecord(QStringLiteral("record %1").arg(i));
        whole.add(records);
        const QByteArray wholeBytes = fileBytes(whole.path());
        QTest::newRow("catalogue cut short")
            << wholeBytes.chopped(1234) << u""_s << u"il file è danneggiato"_s;
        QTest::newRow("catalogue with a page overwritten")
            << QByteArray(wholeBytes).replace(4096 * 20, 4096, QByteArray(4096, '\x5a')) << u""_s
            << u"il file è danneggiato"_s;
    }
    void refusesForeignFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, statement);
        QFETCH(QString, reason);
        TempCatalogue temp;
        if (statement.isEmpty()) {
            QFile file(temp.path());
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        } else {
            QVERIFY(execOn(temp.path(), statement));
        }
        const QByteArray before = fileDigest(temp.path());
        CatalogueStore store(temp.path());
        QVERIFY(!store.open());
        QVERIFY2(store.lastError().contains(temp.path()), qPrintable(store.lastError()));
        QVERIFY2(store.lastError().contains(reason), qPrintable(store.lastError()));
        QVERIFY(!storedRecords(store).has_value());
        QCOMPARE(fileDigest(temp.path()), before);
    }

    void roundTripsQuotedValues()
    {
        const QString value = u"'; DROP TABLE Mp3; --\" 100%_live Кино"_s;
        TempCatalogue temp;
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        CatalogueRecord r = sampleRecord(QStringLiteral("x"));
        r.titolo = r.nome = r.supporto = value;
        r.percorso = QStringLiteral("/musica/") + value + u'/';
        r.id = store.add(r).value();
        QCOMPARE(store.findByNameAndFolder(value, r.percorso), Lookup<CatalogueRecord>::found(r));
        QCOMPARE(store.labelOfSerial(value), Lookup<QString>::found(r.labelD));
        QCOMPARE(storedRecords(store).value(), QList<CatalogueRecord>{r});
        // Wildcards are literal.
        QVERIFY(store.findByNameAndFolder(u"'; DROP TABLE Mp3; --\" 1000live Кино"_s, r.percorso)
                    .isNotFound());
    }

    void storesTextsAsUtf8_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("utf8"); // the bytes in the file
        QTest::addColumn<QString>("readBack");
        QTest::newRow("accents") << u"Perché è così"_s
                                 << QByteArray("Perch\xc3\xa9 \xc3\xa8 cos\xc3\xac")
                                 << u"Perché è così"_s;
        QTest::newRow("three-byte letters")
            << u"Кино €"_s << QByteArray("\xd0\x9a\xd0\xb8\xd0\xbd\xd0\xbe \xe2\x82\xac")
            << u"Кино €"_s;
        QTest::newRow("surrogate pair") << u"a🎵"_s << QByteArray("a\xf0\x9f\x8e\xb5") << u"a🎵"_s;
        // A text cut inside a pair keeps its half as a question mark.
        QTest::newRow("lone high surrogate")
            << (u"cut"_s + QChar(0xD83C)) << QByteArray("cut?") << u"cut?"_s;
        QTest::newRow("lone low surrogate then text")
            << (QString(QChar(0xDFB5)) + u"x"_s) << QByteArray("?x") << u"?x"_s;
        QTest::newRow("empty") << QStringLiteral("") << QByteArray("") << QStringLiteral("");
    }
    // Each field is written as its own UTF-8, read back as written, and handed to the caller of
    // add() as the file holds it.
    void storesTextsAsUtf8()
    {
        QFETCH(QString, written);
        QFETCH(QByteArray, utf8);
        QFETCH(QString, readBack);
        TempCatalogue temp;
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        CatalogueRecord r = sampleRecord(QStringLiteral("x"));
        r.titolo = written;
        r.autore = written + u'|'; // a second field right after in the same buffer
        QByteArray handed;
        r.id = store
                   .add(r,
                        [&handed](const RecordView &view) {
                            handed =
                                view.fields[0].toByteArray() + '/' + view.fields[1].toByteArray();
                        })
                   .value();
        QCOMPARE(handed, utf8 + '/' + utf8 + '|');
        const Lookup<CatalogueRecord> back = store.recordById(r.id);
        QVERIFY(back.isFound());
        QCOMPARE(back->titolo, readBack);
        QCOMPARE(back->autore, readBack + u'|');
        QVERIFY(!back->titolo.isNull());
    }

    // Name and folder match exactly (letter case counts); a medium's label is its first
    // record's; records by keys keep the order asked for, repeats included, and leave out
    // missing keys.
    void lookups()
    {
        TempCatalogue temp;
        CatalogueRecord a = sampleRecord(QStringLiteral("brano"));
        CatalogueRecord b = a;
        b.labelD = QStringLiteral("LATER");
        CatalogueRecord c = sampleRecord(QStringLiteral("Brano"));
        c.percorso = a.percorso;
        const QList<qint64> ids = temp.add({a, b, c});
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        QCOMPARE(store.findByNameAndFolder(c.nome, c.percorso)->id, ids[2]);
        QVERIFY(store.findByNameAndFolder(a.nome, QStringLiteral("/music/")).isNotFound());
        QCOMPARE(store.labelOfSerial(a.supporto).value(), a.labelD);
        QVERIFY(store.labelOfSerial(QStringLiteral("-1234")).isNotFound());
        const auto records = storedRecordsByIds(store, {ids[2], ids[0] + 1000, ids[0], ids[2]});
        QCOMPARE(records.value(),
                 (QList<CatalogueRecord>{*store.recordById(ids[2]), *store.recordById(ids[0]),
                                         *store.recordById(ids[2])}));
    }

    void lookupAnswers_data()
    {
        QTest::addColumn<QString>("lookup");
        QTest::addColumn<QString>("scene");
        QTest::addColumn<int>("status");
        const int found = int(Lookup<CatalogueRecord>::Status::Found);
        const int notFound = int(Lookup<CatalogueRecord>::Status::NotFound);
        const int failed = int(Lookup<CatalogueRecord>::Status::Failed);
        for (const char *lookup :
             {"record by key", "record by name and folder", "label of serial"}) {
            const auto row = [lookup](const char *scene) -> QTestData & {
                return QTest::addRow("%s, %s", lookup, scene)
                       << QString::fromLatin1(lookup) << QString::fromLatin1(scene);
            };
            row("stored") << found;
            row("not stored") << notFound;
            row("store closed") << failed;
            row("table renamed by another program") << failed;
        }
        // A medium whose first record has no label is still a known medium.
        QTest::newRow("label of serial, NULL label")
            << u"label of serial"_s << u"null label"_s << found;
    }
    // Finding nothing is an answer of its own, apart from a failure: only a failure sets
    // lastError().
    void lookupAnswers()
    {
        QFETCH(QString, lookup);
        QFETCH(QString, scene);
        QFETCH(int, status);
        TempCatalogue temp;
        CatalogueRecord r = sampleRecord(QStringLiteral("brano"));
        if (scene == u"null label")
            r.labelD = QString();
        r.id = temp.add({r}).constFirst();
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        // A look-up of the stored record first, so that its statement is kept prepared.
        QVERIFY(store.recordById(r.id).isFound() && store.labelOfSerial(r.supporto).isFound() &&
                store.findByNameAndFolder(r.nome, r.percorso).isFound());
        if (scene == u"store closed")
            store.close();
        if (scene == u"table renamed by another program")
            QVERIFY(execOn(temp.path(), u"ALTER TABLE Mp3 RENAME TO Mp3Old"_s));
        const bool absent = scene == u"not stored";
        int answer = -1;
        if (lookup == u"record by key") {
            const Lookup<CatalogueRecord> got = store.recordById(absent ? r.id + 1 : r.id);
            answer = int(got.status());
            if (got.isFound())
                QCOMPARE(got.value(), r);
        } else if (lookup == u"record by name and folder") {
            const Lookup<CatalogueRecord> got =
                store.findByNameAndFolder(absent ? r.nome + u'x' : r.nome, r.percorso);
            answer = int(got.status());
            if (got.isFound())
                QCOMPARE(got.value(), r);
        } else {
            const Lookup<QString> got =
                store.labelOfSerial(absent ? r.supporto + u'9' : r.supporto);
            answer = int(got.status());
            if (got.isFound()) {
                QCOMPARE(got.value(), r.labelD);
                QCOMPARE(got->isNull(), r.labelD.isNull());
            }
        }
        QCOMPARE(answer, status);
        QCOMPARE(store.lastError().isEmpty(),
                 status != int(Lookup<CatalogueRecord>::Status::Failed));
    }

    void generatedLabelsInTextOrder()
    {
        TempCatalogue temp;
        QList<CatalogueRecord> records;
        for (const char *label : {"TRACKLODGE_9", "TRACKLODGE_10", "ROCK", "TRACKLODGE_2",
                                  "TRACKLODGEX3", "tracklodge_4", "MY TRACKLODGE_5"}) {
            records << sampleRecord(QString::fromLatin1(label));
            records.last().labelD = QString::fromLatin1(label);
        }
        temp.add(records);
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        // The underscore is literal; the match ignores case as the old engine's did.
        QCOMPARE(store.generatedLabels().value(),
                 (QStringList{"TRACKLODGE_10", "TRACKLODGE_2", "TRACKLODGE_9", "tracklodge_4"}));
    }

    void update_data()
    {
        QTest::addColumn<bool>("withMedium");
        QTest::newRow("eleven fields, serial kept") << false;
        QTest::newRow("with the medium, serial written") << true;
    }
    // An update writes the record of its key (a key of no record: see the ModificaDB test).
    void update()
    {
        QFETCH(bool, withMedium);
        TempCatalogue temp;
        const qint64 id = temp.add({sampleRecord(QStringLiteral("old"))}).constFirst();
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        CatalogueRecord changed = sampleRecord(QStringLiteral("new"));
        changed.supporto = QStringLiteral("999");
        changed.titolo = QString(); // NULL stays NULL, an empty text stays empty
        changed.genere = QStringLiteral("");
        changed.id = id;
        QCOMPARE(withMedium ? store.updateWithMedium(changed) : store.update(changed),
                 CatalogueStore::WriteResult::Done);
        CatalogueRecord expected = changed;
        if (!withMedium)
            expected.supporto = sampleRecord(QStringLiteral("old")).supporto;
        const CatalogueRecord back = storedRecords(store).value().constFirst();
        QCOMPARE(back, expected);
        QVERIFY(back.titolo.isNull() && !back.genere.isNull());
    }

    // A closed store fails and makes no file; closing lets go of the statements kept prepared;
    // keys are never given twice, not even the deleted last one.
    void closingAndReopening()
    {
        TempCatalogue temp;
        CatalogueStore store(temp.path());
        QVERIFY(!store.add(sampleRecord(QStringLiteral("a"))).has_value());
        QVERIFY(!QFile::exists(temp.path()));
        QVERIFY(store.open());
        CatalogueRecord r = sampleRecord(QStringLiteral("a"));
        r.id = store.add(r).value();
        const qint64 second = store.add(sampleRecord(QStringLiteral("b"))).value();
        QCOMPARE(store.remove(second), CatalogueStore::WriteResult::Done);
        QVERIFY(store.findByNameAndFolder(r.nome, r.percorso).isFound());
        store.close();
        QVERIFY(store.findByNameAndFolder(r.nome, r.percorso).isFailed());
        QVERIFY(store.open());
        QCOMPARE(store.findByNameAndFolder(r.nome, r.percorso).value(), r);
        QVERIFY2(store.add(sampleRecord(QStringLiteral("c"))).value() > second,
                 "the key of a deleted last record is given again");
    }
};

QTEST_GUILESS_MAIN(TestCatalogueStore)
#include "tst_cataloguestore.moc"
