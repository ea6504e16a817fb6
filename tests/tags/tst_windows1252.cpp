#include "tags/windows1252.h"

#include <QTest>

class TestWindows1252 : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void encode_data();
    void encode();
    void everyByteRoundTrips();
};

void TestWindows1252::decode_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("codePoint");

    QTest::newRow("NUL") << 0x00 << 0x0000;
    QTest::newRow("blank") << 0x20 << 0x0020;
    QTest::newRow("DEL") << 0x7F << 0x007F;
    QTest::newRow("euro") << 0x80 << 0x20AC;
    QTest::newRow("undefined 0x81") << 0x81 << 0x0081;
    QTest::newRow("low double quote") << 0x84 << 0x201E;
    QTest::newRow("ellipsis") << 0x85 << 0x2026;
    QTest::newRow("S caron") << 0x8A << 0x0160;
    QTest::newRow("OE") << 0x8C << 0x0152;
    QTest::newRow("undefined 0x8D") << 0x8D << 0x008D;
    QTest::newRow("Z caron") << 0x8E << 0x017D;
    QTest::newRow("undefined 0x8F") << 0x8F << 0x008F;
    QTest::newRow("undefined 0x90") << 0x90 << 0x0090;
    QTest::newRow("right single quote") << 0x92 << 0x2019;
    QTest::newRow("en dash") << 0x96 << 0x2013;
    QTest::newRow("trade mark") << 0x99 << 0x2122;
    QTest::newRow("oe") << 0x9C << 0x0153;
    QTest::newRow("undefined 0x9D") << 0x9D << 0x009D;
    QTest::newRow("Y diaeresis") << 0x9F << 0x0178;
    QTest::newRow("no-break space") << 0xA0 << 0x00A0;
    QTest::newRow("e grave") << 0xE8 << 0x00E8;
    QTest::newRow("y diaeresis") << 0xFF << 0x00FF;
}

void TestWindows1252::decode()
{
    QFETCH(int, byte);
    QFETCH(int, codePoint);
    const char bytes[] = {'x', static_cast<char>(byte), 'y'};
    const QString text = fromWindows1252(QByteArrayView(bytes, 3));
    QCOMPARE(text.size(), 3);
    QCOMPARE(text.at(0), u'x');
    QCOMPARE(text.at(1).unicode(), codePoint);
    QCOMPARE(text.at(2), u'y');
}

void TestWindows1252::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("ASCII") << QStringLiteral("Song 1") << QByteArray("Song 1");
    QTest::newRow("NUL kept") << QString(2, QChar(0)) << QByteArray(2, '\0');
    QTest::newRow("euro") << QStringLiteral("\u20AC") << QByteArray("\x80");
    QTest::newRow("e grave") << QStringLiteral("\u00E8") << QByteArray("\xE8");
    QTest::newRow("oe") << QStringLiteral("\u0153") << QByteArray("\x9C");
    QTest::newRow("Y diaeresis") << QStringLiteral("\u0178") << QByteArray("\x9F");
    QTest::newRow("undefined control kept") << QStringLiteral("\u008D") << QByteArray("\x8D");
    QTest::newRow("control 0x80 is not the euro byte")
        << QStringLiteral("\u0080") << QByteArray("?");
    QTest::newRow("l stroke is outside") << QStringLiteral("\u0142") << QByteArray("?");
    QTest::newRow("CJK is outside") << QStringLiteral("\u4E2D") << QByteArray("?");
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

void TestWindows1252::everyByteRoundTrips()
{
    QByteArray all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<char>(i);
    const QString text = fromWindows1252(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(toWindows1252(text), all);
}

QTEST_GUILESS_MAIN(TestWindows1252)
#include "tst_windows1252.moc"
