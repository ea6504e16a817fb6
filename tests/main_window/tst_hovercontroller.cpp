#include "main_window/hovercontroller.h"
#include "support/widgettest.h"

#include <QPushButton>
#include <QTest>

class TestHoverController : public QObject
{
    Q_OBJECT

private slots:
    void showsAndHides();
};

void TestHoverController::showsAndHides()
{
    QWidget window;
    auto *label = new QWidget(&window);
    auto *frame = new QWidget(&window);
    auto *other = new QWidget(&window);
    auto *button = new QPushButton(&window);
    button->hide();
    button->setEnabled(false);
    HoverController hover;
    hover.addRule(label, button, HoverController::Effect::Show);
    hover.addRule(frame, button, HoverController::Effect::Hide);
    window.show();
    QVERIFY(label->hasMouseTracking());

    moveOver(other);
    QVERIFY(button->isHidden());
    moveOver(label);
    QVERIFY(!button->isHidden());
    // Showing leaves the enabling alone.
    QVERIFY(!button->isEnabled());
    moveOver(label);
    QVERIFY(!button->isHidden());
    moveOver(frame);
    QVERIFY(button->isHidden());
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(label, &enter);
    QVERIFY(!button->isHidden());
}

QTEST_MAIN(TestHoverController)
#include "tst_hovercontroller.moc"
