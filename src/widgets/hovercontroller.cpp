#include "hovercontroller.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedLayout>
#include <QWidget>

HoverController::HoverController(QObject *parent)
    : QObject(parent)
{}

void HoverController::addRule(QWidget *over, QWidget *target, Effect effect)
{
    // Mouse moves reach a widget without a pressed button only with tracking on.
    over->setMouseTracking(true);
    over->installEventFilter(this);
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
    face->installEventFilter(this);
    button->installEventFilter(this);
    m_commands.append({face, button});
    addRule(face, button, Effect::Show);
    return pair;
}

bool HoverController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        for (const Rule &rule : std::as_const(m_rules)) {
            if (rule.over != watched)
                continue;
            if (rule.effect == Effect::Show)
                rule.target->show();
            else if (!rule.target->hasFocus())
                rule.target->hide();
        }
    }
    if (commandEvent(watched, event))
        return true;
    return QObject::eventFilter(watched, event);
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
            if (!command.button->underMouse())
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
