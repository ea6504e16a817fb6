#include "tags/genretable.h"

#include <QSet>
#include <QTest>

class TestGenreTable : public QObject
{
    Q_OBJECT

private slots:
    void genreName_data();
    void genreName();
    void exactly148UniqueNames();
};

// The odd spellings and doubled blanks are what the files' writers store; they must stay.
void TestGenreTable::genreName_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("name");

    QTest::newRow("0 is the first name") << 0 << QStringLiteral("Blues");
    QTest::newRow("27 has two blanks") << 27 << QStringLiteral("Trip  Hop");
    QTest::newRow("67 spelt Phychedelic") << 67 << QStringLiteral("Phychedelic");
    QTest::newRow("131 lower-case indie") << 131 << QStringLiteral("indie");
    QTest::newRow("147 is the last name") << 147 << QStringLiteral("Synth Pop");
    QTest::newRow("148 has no name") << 148 << QString();
    QTest::newRow("255, the unset genre, has no name") << 255 << QString();
    QTest::newRow("negative number has no name") << -1 << QString();
    QTest::newRow("256 has no name") << 256 << QString();
}

void TestGenreTable::genreName()
{
    QFETCH(int, byte);
    QFETCH(QString, name);
    QCOMPARE(::genreName(byte), name);
}

// Each name must be unique, or a genre chosen by name would be written with another byte.
void TestGenreTable::exactly148UniqueNames()
{
    const QStringList names = ::genreNames();
    QCOMPARE(names.size(), 148);
    QSet<QString> seen;
    for (int i = 0; i < names.size(); ++i) {
        QCOMPARE(::genreName(i), names.at(i));
        QVERIFY2(!names.at(i).isEmpty() && !seen.contains(names.at(i)), qPrintable(names.at(i)));
        seen.insert(names.at(i));
        QCOMPARE(::genreIndex(names.at(i)), i);
    }
    // Case and blanks count.
    for (const char *name : {"Trip Hop", "Indie", "Blues ", ""})
        QCOMPARE(::genreIndex(QString::fromLatin1(name)), -1);
}

QTEST_GUILESS_MAIN(TestGenreTable)
#include "tst_genretable.moc"
