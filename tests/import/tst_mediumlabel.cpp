#include "import/mediumlabel.h"

#include <QTest>

class TestMediumLabel : public QObject
{
    Q_OBJECT

private slots:
    void nextGenerated_data();
    void nextGenerated();
};

void TestMediumLabel::nextGenerated_data()
{
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("next");
    QTest::newRow("hand-given labels, underscore is literal")
        << QStringList{"MUSICA", "TRACKLODGEX8"} << "TRACKLODGE_1";
    // Regression: taken in text order, TRACKLODGE_9 sorts after TRACKLODGE_10 and the eleventh
    // medium would be named like the tenth.
    QTest::newRow("nine and ten in text order")
        << QStringList{"TRACKLODGE_10", "TRACKLODGE_9"} << "TRACKLODGE_11";
    QTest::newRow("lower-case prefix counts") << QStringList{"tracklodge_5"} << "TRACKLODGE_6";
    QTest::newRow("leading zeros are not kept") << QStringList{"TRACKLODGE_009"} << "TRACKLODGE_10";
    QTest::newRow("beyond 64 bits")
        << QStringList{"TRACKLODGE_99999999999999999999"} << "TRACKLODGE_100000000000000000000";
    QTest::newRow("digits then letters") << QStringList{"TRACKLODGE_12b3"} << "TRACKLODGE_13";
    QTest::newRow("prefix not at the start") << QStringList{" TRACKLODGE_5"} << "TRACKLODGE_1";
    QTest::newRow("longer number wins over larger first digit")
        << QStringList{"TRACKLODGE_9", "TRACKLODGE_0010"} << "TRACKLODGE_11";
}

void TestMediumLabel::nextGenerated()
{
    QFETCH(QStringList, labels);
    QFETCH(QString, next);
    QCOMPARE(MediumLabel::nextGenerated(labels), next);
}

QTEST_GUILESS_MAIN(TestMediumLabel)
#include "tst_mediumlabel.moc"
