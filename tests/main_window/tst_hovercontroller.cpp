#include "main_window/hovercontroller.h"

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
    void cleanup();
    void mouseShowsTheButtonAboveItsFace();
    void rulesHideButNotAFocusedButton();
    void keyboardReachesAndRunsTheCommand_data();
    void keyboardReachesAndRunsTheCommand();

private:
    void moveTo(QWidget *widget)
    {
        QTest::mouseMove(m_window->windowHandle(),
                         widget->mapTo(m_window.get(), widget->rect().center()));
    }

    std::unique_ptr<QWidget> m_window;
    QLineEdit *m_before = nullptr;
    QLineEdit *m_after = nullptr;
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

void TestHoverController::cleanup()
{
    m_window.reset();
}

void TestHoverController::mouseShowsTheButtonAboveItsFace()
{
    QSignalSpy clicked(m_button, &QPushButton::clicked);
    // The window behind the command hides it, as a frame around a command does.
    m_hover->addRule(m_window.get(), m_button, HoverController::Effect::Hide);
    QVERIFY(m_button->isHidden());
    const QPoint centre = m_face->mapTo(m_window.get(), m_face->rect().center());
    moveTo(m_before);
    QVERIFY(m_button->isHidden());
    moveTo(m_face);
    QVERIFY(m_button->isVisible());
    // A move over the button is the button's own, not also one over the window behind it.
    QTest::mouseMove(m_window->windowHandle(), centre + QPoint(1, 0));
    QVERIFY(m_button->isVisible());
    QCOMPARE(m_window->childAt(centre), m_button);
    QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, centre);
    QCOMPARE(clicked.size(), 1);
    QVERIFY2(!m_button->hasFocus(), "a click leaves the focus where it was");
}

void TestHoverController::rulesHideButNotAFocusedButton()
{
    m_hover->addRule(m_after, m_button, HoverController::Effect::Hide);
    moveTo(m_face);
    moveTo(m_after);
    QVERIFY(m_button->isHidden());
    // Showing leaves the enabling alone.
    m_button->setEnabled(false);
    moveTo(m_face);
    QVERIFY(m_button->isVisible());
    QVERIFY(!m_button->isEnabled());
    m_button->setEnabled(true);
    m_button->setFocus(Qt::TabFocusReason);
    moveTo(m_after);
    QVERIFY2(m_button->isVisible(), "the button with the keyboard focus stays");
}

void TestHoverController::keyboardReachesAndRunsTheCommand_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
}

void TestHoverController::keyboardReachesAndRunsTheCommand()
{
    QFETCH(int, key);
    QSignalSpy clicked(m_button, &QPushButton::clicked);
    m_window->activateWindow();
    m_before->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(m_before, Qt::Key_Tab);
    QVERIFY(m_button->hasFocus());
    QVERIFY(m_button->isVisible());
    QTest::keyClick(m_button, static_cast<Qt::Key>(key));
    QTRY_COMPARE(clicked.size(), 1);

    QTest::keyClick(m_button, Qt::Key_Tab);
    QVERIFY(m_after->hasFocus());
    QVERIFY2(m_button->isHidden(), "the button hides with the focus gone");
    // Back through the command, and on past it: the face does not take the focus back.
    QTest::keyClick(m_after, Qt::Key_Backtab);
    QVERIFY(m_button->hasFocus());
    QTest::keyClick(m_button, Qt::Key_Backtab);
    QVERIFY(m_before->hasFocus());
}

QTEST_MAIN(TestHoverController)
#include "tst_hovercontroller.moc"
