#include "tag_editor/playerdisplay.h"

#include <QTest>

#include <limits>

// Player units for a whole number of seconds are written out: a second is 44305.7023255814
// units, so the first unit of second s is ceil(s × 44305.7023255814) and the one before it still
// belongs to second s - 1, unless it lies within half a unit of second s.

class TestPlayerDisplay : public QObject
{
    Q_OBJECT

private slots:
    void timeText_data();
    void timeText();
    void seekBarValue_data();
    void seekBarValue();
    void unitsOfSeekBar_data();
    void unitsOfSeekBar();
};

void TestPlayerDisplay::timeText_data()
{
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("text");

    QTest::newRow("last unit of the first second") << qint64(44305) << QStringLiteral("00:00");
    QTest::newRow("first unit of the second second") << qint64(44306) << QStringLiteral("00:01");
    QTest::newRow("2 minutes 5 seconds") << qint64(5538213) << QStringLiteral("02:05");
    QTest::newRow("just before 2 minutes 5 seconds") << qint64(5538212) << QStringLiteral("02:04");
    QTest::newRow("an hour") << qint64(159500529) << QStringLiteral("60:00");
    QTest::newRow("125 minutes in whole units") << qint64(332292767) << QStringLiteral("125:00");
    // A length of whole seconds, rounded to whole units, may lie a fraction of a unit short.
    QTest::newRow("10 s in whole units (443057)") << qint64(443057) << QStringLiteral("00:10");
    QTest::newRow("a unit short of 10 s") << qint64(443056) << QStringLiteral("00:09");
    QTest::newRow("over 1000 minutes") << qint64(60'006) * 44306 << QStringLiteral("1000:06");
    QTest::newRow("no file (-1)") << qint64(-1) << QStringLiteral("00:00");
}

void TestPlayerDisplay::timeText()
{
    QFETCH(qint64, units);
    QFETCH(QString, text);
    QCOMPARE(PlayerDisplay::timeText(units), text);
}

void TestPlayerDisplay::seekBarValue_data()
{
    QTest::addColumn<qint64>("units");
    QTest::addColumn<int>("value");

    QTest::newRow("below a half") << qint64(49) << 0;
    QTest::newRow("half to even 0") << qint64(50) << 0;
    QTest::newRow("above a half") << qint64(51) << 1;
    QTest::newRow("half to even 2 from 1.5") << qint64(150) << 2;
    QTest::newRow("half to even 2 from 2.5") << qint64(250) << 2;
    QTest::newRow("length of a 125-minute track") << qint64(332292767) << 3322928;
    QTest::newRow("no file (-1)") << qint64(-1) << 0;
    QTest::newRow("negative half to even") << qint64(-150) << -2;
    QTest::newRow("beyond int") << std::numeric_limits<qint64>::max()
                                << std::numeric_limits<int>::max();
}

void TestPlayerDisplay::seekBarValue()
{
    QFETCH(qint64, units);
    QFETCH(int, value);
    QCOMPARE(PlayerDisplay::seekBarValue(units), value);
}

void TestPlayerDisplay::unitsOfSeekBar_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<qint64>("units");

    QTest::newRow("middle") << 1234 << qint64(123400);
    QTest::newRow("largest bar value")
        << std::numeric_limits<int>::max() << qint64(std::numeric_limits<int>::max()) * 100;
}

void TestPlayerDisplay::unitsOfSeekBar()
{
    QFETCH(int, value);
    QFETCH(qint64, units);
    QCOMPARE(PlayerDisplay::unitsOfSeekBar(value), units);
}

QTEST_GUILESS_MAIN(TestPlayerDisplay)
#include "tst_playerdisplay.moc"
