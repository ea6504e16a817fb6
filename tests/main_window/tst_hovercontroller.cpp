#include "main_window/hovercontroller.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

class TestHoverController : public QObject
{
    Q_OBJECT

private slots:
    void showsAndHides();
    void leavesEnablingAlone();
};

namespace {

void moveOver(QWidget *widget)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

void TestHoverController::showsAndHides()
{
    QWidget window;
    auto *label = new QWidget(&window);
    auto *frame = new QWidget(&window);
    auto *other = new QWidget(&window);
    auto *button = new QPushButton(&window);
    button->hide();
    HoverController hover;
    hover.addRule(label, button, HoverController::Effect::Show);
    hover.addRule(frame, button, HoverController::Effect::Hide);
    window.show();
    QVERIFY(label->hasMouseTracking());

    moveOver(other);
    QVERIFY(button->isHidden());
    moveOver(label);
    QVERIFY(!button->isHidden());
    moveOver(label);
    QVERIFY(!button->isHidden());
    moveOver(frame);
    QVERIFY(button->isHidden());
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(label, &enter);
    QVERIFY(!button->isHidden());
}

void TestHoverController::leavesEnablingAlone()
{
    QWidget window;
    auto *label = new QWidget(&window);
    auto *button = new QPushButton(&window);
    button->hide();
    button->setEnabled(false);
    HoverController hover;
    hover.addRule(label, button, HoverController::Effect::Show);
    window.show();
    moveOver(label);
    QVERIFY(!button->isHidden());
    QVERIFY(!button->isEnabled());
}

QTEST_MAIN(TestHoverController)
#include "tst_hovercontroller.moc"
