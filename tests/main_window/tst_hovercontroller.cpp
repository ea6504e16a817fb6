#include "main_window/hovercontroller.h"
#include "support/widgettest.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// Mouse input goes to the window, as the window system delivers it: Qt finds the widget under
// the pointer, so a widget covering another takes the event as it would for a person.

class TestHoverController : public QObject
{
    Q_OBJECT

private slots:
    void mouseShowsTheButtonAboveItsFace();
};

void TestHoverController::mouseShowsTheButtonAboveItsFace()
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
    QSignalSpy clicked(button, &QPushButton::clicked);
    // The window behind the command hides it, as a frame around a command does.
    hover->addRule(&window, button, HoverController::Effect::Hide);
    QVERIFY(button->isHidden());
    const QPoint centre = face->mapTo(&window, face->rect().center());
    pointAt(before);
    QVERIFY(button->isHidden());
    pointAt(face);
    QVERIFY(button->isVisible());
    // A move over the button is the button's own, not also one over the window behind it.
    QTest::mouseMove(window.windowHandle(), centre + QPoint(1, 0));
    QVERIFY(button->isVisible());
    QCOMPARE(window.childAt(centre), button);
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, centre);
    QCOMPARE(clicked.size(), 1);
    QVERIFY2(!button->hasFocus(), "a click leaves the focus where it was");

    // A rule hides it; showing leaves the enabling alone.
    hover->addRule(after, button, HoverController::Effect::Hide);
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

QTEST_MAIN(TestHoverController)
#include "tst_hovercontroller.moc"
