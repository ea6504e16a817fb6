#include "import/mediumlabel.h"

#include <QTest>

class TestMediumLabel : public QObject
{
    Q_OBJECT

private slots:
    void generatedNumber_data();
    void generatedNumber();
    void nextGenerated_data();
    void nextGenerated();
    void knownLabel_data();
    void knownLabel();
};

void TestMediumLabel::generatedNumber_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("generated");
    QTest::addColumn<QString>("number");
    QTest::newRow("one") << "TRACKLODGE_1" << true << "1";
    QTest::newRow("two digits") << "TRACKLODGE_10" << true << "10";
    QTest::newRow("lower-case prefix") << "tracklodge_7" << true << "7";
    QTest::newRow("mixed-case prefix") << "TrackLodge_7" << true << "7";
    QTest::newRow("no digits") << "TRACKLODGE_" << true << "0";
    QTest::newRow("letters after the prefix") << "TRACKLODGE_abc" << true << "0";
    QTest::newRow("digits then letters") << "TRACKLODGE_12b3" << true << "12";
    QTest::newRow("leading zeros") << "TRACKLODGE_007" << true << "7";
    QTest::newRow("all zeros") << "TRACKLODGE_000" << true << "0";
    QTest::newRow("blank before digits") << "TRACKLODGE_ 5" << true << "0";
    QTest::newRow("underscore is literal") << "TRACKLODGEX5" << false << "";
    QTest::newRow("prefix not at start") << " TRACKLODGE_5" << false << "";
    QTest::newRow("hand-given label") << "MUSICA" << false << "";
    QTest::newRow("empty") << "" << false << "";
    QTest::newRow("longer than 64 bits")
        << "TRACKLODGE_123456789012345678901234567890" << true << "123456789012345678901234567890";
}

void TestMediumLabel::generatedNumber()
{
    QFETCH(QString, label);
    QFETCH(bool, generated);
    QFETCH(QString, number);
    const std::optional<QString> result = MediumLabel::generatedNumber(label);
    QCOMPARE(result.has_value(), generated);
    if (generated)
        QCOMPARE(*result, number);
}

void TestMediumLabel::nextGenerated_data()
{
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("next");
    QTest::newRow("none yet") << QStringList() << "TRACKLODGE_1";
    QTest::newRow("only hand-given labels") << QStringList{"MUSICA", "CD Estate"} << "TRACKLODGE_1";
    QTest::newRow("after one") << QStringList{"TRACKLODGE_1"} << "TRACKLODGE_2";
    // Regression: taken in text order, TRACKLODGE_9 sorts after TRACKLODGE_10 and the eleventh
    // medium would be named like the tenth.
    QTest::newRow("nine and ten in text order")
        << QStringList{"TRACKLODGE_10", "TRACKLODGE_9"} << "TRACKLODGE_11";
    QTest::newRow("highest first")
        << QStringList{"TRACKLODGE_100", "TRACKLODGE_99", "TRACKLODGE_2"} << "TRACKLODGE_101";
    QTest::newRow("one per record")
        << QStringList{"TRACKLODGE_3", "TRACKLODGE_3", "TRACKLODGE_3"} << "TRACKLODGE_4";
    QTest::newRow("lower-case prefix counts") << QStringList{"tracklodge_5"} << "TRACKLODGE_6";
    QTest::newRow("underscore is literal") << QStringList{"TRACKLODGEX8"} << "TRACKLODGE_1";
    QTest::newRow("no digits counts as 0") << QStringList{"TRACKLODGE_"} << "TRACKLODGE_1";
    QTest::newRow("leading zeros are not kept") << QStringList{"TRACKLODGE_009"} << "TRACKLODGE_10";
    QTest::newRow("carry into a new digit") << QStringList{"TRACKLODGE_999"} << "TRACKLODGE_1000";
    QTest::newRow("beyond 64 bits")
        << QStringList{"TRACKLODGE_99999999999999999999"} << "TRACKLODGE_100000000000000000000";
    QTest::newRow("longer number wins over larger first digit")
        << QStringList{"TRACKLODGE_9", "TRACKLODGE_0010"} << "TRACKLODGE_11";
}

void TestMediumLabel::nextGenerated()
{
    QFETCH(QStringList, labels);
    QFETCH(QString, next);
    QCOMPARE(MediumLabel::nextGenerated(labels), next);
}

void TestMediumLabel::knownLabel_data()
{
    QTest::addColumn<QString>("serialLabel");
    QTest::addColumn<QString>("driveLabel");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("label");
    QTest::newRow("catalogued medium wins") << "A MANO"
                                            << "VOLUME"
                                            << "commento"
                                            << "A MANO";
    QTest::newRow("drive label next") << ""
                                      << "VOLUME"
                                      << "commento"
                                      << "VOLUME";
    QTest::newRow("comment last") << ""
                                  << ""
                                  << "commento"
                                  << "commento";
    QTest::newRow("nothing known") << ""
                                   << ""
                                   << ""
                                   << "";
    QTest::newRow("a blank is a label") << ""
                                        << ""
                                        << " "
                                        << " ";
}

void TestMediumLabel::knownLabel()
{
    QFETCH(QString, serialLabel);
    QFETCH(QString, driveLabel);
    QFETCH(QString, comment);
    QFETCH(QString, label);
    QCOMPARE(MediumLabel::knownLabel(serialLabel, driveLabel, comment), label);
}

QTEST_GUILESS_MAIN(TestMediumLabel)
#include "tst_mediumlabel.moc"
