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
    void init();
    void mouseShowsTheButtonAboveItsFace();

private:
    std::unique_ptr<QWidget> m_window;
    QLineEdit *m_before = nullptr, *m_after = nullptr;
    QLabel *m_face = nullptr;
    QPushButton *m_button = nullptr;
    HoverController *m_hover = nullptr;
};

void TestHoverController::init()
{
    m_window = std::make_unique<QWidget>();
    m_hover = new HoverController(m_window.get());
    m_before = new QLineEdit;
    m_button = new QPushButton(QStringLiteral("Importa"));
    m_face = new QLabel(QStringLiteral("Importa"));
    m_after = new QLineEdit;
    auto *row = new QHBoxLayout(m_window.get());
    row->addWidget(m_before);
    row->addWidget(m_hover->addCommand(m_button, m_face));
    row->addWidget(m_after);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestHoverController::mouseShowsTheButtonAboveItsFace()
{
    QSignalSpy clicked(m_button, &QPushButton::clicked);
    // The window behind the command hides it, as a frame around a command does.
    m_hover->addRule(m_window.get(), m_button, HoverController::Effect::Hide);
    QVERIFY(m_button->isHidden());
    const QPoint centre = m_face->mapTo(m_window.get(), m_face->rect().center());
    pointAt(m_before);
    QVERIFY(m_button->isHidden());
    pointAt(m_face);
    QVERIFY(m_button->isVisible());
    // A move over the button is the button's own, not also one over the window behind it.
    QTest::mouseMove(m_window->windowHandle(), centre + QPoint(1, 0));
    QVERIFY(m_button->isVisible());
    QCOMPARE(m_window->childAt(centre), m_button);
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, centre);
    QCOMPARE(clicked.size(), 1);
    QVERIFY2(!m_button->hasFocus(), "a click leaves the focus where it was");

    // A rule hides it; showing leaves the enabling alone.
    m_hover->addRule(m_after, m_button, HoverController::Effect::Hide);
    pointAt(m_after);
    QVERIFY(m_button->isHidden());
    m_button->setEnabled(false);
    pointAt(m_face);
    QVERIFY(m_button->isVisible() && !m_button->isEnabled());
    m_button->setEnabled(true);
    m_button->setFocus(Qt::TabFocusReason);
    pointAt(m_after);
    QVERIFY2(m_button->isVisible(), "the button with the keyboard focus stays");
}

QTEST_MAIN(TestHoverController)
#include "tst_hovercontroller.moc"
