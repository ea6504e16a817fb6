#include "hovercontroller.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedLayout>
#include <QWidget>

HoverController::HoverController(QObject *parent)
    : QObject(parent)
{
    // Moves reach the application's filters whichever widget takes them, tracking or not; and
    // only there are the other windows seen opening and closing.
    if (qApp)
        qApp->installEventFilter(this);
}

HoverController::~HoverController()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

void HoverController::addRule(QWidget *over, QWidget *target, Effect effect)
{
    // The application's filter sees the widget's moves; tracking makes them its own events.
    over->setMouseTracking(true);
    m_rules.append({over, target, effect});
}

QWidget *HoverController::addCommand(QPushButton *button, QLabel *face)
{
    auto *pair = new QWidget;
    auto *stack = new QStackedLayout(pair);
    stack->setStackingMode(QStackedLayout::StackAll);
    stack->setContentsMargins(0, 0, 0, 0);
    face->setFrameStyle(QFrame::Panel | QFrame::Raised);
    face->setAlignment(Qt::AlignCenter);
    stack->addWidget(face);
    stack->addWidget(button);
    // The stack puts a widget added after the first one below it; the button must lie above
    // its face, or the face takes the clicks meant for the button.
    button->raise();
    button->hide();

    // The face is the command's stop in the Tab chain while the button is hidden; a click on
    // the button leaves the focus where it is, so a mouse user never sees a focused button.
    face->setFocusPolicy(Qt::TabFocus);
    button->setFocusPolicy(Qt::TabFocus);
    QWidget::setTabOrder(face, button);
    m_commands.append({face, button});
    addRule(face, button, Effect::Show);
    return pair;
}

void HoverController::pointerAt(const QPoint &globalPos)
{
    QWidget *under = QApplication::widgetAt(globalPos);
    if (!under)
        return;
    if (governs(under->window())) {
        applyFrom(under);
        return;
    }
    // Another of the program's windows lies above the commands at the pointer: none of them is
    // under it any more.
    for (const Command &command : std::as_const(m_commands)) {
        const QWidget *window = command.button->window();
        if (window->isVisible() && window->frameGeometry().contains(globalPos) &&
            !command.button->hasFocus())
            command.button->hide();
    }
}

bool HoverController::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::Enter:
        // Each widget on the way up sees the same move; the first one that is a widget of
        // these rules settles it.
        if (auto *widget = qobject_cast<QWidget *>(watched); widget && governs(widget->window())) {
            const QPoint at = event->type() == QEvent::MouseMove
                                  ? static_cast<QMouseEvent *>(event)->globalPosition().toPoint()
                                  : static_cast<QEnterEvent *>(event)->globalPosition().toPoint();
            QWidget *window = widget->window();
            QWidget *under = window->childAt(window->mapFromGlobal(at));
            applyFrom(under ? under : window);
        }
        break;
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::WindowActivate:
        // A window opening, closing or moving changes what lies under a pointer that stands
        // still, and the window system's enter and leave events do not always say so.
        if (auto *widget = qobject_cast<QWidget *>(watched); widget && widget->isWindow())
            lookAgainSoon();
        break;
    default:
        break;
    }
    if (commandEvent(watched, event))
        return true;
    return QObject::eventFilter(watched, event);
}

bool HoverController::governs(const QWidget *window) const
{
    for (const Rule &rule : m_rules) {
        if (rule.over->window() == window)
            return true;
    }
    return false;
}

void HoverController::applyFrom(QWidget *under)
{
    for (QWidget *widget = under; widget; widget = widget->parentWidget()) {
        for (const Command &command : std::as_const(m_commands)) {
            // The pointer is on the command itself: its button stays.
            if (command.button == widget) {
                apply(widget);
                return;
            }
        }
        for (const Rule &rule : std::as_const(m_rules)) {
            if (rule.over == widget) {
                apply(widget);
                return;
            }
        }
        if (widget->isWindow())
            return;
    }
}

void HoverController::apply(const QWidget *over)
{
    for (const Rule &rule : std::as_const(m_rules)) {
        if (rule.over != over)
            continue;
        if (rule.effect == Effect::Show)
            rule.target->show();
        else if (!rule.target->hasFocus())
            rule.target->hide();
    }
}

bool HoverController::pointerOver(const QWidget *widget) const
{
    const QWidget *under = QApplication::widgetAt(QCursor::pos());
    return under && (under == widget || widget->isAncestorOf(under));
}

void HoverController::lookAgainSoon()
{
    if (m_lookPending)
        return;
    m_lookPending = true;
    // After the window system has placed and stacked the windows: they are looked at as they
    // are once the events of the change are handled.
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_lookPending = false;
            pointerAt(QCursor::pos());
        },
        Qt::QueuedConnection);
}

bool HoverController::commandEvent(QObject *watched, QEvent *event)
{
    for (const Command &command : std::as_const(m_commands)) {
        if (watched == command.face && event->type() == QEvent::FocusIn) {
            // Out of the chain while its button has the focus, so that Shift+Tab from the
            // button goes on to the control before the command.
            command.face->setFocusPolicy(Qt::NoFocus);
            command.button->show();
            command.button->setFocus(static_cast<QFocusEvent *>(event)->reason());
            return false;
        }
        if (watched != command.button)
            continue;
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            // Another window taking the activation hands the focus back later.
            if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
                return false;
            command.face->setFocusPolicy(Qt::TabFocus);
            if (!pointerOver(command.button))
                command.button->hide();
            return false;
        }
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            // A push button outside a dialog answers only Space; Enter runs a command too.
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                command.button->animateClick();
                return true;
            }
        }
        return false;
    }
    return false;
}
