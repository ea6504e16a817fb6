#include "hovercontroller.h"

#include <QEvent>
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

bool HoverController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        for (const Rule &rule : std::as_const(m_rules)) {
            if (rule.over == watched)
                rule.target->setVisible(rule.effect == Effect::Show);
        }
    }
    return QObject::eventFilter(watched, event);
}
