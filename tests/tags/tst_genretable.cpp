#include "tags/genretable.h"

#include <QSet>
#include <QTest>

class TestGenreTable : public QObject
{
    Q_OBJECT

private slots:
    // Each name must be unique, or a genre chosen by name would be written with another byte; the
    // odd spellings and doubled blanks are what the files' writers store.
    void exactly148UniqueNames()
    {
        const QStringList names = ::genreNames();
        QCOMPARE(names.size(), 148);
        QSet<QString> seen;
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(::genreName(i), names.at(i));
            QVERIFY2(!names.at(i).isEmpty() && !seen.contains(names.at(i)),
                     qPrintable(names.at(i)));
            seen.insert(names.at(i));
            QCOMPARE(::genreIndex(names.at(i)), i);
        }
        const QStringList golden{names.at(0), names.at(27), names.at(67), names.at(131),
                                 names.at(147)};
        QCOMPARE(golden, (QStringList{"Blues", "Trip  Hop", "Phychedelic", "indie", "Synth Pop"}));
        for (int outside : {148, 255, -1})
            QCOMPARE(::genreName(outside), QString());
        // Case and blanks count.
        for (const char *name : {"Trip Hop", "Indie", "Blues ", ""})
            QCOMPARE(::genreIndex(QString::fromLatin1(name)), -1);
    }
};

QTEST_GUILESS_MAIN(TestGenreTable)
#include "tst_genretable.moc"
