#include "tag_editor/playerdisplay.h"

#include <QTest>

#include <limits>

// A second is 44305.7023255814 player units: the first unit of second s is
// ceil(s × 44305.7023255814), and the one before it still belongs to second s - 1 unless it lies
// within half a unit of second s. The seek bar counts hundreds of units, halves to even.

class TestPlayerDisplay : public QObject
{
    Q_OBJECT

private slots:
    void unitsShown_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<QString>("time");
        QTest::addColumn<int>("bar");

        constexpr qint64 kMax = std::numeric_limits<qint64>::max();
        QTest::newRow("half a hundred to even 0") << qint64(50) << "00:00" << 0;
        QTest::newRow("above a half") << qint64(51) << "00:00" << 1;
        QTest::newRow("1.5 hundreds to even 2") << qint64(150) << "00:00" << 2;
        QTest::newRow("last unit of the first second") << qint64(44305) << "00:00" << 443;
        QTest::newRow("first unit of the second second") << qint64(44306) << "00:01" << 443;
        // A length of whole seconds, rounded to whole units, may lie a fraction of a unit short.
        QTest::newRow("10 s in whole units") << qint64(443057) << "00:10" << 4431;
        QTest::newRow("over 1000 minutes") << qint64(60'006) * 44306 << "1000:06" << 26586258;
        QTest::newRow("no file") << qint64(-1) << "00:00" << 0;
        QTest::newRow("beyond int") << kMax << QString() << std::numeric_limits<int>::max();
    }

    void unitsShown()
    {
        QFETCH(qint64, units);
        QFETCH(QString, time);
        QFETCH(int, bar);
        if (!time.isEmpty())
            QCOMPARE(PlayerDisplay::timeText(units), time);
        QCOMPARE(PlayerDisplay::seekBarValue(units), bar);
    }

    void largestSeekBarValue()
    {
        constexpr int kMax = std::numeric_limits<int>::max();
        QCOMPARE(PlayerDisplay::unitsOfSeekBar(kMax), qint64(kMax) * 100);
    }
};

QTEST_GUILESS_MAIN(TestPlayerDisplay)
#include "tst_playerdisplay.moc"
