#include "widgets/screenfit.h"

#include <QTest>

class TestScreenFit : public QObject
{
    Q_OBJECT

private slots:
    void fit_data()
    {
        // The expected frame: 8 pixels at the sides and bottom, 32 at the top.
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QSize>("minimum");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("fitted");

        const QRect laptop(0, 0, 1366, 768);
        // The main window wanted 760 pixels below its title bar: its status line fell off the edge.
        QTest::newRow("main window on a laptop")
            << QRect(8, 32, 1136, 760) << QSize(1136, 420) << laptop << QRect(8, 32, 1136, 728);
        QTest::newRow("minimum larger than the screen")
            << QRect(8, 32, 800, 600) << QSize(900, 700) << QRect(0, 0, 800, 600)
            << QRect(8, 32, 900, 700);
    }

    void fit()
    {
        QFETCH(QRect, wanted);
        QFETCH(QSize, minimum);
        QFETCH(QRect, available);
        QFETCH(QRect, fitted);
        QCOMPARE(ScreenFit::fit(wanted, minimum, available), fitted);
    }
};

QTEST_GUILESS_MAIN(TestScreenFit)
#include "tst_screenfit.moc"
