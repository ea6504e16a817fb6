#include "tags/windows1252.h"

#include <QTest>

class TestWindows1252 : public QObject
{
    Q_OBJECT

private slots:
    void upperControlRange_data();
    void upperControlRange();
    void encode_data();
    void encode();
    void everyByteRoundTrips();
};

// 0x80 to 0x9F is where Windows-1252 differs from Latin-1: every one of the 32 bytes, both ways.
// The five bytes the set leaves undefined stand for the control character of the same value.
void TestWindows1252::upperControlRange_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("codePoint");
    const char16_t table[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    for (int i = 0; i < 32; ++i)
        QTest::addRow("0x%X", 0x80 + i) << 0x80 + i << int(table[i]);
}

void TestWindows1252::upperControlRange()
{
    QFETCH(int, byte);
    QFETCH(int, codePoint);
    const QByteArray bytes = 'x' + QByteArray(1, static_cast<char>(byte)) + 'y';
    const QString text = u'x' + QString(QChar(codePoint)) + u'y';
    QCOMPARE(fromWindows1252(bytes), text);
    QCOMPARE(toWindows1252(text), bytes);
}

void TestWindows1252::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("control 0x80 is not the euro byte")
        << QStringLiteral("\u0080") << QByteArray("?");
    QTest::newRow("l stroke is outside") << QStringLiteral("\u0142") << QByteArray("?");
    QTest::newRow("mixed") << QStringLiteral("Caff\u00E8 \u2013 \u0142\u00F3d\u017A")
                           << QByteArray("Caff\xE8 \x96 ?\xF3"
                                         "d?");
    QTest::newRow("character beyond 16 bits is one ?")
        << QStringLiteral("a\U0001F3B5b") << QByteArray("a?b");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + u'a' << QByteArray("?a");
}

void TestWindows1252::encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(toWindows1252(text), bytes);
}

// Outside 0x80 to 0x9F every byte is the character of the same value.
void TestWindows1252::everyByteRoundTrips()
{
    QByteArray all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<char>(i);
    const QString text = fromWindows1252(all);
    QCOMPARE(text.size(), 256);
    for (int i = 0; i < 256; ++i)
        if (i < 0x80 || i > 0x9F)
            QCOMPARE(text.at(i).unicode(), i);
    QCOMPARE(toWindows1252(text), all);
}

QTEST_GUILESS_MAIN(TestWindows1252)
#include "tst_windows1252.moc"
