#include "tags/windows1252.h"

#include <QTest>

class TestWindows1252 : public QObject
{
    Q_OBJECT

private slots:
    // Every byte both ways. 0x80 to 0x9F is where Windows-1252 differs from Latin-1; the five bytes
    // the set leaves undefined stand for the control character of the same value.
    void everyByte()
    {
        const char16_t upper[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
        QByteArray all(256, Qt::Uninitialized);
        QString text(256, QChar());
        for (int i = 0; i < 256; ++i) {
            all[i] = static_cast<char>(i);
            text[i] = QChar(i >= 0x80 && i <= 0x9F ? upper[i - 0x80] : char16_t(i));
        }
        QCOMPARE(fromWindows1252(all), text);
        QCOMPARE(toWindows1252(text), all);
    }

    void encode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        // U+0080 is a control character, not the euro sign's byte.
        QTest::newRow("characters outside the set") << QStringLiteral("\u0080 \u0142\u00F3d\u017A")
                                                    << QByteArray("? ?\xF3"
                                                                  "d?");
        QTest::newRow("character beyond 16 bits is one ?")
            << QStringLiteral("a\U0001F3B5b") << QByteArray("a?b");
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + u'a' << QByteArray("?a");
    }

    void encode()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(toWindows1252(text), bytes);
    }
};

QTEST_GUILESS_MAIN(TestWindows1252)
#include "tst_windows1252.moc"
