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
        QTest::addColumn<QString>("landsOn"); // what the window brings under the pointer
        QTest::newRow("a control without rules of its own") << QStringLiteral("before");
        QTest::newRow("a control that hides the command") << QStringLiteral("after");
    }

    void theCommandUnderTheStillPointerFollowsTheWindow()
    {
        // The window moves under a pointer that stands still: no move of the pointer follows,
        // and no enter or leave event need come. What is under the pointer decides.
        QFETCH(QString, landsOn);
        QWidget window;
        auto *hover = new HoverController(&window);
        auto *button = new QPushButton(QStringLiteral("Importa"));
        auto *face = new QLabel(QStringLiteral("Importa"));
        auto *before = new QLineEdit, *after = new QLineEdit;
        auto *row = new QHBoxLayout(&window);
        row->addWidget(before);
        row->addWidget(hover->addCommand(button, face));
        row->addWidget(after);
        hover->addRule(&window, button, HoverController::Effect::Hide);
        hover->addRule(after, button, HoverController::Effect::Hide);
        window.setGeometry(100, 100, 600, 80);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint faceCentre = face->mapToGlobal(face->rect().center());
        QWidget *target = landsOn == u"before" ? before : after;
        const QPoint targetCentre = target->mapToGlobal(target->rect().center());
        QCursor::setPos(faceCentre);
        QTRY_VERIFY(button->isVisible());
        window.move(window.pos() + faceCentre - targetCentre);
        QTRY_VERIFY(button->isHidden());
    }
};

QTEST_MAIN(TestHoverController)
#include "tst_hovercontroller.moc"
