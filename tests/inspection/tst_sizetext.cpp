#include "inspection/sizetext.h"

#include <QLocale>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

class TestSizeText : public QObject
{
    Q_OBJECT

private slots:
    void sizeText_data()
    {
        QTest::addColumn<QString>("got");
        QTest::addColumn<QString>("want");
        const QLocale c = QLocale::c();
        const auto row = [&c](const char *name, qint64 bytes, const QString &want) {
            QTest::newRow(name) << ::formatSize(bytes, c) << want;
        };
        constexpr qint64 kMax = std::numeric_limits<qint64>::max();

        row("half of 0 goes to even 0", 512, u"0 KB"_s);
        row("1.5 goes to even 2", 1536, u"2 KB"_s);
        row("over 16 bits: 32767.5 goes to even 32768", 33553920, u"32,768 KB"_s);
        row("largest length: rounds up past the last whole kilobyte", kMax,
            u"9,007,199,254,740,992 KB"_s);
        row("negative: rounded by magnitude", -1536, u"-2 KB"_s);
        row("negative below half: no minus zero", -1, u"0 KB"_s);
        row("lowest length does not overflow", std::numeric_limits<qint64>::min(),
            u"-9,007,199,254,740,992 KB"_s);

        QLocale italian(QLocale::Italian, QLocale::Italy);
        italian.setNumberOptions(QLocale::OmitGroupSeparator);
        QTest::newRow("separator kept when the locale omits it")
            << ::formatSize(1048576, italian) << u"1.024 KB"_s;
        // Locales whose own number formatting differs from groups of three ASCII digits.
        QTest::newRow("Indian English groups in threes")
            << ::formatSize(qint64(1234567) * 1024, QLocale(QLocale::English, QLocale::India))
            << u"1,234,567 KB"_s;
        const QLocale egypt(QLocale::Arabic, QLocale::Egypt);
        QTest::newRow("Egyptian Arabic keeps ASCII digits")
            << ::formatSize(1048576, egypt) << u"1"_s + egypt.groupSeparator() + u"024 KB"_s;

        // Padded to twenty characters for the grid, never cut.
        QTest::newRow("padded: sixteen blanks")
            << ::padSize(2560, c) << QString(16, u' ') + u"2 KB"_s;
        QTest::newRow("padded: exactly twenty characters, no blank")
            << ::padSize(qint64(1000000000000) * 1024, c) << u"1,000,000,000,000 KB"_s;
    }

    void sizeText()
    {
        QFETCH(QString, got);
        QFETCH(QString, want);
        QCOMPARE(got, want);
    }
};

QTEST_GUILESS_MAIN(TestSizeText)
#include "tst_sizetext.moc"
