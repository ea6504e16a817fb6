#include "tags/genretable.h"

#include <QSet>
#include <QTest>

class TestGenreTable : public QObject
{
    Q_OBJECT

private slots:
    void genreName_data();
    void genreName();
    void genreNames();
    void genreIndex_data();
    void genreIndex();
    void everyNameFindsItsOwnByte();
};

void TestGenreTable::genreName_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("name");

    QTest::newRow("0 is the first name") << 0 << QStringLiteral("Blues");
    QTest::newRow("27 has two blanks") << 27 << QStringLiteral("Trip  Hop");
    QTest::newRow("32, the blank byte") << 32 << QStringLiteral("Classical");
    QTest::newRow("40") << 40 << QStringLiteral("Alt. Rock");
    QTest::newRow("66 has two blanks") << 66 << QStringLiteral("New  Wave");
    QTest::newRow("67 spelt Phychedelic") << 67 << QStringLiteral("Phychedelic");
    QTest::newRow("78") << 78 << QStringLiteral("Rock & Roll");
    QTest::newRow("85 spelt Bebob") << 85 << QStringLiteral("Bebob");
    QTest::newRow("90 spelt Avantegarde") << 90 << QStringLiteral("Avantegarde");
    QTest::newRow("98 has two blanks") << 98 << QStringLiteral("Easy  Listening");
    QTest::newRow("117 lower-case power") << 117 << QStringLiteral("power Ballad");
    QTest::newRow("131 lower-case indie") << 131 << QStringLiteral("indie");
    QTest::newRow("133 Negerpunk") << 133 << QStringLiteral("Negerpunk");
    QTest::newRow("140 spelt Comteporary") << 140 << QStringLiteral("Comteporary Christian");
    QTest::newRow("144 spelt Trash") << 144 << QStringLiteral("Trash Metal");
    QTest::newRow("146 JPop") << 146 << QStringLiteral("JPop");
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

void TestGenreTable::genreNames()
{
    const QStringList names = ::genreNames();
    QCOMPARE(names.size(), 148);
    QCOMPARE(names.first(), QStringLiteral("Blues"));
    QCOMPARE(names.at(98), QStringLiteral("Easy  Listening"));
    QCOMPARE(names.last(), QStringLiteral("Synth Pop"));
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(names.at(i), ::genreName(i));
}

void TestGenreTable::genreIndex_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");

    QTest::newRow("first") << QStringLiteral("Blues") << 0;
    QTest::newRow("last") << QStringLiteral("Synth Pop") << 147;
    QTest::newRow("two blanks") << QStringLiteral("Trip  Hop") << 27;
    QTest::newRow("one blank instead of two") << QStringLiteral("Trip Hop") << -1;
    QTest::newRow("lower-case name as written") << QStringLiteral("indie") << 131;
    QTest::newRow("capitalised indie is not a name") << QStringLiteral("Indie") << -1;
    QTest::newRow("lower-case blues is not a name") << QStringLiteral("blues") << -1;
    QTest::newRow("trailing blank") << QStringLiteral("Blues ") << -1;
    QTest::newRow("corrected spelling") << QStringLiteral("Psychedelic") << -1;
    QTest::newRow("empty") << QString() << -1;
    QTest::newRow("a single blank") << QStringLiteral(" ") << -1;
}

void TestGenreTable::genreIndex()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    QCOMPARE(::genreIndex(name), index);
}

// Each name must be unique, or a genre chosen by name would be written with another byte.
void TestGenreTable::everyNameFindsItsOwnByte()
{
    QSet<QString> seen;
    for (int i = 0; i < 148; ++i) {
        const QString name = ::genreName(i);
        QVERIFY2(!name.isEmpty(), qPrintable(QString::number(i)));
        QVERIFY2(!seen.contains(name), qPrintable(name));
        seen.insert(name);
        QCOMPARE(::genreIndex(name), i);
    }
}

QTEST_GUILESS_MAIN(TestGenreTable)
#include "tst_genretable.moc"
