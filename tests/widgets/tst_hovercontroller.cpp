#include "support/widgettest.h"
#include "widgets/hovercontroller.h"

#include <QApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// Mouse input goes to the window, as the window system delivers it: Qt finds the widget under
// the pointer, so a widget covering another takes the event as it would for a person.

class TestHoverController : public QObject
{
    Q_OBJECT

private slots:
    void mouseShowsTheButtonAboveItsFace()
    {
        QWidget window;
        auto *hover = new HoverController(&window);
        auto *before = new QLineEdit, *after = new QLineEdit;
        auto *button = new QPushButton(QStringLiteral("Importa"));
        auto *face = new QLabel(QStringLiteral("Importa"));
        auto *row = new QHBoxLayout(&window);
        row->addWidget(before);
        row->addWidget(hover->addCommand(button, face));
        row->addWidget(after);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The window behind the command hides it, as a frame around a command does.
        hover->addRule(&window, button, HoverController::Effect::Hide);
        QVERIFY(button->isHidden());
        // Shown over its face (clicking it there is the journeys' part); a rule hides it; showing
        // leaves the enabling alone.
        hover->addRule(after, button, HoverController::Effect::Hide);
        pointAt(face);
        QVERIFY(button->isVisible());
        pointAt(after);
        QVERIFY(button->isHidden());
        button->setEnabled(false);
        pointAt(face);
        QVERIFY(button->isVisible() && !button->isEnabled());
        button->setEnabled(true);
        button->setFocus(Qt::TabFocusReason);
        pointAt(after);
        QVERIFY2(button->isVisible(), "the button with the keyboard focus stays");
    }

    void theCommandUnderTheStillPointerFollowsTheWindow_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("shown");
        QTest::newRow("the window opens under the pointer") << QStringLiteral("open") << true;
        QTest::newRow("the window moves its command under the pointer")
            << QStringLiteral("move under") << true;
        QTest::newRow("the window moves its command away") << QStringLiteral("move away") << false;
    }

    void theCommandUnderTheStillPointerFollowsTheWindow()
    {
        // No move of the pointer follows the change: the window system's enter and leave
        // events are all that may come, and they do not always come.
        QFETCH(QString, change);
        QFETCH(bool, shown);
        QWidget window;
        auto *hover = new HoverController(&window);
        auto *button = new QPushButton(QStringLiteral("Importa"));
        auto *face = new QLabel(QStringLiteral("Importa"));
        auto *before = new QLineEdit;
        auto *row = new QHBoxLayout(&window);
        row->addWidget(before);
        row->addWidget(hover->addCommand(button, face));
        hover->addRule(&window, button, HoverController::Effect::Hide);
        window.setGeometry(100, 100, 400, 80);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint faceCentre = face->mapToGlobal(face->rect().center());
        const QPoint beforeCentre = before->mapToGlobal(before->rect().center());
        if (change == u"move away") {
            QCursor::setPos(faceCentre);
            QTRY_VERIFY(button->isVisible());
            window.move(window.pos() + QPoint(faceCentre.x() - beforeCentre.x(), 0));
        } else {
            // Away from the screen the pointer is put where no window is.
            window.hide();
            QCursor::setPos(change == u"open" ? faceCentre : faceCentre + QPoint(0, 200));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            if (change == u"move under")
                window.move(window.pos() + QPoint(0, 200));
        }
        QTRY_COMPARE(button->isVisible(), shown);
        QCOMPARE(button->geometry().contains(button->mapFromGlobal(QCursor::pos())), shown);
    }
};

QTEST_MAIN(TestHoverController)
#include "tst_hovercontroller.moc"
