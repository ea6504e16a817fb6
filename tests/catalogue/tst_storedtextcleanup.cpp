#include "catalogue/cataloguestore.h"
#include "catalogue/storedtextcleanup.h"
#include "support/filestate.h"
#include "support/printers.h"
#include "support/sqlscene.h"
#include "support/tempcatalogue.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kNul(1, QChar(0));

QString nuls(int count)
{
    return kNul.repeated(count);
}

// The records earlier versions imported from files whose tags are padded with NULs: every field
// as it was read, NULs and an ID3v1.1 track byte included, the label taken from such a comment.
CatalogueRecord importedWithNuls(const QString &stem)
{
    CatalogueRecord r = sampleRecord(stem);
    r.titolo = u"Perché"_s + nuls(24);
    r.autore = u"Lucio Dalla  "_s + nuls(17);
    r.album = nuls(30);
    r.anno = u"1980"_s;
    r.commento = u"Note"_s + nuls(25) + QChar(7);
    r.labelD = u"Disco"_s + nuls(25);
    r.genere = QString();
    return r;
}

// A catalogue as earlier versions left it: no mark of a cleaned catalogue.
bool unmark(const QString &path)
{
    return execOn(path, u"PRAGMA user_version = 0"_s);
}

} // namespace

class TestStoredTextCleanup : public QObject
{
    Q_OBJECT

private slots:
    void cleanedRecord_data()
    {
        QTest::addColumn<CatalogueRecord>("stored");
        QTest::addColumn<CatalogueRecord>("cleaned");
        const CatalogueRecord plain = sampleRecord(u"a"_s);
        const auto with = [&plain](QString CatalogueRecord::*field, const QString &value) {
            CatalogueRecord r = plain;
            r.*field = value;
            return r;
        };
        QTest::newRow("clean record unchanged") << plain << plain;
        QTest::newRow("NUL padding cut") << with(&CatalogueRecord::autore, u"Dalla"_s + nuls(25))
                                         << with(&CatalogueRecord::autore, u"Dalla"_s);
        QTest::newRow("blanks before the NULs go")
            << with(&CatalogueRecord::album, u"Album   "_s + nuls(22))
            << with(&CatalogueRecord::album, u"Album"_s);
        QTest::newRow("blanks of a text without NUL stay")
            << with(&CatalogueRecord::album, u"  Album  "_s)
            << with(&CatalogueRecord::album, u"  Album  "_s);
        QTest::newRow("text after the first NUL goes")
            << with(&CatalogueRecord::commento, u"Nota"_s + kNul + u"x"_s + nuls(3) + QChar(9))
            << with(&CatalogueRecord::commento, u"Nota"_s);
        QTest::newRow("title of NULs takes the file name")
            << with(&CatalogueRecord::titolo, nuls(30)) << with(&CatalogueRecord::titolo, u"a"_s);
        QTest::newRow("NUL label cut") << with(&CatalogueRecord::labelD, u"CD"_s + nuls(28))
                                       << with(&CatalogueRecord::labelD, u"CD"_s);
        QTest::newRow("NULL genre is the empty text")
            << with(&CatalogueRecord::genere, QString()) << with(&CatalogueRecord::genere, u""_s);
        QTest::newRow("blank genre is the empty text")
            << with(&CatalogueRecord::genere, u" "_s) << with(&CatalogueRecord::genere, u""_s);
        QTest::newRow("NULL title stays NULL") << with(&CatalogueRecord::titolo, QString())
                                               << with(&CatalogueRecord::titolo, QString());
    }

    void cleanedRecord()
    {
        QFETCH(CatalogueRecord, stored);
        QFETCH(CatalogueRecord, cleaned);
        const CatalogueRecord got = ::cleanedRecord(stored);
        QCOMPARE(got, cleaned);
        QCOMPARE(got.titolo.isNull(), cleaned.titolo.isNull());
        QVERIFY(!got.genere.isNull());
    }

    // A catalogue of earlier versions: the records holding NULs or a NULL genre are rewritten in
    // one go, the others left byte for byte, and the catalogue is marked so that the next start
    // neither searches nor writes.
    void cleansOnceAndMarks()
    {
        TempCatalogue temp;
        CatalogueRecord blankGenre = sampleRecord(u"c"_s);
        blankGenre.genere = u" "_s;
        const QList<qint64> keys =
            temp.add({sampleRecord(u"a"_s), importedWithNuls(u"b"_s), blankGenre});
        QVERIFY(unmark(temp.path()));
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        const CatalogueRecord untouched = *store.recordById(keys[0]);

        const TextCleanup cleanup = cleanStoredTexts(store);
        QVERIFY2(cleanup.ok(), qPrintable(cleanup.error));
        QCOMPARE(cleanup.cleaned, 2);
        QCOMPARE(*store.recordById(keys[0]), untouched);
        CatalogueRecord expected = importedWithNuls(u"b"_s);
        expected.id = keys[1];
        expected.titolo = u"Perché"_s;
        expected.autore = u"Lucio Dalla"_s;
        expected.album = u""_s;
        expected.commento = u"Note"_s;
        expected.labelD = u"Disco"_s;
        expected.genere = u""_s;
        QCOMPARE(*store.recordById(keys[1]), expected);
        QCOMPARE(store.recordById(keys[2])->genere, u""_s);

        // Marked: a record that somehow holds a NUL now is not looked for again.
        store.close();
        QVERIFY(execOn(temp.path(),
                       u"UPDATE Mp3 SET titolo = 'x' || char(0) WHERE id = %1"_s.arg(keys[0])));
        QVERIFY(store.open());
        const QByteArray before = fileDigest(temp.path());
        QCOMPARE(cleanStoredTexts(store).cleaned, 0);
        QCOMPARE(fileDigest(temp.path()), before);
    }

    // A catalogue this version made is marked from the start: nothing to search, nothing to write.
    void newCatalogueIsMarked()
    {
        TempCatalogue temp;
        temp.add({sampleRecord(u"a"_s)});
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        QCOMPARE(store.textsCleaned(), std::optional<bool>(true));
        const QByteArray before = fileDigest(temp.path());
        QVERIFY(cleanStoredTexts(store).ok());
        QCOMPARE(fileDigest(temp.path()), before);
    }

    // A rewrite the catalogue refuses leaves every record as it was and the catalogue unmarked,
    // with one Italian message.
    void failureChangesNothing()
    {
        TempCatalogue temp;
        const QList<qint64> keys = temp.add({importedWithNuls(u"a"_s), importedWithNuls(u"b"_s)});
        QVERIFY(unmark(temp.path()));
        QVERIFY(refuseOn(temp.path(), "UPDATE", u"old.id = %1"_s.arg(keys[1])));
        CatalogueStore store(temp.path());
        QVERIFY(store.open());
        const QByteArray before = fileDigest(temp.path());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"record locked"_s));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"Impossibile ripulire"_s));
        const TextCleanup cleanup = cleanStoredTexts(store);
        QVERIFY(!cleanup.ok());
        QCOMPARE(cleanup.cleaned, 0);
        QVERIFY2(cleanup.error.contains(u"record locked"_s), qPrintable(cleanup.error));
        store.close();
        QCOMPARE(fileDigest(temp.path()), before);
        QVERIFY(store.open());
        QCOMPARE(store.keysToClean()->size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestStoredTextCleanup)
#include "tst_storedtextcleanup.moc"
