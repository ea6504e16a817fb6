#include "inspection/sizetext.h"

#include <QLocale>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

class TestSizeText : public QObject
{
    Q_OBJECT

private slots:
    void formatSize_data();
    void formatSize();
    void separatorIsKeptWhenTheLocaleOmitsIt();
    void padSize_data();
    void padSize();
};

void TestSizeText::formatSize_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");

    const QLocale c = QLocale::c();
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    QTest::newRow("half of 0 goes to even 0") << qint64(512) << c << u"0 KB"_s;
    QTest::newRow("just over half rounds up") << qint64(513) << c << u"1 KB"_s;
    QTest::newRow("1.5 goes to even 2") << qint64(1536) << c << u"2 KB"_s;
    QTest::newRow("2.5 goes to even 2") << qint64(2560) << c << u"2 KB"_s;
    QTest::newRow("1024 kilobytes, C locale") << qint64(1048576) << c << u"1,024 KB"_s;
    QTest::newRow("1024 kilobytes, Italian") << qint64(1048576) << italian << u"1.024 KB"_s;
    QTest::newRow("over 16 bits: 32767.5 goes to even 32768")
        << qint64(33553920) << c << u"32,768 KB"_s;
    QTest::newRow("40 MB file keeps its true size") << qint64(41943040) << c << u"40,960 KB"_s;
    QTest::newRow("largest length: rounds up past the last whole kilobyte")
        << std::numeric_limits<qint64>::max() << c << u"9,007,199,254,740,992 KB"_s;
    QTest::newRow("negative: rounded by magnitude") << qint64(-1536) << c << u"-2 KB"_s;
    QTest::newRow("negative below half: no minus zero") << qint64(-1) << c << u"0 KB"_s;
    QTest::newRow("lowest length does not overflow")
        << std::numeric_limits<qint64>::min() << c << u"-9,007,199,254,740,992 KB"_s;
    // Locales whose own number formatting differs from groups of three ASCII digits.
    QTest::newRow("Indian English groups in threes")
        << qint64(1234567) * 1024 << QLocale(QLocale::English, QLocale::India) << u"1,234,567 KB"_s;
    QTest::newRow("Egyptian Arabic keeps ASCII digits")
        << qint64(1048576) << QLocale(QLocale::Arabic, QLocale::Egypt)
        << u"1"_s + QLocale(QLocale::Arabic, QLocale::Egypt).groupSeparator() + u"024 KB"_s;
}

void TestSizeText::formatSize()
{
    QFETCH(qint64, bytes);
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    QCOMPARE(::formatSize(bytes, locale), expected);
}

void TestSizeText::separatorIsKeptWhenTheLocaleOmitsIt()
{
    QLocale italian(QLocale::Italian, QLocale::Italy);
    italian.setNumberOptions(QLocale::OmitGroupSeparator);
    QCOMPARE(::formatSize(1048576, italian), u"1.024 KB"_s);
}

void TestSizeText::padSize_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("2 KB: sixteen blanks") << qint64(2560) << QString(16, u' ') + u"2 KB"_s;
    QTest::newRow("exactly twenty characters, no blank")
        << qint64(1000000000000) * 1024 << u"1,000,000,000,000 KB"_s;
    QTest::newRow("longer text is not cut")
        << std::numeric_limits<qint64>::max() << u"9,007,199,254,740,992 KB"_s;
}

void TestSizeText::padSize()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, expected);
    QCOMPARE(::padSize(bytes, QLocale::c()), expected);
}

QTEST_GUILESS_MAIN(TestSizeText)
#include "tst_sizetext.moc"
