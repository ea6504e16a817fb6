#include "widgets/busycursor.h"

#include <QApplication>
#include <QTest>

#include <optional>

// Each test sets a cross cursor of its own underneath, as another part of the program would,
// and checks at the end that exactly that cursor is left: a busy pointer that takes off more
// than it put on, or leaves one behind, shows there.

namespace {

std::optional<Qt::CursorShape> topCursor()
{
    if (const QCursor *cursor = QGuiApplication::overrideCursor())
        return cursor->shape();
    return std::nullopt;
}

// True when the test's cross cursor is the only override cursor left; takes it off.
bool onlyTheCrossLeft()
{
    if (topCursor() != Qt::CrossCursor)
        return false;
    QGuiApplication::restoreOverrideCursor();
    return !topCursor();
}

} // namespace

class TestBusyCursor : public QObject
{
    Q_OBJECT

private slots:
    void init() { QGuiApplication::setOverrideCursor(Qt::CrossCursor); }

    void cleanup()
    {
        while (topCursor())
            QGuiApplication::restoreOverrideCursor();
    }

    void busyCursorsNest()
    {
        {
            const BusyCursor outer;
            QCOMPARE(topCursor(), Qt::WaitCursor);
            {
                const BusyCursor inner;
                QCOMPARE(topCursor(), Qt::WaitCursor);
            }
            QCOMPARE(topCursor(), Qt::WaitCursor);
        }
        QVERIFY(onlyTheCrossLeft());
    }

    void pointerCalls_data()
    {
        // "s" and "r" call show and restore on the pointer, "S" and "R" on a copy of it.
        QTest::addColumn<QString>("calls");
        QTest::addColumn<Qt::CursorShape>("shown");

        QTest::newRow("nothing called") << QString() << Qt::CrossCursor;
        QTest::newRow("shown") << QStringLiteral("s") << Qt::WaitCursor;
        QTest::newRow("restored without a show") << QStringLiteral("r") << Qt::CrossCursor;
        QTest::newRow("restored twice after one show") << QStringLiteral("srr") << Qt::CrossCursor;
        QTest::newRow("shown twice, restored once") << QStringLiteral("ssr") << Qt::WaitCursor;
        QTest::newRow("shown by a copy, restored") << QStringLiteral("Sr") << Qt::CrossCursor;
        QTest::newRow("shown, restored by a copy") << QStringLiteral("sR") << Qt::CrossCursor;
    }

    void pointerCalls()
    {
        QFETCH(QString, calls);
        QFETCH(Qt::CursorShape, shown);

        {
            const BusyPointer pointer = busyCursorPointer();
            {
                const BusyPointer copy = pointer;
                for (const QChar call : std::as_const(calls)) {
                    const BusyPointer &target = call.isUpper() ? copy : pointer;
                    if (call.toLower() == u's')
                        target.show();
                    else
                        target.restore();
                }
            }
            QCOMPARE(topCursor(), shown);
        }
        // Gone with the pointer: whatever it still showed is restored, nothing more.
        QVERIFY(onlyTheCrossLeft());
    }
};

QTEST_MAIN(TestBusyCursor)
#include "tst_busycursor.moc"
